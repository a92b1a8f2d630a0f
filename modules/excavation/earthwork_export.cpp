// The two earthwork reports: every input and the result box, each placeholder
// replaced by its box's text, the countdown stepping from 8 before the first
// box down to 0 before the progress.
#include "modules/excavation/earthwork.h"

#include "app/registry.h"
#include "ui/cmd.h"

#include <vector>

namespace earthwork {

using report::Stage;
using report::StatusMark;

namespace {

// `boxes` in report order; countdown 8 stands before the first, one step
// less before each next. The slope module has five boxes, so its countdown
// reaches 4 and shows 3 only in passing, just before 2.
report::ExportRequest request(const char* form, const char* template_path, const char* file_name,
                              const std::vector<const char*>& boxes)
{
    report::ExportRequest r;
    r.form = form;
    r.templates = {{report::Condition::always(), template_path, file_name}};
    int n = 8;
    for (const char* b : boxes) r.bindings.push_back(report::bind(b, 5, StatusMark::countdown(n--)));
    r.marks = {
        {Stage::Busy, StatusMark::countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, StatusMark::countdown(9)},
    };
    for (; n >= 2; --n) r.marks.push_back({Stage::BindingsDone, StatusMark::countdown(n)});
    r.marks.push_back({Stage::Saved, StatusMark::countdown(1)});
    r.marks.push_back({Stage::WordClosed, StatusMark::countdown(0)});
    r.success_message = "计算方案导出成功！";
    return r;
}

} // namespace

report::ExportRequest slope_export_request()
{
    return request(kSlopeForm, "templates/earth_slope.docx", "土方放坡开挖允许最大安全高度计算书.doc",
                   {"编辑框1_土的重度", "编辑框1_土的摩擦角", "编辑框1_土的粘聚力", "编辑框1_边坡的最大坡度角",
                    "编辑框1_边坡允许最大高度"});
}

report::ExportRequest vertical_cut_export_request()
{
    return request(kVerticalForm, "templates/earth_vertical_cut.docx", "土方无支撑垂直开挖高度安全计算.doc",
                   {"编辑框1_土的重度", "编辑框1_土的摩擦角", "编辑框1_土的粘聚力", "编辑框1_均布荷载",
                    "编辑框1_安全系数", "编辑框1_基坑开挖高度"});
}

namespace {

void register_earthwork_export(ui::Runtime& rt)
{
    rt.register_handler("EarthSlopeExportReport", [](ui::EventArgs&) { report::RunReportExport(slope_export_request()); });
    rt.register_handler("VerticalCutExportReport",
                        [](ui::EventArgs&) { report::RunReportExport(vertical_cut_export_request()); });
}

} // namespace

JSB_HANDLERS(register_earthwork_export)

} // namespace earthwork

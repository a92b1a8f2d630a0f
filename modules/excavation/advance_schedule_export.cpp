// The advance and schedule report: every input and result of the six groups
// and the time totals, each placeholder the name of its box, with the
// countdown stepping between groups of placeholders.
#include "modules/excavation/advance_schedule.h"

#include "app/registry.h"
#include "ui/cmd.h"

#include <map>

namespace advance_schedule {

using report::StatusMark;

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.status_label = "标签1_提示窗口";
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/advance_schedule.docx", "隧道进尺及工期计算书new.doc"}};

    // Columns in order, rows 0 to 5 within each; the time columns carry
    // their totals as a seventh row. The total cycles are not reported.
    const std::pair<const char*, int> columns[] = {
        {"组合框1_围岩等级", 6},   {"编辑框1_各类围岩长度", 6}, {"编辑框1_每循环进尺", 6}, {"编辑框1_每循环用时", 6},
        {"编辑框2_循环次数", 6},   {"编辑框2_月循环数", 6},     {"编辑框2_天循环数", 6},   {"编辑框3_每天进尺", 6},
        {"编辑框3_月进尺", 6},     {"编辑框4_工期天", 7},       {"编辑框4_工期月", 7},     {"编辑框4_工期年", 7},
    };
    // The countdown step that comes just before a placeholder.
    const std::map<std::string, int> countdown_before = {
        {"组合框1_围岩等级0", 10}, {"编辑框1_各类围岩长度0", 9}, {"编辑框1_每循环进尺0", 8},
        {"编辑框1_每循环用时1", 7}, {"编辑框2_循环次数0", 6},     {"编辑框2_月循环数0", 5},
        {"编辑框2_天循环数1", 4},   {"编辑框3_每天进尺4", 3},     {"编辑框4_工期天3", 2},
        {"编辑框4_工期月6", 1},
    };
    auto add = [&](const std::string& control) {
        auto step = countdown_before.find(control);
        // A rock-class list gives its Content: the chosen item, empty for none.
        r.bindings.push_back(report::bind(control, 10,
                                          step == countdown_before.end() ? std::nullopt
                                                                         : std::optional(StatusMark::countdown(step->second))));
    };
    for (const auto& [stem, rows] : columns)
        for (int row = 0; row < rows; ++row) add(row_box(stem, row));
    add("编辑框1_汇总长度");

    r.marks = {
        {report::Stage::FolderMade, StatusMark::status("参数导出准备中……")},
        {report::Stage::BindingsDone, StatusMark::countdown(0)},
        {report::Stage::WordClosed, StatusMark::pause(500)},
    };
    // "导出完成！" stays up while the success message is open.
    r.closing_stage = report::Stage::Announced;
    r.success_message = "参数导出完成！";
    r.progress_prefix = "已导出 ";
    r.progress_suffix = "%  ";
    r.completion_text = "导出完成！";
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_advance_schedule_export(ui::Runtime& rt)
{
    rt.register_handler("AdvanceScheduleExportReport", export_report);
}
} // namespace

JSB_HANDLERS(register_advance_schedule_export)

} // namespace advance_schedule

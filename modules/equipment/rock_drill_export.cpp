// The rock-drill report: nineteen edit boxes, each replaced by its text, the
// countdown stepping between groups of them.
#include "app/report/signs.h"
#include "modules/equipment/rock_drill.h"

#include "app/registry.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"

namespace rock_drill {

using report::bind;
using report::Stage;
using report::StatusMark;

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.templates = {{report::Condition::always(), "templates/rock_drill.docx", "爆破凿岩机需用台数计算书.doc"}};
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    // The search is a plain substring search: each factor (…系数) is replaced
    // before the result whose name it begins with, or the result's text
    // would land inside the factor's placeholder.
    r.bindings = {
        bind("编辑框1_每班爆破量", 5, countdown(8)),          bind("编辑框1_不均衡系数", 5),
        bind("编辑框1_炮孔深度系数", 5, countdown(7)),        bind("编辑框1_炮孔间距系数", 5),
        bind("编辑框1_爆破梯段垂直高度", 5, countdown(6)),    bind("编辑框1_抵抗线长度系数", 5),
        bind("编辑框1_钻机台班生产率", 5, countdown(5)),      bind("编辑框1_炮孔深度", 5),
        bind("编辑框1_炮孔间距", 5, countdown(4)),            bind("编辑框1_抵抗线长度", 5),
        bind("编辑框1_每米钻孔的实际爆破量", 5, countdown(3)), bind("编辑框1_每钻孔的爆破量", 5),
        bind("编辑框2_爆破凿岩机需用台数", 5),
        report::bind_computed("计算值_N", [] { return equipment::stated_need(drills_needed(), equipment::whole_machines); }, 5),
        equipment::bind_count(kForm, "编辑框1_凿岩机数量", 5, countdown(2)),          bind("编辑框1_同时开动系数", 5),
        bind("编辑框1_风动工具的空气消耗量", 5),
        bind("编辑框1_保证率系数", 5, countdown(1)),          bind("编辑框1_爆破凿岩机的压缩空气需要量", 5),
        bind("编辑框2_空气压缩机生产率需要量计算", 5),
    };
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {
                              {"计算值_炮孔深度式", "编辑框1_炮孔深度"},
                              {"计算值_抵抗线长度式", "编辑框1_抵抗线长度"},
                              {"计算值_炮孔间距式", "编辑框1_炮孔间距"},
                              {"计算值_每钻孔的爆破量式", "编辑框1_每钻孔的爆破量"},
                              {"计算值_每米钻孔的实际爆破量式", "编辑框1_每米钻孔的实际爆破量"},
                          });
    // The air needs are signed against the figures before they were rounded up.
    const auto shown = [](const char* box) { return [box] { return ui::control_text(ui::U(kForm, box)); }; };
    r.bindings.insert(r.bindings.begin(),
                      {
                          report::bind_sign("计算值_N式", [] { return drills_needed(); },
                                            [] { return equipment::stated_need(drills_needed(), equipment::whole_machines); }),
                          report::bind_sign("计算值_爆破凿岩机的压缩空气需要量式", air_used,
                                            shown("编辑框1_爆破凿岩机的压缩空气需要量")),
                          report::bind_sign("计算值_空气压缩机生产率需要量计算式", compressor_output_needed,
                                            shown("编辑框2_空气压缩机生产率需要量计算")),
                      });
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_rock_drill_export(ui::Runtime& rt) { rt.register_handler("RockDrillExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_rock_drill_export)

} // namespace rock_drill

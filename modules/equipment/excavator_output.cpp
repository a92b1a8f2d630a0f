// The excavator productivity module (form `ExcavatorOutput`): hourly and
// shift output of a single-bucket excavator from its work cycle, the number
// of excavators an earthwork needs within its schedule, and the report.
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"

#include <limits>
#include <utility>

namespace excavator_output {

using namespace ui;

namespace {

constexpr const char* kForm = "ExcavatorOutput";

Ref box(const char* name) { return U(kForm, name); }
double read_number(const char* name) { return ui::read_number(box(name)); }
double read_result(const char* name) { return ui::read_result(box(name)); }
void write_rounded(const char* name, double x, int places) { ui::write_rounded(box(name), x, places); }

constexpr const char* N = "编辑框2_挖掘机需用数量";

// The need of excavators before it was rounded up, as the calculation that
// produced the shown count worked it out: the report states it.
double g_need = std::numeric_limits<double>::quiet_NaN();

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_挖掘机每一工作循环用时",
         "挖掘机每一工作循环延续时间（s），根据经验数字确定，对W1-100 正铲挖掘机为25 ～ 40s ；对W1-100 拉铲挖掘机为45 ～ 60s;"},
        {"编辑框1_铲斗容量", "挖掘机铲斗容量（m3);"},
        {"编辑框1_土斗利用系数", "土斗利用系数，与土的可松性系数和士斗充盈系数有关，对砂土为0.8 ～0. 9 ；对黏土为0.85 ～ 0.95"},
        {"编辑框1_工作时间利用系数",
         "工作时间利用系数，正向汽车装土时为0.68 ～ 0. 72 ；侧向推土时为0. 78~0.88 ；挖爆破后的岩石为0.60"},
        {"编辑框1_单斗挖掘机小时生产率Ph", "单斗挖掘机小时生产率"},
        {"编辑框1_单斗挖掘机台班生产率Pd", "单斗挖掘机台班生产率"},
        {"编辑框2_土方工程量", "施工的土方工程量（m3）"},
        {"编辑框2_工期", "施工工期（天）"},
        {"编辑框2_时间利用系数", "时间利用系数，一般为0.8～0.85或查机械定额"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

void calculate()
{
    // Ph = q × K × 3600 / t, t the seconds of one work cycle.
    write_rounded("编辑框1_单斗挖掘机小时生产率Ph",
                  read_number("编辑框1_铲斗容量") * read_number("编辑框1_土斗利用系数") * 3600 /
                      read_number("编辑框1_挖掘机每一工作循环用时"),
                  3);
    // Pd = Ph × Kb × 8, from the Ph shown; 8 hours make a shift.
    write_rounded("编辑框1_单斗挖掘机台班生产率Pd",
                  read_result("编辑框1_单斗挖掘机小时生产率Ph") * read_number("编辑框1_工作时间利用系数") * 8, 3);
    // The number calculation works from its own copy of Pd, made here, so a
    // figure typed into either Pd box beforehand counts for nothing.
    set_control_text(box("编辑框2_单斗挖掘机台班生产率Pd"), control_text(box("编辑框1_单斗挖掘机台班生产率Pd")));
    // N = (Q / Pd) / (T × m × Kt), rounded up to whole excavators: 2.07
    // excavators are 3, since two would not finish in time.
    g_need = (read_number("编辑框2_土方工程量") / read_result("编辑框2_单斗挖掘机台班生产率Pd")) /
             (read_number("编辑框2_工期") * read_number("编辑框2_每天作业班数") * read_number("编辑框2_时间利用系数"));
    write_number(box(N), equipment::whole_machines(g_need));
    ui::refuse_unless_shown(kForm, {"编辑框1_单斗挖掘机小时生产率Ph", "编辑框1_单斗挖掘机台班生产率Pd", N});
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture and busy lamp
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

report::ExportRequest export_request()
{
    using report::bind;
    using report::Stage;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    report::ExportRequest r;
    r.form = kForm;
    r.templates = {{report::Condition::always(), "templates/excavator_output.docx", "挖掘机功率数量计算.doc"}};
    r.bindings = {
        bind("编辑框1_铲斗容量", 5, countdown(8)),
        bind("编辑框1_土斗利用系数", 5),
        bind("编辑框1_单斗挖掘机台班生产率Pd", 5, countdown(7)),
        bind("编辑框1_单斗挖掘机小时生产率Ph", 5),
        bind("编辑框1_挖掘机每一工作循环用时", 5, countdown(6)),
        bind("编辑框1_工作时间利用系数", 5),
        bind("编辑框2_工期", 5, countdown(5)),
        equipment::bind_count(kForm, "编辑框2_每天作业班数", 5, countdown(4)),
        bind("编辑框2_土方工程量", 5),
        bind("编辑框2_时间利用系数", 5, countdown(3)),
        bind(N, 5, countdown(2)),
        report::bind_computed("计算值_N", [] { return equipment::stated_need(g_need, equipment::whole_machines); }, 5),
        bind("编辑框2_单斗挖掘机台班生产率Pd", 5, countdown(1)),
    };
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {
                              {"计算值_单斗挖掘机小时生产率Ph式", "编辑框1_单斗挖掘机小时生产率Ph"},
                              {"计算值_单斗挖掘机台班生产率Pd式", "编辑框1_单斗挖掘机台班生产率Pd"},
                          });
    r.bindings.insert(r.bindings.begin(), report::bind_sign("计算值_N式", [] { return g_need; }, [] {
        return equipment::stated_need(g_need, equipment::whole_machines);
    }));
    return r;
}

void export_report(EventArgs&) { report::RunReportExport(export_request()); }

void register_excavator_output(Runtime& rt)
{
    rt.register_handler("ExcavatorOutputCompute", compute);
    rt.register_handler("ExcavatorOutputExportReport", export_report);
}

} // namespace

JSB_HANDLERS(register_excavator_output)
// The shell's created handler embeds the form and enables its export button;
// the tips follow.
JSB_MODULE_SETUP(ExcavatorOutput, attach_tips)

} // namespace excavator_output

// The bulldozer module (form `Bulldozer`): the soil heap in front of the
// blade, hourly and shift output and the volume per work cycle; the cycle
// time from its components; two reference tables and the calculation report.
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <limits>
#include <string>
#include <utility>

namespace bulldozer {

using namespace ui;

namespace {

constexpr const char* kForm = "Bulldozer";
constexpr const char* kPictures = "resources/pictures/equipment/";

// The boxes of the cycle components, enabled with 按钮4 while 选择框1 is ticked.
const char* const kCycleComponents[] = {
    "编辑框1_铲土路线长度",     "编辑框1_运土路线长度",   "编辑框1_推土机铲土行进速度", "编辑框1_推土机运土行进速度",
    "编辑框1_推土机回程速度",   "编辑框1_推土机转向时间", "编辑框1_推土机换挡时间",     "编辑框1_推土机铲刀放下时间",
};

Ref box(const char* name) { return U(kForm, name); }
double read_number(const char* name) { return ui::read_number(box(name)); }
void write_rounded(const char* name, double x, int places) { ui::write_rounded(box(name), x, places); }

double read_result(const char* name) { return ui::read_result(box(name)); }

// Degrees to radians with π to ten decimals, multiplied first.
double radians(double degrees) { return degrees * 3.1415926535 / 180; }

// tan φ of the heap's natural slope. A heap stands at an angle between 0°
// and 90°; at 90° or steeper there is no heap in front of the blade, and
// nothing built on the angle is a figure.
double tan_slope(const char* phi)
{
    const double degrees = read_number(phi);
    return tol_lt(degrees, 90) ? cmd_tan(radians(degrees)) : std::numeric_limits<double>::quiet_NaN();
}

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_土的可松性系数", "参见右表填写"},
        {"编辑框1_推土机铲土行进速度", "推土机铲土行进速度（m/s）,取0.5～0.7m/s"},
        {"编辑框1_推土机运土行进速度", "推土机运土行进速度(m/s),取0.6～0.8m/s"},
        {"编辑框1_推土机回程速度", "推土机回程速度(m/s）,取1～2m/s"},
        {"编辑框1_推土机转向时间", "推土机转向时间，取10s"},
        {"编辑框1_推土机换挡时间", "推土机换挡时间，取5s以内"},
        {"编辑框1_推土机铲刀放下时间", "推土机铲刀放下时间，取4s以内"},
        {"编辑框1_循环时间", "可根据现场实测或按循环用时计算"},
        {"编辑框1_土的损失系数", "土的损失系数，取决于运土距离的远近，一般取0.7~0.9；"},
        {"编辑框1_台班产量降低系数", "推土机作业生产率与上坡或推土的高度、宽度有关，其影响系数点查询填写"},
        {"编辑框1_时间利用系数", "时间利用系数Kb，一般在0.72~ 0.75之间，"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

constexpr const char* kCycle = "编辑框1_循环时间";

// Whether the last calculation worked the cycle time out from its
// components (选择框1 ticked) or took it as typed; its report says which.
bool g_cycle_from_components = false;

// t = L0/ν1 + L/ν2 + (L0 + L)/ν3 + 2·tn + tc + t0, in seconds.
void work_out_cycle_time()
{
    const double L0 = read_number("编辑框1_铲土路线长度");
    const double v1 = read_number("编辑框1_推土机铲土行进速度");
    const double L = read_number("编辑框1_运土路线长度");
    const double v2 = read_number("编辑框1_推土机运土行进速度");
    const double L0_back = read_number("编辑框1_铲土路线长度");
    const double L_back = read_number("编辑框1_运土路线长度");
    const double v3 = read_number("编辑框1_推土机回程速度");
    const double tn = read_number("编辑框1_推土机转向时间");
    const double tc = read_number("编辑框1_推土机换挡时间");
    const double t0 = read_number("编辑框1_推土机铲刀放下时间");
    write_rounded(kCycle, L0 / v1 + L / v2 + (L0_back + L_back) / v3 + 2 * tn + tc + t0, 1);
}

void cycle_time(EventArgs&) { work_out_cycle_time(); }

void calculate()
{
    const char* const H = "编辑框1_铲刀高度";
    const char* const b = "编辑框1_铲刀宽度";
    const char* const phi = "编辑框1_土堆自然坡角";
    const char* const Kp = "编辑框1_土的可松性系数";
    const char* const alpha = "编辑框1_土在铲刀前的分布长度";
    const char* const Ph = "编辑框2_推土机每小时生产率";

    // While 选择框1 is ticked the cycle time box is read-only and shows the
    // time of the components: the output is worked from that time, not from
    // whatever the box held since the button was last pressed.
    g_cycle_from_components = rt_get_property(box("选择框1"), prop::CheckBox::Checked).truth();
    if (g_cycle_from_components) work_out_cycle_time();
    const double t = g_cycle_from_components ? read_result(kCycle) : read_number(kCycle);

    // α: the heap's base, H / tanφ; it replaces whatever the box held.
    write_rounded(alpha, read_number(H) / tan_slope(phi), 2);
    // Ph: 1800 = 3600 s an hour over the triangle's factor 2.
    write_rounded(Ph,
                  cmd_power(read_number(H), 2) * read_number(b) * 1800 /
                      (t * read_number(Kp) * tan_slope(phi)),
                  2);
    write_rounded("编辑框2_推土机台班生产率Pd",
                  read_result(Ph) * read_number("编辑框1_时间利用系数") * read_number("编辑框1_台班产量降低系数") * 8, 2);
    // q uses the α of this same run, as shown.
    write_rounded("编辑框2_推土机每一循环所完成的土方量",
                  read_number(b) * read_number(H) * read_result(alpha) * read_number("编辑框1_土的损失系数") /
                      (read_number(Kp) * 2),
                  2);
    ui::refuse_unless_shown(kForm, {alpha, Ph, "编辑框2_推土机台班生产率Pd", "编辑框2_推土机每一循环所完成的土方量"});
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture; the lamp is left alone
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

// Ticked: the cycle time comes from its components, and its box, a result
// again, shows "-" until they are worked out (a time typed before is not
// theirs); unticked: it is typed, starting from what the box shows. The
// components keep their texts, and every box its colours.
void toggle_cycle_inputs(EventArgs&)
{
    const bool from_components = rt_get_property(box("选择框1"), prop::CheckBox::Checked).truth();
    for (const char* component : kCycleComponents) rt_set_property(box(component), prop::Disabled, !from_components);
    rt_set_property(box("按钮4"), prop::Disabled, !from_components);
    rt_set_property(box(kCycle), prop::EditBox::InputMode, from_components ? 1 : 10);
    if (from_components) set_control_text(box(kCycle), "-");
}

void show_table(const char* file, int width, int height)
{
    app::ShowLookupPicture(resource(std::string(kPictures) + file), width, height);
}
void lookup_output_reduction(EventArgs&) { show_table("bulldozer_output_reduction.png", 700, 600); }
void lookup_swell_factor(EventArgs&) { show_table("bulldozer_swell_factor.png", 700, 400); }

report::ExportRequest export_request()
{
    using report::bind;
    using report::Stage;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    report::ExportRequest r;
    r.form = kForm;
    r.templates = {{report::Condition::always(), "templates/bulldozer.docx", "推土机生产率及运土土方量计算.doc"}};
    r.bindings = {
        bind("编辑框1_土的可松性系数", 5, countdown(8)),
        bind("编辑框1_铲刀高度", 5, countdown(7)),
        bind("编辑框1_铲刀宽度", 5),
        bind("编辑框1_土堆自然坡角", 5, countdown(6)),
        bind("编辑框1_时间利用系数", 5),
        bind("编辑框1_土的损失系数", 5, countdown(5)),
        bind("编辑框1_台班产量降低系数", 5),
        bind("编辑框1_循环时间", 5, countdown(4)),
        bind("编辑框1_土在铲刀前的分布长度", 5, countdown(3)),
        bind("编辑框2_推土机每一循环所完成的土方量", 5, countdown(2)),
        bind("编辑框2_推土机每小时生产率", 5),
        bind("编辑框2_推土机台班生产率Pd", 5, countdown(1)),
        report::bind_computed("计算值_循环时间来源", [] {
            return g_cycle_from_components
                       ? std::string("每一工作循环的延续时间 t 按循环用时计算：")
                       : "每一工作循环的延续时间 t 按输入值（现场实测或另行计算）取 " + control_text(box(kCycle)) + " s。";
        }),
        // Empty for a typed time: its equation is left out.
        report::bind_computed("计算值_循环用时",
                              [] { return g_cycle_from_components ? control_text(box(kCycle)) : std::string(); }),
    };
    // The components stand in the cycle time's equation.
    for (const char* component : kCycleComponents) r.bindings.push_back(bind(component, 5));
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {
                              {"计算值_循环用时式", kCycle},
                              {"计算值_土在铲刀前的分布长度式", "编辑框1_土在铲刀前的分布长度"},
                              {"计算值_推土机每小时生产率式", "编辑框2_推土机每小时生产率"},
                              {"计算值_推土机台班生产率Pd式", "编辑框2_推土机台班生产率Pd"},
                              {"计算值_推土机每一循环所完成的土方量式", "编辑框2_推土机每一循环所完成的土方量"},
                          });
    return r;
}

void export_report(EventArgs&) { report::RunReportExport(export_request()); }

void register_bulldozer(Runtime& rt)
{
    rt.register_handler("BulldozerCompute", compute);
    rt.register_handler("BulldozerComputeCycleTime", cycle_time);
    rt.register_handler("BulldozerToggleCycleInputs", toggle_cycle_inputs);
    rt.register_handler("BulldozerLookupOutputReduction", lookup_output_reduction);
    rt.register_handler("BulldozerLookupSwellFactor", lookup_swell_factor);
    rt.register_handler("BulldozerExportReport", export_report);
}

} // namespace

JSB_HANDLERS(register_bulldozer)
// The shell's created handler embeds the form and enables its export button;
// the tips follow.
JSB_MODULE_SETUP(Bulldozer, attach_tips)

} // namespace bulldozer

#include "modules/blasting/flyrock.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/blasting/safe_rounding.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <string>
#include <utility>

namespace flyrock {

using namespace ui;

namespace {

Ref box(const char* name) { return U(kForm, name); }
double read_number(const char* name) { return ui::read_number(box(name)); }
std::string text(const char* name) { return control_text(box(name)); }

constexpr const char* kGeneralBlasting = "一般爆破";

// The regulation minimum flyrock distance (m) of each blasting method. The
// general method has none: its box shows "-", never the distance of the
// method chosen before it.
const std::pair<const char*, const char*> kMethodDistances[] = {
    {"小洞室爆破", "400"},         {"炮孔爆破、炮孔药壶爆", "200"}, {"二次爆破、蛇穴爆破", "400"},
    {"深孔爆破、深孔药壶爆破", "300"}, {"炮孔爆破法扩大药壶", "50"},   {"深孔爆破法扩大药壶", "100"},
    {"直井爆破、平洞爆破", "300"},   {"边线控制爆破", "200"},         {"拆除爆破", "100"},
    {"基础龟裂爆破", "50"},
};

// Diffusion coefficient of the fumes: doubled downwind.
const std::pair<const char*, const char*> kWindDiffusion[] = {
    {"不在下风方向时", "160"},
    {"处于下风方向时", "320"},
};

constexpr double kOneThird = 0.3333333333333333;

void attach_tips()
{
    const char* const wind =
        "遇到大风天气、顺风方向的飞散距离还应增大25%～30%，软件默认增大1.25倍！";
    const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_安全系数",
         "与地形、地质、气候及药包埋置深度有关的安全系数，一般取用1.0~ 1.5;\r\n定向或抛掷爆破正对最小抵抗线方向时采用1.5;"
         "风速大且顺风时,或山\r\n间、娅口地形时，采用1.5~ 2.0;"},
        {"编辑框1_扩散系数", "系数，根据有关试验资料统计，一般取Kg的平均值为160;下风时,Kg值乘2;"},
        {"编辑框1_爆破总炸药量", "一次爆破的总炸药量"},
        {"选择框1", wind},
        {"选择框2", wind},
        {"编辑框1_安全规程最小安全距离",
         "参照国家现行爆破安全规程，爆破飞石的最小安全距离不应小于本数值，软件中自动选取！"},
        {"组合框5", "参照国家现行爆破安全规程，按规定选取其爆破方法！"},
    };
    for (const auto& [control, tip] : tips) cmd_attach_tip(box("气球提示框1"), box(control), tip);
}

void select_blasting_method(EventArgs&)
{
    const std::string method = current_item_text(box("组合框5"));
    if (method == kGeneralBlasting) set_control_text(box("编辑框1_安全规程最小安全距离"), "-");
    for (const auto& [item, distance] : kMethodDistances)
        if (method == item) set_control_text(box("编辑框1_安全规程最小安全距离"), distance);
}

void select_wind_direction(EventArgs&)
{
    const std::string wind = current_item_text(box("组合框1"));
    for (const auto& [item, kg] : kWindDiffusion)
        if (wind == item) set_control_text(box("编辑框1_扩散系数"), kg);
}

Worked worked_;

// Which distance governs: the computed flyrock distance or the regulation's.
// A computed distance without a value (shown "-") supports no conclusion.
std::string verdict()
{
    const std::string rf_text = text("编辑框1_个别飞石飞散的安全距离");
    const double rf = ui::read_result(box("编辑框1_个别飞石飞散的安全距离"));
    if (!std::isfinite(rf) || !tol_gt(rf, 0)) return "-";
    // The general method takes the computed distance as the safety distance.
    if (current_item_text(box("组合框5")) == kGeneralBlasting) return "按计算最小安全距离" + rf_text + "m确定！";
    const double r1 = read_number("编辑框1_安全规程最小安全距离");
    if (std::isnan(r1)) return "-";
    const std::string r1_text = text("编辑框1_安全规程最小安全距离");
    if (tol_lt(rf, r1)) return "计算距离＜规定距离，按规定取" + r1_text + "m";
    if (tol_gt(rf, r1)) return "计算距离>规定距离，取计算距离" + rf_text + "m";
    return "计算距离=规定距离，按规定取" + r1_text + "m";
}

void calculate()
{
    // Rf = 20 · Kf · n² · W, a quarter more in strong wind or downwind (once,
    // whichever is ticked); the rounded distance is rounded again after the
    // factor. Each factor is checked on its own (the form's domains): a
    // negative n squared, or a negative Kf times a negative W, would give a
    // distance that looks like one.
    const double kf = read_number("编辑框1_安全系数");
    const double n = read_number("编辑框1_最大药包的爆破作用指数");
    const double w = read_number("编辑框1_最大药包的最小抵抗线");
    // Both are safety distances: printed rounded up, never nearer than the
    // formula asks.
    const double rf0 = kf * cmd_power(n, 2) * w * 20;
    worked_.rf0 = blasting::minimum_distance(rf0);
    worked_.rf0_sign = report::result_sign(rf0, number_to_text(worked_.rf0));
    worked_.windy = rt_get_property(box("选择框1"), prop::CheckBox::Checked).truth() ||
                    rt_get_property(box("选择框2"), prop::CheckBox::Checked).truth();
    const double rf = worked_.windy ? blasting::minimum_distance(worked_.rf0 * 1.25) : worked_.rf0;
    worked_.rf_sign = report::result_sign(worked_.windy ? worked_.rf0 * 1.25 : worked_.rf0, number_to_text(rf));
    write_number(box("编辑框1_个别飞石飞散的安全距离"), rf);
    // A distance of 0 m (factors too small to show) or none at all is no
    // safety distance: nothing to report.
    if (!tol_gt(ui::read_result(box("编辑框1_个别飞石飞散的安全距离")), 0)) calculation_refused();
    worked_.general = current_item_text(box("组合框5")) == kGeneralBlasting;
    set_control_text(box("编辑框1_与规程要求对比后结论"), verdict());

    // Rg = Kg · Q^(1/3).
    const double kg = read_number("编辑框1_扩散系数");
    const double q = read_number("编辑框1_爆破总炸药量");
    const double rg = kg * cmd_power(q, kOneThird);
    write_number(box("编辑框1_爆破毒气的安全距离"), blasting::minimum_distance(rg));
    const double rg_shown = ui::read_result(box("编辑框1_爆破毒气的安全距离"));
    if (!tol_gt(rg_shown, 0)) calculation_refused();
    worked_.rg_sign = report::result_sign(rg, number_to_text(rg_shown));
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // lamp only; the button is not pressed
    app::compute_begin(kForm, style);
    worked_ = {};
    calculate();
    app::compute_end(kForm, style);
}

void export_report(EventArgs&) { report::RunReportExport(export_request()); }

void register_flyrock(Runtime& rt)
{
    rt.register_handler("FlyrockSelectBlastingMethod", select_blasting_method);
    rt.register_handler("FlyrockSelectWindDirection", select_wind_direction);
    rt.register_handler("FlyrockCompute", compute);
    rt.register_handler("FlyrockExportReport", export_report);
}

} // namespace

const Worked& worked() { return worked_; }

JSB_HANDLERS(register_flyrock)
// The shell's created handler embeds the form and enables its export button;
// the tips follow.
JSB_MODULE_SETUP(Flyrock, attach_tips)

} // namespace flyrock

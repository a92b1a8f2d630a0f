#include "modules/blasting/static_breaking.h"

#include "app/module_forms.h"
#include "app/picture_tools.h"
#include "app/registry.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <utility>

namespace static_breaking {

using namespace ui;

namespace {

// Inputs.
constexpr const char* kLength = "编辑框_破碎体长";
constexpr const char* kHeight = "编辑框_破碎体高";
constexpr const char* kDepth = "编辑框_破碎体计划破碎深度"; // H
constexpr const char* kLayers = "编辑框_破碎分层数";        // N'
constexpr const char* kRows = "编辑框_炮眼排数";            // m
constexpr const char* kTensile = "编辑框_破碎体的抗拉强度"; // ft
constexpr const char* kCracking = "编辑框_开裂经验系数";    // η
constexpr const char* kPoisson = "编辑框_被破碎材料的泊松比"; // μ
constexpr const char* kPressure = "编辑框_SCA膨胀压力";     // p
constexpr const char* kDensity = "编辑框_SCA重量";          // K
constexpr const char* kPerMetre = "编辑框_每米钻孔SCA重量"; // w
constexpr const char* kObjectType = "组合框_破碎物体类型";
constexpr const char* kAgentType = "组合框_型号";
constexpr const char* kByDiameter = "单选框_求深度";
constexpr const char* kByCount = "单选框_求直径";
constexpr const char* kGivenDiameter = "编辑框_确定钻孔直径";
constexpr const char* kGivenCount = "编辑框_已知布眼数量";
// Results.
constexpr const char* kHoles = "编辑框_布眼数量";           // n
constexpr const char* kDiameter = "编辑框_孔径";            // D
constexpr const char* kHoleDepth = "编辑框_孔深";           // L1
constexpr const char* kHoleRows = "编辑框_布眼排数";
constexpr const char* kRowSpacing = "编辑框_排距";
constexpr const char* kSpacing = "编辑框_孔距";
constexpr const char* kBurden = "编辑框_抵抗线";
constexpr const char* kTotalLength = "编辑框_单位面积钻孔总长"; // L
constexpr const char* kPerHole = "编辑框_每孔用药量";       // q1
constexpr const char* kTotalCharge = "编辑框_总装药量";     // Q
constexpr const char* kLog = "编辑框日志";

// The loss allowance: 5 %, whatever the note on the form says of 6.5 %.
constexpr double kLossFactor = 1.05;
constexpr double kPi = 3.1415926;

Ref box(const char* name) { return U(kForm, name); }
double input(const char* name) { return read_number(box(name)); }
// Results are read back as shown; a shown "-" stays not-a-number, so what
// is built on it shows "-" as well instead of a figure computed from 0.
double shown(const char* name) { return read_result(box(name)); }
// The sign a report puts before each result: "=", or "≈" where rounding
// for the box changed it.
void result(const char* name, double x, int places) { write_rounded(box(name), x, places); }
// What the work needs (holes, metres of hole, agent) is shown rounded up:
// 39.2 holes' worth of hole is 40 holes, not 39 that break less.
void need(const char* name, double x, int places) { write_rounded_up(box(name), x, places); }
void set_text(const char* name, const std::string& text) { set_control_text(box(name), text); }
void copy_text(const char* to, const char* from) { set_text(to, control_text(box(from))); }
// A count the plan states as given: whole, as its box's domain takes it, or
// "-" when the box holds none.
void write_count(const char* to, const char* from) { write_number(box(to), input(from)); }
bool checked(const char* radio) { return rt_get_property(box(radio), prop::RadioBox::Checked).truth(); }
int current_index(const char* combo) { return rt_get_property(box(combo), prop::ComboBox::CurrentIndex).integer(); }

template <class Row>
const Row* row_at(const std::vector<Row>& rows, int index)
{
    return index >= 0 && index < int(rows.size()) ? &rows[size_t(index)] : nullptr;
}

} // namespace

const std::vector<ObjectType>& object_types()
{
    static const std::vector<ObjectType> table = {
        {"软质岩破碎", 1, 40, 50, "30~50cm", "40~60cm", 24, 54},
        {"中、硬质岩破碎", 1.05, 40, 65, "30~50cm", "40~60cm", 24, 54},
        {"软、硬质岩石破碎", 1, 35, 40, "100~200cm", "20~40cm", 12, 36},
        {"无筋混凝土", 0.8, 35, 50, "30~40cm", "40~60cm", 24, 54},
        {"钢筋砼基础、柱", 0.9, 35, 50, "20~30cm", "15~40cm", 9, 36},
        {"钢筋砼梁、墙板", 0.9, 35, 50, "20~30cm", "10~30cm", 6, 27},
    };
    return table;
}

const std::vector<AgentType>& agent_types()
{
    static const std::vector<AgentType> table = {
        {"SCA-Ⅰ", "20~35°C ", "夏季使用", "1540"},
        {"SCA-Ⅱ", "10~25°C ", "春季使用", "1540"},
        {"SCA-Ⅲ", "5~15°C ", "冬季使用", "1650"},
        {"SCA-Ⅳ", "5~8°C ", "寒冬使用", "1650"},
    };
    return table;
}

namespace {

// The agent one metre of hole holds, in hundredths of a kg: the slurry's
// weight K (kg/m³) over the hole's section, K·π·D²/4 with D in metres, to
// two decimals.
long long hundredths_per_metre(double density, int diameter)
{
    const double d = diameter / 1000.0;
    return std::llround(round_places(density * M_PI * d * d / 4, 2) * 100);
}

} // namespace

std::optional<std::string> weight_per_metre(const std::string& density, double diameter)
{
    // Both tables give the even diameters 28 … 50 mm; the 1540 table also
    // the odd ones between, each the mean of its two neighbours.
    const double K = density == "1540" ? 1540 : density == "1650" ? 1650 : 0;
    if (K == 0) return std::nullopt;
    const int d = int(std::lround(diameter));
    if (std::fabs(diameter - d) > 1e-7 || d < 28 || d > 50) return std::nullopt;
    char text[16];
    if (d % 2 == 0) {
        std::snprintf(text, sizeof text, "%.2f", double(hundredths_per_metre(K, d)) / 100);
        return std::string(text);
    }
    if (K != 1540) return std::nullopt;
    // the mean, in thousandths: a half hundredth shows as a third decimal
    const long long sum = hundredths_per_metre(K, d - 1) + hundredths_per_metre(K, d + 1);
    if (sum % 2 == 0) std::snprintf(text, sizeof text, "%.2f", double(sum / 2) / 100);
    else std::snprintf(text, sizeof text, "%.3f", double(sum * 5) / 1000);
    return std::string(text);
}

bool is_table_diameter(double diameter)
{
    for (int d = 28; d <= 50; d += 2)
        if (std::fabs(diameter - d) <= 1e-7) return true;
    return false;
}

namespace {

// P = length × H × ft × η × m, in this order.
double breaking_force()
{
    return input(kLength) * input(kDepth) * input(kTensile) * input(kCracking) * input(kRows);
}

void advise(const char* text) { cmd_message_box(text); }

// The number of holes for the given diameter.
void by_diameter_given(float L1)
{
    const double D = input(kGivenDiameter);
    const double R = (D / 1000) * (1 + input(kPoisson)) * input(kPressure);
    need(kTotalLength, breaking_force() / R * input(kLayers), 2);
    need(kHoles, shown(kTotalLength) / L1, 0);
    // No hole at all: a plan with no hole has no charge to fill.
    if (std::isfinite(shown(kHoles)) && !tol_gt(shown(kHoles), 0)) set_text(kHoles, "-");
    result(kDiameter, D, 0);
    copy_text(kGivenCount, kHoles);
    if (tol_lt(shown(kDiameter), 35)) advise("钻孔直孔径小于常规孔径，建议钻孔直径35~50mm");
}

// The diameter for the given number of holes.
void by_hole_count(float L1)
{
    result(kTotalLength, input(kGivenCount) * L1, 3);
    write_count(kHoles, kGivenCount);
    const double P = breaking_force();
    const double R = shown(kTotalLength) * (1 + input(kPoisson)) * input(kPressure);
    need(kDiameter, P / R * input(kLayers) * 1000, 0);
    // So many holes that the diameter rounds to 0 mm: there is no hole to
    // fill, and the advice holds all the more.
    const bool none = std::isfinite(shown(kDiameter)) && !tol_gt(shown(kDiameter), 0);
    if (none) set_text(kDiameter, "-");
    copy_text(kGivenDiameter, kDiameter);
    if (none || tol_lt(shown(kDiameter), 35)) advise("常规钻孔直径35~50mm，建议减少钻眼数量！");
}

// Burden, hole spacing and row spacing of the object type, for diameters in
// its range. Outside it none of the three applies, and each shows "-":
// a row spacing kept from an earlier diameter would read as this one's.
void layout_ranges(double D)
{
    const ObjectType* t = row_at(object_types(), current_index(kObjectType));
    if (t && tol_ge(D, t->d_lo) && tol_le(D, t->d_hi)) {
        set_text(kBurden, t->burden);
        set_text(kSpacing, t->spacing);
        set_text(kRowSpacing, number_to_text(t->row_lo) + "~" + number_to_text(t->row_hi) + "cm");
    } else {
        set_text(kBurden, "-");
        set_text(kSpacing, "-");
        set_text(kRowSpacing, "-");
    }
}

// The agent's weight per cubic metre and per metre of hole. A diameter
// without a row shows "-" for the weight per metre rather than the weight
// of an earlier diameter; no agent chosen gives neither.
void agent_weights(double D)
{
    const AgentType* a = row_at(agent_types(), current_index(kAgentType));
    if (!a) {
        set_text(kDensity, "-");
        set_text(kPerMetre, "-");
        return;
    }
    set_text(kDensity, a->density);
    set_text(kPerMetre, weight_per_metre(a->density, D).value_or("-"));
}

// What the report takes from the last calculation, by placeholder.
std::map<std::string, std::string> texts_;
void note(const std::string& placeholder, const std::string& text) { texts_[placeholder] = text; }

// Q = 1.05·L·w for a table diameter, else Q = 1.05·q1·n. Without a count of
// holes ("-") there is no hole to fill by either formula.
bool total_charge(double D)
{
    set_text(kLog, "");
    const bool by_length = is_table_diameter(D);
    if (by_length) {
        const double Q = std::isnan(shown(kHoles)) ? std::numeric_limits<double>::quiet_NaN()
                                                   : shown(kTotalLength) * shown(kPerMetre) * kLossFactor;
        need(kTotalCharge, Q, 2);
        cmd_edit_append(box(kLog), {"\r\n  按照钻孔总长*每米钻孔SCA重量 计算总药量"});
    } else {
        need(kTotalCharge, shown(kPerHole) * shown(kHoles) * kLossFactor, 2);
        cmd_edit_append(box(kLog), {"\r\n  按照单孔计算总药量"});
    }
    return by_length;
}

std::string sign(const char* result_box)
{
    return report::result_sign(worked_figure(box(result_box)), control_text(box(result_box)));
}

// The layers the block is broken in. N' = h/H to one decimal is a ratio of
// heights for the formulas, no count: a last layer thinner than H is still
// a layer to drill and fill, so the layers come from h/H rounded up (2.55 m
// in layers of 1.25 m has N' = 2 and is 3 layers, the last 0.05 m). A ratio
// less than 1e-9 above a whole number counts as that number.
void note_layers(double h, double H)
{
    if (!std::isfinite(h / H)) { // no heights, no layers (fmax would make one of a NaN)
        note("计算值_施工层数", "-");
        note("计算值_分层施工", "共分 - 层施工");
        return;
    }
    const double layers = std::fmax(std::ceil(h / H - 1e-9), 1.0);
    // the depth left for the last layer, free of the float noise of h − n·H
    const double last = cmd_round(h - (layers - 1) * H, 6);
    const std::string n = number_to_text(layers);
    std::string plan = "共分 " + n + " 层施工，";
    if (layers == 1) plan += "层厚 " + number_to_text(h) + " m";
    else if (std::fabs(last - H) <= 1e-9 * H) plan += "每层 " + number_to_text(H) + " m";
    else plan += "每层不超过 " + number_to_text(H) + " m，末层 " + number_to_text(last) + " m";
    note("计算值_施工层数", n);
    note("计算值_分层施工", plan);
}

// The sentences and figures the report states beside the boxes: which mode
// and which total-charge formula were used, the depth as the count used it,
// the layers to work in, and what does not apply to this diameter.
void note_for_report(bool by_diameter, const ObjectType& type, float L1, bool by_length)
{
    const std::string D = control_text(box(kDiameter));
    const std::string L1_text = float_to_text(L1);
    note("计算值_深度系数", number_to_text(type.depth_factor));
    note("计算值_泊松比", number_to_text(input(kPoisson)));
    note("计算值_L1", L1_text);
    note("计算值_L1式", report::result_sign(input(kDepth) * type.depth_factor, L1_text));
    if (L1_text != control_text(box(kHoleDepth)))
        note("计算值_孔深取值", "钻孔深度按 L1 " + std::string(report::result_sign(L1, control_text(box(kHoleDepth)))) + " " +
                                    control_text(box(kHoleDepth)) + " m 钻孔，单孔装药量按此深度计算。");
    // N' = h/H to one decimal
    note("计算值_分层式", report::result_sign(input(kHeight) / input(kDepth), control_text(box(kLayers))));
    if (by_diameter) {
        note("计算值_按孔径说明", "本工程按给定的钻孔直径 D = " + control_text(box(kGivenDiameter)) + " mm 计算钻孔总长及布眼数量：");
    } else {
        note("计算值_按孔数说明",
             "本工程按给定的布眼数量 N = " + control_text(box(kHoles)) + " 个计算钻孔总长，并由钻孔总长反算钻孔直径：");
    }
    const std::pair<const char*, const char*> signs[] = {
        {"计算值_L式", kTotalLength}, {"计算值_N式", kHoles}, {"计算值_D式", kDiameter},
        {"计算值_q1式", kPerHole},   {"计算值_Q式", kTotalCharge},
    };
    for (const auto& [placeholder, result_box] : signs) note(placeholder, sign(result_box));
    // L = N·L1 and N = L/L1 are printed with L1 as its single-precision value
    // shows: the sign follows the figures printed.
    const double L1_shown = text_to_number(L1_text);
    if (by_diameter) note("计算值_N式", report::result_sign(shown(kTotalLength) / L1_shown, control_text(box(kHoles))));
    else note("计算值_L式", report::result_sign(shown(kHoles) * L1_shown, control_text(box(kTotalLength))));
    if (tol_lt(shown(kDiameter), 35))
        note("计算值_孔径提示", "钻孔直径 D = " + D + " mm 小于常规孔径 35～50 mm，" +
                                    (by_diameter ? "建议钻孔直径取 35～50 mm。" : "建议减少钻眼数量。"));
    if (control_text(box(kBurden)) == "-")
        note("计算值_布孔范围说明", "钻孔直径 D = " + D + " mm 不在“" + type.item + "”适用的 " + number_to_text(type.d_lo) + "～" +
                                         number_to_text(type.d_hi) + " mm 孔径范围内，抵抗线、孔距及排距无推荐值。");
    if (by_length)
        note("计算值_标准孔径说明", "本工程钻孔直径 D = " + D + " mm 为标准孔径，每米钻孔SCA重量 w 查表取 " +
                                         control_text(box(kPerMetre)) + " kg/m：");
    else
        note("计算值_其他孔径说明", "本工程钻孔直径 D = " + D + " mm 不是标准孔径，按单孔装药量计算：");
    note_layers(input(kHeight), input(kDepth));
}

} // namespace

void calculate()
{
    texts_.clear();
    if (!checked(kByDiameter) && !checked(kByCount)) {
        cmd_message_box("请选择钻孔直径或钻孔深度！");
        calculation_refused("请选择钻孔直径或钻孔深度！");
        return;
    }
    // The width goes into the report beside the results, though no formula
    // uses it: a width that is no positive number leaves no plan to print.
    input("编辑框_破碎体宽");
    // L1 = H × f, held in single precision: the count and the total length
    // use it as it is, the charge per hole uses the rounded depth shown.
    const ObjectType* t = row_at(object_types(), current_index(kObjectType));
    if (!t || !row_at(agent_types(), current_index(kAgentType))) calculation_refused(); // no type chosen
    const float L1 = float(t ? input(kDepth) * t->depth_factor : std::numeric_limits<double>::quiet_NaN());
    result(kHoleDepth, L1, 3);
    write_count(kHoleRows, kRows);

    const bool by_diameter = checked(kByDiameter);
    if (by_diameter) by_diameter_given(L1);
    else by_hole_count(L1);

    const double D = shown(kDiameter);
    layout_ranges(D);
    agent_weights(D);
    // q1 = π·(D/2000)²·L1·K; D/2000 is the hole radius in metres.
    result(kPerHole, cmd_power(D / 2000, 2) * shown(kHoleDepth) * shown(kDensity) * kPi, 2);
    const bool by_length = total_charge(D);
    // No total charge (an input without a usable number, or no hole to
    // fill): nothing to plan with.
    if (!std::isfinite(shown(kTotalCharge))) calculation_refused();
    if (t) note_for_report(by_diameter, *t, L1, by_length);
}

std::string report_text(const std::string& placeholder)
{
    const auto it = texts_.find(placeholder);
    return it == texts_.end() ? std::string() : it->second;
}

namespace {

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // lamp busy, no pressed picture
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void show_mode_inputs(bool by_diameter)
{
    rt_set_property(box(kGivenDiameter), prop::Visible, by_diameter);
    rt_set_property(box("标签9"), prop::Visible, by_diameter);
    rt_set_property(box(kGivenCount), prop::Visible, !by_diameter);
    rt_set_property(box("标签28"), prop::Visible, !by_diameter);
}

void select_by_diameter(EventArgs&)
{
    if (checked(kByDiameter)) show_mode_inputs(true);
}

void select_by_hole_count(EventArgs&)
{
    if (checked(kByCount)) show_mode_inputs(false);
}

// Only typing counts: the box whose text changed must hold the focus, so a
// text written by a handler derives nothing.
void derive_layers(EventArgs& a)
{
    if (!cmd_has_focus(app::event_unit(a))) return;
    result(kLayers, input(kHeight) / input(kDepth), 1);
    // N' is stated to one decimal, a whole ratio too (2.0, not 2).
    const std::string ratio = control_text(box(kLayers));
    if (ratio != "-" && ratio.find_first_of(".e") == std::string::npos) set_text(kLayers, ratio + ".0");
}

// The weight per cubic metre is the agent's, not an input: its box shows
// the chosen agent's at once, as the calculation will write it.
void select_sca_type(EventArgs&)
{
    if (const AgentType* a = row_at(agent_types(), current_index(kAgentType))) {
        set_text("编辑框_使用温度范围", a->temperature);
        set_text("编辑框_使用季节", a->season);
        set_text(kDensity, a->density);
    }
    cmd_set_focus(box(kLog));
}

void show_table(const char* file)
{
    app::ShowLookupPicture(resource(std::string("resources/pictures/blasting/") + file), 500, 500);
}
void lookup_hole_layout(EventArgs&) { show_table("static_hole_layout.png"); }
void lookup_cracking_factor(EventArgs&) { show_table("static_cracking_factor.png"); }
void lookup_sca_weight(EventArgs&) { show_table("static_sca_weight.png"); }
void lookup_sca_per_metre(EventArgs&) { show_table("static_sca_per_metre.png"); }

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {kDepth, "取单次破碎体高度"},
        {kRows, "岩体切割时取1"},
        {kPoisson, " 一般砼取0.3；岩石取0.33"},
        {kPressure, "SCA产生的膨胀压，与时间，温度、水灰比、孔径有关，对混凝土和岩石的钻孔为30~50MPa，条件差时为20MPa；"},
        {kDensity, "每立方米SCA浆体中SCA重量（kg/m3）"},
        {kGivenDiameter, "请按照下列参数选择28；30；32；34；36；38；40；42；44；46；48；50"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}
JSB_MODULE_SETUP(StaticBreaking, attach_tips)

void register_static_breaking(Runtime& rt)
{
    rt.register_handler("StaticBreakingCompute", compute);
    rt.register_handler("StaticBreakingSelectByDiameter", select_by_diameter);
    rt.register_handler("StaticBreakingSelectByHoleCount", select_by_hole_count);
    rt.register_handler("StaticBreakingDeriveLayers", derive_layers);
    rt.register_handler("StaticBreakingSelectScaType", select_sca_type);
    rt.register_handler("StaticBreakingLookupHoleLayout", lookup_hole_layout);
    rt.register_handler("StaticBreakingLookupCrackingFactor", lookup_cracking_factor);
    rt.register_handler("StaticBreakingLookupScaWeight", lookup_sca_weight);
    rt.register_handler("StaticBreakingLookupScaPerMetre", lookup_sca_per_metre);
}

} // namespace

JSB_HANDLERS(register_static_breaking)

} // namespace static_breaking

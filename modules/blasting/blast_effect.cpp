#include "modules/blasting/blast_effect.h"

#include "app/main_window.h"
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/blasting/safe_rounding.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <map>
#include <string_view>
#include <utility>

namespace blast_effect {

using namespace ui;

namespace {

constexpr const char* kCharge = "编辑框5_炸药总量";
constexpr const char* kSiteK = "编辑框5_系数K";
constexpr const char* kAlpha = "编辑框5_衰减系数";
constexpr const char* kDistance = "编辑框5_距离R";
constexpr const char* kVelocity = "编辑框5_振动速度";
constexpr const char* kRange = "编辑框5_规范临界值";
constexpr const char* kVerdict = "编辑框13_评价结果";
constexpr const char* kCategory = "组合框5";
constexpr const char* kComputeButton = "图形按钮_计算";

constexpr const char* kExceeds =
    "超过爆破临界值，不符合要求！请降低一次起爆炸药总重量或采取分段起爆，重新计算";
constexpr const char* kPasses = "\r\n振速符合要求，验算通过！";

Ref box(const char* name) { return U(kForm, name); }
double input(const char* name) { return read_number(box(name)); }
void set_text(const char* name, const std::string& text) { set_control_text(box(name), text); }
bool checked(const char* radio) { return rt_get_property(box(radio), prop::RadioBox::Checked).truth(); }

} // namespace

const std::vector<BuildingCategory>& building_categories()
{
    // Allowed particle velocities of the blasting safety regulations; the
    // range texts are kept as the list has always shown them.
    static const std::vector<BuildingCategory> table = {
        {"土窑洞、土坯房、毛石房屋", "≤0.45～0.9cm/s", 0.9},
        {"一般民用建筑物", "2.0～2.5 cm/s", 2.5},
        {"工业和商业建筑物", "3.5～4.5cm/s", 4.5},
        {"一般古建筑与古迹", "≤0.2～0.3cm/s", 0.3},
        {"运行中的水电站及发电厂中心控制室设备", "≤0.6～0.7cm/s", 0.7},
        {"水工隧洞", "≤8～10cm/s", 10},
        {"交通隧道", "≤12～15cm/s", 15},
        {"矿山巷道", "≤18～25cm/s", 25},
        {"永久性岩石高边坡", "≤8～12cm/s", 12},
        {"新浇大体积混凝土(C20)初凝～3d", "≤2.0～2.5cm/s", 2.5},
        {"新浇大体积混凝土(C20)3d～7d", "≤4.0～5.0cm/s", 5.0},
        {"新浇大体积混凝土(C20)7d～28d", "≤8.0～10.0cm/s", 10},
    };
    return table;
}

const BuildingCategory* find_category(const std::string& item)
{
    for (const BuildingCategory& c : building_categories())
        if (item == c.item) return &c;
    return nullptr;
}

namespace {

// --- the three solvers ------------------------------------------------------------

// The verdict box as the form opens it: no verdict, no colour that reads as one.
void clear_verdict()
{
    rt_set_property(box(kVerdict), prop::EditBox::TextColor, 0x000000);
    set_text(kVerdict, "-");
    rt_set_property(box(kVerdict), prop::EditBox::BackColor, 0xC0C0C0);
}

// Each input of the relation is a positive quantity (the form's domains): a
// box that is empty, shows "-", holds no number, "-0", zero, a negative value
// or a number too large for a double stops the solver. The value it would
// have computed and the verdict go back to "-", so the form pairs the new
// inputs with no earlier result, and the calculation gives no report.
bool inputs_usable(const char* output, std::initializer_list<const char*> boxes)
{
    for (const char* b : boxes) {
        if (std::isnan(input(b))) {
            cmd_message_box("参数输入不完整，请查证！", 0, "错误", app::kMainForm);
            set_text(output, "-");
            clear_verdict();
            calculation_refused();
            return false;
        }
    }
    return true;
}

Worked worked_;

// A solved value beyond the number range shows "-": there is no figure to
// report. Otherwise the box shows `printed` (the figure as the mode prints
// it) and the report signs it against the figure worked out. True when
// the value is shown.
bool write_solved(const char* name, double x, double printed)
{
    write_number(box(name), printed);
    if (!std::isfinite(x) || control_text(box(name)) == "-") {
        calculation_refused();
        return false;
    }
    worked_.sign = report::result_sign(x, control_text(box(name)));
    return true;
}

void write_verdict(int32_t text_color, const char* text)
{
    rt_set_property(box(kVerdict), prop::EditBox::TextColor, text_color);
    set_text(kVerdict, text);
    rt_set_property(box(kVerdict), prop::EditBox::BackColor, 0x000000);
}

// A velocity against the limit of the chosen category: the one solved for,
// or the one a charge or distance was worked from, which binds no less. A
// velocity that is no finite number ("-": it overflowed the number range)
// cannot be within any limit: it gets the failing verdict rather than
// leaving an earlier pass standing beside it. A category the table does not
// know has no limit: no verdict, and none left from before.
void judge_velocity(double v)
{
    const BuildingCategory* category = find_category(current_item_text(box(kCategory)));
    if (!std::isfinite(v)) {
        write_verdict(0x0000FF, kExceeds);
        return;
    }
    if (!category) {
        clear_verdict();
        return;
    }
    worked_.limit = number_to_text(category->limit);
    const bool exceeds = tol_gt(v, category->limit);
    worked_.comparison = exceeds ? ">" : "≤";
    if (exceeds) write_verdict(0x0000FF, kExceeds);
    else write_verdict(0x00FF00, kPasses);
}

// The velocity is judged as worked out, not as rounded for its box: 0.00044
// cm/s is far within any limit though three decimals show it as 0, and
// 15.0004 is above 15 though it shows as 15.
void SolveVelocity()
{
    if (!inputs_usable(kVelocity, {kCharge, kSiteK, kDistance, kAlpha})) return;
    const double a = cmd_power(input(kCharge), 1.0 / 3);
    const double b = a / input(kDistance);
    const double c = cmd_power(b, input(kAlpha));
    const double v = c * input(kSiteK);
    write_rounded(box(kVelocity), v, 3);
    if (!std::isfinite(v) || control_text(box(kVelocity)) == "-") calculation_refused();
    else worked_.sign = report::result_sign(v, control_text(box(kVelocity)));
    judge_velocity(v);
    // Where the figure shown would read the other way against the limit,
    // the report states the one judged.
    const double shown = plain_number(control_text(box(kVelocity)));
    if (!worked_.comparison.empty() && tol_gt(shown, text_to_number(worked_.limit)) != (worked_.comparison == ">"))
        worked_.judged = "≈ " + number_to_text_digits(v, 6);
}

// The velocity a charge or distance is worked from is judged once it has
// given a figure; without one there is nothing to judge.
void judge_velocity_used(bool solved)
{
    if (solved) judge_velocity(input(kVelocity));
    else clear_verdict();
}

void SolveCharge()
{
    if (!inputs_usable(kCharge, {kAlpha, kSiteK, kDistance, kVelocity})) return;
    const double a = cmd_power(input(kDistance), 3);
    const double b = input(kVelocity) / input(kSiteK);
    const double e = 3 / input(kAlpha);
    const double q = a * cmd_power(b, e);
    // An allowed charge: never printed above what the formula allows.
    judge_velocity_used(write_solved(kCharge, q, blasting::allowed_maximum(q)));
}

void SolveDistance()
{
    if (!inputs_usable(kDistance, {kAlpha, kSiteK, kCharge, kVelocity})) return;
    const double a = cmd_power(input(kCharge), 1.0 / 3);
    const double b = input(kSiteK) / input(kVelocity);
    const double e = 1 / input(kAlpha);
    const double r = a * cmd_power(b, e);
    // A minimum distance: never printed below what the formula asks.
    judge_velocity_used(write_solved(kDistance, r, blasting::minimum_distance(r)));
}

// --- handlers -----------------------------------------------------------------------

void compute(EventArgs&)
{
    // The lamp shows idle before and after; only the solving step presses the button.
    calculation_begin(kForm);
    worked_ = {};
    app::lamp_idle();
    app::PlayClickSounds(app::res::sound_compute);
    const std::pair<const char*, void (*)()> modes[] = {
        {"单选框1_振动", SolveVelocity},
        {"单选框1_炸药总量", SolveCharge},
        {"单选框1_距离", SolveDistance},
    };
    for (const auto& [radio, solve] : modes) {
        if (!checked(radio)) continue;
        rt_set_property(box(kComputeButton), prop::PicBtn::Picture, Blob{resource(app::res::compute_pressed)});
        solve();
        rt_set_property(box(kComputeButton), prop::PicBtn::Picture, Blob{resource(app::res::compute_normal)});
    }
    app::lamp_idle();
    calculation_end();
}

// --- modes --------------------------------------------------------------------------

// Q, R and V each are an input in two modes and the solved value in the
// third. What a box held as an input is kept while it shows a solved value,
// and comes back when it is an input again. V, the allowed velocity where
// it is an input, starts as the check value of the chosen category and
// follows the category until the user types one.
struct Inputs {
    std::map<std::string, std::string> kept;
    bool velocity_typed = false;
};
Inputs inputs_;

bool is_output(const char* name) { return rt_get_property(box(name), prop::EditBox::InputMode).integer() == 1; }

// The check value of a category's range is its upper end; a category the
// table does not know gives none.
std::string check_velocity()
{
    const BuildingCategory* c = find_category(current_item_text(box(kCategory)));
    return c ? number_to_text(c->limit) : std::string("-");
}

void select_building_category(EventArgs&)
{
    if (const BuildingCategory* c = find_category(current_item_text(box(kCategory)))) set_text(kRange, c->range);
    if (!is_output(kVelocity) && !inputs_.velocity_typed) set_text(kVelocity, check_velocity());
}

// Only typing counts: a text written by a handler leaves V following the
// category.
void velocity_changed(EventArgs&)
{
    if (cmd_has_focus(box(kVelocity))) inputs_.velocity_typed = true;
}

void input_style(const char* name)
{
    rt_set_property(box(name), prop::EditBox::BackColor, 0xFFFFFF);
    rt_set_property(box(name), prop::EditBox::InputMode, 10);
    rt_set_property(box(name), prop::EditBox::Font, "宋体", prop::FontMember::Face);
    rt_set_property(box(name), prop::EditBox::Font, 9, prop::FontMember::Size);
}

void output_style(const char* name)
{
    rt_set_property(box(name), prop::EditBox::BackColor, 0x808080);
    rt_set_property(box(name), prop::EditBox::InputMode, 1);
    rt_set_property(box(name), prop::EditBox::Font, "华文细黑", prop::FontMember::Face);
    rt_set_property(box(name), prop::EditBox::Font, 10, prop::FontMember::Size);
}

// The mode solving for `output`. Choosing the mode already shown changes
// nothing. Another mode keeps every input as typed: the box solved for
// until now gets back what it held as an input, the newly solved box shows
// "-" until the next calculation, and the verdict and the results go with
// the mode they belonged to.
void select_mode(const char* output)
{
    const char* previous = nullptr;
    for (const char* b : {kCharge, kDistance, kVelocity})
        if (is_output(b)) previous = b;
    if (previous && std::string_view(previous) == output) return;

    inputs_.kept[output] = control_text(box(output));
    output_style(output);
    set_text(output, "-");
    if (previous) {
        input_style(previous);
        const bool follows = std::string_view(previous) == kVelocity && !inputs_.velocity_typed;
        const auto kept = inputs_.kept.find(previous);
        set_text(previous, follows ? check_velocity() : kept != inputs_.kept.end() ? kept->second : std::string("-"));
    }
    clear_verdict();
    discard_results(kForm);
}

void solve_velocity_mode(EventArgs&) { select_mode(kVelocity); }
void solve_distance_mode(EventArgs&) { select_mode(kDistance); }
void solve_charge_mode(EventArgs&) { select_mode(kCharge); }

void lookup_velocity_limits(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/blasting/effect_velocity_limits.png"), 900, 1000);
}

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {kSiteK, "坚硬岩石50~150；中硬岩石150~250；软岩石250~350；"},
        {kAlpha, "坚硬岩石1.3~1.5；中硬岩石1.5~1.8；软岩石1.8~2.0；"},
        {kCharge, "齐发爆破按总装药量计算，分段爆破按最大一段药量计算"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}
JSB_MODULE_SETUP(BlastEffect, attach_tips)

// A new form starts with nothing typed.
void forget_inputs() { inputs_ = {}; }
JSB_MODULE_SETUP(BlastEffect, forget_inputs)

void register_blast_effect(Runtime& rt)
{
    rt.register_handler("BlastEffectCompute", compute);
    rt.register_handler("BlastEffectSelectBuildingCategory", select_building_category);
    rt.register_handler("BlastEffectSelectSolveVelocity", solve_velocity_mode);
    rt.register_handler("BlastEffectSelectSolveDistance", solve_distance_mode);
    rt.register_handler("BlastEffectSelectSolveCharge", solve_charge_mode);
    rt.register_handler("BlastEffectVelocityChanged", velocity_changed);
    rt.register_handler("BlastEffectLookupVelocityLimits", lookup_velocity_limits);
}

} // namespace

const Worked& worked() { return worked_; }

JSB_HANDLERS(register_blast_effect)

} // namespace blast_effect

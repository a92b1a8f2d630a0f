#include "modules/blasting/deep_hole.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/blasting/bench_tables.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <string>
#include <utility>

namespace deep_hole {

using namespace ui;

namespace {

Ref box(const char* name) { return U(kForm, name); }

double input(const char* name) { return read_number(box(name)); }
// Each result is written rounded to 2 decimals and later steps read the
// shown text back. A result that could not be computed (a burden over a zero
// or negative quotient) shows "-" and stays not a number when read back, so
// the spacing, charges and stemming built on it show "-" as well.
void result(const char* name, double x) { write_rounded(box(name), x, 2); }
double shown(const char* name) { return read_result(box(name)); }

void write_text(const char* name, const std::string& text) { set_control_text(box(name), text); }
int current_index(const char* combo) { return rt_get_property(box(combo), prop::ComboBox::CurrentIndex).integer(); }

} // namespace

void calculate()
{
    constexpr const char* H = "编辑框1_阶梯高度";
    constexpr const char* W = "编辑框1_最小抵抗线长度";

    // The choices and the spacing coefficient are stated in the report
    // beside the results: they are part of what was calculated, and a
    // coefficient that is no number of its domain leaves nothing to report.
    for (const char* list : {"组合框5", "组合框3", "组合框4", "组合框7"}) current_item_text(box(list));
    input("编辑框1_炮孔间距系数");

    // τ by bench height: 0.6 below 10 m, 0.5 from 10 to 15 m, 0.4 above;
    // the texts keep the blanks the form has always shown.
    // A bench height that is no height chooses none.
    if (std::isnan(input(H))) write_text("编辑框1_装药长度系数", "-");
    else if (tol_lt(input(H), 10)) write_text("编辑框1_装药长度系数", " 0.6");
    else write_text("编辑框1_装药长度系数", "0.5");
    if (tol_gt(input(H), 15)) write_text("编辑框1_装药长度系数", " 0.4");

    result("编辑框1_钻根长度", input(H) * input("编辑框1_钻根长度系数h"));                 // h = H·h'
    result("编辑框1_预计炮孔深度", input(H) + input(H) * input("编辑框1_钻根长度系数h")); // L = H + H·h', unrounded h

    // W = √(d²·Δ·L·τ·0.785 / (e·q·m·H)), d the hole diameter in metres.
    const double d = input("编辑框1_炮孔孔径") / 1000;
    const double charge = cmd_power(d, 2) * input("编辑框1_装药密度") * shown("编辑框1_预计炮孔深度") *
                          shown("编辑框1_装药长度系数") * 0.785;
    const double demand =
        input("编辑框2_换算系数e") * input("编辑框2_炸药单位消耗量") * input("编辑框1_炮孔密度系数") * input(H);
    result(W, cmd_sqrt(charge / demand));

    // a = m·W: the hole density coefficient m is the ratio of spacing to
    // burden the burden was sized for. The spacing coefficient a' only goes
    // into the report.
    result("编辑框1_炮孔间距", input("编辑框1_炮孔密度系数") * shown(W));

    // Q = e·q·a·H·W, the rock a hole breaks times the charge it needs.
    result("编辑框1_抛掷爆破每一炮孔药量", input("编辑框2_换算系数e") * input("编辑框2_炸药单位消耗量") *
                                               shown("编辑框1_炮孔间距") * input(H) * shown(W));
    // A third of the unrounded throw charge, rounded once.
    result("编辑框1_松动爆破每一炮孔药量", input("编辑框2_换算系数e") * input("编辑框2_炸药单位消耗量") *
                                               shown("编辑框1_炮孔间距") * input(H) * shown(W) * 0.33);
    result("编辑框1_炮孔排距", input("编辑框1_炮孔排距系数") * shown(W)); // b = b'·W

    // The stemming is at least the burden. With no burden there is no bound
    // to state, and ">-" would read as a mangled figure.
    const std::string burden = control_text(box(W));
    write_text("编辑框1_炮孔堵塞长度", burden == "-" ? burden : ">" + burden);

    // A result without a value (an input outside its domain, a burden beyond
    // the number range) leaves nothing to report.
    refuse_unless_shown(kForm, {"编辑框1_钻根长度", "编辑框1_预计炮孔深度", W, "编辑框1_炮孔间距", "编辑框1_炮孔排距",
                                "编辑框1_抛掷爆破每一炮孔药量", "编辑框1_松动爆破每一炮孔药量"});
}

namespace {

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_炮孔孔径", "常用的深孔直径有76～80、100、150、170、200、250、310mm几种"},
        {"编辑框1_阶梯高度", "指台阶的高差"},
        {"编辑框1_钻根长度系数h", "通常取0.1~0.15)H 或（0.1~0.3)W,岩石较硬时取上限,本软件中取（0.1~0.15)范围"},
        {"编辑框1_炮孔间距系数", "当采用多排或等边三角形布置炮孔时,取值范围（0.8~1.2）"},
        {"编辑框1_炮孔排距系数", "本软件中一般取值范围（0.7~1.0）"},
        {"编辑框1_装药密度", "一般取900kg/m3"},
        {"编辑框1_装药长度系数",
         "当H小于10m时,τ取0.6;当H=10~15m时,τ取0.5;当H大于15m时,τ取0.4;软件已自动选取"},
        {"编辑框1_炮孔密度系数", "炮孔密度系数，一般为0.8～1.0"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

// The lists fill q and e with the typical value of the row; the cursor stays
// where it was.
void select_rock_class(EventArgs&)
{
    if (const bench::RockClass* row = bench::rock_class_at(current_index("组合框3"))) {
        rt_set_property(box("透明标签24"), prop::TransLabel::Caption, row->q_caption);
        write_text("编辑框2_炸药单位消耗量", row->q);
    }
}

void select_explosive(EventArgs&)
{
    if (const bench::Explosive* row = bench::explosive_at(current_index("组合框7"))) {
        write_text("编辑框2_换算系数e", row->e);
        rt_set_property(box("透明标签20"), prop::TransLabel::Caption, row->caption);
    }
}

void show_table(const char* picture, int width, int height)
{
    app::ShowLookupPicture(resource(picture), width, height);
}
void lookup_rock_class(EventArgs&) { show_table("resources/pictures/blasting/bench_rock_classes.png", 600, 400); }
void lookup_conversion_factor(EventArgs&) { show_table("resources/pictures/blasting/bench_explosive_factors.png", 700, 500); }
void lookup_charge_factor(EventArgs&) { show_table("resources/pictures/blasting/bench_charge_factors.png", 700, 500); }

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture and busy lamp, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void register_deep_hole(Runtime& rt)
{
    rt.register_handler("DeepHoleSelectRockClass", select_rock_class);
    rt.register_handler("DeepHoleSelectExplosive", select_explosive);
    rt.register_handler("DeepHoleLookupRockClass", lookup_rock_class);
    rt.register_handler("DeepHoleLookupConversionFactor", lookup_conversion_factor);
    rt.register_handler("DeepHoleLookupChargeFactor", lookup_charge_factor);
    rt.register_handler("DeepHoleCompute", compute);
}

} // namespace

std::string subdrill_factor_used()
{
    return number_to_text(input("编辑框1_钻根长度系数h"));
}

JSB_HANDLERS(register_deep_hole)
// The shell's created handler embeds the form and enables its export
// button; the tips follow.
JSB_MODULE_SETUP(DeepHole, attach_tips)

} // namespace deep_hole

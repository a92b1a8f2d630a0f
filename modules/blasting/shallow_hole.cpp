#include "modules/blasting/shallow_hole.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/blasting/bench_tables.h"
#include "ui/cmd.h"

#include <string>
#include <utility>

namespace shallow_hole {

using namespace ui;

namespace {

Ref box(const char* name) { return U(kForm, name); }

double input(const char* name) { return read_number(box(name)); }
// Each result is written rounded to 2 decimals and later steps read the
// shown text back. A result that could not be computed shows "-" and stays
// not a number when read back, so nothing built on it passes for a figure.
void result(const char* name, double x) { write_rounded(box(name), x, 2); }
double shown(const char* name) { return read_result(box(name)); }

void write_text(const char* name, const char* text) { set_control_text(box(name), text); }
int current_index(const char* combo) { return rt_get_property(box(combo), prop::ComboBox::CurrentIndex).integer(); }

constexpr int kLoosening = 0; // 组合框5: 松动爆破
constexpr int kThrow = 1;     //         抛掷爆破

} // namespace

void calculate()
{
    // The choices and the two factors no formula uses are stated in the
    // report beside the results: they are part of what was calculated, and a
    // factor that is no number of its domain leaves nothing to report.
    for (const char* list : {"组合框1", "组合框3", "组合框4", "组合框7", "组合框6"}) current_item_text(box(list));
    for (const char* factor : {"编辑框2_自由面系数", "编辑框2_炮孔堵塞系数d"}) input(factor);

    result("编辑框2_钻孔深度h", input("编辑框1_钻孔深度系数") * input("编辑框2_阶梯高度"));     // h
    result("编辑框2_最小抵抗线", input("编辑框2_最小抵抗线系数") * input("编辑框2_阶梯高度")); // W
    result("编辑框2_炮眼间距", input("编辑框2_炮眼间距系数") * shown("编辑框2_最小抵抗线"));   // a = a'·W
    result("编辑框2_炮眼排距b", input("编辑框2_炮眼排距系数") * shown("编辑框2_最小抵抗线"));  // b = b'·W
    // Q = q·a·b·h·e for throw blasting; loosening takes a third of it (0.33).
    const double Q = input("编辑框2_炸药单位消耗量") * shown("编辑框2_炮眼间距") * shown("编辑框2_炮眼排距b") *
                     shown("编辑框2_钻孔深度h") * input("编辑框2_换算系数e");
    const int kind = current_index("组合框5");
    if (kind == kLoosening) result("编辑框2_每个炮孔爆破用药量", Q * 0.33);
    else if (kind == kThrow) result("编辑框2_每个炮孔爆破用药量", Q);
    else write_text("编辑框2_每个炮孔爆破用药量", "-"); // no blasting type chosen: no charge to give
    // A result without a value (an input outside its domain, a product beyond
    // the number range) leaves nothing to report.
    refuse_unless_shown(kForm,
                        {"编辑框2_钻孔深度h", "编辑框2_最小抵抗线", "编辑框2_炮眼间距", "编辑框2_炮眼排距b", "编辑框2_每个炮孔爆破用药量"});
}

namespace {

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_钻孔深度系数",
         "对于坚硬岩石取(1.1~1.15)H；对中硬岩石取(0.85~0.95)；若在炮孔底部有一层软岩石夹层时取(0.7~0.9)；"
         "与此同时炮孔深度还与不同的临空面及炮孔直径有关"},
        {"编辑框2_最小抵抗线系数", "最小抵抗线系数取(0.6~ 0.8)"},
        {"编辑框2_炮眼间距系数", "炮孔间距a用火雷管起爆时，取值范围1.4~ 2.0；电雷管起爆时，取值范围 0.8~ 2.0"},
        {"编辑框2_炮眼排距系数", "炮孔布置一般成交错梅花型布置，取0.8~1.2"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

// Each choice list overwrites its coefficient box with the row's typical
// value (discarding what was typed) and puts the cursor there to adjust it.
void select_rock_class(EventArgs&)
{
    if (const bench::RockClass* row = bench::rock_class_at(current_index("组合框3"))) {
        rt_set_property(box("透明标签9"), prop::TransLabel::Caption, row->depth_caption);
        write_text("编辑框1_钻孔深度系数", row->depth_factor);
        rt_set_property(box("透明标签24"), prop::TransLabel::Caption, row->q_caption);
        write_text("编辑框2_炸药单位消耗量", row->q);
    }
    cmd_set_focus(box("编辑框1_钻孔深度系数"));
}

void select_explosive(EventArgs&)
{
    if (const bench::Explosive* row = bench::explosive_at(current_index("组合框7"))) {
        write_text("编辑框2_换算系数e", row->e);
        rt_set_property(box("透明标签20"), prop::TransLabel::Caption, row->caption);
    }
    cmd_set_focus(box("编辑框2_换算系数e"));
}

void select_detonator(EventArgs&)
{
    struct Detonator {
        const char* caption; // of 透明标签13
        const char* factor;  // text of 编辑框2_炮眼间距系数
    };
    static const Detonator rows[] = {
        {"间距系数火雷管起爆(1.4-2.0)", "1.7"}, // 火雷管起爆
        {"间距系数电雷管起爆(0.8-2.0)", "1.4"}, // 电雷管起爆
    };
    const int i = current_index("组合框4");
    if (i >= 0 && i < int(std::size(rows))) {
        rt_set_property(box("透明标签13"), prop::TransLabel::Caption, rows[i].caption);
        write_text("编辑框2_炮眼间距系数", rows[i].factor);
    }
    cmd_set_focus(box("编辑框2_炮眼间距系数"));
}

void select_free_faces(EventArgs&)
{
    // One to six free faces; the texts as they stand ("0.50", not "0.5").
    static const char* const factors[] = {"1", "0.83", "0.67", "0.50", "0.33", "0.17"};
    const int i = current_index("组合框6");
    if (i >= 0 && i < int(std::size(factors))) write_text("编辑框2_自由面系数", factors[i]);
    cmd_set_focus(box("编辑框2_自由面系数"));
}

void show_table(const char* picture, int width, int height)
{
    app::ShowLookupPicture(resource(picture), width, height);
}
void lookup_rock_class(EventArgs&) { show_table("resources/pictures/blasting/bench_rock_classes.png", 600, 400); }
void lookup_conversion_factor(EventArgs&) { show_table("resources/pictures/blasting/bench_explosive_factors.png", 700, 500); }
void lookup_charge_factor(EventArgs&) { show_table("resources/pictures/blasting/bench_charge_factors.png", 700, 500); }
void lookup_stemming(EventArgs&) { show_table("resources/pictures/blasting/bench_stemming.png", 600, 400); }

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture and busy lamp, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void register_shallow_hole(Runtime& rt)
{
    rt.register_handler("ShallowHoleSelectRockClass", select_rock_class);
    rt.register_handler("ShallowHoleSelectExplosive", select_explosive);
    rt.register_handler("ShallowHoleSelectDetonator", select_detonator);
    rt.register_handler("ShallowHoleSelectFreeFaces", select_free_faces);
    rt.register_handler("ShallowHoleLookupRockClass", lookup_rock_class);
    rt.register_handler("ShallowHoleLookupConversionFactor", lookup_conversion_factor);
    rt.register_handler("ShallowHoleLookupChargeFactor", lookup_charge_factor);
    rt.register_handler("ShallowHoleLookupStemming", lookup_stemming);
    rt.register_handler("ShallowHoleCompute", compute);
}

} // namespace

JSB_HANDLERS(register_shallow_hole)
// The shell's created handler embeds the form and enables its export
// button; the tips follow.
JSB_MODULE_SETUP(ShallowHole, attach_tips)

} // namespace shallow_hole

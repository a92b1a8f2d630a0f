// The circular tunnel or shaft section: its calculation (cut holes inside a
// cut circle, auxiliary and perimeter holes, no bottom holes) and the two
// inputs its panel derives from others.
#include "modules/blast_design/face_steps.h"
#include "modules/blast_design/smooth_blasting.h"

#include "app/registry.h"

namespace blast_design {

using namespace ui;

namespace {

double in(const char* box) { return input(box); }

std::string cell(const char* row, const char* column) { return result_label(1, row, column); }

// What the section has no bottom holes for.
void not_applicable(const std::string& label) { set_label_text(label, "-"); }

const std::vector<StemmingRow>& circular_stemming()
{
    static const std::vector<StemmingRow> rows = {
        {"", {1, "掏槽眼"}, ""},
        {"", {1, "辅助眼"}, "编辑框4_辅助眼最小抵抗线V"},
        {"", {1, "周边眼"}, "编辑框4_周边眼最小抵抗线V"},
    };
    return rows;
}

// A circular section has no bottom holes to fire: that row's firing order
// and segments read "-" like its hole data.
const std::vector<LayoutRow>& circular_layout()
{
    static const std::vector<LayoutRow> rows = {
        {cell("掏槽眼", ""), "01", "1;3"},
        {cell("辅助眼", ""), "02", "5;7"},
        {cell("周边眼", ""), "03", "9;11"},
        {cell("底板眼", ""), "-", "-"},
    };
    return rows;
}

} // namespace

void compute_circular(const LayoutMode& mode)
{
    auto A = [] { return in("编辑框4_隧道开挖面积"); };
    auto L = [] { return in("编辑框4_开挖循环进尺"); };
    auto P = [] { return in("编辑框4_周边眼外周长"); };
    auto Nc = [] { return in("编辑框4_掏槽眼数量"); };
    auto Dr = [] { return in("编辑框4_掏槽圈直径"); };
    auto F = [] { return in("编辑框4_岩石夹制力系数"); };
    auto q = [] { return in("编辑框4_单位体积岩体的耗药量"); };
    auto Ep = [] { return in("编辑框4_周边眼间距E"); };
    auto Vp = [] { return in("编辑框4_周边眼最小抵抗线V"); };
    auto k = [] { return in("编辑框4_周边眼装药集中度"); };
    auto Ea = [] { return in("编辑框4_辅助眼间距"); };
    auto Va = [] { return in("编辑框4_辅助眼最小抵抗线V"); };
    auto w = [] { return in("编辑框1_单个药卷重量"); };

    // Stated by the report alone: the drilling figures, and the diameter
    // beside the area it is derived from.
    read_stated_inputs(kStatedDrillingInputs);
    in("编辑框4_开挖直径");

    write_step(cell("掏槽眼", "炮眼深度"), L() + 0.2, 1);
    write_step(cell("辅助眼", "炮眼深度"), L(), 1);
    write_step(cell("周边眼", "炮眼深度"), L(), 1);
    not_applicable(cell("底板眼", "炮眼深度"));
    const double nc = write_count(cell("掏槽眼", "炮眼数目"), Nc(), kUnrounded);
    const double np = write_count(cell("周边眼", "炮眼数目"), P() / Ep() + 1, 0);
    // The area left after the cut circle (π as 3.14) and a perimeter band.
    const double na = write_count(cell("辅助眼", "炮眼数目"),
                                 (A() - cmd_power(Dr() / 2, 2) * 3.14 - P() * Vp()) * F() / (Ea() * Va()), 0);
    not_applicable(cell("底板眼", "炮眼数目"));
    write_count("标签1_炮眼数量合计1", nc + na + np, kUnrounded);

    // The total to the tenth of a kilogram, as the rows are weighed; the
    // perimeter is charged over the typed advance; the cut holes share the
    // rest with the auxiliary holes.
    const double Q = write_step("标签1_炸药数量合计1", q() * A() * L(), 1);
    const double gp = write_step(cell("周边眼", "单孔装药量"), k() * L(), 1);
    const double Qp = write_step(cell("周边眼", "小计药量"), gp * np, 1);
    write_cartridges(cell("周边眼", "每孔药卷数"), gp / (w() / 1000), 0);
    const double Qc = write_step(cell("掏槽眼", "小计药量"), (Q - Qp) / (nc + na) * nc * 1.35, 1);
    const double gc = write_step(cell("掏槽眼", "单孔装药量"), Qc / nc, 1);
    write_cartridges(cell("掏槽眼", "每孔药卷数"), gc * 1000 / w(), 1);
    const double Qa = write_step(cell("辅助眼", "小计药量"), (Q - Qp - Qc) / na * na, 1);
    const double ga = write_step(cell("辅助眼", "单孔装药量"), Qa / na, 1);
    write_cartridges(cell("辅助眼", "每孔药卷数"), ga * 1000 / w(), 1);
    not_applicable(cell("底板眼", "小计药量"));
    not_applicable(cell("底板眼", "单孔装药量"));
    not_applicable(cell("底板眼", "每孔药卷数"));

    refuse_unless_complete({{1, "掏槽眼"}, {1, "辅助眼"}, {1, "周边眼"}});
    check_stemming(circular_stemming(), "  ");
    write_layout(circular_layout(), mode);
}

namespace {

// Diameter and circumference of the circle of the typed area; a typed
// circumference gives way whenever the area changes.
void SmoothBlastingDeriveShaftGeometry(EventArgs&)
{
    auto radius = [] { return cmd_power(box_number("编辑框4_隧道开挖面积") / 3.14, 0.5); };
    set_box_text("编辑框4_开挖直径", cmd_to_text(cmd_round(radius() * 2, 2)));
    set_box_text("编辑框4_周边眼外周长", cmd_to_text(cmd_round(radius() * 6.28, 2)));
}

void SmoothBlastingDeriveCircularBurden(EventArgs&)
{
    set_box_text("编辑框4_周边眼最小抵抗线V", cmd_to_text(box_number("编辑框4_周边眼间距E") / 0.8));
}

void register_circular(Runtime& rt)
{
    rt.register_handler("SmoothBlastingDeriveShaftGeometry", SmoothBlastingDeriveShaftGeometry);
    rt.register_handler("SmoothBlastingDeriveCircularBurden", SmoothBlastingDeriveCircularBurden);
}

} // namespace
JSB_HANDLERS(register_circular)

} // namespace blast_design

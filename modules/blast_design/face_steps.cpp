#include "modules/blast_design/face_steps.h"

#include "modules/blast_design/smooth_blasting.h"
#include "ui/value.h"

namespace blast_design {

namespace {

// An input box, read afresh by every step that uses it.
double in(const char* box) { return box_number(box); }

// A result label of block 1: 标签1_ + row word + column word.
std::string cell(const char* row, const char* column) { return std::string("标签1_") + row + column; }

// Writes the step's result as its label shows it and gives back what the
// label now shows, which is what later steps use.
double put(const std::string& label, double value, int digits)
{
    double shown = digits == kUnrounded ? value : ui::cmd_round(value, digits);
    set_label_text(label, ui::cmd_to_text(shown));
    return label_number(label);
}

const char* const kCut = "掏槽眼";
const char* const kAux = "辅助眼";
const char* const kPerimeter = "周边眼";
const char* const kBottom = "底板眼";
const char* const kDepth = "炮眼深度";
const char* const kCount = "炮眼数目";
const char* const kRow = "小计药量";
const char* const kPerHole = "单孔装药量";
const char* const kCartridges = "每孔药卷数";

} // namespace

const UpperBenchRounding kFullFaceRounding{
    1,       // total charge
    true, 1, 1, 1, // perimeter: over the shown depth; per hole, row, cartridges
    1, 1, 1, // cut
    1, 1, 1, // auxiliary
    1, 1, 1, // bottom
};

void compute_upper_bench(const UpperBenchRounding& r)
{
    // Inputs by the symbols of the design tables.
    auto S = [] { return in("编辑框1_上台阶面积"); };
    auto L = [] { return in("编辑框1_开挖循环进尺"); };
    auto P = [] { return in("编辑框1_周边眼外弧长"); };
    auto B = [] { return in("编辑框1_坑道开挖宽度"); };
    auto Nc = [] { return in("编辑框1_掏槽眼数量"); };
    auto F = [] { return in("编辑框1_岩石夹制力系数"); };
    auto q = [] { return in("编辑框1_单位体积岩体的耗药量"); };
    auto Ep = [] { return in("编辑框1_周边眼间距E"); };
    auto Vp = [] { return in("编辑框1_周边眼最小抵抗线V"); };
    auto k = [] { return in("编辑框1_周边眼装药集中度"); };
    auto Ea = [] { return in("编辑框1_辅助眼间距"); };
    auto Va = [] { return in("编辑框1_辅助眼最小抵抗线V"); };
    auto Eb = [] { return in("编辑框1_底板眼间距"); };
    auto Vb = [] { return in("编辑框1_底板眼最小抵抗线"); };
    auto Lc = [] { return in("编辑框1_掏槽区作用长度"); };
    auto Hc = [] { return in("编辑框1_掏槽区作用高度"); };
    auto w = [] { return in("编辑框1_单个药卷重量"); };

    // Depths and counts.
    put(cell(kCut, kDepth), L() + 0.2, 1);
    put(cell(kAux, kDepth), L(), 1);
    const double Dp = put(cell(kPerimeter, kDepth), L(), 1);
    put(cell(kBottom, kDepth), L(), 1);
    const double nc = put(cell(kCut, kCount), Nc(), kUnrounded);
    const double na = put(cell(kAux, kCount), (S() - P() * Vp() - Lc() * Hc() - B() * Vb()) / (Ea() * Va()) * F(), 0);
    const double np = put(cell(kPerimeter, kCount), P() / Ep() + 1, 0);
    const double nb = put(cell(kBottom, kCount), B() / Eb() + 1, 0);
    put("标签1_炮眼数量合计1", nc + na + np + nb, kUnrounded);

    // Charges: the perimeter by line density, the rest shared per hole with
    // the cut holes taking 1.35 times their share and the bottom the remainder.
    const double Q = put("标签1_炸药数量合计1", q() * S() * L(), r.total_charge);
    const double gp = put(cell(kPerimeter, kPerHole), k() * (r.perimeter_over_depth ? Dp : L()), r.perimeter_per_hole);
    const double Qp = put(cell(kPerimeter, kRow), gp * np, r.perimeter_row);
    put(cell(kPerimeter, kCartridges), gp / (w() / 1000), r.perimeter_cartridges);
    const double Qc = put(cell(kCut, kRow), (Q - Qp) / (nc + na + nb) * nc * 1.35, r.cut_row);
    const double gc = put(cell(kCut, kPerHole), Qc / nc, r.cut_per_hole);
    put(cell(kCut, kCartridges), gc * 1000 / w(), r.cut_cartridges);
    const double Qa = put(cell(kAux, kRow), (Q - Qp - Qc) / (na + nb) * na, r.aux_row);
    const double ga = put(cell(kAux, kPerHole), Qa / na, r.aux_per_hole);
    put(cell(kAux, kCartridges), ga * 1000 / w(), r.aux_cartridges);
    const double Qb = put(cell(kBottom, kRow), Q - Qp - Qc - Qa, r.bottom_row);
    const double gb = put(cell(kBottom, kPerHole), Qb / nb, r.bottom_per_hole);
    put(cell(kBottom, kCartridges), gb * 1000 / w(), r.bottom_cartridges);
}

const std::vector<StemmingRow> kFullFaceStemming = {
    {kCut, cell(kCut, kCartridges), cell(kCut, kDepth), ""},
    {kAux, cell(kAux, kCartridges), cell(kAux, kDepth), "编辑框1_辅助眼最小抵抗线V"},
    {kPerimeter, cell(kPerimeter, kCartridges), cell(kPerimeter, kDepth), "编辑框1_周边眼最小抵抗线V"},
    {kBottom, cell(kBottom, kCartridges), cell(kBottom, kDepth), "编辑框1_底板眼最小抵抗线"},
};

void check_stemming(const std::vector<StemmingRow>& rows, const std::string& separator)
{
    static const char* const kAdvice = "炮孔装药长度加堵塞长度超过炮眼深度，请增大岩石夹制力系数或缩小你的炮眼间距！";
    for (const StemmingRow& row : rows) {
        const double stemming = row.stemming_box.empty() ? 0.4 : box_number(row.stemming_box);
        const double excess = label_number(row.cartridges_label) * box_number("编辑框1_单个药卷长度") + stemming -
                              label_number(row.depth_label);
        if (!ui::tol_gt(excess, 0)) continue;
        if (row.only_while_second_table_shown &&
            !ui::rt_get_property(ctl("外形框_中台阶结果表"), ui::prop::Visible).truth())
            continue;
        show_message(row.message_prefix + separator + kAdvice);
    }
}

const std::vector<LayoutRow> kFullFaceLayout = {
    {cell(kCut, ""), "01", "1;3"},
    {cell(kAux, ""), "02", "5;7;9"},
    {cell(kPerimeter, ""), "03", "9;11"},
    {cell(kBottom, ""), "04", "11;13"},
};

void write_layout(const std::vector<LayoutRow>& rows)
{
    const bool automatic = is_checked("选择框1");
    if (!automatic && list_index("列表框3") != -1) return; // the editor's layout stays
    for (const LayoutRow& row : rows) set_label_text(row.row_prefix + "起爆顺序1", automatic ? row.order : "-");
    for (const LayoutRow& row : rows) set_label_text(row.row_prefix + "雷管段位", automatic ? row.segments : "-");
}

void compute_full_face()
{
    compute_upper_bench(kFullFaceRounding);
    check_stemming(kFullFaceStemming, "  ");
    write_layout(kFullFaceLayout);
}

} // namespace blast_design

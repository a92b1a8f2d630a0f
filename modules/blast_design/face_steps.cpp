#include "modules/blast_design/face_steps.h"

#include "app/report/signs.h"
#include "modules/blast_design/smooth_blasting.h"
#include "ui/value.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace blast_design {

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// What the last calculation kept beyond its labels, for the report.
struct Kept {
    std::map<std::string, std::string> relations; // label -> "=" or "≈"
    std::map<std::string, double> worked;         // label -> the value before rounding
    std::vector<StemmingOutcome> stemming;
    double one_side_perimeter = kNone;
    bool unusable_input = false; // an input was read outside its domain
};
Kept& kept()
{
    static Kept k;
    return k;
}

// An input box, read afresh by every step that uses it.
double in(const char* box) { return input(box); }

const char* const kCut = "掏槽眼";
const char* const kAux = "辅助眼";
const char* const kPerimeter = "周边眼";
const char* const kBottom = "底板眼";
const char* const kDepth = "炮眼深度";
const char* const kCount = "炮眼数目";
const char* const kRow = "小计药量";
const char* const kPerHole = "单孔装药量";
const char* const kCartridges = "每孔药卷数";

// A result label of block 1.
std::string cell(const char* row, const char* column) { return result_label(1, row, column); }

} // namespace

std::string result_label(int block, const std::string& row, const std::string& column)
{
    return "标签" + std::to_string(block) + "_" + row + column;
}

double input(const std::string& box)
{
    const double x = box_number(box);
    if (!std::isfinite(x)) kept().unusable_input = true;
    return x;
}

const std::vector<const char*> kStatedDrillingInputs = {"编辑框1_炮眼钻孔直径", "编辑框1_装药不耦合系数",
                                                         "编辑框1_计算炸药直径"};

void read_stated_inputs(const std::vector<const char*>& boxes)
{
    for (const char* box : boxes) input(box);
}

namespace {

// A figure as it is shown: below zero or not finite gives none, and never
// "-0".
double as_shown(double shown)
{
    if (shown < 0 || !std::isfinite(shown)) return kNone;
    return shown == 0 ? 0.0 : shown;
}

// The sign between the worked value and the figure shown for it.
const char* relation(double worked, double shown) { return report::result_sign(worked, ui::cmd_to_text(shown)); }

double write_shown(const std::string& label, double value, double shown)
{
    shown = as_shown(shown);
    kept().relations[label] = relation(value, shown);
    kept().worked[label] = value;
    set_label_text(label, ui::cmd_to_text(shown));
    return ui::read_result(ctl(label));
}

double rounded(double value, int digits) { return digits == kUnrounded ? value : ui::cmd_round(value, digits); }

} // namespace

double write_step(const std::string& label, double value, int digits)
{
    return write_shown(label, value, rounded(value, digits));
}

double write_count(const std::string& label, double value, int digits)
{
    double shown = rounded(value, digits);
    if (std::isfinite(shown) && shown != std::round(shown)) shown = kNone;
    return write_shown(label, value, shown);
}

double write_cartridges(const std::string& label, double value, int digits)
{
    if (!(value > 0 && value < 1)) return write_step(label, value, digits);
    return write_shown(label, value, std::max(ui::cmd_round(value, std::max(digits, 1)), 0.1));
}

std::string relation_of(const std::string& label)
{
    const auto it = kept().relations.find(label);
    return it == kept().relations.end() ? "=" : it->second;
}

double worked_value_of(const std::string& label)
{
    const auto it = kept().worked.find(label);
    return it == kept().worked.end() ? kNone : it->second;
}

void forget_last_calculation() { kept() = Kept{}; }

const std::vector<StemmingOutcome>& last_stemming_check() { return kept().stemming; }
double last_one_side_perimeter_count() { return kept().one_side_perimeter; }

double StemmingOutcome::charge_length() const { return cartridges * cartridge_length; }
double StemmingOutcome::filled_length() const { return charge_length() + stemming; }
bool StemmingOutcome::fits() const { return ui::tol_le(filled_length() - depth, 0); }

const UpperBenchRounding kFullFaceRounding{
    .total_charge = 1,
    .perimeter_over_depth = true,
    .perimeter_per_hole = 1, .perimeter_row = 1, .perimeter_cartridges = 1,
    .cut_row = 1, .cut_per_hole = 1, .cut_cartridges = 1,
    .aux_row = 1, .aux_per_hole = 1, .aux_cartridges = 1,
    .bottom_row = 1, .bottom_per_hole = 1, .bottom_cartridges = 1,
};

// The upper bench weighs its total and perimeter charges to the hundredth,
// the perimeter over the typed advance, and counts whole cartridges (a
// part of one below one, as write_cartridges shows every row). The
// bottom row takes what is left of the total, to the total's hundredth, so
// that the rows as shown add up to the total (taken to a tenth, the
// remainder would leave the table's subtotal up to 0.05 kg off its rows).
const UpperBenchRounding kTwoBenchUpperRounding{
    .total_charge = 2,
    .perimeter_over_depth = false,
    .perimeter_per_hole = 2, .perimeter_row = 2, .perimeter_cartridges = 0,
    .cut_row = 1, .cut_per_hole = 1, .cut_cartridges = 0,
    .aux_row = 1, .aux_per_hole = 1, .aux_cartridges = 0,
    .bottom_row = 2, .bottom_per_hole = 1, .bottom_cartridges = 0,
};

// As two benches, but the cut and bottom rows and the auxiliary charge per
// hole to two decimals; the auxiliary row charge stays at one.
const UpperBenchRounding kThreeBenchUpperRounding{
    .total_charge = 2,
    .perimeter_over_depth = false,
    .perimeter_per_hole = 2, .perimeter_row = 2, .perimeter_cartridges = 0,
    .cut_row = 2, .cut_per_hole = 2, .cut_cartridges = 0,
    .aux_row = 1, .aux_per_hole = 2, .aux_cartridges = 0,
    .bottom_row = 2, .bottom_per_hole = 2, .bottom_cartridges = 0,
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
    write_step(cell(kCut, kDepth), L() + 0.2, 1);
    write_step(cell(kAux, kDepth), L(), 1);
    const double Dp = write_step(cell(kPerimeter, kDepth), L(), 1);
    write_step(cell(kBottom, kDepth), L(), 1);
    const double nc = write_count(cell(kCut, kCount), Nc(), kUnrounded);
    const double na = write_count(cell(kAux, kCount), (S() - P() * Vp() - Lc() * Hc() - B() * Vb()) / (Ea() * Va()) * F(), 0);
    const double np = write_count(cell(kPerimeter, kCount), P() / Ep() + 1, 0);
    const double nb = write_count(cell(kBottom, kCount), B() / Eb() + 1, 0);
    write_count("标签1_炮眼数量合计1", nc + na + np + nb, kUnrounded);

    // Charges: the perimeter by line density, the rest shared per hole with
    // the cut holes taking 1.35 times their share and the bottom the remainder.
    const double Q = write_step("标签1_炸药数量合计1", q() * S() * L(), r.total_charge);
    const double gp = write_step(cell(kPerimeter, kPerHole), k() * (r.perimeter_over_depth ? Dp : L()), r.perimeter_per_hole);
    const double Qp = write_step(cell(kPerimeter, kRow), gp * np, r.perimeter_row);
    write_cartridges(cell(kPerimeter, kCartridges), gp / (w() / 1000), r.perimeter_cartridges);
    const double Qc = write_step(cell(kCut, kRow), (Q - Qp) / (nc + na + nb) * nc * 1.35, r.cut_row);
    const double gc = write_step(cell(kCut, kPerHole), Qc / nc, r.cut_per_hole);
    write_cartridges(cell(kCut, kCartridges), gc * 1000 / w(), r.cut_cartridges);
    const double Qa = write_step(cell(kAux, kRow), (Q - Qp - Qc) / (na + nb) * na, r.aux_row);
    const double ga = write_step(cell(kAux, kPerHole), Qa / na, r.aux_per_hole);
    write_cartridges(cell(kAux, kCartridges), ga * 1000 / w(), r.aux_cartridges);
    const double Qb = write_step(cell(kBottom, kRow), Q - Qp - Qc - Qa, r.bottom_row);
    const double gb = write_step(cell(kBottom, kPerHole), Qb / nb, r.bottom_per_hole);
    write_cartridges(cell(kBottom, kCartridges), gb * 1000 / w(), r.bottom_cartridges);
}

void compute_second_bench(int aux_row_digits)
{
    // The bench's own panel; the specific charge, line charge density and
    // cartridges are the upper bench's.
    auto S2 = [] { return in("编辑框2_断面面积"); };
    auto L2 = [] { return in("编辑框2_开挖循环进尺"); };
    auto P2 = [] { return in("编辑框2_开挖面外弧长"); }; // one side of the bench
    auto B2 = [] { return in("编辑框2_底板长"); };
    auto F2 = [] { return in("编辑框2_岩石夹制力系数"); };
    auto G2 = [] { return in("编辑框2_炸药工作面系数"); };
    auto Ep2 = [] { return in("编辑框2_周边眼间距E"); };
    auto Vp2 = [] { return in("编辑框2_周边眼抵抗线V"); };
    auto Ea2 = [] { return in("编辑框2_辅助眼间距E"); };
    auto Va2 = [] { return in("编辑框2_辅助眼抵抗线V2"); };
    auto Eb2 = [] { return in("编辑框2_底板眼间距E"); };
    auto Vb2 = [] { return in("编辑框2_底板眼抵抗线V1"); };
    auto q = [] { return in("编辑框1_单位体积岩体的耗药量"); };
    auto k = [] { return in("编辑框1_周边眼装药集中度"); };
    auto w = [] { return in("编辑框1_单个药卷重量"); };
    auto at = [](const char* row, const char* column) { return result_label(2, row, column); };

    const double Q2 = write_step("标签2_炸药数量合计", S2() * q() * L2() * G2(), 2);
    write_step(at(kAux, kDepth), L2(), 1);
    write_step(at(kPerimeter, kDepth), L2(), 1);
    write_step(at(kBottom, kDepth), L2(), 1);
    const double na2 = write_count(at(kAux, kCount), (S2() - P2() * Vp2() * 2 - B2() * Vb2()) * F2() / (Ea2() * Va2()), 0);
    // Both sides of the bench: the one side rounded first, so always an even
    // count.
    const double one_side_worked = P2() / Ep2();
    const double one_side = as_shown(ui::cmd_round(one_side_worked, 0));
    kept().one_side_perimeter = one_side;
    kept().relations[kOneSidePerimeter] = relation(one_side_worked, one_side);
    const double np2 = write_count(at(kPerimeter, kCount), one_side * 2, kUnrounded);
    const double nb2 = write_count(at(kBottom, kCount), B2() / Eb2(), 0);
    write_count("标签2_炮眼数量合计", na2 + np2 + nb2, kUnrounded);

    // The perimeter row by line density, its per-hole charge from the row;
    // the rest shared per hole between auxiliary and bottom holes.
    const double Qp2 = write_step(at(kPerimeter, kRow), np2 * k() * L2(), 2);
    const double gp2 = write_step(at(kPerimeter, kPerHole), Qp2 / np2, 2);
    write_cartridges(at(kPerimeter, kCartridges), gp2 * 1000 / w(), 0);
    const double Qa2 = write_step(at(kAux, kRow), (Q2 - Qp2) / (na2 + nb2) * na2, aux_row_digits);
    const double ga2 = write_step(at(kAux, kPerHole), Qa2 / na2, 2);
    write_cartridges(at(kAux, kCartridges), ga2 * 1000 / w(), 0);
    const double Qb2 = write_step(at(kBottom, kRow), Q2 - Qp2 - Qa2, 2);
    const double gb2 = write_step(at(kBottom, kPerHole), Qb2 / nb2, 2);
    write_cartridges(at(kBottom, kCartridges), gb2 * 1000 / w(), 0);
}

void compute_lower_bench()
{
    auto S3 = [] { return in("编辑框3_断面面积"); };
    auto L3 = [] { return in("编辑框3_开挖循环进尺"); };
    auto B3 = [] { return in("编辑框3_底板长"); };
    auto F3 = [] { return in("编辑框3_岩石夹制力系数"); };
    auto G3 = [] { return in("编辑框3_炸药工作面系数"); };
    auto Ea3 = [] { return in("编辑框3_辅助眼间距E"); };
    auto Va3 = [] { return in("编辑框3_辅助眼抵抗线V"); };
    auto Eb3 = [] { return in("编辑框3_底板眼间距E"); };
    auto Vb3 = [] { return in("编辑框3_底板眼抵抗线V"); };
    auto q = [] { return in("编辑框1_单位体积岩体的耗药量"); };
    auto w = [] { return in("编辑框1_单个药卷重量"); };
    auto at = [](const char* row, const char* column) { return result_label(3, row, column); };

    // No cut and no perimeter: the charge is spread evenly over all holes,
    // the bottom row taking the remainder.
    const double Q3 = write_step("标签3_炸药数量合计", S3() * q() * L3() * G3(), 2);
    write_step(at(kAux, kDepth), L3(), 2);
    write_step(at(kBottom, kDepth), L3(), 2);
    const double na3 = write_count(at(kAux, kCount), (S3() - B3() * Vb3()) * F3() / (Ea3() * Va3()), 0);
    const double nb3 = write_count(at(kBottom, kCount), B3() / Eb3(), 0);
    write_count("标签3_炮眼数量合计", na3 + nb3, kUnrounded);
    const double Qa3 = write_step(at(kAux, kRow), Q3 / (na3 + nb3) * na3, 2);
    const double ga3 = write_step(at(kAux, kPerHole), Qa3 / na3, 2);
    write_cartridges(at(kAux, kCartridges), ga3 * 1000 / w(), 0);
    const double Qb3 = write_step(at(kBottom, kRow), Q3 - Qa3, 2);
    const double gb3 = write_step(at(kBottom, kPerHole), Qb3 / nb3, 2);
    write_cartridges(at(kBottom, kCartridges), gb3 * 1000 / w(), 0);
}

const std::vector<StemmingRow> kFullFaceStemming = {
    {"", {1, kCut}, ""},
    {"", {1, kAux}, "编辑框1_辅助眼最小抵抗线V"},
    {"", {1, kPerimeter}, "编辑框1_周边眼最小抵抗线V"},
    {"", {1, kBottom}, "编辑框1_底板眼最小抵抗线"},
};

namespace {

const char* const kTotals[4][2] = {{nullptr, nullptr},
                                   {"标签1_炮眼数量合计1", "标签1_炸药数量合计1"},
                                   {"标签2_炮眼数量合计", "标签2_炸药数量合计"},
                                   {"标签3_炮眼数量合计", "标签3_炸药数量合计"}};

bool known(const std::string& label) { return std::isfinite(ui::read_result(ctl(label))); }

// A bench's charge total stands over its row charges: where a row shows
// none, the total is not what the table adds up to, and shows none either.
// (The count total is the rows' sum and shows "-" by itself.)
void dash_totals_over_unknown_rows(const std::vector<HoleRow>& rows)
{
    for (const HoleRow& r : rows)
        if (!known(result_label(r.block, r.row, kRow)) && known(kTotals[r.block][1]))
            write_step(kTotals[r.block][1], kNone, kUnrounded);
}

} // namespace

void refuse_unless_complete(const std::vector<HoleRow>& rows)
{
    dash_totals_over_unknown_rows(rows);
    bool complete = true;
    bool block_seen[4] = {};
    for (const HoleRow& r : rows) {
        auto at = [&](const char* column) { return result_label(r.block, r.row, column); };
        block_seen[r.block] = true;
        complete = complete && known(at(kCount)) && known(at(kDepth)) && known(at(kRow));
        // A row without holes has no charge or cartridges per hole.
        if (known(at(kCount)) && ui::read_result(ctl(at(kCount))) > 0)
            complete = complete && known(at(kPerHole)) && known(at(kCartridges));
    }
    for (int block = 1; block <= 3; ++block)
        if (block_seen[block]) complete = complete && known(kTotals[block][0]) && known(kTotals[block][1]);
    if (!complete) ui::calculation_refused();
}

namespace {

// One message for all the rows that are too long: a single row as
// "上台阶辅助眼 <advice>", several listed under one heading, a line per
// bench ("上台阶：掏槽眼、辅助眼"), the remedy once at the end.
std::string stemming_message(const std::vector<const StemmingRow*>& too_long, const std::string& separator)
{
    const std::string finding = "炮孔装药长度加堵塞长度超过炮眼深度";
    const std::string remedy = "请增大岩石夹制力系数或缩小你的炮眼间距！";
    if (too_long.size() == 1) return too_long.front()->name() + separator + finding + "，" + remedy;
    std::string text = "下列炮眼的" + finding + "：";
    const std::string* bench = nullptr;
    for (const StemmingRow* row : too_long) {
        if (bench && *bench == row->bench) {
            text += "、";
        } else {
            bench = &row->bench;
            text += "\r\n" + (bench->empty() ? std::string() : *bench + "：");
        }
        text += row->hole_row.row;
    }
    return text + "\r\n" + remedy;
}

} // namespace

void check_stemming(const std::vector<StemmingRow>& rows, const std::string& separator)
{
    std::vector<const StemmingRow*> too_long;
    for (const StemmingRow& row : rows) {
        auto shown = [&](const char* column) {
            return ui::read_result(ctl(result_label(row.hole_row.block, row.hole_row.row, column)));
        };
        StemmingOutcome o;
        o.row = row.name();
        o.cartridges = shown(kCartridges);
        o.cartridge_length = input("编辑框1_单个药卷长度");
        o.stemming = row.stemming_box.empty() ? 0.4 : input(row.stemming_box);
        o.depth = shown(kDepth);
        const double holes = shown(kCount);
        // Nothing to judge: no holes, or figures that could not be worked out.
        if (!(holes > 0) || !std::isfinite(o.filled_length()) || !std::isfinite(o.depth)) continue;
        kept().stemming.push_back(o);
        if (o.fits()) continue;
        if (row.only_while_second_table_shown &&
            !ui::rt_get_property(ctl("外形框_中台阶结果表"), ui::prop::Visible).truth())
            continue;
        too_long.push_back(&row);
    }
    // (a calculation with an input outside its domain is refused: it judges nothing)
    if (too_long.empty() || kept().unusable_input) return;
    show_message(stemming_message(too_long, separator));
}

const std::vector<LayoutRow> kFullFaceLayout = {
    {cell(kCut, ""), "01", "1;3"},
    {cell(kAux, ""), "02", "5;7;9"},
    {cell(kPerimeter, ""), "03", "9;11"},
    {cell(kBottom, ""), "04", "11;13"},
};

LayoutMode layout_mode_now() { return {is_checked("选择框1"), list_index("列表框3") != -1}; }

void write_layout(const std::vector<LayoutRow>& rows, const LayoutMode& mode)
{
    if (!mode.automatic && mode.row_chosen) return; // the editor's layout stays
    for (const LayoutRow& row : rows) set_label_text(row.row_prefix + "起爆顺序1", mode.automatic ? row.order : "-");
    for (const LayoutRow& row : rows) set_label_text(row.row_prefix + "雷管段位", mode.automatic ? row.segments : "-");
}

void compute_full_face(const LayoutMode& mode)
{
    read_stated_inputs(kStatedDrillingInputs);
    compute_upper_bench(kFullFaceRounding);
    refuse_unless_complete({{1, kCut}, {1, kAux}, {1, kPerimeter}, {1, kBottom}});
    check_stemming(kFullFaceStemming, "  ");
    write_layout(kFullFaceLayout, mode);
}

namespace {

// The stemming rows of the benches, upper, second and lower; the second and
// lower rows warn only while their result tables are shown.
StemmingRow bench_row(const char* bench, int block, const char* row, const char* stemming_box)
{
    return {bench, {block, row}, stemming_box, block > 1};
}

// The second bench is the middle one of three and the lower one of two, on
// the screen as in the report.
std::vector<StemmingRow> bench_stemming(const char* second_bench)
{
    return {
        bench_row("上台阶", 1, kCut, ""),
        bench_row("上台阶", 1, kAux, "编辑框1_辅助眼最小抵抗线V"),
        bench_row("上台阶", 1, kPerimeter, "编辑框1_周边眼最小抵抗线V"),
        bench_row("上台阶", 1, kBottom, "编辑框1_底板眼最小抵抗线"),
        bench_row(second_bench, 2, kAux, "编辑框2_辅助眼抵抗线V2"),
        bench_row(second_bench, 2, kPerimeter, "编辑框2_周边眼抵抗线V"),
        bench_row(second_bench, 2, kBottom, "编辑框2_底板眼抵抗线V1"),
        bench_row("下台阶", 3, kAux, "编辑框3_辅助眼抵抗线V"),
        bench_row("下台阶", 3, kBottom, "编辑框3_底板眼抵抗线V"),
    };
}

std::vector<StemmingRow> first_rows(const std::vector<StemmingRow>& rows, size_t n)
{
    return {rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(n)};
}

std::string row_of(int block, const char* row) { return result_label(block, row, ""); }

const std::vector<HoleRow> kTwoBenchRows = {{1, kCut}, {1, kAux}, {1, kPerimeter}, {1, kBottom},
                                            {2, kAux}, {2, kPerimeter}, {2, kBottom}};

} // namespace

void compute_two_benches(const LayoutMode& mode)
{
    read_stated_inputs(kStatedDrillingInputs);
    compute_upper_bench(kTwoBenchUpperRounding);
    compute_second_bench(1);
    refuse_unless_complete(kTwoBenchRows);
    check_stemming(first_rows(bench_stemming("下台阶"), 7), " ");
    std::vector<LayoutRow> layout = kFullFaceLayout;
    layout.push_back({row_of(2, kAux), "05", "1;3"});
    layout.push_back({row_of(2, kPerimeter), "06", "7;7"});
    layout.push_back({row_of(2, kBottom), "07", "9"});
    write_layout(layout, mode);
}

void compute_three_benches(const LayoutMode& mode)
{
    read_stated_inputs(kStatedDrillingInputs);
    compute_upper_bench(kThreeBenchUpperRounding);
    compute_second_bench(2);
    compute_lower_bench();
    std::vector<HoleRow> rows = kTwoBenchRows;
    rows.push_back({3, kAux});
    rows.push_back({3, kBottom});
    refuse_unless_complete(rows);
    check_stemming(bench_stemming("中台阶"), "  ");
    std::vector<LayoutRow> layout = kFullFaceLayout;
    layout.push_back({row_of(2, kAux), "05", "1;3"});
    layout.push_back({row_of(2, kPerimeter), "06", "7;9"});
    layout.push_back({row_of(2, kBottom), "07", "11"});
    layout.push_back({row_of(3, kAux), "08", "1;3;5"});
    layout.push_back({row_of(3, kBottom), "09", "7;9"});
    write_layout(layout, mode);
}

} // namespace blast_design

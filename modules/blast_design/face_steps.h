#pragma once
// The calculation steps of the smooth-blasting form: the hole rows of the
// full face or upper bench (shared by the full-face, two-bench and
// three-bench calculations, which differ only in their rounding), the second
// and lower benches, the circular section, the stemming check and the
// automatic detonator layout. Each step writes its result, rounded, as text
// into its label, and later steps read the label back, so they work on the
// displayed values.
#include <string>
#include <vector>

namespace blast_design {

// Written without rounding.
inline constexpr int kUnrounded = -100;

// Result label of block 1, 2 or 3: 标签<block>_ + row word + column word.
std::string result_label(int block, const std::string& row, const std::string& column);

// Writes one step's result as its label shows it (rounded to `digits`, or
// unrounded) and gives back what the label now shows, as a later step reads
// it: a value that is not finite shows "-" and reads back as not-a-number,
// so whatever is built on it shows "-" as well.
double write_step(const std::string& label, double value, int digits);

// Decimals of the steps of the full-face (upper-bench) step list; the
// calculations differ only in these and in the length the perimeter charge
// is taken over.
struct UpperBenchRounding {
    int total_charge;
    bool perimeter_over_depth; // k × shown depth (full face) or k × typed advance
    int perimeter_per_hole, perimeter_row, perimeter_cartridges;
    int cut_row, cut_per_hole, cut_cartridges;
    int aux_row, aux_per_hole, aux_cartridges;
    int bottom_row, bottom_per_hole, bottom_cartridges;
};
extern const UpperBenchRounding kFullFaceRounding;
extern const UpperBenchRounding kTwoBenchUpperRounding;
extern const UpperBenchRounding kThreeBenchUpperRounding;

// Block 1 of the result tables from the full-face / upper-bench panel
// (编辑框1_ boxes), the cut zone and the cartridges.
void compute_upper_bench(const UpperBenchRounding& r);

// Block 2 from the middle-bench panel (编辑框2_ boxes): the lower bench of
// two, the middle bench of three. The two differ only in the decimals of
// the auxiliary row charge.
void compute_second_bench(int aux_row_digits);

// Block 3 from the lower-bench panel (编辑框3_ boxes) of three benches.
void compute_lower_bench();

// One hole row of the stemming check: its cartridges per hole times the
// cartridge length plus its stemming, against its depth.
struct StemmingRow {
    std::string message_prefix; // "掏槽眼", "上台阶掏槽眼" ...
    std::string cartridges_label;
    std::string depth_label;
    std::string stemming_box;    // empty: the cut's fixed 0.4 m
    bool only_while_second_table_shown = false;
};
// Shows one message per row whose charge and stemming are longer than its
// hole (beyond the 1e-7 tolerance), in row order; never stops. A row whose
// figures are not finite cannot be shown to fit and gets its message too.
// The message is the prefix, the separator and the common advice.
void check_stemming(const std::vector<StemmingRow>& rows, const std::string& separator);
extern const std::vector<StemmingRow> kFullFaceStemming;

// Firing order and delay segments of one hole row, for automatic layout.
struct LayoutRow {
    std::string row_prefix; // "标签1_掏槽眼": its 起爆顺序1 and 雷管段位 labels
    std::string order;
    std::string segments;
};
// With 自动配置 checked writes the rows' firing orders, then their segments;
// with it unchecked and no hole row chosen in the layout editor writes "-"
// into the same labels; otherwise leaves the editor's texts.
void write_layout(const std::vector<LayoutRow>& rows);
extern const std::vector<LayoutRow> kFullFaceLayout;

// The whole calculations the compute button runs, by section.
void compute_full_face();     // 直墙拱形, 曲墙三心圆, 马蹄形
void compute_two_benches();   // 上下2台阶
void compute_three_benches(); // 上中下3台阶
void compute_circular();      // 圆形隧道立（竖）井 (circular.cpp)

} // namespace blast_design

#pragma once
// The calculation steps the full-face and bench calculations share: the
// hole rows of the full face or upper bench, the stemming check and the
// automatic detonator layout. Each step writes its result, rounded, as text
// into its label, and later steps read the label back, so they work on the
// displayed values.
#include <string>
#include <vector>

namespace blast_design {

// Written without rounding.
inline constexpr int kUnrounded = -100;

// Decimals of the steps of the full-face (upper-bench) step list; the
// sections differ only in these and in the length the perimeter charge
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

// Block 1 of the result tables from the full-face panel (编辑框1_ boxes),
// the cut zone and the cartridges.
void compute_upper_bench(const UpperBenchRounding& r);

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
// hole (beyond the 1e-7 tolerance), in row order; never stops. The message
// is the prefix, the separator and the common advice.
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

// The whole full-face calculation (直墙拱形, 曲墙三心圆, 马蹄形 sections).
void compute_full_face();

} // namespace blast_design

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

// An input box as the calculation reads it: not-a-number outside its
// domain, which refuses the calculation. A calculation that read one gives
// no stemming verdict, whatever rows its other inputs would let it judge.
double input(const std::string& box);

// Boxes the report prints that no step works with (the drilling diameter,
// the decoupling factor ...): read all the same, so that they are held to
// their domains and a change to them makes the results wait for a new
// calculation, as a change to any figure the report states does.
void read_stated_inputs(const std::vector<const char*>& boxes);
extern const std::vector<const char*> kStatedDrillingInputs;

// Result label of block 1, 2 or 3: 标签<block>_ + row word + column word.
std::string result_label(int block, const std::string& row, const std::string& column);

// Writes one step's result as its label shows it (rounded to `digits`, or
// unrounded) and gives back what the label now shows, as a later step reads
// it: a value that is not finite shows "-" and reads back as not-a-number,
// so whatever is built on it shows "-" as well. Every figure of the design
// is a depth, a count, a charge or a number of cartridges: one that comes
// out below zero shows "-" too.
double write_step(const std::string& label, double value, int digits);
// A number of holes: as write_step, and a count that is not whole shows "-".
double write_count(const std::string& label, double value, int digits);
// Cartridges per hole: as write_step, but a hole with a charge never shows
// 0 cartridges: below one cartridge the figure takes one decimal (0.4)
// whatever the section's rounding, and at least 0.1.
double write_cartridges(const std::string& label, double value, int digits);

// How the label's shown value stands to the value worked out for it in the
// last calculation: "=" when the label shows it exactly, "≈" when rounding
// changed it. The report writes it between a formula and its result.
std::string relation_of(const std::string& label);
// The value the last calculation worked out for the label before rounding
// it (not-a-number when it wrote none).
double worked_value_of(const std::string& label);

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

// One hole row of the result tables: its block (1 to 3) and row word.
struct HoleRow {
    int block;
    std::string row; // 掏槽眼, 辅助眼, 周边眼, 底板眼
};

// The section's results are a design only when every row has a count, a
// depth and a row charge, every row with holes its charge and cartridges
// per hole, and every bench its totals. Otherwise (a count or charge below
// zero, a charge that cannot be shared out, an input outside its domain)
// the calculation is refused: its "-" cells stay on the screen, but no
// report is written from them. A bench's charge total beside a row charge
// that shows "-" shows "-" too: it is not what the rows add up to.
void refuse_unless_complete(const std::vector<HoleRow>& rows);

// One hole row of the stemming check: its cartridges per hole times the
// cartridge length plus its stemming, against its depth. The screen and the
// report name it by its bench and its group ("上台阶" "掏槽眼"; a full face
// has no bench name).
struct StemmingRow {
    std::string bench;
    HoleRow hole_row;
    std::string stemming_box;   // empty: the cut's fixed 0.4 m
    bool only_while_second_table_shown = false;
    std::string name() const { return bench + hole_row.row; }
};
// Finds the rows whose charge and stemming are longer than their holes
// (beyond the 1e-7 tolerance) and says so in one message for the whole
// calculation; never stops. One such row: its name, the separator and the
// common advice. Several: listed by bench and group, in row order, under
// one heading. A row without holes, or whose figures could not be worked
// out, is neither passed nor failed: it is not listed.
void check_stemming(const std::vector<StemmingRow>& rows, const std::string& separator);
extern const std::vector<StemmingRow> kFullFaceStemming;

// What the last calculation's stemming check found, row by row, for the
// report: every row it could judge (also the rows of a result table that
// was hidden, whose message the screen leaves out).
struct StemmingOutcome {
    std::string row;                // StemmingRow::name()
    double cartridges = 0, cartridge_length = 0, stemming = 0, depth = 0;
    double charge_length() const;   // cartridges × cartridge length
    double filled_length() const;   // charge length + stemming
    bool fits() const;
};
const std::vector<StemmingOutcome>& last_stemming_check();

// The second bench's perimeter holes on one side, rounded before the count
// is doubled, as the last calculation worked it out; relation_of() of
// kOneSidePerimeter says whether the rounding changed it.
double last_one_side_perimeter_count();
inline constexpr const char* kOneSidePerimeter = "单侧周边眼数";

// Firing order and delay segments of one hole row, for automatic layout.
struct LayoutRow {
    std::string row_prefix; // "标签1_掏槽眼": its 起爆顺序1 and 雷管段位 labels
    std::string order;
    std::string segments;
};
// How the detonator layout stands when the compute button is pressed. The
// layout is the user's to set by hand after a calculation too: the
// calculation takes the mode as it finds it, and the editor's later picks
// go into the report as they stand, without making the figures stale.
struct LayoutMode {
    bool automatic = true; // 自动配置
    bool row_chosen = false; // a hole row chosen in the layout editor
};
LayoutMode layout_mode_now();
// Automatic: writes the rows' firing orders, then their segments; manual
// with no hole row chosen in the layout editor: "-" into the same labels;
// otherwise leaves the editor's texts.
void write_layout(const std::vector<LayoutRow>& rows, const LayoutMode& mode);
extern const std::vector<LayoutRow> kFullFaceLayout;

// The whole calculations the compute button runs, by section.
void compute_full_face(const LayoutMode& mode);     // 直墙拱形, 曲墙三心圆, 马蹄形
void compute_two_benches(const LayoutMode& mode);   // 上下2台阶
void compute_three_benches(const LayoutMode& mode); // 上中下3台阶
void compute_circular(const LayoutMode& mode);      // 圆形隧道立（竖）井 (circular.cpp)

// Forgets what the last calculation kept for its report (a new one begins).
void forget_last_calculation();

} // namespace blast_design

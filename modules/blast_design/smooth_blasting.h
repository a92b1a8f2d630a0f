#pragma once
// The smooth-blasting design form (`SmoothBlasting`): what its handler files
// share. Every value lives in the form's controls; the helpers here read and
// write them by control name.
#include "ui/cmd.h"

#include <string>

namespace blast_design {

inline constexpr const char* kForm = "SmoothBlasting";

// Texts of 组合框_方法2: the section key every handler of the form tests.
namespace section {
inline constexpr const char* kThreeBenches = "上中下3台阶";
inline constexpr const char* kTwoBenches = "上下2台阶";
inline constexpr const char* kStraightWall = "直墙拱形隧道";
inline constexpr const char* kCurvedWall = "曲墙三心圆隧道";
inline constexpr const char* kHorseshoe = "马蹄形隧道";
inline constexpr const char* kCircular = "圆形隧道立（竖）井";
} // namespace section

// Texts of 组合框_开挖方法.
namespace method {
inline constexpr const char* kFullFace = "全断面法";
inline constexpr const char* kBenches = "台阶法";
} // namespace method

// The form's layout pictures, by embedded path.
namespace picture {
inline constexpr const char* kStart = "resources/pictures/blast_design/layout_start.png";
inline constexpr const char* kStraightWall = "resources/pictures/blast_design/layout_straight_wall.png";
inline constexpr const char* kCurvedWall = "resources/pictures/blast_design/layout_curved_wall.png";
inline constexpr const char* kHorseshoe = "resources/pictures/blast_design/layout_horseshoe.png";
inline constexpr const char* kCircular = "resources/pictures/blast_design/layout_circular.png";
inline constexpr const char* kThreeBenches = "resources/pictures/blast_design/layout_three_benches.png";
inline constexpr const char* kTwoBenchesInvertLarge = "resources/pictures/blast_design/layout_two_benches_invert_large.png";
inline constexpr const char* kTwoBenchesInvertSmall = "resources/pictures/blast_design/layout_two_benches_invert_small.png";
inline constexpr const char* kTwoBenchesFlatLarge = "resources/pictures/blast_design/layout_two_benches_flat_large.png";
inline constexpr const char* kTwoBenchesFlatSmall = "resources/pictures/blast_design/layout_two_benches_flat_small.png";
} // namespace picture

inline ui::Ref ctl(const std::string& name) { return ui::U(kForm, name); }

// Edit boxes (Content) and labels (Caption).
std::string box_text(const std::string& box);
double box_number(const std::string& box);
void set_box_text(const std::string& box, const std::string& text);
std::string label_text(const std::string& label);
void set_label_text(const std::string& label, const std::string& text);

// Item text of a combo box at its current index ("" when none is chosen).
std::string combo_item_text(const std::string& combo);
int combo_index(const std::string& combo);
int list_index(const std::string& list); // a ListBox
// A check box's or radio box's mark.
bool is_checked(const std::string& check_or_radio);
// Checks one inverted-arch radio box and clears the other, so the pair
// never shows two marks.
void check_invert(const std::string& radio);

void show_picture(const std::string& picture_box, const char* path);
void show_message(const std::string& text);

// Shared steps of the form's handlers.
void set_defaults();
void clear_results();
// The balloon tips of the input boxes, attached once at creation.
void attach_tips();
// The layout page coming to the front: the editor's lists are refilled and
// the charge-structure and detonator choices set back.
void enter_layout_page();

// True while a calculation of this form runs: it waits with messages
// pumping, and clicks on its compute and export buttons meanwhile are
// ignored.
bool computing();

} // namespace blast_design

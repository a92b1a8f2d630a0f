#pragma once
// How the tunnel evaluation's rule tables are written and run. A table is a
// run of independent tests in a fixed order: every test that holds writes its
// text, so a later row replaces an earlier one. A table in which nothing
// holds writes "-": the class of an earlier calculation must not stand
// beside inputs it does not describe. Shown numbers are compared with the
// 1e-7 tolerance; list choices by item text, byte for byte.
#include "modules/excavation/tunnel_evaluation.h"

#include "ui/cmd.h"
#include "ui/value.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tunnel_evaluation {

// One side of a test on a shown number.
struct Bound {
    enum Op { Any, Lt, Le, Gt, Ge, Never } op = Any;
    double c = 0;
    bool holds(double x) const
    {
        switch (op) {
        case Any: return true;
        case Lt: return ui::tol_lt(x, c);
        case Le: return ui::tol_le(x, c);
        case Gt: return ui::tol_gt(x, c);
        case Ge: return ui::tol_ge(x, c);
        case Never: return false;
        }
        return false;
    }
};
constexpr Bound lt(double c) { return {Bound::Lt, c}; }
constexpr Bound le(double c) { return {Bound::Le, c}; }
constexpr Bound gt(double c) { return {Bound::Gt, c}; }
constexpr Bound ge(double c) { return {Bound::Ge, c}; }
inline constexpr Bound any{};

// A number's test: both sides must hold.
struct Range {
    Bound lower, upper;
    bool holds(double x) const { return lower.holds(x) && upper.holds(x); }
};
inline constexpr Range never{{Bound::Never, 0}, {}};

// A table row on one number.
struct RangeRule {
    Range range;
    const char* text;
};

// A table row keyed by a list's item text.
struct ItemRule {
    const char* item;
    const char* text;
};

// Windows colour values (blue, green, red byte order).
inline constexpr int32_t kBlack = 0x000000;
inline constexpr int32_t kGreen = 0x00FF00;
inline constexpr int32_t kYellow = 0x00FFFF;
inline constexpr int32_t kRed = 0x0000FF;

// --- the form's boxes ---------------------------------------------------------------

inline ui::Ref box(const char* name) { return ui::U(kForm, name); }
// Numbers are read when a rule needs them, so every rule sees the writes
// made before it.
inline double read_number(const char* name) { return ui::read_number(box(name)); }
inline std::string text_of(const char* name) { return ui::control_text(box(name)); }
inline std::string item_of(const char* name) { return ui::current_item_text(box(name)); }
inline void write_text(const char* name, const std::string& text) { ui::set_control_text(box(name), text); }
inline void set_text_color(const char* name, int32_t color)
{
    ui::rt_set_property(box(name), ui::prop::EditBox::TextColor, color);
}
inline void set_back_color(const char* name, int32_t color)
{
    ui::rt_set_property(box(name), ui::prop::EditBox::BackColor, color);
}
inline bool radio_selected(const char* name) { return ui::rt_get_property(box(name), ui::prop::RadioBox::Checked).truth(); }

// --- running the tables ---------------------------------------------------------------

// What a result box shows when no row of its table holds.
inline constexpr const char* kNoResult = "-";

// Every row whose range holds for x writes its text into the box; "-" when none does.
inline void apply(std::span<const RangeRule> table, double x, const char* out)
{
    bool matched = false;
    for (const RangeRule& row : table)
        if (row.range.holds(x)) write_text(out, row.text), matched = true;
    if (!matched) write_text(out, kNoResult);
}

// Every row keyed by the item writes its text into the box; "-" when none is.
inline void apply(std::span<const ItemRule> table, const std::string& item, const char* out)
{
    bool matched = false;
    for (const ItemRule& row : table)
        if (item == row.item) write_text(out, row.text), matched = true;
    if (!matched) write_text(out, kNoResult);
}

// The row of a table keyed by rock class (or another item), nullptr for an
// item no row names, such as the class list's empty item.
template <class Row, std::size_t N>
const Row* find_row(const Row (&table)[N], const std::string& item)
{
    for (const Row& row : table)
        if (item == row.item) return &row;
    return nullptr;
}

} // namespace tunnel_evaluation

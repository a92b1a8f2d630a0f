// The bar chart of the six groups: length, days and cycles side by side.
// It only reads the boxes; the hidden label 标签19 carries the longest group
// length from which the value axis takes its top.
#include "modules/excavation/advance_schedule.h"

#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace advance_schedule {

using namespace ui;

namespace {

constexpr const char* kChart = "柱状图控件1";
constexpr const char* kLongest = "标签19";

Ref chart() { return U(kForm, kChart); }
void set(int p, const Value& v) { rt_set_property(chart(), p, v); }

// The axis top: the number plus 100, cut toward zero. A length near the
// 32-bit limit would wrap round to a negative top; it stops at the limit.
int32_t axis_top(double longest)
{
    const double top = std::trunc(longest + 100);
    constexpr double lo = std::numeric_limits<int32_t>::min(), hi = std::numeric_limits<int32_t>::max();
    if (top >= hi) return std::numeric_limits<int32_t>::max();
    if (top <= lo) return std::numeric_limits<int32_t>::min();
    return int32_t(top);
}

void fill_series(int series, int32_t color, const char* name, const char* stem, bool names_groups = false)
{
    namespace B = prop::BarChart;
    set(B::CurrentSeries, series);
    set(B::SeriesColor, color);
    set(B::SeriesName, name);
    for (int r = 0; r < kRows; ++r) {
        const Ref source = U(kForm, row_box(stem, r));
        set(B::CurrentCategory, r);
        // A bar's height is what the box shows as a number: an empty box, "-"
        // or a text that is not one number ("1..25") draws no bar (the box's
        // domain is for the calculation, which also draws the chart).
        const double x = plain_number(control_text(source));
        set(B::Value, std::isfinite(x) ? x : 0.0);
        // A group is named only while its box holds some text, "0" included;
        // an empty one keeps the name it had.
        if (names_groups && !control_text(source).empty()) set(B::CategoryName, "第" + std::to_string(r + 1) + "组");
    }
}

} // namespace

void AdvanceScheduleStoreLongestLength()
{
    // Whole metres: a box holding 358.9 counts as 358.
    std::vector<double> lengths;
    for (int r = 0; r < kRows; ++r)
        lengths.push_back(cmd_to_int(control_text(U(kForm, row_box("编辑框1_各类围岩长度", r)))));
    cmd_sort_array(lengths, false);
    rt_set_property(U(kForm, kLongest), prop::Label::Caption, cmd_to_text(int32_t(lengths.front())));
}

void AdvanceScheduleSetUpChart()
{
    namespace B = prop::BarChart;
    AdvanceScheduleStoreLongestLength();
    set(B::Title, "循环/工期/长度占比表");
    set(B::YMaximum, axis_top(cmd_to_number(control_text(U(kForm, kLongest)))));
    set(B::YDivisions, 10);
    set(B::XAxisCaption, "");
    set(B::CategoryCount, 6);
    set(B::SeriesCount, 3);

    fill_series(0, 0x00FF00, "长度(米)", "编辑框1_各类围岩长度", true);
    fill_series(1, 0x00FFFF, "工期（天）", "编辑框4_工期天");
    fill_series(2, 0xFF8800, "循环（环）", "编辑框2_循环次数");
}

} // namespace advance_schedule

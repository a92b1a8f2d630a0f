#include "modules/excavation/advance_schedule.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"

#include <cmath>
#include <string>

namespace advance_schedule {

using namespace ui;

std::string row_box(const char* stem, int row) { return stem + std::to_string(row); }

namespace {

// Inputs of a row.
constexpr const char* kLength = "编辑框1_各类围岩长度";
constexpr const char* kAdvance = "编辑框1_每循环进尺";
constexpr const char* kDuration = "编辑框1_每循环用时";
// Results of a row, in the order a cleared row is emptied.
constexpr const char* kCycles = "编辑框2_循环次数";
constexpr const char* kMonthlyCycles = "编辑框2_月循环数";
constexpr const char* kDailyCycles = "编辑框2_天循环数";
constexpr const char* kDailyAdvance = "编辑框3_每天进尺";
constexpr const char* kMonthlyAdvance = "编辑框3_月进尺";
constexpr const char* kDays = "编辑框4_工期天";
constexpr const char* kMonths = "编辑框4_工期月";
constexpr const char* kYears = "编辑框4_工期年";
constexpr const char* kResults[] = {kCycles, kMonthlyCycles, kDailyCycles, kDailyAdvance,
                                    kMonthlyAdvance, kDays, kMonths, kYears};

Ref box(const std::string& name) { return U(kForm, name); }

// Results are written as text and later steps read the shown text back, so a
// step always works with the rounded value the user sees.
// An input as its domain (form definition) allows it: not-a-number for an
// empty box, zero, a negative, "-0" or no number, which also leaves the
// calculation without results.
double read(const char* stem, int row) { return read_number(box(row_box(stem, row))); }
// A result read back: one that shows "-" (no finite value) stays not-a-number,
// so nothing built on it passes for a figure.
double shown(const char* stem, int row) { return read_result(box(row_box(stem, row))); }
void write(const char* stem, int row, double x) { write_rounded(box(row_box(stem, row)), x, 2); }

void fill_row(int r, const char* text)
{
    for (const char* stem : kResults) set_control_text(box(row_box(stem, r)), text);
}

Plan g_plan;

enum class Row { Unused, Computed, NoFigures };

Row compute_row(int r)
{
    // A group whose three inputs are all empty is not part of the tunnel:
    // its results are empty and it counts nowhere.
    bool used = false;
    for (const char* stem : {kLength, kAdvance, kDuration}) used = used || !control_text(box(row_box(stem, r))).empty();
    if (!used) {
        fill_row(r, "");
        return Row::Unused;
    }
    // A group with an input missing or meaningless has no figures at all
    // (rather than none that silently drop out of the totals).
    const double L = read(kLength, r), T = read(kDuration, r), a = read(kAdvance, r);
    if (std::isnan(L) || std::isnan(T) || std::isnan(a)) {
        fill_row(r, "-");
        return Row::NoFigures;
    }
    write(kCycles, r, read(kLength, r) / read(kAdvance, r));
    // Per month from the unrounded cycles per day; per day as shown.
    write(kMonthlyCycles, r, (24 / read(kDuration, r)) * 30);
    write(kDailyCycles, r, 24 / read(kDuration, r));
    write(kDailyAdvance, r, read(kAdvance, r) * shown(kDailyCycles, r));
    write(kMonthlyAdvance, r, shown(kDailyAdvance, r) * 30);
    // Each time straight from L and the shown daily advance, not from one another.
    write(kDays, r, read(kLength, r) / shown(kDailyAdvance, r));
    write(kMonths, r, read(kLength, r) / shown(kDailyAdvance, r) / 30);
    write(kYears, r, read(kLength, r) / shown(kDailyAdvance, r) / 365);
    // A daily advance that shows 0 (a cycle of thousands of hours) or one
    // beyond the number range gives no time: not a plan to report.
    for (const char* stem : kResults)
        if (!std::isfinite(shown(stem, r))) return Row::NoFigures;
    return Row::Computed;
}

// A column's total over the computed groups.
double column_sum(const char* stem, bool result)
{
    double sum = 0;
    for (int r = 0; r < kRows; ++r)
        if (g_plan.computed[r]) sum += result ? shown(stem, r) : read(stem, r);
    return sum;
}

void write_total(const char* name, double x, const char* unit)
{
    set_control_text(box(name), cmd_to_text(x) + unit);
}

} // namespace

const Plan& last_plan() { return g_plan; }

void calculate()
{
    g_plan = Plan{};
    bool complete = true;
    for (int r = 0; r < kRows; ++r) {
        const Row row = compute_row(r);
        g_plan.computed[r] = row == Row::Computed;
        if (g_plan.computed[r]) {
            // The class names the group in the report; "-" and no choice name none.
            const std::string item = current_item_text(box(row_box("组合框1_围岩等级", r)));
            g_plan.rock_class[r] = item.empty() || item == "-" ? std::string() : item;
        }
        complete = complete && row != Row::NoFigures;
        if (row == Row::Computed && g_plan.example_row < 0) g_plan.example_row = r;
    }
    // No group, or one without figures, or totals beyond the number range:
    // the tunnel has no totals, and the results are none to report.
    complete = complete && g_plan.example_row >= 0;
    // The time totals come from the groups' days as shown, added up: the
    // months and years from that sum, not as sums of the groups' rounded
    // months and years, which drift from it by a rounding per group.
    const double days = column_sum(kDays, true);
    const double totals[] = {column_sum(kLength, false), cmd_round(column_sum(kCycles, true)), cmd_round(days),
                             cmd_round(days / 30, 2), cmd_round(days / 365, 2)};
    for (double x : totals) complete = complete && std::isfinite(x);
    if (!complete) {
        calculation_refused();
        for (const char* total : {"编辑框1_汇总长度", "编辑框2_总循环次数", "编辑框4_工期天6", "编辑框4_工期月6", "编辑框4_工期年6"})
            set_control_text(box(total), "-");
        g_plan = Plan{};
    } else {
        g_plan.days = days;
        g_plan.months = totals[3];
        g_plan.years = totals[4];
        write_total("编辑框1_汇总长度", totals[0], "m");
        write_total("编辑框2_总循环次数", totals[1], "循环");
        write_total("编辑框4_工期天6", totals[2], "天");
        write_total("编辑框4_工期月6", totals[3], "月");
        write_total("编辑框4_工期年6", totals[4], "年");
    }
    AdvanceScheduleSetUpChart();
}

// --- handlers ------------------------------------------------------------------

namespace {

void AdvanceScheduleAttachTips()
{
    static const char* const advance_tip =
        "上台阶每循环进尺Ⅴ、Ⅵ级围岩不应大于1榀钢架间距，Ⅳ级围岩不得大于2榀钢架间距。\r\n"
        "台阶下部断面一次开挖长度应与上部断面相同，且不得超过1.5m";
    static const char* const duration_tip =
        "隧道施作每一循环所需要的总时间（含时间间隔）\r\n"
        "每个班组情况不一，建议按现场实际施工循环总时间为计算时间（小时）";
    static const char* const length_tip = "指具备相同围岩特征的长度汇总（m）\r\n也可以进行单段计算！";
    const Ref tips = box("气球提示框1");
    for (int r = 0; r < kRows; ++r) cmd_attach_tip(tips, box(row_box(kAdvance, r)), advance_tip);
    for (int r = 0; r < kRows; ++r) cmd_attach_tip(tips, box(row_box(kDuration, r)), duration_tip);
    for (int r = 0; r < kRows; ++r) cmd_attach_tip(tips, box(row_box(kLength, r)), length_tip);
}
JSB_MODULE_SETUP(AdvanceSchedule, AdvanceScheduleAttachTips)
JSB_MODULE_SETUP(AdvanceSchedule, AdvanceScheduleSetUpChart)

// Choosing a group's rock class moves on to that group's length.
void focus_row_length(EventArgs& e)
{
    if (!e.control) return;
    const std::string& list = e.control->name;
    const char digit = list.empty() ? 0 : list.back();
    if (digit < '0' || digit >= '0' + kRows) return;
    cmd_set_focus(box(row_box(kLength, digit - '0')));
}

void lookup_regulations(EventArgs&) { app::ShowLookupPicture(resource(kRegulationsPicture), 670, 740); }
void lookup_cycle_time(EventArgs&) { app::ShowLookupPicture(resource(kCycleTimePicture), 580, 450); }

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture, busy lamp, 500 ms pause
    app::compute_begin(kForm, style);
    calculate();
    rt_set_property(box("标签1_提示窗口"), prop::Label::Caption, "方案导出需要Word2007以上版本！");
    app::compute_end(kForm, style);
}

void register_advance_schedule(Runtime& rt)
{
    rt.register_handler("AdvanceScheduleFocusRowLength", focus_row_length);
    rt.register_handler("AdvanceScheduleLookupRegulations", lookup_regulations);
    rt.register_handler("AdvanceScheduleLookupCycleTime", lookup_cycle_time);
    rt.register_handler("AdvanceScheduleCompute", compute);
}

} // namespace

JSB_HANDLERS(register_advance_schedule)

} // namespace advance_schedule

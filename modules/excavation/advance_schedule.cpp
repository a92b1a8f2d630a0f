#include "modules/excavation/advance_schedule.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"

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
double read(const char* stem, int row) { return read_number(box(row_box(stem, row))); }
// A result read back: one that shows "-" (no finite value) stays not-a-number,
// so nothing built on it passes for a figure; an empty (cleared) box reads 0.
double shown(const char* stem, int row) { return read_result(box(row_box(stem, row))); }
void write(const char* stem, int row, double x) { write_rounded(box(row_box(stem, row)), x, 2); }

// Anything not above this, an empty box included, leaves a row uncomputed.
bool present(double x) { return x > 1e-7; }

void compute_row(int r)
{
    // The tests stop at the first missing value: T is read only for a
    // present L, a only for a present T.
    const bool complete = present(read(kLength, r)) && present(read(kDuration, r)) && present(read(kAdvance, r));
    if (!complete) {
        // Empty, not "-": a stale cycles count must never reach the total.
        for (const char* stem : kResults) set_control_text(box(row_box(stem, r)), "");
        return;
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
}

double column_sum(const char* stem)
{
    double sum = 0;
    for (int r = 0; r < kRows; ++r) sum += read(stem, r);
    return sum;
}

// A result column's total: a row without a finite result ("-") leaves the
// total without one too, rather than a total that silently leaves it out.
double results_sum(const char* stem)
{
    double sum = 0;
    for (int r = 0; r < kRows; ++r) sum += shown(stem, r);
    return sum;
}

void write_totals()
{
    // A cleared row reads 0 here; its length still counts.
    set_control_text(box("编辑框1_汇总长度"), cmd_to_text(column_sum(kLength)) + "m");
    set_control_text(box("编辑框2_总循环次数"), cmd_to_text(cmd_round(results_sum(kCycles))) + "循环");
    set_control_text(box("编辑框4_工期天6"), cmd_to_text(cmd_round(results_sum(kDays))) + "天");
    set_control_text(box("编辑框4_工期月6"), cmd_to_text(results_sum(kMonths)) + "月");
    set_control_text(box("编辑框4_工期年6"), cmd_to_text(results_sum(kYears)) + "年");
}

} // namespace

void calculate()
{
    for (int r = 0; r < kRows; ++r) compute_row(r);
    write_totals();
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

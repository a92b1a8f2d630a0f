#pragma once
// The advance and schedule module (form `AdvanceSchedule`): a tunnel split
// into up to six groups of like rock class, each turned into excavation
// cycles, daily and monthly advance and excavation time, with the totals, a
// bar chart of the groups and the calculation report.
#include "app/report/export.h"

#include <string>

namespace advance_schedule {

inline constexpr const char* kForm = "AdvanceSchedule";
inline constexpr int kRows = 6;

// The name of a row's control: its stem followed by the row's digit
// ("编辑框1_各类围岩长度" and 3 give "编辑框1_各类围岩长度3").
std::string row_box(const char* stem, int row);

// Reference pictures of the two lookup buttons.
inline constexpr const char* kRegulationsPicture = "resources/pictures/schedule/regulations.png";
inline constexpr const char* kCycleTimePicture = "resources/pictures/schedule/cycle_times.png";

// The whole calculation behind the compute button (rows, totals, chart),
// without the button picture, the busy lamp, the sounds and the pause.
void calculate();

// What the last calculation planned, kept for the report: which groups it
// computed (a group with all three inputs empty is not part of the tunnel)
// and their rock classes (a label the calculation does not otherwise use),
// the first of them, worked through in the report's formulas, the days of
// the groups added up before the total is rounded, and the months and years
// as the totals show them, worked from those days. Empty after a
// calculation that gave no plan.
struct Plan {
    bool computed[kRows] = {};
    std::string rock_class[kRows]; // a computed group's, as the report names it
    int example_row = -1;
    double days = 0, months = 0, years = 0;
};
const Plan& last_plan();

// The chart drawn from what the boxes show; the longest group length is kept
// in the hidden label 标签19 first, as the axis maximum comes from it.
void AdvanceScheduleStoreLongestLength();
void AdvanceScheduleSetUpChart();

// The calculation report.
report::ExportRequest export_request();

} // namespace advance_schedule

#pragma once
// What the equipment modules share: the whole number of machines a need
// calls for, and the rule that a calculation with a result it could not work
// out gives no report.
#include "app/report/export.h"

#include <optional>
#include <string>

namespace equipment {

// The machines or vehicles that meet a need: the need rounded up to a whole
// number, a need less than 1e-9 above a whole number counting as that number
// (3.0000000001 machines are 3). A need that is not a finite number, or lies
// below zero, gives no count (not a number, shown "-").
double whole_machines(double need);

// A need as the report states it beside the whole number `to_whole` made of
// it: to two decimals, or to as many more as it takes for the stated figure
// to give that same whole number (4.003 trucks, rounded up to 5, read
// "4.003", not "4"; 4.497 loads, rounded to 4, read "4.497", not "4.5").
std::string stated_need(double need, double (*to_whole)(double));

// A count typed into a box (machines, shifts, passes) as its report states
// it: the whole number the box holds, so "2.0" excavators read "2 台"; a
// text that is no count of the box's domain (which leaves no results to
// report) as it stands. The placeholder is the box's name.
report::PlaceholderBinding bind_count(const char* form, const char* box, int repeat,
                                      std::optional<report::StatusMark> before = std::nullopt);

} // namespace equipment

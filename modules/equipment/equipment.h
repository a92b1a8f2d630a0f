#pragma once
// What the equipment modules share: the whole number of machines a need
// calls for, and the rule that a calculation with a result it could not work
// out gives no report.
#include <initializer_list>

namespace equipment {

// The machines or vehicles that meet a need: the need rounded up to a whole
// number, a need less than 1e-9 above a whole number counting as that number
// (3.0000000001 machines are 3). A need that is not a finite number, or lies
// below zero, gives no count (not a number, shown "-").
double whole_machines(double need);

// The running calculation of `form` gives no report when one of `results`
// shows "-" (a figure that could not be worked out): an export would state
// it as a value.
void refuse_unless_shown(const char* form, std::initializer_list<const char*> results);

} // namespace equipment

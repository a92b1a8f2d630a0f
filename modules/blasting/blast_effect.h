#pragma once
// The blast vibration module (form `BlastEffect`): the Sadovsky relation
// V = K·(Q^(1/3)/R)^α solved for the particle velocity, the distance or the
// charge, with the velocity, solved for or given, judged against the
// allowed velocity of the protected building's category.
#include "app/report/export.h"

#include <string>
#include <vector>

namespace blast_effect {

inline constexpr const char* kForm = "BlastEffect";

// A building category of the list, the allowed-velocity range the list
// writes for it (as shown, cm/s) and the upper end of that range, which a
// solved velocity is judged against.
struct BuildingCategory {
    const char* item;
    const char* range;
    double limit;
};
const std::vector<BuildingCategory>& building_categories();
// Matched by the item text, not by its place in the list.
const BuildingCategory* find_category(const std::string& item);

// What the last calculation worked with beyond the boxes, for the report:
// the sign between the formula and the solved value shown ("=", or "≈"
// where rounding changed it), and, when a velocity was judged (the one
// solved for, or the one a charge or distance was worked from), the allowed
// velocity (cm/s) it was judged against and how it compares ("≤" or ">").
struct Worked {
    std::string sign;
    std::string limit, comparison; // "" when no velocity was judged
    // The solved velocity as judged ("≈ 15.0004"), where its box's rounded
    // figure would read the other way against the limit; "" otherwise.
    std::string judged;
};
const Worked& worked();

// The report of the mode chosen by the radio buttons.
report::ExportRequest export_request();

} // namespace blast_effect

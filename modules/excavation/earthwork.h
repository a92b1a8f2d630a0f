#pragma once
// The two earthwork stability modules of the engineering-safety page: the
// greatest safe height of a cut back to a slope (form `EarthSlope`) and of
// an unsupported vertical cut under a berm load (form `VerticalCut`), each
// with the soil reference tables and its calculation report.
#include "app/report/export.h"

#include <string>

namespace earthwork {

inline constexpr const char* kSlopeForm = "EarthSlope";
inline constexpr const char* kVerticalForm = "VerticalCut";

// The reference tables both modules show, and their pop-up window size.
inline constexpr const char* kCohesionTable = "resources/pictures/earthwork/cohesion_table.png";
inline constexpr const char* kFrictionAngleTable = "resources/pictures/earthwork/friction_angle_table.png";
inline constexpr int kTableWidth = 700, kTableHeight = 300;

// What the last calculation of a module found, kept for its report: the
// report states the figures the calculation worked with, not figures worked
// out again from the boxes.
struct Outcome {
    enum Kind {
        None,        // nothing calculated, or the calculation was refused
        Height,      // a safe height above zero, shown in the result box
        CannotStand, // the formula gives no height above zero: "-"
        NoLimit,     // slope only: θ ≤ φ, no plane through the toe slides: "-"
    } kind = None;
    // The inputs as the formula took them (an empty box gives no
    // calculation); the slope has no K and q, the vertical cut no θ.
    double gamma = 0, phi = 0, cohesion = 0, theta = 0, K = 0, load = 0;
    double height = 0; // the formula's value rounded down to 2 decimals
    double worked = 0; // the same before rounding
};
const Outcome& slope_outcome();
const Outcome& vertical_cut_outcome();

// The calculations behind the compute buttons, without the button picture
// and the sounds around them.
void calculate_slope();
void calculate_vertical_cut();

// The reports.
report::ExportRequest slope_export_request();
report::ExportRequest vertical_cut_export_request();

} // namespace earthwork

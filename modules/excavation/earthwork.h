#pragma once
// The two earthwork stability modules of the engineering-safety page: the
// greatest safe height of a cut back to a slope (form `EarthSlope`) and of
// an unsupported vertical cut under a berm load (form `VerticalCut`), each
// with the soil reference tables and its calculation report.
#include "app/report/export.h"

namespace earthwork {

inline constexpr const char* kSlopeForm = "EarthSlope";
inline constexpr const char* kVerticalForm = "VerticalCut";

// The reference tables both modules show, and their pop-up window size.
inline constexpr const char* kCohesionTable = "resources/pictures/earthwork/cohesion_table.png";
inline constexpr const char* kFrictionAngleTable = "resources/pictures/earthwork/friction_angle_table.png";
inline constexpr int kTableWidth = 700, kTableHeight = 300;

// The calculations behind the compute buttons, without the button picture
// and the sounds around them.
void calculate_slope();
void calculate_vertical_cut();

// The reports.
report::ExportRequest slope_export_request();
report::ExportRequest vertical_cut_export_request();

} // namespace earthwork

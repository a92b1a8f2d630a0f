#pragma once
// The shallow-hole bench-blasting module (form `ShallowHole`): drilling
// depth, burden, hole and row spacing and the charge per hole of an open
// bench blasted with shallow holes, for loosening or throw blasting; the
// choice lists fill the coefficient boxes with typical values.
#include "app/report/export.h"

#include <string>

namespace shallow_hole {

inline constexpr const char* kForm = "ShallowHole";

// The whole calculation behind the compute button, without the button
// pictures, the busy lamp and the sounds around it.
void calculate();


// The report of the blasting type chosen in 组合框5.
report::ExportRequest export_request();

} // namespace shallow_hole

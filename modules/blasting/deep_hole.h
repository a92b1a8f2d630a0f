#pragma once
// The deep-hole bench-blasting module (form `DeepHole`): charge-length
// coefficient by bench height, subdrill, hole depth, burden from the charge a
// hole holds, spacing, row spacing, stemming and the throw and loosening
// charges per hole.
#include "app/report/export.h"

namespace deep_hole {

inline constexpr const char* kForm = "DeepHole";

// The whole calculation behind the compute button, without the button
// pictures, the busy lamp and the sounds around it.
void calculate();

report::ExportRequest export_request();

} // namespace deep_hole

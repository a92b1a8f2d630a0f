#pragma once
// The deep-hole bench-blasting module (form `DeepHole`): charge-length
// coefficient by bench height, subdrill, hole depth, burden from the charge a
// hole holds, spacing (the hole density coefficient times the burden), row
// spacing, stemming and the throw and loosening charges per hole.
#include "app/report/export.h"

#include <string>

namespace deep_hole {

inline constexpr const char* kForm = "DeepHole";

// The whole calculation behind the compute button, without the button
// pictures, the busy lamp and the sounds around it.
void calculate();

// The subdrill coefficient h' as the calculation reads it (a typed 0 stays
// 0; an empty box gives no figures).
std::string subdrill_factor_used();

report::ExportRequest export_request();

} // namespace deep_hole

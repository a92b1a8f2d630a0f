#pragma once
// The controlled-blasting module (form `ControlledBlasting`): the allowed
// vibration velocity of a protected object, the site coefficient and
// attenuation exponent of the rock, and the largest charge per delay of each
// hole group that keeps the ground velocity at the chosen value; a back-check
// group that solves the same relation while the user types; the report.
#include "app/report/export.h"

namespace controlled_blasting {

inline constexpr const char* kForm = "ControlledBlasting";

// The report "控制爆破计算书.doc".
report::ExportRequest export_request();

} // namespace controlled_blasting

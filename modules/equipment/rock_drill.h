#pragma once
// The rock-drill module (form `RockDrill`): hole depth, burden, spacing and
// the volumes broken per hole and per metre of hole of a bench blast, the
// number of rock drills, and the compressed-air demand of the pneumatic
// tools with the output the compressors must deliver.
#include "app/report/export.h"

namespace rock_drill {

inline constexpr const char* kForm = "RockDrill";

// The whole calculation behind the compute button, without the button
// pictures and the sounds around it.
void calculate();

// The rock drills the shown count was rounded up from (the report states it).
double drills_needed();
// The air the tools use and the compressor output needed, before they were
// shown rounded up.
double air_used();
double compressor_output_needed();

report::ExportRequest export_request();

} // namespace rock_drill

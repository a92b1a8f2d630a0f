#pragma once
// The mucking module (form `Mucking`): loose muck volume of one excavation
// cycle, haul trucks that keep one loader busy, mucking time, and the
// calculation report.
#include "app/report/export.h"

namespace mucking {

inline constexpr const char* kForm = "Mucking";

// The calculation behind the compute button, without the button pictures,
// the busy lamp and the sounds around it.
void calculate();

// The haul trucks the shown count was rounded up from (the report states it).
double trucks_needed();

// The report the export button writes.
report::ExportRequest export_request();

} // namespace mucking

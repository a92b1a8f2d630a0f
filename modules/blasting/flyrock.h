#pragma once
// The flyrock and toxic-gas module (form `Flyrock`): the distance stones of
// the largest charge may fly, weighed against the regulation distance of the
// blasting method, and the distance within which the blast fumes are
// dangerous; the report.
#include "app/report/export.h"

namespace flyrock {

inline constexpr const char* kForm = "Flyrock";

// Rf0 = 20 · Kf · n² · W, m, rounded to 2 places, from the boxes.
double distance_before_wind();
// Strong wind or downwind is ticked: the distance is a quarter more.
bool wind_raises_distance();

// The report "爆破飞石安全距离计算.doc".
report::ExportRequest export_request();

} // namespace flyrock

#pragma once
// The flyrock and toxic-gas module (form `Flyrock`): the distance stones of
// the largest charge may fly, weighed against the regulation distance of the
// blasting method, and the distance within which the blast fumes are
// dangerous; the report.
#include "app/report/export.h"

namespace flyrock {

inline constexpr const char* kForm = "Flyrock";

// The report "爆破飞石安全距离计算.doc".
report::ExportRequest export_request();

} // namespace flyrock

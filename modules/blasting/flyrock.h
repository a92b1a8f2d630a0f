#pragma once
// The flyrock and toxic-gas module (form `Flyrock`): the distance stones of
// the largest charge may fly, weighed against the regulation distance of the
// blasting method, and the distance within which the blast fumes are
// dangerous; the report.
#include "app/report/export.h"

#include <string>

namespace flyrock {

inline constexpr const char* kForm = "Flyrock";

// What the last calculation worked with beyond the boxes, for the report:
// Rf0 = 20 · Kf · n² · W rounded up to 2 places, whether strong wind or downwind
// made the distance a quarter more, whether the method was the general one
// (no regulation distance), and the sign ("=", or "≈" where rounding changed
// the value) before Rf0, Rf and Rg.
struct Worked {
    double rf0 = 0;
    bool windy = false;
    bool general = false;
    std::string rf0_sign, rf_sign, rg_sign;
};
const Worked& worked();

// The report "爆破飞石安全距离计算.doc".
report::ExportRequest export_request();

} // namespace flyrock

#pragma once
// A limit is printed rounded toward safety: an allowed maximum (a charge)
// down, a minimum distance up, at the precision it is printed with. Two
// decimals, and below 1 as many as keep three significant digits, so that
// a small charge is not cut by a tenth or more (0.0191 kg, not 0.01) nor
// pushed above its formula (not 0.02).
#include "ui/value.h"

#include <algorithm>
#include <cmath>

namespace blasting {

// Decimals a limit is printed with: at least `places`, more below 1.
inline int limit_places(double x, int places = 2)
{
    if (!std::isfinite(x) || !(x > 0)) return places;
    const int lead = int(std::floor(std::log10(x))); // 0.0191 → −2
    return std::clamp(2 - lead, places, 300);
}

// An allowed maximum as printed: down, with limit_places decimals.
inline double allowed_maximum(double x) { return ui::round_places_down(x, limit_places(x)); }
// A minimum distance as printed: up, with limit_places decimals.
inline double minimum_distance(double x) { return ui::round_places_up(x, limit_places(x)); }

} // namespace blasting

#pragma once
// A limit is printed rounded toward safety: an allowed maximum (a charge)
// down, a minimum distance up, at the precision it is printed with. Two
// decimals, and below 1 as many as keep three significant digits, so that
// a small charge is not cut by a tenth or more (0.0191 kg, not 0.01) nor
// pushed above its formula (not 0.02).
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

namespace detail {
// A figure within a relative 1e-9 of a printed step is that step: binary
// noise (7.7799999999999 for 7.78) does not cost a whole last digit.
constexpr double kNoise = 1e-9;
inline double step(int places) { return std::pow(10.0, places); }
} // namespace detail

// `x` rounded down to `places` decimals (0: whole units); not finite stays.
inline double round_down(double x, int places)
{
    if (!std::isfinite(x)) return x;
    const double scaled = x * detail::step(places);
    double r = std::floor(scaled);
    if (scaled - (r + 1) >= -detail::kNoise * std::fabs(scaled)) r += 1;
    return r / detail::step(places) + 0.0;
}

// `x` rounded up to `places` decimals; not finite stays.
inline double round_up(double x, int places)
{
    if (!std::isfinite(x)) return x;
    const double scaled = x * detail::step(places);
    double r = std::ceil(scaled);
    if ((r - 1) - scaled >= -detail::kNoise * std::fabs(scaled)) r -= 1;
    return r / detail::step(places) + 0.0;
}

// An allowed maximum as printed: down, with limit_places decimals.
inline double allowed_maximum(double x) { return round_down(x, limit_places(x)); }
// A minimum distance as printed: up, with limit_places decimals.
inline double minimum_distance(double x) { return round_up(x, limit_places(x)); }

} // namespace blasting

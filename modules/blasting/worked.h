#pragma once
// What a blasting calculation keeps for its report beside the boxes.
#include <algorithm>
#include <cmath>

namespace blasting {

// The sign a report puts between a worked-out expression and the result the
// box shows: "=" when the shown value is the expression's, "≈" when rounding
// for the box changed it.
inline const char* equals_sign(double worked, double shown)
{
    return std::fabs(worked - shown) <= 1e-9 * std::max(1.0, std::fabs(worked)) ? "=" : "≈";
}

} // namespace blasting

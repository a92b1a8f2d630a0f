#pragma once
// What a blasting calculation keeps for its report beside the boxes.
#include "ui/cmd.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace blasting {

// The sign a report puts between a worked-out expression and the result the
// box shows: "=" when the shown value is the expression's, "≈" when rounding
// for the box changed it.
inline const char* equals_sign(double worked, double shown)
{
    return std::fabs(worked - shown) <= 1e-9 * std::max(1.0, std::fabs(worked)) ? "=" : "≈";
}

// Results written rounded into their boxes, each remembered with the sign
// its report line puts before it.
class RoundedResults {
public:
    void clear() { signs_.clear(); }
    void write(const ui::Ref& box, const std::string& name, double worked, int places)
    {
        ui::write_rounded(box, worked, places);
        signs_[name] = equals_sign(worked, ui::read_result(box));
    }
    // "=" or "≈" for a result the last calculation wrote, "" for another.
    std::string sign_of(const std::string& name) const
    {
        const auto it = signs_.find(name);
        return it == signs_.end() ? std::string() : it->second;
    }

private:
    std::map<std::string, std::string> signs_;
};

} // namespace blasting

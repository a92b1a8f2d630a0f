#pragma once
// The controlled-blasting module (form `ControlledBlasting`): the allowed
// vibration velocity of a protected object, the site coefficient and
// attenuation exponent of the rock, and the largest charge per delay of each
// hole group that keeps the ground velocity at the chosen value; a back-check
// group that solves the same relation while the user types; the report.
#include "app/report/export.h"

#include <map>
#include <string>

namespace controlled_blasting {

inline constexpr const char* kForm = "ControlledBlasting";

// What the last calculation worked with beyond the texts its boxes show,
// for the report.
struct Worked {
    std::string protected_object; // the ticked object, "" when none was
    std::string band_headings[3]; // the object's band headings, "" when none was ticked
    std::string velocity;         // V' (cm/s)
    // Each attenuation (%) as used: an empty box is no attenuation, 0.
    std::map<std::string, std::string> percents; // by box name
    // "=" when the peripheral holes' charge shows exactly what the formula
    // gives, "≈" when rounding to 2 decimals changed it.
    std::string peripheral_charge_sign;
};
const Worked& worked();
// "" when an object was ticked; otherwise the sentence saying none was and
// which V' the charges were worked from.
std::string no_protected_object_note();

// The back-check group as the screen shows it, for the report, worked the
// way its figures belong together: the velocity from the charge shown, or
// (where the velocity was typed and the charge worked from it) the charge
// from the velocity; the velocity, as worked out, then judged against the
// V' of the calculation. Where the group holds no back-check (a box without a usable
// number, or figures that do not belong together) `not_made` says so and
// why, and the other texts but the heading are "".
struct BackCheck {
    std::string heading, intro;
    std::string not_made;
    std::string velocity_sign; // "=" or "≈" before V from Q; "" when worked the other way
    std::string charge_sign;   // "=" or "≈" before Q from V; "" when worked the other way
    std::string verdict;
};
BackCheck back_check();

// The report "控制爆破计算书.doc".
report::ExportRequest export_request();

} // namespace controlled_blasting

#pragma once
// The tunnel ventilation module (form `Ventilation`): air demand of the face,
// duct leakage and altitude corrections, duct resistance, fan pressure and
// power, and the ventilation plan report of the chosen scheme.
#include "app/report/export.h"

#include <string>
#include <vector>

namespace ventilation {

inline constexpr const char* kForm = "Ventilation";

// One ventilation scheme of `列表框1`, keyed by its item text.
struct Scheme {
    const char* item;     // item text of `列表框1`
    const char* caption;  // caption of `标签20` (the Q2 row) after a calculation
    const char* diagram;  // embedded picture shown in `图片框1`
    const char* tip;      // balloon tip of `列表框1`
    const char* report_template; // embedded packed template
};
const std::vector<Scheme>& schemes();
// The scheme whose item text equals `item`, or nullptr.
const Scheme* find_scheme(const std::string& item);

// Atmospheric pressure text (kPa) of an altitude item, or nullptr when the
// table has no row for it.
const char* pressure_for_altitude(const std::string& altitude_item);

// The whole calculation behind the compute button, without the button
// pictures, the busy lamp and the sounds around it. It runs as the form's
// calculation (ui/cmd.h) and gives no results when an input lies outside
// its domain, a choice is missing or a figure cannot be worked out.
void calculate();

// What the last calculation decided that its report needs beyond the boxes.
struct Calculated {
    bool gas_tunnel = false; // Q5 worked out from the gas inputs
};
const Calculated& last_calculation();

// The report of the scheme chosen in `列表框1`.
report::ExportRequest export_request();

} // namespace ventilation

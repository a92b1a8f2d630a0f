#pragma once
// The tunnel ventilation module (form `Ventilation`): air demand of the face,
// duct leakage and altitude corrections, duct resistance, fan pressure and
// power, and the ventilation plan report of the chosen scheme.
#include "app/report/export.h"

#include <limits>
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

// The largest allowed gas concentration at the face, as a fraction of the
// air's volume.
inline constexpr double kGasLimit = 0.01;

// The whole calculation behind the compute button, without the button
// pictures, the busy lamp and the sounds around it. It runs as the form's
// calculation (ui/cmd.h) and gives no results when an input lies outside
// its domain, a choice is missing or a figure cannot be worked out.
void calculate();

// What the last calculation decided that its report needs beyond the boxes.
struct Calculated {
    bool gas_tunnel = false; // Q5 worked out from the gas inputs
    // The diesel rows counted (a count neither empty nor 0); with none the
    // diesel factors are not read and Q3 is 0.
    bool diesel_row[4] = {false, false, false, false};
    bool diesel() const { return diesel_row[0] || diesel_row[1] || diesel_row[2] || diesel_row[3]; }
    // Pressed-in scheme: X, the allowed over the initial concentration of the
    // fumes; above 1 they need no dilution and Q2 is 0.
    double fume_ratio = 0;
    bool fumes_within_limit() const { return fume_ratio > 1; }
    // The largest of the five demands as they are shown, before Qh rounds it
    // up to whole m3/min; not a number when Qh could not be formed.
    double largest_demand = std::numeric_limits<double>::quiet_NaN();
};
const Calculated& last_calculation();

// The diesel equipment rows: name, power and count boxes.
struct DieselRow {
    const char* name;
    const char* power;
    const char* count;
};
inline constexpr DieselRow kDieselRows[4] = {
    {"编辑框1_名称1", "编辑框2_设备1", "编辑框3_数量1"},
    {"编辑框1_名称2", "编辑框2_设备2", "编辑框3_数量2"},
    {"编辑框1_名称3", "编辑框2_设备3", "编辑框3_数量3"},
    {"编辑框1_名称4", "编辑框2_设备4", "编辑框3_数量4"},
};

// The report of the scheme chosen in `列表框1`.
report::ExportRequest export_request();

} // namespace ventilation

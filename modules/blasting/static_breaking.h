#pragma once
// The static-breaking module (form `StaticBreaking`): breaking rock or
// concrete with a soundless expansive agent (SCA) poured into drilled holes.
// From the block, the material and the agent it finds the hole depth and
// the total length of holes, then the number of holes for a given diameter
// or the diameter for a given number of holes, the layout ranges of the
// object type, the agent per metre of hole and per hole, and the total
// charge with a 5 % loss allowance.
#include "app/report/export.h"

#include <optional>
#include <string>
#include <vector>

namespace static_breaking {

inline constexpr const char* kForm = "StaticBreaking";

// A row of the object-type list, chosen by its index. The burden and hole
// spacing texts and the row spacing bounds (cm) apply to diameters from
// d_lo to d_hi mm; the hole depth is the breaking depth times depth_factor.
struct ObjectType {
    const char* item;
    double depth_factor;
    double d_lo, d_hi;
    const char* burden;
    const char* spacing;
    double row_lo, row_hi;
};
const std::vector<ObjectType>& object_types();

// A row of the agent-type list, chosen by its index: temperature range and
// season as shown, and the agent weight per cubic metre of slurry (kg/m³),
// which also names the per-metre table of the agent.
struct AgentType {
    const char* item;
    const char* temperature;
    const char* season;
    const char* density;
};
const std::vector<AgentType>& agent_types();

// The agent weight per metre of hole (kg/m) shown for a hole diameter (mm)
// in the table of the density ("1540" or "1650"); none without a row. Both
// tables hold the even diameters 28 … 50 mm at K·π·D²/4 to two decimals
// (48 mm at 1540: 2.79); the 1540 table also each odd diameter between, at
// the mean of its neighbours (49 mm: 2.905).
std::optional<std::string> weight_per_metre(const std::string& density, double diameter);

// The even diameters 28 … 50 mm: for them the total charge is taken from
// the total length of holes and the weight per metre.
bool is_table_diameter(double diameter);

// The whole calculation behind the compute button, without the pictures
// and sounds around it.
void calculate();

// What the report states of the last calculation beyond its boxes, by
// placeholder ("计算值_…"): the sign before each result ("=", or "≈" where
// rounding changed it), the depth the count used, the sentences of the mode
// and of the total-charge formula used, and what does not apply; "" for a
// sentence that does not apply.
std::string report_text(const std::string& placeholder);

report::ExportRequest export_request();

} // namespace static_breaking

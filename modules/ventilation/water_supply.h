#pragma once
// The temporary water supply module (form `WaterSupply`): what its
// calculation keeps for the report.

#include <string>

namespace water_supply {

// What the last calculation decided that its report needs beyond the boxes.
struct Calculated {
    // The source gives more than the peak demand: the tank only balances
    // (20~30 m3) and its volume formula was not used.
    bool spring_fed = false;
    // The daily-use item the storage factor was chosen by; empty when the
    // volume formula was not used.
    std::string daily_use;
    // The daily use (Qs + Qc)·24 in m3 that chose it, from the shown Qs, and
    // the figures it was worked from.
    std::string Qs, Qc;
    double daily = 0;
    // Above 2000 m3 a day: the table has no class, the last one stands.
    bool beyond_table = false;
};
const Calculated& last_calculation();

} // namespace water_supply

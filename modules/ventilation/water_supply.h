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
};
const Calculated& last_calculation();

} // namespace water_supply

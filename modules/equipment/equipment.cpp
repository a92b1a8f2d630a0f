#include "modules/equipment/equipment.h"

#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>

namespace equipment {

double whole_machines(double need)
{
    if (!std::isfinite(need) || need < 0) return std::numeric_limits<double>::quiet_NaN();
    // + 0.0: a need of 0 or just above it gives 0, never -0
    return std::fmax(std::ceil(need - 1e-9), 0.0) + 0.0;
}

std::string stated_need(double need, double (*to_whole)(double))
{
    const double whole = to_whole(need);
    for (int places = 2; places <= 12; ++places) {
        const double stated = ui::round_places(need, places);
        if (to_whole(stated) == whole) return ui::number_to_text(stated);
    }
    return ui::number_to_text(need);
}

report::PlaceholderBinding bind_count(const char* form, const char* box, int repeat,
                                      std::optional<report::StatusMark> before)
{
    report::PlaceholderBinding b = report::bind_computed(
        box,
        [form, box] {
            const ui::Ref r = ui::U(form, box);
            const double n = ui::read_number(r);
            return std::isnan(n) ? ui::control_text(r) : ui::number_to_text(n);
        },
        repeat);
    b.mark_before = std::move(before);
    return b;
}

} // namespace equipment

#include "app/report/signs.h"

#include "ui/cmd.h"
#include "ui/value.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace report {

const char* result_sign(double worked, std::string_view printed)
{
    const double shown = ui::plain_number(printed);
    if (!std::isfinite(worked) || !std::isfinite(shown)) return "=";
    // Relative, with a floor far below any printed digit for the noise left
    // where a difference should come out 0.
    const double scale = std::max(std::fabs(worked), std::fabs(shown));
    return std::fabs(worked - shown) <= 1e-9 * scale + 1e-12 ? "=" : "≈";
}

PlaceholderBinding bind_sign(std::string placeholder, std::function<double()> worked,
                             std::function<std::string()> printed, int repeat)
{
    return bind_computed(
        std::move(placeholder), [worked = std::move(worked), printed = std::move(printed)] { return std::string(result_sign(worked(), printed())); },
        repeat);
}

void bind_signs(ExportRequest& r, std::initializer_list<std::pair<const char*, const char*>> sign_and_box, int repeat)
{
    std::vector<PlaceholderBinding> signs;
    for (const auto& [sign, box] : sign_and_box) {
        const ui::Ref ref = ui::U(r.form, box);
        signs.push_back(bind_sign(sign, [ref] { return ui::worked_figure(ref); }, [ref] { return ui::control_text(ref); }, repeat));
    }
    r.bindings.insert(r.bindings.begin(), signs.begin(), signs.end());
}

} // namespace report

#pragma once
// Report placeholders that hold the sign ("=" or "≈") before a result.
#include "app/report/export.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace blasting {

// Binds each placeholder to the sign `sign_of` gives for its result box.
inline void bind_signs(report::ExportRequest& r, std::initializer_list<std::pair<const char*, const char*>> signs,
                       std::string (*sign_of)(const std::string&))
{
    for (const auto& [placeholder, result] : signs) {
        const std::string name = result;
        r.bindings.push_back(report::bind_computed(placeholder, [name, sign_of] { return sign_of(name); }));
    }
}

} // namespace blasting

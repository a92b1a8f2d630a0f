#pragma once
// The sign a report prints between a worked expression and its result:
// "=" when the printed result is the figure the calculation worked out,
// "≈" when printing it (rounding, or fewer digits) changed it.
#include "app/report/export.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace report {

// `printed` is the text the report prints for the figure `worked`. Read as
// a number it equals the figure within a relative 1e-9 (binary noise, not a
// printed digit; 1e-12 near zero): "="; otherwise "≈". A result that is no number ("-") or
// not finite raises no such question: "=".
const char* result_sign(double worked, std::string_view printed);

// A sign placeholder ("计算值_…式") filled with the sign before a result:
// the worked figure and the printed text are read when the report is filled.
PlaceholderBinding bind_sign(std::string placeholder, std::function<double()> worked,
                             std::function<std::string()> printed, int repeat = 1);

// Sign placeholders before results shown in boxes of the form, each paired
// with its box: the box's text against the figure the calculation worked out
// for it (ui::worked_figure). They are filled before every other placeholder,
// so that no other placeholder's name is read inside theirs.
void bind_signs(ExportRequest& r, std::initializer_list<std::pair<const char*, const char*>> sign_and_box,
                int repeat = 1);

} // namespace report

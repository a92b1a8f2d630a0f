#pragma once
// Reading a result back from its box, shared by the two excavator forms.
#include "ui/cmd.h"

#include <limits>
#include <string>

namespace excavator {

// Later steps of a calculation work with what the earlier ones show. A box
// that shows "-" holds a value that could not be worked out (a division by
// zero further up); read as 0 it would pass a made-up figure on, such as 0
// trucks in all beside "-" trucks per excavator. So it reads as not a number,
// and every step built on it shows "-" too.
inline double read_result(const ui::Ref& box)
{
    if (ui::control_text(box) == "-") return std::numeric_limits<double>::quiet_NaN();
    return ui::read_number(box);
}

} // namespace excavator

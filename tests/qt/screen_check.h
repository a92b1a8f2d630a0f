#pragma once
// What a user sees of a form's texts in its real Qt widgets: every text a
// label, edit box, button, check box, combo box or group box shows must
// fit the part of the control that draws it (all its lines, wrapped where
// the control wraps), that part must not be cut by the control's parents,
// and no other control may cover it. A number cut off on screen is a wrong
// number read.
#include "ui/form.h"

#include <string>
#include <vector>

namespace screens {

// One text that does not show whole: "Form.control: why (text)".
using Faults = std::vector<std::string>;

// The texts of the form's controls on screen now that are cut, covered by
// another control of any of the forms, or laid on one that shows content.
Faults cut_texts(const std::vector<ui::Form*>& all_forms, const ui::Form& f);

} // namespace screens

#pragma once
// The tunnel category and sub-category pair that the smooth-blasting and the
// ventilation forms both carry (`组合框_隧道类别`, `组合框_隧道小类`): the
// sub-categories of a category, and the refill when the category changes.
#include <string>
#include <vector>

namespace modules {

// Sub-categories of the category at `category_index` (0 公路隧道, 1 铁路隧道,
// 2 煤矿隧道); empty for any other index.
const std::vector<std::string>& tunnel_subclasses(int category_index);

// Refills the form's `组合框_隧道小类` for the category now chosen in its
// `组合框_隧道类别` and selects the first item. Selecting it raises no event,
// so a picture pop-up keeps whatever table it shows.
void fill_tunnel_subclasses(const std::string& form);

} // namespace modules

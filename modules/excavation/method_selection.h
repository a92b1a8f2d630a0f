#pragma once
// The excavation-method selection module (form `MethodSelection`): the span
// class of the excavation width, up to three methods side by side, an
// advisory summary, and the catalogue of twenty methods with their
// pictures, descriptions and construction-step sequences. It computes no
// quantities and writes no report.
#include "ui/resources.h"

#include <array>
#include <string>
#include <vector>

namespace method_selection {

inline constexpr const char* kForm = "MethodSelection";

// One method of the comparison combos, keyed by its item text; the six
// attributes in the order of the row's labels 1 to 6: 适用条件, 沉降, 工期,
// 防水, 初支拆除量, 造价.
struct Comparison {
    const char* method;
    std::array<const char*, 6> attributes;
};
const std::vector<Comparison>& comparison_table();

// One entry of the catalogue list `选择列表框3`, keyed by its item text.
struct CatalogueEntry {
    const char* item;
    std::string overview;    // embedded picture
    const char* description; // title line, CR LF, then the paragraphs
    bool step_buttons;       // the arrow buttons are shown
    // The step sequence, cyclic: the overview, then the construction steps
    // from the last to the first. Empty for an entry without steps.
    std::vector<std::string> sequence;
};
// In list order.
const std::vector<CatalogueEntry>& catalogue();
const CatalogueEntry* find_entry(const std::string& item);

// The sequence of a step entry after the shown picture `shown`, one place
// on (+1) or back (-1); nullptr when `shown` is none of its pictures. A
// picture is told by its bytes.
const std::string* neighbour_picture(const CatalogueEntry& entry, const ui::Bytes& shown, int direction);

} // namespace method_selection

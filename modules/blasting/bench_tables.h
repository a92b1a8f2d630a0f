#pragma once
// The rock-class and explosive rows shared by the shallow-hole and deep-hole
// bench-blasting forms. Both forms list the rows in this order and pick a
// row by the combo box's current index, not by its item text.
#include <span>

namespace bench {

struct RockClass {
    const char* item;          // item text of 组合框3
    const char* depth_caption; // caption of 透明标签9 (shallow-hole only)
    const char* depth_factor;  // text of 编辑框1_钻孔深度系数 (shallow-hole only)
    const char* q_caption;     // caption of 透明标签24
    const char* q;             // text of 编辑框2_炸药单位消耗量, kg/m3
};

struct Explosive {
    const char* item;    // item text of 组合框7
    const char* e;       // text of 编辑框2_换算系数e
    const char* caption; // caption of 透明标签20
};

std::span<const RockClass> rock_classes();
std::span<const Explosive> explosives();

// The row at a combo box's current index; nullptr when no item is chosen.
const RockClass* rock_class_at(int index);
const Explosive* explosive_at(int index);

} // namespace bench

#include "modules/blasting/bench_tables.h"

#include <array>

namespace bench {

namespace {

// Texts are written as they stand: the ranges in the captions are the
// guidance the form shows, the values the typical figure within them.
constexpr std::array<RockClass, 4> kRockClasses = {{
    {"松软石(五类土)", "钻孔深度系数(0.85-0.95)", "0.9", "炸药单位消耗量q(kg/m3)软岩取1.4-1.65", "1.5"},
    {"次坚石(六类土)", "钻孔深度系数(1)", "1", "炸药单位消耗量q(kg/m3)次坚石取1.6-1.85", "1.72"},
    {"坚  石(七类土)", "钻孔深度系数(1.1-1.15)", "1.125", "炸药单位消耗量q(kg/m3)坚石取1.8-2.6", "2.2"},
    {"特坚石(八类土)", "钻孔深度系数(1.1-1.15)", "1.125", "炸药单位消耗量q(kg/m3)特坚石取2.1-3.25", "2.9"},
}};

constexpr std::array<Explosive, 10> kExplosives = {{
    {"硝铵炸药2号", "1.0", "岩石硝铵2号1.0"},
    {"岩石硝铵1号", "0.9", "岩石硝铵1号0.9"},
    {"露天硝铵2号、3号", "1.14", "露天硝铵2号、3 号1.14"},
    {"胶质炸药62%(普通)", "0.89", "62%胶质炸药普通0.89"},
    {"胶质炸药62%(耐冻)", "0.89", "62%胶质炸药耐冻0.89"},
    {"胶质炸药35%(普通)", "1.06", "35%胶质炸药1.06"},
    {"混合胶质炸药(普通)", "1.0", "混合胶质炸药1.0"},
    {"梯恩梯(TNT)", "1.09", "梯恩梯(TNT)1.05-1.14"},
    {"铵油炸药", "1.25", "铵油炸药1.14-1.36"},
    {"黑火药", "1.33", "黑火药1.14-1.42"},
}};

template <class Row, size_t N>
const Row* row_at(const std::array<Row, N>& rows, int index)
{
    return index >= 0 && size_t(index) < N ? &rows[size_t(index)] : nullptr;
}

} // namespace

std::span<const RockClass> rock_classes() { return kRockClasses; }
std::span<const Explosive> explosives() { return kExplosives; }

const RockClass* rock_class_at(int index) { return row_at(kRockClasses, index); }
const Explosive* explosive_at(int index) { return row_at(kExplosives, index); }

} // namespace bench

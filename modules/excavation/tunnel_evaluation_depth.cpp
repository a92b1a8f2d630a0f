// The tunnel evaluation's last block: the depth Hp between shallow and deep
// tunnels with its verdict, the collapse scale, the self-stability of the
// rock, the surface-settlement monitoring ranges and the sketch spacing.
#include "modules/excavation/tunnel_evaluation.h"
#include "modules/excavation/tunnel_evaluation_rules.h"
#include "ui/value.h"

#include <cmath>

namespace tunnel_evaluation {

using namespace ui;

namespace {

constexpr const char* kRockClass = "组合框1_围岩等级";
constexpr const char* kSpan = "编辑框1_隧道开挖宽度";
constexpr const char* kHeight = "编辑框1_隧道开挖高度";
constexpr const char* kCover = "编辑框1_浅埋段覆土层厚";
constexpr const char* kBoundary = "编辑框1_浅埋隧道分界深度";
constexpr const char* kDepthVerdict = "编辑框1_浅埋隧道判定";

constexpr const char* kNotApplicable = "公式不适用";
constexpr const char* kShallow = "浅埋隧道";
constexpr const char* kDeep = "深埋隧道";

// The class number s of the load height 2^(s−1)·(1 + i·(B − 5))·0.45, which
// holds only from class Ⅳ on.
struct LoadHeight {
    const char* item;
    double s;
    bool formula_applies;
};
constexpr LoadHeight kLoadHeight[] = {
    {kClassI, 1, false},  {kClassII, 2, false}, {kClassIII, 3, false},
    {kClassIV, 4, true},  {kClassV, 5, true},   {kClassVI, 6, true},
};

// V, m³, or the collapse height h, m, into 编辑框1_塌方规模判定: a row holds
// when either number is in its range, so the larger class wins.
struct CollapseRule {
    Range volume;
    Range height;
    const char* text;
};
constexpr CollapseRule kCollapseScale[] = {
    {{any, lt(30)}, {any, lt(3)}, "小塌方"},
    {{ge(30), lt(100)}, never, "中塌方"},
    {never, {ge(3), lt(6)}, "中塌方"},
    {{ge(100), any}, {ge(6), any}, "大塌方"},
};

// Class and span B, m, into 编辑框1_围岩自稳能力.
struct SelfStability {
    const char* item;
    Range span;
    const char* text;
};
constexpr SelfStability kSelfStability[] = {
    {kClassI, {any, le(20)}, "I级≤20m,可长期稳定，偶有掉块，无塌方"},
    {kClassI, {gt(20), any}, "I级B＞ 20m,超出宽度范围,无相关统计值！"},
    {kClassII, {gt(10), le(20)}, "Ⅱ级10<B≤20m,可稳定数日-1个月，可发生小~中塌方"},
    {kClassII, {any, le(10)}, "Ⅱ级B≤10m,可长期稳定，偶有掉块"},
    {kClassII, {gt(20), any}, "Ⅱ级B＞ 20m,超出宽度范围,无相关统计值！"},
    {kClassIII, {gt(10), le(20)}, "Ⅲ级10<B≤20m,可稳定数日-1个月，可发生小~中塌方"},
    {kClassIII, {gt(5), le(10)}, "Ⅲ级5<B≤10m,可稳定数月，可发生局部块位移及小~中塌方"},
    {kClassIII, {any, le(5)}, "Ⅲ级B≤5m,可基本稳定"},
    {kClassIII, {gt(20), any}, "Ⅲ级B＞20m,超出宽度范围,无相关统计值！"},
    {kClassIV, {ge(5), any},
     "Ⅳ级B≥ 5m,一般无自稳定能力，定数日-数月内可发生松动变形、小塌方，进而发展为中~大塌方\r\n"
     "埋深小时，以拱部松动破坏为主，埋深大时，有明显塑性流动变形和挤压破坏"},
    {kClassIV, {any, lt(5)}, "Ⅳ级＜ 5m,可稳定数日至一个月"},
    {kClassV, {any, lt(5)}, "V级＜ 5m,无自稳能力，可稳定数日"},
    {kClassV, {ge(5), any}, "V级B≥ 5m,超出宽度范围,无相关统计值！"},
    {kClassVI, {any, any}, "无自稳能力"},
};

// Class into 编辑框1_素描剖面图绘制间距.
constexpr ItemRule kSketchSpacing[] = {
    {kClassI, "80~120m"}, {kClassII, "50~80m"}, {kClassIII, "40~50m"},
    {kClassIV, "15~25m"}, {kClassV, "10~15m"},  {kClassVI, "5~10m"},
};

} // namespace

void TunnelEvaluationShallowDepthBoundary()
{
    // Without a usable height and span there is no ratio and no Hp. Where
    // the formula does not apply there is no Hp to judge the cover by. In
    // both cases the verdict box shows "-", not the verdict of an earlier
    // calculation.
    const double H = read_number(kHeight), B = read_number(kSpan);
    if (std::isnan(H) || std::isnan(B)) {
        write_text(kBoundary, kNoResult);
        write_text(kDepthVerdict, kNoResult);
        return;
    }
    if (tol_ge(H / B, 1.7)) {
        write_text(kBoundary, kNotApplicable);
        write_text(kDepthVerdict, kNoResult);
        return;
    }
    const LoadHeight* row = find_row(kLoadHeight, item_of(kRockClass));
    // The pressure rate is a single-precision number: 0.100000001490116…
    const float i = tol_ge(B, 5) ? 0.1f : 0.2f;
    if (!row || !row->formula_applies) {
        write_text(kBoundary, kNotApplicable);
        write_text(kDepthVerdict, kNoResult);
        return;
    }
    const double hq = cmd_power(2, row->s - 1) * (1 + i * (B - 5)) * 0.45;
    const double Hp = hq * 2.5;
    // Hp is the least cover a deep tunnel has: it is shown rounded up to the
    // centimetre, so that no cover up to the boundary worked out is judged
    // deep (15.6105 m is 15.62, not 15.61). The single-precision rate lifts
    // Hp by less than 2e-8 of itself: within a relative 1e-7 above a
    // centimetre, Hp is that centimetre (19.0800002 is 19.08).
    write_text(kBoundary, cmd_to_text(round_places_up(Hp, 2, 1e-7)));
    // A cover that is no usable number, or a depth beyond the number range,
    // judges nothing.
    const double cover = read_number(kCover);
    if (!std::isfinite(Hp) || std::isnan(cover)) {
        write_text(kDepthVerdict, kNoResult);
        return;
    }
    if (tol_gt(cover, read_number(kBoundary))) write_text(kDepthVerdict, kDeep);
    if (tol_le(cover, read_number(kBoundary))) write_text(kDepthVerdict, kShallow);
}

void TunnelEvaluationClassifyCollapse()
{
    // The scale is the larger of the volume's and the height's class: both
    // must be known.
    const double V = read_number("编辑框1_塌方体积");
    const double h = read_number("编辑框1_塌方高度");
    bool matched = false;
    if (!std::isnan(V) && !std::isnan(h))
        for (const CollapseRule& row : kCollapseScale)
            if (row.volume.holds(V) || row.height.holds(h)) write_text("编辑框1_塌方规模判定", row.text), matched = true;
    if (!matched) write_text("编辑框1_塌方规模判定", kNoResult);
}

void TunnelEvaluationSelfStabilityText()
{
    // The span is taken in single precision, then compared as a double; a
    // span that is no usable number gives no text.
    const bool usable = !std::isnan(read_number(kSpan));
    const double B = cmd_to_float(text_of(kSpan));
    const std::string rock = item_of(kRockClass);
    bool matched = false;
    for (const SelfStability& row : kSelfStability)
        if (usable && rock == row.item && row.span.holds(B)) write_text("编辑框1_围岩自稳能力", row.text), matched = true;
    if (!matched) write_text("编辑框1_围岩自稳能力", kNoResult);
}

void monitoring_ranges()
{
    // Only a shallow tunnel has them; anything else ("深埋隧道", no formula,
    // no verdict) shows "-".
    constexpr const char* across = "编辑框1_横向检测范围";
    constexpr const char* along = "编辑框1_纵向检测范围";
    if (text_of(kDepthVerdict) == kShallow) {
        const double B = read_number(kSpan), H = read_number(kHeight), h0 = read_number("编辑框1_隧道埋深");
        write_text(across, cmd_to_text(1.5 * (B / 2 + H + h0)));
        write_text(along, cmd_to_text(1.5 * (H + h0)));
    } else {
        write_text(across, "-");
        write_text(along, "-");
    }
}

void TunnelEvaluationSketchSpacing()
{
    apply(kSketchSpacing, item_of(kRockClass), "编辑框1_素描剖面图绘制间距");
}

} // namespace tunnel_evaluation

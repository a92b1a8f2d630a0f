// The tunnel evaluation's middle block: reserved deformation, small spacing
// of separated bores, stagger of parallel faces, displacement level, the two
// stability verdicts, the break-through distance and the control distances
// of invert and lining.
#include "modules/excavation/tunnel_evaluation.h"
#include "modules/excavation/tunnel_evaluation_rules.h"

#include "app/registry.h"

#include <cmath>

namespace tunnel_evaluation {

using namespace ui;

namespace {

constexpr const char* kRockClass = "组合框1_围岩等级";
constexpr const char* kSpan = "编辑框1_隧道开挖宽度";
constexpr const char* kPillar = "编辑框1_两洞中岩柱净距";
constexpr const char* kSeparated = "单选框1_分离式隧道";
constexpr const char* kDesignDeformation = "编辑框1_设计预留变形量";
constexpr const char* kLimitDisplacement = "编辑框1_设计极限位移值";

// --- 1. reserved deformation ---------------------------------------------------------

struct ReservedDeformation {
    const char* item;
    const char* two_lanes;   // "两车道"
    const char* three_lanes; // "三车道"
};
constexpr ReservedDeformation kReservedDeformation[] = {
    {kClassI, "-", "-"},
    {kClassII, "-", "10~30mm"},
    {kClassIII, "20~50mm", "30~80mm"},
    {kClassIV, "50~80mm", "60~120mm"},
    {kClassV, "80~120mm", "100~150mm"},
    {kClassVI, "现场测量决定", "现场测量决定"},
};

// False when a design deformation is given but is no usable number: the
// limit displacement it would become is then unknown.
bool reserved_deformation()
{
    constexpr const char* out = "编辑框1_预留变形量";
    const std::string design = text_of(kDesignDeformation);
    if (!design.empty()) {
        if (std::isnan(read_number(kDesignDeformation))) {
            write_text(out, kNoResult);
            write_text(kLimitDisplacement, kNoResult);
            return false;
        }
        // The design's reserved deformation is the limit the displacement level is judged by.
        write_text(out, "按设计");
        write_text(kLimitDisplacement, design);
        return true;
    }
    write_text(out, "-");
    const std::string lanes = item_of("组合框1_车道设计");
    if (const ReservedDeformation* row = find_row(kReservedDeformation, item_of(kRockClass))) {
        if (lanes == "两车道") write_text(out, row->two_lanes);
        if (lanes == "三车道") write_text(out, row->three_lanes);
    }
    return true;
}

// While a design deformation is given, the calculation takes it as U': the
// U' box shows it as it is typed and takes no typing of its own; a design
// deformation that is no number of its domain ("-1", "1..5") is no limit,
// and U' shows "-". Without one, U' is the user's to type.
void follow_design_deformation(EventArgs&)
{
    const std::string design = text_of(kDesignDeformation);
    const bool given = !design.empty();
    if (given) write_text(kLimitDisplacement, std::isnan(read_number(kDesignDeformation)) ? kNoResult : design);
    rt_set_property(box(kLimitDisplacement), prop::EditBox::InputMode, given ? 1 : 10);
    rt_set_property(box(kLimitDisplacement), prop::EditBox::BackColor, given ? 0xC0C0C0 : 0xFFFFFF);
}

void register_design_deformation(Runtime& rt)
{
    rt.register_handler("TunnelEvaluationFollowDesignDeformation", follow_design_deformation);
}
JSB_HANDLERS(register_design_deformation)

// --- 2. small spacing -------------------------------------------------------------------

// The small-spacing limit k·B of each class and the limit's prefixes.
struct SmallSpacing {
    const char* item;
    double k;
    const char* below;     // B' < k·B
    const char* not_below; // B' ≥ k·B
};
constexpr SmallSpacing kSmallSpacing[] = {
    {kClassI, 1.0, "I级B'<", "I级B'≥"},
    {kClassII, 1.5, "Ⅱ级B'<", "Ⅱ级B'≥"},
    {kClassIII, 2.0, "Ⅲ级B'<", "Ⅲ级B'≥"},
    {kClassIV, 2.5, "Ⅳ级B'<", "Ⅳ级B'≥"},
    {kClassV, 3.5, "V级B'<", "V级B'≥"},
    {kClassVI, 4.0, "Ⅵ级B'<", "Ⅵ级B'≥"},
};

// Blast influence bands a·B and b·B below the limit, with the vibration-speed
// standard of each band; the other classes have none.
struct InfluenceBands {
    const char* item;
    double a, b;
    const char* severe;  // B' ≤ a·B: "严重影响"
    const char* general; // a·B < B' ≤ b·B: "一般影响"
    const char* slight;  // b·B < B' < k·B: "轻微影响"
};
constexpr InfluenceBands kInfluenceBands[] = {
    {kClassIII, 0.375, 0.75, "80-100mm/s", "100-120mm/s", "150-200mm/s"},
    {kClassIV, 0.5, 1.0, "50-80mm/s", "80-100mm/s", "100-150mm/s"},
    {kClassV, 0.75, 1.5, "<50mm/s", "50-80mm/s", "80-100mm/s"},
};

constexpr const char* kSpacingVerdict = "编辑框1_小净距计算";
constexpr const char* kSpacingLimit = "编辑框1_小净距限值";
constexpr const char* kInfluence = "编辑框1_小净距影响程度";
constexpr const char* kSpeedStandard = "编辑框1_小净距震动速度控制标准值";

void influence(const SmallSpacing& spacing, double B, double pillar)
{
    const InfluenceBands* bands = find_row(kInfluenceBands, spacing.item);
    if (!bands) {
        write_text(kInfluence, "-");
        write_text(kSpeedStandard, "-");
        return;
    }
    struct Band {
        Range pillar;
        const char* influence;
        const char* speed;
    };
    const Band table[] = {
        {{any, le(bands->a * B)}, "严重影响", bands->severe},
        {{gt(bands->a * B), le(bands->b * B)}, "一般影响", bands->general},
        {{gt(bands->b * B), lt(spacing.k * B)}, "轻微影响", bands->slight},
    };
    for (const Band& band : table) {
        if (band.pillar.holds(pillar)) {
            write_text(kInfluence, band.influence);
            write_text(kSpeedStandard, band.speed);
        }
    }
}

void small_spacing()
{
    const char* const outs[] = {kSpacingVerdict, kInfluence, kSpeedStandard, kSpacingLimit};
    if (!radio_selected(kSeparated) || text_of(kPillar).empty()) {
        for (const char* out : outs) write_text(out, "-");
        return;
    }
    // No class, no limit to judge the pillar by; no usable span or pillar
    // width, no judgement either.
    const SmallSpacing* spacing = find_row(kSmallSpacing, item_of(kRockClass));
    const double B = spacing ? read_number(kSpan) : 0;
    const double pillar = spacing ? read_number(kPillar) : 0;
    const double limit = spacing ? spacing->k * B : 0;
    if (!spacing || !std::isfinite(limit) || std::isnan(pillar)) {
        for (const char* out : outs) write_text(out, kNoResult);
        return;
    }
    if (tol_lt(pillar, limit)) {
        write_text(kSpacingVerdict, "属于");
        write_text(kSpacingLimit, spacing->below + cmd_to_text(limit));
        influence(*spacing, B, pillar);
    }
    if (tol_ge(pillar, limit)) {
        write_text(kSpacingVerdict, "不属于");
        write_text(kSpacingLimit, spacing->not_below + cmd_to_text(limit));
        write_text(kInfluence, "-");
        write_text(kSpeedStandard, "-");
    }
}

// --- 3. stagger of parallel faces ----------------------------------------------------------

void stagger_distance()
{
    const double distance = 2 * read_number(kSpan);
    write_text("编辑框1_错开距离", std::isfinite(distance) ? "≥" + cmd_to_text(distance) + "m" : kNoResult);
}

// --- 4. displacement level -----------------------------------------------------------------

constexpr const char* kLevel = "编辑框1_位移管理等级";
constexpr const char* kState = "编辑框1_施工状态";
constexpr const char* kTrendVerdict = "编辑框1_围岩稳定状态判断2";
constexpr const char* kRatioVerdict = "编辑框1_围岩稳定状态判断3";

// A verdict box without a verdict: "-" in the form's normal black text on
// its normal background, where no colour reads as a verdict (and black
// text on the verdicts' black background would not show at all).
void no_verdict(const char* out)
{
    set_text_color(out, kBlack);
    set_back_color(out, ui::kButtonFace);
    write_text(out, kNoResult);
}

// `limit_known`: the design deformation, when one is given, is a usable number.
void displacement_level(bool limit_known)
{
    for (const char* verdict : {kLevel, kState, kTrendVerdict, kRatioVerdict}) set_back_color(verdict, kBlack);
    // Without a measurement and a limit (an empty box, "-", "-0", zero, a
    // negative or no finite number) there is nothing to grade: no level may
    // tell the site it can go on as normal, nor raise an alarm.
    const double U = read_number("编辑框1_实测位移值");
    const double limit = read_number(kLimitDisplacement);
    const double third = limit / 3, two_thirds = (limit * 2) / 3;
    if (!limit_known || std::isnan(U) || !std::isfinite(third) || !std::isfinite(two_thirds)) {
        no_verdict(kLevel);
        no_verdict(kState);
        return;
    }
    struct Level {
        Range U;
        const char* level;
        const char* state;
        int32_t color;
    };
    const Level table[] = {
        {{any, lt(third)}, "Ⅲ级", "可正常施工", kGreen},
        {{ge(third), le(two_thirds)}, "Ⅱ级", "应加强支护", kYellow},
        {{gt(two_thirds), any}, "I级", "应采取特殊措施", kRed},
    };
    for (const Level& row : table) {
        if (row.U.holds(U)) {
            write_text(kLevel, row.level);
            set_text_color(kLevel, row.color);
            write_text(kState, row.state);
            set_text_color(kState, row.color);
        }
    }
}

// --- 5 and 6. stability verdicts from list choices -------------------------------------------

struct ColouredVerdict {
    const char* item;
    int32_t color;
    const char* text;
};

// 组合框1_位移速率变化趋势判断 into 编辑框1_围岩稳定状态判断2.
constexpr ColouredVerdict kTrend[] = {
    {"持续下降时", kGreen, "围岩处于稳定状态"},
    {"保持不变时", kYellow, "围岩尚不稳定 ,应加强支护"},
    {"变化上升时", kRed, "围岩处于危险状态 ,必须立即停止掘进 ,采取应急措施"},
};

// 组合框1_稳定判断3 into 编辑框1_围岩稳定状态判断3.
constexpr ColouredVerdict kSupportRatio[] = {
    {"≥0.8时", kYellow, "围岩不稳定 ,应加强支护"},
    {"＜0.8时", kGreen, "围岩处于稳定状态"},
};

template <std::size_t N>
void coloured_verdict(const ColouredVerdict (&table)[N], const char* list, const char* out)
{
    const std::string item = item_of(list);
    bool matched = false;
    for (const ColouredVerdict& row : table) {
        if (item != row.item) continue;
        set_text_color(out, row.color);
        write_text(out, row.text);
        matched = true;
    }
    // The trend list's empty item judges nothing: the earlier verdict goes.
    if (!matched) no_verdict(out);
}

// --- 7 and 8. control distances ------------------------------------------------------------

void break_through_distance()
{
    write_text("编辑框1_隧道双向贯通控制距离", radio_selected(kSeparated) ? "15-30m时，改为单向开挖" : "-");
}

struct ControlDistances {
    const char* item;
    const char* invert_length; // 编辑框1_拱单次开挖长度控制距离
    const char* invert_to_face; // 编辑框1_仰拱至掌子面的控制距离
    const char* lining_to_face; // 编辑框1_二衬至掌子面的距离控制
};
constexpr ControlDistances kControlDistances[] = {
    {kClassI, "-", "-", "-"},
    {kClassII, "-", "-", "-"},
    {kClassIII, "-", "不超过90m", "-"},
    {kClassIV, " 不大于3.0m且不得分幅", "不超过50m", "不超过90m"},
    {kClassV, " 不大于3.0m且不得分幅", "不超过40m", "不超过70m"},
    {kClassVI, " 不大于3.0m且不得分幅", "-", "-"},
};

void control_distances()
{
    const ControlDistances* row = find_row(kControlDistances, item_of(kRockClass));
    write_text("编辑框1_拱单次开挖长度控制距离", row ? row->invert_length : kNoResult);
    write_text("编辑框1_仰拱至掌子面的控制距离", row ? row->invert_to_face : kNoResult);
    write_text("编辑框1_二衬至掌子面的距离控制", row ? row->lining_to_face : kNoResult);
}

} // namespace

void judge_deformation_and_stability()
{
    const bool limit_known = reserved_deformation();
    small_spacing();
    stagger_distance();
    displacement_level(limit_known);
    coloured_verdict(kTrend, "组合框1_位移速率变化趋势判断", kTrendVerdict);
    coloured_verdict(kSupportRatio, "组合框1_稳定判断3", kRatioVerdict);
    break_through_distance();
    control_distances();
}

} // namespace tunnel_evaluation

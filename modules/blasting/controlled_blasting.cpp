#include "modules/blasting/controlled_blasting.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/blasting/safe_rounding.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace controlled_blasting {

using namespace ui;

namespace {

Ref box(const char* name) { return U(kForm, name); }
double read_number(const char* name) { return ui::read_number(box(name)); }
// A result written by an earlier step: "-" stays without a value.
double read_result(const char* name) { return ui::read_result(box(name)); }
void write_text(const char* name, const std::string& text) { set_control_text(box(name), text); }

// The allowed vibration velocities (cm/s) of a protected object by frequency
// band and the velocity proposed as V'. Texts are written as they stand here,
// leading blanks included.
struct ProtectedObject {
    const char* item;       // item text of 选择列表框1
    const char* bands[3];   // 标签4a, 标签5a, 标签6a
    const char* velocity;   // 编辑框_地面振动速度控制选取值
};
// The first twelve rows are the national standard's frequency bands; the last
// four come from reference values and grade the velocity instead.
constexpr int kStandardRows = 12;
const ProtectedObject kProtectedObjects[] = {
    {"土窑洞、土坯房、毛石房屋", {"0.15～0.45", "0.45～0.9", "0.9～1.5"}, "0.15"},
    {"一般民用建筑物", {"1.5～2.0", "2.0～2.5", "2.5～3.0"}, " 1.5"},
    {"工业和商业建筑物", {"2.5～3.5", "3.5～4.5", "4.2～5.0"}, " 2.5"},
    {"一般古建筑与古迹", {"0.1～0.2", "0.2～0.3", "0.3～0.5"}, " 0.1"},
    {"运行中的水电站及发电厂中心控制室设备", {"0.5～0.6", "0.6～0.7", "0.7～0.9"}, " 0.5"},
    {"水工隧洞", {"7～8", "8～10", "10～15"}, "7"},
    {"交通隧道", {"10～12", "12～15", "15～20"}, "10"},
    {"矿山巷道", {"15～18", "18～25", "20～30"}, " 15"},
    {"永久性岩石高边坡", {"5～9", "8～12", "10～15"}, " 5"},
    {"新浇大体积混凝土(C20)龄期：初凝～3d", {"1.5～2.0", "2.0～2.5", "2.5～3.0"}, " 1.5"},
    {"新浇大体积混凝土(C20)龄期：3d～7d", {"3.0～4.0", "4.0～5.0", "5.0～7.0"}, " 3"},
    {"新浇大体积混凝土(C20)龄期：7d～28d", {"7.0～8.0", "8.0～10.0", "10.0～12"}, "7"},
    {"砖混房屋[此项非国标，参考值]", {"＜1.0", "1.0～2.0", "2.0～3及以上"}, " 1"},
    {"框架房屋[此项非国标，参考值]", {"＜2.0", "2.0～3.0", "3.0～5及以上"}, " 2"},
    {"加油(气)站[此项非国标，参考值]", {"＜0.50", "0.5～1.0", "1.0～2及以上"}, "0.5"},
    {"管线(燃气、供水)[此项非国标，参考值]", {"＜5.0", "5.0～6.0", "6及以上"}, "5"},
};
const char* const kFrequencyHeadings[3] = {"f≤10Hz", "10Hz＜f≤50Hz", "f＞50Hz"};
const char* const kGradeHeadings[3] = {"合格", "基本合格", "超标"};
const char* const kBandBoxes[3] = {"标签4a", "标签5a", "标签6a"};
const char* const kHeadingBoxes[3] = {"标签4b", "标签5b", "标签6b"};

// The K and α ranges of a rock and the values proposed for K' and α.
struct RockHardness {
    const char* item; // item text of 选择列表框2
    const char* k_range;
    const char* alpha_range;
    const char* k;
    const char* alpha;
};
const RockHardness kRocks[] = {
    {"坚硬岩石", "50～150", "1.3～1.5", "100", "1.4"},
    {"中硬岩石", "150～250", "1.5～1.8", " 200", "1.65"},
    {"软岩石", "250～350", "1.8～2.0", " 300", " 1.9"},
};

// The boxes of the seven hole groups, in the order the calculation fills
// them: reduced K, charge per delay in kg, the same in g.
struct HoleGroup {
    const char* k;
    const char* kg;
    const char* g;
};
const HoleGroup kGroups[] = {
    {"周边眼1", "周边眼2", "周边眼3"},   {"掏槽眼1", "掏槽眼2", "掏槽眼3"},     {"辅助孔1", "辅助孔2", "辅助孔3"},
    {"底板孔1", "底板孔2", "底板孔3"},   {"次周边a1", "次周边a2", "次周边a3"}, {"辅助孔a1", "辅助孔a2", "辅助孔a3"},
    {"周边眼a1", "周边眼a2", "周边眼a3"},
};

// Q^(1/3): the double nearest to one third.
constexpr double kOneThird = 0.3333333333333333;

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"选择列表框1", "本表中非国标为国标不含，其取值不应低于国\r\n标，砖混房屋、框架房屋、加油气站、管线燃\r\n气供水 "
                        "其对应振动限值均来自于《城市浅埋\r\n隧道原理及设计》中的取值！"},
        {"编辑框_地面振动速度控制选取值",
         "城市浅埋隧道、控制爆破主要考虑爆破振动速\r\n度满足《爆破振动安全允许标准B6722-2014》要求"},
        {"分组框6", "根据方案实际单段药量反算校验合规情况 (不支持距离反算)"},
        {"分组框5", "最大单段控制药量/单孔装药量=孔数   可分多个孔装"},
        {"编辑框_进一步衰减值", "没有设置减震孔不填"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

// The hidden check box holds the lists' single-choice switch; each list then
// keeps at most one ticked item.
void set_up()
{
    rt_set_property(box("选择框"), prop::CheckBox::Checked, true);
    const Value single = rt_get_property(box("选择框"), prop::CheckBox::Checked);
    rt_set_property(box("选择列表框1"), prop::ChkListBox::SingleCheck, single);
    rt_set_property(box("选择列表框2"), prop::ChkListBox::SingleCheck, single);
    attach_tips();
}

// The ticked protected object, -1 when none is ticked.
int ticked_object()
{
    const Ref list = box("选择列表框1");
    const int n = int(cmd_list_count(list));
    for (int i = 0; i < n; ++i)
        if (cmd_checklist_is_checked(list, i)) return i;
    return -1;
}

// Ticking an object shows its allowed velocities and proposes its V'.
// Unticking it leaves no object chosen: its bands go, the headings return
// to the frequency bands, and V' stays what it was (the user's value now).
// Moving the highlight while an object stays ticked changes nothing.
void select_protected_object(EventArgs&)
{
    const Ref list = box("选择列表框1");
    const int ticked = ticked_object();
    if (ticked < 0) {
        write_text("标签引用a", "");
        for (int b = 0; b < 3; ++b) write_text(kBandBoxes[b], "");
        for (int b = 0; b < 3; ++b) write_text(kHeadingBoxes[b], kFrequencyHeadings[b]);
        cmd_set_focus(box("图片框1"));
        return;
    }
    const std::string item = cmd_list_item_text(list, ticked);
    if (item != control_text(box("标签引用a"))) {
        set_control_text(box("标签引用a"), item);
        for (int row = 0; row < int(std::size(kProtectedObjects)); ++row) {
            const ProtectedObject& o = kProtectedObjects[row];
            if (item != o.item) continue;
            const char* const* headings = row < kStandardRows ? kFrequencyHeadings : kGradeHeadings;
            for (int b = 0; b < 3; ++b) write_text(kBandBoxes[b], o.bands[b]);
            for (int b = 0; b < 3; ++b) write_text(kHeadingBoxes[b], headings[b]);
            write_text("编辑框_地面振动速度控制选取值", o.velocity);
        }
    }
    cmd_set_focus(box("图片框1"));
}

void select_rock_hardness(EventArgs&)
{
    set_control_text(box("标签引用b"), current_item_text(box("选择列表框2")));
    for (const RockHardness& r : kRocks) {
        if (current_item_text(box("选择列表框2")) != r.item) continue;
        write_text("标签17", r.k_range);
        write_text("标签16", r.alpha_range);
        write_text("编辑框_地质条件K值确定", r.k);
        write_text("编辑框_衰减系数", r.alpha);
    }
    cmd_set_focus(box("图片框1"));
}

// An attenuation in percent. The tip says to leave the damping-hole box
// empty when there are none, so an empty box means no attenuation. 100 % or
// more would leave no site coefficient: no figure can be built on it.
double percent(const char* name)
{
    if (control_text(box(name)).empty()) return 0;
    const double p = read_number(name);
    if (!(p < 100)) {
        calculation_refused();
        return std::numeric_limits<double>::quiet_NaN();
    }
    return p;
}

// A reduced site coefficient: one that is no positive number has no meaning
// in the relation and shows "-", as does every charge built on it.
void write_k(const char* name, double k) { write_number(box(name), k > 0 ? k : std::numeric_limits<double>::quiet_NaN()); }

Worked worked_;

// An attenuation as the calculation uses it, noted for the report.
double used_percent(const char* name)
{
    const double p = percent(name);
    worked_.percents[name] = number_to_text(p);
    return p;
}

// 1 − p/100, the share of the vibration left after an attenuation of p %.
double remaining(const char* percent_box) { return 1 - used_percent(percent_box) / 100; }

// Largest charge per delay for the velocity V' at the distance R':
// Q = R'^3 · (V' / K)^(3/α), K being the group's reduced site coefficient.
void calculate()
{
    // The report names the protected object the charges were worked for.
    const int ticked = ticked_object();
    if (ticked >= 0) worked_.protected_object = cmd_list_item_text(box("选择列表框1"), ticked);
    if (!worked_.protected_object.empty())
        for (int b = 0; b < 3; ++b) worked_.band_headings[b] = control_text(box(kHeadingBoxes[b]));

    const double k0 = read_number("编辑框_地质条件K值确定");
    write_k("周边眼1", (k0 * remaining("编辑框_周边眼预裂爆破衰减预计值")) * remaining("编辑框_进一步衰减值"));
    write_k("掏槽眼1", k0 * remaining("编辑框_掏槽眼衰减预计值"));
    // Auxiliary, floor and inner-perimeter holes share one attenuation.
    for (const char* k : {"辅助孔1", "底板孔1", "次周边a1"}) write_k(k, k0 * remaining("编辑框_各种衰减"));
    write_k("辅助孔a1", k0 * remaining("编辑框1_辅助孔衰减预计值"));
    write_k("周边眼a1", k0 * remaining("编辑框1_次周边眼衰减预计值"));

    const double r = read_number("编辑框_爆破振动安全允许距离R");
    const double v = read_number("编辑框_地面振动速度控制选取值");
    const double alpha = read_number("编辑框_衰减系数");
    worked_.velocity = number_to_text(v);
    double charges[std::size(kGroups)];
    for (size_t i = 0; i < std::size(kGroups); ++i) {
        const HoleGroup& g = kGroups[i];
        const double a = cmd_power(r, 3);
        const double b = v / read_result(g.k);
        const double e = 3 / alpha;
        charges[i] = a * cmd_power(b, e);
        // An allowed charge: never printed above what the formula allows.
        write_number(box(g.kg), blasting::allowed_maximum(charges[i]));
        if (i == 0) worked_.peripheral_charge_sign = report::result_sign(charges[i], control_text(box(g.kg)));
    }
    // The grams come from the charge itself, in whole grams it allows: a
    // charge printed to fewer digits would give 20 g for 19.14 g.
    for (size_t i = 0; i < std::size(kGroups); ++i) {
        const HoleGroup& g = kGroups[i];
        write_number(box(g.g), std::isfinite(read_result(g.kg)) ? round_places_down(charges[i] * 1000, 0)
                                                                 : std::numeric_limits<double>::quiet_NaN());
        // A charge without a value leaves a row with nothing to report.
        if (!std::isfinite(read_result(g.g))) calculation_refused();
    }
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture, lamp, 500 ms before restoring
    app::compute_begin(kForm, style);
    worked_ = {};
    calculate();
    app::compute_end(kForm, style);
}

// --- back-check ---------------------------------------------------------------------------
// Only typing starts a back-check: each handler runs while its own box has the
// focus, so the boxes the handlers write themselves start nothing.

constexpr const char* kBackAlpha = "编辑框2_衰减系数";
constexpr const char* kBackK = "编辑框2_地质条件K";
constexpr const char* kBackR = "编辑框2_保护距离R";
constexpr const char* kBackVelocity = "编辑框2_振动速度";
constexpr const char* kBackCharge = "编辑框2_最大单段药量";

bool typed_into(const EventArgs& e, const char* name)
{
    if (e.control) return cmd_has_focus(U(kForm, e.control->name));
    return cmd_has_focus(box(name));
}

// V = (Q^(1/3) / R)^α · K and Q = R^3 · (V / K)^(3/α), evaluated in that
// order. The back-check shows V to 2 decimals and Q, an allowed charge,
// rounded down as the table's charges are.
double velocity_of(double q, double r, double alpha, double k) { return cmd_power(cmd_power(q, kOneThird) / r, alpha) * k; }
double charge_of(double v, double r, double alpha, double k)
{
    const double a = cmd_power(r, 3);
    const double b = v / k;
    const double e = 3 / alpha;
    return a * cmd_power(b, e);
}

// Which of the charge and the velocity the user gave last; the other is
// worked from it. The starting texts work 5.07 kg from 5.0 cm/s.
bool charge_given_ = false;
void forget_given() { charge_given_ = false; }

void back_velocity()
{
    write_rounded(box(kBackVelocity), velocity_of(read_number(kBackCharge), read_number(kBackR), read_number(kBackAlpha),
                                                  read_number(kBackK)),
                  2);
}

// The distance is never solved for.
void back_charge()
{
    write_number(box(kBackCharge), blasting::allowed_maximum(charge_of(read_number(kBackVelocity), read_number(kBackR),
                                                                        read_number(kBackAlpha), read_number(kBackK))));
}

// With K, α or R outside its domain nothing can be worked out: the figure
// worked from the one the user gave shows "-" (a figure of the earlier
// coefficients would read as a back-check of these), and the one given
// stays. True when that was the case.
bool coefficient_refused()
{
    for (const char* b : {kBackAlpha, kBackK, kBackR}) {
        if (!std::isnan(read_number(b))) continue;
        set_control_text(box(charge_given_ ? kBackVelocity : kBackCharge), "-");
        return true;
    }
    return false;
}

void back_calc_velocity(EventArgs& e)
{
    if (!typed_into(e, kBackCharge)) return;
    charge_given_ = true;
    back_velocity();
}

// A typed velocity gives the charge. A typed distance works the figure the
// user did not give from the one given: the charge from the velocity, or
// the velocity from a charge typed.
void back_calc_charge(EventArgs& e)
{
    if (!typed_into(e, kBackVelocity)) return;
    if (e.control && e.control->name == kBackVelocity) charge_given_ = false;
    if (coefficient_refused()) return;
    if (charge_given_) back_velocity();
    else back_charge();
}

// A new K or α: the velocity from a charge the user gave; otherwise Q from
// the velocity first, then V from the Q just shown. V is the user's own
// input there, so it is recomputed only from a charge with a positive
// value: a K or α emptied on the way to retyping it gives no charge, and
// the velocity the user set stays.
void back_calc_charge_and_velocity(EventArgs& e)
{
    if (!typed_into(e, kBackAlpha)) return;
    if (coefficient_refused()) return;
    if (charge_given_) {
        back_velocity();
        return;
    }
    back_charge();
    const double q = read_result(kBackCharge);
    if (std::isfinite(q) && q > 0) back_velocity();
}

void export_report(EventArgs&) { report::RunReportExport(export_request()); }

void register_controlled_blasting(Runtime& rt)
{
    rt.register_handler("ControlledBlastingSelectProtectedObject", select_protected_object);
    rt.register_handler("ControlledBlastingSelectRockHardness", select_rock_hardness);
    rt.register_handler("ControlledBlastingCompute", compute);
    rt.register_handler("ControlledBlastingExportReport", export_report);
    rt.register_handler("ControlledBlastingBackCalcVelocity", back_calc_velocity);
    rt.register_handler("ControlledBlastingBackCalcCharge", back_calc_charge);
    rt.register_handler("ControlledBlastingBackCalcChargeAndVelocity", back_calc_charge_and_velocity);
}

} // namespace

const Worked& worked() { return worked_; }

namespace {

// Why a back-check box gives no number, in words.
std::string refusal_of(const char* name, const char* label)
{
    std::string shown = control_text(box(name));
    shown.erase(0, shown.find_first_not_of(" \t\r\n"));
    shown.erase(shown.find_last_not_of(" \t\r\n") + 1);
    const double x = plain_number(shown);
    if (shown.empty()) return std::string(label) + " 未填写";
    if (shown == "-") return std::string(label) + " 无数值";
    if (std::isnan(x)) return std::string(label) + " 的输入“" + shown + "”不是一个数值";
    if (!std::isfinite(x)) return std::string(label) + " 的输入“" + shown + "”超出数值范围";
    return std::string(label) + " 为 " + shown + "，应大于 0";
}

// Whether `worked` prints as `printed` to 2 decimals (or the more digits the
// printed text carries).
bool prints_as(double worked, const std::string& printed)
{
    const double p = plain_number(printed);
    const size_t point = printed.find('.');
    const int places = std::max(2, point == std::string::npos ? 0 : int(printed.size() - point - 1));
    return std::fabs(worked - p) <= 0.5 * std::pow(10.0, -places) * (1 + 1e-9);
}

} // namespace

BackCheck back_check()
{
    const double limit = text_to_number(worked_.velocity);
    if (!std::isfinite(limit)) return {};
    BackCheck b;
    b.heading = "4.4 单段药量校验";
    const std::pair<const char*, const char*> boxes[] = {
        {kBackAlpha, "衰减系数 α"}, {kBackK, "地质条件 K"}, {kBackR, "保护距离 R"},
        {kBackVelocity, "振动速度 V"}, {kBackCharge, "最大单段药量 Qmax"},
    };
    std::string refused;
    for (const auto& [name, label] : boxes)
        if (std::isnan(read_number(name))) refused += (refused.empty() ? "" : "；") + refusal_of(name, label);
    if (!refused.empty()) {
        b.not_made = "本次未进行单段药量校验：校验栏中" + refused + "，无法反算。";
        return b;
    }
    const double q = read_number(kBackCharge), v = read_number(kBackVelocity);
    const double r = read_number(kBackR), alpha = read_number(kBackAlpha), k = read_number(kBackK);
    const double v_worked = velocity_of(q, r, alpha, k), q_worked = charge_of(v, r, alpha, k);
    const std::string v_text = number_to_text(v), q_text = number_to_text(q);
    // The figure the user gave stays; the other was worked from it.
    const bool v_from_q = prints_as(v_worked, control_text(box(kBackVelocity)));
    const bool q_from_v = std::fabs(blasting::allowed_maximum(q_worked) - q) <= 1e-9 * q;
    double v_judged = v;
    if (v_from_q && (charge_given_ || !q_from_v)) {
        b.velocity_sign = report::result_sign(v_worked, v_text);
        b.intro = "以计划的单段药量反算被保护建筑处的振动速度（K、α、R 取校验值）：";
        v_judged = v_worked;
    } else if (q_from_v) {
        b.charge_sign = report::result_sign(q_worked, q_text);
        b.intro = "按校验振动速度反算对应的单段药量（K、α、R 取校验值）：";
    } else {
        b.not_made = "本次未进行单段药量校验：校验栏中的单段药量 Q = " + q_text + " kg 与振动速度 V = " + v_text +
                     " cm/s 不是以同一组 K、α、R 相互反算得出的。";
        return b;
    }
    // Judged on the velocity worked out; where its printed figure would read
    // the other way, the verdict gives the figure it was judged on.
    const bool within = tol_le(v_judged, limit);
    const std::string v_stated =
        tol_le(v, limit) == within ? "V = " + v_text : "V ≈ " + number_to_text_digits(v_judged, 6);
    const std::string figures = "单段药量 Q = " + q_text + " kg 时，被保护建筑处振动速度 " + v_stated + " cm/s，";
    const std::string against = "地面振动速度控制选取值 V' = " + worked_.velocity + " cm/s";
    b.verdict = within ? figures + "不大于" + against + "，满足振速控制要求。"
                       : figures + "大于" + against + "，不满足振速控制要求，应减小单段药量（分孔、分段起爆）后重新校验。";
    return b;
}

std::string no_protected_object_note()
{
    if (!worked_.protected_object.empty()) return {};
    return "本次计算未选定需重点保护的对象，各部位最大单段药量按输入的地面振动速度控制选取值 V' = " + worked_.velocity +
           " cm/s 计算。";
}

JSB_HANDLERS(register_controlled_blasting)
// The shell's created handler embeds the form and enables its export button;
// the single-choice lists and the tips follow.
JSB_MODULE_SETUP(ControlledBlasting, set_up)
// A new form starts from its starting texts: the charge worked from the velocity.
JSB_MODULE_SETUP(ControlledBlasting, forget_given)

} // namespace controlled_blasting

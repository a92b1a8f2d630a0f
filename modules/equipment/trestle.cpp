// The trestle bridge's beam check and the consistency tests that follow it.
#include "modules/equipment/trestle.h"

#include "app/main_window.h"
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>
#include <string>

namespace trestle {

using namespace ui;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

Ref box(const char* name) { return U(kForm, name); }

// Whether an input the running calculation read held no usable number.
bool g_unusable = false;
// The support reaction R_A of the bending case as the calculation that
// produced the shown results worked it out (no box shows it), and the
// figure before its rounding to 2 places.
double g_reaction = kNone;
double g_reaction_worked = kNone;

// An input of the check, with the domain the form gives it: empty, "-",
// zero or negative where the formula needs more, or a number too large for
// a double reads as no value, and nothing built on it is a figure.
double in(const char* name)
{
    const double x = read_number(box(name));
    if (std::isnan(x)) g_unusable = true;
    return x;
}
// A box as the weight and length tests read it: empty or not a number
// counts 0, a "-" (a value that was not finite) stays no value.
double plain(const char* name)
{
    const std::string t = control_text(box(name));
    return t == "-" ? kNone : number_in_domain(t, Domain::Unchecked);
}

// Each result is written rounded and read back by the later steps, which so
// work with the value the user sees.
void result(const char* name, double x, int places) { write_rounded(box(name), x, places); }
double shown(const char* name) { return read_result(box(name)); }

// A check passes when the value does not exceed its limit by more than the
// tolerance. A value or limit that is not a number gives no verdict, and
// neither does a check with an input that is none: it checks no bridge.
void verdict(const char* name, double value, double limit)
{
    if (g_unusable || !std::isfinite(value) || !std::isfinite(limit)) return set_control_text(box(name), "-");
    set_control_text(box(name), tol_le(value, limit) ? kPass : kFail);
}

const char* const kVerdicts[] = {"编辑框2_强度计算结论", "编辑框2_剪应力计算结论", "编辑框2_挠度验算前轮", "编辑框2_挠度验算后轮"};
constexpr const char* kOverall = "编辑框2_总体评定结论";

const char* const kResults[] = {
    "编辑框2_P1", "编辑框2_P2", "编辑框2_P3", "编辑框2_M重", "编辑框2_MP1", "编辑框2_MP2",
    "编辑框2_MP3", "编辑框2_Mmax", "编辑框2_小q", "编辑框2_重Q重", "编辑框2_汽Q", "编辑框3_Qmax单根",
    "编辑框2_最大应力", "编辑框2_安全系数", "编辑框2_剪应力强度", "编辑框2_f工字钢", "编辑框2_后轮fmax", "编辑框2_前轮fmax",
    "编辑框2_强度计算结论", "编辑框2_剪应力计算结论", "编辑框2_挠度验算前轮", "编辑框2_挠度验算后轮", "编辑框2_总体评定结论",
};

// The inputs disagree with one another: the check stands on nothing, so it
// gives no verdict and no report.
void withdraw_verdicts()
{
    for (const char* v : kVerdicts) set_control_text(box(v), "-");
    set_control_text(box(kOverall), "-");
    calculation_refused();
}

// The vehicle table the report states. A row with a figure in any of its
// boxes is a vehicle: each figure it gives is read under its box's domain
// ("-" or an empty box is a figure the row has none of, as a tracked
// vehicle has no tyres), and it must give its loaded weight. The first row
// in use without one, 0 for none: counted as 0 t, an 80 t vehicle mistyped
// "-" would be checked as the next heaviest one and pass. A row of "-"
// alone (其它, or the last row as the form opens) describes no vehicle,
// whatever kind its list shows.
int read_vehicle_rows()
{
    int without_weight = 0;
    for (int row = 1; row <= 5; ++row) {
        const std::string n = std::to_string(row);
        // (every box is read: a change to any of them is a change to what
        // the report states)
        bool used = false;
        for (const char* column : kRowColumns) used = !says_nothing(control_text(U(kForm, column + n))) || used;
        if (!used) continue;
        for (const char* column : kRowColumns) {
            const std::string name = column + n;
            const bool weight = name == "编辑框1_重载重量" + n;
            if (!weight && says_nothing(control_text(box(name.c_str())))) continue;
            if (std::isnan(in(name.c_str())) && weight && !without_weight) without_weight = row;
        }
    }
    return without_weight;
}

// R_A = (P3·d + P2·(c + d) + P1·(b + c + d)) / L, kN, before rounding.
double reaction_at_a(double P1, double P2, double P3, double b, double c, double d, double L)
{
    return (P3 * d / 1000 + P2 * (c + d) / 1000 + P1 * (d + c + b) / 1000) / (L / 1000);
}

} // namespace

void calculate()
{
    g_unusable = false;
    // The vehicle table and the section's name stand in the report too: a
    // change to them after the check is a change to what the report states.
    for (int row = 1; row <= 5; ++row) current_item_text(U(kForm, "组合框" + std::to_string(row)));
    current_item_text(U(kForm, "列表框1"));
    if (const int row = read_vehicle_rows()) {
        const std::string n = std::to_string(row);
        cmd_message_box("第" + n + "行通行设备（" + current_item_text(U(kForm, "组合框" + n)) +
                            "）的总重量不是大于零的数值，无法确定最重设备，请查证！",
                        0, "信息：", app::kMainForm);
        clear_results();
        calculation_refused("第" + n + "行通行设备的总重量须为大于0的数");
        return;
    }

    // The heaviest vehicle. Its weight and axle loads are the figures the
    // report states beside the check: they must be figures, and belong to
    // the results shown.
    in("编辑框1_最重");
    const double wheelbase = in("编辑框1_轴距"), spacing = in("编辑框1_后桥轴距a"); // mm
    in("编辑框1_前桥重量");
    in("编辑框1_后桥重量");
    const double G1 = in("编辑框1_单前轮受重"); // t
    const double G2 = in("编辑框1_单后轮受重"); // t, each of the two rear axles
    // The bridge.
    in("编辑框1_栈桥总长");
    const double L = in("编辑框1_栈桥净跨"); // mm
    for (const char* stated : {"编辑框1_单侧搭接长度", "编辑框1_单片梁宽度", "编辑框1_梁轴线宽度", "编辑框1_栈桥总宽度"}) in(stated);
    const double n = in("编辑框1_工字钢梁数");
    // The section and the steel.
    const double mass = in("编辑框1_质量");  // kg/m
    const double Wx = in("编辑框1_Wx");      // cm3
    in("编辑框1_Ix");                        // cm4, as Sx·(Ix/Sx) below
    const double Sx = in("编辑框1_Sx");      // cm3
    const double IxSx = in("编辑框1_除Sx");  // cm
    const double web = in("编辑框1_d");      // mm
    const double f = in("编辑框1_抗拉强度");  // MPa
    const double tau = in("编辑框1_抗拉强度2"); // MPa
    const double E = in("编辑框1_E");        // N/mm2
    // The load positions: 0 is a load over a support; b and b' are the
    // wheelbase, which no vehicle has of 0.
    const double a = in("编辑框1_a0"), b = in("编辑框1_b0"), c = in("编辑框1_c0"), d = in("编辑框1_d0");
    const double a1 = in("编辑框1_a1"), b1 = in("编辑框1_b1"), c1 = in("编辑框1_c1");
    // The deflections are those of the vehicle standing on the span: with
    // its axles or its place on the bridge unknown, there is no such vehicle
    // to check, whatever figure the formula would give.
    const bool placed = !std::isnan(wheelbase + spacing + a + b + c + d + a1 + b1 + c1);

    // Wheel loads, kN; both rear wheels carry the same load.
    result("编辑框2_P1", G1 * 9.8, 2);
    result("编辑框2_P2", G2 * 9.8, 2);
    result("编辑框2_P3", G2 * 9.8, 2);
    const double P1 = shown("编辑框2_P1"), P2 = shown("编辑框2_P2"), P3 = shown("编辑框2_P3");

    // Self-weight of one I-beam per metre and its moment at mid-span.
    result("编辑框2_小q", mass * 9.8 / 1000, 3);
    const double q = shown("编辑框2_小q");
    result("编辑框2_M重", q * cmd_power(L / 1000, 2) / 8, 2);

    // Bending case: front wheel at a from support A, the rear wheels at
    // a + b and a + b + c, support B at a + b + c + d. The reaction is kept
    // for the report, which shows it in the three moments' lines.
    g_reaction_worked = reaction_at_a(P1, P2, P3, b, c, d, L);
    const double RA = g_reaction = cmd_round(g_reaction_worked, 2);
    result("编辑框2_MP1", RA * a / 1000, 2);
    result("编辑框2_MP2", (RA - P1) * b / 1000 + shown("编辑框2_MP1"), 2);
    result("编辑框2_MP3", ((P1 + P2 + P3) - RA) * d / 1000, 2);

    // Shear case: the second rear wheel stands over support B.
    result("编辑框2_重Q重", q * L / 2000, 2);
    result("编辑框2_汽Q", P1 * a1 / 1000 / (L / 1000) + P2 * (a1 + b1) / 1000 / (L / 1000) + P3, 2);
    result("编辑框3_Qmax单根", shown("编辑框2_重Q重") + shown("编辑框2_汽Q") / n, 2);

    // Design moment of the single beam: the largest vehicle moment plus the
    // self-weight moment of each of its n I-beams (M重 is that of one), as
    // the stress below divides by all n of them. Unrounded. The tests are
    // independent, so on a tie the later writes the same sum again.
    const double MP1 = shown("编辑框2_MP1"), MP2 = shown("编辑框2_MP2"), MP3 = shown("编辑框2_MP3");
    const double nMg = n * shown("编辑框2_M重");
    bool written = false;
    if (tol_ge(MP1, MP2) && tol_ge(MP1, MP3)) write_number(box("编辑框2_Mmax"), MP1 + nMg), written = true;
    if (tol_ge(MP2, MP1) && tol_ge(MP2, MP3)) write_number(box("编辑框2_Mmax"), MP2 + nMg), written = true;
    if (tol_ge(MP3, MP1) && tol_ge(MP3, MP2)) write_number(box("编辑框2_Mmax"), MP3 + nMg), written = true;
    // Only a moment that is not finite fails all three tests; the design
    // moment of an earlier calculation must not stand in for it.
    if (!written) set_control_text(box("编辑框2_Mmax"), "-");

    // Stresses of one I-beam.
    result("编辑框2_最大应力", shown("编辑框2_Mmax") * cmd_power(10, 6) / (Wx * n * cmd_power(10, 3)), 2);
    result("编辑框2_安全系数", f / shown("编辑框2_最大应力"), 3);
    result("编辑框2_剪应力强度",
           (shown("编辑框3_Qmax单根") * cmd_power(10, 3) * Sx * cmd_power(10, 3)) /
               (IxSx * Sx * cmd_power(10, 3) * web * 10),
           2);

    // Deflections at mid-span under a central point load on the n I-beams
    // against L/250; I = Sx·(Ix/Sx)·10^4 mm4 per I-beam, E the modulus in
    // N/mm2 as the box gives it.
    result("编辑框2_f工字钢", L / 250, 2);
    const double stiffness = Sx * IxSx * cmd_power(10, 4) * n * (48 * E);
    result("编辑框2_后轮fmax", placed ? (P2 + P3) * cmd_power(10, 3) * cmd_power(L, 3) / stiffness : kNone, 2);
    result("编辑框2_前轮fmax", placed ? P1 * cmd_power(10, 3) * cmd_power(L, 3) / stiffness : kNone, 2);

    const double limit = shown("编辑框2_f工字钢");
    verdict("编辑框2_强度计算结论", shown("编辑框2_最大应力"), f);
    verdict("编辑框2_剪应力计算结论", shown("编辑框2_剪应力强度"), tau);
    verdict("编辑框2_挠度验算前轮", shown("编辑框2_前轮fmax"), limit);
    verdict("编辑框2_挠度验算后轮", shown("编辑框2_后轮fmax"), limit);

    // The overall verdict stands only on four verdicts.
    bool all = true, each = true;
    for (const char* v : kVerdicts) {
        const std::string t = control_text(box(v));
        all = all && t == kPass;
        each = each && t != "-";
    }
    set_control_text(box(kOverall), !each ? "-" : all ? kPass : kOverallFail);

    check_inputs();
}

double kept_reaction() { return g_reaction; }
double kept_reaction_worked() { return g_reaction_worked; }

void clear_results()
{
    for (const char* r : kResults) set_control_text(box(r), "-");
}

void check_inputs()
{
    const Ref frame = box("外形框6");
    const double L = plain("编辑框1_栈桥净跨");
    const char* const segments[] = {"编辑框1_a0", "编辑框1_b0", "编辑框1_c0", "编辑框1_d0", "编辑框1_a1", "编辑框1_b1", "编辑框1_c1"};
    // Each distance under its box's domain: below 0, empty or mistyped it
    // is no distance (a load over a support is a typed 0).
    double s[7];
    for (int i = 0; i < 7; ++i) s[i] = read_number(box(segments[i]));

    for (double x : s) {
        if (std::isnan(x) || tol_lt(x, 0)) {
            cmd_message_box("杆件受力分配距离有误，请查证！", 0);
            rt_set_property(frame, prop::ShapeBox::BackColor, kDarkGrey);
            clear_results();
            calculation_refused("杆件受力分配距离有误");
            return;
        }
    }
    // A sum that is not finite never matches the span.
    const double bending = s[0] + s[1] + s[2] + s[3];
    if (std::fabs(bending - L) <= 1e-7) {
        rt_set_property(frame, prop::ShapeBox::BackColor, kWhite);
    } else {
        cmd_message_box("弯矩最不利荷载情况下，杆件累加长度与栈桥净跨应相等，请查证！", 0);
        clear_results();
        calculation_refused("弯矩工况杆件累加长度不等于栈桥净跨");
        rt_set_property(frame, prop::ShapeBox::BackColor, kDarkGrey);
        return;
    }
    const double shear = s[4] + s[5] + s[6];
    if (std::fabs(shear - L) <= 1e-7) {
        rt_set_property(frame, prop::ShapeBox::BackColor, kWhite);
    } else {
        cmd_message_box("剪力最不利荷载情况下，杆件累加长度与栈桥净跨应相等，请查证！", 0);
        clear_results();
        calculation_refused("剪力工况杆件累加长度不等于栈桥净跨");
        rt_set_property(frame, prop::ShapeBox::BackColor, kDarkGrey);
        return;
    }

    // The weight and length tests keep the figures, which stand for the span
    // and the wheel loads entered, but the bridge they describe cannot be:
    // no verdict stands beside their warning. Both boxes are marked, but one
    // calculation shows one message: the second would only stack another
    // box on the first, and the yellow box shows what it would say.
    bool warned = false;
    const Ref front = box("编辑框1_前桥重量");
    if (tol_le(plain("编辑框1_前桥重量"), plain("编辑框1_最重"))) {
        rt_set_property(front, prop::EditBox::BackColor, kWhite);
    } else {
        cmd_message_box("前桥总量不能大于设备总总量", 0, "信息：", app::kMainForm);
        warned = true;
        rt_set_property(front, prop::EditBox::BackColor, kYellow);
        withdraw_verdicts();
    }

    const Ref span = box("编辑框1_栈桥净跨");
    if (tol_lt(L, plain("编辑框1_栈桥总长"))) {
        rt_set_property(span, prop::EditBox::BackColor, kWhite);
    } else {
        if (!warned) cmd_message_box("栈桥净跨不能≥栈桥总长，请查证", 0, "信息：", app::kMainForm);
        rt_set_property(span, prop::EditBox::BackColor, kYellow);
        withdraw_verdicts();
    }
}

namespace {

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture, lamp busy then idle, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void register_trestle(Runtime& rt) { rt.register_handler("TrestleCompute", compute); }

} // namespace

JSB_HANDLERS(register_trestle)

} // namespace trestle

#include "modules/ventilation/ventilation.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/common/tunnel_subclasses.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>

namespace ventilation {

using namespace ui;

namespace {

constexpr const char* kPictures = "resources/pictures/ventilation/";
constexpr const char* kPopup = "popup";

const char* const kForcedTip =
    "铁路、公路隧道应用常用的通风方式，能将新鲜空气直接输送至工作面，有利于工作面施工，但污浊空气将流经整个坑道\r\n"
    "若采用大功率、大管径，其适用范围较广。";
const char* const kMixedTip =
    "集压入式、吸入式优点于一身，但管路、风路等设施增多，在管径较小时可采用，若有大管径、大功率风机时，其经济性不如压入式。";

Ref box(const char* name) { return U(kForm, name); }
std::string picture_path(const char* file) { return std::string(kPictures) + file; }

// Results are written as text and later steps read the shown text back, so a
// step always works with the rounded value the user sees. An input read
// outside its domain (forms/Ventilation.json) is not a number, and so is a
// result that shows "-": whatever is built on either shows "-" too.
double input(const char* name) { return ui::read_number(box(name)); }
double shown(const char* name) { return ui::read_result(box(name)); }
void write_text(const char* name, const std::string& text) { rt_set_property(box(name), prop::EditBox::Content, text); }
void write_number(const char* name, double x) { ui::write_number(box(name), x); }
void write_rounded(const char* name, double x, int places) { ui::write_rounded(box(name), x, places); }
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

std::string list_item(const char* name) { return current_item_text(box(name)); }
std::string combo_item(const char* name) { return current_item_text(box(name)); }

// A demand as whole m3/min for the comparison of the five demands: rounded
// up (1505.7 m3/min are not met by 1505), from the demand to two decimals so
// that the noise of a product (1128.0000016) adds no unit; in the 32-bit
// range the comparison works in, nothing for a demand that is not a number
// or lies beyond that range.
std::optional<int32_t> whole_demand(double q)
{
    if (!std::isfinite(q)) return std::nullopt;
    const double t = std::ceil(round_places(q, 2));
    if (t < std::numeric_limits<int32_t>::min() || t > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return int32_t(t);
}

void show_table(const char* file, int width, int height)
{
    app::ShowLookupPicture(resource(picture_path(file)), width, height);
}

struct DuctTable {
    const char* item;
    const char* picture;
    int width, height;
};
const DuctTable* duct_table()
{
    static const DuctTable tables[] = {
        {"胶皮风管", "duct_leakage_rubber.png", 670, 400},
        {"聚氯乙烯塑料风管", "duct_leakage_pvc.png", 670, 500},
        {"金属风管", "duct_leakage_metal.png", 670, 670},
    };
    const std::string duct = combo_item("组合框2");
    for (const DuctTable& t : tables)
        if (duct == t.item) return &t;
    return nullptr;
}

} // namespace

const std::vector<Scheme>& schemes()
{
    static const std::vector<Scheme> table = {
        {"巷道式通风", "②-1巷道式通风爆破排烟Q2", "scheme_roadway.png",
         "利用隧道本身和辅助坑道组成主风流和局部风流两个系统互相配合而达到目的，是解决长隧道施工通风的方案之一，\r\n"
         "其通风效果主要取决于通风管理的好坏。",
         "templates/ventilation_roadway.docx"},
        {"管道压入式通风", "②-2管道压入式爆破排烟Q2", "scheme_forced.png", kForcedTip, "templates/ventilation_forced.docx"},
        {"管道吸入式通风", "②-3管道吸入式爆破排烟Q2", "scheme_exhaust.png",
         "新鲜风流沿巷道流入，污风由管道排出，其排烟速度慢、且易在工作面形成炮烟停滞区，故很少单独使用。",
         "templates/ventilation_exhaust.docx"},
        {"管道混合式压风", "②-4管道混合式爆破排烟Q2", "scheme_mixed.png", kMixedTip, "templates/ventilation_mixed_forcing.docx"},
        {"管道混合式吸风", "②-5管道混合式爆破排烟Q2", "scheme_mixed.png", kMixedTip, "templates/ventilation_mixed_exhaust.docx"},
    };
    return table;
}

const Scheme* find_scheme(const std::string& item)
{
    for (const Scheme& s : schemes())
        if (item == s.item) return &s;
    return nullptr;
}

const char* pressure_for_altitude(const std::string& altitude_item)
{
    // The standard atmosphere to 0.1 kPa; "500" completes the altitude list.
    static const std::pair<const char*, const char*> table[] = {
        {"0", "100"},     {"200", "98.9"},  {"300", "97.8"},  {"400", "96.6"},  {"500", "95.5"},
        {"600", "94.3"},  {"800", "92.1"},  {"1000", "89.9"}, {"1200", "87.7"}, {"1500", "84.5"},
        {"1800", "81.5"}, {"2100", "77.2"}, {"2400", "74.4"}, {"2700", "71.6"}, {"3000", "68.9"},
        {"3300", "66.3"}, {"3600", "63.9"}, {"3900", "61.5"}, {"4200", "59.2"}, {"4500", "57.2"},
        {"5000", "53.6"},
    };
    for (const auto& [altitude, pressure] : table)
        if (altitude_item == altitude) return pressure;
    return nullptr;
}

// --- the calculation ---------------------------------------------------------------

namespace {

Calculated g_last;

// Why the gas demand cannot be worked out from the face's allowed gas
// concentration Bg and that of the incoming air Bg0 (both fractions of the
// air's volume), or nullptr when it can. Bg is at most 0.01 (1 %, the
// railway rule; highways allow 0.005): a figure above it is a limit no rule
// allows, such as methane's lower explosive limit of 5 % (0.05), and would
// ask a fraction of the air the face needs. Air that brings the allowed
// concentration or more cannot dilute anything.
const char* gas_limit_refusal(double Bg, double Bg0)
{
    if (std::isnan(Bg) || std::isnan(Bg0)) return nullptr; // outside their domain: refused as such
    if (Bg > kGasLimit) return "Bg超过0.01（1 %），无法计算Q5";
    if (!(Bg > Bg0)) return "Bg不大于Bg0，无法计算Q5";
    return nullptr;
}

// Blasting-fume demand Q2 of the scheme, from the shown charge A and
// fume-spread length L散; each scheme reads only the inputs its formula uses.
double fume_demand(const std::string& scheme, double A, double L_spread)
{
    if (scheme == "巷道式通风") {
        const double b = input("编辑框1_每kg炸药折合的体积"), t = input("编辑框1_爆破后的通风时间");
        return (A * b / t) * 5;
    }
    if (scheme == "管道压入式通风") {
        const double S = input("编辑框1_隧道开挖面积"), b = input("编辑框1_每kg炸药折合的体积");
        const double t = input("编辑框1_爆破后的通风时间");
        // b in litres per kg, 0.0001 the allowed CO concentration (100 ppm).
        // X above 1: the fumes are within the allowed concentration as soon
        // as they have spread, and need no air to dilute them (the formula
        // would give a negative demand).
        const double X = (S * L_spread) / (A * b * 0.001) * 0.0001;
        g_last.fume_ratio = X;
        const double q2 = S * L_spread * (1 - cmd_power(X, 1.0 / t));
        return g_last.fumes_within_limit() ? 0 : q2;
    }
    if (scheme == "管道吸入式通风") {
        const double S = input("编辑框1_隧道开挖面积"), t = input("编辑框1_爆破后的通风时间");
        return 15 * cmd_power(A * S * L_spread / t, 0.5);
    }
    const double S = input("编辑框1_隧道开挖面积"), L_inlet = input("编辑框1_压入风口至工作面的距离");
    const double t = input("编辑框1_爆破后的通风时间");
    const double mixed = cmd_power(A * cmd_power(S * L_inlet, 2) / t, 1.0 / 3);
    if (scheme == "管道混合式压风") return 7.8 * mixed;
    return 10.14 * mixed; // 管道混合式吸风
}

void air_demand()
{
    // A: charge per round.
    write_rounded("编辑框1_同时爆破的炸药量",
                  input("编辑框1_隧道开挖面积") * input("编辑框1_循环掘进进尺") * input("编辑框1_每m3岩石炸药单耗"), 2);
    // ni: total diesel power of the rows counted; a row whose count is empty
    // or 0 has no machine in the tunnel, and its power is not read.
    double ni = 0;
    for (int i = 0; i < 4; ++i) {
        const DieselRow& row = kDieselRows[i];
        const double count = ui::read_count_or_none(box(row.count));
        if (count == 0) continue;
        g_last.diesel_row[i] = true;
        ni = ni + input(row.power) * count;
    }
    write_number("编辑框3_洞内同时使用内燃机作业总功率数", ni);
    // L散: electric detonation spreads the fumes over the whole charge, non-electric over a fifth.
    const std::string detonation = combo_item("组合框1");
    const double A = shown("编辑框1_同时爆破的炸药量");
    double L_spread = kNone;
    if (detonation == "电雷管起爆") L_spread = A + 15;
    else if (detonation == "非电雷管起爆") L_spread = A / 5 + 15;
    else calculation_refused(); // no detonation method: no fume spread to work with
    write_rounded("编辑框1_爆破后炮烟的扩散长度", L_spread, 2);
    // Q1: people.
    write_rounded("编辑框2_洞内最多人数需风量",
                  input("编辑框1_风量备用系数") * input("编辑框_洞内每人每分钟需新鲜空气") *
                      input("编辑框1_洞内同时工作的最多人数"),
                  2);
    // Every scheme's plan prints these whether or not its formulas use them:
    // they are read, so that a plan never states a figure outside its
    // domain, nor one typed after the calculation.
    for (const char* printed : {"编辑框1_每kg炸药折合的体积", "编辑框1_压入风口至工作面的距离", "编辑框1_掌子面满足下循环施工长度"})
        input(printed);
    // Q2: blasting fumes, by scheme; the pressed-in scheme shows a whole number.
    const std::string scheme = list_item("列表框1");
    if (const Scheme* s = find_scheme(scheme)) {
        const double q2 = fume_demand(scheme, shown("编辑框1_同时爆破的炸药量"), shown("编辑框1_爆破后炮烟的扩散长度"));
        write_rounded("编辑框2_爆破排烟", q2, scheme == "管道压入式通风" ? 0 : 2);
        rt_set_property(box("标签20"), prop::Label::Caption, s->caption);
    } else {
        write_text("编辑框2_爆破排烟", "-"); // no scheme chosen
        calculation_refused();
    }
    // Q4: minimum air speed.
    write_rounded("编辑框2_按洞内允许最小风速", input("编辑框1_洞内允许最小风速") * input("编辑框1_隧道开挖面积") * 60, 2);
    // Q5: gas, only in a gas tunnel.
    g_last.gas_tunnel = rt_get_property(box("选择框1_隧道含瓦斯"), prop::CheckBox::Checked).truth();
    if (g_last.gas_tunnel) {
        const double emission = input("编辑框1_瓦斯绝对涌出量");
        const double Bg = input("编辑框1_工作面允许瓦斯浓度"), Bg0 = input("编辑框1_送入风流中瓦斯浓度");
        const double uneven = input("编辑框1_瓦斯涌出不均衡系数");
        const char* refusal = gas_limit_refusal(Bg, Bg0);
        if (refusal) calculation_refused(refusal);
        write_rounded("编辑框2_按瓦斯绝对涌出量计算", refusal ? kNone : emission / (Bg - Bg0) * uneven, 2);
    } else {
        write_text("编辑框2_按瓦斯绝对涌出量计算", "0");
    }
    // Q3: diesel exhaust; without a diesel machine there is none, and the
    // diesel factors are not read.
    if (g_last.diesel())
        write_number("编辑框2_按内燃机作业废气稀释", input("编辑框1_洞内同时使用内燃每KW所需的风量") *
                                                     shown("编辑框3_洞内同时使用内燃机作业总功率数") *
                                                     input("编辑框2_设备利用率"));
    else
        write_text("编辑框2_按内燃机作业废气稀释", "0");
    // Qh: the largest of the five, each as whole m3/min. A demand that is not
    // a number, or too large for the whole-number comparison, leaves the
    // governing demand unknown.
    std::vector<double> demands;
    bool known = true;
    for (const char* q : {"编辑框2_洞内最多人数需风量", "编辑框2_爆破排烟", "编辑框2_按内燃机作业废气稀释",
                          "编辑框2_按洞内允许最小风速", "编辑框2_按瓦斯绝对涌出量计算"}) {
        const double demand = shown(q);
        const std::optional<int32_t> whole = whole_demand(demand);
        if (whole) {
            demands.push_back(*whole);
            if (!(demand <= g_last.largest_demand)) g_last.largest_demand = demand;
        } else {
            known = false;
        }
    }
    if (!known) g_last.largest_demand = kNone;
    cmd_sort_array(demands, false);
    write_rounded("编辑框2_最大需风量Qh", known ? demands.front() : kNone, 2);
}

void duct_and_fan()
{
    const char* const Qh = "编辑框2_最大需风量Qh";
    const char* const P = "编辑框1_管道漏风系数";
    const char* const Q_leak = "编辑框2_沿程管道漏风耗损量Q漏";
    const char* const Q_alt = "编辑框2_高海拔风量修正风量Q高";
    const char* const Qj = "编辑框2_风机供风量Q供";
    const char* const a = "编辑框1_摩阻系数";
    const char* const Rf = "编辑框2_风阻系数Rf";
    const char* const hf = "编辑框2_管道阻力损失";
    const char* const hx = "编辑框2_局部阻力损失hx";
    const char* const h_fan = "编辑框2_风机全压h机";

    // P: the leakage per hundred metres compounded over the duct length; a
    // duct cannot lose all its air (or more) in every hundred metres.
    const double beta = input("编辑框1_百米平均漏风率");
    const double L = input("编辑框1_风管长度");
    if (!(beta < 1)) calculation_refused();
    write_rounded(P, beta < 1 ? cmd_power(1 / (1 - beta), L / 100) : kNone, 3);
    write_rounded(Q_leak, shown(P) * shown(Qh) - shown(Qh), 2);
    // Q高: 100 kPa is the reference pressure; an altitude without a pressure
    // gives no correction, and nothing built on it is a figure.
    write_rounded(Q_alt, (shown(Qh) + shown(Q_leak)) * (100 / input("编辑框1_地区大气压")) - shown(Qh) - shown(Q_leak), 2);
    write_number(Qj, shown(Qh) + shown(Q_leak) + shown(Q_alt));
    write_number(a, input("编辑框1_管道达西系数") * input("编辑框1_空气密度") / 8);
    write_rounded(Rf, shown(a) * input("编辑框1_风管长度") * 6.5 / cmd_power(input("编辑框1_风管直径"), 5), 3);
    // The friction loss takes the geometric mean of the face demand and the fan supply, in m3/s.
    write_rounded(hf, shown(Rf) * cmd_power(cmd_power((shown(Qh) / 60) * shown(Qj) / 60, 0.5), 2), 2);
    write_rounded(hx, shown(hf) * input("编辑框1_局部阻力系数"), 2);
    write_rounded(h_fan, shown(hf) + shown(hx), 2);
    write_rounded("编辑框2_风机计算功率",
                  shown(Qj) * shown(h_fan) * input("编辑框1_风量备用系数") / (input("编辑框1_风机工作效率系数") * 60) / 1000,
                  2);
}

// Every box the calculation fills.
constexpr const char* kResults[] = {
    "编辑框1_同时爆破的炸药量", "编辑框3_洞内同时使用内燃机作业总功率数", "编辑框1_爆破后炮烟的扩散长度",
    "编辑框2_洞内最多人数需风量", "编辑框2_爆破排烟", "编辑框2_按洞内允许最小风速", "编辑框2_按瓦斯绝对涌出量计算",
    "编辑框2_按内燃机作业废气稀释", "编辑框2_最大需风量Qh", "编辑框1_管道漏风系数", "编辑框2_沿程管道漏风耗损量Q漏",
    "编辑框2_高海拔风量修正风量Q高", "编辑框2_风机供风量Q供", "编辑框1_摩阻系数", "编辑框2_风阻系数Rf",
    "编辑框2_管道阻力损失", "编辑框2_局部阻力损失hx", "编辑框2_风机全压h机", "编辑框2_风机计算功率",
};

} // namespace

void calculate()
{
    g_last = Calculated{};
    air_demand();
    duct_and_fan();
    // A plan with a figure missing would print arithmetic that ends in
    // nothing: such a calculation leaves nothing to export.
    refuse_unless_shown(kForm, kResults);
}

const Calculated& last_calculation() { return g_last; }

// --- handlers ------------------------------------------------------------------

namespace {

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"组合框3", "隧道海拔高度，软件默认海拔高度为0位计算基数，根据实际海拔选取！"},
        {"组合框1", "隧道用雷管起爆方式"},
        {"组合框2", "隧道目前常用风带通风！"},
        {"列表框1", "铁路、公路隧道应用常用的通风方式，能将新鲜空气直接输送至工作面，有利于工作面施工，但污浊空气将流经整个坑道\r\n若采用大功率、大管径，其适用范围较广。"},
        {"编辑框1_隧道开挖面积", "计算中常以隧道不同断面中开挖的最大断面为计算参考面积"},
        {"编辑框1_风管长度", "风管长度软件中考虑超出洞口以外30m"},
        {"编辑框1_循环掘进进尺", "指隧道每循环掘进的进尺，常根据围岩长度中最具代表性或长度最长的确定断面掘进进尺，\r\n建议三类围岩每循环取2.5～3.5m，四类围岩取2.0～3.0m，五类六类取0.8～1.5m"},
        {"编辑框1_每m3岩石炸药单耗", "指隧道每爆破1m3岩石所需的炸药消耗，一般取0.5～1.2，可根据隧道单次爆破炸药数/掘进方量求得！"},
        {"编辑框1_风量备用系数", "经验数据，通风富余系数，一般考虑1.10～1.20"},
        {"编辑框1_洞内同时工作的最多人数", "隧道内最大同时施工人数"},
        {"编辑框_洞内每人每分钟需新鲜空气", "依据《公路工程施工安全技术规范》、《铁路隧道施工规范》中规定基本一致，\r\n每人供应新鲜空气不得小于3m3/min"},
        {"编辑框1_每kg炸药折合的体积", "炸药爆炸时的有害气体生成量，岩层中爆破取40L/kg"},
        {"编辑框1_爆破后的通风时间", "取决于隧道通风和施工组织安排，一般理论取30-40min为宜"},
        {"编辑框1_掌子面满足下循环施工长度", "考虑以掌子面至二衬的距离为宜，一般取90-200；"},
        {"编辑框1_压入风口至工作面的距离", "通风管口至掌子面的安全距离，一般取20～50；"},
        {"编辑框1_洞内允许最小风速", "公路、铁路、煤矿隧道规程规范基本一致，全断面开挖时风速不得小于0.15m/s，导洞内不得小于0.25m/s"},
        {"编辑框1_洞内同时使用内燃每KW所需的风量", "依据《公路工程施工安全技术规范》规定，内燃机作业供风量不宜小于4.5m3 min/KW；\r\n《铁路隧道施工规范》稀释内燃机废气所需3m3/min"},
        {"编辑框1_爆破后炮烟的扩散长度", "软件自动计算；\r\n非电起爆时，取15+每循环爆破炸药数量；\r\n雷电起爆时，取15+每循环爆破炸药数量/5，"},
        {"编辑框1_同时爆破的炸药量", "软件自动计算；断面开挖面积×岩石消耗量q×循环进尺，"},
        {"编辑框1_工作面允许瓦斯浓度", "《公路隧道施工技术细则中》<0.005,铁路隧道取<0.01"},
        {"编辑框1_瓦斯绝对涌出量", "请填实测数据或施工中按实测值进行调整！"},
        {"编辑框1_送入风流中瓦斯浓度", "当采取洞内外抽取新鲜空气送入洞内，取0，反之实测为准！"},
        {"编辑框1_瓦斯涌出不均衡系数", "瓦斯涌出不均匀系数，取1.5～2.0"},
        {"选择框1_隧道含瓦斯", "瓦斯隧道时选取，反之不选!注意瓦斯隧道应采用煤矿许用炸药和煤矿许用雷管，\r\n软件中默认瓦斯隧道时采取非电爆破"},
        {"编辑框1_管道达西系数", "达西系数，一般取0.012～0.015"},
        {"编辑框1_空气密度", "空气密度，一般取1.2"},
        {"编辑框1_风管直径", "风管直径影响风机压力，断面允许时，一般取0.8～1.5m"},
        {"编辑框2_设备利用率", "设备利用率经验系数，一般取0.7～0.8"},
        {"编辑框1_局部阻力系数", "为简化局部阻力计算，经验系数，一般取0.15～0.25"},
        {"编辑框1_风机工作效率系数", "此系数越小，需求风机功率越大，一般取0.8～0.9"},
        {"编辑框1_百米平均漏风率", "一般取0.011～0.015即1.1%～1.5%范围"},
        {"编辑框1_管道漏风系数", "管道漏风系数软件自动计算"},
        {"编辑框1_摩阻系数", "软件自动计算摩阻系数"},
        {"编辑框2_风阻系数Rf", "软件自动计算管道沿程摩擦风阻"},
        {"编辑框2_沿程管道漏风耗损量Q漏", "漏风耗损计算净增加量"},
        {"编辑框2_高海拔风量修正风量Q高", "海拔修正计算净增加量"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

void form_created(EventArgs&)
{
    // Loaded on its own (a test of the module alone) the form has no frame to go to.
    if (cmd_is_created(U("main", "外形框_隧道通风")))
        app::embed_in_frame(kForm, "外形框_隧道通风", 5, 5, app::FrameSize::ClientMinus10);
    rt_set_property(box("图形按钮_导出"), prop::Disabled, false);
    attach_tips();
}

void select_scheme(EventArgs&)
{
    const Scheme* s = find_scheme(list_item("列表框1"));
    if (!s) return;
    rt_set_property(box("图片框1"), prop::PicBox::Picture, Blob{resource(picture_path(s->diagram))});
    cmd_attach_tip(box("气球提示框1"), box("列表框1"), s->tip);
}

// An altitude without a row (the empty last item) has no pressure: the box
// shows "-" rather than the pressure of an earlier choice, and a calculation
// then gives no altitude correction and no plan.
void altitude_to_pressure(EventArgs&)
{
    const char* pressure = pressure_for_altitude(combo_item("组合框3"));
    write_text("编辑框1_地区大气压", pressure ? pressure : "-");
}

void toggle_gas_tunnel(EventArgs&)
{
    static const char* const gas_boxes[] = {"编辑框1_工作面允许瓦斯浓度", "编辑框1_瓦斯绝对涌出量",
                                            "编辑框1_送入风流中瓦斯浓度", "编辑框1_瓦斯涌出不均衡系数"};
    static const char* const gas_labels[] = {"标签1_工作面允许瓦斯浓度", "标签1_瓦斯绝对涌出量",
                                             "标签1_送入风流中瓦斯浓度", "标签1_瓦斯涌出不均衡系数"};
    const Ref check = box("选择框1_隧道含瓦斯");
    if (rt_get_property(check, prop::CheckBox::Checked).truth()) {
        // A gas tunnel is blasted with non-electric detonators only.
        rt_set_property(box("组合框1"), prop::Disabled, true);
        for (const char* b : gas_boxes) rt_set_property(box(b), prop::Disabled, false);
        rt_set_property(box("组合框1"), prop::ComboBox::CurrentIndex, 1);
        for (const char* l : gas_labels) rt_set_property(box(l), prop::Label::TextColor, 0);
        for (const char* b : gas_boxes) rt_set_property(box(b), prop::EditBox::TextColor, 0);
        rt_set_property(check, prop::CheckBox::Caption, "隧道含瓦斯");
        write_text("编辑框1_瓦斯绝对涌出量", "3");
    } else {
        for (const char* b : gas_boxes) rt_set_property(box(b), prop::Disabled, true);
        for (const char* l : gas_labels) rt_set_property(box(l), prop::Label::TextColor, 0x808080);
        for (const char* b : gas_boxes) rt_set_property(box(b), prop::EditBox::TextColor, 0x808080);
        rt_set_property(box("组合框1"), prop::Disabled, false);
        rt_set_property(check, prop::CheckBox::Caption, "隧道不含瓦斯");
        write_text("编辑框1_瓦斯绝对涌出量", "0");
    }
}

void lookup_duct_leakage(EventArgs&)
{
    if (const DuctTable* t = duct_table()) show_table(t->picture, t->width, t->height);
}

// Follows the duct type only while the pop-up is open; it never opens it.
void refresh_duct_table(EventArgs&)
{
    if (!cmd_is_created(U(kPopup))) return;
    if (const DuctTable* t = duct_table()) show_table(t->picture, t->width, t->height);
}

void lookup_friction(EventArgs&)
{
    if (list_item("列表框1") == "巷道式通风") show_table("friction_roadway.png", 700, 400);
    else show_table("friction_duct.png", 700, 400);
}

// Keyed on the two indexes, not on the item texts.
void lookup_charge_factor(EventArgs&)
{
    const int category = rt_get_property(box("组合框_隧道类别"), prop::ComboBox::CurrentIndex).integer();
    const int sub = rt_get_property(box("组合框_隧道小类"), prop::ComboBox::CurrentIndex).integer();
    if (sub < 0 || sub >= int(modules::tunnel_subclasses(category).size())) return;
    const std::string file = "charge_factor_" + std::to_string(category) + "_" + std::to_string(sub) + ".png";
    show_table(file.c_str(), 700, 600);
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture and busy lamp, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void register_ventilation(Runtime& rt)
{
    rt.register_handler("VentilationFormCreated", form_created);
    rt.register_handler("VentilationSelectScheme", select_scheme);
    rt.register_handler("VentilationAltitudeToPressure", altitude_to_pressure);
    rt.register_handler("VentilationToggleGasTunnel", toggle_gas_tunnel);
    rt.register_handler("VentilationRefreshDuctTable", refresh_duct_table);
    rt.register_handler("VentilationLookupDuctLeakage", lookup_duct_leakage);
    rt.register_handler("VentilationLookupFriction", lookup_friction);
    rt.register_handler("VentilationLookupChargeFactor", lookup_charge_factor);
    rt.register_handler("VentilationCompute", compute);
}

} // namespace

JSB_HANDLERS(register_ventilation)

} // namespace ventilation

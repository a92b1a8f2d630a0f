// The tunnel ventilation module in the whole headless program: the worked
// figures of the air demand, duct and fan calculation as a table of cases,
// the selections and lookups around it, and the ventilation plan export of
// every scheme.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "Ventilation";

struct VentilationProgram : testsupport::ModuleProgram {
    VentilationProgram() : ModuleProgram(kForm) {}
    void SetUp() override
    {
        ModuleProgram::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_NE(rt.form("main"), nullptr);
    }

    std::string item(const std::string& name) { return current_item_text(U(kForm, name)); }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    bool checked(const std::string& name) { return rt.get(c(name), prop::CheckBox::Checked).truth(); }
    bool disabled(const std::string& name) { return rt.get(c(name), prop::Disabled).truth(); }
    int color(const std::string& name)
    {
        return rt.get(c(name), c(name).kind == Kind::Label ? prop::Label::TextColor : prop::EditBox::TextColor).integer();
    }
};

// --- the calculation: worked figures --------------------------------------------------

struct Step {
    enum Kind { Type, Choose, Tick } kind;
    const char* control;
    const char* value = "";
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::pair<const char*, const char*>> shown; // box or label, text after one compute click
};

void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct WorkedFigures : VentilationProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(WorkedFigures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.kind == Step::Type) type(s.control, s.value);
        else if (s.kind == Step::Choose) choose(s.control, s.value);
        else click(s.control);
    }
    click("图形按钮_计算");
    for (const auto& [box, want] : fc.shown) EXPECT_EQ(text(box), want) << box;
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

const char* const Q2 = "编辑框2_爆破排烟";
// 1e200 in digits, as a keyboard can type it.
const std::string kBig = "1" + std::string(200, '0');
const char* const Qh = "编辑框2_最大需风量Qh";

INSTANTIATE_TEST_SUITE_P(
    Ventilation, WorkedFigures,
    ::testing::Values(
        // Every start text: pressed-in scheme, non-electric, no gas, altitude 0.
        // Q3 1505.7 m3/min is met by Qh 1506, not 1505; P is read back as
        // 1.185, so Q漏 is 278.61 (1.18543… would give 279.26).
        FigureCase{"defaults",
                   {},
                   {{"编辑框1_同时爆破的炸药量", "123.76"}, {"编辑框3_洞内同时使用内燃机作业总功率数", "478"},
                    {"编辑框1_爆破后炮烟的扩散长度", "39.75"}, {"编辑框2_洞内最多人数需风量", "207"}, {Q2, "221"},
                    {"编辑框2_按内燃机作业废气稀释", "1505.7"}, {"编辑框2_按洞内允许最小风速", "636.48"},
                    {"编辑框2_按瓦斯绝对涌出量计算", "0"}, {Qh, "1506"}, {"标签20", "②-2管道压入式爆破排烟Q2"},
                    {"编辑框1_管道漏风系数", "1.185"}, {"编辑框2_沿程管道漏风耗损量Q漏", "278.61"},
                    {"编辑框2_高海拔风量修正风量Q高", "0"}, {"编辑框2_风机供风量Q供", "1784.61"},
                    {"编辑框1_摩阻系数", "0.00225"}, {"编辑框2_风阻系数Rf", "2.504"}, {"编辑框2_管道阻力损失", "1869.39"},
                    {"编辑框2_局部阻力损失hx", "373.88"}, {"编辑框2_风机全压h机", "2243.27"},
                    {"编辑框2_风机计算功率", "95.91"}}},
        FigureCase{"roadway", {{Step::Choose, "列表框1", "巷道式通风"}},
                   {{Q2, "707.2"}, {Qh, "1506"}, {"标签20", "②-1巷道式通风爆破排烟Q2"}}},
        // Just below Q3, so Q3 still governs.
        FigureCase{"exhaust", {{Step::Choose, "列表框1", "管道吸入式通风"}},
                   {{Q2, "1495.5"}, {Qh, "1506"}, {"标签20", "②-3管道吸入式爆破排烟Q2"}}},
        // Above Q3: Qh is Q2 rounded up to a whole number.
        FigureCase{"mixed forcing", {{Step::Choose, "列表框1", "管道混合式压风"}},
                   {{Q2, "1737.48"}, {Qh, "1738"}, {"标签20", "②-4管道混合式爆破排烟Q2"}}},
        FigureCase{"mixed exhaust", {{Step::Choose, "列表框1", "管道混合式吸风"}},
                   {{Q2, "2258.73"}, {Qh, "2259"}, {"标签20", "②-5管道混合式爆破排烟Q2"}}},
        FigureCase{"electric detonation", {{Step::Choose, "组合框1", "电雷管起爆"}},
                   {{"编辑框1_爆破后炮烟的扩散长度", "138.76"}, {Q2, "443"}}},
        // Q5 = QCH4 / (Bg − Bg0) × K′: the starting gas inputs 3 / (0.005 − 0) × 2.0.
        FigureCase{"gas tunnel", {{Step::Tick, "选择框1_隧道含瓦斯"}},
                   {{"编辑框2_按瓦斯绝对涌出量计算", "1200"}, {"编辑框1_爆破后炮烟的扩散长度", "39.75"}, {Qh, "1506"}}},
        // 5 m3/min of methane at the highway limit of 0.5 % asks 2000 m3/min,
        // which governs the fan.
        FigureCase{"gas governs",
                   {{Step::Tick, "选择框1_隧道含瓦斯"}, {Step::Type, "编辑框1_瓦斯绝对涌出量", "5"}},
                   {{"编辑框2_按瓦斯绝对涌出量计算", "2000"}, {Qh, "2000"}, {"编辑框2_沿程管道漏风耗损量Q漏", "370"}}},
        // A published heading face at the railway limit of 1 %: 100 × 0.27 × 2 = 54 m3/min.
        FigureCase{"gas at the 1 % limit",
                   {{Step::Tick, "选择框1_隧道含瓦斯"}, {Step::Type, "编辑框1_瓦斯绝对涌出量", "0.27"},
                    {Step::Type, "编辑框1_工作面允许瓦斯浓度", "0.01"}},
                   {{"编辑框2_按瓦斯绝对涌出量计算", "54"}, {Qh, "1506"}}},
        // Gas in the incoming air leaves less margin: 3 / (0.01 − 0.002) × 1.5.
        FigureCase{"gas in the incoming air",
                   {{Step::Tick, "选择框1_隧道含瓦斯"}, {Step::Type, "编辑框1_工作面允许瓦斯浓度", "0.01"},
                    {Step::Type, "编辑框1_送入风流中瓦斯浓度", "0.002"}, {Step::Type, "编辑框1_瓦斯涌出不均衡系数", "1.5"}},
                   {{"编辑框2_按瓦斯绝对涌出量计算", "562.5"}}},
        FigureCase{"altitude 1000", {{Step::Choose, "组合框3", "1000"}},
                   {{"编辑框1_管道漏风系数", "1.185"}, {"编辑框2_沿程管道漏风耗损量Q漏", "278.61"},
                    {"编辑框2_高海拔风量修正风量Q高", "200.5"}, {"编辑框1_摩阻系数", "0.00225"},
                    {"编辑框2_风阻系数Rf", "2.504"}, {"编辑框2_局部阻力损失hx", "415.88"}, {"编辑框2_风机计算功率", "118.68"}}},
        FigureCase{"no leakage", {{Step::Type, "编辑框1_百米平均漏风率", "0"}},
                   {{"编辑框1_管道漏风系数", "1"}, {"编辑框2_沿程管道漏风耗损量Q漏", "0"}, {"编辑框2_风机供风量Q供", "1506"}}},
        // Q2 is taken from the shown charge 10, not from 10.003 (which would give 57.16).
        FigureCase{"shown charge read back",
                   {{Step::Choose, "列表框1", "巷道式通风"}, {Step::Type, "编辑框1_隧道开挖面积", "10.003"},
                    {Step::Type, "编辑框1_循环掘进进尺", "1"}, {Step::Type, "编辑框1_每m3岩石炸药单耗", "1"}},
                   {{"编辑框1_同时爆破的炸药量", "10"}, {Q2, "57.14"}}},
        // A demand beyond the 32-bit range of the whole-number comparison
        // leaves the governing demand unknown: Qh and everything built on it
        // show "-", never the integer limit; P, a and Rf do not depend on it.
        FigureCase{"demand beyond the integer range",
                   {{Step::Type, "编辑框1_洞内同时使用内燃每KW所需的风量", "10000000"}},
                   {{"编辑框2_按内燃机作业废气稀释", "3346000000"}, {Qh, "-"}, {"编辑框2_沿程管道漏风耗损量Q漏", "-"},
                    {"编辑框2_高海拔风量修正风量Q高", "-"}, {"编辑框2_风机供风量Q供", "-"}, {"编辑框2_管道阻力损失", "-"},
                    {"编辑框2_局部阻力损失hx", "-"}, {"编辑框2_风机全压h机", "-"}, {"编辑框2_风机计算功率", "-"},
                    {"编辑框1_管道漏风系数", "1.185"}, {"编辑框1_摩阻系数", "0.00225"}, {"编辑框2_风阻系数Rf", "2.504"}}},
        // Finite inputs whose products overflow: the charge is "-", and so is
        // every demand built on it; Q4 is a true figure but too large for Qh.
        FigureCase{"products beyond the double range",
                   {{Step::Type, "编辑框1_隧道开挖面积", kBig.c_str()}, {Step::Type, "编辑框1_循环掘进进尺", kBig.c_str()}},
                   {{"编辑框1_同时爆破的炸药量", "-"}, {"编辑框1_爆破后炮烟的扩散长度", "-"}, {Q2, "-"},
                    {"编辑框2_按洞内允许最小风速", "9e+200"}, {Qh, "-"}, {"编辑框2_风机供风量Q供", "-"},
                    {"编辑框2_风阻系数Rf", "2.504"}, {"编辑框2_风机计算功率", "-"}}},
        // A gas tunnel whose fresh air brings as much gas as the face allows
        // cannot be ventilated by any flow.
        FigureCase{"no gas margin",
                   {{Step::Tick, "选择框1_隧道含瓦斯"}, {Step::Type, "编辑框1_送入风流中瓦斯浓度", "0.005"}},
                   {{"编辑框2_按瓦斯绝对涌出量计算", "-"}, {"编辑框2_洞内最多人数需风量", "207"}, {Qh, "-"},
                    {"编辑框2_风机计算功率", "-"}}},
        // Fumes within the allowed concentration as soon as they have spread
        // (X = 70.72 × 39.75 / (123.76 × 2 × 0.001) × 0.0001 = 1.14 > 1) need
        // no air: Q2 is 0, not the formula's negative value.
        FigureCase{"fumes within the limit at once", {{Step::Type, "编辑框1_每kg炸药折合的体积", "2"}},
                   {{Q2, "0"}, {Qh, "1506"}}},
        // The governing demand is met in whole m3/min from the demands to two
        // decimals: a diesel demand of 1128.0000016 needs 1128, one of
        // 1128.006 (1128.01) needs 1129.
        FigureCase{"a demand a hair above a whole number",
                   {{Step::Type, "编辑框3_数量3", "0"}, {Step::Type, "编辑框2_设备2", "1"},
                    {Step::Type, "编辑框2_设备利用率", "1"}, {Step::Type, "编辑框1_洞内同时使用内燃每KW所需的风量", "1128.0000016"}},
                   {{"编辑框2_按内燃机作业废气稀释", "1128.0000016"}, {Qh, "1128"}}},
        FigureCase{"a demand above a whole number at two decimals",
                   {{Step::Type, "编辑框3_数量3", "0"}, {Step::Type, "编辑框2_设备2", "1"},
                    {Step::Type, "编辑框2_设备利用率", "1"}, {Step::Type, "编辑框1_洞内同时使用内燃每KW所需的风量", "1128.006"}},
                   {{Qh, "1129"}}},
        // Zero is a count or a power like any other where the box allows it.
        FigureCase{"equipment typed as 0",
                   {{Step::Type, "编辑框3_数量3", "0"}, {Step::Type, "编辑框2_设备2", "0"}},
                   {{"编辑框3_数量3", "0"}, {"编辑框2_设备2", "0"}, {"编辑框3_洞内同时使用内燃机作业总功率数", "0"},
                    {"编辑框2_按内燃机作业废气稀释", "0"}, {Qh, "637"}}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- inputs outside their domain -------------------------------------------------------

// Each number the formulas read, with the first result built on it. Every
// text outside the box's domain gives "-" there (and in Qh or the fan power
// after it), and a calculation whose results cannot be exported; a box that
// allows 0 takes it as a value.
struct DomainRow {
    const char* box;
    bool zero_allowed;
    const char* first_result; // shows "-" when the box is outside its domain
    const char* last_result;  // further along: "-" too
    std::vector<Step> setup = {};
};

void PrintTo(const DomainRow& r, std::ostream* os) { *os << r.box; }

struct DomainEdges : VentilationProgram, ::testing::WithParamInterface<DomainRow> {};

const char* const W = "编辑框2_风机计算功率";
const char* const A = "编辑框1_同时爆破的炸药量";
const Step kGas{Step::Tick, "选择框1_隧道含瓦斯"};
const Step kMixed{Step::Choose, "列表框1", "管道混合式压风"};

TEST_P(DomainEdges, OutsideGivesDashAndNothingToExport)
{
    const DomainRow& r = GetParam();
    for (const Step& s : r.setup) {
        if (s.kind == Step::Tick) click(s.control);
        else if (s.kind == Step::Choose) choose(s.control, s.value);
    }
    const std::string start = text(r.box);
    const bool count = std::string(r.box).starts_with("编辑框3_数量");
    for (const std::string& v : testsupport::texts_outside(c(r.box).domain)) {
        SCOPED_TRACE("\"" + v + "\"");
        paste(r.box, v);
        // (a count the box leaves empty is no input outside its domain: the
        // row has no machine)
        if (count && text(r.box).find_first_not_of(' ') == std::string::npos) continue;
        click("图形按钮_计算");
        EXPECT_EQ(text(r.first_result), "-");
        EXPECT_EQ(text(r.last_result), "-");
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_EQ(backend.messages.back().caption, "提示");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    }
    // Back inside (0 where the box allows it): figures, and a plan to export.
    type(r.box, r.zero_allowed ? "0" : start);
    if (r.zero_allowed) {
        EXPECT_EQ(text(r.box), "0");
    }
    click("图形按钮_计算");
    EXPECT_NE(text(r.first_result), "-");
    EXPECT_NE(text(W), "-");
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
}

INSTANTIATE_TEST_SUITE_P(
    Ventilation, DomainEdges,
    ::testing::Values(
        DomainRow{"编辑框1_隧道开挖面积", false, A, W}, DomainRow{"编辑框1_循环掘进进尺", false, A, Q2},
        DomainRow{"编辑框1_每m3岩石炸药单耗", false, A, Qh},
        DomainRow{"编辑框1_风量备用系数", false, "编辑框2_洞内最多人数需风量", W},
        DomainRow{"编辑框1_洞内同时工作的最多人数", true, "编辑框2_洞内最多人数需风量", Qh},
        DomainRow{"编辑框_洞内每人每分钟需新鲜空气", false, "编辑框2_洞内最多人数需风量", Qh},
        DomainRow{"编辑框1_每kg炸药折合的体积", false, Q2, W}, DomainRow{"编辑框1_爆破后的通风时间", false, Q2, W},
        DomainRow{"编辑框1_压入风口至工作面的距离", false, Q2, W, {kMixed}},
        DomainRow{"编辑框1_洞内允许最小风速", false, "编辑框2_按洞内允许最小风速", W},
        DomainRow{"编辑框1_洞内同时使用内燃每KW所需的风量", false, "编辑框2_按内燃机作业废气稀释", Qh},
        DomainRow{"编辑框2_设备2", true, "编辑框3_洞内同时使用内燃机作业总功率数", Qh},
        DomainRow{"编辑框3_数量4", true, "编辑框3_洞内同时使用内燃机作业总功率数", W},
        DomainRow{"编辑框2_设备利用率", false, "编辑框2_按内燃机作业废气稀释", W},
        DomainRow{"编辑框1_工作面允许瓦斯浓度", false, "编辑框2_按瓦斯绝对涌出量计算", W, {kGas}},
        DomainRow{"编辑框1_瓦斯绝对涌出量", true, "编辑框2_按瓦斯绝对涌出量计算", Qh, {kGas}},
        DomainRow{"编辑框1_送入风流中瓦斯浓度", true, "编辑框2_按瓦斯绝对涌出量计算", W, {kGas}},
        DomainRow{"编辑框1_瓦斯涌出不均衡系数", false, "编辑框2_按瓦斯绝对涌出量计算", Qh, {kGas}},
        DomainRow{"编辑框1_风管长度", false, "编辑框1_管道漏风系数", "编辑框2_风阻系数Rf"},
        DomainRow{"编辑框1_风管直径", false, "编辑框2_风阻系数Rf", W},
        DomainRow{"编辑框1_管道达西系数", false, "编辑框1_摩阻系数", W},
        DomainRow{"编辑框1_空气密度", false, "编辑框1_摩阻系数", "编辑框2_风阻系数Rf"},
        DomainRow{"编辑框1_局部阻力系数", true, "编辑框2_局部阻力损失hx", W},
        DomainRow{"编辑框1_风机工作效率系数", false, W, W},
        DomainRow{"编辑框1_百米平均漏风率", true, "编辑框1_管道漏风系数", W}),
    [](const ::testing::TestParamInfo<DomainRow>& i) { return "box" + std::to_string(i.index); });

// The gas inputs of a tunnel without gas are not read (nor printed): empty,
// they refuse nothing in any scheme.
TEST_F(VentilationProgram, InputsTheCaseDoesNotUseAreNotRead)
{
    set_control_text(U(kForm, "编辑框1_工作面允许瓦斯浓度"), "");
    set_control_text(U(kForm, "编辑框1_瓦斯涌出不均衡系数"), "abc");
    for (const char* scheme : {"巷道式通风", "管道压入式通风", "管道吸入式通风"}) {
        choose("列表框1", scheme);
        click("图形按钮_计算");
        EXPECT_NE(text(Q2), "-") << scheme;
        EXPECT_EQ(text("编辑框2_按瓦斯绝对涌出量计算"), "0") << scheme;
        EXPECT_NE(text(W), "-") << scheme;
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！") << scheme;
    }
    // The β of a duct that loses all its air every hundred metres.
    for (const char* beta : {"1", "1.5"}) {
        type("编辑框1_百米平均漏风率", beta);
        click("图形按钮_计算");
        EXPECT_EQ(text("编辑框1_管道漏风系数"), "-") << beta;
        EXPECT_EQ(text("编辑框2_沿程管道漏风耗损量Q漏"), "-") << beta;
        EXPECT_EQ(text(W), "-") << beta;
        EXPECT_EQ(text(Qh), "1506") << beta;
    }
}

// A diesel row whose count is 0 or empty has no machine in the tunnel: its
// power is not read, and without any machine the diesel factors are not
// either (Q3 is 0). The plan shows the rows counted and nothing of the
// others.
TEST_F(VentilationProgram, UnusedDieselRowsAreNotRead)
{
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> pasted;
        const char* ni;
        const char* q3;
        std::vector<const char*> in_plan, not_in_plan; // "" for a refused calculation
    } cases[] = {
        {"a row of no machines without its power", {{"编辑框2_设备1", ""}}, "478", "1505.7",
         {"=154×1+162×2=478kW", "装载机\n154\n1\n", "内燃机每kW所需风量\nN\n4.5\n", "3. 使用内燃机械时，供风量按每千瓦不小于 4.5"},
         {"挖掘机", "其它", "110", "不使用内燃"}},
        {"an emptied count", {{"编辑框3_数量3", ""}, {"编辑框2_设备3", "-"}}, "154", "485.1", {"=154×1=154kW"}, {"渣车"}},
        {"no machine at all",
         {{"编辑框3_数量2", "0"}, {"编辑框3_数量3", ""}, {"编辑框1_洞内同时使用内燃每KW所需的风量", ""}, {"编辑框2_设备利用率", "abc"}},
         "0", "0",
         {"本工程洞内不使用内燃设备，不计此项，ni = 0，Q3 = 0 m³/min。", "3. 洞内不使用内燃机械", "洞内不使用内燃设备\n—\n0\n"},
         {"内燃机每kW所需风量", "装载机", "渣车", "利用率"}},
        {"a counted row without its power", {{"编辑框2_设备2", ""}}, "-", "-", {}, {}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        type("编辑框3_数量2", "1");
        type("编辑框3_数量3", "2");
        type("编辑框2_设备2", "154");
        type("编辑框2_设备3", "162");
        type("编辑框1_洞内同时使用内燃每KW所需的风量", "4.5");
        type("编辑框2_设备利用率", "0.7");
        for (const auto& [box, value] : k.pasted) set_control_text(U(kForm, box), value);
        click("图形按钮_计算");
        EXPECT_EQ(text("编辑框3_洞内同时使用内燃机作业总功率数"), k.ni);
        EXPECT_EQ(text("编辑框2_按内燃机作业废气稀释"), k.q3);
        fs::remove_all(folder / "导出的方案");
        backend.queue_answer(0);
        click("图形按钮_导出");
        if (std::string(k.ni) == "-") {
            EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
            continue;
        }
        ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
        const std::string doc = report_text(folder / "导出的方案" / "隧道通风专项施工方案.doc");
        for (const char* t : k.in_plan) EXPECT_NE(doc.find(t), std::string::npos) << t << "\n" << doc;
        for (const char* t : k.not_in_plan) EXPECT_EQ(doc.find(t), std::string::npos) << t;
        EXPECT_EQ(doc.find("计算值_"), std::string::npos);
    }
}

// Fumes within the allowed concentration at once: the plan says why Q2 is 0
// instead of ending the formula with it.
TEST_F(VentilationProgram, ThePlanSaysWhenTheFumesNeedNoAir)
{
    const auto plan = [&] {
        click("图形按钮_计算");
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
        return report_text(folder / "导出的方案" / "隧道通风专项施工方案.doc");
    };
    std::string doc = plan();
    EXPECT_NE(doc.find("Q2=70.72×39.75×"), std::string::npos);
    EXPECT_NE(doc.find("≈221m³/min"), std::string::npos);
    EXPECT_EQ(doc.find("按上式 X"), std::string::npos);

    type("编辑框1_每kg炸药折合的体积", "2");
    doc = plan();
    ASSERT_EQ(text(Q2), "0");
    EXPECT_NE(doc.find("按上式 X ≈ 1.14 > 1：炮烟扩散后一氧化碳浓度即不超过允许浓度（100ppm），无需通风稀释炮烟，取 Q2 = 0 m³/min。"),
              std::string::npos)
        << doc;
    EXPECT_EQ(doc.find("Q2=70.72×39.75×"), std::string::npos) << "no formula ends in the 0 it does not give";
}

// The empty altitude item has no pressure: the correction is not made with
// the pressure of an earlier choice, nothing built on it is shown, and the
// calculation leaves nothing to export until an altitude is chosen.
TEST_F(VentilationProgram, EmptyAltitudeCorrectsNothing)
{
    choose("组合框3", "1500");
    click("图形按钮_计算");
    EXPECT_EQ(text("编辑框2_高海拔风量修正风量Q高"), "327.35"); // 1784.61 × (100 / 84.5 − 1)
    choose("组合框3", "");
    EXPECT_EQ(text("编辑框1_地区大气压"), "-");
    click("图形按钮_计算");
    for (const char* none : {"编辑框2_高海拔风量修正风量Q高", "编辑框2_风机供风量Q供", "编辑框2_管道阻力损失",
                             "编辑框2_局部阻力损失hx", "编辑框2_风机全压h机", W})
        EXPECT_EQ(text(none), "-") << none;
    EXPECT_EQ(text(Qh), "1506");
    EXPECT_EQ(text("编辑框2_沿程管道漏风耗损量Q漏"), "278.61");
    EXPECT_EQ(text("编辑框2_风阻系数Rf"), "2.504");
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));

    choose("组合框3", "1500");
    click("图形按钮_计算");
    EXPECT_EQ(text("编辑框2_高海拔风量修正风量Q高"), "327.35");
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
}

// --- the gas limit ------------------------------------------------------------------------

// Bg and Bg0 are fractions of the air's volume. A Bg above 0.01 (1 %) is no
// limit any rule allows, and one not above Bg0 leaves the incoming air no
// margin: either refuses the gas demand, and the status line says why, with
// no message box; the next calculation that stands clears the reason.
TEST_F(VentilationProgram, GasLimitOutsideTheRulesRefusesWithAReason)
{
    const char* const Q5 = "编辑框2_按瓦斯绝对涌出量计算";
    const char* const kIdle = "方案导出需要Word2007以上版本！";
    const char* const kAboveLimit = "Bg超过0.01（1 %），无法计算Q5";
    const char* const kNoMargin = "Bg不大于Bg0，无法计算Q5";
    const struct {
        const char *Bg, *Bg0;
        const char* q5; // "-": refused
        const char* status;
    } cases[] = {
        {"0.05", "0", "-", kAboveLimit}, // methane's explosive limit typed as the face's limit
        {"0.005", "0", "1200", kIdle},   // 3 / 0.005 × 2.0
        {"0.0100001", "0", "-", kAboveLimit},
        {"0.01", "0", "600", kIdle},
        {"0.004", "0.004", "-", kNoMargin},
        {"0.004", "0.006", "-", kNoMargin},
        {"0.006", "0.004", "3000", kIdle}, // 3 / 0.002 × 2.0
    };
    click("选择框1_隧道含瓦斯");
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.Bg) + " over " + k.Bg0);
        type("编辑框1_工作面允许瓦斯浓度", k.Bg);
        type("编辑框1_送入风流中瓦斯浓度", k.Bg0);
        const size_t messages = backend.messages.size();
        click("图形按钮_计算");
        EXPECT_EQ(backend.messages.size(), messages) << "no message box from a calculation";
        EXPECT_EQ(text(Q5), k.q5);
        EXPECT_EQ(text("标签1_提示信息"), k.status);
        const bool refused = std::string(k.q5) == "-";
        EXPECT_EQ(text(Qh) == "-", refused) << text(Qh);
        EXPECT_EQ(text(W) == "-", refused) << text(W);
        fs::remove_all(folder / "导出的方案");
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, refused ? "计算未得出结果，请检查输入后重新计算！" : "计算方案导出成功！");
    }
    // Not a gas tunnel: the gas inputs are not read, whatever they hold.
    type("编辑框1_工作面允许瓦斯浓度", "0.05");
    click("选择框1_隧道含瓦斯");
    click("图形按钮_计算");
    EXPECT_EQ(text(Q5), "0");
    EXPECT_EQ(text("标签1_提示信息"), kIdle);
}

// --- every figure the plan prints is an input ---------------------------------------------

// Boxes every scheme's plan prints, whether or not the scheme's formulas use
// them: read under their domain ("-5", "2..5" refuse the calculation), shown
// in the plan as typed, and a change after the calculation leaves nothing
// current to export.
TEST_F(VentilationProgram, PrintedBoxesAreReadInEveryScheme)
{
    const struct {
        const char* box;
        const char* row; // the plan's parameter row, up to the value
        const char* value;
    } printed[] = {
        {"编辑框1_掌子面满足下循环施工长度", "掌子面满足下循环施工长度L(m)\nL\n", "150"},
        {"编辑框1_压入风口至工作面的距离", "压入风口至工作面的距离\nL入口\n", "30"},
        {"编辑框1_每kg炸药折合的体积", "每kg炸药折合的废气体积\nb\n", "45"},
    };
    const auto export_says = [&] {
        fs::remove_all(folder / "导出的方案");
        backend.queue_answer(0);
        click("图形按钮_导出");
        return backend.messages.back().text;
    };
    for (const char* scheme : {"巷道式通风", "管道压入式通风", "管道吸入式通风", "管道混合式压风", "管道混合式吸风"}) {
        choose("列表框1", scheme);
        for (const auto& p : printed) {
            SCOPED_TRACE(std::string(scheme) + " " + p.box);
            const std::string start = text(p.box);
            for (const char* outside : {"-5", "2..5", ""}) {
                paste(p.box, outside);
                click("图形按钮_计算");
                EXPECT_EQ(export_says(), "计算未得出结果，请检查输入后重新计算！") << "\"" << outside << "\"";
            }
            type(p.box, p.value);
            click("图形按钮_计算");
            ASSERT_EQ(export_says(), "计算方案导出成功！");
            EXPECT_NE(report_text(folder / "导出的方案" / "隧道通风专项施工方案.doc").find(std::string(p.row) + p.value + "\n"),
                      std::string::npos);
            type(p.box, start);
            EXPECT_EQ(export_says(), "输入已修改，请重新计算后导出！");
        }
    }
}

// --- selections, lists and lookups ------------------------------------------------------

TEST_F(VentilationProgram, StartState)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框_隧道通风"));
    EXPECT_EQ(rt.get(c(""), prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Width).integer(), cmd_client_width(U("main", "外形框_隧道通风")) - 10);
    EXPECT_EQ(rt.get(c(""), prop::Height).integer(), cmd_client_height(U("main", "外形框_隧道通风")) - 10);
    EXPECT_FALSE(disabled("图形按钮_导出"));

    EXPECT_EQ(item("列表框1"), "管道压入式通风");
    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/ventilation/scheme_forced.png");
    EXPECT_EQ(item("组合框1"), "非电雷管起爆");
    EXPECT_EQ(item("组合框3"), "0");
    EXPECT_EQ(text("编辑框1_地区大气压"), "100");
    EXPECT_EQ(item("组合框_隧道类别"), "公路隧道");
    EXPECT_EQ(c("组合框_隧道小类").items,
              (std::vector<std::string>{"正洞机械开挖自卸汽车-无轨", "正洞开挖轻轨斗车运输-轨道", "人工开挖"}));
    EXPECT_FALSE(checked("选择框1_隧道含瓦斯"));
    EXPECT_EQ(text("选择框1_隧道含瓦斯"), "隧道不含瓦斯");
    for (const char* gas : {"编辑框1_工作面允许瓦斯浓度", "编辑框1_瓦斯绝对涌出量", "编辑框1_送入风流中瓦斯浓度",
                            "编辑框1_瓦斯涌出不均衡系数"})
        EXPECT_TRUE(disabled(gas)) << gas;
    // A fraction of the air's volume: 0.5 %, the highway limit.
    EXPECT_EQ(text("编辑框1_工作面允许瓦斯浓度"), "0.005");
    EXPECT_EQ(text("标签1_送入风流中瓦斯浓度"), "送入风流中瓦斯浓度Bg0");
    // No result shows a figure before a calculation has worked one out.
    for (const char* result : {"编辑框1_同时爆破的炸药量", "编辑框1_爆破后炮烟的扩散长度", "编辑框2_最大需风量Qh"})
        EXPECT_EQ(text(result), "-") << result;
    EXPECT_EQ(text("编辑框3_洞内同时使用内燃机作业总功率数"), "");
    EXPECT_EQ(text("标签1_提示信息"), "方案导出需要Word2007以上版本！");
    EXPECT_EQ(picture(kForm, "进度条倒数"), app::res::countdown_picture(10));
    // The tips attached at creation; the list's is the pressed-in scheme's.
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), 36u);
    EXPECT_EQ(tips.at(c("编辑框1_百米平均漏风率").id), "一般取0.011～0.015即1.1%～1.5%范围");
}

TEST_F(VentilationProgram, AltitudeWritesThePressureOfItsRowOnly)
{
    // The empty last item has no pressure: "-", not the pressure of the
    // choice before it.
    const std::pair<const char*, const char*> steps[] = {
        {"1000", "89.9"}, {"500", "95.5"}, {"", "-"}, {"1500", "84.5"}, {"", "-"}, {"5000", "53.6"}, {"0", "100"},
    };
    for (const auto& [altitude, pressure] : steps) {
        choose("组合框3", altitude);
        EXPECT_EQ(text("编辑框1_地区大气压"), pressure) << "after \"" << altitude << "\"";
    }
}

TEST_F(VentilationProgram, GasTickForcesNonElectricAndUntickKeepsIt)
{
    const char* boxes[] = {"编辑框1_工作面允许瓦斯浓度", "编辑框1_瓦斯绝对涌出量", "编辑框1_送入风流中瓦斯浓度",
                           "编辑框1_瓦斯涌出不均衡系数"};
    const char* labels[] = {"标签1_工作面允许瓦斯浓度", "标签1_瓦斯绝对涌出量", "标签1_送入风流中瓦斯浓度",
                            "标签1_瓦斯涌出不均衡系数"};
    choose("组合框1", "电雷管起爆");
    type("编辑框1_洞内允许最小风速", "0.25");
    click("图形按钮_计算");
    const std::string qh_before = text("编辑框2_最大需风量Qh");

    click("选择框1_隧道含瓦斯");
    EXPECT_TRUE(checked("选择框1_隧道含瓦斯"));
    EXPECT_EQ(text("选择框1_隧道含瓦斯"), "隧道含瓦斯");
    EXPECT_EQ(item("组合框1"), "非电雷管起爆");
    EXPECT_TRUE(disabled("组合框1"));
    EXPECT_EQ(text("编辑框1_瓦斯绝对涌出量"), "3");
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(disabled(boxes[i])) << boxes[i];
        EXPECT_EQ(color(boxes[i]), 0) << boxes[i];
        EXPECT_EQ(color(labels[i]), 0) << labels[i];
    }
    type("编辑框1_瓦斯涌出不均衡系数", "1.5");

    click("选择框1_隧道含瓦斯");
    EXPECT_FALSE(checked("选择框1_隧道含瓦斯"));
    EXPECT_EQ(text("选择框1_隧道含瓦斯"), "隧道不含瓦斯");
    EXPECT_FALSE(disabled("组合框1"));
    EXPECT_EQ(item("组合框1"), "非电雷管起爆");
    EXPECT_EQ(text("编辑框1_瓦斯绝对涌出量"), "0");
    EXPECT_EQ(text("编辑框1_瓦斯涌出不均衡系数"), "1.5");
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(disabled(boxes[i])) << boxes[i];
        EXPECT_EQ(color(boxes[i]), 0x808080) << boxes[i];
        EXPECT_EQ(color(labels[i]), 0x808080) << labels[i];
    }
    // Selections never recompute.
    EXPECT_EQ(text("编辑框2_最大需风量Qh"), qh_before);
}

TEST_F(VentilationProgram, SchemeChoiceShowsItsDiagramAndTipOnly)
{
    click("图形按钮_计算");
    const struct {
        const char* scheme;
        const char* diagram;
    } rows[] = {
        {"巷道式通风", "scheme_roadway.png"},  {"管道吸入式通风", "scheme_exhaust.png"},
        {"管道混合式压风", "scheme_mixed.png"}, {"管道混合式吸风", "scheme_mixed.png"},
        {"管道压入式通风", "scheme_forced.png"},
    };
    std::string mixed_tip;
    for (const auto& r : rows) {
        choose("列表框1", r.scheme);
        EXPECT_EQ(picture(kForm, "图片框1"), std::string("resources/pictures/ventilation/") + r.diagram) << r.scheme;
        const std::string tip = c("气球提示框1").tips.at(c("列表框1").id);
        if (std::string(r.scheme) == "管道混合式压风") mixed_tip = tip;
        if (std::string(r.scheme) == "管道混合式吸风") {
            EXPECT_EQ(tip, mixed_tip);
        }
        EXPECT_EQ(text("标签20"), "②-2管道压入式爆破排烟Q2") << "no recalculation on a scheme choice";
    }
}

TEST_F(VentilationProgram, RailwayCategoryRefillsAndChoosesItsChargeTable)
{
    choose("组合框_隧道类别", "铁路隧道");
    EXPECT_EQ(c("组合框_隧道小类").items, std::vector<std::string>{"铁路隧道掘进"});
    EXPECT_EQ(item("组合框_隧道小类"), "铁路隧道掘进");
    click("按钮3");
    ASSERT_NE(rt.form("popup"), nullptr);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_1_0.png");
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 700);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 600);

    choose("组合框_隧道类别", "煤矿隧道");
    choose("组合框_隧道小类", "每立方米耗药经验值");
    click("按钮3");
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_2_1.png");
}

TEST_F(VentilationProgram, DuctTypeFollowsOnlyAnOpenPopup)
{
    choose("组合框2", "金属风管");
    EXPECT_EQ(rt.form("popup"), nullptr) << "a closed pop-up stays closed";

    click("按钮2"); // friction table of the duct schemes opens the pop-up
    ASSERT_NE(rt.form("popup"), nullptr);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/friction_duct.png");

    const struct {
        const char* duct;
        const char* table;
        int width, height;
    } rows[] = {
        {"聚氯乙烯塑料风管", "duct_leakage_pvc.png", 670, 500},
        {"胶皮风管", "duct_leakage_rubber.png", 670, 400},
        {"金属风管", "duct_leakage_metal.png", 670, 670},
    };
    for (const auto& r : rows) {
        choose("组合框2", r.duct);
        EXPECT_EQ(picture("popup", "图片框2"), std::string("resources/pictures/ventilation/") + r.table) << r.duct;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), r.width) << r.duct;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), r.height) << r.duct;
    }
    choose("列表框1", "巷道式通风");
    click("按钮2");
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/friction_roadway.png");
}

// --- the ventilation plan ----------------------------------------------------------------

struct SchemeReport {
    const char* scheme;
    const char* own_words; // a sentence only this scheme's plan carries
    const char* q2_heading;
    const char* qh_chain; // the largest demand, then Qh rounded up from it
};

void PrintTo(const SchemeReport& r, std::ostream* os) { *os << r.scheme; }

struct PlanExport : VentilationProgram, ::testing::WithParamInterface<SchemeReport> {
    fs::path report() { return folder / "导出的方案" / "隧道通风专项施工方案.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_P(PlanExport, WritesTheSchemesTemplateWithEveryPlaceholderFilled)
{
    const SchemeReport& r = GetParam();
    choose("列表框1", r.scheme);
    choose("组合框3", "1000");
    choose("组合框2", "聚氯乙烯塑料风管");
    type("编辑框1_掌子面满足下循环施工长度", "186");
    type("编辑框1_名称1", "凿岩台车&<三臂>");
    type("编辑框3_数量1", "1"); // (a row with no machine is not in the plan)
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"隧道通风专项施工方案.doc"});

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find(r.own_words), std::string::npos) << "the " << r.scheme << " template";
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("(编辑框|组合框|列表框|选择框|标签)[0-9_]")))
        << "unreplaced: " << left.str() << "…";
    const char* shown[] = {
        r.scheme,             // 列表框1: the item text
        "项目海拔 1000 m",    // 组合框3
        "风管采用聚氯乙烯塑料风管", // 组合框2
        "采用非电雷管起爆",   // 组合框1
        "瓦斯情况：隧道不含瓦斯", // the check box's caption
        r.q2_heading,         // 标签20's caption
        "掌子面满足下循环施工长度L(m)\nL\n186\n", // the alias row 编辑框1_坑道长度
        "凿岩台车&<三臂>",
        "地区大气压 89.9 kPa",
        // α and R_f with their units, in their formulas and in the results
        "=0.00225kg/m³\n", "N·s2/m8\n", "摩阻系数α\n0.00225\nkg/m³\n", "\nN·s2/m8\n管道阻力损失hf",
        // Q3 = 4.5 × (110 + 154 + 2 × 162) × 0.7 = 1852.2
        "Qh=max(Q1,Q2,Q3,Q4,Q5)，向上取整\n", r.qh_chain,
    };
    for (const char* s : shown) EXPECT_NE(doc.find(s), std::string::npos) << s;

    // Countdown 10, the preparation text, 9 … 1 between the groups, then 0;
    // the progress count; the idle status and picture again.
    std::vector<std::string> marks;
    for (const std::string& t : backend.trail)
        if (t.rfind("计算书已导出 ", 0) != 0) marks.push_back(t);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(std::count_if(backend.trail.begin(), backend.trail.end(),
                            [](const std::string& t) { return t.rfind("计算书已导出 ", 0) == 0; }),
              100);
    EXPECT_FALSE(disabled("图形按钮_导出"));
    EXPECT_FALSE(disabled("图形按钮_计算"));
}

INSTANTIATE_TEST_SUITE_P(
    Ventilation, PlanExport,
    ::testing::Values(SchemeReport{"巷道式通风", "5 为巷道式通风的炮烟排除系数", "②-1巷道式通风爆破排烟Q2",
                                   "max(207,707.2,1852.2,636.48,0)=1852.2，向上取整得Qh=1853m³/min\n"},
                      SchemeReport{"管道压入式通风", "0.0001 为一氧化碳允许浓度", "②-2管道压入式爆破排烟Q2",
                                   "max(207,221,1852.2,636.48,0)=1852.2，向上取整得Qh=1853m³/min\n"},
                      SchemeReport{"管道吸入式通风", "吸风口应尽量靠近工作面", "②-3管道吸入式爆破排烟Q2",
                                   "max(207,1495.5,1852.2,636.48,0)=1852.2，向上取整得Qh=1853m³/min\n"},
                      SchemeReport{"管道混合式压风", "混合式通风以压入式为主时", "②-4管道混合式爆破排烟Q2",
                                   "max(207,1737.48,1852.2,636.48,0)=1852.2，向上取整得Qh=1853m³/min\n"},
                      SchemeReport{"管道混合式吸风", "1.3 为以吸入式为主时的风量增大系数", "②-5管道混合式爆破排烟Q2",
                                   "max(207,2258.73,1852.2,636.48,0)=2258.73，向上取整得Qh=2259m³/min\n"}),
    [](const ::testing::TestParamInfo<SchemeReport>& i) { return "scheme" + std::to_string(i.index); });

// The largest demand is stated to the two decimals the demands are compared
// at, with "≈" where that shortens an unrounded Q3, and Qh follows from it:
// rounded up, or the same where it is whole already.
TEST_F(PlanExport, QhFollowsFromTheLargestDemandAsStated)
{
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> typed;
        bool gas;
        const char* chain;
    } cases[] = {
        {"starting inputs", {}, false, "max(207,221,1505.7,636.48,0)=1505.7，向上取整得Qh=1506m³/min\n"},
        {"a diesel demand whole at two decimals",
         {{"编辑框3_数量3", "0"}, {"编辑框2_设备2", "1"}, {"编辑框2_设备利用率", "1"}, {"编辑框1_洞内同时使用内燃每KW所需的风量", "1128.004"}},
         false, "max(207,221,1128.004,636.48,0)≈1128，即Qh=1128m³/min\n"},
        {"a diesel demand above a whole number at two decimals",
         {{"编辑框3_数量3", "0"}, {"编辑框2_设备2", "1"}, {"编辑框2_设备利用率", "1"}, {"编辑框1_洞内同时使用内燃每KW所需的风量", "1128.006"}},
         false, "max(207,221,1128.006,636.48,0)≈1128.01，向上取整得Qh=1129m³/min\n"},
        {"the gas demand", {{"编辑框1_瓦斯绝对涌出量", "5"}}, true, "max(207,221,1505.7,636.48,2000)=2000，即Qh=2000m³/min\n"},
    };
    const std::map<std::string, std::string> start = shown_texts();
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        if (k.gas) click("选择框1_隧道含瓦斯");
        for (const auto& [box, value] : k.typed) type(box, value);
        click("图形按钮_计算");
        fs::remove_all(folder / "导出的方案");
        export_ok();
        ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
        EXPECT_NE(report_text(report()).find(k.chain), std::string::npos) << report_text(report());
        // back to the starting inputs
        if (k.gas) click("选择框1_隧道含瓦斯");
        for (const auto& [box, value] : k.typed) type(box, start.at(box));
    }
}

TEST_F(PlanExport, LaterExportReplacesTheEarlierPlan)
{
    choose("列表框1", "巷道式通风");
    click("图形按钮_计算");
    export_ok();
    choose("列表框1", "管道吸入式通风");
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("吸风口应尽量靠近工作面"), std::string::npos);
    EXPECT_EQ(doc.find("巷道式通风的炮烟排除系数"), std::string::npos);
    EXPECT_NE(doc.find("②-3管道吸入式爆破排烟Q2\n1495.5\n"), std::string::npos);
}

// A plan states only what a calculation worked out from the inputs on the
// form: before one, or after a scheme, a tick or a number changed since,
// nothing is written; computing again (or undoing the change) makes it
// current.
TEST_F(PlanExport, OnlyCurrentResultsAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));

    const std::vector<std::function<void()>> changes = {
        [&] { choose("列表框1", "巷道式通风"); },
        [&] { choose("组合框1", "电雷管起爆"); },
        [&] { click("选择框1_隧道含瓦斯"); }, // also makes the detonation non-electric
        [&] { choose("组合框3", "1000"); },
        [&] { type("编辑框1_隧道开挖面积", "80"); },
        [&] { type("编辑框3_数量1", "2"); },
        [&] { type("编辑框1_百米平均漏风率", "0.012"); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        SCOPED_TRACE("change " + std::to_string(i));
        click("图形按钮_计算");
        changes[i]();
        export_ok();
        EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
        EXPECT_FALSE(fs::exists(report()));
    }
    click("图形按钮_计算");
    const std::string w = text(W);
    type("编辑框1_隧道开挖面积", "81");
    type("编辑框1_隧道开挖面积", "80"); // typed back: the results belong to the inputs again
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_NE(report_text(report()).find("风机计算功率W\n" + w + "\n"), std::string::npos);
}

// The gas inputs are in the plan only where Q5 was worked out from them: a
// tunnel without gas says so and shows no gas figures (which the
// calculation did not read); a gas tunnel shows each, and the Q5 formula.
TEST_F(PlanExport, GasLinesOnlyForAGasTunnel)
{
    set_control_text(U(kForm, "编辑框1_工作面允许瓦斯浓度"), "");
    click("图形按钮_计算");
    export_ok();
    std::string doc = report_text(report());
    EXPECT_NE(doc.find("本工程隧道不含瓦斯，不计此项，Q5 = 0 m³/min。"), std::string::npos);
    for (const char* gone : {"瓦斯涌出不均衡系数", "工作面允许瓦斯浓度", "瓦斯隧道按规定配置", "计算值_", "：。", "= -"})
        EXPECT_EQ(doc.find(gone), std::string::npos) << gone;
    EXPECT_NE(doc.find("5. 洞内氧气体积不低于20%"), std::string::npos);

    click("选择框1_隧道含瓦斯");
    type("编辑框1_工作面允许瓦斯浓度", "0.008");
    type("编辑框1_掌子面满足下循环施工长度", "150");
    click("图形按钮_计算");
    export_ok();
    doc = report_text(report());
    EXPECT_EQ(doc.find("不计此项"), std::string::npos);
    // Q5 = 3 / (0.008 − 0) × 2.0; Bg stated with what it means wherever it
    // stands as a limit, as a plain figure in the formula.
    for (const char* shown : {"本工程隧道含瓦斯，按下式计算：", "=30.008−0×2.0=750m³/min" /* 3 over 0.008 − 0 */,
                              "工作面允许瓦斯浓度\nBg\n0.008（0.8 %）\n", "瓦斯涌出不均衡系数\nK'\n2.0\n",
                              "6. 瓦斯隧道工作面允许瓦斯浓度 0.008（0.8 %）。",
                              "4. 瓦斯隧道按规定配置瓦斯检测仪器，工作面瓦斯浓度超过 0.008（0.8 %） 时", "L\n150\n"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
}

// Without a scheme there is no fume demand: the calculation shows "-" for
// Q2 and what is built on it, and leaves nothing to export.
TEST_F(PlanExport, WithoutASchemeNothingIsWritten)
{
    rt_set_property(U(kForm, "列表框1"), prop::ListBox::CurrentIndex, -1);
    click("图形按钮_计算");
    EXPECT_EQ(text(Q2), "-");
    EXPECT_EQ(text(Qh), "-");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(report()));
    EXPECT_FALSE(disabled("图形按钮_导出"));
}

TEST_F(PlanExport, CancelLeavesEverythingAsItWas)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(text("标签1_提示信息"), "方案导出需要Word2007以上版本！");
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_FALSE(disabled("图形按钮_计算"));
}

} // namespace

// The deep-hole bench-blasting module in the whole headless program: the
// form as it starts, the charge-length coefficient, the pattern and the
// charges as a table of worked cases, the compute frame, the lookups, and
// the report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "DeepHole";

constexpr const char* H = "编辑框1_阶梯高度";
constexpr const char* kTau = "编辑框1_装药长度系数";
// τ, then the outputs in the order of the result panel.
constexpr const char* kResults[] = {kTau,
                                    "编辑框1_钻根长度",
                                    "编辑框1_预计炮孔深度",
                                    "编辑框1_最小抵抗线长度",
                                    "编辑框1_炮孔间距",
                                    "编辑框1_炮孔排距",
                                    "编辑框1_炮孔堵塞长度",
                                    "编辑框1_抛掷爆破每一炮孔药量",
                                    "编辑框1_松动爆破每一炮孔药量"};
constexpr const char* kInputs[] = {"编辑框1_炮孔孔径",    H,
                                   "编辑框1_钻根长度系数h", "编辑框1_炮孔间距系数",
                                   "编辑框1_炮孔排距系数",  "编辑框1_装药密度",
                                   "编辑框2_换算系数e",     "编辑框2_炸药单位消耗量",
                                   "编辑框1_炮孔密度系数"};

struct DeepHoleProgram : testsupport::ModuleProgram {
    DeepHoleProgram() : ModuleProgram(kForm)
    {
        backend.record_compute_button = true;
        backend.record_lamp = true;
    }
    void choose(const std::string& combo, int index) { rt.user_choose(c(combo), index); }
    std::vector<std::string> results()
    {
        std::vector<std::string> v;
        for (const char* r : kResults) v.push_back(text(r));
        return v;
    }
};

TEST_F(DeepHoleProgram, StartsInItsFrameWithTheFormsDefaultsAndTips)
{
    const Ref frame = U("main", "外形框1_深孔爆破");
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_深孔爆破"));
    EXPECT_EQ(prop_of("", prop::Left), 5);
    EXPECT_EQ(prop_of("", prop::Top), 5);
    EXPECT_EQ(prop_of("", prop::Width), cmd_client_width(frame));
    EXPECT_EQ(prop_of("", prop::Height), cmd_client_height(frame));
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    // q keeps the form's 1.7 although the first rock class shown,
    // 次坚石(六类土), reads 1.72: nothing is filled until a pick.
    const std::pair<const char*, const char*> shown[] = {
        {"标签28", "露天台阶深孔爆破计算"},
        {"编辑框1_炮孔孔径", "160"},
        {H, "10"},
        {"编辑框1_钻根长度系数h", "0.05"},
        {"编辑框1_炮孔间距系数", "0.8"},
        {"编辑框1_炮孔排距系数", "0.9"},
        {"编辑框1_装药密度", "900"},
        {"编辑框2_换算系数e", "1"},
        {"编辑框2_炸药单位消耗量", "1.7"},
        {"编辑框1_炮孔密度系数", "1"},
        {"标签36", "装药长度系数τ  (软件自动选取)"},
        {"透明标签20", "炸药换算系数e"},
        {"透明标签24", "炸药单位消耗量q(kg/m3)"},
        {"标签1", "爆破类型"},
        {"透明标签3", "岩石类别"},
        {"透明标签12", "雷管选择"},
        {"透明标签19", "炸药选用"},
        {"标签1_提示信息", "方案导出需要Word2007以上版本！"},
    };
    for (const auto& [name, want] : shown) EXPECT_EQ(text(name), want) << name;
    for (const char* r : kResults) {
        EXPECT_EQ(text(r), "-") << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::InputMode), 1) << r;
    }
    // τ is read-only black on light grey, the outputs white on grey.
    EXPECT_EQ(prop_of(kTau, prop::EditBox::TextColor), 0);
    for (const char* r : kResults) {
        if (std::string(r) == kTau) continue;
        EXPECT_EQ(prop_of(r, prop::EditBox::TextColor), 0xFFFFFF) << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::BackColor), 0x808080) << r;
    }
    for (const char* in : kInputs) EXPECT_EQ(prop_of(in, prop::EditBox::InputMode), 10) << in;

    const std::pair<const char*, const char*> items[] = {
        {"组合框5", "松动爆破"}, {"组合框3", "次坚石(六类土)"}, {"组合框4", "电雷管起爆"}, {"组合框7", "硝铵炸药2号"}};
    for (const auto& [combo, want] : items) EXPECT_EQ(current_item_text(U(kForm, combo)), want) << combo;
    EXPECT_EQ(c("组合框5").items, (std::vector<std::string>{"松动爆破", "抛掷爆破"}));
    EXPECT_EQ(c("组合框4").items, (std::vector<std::string>{"火雷管起爆", "电雷管起爆"}));
    for (const char* b : {"按钮7", "按钮2", "按钮1"}) EXPECT_EQ(text(b), "查询") << b;
    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/blasting/bench_diagram_deep.png");

    const std::map<std::string, std::string> want_tips = {
        {"编辑框1_炮孔孔径", "常用的深孔直径有76～80、100、150、170、200、250、310mm几种"},
        {"编辑框1_阶梯高度", "指台阶的高差"},
        {"编辑框1_钻根长度系数h", "通常取0.1~0.15)H 或（0.1~0.3)W,岩石较硬时取上限,本软件中取（0.1~0.15)范围"},
        {"编辑框1_炮孔间距系数", "当采用多排或等边三角形布置炮孔时,取值范围（0.8~1.2）"},
        {"编辑框1_炮孔排距系数", "本软件中一般取值范围（0.7~1.0）"},
        {"编辑框1_装药密度", "一般取900kg/m3"},
        {"编辑框1_装药长度系数", "当H小于10m时,τ取0.6;当H=10~15m时,τ取0.5;当H大于15m时,τ取0.4;软件已自动选取"},
        {"编辑框1_炮孔密度系数", "炮孔密度系数，一般为0.8～1.0"},
    };
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;
}

// --- τ, the pattern and the charges ---------------------------------------------------

struct FigureCase {
    const char* name;
    std::vector<std::pair<const char*, int>> picks;         // combo, index chosen first
    std::vector<std::pair<const char*, const char*>> typed; // box, text typed over it
    std::vector<std::string> shown; // τ, h, L, W, a, b, L2, throw, loosening after one compute click
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct Figures : DeepHoleProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(Figures, OneComputeClickShows)
{
    for (const auto& [combo, index] : GetParam().picks) choose(combo, index);
    for (const auto& [box, value] : GetParam().typed) type(box, value);
    click("图形按钮_计算");
    EXPECT_EQ(results(), GetParam().shown);
}

const std::vector<std::string> kDefaults = {"0.5", "0.5", "10.5", "2.36", "2.36", "2.12", ">2.36", "94.68", "31.25"};
const std::vector<std::string> kNoBurden = {"-", "-", "-", "-", "-"}; // a, b, L2 and both charges

std::vector<std::string> with_no_burden(std::vector<std::string> head)
{
    head.insert(head.end(), kNoBurden.begin(), kNoBurden.end());
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    DeepHole, Figures,
    ::testing::Values(
        // h 10·0.05, L 10 + 0.5, W √(0.16²·900·10.5·0.5·0.785 / (1·1.7·1·10))
        // = √5.5855 = 2.363, a = W, b 0.9·2.36 = 2.124,
        // throw 1·1.7·2.36·10·2.36 = 94.683, loosening ×0.33 = 31.245
        FigureCase{"defaults", {}, {}, kDefaults},
        // τ by bench height, with the 1e-7 tolerance at 10 and 15 m.
        FigureCase{"bench of 15 m", {}, {{H, "15"}}, {"0.5", "0.75", "15.75", "2.36", "2.36", "2.12", ">2.36", "142.02", "46.87"}},
        FigureCase{"bench of 9.99 m", {}, {{H, "9.99"}}, {" 0.6", "0.5", "10.49", "2.59", "2.59", "2.33", ">2.59", "113.92", "37.59"}},
        FigureCase{"bench of 15.01 m", {}, {{H, "15.01"}}, {" 0.4", "0.75", "15.76", "2.11", "2.11", "1.9", ">2.11", "113.6", "37.49"}},
        FigureCase{"bench of 20 m", {}, {{H, "20"}}, {" 0.4", "1", "21", "2.11", "2.11", "1.9", ">2.11", "151.37", "49.95"}},
        FigureCase{"just under 10 m counts as 10", {}, {{H, "9.99999995"}}, kDefaults},
        FigureCase{"just over 15 m counts as 15", {}, {{H, "15.00000005"}},
                   {"0.5", "0.75", "15.75", "2.36", "2.36", "2.12", ">2.36", "142.02", "46.87"}},
        // The spacing coefficient, the blasting type and the detonator only
        // go into the report.
        FigureCase{"report-only inputs", {{"组合框5", 1}, {"组合框4", 0}}, {{"编辑框1_炮孔间距系数", "1.2"}}, kDefaults},
        // L adds the unrounded subdrill: 10.004 + 0.002 = 10.006 → 10.01,
        // where the subdrill rounded to 0 would give 10; h, too small for its
        // two places, shows two significant digits.
        FigureCase{"hole depth from the unrounded subdrill", {}, {{H, "10.004"}, {"编辑框1_钻根长度系数h", "0.0002"}},
                   {"0.5", "0.002", "10.01", "2.31", "2.31", "2.08", ">2.31", "90.75", "29.95"}},
        // W reads the shown L 9.32 (4.04), not 9.324 (4.05).
        FigureCase{"burden from the shown hole depth", {}, {{H, "8.88"}, {"编辑框1_炮孔孔径", "250"}},
                   {" 0.6", "0.44", "9.32", "4.04", "4.04", "3.64", ">4.04", "246.39", "81.31"}},
        // Loosening: 58.0479·0.33 = 19.155 → 19.15, not 58.05·0.33 = 19.16.
        FigureCase{"loosening from the unrounded throw charge", {}, {{H, "5.09"}},
                   {" 0.6", "0.25", "5.34", "2.59", "2.59", "2.33", ">2.59", "58.05", "19.15"}},
        // q 2.9 and e 1.33 from the very hard rock and black powder rows.
        FigureCase{"very hard rock, black powder", {{"组合框3", 3}, {"组合框7", 9}}, {},
                   {"0.5", "0.5", "10.5", "1.57", "1.57", "1.41", ">1.57", "95.07", "31.37"}},
        // The spacing is the hole density coefficient times the burden it
        // sized: m 1.2 gives W √(5.5855/1.2) = 2.157, a 1.2·2.16 = 2.592.
        FigureCase{"hole density 1.2", {}, {{"编辑框1_炮孔密度系数", "1.2"}},
                   {"0.5", "0.5", "10.5", "2.16", "2.59", "1.94", ">2.16", "95.1", "31.38"}},
        // The published bench (H 15 m, d 165 mm, m 1.2, with q 0.4): W 5.8 m,
        // a 7 m, Q 240 kg there. With τ 0.5 for a 15 m bench the burden here
        // is 4.59 m, a = 1.2·4.59 = 5.51, Q = 0.4·5.51·15·4.59 = 151.75; the
        // published W needs τ 0.8. With q 0.25 the burden is the published
        // 5.8 m and a = 6.96, the published 7 m to one figure.
        FigureCase{"published bench, q 0.4", {},
                   {{H, "15"}, {"编辑框1_炮孔孔径", "165"}, {"编辑框1_炮孔密度系数", "1.2"}, {"编辑框2_炸药单位消耗量", "0.4"}},
                   {"0.5", "0.75", "15.75", "4.59", "5.51", "4.13", ">4.59", "151.75", "50.08"}},
        FigureCase{"published bench, q 0.25", {},
                   {{H, "15"}, {"编辑框1_炮孔孔径", "165"}, {"编辑框1_炮孔密度系数", "1.2"}, {"编辑框2_炸药单位消耗量", "0.25"}},
                   {"0.5", "0.75", "15.75", "5.8", "6.96", "5.22", ">5.8", "151.38", "49.96"}},
        // An input outside its domain: "-" for everything built on it.
        FigureCase{"no hole diameter", {}, {{"编辑框1_炮孔孔径", ""}}, with_no_burden({"0.5", "0.5", "10.5", "-"})},
        FigureCase{"no bench height", {}, {{H, ""}}, with_no_burden({"-", "-", "-", "-"})},
        FigureCase{"no conversion factor", {}, {{"编辑框2_换算系数e", ""}}, with_no_burden({"0.5", "0.5", "10.5", "-"})},
        FigureCase{"negative subdrill", {}, {{"编辑框1_钻根长度系数h", "-2"}}, with_no_burden({"0.5", "-", "-", "-"})},
        FigureCase{"no subdrill", {}, {{"编辑框1_钻根长度系数h", "0"}},
                   {"0.5", "0", "10", "2.31", "2.31", "2.08", ">2.31", "90.71", "29.94"}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- what each input accepts ----------------------------------------------------------

// One input pasted over, then compute and export. `dashes` marks, for τ, h,
// L, W, a, b, L2 and the two charges in turn, which show "-" ('-') and which
// keep the starting figure ('.'); an input outside its domain gives no
// report. The subdrill coefficient may be 0, which its box shows as empty.
struct DomainCase {
    const char* box;
    const char* text;
    const char* dashes;
    bool reported = false;
};
void PrintTo(const DomainCase& c, std::ostream* os) { *os << c.box << " = \"" << c.text << "\""; }

struct InputDomains : DeepHoleProgram, ::testing::WithParamInterface<DomainCase> {};

TEST_P(InputDomains, AnInputOutsideItsDomainGivesNoFigureAndNoReport)
{
    const DomainCase& d = GetParam();
    rt.set_focus(&c(d.box));
    rt.user_edit_text(c(d.box), d.text);
    rt.set_focus(nullptr);
    click("图形按钮_计算");
    std::vector<std::string> want = kDefaults;
    for (size_t i = 0; i < want.size(); ++i)
        if (d.dashes[i] == '-') want[i] = "-";
    EXPECT_EQ(results(), want);
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, d.reported ? "计算书导出成功！" : "计算未得出结果，请检查输入后重新计算！");
    EXPECT_EQ(fs::exists(folder / "导出的方案" / "露天台阶深孔爆破计算书.doc"), d.reported);
}

INSTANTIATE_TEST_SUITE_P(
    DeepHole, InputDomains,
    ::testing::Values(DomainCase{"编辑框1_炮孔孔径", "", "...------"}, DomainCase{"编辑框1_炮孔孔径", "-160", "...------"},
                      DomainCase{"编辑框1_炮孔孔径", "-0", "...------"}, DomainCase{H, "", "---------"},
                      DomainCase{H, "0", "---------"}, DomainCase{H, "-10", "---------"}, DomainCase{H, "abc", "---------"},
                      DomainCase{"编辑框1_钻根长度系数h", "-0.05", ".--------"},
                      DomainCase{"编辑框1_钻根长度系数h", "-0", ".--------"},
                      DomainCase{"编辑框1_钻根长度系数h", "", ".--------"},
                      DomainCase{"编辑框1_炮孔排距系数", "0", ".....-..."}, DomainCase{"编辑框1_炮孔排距系数", "-0.9", ".....-..."},
                      DomainCase{"编辑框1_装药密度", "", "...------"}, DomainCase{"编辑框2_换算系数e", "-1", "...------"},
                      DomainCase{"编辑框2_炸药单位消耗量", "1e309", "...------"}, DomainCase{"编辑框1_炮孔密度系数", "0", "...------"},
                      DomainCase{"编辑框1_炮孔密度系数", "-1", "...------"},
                      // the spacing coefficient goes only into the report
                      DomainCase{"编辑框1_炮孔间距系数", "", "........."},
                      DomainCase{"编辑框1_炮孔间距系数", "-5", "........."},
                      DomainCase{"编辑框1_炮孔间距系数", "2..5", "........."},
                      DomainCase{"编辑框1_炮孔间距系数", "1.2", ".........", true}));

TEST_F(DeepHoleProgram, ResultsStayUntilTheNextComputeClick)
{
    click("图形按钮_计算");
    type(H, "20");
    choose("组合框3", 3);
    EXPECT_EQ(results(), kDefaults);
    click("图形按钮_计算");
    // W √(0.16²·900·21·0.4·0.785 / (2.9·20)) = 1.617
    EXPECT_EQ(text(kTau), " 0.4");
    EXPECT_EQ(text("编辑框1_最小抵抗线长度"), "1.62");
}

TEST_F(DeepHoleProgram, ComputePressesTheButtonShowsTheLampBusyAndSounds)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    backend.sounds.clear();
    backend.trail.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<pressed>", "<lamp busy>", "<normal>", "<lamp idle>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(DeepHoleProgram, LookupsShowTheShallowHoleTables)
{
    struct Lookup {
        const char* button;
        const char* picture;
        int window_width, window_height;
    };
    const Lookup lookups[] = {
        {"按钮7", "resources/pictures/blasting/bench_rock_classes.png", 600, 400},
        {"按钮2", "resources/pictures/blasting/bench_explosive_factors.png", 700, 500},
        {"按钮1", "resources/pictures/blasting/bench_charge_factors.png", 700, 500},
    };
    for (const Lookup& l : lookups) {
        click(l.button);
        ASSERT_NE(rt.form("popup"), nullptr) << l.button;
        EXPECT_EQ(picture("popup", "图片框2"), l.picture) << l.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), l.window_width) << l.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), l.window_height) << l.button;
    }
    EXPECT_EQ(text(kTau), "-");
}

// --- the report --------------------------------------------------------------------------

struct DeepHoleReport : DeepHoleProgram {
    fs::path reports() { return folder / "导出的方案"; }
    fs::path report() { return reports() / "露天台阶深孔爆破计算书.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

void no_placeholder_left(const std::string& doc)
{
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("(编辑框[0-9]_|组合框[0-9])"))) << "unreplaced: " << left.str() << "…";
}

TEST_F(DeepHoleReport, FillsEveryPlaceholderCountingDownFromTenToZero)
{
    type(H, "8");
    choose("组合框3", 2);
    choose("组合框5", 1);
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算书导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    ASSERT_FALSE(backend.opened.empty());
    EXPECT_NE(backend.opened.back().find("导出的方案"), std::string::npos) << backend.opened.back();
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(reports())) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"露天台阶深孔爆破计算书.doc"});

    // τ keeps its blank, the stemming its ">", the combos their item texts;
    // each coefficient shows as itself, never as its result plus a tail.
    const std::string doc = report_text(report());
    no_placeholder_left(doc);
    EXPECT_EQ(text(kTau), " 0.6");
    const std::string W = text("编辑框1_最小抵抗线长度");
    for (const std::string& shown :
         {std::string("露天台阶深孔爆破计算书"), std::string("坚  石(七类土)"), std::string("抛掷爆破"), std::string("电雷管起爆"),
          std::string("硝铵炸药2号"), std::string("取τ =  0.6。"), std::string("\n 0.6\n"), "\n>" + W + "\n",
          std::string("=0.05×8=0.4m"), std::string("=8+0.05×8=8.4m"), "a=m·W=1×" + W + "=" + W + "m",
          "=0.9×" + W + "≈" + text("编辑框1_炮孔排距") + "m", "≈" + text("编辑框1_抛掷爆破每一炮孔药量") + "kg"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    for (const char* wrong : {"0.4系数", "系数h", "8.4系数"}) EXPECT_EQ(doc.find(wrong), std::string::npos) << wrong;

    // 10 while the folder is made and Word starts, the preparation text, 9
    // once the template is written, 8 once it is open, 7 … 1 before the
    // groups of placeholders, 0 when all are replaced; then idle.
    std::vector<std::string> marks;
    int progress = 0;
    for (const std::string& t : backend.trail) {
        if (t.rfind("计算书已导出 ", 0) == 0) ++progress;
        else if (t.front() != '<') marks.push_back(t);
    }
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    expect_restored_after_export();
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

// The spacing shows the hole density coefficient it is built on; nothing
// calculated, a changed input or a refused calculation gives no report.
TEST_F(DeepHoleReport, OnlyTheResultsOfTheInputsShownAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_FALSE(fs::exists(reports()));

    type("编辑框1_炮孔密度系数", "1.2");
    click("图形按钮_计算");
    type("编辑框1_炮孔间距系数", "1");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！") << "the report states a'";
    type("编辑框1_炮孔间距系数", "0.8");
    choose("组合框4", 0);
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！") << "the report states the detonator";
    choose("组合框4", 1);
    export_ok();
    ASSERT_EQ(backend.messages.back().text, "计算书导出成功！");
    const std::string doc = report_text(report());
    for (const char* shown : {"a=m·W=1.2×2.16≈2.59m", "Q=e·q·a·H·W=1×1.7×2.59×10×2.16≈95.1kg",
                              "炮孔间距系数a' = 0.8 仅作布孔参考"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    fs::remove_all(reports());

    type("编辑框1_装药密度", "-900");
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(reports()));
}

// A subdrill coefficient of 0 stays in its box and is reported as 0.
TEST_F(DeepHoleReport, NoSubdrillIsReportedAsZero)
{
    type("编辑框1_钻根长度系数h", "0");
    ASSERT_EQ(text("编辑框1_钻根长度系数h"), "0");
    click("图形按钮_计算");
    export_ok();
    ASSERT_EQ(backend.messages.back().text, "计算书导出成功！");
    const std::string doc = report_text(report());
    for (const char* shown : {"钻根（超深）长度系数\nh'\n0\n", "h=h'·H=0×10=0m", "L=H+h'·H=10+0×10=10m"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
}

TEST_F(DeepHoleReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(reports()));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
}

} // namespace

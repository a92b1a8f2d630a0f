// The shallow-hole bench-blasting module in the whole headless program: the
// form as it starts, the drilling pattern and charge as a table of worked
// cases, the compute frame, the lookups, and the two reports chosen by the
// blasting type.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
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

constexpr const char* kForm = "ShallowHole";

constexpr const char* H = "编辑框2_阶梯高度";
constexpr const char* kResults[] = {"编辑框2_钻孔深度h", "编辑框2_最小抵抗线", "编辑框2_炮眼间距", "编辑框2_炮眼排距b",
                                    "编辑框2_每个炮孔爆破用药量"};
constexpr const char* kInputs[] = {H,
                                   "编辑框1_钻孔深度系数",
                                   "编辑框2_最小抵抗线系数",
                                   "编辑框2_炮眼间距系数",
                                   "编辑框2_炮眼排距系数",
                                   "编辑框2_换算系数e",
                                   "编辑框2_自由面系数",
                                   "编辑框2_炸药单位消耗量",
                                   "编辑框2_炮孔堵塞系数d"};

struct ShallowHoleProgram : testsupport::ModuleProgram {
    ShallowHoleProgram() : ModuleProgram(kForm)
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

TEST_F(ShallowHoleProgram, StartsInItsFrameWithTheFormsDefaultsAndTips)
{
    const Ref frame = U("main", "外形框1_浅孔爆破");
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_浅孔爆破"));
    EXPECT_EQ(prop_of("", prop::Left), 5);
    EXPECT_EQ(prop_of("", prop::Top), 5);
    EXPECT_EQ(prop_of("", prop::Width), cmd_client_width(frame));
    EXPECT_EQ(prop_of("", prop::Height), cmd_client_height(frame));
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    // The coefficient boxes keep the form's "1" and "1.4" although the first
    // rock class's row reads 0.9 and 1.5: nothing is filled until a pick.
    const std::pair<const char*, const char*> shown[] = {
        {"透明标签1", "露天台阶浅孔爆破计算"},
        {H, "2.1"},
        {"编辑框1_钻孔深度系数", "1"},
        {"编辑框2_最小抵抗线系数", "0.7"},
        {"编辑框2_炮眼间距系数", "1.4"},
        {"编辑框2_炮眼排距系数", "1.0"},
        {"编辑框2_换算系数e", "1"},
        {"编辑框2_自由面系数", "1"},
        {"编辑框2_炸药单位消耗量", "1.4"},
        {"编辑框2_炮孔堵塞系数d", "1"},
        {"透明标签5", "台阶高度H(m)"},
        {"透明标签9", "钻孔深度系数(0.85-0.95)"},
        {"透明标签11", "最小抵抗线系数0.5-0.9"},
        {"透明标签13", "炮眼间距系数a'"},
        {"透明标签15", "炮眼排距系数b'"},
        {"透明标签20", "炸药换算系数e"},
        {"透明标签22", "自由面系数"},
        {"透明标签24", "炸药单位消耗量q(kg/m3)"},
        {"透明标签21", "炮孔堵塞系数d"},
        {"标签1_提示信息", "方案导出需要Word2007以上版本！"},
    };
    for (const auto& [name, want] : shown) EXPECT_EQ(text(name), want) << name;
    for (const char* r : kResults) {
        EXPECT_EQ(text(r), "") << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::InputMode), 1) << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::TextColor), 0xFFFFFF) << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::BackColor), 0x808080) << r;
    }
    for (const char* in : kInputs) EXPECT_EQ(prop_of(in, prop::EditBox::InputMode), 10) << in;

    const std::map<std::string, std::pair<std::vector<std::string>, std::string>> lists = {
        {"组合框1", {{"35mm", "42mm", "45mm", "50mm"}, "35mm"}},
        {"组合框5", {{"松动爆破", "抛掷爆破"}, "松动爆破"}},
        {"组合框4", {{"火雷管起爆", "电雷管起爆"}, "电雷管起爆"}},
        {"组合框6", {{"一个自由面", "二个自由面", "三个自由面", "四个自由面", "五个自由面", "六个自由面"}, "一个自由面"}},
        {"组合框3", {{"松软石(五类土)", "次坚石(六类土)", "坚  石(七类土)", "特坚石(八类土)"}, "松软石(五类土)"}},
    };
    for (const auto& [combo, want] : lists) {
        EXPECT_EQ(c(combo).items, want.first) << combo;
        EXPECT_EQ(current_item_text(U(kForm, combo)), want.second) << combo;
    }
    EXPECT_EQ(current_item_text(U(kForm, "组合框7")), "硝铵炸药2号");
    for (const char* b : {"按钮7", "按钮9", "按钮1", "按钮8"}) EXPECT_EQ(text(b), "查询") << b;
    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/blasting/bench_diagram.png");

    const std::map<std::string, std::string> want_tips = {
        {"编辑框1_钻孔深度系数",
         "对于坚硬岩石取(1.1~1.15)H；对中硬岩石取(0.85~0.95)；若在炮孔底部有一层软岩石夹层时取(0.7~0.9)；"
         "与此同时炮孔深度还与不同的临空面及炮孔直径有关"},
        {"编辑框2_最小抵抗线系数", "最小抵抗线系数取(0.6~ 0.8)"},
        {"编辑框2_炮眼间距系数", "炮孔间距a用火雷管起爆时，取值范围1.4~ 2.0；电雷管起爆时，取值范围 0.8~ 2.0"},
        {"编辑框2_炮眼排距系数", "炮孔布置一般成交错梅花型布置，取0.8~1.2"},
    };
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;
}

// The detonator and free-face lists overwrite their box and move the cursor
// there; the free-face texts stand as written ("0.50", not "0.5").
TEST_F(ShallowHoleProgram, DetonatorAndFreeFaceListsFillTheirBoxes)
{
    struct Row {
        const char* combo;
        int index;
        const char* box;
        const char* value;
        const char* caption; // of 透明标签13, for the detonator rows
    };
    const Row rows[] = {
        {"组合框4", 0, "编辑框2_炮眼间距系数", "1.7", "间距系数火雷管起爆(1.4-2.0)"},
        {"组合框4", 1, "编辑框2_炮眼间距系数", "1.4", "间距系数电雷管起爆(0.8-2.0)"},
        {"组合框6", 0, "编辑框2_自由面系数", "1", nullptr},
        {"组合框6", 1, "编辑框2_自由面系数", "0.83", nullptr},
        {"组合框6", 2, "编辑框2_自由面系数", "0.67", nullptr},
        {"组合框6", 3, "编辑框2_自由面系数", "0.50", nullptr},
        {"组合框6", 4, "编辑框2_自由面系数", "0.33", nullptr},
        {"组合框6", 5, "编辑框2_自由面系数", "0.17", nullptr},
    };
    for (const Row& r : rows) {
        type(r.box, "9");
        choose(r.combo, r.index);
        EXPECT_EQ(text(r.box), r.value) << r.combo << " " << r.index;
        if (r.caption) {
            EXPECT_EQ(text("透明标签13"), r.caption) << r.index;
        }
        ASSERT_NE(rt.focus(), nullptr);
        EXPECT_EQ(rt.focus()->name, r.box) << r.combo << " " << r.index;
    }
    EXPECT_EQ(text("透明标签13"), "间距系数电雷管起爆(0.8-2.0)");
    EXPECT_EQ(text("透明标签9"), "钻孔深度系数(0.85-0.95)") << "the free-face list writes its box only";
}

// --- the drilling pattern and the charge ------------------------------------------

// 10^308, typed digit by digit (the box takes no exponent): the largest
// power of ten a double holds.
const std::string kHuge_ = "1" + std::string(308, '0');
const char* const kHuge = kHuge_.c_str();

struct FigureCase {
    const char* name;
    std::vector<std::pair<const char*, int>> picks;           // combo, index chosen first
    std::vector<std::pair<const char*, const char*>> typed;   // box, text typed over it
    std::vector<std::string> shown;                           // h, W, a, b, Q after one compute click
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct Figures : ShallowHoleProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(Figures, OneComputeClickShows)
{
    for (const auto& [combo, index] : GetParam().picks) choose(combo, index);
    for (const auto& [box, value] : GetParam().typed) type(box, value);
    click("图形按钮_计算");
    EXPECT_EQ(results(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    ShallowHole, Figures,
    ::testing::Values(
        // h 1·2.1, W 0.7·2.1, a 1.4·1.47 = 2.058, b 1.0·1.47,
        // Q 1.4·2.06·1.47·2.1·1·0.33 = 2.938
        FigureCase{"defaults, loosening", {}, {}, {"2.1", "1.47", "2.06", "1.47", "2.94"}},
        // The same pattern; Q 8.903 shows as 8.9.
        FigureCase{"defaults, throw", {{"组合框5", 1}}, {}, {"2.1", "1.47", "2.06", "1.47", "8.9"}},
        // W 1.064 shows 1.06: a = 1.4·1.06 = 1.484 (1.49 from the unrounded
        // W), and Q = 1.4·1.48·1.06·1.37·0.33 = 0.993 (1.0 from unrounded).
        FigureCase{"later steps use the shown values", {}, {{H, "1.52"}, {"编辑框1_钻孔深度系数", "0.9"}},
                   {"1.37", "1.06", "1.48", "1.06", "0.99"}},
        // 1.005 is stored just below 1.005; the rounding still goes up.
        FigureCase{"a half rounds up", {}, {{H, "1.005"}}, {"1.01", "0.7", "0.98", "0.7", "0.32"}},
        // A bench height that is no height gives no figure at all.
        FigureCase{"no bench height", {}, {{H, ""}}, {"-", "-", "-", "-", "-"}},
        FigureCase{"negative bench height", {}, {{H, "-2.1"}}, {"-", "-", "-", "-", "-"}},
        // Hole diameter, free faces and stemming only go into the report.
        FigureCase{"report-only inputs", {{"组合框1", 3}, {"组合框6", 5}}, {{"编辑框2_炮孔堵塞系数d", "2"}},
                   {"2.1", "1.47", "2.06", "1.47", "2.94"}},
        // Rows picked: depth factor 1.125, q 2.9, e 1.33, spacing factor 1.7.
        // h 2.3625 → 2.36, a 2.499 → 2.5, Q 2.9·2.5·1.47·2.36·1.33·0.33 = 11.04
        FigureCase{"very hard rock, black powder, fuse", {{"组合框3", 3}, {"组合框7", 9}, {"组合框4", 0}}, {},
                   {"2.36", "1.47", "2.5", "1.47", "11.04"}},
        FigureCase{"very hard rock, black powder, fuse, throw",
                   {{"组合框3", 3}, {"组合框7", 9}, {"组合框4", 0}, {"组合框5", 1}}, {},
                   {"2.36", "1.47", "2.5", "1.47", "33.45"}},
        // A burden beyond the double range has no value; what is built on it
        // shows "-" as well instead of a charge of 0.
        FigureCase{"burden beyond range", {}, {{H, kHuge}, {"编辑框2_最小抵抗线系数", "10"}},
                   {"1e+308", "-", "-", "-", "-"}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- what each input accepts ----------------------------------------------------------

// One input pasted over, then compute and export. `dashes` marks, for h, W,
// a, b and Q in turn, which show "-" ('-') and which keep the starting
// figure ('.'); an input outside its domain gives no report, also one that
// only the report states.
struct DomainCase {
    const char* box;
    const char* text;
    const char* dashes;
    bool reported = false;
};
void PrintTo(const DomainCase& c, std::ostream* os) { *os << c.box << " = \"" << c.text << "\""; }

struct InputDomains : ShallowHoleProgram, ::testing::WithParamInterface<DomainCase> {};

TEST_P(InputDomains, AnInputOutsideItsDomainGivesNoFigureAndNoReport)
{
    const DomainCase& d = GetParam();
    const std::vector<std::string> start = {"2.1", "1.47", "2.06", "1.47", "2.94"};
    rt.set_focus(&c(d.box));
    rt.user_edit_text(c(d.box), d.text);
    rt.set_focus(nullptr);
    click("图形按钮_计算");
    std::vector<std::string> want = start;
    for (size_t i = 0; i < want.size(); ++i)
        if (d.dashes[i] == '-') want[i] = "-";
    EXPECT_EQ(results(), want);
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, d.reported ? "计算书导出成功！" : "计算未得出结果，请检查输入后重新计算！");
    EXPECT_EQ(fs::exists(folder / "导出的方案" / "露天台阶浅孔爆破计算书松动爆破.doc"), d.reported);
}

INSTANTIATE_TEST_SUITE_P(
    ShallowHole, InputDomains,
    ::testing::Values(DomainCase{H, "", "-----"}, DomainCase{H, "-", "-----"}, DomainCase{H, "-0", "-----"},
                      DomainCase{H, "0", "-----"}, DomainCase{H, "-2.1", "-----"}, DomainCase{H, "abc", "-----"},
                      DomainCase{"编辑框1_钻孔深度系数", "0", "-...-"}, DomainCase{"编辑框1_钻孔深度系数", "-1", "-...-"},
                      DomainCase{"编辑框2_最小抵抗线系数", "", ".----"}, DomainCase{"编辑框2_最小抵抗线系数", "-0.7", ".----"},
                      DomainCase{"编辑框2_炮眼间距系数", "-1.4", "..-.-"}, DomainCase{"编辑框2_炮眼排距系数", "0", "...--"},
                      DomainCase{"编辑框2_换算系数e", "-1", "....-"}, DomainCase{"编辑框2_炸药单位消耗量", "", "....-"},
                      DomainCase{"编辑框2_炸药单位消耗量", "1e309", "....-"},
                      // the factors only the report states: no formula's figure changes
                      DomainCase{"编辑框2_自由面系数", "", "....."}, DomainCase{"编辑框2_自由面系数", "-5", "....."},
                      DomainCase{"编辑框2_炮孔堵塞系数d", "-1", "....."},
                      DomainCase{"编辑框2_炮孔堵塞系数d", "2..5", "....."},
                      DomainCase{"编辑框2_炮孔堵塞系数d", "0.8", ".....", true},
                      DomainCase{"编辑框2_自由面系数", "0.50", ".....", true}));

TEST_F(ShallowHoleProgram, ResultsStayUntilTheNextComputeClick)
{
    click("图形按钮_计算");
    const auto before = results();
    type(H, "5");
    choose("组合框5", 1);
    choose("组合框3", 2);
    EXPECT_EQ(results(), before);
    click("图形按钮_计算");
    // h 1.125·5 = 5.63, W 3.5, a 4.9, b 3.5, Q 2.2·4.9·3.5·5.63·1 = 212.42
    EXPECT_EQ(results(), (std::vector<std::string>{"5.63", "3.5", "4.9", "3.5", "212.42"}));
}

TEST_F(ShallowHoleProgram, ComputePressesTheButtonShowsTheLampBusyAndSounds)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    backend.sounds.clear();
    backend.trail.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<pressed>", "<lamp busy>", "<normal>", "<lamp idle>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    EXPECT_TRUE(backend.messages.empty());

    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    backend.sounds.clear();
    click("图形按钮_计算");
    EXPECT_TRUE(backend.sounds.empty());
}

TEST_F(ShallowHoleProgram, LookupsShowTheirTablesAndChangeNothing)
{
    struct Lookup {
        const char* button;
        const char* picture;
        int window_width, window_height, picture_width, picture_height;
    };
    const Lookup lookups[] = {
        {"按钮7", "resources/pictures/blasting/bench_rock_classes.png", 600, 400, 1116, 1030},
        {"按钮9", "resources/pictures/blasting/bench_explosive_factors.png", 700, 500, 1102, 382},
        {"按钮1", "resources/pictures/blasting/bench_charge_factors.png", 700, 500, 1116, 304},
        {"按钮8", "resources/pictures/blasting/bench_stemming.png", 600, 400, 1102, 382},
    };
    click("图形按钮_计算");
    const auto before = results();
    for (const Lookup& l : lookups) {
        click(l.button);
        ASSERT_NE(rt.form("popup"), nullptr) << l.button;
        EXPECT_EQ(picture("popup", "图片框2"), l.picture) << l.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), l.window_width) << l.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), l.window_height) << l.button;
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(resource(l.picture), &w, &h)) << l.picture;
        EXPECT_EQ(w, l.picture_width) << l.picture;
        EXPECT_EQ(h, l.picture_height) << l.picture;
    }
    EXPECT_EQ(results(), before);
}

// --- the reports -------------------------------------------------------------------

struct ShallowHoleReport : ShallowHoleProgram {
    fs::path reports() { return folder / "导出的方案"; }
    fs::path loosening() { return reports() / "露天台阶浅孔爆破计算书松动爆破.doc"; }
    fs::path throwing() { return reports() / "露天台阶浅孔爆破计算书抛掷爆破.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
    std::vector<std::string> files()
    {
        std::vector<std::string> v;
        for (auto& e : fs::directory_iterator(reports())) v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
};

void no_placeholder_left(const std::string& doc)
{
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("(编辑框[0-9]_|组合框[0-9])"))) << "unreplaced: " << left.str() << "…";
}

TEST_F(ShallowHoleReport, LooseningFillsEveryPlaceholderCountingDownFromTenToZero)
{
    choose("组合框3", 2);
    choose("组合框1", 1);
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算书导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    ASSERT_FALSE(backend.opened.empty());
    EXPECT_NE(backend.opened.back().find("导出的方案"), std::string::npos) << backend.opened.back();
    EXPECT_EQ(files(), std::vector<std::string>{"露天台阶浅孔爆破计算书松动爆破.doc"});

    // Hard rock: h 1.125·2.1 = 2.36, W 1.47, a 2.06, b 1.47,
    // Q 2.2·2.06·1.47·2.36·1·0.33 = 5.19
    const std::string doc = report_text(loosening());
    no_placeholder_left(doc);
    for (const char* shown : {"露天台阶浅孔爆破计算书（松动爆破）", "坚  石(七类土)", "42mm", "松动爆破", "电雷管起爆", "硝铵炸药2号",
                              // "≈" where the shown value is rounded (2.3625, 2.058, 5.188)
                              "一个自由面", "=1.125×2.1≈2.36m", "=0.7×2.1=1.47m", "=1.4×1.47≈2.06m", "=1.0×1.47=1.47m",
                              "=0.33×2.2×2.06×1.47×2.36×1≈5.19kg"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    for (const char* wrong : {"1.47系数", "2.06系数"}) EXPECT_EQ(doc.find(wrong), std::string::npos) << wrong;

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
    EXPECT_EQ(backend.trail.back(), "[10]");
    expect_restored_after_export();
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

TEST_F(ShallowHoleReport, ThrowWritesItsOwnReportBesideAnEarlierLoosening)
{
    click("图形按钮_计算");
    export_ok();
    const auto loosening_bytes = fs::file_size(loosening());
    choose("组合框5", 1);
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(files(), (std::vector<std::string>{"露天台阶浅孔爆破计算书抛掷爆破.doc", "露天台阶浅孔爆破计算书松动爆破.doc"}));
    EXPECT_EQ(fs::file_size(loosening()), loosening_bytes);

    const std::string doc = report_text(throwing());
    no_placeholder_left(doc);
    EXPECT_NE(doc.find("露天台阶浅孔爆破计算书（抛掷爆破）"), std::string::npos);
    EXPECT_NE(doc.find("=1.4×2.06×1.47×2.1×1≈8.9kg"), std::string::npos);
    EXPECT_EQ(doc.find("0.33×"), std::string::npos);
    EXPECT_EQ(report_text(loosening()).find("抛掷爆破）"), std::string::npos);
}

// Nothing calculated, a changed input or choice (the report states each), or
// a refused calculation: no report. Typed and undone, an input is current
// again.
TEST_F(ShallowHoleReport, OnlyTheResultsOfTheInputsShownAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_FALSE(fs::exists(reports()));
    click("图形按钮_计算");
    const struct {
        const char* what;
        std::function<void()> change, undo;
    } changes[] = {
        {"the bench height", [&] { type(H, "3"); }, [&] { type(H, "2.1"); }},
        {"the hole diameter", [&] { choose("组合框1", 2); }, [&] { choose("组合框1", 0); }},
        {"the stemming factor", [&] { type("编辑框2_炮孔堵塞系数d", "2"); }, [&] { type("编辑框2_炮孔堵塞系数d", "1"); }},
        {"the blasting type", [&] { choose("组合框5", 1); }, [&] { choose("组合框5", 0); }},
    };
    for (const auto& ch : changes) {
        SCOPED_TRACE(ch.what);
        ch.change();
        export_ok();
        EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
        EXPECT_FALSE(fs::exists(reports()));
        ch.undo();
    }
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算书导出成功！");
    EXPECT_EQ(files(), std::vector<std::string>{"露天台阶浅孔爆破计算书松动爆破.doc"});
    fs::remove_all(reports());

    type("编辑框2_换算系数e", "-1");
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(reports()));
}

TEST_F(ShallowHoleReport, ASecondExportOverwritesTheReport)
{
    click("图形按钮_计算");
    export_ok();
    type(H, "3");
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(files(), std::vector<std::string>{"露天台阶浅孔爆破计算书松动爆破.doc"});
    const std::string doc = report_text(loosening());
    EXPECT_NE(doc.find("=1×3=3m"), std::string::npos);
    EXPECT_EQ(doc.find("=1×2.1="), std::string::npos);
}

TEST_F(ShallowHoleReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(reports()));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
}

} // namespace

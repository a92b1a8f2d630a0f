// The bulldozer module in the whole headless program: its form as it starts,
// the output and the cycle time as tables of worked figures, the switch
// between a computed and a typed cycle time, the lookups, and the report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "Bulldozer";
constexpr const char* kAlpha = "编辑框1_土在铲刀前的分布长度";
constexpr const char* kQ = "编辑框2_推土机每一循环所完成的土方量";
constexpr const char* kPh = "编辑框2_推土机每小时生产率";
constexpr const char* kPd = "编辑框2_推土机台班生产率Pd";
constexpr const char* kCycle = "编辑框1_循环时间";

const char* const kComponents[] = {
    "编辑框1_铲土路线长度",   "编辑框1_运土路线长度",   "编辑框1_推土机铲土行进速度", "编辑框1_推土机运土行进速度",
    "编辑框1_推土机回程速度", "编辑框1_推土机转向时间", "编辑框1_推土机换挡时间",     "编辑框1_推土机铲刀放下时间",
};

struct BulldozerProgram : testsupport::ModuleProgram {
    BulldozerProgram() : ModuleProgram(kForm) { backend.record_compute_button = true; }
    bool disabled(const std::string& name) { return rt.get(c(name), prop::Disabled).truth(); }
};

TEST_F(BulldozerProgram, StartsInItsFrameWithTheDefaultsAndTips)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_推土机计算"));
    EXPECT_EQ(prop_of("", prop::Left), 5);
    EXPECT_EQ(prop_of("", prop::Top), 5);
    EXPECT_EQ(prop_of("", prop::Width), 900);
    EXPECT_EQ(prop_of("", prop::Height), 600);
    EXPECT_FALSE(disabled("图形按钮_导出"));

    const std::pair<const char*, const char*> defaults[] = {
        {"编辑框1_土的可松性系数", "1.21"}, {"编辑框1_铲刀高度", "1.1"},          {"编辑框1_铲刀宽度", "3.03"},
        {"编辑框1_土堆自然坡角", "40"},     {"编辑框1_时间利用系数", "0.73"},     {"编辑框1_土的损失系数", "0.8"},
        {"编辑框1_台班产量降低系数", "0.88"}, {kCycle, "-"},                     {"编辑框1_铲土路线长度", "8"},
        {"编辑框1_运土路线长度", "30"},     {"编辑框1_推土机铲土行进速度", "0.6"}, {"编辑框1_推土机运土行进速度", "0.7"},
        {"编辑框1_推土机回程速度", "1.5"},  {"编辑框1_推土机转向时间", "10"},     {"编辑框1_推土机换挡时间", "3"},
        {"编辑框1_推土机铲刀放下时间", "4"}, {kAlpha, "-"}, {kQ, "-"}, {kPh, "-"}, {kPd, "-"},
        {"选择框1", "循环用时统计"}, {"按钮2", "查表"}, {"按钮3", "查表"}, {"按钮4", "计算循环用时"},
        {"分组框1", "推土机生产率计算"}, {"分组框3", "推土机运土的土方量计算"},
        {"透明标签1", "推土机生产率及运土土方量计算"}, {"透明标签2", "依据建筑施工计算手册(第四版)"},
        {"标签1_提示信息", "方案导出需要Word2007以上版本！"},
    };
    for (const auto& [name, want] : defaults) EXPECT_EQ(text(name), want) << name;

    EXPECT_TRUE(rt.get(c("选择框1"), prop::CheckBox::Checked).truth());
    for (const char* box : kComponents) EXPECT_FALSE(disabled(box)) << box;
    EXPECT_FALSE(disabled("按钮4"));
    // The cycle-time and heap-length boxes look like results, and until the
    // first calculation show none; the heap length is one and takes no typing.
    const std::pair<const char*, int> modes[] = {{kCycle, 1}, {kAlpha, 1}, {kQ, 1}, {kPh, 1}, {kPd, 1}};
    for (const auto& [box, mode] : modes) {
        EXPECT_EQ(prop_of(box, prop::EditBox::InputMode), mode) << box;
        EXPECT_EQ(prop_of(box, prop::EditBox::TextColor), 0xFFFFFF) << box;
        EXPECT_EQ(prop_of(box, prop::EditBox::BackColor), 0x808080) << box;
    }
    for (const char* box : kComponents) EXPECT_EQ(prop_of(box, prop::EditBox::InputMode), 10) << box;
    EXPECT_EQ(picture(kForm, "图片框2"), "resources/pictures/equipment/bulldozer_blade_heap.png");
    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/equipment/bulldozer_machine.png");

    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), 11u);
    const std::pair<const char*, const char*> some_tips[] = {
        {"编辑框1_土的可松性系数", "参见右表填写"},
        {"编辑框1_循环时间", "可根据现场实测或按循环用时计算"},
        {"编辑框1_土的损失系数", "土的损失系数，取决于运土距离的远近，一般取0.7~0.9；"},
        {"编辑框1_时间利用系数", "时间利用系数Kb，一般在0.72~ 0.75之间，"},
        {"编辑框1_推土机回程速度", "推土机回程速度(m/s）,取1～2m/s"},
    };
    for (const auto& [name, tip] : some_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;
}

// --- the output and the cycle time -----------------------------------------------------

struct Step {
    enum Kind { Type, Click } kind;
    const char* control;
    const char* value = "";
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::pair<const char*, const char*>> shown; // box, text after the steps
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct WorkedFigures : BulldozerProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(WorkedFigures, Show)
{
    for (const Step& s : GetParam().steps) {
        if (s.kind == Step::Type) type(s.control, s.value);
        else click(s.control);
    }
    for (const auto& [box, want] : GetParam().shown) EXPECT_EQ(text(box), want) << box;
}

const Step kCompute{Step::Click, "图形按钮_计算"};
const Step kCycleButton{Step::Click, "按钮4"};
const Step kUntick{Step::Click, "选择框1"};

INSTANTIATE_TEST_SUITE_P(
    Bulldozer, WorkedFigures,
    ::testing::Values(
        // While 循环用时统计 is ticked (as it starts) the output is worked from
        // the cycle time of the components, 13.33 + 42.86 + 25.33 + 20 + 3 + 4
        // = 108.5 s.
        FigureCase{"defaults", {kCompute}, {{kCycle, "108.5"}, {kAlpha, "1.31"}, {kPh, "59.91"}, {kPd, "307.89"}, {kQ, "1.44"}}},
        FigureCase{"cycle time from the components", {kCycleButton}, {{kCycle, "108.5"}, {kPh, "-"}}},
        FigureCase{"output after the cycle button", {kCycleButton, kCompute}, {{kPh, "59.91"}, {kPd, "307.89"}, {kQ, "1.44"}}},
        // A component changed after the button was pressed: the output takes
        // the time of the components shown, 171.4 s.
        FigureCase{"output follows the components",
                   {kCycleButton, {Step::Type, "编辑框1_运土路线长度", "60"}, kCompute},
                   {{kCycle, "171.4"}, {kPh, "37.92"}}},
        // Unticked, the cycle time is the one the box holds: the worked one
        // after a calculation, none before the first (until one is typed).
        FigureCase{"unticked output keeps the cycle time it finds", {kCompute, kUntick, kCompute},
                   {{kCycle, "108.5"}, {kPh, "59.91"}, {kPd, "307.89"}}},
        FigureCase{"unticked before any calculation no cycle time", {kUntick, kCompute},
                   {{kCycle, "-"}, {kAlpha, "1.31"}, {kPh, "-"}, {kPd, "-"}, {kQ, "1.44"}}},
        FigureCase{"unticked with a measured time", {kUntick, {Step::Type, kCycle, "90"}, kCompute},
                   {{kCycle, "90"}, {kPh, "72.22"}, {kPd, "371.15"}}},
        // α is a result the report states: it takes no typing (a typed one
        // would stand there beside the q of another).
        FigureCase{"heap length takes no typing", {kCompute, {Step::Type, kAlpha, "5"}}, {{kAlpha, "1.31"}, {kQ, "1.44"}}},
        // q is taken from the shown α 1.31, not from 1.3109… (which gives 47.67).
        FigureCase{"q uses the shown heap length",
                   {{Step::Type, "编辑框1_铲刀宽度", "100"}, kCompute},
                   {{kAlpha, "1.31"}, {kQ, "47.64"}}},
        // Pd is taken from the shown Ph 23.84, not from 23.835… (which gives 122.49).
        FigureCase{"Pd uses the shown hourly output",
                   {kUntick, {Step::Type, kCycle, "90"}, {Step::Type, "编辑框1_铲刀宽度", "1"}, kCompute},
                   {{kPh, "23.84"}, {kPd, "122.52"}}},
        FigureCase{"typed cycle time",
                   {kUntick, {Step::Type, kCycle, "120"}, kCompute},
                   {{kCycle, "120"}, {kPh, "54.17"}, {kPd, "278.39"}}},
        // A flat heap: α and Ph divide by tan 0, and what is computed from
        // them has no value either (not a 0 from reading "-").
        FigureCase{"slope angle zero",
                   {{Step::Type, "编辑框1_土堆自然坡角", "0"}, kCompute},
                   {{kAlpha, "-"}, {kPh, "-"}, {kPd, "-"}, {kQ, "-"}}},
        FigureCase{"cycle time zero",
                   {kUntick, {Step::Type, kCycle, "0"}, kCompute},
                   {{kCycle, ""}, {kAlpha, "1.31"}, {kPh, "-"}, {kPd, "-"}, {kQ, "1.44"}}},
        FigureCase{"swell factor zero",
                   {{Step::Type, "编辑框1_土的可松性系数", ""}, kCompute},
                   {{kAlpha, "1.31"}, {kPh, "-"}, {kPd, "-"}, {kQ, "-"}}},
        // A speed of 0 leaves the cycle time without value, and the output
        // built on it too.
        FigureCase{"cutting speed zero",
                   {{Step::Type, "编辑框1_推土机铲土行进速度", "0"}, kCompute},
                   {{kCycle, "-"}, {kPh, "-"}, {kPd, "-"}, {kQ, "1.44"}}},
        FigureCase{"no blade height",
                   {{Step::Type, "编辑框1_铲刀高度", ""}, kCompute},
                   {{kAlpha, "-"}, {kPh, "-"}, {kPd, "-"}, {kQ, "-"}}},
        // A heap stands at less than 90°: at 90° or steeper there is none.
        FigureCase{"slope angle ninety", {{Step::Type, "编辑框1_土堆自然坡角", "90"}, kCompute},
                   {{kAlpha, "-"}, {kPh, "-"}, {kPd, "-"}, {kQ, "-"}}},
        FigureCase{"slope angle above ninety", {{Step::Type, "编辑框1_土堆自然坡角", "135"}, kCompute},
                   {{kAlpha, "-"}, {kPh, "-"}, {kPd, "-"}, {kQ, "-"}}},
        // 1.1 / tan 89° = 0.0192; Ph 1.1² × 3.03 × 1800 / (90 × 1.21 × 57.29) = 1.06.
        FigureCase{"slope angle just under ninety",
                   {kUntick, {Step::Type, kCycle, "90"}, {Step::Type, "编辑框1_土堆自然坡角", "89"}, kCompute},
                   {{kAlpha, "0.02"}, {kPh, "1.06"}, {kPd, "5.45"}, {kQ, "0.02"}}},
        FigureCase{"cycle time rounds to one decimal",
                   {{Step::Type, "编辑框1_铲土路线长度", "10"}, {Step::Type, "编辑框1_推土机铲刀放下时间", "3.96"}, kCycleButton},
                   {{kCycle, "113.2"}}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// Each input at the edges of its domain: every result built on it shows "-"
// and the calculation gives no report; the cycle components reach the output
// through the cycle time the calculation works out from them, and the cycle
// time box is an input only while it is typed (循环用时统计 unticked).
struct EdgeCase {
    const char* box;
    bool component;                  // a cycle component
    std::vector<const char*> dashes; // the results built on it
};
void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.box; }

struct DomainEdges : BulldozerProgram, ::testing::WithParamInterface<EdgeCase> {};

TEST_P(DomainEdges, ShowNoFigureAndGiveNoReport)
{
    const EdgeCase& ec = GetParam();
    const Domain d = c(ec.box).domain;
    ASSERT_NE(d, Domain::Unchecked);
    const std::map<std::string, std::string> figures = {{kAlpha, "1.31"}, {kPh, "59.91"}, {kPd, "307.89"}, {kQ, "1.44"}};
    if (std::string(ec.box) == kCycle) {
        click("按钮4");
        click("选择框1"); // 108.5 s typed
    }
    for (const std::string& edge : testsupport::texts_outside(d)) {
        SCOPED_TRACE("\"" + edge + "\"");
        const std::string start = text(ec.box);
        click("图形按钮_计算");
        ASSERT_EQ(text(kPh), "59.91");
        set_control_text(U(kForm, ec.box), edge);
        click("图形按钮_计算");
        if (ec.component) {
            EXPECT_EQ(text(kCycle), "-");
        }
        for (const auto& [box, figure] : figures) {
            const bool dash = std::find(ec.dashes.begin(), ec.dashes.end(), box) != ec.dashes.end();
            EXPECT_EQ(text(box), dash ? "-" : figure) << box;
        }
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        type(ec.box, start);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bulldozer, DomainEdges,
    ::testing::Values(EdgeCase{"编辑框1_土的可松性系数", false, {kPh, kPd, kQ}},
                      EdgeCase{"编辑框1_铲刀高度", false, {kAlpha, kPh, kPd, kQ}},
                      EdgeCase{"编辑框1_铲刀宽度", false, {kPh, kPd, kQ}},
                      EdgeCase{"编辑框1_土堆自然坡角", false, {kAlpha, kPh, kPd, kQ}},
                      EdgeCase{"编辑框1_时间利用系数", false, {kPd}},
                      EdgeCase{"编辑框1_土的损失系数", false, {kQ}},
                      EdgeCase{"编辑框1_台班产量降低系数", false, {kPd}},
                      EdgeCase{kCycle, false, {kPh, kPd}},
                      EdgeCase{"编辑框1_铲土路线长度", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_运土路线长度", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_推土机铲土行进速度", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_推土机运土行进速度", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_推土机回程速度", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_推土机转向时间", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_推土机换挡时间", true, {kPh, kPd}},
                      EdgeCase{"编辑框1_推土机铲刀放下时间", true, {kPh, kPd}}),
    [](const ::testing::TestParamInfo<EdgeCase>& i) { return std::to_string(i.index); });

// While ticked the cycle time is the calculation's own: the button after it
// changes nothing the results belong to, a changed component does. Unticked,
// a cycle time typed after the calculation is an input they no longer belong
// to, and so is the tick itself.
TEST_F(BulldozerProgram, ResultsBelongToTheCycleTimeTheyWereWorkedFrom)
{
    const auto export_says = [&](const char* message) {
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, message);
        fs::remove_all(folder / "导出的方案");
    };
    click("图形按钮_计算");
    click("按钮4");
    export_says("计算方案导出成功！");
    type("编辑框1_推土机回程速度", "1.2");
    export_says("输入已修改，请重新计算后导出！");
    click("按钮4");
    export_says("输入已修改，请重新计算后导出！");

    click("选择框1");
    click("图形按钮_计算");
    type(kCycle, "95");
    export_says("输入已修改，请重新计算后导出！");
    click("图形按钮_计算");
    click("选择框1");
    export_says("输入已修改，请重新计算后导出！");
}

TEST_F(BulldozerProgram, ComputePressesTheButtonSoundsAndLeavesTheLampAlone)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    rt.set(rt.unit("main", "图片框1_呼吸灯"), prop::PicBox::Picture, Blob{resource(app::res::lamp_busy)});
    backend.sounds.clear();
    backend.trail.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<pressed>", "<normal>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_busy);

    // The cycle-time button is silent and leaves the pictures alone.
    backend.sounds.clear();
    backend.trail.clear();
    click("按钮4");
    EXPECT_TRUE(backend.sounds.empty());
    EXPECT_TRUE(backend.trail.empty());
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(BulldozerProgram, UntickingLetsTheCycleTimeBeTypedAndTickingTakesItBack)
{
    click("按钮4");
    ASSERT_EQ(text(kCycle), "108.5");
    type(kCycle, "77");
    EXPECT_EQ(text(kCycle), "108.5") << "read-only while the components count";

    click("选择框1");
    EXPECT_FALSE(rt.get(c("选择框1"), prop::CheckBox::Checked).truth());
    for (const char* box : kComponents) EXPECT_TRUE(disabled(box)) << box;
    EXPECT_TRUE(disabled("按钮4"));
    EXPECT_EQ(prop_of(kCycle, prop::EditBox::InputMode), 10);
    EXPECT_EQ(text(kCycle), "108.5");
    type("编辑框1_铲土路线长度", "99");
    EXPECT_EQ(text("编辑框1_铲土路线长度"), "8") << "a disabled component takes no typing";
    type(kCycle, "77");
    EXPECT_EQ(text(kCycle), "77");

    click("选择框1");
    for (const char* box : kComponents) EXPECT_FALSE(disabled(box)) << box;
    EXPECT_FALSE(disabled("按钮4"));
    EXPECT_EQ(prop_of(kCycle, prop::EditBox::InputMode), 1);
    EXPECT_EQ(text(kCycle), "-") << "a time typed is no time of the components";
    // Colours are left as the form gave them.
    for (const char* box : {kCycle, "编辑框1_铲土路线长度"}) {
        EXPECT_EQ(prop_of(box, prop::EditBox::BackColor), std::string(box) == kCycle ? 0x808080 : 0xFFFFFF) << box;
    }
    click("按钮4");
    EXPECT_EQ(text(kCycle), "108.5");
}

TEST_F(BulldozerProgram, LookupsOnlyShowTheirTables)
{
    const auto before = shown_texts();
    const struct {
        const char* button;
        const char* picture;
        int width, height, png_width, png_height;
    } rows[] = {
        {"按钮2", "resources/pictures/equipment/bulldozer_output_reduction.png", 700, 600, 935, 587},
        {"按钮3", "resources/pictures/equipment/bulldozer_swell_factor.png", 700, 400, 1557, 782},
    };
    for (const auto& r : rows) {
        click(r.button);
        ASSERT_NE(rt.form("popup"), nullptr);
        EXPECT_EQ(picture("popup", "图片框2"), r.picture) << r.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), r.width) << r.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), r.height) << r.button;
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(resource(r.picture), &w, &h));
        EXPECT_EQ(w, r.png_width) << r.picture;
        EXPECT_EQ(h, r.png_height) << r.picture;
    }
    EXPECT_EQ(shown_texts(), before);
}

// --- the report ------------------------------------------------------------------------

struct BulldozerReport : BulldozerProgram {
    fs::path report() { return folder / "导出的方案" / "推土机生产率及运土土方量计算.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(BulldozerReport, FillsEveryPlaceholderCountingDownBetweenTheGroups)
{
    click("按钮4");
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"推土机生产率及运土土方量计算.doc"});

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("推土机生产率及运土土方量计算书"), std::string::npos);
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]_"))) << "unreplaced: " << left.str() << "…";
    // The result table: each result beside its unit.
    for (const char* row : {"\n1.31\nm\n", "\n59.91\nm³/h\n", "\n307.89\nm³/台班\n", "\n1.44\nm³\n", "\n108.5\ns\n", "\n0.88\n—\n"})
        EXPECT_NE(doc.find(row), std::string::npos) << row;

    auto [marks, progress] = testsupport::split_progress(backend.trail);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(backend.trail[backend.trail.size() - 3], "计算书已导出 100%  ");
    EXPECT_FALSE(disabled("图形按钮_导出"));
    EXPECT_FALSE(disabled("图形按钮_计算"));
}

// The report says where the cycle time came from: the components' equation
// with their figures while ticked, the typed time otherwise.
TEST_F(BulldozerReport, StatesHowTheCycleTimeWasTaken)
{
    click("图形按钮_计算");
    export_ok();
    std::string doc = report_text(report());
    for (const char* shown : {"t 按循环用时计算：", "+2×10+3+4≈108.5s"}) EXPECT_NE(doc.find(shown), std::string::npos) << shown << "\n" << doc;
    EXPECT_EQ(doc.find("按输入值"), std::string::npos);

    click("选择框1");
    type(kCycle, "90");
    click("图形按钮_计算");
    fs::remove_all(folder / "导出的方案");
    export_ok();
    doc = report_text(report());
    EXPECT_NE(doc.find("按输入值（现场实测或另行计算）取 90 s。"), std::string::npos) << doc;
    for (const char* gone : {"t 按循环用时计算", "≈108.5"}) EXPECT_EQ(doc.find(gone), std::string::npos) << gone;
    EXPECT_NE(doc.find("\n72.22\nm³/h\n"), std::string::npos);
}

TEST_F(BulldozerReport, BeforeAnyCalculationNothingIsWritten)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
}

} // namespace

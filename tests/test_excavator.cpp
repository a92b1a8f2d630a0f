// The two excavator modules in the whole headless program: the worked figures
// of the productivity form (ExcavatorOutput) and of the schedule and
// dump-truck form (ExcavatorTrucks) as one table of cases, the forms as they
// start, their compute frames, and both calculation reports.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::story_text;
using testsupport::file_bytes;
using testsupport::occurrences;

constexpr const char* kOutput = "ExcavatorOutput";
constexpr const char* kTrucks = "ExcavatorTrucks";
constexpr const char* kIdleStatus = "方案导出需要Word2007以上版本！";

// ExcavatorOutput
constexpr const char* Ph = "编辑框1_单斗挖掘机小时生产率Ph";
constexpr const char* Pd = "编辑框1_单斗挖掘机台班生产率Pd";
constexpr const char* PdCopy = "编辑框2_单斗挖掘机台班生产率Pd";
constexpr const char* N = "编辑框2_挖掘机需用数量";
// ExcavatorTrucks
constexpr const char* T = "编辑框1_工期T";
constexpr const char* Loads = "编辑框2_自卸汽车每车装土次数";
constexpr const char* T1 = "编辑框2_自卸汽车每次装车时间";
constexpr const char* Cycle = "编辑框2_自卸汽车每一个工作循环延续的时间";
constexpr const char* N1 = "编辑框2_每台挖机配车";
constexpr const char* Total = "编辑框2_自卸汽车总计数量";

std::string picture_name(const Bytes& b)
{
    for (const std::string& p : resource_paths("resources/pictures/"))
        if (resource(p) == b) return p;
    return "<unknown>";
}

// Records, per excavator form, the status label's captions and countdown
// pictures in the order they were shown, and every picture the compute button
// and the main window's busy lamp took.
struct RecordingBackend : HeadlessBackend {
    std::map<std::string, std::vector<std::string>> trail;
    std::vector<std::string> frame; // "button:<picture>" and "lamp:<picture>"
    // Boxes that, whenever a countdown step shows, are made to read
    // "<#i@n>": i their place in this list, n the step. A report then shows
    // at which step the export read each of them.
    std::vector<std::string> stamped;

    void property_changed(Control& c, int p) override
    {
        const std::string& form = c.form->name;
        if (form == "main" && c.name == "图片框1_呼吸灯" && p == prop::PicBox::Picture)
            frame.push_back("lamp:" + picture_name(c.pictures[0]));
        if (form != kOutput && form != kTrucks) return;
        if (c.name == "标签1_提示信息" && p == prop::Label::Caption) {
            trail[form].push_back(c.text);
            const std::string countdown = "参数处理，倒计时";
            if (c.text.rfind(countdown, 0) == 0)
                for (size_t i = 0; i < stamped.size(); ++i)
                    c.form->find(stamped[i])->text = "<#" + std::to_string(i) + "@" + c.text.substr(countdown.size()) + ">";
        }
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail[form].push_back("[" + std::to_string(n) + "]");
        if (c.name == "图形按钮_计算" && p == prop::PicBtn::Picture) frame.push_back("button:" + picture_name(c.pictures[0]));
    }
};

struct ExcavatorProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-excavator-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form("main"), nullptr);
        ASSERT_NE(rt.form(kOutput), nullptr);
        ASSERT_NE(rt.form(kTrucks), nullptr);
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& form, const std::string& name) { return rt.unit(form, name); }
    std::string text(const std::string& form, const std::string& name) { return control_text(U(form, name)); }
    // Types into a box and moves the focus away, as a user going on to the next box.
    void type(const std::string& form, const std::string& name, const std::string& value)
    {
        rt.user_type(c(form, name), value);
        rt.set_focus(nullptr);
    }
    void click(const std::string& form, const std::string& name) { rt.user_click(c(form, name)); }
    bool disabled(const std::string& form, const std::string& name)
    {
        return rt.get(c(form, name), prop::Disabled).truth();
    }
    std::string picture(const std::string& form, const std::string& control)
    {
        return picture_name(rt.unit(form, control).pictures[0]);
    }
};

// --- the calculations: worked figures -------------------------------------------------

struct FigureCase {
    const char* name;
    const char* form;
    std::vector<std::pair<const char*, const char*>> typed; // box, text typed before the compute click
    std::vector<std::pair<const char*, const char*>> shown; // box, text after one compute click
};

void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.form << ": " << c.name; }

struct WorkedFigures : ExcavatorProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(WorkedFigures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const auto& [box, value] : fc.typed) type(fc.form, box, value);
    click(fc.form, "图形按钮_计算");
    for (const auto& [box, want] : fc.shown) EXPECT_EQ(text(fc.form, box), want) << box;
    EXPECT_EQ(picture(fc.form, "图形按钮_计算"), app::res::compute_normal);
}

// Trucks with every default: 5.65 loads are 5 (6 would put 8.5 t on the
// 8 t truck), t1 3.33, t 14.03, N1 4.21 are 5, total 10.
const std::vector<std::pair<const char*, const char*>> kDefaultTrucks = {
    {Loads, "5"}, {T1, "3.33"}, {Cycle, "14.03"}, {N1, "5"}, {Total, "10"}};

std::vector<std::pair<const char*, const char*>> with_default_trucks(
    std::vector<std::pair<const char*, const char*>> shown)
{
    shown.insert(shown.end(), kDefaultTrucks.begin(), kDefaultTrucks.end());
    return shown;
}

// Pd 100 (cycle 36 s, q 1, K 1, Kb 0.125) over one shift of one day at Kt 1:
// the number of excavators is the earthwork over 100.
std::vector<std::pair<const char*, const char*>> need_of(const char* earthwork)
{
    return {{"编辑框1_挖掘机每一工作循环用时", "36"}, {"编辑框1_土斗利用系数", "1"}, {"编辑框1_工作时间利用系数", "0.125"},
            {"编辑框2_土方工程量", earthwork},       {"编辑框2_工期", "1"},        {"编辑框2_每天作业班数", "1"},
            {"编辑框2_时间利用系数", "1"}};
}

INSTANTIATE_TEST_SUITE_P(
    Excavator, WorkedFigures,
    ::testing::Values(
        // 1.0 × 0.90 × 3600 / 40 = 81; 81 × 0.7 × 8 = 453.6; 15000 / 453.6 / 16
        // = 2.07: two excavators would not finish in time, so 3.
        FigureCase{"defaults", kOutput, {}, {{Ph, "81"}, {Pd, "453.6"}, {PdCopy, "453.6"}, {N, "3"}}},
        // Ph shows 462.857 (of 462.857142…), so Pd is 2591.999, not 2592;
        // 0.36 of an excavator is one.
        FigureCase{"Pd from the shown Ph", kOutput, {{"编辑框1_挖掘机每一工作循环用时", "7"}},
                   {{Ph, "462.857"}, {Pd, "2591.999"}, {PdCopy, "2591.999"}, {N, "1"}}},
        // Counts of machines are rounded up.
        FigureCase{"a need of 2.4 excavators gives 3", kOutput, need_of("240"), {{Ph, "100"}, {Pd, "100"}, {N, "3"}}},
        FigureCase{"a need of 12.2 excavators gives 13", kOutput, need_of("1220"), {{N, "13"}}},
        FigureCase{"a need of 1.79 excavators gives 2", kOutput, need_of("179"), {{N, "2"}}},
        FigureCase{"a whole need stays", kOutput, need_of("300"), {{N, "3"}}},
        // 3.0000000001 excavators are 3: the residue of a division is no excavator.
        FigureCase{"a need a hair above a whole number stays", kOutput, need_of("300.00000001"), {{N, "3"}}},
        FigureCase{"a need just above a whole number is one more", kOutput, need_of("300.001"), {{N, "4"}}},

        // 15000 / (2 × 453.6 × 2 × 0.8) = 10.33; 8 × 1.2 / 1.7 = 5.65 loads.
        FigureCase{"defaults", kTrucks, {}, with_default_trucks({{T, "10.3"}})},
        FigureCase{"three excavators change only the schedule", kTrucks, {{"编辑框1_挖掘机数量", "3"}},
                   with_default_trucks({{T, "6.9"}})},
        FigureCase{"three excavators change only the truck total", kTrucks, {{"编辑框2_挖掘机数量", "3"}},
                   {{T, "10.3"}, {Loads, "5"}, {T1, "3.33"}, {Cycle, "14.03"}, {N1, "5"}, {Total, "15"}}},
        // Loads are the whole loads the truck carries: Q1 × 1.2 / 1.7 for a
        // 15 t truck is 10.59 loads, 10 (11 would put 15.6 t on it); 7.23
        // loads are 7; exactly 6 stay 6.
        FigureCase{"10.59 loads give 10", kTrucks, {{"编辑框2_自卸汽车载重量", "15"}}, {{Loads, "10"}, {T1, "6.67"}}},
        FigureCase{"7.23 loads give 7", kTrucks, {{"编辑框2_自卸汽车载重量", "10.2425"}}, {{Loads, "7"}}},
        FigureCase{"a whole number of loads stays", kTrucks, {{"编辑框2_自卸汽车载重量", "8.5"}},
                   {{Loads, "6"}, {T1, "4"}, {Cycle, "14.7"}, {N1, "4"}, {Total, "8"}}},
        // t1 5 (6 loads of 50 s), t 5 + 2 × 2125 / 500 + 1 + 2.5 = 17: 3.4
        // trucks per excavator are 4.
        FigureCase{"3.4 trucks per excavator give 4", kTrucks,
                   {{"编辑框2_自卸汽车载重量", "8.5"}, {"编辑框2_挖机每次作业循环的延续时间", "50"},
                    {"编辑框2_重车与空车的平均速度", "30"}, {"编辑框2_运距", "2125"}},
                   {{T1, "5"}, {Cycle, "17"}, {N1, "4"}, {Total, "8"}}},
        // t1 4.004 shows 4 and t 14: N1 = 14 / 4 = 3.5 gives 4.
        FigureCase{"N1 from the shown t and t1", kTrucks,
                   {{"编辑框2_自卸汽车载重量", "8.5"}, {"编辑框2_挖机每次作业循环的延续时间", "40.04"},
                    {"编辑框2_重车与空车的平均速度", "30"}, {"编辑框2_运距", "1625"}},
                   {{T1, "4"}, {Cycle, "14"}, {N1, "4"}, {Total, "8"}}},
        // t 3.33 + 7.2 + 1 + 0.8 = 12.33 over t1 3.33: 3.7 trucks are 4.
        FigureCase{"a shorter manoeuvre still needs a whole truck more", kTrucks, {{"编辑框2_操纵时间", "0.8"}},
                   {{Cycle, "12.33"}, {N1, "4"}, {Total, "8"}}},
        // t exactly 3 × t1: three trucks.
        FigureCase{"a whole number of trucks stays", kTrucks,
                   {{"编辑框2_自卸汽车载重量", "8.5"}, {"编辑框2_操纵时间", "0.3"}, {"编辑框2_卸车时间", "0.5"}},
                   {{Cycle, "12"}, {N1, "3"}, {Total, "6"}}},
        // The total is the excavators times the trucks each; excavators are
        // counted whole, so 6.1 of them give no total.
        FigureCase{"6.1 excavators give no total", kTrucks, {{"编辑框2_挖掘机数量", "6.1"}}, {{N1, "5"}, {Total, "-"}}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = std::string(i.param.form) + "_" + i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(WholeMachines, RoundUpWithATolerance)
{
    const struct {
        double need, machines;
    } rows[] = {{2.07, 3}, {2.4, 3}, {12.2, 13}, {1.79, 2}, {24.4, 25}, {3, 3}, {3.0000000001, 3}, {3.00000001, 4},
                {0.2, 1}, {0, 0}, {1e-12, 0}};
    for (const auto& r : rows) EXPECT_EQ(equipment::whole_machines(r.need), r.machines) << r.need;
    EXPECT_FALSE(std::signbit(equipment::whole_machines(1e-12))) << "+0, never -0";
    for (double none : {-0.5, -3.0, std::nan(""), HUGE_VAL}) EXPECT_TRUE(std::isnan(equipment::whole_machines(none))) << none;
}

// The need a report states beside the count stays a figure that gives that
// count: two decimals where they do, more where two would round onto another
// whole number.
TEST(StatedNeed, GivesTheCountItStandsBeside)
{
    const auto nearest = [](double x) { return ui::round_places(x, 0); };
    const struct {
        double need;
        bool rounded_up; // whole machines; otherwise the nearest whole number
        const char* stated;
    } rows[] = {
        {2.0723, true, "2.07"}, {4.003, true, "4.003"},  {0.0025, true, "0.003"}, {3.00000001, true, "3.00000001"},
        {3.0000000001, true, "3"}, {3, true, "3"},       {5.648, false, "5.65"},   {4.497, false, "4.497"},
        {4.4999, false, "4.4999"}, {4.5, false, "4.5"},  {3.996, false, "4"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(equipment::stated_need(r.need, r.rounded_up ? equipment::whole_machines : +nearest), r.stated) << r.need;
    EXPECT_EQ(equipment::stated_need(std::nan(""), equipment::whole_machines), "-");
}

// --- inputs that mean nothing -------------------------------------------------------------

// One input of a form holds a text at an edge of its domain when the compute
// button is clicked: every result built on it shows "-",
// the others their usual figures, and the calculation gives no report.
struct EdgeCase {
    const char* form;
    const char* box;
    std::vector<const char*> dashes;  // the results built on the box
    std::vector<std::pair<const char*, const char*>> kept; // the others, with their figures
};

void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.form << ": " << c.box; }

struct DomainEdges : ExcavatorProgram, ::testing::WithParamInterface<EdgeCase> {};

TEST_P(DomainEdges, ShowNoFigureAndGiveNoReport)
{
    const EdgeCase& ec = GetParam();
    const Domain d = c(ec.form, ec.box).domain;
    ASSERT_NE(d, Domain::Unchecked) << "the form gives the box no domain";
    for (const std::string& edge : testsupport::texts_outside(d)) {
        SCOPED_TRACE("\"" + edge + "\"");
        // the figures of an earlier calculation are there to be replaced
        const std::string start = text(ec.form, ec.box);
        click(ec.form, "图形按钮_计算");
        // (written as a paste would: typing filters letters out of a number box)
        set_control_text(U(ec.form, ec.box), edge);
        click(ec.form, "图形按钮_计算");
        for (const char* r : ec.dashes) EXPECT_EQ(text(ec.form, r), "-") << r;
        for (const auto& [r, want] : ec.kept) EXPECT_EQ(text(ec.form, r), want) << r;
        backend.queue_answer(0);
        click(ec.form, "图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_EQ(backend.messages.back().caption, "提示");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        type(ec.form, ec.box, start);
    }
    // the smallest figures the box takes
    set_control_text(U(ec.form, ec.box), d == Domain::Positive ? "1e-6" : d == Domain::PositiveCount ? "1" : "0");
    click(ec.form, "图形按钮_计算");
    for (const auto& [r, want] : ec.kept) EXPECT_EQ(text(ec.form, r), want) << r;
}

const std::vector<const char*> kOutputResults = {Ph, Pd, PdCopy, N};
const std::vector<const char*> kTruckResults = {Loads, T1, Cycle, N1, Total};
const std::vector<std::pair<const char*, const char*>> kDefaultSchedule = {{T, "10.3"}};

INSTANTIATE_TEST_SUITE_P(
    Excavator, DomainEdges,
    ::testing::Values(
        EdgeCase{kOutput, "编辑框1_挖掘机每一工作循环用时", kOutputResults, {}},
        EdgeCase{kOutput, "编辑框1_铲斗容量", kOutputResults, {}},
        EdgeCase{kOutput, "编辑框1_土斗利用系数", kOutputResults, {}},
        EdgeCase{kOutput, "编辑框1_工作时间利用系数", {Pd, PdCopy, N}, {{Ph, "81"}}},
        EdgeCase{kOutput, "编辑框2_土方工程量", {N}, {{Ph, "81"}, {Pd, "453.6"}}},
        EdgeCase{kOutput, "编辑框2_工期", {N}, {{Ph, "81"}, {Pd, "453.6"}}},
        EdgeCase{kOutput, "编辑框2_每天作业班数", {N}, {{Ph, "81"}, {Pd, "453.6"}}},
        EdgeCase{kOutput, "编辑框2_时间利用系数", {N}, {{Ph, "81"}, {Pd, "453.6"}}},
        EdgeCase{kTrucks, "编辑框1_土方工程量", {T}, kDefaultTrucks},
        EdgeCase{kTrucks, "编辑框1_单斗挖掘机台班生产率", {T}, kDefaultTrucks},
        EdgeCase{kTrucks, "编辑框1_每天作业班数", {T}, kDefaultTrucks},
        EdgeCase{kTrucks, "编辑框1_时间利用系数", {T}, kDefaultTrucks},
        EdgeCase{kTrucks, "编辑框1_挖掘机数量", {T}, kDefaultTrucks},
        EdgeCase{kTrucks, "编辑框2_自卸汽车载重量", kTruckResults, kDefaultSchedule},
        EdgeCase{kTrucks, "编辑框2_土的最初可松性系数", kTruckResults, kDefaultSchedule},
        EdgeCase{kTrucks, "编辑框2_挖机斗容量", kTruckResults, kDefaultSchedule},
        EdgeCase{kTrucks, "编辑框2_土的密度", kTruckResults, kDefaultSchedule},
        EdgeCase{kTrucks, "编辑框2_土斗充盈系数", kTruckResults, kDefaultSchedule},
        EdgeCase{kTrucks, "编辑框2_挖机每次作业循环的延续时间", {T1, Cycle, N1, Total}, {{T, "10.3"}, {Loads, "5"}}},
        EdgeCase{kTrucks, "编辑框2_运距", {Cycle, N1, Total}, {{Loads, "5"}, {T1, "3.33"}}},
        EdgeCase{kTrucks, "编辑框2_重车与空车的平均速度", {Cycle, N1, Total}, {{Loads, "5"}, {T1, "3.33"}}},
        EdgeCase{kTrucks, "编辑框2_卸车时间", {Cycle, N1, Total}, {{Loads, "5"}, {T1, "3.33"}}},
        EdgeCase{kTrucks, "编辑框2_操纵时间", {Cycle, N1, Total}, {{Loads, "5"}, {T1, "3.33"}}},
        EdgeCase{kTrucks, "编辑框2_挖掘机数量", {Total}, {{T, "10.3"}, {Loads, "5"}, {T1, "3.33"}, {Cycle, "14.03"}, {N1, "5"}}}),
    [](const ::testing::TestParamInfo<EdgeCase>& i) {
        std::string n = std::string(i.param.form) + "_" + std::to_string(i.index);
        return n;
    });

// A payload below one bucket load gives no whole load (one bucket is more
// than the truck carries): no loading time and no trucks follow from it, and
// the calculation gives no report. Exactly one load is a plan.
TEST_F(ExcavatorProgram, NoWholeLoadGivesNoTrucks)
{
    type(kTrucks, "编辑框2_自卸汽车载重量", "1.7");
    click(kTrucks, "图形按钮_计算");
    EXPECT_EQ(text(kTrucks, Loads), "1");
    EXPECT_EQ(text(kTrucks, T1), "0.67");
    EXPECT_EQ(results_state(kTrucks), Runtime::Results::Current);
    type(kTrucks, "编辑框2_自卸汽车载重量", "1.3");
    click(kTrucks, "图形按钮_计算");
    for (const char* r : {Loads, T1, Cycle, N1, Total}) EXPECT_EQ(text(kTrucks, r), "-") << r;
    EXPECT_EQ(text(kTrucks, T), "10.3");
    backend.queue_answer(0);
    click(kTrucks, "图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
}

TEST_F(ExcavatorProgram, NumberOfExcavatorsComesFromThisRunsCopyOfPd)
{
    // Whatever either Pd box held before, the count uses the Pd of this run.
    set_control_text(U(kOutput, Pd), "1");
    set_control_text(U(kOutput, PdCopy), "1");
    click(kOutput, "图形按钮_计算");
    EXPECT_EQ(text(kOutput, Pd), "453.6");
    EXPECT_EQ(text(kOutput, PdCopy), "453.6");
    EXPECT_EQ(text(kOutput, N), "3");
}

// The copy of Pd is a result the report states in the count's formula: a
// figure typed over it would stand there beside a count worked out from
// another, so it takes no typing.
TEST_F(ExcavatorProgram, TheCopyOfPdTakesNoTyping)
{
    click(kOutput, "图形按钮_计算");
    rt.user_type(c(kOutput, PdCopy), "100");
    rt.set_focus(nullptr);
    EXPECT_EQ(text(kOutput, PdCopy), "453.6");
}

TEST_F(ExcavatorProgram, RecomputingStartsFromTheInputsNotFromEarlierResults)
{
    click(kTrucks, "图形按钮_计算");
    type(kTrucks, "编辑框2_挖机斗容量", "0");
    click(kTrucks, "图形按钮_计算");
    ASSERT_EQ(text(kTrucks, Total), "-");
    type(kTrucks, "编辑框2_挖机斗容量", "1");
    click(kTrucks, "图形按钮_计算");
    for (const auto& [box, want] : kDefaultTrucks) EXPECT_EQ(text(kTrucks, box), want) << box;
}

// --- the forms as they start, and the compute frame ------------------------------------

struct StartCase {
    const char* form;
    const char* frame;
    std::vector<std::pair<const char*, const char*>> inputs;  // numeric, black on white, with their start texts
    std::vector<std::pair<const char*, const char*>> results; // read-only, white on grey
    std::vector<std::pair<const char*, const char*>> tips;
    const char* picture_box;
    const char* drawing;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.form; }

struct StartState : ExcavatorProgram, ::testing::WithParamInterface<StartCase> {};

TEST_P(StartState, FormSitsInItsFrameWithItsDefaultsAndTips)
{
    const StartCase& sc = GetParam();
    EXPECT_EQ(rt.form(sc.form)->frame, &rt.unit("main", sc.frame));
    EXPECT_EQ(rt.get(c(sc.form, ""), prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(c(sc.form, ""), prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(c(sc.form, ""), prop::Width).integer(), 900) << "the designed size is kept";
    EXPECT_EQ(rt.get(c(sc.form, ""), prop::Height).integer(), 600);
    EXPECT_FALSE(disabled(sc.form, "图形按钮_导出"));
    EXPECT_EQ(text(sc.form, "标签1_提示信息"), kIdleStatus);
    EXPECT_EQ(picture(sc.form, "进度条倒数"), app::res::countdown_picture(10));
    EXPECT_EQ(picture(sc.form, sc.picture_box), sc.drawing);

    for (const auto& [box, start] : sc.inputs) {
        EXPECT_EQ(text(sc.form, box), start) << box;
        EXPECT_EQ(c(sc.form, box).input_mode, 10) << box;
        EXPECT_EQ(c(sc.form, box).text_color, 0x000000) << box;
        EXPECT_EQ(c(sc.form, box).back_color, 0xFFFFFF) << box;
    }
    for (const auto& [box, start] : sc.results) {
        EXPECT_EQ(text(sc.form, box), start) << box;
        EXPECT_EQ(c(sc.form, box).input_mode, 1) << box;
        EXPECT_EQ(c(sc.form, box).text_color, 0xFFFFFF) << box;
        EXPECT_EQ(c(sc.form, box).back_color, 0x808080) << box;
    }
    const auto& tips = c(sc.form, "气球提示框1").tips;
    EXPECT_EQ(tips.size(), sc.tips.size());
    for (const auto& [box, tip] : sc.tips) {
        ASSERT_TRUE(tips.count(c(sc.form, box).id)) << box;
        EXPECT_EQ(tips.at(c(sc.form, box).id), tip) << box;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Excavator, StartState,
    ::testing::Values(
        StartCase{kOutput,
                  "外形框1_挖掘机生产率及需用数量计算",
                  {{"编辑框1_挖掘机每一工作循环用时", "40"}, {"编辑框1_铲斗容量", "1.0"}, {"编辑框1_土斗利用系数", "0.90"},
                   {"编辑框1_工作时间利用系数", "0.7"}, {"编辑框2_土方工程量", "15000"}, {"编辑框2_工期", "10"},
                   {"编辑框2_每天作业班数", "2"}, {"编辑框2_时间利用系数", "0.8"}},
                  {{Ph, ""}, {Pd, ""}, {PdCopy, ""}, {N, ""}},
                  {{"编辑框1_挖掘机每一工作循环用时",
                    "挖掘机每一工作循环延续时间（s），根据经验数字确定，对W1-100 正铲挖掘机为25 ～ 40s ；对W1-100 拉铲挖掘机为45 ～ 60s;"},
                   {"编辑框1_铲斗容量", "挖掘机铲斗容量（m3);"},
                   {"编辑框1_土斗利用系数",
                    "土斗利用系数，与土的可松性系数和士斗充盈系数有关，对砂土为0.8 ～0. 9 ；对黏土为0.85 ～ 0.95"},
                   {"编辑框1_工作时间利用系数",
                    "工作时间利用系数，正向汽车装土时为0.68 ～ 0. 72 ；侧向推土时为0. 78~0.88 ；挖爆破后的岩石为0.60"},
                   {Ph, "单斗挖掘机小时生产率"},
                   {Pd, "单斗挖掘机台班生产率"},
                   {"编辑框2_土方工程量", "施工的土方工程量（m3）"},
                   {"编辑框2_工期", "施工工期（天）"},
                   {"编辑框2_时间利用系数", "时间利用系数，一般为0.8～0.85或查机械定额"}},
                  "图片框1_挖掘机", "resources/pictures/equipment/excavator_machine.png"},
        StartCase{kTrucks,
                  "外形框1_挖掘机工期及渣车",
                  {{"编辑框1_土方工程量", "15000"}, {"编辑框1_单斗挖掘机台班生产率", "453.6"}, {"编辑框1_每天作业班数", "2.0"},
                   {"编辑框1_时间利用系数", "0.8"}, {"编辑框1_挖掘机数量", "2.0"},
                   {"编辑框2_挖机每次作业循环的延续时间", "40"}, {"编辑框2_挖机斗容量", "1"}, {"编辑框2_土斗充盈系数", "1.0"},
                   {"编辑框2_土的最初可松性系数", "1.2"}, {"编辑框2_土的密度", "1.7"}, {"编辑框2_运距", "1500"},
                   {"编辑框2_自卸汽车载重量", "8"}, {"编辑框2_挖掘机数量", "2"}, {"编辑框2_重车与空车的平均速度", "25"},
                   {"编辑框2_卸车时间", "1"}, {"编辑框2_操纵时间", "2.5"}},
                  {{T, ""}, {Cycle, "-"}, {T1, "-"}, {Loads, "-"}, {N1, "-"}, {Total, ""}},
                  {{"编辑框1_时间利用系数", "时间利用系数，一般为0.8～0.85或查机械定额"},
                   {"编辑框2_土的密度", "土的密度(一般取1.7t/m3)"},
                   {"编辑框2_重车与空车的平均速度", "重车与空车的平均速度(km/h）,一般取20～30km/h"},
                   {"编辑框2_卸车时间", "卸车时间(一般为1min)"},
                   {"编辑框2_操纵时间", "操纵时间(包括停放待装、等车、让车等)，取2～3min"}},
                  "图片框1_自卸汽车", "resources/pictures/equipment/excavator_dump_truck.png"}),
    [](const ::testing::TestParamInfo<StartCase>& i) { return std::string(i.param.form); });

TEST_F(ExcavatorProgram, ProductivityComputeShowsTheButtonPressedAndTheLampBusy)
{
    click("main", "图形按钮1_声音开关");
    backend.sounds.clear();
    backend.frame.clear();
    click(kOutput, "图形按钮_计算");
    EXPECT_EQ(backend.frame, (std::vector<std::string>{"button:" + std::string(app::res::compute_pressed),
                                                       "lamp:" + std::string(app::res::lamp_busy),
                                                       "button:" + std::string(app::res::compute_normal),
                                                       "lamp:" + std::string(app::res::lamp_idle)}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
}

TEST_F(ExcavatorProgram, TruckComputeLeavesTheLampAlone)
{
    backend.frame.clear();
    click(kTrucks, "图形按钮_计算");
    EXPECT_EQ(backend.frame, (std::vector<std::string>{"button:" + std::string(app::res::compute_pressed),
                                                       "button:" + std::string(app::res::compute_normal)}));
    EXPECT_TRUE(backend.sounds.empty()) << "the sound switch starts off";
}

// --- the reports ------------------------------------------------------------------------

struct ReportCase {
    const char* form;
    const char* report;
    const char* packed_template;
    const char* title;
    // The placeholders in the order the export replaces them, each with the
    // countdown step shown just before it (-1: none).
    std::vector<std::pair<const char*, int>> groups;
    std::vector<const char*> after_compute; // what the report shows after a calculation
    const char* input;                       // an input the calculation reads
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.form; }

const ReportCase kOutputReport{
    kOutput,
    "挖掘机功率数量计算.doc",
    "templates/excavator_output.docx",
    "挖掘机生产率及需用数量计算书",
    {{"编辑框1_铲斗容量", 8}, {"编辑框1_土斗利用系数", -1}, {Pd, 7}, {Ph, -1},
     {"编辑框1_挖掘机每一工作循环用时", 6}, {"编辑框1_工作时间利用系数", -1}, {"编辑框2_工期", 5},
     {"编辑框2_每天作业班数", 4}, {"编辑框2_土方工程量", -1}, {"编辑框2_时间利用系数", 3}, {N, 2}, {PdCopy, 1}},
    // the need before it is rounded up, then the whole number
    {"单斗挖掘机小时生产率Ph\n81\nm³/h", "单斗挖掘机台班生产率Pd\n453.6\nm³/台班", "需配置单斗挖掘机 3 台",
     "≈2.07", "取N = 3 台", "挖掘机每一工作循环延续时间\nt\n40\ns", "土方工程量 15000 m³，在工期 10 d"},
    "编辑框2_工期",
};

const ReportCase kTrucksReport{
    kTrucks,
    "挖掘机工期及配套自卸汽车数量计算.doc",
    "templates/excavator_trucks.docx",
    "挖掘机工期及配套自卸汽车数量计算书",
    {{"编辑框1_土方工程量", 8}, {"编辑框1_单斗挖掘机台班生产率", -1}, {"编辑框1_每天作业班数", -1},
     {"编辑框1_时间利用系数", 7}, {"编辑框1_挖掘机数量", -1}, {T, -1},
     {"编辑框2_挖机每次作业循环的延续时间", 6}, {"编辑框2_挖机斗容量", -1}, {"编辑框2_土斗充盈系数", -1},
     {"编辑框2_土的最初可松性系数", 5}, {"编辑框2_土的密度", -1}, {"编辑框2_运距", -1},
     {"编辑框2_自卸汽车载重量", 4}, {"编辑框2_挖掘机数量", -1}, {"编辑框2_重车与空车的平均速度", -1},
     {"编辑框2_卸车时间", 3}, {"编辑框2_操纵时间", -1}, {Cycle, -1},
     {T1, 2}, {Loads, -1}, {N1, -1}, {Total, 1}},
    {"挖掘机工期T\n10.3\nd", "自卸汽车每车装土次数n\n5\n次", "每台挖掘机配车量N1\n5\n台", "≈5.65", "向下取整",
     "不超载", "取n = 5 次", "≈4.21", "取N1 = 5 台", "=10", "自卸汽车总计数量N总 = 10 台",
     "经计算，2 台挖掘机完成土方工程需工期 10.3 d；配套自卸汽车共需 10 台", "挖掘机数量\nN\n2\n台", "每天作业班数\nm\n2\n台班"},
    "编辑框2_运距",
};

TEST(ExcavatorTemplates, HoldEachPlaceholderAtMostAsOftenAsTheExportReplacesIt)
{
    for (const ReportCase* rc : {&kOutputReport, &kTrucksReport}) {
        const Bytes& packed = resource(rc->packed_template);
        ASSERT_FALSE(packed.empty()) << rc->packed_template;
        const std::string doc = story_text(std::string(packed.begin(), packed.end()));
        EXPECT_NE(doc.find(rc->title), std::string::npos) << rc->form;
        for (const auto& [p, step] : rc->groups) {
            const size_t n = occurrences(doc, p);
            EXPECT_GE(n, 1u) << p;
            EXPECT_LE(n, 5u) << p; // the export gives each five passes
        }
        // No placeholder lies inside another, so the order of the passes cannot matter.
        for (const auto& a : rc->groups)
            for (const auto& b : rc->groups)
                if (std::string(a.first) != b.first) {
                    EXPECT_EQ(std::string(b.first).find(a.first), std::string::npos) << a.first << " in " << b.first;
                }
    }
}

struct ReportExport : ExcavatorProgram, ::testing::WithParamInterface<ReportCase> {
    fs::path report() { return folder / "导出的方案" / GetParam().report; }
    void export_ok()
    {
        backend.queue_answer(0);
        click(GetParam().form, "图形按钮_导出");
    }
    std::string report_text() { return story_text(file_bytes(report())); }
};

TEST_P(ReportExport, ConfirmedExportFillsEveryPlaceholderAndCountsDown)
{
    const ReportCase& rc = GetParam();
    click(rc.form, "图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{rc.report});

    const std::string doc = report_text();
    EXPECT_NE(doc.find(rc.title), std::string::npos);
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]"))) << "unreplaced: " << left.str() << "…";
    for (const char* shown : rc.after_compute) EXPECT_NE(doc.find(shown), std::string::npos) << shown;

    // Countdown 10 while Word starts, the preparation text, 9 once the
    // template is written, 8 … 1 before the groups, 0 before saving; then
    // the progress count and the idle status with its picture.
    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", "  参数导出准备中，请稍候……"};
    for (int n = 9; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    for (int p = 1; p <= 100; ++p) want.push_back("计算书已导出 " + std::to_string(p) + "%  ");
    want.push_back(kIdleStatus);
    want.push_back("[10]");
    EXPECT_EQ(backend.trail[rc.form], want);

    EXPECT_FALSE(disabled(rc.form, "图形按钮_导出"));
    EXPECT_FALSE(disabled(rc.form, "图形按钮_计算"));
    EXPECT_EQ(picture(rc.form, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
    EXPECT_EQ(rt.get(c(rc.form, "进度条1"), prop::ProcessBar::Position).integer(), 0);
}

TEST_P(ReportExport, CountdownStepsStandBeforeTheirPlaceholderGroups)
{
    const ReportCase& rc = GetParam();
    click(rc.form, "图形按钮_计算");
    for (const auto& [p, step] : rc.groups) backend.stamped.push_back(p);
    export_ok();
    const std::string doc = report_text();
    int step = -1;
    for (size_t i = 0; i < rc.groups.size(); ++i) {
        if (rc.groups[i].second >= 0) step = rc.groups[i].second;
        const std::string want = "<#" + std::to_string(i) + "@" + std::to_string(step) + ">";
        EXPECT_NE(doc.find(want), std::string::npos) << rc.groups[i].first << " read at step " << step;
    }
}

// A report states only results that belong to the inputs it shows.
TEST_P(ReportExport, OnlyCurrentResultsAreExported)
{
    const ReportCase& rc = GetParam();
    const auto refused = [&](const char* message) {
        backend.queue_answer(0);
        click(rc.form, "图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, message);
        EXPECT_EQ(backend.messages.back().caption, "提示");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    };
    refused("您还未进行计算，请计算后导出！");
    click(rc.form, "图形按钮_计算");
    const std::string before = text(rc.form, rc.input);
    type(rc.form, rc.input, "3");
    refused("输入已修改，请重新计算后导出！");
    // typed back, the results belong to the inputs again
    type(rc.form, rc.input, before);
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    const std::string first = report_text();
    // a fresh calculation after typing and undoing writes the same report
    type(rc.form, rc.input, "3");
    click(rc.form, "图形按钮_计算");
    type(rc.form, rc.input, before);
    click(rc.form, "图形按钮_计算");
    export_ok();
    EXPECT_EQ(report_text(), first);
}

TEST_P(ReportExport, CancelWritesNothing)
{
    const ReportCase& rc = GetParam();
    click(rc.form, "图形按钮_计算");
    backend.queue_answer(1);
    click(rc.form, "图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(rc.form, "图形按钮_导出"), app::res::export_normal);
    EXPECT_FALSE(disabled(rc.form, "图形按钮_计算"));
    EXPECT_EQ(text(rc.form, "标签1_提示信息"), kIdleStatus);
}

// The need a report rounds up or to the nearest whole number is stated with
// as many decimals as it takes to give the count that follows it: 4.003
// excavators are 5 (not "≈4 … 5"), 4.998 loads are 4 (not "≈5 … 4").
TEST_F(ExcavatorProgram, ReportedNeedsGiveTheCountsTaken)
{
    const auto export_report = [&](const char* form, const char* file) {
        click(form, "图形按钮_计算");
        backend.queue_answer(0);
        click(form, "图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！") << form;
        return story_text(file_bytes(folder / "导出的方案" / file));
    };
    // N = 1815.7608 / 453.6 / (1 × 1 × 1) = 4.003
    type(kOutput, "编辑框2_工期", "1");
    type(kOutput, "编辑框2_每天作业班数", "1");
    type(kOutput, "编辑框2_时间利用系数", "1");
    type(kOutput, "编辑框2_土方工程量", "1815.7608");
    const std::string output = export_report(kOutput, "挖掘机功率数量计算.doc");
    EXPECT_EQ(text(kOutput, N), "5");
    for (const char* shown : {"=4.003台", "取N = 5 台"}) EXPECT_NE(output.find(shown), std::string::npos) << shown;
    // n = 4.998 × 1 / (1 × 1 × 1) = 4.998
    for (const char* factor : {"编辑框2_挖机斗容量", "编辑框2_土的密度", "编辑框2_土斗充盈系数", "编辑框2_土的最初可松性系数"})
        type(kTrucks, factor, "1");
    type(kTrucks, "编辑框2_自卸汽车载重量", "4.998");
    const std::string trucks = export_report(kTrucks, "挖掘机工期及配套自卸汽车数量计算.doc");
    EXPECT_EQ(text(kTrucks, Loads), "4");
    for (const char* shown : {"=4.998次", "取n = 4 次"}) EXPECT_NE(trucks.find(shown), std::string::npos) << shown;
}

INSTANTIATE_TEST_SUITE_P(Excavator, ReportExport, ::testing::Values(kOutputReport, kTrucksReport),
                         [](const ::testing::TestParamInfo<ReportCase>& i) { return std::string(i.param.form); });

} // namespace

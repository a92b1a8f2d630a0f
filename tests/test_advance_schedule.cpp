// The advance and schedule module in the whole headless program: the worked
// figures of the group calculation as a table of cases, the chart and its
// axis, the lists and lookups, and the report with its countdown.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "modules/excavation/advance_schedule.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "AdvanceSchedule";
constexpr const char* kIdle = "方案导出需要Word2007以上版本！";

const char* const kResultStems[] = {"编辑框2_循环次数", "编辑框2_月循环数", "编辑框2_天循环数", "编辑框3_每天进尺",
                                    "编辑框3_月进尺",   "编辑框4_工期天",   "编辑框4_工期月",   "编辑框4_工期年"};

std::string row_box(const char* stem, int r) { return stem + std::to_string(r); }

// Records what the user sees of an export, in order: the status label's
// captions, the countdown pictures, the plain pauses and the message boxes
// with the status caption they were shown over.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::string> trail;
    std::vector<std::string> owners; // owner form of each message box, "" for none
    std::string status;
    void property_changed(Control& c, int p) override
    {
        if (c.form->name != kForm) return;
        if (c.name == "标签1_提示窗口" && p == prop::Label::Caption) trail.push_back(status = c.text);
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
    }
    void sleep(int ms) override
    {
        trail.push_back("sleep " + std::to_string(ms));
        HeadlessBackend::sleep(ms);
    }
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        trail.push_back("box " + text + " over " + status);
        owners.push_back(owner ? owner->name : "");
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
};

struct ScheduleProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-schedule-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form("main"), nullptr);
        ASSERT_NE(rt.form(kForm), nullptr);
        backend.status = text("标签1_提示窗口");
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return control_text(U(kForm, name)); }
    void set(const std::string& name, const std::string& value) { set_control_text(U(kForm, name), value); }
    void click(const std::string& name) { rt.user_click(c(name)); }
    void compute() { click("图形按钮_计算"); }
    std::string picture(const std::string& form, const std::string& control)
    {
        const Bytes& b = rt.unit(form, control).pictures[0];
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<unknown>";
    }
    ChartModel& chart() { return c("柱状图控件1").chart; }
};

// --- the calculation: worked figures --------------------------------------------------

struct Step {
    const char* box = nullptr; // nullptr: a compute click
    const char* text = "";
};
const Step kCompute{};

struct FigureCase {
    const char* name;
    std::vector<Step> steps; // a compute click follows them
    std::vector<std::pair<const char*, const char*>> shown;
    std::vector<int> cleared;  // rows whose eight results read empty
    std::vector<int> dashed = {}; // rows whose eight results read "-"
    bool reported = true;      // the results may be exported
};

void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct WorkedFigures : ScheduleProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(WorkedFigures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.box) set(s.box, s.text);
        else compute();
    }
    compute();
    for (const auto& [box, want] : fc.shown) EXPECT_EQ(text(box), want) << box;
    for (int r : fc.cleared)
        for (const char* stem : kResultStems) EXPECT_EQ(text(row_box(stem, r)), "") << row_box(stem, r);
    for (int r : fc.dashed)
        for (const char* stem : kResultStems) EXPECT_EQ(text(row_box(stem, r)), "-") << row_box(stem, r);
    EXPECT_EQ(results_state(kForm), fc.reported ? Runtime::Results::Current : Runtime::Results::Refused);
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

const std::vector<std::pair<const char*, const char*>> kDefaultRows = {
    {"编辑框2_循环次数0", "179"},  {"编辑框2_月循环数0", "53.33"}, {"编辑框2_天循环数0", "1.78"},
    {"编辑框3_每天进尺0", "3.56"}, {"编辑框3_月进尺0", "106.8"},  {"编辑框4_工期天0", "100.56"},
    {"编辑框4_工期月0", "3.35"},   {"编辑框4_工期年0", "0.28"},
    {"编辑框2_循环次数1", "73.13"}, {"编辑框2_月循环数1", "58.54"}, {"编辑框2_天循环数1", "1.95"},
    {"编辑框3_每天进尺1", "6.24"},  {"编辑框3_月进尺1", "187.2"},  {"编辑框4_工期天1", "37.5"},
    {"编辑框4_工期月1", "1.25"},    {"编辑框4_工期年1", "0.1"},
};
// No totals: "-" alone, without a unit.
const std::vector<std::pair<const char*, const char*>> kNoTotals = {
    {"编辑框1_汇总长度", "-"}, {"编辑框2_总循环次数", "-"}, {"编辑框4_工期天6", "-"}, {"编辑框4_工期月6", "-"},
    {"编辑框4_工期年6", "-"}};
std::vector<std::pair<const char*, const char*>> with_default_rows(std::vector<std::pair<const char*, const char*>> more)
{
    more.insert(more.begin(), kDefaultRows.begin(), kDefaultRows.end());
    return more;
}

INSTANTIATE_TEST_SUITE_P(
    AdvanceSchedule, WorkedFigures,
    ::testing::Values(
        // 53.33 from the unrounded 24 / 13.5 (not 1.78 × 30); 3.56 from the
        // shown 1.78; the months 358 / 3.56 / 30 = 3.352; 234 / 3.2 = 73.125
        // rounds away from zero; 3.35 + 1.25 shows as 4.6.
        FigureCase{"defaults",
                   {},
                   with_default_rows({{"编辑框1_汇总长度", "592m"}, {"编辑框2_总循环次数", "252循环"},
                                      {"编辑框4_工期天6", "138天"}, {"编辑框4_工期月6", "4.6月"},
                                      {"编辑框4_工期年6", "0.38年"}}),
                   {2, 3, 4, 5}},
        FigureCase{"every row",
                   {{"编辑框1_各类围岩长度2", "100"}, {"编辑框1_每循环进尺2", "2.5"}, {"编辑框1_每循环用时2", "10"},
                    {"编辑框1_各类围岩长度3", "200"}, {"编辑框1_每循环进尺3", "2.5"}, {"编辑框1_每循环用时3", "10"},
                    {"编辑框1_各类围岩长度4", "300"}, {"编辑框1_每循环进尺4", "2.5"}, {"编辑框1_每循环用时4", "10"},
                    {"编辑框1_各类围岩长度5", "450"}, {"编辑框1_每循环进尺5", "1.2"}, {"编辑框1_每循环用时5", "16"}},
                   with_default_rows({{"编辑框2_循环次数2", "40"},   {"编辑框2_月循环数2", "72"},  {"编辑框2_天循环数2", "2.4"},
                                      {"编辑框3_每天进尺2", "6"},    {"编辑框3_月进尺2", "180"},   {"编辑框4_工期天2", "16.67"},
                                      {"编辑框4_工期月2", "0.56"},   {"编辑框4_工期年2", "0.05"},  {"编辑框4_工期天3", "33.33"},
                                      {"编辑框4_工期年3", "0.09"},   {"编辑框4_工期月4", "1.67"},  {"编辑框2_循环次数5", "375"},
                                      {"编辑框2_月循环数5", "45"},   {"编辑框3_每天进尺5", "1.8"}, {"编辑框3_月进尺5", "54"},
                                      {"编辑框4_工期天5", "250"},    {"编辑框4_工期月5", "8.33"},  {"编辑框4_工期年5", "0.68"},
                                      {"编辑框1_汇总长度", "1642m"}, {"编辑框2_总循环次数", "867循环"},
                                      {"编辑框4_工期天6", "488天"},  {"编辑框4_工期月6", "16.27月"}, {"编辑框4_工期年6", "1.34年"}}),
                   {}},
        // A group with some inputs is part of the tunnel: one that is missing
        // or means nothing (zero, negative, "-0", no number) leaves that
        // group without figures, and the tunnel without totals and without a
        // report, rather than a total that silently leaves the group out.
        FigureCase{"length without advance",
                   {{"编辑框1_各类围岩长度2", "100"}, {"编辑框1_每循环用时2", "12"}},
                   with_default_rows(kNoTotals),
                   {3, 4, 5},
                   {2},
                   false},
        FigureCase{"length without duration",
                   {{"编辑框1_各类围岩长度3", "50.5"}, {"编辑框1_每循环进尺3", "2"}},
                   with_default_rows(kNoTotals),
                   {2, 4, 5},
                   {3},
                   false},
        FigureCase{"advance without length",
                   {{"编辑框1_每循环进尺4", "2"}},
                   with_default_rows(kNoTotals),
                   {2, 3, 5},
                   {4},
                   false},
        FigureCase{"inputs that mean nothing",
                   {{"编辑框1_每循环进尺0", "0"}, {"编辑框1_每循环用时1", "-12.3"}},
                   kNoTotals,
                   {2, 3, 4, 5},
                   {0, 1},
                   false},
        FigureCase{"minus zero", {{"编辑框1_各类围岩长度1", "-0"}}, kNoTotals, {2, 3, 4, 5}, {1}, false},
        FigureCase{"a length that is no number", {{"编辑框1_各类围岩长度1", "长度"}}, kNoTotals, {2, 3, 4, 5}, {1}, false},
        FigureCase{"a length beyond the number range", {{"编辑框1_各类围岩长度1", "1e309"}}, kNoTotals, {2, 3, 4, 5}, {1}, false},
        // A length of 1e-7 m is a length: a few zeros, no time to speak of.
        FigureCase{"a length of 1e-7",
                   {{"编辑框1_各类围岩长度0", "0.0000001"}},
                   {{"编辑框2_循环次数0", "0"}, {"编辑框4_工期天0", "0"}, {"编辑框1_汇总长度", "234.0000001m"},
                    {"编辑框2_总循环次数", "73循环"}, {"编辑框4_工期天6", "38天"}},
                   {2, 3, 4, 5}},
        // A group whose three inputs are emptied is no longer part of the
        // tunnel: its results go, the stale 179 never reaches the total.
        FigureCase{"a computed group emptied later",
                   {kCompute, {"编辑框1_各类围岩长度0", ""}, {"编辑框1_每循环进尺0", ""}, {"编辑框1_每循环用时0", ""}},
                   {{"编辑框2_循环次数1", "73.13"}, {"编辑框1_汇总长度", "234m"}, {"编辑框2_总循环次数", "73循环"},
                    {"编辑框4_工期天6", "38天"}, {"编辑框4_工期月6", "1.25月"}, {"编辑框4_工期年6", "0.1年"}},
                   {0, 2, 3, 4, 5}},
        FigureCase{"no group at all",
                   {{"编辑框1_各类围岩长度0", ""}, {"编辑框1_每循环进尺0", ""}, {"编辑框1_每循环用时0", ""},
                    {"编辑框1_各类围岩长度1", ""}, {"编辑框1_每循环进尺1", ""}, {"编辑框1_每循环用时1", ""}},
                   kNoTotals,
                   {0, 1, 2, 3, 4, 5},
                   {},
                   false},
        // A cycle of 5000 h is 0.0048 cycles a day, too few for two places:
        // the box shows them with two significant digits rather than 0, and
        // the days are worked from the advance shown (0.0096 m a day, 0.01
        // to two places) instead of dividing by 0.
        FigureCase{"an advance too small for two places",
                   {{"编辑框1_每循环用时0", "5000"}},
                   {{"编辑框2_循环次数0", "179"}, {"编辑框2_月循环数0", "0.14"}, {"编辑框2_天循环数0", "0.0048"},
                    {"编辑框3_每天进尺0", "0.01"}, {"编辑框3_月进尺0", "0.3"}, {"编辑框4_工期天0", "35800"},
                    {"编辑框4_工期月0", "1193.33"}, {"编辑框4_工期年0", "98.08"}, {"编辑框2_总循环次数", "252循环"},
                    {"编辑框4_工期天6", "35838天"}, {"编辑框4_工期月6", "1194.58月"}, {"编辑框4_工期年6", "98.18年"}},
                   {},
                   {}},
        // A cycle of 10^9 h is 0 cycles a day as the calculations compare
        // figures, so 0 m a day: the times divide by zero and show "-"; the
        // time totals have no figure either (rather than the other group's
        // 38 days), and there is no plan to report.
        FigureCase{"no advance a day",
                   {{"编辑框1_每循环用时0", "1000000000"}},
                   {{"编辑框2_循环次数0", "179"}, {"编辑框2_月循环数0", "7.2e-007"}, {"编辑框2_天循环数0", "0"},
                    {"编辑框3_每天进尺0", "0"}, {"编辑框3_月进尺0", "0"}, {"编辑框4_工期天0", "-"},
                    {"编辑框4_工期月0", "-"}, {"编辑框4_工期年0", "-"}, {"编辑框2_总循环次数", "-"},
                    {"编辑框4_工期天6", "-"}, {"编辑框4_工期月6", "-"}, {"编辑框4_工期年6", "-"}},
                   {},
                   {},
                   false},
        // Each group has its figures, but the lengths add up beyond the
        // number range: the tunnel has no totals and no plan to report
        // (not a report whose total length is "-").
        FigureCase{"lengths that add up beyond the number range",
                   {{"编辑框1_各类围岩长度0", "1e308"}, {"编辑框1_各类围岩长度1", "1e308"}},
                   {{"编辑框2_循环次数0", "5e+307"}, {"编辑框2_循环次数1", "3.125e+307"}, {"编辑框1_汇总长度", "-"},
                    {"编辑框2_总循环次数", "-"}, {"编辑框4_工期天6", "-"}, {"编辑框4_工期月6", "-"},
                    {"编辑框4_工期年6", "-"}},
                   {2, 3, 4, 5},
                   {},
                   false},
        // A daily advance beyond the number range shows "-": the monthly
        // advance built on it shows "-" too, not 0, and so do the totals.
        FigureCase{"daily advance beyond range",
                   {{"编辑框1_每循环进尺0", "1e308"}, {"编辑框1_每循环用时0", "1"}},
                   {{"编辑框2_循环次数0", "0"}, {"编辑框2_月循环数0", "720"}, {"编辑框2_天循环数0", "24"},
                    {"编辑框3_每天进尺0", "-"}, {"编辑框3_月进尺0", "-"}, {"编辑框4_工期天0", "-"},
                    {"编辑框4_工期月0", "-"}, {"编辑框4_工期年0", "-"}, {"编辑框1_汇总长度", "-"},
                    {"编辑框4_工期天6", "-"}, {"编辑框4_工期月6", "-"}, {"编辑框4_工期年6", "-"}},
                   {},
                   {},
                   false}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// Each input of a group at the edges of its domain (all three positive):
// the group shows "-" in all eight results, the totals "-", an earlier
// result does not stand, and there is nothing to export; the other group
// keeps its figures.
TEST_F(ScheduleProgram, NoFiguresFromAnInputThatMeansNothing)
{
    for (const char* stem : {"编辑框1_各类围岩长度", "编辑框1_每循环进尺", "编辑框1_每循环用时"}) {
        for (const char* edge : {"", "0", "-0", "-1", "abc", "-", "1e309"}) {
            SCOPED_TRACE(std::string(stem) + " \"" + edge + "\"");
            set("编辑框1_各类围岩长度1", "234");
            set("编辑框1_每循环进尺1", "3.2");
            set("编辑框1_每循环用时1", "12.3");
            compute();
            ASSERT_EQ(text("编辑框4_工期天6"), "138天");
            set(row_box(stem, 1), edge);
            compute();
            for (const char* result : kResultStems) EXPECT_EQ(text(row_box(result, 1)), "-") << result;
            for (const char* total : {"编辑框1_汇总长度", "编辑框2_总循环次数", "编辑框4_工期天6", "编辑框4_工期月6", "编辑框4_工期年6"})
                EXPECT_EQ(text(total), "-") << total;
            EXPECT_EQ(text("编辑框4_工期天0"), "100.56");
            EXPECT_EQ(results_state(kForm), Runtime::Results::Refused);
        }
    }
}

TEST_F(ScheduleProgram, RockClassIsOnlyALabel)
{
    rt_set_property(U(kForm, "组合框1_围岩等级0"), prop::ComboBox::CurrentIndex, 6); // 明洞
    rt_set_property(U(kForm, "组合框1_围岩等级1"), prop::ComboBox::CurrentIndex, -1);
    rt_set_property(U(kForm, "组合框1_围岩等级2"), prop::ComboBox::CurrentIndex, 7); // "-"
    set("编辑框1_各类围岩长度2", "100");
    set("编辑框1_每循环进尺2", "2.5");
    set("编辑框1_每循环用时2", "10");
    compute();
    for (const auto& [box, want] : kDefaultRows) EXPECT_EQ(text(box), want) << box;
    EXPECT_EQ(text("编辑框4_工期天2"), "16.67");
}

TEST_F(ScheduleProgram, ComputeFrameRestoresAndResetsTheStatusLine)
{
    rt_set_property(U(kForm, "标签1_提示窗口"), prop::Label::Caption, "导出完成！");
    backend.trail.clear();
    compute();
    // The idle status comes before the pause, the restore after it.
    EXPECT_EQ(backend.trail, (std::vector<std::string>{kIdle, "sleep 500"}));
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

// --- start state, lists and lookups --------------------------------------------------

TEST_F(ScheduleProgram, StartState)
{
    const Ref frame = U("main", "外形框1_隧道开挖");
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_隧道开挖"));
    EXPECT_EQ(rt.get(c(""), prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Width).integer(), cmd_client_width(frame) - 10);
    EXPECT_EQ(rt.get(c(""), prop::Height).integer(), cmd_client_height(frame) - 10);
    EXPECT_FALSE(rt.get(c("图形按钮_导出"), prop::Disabled).truth());
    EXPECT_EQ(text("标签1_提示窗口"), kIdle);

    const std::vector<std::string> classes = {"I级围岩", "Ⅱ级围岩", "Ⅲ级围岩", "Ⅳ级围岩",
                                              "V级围岩", "Ⅵ级围岩", "明洞",     "-"};
    const char* const start_class[] = {"Ⅳ级围岩", "Ⅲ级围岩", "", "", "", ""};
    const char* const start_input[][3] = {{"358", "2", "13.5"}, {"234", "3.2", "12.3"}, {"", "", ""}};
    for (int r = 0; r < 6; ++r) {
        const std::string list = row_box("组合框1_围岩等级", r);
        EXPECT_EQ(c(list).items, classes) << list;
        EXPECT_FALSE(c(list).editable) << list;
        EXPECT_EQ(text(list), start_class[r]) << list;
        EXPECT_EQ(text("标签2" + std::to_string(r)), "第" + std::to_string(r + 1) + "组");
        const char* const* in = start_input[std::min(r, 2)];
        const char* const inputs[] = {"编辑框1_各类围岩长度", "编辑框1_每循环进尺", "编辑框1_每循环用时"};
        for (int k = 0; k < 3; ++k) {
            Control& box = c(row_box(inputs[k], r));
            EXPECT_EQ(box.text, in[k]) << box.name;
            EXPECT_EQ(box.input_mode, 10) << box.name;
            EXPECT_EQ(box.text_color, 0) << box.name;
            EXPECT_EQ(box.back_color, 0xFFFFFF) << box.name;
        }
        for (const char* stem : kResultStems) {
            Control& box = c(row_box(stem, r));
            EXPECT_EQ(box.text, r < 2 ? "-" : "") << box.name;
            EXPECT_EQ(box.input_mode, 1) << box.name;
            EXPECT_EQ(box.text_color, 0xFFFFFF) << box.name;
            EXPECT_EQ(box.back_color, 0x808080) << box.name;
        }
    }
    // No total before the first calculation, the length's neither.
    const std::pair<const char*, const char*> totals[] = {{"编辑框1_汇总长度", "-"}, {"编辑框2_总循环次数", "-"},
                                                         {"编辑框4_工期天6", "-"}, {"编辑框4_工期月6", "-"},
                                                         {"编辑框4_工期年6", "-"}};
    for (const auto& [box, want] : totals) {
        EXPECT_EQ(text(box), want) << box;
        EXPECT_EQ(c(box).input_mode, 1) << box;
    }

    // Tips: one text per column, attached at creation.
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), 18u);
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(tips.at(c(row_box("编辑框1_各类围岩长度", r)).id), "指具备相同围岩特征的长度汇总（m）\r\n也可以进行单段计算！");
        EXPECT_EQ(tips.at(c(row_box("编辑框1_每循环用时", r)).id),
                  "隧道施作每一循环所需要的总时间（含时间间隔）\r\n每个班组情况不一，建议按现场实际施工循环总时间为计算时间（小时）");
        EXPECT_EQ(tips.at(c(row_box("编辑框1_每循环进尺", r)).id),
                  "上台阶每循环进尺Ⅴ、Ⅵ级围岩不应大于1榀钢架间距，Ⅳ级围岩不得大于2榀钢架间距。\r\n"
                  "台阶下部断面一次开挖长度应与上部断面相同，且不得超过1.5m");
    }

    // The chart drawn from the default texts: "-" reads 0.
    EXPECT_FALSE(c("标签19").visible);
    EXPECT_EQ(text("标签19"), "358");
    const ChartModel& m = chart();
    EXPECT_EQ(m.title, "循环/工期/长度占比表");
    EXPECT_EQ(m.x_caption, "");
    EXPECT_EQ(m.y_maximum, 458);
    EXPECT_EQ(m.y_divisions, 10);
    EXPECT_EQ(m.series_names, (std::vector<std::string>{"长度(米)", "工期（天）", "循环（环）"}));
    EXPECT_EQ(m.series_colors, (std::vector<int32_t>{0x00FF00, 0x00FFFF, 0xFF8800}));
    EXPECT_EQ(m.category_names, (std::vector<std::string>{"第1组", "第2组", "", "", "", ""}));
    EXPECT_EQ(m.values, (std::vector<std::vector<double>>{{358, 234, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0}}));
}

TEST_F(ScheduleProgram, ChoosingARockClassMovesToThatRowsLength)
{
    compute();
    for (int r = 0; r < 6; ++r) {
        rt.set_focus(nullptr);
        rt.user_choose(c(row_box("组合框1_围岩等级", r)), r);
        EXPECT_TRUE(cmd_has_focus(U(kForm, row_box("编辑框1_各类围岩长度", r)))) << "row " << r;
    }
    // Nothing is recomputed or rewritten.
    for (const auto& [box, want] : kDefaultRows) EXPECT_EQ(text(box), want) << box;
    EXPECT_EQ(text("编辑框1_各类围岩长度0"), "358");
}

TEST_F(ScheduleProgram, LookupsShowTheirTableInThePopup)
{
    const struct {
        const char* button;
        const char* picture;
        int width, height;
    } rows[] = {
        {"按钮1", "resources/pictures/schedule/regulations.png", 670, 740},
        {"按钮3", "resources/pictures/schedule/cycle_times.png", 580, 450},
        {"按钮1", "resources/pictures/schedule/regulations.png", 670, 740}, // the open pop-up again
    };
    for (const auto& r : rows) {
        EXPECT_EQ(text(r.button), r.button == std::string("按钮1") ? "查规定" : "查循环用时");
        click(r.button);
        ASSERT_NE(rt.form("popup"), nullptr);
        EXPECT_EQ(picture("popup", "图片框2"), r.picture) << r.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), r.width) << r.button;
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), r.height) << r.button;
    }
    // The tables are the sizes the pop-up windows were chosen for; the
    // illustration is the size of the form's box that shows it.
    const std::pair<const char*, std::pair<int, int>> sizes[] = {
        {"resources/pictures/schedule/regulations.png", {669, 742}},
        {"resources/pictures/schedule/cycle_times.png", {555, 379}},
        {"resources/pictures/schedule/tunnel.png", {310, 155}},
    };
    for (const auto& [path, size] : sizes) {
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(resource(path), &w, &h)) << path;
        EXPECT_EQ(std::make_pair(w, h), size) << path;
    }
}

// --- the chart -------------------------------------------------------------------------

struct AxisCase {
    const char* name;
    std::vector<const char*> lengths; // rows 0 to 5
    const char* longest;
    int y_maximum;
};

void PrintTo(const AxisCase& c, std::ostream* os) { *os << c.name; }

struct ChartAxis : ScheduleProgram, ::testing::WithParamInterface<AxisCase> {};

TEST_P(ChartAxis, LongestWholeLengthPlus100)
{
    const AxisCase& ac = GetParam();
    for (int r = 0; r < 6; ++r) set(row_box("编辑框1_各类围岩长度", r), ac.lengths[r]);
    compute();
    EXPECT_EQ(text("标签19"), ac.longest);
    EXPECT_EQ(chart().y_maximum, ac.y_maximum);
}

INSTANTIATE_TEST_SUITE_P(
    AdvanceSchedule, ChartAxis,
    ::testing::Values(AxisCase{"defaults", {"358", "234", "", "", "", ""}, "358", 458},
                      AxisCase{"whole metres", {"120", "999.9", "", "", "", ""}, "999", 1099},
                      AxisCase{"longest in the last row", {"1", "2", "3", "4", "5", "6000"}, "6000", 6100},
                      AxisCase{"every length empty", {"", "", "", "", "", ""}, "0", 100},
                      AxisCase{"a negative length", {"-50", "", "", "", "", ""}, "0", 100},
                      // Near the 32-bit limit the top stops there instead of wrapping negative.
                      AxisCase{"beyond the integer range", {"5000000000", "", "", "", "", ""}, "2147483647", 2147483647}),
    [](const ::testing::TestParamInfo<AxisCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST_F(ScheduleProgram, ChartShowsLengthsDaysAndCyclesOfEachGroup)
{
    compute();
    EXPECT_EQ(chart().values, (std::vector<std::vector<double>>{
                                  {358, 234, 0, 0, 0, 0}, {100.56, 37.5, 0, 0, 0, 0}, {179, 73.13, 0, 0, 0, 0}}));

    // "0" names its group; an emptied length keeps the name of the earlier drawing.
    set("编辑框1_各类围岩长度3", "0");
    set("编辑框1_各类围岩长度0", "");
    compute();
    EXPECT_EQ(chart().category_names, (std::vector<std::string>{"第1组", "第2组", "", "第4组", "", ""}));
    EXPECT_EQ(chart().values[0], (std::vector<double>{0, 234, 0, 0, 0, 0}));
    EXPECT_EQ(chart().values[1], (std::vector<double>{0, 37.5, 0, 0, 0, 0}));
    EXPECT_EQ(text("标签19"), "234");
    // A mistyped length is none: no bar beside its "-" (not one of 2 m).
    set("编辑框1_各类围岩长度1", "2..34");
    compute();
    EXPECT_EQ(text("编辑框4_工期天1"), "-");
    EXPECT_EQ(chart().values[0][1], 0);
}

// --- the report -------------------------------------------------------------------------

struct ReportExport : ScheduleProgram {
    fs::path report() { return folder / "导出的方案" / "隧道进尺及工期计算书new.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
    void expect_in(const std::string& doc, const std::vector<std::string>& pieces)
    {
        for (const std::string& s : pieces) EXPECT_NE(doc.find(s), std::string::npos) << s;
    }
};

// The formulas are worked through with the first computed group, with the
// figures its boxes show; the conclusion adds the groups' days up, shows
// where the total is rounded and works the months and years from the sum.
TEST_F(ReportExport, WorkedFormulasAndTheTimeTotalAsCalculated)
{
    compute();
    export_ok();
    std::string doc = report_text(report());
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("(编辑框|组合框)[0-9]_|计算值_"))) << "unreplaced: " << left.str();
    expect_in(doc, {"以第1组（Ⅳ级围岩）为例", "N=La=3582=179次", "nm=24T×30=2413.5×30≈53.33次",
                    "Vd=a×nd=2×1.78=3.56m", "D=LVd=3583.56≈100.56天",
                    "合计\n各类围岩总长度 592m\n", "\n1\nⅣ级围岩\n358\n2\n13.5\n", "\n2\nⅢ级围岩\n234\n3.2\n12.3\n",
                    "\nⅣ级围岩\n358\n179\n53.33\n1.78\nⅢ级围岩\n234\n73.13\n58.54\n1.95\n",
                    "计算工期合计\n\n138天\n\n\n按合计天数折合\n\n\n4.6月\n0.38年\n",
                    "各组工期之和为 100.56 + 37.5 = 138.06 天，按四舍五入取整为 138天；折合 138.06 ÷ 30 ≈ 4.6 月，"
                    "138.06 ÷ 365 ≈ 0.38 年。"});
    EXPECT_EQ(doc.find("252循环"), std::string::npos) << "the total cycles are not reported";

    // The months and years come from the days added up, not from the
    // groups' rounded months and years (whose years would add up to 0.59).
    for (const auto& [box, value] : std::vector<std::pair<const char*, const char*>>{
             {"编辑框1_各类围岩长度2", "120"}, {"编辑框1_每循环进尺2", "1.2"}, {"编辑框1_每循环用时2", "16"},
             {"编辑框1_各类围岩长度3", "50"}, {"编辑框1_每循环进尺3", "2"}, {"编辑框1_每循环用时3", "12"}})
        set(box, value);
    compute();
    fs::remove(report());
    export_ok();
    expect_in(report_text(report()), {"各组工期之和为 100.56 + 37.5 + 66.67 + 12.5 = 217.23 天，按四舍五入取整为 217天；"
                                      "折合 217.23 ÷ 30 ≈ 7.24 月，217.23 ÷ 365 ≈ 0.6 年。",
                                      "\n217天\n\n\n按合计天数折合\n\n\n7.24月\n0.6年\n"});
    for (const char* stem : {"编辑框1_各类围岩长度", "编辑框1_每循环进尺", "编辑框1_每循环用时"})
        for (int row : {2, 3}) set(row_box(stem, row), "");

    // The first group no longer part of the tunnel, the second unnamed: the
    // second is worked through, and the first has no rows.
    for (const char* stem : {"编辑框1_各类围岩长度0", "编辑框1_每循环进尺0", "编辑框1_每循环用时0"}) set(stem, "");
    rt_set_property(U(kForm, "组合框1_围岩等级1"), prop::ComboBox::CurrentIndex, 7); // "-"
    compute();
    fs::remove(report());
    export_ok();
    doc = report_text(report());
    expect_in(doc, {"以第2组为例", "N=La=2343.2≈73.13次", "\n未注明\n234\n73.13\n",
                    "计算工期为 37.5 天，按四舍五入取整为 38天；折合 37.5 ÷ 30 = 1.25 月，37.5 ÷ 365 ≈ 0.1 年。"});
    EXPECT_EQ(doc.find("Ⅳ级围岩"), std::string::npos);
    // Groups that are not part of the tunnel have no rows: table 1 lists
    // group 2 alone, right under its heading.
    expect_in(doc, {"每循环用时（h）\n2\n未注明\n234\n3.2\n12.3\n合计\n"});
    EXPECT_EQ(doc.find("\n-\n"), std::string::npos) << "no cell gives \"-\" for a value";
}

// Only results that belong to the inputs shown are reported: not before a
// calculation, not after an input changed, not after a calculation that
// gave no plan; typed back, the results are current again.
TEST_F(ReportExport, OnlyCurrentResultsAreReported)
{
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));

    compute();
    const struct {
        const char* box;
        const char* text;
    } changes[] = {{"编辑框1_每循环用时1", "10"}, {"编辑框1_各类围岩长度4", "50"}};
    for (const auto& change : changes) {
        SCOPED_TRACE(change.box);
        const std::string before = text(change.box);
        set(change.box, change.text);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        set(change.box, before);
    }
    // A choice of rock class is read by the report: changed, it is stale too.
    rt.user_choose(c("组合框1_围岩等级0"), 4);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    rt.user_choose(c("组合框1_围岩等级0"), 3);

    // A group without its advance: no plan, no report.
    set("编辑框1_各类围岩长度4", "50");
    compute();
    ASSERT_EQ(text("编辑框4_工期天6"), "-");
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));

    set("编辑框1_各类围岩长度4", "");
    compute();
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "参数导出完成！");
    EXPECT_TRUE(fs::exists(report()));
}

TEST_F(ReportExport, StatusLineCountsDownThenShowsCompletionUntilTheMessageCloses)
{
    compute();
    backend.trail.clear();
    export_ok();
    std::vector<std::string> want = {"box 确定开始导出，中途请勿进行其他操作！ over " + std::string(kIdle), "参数导出准备中……"};
    for (int n = 10; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    want.push_back("sleep 500"); // after Word quits
    for (int p = 1; p <= 100; ++p) want.push_back("已导出 " + std::to_string(p) + "%  ");
    want.insert(want.end(), {"sleep 500", "导出完成！", "box 参数导出完成！ over 导出完成！", kIdle, "[10]"});
    EXPECT_EQ(backend.trail, want);
    EXPECT_EQ(backend.owners, (std::vector<std::string>{"main", "main"}));
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());

    EXPECT_FALSE(rt.get(c("图形按钮_导出"), prop::Disabled).truth());
    EXPECT_FALSE(rt.get(c("图形按钮_计算"), prop::Disabled).truth());
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(rt.get(c("进度条1"), prop::ProcessBar::Position).integer(), 0);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

TEST_F(ReportExport, CountdownStepsFallBetweenThePlaceholderGroups)
{
    // countdown step, the placeholder it comes before, how many follow it
    const struct {
        int n;
        const char* first;
        int count;
    } groups[] = {
        {10, "组合框1_围岩等级0", 6}, {9, "编辑框1_各类围岩长度0", 6}, {8, "编辑框1_每循环进尺0", 7},
        {7, "编辑框1_每循环用时1", 5}, {6, "编辑框2_循环次数0", 6},     {5, "编辑框2_月循环数0", 7},
        {4, "编辑框2_天循环数1", 9},   {3, "编辑框3_每天进尺4", 11},    {2, "编辑框4_工期天3", 10},
        {1, "编辑框4_工期月6", 9},
    };
    const report::ExportRequest r = advance_schedule::export_request();
    // The signs of the worked example's eight results, 76 placeholders of
    // the boxes, then the worked example and the time total, which the
    // calculation gives.
    ASSERT_EQ(r.bindings.size(), 8u + 76u + 13u);
    size_t at = 8; // after the signs
    for (const auto& g : groups) {
        const std::string first = std::string(g.first).rfind("组合框1_围岩等级", 0) == 0
                                      ? "计算值_围岩等级" + std::string(g.first).substr(std::string("组合框1_围岩等级").size())
                                      : g.first;
        ASSERT_LT(at, r.bindings.size());
        EXPECT_EQ(r.bindings[at].placeholder, first);
        ASSERT_TRUE(r.bindings[at].mark_before.has_value()) << g.first;
        EXPECT_EQ(r.bindings[at].mark_before->n, g.n) << g.first;
        for (int k = 1; k < g.count; ++k) EXPECT_FALSE(r.bindings[at + k].mark_before.has_value()) << r.bindings[at + k].placeholder;
        at += g.count;
    }
    EXPECT_EQ(at, 8u + 76u);
    EXPECT_EQ(r.bindings[8 + 75].placeholder, "编辑框1_汇总长度");
    for (size_t k = 8; k < r.bindings.size(); ++k) {
        const auto& b = r.bindings[k];
        EXPECT_EQ(b.repeat, 10) << b.placeholder;
        // The rock classes (the first six) and all after the boxes are the calculation's.
        const bool computed = k < 8 + 6 || k >= 8 + 76;
        EXPECT_EQ(b.source.kind == report::ValueSource::Computed, computed) << b.placeholder;
        if (!computed) {
            EXPECT_EQ(b.source.control, b.placeholder);
        }
        EXPECT_NE(b.placeholder, "编辑框2_总循环次数");
    }
}

TEST_F(ReportExport, CancelLeavesEverythingAsItWas)
{
    compute();
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(text("标签1_提示窗口"), kIdle);
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_FALSE(rt.get(c("图形按钮_计算"), prop::Disabled).truth());
    EXPECT_EQ(text("编辑框2_循环次数0"), "179");
}

} // namespace

// The smooth-blasting form on its own: the stemming warnings of the two-
// and three-bench and the circular calculations (which rows, in which
// order, with which text, and that every result is written before the
// first one opens), the automatic detonator layout of each, what a result
// that could not be worked out does to the steps built on it, that each
// bench's rows add up to its subtotal, and the circular panel's derived
// diameter and circumference.
#include "app/program.h"
#include "tests/support/smooth_blasting_form.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace ui;

namespace {

const char* const kForm = "SmoothBlasting";
const std::string kAdvice = "炮孔装药长度加堵塞长度超过炮眼深度，请增大岩石夹制力系数或缩小你的炮眼间距！";
// Several rows too long: listed under one heading, a line per bench, the
// remedy once.
const std::string kSeveral = "下列炮眼的炮孔装药长度加堵塞长度超过炮眼深度：\r\n";
const std::string kRemedy = "\r\n请增大岩石夹制力系数或缩小你的炮眼间距！";

// Lets a test look at the form at the moment a message box opens.
struct WatchingBackend : HeadlessBackend {
    std::function<void()> on_message;
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        if (on_message) on_message();
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
};

// The result cells of the three blocks and the bench totals.
std::vector<std::string> result_cells()
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> blocks = {
        {"标签1_", {"掏槽眼", "辅助眼", "周边眼", "底板眼"}}, {"标签2_", {"辅助眼", "周边眼", "底板眼"}},
        {"标签3_", {"辅助眼", "底板眼"}}};
    std::vector<std::string> cells;
    for (const auto& [prefix, rows] : blocks)
        for (const std::string& row : rows)
            for (const char* column : {"炮眼深度", "炮眼数目", "每孔药卷数", "单孔装药量", "小计药量"})
                cells.push_back(prefix + row + column);
    for (const char* total : {"标签1_炮眼数量合计1", "标签2_炮眼数量合计", "标签3_炮眼数量合计", "标签1_炸药数量合计1",
                              "标签2_炸药数量合计", "标签3_炸药数量合计"})
        cells.push_back(total);
    return cells;
}

struct BenchesTest : testsupport::SmoothBlastingForm<WatchingBackend> {
    // The worked examples' inputs: two benches with the inverted arch are
    // its defaults; three benches take the same upper and middle inputs and
    // a 2.4 m lower advance; the circular panel starts with its own.
    void two_benches()
    {
        choose("组合框_开挖方法", "台阶法");
        choose("组合框_方法2", "上下2台阶");
        rt.user_click(c("单选框_有仰拱"));
    }
    void three_benches()
    {
        choose("组合框_开挖方法", "台阶法");
        choose("组合框_方法2", "上中下3台阶");
        for (const auto& [box, value] : std::vector<std::pair<const char*, const char*>>{
                 {"编辑框1_上台阶面积", "63.1"}, {"编辑框1_开挖循环进尺", "3.0"}, {"编辑框1_周边眼外弧长", "19.92"},
                 {"编辑框1_坑道开挖宽度", "12.14"}, {"编辑框2_断面面积", "30.84"}, {"编辑框2_开挖面外弧长", "1.8"},
                 {"编辑框2_底板长", "12.14"}, {"编辑框3_开挖循环进尺", "2.4"}})
            write(box, value);
    }
    void circular()
    {
        choose("组合框_开挖方法", "全断面法");
        choose("组合框_方法2", "圆形隧道立（竖）井");
    }
    // Three benches chosen after the circular section: the split list is
    // refilled without a new layout, so the middle and lower tables stay
    // hidden as the circular section left them.
    void three_benches_with_tables_hidden()
    {
        circular();
        choose("组合框_开挖方法", "台阶法");
        ASSERT_EQ(current_item_text(U(kForm, "组合框_方法2")), "上中下3台阶");
        ASSERT_FALSE(c("外形框_中台阶结果表").visible);
    }
};

// ---- stemming warnings -----------------------------------------------------------------

struct StemmingCase {
    const char* name;
    std::function<void(BenchesTest&)> arrange;
    std::vector<std::string> boxes; // box, text, box, text ... written before the run
    std::string message;            // the one message of the run; empty: none
};

const std::string kUpperRows = "上台阶：掏槽眼、辅助眼、周边眼、底板眼";

class StemmingWarnings : public BenchesTest, public ::testing::WithParamInterface<StemmingCase> {};

const auto kTwo = [](BenchesTest& t) { t.two_benches(); };
const auto kThree = [](BenchesTest& t) { t.three_benches(); };
const auto kCircular = [](BenchesTest& t) { t.circular(); };

INSTANTIATE_TEST_SUITE_P(
    Sections, StemmingWarnings,
    ::testing::Values(
        StemmingCase{"TwoBenchExampleFits", kTwo, {}, ""},
        // One cartridge and 0.8 m of stemming in the 1 m auxiliary holes; one
        // blank after the row name in this method.
        StemmingCase{"TwoBenchShortAdvance", kTwo, {"编辑框1_开挖循环进尺", "1.0"}, "上台阶辅助眼 " + kAdvice},
        // 1 x c + 0.8 - 1: exactly 0 and 5e-8 are within the tolerance, 2e-7 is not.
        StemmingCase{"TwoBenchExactFit", kTwo, {"编辑框1_开挖循环进尺", "1.0", "编辑框1_单个药卷长度", "0.2"}, ""},
        StemmingCase{"TwoBenchWithinTolerance", kTwo,
                     {"编辑框1_开挖循环进尺", "1.0", "编辑框1_单个药卷长度", "0.20000005"}, ""},
        StemmingCase{"TwoBenchBeyondTolerance", kTwo,
                     {"编辑框1_开挖循环进尺", "1.0", "编辑框1_单个药卷长度", "0.2000002"}, "上台阶辅助眼 " + kAdvice},
        // The second of two benches is the lower one, as the report calls it.
        StemmingCase{"TwoBenchShortLowerAdvance", kTwo, {"编辑框2_开挖循环进尺", "1.0"}, "下台阶辅助眼 " + kAdvice},
        // The 1 m perimeter holes take 0.13 kg, 0.4 of a 0.3 kg cartridge: the
        // check counts 0.4 cartridges of 1 m, which with 0.625 m of stemming
        // overrun the hole (as 0 cartridges they would not).
        StemmingCase{"TwoBenchPartCartridge", kTwo,
                     {"编辑框1_开挖循环进尺", "1.0", "编辑框1_单个药卷长度", "1", "编辑框2_开挖循环进尺", "1.0"},
                     kSeveral + "上台阶：掏槽眼、辅助眼、周边眼、底板眼\r\n下台阶：辅助眼、周边眼、底板眼" + kRemedy},
        // 3 m cartridges overrun every row of 3 m holes: one message lists
        // them all.
        StemmingCase{"TwoBenchEveryRow", kTwo, {"编辑框1_单个药卷长度", "3"},
                     kSeveral + kUpperRows + "\r\n下台阶：辅助眼、周边眼、底板眼" + kRemedy},
        StemmingCase{"ThreeBenchExampleFits", kThree, {}, ""},
        StemmingCase{"ThreeBenchShortLowerAdvance", kThree, {"编辑框3_开挖循环进尺", "1.0"}, "下台阶辅助眼  " + kAdvice},
        StemmingCase{"ThreeBenchEveryRow", kThree, {"编辑框1_单个药卷长度", "3"},
                     kSeveral + kUpperRows + "\r\n中台阶：辅助眼、周边眼、底板眼\r\n下台阶：辅助眼、底板眼" + kRemedy},
        // With the middle and lower tables hidden only the upper rows warn.
        StemmingCase{"ThreeBenchTablesHidden",
                     [](BenchesTest& t) { t.three_benches_with_tables_hidden(); },
                     {"编辑框1_单个药卷长度", "3"},
                     kSeveral + kUpperRows + kRemedy},
        // 3.7 x 0.3 + 0.75 = 1.86 m in a 1.8 m hole.
        StemmingCase{"CircularExample", kCircular, {}, "辅助眼  " + kAdvice},
        // No bottom row to check in a circular section, and no bench to name.
        StemmingCase{"CircularEveryRow", kCircular, {"编辑框1_单个药卷长度", "2"}, kSeveral + "掏槽眼、辅助眼、周边眼" + kRemedy},
        // An input outside its domain refuses the calculation: it judges
        // nothing, though the circular example's auxiliary holes are too long.
        StemmingCase{"CircularPrintedBoxOutsideItsDomain", kCircular, {"编辑框1_炮眼钻孔直径", "-5"}, ""}),
    [](const ::testing::TestParamInfo<StemmingCase>& i) { return std::string(i.param.name); });

TEST_P(StemmingWarnings, OneMessageForTheWholeRunListingTheLongRowsByBenchAfterEveryResultIsWritten)
{
    GetParam().arrange(*this);
    for (size_t i = 0; i + 1 < GetParam().boxes.size(); i += 2) write(GetParam().boxes[i], GetParam().boxes[i + 1]);
    // The cells as they stand when each message opens.
    std::vector<std::map<std::string, std::string>> seen;
    backend.on_message = [&] {
        std::map<std::string, std::string> cells;
        for (const std::string& cell : result_cells()) cells[cell] = text(cell);
        seen.push_back(cells);
    };
    compute();

    std::vector<std::string> expected;
    if (!GetParam().message.empty()) expected.push_back(GetParam().message);
    EXPECT_EQ(message_texts(), expected);
    for (const auto& m : backend.messages) {
        EXPECT_EQ(m.caption, "信息：");
        EXPECT_EQ(m.style, 0);
    }
    // Every result was already written when the first box opened, and
    // neither the warnings nor anything after them changed one.
    for (const auto& cells : seen)
        for (const auto& [cell, shown] : cells) EXPECT_EQ(shown, text(cell)) << cell;
    // The run went on to the layout and the log's last line.
    EXPECT_EQ(text("标签1_掏槽眼起爆顺序1"), "01");
    EXPECT_EQ(text("编辑框_提示").substr(text("编辑框_提示").size() - std::string("计算完成！").size()), "计算完成！");
}

// ---- cartridges per hole -------------------------------------------------------------------

// A hole with a charge never shows 0 cartridges: below one cartridge the
// figure keeps one decimal, whatever decimals the section gives the row,
// and is at least 0.1; from one cartridge up the section's rounding stands.
TEST_F(BenchesTest, AChargedHoleShowsPartOfACartridgeNeverNone)
{
    const auto straight_wall = [](BenchesTest& t) {
        t.choose("组合框_开挖方法", "全断面法");
        t.choose("组合框_方法2", "直墙拱形隧道");
    };
    const struct {
        const char* name;
        std::function<void(BenchesTest&)> arrange;
        std::vector<std::string> boxes; // box, text ...
        const char* row;                // label prefix of the row
        const char* per_hole;           // kg
        const char* cartridges;
    } cases[] = {
        // 0.13 kg of a 0.3 kg cartridge: 0.43.
        {"two benches, 1 m upper advance", kTwo, {"编辑框1_开挖循环进尺", "1.0"}, "标签1_周边眼", "0.13", "0.4"},
        {"two benches, 1 m lower advance", kTwo, {"编辑框2_开挖循环进尺", "1.0"}, "标签2_周边眼", "0.13", "0.4"},
        // 0.7 of a cartridge is not taken for a whole one.
        {"three benches, light perimeter charge", kThree, {"编辑框1_周边眼装药集中度", "0.07"}, "标签1_周边眼", "0.21", "0.7"},
        {"three benches, light lower bench", kThree, {"编辑框3_炸药工作面系数", "0.2"}, "标签3_辅助眼", "0.2", "0.7"},
        // 0.125 kg/m over 1 m, taken to 0.1 kg: a third of a cartridge.
        {"circular, 1 m advance", kCircular, {"编辑框4_开挖循环进尺", "1.0"}, "标签1_周边眼", "0.1", "0.3"},
        // 0.026 and 0.03 of a cartridge: the least part shown.
        {"two benches, 5 kg cartridges", kTwo, {"编辑框1_开挖循环进尺", "1.0", "编辑框1_单个药卷重量", "5000"}, "标签1_周边眼",
         "0.13", "0.1"},
        {"full face, 10 kg cartridges", straight_wall, {"编辑框1_单个药卷重量", "10000"}, "标签1_周边眼", "0.3", "0.1"},
        // From one cartridge up: whole cartridges on the benches.
        {"two benches, example", kTwo, {}, "标签1_周边眼", "0.38", "1"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        rt.user_page(c("选择夹1"), 0);
        k.arrange(*this);
        write("编辑框1_单个药卷重量", "300"); // (no section's defaults write it)
        for (size_t i = 0; i + 1 < k.boxes.size(); i += 2) write(k.boxes[i], k.boxes[i + 1]);
        compute();
        EXPECT_EQ(text(std::string(k.row) + "单孔装药量"), k.per_hole);
        EXPECT_EQ(text(std::string(k.row) + "每孔药卷数"), k.cartridges);
        EXPECT_EQ(results_state(kForm), Runtime::Results::Current);
    }
}

// ---- the detonator layout -----------------------------------------------------------------

struct LayoutCase {
    const char* name;
    std::function<void(BenchesTest&)> arrange;
    std::vector<std::vector<std::string>> rows; // label prefix, firing order, segments
};

class DetonatorLayout : public BenchesTest, public ::testing::WithParamInterface<LayoutCase> {};

INSTANTIATE_TEST_SUITE_P(
    Sections, DetonatorLayout,
    ::testing::Values(
        LayoutCase{"TwoBenches",
                   kTwo,
                   {{"标签1_掏槽眼", "01", "1;3"},
                    {"标签1_辅助眼", "02", "5;7;9"},
                    {"标签1_周边眼", "03", "9;11"},
                    {"标签1_底板眼", "04", "11;13"},
                    {"标签2_辅助眼", "05", "1;3"},
                    {"标签2_周边眼", "06", "7;7"},
                    {"标签2_底板眼", "07", "9"}}},
        LayoutCase{"ThreeBenches",
                   kThree,
                   {{"标签1_掏槽眼", "01", "1;3"},
                    {"标签1_辅助眼", "02", "5;7;9"},
                    {"标签1_周边眼", "03", "9;11"},
                    {"标签1_底板眼", "04", "11;13"},
                    {"标签2_辅助眼", "05", "1;3"},
                    {"标签2_周边眼", "06", "7;9"},
                    {"标签2_底板眼", "07", "11"},
                    {"标签3_辅助眼", "08", "1;3;5"},
                    {"标签3_底板眼", "09", "7;9"}}},
        // No bottom holes, nothing to fire there.
        LayoutCase{"Circular",
                   kCircular,
                   {{"标签1_掏槽眼", "01", "1;3"},
                    {"标签1_辅助眼", "02", "5;7"},
                    {"标签1_周边眼", "03", "9;11"},
                    {"标签1_底板眼", "-", "-"}}}),
    [](const ::testing::TestParamInfo<LayoutCase>& i) { return std::string(i.param.name); });

TEST_P(DetonatorLayout, AutomaticWritesTheSectionsRowsManualWithoutARowDashesWithARowKeeps)
{
    GetParam().arrange(*this);
    const auto mark_all = [&](const std::string& mark) {
        for (int block = 1; block <= 3; ++block)
            for (const char* row : {"掏槽眼", "辅助眼", "周边眼", "底板眼"})
                for (const char* column : {"起爆顺序1", "雷管段位"}) {
                    const std::string name = "标签" + std::to_string(block) + "_" + row + column;
                    if (rt.form(kForm)->find(name)) write(name, mark);
                }
    };
    const auto expect_rows = [&](const std::function<std::string(const std::vector<std::string>&, int)>& want) {
        for (const auto& row : GetParam().rows) {
            EXPECT_EQ(text(row[0] + "起爆顺序1"), want(row, 1)) << row[0];
            EXPECT_EQ(text(row[0] + "雷管段位"), want(row, 2)) << row[0];
        }
    };

    mark_all("x");
    compute();
    expect_rows([](const std::vector<std::string>& row, int i) { return row[i]; });

    rt.set(c("选择框1"), prop::CheckBox::Checked, false);
    mark_all("x");
    compute();
    expect_rows([](const std::vector<std::string>&, int) { return "-"; });

    // A row chosen in the layout editor: the editor's texts stay.
    rt.set(c("列表框3"), prop::ListBox::CurrentIndex, 1);
    mark_all("x");
    compute();
    expect_rows([](const std::vector<std::string>&, int) { return "x"; });

    // Labels of rows the section does not have are never written.
    rt.set(c("选择框1"), prop::CheckBox::Checked, true);
    mark_all("x");
    compute();
    for (const char* prefix : {"标签2_辅助眼", "标签2_周边眼", "标签2_底板眼", "标签3_辅助眼", "标签3_底板眼"}) {
        bool listed = false;
        for (const auto& row : GetParam().rows) listed = listed || row[0] == prefix;
        if (!listed) {
            EXPECT_EQ(text(std::string(prefix) + "雷管段位"), "x") << prefix;
        }
    }
}

// ---- results that cannot be worked out -------------------------------------------------------------

// A step whose value is not finite shows "-"; the steps built on it show
// "-" too, never a figure made by reading "-" as 0. A row whose length is
// unknown is neither passed nor failed by the stemming check, and the
// calculation gives no report.
struct NotFiniteCase {
    const char* name;
    std::function<void(BenchesTest&)> arrange;
    std::vector<std::string> boxes;                               // box, text ...
    std::vector<std::pair<std::string, std::string>> cells;       // label, shown
};

class NotFiniteResults : public BenchesTest, public ::testing::WithParamInterface<NotFiniteCase> {};

INSTANTIATE_TEST_SUITE_P(
    Sections, NotFiniteResults,
    ::testing::Values(
        // A perimeter spacing of 0: the upper perimeter count and all that
        // depends on it; the second bench is untouched.
        NotFiniteCase{"UpperPerimeterSpacingZero",
                      kTwo,
                      {"编辑框1_周边眼间距E", "0"},
                      {{"标签1_周边眼炮眼数目", "-"},
                       {"标签1_炮眼数量合计1", "-"},
                       {"标签1_炸药数量合计1", "-"},
                       {"标签1_周边眼小计药量", "-"},
                       {"标签1_掏槽眼小计药量", "-"},
                       {"标签1_底板眼小计药量", "-"},
                       {"标签1_周边眼单孔装药量", "0.38"},
                       {"标签1_掏槽眼炮眼数目", "12"},
                       {"标签1_雷管数3", "-"},
                       {"标签2_炮眼数量合计", "55"},
                       {"标签2_底板眼小计药量", "20.81"}}},
        // No cartridge weight: no row's cartridges are known.
        NotFiniteCase{"NoCartridgeWeight",
                      kThree,
                      {"编辑框1_单个药卷重量", ""},
                      {{"标签1_周边眼每孔药卷数", "-"}, {"标签3_底板眼每孔药卷数", "-"}, {"标签3_底板眼小计药量", "24.68"}}},
        // A lower bottom spacing of 0: its count, the bench totals and the
        // charges shared by count (the charge total stands over rows that
        // show "-": it shows "-" too).
        NotFiniteCase{"LowerBottomSpacingZero",
                      kThree,
                      {"编辑框3_底板眼间距E", "0"},
                      {{"标签3_底板眼炮眼数目", "-"},
                       {"标签3_炮眼数量合计", "-"},
                       {"标签3_辅助眼小计药量", "-"},
                       {"标签3_底板眼每孔药卷数", "-"},
                       {"标签3_辅助眼炮眼数目", "33"},
                       {"标签3_炸药数量合计", "-"},
                       {"标签1_雷管数9", "-"}}},
        // The full face runs the upper bench's steps: a bottom spacing of 0.
        NotFiniteCase{"FullFaceBottomSpacingZero",
                      [](BenchesTest& t) {
                          t.choose("组合框_开挖方法", "全断面法");
                          t.choose("组合框_方法2", "直墙拱形隧道");
                      },
                      {"编辑框1_底板眼间距", "0"},
                      {{"标签1_底板眼炮眼数目", "-"},
                       {"标签1_炮眼数量合计1", "-"},
                       {"标签1_掏槽眼小计药量", "-"},
                       {"标签1_底板眼每孔药卷数", "-"},
                       {"标签1_周边眼小计药量", "4.8"},
                       {"标签1_雷管数4", "-"}}},
        // No auxiliary spacing in the circular panel.
        NotFiniteCase{"CircularAuxiliarySpacingZero",
                      kCircular,
                      {"编辑框4_辅助眼间距", "0"},
                      {{"标签1_辅助眼炮眼数目", "-"},
                       {"标签1_炮眼数量合计1", "-"},
                       {"标签1_掏槽眼小计药量", "-"},
                       {"标签1_辅助眼每孔药卷数", "-"},
                       {"标签1_周边眼小计药量", "7.4"},
                       {"标签1_炸药数量合计1", "-"}}}),
    [](const ::testing::TestParamInfo<NotFiniteCase>& i) { return std::string(i.param.name); });

TEST_P(NotFiniteResults, ShowDashAndPassItOnAndJudgeNothingOnIt)
{
    GetParam().arrange(*this);
    for (size_t i = 0; i + 1 < GetParam().boxes.size(); i += 2) write(GetParam().boxes[i], GetParam().boxes[i + 1]);
    compute();
    for (const auto& [cell, shown] : GetParam().cells) EXPECT_EQ(text(cell), shown) << cell;
    EXPECT_EQ(message_texts(), std::vector<std::string>{});
    EXPECT_EQ(results_state(kForm), Runtime::Results::Refused);
}

// ---- subtotals ------------------------------------------------------------------------------

// Each bench's charge total and the row labels beside it, upper bench first.
const struct BenchBlock {
    const char* total;
    std::vector<std::string> rows;
} kBenchBlocks[] = {
    {"标签1_炸药数量合计1", {"标签1_掏槽眼", "标签1_辅助眼", "标签1_周边眼", "标签1_底板眼"}},
    {"标签2_炸药数量合计", {"标签2_辅助眼", "标签2_周边眼", "标签2_底板眼"}},
    {"标签3_炸药数量合计", {"标签3_辅助眼", "标签3_底板眼"}},
};

// Each bench's charge total is the sum of its row charges as the table shows
// them, whatever the rounding of each row, for every section and a few
// advances and specific charges.
TEST_F(BenchesTest, EachBenchsRowsAsShownAddUpToItsSubtotal)
{
    const struct {
        const char* name;
        std::function<void(BenchesTest&)> arrange;
        const char* panel; // the boxes' prefix of the advance and specific charge
        int benches;
    } sections[] = {
        {"full face", [](BenchesTest& t) { t.choose("组合框_开挖方法", "全断面法"); t.choose("组合框_方法2", "直墙拱形隧道"); },
         "编辑框1_", 1},
        {"circular", [](BenchesTest& t) { t.circular(); }, "编辑框4_", 1},
        {"two benches", [](BenchesTest& t) { t.two_benches(); }, "编辑框1_", 2},
        {"three benches", [](BenchesTest& t) { t.three_benches(); }, "编辑框1_", 3},
    };
    for (const auto& s : sections) {
        rt.user_page(c("选择夹1"), 0);
        s.arrange(*this);
        for (const char* advance : {"3.0", "2.7", "1.9"}) {
            for (const char* q : {"0.7", "0.83"}) {
                SCOPED_TRACE(std::string(s.name) + ", advance " + advance + ", q " + q);
                rt.user_page(c("选择夹1"), 0);
                write(std::string(s.panel) + "开挖循环进尺", advance);
                write(std::string(s.panel) + "单位体积岩体的耗药量", q);
                compute();
                for (int b = 0; b < s.benches; ++b) {
                    double rows = 0;
                    for (const std::string& row : kBenchBlocks[b].rows) // (a circular section has no bottom row: "-")
                        if (text(row + "小计药量") != "-") rows += std::stod(text(row + "小计药量"));
                    ASSERT_NE(text(kBenchBlocks[b].total), "-");
                    EXPECT_NEAR(rows, std::stod(text(kBenchBlocks[b].total)), 1e-9) << kBenchBlocks[b].total;
                }
            }
        }
    }
}

// A bench whose row charges cannot all be shown has no charge total: the
// total beside a "-" row is "-", never a figure its rows do not add up to.
// Very large and very small inputs (rows that go below zero) and a spacing
// of 0, in every section.
TEST_F(BenchesTest, ABenchTotalBesideARowShowingDashIsDash)
{
    const struct {
        const char* name;
        std::function<void(BenchesTest&)> arrange;
        int benches;
        std::vector<std::string> boxes; // box, text ...
    } cases[] = {
        {"full face, small area", [](BenchesTest& t) { t.choose("组合框_开挖方法", "全断面法"); t.choose("组合框_方法2", "直墙拱形隧道"); },
         1, {"编辑框1_上台阶面积", "1"}},
        {"two benches, huge areas", kTwo, 2, {"编辑框1_上台阶面积", "1e17", "编辑框2_断面面积", "1e17"}},
        {"two benches, perimeter charge over the total", kTwo, 2, {"编辑框1_周边眼装药集中度", "1000"}},
        {"three benches, small lower area", kThree, 3, {"编辑框3_断面面积", "1"}},
        {"circular, auxiliary spacing 0", kCircular, 1, {"编辑框4_辅助眼间距", "0"}},
        {"circular, huge area", kCircular, 1, {"编辑框4_隧道开挖面积", "1e17"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        rt.user_page(c("选择夹1"), 0);
        k.arrange(*this);
        for (size_t i = 0; i + 1 < k.boxes.size(); i += 2) write(k.boxes[i], k.boxes[i + 1]);
        compute();
        // (a circular section has no bottom row: "-")
        const bool circular = std::string(k.name).starts_with("circular");
        bool some_dash = false;
        for (int n = 0; n < k.benches; ++n) {
            const auto& b = kBenchBlocks[n];
            bool dash = false;
            for (const std::string& row : b.rows)
                if (!(circular && row == "标签1_底板眼")) dash = dash || text(row + "小计药量") == "-";
            some_dash = some_dash || dash;
            if (dash) EXPECT_EQ(text(b.total), "-") << b.total;
        }
        EXPECT_TRUE(some_dash) << "no row shows \"-\"";
        EXPECT_EQ(results_state(kForm), Runtime::Results::Refused);
    }
}

// ---- the circular panel's derived inputs -------------------------------------------------------

TEST_F(BenchesTest, TheAreaGivesDiameterAndCircumferenceEveryTimeItChanges)
{
    struct Row {
        const char* area;
        const char* diameter;
        const char* circumference;
    };
    // r = (A / 3.14)^0.5, the diameter 2r and the circumference 6.28 r,
    // each to the hundredth; an area that is no area gives neither.
    const Row rows[] = {{"26.4", "5.8", "18.21"}, {"50", "7.98", "25.06"}, {"3.14", "2", "6.28"},
                        {"", "-", "-"},         {"0", "-", "-"},        {"-4", "-", "-"}};
    circular();
    for (const Row& r : rows) {
        write("编辑框4_周边眼外周长", "99");
        write("编辑框4_隧道开挖面积", r.area);
        EXPECT_EQ(text("编辑框4_开挖直径"), r.diameter) << r.area;
        EXPECT_EQ(text("编辑框4_周边眼外周长"), r.circumference) << r.area;
    }
}

} // namespace

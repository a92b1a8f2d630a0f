// The smooth-blasting form on its own (no main window): the stemming
// warnings of the full-face calculation, the compute button's refusals and
// its guard against a second click while it waits, and the clearing of the
// result tables.
#include "app/program.h"
#include "tests/support/smooth_blasting_form.h"
#include "modules/blast_design/smooth_blasting.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace ui;

namespace {

const char* const kForm = "SmoothBlasting";
const std::string kAdvice = "炮孔装药长度加堵塞长度超过炮眼深度，请增大岩石夹制力系数或缩小你的炮眼间距！";
// Several rows too long: listed under one heading, the remedy once.
const std::string kSeveral = "下列炮眼的炮孔装药长度加堵塞长度超过炮眼深度：\r\n";
const std::string kRemedy = "\r\n请增大岩石夹制力系数或缩小你的炮眼间距！";
const std::string kLogDone =
    "\r\n    开始计算模块！\r\n    程序加载完成，进入全断面计算模块\r\n    计算完成！";

struct SmoothBlastingTest : testsupport::SmoothBlastingForm<> {
    void straight_wall()
    {
        choose("组合框_开挖方法", "全断面法");
        choose("组合框_方法2", "直墙拱形隧道");
    }
};

// ---- stemming warnings ---------------------------------------------------------------

struct StemmingCase {
    const char* cartridge_length;
    const char* aux_burden;
    std::string message; // empty: none
};

class StemmingWarnings : public SmoothBlastingTest, public ::testing::WithParamInterface<StemmingCase> {};

// With the straight-wall defaults the rows show 4.7, 3, 1 and 3 cartridges
// per hole in holes of 2.2, 2, 2 and 2 m, stemmed 0.4, Va, 0.625 and 0.6 m.
INSTANTIATE_TEST_SUITE_P(
    FullFace, StemmingWarnings,
    ::testing::Values(
        StemmingCase{"0.3", "0.8", ""},
        StemmingCase{"0.5", "0.8", kSeveral + "掏槽眼、辅助眼、底板眼" + kRemedy},
        StemmingCase{"2", "0.8", kSeveral + "掏槽眼、辅助眼、周边眼、底板眼" + kRemedy},
        // 3 x 0.4 + 0.8 - 2 is zero up to rounding noise: no warning.
        StemmingCase{"0.4", "0.8", "掏槽眼  " + kAdvice},
        // 2e-7 beyond the hole is beyond the tolerance.
        StemmingCase{"0.4", "0.8000002", kSeveral + "掏槽眼、辅助眼" + kRemedy}),
    [](const ::testing::TestParamInfo<StemmingCase>& i) {
        // Readable test names: the index and whether a message shows.
        return "Case" + std::to_string(i.index) + (i.param.message.empty() ? "_Fits" : "_Warns");
    });

TEST_P(StemmingWarnings, OneMessageListsTheLongRowsInRowOrderAndTheRunGoesOn)
{
    straight_wall();
    write("编辑框1_单个药卷长度", GetParam().cartridge_length);
    write("编辑框1_辅助眼最小抵抗线V", GetParam().aux_burden);
    compute();
    std::vector<std::string> expected;
    if (!GetParam().message.empty()) expected.push_back(GetParam().message);
    EXPECT_EQ(message_texts(), expected);
    for (const auto& m : backend.messages) {
        EXPECT_EQ(m.caption, "信息：");
        EXPECT_EQ(m.style, 0);
    }
    // Warnings change no result and stop nothing.
    EXPECT_EQ(text("编辑框_提示"), kLogDone);
    EXPECT_EQ(text("标签1_炸药数量合计1"), "25.1");
    EXPECT_EQ(text("标签1_底板眼每孔药卷数"), "3");
    EXPECT_EQ(text("标签1_底板眼雷管段位"), "11;13");
    EXPECT_EQ(text("标签1_雷管数1"), "12");
}

// ---- the compute button's refusals ---------------------------------------------------

struct RefusalCase {
    const char* name;
    std::function<void(SmoothBlastingTest&)> arrange;
    const char* message; // nullptr: none, the calculation runs
};

class ComputeRefusals : public SmoothBlastingTest, public ::testing::WithParamInterface<RefusalCase> {};

INSTANTIATE_TEST_SUITE_P(
    Dispatch, ComputeRefusals,
    ::testing::Values(
        RefusalCase{"NoSelectionAtAll",
                    [](SmoothBlastingTest& t) {
                        t.rt.set(t.c("组合框_开挖方法"), prop::ComboBox::CurrentIndex, -1);
                        t.rt.set(t.c("组合框_方法2"), prop::ComboBox::CurrentIndex, -1);
                    },
                    "请选择隧道断面形式！"},
        RefusalCase{"MethodWithoutSection",
                    [](SmoothBlastingTest& t) { t.rt.set(t.c("组合框_方法2"), prop::ComboBox::CurrentIndex, -1); },
                    "请选择隧道开挖形式！"},
        RefusalCase{"TwoBenchesWithoutInvertChoice",
                    [](SmoothBlastingTest& t) {
                        t.rt.set(t.c("组合框_方法2"), prop::ComboBox::CurrentIndex, 0); // 上下2台阶
                        t.rt.set(t.c("单选框_有仰拱"), prop::RadioBox::Checked, false);
                        t.rt.set(t.c("单选框_无仰拱"), prop::RadioBox::Checked, false);
                    },
                    "请选择确定隧道断面是否含仰拱！"},
        // A section alone passes both checks.
        RefusalCase{"SectionWithoutMethod",
                    [](SmoothBlastingTest& t) {
                        t.choose("组合框_开挖方法", "全断面法");
                        t.rt.set(t.c("组合框_开挖方法"), prop::ComboBox::CurrentIndex, -1);
                        t.rt.set(t.c("组合框_方法2"), prop::ComboBox::CurrentIndex, 1); // 马蹄形隧道
                    },
                    nullptr}),
    [](const ::testing::TestParamInfo<RefusalCase>& i) { return std::string(i.param.name); });

TEST_P(ComputeRefusals, RefusesWithItsMessageAndStillCountsDetonators)
{
    write("编辑框_提示", "上一次的记录");
    write("标签1_掏槽眼炮眼数目", "-");
    write("标签1_辅助眼炮眼数目", "-");
    GetParam().arrange(*this);
    compute();
    EXPECT_EQ(rt.get(c("选择夹1"), prop::Tab::CurrentPage).integer(), 1);
    if (!GetParam().message) {
        EXPECT_TRUE(backend.messages.empty());
        EXPECT_EQ(text("编辑框_提示"), kLogDone);
        // The form's own inputs: 12 cut holes, two detonators each.
        EXPECT_EQ(text("标签1_雷管数1"), "24");
        return;
    }
    EXPECT_EQ(message_texts(), std::vector<std::string>{GetParam().message});
    // Nothing was calculated: there is no report to write.
    EXPECT_EQ(results_state(kForm), Runtime::Results::Refused);
    EXPECT_EQ(text("编辑框_提示"), "上一次的记录");
    EXPECT_EQ(text("标签1_炸药数量合计1"), "-");
    // The counts are taken from the table as it stands: a count that is not
    // a number of holes gives "-", a blank stays blank.
    EXPECT_EQ(text("标签1_雷管数1"), "-");
    EXPECT_EQ(text("标签1_雷管数2"), "-");
    EXPECT_EQ(text("标签1_雷管数3"), " ");
    // The compute frame is closed either way.
    EXPECT_EQ(c("图形按钮_计算").pictures[0], resource("resources/pictures/common/compute_normal.png"));
    EXPECT_EQ(c("图形按钮_计算").pictures[1], resource("resources/pictures/common/compute_hover.png"));
}

// ---- a second click while the calculation waits ------------------------------------------

TEST_F(SmoothBlastingTest, ClicksWhileTheCalculationWaitsAreIgnored)
{
    straight_wall();
    int seen_computing = 0;
    // Runs inside the calculation's message-pumping wait.
    cmd_post([&] {
        seen_computing += blast_design::computing();
        compute();
    });
    compute();
    EXPECT_EQ(seen_computing, 1);
    EXPECT_FALSE(blast_design::computing());
    EXPECT_EQ(text("编辑框_提示"), kLogDone);
    // The pressed picture was restored once, by the one calculation.
    EXPECT_EQ(c("图形按钮_计算").pictures[0], resource("resources/pictures/common/compute_normal.png"));
    compute();
    EXPECT_EQ(text("编辑框_提示"), kLogDone);
}

// ---- clearing and the layout labels -------------------------------------------------------

TEST_F(SmoothBlastingTest, ASectionChoiceClearsEveryResultCellAndTotalButNotTheLayout)
{
    struct Block {
        std::string prefix;
        std::vector<std::string> rows;
    };
    const std::vector<Block> blocks = {{"标签1_", {"掏槽眼", "辅助眼", "周边眼", "底板眼"}},
                                       {"标签2_", {"辅助眼", "周边眼", "底板眼"}},
                                       {"标签3_", {"辅助眼", "底板眼"}}};
    const std::vector<std::string> cleared = {"炮眼深度", "炮眼数目", "每孔药卷数", "单孔装药量", "小计药量"};
    const std::vector<std::string> kept = {"起爆顺序1", "雷管段位"};
    const std::vector<std::string> totals = {"标签1_炮眼数量合计1", "标签2_炮眼数量合计", "标签3_炮眼数量合计",
                                             "标签1_炸药数量合计1", "标签2_炸药数量合计", "标签3_炸药数量合计"};
    for (const Block& b : blocks)
        for (const std::string& row : b.rows) {
            for (const std::string& col : cleared) write(b.prefix + row + col, "9");
            for (const std::string& col : kept) write(b.prefix + row + col, "9");
        }
    for (const std::string& t : totals) write(t, "9");
    for (int i = 1; i <= 9; ++i) write("标签1_雷管数" + std::to_string(i), "9");

    choose("组合框_方法2", "上中下3台阶");

    int cells = 0;
    for (const Block& b : blocks)
        for (const std::string& row : b.rows) {
            for (const std::string& col : cleared) {
                EXPECT_EQ(text(b.prefix + row + col), "") << b.prefix + row + col;
                ++cells;
            }
            for (const std::string& col : kept) EXPECT_EQ(text(b.prefix + row + col), "9") << b.prefix + row + col;
        }
    EXPECT_EQ(cells, 45);
    for (const std::string& t : totals) EXPECT_EQ(text(t), "-") << t;
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(text("标签1_雷管数" + std::to_string(i)), "9");
}

TEST_F(SmoothBlastingTest, ManualLayoutWithoutAChosenRowReadsDashes)
{
    straight_wall();
    rt.set(c("选择框1"), prop::CheckBox::Checked, false);
    compute();
    for (const char* row : {"掏槽眼", "辅助眼", "周边眼", "底板眼"}) {
        EXPECT_EQ(text(std::string("标签1_") + row + "起爆顺序1"), "-");
        EXPECT_EQ(text(std::string("标签1_") + row + "雷管段位"), "-");
    }
    // With a row chosen in the editor the calculation leaves its texts.
    write("标签1_掏槽眼雷管段位", "1;3;5;");
    rt.set(c("列表框3"), prop::ListBox::CurrentIndex, 0);
    compute();
    EXPECT_EQ(text("标签1_掏槽眼雷管段位"), "1;3;5;");
    EXPECT_EQ(text("标签1_辅助眼起爆顺序1"), "-");
}

TEST_F(SmoothBlastingTest, InvertClickWithTheViewerClosedOpensNothing)
{
    choose("组合框_开挖方法", "台阶法");
    choose("组合框_方法2", "上下2台阶");
    rt.user_click(c("单选框_有仰拱"));
    EXPECT_EQ(rt.form("viewer"), nullptr);
    EXPECT_EQ(c("图片框_布眼图").pictures[0],
              resource("resources/pictures/blast_design/layout_two_benches_invert_small.png"));
}

} // namespace

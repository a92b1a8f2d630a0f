// The smooth-blasting form on its own: every number a calculation reads
// against the edges of its domain (empty, "-", "-0", zero, below zero, no
// number, not finite), and figures that come out below zero or not whole.
// Such a calculation shows "-" in what is built on the input, judges no
// stemming on it, and leaves nothing to report.
#include "app/program.h"
#include "tests/support/smooth_blasting_form.h"
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

struct DomainsTest : testsupport::SmoothBlastingForm<> {
    void compute()
    {
        rt.set(c("选择夹1"), prop::Tab::CurrentPage, 0);
        rt.user_click(c("图形按钮_计算"));
    }
    void section(const std::string& method, const std::string& split)
    {
        choose("组合框_开挖方法", method);
        choose("组合框_方法2", split);
        if (split == "上下2台阶") rt.user_click(c("单选框_有仰拱"));
    }
};

// ---- inputs against their domains ------------------------------------------------------------

struct Input {
    const char* box;
    bool zero_allowed;                // ">=0" rather than ">0"
    std::vector<const char*> built_on; // result cells worked out from it
};

struct SectionInputs {
    const char* name;
    const char* method;
    const char* split;
    std::vector<Input> inputs;
};

void PrintTo(const SectionInputs& s, std::ostream* os) { *os << s.split; }

const std::vector<Input> kUpperBench = {
    {"编辑框1_上台阶面积", false, {"标签1_辅助眼炮眼数目", "标签1_炸药数量合计1"}},
    {"编辑框1_开挖循环进尺", false, {"标签1_掏槽眼炮眼深度", "标签1_炸药数量合计1"}},
    {"编辑框1_周边眼外弧长", false, {"标签1_周边眼炮眼数目", "标签1_辅助眼炮眼数目"}},
    {"编辑框1_坑道开挖宽度", false, {"标签1_底板眼炮眼数目", "标签1_辅助眼炮眼数目"}},
    {"编辑框1_掏槽眼数量", false, {"标签1_掏槽眼炮眼数目", "标签1_雷管数1"}},
    {"编辑框1_岩石夹制力系数", false, {"标签1_辅助眼炮眼数目"}},
    // The published fault: 0 gave "每孔药卷数 -1" and "小计 -1.88 kg".
    {"编辑框1_单位体积岩体的耗药量", false, {"标签1_炸药数量合计1", "标签1_底板眼每孔药卷数", "标签1_底板眼小计药量"}},
    {"编辑框1_周边眼间距E", false, {"标签1_周边眼炮眼数目", "标签1_雷管数3"}},
    {"编辑框1_周边眼最小抵抗线V", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_周边眼装药集中度", false, {"标签1_周边眼单孔装药量"}},
    {"编辑框1_辅助眼间距", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_辅助眼最小抵抗线V", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_底板眼间距", false, {"标签1_底板眼炮眼数目"}},
    {"编辑框1_底板眼最小抵抗线", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_掏槽区作用长度", true, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_掏槽区作用高度", true, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_单个药卷重量", false, {"标签1_掏槽眼每孔药卷数", "标签1_周边眼每孔药卷数"}},
    // Read only by the stemming check.
    {"编辑框1_单个药卷长度", false, {}},
    // Worked with by no step, but stated by the report as figures.
    {"编辑框1_炮眼钻孔直径", false, {}},
    {"编辑框1_装药不耦合系数", false, {}},
    {"编辑框1_计算炸药直径", false, {}},
};

std::vector<Input> with(std::vector<Input> a, const std::vector<Input>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Input> kSecondBench = {
    // The published fault: an area of 0 gave "炮孔数目 -19".
    {"编辑框2_断面面积", false, {"标签2_辅助眼炮眼数目", "标签2_炸药数量合计"}},
    {"编辑框2_开挖循环进尺", false, {"标签2_辅助眼炮眼深度", "标签2_炸药数量合计"}},
    {"编辑框2_开挖面外弧长", false, {"标签2_周边眼炮眼数目", "标签2_辅助眼炮眼数目"}},
    {"编辑框2_底板长", false, {"标签2_底板眼炮眼数目"}},
    {"编辑框2_岩石夹制力系数", false, {"标签2_辅助眼炮眼数目"}},
    {"编辑框2_炸药工作面系数", false, {"标签2_炸药数量合计"}},
    {"编辑框2_周边眼间距E", false, {"标签2_周边眼炮眼数目", "标签1_雷管数6"}},
    {"编辑框2_周边眼抵抗线V", false, {"标签2_辅助眼炮眼数目"}},
    {"编辑框2_辅助眼间距E", false, {"标签2_辅助眼炮眼数目"}},
    {"编辑框2_辅助眼抵抗线V2", false, {"标签2_辅助眼炮眼数目"}},
    {"编辑框2_底板眼间距E", false, {"标签2_底板眼炮眼数目"}},
    {"编辑框2_底板眼抵抗线V1", false, {"标签2_辅助眼炮眼数目"}},
};

const std::vector<Input> kLowerBench = {
    {"编辑框3_断面面积", false, {"标签3_辅助眼炮眼数目", "标签3_炸药数量合计"}},
    {"编辑框3_开挖循环进尺", false, {"标签3_辅助眼炮眼深度"}},
    {"编辑框3_底板长", false, {"标签3_底板眼炮眼数目", "标签3_辅助眼炮眼数目"}},
    {"编辑框3_岩石夹制力系数", false, {"标签3_辅助眼炮眼数目"}},
    {"编辑框3_炸药工作面系数", false, {"标签3_炸药数量合计"}},
    {"编辑框3_辅助眼间距E", false, {"标签3_辅助眼炮眼数目"}},
    {"编辑框3_辅助眼抵抗线V", false, {"标签3_辅助眼炮眼数目"}},
    {"编辑框3_底板眼间距E", false, {"标签3_底板眼炮眼数目", "标签1_雷管数9"}},
    {"编辑框3_底板眼抵抗线V", false, {"标签3_辅助眼炮眼数目"}},
};

const std::vector<Input> kCircular = {
    {"编辑框4_隧道开挖面积", false, {"标签1_辅助眼炮眼数目", "标签1_炸药数量合计1"}},
    {"编辑框4_开挖循环进尺", false, {"标签1_掏槽眼炮眼深度", "标签1_周边眼单孔装药量"}},
    {"编辑框4_周边眼外周长", false, {"标签1_周边眼炮眼数目"}},
    {"编辑框4_掏槽眼数量", false, {"标签1_掏槽眼炮眼数目", "标签1_雷管数1"}},
    {"编辑框4_掏槽圈直径", true, {"标签1_辅助眼炮眼数目"}},
    {"编辑框4_岩石夹制力系数", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框4_单位体积岩体的耗药量", false, {"标签1_炸药数量合计1", "标签1_辅助眼小计药量"}},
    {"编辑框4_周边眼间距E", false, {"标签1_周边眼炮眼数目"}},
    {"编辑框4_周边眼最小抵抗线V", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框4_周边眼装药集中度", false, {"标签1_周边眼单孔装药量"}},
    {"编辑框4_辅助眼间距", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框4_辅助眼最小抵抗线V", false, {"标签1_辅助眼炮眼数目"}},
    {"编辑框1_单个药卷重量", false, {"标签1_辅助眼每孔药卷数"}},
    {"编辑框1_单个药卷长度", false, {}},
    // Stated by the report alone.
    {"编辑框1_炮眼钻孔直径", false, {}},
    {"编辑框1_装药不耦合系数", false, {}},
    {"编辑框1_计算炸药直径", false, {}},
    {"编辑框4_开挖直径", false, {}},
};

class DomainEdges : public DomainsTest, public ::testing::WithParamInterface<SectionInputs> {};

TEST_P(DomainEdges, AnInputOutsideItsDomainGivesDashesNoVerdictAndNoReport)
{
    const SectionInputs& s = GetParam();
    section(s.method, s.split);
    struct Edge {
        const char* text;
        bool meaningful_for_zero_allowed;
    };
    const std::vector<Edge> edges = {{"", false},   {"-", false},     {"-0", false},    {"0", true},
                                     {"-1", false}, {"-5", false},    {"abc", false},   {"1e309", false},
                                     {"－2", false}, {"1..25", false}, {"2..5", false},  {"2.8-", false}};
    for (const Input& in : s.inputs) {
        const std::string kept = text(in.box);
        std::vector<Edge> outside = edges;
        if (c(in.box).domain == Domain::PositiveCount) outside.push_back({"2.5", false}); // a count is whole
        for (const Edge& e : outside) {
            SCOPED_TRACE(std::string(in.box) + " = \"" + e.text + "\"");
            write(in.box, e.text);
            backend.messages.clear();
            compute();
            if (in.zero_allowed && e.meaningful_for_zero_allowed) {
                for (const char* cell : in.built_on) EXPECT_NE(text(cell), "-") << cell;
                EXPECT_EQ(results_state(kForm), Runtime::Results::Current);
            } else {
                for (const char* cell : in.built_on) EXPECT_EQ(text(cell), "-") << cell;
                EXPECT_EQ(results_state(kForm), Runtime::Results::Refused);
                // No stemming verdict from a figure that means nothing.
                EXPECT_TRUE(backend.messages.empty()) << backend.messages.front().text;
            }
        }
        write(in.box, kept);
    }
    // The inputs as they were give a design again.
    backend.messages.clear();
    compute();
    EXPECT_NE(results_state(kForm), Runtime::Results::NotCalculated);
    for (const Input& in : s.inputs)
        for (const char* cell : in.built_on) EXPECT_NE(text(cell), "-") << cell;
}

INSTANTIATE_TEST_SUITE_P(
    Sections, DomainEdges,
    ::testing::Values(SectionInputs{"StraightWall", "全断面法", "直墙拱形隧道", kUpperBench},
                      SectionInputs{"Circular", "全断面法", "圆形隧道立（竖）井", kCircular},
                      SectionInputs{"TwoBenches", "台阶法", "上下2台阶", with(kUpperBench, kSecondBench)},
                      SectionInputs{"ThreeBenches", "台阶法", "上中下3台阶", with(with(kUpperBench, kSecondBench), kLowerBench)}),
    [](const ::testing::TestParamInfo<SectionInputs>& i) { return std::string(i.param.name); });

// A box the chosen section does not read may hold anything.
TEST_F(DomainsTest, BoxesOfOtherPanelsMayBeEmpty)
{
    for (const auto& c : rt.form(kForm)->controls)
        if (c->kind == Kind::EditBox && (c->name.rfind("编辑框4_", 0) == 0 || c->name.rfind("编辑框3_", 0) == 0))
            write(c->name, "");
    section("台阶法", "上下2台阶");
    compute();
    EXPECT_EQ(results_state(kForm), Runtime::Results::Current);
    EXPECT_EQ(text("标签2_炸药数量合计"), "51.81");
}

// ---- figures that come out below zero or not whole -----------------------------------------

struct OutOfRange {
    const char* name;
    const char* method;
    const char* split;
    std::vector<const char*> boxes; // box, text ...
    std::vector<std::pair<const char*, const char*>> cells; // label, shown
};

class FiguresOutOfRange : public DomainsTest, public ::testing::WithParamInterface<OutOfRange> {};

TEST_P(FiguresOutOfRange, ShowDashAndLeaveNothingToReport)
{
    const OutOfRange& o = GetParam();
    section(o.method, o.split);
    for (size_t i = 0; i + 1 < o.boxes.size(); i += 2) write(o.boxes[i], o.boxes[i + 1]);
    compute();
    for (const auto& [cell, shown] : o.cells) EXPECT_EQ(text(cell), shown) << cell;
    EXPECT_EQ(results_state(kForm), Runtime::Results::Refused);
    // No cell shows a negative figure, and every count is whole.
    for (const auto& c : rt.form(kForm)->controls) {
        if (c->kind != Kind::Label || c->name.rfind("标签", 0) != 0 || c->text.empty() || c->text == "-") continue;
        if (c->name.find("炮眼数目") == std::string::npos && c->name.find("雷管数") == std::string::npos &&
            c->name.find("合计") == std::string::npos)
            continue;
        const double x = text_to_number(c->text);
        EXPECT_GE(x, 0) << c->name << " = " << c->text;
        if (c->name.find("炸药") == std::string::npos) {
            EXPECT_EQ(x, double(int64_t(x))) << c->name << " = " << c->text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sections, FiguresOutOfRange,
    ::testing::Values(
        // The perimeter band and the floor band take more than the face:
        // fewer than no auxiliary holes.
        OutOfRange{"FullFaceAreaTooSmall",
                   "全断面法",
                   "直墙拱形隧道",
                   {"编辑框1_上台阶面积", "5"},
                   {{"标签1_辅助眼炮眼数目", "-"}, {"标签1_雷管数2", "-"}, {"标签1_炮眼数量合计1", "-"},
                    {"标签1_掏槽眼小计药量", "-"}, {"标签1_周边眼炮眼数目", "16"}}},
        OutOfRange{"SecondBenchAreaTooSmall",
                   "台阶法",
                   "上下2台阶",
                   {"编辑框2_断面面积", "3"},
                   {{"标签2_辅助眼炮眼数目", "-"}, {"标签1_雷管数5", "-"}, {"标签2_辅助眼小计药量", "-"}}},
        // A cut of twelve and a half holes: no count, no detonators.
        OutOfRange{"FractionalCutCount",
                   "台阶法",
                   "上中下3台阶",
                   {"编辑框1_掏槽眼数量", "12.5"},
                   {{"标签1_掏槽眼炮眼数目", "-"}, {"标签1_雷管数1", "-"}, {"标签1_炮眼数量合计1", "-"},
                    {"标签1_辅助眼炮眼数目", "81"}}},
        // The perimeter holes alone take more than the total charge.
        OutOfRange{"PerimeterChargeBeyondTheTotal",
                   "全断面法",
                   "马蹄形隧道",
                   {"编辑框1_单位体积岩体的耗药量", "0.01"},
                   {{"标签1_掏槽眼小计药量", "-"}, {"标签1_底板眼小计药量", "-"}, {"标签1_周边眼小计药量", "12.9"}}},
        OutOfRange{"CircularCutCircleBeyondTheFace",
                   "全断面法",
                   "圆形隧道立（竖）井",
                   {"编辑框4_掏槽圈直径", "8"},
                   {{"标签1_辅助眼炮眼数目", "-"}, {"标签1_雷管数2", "-"}, {"标签1_辅助眼小计药量", "-"}}}),
    [](const ::testing::TestParamInfo<OutOfRange>& i) { return std::string(i.param.name); });

} // namespace

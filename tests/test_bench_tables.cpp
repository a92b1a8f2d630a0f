// The rock-class and explosive rows both bench-blasting forms fill their
// boxes from, row by row on each form: the shallow-hole form writes its
// depth factor too and moves the cursor into the box it filled; the
// deep-hole form writes only q or e and leaves the cursor alone.
#include "app/program.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

struct BenchForms : ::testing::Test {
    HeadlessBackend backend;
    Runtime rt{backend};

    void SetUp() override
    {
        backend.attach(rt);
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form("ShallowHole"), nullptr);
        ASSERT_NE(rt.form("DeepHole"), nullptr);
    }

    std::string text(const char* form, const char* name) { return control_text(U(form, name)); }
    void type(const char* form, const char* name, const std::string& value)
    {
        rt.user_type(rt.unit(form, name), value);
        rt.set_focus(nullptr);
    }
    // Picks the row by index, from another row, as a user would.
    void pick(const char* form, const char* combo, int index)
    {
        Control& list = rt.unit(form, combo);
        rt.user_choose(list, (index + 1) % int(list.items.size()));
        rt.user_choose(list, index);
    }
    std::string focus() { return rt.focus() ? rt.focus()->form->name + "." + rt.focus()->name : "<none>"; }
};

const std::vector<std::string> kRockItems = {"松软石(五类土)", "次坚石(六类土)", "坚  石(七类土)", "特坚石(八类土)"};
const std::vector<std::string> kExplosiveItems = {
    "硝铵炸药2号",        "岩石硝铵1号",        "露天硝铵2号、3号", "胶质炸药62%(普通)", "胶质炸药62%(耐冻)",
    "胶质炸药35%(普通)", "混合胶质炸药(普通)", "梯恩梯(TNT)",      "铵油炸药",          "黑火药"};

TEST_F(BenchForms, BothFormsListTheRowsInTheSameOrder)
{
    for (const char* form : {"ShallowHole", "DeepHole"}) {
        EXPECT_EQ(rt.unit(form, "组合框3").items, kRockItems) << form;
        EXPECT_EQ(rt.unit(form, "组合框7").items, kExplosiveItems) << form;
    }
}

struct RockRow {
    int index;
    const char* depth_caption;
    const char* depth_factor;
    const char* q_caption;
    const char* q;
};

struct RockClasses : BenchForms, ::testing::WithParamInterface<RockRow> {};

TEST_P(RockClasses, ShallowHoleFillsDepthAndQThenFocusesTheDepthFactor)
{
    const RockRow& r = GetParam();
    type("ShallowHole", "编辑框1_钻孔深度系数", "7");
    pick("ShallowHole", "组合框3", r.index);
    EXPECT_EQ(text("ShallowHole", "透明标签9"), r.depth_caption);
    EXPECT_EQ(text("ShallowHole", "编辑框1_钻孔深度系数"), r.depth_factor) << "the typed 7 is overwritten";
    EXPECT_EQ(text("ShallowHole", "透明标签24"), r.q_caption);
    EXPECT_EQ(text("ShallowHole", "编辑框2_炸药单位消耗量"), r.q);
    EXPECT_EQ(focus(), "ShallowHole.编辑框1_钻孔深度系数");
}

TEST_P(RockClasses, DeepHoleFillsOnlyQ)
{
    const RockRow& r = GetParam();
    pick("DeepHole", "组合框3", r.index);
    EXPECT_EQ(text("DeepHole", "透明标签24"), r.q_caption);
    EXPECT_EQ(text("DeepHole", "编辑框2_炸药单位消耗量"), r.q);
    EXPECT_EQ(text("DeepHole", "编辑框1_阶梯高度"), "10");
    EXPECT_EQ(focus(), "DeepHole.组合框3");
}

INSTANTIATE_TEST_SUITE_P(
    Bench, RockClasses,
    ::testing::Values(
        RockRow{0, "钻孔深度系数(0.85-0.95)", "0.9", "炸药单位消耗量q(kg/m3)软岩取1.4-1.65", "1.5"},
        RockRow{1, "钻孔深度系数(1)", "1", "炸药单位消耗量q(kg/m3)次坚石取1.6-1.85", "1.72"},
        RockRow{2, "钻孔深度系数(1.1-1.15)", "1.125", "炸药单位消耗量q(kg/m3)坚石取1.8-2.6", "2.2"},
        RockRow{3, "钻孔深度系数(1.1-1.15)", "1.125", "炸药单位消耗量q(kg/m3)特坚石取2.1-3.25", "2.9"}),
    [](const ::testing::TestParamInfo<RockRow>& i) { return "row" + std::to_string(i.param.index); });

struct ExplosiveRow {
    int index;
    const char* e;
    const char* caption;
};

struct Explosives : BenchForms, ::testing::WithParamInterface<ExplosiveRow> {};

TEST_P(Explosives, BothFormsFillEAndItsCaption)
{
    const ExplosiveRow& r = GetParam();
    for (const char* form : {"ShallowHole", "DeepHole"}) {
        type(form, "编辑框2_换算系数e", "5");
        pick(form, "组合框7", r.index);
        EXPECT_EQ(text(form, "编辑框2_换算系数e"), r.e) << form;
        EXPECT_EQ(text(form, "透明标签20"), r.caption) << form;
        EXPECT_EQ(focus(), std::string(form) == "ShallowHole" ? "ShallowHole.编辑框2_换算系数e" : "DeepHole.组合框7");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bench, Explosives,
    ::testing::Values(ExplosiveRow{0, "1.0", "岩石硝铵2号1.0"}, ExplosiveRow{1, "0.9", "岩石硝铵1号0.9"},
                      ExplosiveRow{2, "1.14", "露天硝铵2号、3 号1.14"}, ExplosiveRow{3, "0.89", "62%胶质炸药普通0.89"},
                      ExplosiveRow{4, "0.89", "62%胶质炸药耐冻0.89"}, ExplosiveRow{5, "1.06", "35%胶质炸药1.06"},
                      ExplosiveRow{6, "1.0", "混合胶质炸药1.0"}, ExplosiveRow{7, "1.09", "梯恩梯(TNT)1.05-1.14"},
                      ExplosiveRow{8, "1.25", "铵油炸药1.14-1.36"}, ExplosiveRow{9, "1.33", "黑火药1.14-1.42"}),
    [](const ::testing::TestParamInfo<ExplosiveRow>& i) { return "row" + std::to_string(i.param.index); });

} // namespace

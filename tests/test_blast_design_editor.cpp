// The smooth-blasting form on its own: the detonator layout editor (which
// labels a row's picks go to, how a segment text is composed, the switch
// between automatic and manual layout and how a calculation treats a
// hand-made layout), the cut choice with its pictures and name, the
// reference lookups, the layout picture in the viewer and under the wheel,
// and the balloon tips of the input boxes.
#include "app/program.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace ui;

namespace {

const char* const kForm = "SmoothBlasting";
const std::string kPictures = "resources/pictures/blast_design/";

struct SmoothBlastingForm : ::testing::Test {
    HeadlessBackend backend;
    Runtime rt{backend};

    void SetUp() override
    {
        backend.attach(rt);
        app::register_handlers(rt);
        ASSERT_NE(rt.load_form(kForm, nullptr, false), nullptr);
    }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return c(name).text; }
    bool disabled(const std::string& name) { return rt.get(c(name), prop::Disabled).truth(); }
    int index(const std::string& name) { return c(name).current_index; }
    void choose(const std::string& list, const std::string& item)
    {
        Control& box = c(list);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == item) return rt.user_choose(box, i);
        FAIL() << "no item \"" << item << "\" in " << list;
    }
    void choose_index(const std::string& list, int i) { rt.user_choose(c(list), i); }
    void tick(const std::string& list, const std::string& item)
    {
        Control& box = c(list);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == item) return rt.user_tick(box, i);
        FAIL() << "no item \"" << item << "\" in " << list;
    }
    void click(const std::string& name) { rt.user_click(c(name)); }
    std::string checks(const std::string& list)
    {
        std::string s;
        Control& box = c(list);
        for (size_t i = 0; i < box.item_checked.size(); ++i)
            if (box.item_checked[i]) s += (s.empty() ? "" : "|") + box.items[i];
        return s;
    }
    // The embedded path of the picture a box shows, or its size.
    std::string picture(const std::string& form, const std::string& control)
    {
        const Bytes& b = rt.unit(form, control).pictures[0];
        if (b.empty()) return "<none>";
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<" + std::to_string(b.size()) + " bytes>";
    }
    std::string picture(const std::string& control) { return picture(kForm, control); }
    void manual_layout()
    {
        rt.user_page(c("选择夹1"), 1);
        click("选择框1");
    }
    void straight_wall()
    {
        choose("组合框_开挖方法", "全断面法");
        choose("组合框_方法2", "直墙拱形隧道");
    }
};

// ---- the layout editor ---------------------------------------------------------------

struct Pick {
    enum Kind { Row, Odd, Even, Order } kind;
    std::string item; // the row index for Row
};

struct EditingCase {
    const char* name;
    std::vector<Pick> picks;
    std::vector<std::pair<std::string, std::string>> labels; // label, caption afterwards
    const char* composed;                                    // 编辑框1 afterwards
};

void PrintTo(const EditingCase& c, std::ostream* os) { *os << c.name; }

struct LayoutEditing : SmoothBlastingForm, ::testing::WithParamInterface<EditingCase> {};

TEST_P(LayoutEditing, EachPickRewritesTheChosenRowsLabelAtOnce)
{
    // The three-bench split lists all nine rows.
    manual_layout();
    for (const Pick& p : GetParam().picks) {
        switch (p.kind) {
        case Pick::Row: choose_index("列表框3", std::stoi(p.item)); break;
        case Pick::Odd: tick("选择列表框1", p.item); break;
        case Pick::Even: tick("选择列表框2", p.item); break;
        case Pick::Order: choose("选择列表框3", p.item); break;
        }
    }
    for (const auto& [label, caption] : GetParam().labels) EXPECT_EQ(text(label), caption) << label;
    EXPECT_EQ(text("编辑框1"), GetParam().composed);
}

Pick row(int i) { return {Pick::Row, std::to_string(i)}; }
Pick odd(const char* s) { return {Pick::Odd, s}; }
Pick even(const char* s) { return {Pick::Even, s}; }
Pick order(const char* s) { return {Pick::Order, s}; }

INSTANTIATE_TEST_SUITE_P(
    Editor, LayoutEditing,
    ::testing::Values(
        EditingCase{"odd segments end with a semicolon",
                    {row(0), odd("1"), odd("3")},
                    {{"标签1_掏槽眼雷管段位", "1;3;"}},
                    "1;3;"},
        EditingCase{"the even list replaces the odd text",
                    {row(0), odd("1"), odd("3"), even("2")},
                    {{"标签1_掏槽眼雷管段位", "2;"}},
                    "2;"},
        EditingCase{"unticking the last mark writes the empty text",
                    {row(0), odd("5"), odd("5")},
                    {{"标签1_掏槽眼雷管段位", ""}},
                    ""},
        EditingCase{"ticks come out in list order",
                    {row(1), odd("29"), odd("1"), odd("15")},
                    {{"标签1_辅助眼雷管段位", "1;15;29;"}},
                    "1;15;29;"},
        EditingCase{"another row starts from no mark and the earlier row keeps its text",
                    {row(0), odd("1"), order("01"), row(2), even("30")},
                    {{"标签1_掏槽眼雷管段位", "1;"}, {"标签1_掏槽眼起爆顺序1", "01"}, {"标签1_周边眼雷管段位", "30;"}},
                    "30;"},
        EditingCase{"a firing order goes to the chosen row only",
                    {row(4), order("07")},
                    {{"标签2_辅助眼起爆顺序1", "07"}, {"标签1_辅助眼起爆顺序1", "-"}},
                    ""},
        EditingCase{"one firing order may go to several rows",
                    {row(7), order("03"), row(8), order("03")},
                    {{"标签3_辅助眼起爆顺序1", "03"}, {"标签3_底板眼起爆顺序1", "03"}},
                    ""},
        EditingCase{"choosing a row alone writes nothing",
                    {row(3)},
                    {{"标签1_底板眼雷管段位", "-"}, {"标签1_底板眼起爆顺序1", "-"}},
                    ""}),
    [](const ::testing::TestParamInfo<EditingCase>& i) { return "Case" + std::to_string(i.index); });

// Row i of the nine-row list and the result line its picks are written to.
struct RowLine {
    int row;
    const char* order_label;
    const char* segment_label;
};

void PrintTo(const RowLine& r, std::ostream* os) { *os << "row " << r.row; }

struct RowMapping : SmoothBlastingForm, ::testing::WithParamInterface<RowLine> {};

TEST_P(RowMapping, ARowsPicksGoToItsResultLineAndNowhereElse)
{
    const RowLine& r = GetParam();
    manual_layout();
    choose_index("列表框3", r.row);
    tick("选择列表框1", "11");
    tick("选择列表框2", "12");
    choose("选择列表框3", "09");
    EXPECT_EQ(text(r.segment_label), "12;");
    EXPECT_EQ(text(r.order_label), "09");
    // The other lines keep the form's "-".
    for (const char* block : {"标签1_", "标签2_", "标签3_"})
        for (const char* hole : {"掏槽眼", "辅助眼", "周边眼", "底板眼"})
            for (const char* column : {"起爆顺序1", "雷管段位"}) {
                const std::string label = std::string(block) + hole + column;
                if (label == r.order_label || label == r.segment_label || !rt.form(kForm)->find(label)) continue;
                EXPECT_EQ(text(label), "-") << label;
            }
}

INSTANTIATE_TEST_SUITE_P(
    Editor, RowMapping,
    ::testing::Values(RowLine{0, "标签1_掏槽眼起爆顺序1", "标签1_掏槽眼雷管段位"},
                      RowLine{1, "标签1_辅助眼起爆顺序1", "标签1_辅助眼雷管段位"},
                      RowLine{2, "标签1_周边眼起爆顺序1", "标签1_周边眼雷管段位"},
                      RowLine{3, "标签1_底板眼起爆顺序1", "标签1_底板眼雷管段位"},
                      RowLine{4, "标签2_辅助眼起爆顺序1", "标签2_辅助眼雷管段位"},
                      RowLine{5, "标签2_周边眼起爆顺序1", "标签2_周边眼雷管段位"},
                      RowLine{6, "标签2_底板眼起爆顺序1", "标签2_底板眼雷管段位"},
                      RowLine{7, "标签3_辅助眼起爆顺序1", "标签3_辅助眼雷管段位"},
                      RowLine{8, "标签3_底板眼起爆顺序1", "标签3_底板眼雷管段位"}),
    [](const ::testing::TestParamInfo<RowLine>& i) { return "Row" + std::to_string(i.param.row); });

TEST_F(SmoothBlastingForm, AutomaticLayoutKeepsTheEditorShutAndManualOpensItStepByStep)
{
    // At creation.
    EXPECT_TRUE(rt.get(c("选择框1"), prop::CheckBox::Checked).truth());
    EXPECT_EQ(rt.get(c("列表框3"), prop::ListBox::BackColor).integer(), 0xC0C0C0);
    for (const char* name : {"列表框3", "选择列表框1", "选择列表框2", "选择列表框3", "编辑框1"}) EXPECT_TRUE(disabled(name)) << name;

    manual_layout();
    EXPECT_FALSE(rt.get(c("选择框1"), prop::CheckBox::Checked).truth());
    EXPECT_FALSE(disabled("列表框3"));
    EXPECT_EQ(rt.get(c("列表框3"), prop::ListBox::BackColor).integer(), 0xFFFFFF);
    EXPECT_FALSE(disabled("编辑框1"));
    // The lists wait for a row.
    for (const char* name : {"选择列表框1", "选择列表框2", "选择列表框3"}) EXPECT_TRUE(disabled(name)) << name;
    choose_index("列表框3", 2);
    for (const char* name : {"选择列表框1", "选择列表框2", "选择列表框3"}) EXPECT_FALSE(disabled(name)) << name;

    // Back to automatic: everything shut again, the list darker than at creation.
    click("选择框1");
    EXPECT_EQ(rt.get(c("列表框3"), prop::ListBox::BackColor).integer(), 0x808080);
    for (const char* name : {"列表框3", "选择列表框1", "选择列表框2", "选择列表框3", "编辑框1"}) EXPECT_TRUE(disabled(name)) << name;

    // Manual once more: the row is still chosen but the lists wait for a new choice.
    click("选择框1");
    EXPECT_EQ(index("列表框3"), 2);
    for (const char* name : {"选择列表框1", "选择列表框2", "选择列表框3"}) EXPECT_TRUE(disabled(name)) << name;
}

TEST_F(SmoothBlastingForm, RefillsLeaveTenFiringOrdersAndNoMarkButKeepTheLabels)
{
    // The form definition lists "01" to "11"; no list can be used before a refill.
    EXPECT_EQ(c("选择列表框3").items.size(), 11u);
    manual_layout();
    const std::vector<std::string> orders = {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"};
    EXPECT_EQ(c("选择列表框3").items, orders);
    choose_index("列表框3", 0);
    EXPECT_EQ(c("选择列表框3").items, orders);
    EXPECT_EQ(c("选择列表框1").items.front(), "1");
    EXPECT_EQ(c("选择列表框1").items.back(), "29");
    EXPECT_EQ(c("选择列表框2").items.front(), "2");
    EXPECT_EQ(c("选择列表框2").items.back(), "30");
    EXPECT_EQ(c("选择列表框2").items.size(), 15u);

    tick("选择列表框1", "7");
    tick("选择列表框2", "8");
    choose("选择列表框3", "05");
    click("按钮4"); // 重置
    EXPECT_EQ(checks("选择列表框1"), "");
    EXPECT_EQ(checks("选择列表框2"), "");
    EXPECT_EQ(index("选择列表框3"), -1);
    EXPECT_EQ(text("编辑框1"), "");
    EXPECT_EQ(text("标签1_掏槽眼雷管段位"), "8;");
    EXPECT_EQ(text("标签1_掏槽眼起爆顺序1"), "05");
    // The reset changes nothing that is enabled.
    EXPECT_FALSE(disabled("选择列表框1"));

    tick("选择列表框1", "9");
    rt.user_page(c("选择夹1"), 0);
    rt.user_page(c("选择夹1"), 1);
    EXPECT_EQ(checks("选择列表框1"), "");
    EXPECT_EQ(text("标签1_掏槽眼雷管段位"), "9;");
}

TEST_F(SmoothBlastingForm, WithoutAChosenRowAPickOnlyEmptiesTheComposedText)
{
    manual_layout();
    choose_index("列表框3", 0);
    tick("选择列表框1", "1");
    rt.set(c("列表框3"), prop::ListBox::CurrentIndex, -1);
    tick("选择列表框1", "3");
    choose("选择列表框3", "04");
    EXPECT_EQ(text("编辑框1"), "");
    EXPECT_EQ(text("标签1_掏槽眼雷管段位"), "1;");
    EXPECT_EQ(text("标签1_掏槽眼起爆顺序1"), "-");
}

// A calculation writes its automatic layout, dashes when the layout is
// manual and no row is chosen, and leaves the labels when a row is chosen.
TEST_F(SmoothBlastingForm, ACalculationKeepsAHandMadeLayoutOnlyWhileARowIsChosen)
{
    straight_wall();
    click("图形按钮_计算");
    EXPECT_EQ(text("标签1_周边眼雷管段位"), "9;11");

    manual_layout();
    click("图形按钮_计算");
    for (const char* line : {"标签1_掏槽眼", "标签1_辅助眼", "标签1_周边眼", "标签1_底板眼"}) {
        EXPECT_EQ(text(std::string(line) + "起爆顺序1"), "-") << line;
        EXPECT_EQ(text(std::string(line) + "雷管段位"), "-") << line;
    }

    choose_index("列表框3", 1);
    tick("选择列表框1", "5");
    tick("选择列表框1", "7");
    choose("选择列表框3", "02");
    click("图形按钮_计算");
    EXPECT_EQ(text("标签1_辅助眼雷管段位"), "5;7;");
    EXPECT_EQ(text("标签1_辅助眼起爆顺序1"), "02");
    // Rows never edited keep their dashes.
    EXPECT_EQ(text("标签1_掏槽眼雷管段位"), "-");
    EXPECT_EQ(text("标签1_底板眼起爆顺序1"), "-");
    // The calculation changed page by writing it: the editor was not reset.
    EXPECT_EQ(checks("选择列表框1"), "5|7");

    click("选择框1");
    click("图形按钮_计算");
    EXPECT_EQ(text("标签1_辅助眼雷管段位"), "5;7;9");
    EXPECT_EQ(text("标签1_掏槽眼起爆顺序1"), "01");
}

// ---- detonator and charge-structure pictures ----------------------------------------------

TEST_F(SmoothBlastingForm, TheDetonatorPictureFollowsOnlyTheUsersChoice)
{
    rt.user_page(c("选择夹1"), 1);
    EXPECT_EQ(picture("图片框3"), kPictures + "detonator_nonel.png");
    const std::pair<const char*, const char*> cases[] = {
        {"延期电雷管", "detonator_electric.png"},
        {"导爆管雷管", "detonator_nonel.png"},
        {"延期电雷管", "detonator_electric.png"},
        {"电雷管+导爆管", "detonator_nonel.png"},
        {"延期电雷管", "detonator_electric.png"},
    };
    for (const auto& [item, file] : cases) {
        choose("组合框2", item);
        EXPECT_EQ(picture("图片框3"), kPictures + file) << item;
    }
    choose("组合框1", "不耦合装药");
    // Entering the page again sets both choices back without touching their pictures.
    rt.user_page(c("选择夹1"), 0);
    rt.user_page(c("选择夹1"), 1);
    EXPECT_EQ(index("组合框2"), 2);
    EXPECT_EQ(text("组合框2"), "电雷管+导爆管");
    EXPECT_EQ(picture("图片框3"), kPictures + "detonator_electric.png");
    EXPECT_EQ(index("组合框1"), 1);
    EXPECT_EQ(picture("图片框1"), kPictures + "charge_structure_decoupled.png");
}

TEST_F(SmoothBlastingForm, EachChargeStructureHasItsPicture)
{
    rt.user_page(c("选择夹1"), 1);
    EXPECT_EQ(picture("图片框1"), kPictures + "charge_structure_start.png");
    const std::pair<const char*, const char*> cases[] = {
        {"空气间隔装药", "charge_structure_air_deck.png"},
        {"空气间隔不耦合装药", "charge_structure_air_deck_decoupled.png"},
        {"不耦合装药", "charge_structure_decoupled.png"},
    };
    for (const auto& [item, file] : cases) {
        choose("组合框1", item);
        EXPECT_EQ(picture("图片框1"), kPictures + file) << item;
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(c("图片框1").pictures[0], &w, &h));
        EXPECT_EQ(w, 424);
        EXPECT_EQ(h, 106);
    }
}

// ---- the cut ------------------------------------------------------------------------------

struct CutTypeCase {
    const char* type;
    std::vector<std::string> forms;
    bool wedge_lookup_enabled;
    const char* first_picture;
};

void PrintTo(const CutTypeCase& c, std::ostream* os) { *os << c.type; }

struct CutTypes : SmoothBlastingForm, ::testing::WithParamInterface<CutTypeCase> {};

TEST_P(CutTypes, ATypeRefillsItsFormsAndShowsItsFirstForm)
{
    const CutTypeCase& t = GetParam();
    choose("列表框1", t.type);
    EXPECT_EQ(c("列表框2").items, t.forms);
    EXPECT_EQ(index("列表框2"), -1);
    EXPECT_EQ(disabled("按钮1"), !t.wedge_lookup_enabled);
    EXPECT_EQ(picture("图片框_布眼图"), kPictures + t.first_picture);
    // No form is chosen yet: the type alone, without empty brackets.
    EXPECT_EQ(text("编辑框1_采用掏槽形式"), t.type);
}

INSTANTIATE_TEST_SUITE_P(
    Cut, CutTypes,
    ::testing::Values(
        CutTypeCase{"楔形掏槽", {"二级复式楔形掏槽", "三级复式楔形掏槽", "多级复式楔形掏槽"}, true, "cut_wedge_two_stage.png"},
        CutTypeCase{"小直径中空直孔掏槽",
                    {"龟裂直孔掏槽", "小直径中空直孔掏槽", "五梅花小直径中空直孔掏槽", "菱形掏槽", "螺旋掏槽"},
                    false,
                    "cut_burn.png"},
        CutTypeCase{"大直径中空直孔掏槽", {"菱形掏槽", "对称掏槽"}, false, "cut_large_diamond.png"}),
    [](const ::testing::TestParamInfo<CutTypeCase>& i) { return "Type" + std::to_string(i.index); });

struct CutFormCase {
    int type, form;
    const char* name;
    const char* picture;
};

void PrintTo(const CutFormCase& c, std::ostream* os) { *os << c.name; }

struct CutForms : SmoothBlastingForm, ::testing::WithParamInterface<CutFormCase> {};

TEST_P(CutForms, AFormShowsItsPictureAndComposesTheCutName)
{
    const CutFormCase& f = GetParam();
    choose_index("列表框1", f.type);
    choose_index("列表框2", f.form);
    EXPECT_EQ(picture("图片框_布眼图"), kPictures + f.picture);
    EXPECT_EQ(text("编辑框1_采用掏槽形式"), c("列表框1").items[f.type] + "(" + f.name + ")");
    int w = 0, h = 0;
    ASSERT_TRUE(picture_size(c("图片框_布眼图").pictures[0], &w, &h));
    EXPECT_EQ(w, 496);
    EXPECT_EQ(h, 354);
}

INSTANTIATE_TEST_SUITE_P(Cut, CutForms,
                         ::testing::Values(CutFormCase{0, 0, "二级复式楔形掏槽", "cut_wedge_two_stage.png"},
                                           CutFormCase{0, 1, "三级复式楔形掏槽", "cut_wedge_three_stage.png"},
                                           CutFormCase{0, 2, "多级复式楔形掏槽", "cut_wedge_multi_stage.png"},
                                           CutFormCase{1, 0, "龟裂直孔掏槽", "cut_burn.png"},
                                           CutFormCase{1, 1, "小直径中空直孔掏槽", "cut_small_hollow.png"},
                                           CutFormCase{1, 2, "五梅花小直径中空直孔掏槽", "cut_small_quincunx.png"},
                                           CutFormCase{1, 3, "菱形掏槽", "cut_small_diamond.png"},
                                           CutFormCase{1, 4, "螺旋掏槽", "cut_spiral.png"},
                                           CutFormCase{2, 0, "菱形掏槽", "cut_large_diamond.png"},
                                           CutFormCase{2, 1, "对称掏槽", "cut_large_symmetric.png"}),
                         [](const ::testing::TestParamInfo<CutFormCase>& i) {
                             return "Type" + std::to_string(i.param.type) + "Form" + std::to_string(i.param.form);
                         });

TEST_F(SmoothBlastingForm, TheFormsOfTheWedgeTypeAtCreationComposeWithoutATypeChoice)
{
    // The definition's forms stand in 列表框2 while no type is chosen yet.
    EXPECT_EQ(text("编辑框1_采用掏槽形式"), "楔形掏槽(二级复式楔形掏槽)");
    choose_index("列表框2", 1);
    EXPECT_EQ(text("编辑框1_采用掏槽形式"), "(三级复式楔形掏槽)");
    // (-1, 1) is no pair of the table: the start picture stays.
    EXPECT_EQ(picture("图片框_布眼图"), kPictures + "layout_start.png");
}

// ---- lookups --------------------------------------------------------------------------------

struct LookupCase {
    const char* button;
    int page;            // of 选择夹1 the button lies on
    const char* section; // chosen first so that the button's panel shows; nullptr: as created
    const char* picture;
    int width, height; // of the pop-up
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.button; }

struct Lookups : SmoothBlastingForm, ::testing::WithParamInterface<LookupCase> {};

TEST_P(Lookups, AButtonOpensThePopUpWithItsTableAtItsSize)
{
    const LookupCase& l = GetParam();
    if (l.section) {
        choose("组合框_开挖方法", "全断面法");
        choose("组合框_方法2", l.section);
    }
    rt.user_page(c("选择夹1"), l.page);
    click(l.button);
    ASSERT_NE(rt.form("popup"), nullptr) << l.button;
    EXPECT_EQ(picture("popup", "图片框2"), kPictures + l.picture);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), l.width);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), l.height);
}

INSTANTIATE_TEST_SUITE_P(Lookup, Lookups,
                         ::testing::Values(LookupCase{"按钮5", 1, nullptr, "explosives_table.png", 700, 600},
                                           LookupCase{"按钮1", 0, nullptr, "wedge_cut_table.png", 500, 300},
                                           LookupCase{"按钮2", 1, nullptr, "nonel_detonator_table.png", 700, 600},
                                           LookupCase{"按钮3", 1, nullptr, "electric_detonator_table.png", 700, 600},
                                           LookupCase{"按钮1_查周边眼参数", 0, nullptr, "perimeter_hole_table.png", 700, 600},
                                           LookupCase{"按钮2_掏槽圈查询", 0, "圆形隧道立（竖）井", "circular_cut_table.png", 700,
                                                      600}),
                         [](const ::testing::TestParamInfo<LookupCase>& i) { return "Button" + std::to_string(i.index); });

struct ChargeTableCase {
    const char* category;
    int sub;
    const char* picture;
    int width, height; // of the picture
};

void PrintTo(const ChargeTableCase& c, std::ostream* os) { *os << c.category << " " << c.sub; }

struct ChargeFactorTables : SmoothBlastingForm, ::testing::WithParamInterface<ChargeTableCase> {};

TEST_P(ChargeFactorTables, TheLookupShowsTheTableOfTheCategoryAndSubClass)
{
    const ChargeTableCase& t = GetParam();
    choose("组合框_隧道类别", t.category);
    choose_index("组合框_隧道小类", t.sub);
    click("按钮1_单位体积岩体的耗药量");
    ASSERT_NE(rt.form("popup"), nullptr);
    EXPECT_EQ(picture("popup", "图片框2"), std::string("resources/pictures/ventilation/") + t.picture);
    int w = 0, h = 0;
    ASSERT_TRUE(picture_size(rt.unit("popup", "图片框2").pictures[0], &w, &h));
    EXPECT_EQ(w, t.width);
    EXPECT_EQ(h, t.height);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 700);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 600);
}

INSTANTIATE_TEST_SUITE_P(Lookup, ChargeFactorTables,
                         ::testing::Values(ChargeTableCase{"公路隧道", 0, "charge_factor_0_0.png", 350, 501},
                                           ChargeTableCase{"公路隧道", 1, "charge_factor_0_1.png", 350, 500},
                                           ChargeTableCase{"公路隧道", 2, "charge_factor_0_2.png", 350, 500},
                                           ChargeTableCase{"铁路隧道", 0, "charge_factor_1_0.png", 350, 500},
                                           ChargeTableCase{"煤矿隧道", 0, "charge_factor_2_0.png", 350, 500},
                                           ChargeTableCase{"煤矿隧道", 1, "charge_factor_2_1.png", 350, 500}),
                         [](const ::testing::TestParamInfo<ChargeTableCase>& i) { return "Pair" + std::to_string(i.index); });

TEST_F(SmoothBlastingForm, AnOpenPopUpFollowsTheSubClassButNotTheCategory)
{
    // Closed: a sub-class choice opens nothing.
    choose_index("组合框_隧道小类", 2);
    EXPECT_EQ(rt.form("popup"), nullptr);

    click("按钮1_单位体积岩体的耗药量");
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_0_2.png");
    // The user resizes the pop-up; a sub-class choice keeps that size.
    rt.user_resize(*rt.form("popup"), 640, 520);
    choose_index("组合框_隧道小类", 1);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_0_1.png");
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 640);

    // 铁路隧道 leaves one sub-class, chosen without an event: the table stays.
    choose("组合框_隧道类别", "铁路隧道");
    EXPECT_EQ(c("组合框_隧道小类").items, std::vector<std::string>{"铁路隧道掘进"});
    EXPECT_EQ(index("组合框_隧道小类"), 0);
    EXPECT_EQ(text("组合框_隧道小类"), "铁路隧道掘进");
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_0_1.png");
    choose_index("组合框_隧道小类", 0);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_1_0.png");

    // A closed pop-up is loaded again by the next lookup, at the lookup's size.
    rt.user_close(*rt.form("popup"));
    ASSERT_EQ(rt.form("popup"), nullptr);
    choose("组合框_隧道类别", "煤矿隧道");
    choose_index("组合框_隧道小类", 1);
    EXPECT_EQ(rt.form("popup"), nullptr);
    click("按钮1_单位体积岩体的耗药量");
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/ventilation/charge_factor_2_1.png");
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 700);
}

// ---- the layout picture ---------------------------------------------------------------------

TEST_F(SmoothBlastingForm, TheDiagramButtonOpensTheViewerBigThenSmallerWhileItStaysOpen)
{
    choose_index("列表框1", 2);
    choose_index("列表框2", 1);
    click("图形按钮1_打开图片窗口");
    ASSERT_NE(rt.form("viewer"), nullptr);
    EXPECT_EQ(rt.unit("viewer", "图片框1").pictures[0], c("图片框_布眼图").pictures[0]);
    auto size = [&](const std::string& control) {
        Control& u = rt.unit("viewer", control);
        return std::to_string(rt.get(u, prop::Width).integer()) + "x" + std::to_string(rt.get(u, prop::Height).integer());
    };
    EXPECT_EQ(size(""), "700x500");
    EXPECT_EQ(size("外形框1"), "670x501");
    EXPECT_EQ(size("图片框1"), "604x408");

    straight_wall();
    click("图形按钮1_打开图片窗口");
    EXPECT_EQ(picture("viewer", "图片框1"), kPictures + "layout_straight_wall.png");
    EXPECT_EQ(size(""), "614x418");
    EXPECT_EQ(size("外形框1"), "609x413");
    EXPECT_EQ(size("图片框1"), "604x408");
}

TEST_F(SmoothBlastingForm, TheWheelZoomsTheLayoutPictureOnceAStepAndZoomingOutPutsItBack)
{
    Control& box = c("图片框_布眼图");
    auto geometry = [&] {
        return std::to_string(box.left) + "," + std::to_string(box.top) + " " + std::to_string(box.width) + "x" +
               std::to_string(box.height);
    };
    EXPECT_EQ(geometry(), "5,2 496x354");
    // Only the focused box gets the wheel: a click on it gives it the focus.
    rt.user_wheel(box, 1);
    EXPECT_EQ(geometry(), "5,2 496x354");
    rt.user_mouse_down(box, true, 10, 10);
    EXPECT_TRUE(rt.has_focus(box));
    rt.user_wheel(box, 3); // one event, one step, however far the wheel turned
    EXPECT_EQ(geometry(), "5,2 595x424");
    rt.set(box, prop::Width, 496);
    rt.set(box, prop::Height, 354);
    rt.user_wheel(box, -1);
    EXPECT_EQ(geometry(), "0,0 396x283");
    rt.set(box, prop::Left, 40);
    rt.user_wheel(box, 0);
    EXPECT_EQ(geometry(), "0,0 316x226");
}

// ---- balloon tips ---------------------------------------------------------------------------

const std::string kPerimeterRange =
    "重要参数，根据《F.07-1.JTG T F60-2009公路隧道施工技术细则》，周边眼建议取值范围：\r\n    软岩周边眼间距E0.4~0.5m；\r\n"
    "    中硬岩 周边眼间距E0.4~0.5m；\r\n    硬岩石周边眼间距E0.6~0.7m";
const std::string kCutCount =
    "开挖面积≤20m2时，建议掏槽眼数量2~6个\r\n   开挖面积20~65m2时，建议掏槽眼数量6~16个\r\n   "
    "开挖面积65以上时，建议掏槽眼数量大于16个，掏槽眼数量随面积增大而增加。";
const std::string kClamp = "布眼数量经验系数, 系数增大辅助眼数量增加，反之减少\r\n上坑道常规取1.2;下坑道取值0.8\r\n"
                           "断面面积>80m2系数值取1.0\r\n断面面积20~80m2时取1.2\r\n断面面积小于20m2时,建议取值1.4以上";
const std::string kSections = "国际隧道协会对隧道断面划分\r\n      超小断面 2-3m2\r\n      小断面 3-10m2\r\n      中等断面 10-50m2\r\n"
                              "      大断面 50-100m2\r\n      超大断面 >100m2";
const std::string kCharge = "经验数据,请参照单体耗药量查询填写\r\n隧道断面小于20m2时，建议按照---煤矿隧道小断面选取每立方米炸药耗用用量\r\n"
                            "隧道面积大于20m2时，建议按照---公路、铁路隧道小断面选取药炸药耗用用量";
const std::string kDensity = "重要参数，根据《F.07-1.JTG T F60-2009公路隧道施工技术细则》，周边眼装药集中度建议取值范围：\r\n"
                             "    软岩周边眼装药集中度0.07~0.15kg/m；\r\n    中硬岩周边眼装药集中度 0.2~0.3kg/m；\r\n"
                             "    硬岩周边眼装药集中度 0.3~0.35kg/m";
const std::string kBurden = "最小抵抗线 V=E/0.8；建议最小抵抗线V=0.625m";

const std::vector<std::pair<std::string, std::string>> kTips = {
    {"编辑框1_上台阶面积", kSections},
    {"编辑框4_隧道开挖面积", kSections},
    {"编辑框1_开挖循环进尺", "开挖进尺范围一般0.5~3.5m范围"},
    {"编辑框2_开挖循环进尺", "开挖进尺范围一般0.5~3.5m范围"},
    {"编辑框3_开挖循环进尺", "开挖进尺范围一般0.5~3.5m范围"},
    {"编辑框4_开挖循环进尺", "开挖进尺范围一般0.5~3.5m范围"},
    {"编辑框1_周边眼外弧长", "指开挖轮廓线周边眼布置范围的弧线长度。"},
    {"编辑框4_周边眼外周长", "指开挖轮廓线周边眼布置范围的弧线长度"},
    {"编辑框1_坑道开挖宽度", "指坑道开挖底板的宽度"},
    {"编辑框1_掏槽眼数量", "   " + kCutCount},
    {"编辑框4_掏槽眼数量", kCutCount},
    {"编辑框1_掏槽区作用高度", "掏槽眼布置区域的爆破作用高度，也指掏槽眼排距"},
    {"编辑框1_掏槽区作用长度", "掏槽眼布置区域的爆破作用宽度，也指掏槽眼布置区水平宽度"},
    {"编辑框1_岩石夹制力系数", kClamp},
    {"编辑框2_岩石夹制力系数", kClamp},
    {"编辑框3_岩石夹制力系数", kClamp},
    {"编辑框4_岩石夹制力系数", kClamp},
    {"编辑框1_单位体积岩体的耗药量", kCharge},
    {"编辑框4_单位体积岩体的耗药量", kCharge},
    {"编辑框1_周边眼间距E", kPerimeterRange + "\r\n    建议周边眼最小抵抗线=0.625"},
    {"编辑框2_周边眼间距E", kPerimeterRange + "；"},
    {"编辑框4_周边眼间距E", kPerimeterRange + "；\r\n    建议周边眼最小抵抗线=0.625m"},
    {"编辑框1_周边眼最小抵抗线V", kBurden},
    {"编辑框2_周边眼抵抗线V", kBurden},
    {"编辑框4_周边眼最小抵抗线V", kBurden},
    {"编辑框1_周边眼装药集中度", kDensity},
    {"编辑框4_周边眼装药集中度", kDensity},
    {"编辑框1_辅助眼间距", "辅助眼建议取值范围0.8m~1.2m"},
    {"编辑框4_辅助眼间距", "辅助眼建议取值范围0.8m~1.2m"},
    {"编辑框1_辅助眼最小抵抗线V", "根据岩层属性取值，辅助眼建议取值范围0.8m~1.2m"},
    {"编辑框4_辅助眼最小抵抗线V", "根据岩层属性取值，辅助眼建议取值范围0.8m~1.2m"},
    {"编辑框2_辅助眼间距E", "辅助眼间距建议取值范围0.8m~1.2m"},
    {"编辑框3_辅助眼间距E", "辅助眼间距建议取值范围0.8m~1.2m"},
    {"编辑框2_辅助眼抵抗线V2", "辅助眼最小抵抗线建议取值范围0.8m~1.2m"},
    {"编辑框3_辅助眼抵抗线V", "辅助眼最小抵抗线建议取值范围0.8m~1.2m"},
    {"编辑框1_底板眼间距", "底板眼间距建议取值范围0.5m~1.2m"},
    {"编辑框2_底板眼间距E", "底板眼间距建议取值范围0.5m~1.2m"},
    {"编辑框3_底板眼间距E", "底板眼间距建议取值范围0.5m~1.2m"},
    {"编辑框1_底板眼最小抵抗线", "底板眼最小抵抗线建议取值范围0.6m~1.2m"},
    {"编辑框2_底板眼抵抗线V1", "底板眼最小抵抗线建议取值范围0.6m~1.2m"},
    {"编辑框3_底板眼抵抗线V", "底板眼最小抵抗线建议取值范围0.6m~1.2m"},
    {"编辑框1_炮眼钻孔直径", "爆破孔径大小选择，常规直径34~46mm"},
    {"编辑框1_装药不耦合系数", "光面爆破取值1.5~2.0"},
    {"编辑框1_计算炸药直径", "炸药直径=炮眼直径/装药不耦合系数"},
    {"编辑框1_单个药卷重量", "单个药卷重量，注意这里单位是g"},
    {"编辑框1_单个药卷长度",
     "本软件为掏槽堵塞深度0.4m；周边眼、辅助眼、底板眼均为其最小抵抗线的1.0倍\r\n"
     "根据F.07-1.JTG T F60-2009《公路隧道施工技术细则》P120页，现场试验和大量\r\n"
     "爆破实践证明:堵塞长度一般不应小于最小抵抗线 (或排距),\r\n通常为最小抵抗线的1.0~1.2倍;周边孔最小不得小于 400mm;\r\n"
     "浅孔应将余孔全部堵塞,炮孔应当选用惯性大(密度大)、\r\n易横向塑性变形并且摩擦系数大的材料堵塞 ,较好的材料为黏土：\r\n"
     "沙子=2:1，含水量约为25%(即比较干硬、如砖坯泥状。"},
    {"编辑框2_断面面积", "指坑道断面面积"},
    {"编辑框3_断面面积", "指坑道断面面积"},
    {"编辑框2_开挖面外弧长", "中台阶单侧周边眼的弧线长度（m），软件默认计算按照双侧计算"},
    {"编辑框2_底板长", "指开挖轮廓线底板布置范围的弧线长度"},
    {"编辑框3_底板长", "指开挖轮廓线底板布置范围的弧线长度"},
    {"编辑框2_炸药工作面系数", "炸药工作面系数随自由面增加而减小，下坑道取0.8m"},
    {"编辑框3_炸药工作面系数", "炸药工作面系数随自由面增加而减小，下坑道取0.8m"},
    {"编辑框4_开挖直径", "指开挖轮廓线直径"},
    {"编辑框4_掏槽圈直径", "指掏槽圈范围的直径"},
};

TEST_F(SmoothBlastingForm, EveryInputBoxButFourCarriesItsTipFromCreation)
{
    const auto& tips = c("气球提示框1").tips;
    for (const auto& [box, want] : kTips) {
        auto it = tips.find(c(box).id);
        ASSERT_NE(it, tips.end()) << box;
        EXPECT_EQ(it->second, want) << box;
    }
    // Every edit box of the form has one, except these four.
    const std::vector<std::string> untipped = {"编辑框1_采用掏槽形式", "编辑框1_项目采用进尺", "编辑框_提示", "编辑框1"};
    int boxes = 0;
    for (const auto& control : rt.form(kForm)->controls) {
        if (control->kind != Kind::EditBox) continue;
        ++boxes;
        bool tipless = std::find(untipped.begin(), untipped.end(), control->name) != untipped.end();
        EXPECT_EQ(tips.count(control->id), tipless ? 0u : 1u) << control->name;
    }
    EXPECT_EQ(boxes, 59);
    EXPECT_EQ(tips.size(), kTips.size());
}

TEST_F(SmoothBlastingForm, TheSuggestedBurdenIsTheSpacingAtCreationWhateverIsTypedLater)
{
    rt.user_type(c("编辑框1_周边眼间距E"), "0.6");
    rt.user_type(c("编辑框4_周边眼间距E"), "0.4");
    rt.set_focus(nullptr);
    choose("组合框_方法2", "上下2台阶"); // the defaults are written anew
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.at(c("编辑框1_周边眼最小抵抗线V").id), kBurden);
    EXPECT_EQ(tips.at(c("编辑框4_周边眼最小抵抗线V").id), kBurden);
    EXPECT_NE(tips.at(c("编辑框4_周边眼间距E").id).find("=0.625m"), std::string::npos);
}

} // namespace

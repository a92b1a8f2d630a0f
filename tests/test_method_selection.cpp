// The excavation-method selection module (MethodSelection) in the whole
// headless program: the form as it starts in its frame, the span class of
// the width, the comparison rows, the advisory summary, the catalogue with
// its pictures and descriptions, the construction-step walks, and the
// diagram viewer following the picture.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "modules/excavation/method_selection.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"
#include "ui/text.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using namespace ui;

namespace {

constexpr const char* kForm = "MethodSelection";
constexpr const char* kPictures = "resources/pictures/methods/";
constexpr const char* kWidth = "编辑框1_隧道开挖宽度";
constexpr const char* kSpan = "编辑框_跨度自动判断";
constexpr const char* kText = "编辑框1";
constexpr const char* kCatalogue = "选择列表框3";
constexpr const char* kBack = "按钮_向后";    // left arrow
constexpr const char* kForward = "按钮_向前"; // right arrow

std::string methods(const std::string& file) { return std::string(kPictures) + file + ".png"; }

struct MethodSelectionProgram : testsupport::ModuleProgram {
    MethodSelectionProgram() : ModuleProgram(kForm) {}
    using ModuleProgram::text; // row_labels reads the rows from outside
    void write(const std::string& name, const std::string& value) { set_control_text(U(kForm, name), value); }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    void choose_entry(int index) { rt.user_choose(c(kCatalogue), index); }
    void tick(const std::string& list, const std::string& wanted)
    {
        Control& box = c(list);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_tick(box, i);
        FAIL() << "no item " << wanted << " in " << list;
    }
    bool visible(const std::string& name) { return rt.get(c(name), prop::Visible).truth(); }
    std::string picture_of(const Bytes& b)
    {
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<unknown>";
    }
    std::string shown() { return picture_of(c("图片框1").pictures[0]); }
    std::string viewer_shows() { return picture_of(rt.unit("viewer", "图片框1").pictures[0]); }
};

// --- the form as it starts ----------------------------------------------------------------

TEST_F(MethodSelectionProgram, StartsInItsFrameWithTheCatalogueTakingOneTick)
{
    Control& form = c("");
    const Ref frame = U("main", "外形框1_工期计算");
    EXPECT_EQ(form.form->frame, &rt.unit("main", "外形框1_工期计算"));
    EXPECT_EQ(rt.get(form, prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(form, prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(form, prop::Width).integer(), cmd_client_width(frame) - 10);
    EXPECT_EQ(rt.get(form, prop::Height).integer(), cmd_client_height(frame) - 10);

    EXPECT_EQ(text(kWidth), "11.5");
    EXPECT_EQ(text(kSpan), "中跨度隧道");
    EXPECT_EQ(text(kText), "");
    EXPECT_EQ(current_item_text(U(kForm, "组合框_选择隧道形式")), "分离式隧道");
    EXPECT_EQ(current_item_text(U(kForm, "组合框_隧道围岩等级")), "Ⅴ级");
    EXPECT_EQ(shown(), methods("start_sketch"));
    EXPECT_TRUE(visible(kBack));
    EXPECT_TRUE(visible(kForward));
    EXPECT_TRUE(visible("按钮_向前1"));

    EXPECT_FALSE(visible("选择框"));
    EXPECT_TRUE(rt.get(c("选择框"), prop::CheckBox::Checked).truth());
    EXPECT_TRUE(rt.get(c(kCatalogue), prop::ChkListBox::SingleCheck).truth());
    rt.user_tick(c(kCatalogue), 2);
    rt.user_tick(c(kCatalogue), 5);
    EXPECT_FALSE(cmd_checklist_is_checked(U(kForm, kCatalogue), 2));
    EXPECT_TRUE(cmd_checklist_is_checked(U(kForm, kCatalogue), 5));
    // The other two check lists take any number of ticks.
    tick("选择列表框1", "浅埋段");
    tick("选择列表框1", "偏压段");
    EXPECT_TRUE(cmd_checklist_is_checked(U(kForm, "选择列表框1"), 2));
    EXPECT_TRUE(cmd_checklist_is_checked(U(kForm, "选择列表框1"), 3));

    // No export and no tips.
    EXPECT_EQ(form.form->find("图形按钮_导出"), nullptr);
    EXPECT_EQ(form.form->find("气球提示框1"), nullptr);
}

TEST_F(MethodSelectionProgram, ListsHoldTheirItemsInOrder)
{
    EXPECT_EQ(c("组合框_选择隧道形式").items, (std::vector<std::string>{"分离式隧道", "连拱隧道", "单洞隧道", "", ""}));
    EXPECT_EQ(c("组合框_隧道围岩等级").items, (std::vector<std::string>{"I级", "Ⅱ级", "Ⅲ级", "Ⅳ级", "Ⅴ级", "Ⅵ级"}));
    EXPECT_EQ(c("选择列表框1").items.size(), 19u);
    EXPECT_EQ(c("选择列表框1").items.front(), "覆盖条件简单");
    EXPECT_EQ(c("选择列表框1").items.back(), "全风化的地层");
    EXPECT_EQ(c("选择列表框2").items.size(), 10u);
    EXPECT_EQ(c("选择列表框2").items.front(), "古迹控制地带");
    EXPECT_EQ(c("选择列表框2").items.back(), "溶岩溶洞");
    std::vector<std::string> catalogue;
    for (const method_selection::CatalogueEntry& e : method_selection::catalogue()) catalogue.push_back(e.item);
    EXPECT_EQ(c(kCatalogue).items, catalogue);
    std::vector<std::string> compared;
    for (const method_selection::Comparison& m : method_selection::comparison_table()) compared.push_back(m.method);
    compared.push_back("");
    for (const char* combo : {"组合框a1", "组合框b1", "组合框c1"}) EXPECT_EQ(c(combo).items, compared) << combo;
}

// --- span class -------------------------------------------------------------------------------

struct SpanCase {
    const char* width;
    const char* span;
};
void PrintTo(const SpanCase& s, std::ostream* os) { *os << "width \"" << s.width << "\""; }

struct SpanClass : MethodSelectionProgram, ::testing::WithParamInterface<SpanCase> {};

TEST_P(SpanClass, FollowsTheWidth)
{
    write(kWidth, "25");
    ASSERT_EQ(text(kSpan), "超大跨度隧道");
    write(kWidth, GetParam().width);
    EXPECT_EQ(text(kSpan), GetParam().span);
}

INSTANTIATE_TEST_SUITE_P(
    MethodSelection, SpanClass,
    ::testing::Values(SpanCase{"0.5", "小跨度隧道"}, SpanCase{"9", "小跨度隧道"},
                      SpanCase{"9.00000005", "小跨度隧道"}, // within the tolerance of 9
                      SpanCase{"9.0000002", "中跨度隧道"}, SpanCase{"11.5", "中跨度隧道"},
                      SpanCase{"１２.５", "中跨度隧道"}, SpanCase{"13.99999995", "大跨度隧道"},
                      SpanCase{"14", "大跨度隧道"}, SpanCase{"17.9", "大跨度隧道"}, SpanCase{"18", "超大跨度隧道"},
                      // No class from a width that means nothing: the earlier class goes.
                      SpanCase{"0", "-"}, SpanCase{"", "-"}, SpanCase{"-3", "-"}, SpanCase{"-0", "-"},
                      SpanCase{"1e309", "-"}, SpanCase{"0.00000005", "-"}, SpanCase{"宽", "-"},
                      // Only the whole text is the width: not its leading number.
                      SpanCase{"12.5m", "-"}, SpanCase{"1..25", "-"}));

TEST_F(MethodSelectionProgram, TypingClassifiesAsTheWidthGrows)
{
    std::vector<std::string> classes;
    type(kWidth, "1");
    classes.push_back(text(kSpan));
    type(kWidth, "16");
    classes.push_back(text(kSpan));
    EXPECT_EQ(classes, (std::vector<std::string>{"小跨度隧道", "大跨度隧道"}));
    // Cleared, there is no class.
    type(kWidth, "");
    EXPECT_EQ(text(kSpan), "-");
}

// --- comparison rows -------------------------------------------------------------------------

struct RowCase {
    const char* combo;
    const char* labels;
    const char* method;
    std::vector<std::string> shown;
};
void PrintTo(const RowCase& r, std::ostream* os) { *os << r.combo << " " << r.method; }

struct ComparisonRow : MethodSelectionProgram, ::testing::WithParamInterface<RowCase> {};

std::vector<std::string> row_labels(MethodSelectionProgram& p, const std::string& prefix)
{
    std::vector<std::string> v;
    for (int k = 1; k <= 6; ++k) v.push_back(p.text(prefix + std::to_string(k)));
    return v;
}

TEST_P(ComparisonRow, ShowsTheMethodsAttributes)
{
    const RowCase& r = GetParam();
    // The other rows keep theirs.
    std::map<std::string, std::vector<std::string>> before;
    for (const char* prefix : {"标签a", "标签b", "标签c"}) before[prefix] = row_labels(*this, prefix);
    choose(r.combo, r.method);
    EXPECT_EQ(row_labels(*this, r.labels), r.shown);
    for (const auto& [prefix, labels] : before) {
        if (prefix != r.labels) {
            EXPECT_EQ(row_labels(*this, prefix), labels) << prefix;
        }
    }
    EXPECT_EQ(rt.focus(), &c("图片框1"));
}

INSTANTIATE_TEST_SUITE_P(
    MethodSelection, ComparisonRow,
    ::testing::Values(
        RowCase{"组合框a1", "标签a", "交叉中隔壁法(CRD)", {"地层差，跨度≤18m", "较小", "长", "好", "大", "高"}},
        RowCase{"组合框b1", "标签b", "中隔壁法(CD工法)", {"地层差，跨度≤18m", "较大", "较短", "好", "小", "偏高"}},
        RowCase{"组合框c1", "标签c", "中洞法", {"小跨度，连续使用可扩挖成大跨度", "大", "长", "效果差", "大", "较高"}},
        RowCase{"组合框a1", "标签a", "双侧壁导坑(眼镜工法)",
                {"小跨度，连续使用可扩成大跨度", "大", "长", "效果差", "大", "高"}},
        RowCase{"组合框b1", "标签b", "单侧壁导坑正台阶法", {"地层差，跨度≤14m", "较大", "较短", "好", "小", "低"}},
        RowCase{"组合框c1", "标签c", "柱洞法", {"多层多跨", "大", "长", "效果差", "大", "高"}},
        // The empty twelfth item leaves the row as it was (环形开挖法预留核心土法).
        RowCase{"组合框c1", "标签c", "", {"地层差，跨度≤12m", "一般", "短", "好", "无", "低"}}));

TEST_F(MethodSelectionProgram, RowsStartOnTheirDefinitionsMethods)
{
    EXPECT_EQ(current_item_text(U(kForm, "组合框a1")), "全断面法");
    EXPECT_EQ(current_item_text(U(kForm, "组合框b1")), "正台阶法");
    EXPECT_EQ(current_item_text(U(kForm, "组合框c1")), "环形开挖法预留核心土法");
    EXPECT_EQ(row_labels(*this, "标签a"), (std::vector<std::string>{"地层好，跨度≤8m", "一般", "最短", "好", "无", "低"}));
    EXPECT_EQ(row_labels(*this, "标签b"), (std::vector<std::string>{"地层较差，跨度≤12m", "一般", "短", "好", "无", "低"}));
}

// --- summary --------------------------------------------------------------------------------------

const std::string kAdviceLines = "\r\n施工环境影响建议：根据选取的环境影响范围情况，确定是否需要控制爆破！"
                                 "\r\n开挖工法选取建议：根据隧道情况综合后，根据隧道开发工法列表选取合适的开挖方法！";

TEST_F(MethodSelectionProgram, SummaryOfTheDefaultsHasSevenLines)
{
    click("图形按钮_计算");
    EXPECT_EQ(text(kText), "隧道形式：分离式隧道"
                           "\r\n隧道开挖跨度：11.5m，跨度判断：中跨度隧道"
                           "\r\n隧道围岩等级：Ⅴ级"
                           "\r\n隧道围岩地质情况："
                           "\r\n隧道围区域环境分析：" +
                               kAdviceLines);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::TextColor).integer(), 0xC06000);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::Font, prop::FontMember::Size).integer(), 9);
    EXPECT_EQ(picture_of(c("图形按钮_计算").pictures[0]), app::res::compute_normal);
    EXPECT_EQ(picture_of(rt.unit("main", "图片框1_呼吸灯").pictures[0]), app::res::lamp_idle);
}

struct SummaryCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> ticks; // list, item
    std::vector<std::pair<const char*, const char*>> choices; // combo, item
    std::vector<std::pair<const char*, const char*>> written; // edit box, text
    const char* expected;                                     // the text before the advice lines
};
void PrintTo(const SummaryCase& s, std::ostream* os) { *os << s.name; }

struct Summary : MethodSelectionProgram, ::testing::WithParamInterface<SummaryCase> {};

TEST_P(Summary, NamesTheChoices)
{
    const SummaryCase& s = GetParam();
    for (const auto& [list, item] : s.ticks) tick(list, item);
    for (const auto& [combo, item] : s.choices) choose(combo, item);
    for (const auto& [box, value] : s.written) write(box, value);
    click("图形按钮_计算");
    EXPECT_EQ(text(kText), s.expected + kAdviceLines);
}

INSTANTIATE_TEST_SUITE_P(
    MethodSelection, Summary,
    ::testing::Values(
        SummaryCase{"two_geology_items",
                    {{"选择列表框1", "浅埋段"}, {"选择列表框1", "偏压段"}},
                    {},
                    {},
                    "隧道形式：分离式隧道\r\n隧道开挖跨度：11.5m，跨度判断：中跨度隧道\r\n隧道围岩等级：Ⅴ级"
                    "\r\n隧道围岩地质情况：浅埋段；偏压段；\r\n隧道围区域环境分析："},
        // Ticked items come in list order, whatever the order of ticking.
        SummaryCase{"environment_in_list_order",
                    {{"选择列表框2", "溶岩溶洞"}, {"选择列表框2", "古迹控制地带"}, {"选择列表框1", "全风化的地层"}},
                    {{"组合框_选择隧道形式", "连拱隧道"}, {"组合框_隧道围岩等级", "I级"}},
                    {},
                    "隧道形式：连拱隧道\r\n隧道开挖跨度：11.5m，跨度判断：中跨度隧道\r\n隧道围岩等级：I级"
                    "\r\n隧道围岩地质情况：全风化的地层；\r\n隧道围区域环境分析：古迹控制地带；溶岩溶洞；"},
        // The width goes in as written and the class as the box holds it.
        SummaryCase{"width_and_class_as_shown",
                    {},
                    {{"组合框_选择隧道形式", "单洞隧道"}},
                    {{kWidth, "19.25"}, {kSpan, "按实际判断"}},
                    "隧道形式：单洞隧道\r\n隧道开挖跨度：19.25m，跨度判断：按实际判断\r\n隧道围岩等级：Ⅴ级"
                    "\r\n隧道围岩地质情况：\r\n隧道围区域环境分析："},
        SummaryCase{"empty_tunnel_type",
                    {},
                    {{"组合框_选择隧道形式", ""}},
                    {},
                    "隧道形式：\r\n隧道开挖跨度：11.5m，跨度判断：中跨度隧道\r\n隧道围岩等级：Ⅴ级"
                    "\r\n隧道围岩地质情况：\r\n隧道围区域环境分析："},
        // Without a usable width the summary names neither a span nor a class.
        SummaryCase{"no_usable_width",
                    {},
                    {},
                    {{kWidth, "0"}},
                    "隧道形式：分离式隧道\r\n隧道开挖跨度：未输入有效的开挖跨度（应为大于0的数值），不作跨度判断"
                    "\r\n隧道围岩等级：Ⅴ级\r\n隧道围岩地质情况：\r\n隧道围区域环境分析："},
        SummaryCase{"width_minus_zero",
                    {},
                    {},
                    {{kWidth, "-0"}},
                    "隧道形式：分离式隧道\r\n隧道开挖跨度：未输入有效的开挖跨度（应为大于0的数值），不作跨度判断"
                    "\r\n隧道围岩等级：Ⅴ级\r\n隧道围岩地质情况：\r\n隧道围区域环境分析："}));

TEST_F(MethodSelectionProgram, SummaryReplacesADescriptionAndShowingAnEntryTurnsTheTextBlack)
{
    choose_entry(5);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::TextColor).integer(), 0);
    click("图形按钮_计算");
    EXPECT_EQ(text(kText).rfind("隧道形式：分离式隧道", 0), 0u);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::TextColor).integer(), 0xC06000);
    choose_entry(6);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::TextColor).integer(), 0);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::Font, prop::FontMember::Size).integer(), 9);
    EXPECT_EQ(text(kText), method_selection::catalogue()[6].description);
}

TEST_F(MethodSelectionProgram, ComputeSoundsPlayOnlyWithTheSwitchOn)
{
    click("图形按钮_计算");
    EXPECT_TRUE(backend.sounds.empty());
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    backend.sounds.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
}

// --- catalogue ---------------------------------------------------------------------------------------

struct EntryFacts {
    const char* item;
    const char* file;
    int width, height;
    int description_bytes; // GBK
    bool steps;
};

// Overview sizes, description lengths and step buttons of the twenty entries.
const EntryFacts kEntries[] = {
    {"全断面法", "full_face", 1208, 753, 1717, false},
    {"正台阶法", "bench", 1212, 753, 3489, false},
    {"正台阶法(上半断面临时封闭)", "bench_closed_top", 1211, 755, 3489, false},
    {"环形开挖法预留核心土法", "ring_core", 1210, 752, 1235, false},
    {"单侧壁导坑正台阶法", "single_side_drift", 1212, 755, 1461, false},
    {"中隔壁法(CD工法)", "cd", 1209, 752, 733, false},
    {"交叉中隔壁法(CRD)", "crd", 1212, 755, 907, false},
    {"双侧壁导坑(眼镜工法)", "double_side_drift", 1210, 755, 1283, true},
    {"中洞法(中导洞+主洞全断面工法)", "middle_drift_full_face", 1079, 673, 1462, false},
    {"中洞法(中导洞+主洞正台阶法)", "middle_drift_bench", 1080, 674, 437, false},
    {"中洞法(中导洞+主洞正台阶环形核心土工法)", "middle_drift_ring_core", 1079, 674, 105, false},
    {"中洞法(中导洞+主洞单侧壁导坑正台阶工法)", "middle_drift_side_drift", 1077, 673, 506, false},
    {"中洞法(中导洞+主洞中隔壁工法)", "middle_drift_cd", 1078, 672, 496, false},
    {"中洞法(三导洞+主洞正台阶工法)", "three_drifts_bench", 1079, 674, 49, false},
    {"中洞法(三导洞+主洞环形核心土工法)", "three_drifts_ring_core", 1078, 674, 59, true},
    {"中洞法(大断面隧道)", "large_middle_drift", 1220, 761, 1185, true},
    {"侧洞法(大断面隧道)", "large_side_drifts", 1207, 757, 108, true},
    {"洞桩法[PBA](大断面隧道)", "pba", 1260, 787, 1671, true},
    {"盖挖法[单拱盖法](大断面隧道)", "single_arch_cover", 1228, 765, 1244, true},
    {"盖挖法[双拱盖法](大断面隧道)", "double_arch_cover", 1256, 786, 1519, true},
};

TEST_F(MethodSelectionProgram, EachEntryShowsItsPictureDescriptionAndButtons)
{
    ASSERT_EQ(c(kCatalogue).items.size(), std::size(kEntries));
    for (int i = 0; i < int(std::size(kEntries)); ++i) {
        const EntryFacts& f = kEntries[i];
        SCOPED_TRACE(f.item);
        EXPECT_EQ(c(kCatalogue).items[i], f.item);
        choose_entry(i);
        EXPECT_EQ(shown(), methods(f.file));
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(resource(methods(f.file)), &w, &h));
        EXPECT_EQ(w, f.width);
        EXPECT_EQ(h, f.height);
        const std::string description = text(kText);
        EXPECT_EQ(cmd_text_length(description), f.description_bytes);
        // A title line (the method), CR LF, then the paragraphs.
        EXPECT_EQ(description.find("\r\n"), std::string(i == 2 ? "正台阶法" : f.item).size());
        EXPECT_EQ(visible(kBack), f.steps);
        EXPECT_EQ(visible(kForward), f.steps);
    }
    // Entries 2 and 3 show one and the same description.
    EXPECT_EQ(method_selection::catalogue()[1].description, method_selection::catalogue()[2].description);
}

TEST_F(MethodSelectionProgram, TheShownEntryIsTheCurrentItemTickedOrNot)
{
    rt.user_tick(c(kCatalogue), 16);
    EXPECT_EQ(shown(), methods("large_side_drifts"));
    rt.user_tick(c(kCatalogue), 16); // the tick goes, the entry stays current
    EXPECT_FALSE(cmd_checklist_is_checked(U(kForm, kCatalogue), 16));
    EXPECT_EQ(shown(), methods("large_side_drifts"));
    EXPECT_TRUE(visible(kBack));
}

TEST_F(MethodSelectionProgram, AnEntryWithoutStepsHidesTheArrowsAndAStepEntryBringsThemBack)
{
    choose_entry(5); // 中隔壁法(CD工法)
    EXPECT_FALSE(visible(kBack));
    EXPECT_FALSE(visible(kForward));
    EXPECT_TRUE(visible("按钮_向前1"));
    choose_entry(7);
    EXPECT_TRUE(visible(kBack));
    EXPECT_TRUE(visible(kForward));
}

TEST_F(MethodSelectionProgram, NoCurrentEntryChangesOnlyTheTextStyle)
{
    click("图形按钮_计算");
    const std::string summary = text(kText);
    c(kCatalogue).current_index = -1;
    rt.raise(c(kCatalogue), Event::SelectionChanged);
    EXPECT_EQ(text(kText), summary);
    EXPECT_EQ(rt.get(c(kText), prop::EditBox::TextColor).integer(), 0);
    EXPECT_EQ(shown(), methods("start_sketch"));
}

// --- construction steps ----------------------------------------------------------------------------

struct StepEntry {
    int index;
    const char* file;
    int steps;
};
void PrintTo(const StepEntry& s, std::ostream* os) { *os << s.file; }

// The pictures of construction steps 1 to n.
std::vector<std::string> step_pictures(const StepEntry& s)
{
    std::vector<std::string> v;
    if (s.index == 7) return {methods("double_side_drift_steps")};
    for (int k = 1; k <= s.steps; ++k) v.push_back(methods(std::string(s.file) + "_step_" + std::to_string(k)));
    return v;
}

struct StepWalk : MethodSelectionProgram, ::testing::WithParamInterface<StepEntry> {};

TEST_P(StepWalk, RightArrowCountsUpAndLeftArrowCountsDownToTheOverview)
{
    const StepEntry& s = GetParam();
    const std::vector<std::string> steps = step_pictures(s);
    choose_entry(s.index);
    std::vector<std::string> up, down;
    for (size_t k = 0; k <= steps.size(); ++k) {
        click(kForward);
        up.push_back(shown());
    }
    std::vector<std::string> want_up = steps;
    want_up.push_back(methods(s.file));
    EXPECT_EQ(up, want_up);
    for (size_t k = 0; k <= steps.size(); ++k) {
        click(kBack);
        down.push_back(shown());
    }
    std::vector<std::string> want_down(steps.rbegin(), steps.rend());
    want_down.push_back(methods(s.file));
    EXPECT_EQ(down, want_down);
    // A walk begins again from the overview when the entry is chosen again.
    click(kForward);
    choose_entry(s.index);
    EXPECT_EQ(shown(), methods(s.file));
}

INSTANTIATE_TEST_SUITE_P(MethodSelection, StepWalk,
                         ::testing::Values(StepEntry{7, "double_side_drift", 1},
                                           StepEntry{14, "three_drifts_ring_core", 3},
                                           StepEntry{15, "large_middle_drift", 6},
                                           StepEntry{16, "large_side_drifts", 13}, StepEntry{17, "pba", 10},
                                           StepEntry{18, "single_arch_cover", 6},
                                           StepEntry{19, "double_arch_cover", 10}));

TEST_F(MethodSelectionProgram, ArrowsDoNothingBeforeAStepEntryIsShown)
{
    click(kForward);
    click(kBack);
    EXPECT_EQ(shown(), methods("start_sketch"));
    // Nor on an entry without steps, were its hidden arrows pressed.
    choose_entry(0);
    rt.raise(c(kForward), Event::Click);
    rt.raise(c(kBack), Event::Click);
    EXPECT_EQ(shown(), methods("full_face"));
}

TEST_F(MethodSelectionProgram, LeftArrowFromTheOverviewShowsTheLastStepFirst)
{
    choose_entry(14);
    click(kBack);
    EXPECT_EQ(shown(), methods("three_drifts_ring_core_step_3"));
    choose_entry(14);
    click(kForward);
    EXPECT_EQ(shown(), methods("three_drifts_ring_core_step_1"));
}

// --- pictures are told apart by their bytes ------------------------------------------------------

TEST(MethodPictures, EveryPictureIsABlockOfItsOwnAtItsSize)
{
    std::set<Bytes> seen;
    int sequence_pictures = 0;
    auto own = [&](const std::string& path) {
        const Bytes& b = resource(path);
        EXPECT_FALSE(b.empty()) << path;
        EXPECT_TRUE(seen.insert(b).second) << path << " repeats another picture";
    };
    own(methods("start_sketch"));
    for (const method_selection::CatalogueEntry& e : method_selection::catalogue()) {
        if (e.sequence.empty()) own(e.overview);
        for (const std::string& p : e.sequence) {
            own(p);
            ++sequence_pictures;
        }
        if (!e.sequence.empty()) {
            EXPECT_EQ(e.sequence.front(), e.overview);
        }
    }
    EXPECT_EQ(sequence_pictures, 56);

    // Sizes of the construction-step pictures, by entry: the ranges they keep to.
    struct Range {
        const char* file;
        int w0, w1, h0, h1;
    };
    const Range ranges[] = {{"three_drifts_ring_core", 1077, 1079, 672, 674}, {"large_middle_drift", 1220, 1248, 761, 780},
                            {"large_side_drifts", 1077, 1287, 671, 803},    {"pba", 1260, 1280, 787, 798},
                            {"single_arch_cover", 1228, 1322, 765, 823},    {"double_arch_cover", 1254, 1259, 781, 786}};
    for (const method_selection::CatalogueEntry& e : method_selection::catalogue())
        for (const Range& r : ranges) {
            if (e.overview != methods(r.file)) continue;
            for (size_t k = 1; k < e.sequence.size(); ++k) {
                int w = 0, h = 0;
                ASSERT_TRUE(picture_size(resource(e.sequence[k]), &w, &h)) << e.sequence[k];
                EXPECT_TRUE(w >= r.w0 && w <= r.w1 && h >= r.h0 && h <= r.h1) << e.sequence[k] << " " << w << "x" << h;
            }
        }
    int w = 0, h = 0;
    // Of the shape of the form's picture box (527 x 328), which shows it whole.
    ASSERT_TRUE(picture_size(resource(methods("double_side_drift_steps")), &w, &h));
    EXPECT_EQ(w, 834);
    EXPECT_EQ(h, 519);
    ASSERT_TRUE(picture_size(resource(methods("start_sketch")), &w, &h));
    EXPECT_EQ(w, 1079);
    EXPECT_EQ(h, 672);
    ASSERT_TRUE(picture_size(resource(methods("heading")), &w, &h));
    EXPECT_EQ(w, 583);
    EXPECT_EQ(h, 63);
}

// --- the diagram viewer ------------------------------------------------------------------------------

TEST_F(MethodSelectionProgram, DiagramButtonOpensTheViewerThenResizesItWhenOpen)
{
    ASSERT_FALSE(cmd_is_created(U("viewer")));
    choose_entry(16);
    click("按钮_向前1");
    ASSERT_TRUE(cmd_is_created(U("viewer")));
    EXPECT_EQ(viewer_shows(), methods("large_side_drifts"));
    auto size = [&](const std::string& control) {
        Control& u = rt.unit("viewer", control);
        return std::pair(rt.get(u, prop::Width).integer(), rt.get(u, prop::Height).integer());
    };
    EXPECT_EQ(size(""), std::pair(700, 500));
    EXPECT_EQ(size("图片框1"), std::pair(604, 408));
    click("按钮_向前1");
    EXPECT_EQ(size(""), std::pair(614, 418));
    EXPECT_EQ(size("图片框1"), std::pair(604, 408));
}

TEST_F(MethodSelectionProgram, AnOpenViewerFollowsEachChoiceAndStepAndAClosedOneStaysClosed)
{
    click("按钮_向前1");
    EXPECT_EQ(viewer_shows(), methods("start_sketch"));
    choose_entry(19);
    EXPECT_EQ(viewer_shows(), methods("double_arch_cover"));
    click(kForward);
    EXPECT_EQ(viewer_shows(), methods("double_arch_cover_step_1"));
    click(kBack);
    click(kBack);
    EXPECT_EQ(viewer_shows(), methods("double_arch_cover_step_10"));
    // A choice of the catalogue leaves the viewer's size alone.
    rt.set(rt.unit("viewer", ""), prop::Width, 650);
    choose_entry(3);
    EXPECT_EQ(viewer_shows(), methods("ring_core"));
    EXPECT_EQ(rt.get(rt.unit("viewer", ""), prop::Width).integer(), 650);

    cmd_destroy("viewer");
    backend.pump();
    ASSERT_FALSE(cmd_is_created(U("viewer")));
    choose_entry(18);
    click(kForward);
    EXPECT_FALSE(cmd_is_created(U("viewer")));
}

} // namespace

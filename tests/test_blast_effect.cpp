// The blast vibration module in the whole headless program: its form as it
// starts, the three solvers and the verdict as tables of worked cases, the
// refusal of an incomplete input, the modes, the compute frame, the lookup
// and the three reports.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "modules/blasting/blast_effect.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/value.h"
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

constexpr const char* kForm = "BlastEffect";
constexpr const char* Q = "编辑框5_炸药总量";
constexpr const char* K = "编辑框5_系数K";
constexpr const char* A = "编辑框5_衰减系数";
constexpr const char* R = "编辑框5_距离R";
constexpr const char* V = "编辑框5_振动速度";
constexpr const char* Range = "编辑框5_规范临界值";
constexpr const char* Verdict = "编辑框13_评价结果";
constexpr const char* Category = "组合框5";
constexpr const char* ByVelocity = "单选框1_振动";
constexpr const char* ByDistance = "单选框1_距离";
constexpr const char* ByCharge = "单选框1_炸药总量";

const std::string kPasses = "\r\n振速符合要求，验算通过！";
const std::string kExceeds = "超过爆破临界值，不符合要求！请降低一次起爆炸药总重量或采取分段起爆，重新计算";
constexpr int kGreen = 0x00FF00, kRed = 0x0000FF;

// The status line is 标签2; each message box also notes the status caption
// it was shown over.
struct BlastEffectProgram : testsupport::ModuleProgram {
    std::vector<std::string> status_at_message;

    BlastEffectProgram() : ModuleProgram(kForm)
    {
        backend.status_label = "标签2";
        backend.record_compute_button = true;
        backend.record_lamp = true;
        backend.on_message = [this](const std::string&) {
            if (rt.form(kForm)) status_at_message.push_back(rt.unit(kForm, "标签2").text);
        };
    }

    using ModuleProgram::prop_of;
    int prop_of(const std::string& name, int p, int member) { return rt.get(c(name), p, member).integer(); }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    void compute() { click("图形按钮_计算"); }
    // Usable inputs of the starting case in every box the mode reads.
    void type_starting_inputs()
    {
        for (const auto& [box, value] : {std::pair{Q, "120"}, {R, "25"}, {V, "9.73"}, {K, "250"}, {A, "2.0"}})
            if (prop_of(box, prop::EditBox::InputMode) != 1) type(box, value);
    }
    // `output` is styled as the solved value, the other two of Q, R and V as inputs.
    void expect_styles(const char* output)
    {
        for (const char* b : {Q, R, V}) {
            const bool out = std::string(b) == output;
            EXPECT_EQ(prop_of(b, prop::EditBox::BackColor), out ? 0x808080 : 0xFFFFFF) << b;
            EXPECT_EQ(prop_of(b, prop::EditBox::InputMode), out ? 1 : 10) << b;
            EXPECT_EQ(rt.get(c(b), prop::EditBox::Font, prop::FontMember::Face).text(), out ? "华文细黑" : "宋体") << b;
            EXPECT_EQ(prop_of(b, prop::EditBox::Font, prop::FontMember::Size), out ? 10 : 9) << b;
        }
    }
    int verdict_color() { return prop_of(Verdict, prop::EditBox::TextColor); }
    int verdict_back() { return prop_of(Verdict, prop::EditBox::BackColor); }
};

// --- the form as it starts ----------------------------------------------------------------

TEST_F(BlastEffectProgram, StartsInItsFrameInVelocityModeWithThreeTips)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_爆破影响"));
    EXPECT_EQ(prop_of("", prop::Left), 2);
    EXPECT_EQ(prop_of("", prop::Top), 2);
    EXPECT_EQ(prop_of("", prop::Width), cmd_client_width(U("main", "外形框1_爆破影响")));
    EXPECT_EQ(prop_of("", prop::Height), cmd_client_height(U("main", "外形框1_爆破影响")));
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    const std::pair<const char*, const char*> texts[] = {
        {Category, "交通隧道"}, {Range, "≤12～15cm/s"}, {K, "250"}, {A, "2.0"}, {Q, "120"}, {R, "25"}, {V, "-"},
        {Verdict, ""}, {"标签2", "方案导出需要Word2007以上版本！"}, {"标签18", "爆破影响计算及评价"},
        {"标签4", "参数录入"}, {"标签3", "根据已知参数进行选择计算"}, {"标签1", "计算结果评价（cm/s）"}, {"按钮1", "查表"},
        {ByCharge, "单次起爆炸药总重量Qmax（kg）"}, {ByDistance, "自爆源到被保护建筑或构筑物的距离R（m）"},
        {ByVelocity, "安全允许质点振动速度值Vkp(cm/s)"},
    };
    for (const auto& [name, want] : texts) EXPECT_EQ(text(name), want) << name;
    EXPECT_EQ(prop_of(Category, prop::ComboBox::CurrentIndex), 6);
    EXPECT_EQ(c(Category).items.size(), blast_effect::building_categories().size());
    for (size_t i = 0; i < c(Category).items.size(); ++i)
        EXPECT_EQ(c(Category).items[i], blast_effect::building_categories()[i].item) << i;
    EXPECT_TRUE(rt.get(c(ByVelocity), prop::RadioBox::Checked).truth());
    EXPECT_FALSE(rt.get(c(ByDistance), prop::RadioBox::Checked).truth());
    EXPECT_FALSE(rt.get(c(ByCharge), prop::RadioBox::Checked).truth());
    for (const char* in : {K, A, Q, R}) EXPECT_EQ(prop_of(in, prop::EditBox::InputMode), 10) << in;
    for (const char* grey : {Verdict, Range}) EXPECT_EQ(prop_of(grey, prop::EditBox::BackColor), 0xC0C0C0) << grey;
    EXPECT_EQ(prop_of(Verdict, prop::EditBox::InputMode), 1);
    // The velocity mode's output from the start: nothing typed there stands
    // beside a result.
    expect_styles(V);
    compute();
    type(V, "30");
    EXPECT_EQ(text(V), "9.732");
    EXPECT_EQ(results_state(kForm), Runtime::Results::Current);

    std::vector<std::string> labels;
    for (const auto& ctl : rt.form(kForm)->controls)
        if (ctl->kind == Kind::Label) labels.push_back(ctl->text);
    for (const char* caption :
         {"影响的建筑物类别", "规定安全允许质点振动速度范围Vkp(cm/s)", "与岩石性质、地势高低、爆破方法和爆破条件有关的系数K(cm/s)",
          "坚硬岩石50~150；中硬岩石150~250；软岩石250~350；", "爆破地振波随距离衰减指数α",
          "坚硬岩石1.3~1.5；中硬岩石1.5~1.8；软岩石1.8~2.0"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), caption), labels.end()) << caption;

    const auto& tips = c("气球提示框1").tips;
    const std::map<std::string, std::string> want_tips = {
        {K, "坚硬岩石50~150；中硬岩石150~250；软岩石250~350；"},
        {A, "坚硬岩石1.3~1.5；中硬岩石1.5~1.8；软岩石1.8~2.0；"},
        {Q, "齐发爆破按总装药量计算，分段爆破按最大一段药量计算"},
    };
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;

    EXPECT_EQ(picture(kForm, "图片框2"), "resources/pictures/blasting/effect_diagram.png");
    int w = 0, h = 0;
    ASSERT_TRUE(picture_size(resource("resources/pictures/blasting/effect_diagram.png"), &w, &h));
    // Drawn at the size of its box, so the form shows it as drawn.
    EXPECT_EQ(w, c("图片框2").width);
    EXPECT_EQ(h, c("图片框2").height);
}

// --- worked figures ---------------------------------------------------------------------

struct Step {
    enum Kind { Type, Paste, Choose, Click } kind;
    const char* control;
    const char* value = "";
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::pair<const char*, std::string>> shown; // after one compute click
    int verdict_color = -1;                                 // -1: the verdict box keeps its colours
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct Figures : BlastEffectProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(Figures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.kind == Step::Type) type(s.control, s.value);
        else if (s.kind == Step::Paste) paste(s.control, s.value);
        else if (s.kind == Step::Choose) choose(s.control, s.value);
        else click(s.control);
    }
    const int color_before = verdict_color(), back_before = verdict_back();
    compute();
    for (const auto& [box, want] : fc.shown) EXPECT_EQ(text(box), want) << box;
    if (fc.verdict_color < 0) {
        EXPECT_EQ(verdict_color(), color_before);
        EXPECT_EQ(verdict_back(), back_before);
    } else {
        EXPECT_EQ(verdict_color(), fc.verdict_color);
        EXPECT_EQ(verdict_back(), 0x000000);
    }
    EXPECT_TRUE(backend.messages.empty());
}

// K = limit, Q = R = α = 1 makes V the limit itself.
std::vector<Step> velocity_of(const char* k) { return {{Step::Type, Q, "1"}, {Step::Type, R, "1"}, {Step::Type, A, "1"}, {Step::Type, K, k}}; }

INSTANTIATE_TEST_SUITE_P(
    BlastEffect, Figures,
    ::testing::Values(
        // 250·(120^(1/3)/25)^2 = 9.7315…, within 15 cm/s of a traffic tunnel.
        FigureCase{"starting velocity", {}, {{V, "9.732"}, {Verdict, kPasses}, {Q, "120"}, {R, "25"}}, kGreen},
        FigureCase{"velocity over a dwelling's limit", {{Step::Choose, Category, "一般民用建筑物"}},
                   {{V, "9.732"}, {Verdict, kExceeds}, {Range, "2.0～2.5 cm/s"}}, kRed},
        // The limit itself passes, a thousandth more exceeds.
        FigureCase{"velocity at the limit", velocity_of("15"), {{V, "15"}, {Verdict, kPasses}}, kGreen},
        FigureCase{"velocity just over the limit", velocity_of("15.001"), {{V, "15.001"}, {Verdict, kExceeds}}, kRed},
        // Where V is an input it starts as the category's check value, the
        // upper end of its range, and binds like the velocity solved for.
        // Q 120, V 15: R = 20.1365…
        FigureCase{"distance at a tunnel's limit", {{Step::Click, ByDistance}},
                   {{R, "20.14"}, {Q, "120"}, {V, "15"}, {Verdict, kPasses}}, kGreen},
        // R 25, V 15: Q = 229.6397…, an allowed charge: printed down.
        FigureCase{"charge at a tunnel's limit", {{Step::Click, ByCharge}},
                   {{Q, "229.63"}, {R, "25"}, {V, "15"}, {Verdict, kPasses}}, kGreen},
        // R 25, V 0.3: Q = 15625·0.0012^1.5 = 0.6495…, printed down to three
        // figures; Q 120: R = 142.386…, up. V follows the category chosen
        // before or after the mode.
        FigureCase{"charge for an old building", {{Step::Choose, Category, "一般古建筑与古迹"}, {Step::Click, ByCharge}},
                   {{Q, "0.649"}, {V, "0.3"}, {Verdict, kPasses}}, kGreen},
        FigureCase{"distance for an old building", {{Step::Click, ByDistance}, {Step::Choose, Category, "一般古建筑与古迹"}},
                   {{R, "142.39"}, {V, "0.3"}, {Verdict, kPasses}}, kGreen},
        // A typed V above the object's limit gives its charge and distance with
        // the failing verdict: R 25, V 9.73 gives Q = 119.9718…, Q 120 gives
        // R = 25.00195…, a minimum distance: printed up.
        FigureCase{"charge from a velocity over an old building's limit",
                   {{Step::Choose, Category, "一般古建筑与古迹"}, {Step::Click, ByCharge}, {Step::Type, V, "9.73"}},
                   {{Q, "119.97"}, {V, "9.73"}, {Verdict, kExceeds}}, kRed},
        FigureCase{"distance from a velocity over an old building's limit",
                   {{Step::Choose, Category, "一般古建筑与古迹"}, {Step::Click, ByDistance}, {Step::Type, V, "9.73"}},
                   {{R, "25.01"}, {Verdict, kExceeds}}, kRed},
        FigureCase{"charge for a hard rock", {{Step::Click, ByCharge}, {Step::Type, K, "100"}, {Step::Type, A, "1.5"}},
                   {{Q, "351.56"}}, kGreen},
        // 120^(1/3)·(250/2.5)^(1/2) = 49.324…
        FigureCase{"distance for a lower velocity", {{Step::Click, ByDistance}, {Step::Type, V, "2.5"}}, {{R, "49.33"}}, kGreen},
        // α 3: Q = R³·V/K = 1000·5/9 = 555.555…, not 555.56.
        FigureCase{"charge rounded down",
                   {{Step::Click, ByCharge}, {Step::Type, K, "9"}, {Step::Type, A, "3"}, {Step::Type, R, "10"}, {Step::Type, V, "5"}},
                   {{Q, "555.55"}}, kGreen},
        // A published worked example: K 120, α 2.0, a relic's 0.5 cm/s at
        // 25 m allow 15625·(0.5/120)^1.5 = 4.2025 kg.
        FigureCase{"charge of a published example",
                   {{Step::Click, ByCharge}, {Step::Type, K, "120"}, {Step::Type, A, "2"}, {Step::Type, V, "0.5"}},
                   {{Q, "4.2"}}, kGreen},
        // α 1: R = Q^(1/3)·K/V = 1/3 m, up to three figures.
        FigureCase{"short distance rounded up",
                   {{Step::Click, ByDistance}, {Step::Type, K, "1"}, {Step::Type, A, "1"}, {Step::Type, Q, "1"}, {Step::Type, V, "3"}},
                   {{R, "0.334"}}, kGreen},
        // A velocity beyond the number range shows "-" and gets the failing verdict.
        FigureCase{"velocity beyond the number range", {{Step::Type, R, "1"}, {Step::Type, A, "1000"}},
                   {{V, "-"}, {Verdict, kExceeds}}, kRed},
        FigureCase{"distance beyond the number range", {{Step::Click, ByDistance}, {Step::Paste, V, "1e-300"}, {Step::Type, A, "0.001"}},
                   {{R, "-"}}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST_F(BlastEffectProgram, EveryCategoryJudgesByTheUpperEndOfItsRange)
{
    for (const auto& s : velocity_of("1")) type(s.control, s.value);
    for (const blast_effect::BuildingCategory& cat : blast_effect::building_categories()) {
        SCOPED_TRACE(cat.item);
        choose(Category, cat.item);
        EXPECT_EQ(text(Range), cat.range);
        type(K, number_to_text(cat.limit));
        compute();
        EXPECT_EQ(text(Verdict), kPasses);
        EXPECT_EQ(verdict_color(), kGreen);
        type(K, number_to_text(cat.limit + 0.001));
        compute();
        EXPECT_EQ(text(Verdict), kExceeds);
        EXPECT_EQ(verdict_color(), kRed);
    }
}

TEST_F(BlastEffectProgram, AVelocityThatIsNoNumberDoesNotLeaveAnEarlierPassStanding)
{
    compute();
    ASSERT_EQ(text(Verdict), kPasses);
    type(R, "1");
    type(A, "1000"); // 4.93^1000 has no double
    compute();
    EXPECT_EQ(text(V), "-");
    EXPECT_EQ(text(Verdict), kExceeds);
    EXPECT_EQ(verdict_color(), kRed);
}

TEST_F(BlastEffectProgram, ChoosingACategoryWritesOnlyItsRange)
{
    compute();
    const auto before = shown_texts();
    choose(Category, "矿山巷道");
    auto after = shown_texts();
    EXPECT_EQ(after[Range], "≤18～25cm/s");
    // The verdict was on the limit of the other category: it goes with it.
    EXPECT_EQ(after[Verdict], "-");
    EXPECT_EQ(verdict_color(), 0x000000);
    EXPECT_EQ(verdict_back(), 0xC0C0C0);
    after[Range] = before.at(Range);
    after[Category] = before.at(Category);
    after[Verdict] = before.at(Verdict);
    EXPECT_EQ(after, before) << "the figures wait for the next calculation";

    // An item the table does not name writes nothing, and judges nothing.
    cmd_combo_add_item(U(kForm, Category), "其他建筑物");
    choose(Category, "其他建筑物");
    EXPECT_EQ(text(Range), "≤18～25cm/s");
    choose(Category, "一般古建筑与古迹");
    compute();
    ASSERT_EQ(text(Verdict), kExceeds);
    choose(Category, "其他建筑物");
    type(K, "1");
    compute();
    EXPECT_EQ(text(V), "0.039");
    // No limit to judge by: no verdict, and none left from before.
    EXPECT_EQ(text(Verdict), "-");
    EXPECT_EQ(verdict_color(), 0x000000);
    EXPECT_EQ(verdict_back(), 0xC0C0C0);
}

// The limit box shows the chosen category's range and takes no typing: the
// verdict and the report use the category's limit, never a typed one.
TEST_F(BlastEffectProgram, TheLimitBoxIsReadOnlyAndFollowsTheCategory)
{
    EXPECT_EQ(prop_of(Range, prop::EditBox::InputMode), 1);
    type(Range, "≤5cm/s");
    EXPECT_EQ(text(Range), "≤12～15cm/s");
    choose(Category, "一般古建筑与古迹");
    EXPECT_EQ(text(Range), "≤0.2～0.3cm/s");
    compute();
    EXPECT_EQ(text(Verdict), kExceeds);
}

// --- the refusal --------------------------------------------------------------------------

// Texts that give no positive quantity, each as the user leaves it in the
// box: typed and left ("" and "-" are what a left box shows for 0 and for a
// number beyond the range), or still in the box.
struct Unusable {
    const char* what;
    std::string text;
    bool left;
    const char* told; // after the box's name, on the status line
};
const std::string kBeyond = "1" + std::string(309, '0'); // 1e309, typed digit by digit
const Unusable kUnusable[] = {
    {"empty", "", true, "未填写"},
    {"zero typed and left", "0", true, "未填写"},
    {"zero in the box", "0", false, "须为大于0的数"},
    {"negative", "-60", true, "须为大于0的数"},
    {"beyond the number range, left", kBeyond, true, "不是一个数"},
    {"beyond the number range, in the box", kBeyond, false, "超出数值范围"},
    {"no number", "abc", false, "未填写"}, // a number box takes no letters
    {"minus zero", "-0", false, "须为大于0的数"},
    {"mistyped number, left", "2..5", true, "不是一个数"},
};

// Every input a mode uses refuses each unusable text: the message, and the
// value it would have computed and the verdict back to "-" in the form's
// starting colours, so no earlier result stands beside the new inputs, and
// the calculation leaves nothing to export.
TEST_F(BlastEffectProgram, AnUnusableInputStopsTheSolverOfEveryMode)
{
    const struct {
        const char* mode;
        const char* output;
        std::vector<const char*> inputs;
    } modes[] = {
        {ByVelocity, V, {Q, K, R, A}},
        {ByDistance, R, {A, K, Q, V}},
        {ByCharge, Q, {A, K, R, V}},
    };
    for (const auto& m : modes)
        for (const char* input : m.inputs)
            for (const Unusable& u : kUnusable) {
                SCOPED_TRACE(std::string(m.mode) + ", " + input + ": " + u.what);
                click(m.mode);
                type_starting_inputs();
                compute(); // a result and a verdict
                ASSERT_NE(text(m.output), "-");
                if (u.left) type(input, u.text);
                else rt.user_type(c(input), u.text);
                auto want = shown_texts();
                want[m.output] = "-";
                want[Verdict] = "-";
                want["标签2"] = rt.input_name(c(input)) + u.told;
                backend.messages.clear();
                compute();
                ASSERT_EQ(backend.messages.size(), 1u);
                EXPECT_EQ(backend.messages[0].caption, "错误");
                EXPECT_EQ(backend.messages[0].text, "参数输入不完整，请查证！");
                EXPECT_EQ(backend.messages[0].style, 0);
                EXPECT_EQ(shown_texts(), want);
                EXPECT_EQ(verdict_color(), 0x000000);
                EXPECT_EQ(verdict_back(), 0xC0C0C0);
                EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
                EXPECT_EQ(results_state(kForm), Runtime::Results::Refused) << "nothing to export";
            }
}

// The cases that used to pass: each is refused and leaves no green verdict.
TEST_F(BlastEffectProgram, InputsThatOncePassedAreRefused)
{
    const struct {
        const char* name;
        const char* mode;
        std::vector<std::pair<const char*, std::string>> typed;
    } cases[] = {
        {"a negative distance for a charge", ByCharge, {{R, "-60"}}},
        {"K of -1", ByVelocity, {{K, "-1"}}},
        {"K of 0", ByVelocity, {{K, "0"}}},
        {"no charge", ByVelocity, {{Q, "0"}}},
        {"an exponent of 1e309", ByVelocity, {{A, kBeyond}}},
        {"a charge too large for a number", ByVelocity, {{Q, kBeyond}}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        click(k.mode);
        type_starting_inputs();
        compute();
        for (const auto& [box, value] : k.typed) type(box, value);
        backend.messages.clear();
        compute();
        ASSERT_EQ(backend.messages.size(), 1u);
        EXPECT_EQ(backend.messages[0].text, "参数输入不完整，请查证！");
        EXPECT_EQ(text(Verdict), "-");
        EXPECT_NE(verdict_color(), kGreen);
        EXPECT_EQ(text(k.mode == ByCharge ? Q : V), "-");
    }
}

TEST_F(BlastEffectProgram, ZeroTypedIntoANumberBoxLeavesItEmptyAndIsRefused)
{
    type(A, "0"); // leaving the box rewrites 0 as the empty text
    EXPECT_EQ(text(A), "");
    compute();
    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "参数输入不完整，请查证！");
    EXPECT_EQ(text(V), "-");
}

// --- modes --------------------------------------------------------------------------------

// A mode change makes the solved box the output and keeps every input as
// typed; the verdict and the results belong to the mode they were worked in.
TEST_F(BlastEffectProgram, ModesKeepWhatWasTyped)
{
    type(Q, "50");
    type(R, "40");
    type(K, "150");
    compute();
    ASSERT_EQ(text(Verdict), kPasses);

    // The mode already shown: nothing changes, the results stay current.
    const auto before = shown_texts();
    click(ByVelocity);
    EXPECT_EQ(shown_texts(), before);
    EXPECT_EQ(verdict_color(), kGreen);
    EXPECT_EQ(results_state(kForm), Runtime::Results::Current);

    const struct {
        const char* step;
        std::function<void()> act;
        const char* output;
        const char *q, *r, *v;
    } steps[] = {
        // V starts as the tunnel's check value, and follows the category ...
        {"charge mode", [&] { click(ByCharge); }, Q, "-", "40", "15"},
        {"an old building", [&] { choose(Category, "一般古建筑与古迹"); }, Q, "-", "40", "0.3"},
        // ... until a V is typed.
        {"a typed V", [&] { type(V, "0.25"); choose(Category, "交通隧道"); }, Q, "-", "40", "0.25"},
        {"distance mode", [&] { click(ByDistance); }, R, "50", "-", "0.25"},
        {"velocity mode", [&] { click(ByVelocity); }, V, "50", "40", "-"},
        {"charge mode again", [&] { click(ByCharge); }, Q, "-", "40", "0.25"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        s.act();
        EXPECT_EQ(text(Q), s.q);
        EXPECT_EQ(text(R), s.r);
        EXPECT_EQ(text(V), s.v);
        expect_styles(s.output);
        EXPECT_EQ(text(K), "150");
        EXPECT_EQ(text(A), "2.0");
    }

    // A change of mode takes the verdict and the results with it, even when
    // it comes back to the mode they were worked in.
    compute();
    ASSERT_EQ(text(Q), "4.35"); // 40³·(0.25/150)^1.5
    ASSERT_EQ(verdict_color(), kGreen);
    click(ByDistance);
    click(ByCharge);
    EXPECT_EQ(text(Q), "-");
    EXPECT_EQ(text(Verdict), "-");
    EXPECT_EQ(verdict_color(), 0x000000);
    EXPECT_EQ(verdict_back(), 0xC0C0C0);
    EXPECT_EQ(results_state(kForm), Runtime::Results::Stale);
}

// --- compute frame and lookup ---------------------------------------------------------------

TEST_F(BlastEffectProgram, ComputeKeepsTheLampIdleAndPressesOnlyAroundTheSolver)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    rt.set(rt.unit("main", "图片框1_呼吸灯"), prop::PicBox::Picture, Blob{resource(app::res::lamp_busy)});
    backend.sounds.clear();
    backend.trail.clear();
    compute();
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<lamp idle>", "<pressed>", "<normal>", "<lamp idle>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));

    // A refused calculation has the same frame.
    type(K, "");
    backend.trail.clear();
    compute();
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<lamp idle>", "<pressed>", "<normal>", "<lamp idle>", "系数K未填写"}));
}

TEST_F(BlastEffectProgram, LookupShowsTheVelocityLimitsOnly)
{
    const auto before = shown_texts();
    click("按钮1");
    ASSERT_NE(rt.form("popup"), nullptr);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/blasting/effect_velocity_limits.png");
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 900);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 1000);
    int w = 0, h = 0;
    ASSERT_TRUE(picture_size(resource("resources/pictures/blasting/effect_velocity_limits.png"), &w, &h));
    EXPECT_EQ(w, 953);
    EXPECT_EQ(h, 1127);
    EXPECT_EQ(shown_texts(), before);
}

// --- the reports -----------------------------------------------------------------------

struct ModeReport {
    const char* radio;
    const char* file;
    const char* title;
    std::vector<std::string> shown;  // texts the filled report carries
    const char* category = nullptr;  // chosen before the mode
    const char* velocity = nullptr;  // typed after it
    std::vector<std::string> absent = {};
};
void PrintTo(const ModeReport& r, std::ostream* os) { *os << r.file; }

struct Reports : BlastEffectProgram, ::testing::WithParamInterface<ModeReport> {
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_P(Reports, TheModesReportIsFilledCountingDownFromTenToZero)
{
    const ModeReport& m = GetParam();
    if (m.category) choose(Category, m.category);
    click(m.radio);
    if (m.velocity) type(V, m.velocity);
    type(K, "200");
    compute();
    backend.trail.clear();
    status_at_message.clear();
    export_ok();

    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.messages[1].text, "自动生成计算书成功！");
    EXPECT_EQ(backend.messages[1].caption, "信息：");
    // The completion text stands while the success message is up.
    EXPECT_EQ(status_at_message.back(), "下载完成  ");
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{m.file});

    const std::string doc = report_text(folder / "导出的方案" / m.file);
    EXPECT_NE(doc.find(m.title), std::string::npos) << m.title;
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]+_"))) << "unreplaced: " << left.str() << "…";
    for (const std::string& s : m.shown) EXPECT_NE(doc.find(s), std::string::npos) << s;
    for (const std::string& s : m.absent) EXPECT_EQ(doc.find(s), std::string::npos) << s;

    std::vector<std::string> marks;
    int progress = 0;
    for (const std::string& t : backend.trail) {
        if (t.rfind("已导出 ", 0) == 0) {
            ++progress;
            continue;
        }
        if (t[0] == '<') continue;
        marks.push_back(t);
    }
    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", "方案导出准备中……"};
    for (int n = 9; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    want.insert(want.end(), {"下载完成  ", "方案导出需要Word2007以上版本！", "[10]"});
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    const auto done = std::find(backend.trail.begin(), backend.trail.end(), "下载完成  ");
    ASSERT_NE(done, backend.trail.begin());
    EXPECT_EQ(*std::prev(done), "已导出 100%  ");
    EXPECT_EQ(backend.opened.size(), 1u);
    expect_restored_after_export();
}

INSTANTIATE_TEST_SUITE_P(
    BlastEffect, Reports,
    ::testing::Values(
        // K 200: V = 200·(120^(1/3)/25)^2.0 = 7.785 (fractions read numerator, denominator).
        // The velocity names the protected object and the limit it was judged
        // against; each result shows where rounding happened.
        ModeReport{ByVelocity, "爆破影响振速计算.doc", "爆破影响方案",
                   {"V=200×(1201/325)2.0≈7.785cm/s",
                    "被保护对象为交通隧道，按《爆破安全规程》（GB 6722-2014），其安全允许质点振动速度为 ≤12～15cm/s，验算取其上限 [V] = 15 cm/s。",
                    "V = 7.785 cm/s ≤ [V] = 15 cm/s，评价结果：振速符合要求，验算通过！"}},
        // The charge and distance name the object and the limit their V is
        // judged against: 15 cm/s of a traffic tunnel, which V starts at.
        ModeReport{ByDistance, "爆破影响距离计算.doc", "爆破影响距离计算",
                   {"R=1201/3×(20015)12.0≈18.02m",
                    "被保护对象为交通隧道，按《爆破安全规程》（GB 6722-2014），其安全允许质点振动速度为 ≤12～15cm/s，验算取其上限 [V] = 15 cm/s。",
                    "计算所取质点振动速度 V = 15 cm/s ≤ [V] = 15 cm/s，评价结果：振速符合要求，验算通过！",
                    "不应小于 18.02 m"}},
        ModeReport{ByCharge, "爆破影响炸药量计算.doc", "爆破影响单段最大炸药量计算",
                   {"Q=253×(15200)32.0≈320.93kg", "被保护对象为交通隧道", "V = 15 cm/s ≤ [V] = 15 cm/s",
                    "不应大于 320.93 kg"}},
        // A typed V over an old building's 0.3 cm/s: the figures with the
        // failing verdict, and no allowed charge or distance.
        ModeReport{ByCharge, "爆破影响炸药量计算.doc", "爆破影响单段最大炸药量计算",
                   {"Q=253×(9.73200)32.0≈167.66kg",
                    "被保护对象为一般古建筑与古迹，按《爆破安全规程》（GB 6722-2014），其安全允许质点振动速度为 ≤0.2～0.3cm/s，验算取其上限 [V] = 0.3 cm/s。",
                    "V = 9.73 cm/s > [V] = 0.3 cm/s，评价结果：超过爆破临界值",
                    "计算所取振速超过保护对象的安全允许振速 [V] = 0.3 cm/s，上述药量不能作为单段（一次）最大允许起爆药量"},
                   "一般古建筑与古迹", "9.73", {"起爆药量不应大于", "保护对象所在地安全允许质点振动速度（cm/s）"}},
        ModeReport{ByDistance, "爆破影响距离计算.doc", "爆破影响距离计算",
                   {"R=1201/3×(2009.73)12.0≈22.37m", "V = 9.73 cm/s > [V] = 0.3 cm/s",
                    "计算所取振速超过保护对象的安全允许振速 [V] = 0.3 cm/s，上述距离不能作为爆破振动安全允许距离"},
                   "一般古建筑与古迹", "9.73", {"距离不应小于"}}),
    [](const ::testing::TestParamInfo<ModeReport>& i) { return "mode" + std::to_string(i.index); });

// Nothing calculated, a changed input or choice, a refused calculation or a
// velocity beyond the number range: no report is written. Typed and undone,
// an input makes the results current again.
TEST_F(Reports, OnlyTheResultsOfTheInputsShownAreExported)
{
    const fs::path report = folder / "导出的方案" / "爆破影响振速计算.doc";
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(report));

    compute();
    ASSERT_EQ(text(Verdict), kPasses);
    const struct {
        const char* what;
        std::function<void()> change, undo;
    } changes[] = {
        {"the charge", [&] { type(Q, "130"); }, [&] { type(Q, "120"); }},
        {"the category", [&] { choose(Category, "一般民用建筑物"); }, [&] { choose(Category, "交通隧道"); }},
        {"the mode", [&] { click(ByCharge); }, [&] { click(ByVelocity); }},
    };
    for (const auto& ch : changes) {
        SCOPED_TRACE(ch.what);
        ch.change();
        export_ok();
        EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
        EXPECT_FALSE(fs::exists(report));
        ch.undo();
        compute();
    }
    // Typed and typed back: the verdict went with the change, and the
    // results with the verdict; the next calculation gives both back.
    type(Q, "130");
    type(Q, "120");
    EXPECT_EQ(text(Verdict), "-");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    compute();
    export_ok();
    ASSERT_EQ(backend.messages.back().text, "自动生成计算书成功！");
    EXPECT_NE(report_text(report).find("V=250×(1201/325)2.0≈9.732cm/s"), std::string::npos);
    fs::remove(report);

    // Pass, empty K, raise the charge to 5000 kg, compute: refused.
    type(K, "");
    type(Q, "5000");
    compute();
    ASSERT_EQ(backend.messages.back().text, "参数输入不完整，请查证！");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(report));

    // A velocity beyond the number range has no figure to report.
    type(K, "250");
    type(R, "1");
    type(A, "1000");
    compute();
    ASSERT_EQ(text(V), "-");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(report));
}

// The velocity is judged as worked out, not as its box rounds it: 0.00044
// cm/s, which three decimals round to 0, passes and is reported; 15.0004,
// shown as 15, exceeds 15, and the report states the figure judged.
TEST_F(Reports, TheVelocityIsJudgedAsWorkedOut)
{
    const struct {
        const char *k, *a, *q, *r;
        std::string verdict;
        int color;
        const char* line; // the report's verdict line
    } rows[] = {
        // 150·(2^(1/3)/1500)^1.8 = 0.000437…
        {"150", "1.8", "2", "1500", kPasses, kGreen, "cm/s ≤ [V] = 15 cm/s，评价结果：振速符合要求，验算通过！"},
        {"15.0004", "1", "1", "1", kExceeds, kRed, "V ≈ 15.0004 cm/s > [V] = 15 cm/s，评价结果：超过爆破临界值"},
    };
    const fs::path report = folder / "导出的方案" / "爆破影响振速计算.doc";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.k);
        type(K, row.k);
        type(A, row.a);
        type(Q, row.q);
        type(R, row.r);
        compute();
        EXPECT_EQ(text(Verdict), row.verdict);
        EXPECT_EQ(verdict_color(), row.color);
        export_ok();
        ASSERT_EQ(backend.messages.back().text, "自动生成计算书成功！");
        EXPECT_NE(report_text(report).find(row.line), std::string::npos) << row.line;
        fs::remove(report);
    }
    EXPECT_EQ(text(V), "15");
    // The box shows what the number writer makes of 0.000437… at three
    // decimals: two significant digits where it gives a positive result too
    // small for them so (0.00044), until then 0.
    ui::write_rounded(U(kForm, Verdict), 0.000437, 3);
    const bool two_digits = text(Verdict) == "0.00044";
    for (const auto& [box, value] : {std::pair{K, "150"}, {A, "1.8"}, {Q, "2"}, {R, "1500"}}) type(box, value);
    compute();
    EXPECT_EQ(text(V), two_digits ? "0.00044" : "0");
    export_ok();
    EXPECT_NE(report_text(report).find(two_digits ? "V = 0.00044 cm/s ≤" : "V = 0 cm/s ≤"), std::string::npos);
}

TEST_F(Reports, CancelWritesNothing)
{
    compute();
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(text("标签2"), "方案导出需要Word2007以上版本！");
}

TEST(BlastEffectTemplates, NoPlaceholderStandsMoreOftenThanTheExportReplacesIt)
{
    const report::ExportRequest r = blast_effect::export_request();
    ASSERT_EQ(r.templates.size(), 3u);
    for (const report::TemplateChoice& t : r.templates) {
        SCOPED_TRACE(t.template_path);
        const Bytes& docx = resource(t.template_path);
        ASSERT_FALSE(docx.empty());
        const fs::path tmp = fs::temp_directory_path() / ("jsb-effect-tpl-" + std::to_string(::getpid()) + ".docx");
        ASSERT_TRUE(cmd_write_file(tmp.string(), docx));
        const std::string doc = report_text(tmp);
        fs::remove(tmp);
        int found = 0;
        for (const report::PlaceholderBinding& b : r.bindings) {
            size_t n = 0;
            for (size_t at = doc.find(b.placeholder); at != std::string::npos; at = doc.find(b.placeholder, at + 1)) ++n;
            EXPECT_LE(n, 2u) << b.placeholder;
            EXPECT_LE(int(n), b.repeat) << b.placeholder;
            found += n > 0;
        }
        EXPECT_GE(found, 5);
    }
}

} // namespace

// The form runtime on the headless backend: what property writes raise,
// numeric boxes, lists, radio groups, focus, timers, pictures and sounds.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/headless/scenario.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>

using namespace ui;
using nlohmann::json;

namespace {

json test_form()
{
    return json::parse(R"({
      "name": "t", "width": 300, "height": 200,
      "controls": [
        {"kind": "EditBox", "name": "甲", "input_mode": 10, "events": {"ContentChanged": "log", "LostFocus": "log"}},
        {"kind": "EditBox", "name": "乙", "events": {"ContentChanged": "log"}},
        {"kind": "EditBox", "name": "单", "input_mode": 9, "events": {"ContentChanged": "log"}},
        {"kind": "ComboBox", "name": "组合", "items": ["a", "b", "c"], "index": 0, "events": {"SelectionChanged": "log"}},
        {"kind": "ChkListBox", "name": "清单", "items": ["x", "y", "z"], "events": {"SelectionChanged": "log"}},
        {"kind": "RadioBox", "name": "r1", "checked": true},
        {"kind": "RadioBox", "name": "r2"},
        {"kind": "RadioBox", "name": "r3", "group": "g"},
        {"kind": "Tab", "name": "页", "pages": ["p0", "p1"], "events": {"PageChanged": "log"}},
        {"kind": "ProcessBar", "name": "条"},
        {"kind": "CheckBox", "name": "勾", "events": {"Click": "log"}},
        {"kind": "Timer", "name": "钟", "interval": 100, "events": {"Tick": "log"}},
        {"kind": "BarChart", "name": "图"}
      ]})");
}

struct RuntimeTest : ::testing::Test {
    HeadlessBackend backend;
    Runtime rt{backend};
    std::vector<std::string> log;

    void SetUp() override
    {
        backend.attach(rt);
        rt.register_handler("log", [this](EventArgs& a) {
            log.push_back(std::string(event_name(a.event)) + " " + a.control->name + " " + a.control->text);
        });
        rt.add_definition("t", test_form());
        ASSERT_NE(rt.load_form("t", nullptr, false), nullptr);
    }
    Control& c(const std::string& name) { return rt.unit("t", name); }
};

TEST_F(RuntimeTest, ContentWriteRaisesOnceEvenForTheSameTextAndNests)
{
    // A handler of 甲 that writes 乙 runs 乙's handler inside the write.
    rt.register_handler("derive", [this](EventArgs&) {
        rt_set_property(U("t", "乙"), prop::EditBox::Content, "from 甲");
        log.push_back("derive done");
    });
    c("甲").events[Event::ContentChanged] = "derive";
    rt_set_property(U("t", "甲"), prop::EditBox::Content, "1");
    rt_set_property(U("t", "乙"), prop::EditBox::Content, "same");
    rt_set_property(U("t", "乙"), prop::EditBox::Content, "same");
    EXPECT_EQ(log, (std::vector<std::string>{"ContentChanged 乙 from 甲", "derive done", "ContentChanged 乙 same",
                                             "ContentChanged 乙 same"}));
}

TEST_F(RuntimeTest, IndexPageCheckAndPositionWritesRaiseNothing)
{
    rt_set_property(U("t", "组合"), prop::ComboBox::CurrentIndex, 2);
    rt_set_property(U("t", "页"), prop::Tab::CurrentPage, 1);
    rt_set_property(U("t", "页"), prop::Tab::CurrentPage, 1);
    rt_set_property(U("t", "勾"), prop::CheckBox::Checked, true);
    rt_set_property(U("t", "条"), prop::ProcessBar::Position, 40);
    rt_set_property(U("t", "清单"), prop::ChkListBox::CurrentIndex, 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(control_text(U("t", "组合")), "c");
}

TEST_F(RuntimeTest, ComboIndexIsClamped)
{
    struct Row { int written, index; const char* content; } rows[] = {{7, 2, "c"}, {-5, -1, ""}, {1, 1, "b"}, {-1, -1, ""}};
    for (auto& r : rows) {
        rt_set_property(U("t", "组合"), prop::ComboBox::CurrentIndex, r.written);
        EXPECT_EQ(rt_get_property(U("t", "组合"), prop::ComboBox::CurrentIndex).integer(), r.index) << r.written;
        EXPECT_EQ(control_text(U("t", "组合")), r.content) << r.written;
        EXPECT_EQ(cmd_combo_item_text(U("t", "组合"), r.index), r.content);
    }
}

TEST_F(RuntimeTest, NumericBoxRewritesWhenItLosesTheFocus)
{
    // Only a text that is one number is tidied; any other stays as typed, so
    // that no other number takes its place unseen.
    struct Row { const char* box; const char* held; const char* shown; } rows[] = {
        {"甲", "0.50", "0.5"}, {"甲", "0", ""},       {"甲", "0.0", ""},        {"甲", "1e3", "1000"},
        {"甲", " 7 ", "7"},    {"甲", " ", ""},       {"甲", "2.5", "2.5"},     {"单", "0.3333333", "0.333333"},
        {"甲", "１２", "12"},  {"甲", "－１.２５", "-1.25"}, {"甲", "1e400", "-"},
        {"甲", "12.5m", "12.5m"}, {"甲", "-", "-"},  {"甲", "1..25", "1..25"}, {"甲", "2.8-", "2.8-"},
        {"甲", "1,250", "1250"}, {"甲", "1.2e2", "120"}, {"甲", "1。25", "1.25"}, {"单", "1,234.5", "1234.5"},
        {"甲", "2,5", "2,5"},    {"甲", "1e", "1e"},
    };
    for (auto& r : rows) {
        rt_set_property(U("t", r.box), prop::EditBox::Content, r.held);
        cmd_set_focus(U("t", r.box));
        rt.set_focus(nullptr);
        EXPECT_EQ(control_text(U("t", r.box)), r.shown) << r.held;
    }
}

TEST_F(RuntimeTest, RewriteComesBeforeLostFocusAndTheBoxNoLongerHasTheFocus)
{
    bool focus_during_rewrite = true;
    rt.register_handler("probe", [&](EventArgs& a) {
        focus_during_rewrite = cmd_has_focus(U("t", "甲"));
        log.push_back("ContentChanged " + a.control->text);
    });
    c("甲").events[Event::ContentChanged] = "probe";
    rt.user_type(c("甲"), "0.50");
    log.clear();
    cmd_set_focus(U("t", "乙"));
    EXPECT_EQ(log, (std::vector<std::string>{"ContentChanged 0.5", "LostFocus 甲 0.5"}));
    EXPECT_FALSE(focus_during_rewrite);
    // Unchanged text: no rewrite, only LostFocus.
    log.clear();
    cmd_set_focus(U("t", "甲"));
    cmd_set_focus(U("t", "乙"));
    EXPECT_EQ(log, (std::vector<std::string>{"LostFocus 甲 0.5"}));
}

TEST_F(RuntimeTest, TypingRaisesOneChangePerKeystrokeAndNumericBoxesRefuseLetters)
{
    rt.user_type(c("甲"), "1a.5");
    EXPECT_EQ(c("甲").text, "1.5");
    EXPECT_EQ(log.size(), 3u);
    cmd_set_focus(U("t", "乙"));
    log.clear();
    rt.user_type(c("乙"), "中文");
    EXPECT_EQ(log, (std::vector<std::string>{"ContentChanged 乙 中", "ContentChanged 乙 中文"}));
    // A full-width digit, point or minus (an input method's full-width mode)
    // types its ASCII form; other full-width letters stay refused.
    rt.user_type(c("甲"), "－１．２５ｍ");
    EXPECT_EQ(c("甲").text, "-1.25");
}

// Keys typed into a number box one by one, as a user types them, what a
// calculation reads while the box still has the focus (a box without a
// domain) and what the box shows once left: every character a number can
// hold goes in, so a key the box refuses never joins the digits around it
// into another number.
TEST_F(RuntimeTest, TypedKeysAreReadWholeAsAPasteIsRead)
{
    struct Row { const char* keys; const char* held; double read; const char* left; } rows[] = {
        {"1。25", "1.25", 1.25, "1.25"},     // the point key in a Chinese input method's punctuation mode
        {"1.2e2", "1.2e2", 120, "120"},
        {"1e3", "1e3", 1000, "1000"},
        {"3e0", "3e0", 3, "3"},
        {"1E+3", "1E+3", 1000, "1000"},
        {"1,250", "1,250", 1250, "1250"},
        {"１，２５０．５", "1,250.5", 1250.5, "1250.5"},
        {"2,5", "2,5", 2, "2,5"},             // no number: stays as typed (a box with a domain reads none)
        {"1..25", "1..25", 1, "1..25"},
        {"1-5", "1-5", 1, "1-5"},
        {"12.5m", "12.5", 12.5, "12.5"},      // a unit after the figure types nothing
    };
    for (auto& r : rows) {
        rt.user_type(c("甲"), r.keys);
        EXPECT_EQ(c("甲").text, r.held) << r.keys;
        EXPECT_EQ(read_number(U("t", "甲")), r.read) << r.keys;
        cmd_set_focus(U("t", "乙"));
        EXPECT_EQ(c("甲").text, r.left) << r.keys;
    }
}

TEST_F(RuntimeTest, CheckListTicksToggleAndSingleCheckClearsTheOthers)
{
    rt.user_tick(c("清单"), 0);
    rt.user_tick(c("清单"), 2);
    EXPECT_TRUE(cmd_checklist_is_checked(U("t", "清单"), 0));
    EXPECT_TRUE(cmd_checklist_is_checked(U("t", "清单"), 2));
    rt_set_property(U("t", "清单"), prop::ChkListBox::SingleCheck, true);
    rt.user_tick(c("清单"), 1);
    EXPECT_FALSE(cmd_checklist_is_checked(U("t", "清单"), 0));
    EXPECT_TRUE(cmd_checklist_is_checked(U("t", "清单"), 1));
    EXPECT_FALSE(cmd_checklist_is_checked(U("t", "清单"), 2));
    rt.user_tick(c("清单"), 1);
    EXPECT_FALSE(cmd_checklist_is_checked(U("t", "清单"), 1));
    EXPECT_FALSE(cmd_checklist_is_checked(U("t", "清单"), 9));
    EXPECT_EQ(log.size(), 4u); // one SelectionChanged per tick, after the mark changed
    EXPECT_EQ(rt_get_property(U("t", "清单"), prop::ChkListBox::CurrentIndex).integer(), 1);
}

TEST_F(RuntimeTest, RadioClickClearsItsGroupButAWriteChangesOnlyTheBoxWritten)
{
    rt.user_click(c("r2"));
    EXPECT_FALSE(c("r1").checked);
    EXPECT_TRUE(c("r2").checked);
    rt.user_click(c("r3")); // another group
    EXPECT_TRUE(c("r2").checked);
    rt_set_property(U("t", "r1"), prop::RadioBox::Checked, true);
    EXPECT_TRUE(c("r1").checked);
    EXPECT_TRUE(c("r2").checked);
}

TEST_F(RuntimeTest, TimerTicksOnTheVirtualClockAndALateTimerFiresOnce)
{
    backend.advance(350);
    EXPECT_EQ(log.size(), 3u);
    log.clear();
    cmd_sleep(1000); // nothing runs while the thread sleeps
    EXPECT_TRUE(log.empty());
    backend.advance(0);
    EXPECT_EQ(log.size(), 1u);
    rt_set_property(U("t", "钟"), prop::Timer::Interval, 0);
    backend.advance(1000);
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(RuntimeTest, BarChartKeepsItsValuesInRange)
{
    Ref g = U("t", "图");
    namespace B = prop::BarChart;
    rt_set_property(g, B::SeriesCount, 500);
    EXPECT_EQ(rt_get_property(g, B::SeriesCount).integer(), 100);
    rt_set_property(g, B::YDivisions, 0);
    EXPECT_EQ(rt_get_property(g, B::YDivisions).integer(), 1);
    rt_set_property(g, B::CategoryCount, 3);
    rt_set_property(g, B::CurrentCategory, 2);
    rt_set_property(g, B::CategoryCount, 4); // makes category 0 current
    EXPECT_EQ(rt_get_property(g, B::CurrentCategory).integer(), 0);
    rt_set_property(g, B::CurrentCategory, 9);
    EXPECT_EQ(rt_get_property(g, B::CurrentCategory).integer(), 0);
    rt_set_property(g, B::CurrentSeries, 3);
    rt_set_property(g, B::CurrentSeries, 300); // ignored
    EXPECT_EQ(rt_get_property(g, B::CurrentSeries).integer(), 3);
    struct Row { double in, kept; } rows[] = {{-4, 0}, {12.5, 12.5}, {2e7, 1e7}};
    for (auto& r : rows) {
        rt_set_property(g, B::Value, r.in);
        EXPECT_EQ(rt_get_property(g, B::Value).number(), r.kept);
    }
}

TEST_F(RuntimeTest, ReachingAFormThatIsNotLoadedEndsTheProgramWithTheRuntimeError)
{
    EXPECT_THROW(rt_get_property(U("nowhere", "x"), prop::Left), ProgramExit);
    ASSERT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(backend.messages[0].text, "运行时出错!\r\n\r\n错误信息：未载入欲访问窗口组件所在的窗口\r\n");
    EXPECT_FALSE(cmd_is_created(U("nowhere")));
}

TEST_F(RuntimeTest, ArrayIndexOutsideEndsTheProgram)
{
    TextArray a = cmd_split_text("a,b");
    EXPECT_EQ(a[2], "b");
    EXPECT_THROW(a[0], ProgramExit);
    EXPECT_THROW(a[3], ProgramExit);
    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_NE(backend.messages[0].text.find("错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1"), std::string::npos);
    EXPECT_NE(backend.messages[1].text.find("错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围"), std::string::npos);
}

TEST_F(RuntimeTest, OnlyWebAddressesAreOpened)
{
    struct Row { const char* url; bool opened; } rows[] = {
        {"https://example.com/a", true}, {"HTTP://example.com", true}, {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},   {"http://", false},           {"", false}};
    for (auto& r : rows) EXPECT_EQ(cmd_open_url(r.url), r.opened) << r.url;
    EXPECT_EQ(backend.opened.size(), 2u);
}

TEST_F(RuntimeTest, RandomStaysInItsBounds)
{
    for (int i = 0; i < 200; ++i) {
        int v = cmd_random(5, 9);
        EXPECT_GE(v, 5);
        EXPECT_LE(v, 9);
        int w = cmd_random(9, 5); // swapped bounds are put in order
        EXPECT_GE(w, 5);
        EXPECT_LE(w, 9);
        EXPECT_EQ(cmd_random(-3, 0), 0); // negative bounds count as 0
    }
}

TEST(Random, EveryRunOfTheProgramDrawsTheSameSequence)
{
    // Runs one after the other in one process, as scenario files do.
    auto run = [] {
        HeadlessBackend backend;
        Runtime rt(backend);
        std::vector<int> v;
        for (int i = 0; i < 16; ++i) v.push_back(cmd_random(1, 2));
        return v;
    };
    const std::vector<int> first = run();
    EXPECT_EQ(run(), first);
    EXPECT_NE(std::count(first.begin(), first.end(), 1), 0); // both values come up
    EXPECT_NE(std::count(first.begin(), first.end(), 2), 0);
}

// --- calculations: what a refusal says, verdicts that go, tiny figures ----------

// A form of the module shape: number boxes of every domain, a choice, a
// result box, two verdicts (a box with colours and a label), a compute
// button and a button whose handler writes an input. `status` gives it the
// usual status label; without one, a refusal is told in a message.
json calculation_form(const std::string& name, bool status)
{
    json def = json::parse(R"({
      "controls": [
        {"kind": "EditBox", "name": "编辑框1_梁长", "input_mode": 10, "text": "6"},
        {"kind": "EditBox", "name": "编辑框1_间距", "input_mode": 10, "text": "0"},
        {"kind": "EditBox", "name": "编辑框1_梁数", "input_mode": 10, "text": "5"},
        {"kind": "EditBox", "name": "编辑框1_行数", "input_mode": 10, "text": "0"},
        {"kind": "EditBox", "name": "编辑框1_偏差", "input_mode": 10, "text": "-2"},
        {"kind": "EditBox", "name": "编辑框1_b0", "input_mode": 10, "text": "3"},
        {"kind": "EditBox", "name": "编辑框1循环进尺", "input_mode": 10, "text": "2"},
        {"kind": "ComboBox", "name": "组合框1_类别", "items": ["甲", "乙"], "index": 0},
        {"kind": "EditBox", "name": "编辑框2_结果", "input_mode": 1},
        {"kind": "EditBox", "name": "编辑框2_结论", "input_mode": 1, "back_color": "0xC0C0C0"},
        {"kind": "Label", "name": "标签1_等级", "text_color": "0x808080"},
        {"kind": "Button", "name": "按钮_计算", "events": {"Click": "算"}},
        {"kind": "Button", "name": "按钮_填入", "events": {"Click": "填入"}}
      ],
      "domains": {"编辑框1_梁长": ">0", "编辑框1_间距": ">=0", "编辑框1_梁数": "count>=1", "编辑框1_行数": "count>=0",
                  "编辑框1_偏差": "any", "编辑框1_b0": ">0", "编辑框1循环进尺": ">0"},
      "calculation": {"names": {"编辑框1_b0": "b′"}, "verdicts": ["编辑框2_结论", "标签1_等级"]}
    })");
    def["name"] = name;
    if (status)
        def["controls"].push_back(json::parse(R"({"kind": "Label", "name": "标签1_提示信息", "text": "方案导出需要Word2007以上版本！"})"));
    return def;
}

struct CalculationTest : ::testing::Test {
    HeadlessBackend backend;
    Runtime rt{backend};
    // What the next calculation does beside reading every box in order.
    std::string reason;      // refuses it in these words
    bool refuse = false;     // refuses it without a word
    std::string own_message; // shows this message itself

    void SetUp() override
    {
        backend.attach(rt);
        rt.register_handler("算", [this](EventArgs& e) {
            const std::string f = e.form->name;
            calculation_begin(f);
            if (!own_message.empty()) cmd_message_box(own_message, 0, "信息：");
            double sum = 0;
            for (const char* box : {"编辑框1_梁长", "编辑框1_间距", "编辑框1_梁数", "编辑框1_行数", "编辑框1_偏差",
                                    "编辑框1_b0", "编辑框1循环进尺"})
                sum += read_number(U(f, box));
            const std::string kind = current_item_text(U(f, "组合框1_类别"));
            if (!reason.empty()) calculation_refused(reason);
            if (refuse) calculation_refused();
            write_rounded(U(f, "编辑框2_结果"), sum, 2);
            const bool ok = std::isfinite(sum);
            set_control_text(U(f, "编辑框2_结论"), ok ? "满足要求" : "-");
            rt_set_property(U(f, "编辑框2_结论"), prop::EditBox::TextColor, ok ? 0x00FF00 : 0);
            rt_set_property(U(f, "编辑框2_结论"), prop::EditBox::BackColor, ok ? 0 : 0xC0C0C0);
            set_control_text(U(f, "标签1_等级"), ok ? kind + "Ⅲ级" : "");
            rt_set_property(U(f, "标签1_等级"), prop::Label::TextColor, ok ? 0x00FF00 : 0x808080);
            calculation_end();
        });
        rt.register_handler("填入", [](EventArgs& e) { set_control_text(U(e.form->name, "编辑框1_梁长"), "7"); });
        for (bool status : {true, false}) {
            const std::string name = status ? "有提示" : "无提示";
            rt.add_definition(name, calculation_form(name, status));
            ASSERT_NE(rt.load_form(name, nullptr, false), nullptr);
        }
    }
    Control& c(const std::string& form, const std::string& name) { return rt.unit(form, name); }
    std::string text(const std::string& form, const std::string& name) { return control_text(U(form, name)); }
    void compute(const std::string& form)
    {
        backend.messages.clear();
        rt.user_click(c(form, "按钮_计算"));
    }
    std::vector<std::string> messages() const
    {
        std::vector<std::string> m;
        for (const auto& msg : backend.messages) m.push_back(msg.text);
        return m;
    }
    // The refusal as the form tells it: on its status line, or in the one
    // message the calculation showed.
    std::string told(const std::string& form)
    {
        if (form == "有提示") return text(form, "标签1_提示信息");
        return backend.messages.size() == 1 ? backend.messages[0].text : "<" + std::to_string(backend.messages.size()) + " messages>";
    }
};

TEST_F(CalculationTest, ARefusalNamesTheFirstBoxItCouldNotUseAndWhatItMustHold)
{
    const struct {
        const char* box;
        const char* text;
        const char* told;
    } rows[] = {
        {"编辑框1_梁长", "", "梁长未填写"},           {"编辑框1_梁长", "  ", "梁长未填写"},
        {"编辑框1_梁长", "abc", "梁长不是一个数"},    {"编辑框1_梁长", "1..25", "梁长不是一个数"},
        {"编辑框1_梁长", "-", "梁长不是一个数"},      {"编辑框1_梁长", "0", "梁长须为大于0的数"},
        {"编辑框1_梁长", "-0", "梁长须为大于0的数"},  {"编辑框1_梁长", "-3", "梁长须为大于0的数"},
        {"编辑框1_梁长", "1e309", "梁长超出数值范围"}, {"编辑框1_间距", "-1", "间距须为不小于0的数"},
        {"编辑框1_间距", "-0", "间距不能为-0"},       {"编辑框1_梁数", "5.5", "梁数须为大于0的整数"},
        {"编辑框1_梁数", "0", "梁数须为大于0的整数"}, {"编辑框1_行数", "2.5", "行数须为不小于0的整数"},
        {"编辑框1_行数", "-1", "行数须为不小于0的整数"}, {"编辑框1_偏差", "-0", "偏差不能为-0"},
        {"编辑框1_偏差", "1-5", "偏差不是一个数"},
        // the definition's name for a box whose own name says nothing
        {"编辑框1_b0", "0", "b′须为大于0的数"},
        // a name without "_": its meaning after the kind and number
        {"编辑框1循环进尺", "", "循环进尺未填写"},
    };
    for (const char* form : {"有提示", "无提示"})
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(form) + " " + r.box + " = \"" + r.text + "\"");
            const std::string kept = text(form, r.box);
            rt_set_property(U(form, r.box), prop::EditBox::Content, r.text);
            compute(form);
            EXPECT_EQ(results_state(form), Runtime::Results::Refused);
            EXPECT_EQ(told(form), r.told);
            if (std::string(form) == "有提示") EXPECT_TRUE(backend.messages.empty()) << "the status line says it";
            rt_set_property(U(form, r.box), prop::EditBox::Content, kept);
        }
}

TEST_F(CalculationTest, TheFirstRefusalStandsAndAReasonSpeaksWhereNoBoxDoes)
{
    const struct {
        const char* what;
        std::vector<std::pair<const char*, const char*>> boxes;
        std::string reason;
        bool refuse;
        const char* told;
    } rows[] = {
        {"two boxes: the first read", {{"编辑框1_梁数", "2.5"}, {"编辑框1_梁长", "0"}}, "", false, "梁长须为大于0的数"},
        {"the module's reason", {}, "计算得出的孔数不大于0", false, "计算得出的孔数不大于0"},
        {"a box before the reason", {{"编辑框1_间距", "x"}}, "计算得出的孔数不大于0", false, "间距不是一个数"},
        {"no box, no reason", {}, "", true, "计算未得出结果，请检查输入后重新计算！"},
    };
    for (const char* form : {"有提示", "无提示"})
        for (const auto& r : rows) {
            SCOPED_TRACE(std::string(form) + ": " + r.what);
            std::map<std::string, std::string> kept;
            for (const auto& [box, t] : r.boxes) {
                kept[box] = text(form, box);
                rt_set_property(U(form, box), prop::EditBox::Content, t);
            }
            reason = r.reason;
            refuse = r.refuse;
            compute(form);
            EXPECT_EQ(results_state(form), Runtime::Results::Refused);
            EXPECT_EQ(told(form), r.told);
            for (const auto& [box, t] : kept) rt_set_property(U(form, box), prop::EditBox::Content, t);
        }
}

TEST_F(CalculationTest, ACalculationThatShowedItsOwnMessageGetsNoSecond)
{
    own_message = "参数不完整，请重新输入！";
    rt_set_property(U("无提示", "编辑框1_梁数"), prop::EditBox::Content, "5.5");
    compute("无提示");
    EXPECT_EQ(messages(), std::vector<std::string>{"参数不完整，请重新输入！"});
    EXPECT_EQ(results_state("无提示"), Runtime::Results::Refused);
    // A status line is no second message: it still says which box.
    rt_set_property(U("有提示", "编辑框1_梁数"), prop::EditBox::Content, "5.5");
    compute("有提示");
    EXPECT_EQ(messages(), std::vector<std::string>{"参数不完整，请重新输入！"});
    EXPECT_EQ(text("有提示", "标签1_提示信息"), "梁数须为大于0的整数");
}

TEST_F(CalculationTest, TheStatusLineComesBackAfterACalculationWithResults)
{
    const std::string idle = "方案导出需要Word2007以上版本！";
    compute("有提示");
    EXPECT_EQ(text("有提示", "标签1_提示信息"), idle) << "results leave the line alone";
    rt_set_property(U("有提示", "编辑框1_梁长"), prop::EditBox::Content, "");
    compute("有提示");
    rt_set_property(U("有提示", "编辑框1_梁长"), prop::EditBox::Content, "6");
    rt_set_property(U("有提示", "编辑框1_梁数"), prop::EditBox::Content, "0");
    compute("有提示");
    ASSERT_EQ(text("有提示", "标签1_提示信息"), "梁数须为大于0的整数");
    rt_set_property(U("有提示", "编辑框1_梁数"), prop::EditBox::Content, "5");
    compute("有提示");
    EXPECT_EQ(results_state("有提示"), Runtime::Results::Current);
    EXPECT_EQ(text("有提示", "标签1_提示信息"), idle) << "what it showed before both refusals";

    // A line written over the refusal (an export's status) stays.
    rt_set_property(U("有提示", "编辑框1_梁长"), prop::EditBox::Content, "");
    compute("有提示");
    rt_set_property(U("有提示", "标签1_提示信息"), prop::Label::Caption, "计算书已导出 100%");
    rt_set_property(U("有提示", "编辑框1_梁长"), prop::EditBox::Content, "6");
    compute("有提示");
    EXPECT_EQ(text("有提示", "标签1_提示信息"), "计算书已导出 100%");
}

TEST_F(CalculationTest, VerdictsGoWhenAnInputTheyStandOnChangesAndStayGone)
{
    const char* f = "有提示";
    Control& verdict = c(f, "编辑框2_结论");
    Control& level = c(f, "标签1_等级");
    auto expect_gone = [&](const char* why) {
        SCOPED_TRACE(why);
        EXPECT_EQ(verdict.text, "-");
        EXPECT_EQ(verdict.text_color, 0);
        EXPECT_EQ(verdict.back_color, 0xC0C0C0) << "the colours the form opens with";
        EXPECT_EQ(level.text, "");
        EXPECT_EQ(level.text_color, 0x808080);
        EXPECT_EQ(text(f, "编辑框2_结果"), "14") << "the figures stay until the next calculation";
        EXPECT_EQ(results_state(f), Runtime::Results::Stale);
    };
    auto expect_shown = [&](const char* why) {
        SCOPED_TRACE(why);
        EXPECT_EQ(verdict.text, "满足要求");
        EXPECT_EQ(verdict.text_color, 0x00FF00);
        EXPECT_EQ(level.text, "甲Ⅲ级");
        EXPECT_EQ(results_state(f), Runtime::Results::Current);
    };
    const struct {
        const char* what;
        std::function<void()> change, undo;
    } changes[] = {
        {"a box typed", [&] { rt.user_type(c(f, "编辑框1_梁长"), "7"); rt.set_focus(nullptr); },
         [&] { rt.user_type(c(f, "编辑框1_梁长"), "6"); rt.set_focus(nullptr); }},
        {"a choice", [&] { rt.user_choose(c(f, "组合框1_类别"), 1); }, [&] { rt.user_choose(c(f, "组合框1_类别"), 0); }},
        {"a handler writing an input after a click", [&] { rt.user_click(c(f, "按钮_填入")); },
         [&] { rt.user_type(c(f, "编辑框1_梁长"), "6"); rt.set_focus(nullptr); }},
        {"a box pasted over", [&] { rt.user_edit_text(c(f, "编辑框1_梁数"), "6"); },
         [&] { rt.user_edit_text(c(f, "编辑框1_梁数"), "5"); }},
    };
    for (const auto& ch : changes) {
        SCOPED_TRACE(ch.what);
        compute(f);
        expect_shown("computed");
        ch.change();
        expect_gone("changed");
        ch.undo();
        expect_gone("changed back: the verdict judged the old value, which is no longer shown as judged");
    }
    compute(f);
    // Actions that change no input leave everything standing.
    rt.user_click(c(f, "按钮_计算"));
    rt.set_focus(&c(f, "编辑框1_梁长"));
    rt.set_focus(nullptr);
    expect_shown("nothing read changed");

    // A verdict control written since holds no verdict of that calculation.
    set_control_text(U(f, "标签1_等级"), "另见附表");
    rt.user_type(c(f, "编辑框1_梁长"), "8");
    EXPECT_EQ(level.text, "另见附表");
    EXPECT_EQ(verdict.text, "-");

    // Discarded results take their verdicts with them at once.
    rt.user_type(c(f, "编辑框1_梁长"), "6");
    rt.set_focus(nullptr);
    compute(f);
    discard_results(f);
    EXPECT_EQ(verdict.text, "-");
    EXPECT_EQ(level.text, "");
}

TEST_F(CalculationTest, AFigureTooSmallForItsPlacesShowsTwoSignificantDigits)
{
    const Ref box = U("有提示", "编辑框2_结果");
    const struct {
        double x;
        int places;
        const char* shown;
    } rows[] = {
        {0.00044, 2, "0.00044"},   {0.0004449, 2, "0.00044"}, {0.000445, 2, "0.00045"}, {0.0049, 2, "0.0049"},
        {0.00999, 2, "0.01"},      {0.0000442, 3, "4.4e-005"}, {0.004, 2, "0.004"},     {0.0449, 1, "0.045"},
        // rounding that shows a figure is left alone
        {0.005, 2, "0.01"},        {1.234, 2, "1.23"},         {0.05, 1, "0.1"},        {12.5, 0, "13"},
        // whole counts and units stay whole; what comparisons take for 0,
        // below 0 and 0 itself are as rounding gives them
        {0.4, 0, "0"},             {0.00044, 0, "0"},          {1.1e-13, 2, "0"},       {-0.00044, 2, "0"},
        {0, 2, "0"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(number_to_text(r.x) + " at " + std::to_string(r.places));
        write_rounded(box, r.x, r.places);
        EXPECT_EQ(control_text(box), r.shown);
        EXPECT_EQ(read_result(box), plain_number(r.shown)) << "a later step works with what is shown";
        EXPECT_EQ(worked_figure(box), r.x);
    }
}

// --- pictures and sounds -------------------------------------------------------

Bytes gif_with_delays(std::initializer_list<int> hundredths)
{
    Bytes g = "GIF89a";
    g += std::string("\x01\x00\x01\x00\x80\x00\x00", 7);
    g += std::string("\x00\x00\x00\xff\xff\xff", 6); // two-colour table
    for (int d : hundredths) {
        g += std::string("\x21\xf9\x04\x00", 4);
        g += char(d & 0xff);
        g += char(d >> 8);
        g += std::string("\x00\x00", 2);
        g += std::string("\x2c\x00\x00\x00\x00\x01\x00\x01\x00\x00", 10);
        g += std::string("\x02\x02\x44\x01\x00", 5);
    }
    g += '\x3b';
    return g;
}

TEST(Media, GifScheduleTreatsZeroDelayAsFiftyAndLoops)
{
    Bytes busy = gif_with_delays({0, 0, 20});
    EXPECT_EQ(gif_frame_delays(busy), (std::vector<int>{50, 50, 200}));
    struct Row { int64_t t; int frame; } rows[] = {{0, 0}, {49, 0}, {50, 1}, {99, 1}, {100, 2}, {299, 2}, {300, 0}, {650, 1}};
    auto d = gif_frame_delays(busy);
    for (auto& r : rows) EXPECT_EQ(gif_frame_at(d, r.t), r.frame) << r.t;
    Bytes idle = gif_with_delays({50, 20, 20, 10, 10, 0});
    EXPECT_EQ(gif_frame_delays(idle), (std::vector<int>{500, 200, 200, 100, 100, 50}));
    EXPECT_TRUE(gif_frame_delays("\x89PNG").empty());
}

Bytes wav(bool fmt, bool data, const char* riff = "RIFF", const char* wave = "WAVE")
{
    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    Bytes body = wave;
    if (fmt) body += "fmt " + le32(16) + std::string("\x01\x00\x02\x00", 4) + le32(44100) + le32(44100 * 4) + std::string("\x04\x00\x10\x00", 4);
    if (data) body += "data" + le32(4) + std::string(4, '\0');
    return riff + le32(uint32_t(body.size())) + body;
}

TEST(Media, OnlyRiffWaveWithFormatAndDataPlays)
{
    struct Row { Bytes b; bool ok; } rows[] = {
        {wav(true, true), true}, {wav(false, true), false}, {wav(true, false), false},
        {wav(true, true, "RIFX"), false}, {wav(true, true, "RIFF", "AVI "), false}, {"", false},
        {wav(true, true).substr(0, 30), false},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(parse_wav(rows[i].b, nullptr), rows[i].ok) << i;
    WavInfo info;
    ASSERT_TRUE(parse_wav(wav(true, true), &info));
    EXPECT_EQ(info.channels, 2);
    EXPECT_EQ(info.sample_rate, 44100);
    EXPECT_EQ(info.bits, 16);
}

// --- embedded resources ---------------------------------------------------------

TEST(Resources, ServedWhereTheyLieAndNeverCopiedIntoAControl)
{
    const char* path = "resources/pictures/common/compute_normal.png";
    const Bytes& pic = resource(path);
    ASSERT_TRUE(pic.is_lasting()) << "the block refers to the embedded bytes";
    EXPECT_EQ(resource(path).data(), pic.data()) << "every lookup gives the same bytes";
    std::ifstream in(std::string(JSB_SOURCE_DIR) + "/" + path, std::ios::binary);
    EXPECT_EQ(pic, Bytes(std::istreambuf_iterator<char>(in), {})) << "the bytes are the file's";
    EXPECT_TRUE(resource("resources/pictures/common/no_such_picture.png").empty());
    EXPECT_FALSE(has_resource("resources/pictures/common/no_such_picture.png"));
    const std::vector<std::string> forms = resource_paths("forms/");
    EXPECT_TRUE(std::find(forms.begin(), forms.end(), "forms/main.json") != forms.end());
    EXPECT_TRUE(std::is_sorted(forms.begin(), forms.end()));

    HeadlessBackend backend;
    Runtime rt(backend);
    backend.attach(rt);
    rt.add_definition("p", json::parse(R"({"name": "p", "controls": [{"kind": "PicBox", "name": "图"}]})"));
    ASSERT_NE(rt.load_form("p", nullptr, false), nullptr);
    Control& box = rt.unit("p", "图");
    rt.set(box, prop::PicBox::Picture, Blob{pic});
    EXPECT_EQ(box.pictures[0].data(), pic.data());
    EXPECT_EQ(rt.get(box, prop::PicBox::Picture).bytes().data(), pic.data());

    // A change to a block made from a resource leaves the resource as it was.
    Bytes changed = pic;
    changed += 'x';
    EXPECT_FALSE(changed.is_lasting());
    EXPECT_EQ(changed.size(), pic.size() + 1);
    EXPECT_EQ(changed.substr(0, pic.size()), pic.str());
    EXPECT_EQ(resource(path).size(), pic.size());
    EXPECT_NE(changed, pic);
}

// --- the scenario runner itself ----------------------------------------------------

TEST(Scenario, LinesSplitOnBlanksWithQuotedTexts)
{
    struct Row { const char* line; std::vector<std::string> words; } rows[] = {
        {"type 编辑框1 12.5", {"type", "编辑框1", "12.5"}},
        {"  choose 组合框1 \"I 级 围岩\"  ", {"choose", "组合框1", "I 级 围岩"}},
        {"expect x = \"a\\nb\"", {"expect", "x", "=", "a\nb"}},
        {"type x \"\"", {"type", "x", ""}},
    };
    for (auto& r : rows) {
        std::vector<std::string> w;
        ASSERT_TRUE(split_scenario_line(r.line, &w, nullptr)) << r.line;
        EXPECT_EQ(w, r.words) << r.line;
    }
    std::vector<std::string> w;
    EXPECT_FALSE(split_scenario_line("type x \"open", &w, nullptr));
}

TEST(Scenario, AFailedExpectationFailsTheRunAndSaysWhere)
{
    std::ostringstream out;
    ScenarioRunner runner(out, nullptr);
    ScenarioOptions o;
    o.start = false;
    o.form_dirs.push_back(std::string(JSB_SOURCE_DIR) + "/tests/forms");
    int rc = runner.run_text("in test_basic\ntype 编辑框2_文本 abc\nexpect 编辑框2_文本 = abd\nexpect 编辑框2_文本 = abc\n", o, "x.scn");
    EXPECT_EQ(rc, 1);
    EXPECT_NE(out.str().find("FAIL x.scn:3: test_basic.编辑框2_文本: expected \"abd\", got \"abc\""), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("x.scn:4"), std::string::npos);
    std::ostringstream out2;
    ScenarioRunner ok(out2, nullptr);
    EXPECT_EQ(ok.run_text("in test_basic\nanswer Cancel\nexpect 编辑框1_数值 = 3.0\n", o, "y.scn"), 0) << out2.str();
}

// A user story run through the whole program as a scenario file runs it,
// and the report it exports read back: what was typed is what the report
// states.
TEST(Scenario, TheReportStatesTheFigureTypedWithAChinesePoint)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / ("jsb-typed-point-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::ostringstream out;
    ScenarioRunner runner(out, [](Runtime& rt, const ScenarioOptions&) { app::start_program(rt); });
    ScenarioOptions o;
    o.program_folder = folder.string();
    ASSERT_EQ(runner.run_file(std::string(JSB_SOURCE_DIR) + "/tests/scenarios/blasting/flyrock_point_typed_in_chinese_punctuation.scn", o), 0)
        << out.str();
    const std::string report = testsupport::report_text(folder / "导出的方案" / "爆破飞石安全距离计算.doc");
    for (const char* stated : {"本工程取 1.25；", "×2.8=131.25m"}) EXPECT_NE(report.find(stated), std::string::npos) << stated << "\n" << report;
    for (const char* absent : {"125；", "1312500"}) EXPECT_EQ(report.find(absent), std::string::npos) << absent;
    fs::remove_all(folder);
}

} // namespace

// Every module form declares which of its controls hold verdicts, classes
// and pass texts ("calculation": "verdicts"). Once an input the last
// calculation read changes, they are taken away (a box shows "-", a label
// nothing, in the colours the form opens with) and stay away when the old
// value comes back, until the next calculation. And no control a
// calculation writes a verdict-like text or colour into is left undeclared.
#include "app/module_forms.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/resources.h"
#include "ui/runtime.h"
#include "ui/value.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using ui::Control;
using ui::Kind;
using ui::Runtime;

nlohmann::json definition(const std::string& form)
{
    return nlohmann::json::parse(ui::resource("forms/" + form + ".json").view());
}

std::vector<std::string> declared_verdicts(const std::string& form)
{
    const nlohmann::json def = definition(form);
    std::vector<std::string> out;
    for (const auto& v : def.at("calculation").at("verdicts")) out.push_back(v.get<std::string>());
    return out;
}

// An input the calculation reads and another value of it: typed into a
// box, or an item chosen in a list.
struct Row {
    const char* form;
    const char* input;
    const char* value;
    // Controls whose texts are results, captions or logs, not verdicts
    // (matched as parts of the name).
    std::vector<const char*> not_verdicts = {};
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.form; }

const Row kRows[] = {
    {"TunnelEvaluation", "组合框1_围岩等级", "V级围岩",
     // a depth or "公式不适用", the regulation's fixed gas limit, a distance
     {"编辑框1_浅埋隧道分界深度", "编辑框1_瓦斯浓度", "编辑框1_错开距离"}},
    {"MethodSelection", "编辑框1_隧道开挖宽度", "15"},
    {"SmoothBlasting", "编辑框1_开挖循环进尺", "2.2", {"雷管段位", "编辑框_提示"}}, // the detonator layout, the log
    {"ControlledBlasting", "编辑框_地质条件K值确定", "150"},
    {"BlastEffect", "组合框5", "一般民用建筑物"},
    // the recommended ranges of the object type, the log
    {"StaticBreaking", "编辑框_破碎体长", "2", {"编辑框_孔距", "编辑框_抵抗线", "编辑框_排距", "编辑框日志"}},
    {"ShallowHole", "编辑框2_阶梯高度", "2.5"},
    {"DeepHole", "编辑框1_阶梯高度", "12", {"编辑框1_炮孔堵塞长度"}}, // "> W"
    {"Flyrock", "编辑框1_最大药包的最小抵抗线", "3"},
    // totals with their units
    {"AdvanceSchedule", "编辑框1_各类围岩长度0", "400", {"编辑框1_汇总长度", "编辑框2_总循环次数", "编辑框4_工期"}},
    {"Ventilation", "编辑框1_风管长度", "1500", {"标签20"}}, // the caption of the scheme's fume demand
    {"EarthSlope", "编辑框1_土的粘聚力", "12"},
    {"VerticalCut", "编辑框1_土的粘聚力", "12"},
    {"Mucking", "编辑框1循环进尺", "3", {"编辑框4日志"}},
    {"ExcavatorOutput", "编辑框1_工作时间利用系数", "0.75"},
    {"ExcavatorTrucks", "编辑框1_土方工程量", "20000"},
    {"Roller", "编辑框1_每次被碾压的宽度", "2"},
    {"Bulldozer", "编辑框1_铲刀宽度", "3.5"},
    {"RockDrill", "编辑框1_每班爆破量", "150"},
    // the frame and inputs marked where the inputs disagree with one another
    {"Trestle", "编辑框1_E", "210000", {"外形框6", "编辑框1_前桥重量", "编辑框1_栈桥净跨"}},
    {"AirSupply", "编辑框_耗风量1", "5"},
    // the caption of the source case, the daily-use class the calculation
    // chooses in its list, the log, a tank of "20~30"
    {"WaterSupply", "编辑框_管道内水头损失", "0.5", {"标签_20", "组合框_昼夜用水量", "编辑框_提示", "编辑框_水池容积"}},
};

struct Look {
    std::string text;
    int32_t text_color = 0, back_color = 0;
    bool operator==(const Look&) const = default;
};

struct Verdicts : testsupport::ModuleProgram, ::testing::WithParamInterface<Row> {
    Verdicts() : ModuleProgram("main") {}

    const std::string form = GetParam().form;
    Control& ctl(const std::string& name) { return rt.unit(form, name); }
    Look look(const std::string& name)
    {
        const Control& c = ctl(name);
        return {c.text, c.text_color, c.back_color};
    }
    void compute()
    {
        rt.user_click(ctl("图形按钮_计算"));
        backend.advance(5000);
    }
    // The page that holds a control comes forward, as a user would bring it.
    void show(Control& c)
    {
        for (Control* p = &c; p->parent; p = p->parent)
            if (p->parent->kind == Kind::Tab) rt.user_page(*p->parent, p->page);
    }
    // Types or chooses `value` in the row's input; gives what it held.
    std::string put(const std::string& value)
    {
        Control& in = ctl(GetParam().input);
        show(in);
        if (in.kind == Kind::ComboBox || in.kind == Kind::ListBox) {
            const std::string before = in.current_index >= 0 ? in.items[size_t(in.current_index)] : "";
            for (int i = 0; i < int(in.items.size()); ++i)
                if (in.items[size_t(i)] == value) rt.user_choose(in, i);
            return before;
        }
        const std::string before = in.text;
        rt.user_type(in, value);
        rt.set_focus(nullptr);
        return before;
    }
    std::string status_label()
    {
        return definition(form).at("calculation").value("status", std::string("标签1_提示信息"));
    }
};

TEST_P(Verdicts, GoWhenAnInputTheCalculationReadChanges)
{
    const std::vector<std::string> verdicts = declared_verdicts(form);
    std::map<std::string, Look> opening;
    for (const std::string& v : verdicts) opening[v] = look(v);

    compute();
    ASSERT_EQ(ui::results_state(form), Runtime::Results::Current);
    auto judged = [&] {
        for (const std::string& v : verdicts)
            if (ctl(v).text != "-" && !ctl(v).text.empty()) return true;
        return false;
    };
    if (!verdicts.empty()) ASSERT_TRUE(judged()) << "the starting inputs give a verdict to take away";

    auto expect_gone = [&](const char* when) {
        SCOPED_TRACE(when);
        for (const std::string& v : verdicts) {
            Look want = opening[v];
            want.text = ctl(v).kind == Kind::EditBox ? "-" : "";
            EXPECT_EQ(look(v), want) << v;
        }
    };
    const std::string before = put(GetParam().value);
    expect_gone("changed");
    EXPECT_EQ(ui::results_state(form), Runtime::Results::Stale);
    put(before);
    expect_gone("changed back");
    // Results whose verdicts were taken away stay discarded; a form with
    // none has its results back with the inputs they were worked from.
    EXPECT_EQ(ui::results_state(form), verdicts.empty() ? Runtime::Results::Current : Runtime::Results::Stale);

    compute();
    EXPECT_EQ(ui::results_state(form), Runtime::Results::Current);
    if (!verdicts.empty()) EXPECT_TRUE(judged()) << "the next calculation judges again";
}

// Every input varied (a tenth and ten times each number, each item of each
// list, each mark clicked), each followed by a calculation: a control it
// writes a text into that is no figure, or whose colours it changes, is a
// declared verdict, the status line, or one of the row's results that are
// no verdicts.
TEST_P(Verdicts, EveryTextOrColourACalculationJudgesWithIsDeclared)
{
    const std::vector<std::string> declared = declared_verdicts(form);
    const std::string status = status_label();
    auto allowed = [&](const std::string& name) {
        if (name == status) return true;
        for (const std::string& v : declared)
            if (v == name) return true;
        for (const char* part : GetParam().not_verdicts)
            if (name.find(part) != std::string::npos) return true;
        return false;
    };
    auto figure = [](const std::string& t) { return t.empty() || t == "-" || !std::isnan(ui::plain_number(t)); };
    std::map<std::string, std::string> undeclared; // control -> the input change that showed it
    auto compute_after = [&](const std::string& change) {
        std::map<std::string, Look> before;
        for (const auto& c : rt.form(form)->controls)
            if (!c->name.empty()) before[c->name] = {c->text, c->text_color, c->back_color};
        compute();
        for (const auto& c : rt.form(form)->controls) {
            if (c->name.empty() || allowed(c->name)) continue;
            const Look& b = before[c->name];
            const bool coloured = b.text_color != c->text_color || b.back_color != c->back_color;
            const bool worded = b.text != c->text && !figure(c->text);
            if ((coloured || worded) && !undeclared.count(c->name)) undeclared[c->name] = change + ": " + c->text;
        }
    };
    compute_after("the starting inputs");
    std::vector<Control*> inputs;
    for (const auto& c : rt.form(form)->controls) inputs.push_back(c.get());
    for (Control* c : inputs) {
        if (c->disabled) continue;
        show(*c);
        if (!rt.effectively_visible(*c)) continue;
        if (c->kind == Kind::EditBox && (c->input_mode == 9 || c->input_mode == 10)) {
            const std::string kept = c->text;
            const double x = ui::plain_number(kept);
            if (std::isnan(x)) continue;
            for (double k : {0.1, 10.0}) {
                ui::set_control_text(ui::U(form, c->name), ui::number_to_text(x * k));
                compute_after(c->name + " ×" + ui::number_to_text(k));
            }
            ui::set_control_text(ui::U(form, c->name), kept);
        } else if ((c->kind == Kind::ComboBox || c->kind == Kind::ListBox) && !c->items.empty()) {
            const int kept = c->current_index;
            for (int i = 0; i < int(c->items.size()); ++i) {
                rt.user_choose(*c, i);
                compute_after(c->name + " item " + std::to_string(i));
            }
            if (kept >= 0) rt.user_choose(*c, kept);
        } else if (c->kind == Kind::CheckBox || c->kind == Kind::RadioBox) {
            rt.user_click(*c);
            compute_after(c->name + " clicked");
        } else if (c->kind == Kind::ChkListBox) {
            for (int i = 0; i < int(c->items.size()); ++i) {
                rt.user_tick(*c, i);
                compute_after(c->name + " item " + std::to_string(i) + " ticked");
            }
        }
    }
    for (const auto& [name, seen] : undeclared) ADD_FAILURE() << name << " holds a judgement (" << seen << ")";
}

TEST(VerdictRows, CoverEveryModuleForm)
{
    std::set<std::string> rows;
    for (const Row& r : kRows) rows.insert(r.form);
    for (const auto& m : app::module_forms()) EXPECT_TRUE(rows.count(m.form)) << m.form;
    EXPECT_EQ(rows.size(), app::module_forms().size());
}

INSTANTIATE_TEST_SUITE_P(EveryModule, Verdicts, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.form); });

} // namespace

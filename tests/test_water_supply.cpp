// The temporary water supply module in the whole headless program: the
// worked figures as a table of cases, the source and daily-use choices, the
// two converters that follow only typing, the lookups and the report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "WaterSupply";

struct WaterSupplyProgram : testsupport::ModuleProgram {
    WaterSupplyProgram() : ModuleProgram(kForm) {}

    // Types into the box, which keeps the focus.
    void type_only(const std::string& name, const std::string& value) { rt.user_type(c(name), value); }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    bool disabled(const std::string& name) { return rt.get(c(name), prop::Disabled).truth(); }
    bool focused(const std::string& name) { return rt.has_focus(c(name)); }
};

const char* const Qs = "编辑框_生活用水量";
const char* const H = "编辑框_水池高差";
const char* const Hp = "编辑框_水泵扬程";
const char* const V = "编辑框_水池容积";
const char* const kSmallCaption = "水源小于用水量，需水池容积V(m3)";
const char* const kLargeCaption = "利用高山自流供水,且水源流量大于用水高峰流量时,需水池容积V(m3)";

const char* const kDemandInputs[] = {
    "组合框_昼夜用水量", "编辑框_贮水系数", "编辑框_生产工人", "编辑框_非生产工人", "编辑框_生活用水量",
    "编辑框_生产用水量", "编辑框_调节系数", "编辑框_用水系数生产工人", "编辑框_用水系数非生产工人",
};

// --- the calculation: worked figures --------------------------------------------------

struct Step {
    enum Kind { Type, Choose } kind;
    const char* control;
    const char* value;
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    const char *qs, *h, *h_pump, *v, *caption;
};

void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct WorkedFigures : WaterSupplyProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(WorkedFigures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.kind == Step::Type) type(s.control, s.value);
        else choose(s.control, s.value);
    }
    click("图形按钮_计算");
    EXPECT_EQ(text(Qs), fc.qs);
    EXPECT_EQ(text(H), fc.h);
    EXPECT_EQ(text(Hp), fc.h_pump);
    EXPECT_EQ(text(V), fc.v);
    EXPECT_EQ(text("标签_20"), fc.caption);
    // Completed only when every result could be worked out.
    const bool complete = std::string(fc.qs) != "-" && std::string(fc.h) != "-" && std::string(fc.v) != "-";
    EXPECT_EQ(text("编辑框_提示"), complete ? "\r\n   计算完成！" : "");
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
}

// Finite each, their product is not.
const std::string kBig = "1" + std::string(200, '0');
// Past the double range: reads as infinity.
const std::string kHuge(400, '9');

INSTANTIATE_TEST_SUITE_P(
    WaterSupply, WorkedFigures,
    ::testing::Values(
        // Every figure is an amount the site needs and shows rounded up:
        // Qs = (80 × 0.15 + 22 × 1.0) / 24 = 1.4167 shows 1.5; H = 1.2 × 30 +
        // 1.05 × 0.4 = 36.42; H′ = 1.05 × 36.42 = 38.241 shows 38.3; V = 1.1 ×
        // 0.2 × (1.5 + 35) × 24 = 192.72 shows 193 (a daily use under 1000 m3
        // stores 1/4~1/6 of it: 0.2).
        FigureCase{"defaults", {}, "1.5", "36.42", "38.3", "193", kSmallCaption},
        // The disabled demand inputs still give Qs.
        FigureCase{"source larger than demand", {{Step::Choose, "组合框_水源流量", "大于用水量"}},
                   "1.5", "36.42", "38.3", "20~30", kLargeCaption},
        // The list's class does not choose the factor: 36.5 × 24 = 876 m3 a
        // day is below 1000 (the storage classes below).
        FigureCase{"daily use 1000 to 2000 chosen", {{Step::Choose, "组合框_昼夜用水量", "1000~2000m3"}},
                   "1.5", "36.42", "38.3", "193", kSmallCaption},
        // V = 1 × 0.2 × Qs × 24 from the shown Qs 1.5 (7.2, 8), not from
        // 1.4167 (6.8, 7).
        FigureCase{"shown Qs read back",
                   {{Step::Type, "编辑框_调节系数", "1"}, {Step::Type, "编辑框_生产用水量", "0"}},
                   "1.5", "36.42", "38.3", "8", kSmallCaption},
        // H = 36 + 1.05 × 0.45 = 36.4725 shows 36.48; H′ from the shown H
        // (1.05 × 36.48 = 38.304, 38.4), not from 36.4725 (38.296, 38.3).
        FigureCase{"shown H read back", {{Step::Type, "编辑框_管道内水头损失", "0.45"}},
                   "1.5", "36.48", "38.4", "193", kSmallCaption},
        // Figures that are exactly a step stay there, though the binary
        // values of Qs, H′ and V lie a hair above it: Qs = (4 × 0.15 + 33 ×
        // 1.0) / 24 = 1.4; H = 36, H′ = 1.05 × 36 = 37.8; V = 1.1 × 0.2 ×
        // (1.4 + 11.1) × 24 = 66.
        FigureCase{"figures exactly at a step",
                   {{Step::Type, "编辑框_生产工人", "4"}, {Step::Type, "编辑框_非生产工人", "33"},
                    {Step::Type, "编辑框_管道内水头损失", "0"}, {Step::Type, "编辑框_生产用水量", "11.1"}},
                   "1.4", "36", "37.8", "66", kSmallCaption},
        // H = 36 + 1.05 × 0.6 = 36.63 exactly; H′ = 1.05 × 36.63 = 38.4615 shows 38.5.
        FigureCase{"a tank height exactly at a step", {{Step::Type, "编辑框_管道内水头损失", "0.6"}},
                   "1.5", "36.63", "38.5", "193", kSmallCaption},
        // No workers at all: no domestic water; V = 1.1 × 0.2 × 35 × 24 = 184.8.
        FigureCase{"no workers",
                   {{Step::Type, "编辑框_生产工人", "0"}, {Step::Type, "编辑框_非生产工人", "0"}},
                   "0", "36.42", "38.3", "185", kSmallCaption},
        // An overflowing Qs shows "-", and so does V.
        // A pressure past the double range gives the head "-"; H and H′ follow.
        FigureCase{"overflowing pressure", {{Step::Type, "编辑框_洞内设备需要水压", kHuge.c_str()}},
                   "1.5", "-", "-", "193", kSmallCaption},
        FigureCase{"overflowing demand",
                   {{Step::Type, "编辑框_生产工人", kBig.c_str()}, {Step::Type, "编辑框_用水系数生产工人", kBig.c_str()}},
                   "-", "36.42", "38.3", "-", kSmallCaption}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- inputs outside their domain -------------------------------------------------------

// Each number the formulas read, with the results built on it: every text
// outside the box's domain gives "-" there, no "计算完成！" and nothing to
// export; a box that allows 0 takes it as a value.
using testsupport::DomainRow;

struct DomainEdges : WaterSupplyProgram, ::testing::WithParamInterface<DomainRow> {};

TEST_P(DomainEdges, OutsideGivesDashAndNothingToExport)
{
    const DomainRow& r = GetParam();
    const std::string start = text(r.box);
    for (const std::string& v : testsupport::texts_outside(c(r.box).domain)) {
        SCOPED_TRACE("\"" + v + "\"");
        paste(r.box, v);
        click("图形按钮_计算");
        for (const char* d : r.dashed) EXPECT_EQ(text(d), "-") << d;
        EXPECT_EQ(text("编辑框_提示"), "");
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    }
    type(r.box, r.zero_allowed ? "0" : start);
    if (r.zero_allowed) {
        EXPECT_EQ(text(r.box), "0");
    }
    click("图形按钮_计算");
    for (const char* d : r.dashed) EXPECT_NE(text(d), "-") << d;
    EXPECT_EQ(text("编辑框_提示"), "\r\n   计算完成！");
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
}

INSTANTIATE_TEST_SUITE_P(
    WaterSupply, DomainEdges,
    ::testing::Values(
        // The pressure gives the head h the tank height is worked from.
        DomainRow{"编辑框_洞内设备需要水压", false, {H, Hp}}, DomainRow{"编辑框_水头损失系数", false, {H, Hp}},
        DomainRow{"编辑框_管道内水头损失", true, {H, Hp}}, DomainRow{"编辑框_贮水系数", false, {V}},
        DomainRow{"编辑框_调节系数", false, {V}}, DomainRow{"编辑框_生产工人", true, {Qs, V}},
        DomainRow{"编辑框_用水系数生产工人", true, {Qs, V}}, DomainRow{"编辑框_非生产工人", true, {Qs, V}},
        DomainRow{"编辑框_用水系数非生产工人", true, {Qs, V}}, DomainRow{"编辑框_生产用水量", true, {V}}),
    [](const ::testing::TestParamInfo<DomainRow>& i) { return "box" + std::to_string(i.index); });

// A source larger than the demand needs no volume formula: its inputs are
// not read, so empty they refuse nothing.
TEST_F(WaterSupplyProgram, SpringFedTankReadsNoVolumeInputs)
{
    for (const char* box : {"编辑框_贮水系数", "编辑框_调节系数", "编辑框_生产用水量"}) type(box, "");
    choose("组合框_水源流量", "大于用水量");
    click("图形按钮_计算");
    EXPECT_EQ(text(V), "20~30");
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
}

// --- the form and its choices ------------------------------------------------------------

TEST_F(WaterSupplyProgram, StartState)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_供水计算"));
    EXPECT_EQ(rt.get(c(""), prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Width).integer(), cmd_client_width(U("main", "外形框1_供水计算")) - 10);
    EXPECT_EQ(rt.get(c(""), prop::Height).integer(), cmd_client_height(U("main", "外形框1_供水计算")) - 10);
    EXPECT_FALSE(disabled("图形按钮_导出"));
    EXPECT_EQ(text("标签18"), "隧道水池计算");

    EXPECT_EQ(c("组合框_水源流量").items, (std::vector<std::string>{"大于用水量", "小于用水量"}));
    EXPECT_EQ(current_item_text(U(kForm, "组合框_水源流量")), "小于用水量");
    EXPECT_EQ(c("组合框_昼夜用水量").items, (std::vector<std::string>{"小于1000m3", "1000~2000m3"}));
    EXPECT_EQ(current_item_text(U(kForm, "组合框_昼夜用水量")), "小于1000m3");
    for (const char* box : kDemandInputs) EXPECT_FALSE(disabled(box)) << box;

    const struct {
        const char* box;
        const char* text;
        int mode;
    } boxes[] = {
        {"编辑框_洞内设备需要水压", "0.3", 10}, {"编辑框_配水点要求水头", "30", 1}, {"编辑框_水头损失系数", "1.05", 10},
        {"编辑框_管道内水头损失", "0.4", 10}, {"编辑框_贮水系数", "0.2", 10}, {"编辑框_调节系数", "1.10", 10},
        {"编辑框_生产工人", "80", 10}, {"编辑框_用水系数生产工人", "0.15", 10}, {"编辑框_非生产工人", "22", 10},
        {"编辑框_用水系数非生产工人", "1.0", 10}, {Qs, "-", 1}, {"编辑框_生产用水量", "35", 10},
        {H, "", 1}, {Hp, "", 1}, {V, "", 1}, {"编辑框1", "1.2", 10}, {"编辑框2", "4.32", 1}, {"编辑框_提示", "", 1},
    };
    for (const auto& b : boxes) {
        EXPECT_EQ(text(b.box), b.text) << b.box;
        EXPECT_EQ(c(b.box).input_mode, b.mode) << b.box;
    }
    EXPECT_EQ(text("标签_20"), kSmallCaption);
    EXPECT_EQ(c("编辑框_提示").text_color, 0xFFFFFF);
    EXPECT_EQ(c("编辑框_提示").back_color, 0x83570E); // red 14, green 87, blue 131

    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), 7u);
    EXPECT_EQ(tips.at(c("编辑框_调节系数").id), "取1.10~1.20 ");
    EXPECT_EQ(tips.at(c("编辑框_贮水系数").id),
              "贮水系数(为水池容量/昼夜用水量),昼夜用水量小于1000m3时，采用1/4~1/6\r\n夜用水量在1000~2000m3 时，采用 1/6~1/8；");
}

TEST_F(WaterSupplyProgram, SourceChoiceTogglesTheDemandInputsAndTheLabelWaitsForACalculation)
{
    choose("组合框_水源流量", "大于用水量");
    for (const char* box : kDemandInputs) EXPECT_TRUE(disabled(box)) << box;
    EXPECT_TRUE(focused("编辑框_提示"));
    EXPECT_EQ(text("标签_20"), kSmallCaption) << "no calculation yet";
    click("图形按钮_计算");
    EXPECT_EQ(text("标签_20"), kLargeCaption);

    choose("组合框_水源流量", "小于用水量");
    for (const char* box : kDemandInputs) EXPECT_FALSE(disabled(box)) << box;
    EXPECT_TRUE(focused("编辑框_提示"));
    EXPECT_EQ(text("标签_20"), kLargeCaption) << "kept until the next calculation";
    EXPECT_EQ(text(V), "20~30");
    click("图形按钮_计算");
    EXPECT_EQ(text("标签_20"), kSmallCaption);
    EXPECT_EQ(text(V), "193");
}

TEST_F(WaterSupplyProgram, DailyUseWritesTheStorageFactorAndMovesTheFocus)
{
    const std::pair<const char*, const char*> steps[] = {
        {"1000~2000m3", "0.143"}, {"小于1000m3", "0.2"}, {"1000~2000m3", "0.143"}};
    for (const auto& [daily, factor] : steps) {
        type_only("编辑框_贮水系数", "0.5"); // the focus is on the box before the choice
        choose("组合框_昼夜用水量", daily);
        EXPECT_EQ(text("编辑框_贮水系数"), factor) << daily;
        EXPECT_TRUE(focused("编辑框_提示")) << daily;
    }
}

// The storage class follows the daily use (Qs + Qc)·24 the calculation
// works out, whatever the list showed: the list takes that class, and the
// factor its starting value unless the one typed lies in its range (1/6~1/4
// below 1000 m3, 1/8~1/6 from 1000 to 2000). Above 2000 the last class
// stands and the report says the table ends there.
TEST_F(WaterSupplyProgram, TheStorageClassFollowsTheDailyUse)
{
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> typed;
        const char* listed; // the list's choice before computing
        const char* daily_use, *factor, *volume;
        const char* reported; // a sentence of the report, or nothing
    } cases[] = {
        // Qs 1.5 (from 1.4167); V = 1.1 × 0.2 × 36.5 × 24 = 192.72 shows 193.
        {"starting inputs", {}, "小于1000m3", "小于1000m3", "0.2", "193",
         "本工程昼夜用水量为（生活用水量 + 生产用水量）× 24 = (1.5 + 35) × 24 = 876 m³，小于1000m3，贮水系数C取 0.2"},
        {"the larger class chosen for a smaller use", {}, "1000~2000m3", "小于1000m3", "0.2", "193", nullptr},
        // (160 × 0.15 + 40 × 1.0) / 24 = 2.667 shows 2.7; (2.7 + 60) × 24 =
        // 1504.8; V = 1.1 × 0.143 × 62.7 × 24 = 236.705 shows 237.
        {"160 and 40 workers, 60 m3/h",
         {{"编辑框_生产工人", "160"}, {"编辑框_非生产工人", "40"}, {"编辑框_生产用水量", "60"}}, "小于1000m3", "1000~2000m3",
         "0.143", "237", "= (2.7 + 60) × 24 = 1504.8 m³，在1000~2000m3之间，贮水系数C取 0.143"},
        // V = 1.1 × 0.15 × 62.7 × 24 = 248.292 shows 249.
        {"a factor typed inside the class's range stays",
         {{"编辑框_生产工人", "160"}, {"编辑框_非生产工人", "40"}, {"编辑框_生产用水量", "60"}, {"编辑框_贮水系数", "0.15"}},
         "小于1000m3", "1000~2000m3", "0.15", "249", nullptr},
        // V = 1.1 × 0.25 × 36.5 × 24 = 240.9 shows 241.
        {"1/4 stays below 1000 m3", {{"编辑框_贮水系数", "0.25"}}, "小于1000m3", "小于1000m3", "0.25", "241", nullptr},
        {"a factor outside the class's range", {{"编辑框_贮水系数", "0.3"}}, "小于1000m3", "小于1000m3", "0.2", "193", nullptr},
        // (1.5 + 40.1) × 24 = 998.4; V = 1.1 × 0.2 × 41.6 × 24 = 219.648 shows 220.
        {"just below 1000 m3", {{"编辑框_生产用水量", "40.1"}}, "1000~2000m3", "小于1000m3", "0.2", "220", nullptr},
        // (1.5 + 40.2) × 24 = 1000.8; V = 1.1 × 0.143 × 41.7 × 24 = 157.426 shows 158.
        {"just above 1000 m3", {{"编辑框_生产用水量", "40.2"}}, "小于1000m3", "1000~2000m3", "0.143", "158", nullptr},
        // (1.5 + 40.16665) × 24 = 999.9996 is below 1000: printed whole, not
        // rounded onto the boundary it stays below.
        {"a daily use a hair below 1000 m3", {{"编辑框_生产用水量", "40.16665"}}, "1000~2000m3", "小于1000m3", "0.2", "220",
         "= (1.5 + 40.16665) × 24 = 999.9996 m³，小于1000m3"},
        // (1.5 + 100) × 24 = 2436; V = 1.1 × 0.143 × 101.5 × 24 = 383.183 shows 384.
        {"above 2000 m3", {{"编辑框_生产用水量", "100"}}, "小于1000m3", "1000~2000m3", "0.143", "384",
         "= 2436 m³，超出贮水系数表所列范围（不大于2000m³），按1000~2000m3一档取值，贮水系数C取 0.143"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        choose("组合框_昼夜用水量", k.listed);
        for (const auto& [box, value] : k.typed) type(box, value);
        click("图形按钮_计算");
        EXPECT_EQ(current_item_text(U(kForm, "组合框_昼夜用水量")), k.daily_use);
        EXPECT_EQ(text("编辑框_贮水系数"), k.factor);
        EXPECT_EQ(text(V), k.volume);
        EXPECT_EQ(results_state(kForm), Runtime::Results::Current);
        if (k.reported) {
            fs::remove_all(folder / "导出的方案");
            backend.queue_answer(0);
            click("图形按钮_导出");
            ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
            const std::string doc = report_text(folder / "导出的方案" / "隧道临时供水计算.doc");
            EXPECT_NE(doc.find(k.reported), std::string::npos) << doc;
        }
        for (const auto& [box, value] : std::vector<std::pair<const char*, const char*>>{
                 {"编辑框_生产工人", "80"}, {"编辑框_非生产工人", "22"}, {"编辑框_生产用水量", "35"}})
            type(box, value);
    }
}

TEST_F(WaterSupplyProgram, LogBoxIsEmptiedBeforeEachCalculation)
{
    click("图形按钮_计算");
    click("图形按钮_计算");
    EXPECT_EQ(text("编辑框_提示"), "\r\n   计算完成！");
}

// --- the converters: typing only -----------------------------------------------------------

struct Conversion {
    const char* source;
    const char* typed;
    const char* target;
    const char* shown;
};

void PrintTo(const Conversion& c, std::ostream* os) { *os << c.source << " " << c.typed; }

struct Converters : WaterSupplyProgram, ::testing::WithParamInterface<Conversion> {};

TEST_P(Converters, TypingShowsTheUnroundedResult)
{
    const Conversion& cv = GetParam();
    type_only(cv.source, cv.typed);
    EXPECT_EQ(text(cv.target), cv.shown);
    // Leaving tidies the typed number; the result stays as typing left it.
    rt.set_focus(nullptr);
    EXPECT_EQ(text(cv.target), cv.shown);
}

INSTANTIATE_TEST_SUITE_P(WaterSupply, Converters,
                         ::testing::Values(Conversion{"编辑框1", "1.2", "编辑框2", "4.32"},
                                           Conversion{"编辑框1", "1.25", "编辑框2", "4.5"},
                                           Conversion{"编辑框1", "0.333", "编辑框2", "1.1988"},
                                           Conversion{"编辑框1", "0", "编辑框2", "0"},
                                           // No flow, or a negative one, converts to nothing.
                                           Conversion{"编辑框1", "", "编辑框2", "-"},
                                           Conversion{"编辑框1", "-.5", "编辑框2", "-"},
                                           Conversion{"编辑框_洞内设备需要水压", "0", "编辑框_配水点要求水头", "-"},
                                           Conversion{"编辑框_洞内设备需要水压", "abc", "编辑框_配水点要求水头", "-"},
                                           Conversion{"编辑框_洞内设备需要水压", "0.3", "编辑框_配水点要求水头", "30"},
                                           Conversion{"编辑框_洞内设备需要水压", "0.35", "编辑框_配水点要求水头", "35"},
                                           Conversion{"编辑框_洞内设备需要水压", "1.234", "编辑框_配水点要求水头", "123.4"}));

TEST_F(WaterSupplyProgram, WritesByTheProgramDoNotConvert)
{
    set_control_text(U(kForm, "编辑框1"), "10");
    set_control_text(U(kForm, "编辑框_洞内设备需要水压"), "0.5");
    EXPECT_EQ(text("编辑框2"), "4.32");
    EXPECT_EQ(text("编辑框_配水点要求水头"), "30");
    // Nor does a write while another box has the focus.
    rt.set_focus(&c("编辑框_洞内设备需要水压"));
    set_control_text(U(kForm, "编辑框1"), "20");
    EXPECT_EQ(text("编辑框2"), "4.32");
    // The head follows the pressure into the calculation only through typing.
    type("编辑框_洞内设备需要水压", "0.4");
    click("图形按钮_计算");
    EXPECT_EQ(text(H), "48.42"); // 1.2 × 40 + 1.05 × 0.4
}

TEST_F(WaterSupplyProgram, LookupsShowTheHeadLossTables)
{
    const std::pair<const char*, const char*> rows[] = {
        {"按钮1", "resources/pictures/supply/water_head_loss_steel.png"},
        {"按钮2", "resources/pictures/supply/water_head_loss_cast_iron.png"},
    };
    for (const auto& [button, table] : rows) {
        click(button);
        ASSERT_NE(rt.form("popup"), nullptr) << button;
        EXPECT_EQ(picture("popup", "图片框2"), table);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 580);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 580);
    }
}

// --- the report ------------------------------------------------------------------------


struct WaterSupplyReport : WaterSupplyProgram {
    fs::path report() { return folder / "导出的方案" / "隧道临时供水计算.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(WaterSupplyReport, CarriesEveryShownValueWithTheCountdownBetweenGroups)
{
    type("编辑框_生产工人", "120");
    type("编辑框_生产用水量", "60");
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.messages[1].text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages[1].caption, "信息：");
    EXPECT_EQ(backend.owners, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("隧道高压供水计算"), std::string::npos);
    EXPECT_NE(doc.find("《简明施工计算手册》"), std::string::npos);
    EXPECT_EQ(doc.find("编辑框"), std::string::npos) << "a placeholder is left";
    EXPECT_EQ(doc.find("组合框"), std::string::npos) << "a placeholder is left";
    // Qs = (120 × 0.15 + 22 × 1.0) / 24 = 1.667 shows 1.7; (1.7 + 60) × 24 =
    // 1480.8 m3 a day; V = 1.1 × 0.143 × 61.7 × 24 = 232.93 shows 233;
    // H′ = 1.05 × 36.42 = 38.241 shows 38.3
    for (const char* shown : {"本工程水源流量小于用水量。",
                              "本工程昼夜用水量为（生活用水量 + 生产用水量）× 24 = (1.7 + 60) × 24 = 1480.8 m³，在1000~2000m3之间，贮水系数C取 0.143",
                              "=1.2×30+1.05×0.4=36.42", "=1.05×36.42≈38.3", "=120×0.15+22×1.0", "≈1.7",
                              "=1.10×0.143×(1.7+60)×24≈233", "需水池容积 V = 233 m³"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;

    std::vector<std::string> marks;
    for (const std::string& t : backend.trail)
        if (t.rfind("计算书已导出 ", 0) != 0) marks.push_back(t);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(std::count_if(backend.trail.begin(), backend.trail.end(),
                            [](const std::string& t) { return t.rfind("计算书已导出 ", 0) == 0; }),
              100);
    EXPECT_FALSE(disabled("图形按钮_导出"));
    EXPECT_FALSE(disabled("图形按钮_计算"));
}

// A spring-fed tank is not sized by the volume formula: the report gives
// the rule it follows instead of arithmetic that would end in "20~30".
TEST_F(WaterSupplyReport, SourceLargerThanDemandReportsTheRangeWithoutTheFormula)
{
    choose("组合框_水源流量", "大于用水量");
    click("图形按钮_计算");
    export_ok();
    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("本工程水源流量大于用水量。"), std::string::npos);
    EXPECT_NE(doc.find("利用高山自流供水，且水源流量大于用水高峰流量，水池只需调节水量，容积取20~30m³。"), std::string::npos);
    EXPECT_NE(doc.find("需水池容积 V = 20~30 m³"), std::string::npos);
    EXPECT_EQ(doc.find("×24"), std::string::npos) << "the volume formula";
    EXPECT_EQ(doc.find("贮水系数C取"), std::string::npos);
    EXPECT_EQ(doc.find("编辑框"), std::string::npos);
    EXPECT_EQ(doc.find("计算值_"), std::string::npos);

    // Back to a source smaller than the demand: the formula, not the rule.
    choose("组合框_水源流量", "小于用水量");
    click("图形按钮_计算");
    export_ok();
    const std::string smaller = report_text(report());
    EXPECT_NE(smaller.find("本工程昼夜用水量为（生活用水量 + 生产用水量）× 24 = (1.5 + 35) × 24 = 876 m³，小于1000m3，贮水系数C取 0.2"),
              std::string::npos);
    EXPECT_NE(smaller.find("=1.10×0.2×(1.5+35)×24≈193"), std::string::npos);
    EXPECT_EQ(smaller.find("利用高山自流供水"), std::string::npos);
    EXPECT_EQ(smaller.find("l000"), std::string::npos);
}

// A figure rounded up is signed "≈"; one that is exactly a step (its
// binary value a hair above it) is printed as worked out and signed "=".
TEST_F(WaterSupplyReport, AFigureExactlyAtAStepIsSignedEquals)
{
    for (const auto& [box, value] : {std::pair{"编辑框_生产工人", "4"}, std::pair{"编辑框_非生产工人", "33"},
                                     std::pair{"编辑框_管道内水头损失", "0"}, std::pair{"编辑框_生产用水量", "11.1"}})
        type(box, value);
    click("图形按钮_计算");
    export_ok();
    const std::string doc = report_text(report());
    // Qs = 1.4, H′ = 1.05 × 36 = 37.8, V = 1.1 × 0.2 × 12.5 × 24 = 66
    for (const char* exact : {"=1.2×30+1.05×0=36", "=1.05×36=37.8", "=1.10×0.2×(1.4+11.1)×24=66"})
        EXPECT_NE(doc.find(exact), std::string::npos) << exact << "\n" << doc;
    EXPECT_EQ(doc.find("≈"), std::string::npos) << doc;
}

TEST_F(WaterSupplyReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
}

} // namespace

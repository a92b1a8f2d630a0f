// The compressed-air supply module in the whole headless program: the worked
// figures as a table of cases, the equipment rows, the frozen half second
// of the compute button, the lookups and the calculation report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <filesystem>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "AirSupply";

// Keeps, for the AirSupply form, each status caption and countdown picture
// in order, each write with the virtual time it happened at, and the owner
// of every message box.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::string> trail;
    struct Write {
        std::string control;
        int prop;
        int64_t at;
    };
    std::vector<Write> writes;
    std::vector<std::string> owners;

    void property_changed(Control& c, int p) override
    {
        if (c.form->name != kForm) return;
        writes.push_back({c.name, p, elapsed()});
        if (c.name == "标签1_提示信息" && p == prop::Label::Caption) trail.push_back(c.text);
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
    }
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        owners.push_back(owner ? owner->name : "");
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
};

struct AirSupplyProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-air-supply-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form(kForm), nullptr);
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return control_text(U(kForm, name)); }
    void type(const std::string& name, const std::string& value)
    {
        rt.user_type(c(name), value);
        rt.set_focus(nullptr);
    }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    void click(const std::string& name) { rt.user_click(c(name)); }
    // Pastes a text over the box's whole text at once, then leaves the box.
    void paste(const std::string& name, const std::string& value)
    {
        rt.set_focus(&c(name));
        rt.user_edit_text(c(name), value);
        rt.set_focus(nullptr);
    }
    std::string picture(const std::string& form, const std::string& control)
    {
        const Bytes& b = rt.unit(form, control).pictures[0];
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<unknown>";
    }
};

const char* const Sq = "编辑框_风动机具所需风量";
const char* const Qleak = "编辑框_漏耗损失";
const char* const Q = "编辑框_计算本工程供风能力";

// --- the calculation: worked figures --------------------------------------------------

struct Step {
    enum Kind { Type, Paste, Choose } kind;
    const char* control;
    const char* value;
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    const char *q_leak, *sum_q, *q;
};

void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct WorkedFigures : AirSupplyProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(WorkedFigures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.kind == Step::Type) type(s.control, s.value);
        else if (s.kind == Step::Paste) paste(s.control, s.value);
        else choose(s.control, s.value);
    }
    click("图形按钮_计算");
    EXPECT_EQ(text(Qleak), fc.q_leak);
    EXPECT_EQ(text(Sq), fc.sum_q);
    EXPECT_EQ(text(Q), fc.q);
    EXPECT_EQ(results_state(kForm), std::string(fc.q) == "-" ? Runtime::Results::Refused : Runtime::Results::Current);
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
}

// Finite each, their product is not.
const std::string kBig = "1" + std::string(200, '0');

INSTANTIATE_TEST_SUITE_P(
    AirSupply, WorkedFigures,
    ::testing::Values(
        // Every figure is air the site needs and shows rounded up. Row 3
        // ("其他") holds 0 and 0. q漏 = 1.215 × 1.5 = 1.8225 shows 1.823; Σq =
        // 4.86 × 3 + 12 × 2 = 38.58 shows 38.6; Q = 1.75 × (38.6 × 0.85 +
        // 1.823) × 1.03 = 62.426 shows 62.43 (the unrounded 38.58 would give
        // 62.395, 62.40).
        FigureCase{"defaults", {}, "1.823", "38.6", "62.43"},
        // Σq = 4.86 × 10 + 12 × 4 = 96.6; Q = 1.75 × (96.6 × 0.85 + 1.823) ×
        // 1.03 = 151.289 shows 151.29.
        FigureCase{"every row chosen once",
                   {{Step::Choose, "组合框_洞内需风设备1", "TY28风动凿岩机"},
                    {Step::Choose, "组合框_洞内需风设备2", "混凝土喷射机"},
                    {Step::Choose, "组合框_洞内需风设备3", "其他"}},
                   "1.823", "96.6", "151.29"},
        // Σq = 38.58 + 3.5 × 2 = 45.58 shows 45.6; Q = 1.75 × (45.6 × 0.85 +
        // 1.823) × 1.03 = 73.1509 shows 73.16.
        FigureCase{"typed third row",
                   {{Step::Type, "编辑框_耗风量3", "3.5"}, {Step::Type, "编辑框_数量3", "2"}},
                   "1.823", "45.6", "73.16"},
        // A row whose count is 0 or empty has no tool in the tunnel: its
        // consumption is not read, whatever it holds. 24 × 0.85 + 1.823 =
        // 22.223; × 1.75 × 1.03 = 40.057 shows 40.06.
        FigureCase{"an unused row's consumption emptied", {{Step::Paste, "编辑框_耗风量3", ""}}, "1.823", "38.6", "62.43"},
        FigureCase{"an empty count", {{Step::Paste, "编辑框_数量3", ""}, {Step::Paste, "编辑框_耗风量3", "abc"}},
                   "1.823", "38.6", "62.43"},
        FigureCase{"no drills", {{Step::Type, "编辑框_数量1", "0"}, {Step::Paste, "编辑框_耗风量1", "-"}}, "1.823", "24", "40.06"},
        FigureCase{"a row in use needs its consumption",
                   {{Step::Type, "编辑框_数量3", "2"}, {Step::Paste, "编辑框_耗风量3", ""}}, "1.823", "-", "-"},
        // No pipe and no reserve: Q is the tools' air alone.
        FigureCase{"zero pipe and reserve",
                   {{Step::Type, "编辑框_管路总长", "0"}, {Step::Type, "编辑框_空压机的备用系数", "0"},
                    {Step::Type, "编辑框_海拔高度影响系数", "1"}, {Step::Type, "编辑框_同时工作系数", "1"}},
                   "0", "38.6", "38.6"},
        // Figures that are exactly a step stay there, though their binary
        // values lie a hair above it: q漏 = 1.1 × 1.5 = 1.65; Σq = 4.86 × 25 =
        // 121.5; Q = 1.75 × (121.5 × 0.9 + 1.65) × 1 = 194.25.
        FigureCase{"figures exactly at a step",
                   {{Step::Type, "编辑框_数量1", "25"}, {Step::Type, "编辑框_数量2", "0"},
                    {Step::Type, "编辑框_管路总长", "1.1"}, {Step::Type, "编辑框_同时工作系数", "0.9"},
                    {Step::Type, "编辑框_海拔高度影响系数", "1"}},
                   "1.65", "121.5", "194.25"},
        // A term that overflows shows "-", and so does Q: it is not
        // computed as if the lost term were 0.
        FigureCase{"overflowing consumption",
                   {{Step::Type, "编辑框_耗风量1", kBig.c_str()}, {Step::Type, "编辑框_数量1", kBig.c_str()}},
                   "1.823", "-", "-"},
        FigureCase{"overflowing leakage",
                   {{Step::Type, "编辑框_管路总长", kBig.c_str()}, {Step::Type, "编辑框_每公里漏风量", kBig.c_str()}},
                   "-", "38.6", "-"}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- the form, the rows and the compute frame ------------------------------------------

TEST_F(AirSupplyProgram, StartState)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_供风计算"));
    EXPECT_EQ(rt.get(c(""), prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Width).integer(), cmd_client_width(U("main", "外形框1_供风计算")) - 10);
    EXPECT_EQ(rt.get(c(""), prop::Height).integer(), cmd_client_height(U("main", "外形框1_供风计算")) - 10);
    EXPECT_FALSE(rt.get(c("图形按钮_导出"), prop::Disabled).truth());
    EXPECT_EQ(text("标签18"), "隧道空压机高压供风量计算");
    EXPECT_EQ(text("分组框1"), "空压机供风参数");

    const std::vector<std::string> tools = {"TY28风动凿岩机", "混凝土喷射机", "其他"};
    const std::pair<const char*, const char*> rows[] = {
        {"组合框_洞内需风设备1", "TY28风动凿岩机"}, {"组合框_洞内需风设备2", "混凝土喷射机"}, {"组合框_洞内需风设备3", "其他"}};
    for (const auto& [combo, item] : rows) {
        EXPECT_EQ(c(combo).items, tools) << combo;
        EXPECT_EQ(current_item_text(U(kForm, combo)), item) << combo;
    }
    const std::pair<const char*, const char*> inputs[] = {
        {"编辑框_耗风量1", "4.86"}, {"编辑框_数量1", "3"}, {"编辑框_耗风量2", "12"}, {"编辑框_数量2", "2"},
        {"编辑框_耗风量3", "0"}, {"编辑框_数量3", "0"}, {"编辑框_空压机的备用系数", "0.75"},
        {"编辑框_管路总长", "1.215"}, {"编辑框_每公里漏风量", "1.5"}, {"编辑框_同时工作系数", "0.85"},
        {"编辑框_海拔高度影响系数", "1.03"},
    };
    for (const auto& [box, value] : inputs) {
        EXPECT_EQ(text(box), value) << box;
        EXPECT_EQ(c(box).input_mode, 10) << box;
    }
    // No result shows a figure before a calculation has worked one out.
    const std::pair<const char*, const char*> results[] = {{Sq, "-"}, {Qleak, "-"}, {Q, ""}};
    for (const auto& [box, value] : results) {
        EXPECT_EQ(text(box), value) << box;
        EXPECT_EQ(c(box).input_mode, 1) << box;
    }
    EXPECT_EQ(c(Q).back_color, 0xD9D9D9);

    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), 2u);
    EXPECT_EQ(tips.at(c("编辑框_空压机的备用系数").id), "一般取0.75~0.9");
    EXPECT_EQ(tips.at(c("编辑框_每公里漏风量").id), "一般取1.5~2.0m3/min");
    EXPECT_EQ(text("标签1_提示信息"), "方案导出需要Word2007以上版本！");
}

TEST_F(AirSupplyProgram, ChoosingEquipmentWritesOnlyItsRow)
{
    const char* const rows[][3] = {
        {"组合框_洞内需风设备1", "编辑框_耗风量1", "编辑框_数量1"},
        {"组合框_洞内需风设备2", "编辑框_耗风量2", "编辑框_数量2"},
        {"组合框_洞内需风设备3", "编辑框_耗风量3", "编辑框_数量3"},
    };
    const char* const items[][3] = {{"TY28风动凿岩机", "4.86", "10"}, {"混凝土喷射机", "12", "4"}, {"其他", "0", "0"}};
    for (int r = 0; r < 3; ++r)
        for (const auto& item : items) {
            // Every box starts from a mark of its own, so a stray write shows.
            for (int k = 0; k < 3; ++k) {
                type(rows[k][1], std::to_string(k + 1) + ".5");
                type(rows[k][2], std::to_string(k + 7));
            }
            choose(rows[r][0], item[0]);
            for (int k = 0; k < 3; ++k) {
                const bool chosen = k == r;
                EXPECT_EQ(text(rows[k][1]), chosen ? item[1] : std::to_string(k + 1) + ".5") << rows[r][0] << " " << item[0];
                EXPECT_EQ(text(rows[k][2]), chosen ? item[2] : std::to_string(k + 7)) << rows[r][0] << " " << item[0];
            }
        }
}

TEST_F(AirSupplyProgram, TypedRowValueStaysUntilAnItemIsChosen)
{
    type("编辑框_耗风量2", "9.5");
    type("编辑框_数量2", "1");
    click("图形按钮_计算");
    EXPECT_EQ(text("编辑框_耗风量2"), "9.5");
    EXPECT_EQ(text(Sq), "24.1"); // 4.86 × 3 + 9.5 × 1
    choose("组合框_洞内需风设备2", "混凝土喷射机"); // the item already shown: still a choice
    EXPECT_EQ(text("编辑框_耗风量2"), "12");
    EXPECT_EQ(text("编辑框_数量2"), "4");
    EXPECT_EQ(text(Sq), "24.1") << "choosing does not recompute";
}

TEST_F(AirSupplyProgram, ComputeKeepsTheButtonPressedHalfASecondAfterTheResults)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    const Bytes lamp = rt.unit("main", "图片框1_呼吸灯").pictures[0];
    backend.sounds.clear();
    backend.writes.clear();
    const int64_t start = backend.elapsed();
    click("图形按钮_计算");

    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    std::vector<std::string> order;
    int64_t q_at = -1, restored_at = -1;
    for (const auto& w : backend.writes) {
        if (w.control == "图形按钮_计算" && w.prop == prop::PicBtn::Picture) {
            order.push_back(w.control);
            restored_at = w.at;
        } else if (w.prop == prop::EditBox::Content) {
            order.push_back(w.control);
            if (w.control == Q) q_at = w.at;
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"图形按钮_计算", Qleak, Sq, Q, "图形按钮_计算"}));
    EXPECT_EQ(q_at, start);
    EXPECT_EQ(restored_at, start + 500);
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(rt.unit("main", "图片框1_呼吸灯").pictures[0], lamp) << "the busy lamp is not used";
}

TEST_F(AirSupplyProgram, LookupsShowTheirTablesInTheirWindowSize)
{
    const struct {
        const char* button;
        const char* table;
    } rows[] = {
        {"按钮1", "resources/pictures/supply/air_simultaneity_factor.png"},
        {"按钮2", "resources/pictures/supply/air_altitude_factor.png"},
    };
    for (const auto& r : rows) {
        click(r.button);
        ASSERT_NE(rt.form("popup"), nullptr) << r.button;
        EXPECT_EQ(picture("popup", "图片框2"), r.table);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 580);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 300);
    }
}

// --- the report ------------------------------------------------------------------------

struct AirSupplyReport : AirSupplyProgram {
    fs::path report() { return folder / "导出的方案" / "隧道临时供风计算.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(AirSupplyReport, CarriesEveryShownValueWithTheCountdownBetween)
{
    choose("组合框_洞内需风设备1", "TY28风动凿岩机");
    choose("组合框_洞内需风设备2", "混凝土喷射机");
    type("编辑框_海拔高度影响系数", "1.1");
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.messages[1].text, "计算书导出成功！");
    EXPECT_EQ(backend.messages[1].caption, "信息：");
    EXPECT_EQ(backend.owners, (std::vector<std::string>{"main", "main"}));
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("隧道空压机高压供风计算"), std::string::npos);
    EXPECT_NE(doc.find("《简明施工计算手册》"), std::string::npos);
    EXPECT_EQ(doc.find("编辑框"), std::string::npos) << "a placeholder is left";
    // Σq 96.6 (4.86 × 10 + 12 × 4 + 0), Q = 1.75 × (96.6 × 0.85 + 1.823) ×
    // 1.1 = 161.571 shows 161.58
    for (const char* shown : {"(1+0.75)×(96.6×0.85+1.823)×1.1≈161.58m³/min", "=1.5×1.215≈1.823m³/min",
                              "供风量应不小于 161.58 m³/min"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;

    std::vector<std::string> marks;
    for (const std::string& t : backend.trail)
        if (t.rfind("计算书已导出 ", 0) != 0) marks.push_back(t);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    std::vector<std::string> progress;
    for (const std::string& t : backend.trail)
        if (t.rfind("计算书已导出 ", 0) == 0) progress.push_back(t);
    ASSERT_EQ(progress.size(), 100u);
    EXPECT_EQ(progress.front(), "计算书已导出 1%  ");
    EXPECT_EQ(progress.back(), "计算书已导出 100%  ");
    EXPECT_FALSE(rt.get(c("图形按钮_导出"), prop::Disabled).truth());
    EXPECT_FALSE(rt.get(c("图形按钮_计算"), prop::Disabled).truth());
}

// A figure rounded up is signed "≈"; one that is exactly a step (its
// binary value a hair above it) is printed as worked out and signed "=".
TEST_F(AirSupplyReport, AFigureExactlyAtAStepIsSignedEquals)
{
    for (const auto& [box, value] : {std::pair{"编辑框_数量1", "25"}, std::pair{"编辑框_数量2", "0"},
                                     std::pair{"编辑框_管路总长", "1.1"}, std::pair{"编辑框_同时工作系数", "0.9"},
                                     std::pair{"编辑框_海拔高度影响系数", "1"}})
        type(box, value);
    click("图形按钮_计算");
    export_ok();
    const std::string doc = report_text(report());
    for (const char* exact : {"=1.5×1.1=1.65m³/min", "(1+0.75)×(121.5×0.9+1.65)×1=194.25m³/min"})
        EXPECT_NE(doc.find(exact), std::string::npos) << exact << "\n" << doc;
    EXPECT_EQ(doc.find("≈"), std::string::npos) << doc;
}

// A report states only what a calculation worked out from the inputs on the
// form: before one, after an input or a row's equipment changed since, or
// after a calculation with an input outside its domain, nothing is written.
TEST_F(AirSupplyReport, OnlyCurrentResultsAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));

    click("图形按钮_计算");
    type("编辑框_管路总长", "2.4");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    click("图形按钮_计算");
    choose("组合框_洞内需风设备3", "混凝土喷射机"); // writes the row's boxes
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));

    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算书导出成功！");
    EXPECT_NE(report_text(report()).find("供风量应不小于 " + text(Q) + " m³/min"), std::string::npos);
}

// Each number the formula reads: every text outside its domain gives "-"
// for what is built on it and nothing to export; 0 where the box allows it
// is a value.
using testsupport::DomainRow;

struct DomainEdges : AirSupplyReport, ::testing::WithParamInterface<DomainRow> {};

TEST_P(DomainEdges, OutsideGivesDashAndNothingToExport)
{
    const DomainRow& r = GetParam();
    const std::string start = text(r.box);
    type("编辑框_数量3", "1"); // every row in use: each reads its consumption
    const bool count = std::string(r.box).starts_with("编辑框_数量");
    for (const std::string& v : testsupport::texts_outside(c(r.box).domain)) {
        SCOPED_TRACE("\"" + v + "\"");
        paste(r.box, v);
        // (a count the box leaves empty is no input outside its domain: the
        // row has no tool)
        if (count && text(r.box).find_first_not_of(' ') == std::string::npos) continue;
        click("图形按钮_计算");
        for (const char* d : r.dashed) EXPECT_EQ(text(d), "-") << d;
        export_ok();
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    }
    type(r.box, r.zero_allowed ? "0" : start);
    if (r.zero_allowed) {
        EXPECT_EQ(text(r.box), "0");
    }
    click("图形按钮_计算");
    for (const char* d : r.dashed) EXPECT_NE(text(d), "-") << d;
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算书导出成功！");
}

INSTANTIATE_TEST_SUITE_P(
    AirSupply, DomainEdges,
    ::testing::Values(DomainRow{"编辑框_耗风量1", true, {Sq, Q}}, DomainRow{"编辑框_数量1", true, {Sq, Q}},
                      DomainRow{"编辑框_耗风量2", true, {Sq, Q}}, DomainRow{"编辑框_数量2", true, {Sq, Q}},
                      DomainRow{"编辑框_耗风量3", true, {Sq, Q}}, DomainRow{"编辑框_数量3", true, {Sq, Q}},
                      DomainRow{"编辑框_空压机的备用系数", true, {Q}}, DomainRow{"编辑框_管路总长", true, {Qleak, Q}},
                      DomainRow{"编辑框_每公里漏风量", true, {Qleak, Q}}, DomainRow{"编辑框_同时工作系数", false, {Q}},
                      DomainRow{"编辑框_海拔高度影响系数", false, {Q}}),
    [](const ::testing::TestParamInfo<DomainRow>& i) { return "box" + std::to_string(i.index); });

TEST_F(AirSupplyReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_FALSE(rt.get(c("图形按钮_计算"), prop::Disabled).truth());
}

} // namespace

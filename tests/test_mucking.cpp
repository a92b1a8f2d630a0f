// The mucking module in the whole headless program: the worked figures and
// the input checks as a table of cases, the form as it starts, the compute
// frame, the swell-factor lookup and the mucking report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::story_text;
using testsupport::file_bytes;
using testsupport::occurrences;

constexpr const char* kForm = "Mucking";
constexpr const char* kIncomplete = "参数不完整，请重新输入！";
constexpr const char* kIdleStatus = "方案导出需要Word2007以上版本！";
constexpr const char* Z = "编辑框1单循环爆破石渣量";
constexpr const char* N = "编辑框2出碴设备数量";
constexpr const char* T = "编辑框3出碴时间";
constexpr const char* Log = "编辑框4日志";

const char* const kPlaceholders[] = {
    "编辑框1开挖断面面积", "编辑框1循环进尺", "编辑框1超挖系数", "编辑框1岩体松胀系数",
    "编辑框1单循环爆破石渣量", "编辑框2运输距离", "编辑框2装载设备铲斗容量", "编辑框2运输设备厢斗容量",
    "编辑框2运输设备速度", "编辑框2装载机装一斗用时", "编辑框2出碴设备数量", "编辑框3出碴时间",
};

std::string picture_name(const Bytes& b)
{
    for (const std::string& p : resource_paths("resources/pictures/"))
        if (resource(p) == b) return p;
    return "<unknown>";
}

// Records, on the mucking form, the status label's captions and the countdown
// pictures in the order they were shown, and what stood on the form whenever
// a message box came up.
struct RecordingBackend : HeadlessBackend {
    Runtime* rt = nullptr;
    std::vector<std::string> trail;
    struct Shown {
        std::string text, owner, status, log, compute_button, lamp;
    };
    std::vector<Shown> boxes;

    void property_changed(Control& c, int p) override
    {
        if (c.form->name != kForm) return;
        if (c.name == "标签1_提示信息" && p == prop::Label::Caption) trail.push_back(c.text);
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
    }
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        Form* f = rt->form(kForm);
        boxes.push_back({text, owner ? owner->name : "", f->find("标签1_提示信息")->text, f->find(Log)->text,
                         picture_name(f->find("图形按钮_计算")->pictures[0]),
                         picture_name(rt->unit("main", "图片框1_呼吸灯").pictures[0])});
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
};

struct MuckingProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        backend.rt = &rt;
        folder = fs::temp_directory_path() / ("jsb-mucking-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form("main"), nullptr);
        ASSERT_NE(rt.form(kForm), nullptr);
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return control_text(U(kForm, name)); }
    // Types into a box and moves the focus away, as a user going on to the next box.
    void type(const std::string& name, const std::string& value)
    {
        rt.user_type(c(name), value);
        rt.set_focus(nullptr);
    }
    void click(const std::string& name) { rt.user_click(c(name)); }
    bool disabled(const std::string& name) { return rt.get(c(name), prop::Disabled).truth(); }
    std::string picture(const std::string& form, const std::string& control)
    {
        return picture_name(rt.unit(form, control).pictures[0]);
    }
    int incomplete_messages()
    {
        return int(std::count_if(backend.messages.begin(), backend.messages.end(),
                                 [](const HeadlessBackend::Message& m) { return m.text == kIncomplete; }));
    }
};

// --- the calculation ------------------------------------------------------------------

struct Step {
    enum Kind {
        Type,        // typed, then the focus moves on
        TypeStaying, // typed, the focus stays in the box
        Compute,     // an earlier calculation
    } kind;
    const char* control = "";
    const char* value = "";
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    const char* z;
    const char* n;
    const char* t;
    int refusals; // "参数不完整" boxes of the last calculation
};

void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct Figures : MuckingProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(Figures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.kind == Step::Compute) click("图形按钮_计算");
        else rt.user_type(c(s.control), s.value);
        if (s.kind == Step::Type) rt.set_focus(nullptr);
    }
    const int before = incomplete_messages();
    click("图形按钮_计算");
    EXPECT_EQ(text(Z), fc.z);
    EXPECT_EQ(text(N), fc.n);
    EXPECT_EQ(text(T), fc.t);
    EXPECT_EQ(incomplete_messages() - before, fc.refusals);
    for (const auto& m : backend.messages)
        if (m.text == kIncomplete) {
            EXPECT_EQ(m.caption, "信息：");
            EXPECT_EQ(m.style, 0);
        }
    EXPECT_EQ(text(Log), "\r\n    计算完成！") << "emptied first, then one line";
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

// 1e308 typed out in full: times the default factors it overflows.
const std::string kHugeArea = "1" + std::string(308, '0');

INSTANTIATE_TEST_SUITE_P(
    Mucking, Figures,
    ::testing::Values(
        // 100 × 1.15 × 2.8 × 1.1; 10,800 × 1.2 / 2,640 = 4.909 trucks: with 4
        // the loader would wait, so 5; 354.2 × 22 / 4,320 = 1.804.
        FigureCase{"defaults", {}, "354.2", "5", "1.8", 0},
        // 1,100 m: 7,920 × 1 / 2,640 = 3 trucks exactly; 354.2 × 22 / 3,600 = 2.16.
        FigureCase{"a whole number of trucks stays",
                   {{Step::Type, "编辑框2运输距离", "1100"}, {Step::Type, "编辑框2装载设备铲斗容量", "1"}}, "354.2", "3", "2.16", 0},
        // A typed 0 turns into the empty text when the box loses the focus:
        // the section is incomplete, and neither its volume nor the time
        // built on it stands.
        FigureCase{"advance typed 0 before any calculation",
                   {{Step::Type, "编辑框1循环进尺", "0"}}, "-", "5", "-", 1},
        FigureCase{"advance typed 0 after a calculation",
                   {{Step::Compute}, {Step::Type, "编辑框1循环进尺", "0"}, {Step::Type, "编辑框1开挖断面面积", "50"}},
                   "-", "5", "-", 1},
        FigureCase{"bucket typed 0 after a calculation",
                   {{Step::Compute}, {Step::Type, "编辑框2装载设备铲斗容量", "0"}, {Step::Type, "编辑框2运输距离", "3000"}},
                   "354.2", "-", "-", 1},
        // One calculation, one message, however many groups lack an input.
        FigureCase{"both groups incomplete",
                   {{Step::Compute}, {Step::Type, "编辑框1超挖系数", "0"}, {Step::Type, "编辑框2运输设备速度", "0"},
                    {Step::Type, "编辑框2装载机装一斗用时", "44"}},
                   "-", "-", "-", 1},
        // A 0 still in the box when the button is clicked is a text, not
        // missing, but no figure either.
        FigureCase{"truck body 0 still in focus",
                   {{Step::TypeStaying, "编辑框2运输设备厢斗容量", "0"}}, "354.2", "-", "1.8", 0},
        FigureCase{"a lone minus sign still in focus",
                   {{Step::TypeStaying, "编辑框1开挖断面面积", "-"}}, "-", "5", "-", 0},
        // T is taken from the shown Z 100, not from 100.004 (which would give
        // 1000.04); 0.0025 of a truck is one truck.
        FigureCase{"shown Z read back",
                   {{Step::Type, "编辑框1岩体松胀系数", "1"}, {Step::Type, "编辑框1循环进尺", "1"},
                    {Step::Type, "编辑框1超挖系数", "1.00004"}, {Step::Type, "编辑框2装载机装一斗用时", "36000"},
                    {Step::Type, "编辑框2装载设备铲斗容量", "1"}},
                   "100", "1", "1000", 0},
        // A Z too large to show is "-"; T built on it is "-" as well, not 0.
        FigureCase{"unshowable Z gives no T",
                   {{Step::Type, "编辑框1开挖断面面积", kHugeArea.c_str()}}, "-", "5", "-", 0},
        // Rounding is half away from zero: 2.345 m³ a cycle.
        FigureCase{"halves round away from zero",
                   {{Step::Type, "编辑框1开挖断面面积", "2.345"}, {Step::Type, "编辑框1岩体松胀系数", "1"},
                    {Step::Type, "编辑框1循环进尺", "1"}, {Step::Type, "编辑框1超挖系数", "1"},
                    {Step::Type, "编辑框2运输距离", "125"}, {Step::Type, "编辑框2装载设备铲斗容量", "1"},
                    {Step::Type, "编辑框2运输设备厢斗容量", "10"}, {Step::Type, "编辑框2运输设备速度", "10"},
                    {Step::Type, "编辑框2装载机装一斗用时", "36"}},
                   "2.35", "1", "0.02", 0}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// Each input at the edges of its domain: every result built on it shows "-",
// the others their figures, and the calculation gives no report. An empty
// input also shows the module's message for its group.
TEST_F(MuckingProgram, InputsOutsideTheirDomainGiveNoFigureAndNoReport)
{
    const struct {
        const char* box;
        bool z, n, t; // built on it
    } rows[] = {
        {"编辑框1开挖断面面积", true, false, true}, {"编辑框1循环进尺", true, false, true},
        {"编辑框1超挖系数", true, false, true},     {"编辑框1岩体松胀系数", true, false, true},
        {"编辑框2运输距离", false, true, false},    {"编辑框2运输设备厢斗容量", false, true, false},
        {"编辑框2运输设备速度", false, true, false}, {"编辑框2装载设备铲斗容量", false, true, true},
        {"编辑框2装载机装一斗用时", false, true, true},
    };
    for (const auto& r : rows) {
        ASSERT_EQ(c(r.box).domain, Domain::Positive) << r.box;
        for (const std::string edge : {"", " ", "-", "-0", "0", "abc", "1e309", "-1"}) {
            SCOPED_TRACE(std::string(r.box) + " \"" + edge + "\"");
            const std::string start = text(r.box);
            click("图形按钮_计算");
            const int before = incomplete_messages();
            set_control_text(U(kForm, r.box), edge);
            click("图形按钮_计算");
            EXPECT_EQ(text(Z), r.z ? "-" : "354.2");
            EXPECT_EQ(text(N), r.n ? "-" : "5");
            EXPECT_EQ(text(T), r.t ? "-" : "1.8");
            EXPECT_EQ(incomplete_messages() - before, edge.empty() ? 1 : 0);
            backend.queue_answer(0);
            click("图形按钮_导出");
            EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
            EXPECT_FALSE(fs::exists(folder / "导出的方案"));
            type(r.box, start);
        }
    }
}

TEST_F(MuckingProgram, ComputeFrameHoldsWhileTheRefusalsShow)
{
    type("编辑框1开挖断面面积", "0");
    type("编辑框2运输距离", "0");
    backend.boxes.clear();
    click("图形按钮_计算");
    ASSERT_EQ(backend.boxes.size(), 1u) << "both groups are incomplete: one message says so";
    for (const auto& b : backend.boxes) {
        EXPECT_EQ(b.text, kIncomplete);
        EXPECT_EQ(b.owner, "");
        EXPECT_EQ(b.compute_button, app::res::compute_pressed);
        EXPECT_EQ(b.lamp, app::res::lamp_busy);
        EXPECT_EQ(b.log, "") << "the log is emptied before the checks";
    }
    EXPECT_EQ(picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

TEST_F(MuckingProgram, ClickSoundsFollowTheSoundSwitch)
{
    click("图形按钮_计算");
    EXPECT_TRUE(backend.sounds.empty());
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    backend.sounds.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    backend.sounds.clear();
    backend.queue_answer(1); // the sounds come before the question
    click("图形按钮_导出");
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "export"}));
}

// --- the form as it starts ---------------------------------------------------------

TEST_F(MuckingProgram, StartState)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_隧道渣车"));
    EXPECT_EQ(rt.get(c(""), prop::Left).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Top).integer(), 5);
    EXPECT_EQ(rt.get(c(""), prop::Width).integer(), 947);
    EXPECT_EQ(rt.get(c(""), prop::Height).integer(), 600);
    EXPECT_FALSE(disabled("图形按钮_导出"));
    EXPECT_EQ(text("透明标签1"), "隧道除渣量、渣车数量、除渣时间计算");
    EXPECT_EQ(text("分组框1"), "隧道断面开挖参数");
    EXPECT_EQ(text("分组框2"), "设备参数表");
    EXPECT_EQ(text("按钮1"), "…");

    const struct {
        const char* box;
        const char* shown;
    } inputs[] = {
        {"编辑框1开挖断面面积", "100"}, {"编辑框1循环进尺", "2.8"}, {"编辑框1超挖系数", "1.1"},
        {"编辑框1岩体松胀系数", "1.15"}, {"编辑框2运输距离", "1500"}, {"编辑框2装载设备铲斗容量", "1.2"},
        {"编辑框2运输设备厢斗容量", "12"}, {"编辑框2运输设备速度", "10"}, {"编辑框2装载机装一斗用时", "22"},
    };
    for (const auto& in : inputs) {
        EXPECT_EQ(text(in.box), in.shown) << in.box;
        EXPECT_EQ(c(in.box).input_mode, 10) << in.box;
    }
    for (const char* out : {Z, N, T}) {
        EXPECT_EQ(text(out), "") << out;
        EXPECT_EQ(c(out).input_mode, 1) << out;
        EXPECT_EQ(rt.get(c(out), prop::EditBox::BackColor).integer(), 0xC0C0C0) << out;
    }
    EXPECT_EQ(text(Log), "");
    EXPECT_EQ(c(Log).input_mode, 1);
    EXPECT_EQ(rt.get(c(Log), prop::EditBox::TextColor).integer(), 0xFFFFFF);
    EXPECT_EQ(rt.get(c(Log), prop::EditBox::BackColor).integer(), 131 << 16 | 87 << 8 | 14);
    EXPECT_EQ(text("标签1_提示信息"), kIdleStatus);
    EXPECT_EQ(picture(kForm, "进度条倒数"), app::res::countdown_picture(10));

    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), 4u);
    EXPECT_EQ(tips.at(c("编辑框1岩体松胀系数").id), "请查表，对应围岩选用可松性系数KP最初值");
    EXPECT_EQ(tips.at(c("编辑框1超挖系数").id), "现场实测数据，在无数据时可取值1.1");
    EXPECT_EQ(tips.at(c("编辑框2运输设备速度").id), "现场实测数据，运输设备隧道内速度≤ 10KM/h");
    EXPECT_EQ(tips.at(c("编辑框2装载机装一斗用时").id), "经验数据，无实测值时可取22秒");
}

TEST_F(MuckingProgram, SwellFactorLookupShowsItsTableInTheQueryWindow)
{
    click("按钮1");
    ASSERT_NE(rt.form("popup"), nullptr);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/equipment/mucking_swell_factor.png");
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 700);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 600);
    EXPECT_EQ(text(Z), "") << "a lookup computes nothing";
}

// --- the mucking report -------------------------------------------------------------

TEST(MuckingTemplate, HoldsEachPlaceholderAtMostAsOftenAsTheExportReplacesIt)
{
    const Bytes& packed = resource("templates/mucking.docx");
    ASSERT_FALSE(packed.empty());
    const std::string doc = story_text(std::string(packed.begin(), packed.end()));
    EXPECT_NE(doc.find("隧道出渣设备配置计算书"), std::string::npos);
    for (const char* p : kPlaceholders) {
        const size_t n = occurrences(doc, p);
        EXPECT_GE(n, 2u) << p;
        EXPECT_LE(n, 5u) << p; // the export gives each ten passes
    }
    // No placeholder lies inside another, so the order of the passes cannot matter.
    for (const char* a : kPlaceholders)
        for (const char* b : kPlaceholders)
            if (std::string(a) != b) {
                EXPECT_EQ(std::string(b).find(a), std::string::npos) << a << " in " << b;
            }
}

struct MuckingExport : MuckingProgram {
    fs::path report() { return folder / "导出的方案" / "隧道除渣设备配置计算方案new.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(MuckingExport, ConfirmedExportFillsTheReportAndCountsDownInSteps)
{
    type("编辑框2运输距离", "2000");
    click("图形按钮_计算");
    backend.trail.clear();
    backend.boxes.clear();
    export_ok();

    // The question comes after the log was emptied; the success message
    // while the last progress text still stands.
    ASSERT_EQ(backend.boxes.size(), 2u);
    EXPECT_EQ(backend.boxes[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.boxes[0].log, "");
    EXPECT_EQ(backend.boxes[0].owner, "main");
    EXPECT_EQ(backend.boxes[1].text, "隧道除渣设备配置计算方案导出成功！");
    EXPECT_EQ(backend.boxes[1].owner, "main");
    EXPECT_EQ(backend.boxes[1].status, "已导出 100%  ");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());

    std::vector<std::string> want = {"  参数导出准备中，请稍候……"};
    for (int n = 10; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    want.push_back("  数据整理写入，方案即将导出！");
    for (int p = 1; p <= 100; ++p) want.push_back("已导出 " + std::to_string(p) + "%  ");
    want.push_back(kIdleStatus);
    want.push_back("[10]");
    EXPECT_EQ(backend.trail, want);

    EXPECT_EQ(text(Log), "\r\n    数据录入，开始生成计算书！\r\n    计算书导出完成！\r\n");
    EXPECT_FALSE(disabled("图形按钮_导出"));
    EXPECT_FALSE(disabled("图形按钮_计算"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
    EXPECT_EQ(rt.get(c("进度条1"), prop::ProcessBar::Position).integer(), 0);

    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"隧道除渣设备配置计算方案new.doc"});
    const std::string doc = story_text(file_bytes(report()));
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]"))) << "unreplaced: " << left.str() << "…";
    // The table rows and the conclusion show what the form shows.
    // 14,400 × 1.2 / 2,640 = 6.545 trucks are 7.
    for (const char* shown : {"开挖断面面积\nS\n100\n", "运输距离\nLh\n2000\n", "装载机装一斗用时\nT1\n22\n",
                              "每循环渣土松方量\nZ\n354.2\n", "渣车数量\nN\n7\n", "出碴时间\nT\n1.8\n", "≈6.55",
                              "取N = 7 辆", "需配套渣车 7 辆（按计算值 6.55 辆向上取整", "出碴时间约 1.8 h"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
}

// 400.3 × 7200 ÷ 1000 × 1 / (10 × 10 × 7.2) = 4.003 trucks are 5: the report
// states the need so that rounding it up gives 5, not as "4".
TEST_F(MuckingExport, StatedNeedOfTrucksGivesTheCountTaken)
{
    for (const auto& [box, value] : {std::pair{"编辑框2装载机装一斗用时", "7.2"}, {"编辑框2运输设备厢斗容量", "10"},
                                     {"编辑框2运输设备速度", "10"}, {"编辑框2装载设备铲斗容量", "1"}, {"编辑框2运输距离", "400.3"}})
        type(box, value);
    click("图形按钮_计算");
    ASSERT_EQ(text(N), "5");
    export_ok();
    const std::string doc = story_text(file_bytes(report()));
    for (const char* shown : {"=4.003", "取N = 5 辆", "需配套渣车 5 辆（按计算值 4.003 辆向上取整"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
}

// Only the results of the inputs shown are exported: not before a
// calculation, not after a refused one, not beside a changed input.
TEST_F(MuckingExport, OnlyCurrentResultsAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    type("编辑框1循环进尺", "");
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    type("编辑框1循环进尺", "2.8");
    click("图形按钮_计算");
    type("编辑框2运输设备速度", "8");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    type("编辑框2运输设备速度", "10");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "隧道除渣设备配置计算方案导出成功！");
}

TEST_F(MuckingExport, CancelEmptiesTheLogAndWritesNothing)
{
    click("图形按钮_计算");
    ASSERT_EQ(text(Log), "\r\n    计算完成！");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(text(Log), "");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_FALSE(disabled("图形按钮_计算"));
    EXPECT_EQ(text("标签1_提示信息"), kIdleStatus);
    EXPECT_EQ(text(Z), "354.2") << "results stay";
}

} // namespace

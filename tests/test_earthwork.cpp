// The earthwork slope (EarthSlope) and unsupported vertical-cut (VerticalCut)
// modules in the whole headless program: their forms as they start, the safe
// heights as a table of worked figures, the compute frames, the soil tables,
// and the two calculation reports.
#include "app/program.h"
#include "app/shell.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kSlope = "EarthSlope";
constexpr const char* kVertical = "VerticalCut";
constexpr const char* kSlopeResult = "编辑框1_边坡允许最大高度";
constexpr const char* kVerticalResult = "编辑框1_基坑开挖高度";

bool earthwork(const Form* f) { return f && (f->name == kSlope || f->name == kVertical); }

// Records, in order, the status captions, the countdown pictures and the
// compute button's pictures of the two earthwork forms.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::string> trail;
    void property_changed(Control& c, int p) override
    {
        if (!earthwork(c.form)) return;
        if (c.name == "标签1_提示信息" && p == prop::Label::Caption) trail.push_back(c.text);
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
        if (c.name == "图形按钮_计算" && p == prop::PicBtn::Picture) {
            if (c.pictures[0] == resource(app::res::compute_pressed)) trail.push_back("<pressed>");
            if (c.pictures[0] == resource(app::res::compute_normal)) trail.push_back("<normal>");
        }
    }
};

struct EarthworkProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-earthwork-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        ASSERT_NE(rt.form(kSlope), nullptr);
        ASSERT_NE(rt.form(kVertical), nullptr);
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& form, const std::string& name) { return rt.unit(form, name); }
    std::string text(const std::string& form, const std::string& name) { return control_text(U(form, name)); }
    void type(const std::string& form, const std::string& name, const std::string& value)
    {
        rt.user_type(c(form, name), value);
        rt.set_focus(nullptr);
    }
    void click(const std::string& form, const std::string& name) { rt.user_click(c(form, name)); }
    int prop_of(const std::string& form, const std::string& name, int p) { return rt.get(c(form, name), p).integer(); }
    std::string picture(const std::string& form, const std::string& control)
    {
        const Bytes& b = rt.unit(form, control).pictures[0];
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<unknown>";
    }
    // Every text a form shows, by control name.
    std::map<std::string, std::string> shown_texts(const std::string& form)
    {
        std::map<std::string, std::string> m;
        for (const auto& ctl : rt.form(form)->controls)
            if (!ctl->name.empty()) m[ctl->name] = ctl->text;
        return m;
    }
};

void picture_is(const std::string& path, int width, int height)
{
    int w = 0, h = 0;
    ASSERT_TRUE(picture_size(resource(path), &w, &h)) << path;
    EXPECT_EQ(w, width) << path;
    EXPECT_EQ(h, height) << path;
}

// --- the forms as they start ---------------------------------------------------------------

TEST_F(EarthworkProgram, BothStartInTheirFramesAtTheirDesignedSizeWithoutTips)
{
    const struct {
        const char* form;
        const char* frame;
        int width, height;
        const char* diagram_box;
        const char* diagram;
        int diagram_width, diagram_height;
    } modules[] = {
        {kSlope, "外形框1_601土方放坡安全计算", 931, 578, "图片框1", "resources/pictures/earthwork/slope_diagram.png", 549, 292},
        {kVertical, "外形框1_601土方垂直安全计算", 900, 600, "图片框2", "resources/pictures/earthwork/vertical_cut_diagram.png",
         437, 254},
    };
    for (const auto& m : modules) {
        SCOPED_TRACE(m.form);
        EXPECT_EQ(rt.form(m.form)->frame, &rt.unit("main", m.frame));
        EXPECT_EQ(prop_of(m.form, "", prop::Left), 5);
        EXPECT_EQ(prop_of(m.form, "", prop::Top), 5);
        EXPECT_EQ(prop_of(m.form, "", prop::Width), m.width);
        EXPECT_EQ(prop_of(m.form, "", prop::Height), m.height);
        EXPECT_EQ(prop_of(m.form, "图形按钮_导出", prop::Disabled), 0);
        EXPECT_TRUE(c(m.form, "气球提示框1").tips.empty()) << "the earthwork modules attach no tip";
        EXPECT_EQ(picture(m.form, m.diagram_box), m.diagram);
        picture_is(m.diagram, m.diagram_width, m.diagram_height);
        EXPECT_EQ(picture(m.form, "进度条倒数"), app::res::countdown_picture(10));
    }

    const struct {
        const char* form;
        const char* control;
        const char* text;
    } defaults[] = {
        {kSlope, "透明标签1", "土方工程放坡开挖安全计算"},
        {kSlope, "透明标签3", "挖方边坡的最大高度计算"},
        {kSlope, "编辑框1_土的重度", "18"},
        {kSlope, "编辑框1_土的摩擦角", "20"},
        {kSlope, "编辑框1_土的粘聚力", "10"},
        {kSlope, "编辑框1_边坡的最大坡度角", "65"},
        {kSlope, kSlopeResult, "-"},
        {kVertical, "透明标签1", "土方无支撑垂直开挖高度安全计算"},
        {kVertical, "编辑框1_土的重度", "18.2"},
        {kVertical, "编辑框1_土的摩擦角", "20"},
        {kVertical, "编辑框1_土的粘聚力", "14.5"},
        {kVertical, "编辑框1_均布荷载", "4.5"},
        {kVertical, "编辑框1_安全系数", "1.25"},
        {kVertical, kVerticalResult, "-"},
    };
    for (const auto& d : defaults) {
        EXPECT_EQ(text(d.form, d.control), d.text) << d.form << "." << d.control;
        const bool result = std::string(d.control) == kSlopeResult || std::string(d.control) == kVerticalResult;
        if (c(d.form, d.control).kind == Kind::EditBox) {
            EXPECT_EQ(prop_of(d.form, d.control, prop::EditBox::InputMode), result ? 1 : 10) << d.form << "." << d.control;
        }
    }
    for (const char* form : {kSlope, kVertical}) {
        EXPECT_EQ(text(form, "按钮1"), "查表");
        EXPECT_EQ(text(form, "按钮2"), "查表");
        EXPECT_EQ(text(form, "标签1_提示信息"), "方案导出需要Word2007以上版本！");
    }
    // Every caption the two tables give stands on a label of its form.
    const std::pair<const char*, std::vector<const char*>> captions[] = {
        {kSlope, {"土的重度γ(kN/m3)", "土的摩擦角ψ(°)", "土的粘聚力c(kN/m2)", "边坡的坡度角θ(°)", "边坡允许最大高度hmax(m)"}},
        {kVertical,
         {"土的重度γ(kN/m3)", "土的摩擦角ψ(°)", "土的粘聚力c(kN/m2)", "当坑顶护道上有均布荷载q(kN/m2)", "安全系数K",
          "计算基坑允许最大高度hmax(m)"}},
    };
    for (const auto& [form, list] : captions) {
        std::vector<std::string> shown;
        for (const auto& ctl : rt.form(form)->controls)
            if (ctl->kind == Kind::Label) shown.push_back(ctl->text);
        for (const char* caption : list)
            EXPECT_NE(std::find(shown.begin(), shown.end(), caption), shown.end()) << form << ": " << caption;
    }
}

// --- the safe heights --------------------------------------------------------------------

struct HeightCase {
    const char* name;
    const char* form;
    std::vector<std::pair<const char*, const char*>> typed; // box, text typed over the default
    const char* shown;                                      // the result box after one compute click
};
void PrintTo(const HeightCase& c, std::ostream* os) { *os << c.name; }

struct SafeHeight : EarthworkProgram, ::testing::WithParamInterface<HeightCase> {};

TEST_P(SafeHeight, OneComputeClickShows)
{
    const HeightCase& hc = GetParam();
    for (const auto& [box, value] : hc.typed) type(hc.form, box, value);
    const auto before = shown_texts(hc.form);
    click(hc.form, "图形按钮_计算");
    const char* result = std::string(hc.form) == kSlope ? kSlopeResult : kVerticalResult;
    EXPECT_EQ(text(hc.form, result), hc.shown);
    // Nothing but the result box changes, and no message is shown.
    auto after = shown_texts(hc.form);
    after[result] = before.at(result);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(backend.messages.empty());
}

// One soil for the worked figures below: c 10, γ 18 (K 1 and no load for
// the vertical cut).
const std::vector<std::pair<const char*, const char*>> kSoil = {
    {"编辑框1_土的粘聚力", "10"}, {"编辑框1_土的重度", "18"}, {"编辑框1_安全系数", "1"}, {"编辑框1_均布荷载", "0"}};
HeightCase vertical_cut_of_soil(const char* name, const char* phi, const char* shown)
{
    HeightCase c{name, kVertical, kSoil, shown};
    c.typed.push_back({"编辑框1_土的摩擦角", phi});
    return c;
}
HeightCase slope_of_soil(const char* name, const char* phi, const char* theta, const char* shown)
{
    HeightCase c{name, kSlope, {{"编辑框1_土的粘聚力", "10"}, {"编辑框1_土的重度", "18"}}, shown};
    c.typed.push_back({"编辑框1_土的摩擦角", phi});
    c.typed.push_back({"编辑框1_边坡的最大坡度角", theta});
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Earthwork, SafeHeight,
    ::testing::Values(
        // Each height an allowed maximum, shown rounded down to the
        // centimetre: 2·10·sin65°·cos20° / (18·sin²22.5°) = 6.4616
        HeightCase{"slope defaults", kSlope, {}, "6.46"},
        HeightCase{"slope vertical face", kSlope, {{"编辑框1_边坡的最大坡度角", "90"}}, "3.17"},
        HeightCase{"slope at 45 degrees", kSlope, {{"编辑框1_边坡的最大坡度角", "45"}}, "15.75"}, // 15.7599
        HeightCase{"slope of another soil",
                   kSlope,
                   {{"编辑框1_土的重度", "19.5"}, {"编辑框1_土的摩擦角", "15"}, {"编辑框1_土的粘聚力", "25"},
                    {"编辑框1_边坡的最大坡度角", "70"}},
                   "10.91"}, // 10.9158
        // No plane through the toe slides when θ ≤ φ: no height.
        HeightCase{"slope angle equal to the friction angle", kSlope, {{"编辑框1_边坡的最大坡度角", "20"}}, "-"},
        HeightCase{"slope flatter than the friction angle", kSlope, {{"编辑框1_边坡的最大坡度角", "15"}}, "-"},
        // Without cohesion a slope steeper than φ does not stand at any height.
        HeightCase{"slope without cohesion", kSlope, {{"编辑框1_土的粘聚力", "0"}}, "-"},
        // 2c / (K·γ·tan(45° − φ/2)) − q/γ, the depth down to which the active
        // pressure is not positive: it rises with the friction angle, and is
        // half the slope's height at 90° (which counts on the soil's tension).
        vertical_cut_of_soil("vertical cut phi 0", "0", "1.11"),   // 1.1111
        vertical_cut_of_soil("vertical cut phi 10", "10", "1.32"), // 1.3242
        vertical_cut_of_soil("vertical cut phi 20", "20", "1.58"), // 1.5868, not 1.59
        vertical_cut_of_soil("vertical cut phi 30", "30", "1.92"), // 1.9245
        vertical_cut_of_soil("vertical cut phi 40", "40", "2.38"), // 2.3828
        slope_of_soil("slope at 90 degrees phi 20", "20", "90", "3.17"), // 3.1737
        slope_of_soil("slope at 90 degrees phi 30", "30", "90", "3.84"), // 3.8490
        // 2·14.5 / (1.25·18.2·tan35°) − 4.5/18.2 = 1.8205 − 0.2473
        HeightCase{"vertical cut defaults", kVertical, {}, "1.57"},
        // A cracked clay cut: 2·20/(1.25·18) = 1.7778 m, below the 2.96 m at
        // which it collapses.
        HeightCase{"vertical cut in clay",
                   kVertical,
                   {{"编辑框1_土的重度", "18"}, {"编辑框1_土的摩擦角", "0"}, {"编辑框1_土的粘聚力", "20"},
                    {"编辑框1_均布荷载", "0"}},
                   "1.77"},
        // Without cohesion only the load term is left: −0.25, no height.
        HeightCase{"vertical cut without cohesion", kVertical, {{"编辑框1_土的粘聚力", "0"}}, "-"},
        HeightCase{"vertical cut without load", kVertical, {{"编辑框1_均布荷载", "0"}}, "1.82"},
        HeightCase{"vertical cut of another soil",
                   kVertical,
                   {{"编辑框1_土的重度", "19"}, {"编辑框1_土的摩擦角", "30"}, {"编辑框1_土的粘聚力", "20"},
                    {"编辑框1_均布荷载", "10"}, {"编辑框1_安全系数", "1.5"}},
                   "1.9"},
        // A load that outweighs the cohesion: 2·10/(1·18·tan35°) − 60/18 = 1.59 − 3.33.
        HeightCase{"vertical cut under a heavy load",
                   kVertical,
                   {{"编辑框1_土的粘聚力", "10"}, {"编辑框1_土的重度", "18"}, {"编辑框1_安全系数", "1"},
                    {"编辑框1_均布荷载", "60"}},
                   "-"}),
    [](const ::testing::TestParamInfo<HeightCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// Each number the formulas read at the edges of its domain: a result and an
// export only from a number the formula can take. The texts are written into
// the box as a paste would leave them, except "0", which is typed (a number
// box shows a typed zero as empty). Zero friction, cohesion and load are
// numbers the formulas take; a wall or slope that cannot stand still has a
// report that says so.
struct DomainEdge {
    const char* form;
    const char* box;
    const char* typed;
    const char* shown;   // the result box
    bool reported;       // the results may be exported
};
void PrintTo(const DomainEdge& e, std::ostream* os) { *os << e.form << " " << e.box << " \"" << e.typed << '"'; }

struct DomainEdges : EarthworkProgram, ::testing::WithParamInterface<DomainEdge> {};

TEST_P(DomainEdges, NoHeightAndNoReportFromAMeaninglessInput)
{
    const DomainEdge& e = GetParam();
    const char* result = std::string(e.form) == kSlope ? kSlopeResult : kVerticalResult;
    click(e.form, "图形按钮_计算");
    ASSERT_NE(text(e.form, result), "-") << "the defaults give a height";
    if (std::string(e.typed) == "0") {
        type(e.form, e.box, e.typed);
        // a box that takes 0 keeps it; another clears it
        ASSERT_EQ(text(e.form, e.box), rt.unit(e.form, e.box).domain == Domain::NonNegative ? "0" : "");
    } else {
        set_control_text(U(e.form, e.box), e.typed);
    }
    click(e.form, "图形按钮_计算");
    EXPECT_EQ(text(e.form, result), e.shown);
    EXPECT_EQ(results_state(e.form), e.reported ? Runtime::Results::Current : Runtime::Results::Refused);
    EXPECT_TRUE(backend.messages.empty());
}

std::vector<DomainEdge> domain_edges()
{
    std::vector<DomainEdge> v;
    // Positive: the unit weight, the slope angle, the safety factor.
    const std::pair<const char*, const char*> positive[] = {
        {kSlope, "编辑框1_土的重度"}, {kSlope, "编辑框1_边坡的最大坡度角"},
        {kVertical, "编辑框1_土的重度"}, {kVertical, "编辑框1_安全系数"}};
    for (const auto& [form, box] : positive)
        for (const char* t : {"", "0", "-0", "-1", "abc", "-", "1e309"}) v.push_back({form, box, t, "-", false});
    // Zero or more: friction angle, cohesion, load.
    const std::pair<const char*, const char*> non_negative[] = {
        {kSlope, "编辑框1_土的摩擦角"}, {kSlope, "编辑框1_土的粘聚力"},
        {kVertical, "编辑框1_土的摩擦角"}, {kVertical, "编辑框1_土的粘聚力"}, {kVertical, "编辑框1_均布荷载"}};
    for (const auto& [form, box] : non_negative)
        for (const char* t : {"", "-0", "-1", "abc", "-", "1e309"}) v.push_back({form, box, t, "-", false});
    // Zero itself.
    v.push_back({kSlope, "编辑框1_土的摩擦角", "0", "3.48", true}); // 3.4882
    v.push_back({kSlope, "编辑框1_土的粘聚力", "0", "-", true});
    v.push_back({kVertical, "编辑框1_土的摩擦角", "0", "1.02", true}); // 1.0275
    v.push_back({kVertical, "编辑框1_土的粘聚力", "0", "-", true});
    v.push_back({kVertical, "编辑框1_均布荷载", "0", "1.82", true});
    // Angles no slope or soil has.
    v.push_back({kSlope, "编辑框1_边坡的最大坡度角", "90", "3.17", true});
    v.push_back({kSlope, "编辑框1_边坡的最大坡度角", "90.5", "-", false});
    v.push_back({kSlope, "编辑框1_土的摩擦角", "90", "-", false});
    v.push_back({kVertical, "编辑框1_土的摩擦角", "89", "145.82", true});
    v.push_back({kVertical, "编辑框1_土的摩擦角", "90", "-", false});
    v.push_back({kVertical, "编辑框1_土的摩擦角", "120", "-", false});
    return v;
}

INSTANTIATE_TEST_SUITE_P(Earthwork, DomainEdges, ::testing::ValuesIn(domain_edges()));

TEST_F(EarthworkProgram, OnlyTheVerticalCutPressesItsButtonAndNeitherTouchesTheLamp)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    rt.set(rt.unit("main", "图片框1_呼吸灯"), prop::PicBox::Picture, Blob{resource(app::res::lamp_busy)});
    const std::pair<const char*, std::vector<std::string>> rows[] = {
        {kSlope, {"<normal>"}},
        {kVertical, {"<pressed>", "<normal>"}},
    };
    for (const auto& [form, pictures] : rows) {
        SCOPED_TRACE(form);
        backend.sounds.clear();
        backend.trail.clear();
        click(form, "图形按钮_计算");
        EXPECT_EQ(backend.trail, pictures);
        EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
        EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_busy) << "as the previous module left it";
    }
    // With the switch off the same clicks are silent.
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    backend.sounds.clear();
    click(kSlope, "图形按钮_计算");
    click(kVertical, "图形按钮_计算");
    EXPECT_TRUE(backend.sounds.empty());
}

TEST_F(EarthworkProgram, SoilTablesOnlyShowAndAPressWhileOpenSwapsAndResizes)
{
    const char* const cohesion = "resources/pictures/earthwork/cohesion_table.png";
    const char* const friction = "resources/pictures/earthwork/friction_angle_table.png";
    picture_is(cohesion, 1015, 267);
    picture_is(friction, 1015, 267);
    const struct {
        const char* form;
        const char* button;
        const char* table;
    } presses[] = {
        {kSlope, "按钮1", cohesion}, {kSlope, "按钮2", friction}, {kVertical, "按钮2", friction}, {kVertical, "按钮1", cohesion},
    };
    type(kSlope, "编辑框1_土的摩擦角", "25");
    type(kVertical, "编辑框1_安全系数", "1.3");
    const auto slope_before = shown_texts(kSlope);
    const auto vertical_before = shown_texts(kVertical);
    for (const auto& p : presses) {
        SCOPED_TRACE(std::string(p.form) + "." + p.button);
        if (rt.form("popup")) {
            // The user has resized the open pop-up meanwhile.
            rt_set_property(U("popup"), prop::Width, 520);
            rt_set_property(U("popup"), prop::Height, 480);
        }
        click(p.form, p.button);
        ASSERT_NE(rt.form("popup"), nullptr);
        EXPECT_EQ(picture("popup", "图片框2"), p.table);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 700);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 300);
    }
    EXPECT_EQ(shown_texts(kSlope), slope_before);
    EXPECT_EQ(shown_texts(kVertical), vertical_before);
}

// --- the reports ---------------------------------------------------------------------------

struct ReportCase {
    const char* form;
    const char* file;
    const char* title;
    std::vector<std::pair<const char*, const char*>> typed;
    std::vector<const char*> shown; // texts the filled report carries
};
void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.form; }

struct EarthworkReport : EarthworkProgram, ::testing::WithParamInterface<ReportCase> {
    void export_ok(const char* form)
    {
        backend.queue_answer(0);
        click(form, "图形按钮_导出");
    }
};

TEST_P(EarthworkReport, FillsEveryPlaceholderCountingDownFromTenToZero)
{
    const ReportCase& rc = GetParam();
    for (const auto& [box, value] : rc.typed) type(rc.form, box, value);
    click(rc.form, "图形按钮_计算");
    backend.trail.clear();
    export_ok(rc.form);

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    ASSERT_FALSE(backend.opened.empty());
    EXPECT_NE(backend.opened.back().find("导出的方案"), std::string::npos) << backend.opened.back();
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{rc.file});

    const std::string doc = report_text(folder / "导出的方案" / rc.file);
    EXPECT_NE(doc.find(rc.title), std::string::npos);
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]_"))) << "unreplaced: " << left.str() << "…";
    for (const char* s : rc.shown) EXPECT_NE(doc.find(s), std::string::npos) << s;

    // 10 while the folder is made and Word starts, the preparation text, 9
    // once the template is written, then one step down to 0 before each
    // following stage; then idle again.
    auto [marks, progress] = testsupport::split_progress(backend.trail);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(text(rc.form, "标签1_提示信息"), "方案导出需要Word2007以上版本！");
    EXPECT_EQ(prop_of(rc.form, "进度条1", prop::ProcessBar::Position), 0);
    EXPECT_EQ(prop_of(rc.form, "图形按钮_导出", prop::Disabled), 0);
    EXPECT_EQ(prop_of(rc.form, "图形按钮_计算", prop::Disabled), 0);
    EXPECT_EQ(picture(rc.form, "图形按钮_导出"), app::res::export_normal);
}

INSTANTIATE_TEST_SUITE_P(
    Earthwork, EarthworkReport,
    ::testing::Values(
        ReportCase{kSlope,
                   "土方放坡开挖允许最大安全高度计算书.doc",
                   "土方放坡开挖允许最大安全高度计算书",
                   {{"编辑框1_边坡的最大坡度角", "90"}, {"编辑框1_土的重度", "18.5"}},
                   {"取 18.5；", "取 10；", "取 20；", "取 90。", "允许的最大安全高度为 3.08 m", "土的重度\nγ\n18.5\n"}},
        ReportCase{kVertical,
                   "土方无支撑垂直开挖高度安全计算.doc",
                   "土方无支撑垂直开挖高度安全计算书",
                   {{"编辑框1_均布荷载", "10"}},
                   {"取 18.2；", "取 14.5；", "取 20；", "取 10；", "取 1.25。", "2×14.5", "允许最大高度为 1.27 m",
                    "(q + γ·z)·Ka − 2c·√Ka"}}),
    [](const ::testing::TestParamInfo<ReportCase>& i) { return std::string(i.param.form); });

const std::vector<std::pair<const char*, const char*>> kSlopeDefaults = {
    {"编辑框1_土的重度", "18"}, {"编辑框1_土的摩擦角", "20"}, {"编辑框1_土的粘聚力", "10"}, {"编辑框1_边坡的最大坡度角", "65"}};
const std::vector<std::pair<const char*, const char*>> kVerticalDefaults = {
    {"编辑框1_土的重度", "18.2"}, {"编辑框1_土的摩擦角", "20"}, {"编辑框1_土的粘聚力", "14.5"}, {"编辑框1_均布荷载", "4.5"},
    {"编辑框1_安全系数", "1.25"}};

// What the report concludes follows what the calculation found; no sentence
// gives "-" for a value and no formula ends without one.
TEST_F(EarthworkReport, TheConclusionSaysWhatTheCalculationFound)
{
    const struct {
        const char* name;
        const char* form;
        const char* file;
        std::vector<std::pair<const char*, const char*>> typed;
        std::vector<const char*> shown;
        std::vector<const char*> not_shown;
    } cases[] = {
        {"vertical cut without cohesion", kVertical, "土方无支撑垂直开挖高度安全计算.doc",
         {{"编辑框1_土的粘聚力", "0"}},
         {"取 0；", "-0.25", "不大于零", "不能无支撑直立"},
         {"允许最大高度为"}},
        // The allowed height stated below what the formula gives, signed as rounded.
        {"vertical cut rounded down", kVertical, "土方无支撑垂直开挖高度安全计算.doc",
         {{"编辑框1_土的粘聚力", "10"}, {"编辑框1_土的重度", "18"}, {"编辑框1_安全系数", "1"}, {"编辑框1_均布荷载", "0"}},
         {"≈1.58m", "允许最大高度为 1.58 m"},
         {"1.59", "=1.58"}},
        {"slope rounded down", kSlope, "土方放坡开挖允许最大安全高度计算书.doc",
         {{"编辑框1_边坡的最大坡度角", "45"}},
         {"≈15.75m", "允许的最大安全高度为 15.75 m"},
         {"15.76", "=15.75"}},
        {"vertical cut without load", kVertical, "土方无支撑垂直开挖高度安全计算.doc",
         {{"编辑框1_均布荷载", "0"}},
         {"坑顶均布荷载\nq\n0\n", "允许最大高度为 1.82 m"},
         {"见上式"}},
        {"slope without cohesion", kSlope, "土方放坡开挖允许最大安全高度计算书.doc",
         {{"编辑框1_土的粘聚力", "0"}},
         {"土的粘聚力\nc\n0\n", "不大于零", "不能保持稳定"},
         {"允许的最大安全高度为"}},
        {"slope flatter than the friction angle", kSlope, "土方放坡开挖允许最大安全高度计算书.doc",
         {{"编辑框1_边坡的最大坡度角", "15"}},
         {"θ = 15° 不大于土的内摩擦角 ψ = 20°", "上式不适用"},
         {"允许的最大安全高度为", "代入数值"}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        fs::remove_all(folder / "导出的方案");
        for (const auto& [box, value] : k.form == std::string(kSlope) ? kSlopeDefaults : kVerticalDefaults)
            type(k.form, box, value);
        for (const auto& [box, value] : k.typed) type(k.form, box, value);
        click(k.form, "图形按钮_计算");
        export_ok(k.form);
        ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
        const std::string doc = report_text(folder / "导出的方案" / k.file);
        for (const char* t : k.shown) EXPECT_NE(doc.find(t), std::string::npos) << t << "\n" << doc;
        for (const char* t : k.not_shown) EXPECT_EQ(doc.find(t), std::string::npos) << t;
        EXPECT_EQ(doc.find("计算值_"), std::string::npos);
        EXPECT_EQ(doc.find("：。"), std::string::npos);
        EXPECT_FALSE(std::regex_search(doc, std::regex("= -( m)?\n"))) << doc;
        EXPECT_FALSE(std::regex_search(doc, std::regex("[为得取] -[；。 ]"))) << doc;
    }
}

// Inputs inside their domains whose formula overflows (a huge cohesion, a
// unit weight next to nothing): the value is no number, so there is no
// height, no "cannot stand" verdict and nothing to report.
TEST_F(EarthworkReport, NoHeightAndNoVerdictFromAFormulaBeyondTheNumberRange)
{
    const struct {
        const char* name;
        const char* form;
        std::vector<std::pair<const char*, const char*>> pasted;
    } cases[] = {
        // 4·1e308 overflows: X − q/γ is infinite.
        {"vertical cut, infinite", kVertical, {{"编辑框1_土的粘聚力", "1e308"}}},
        // X and q/γ both infinite: their difference is not a number.
        {"vertical cut, not a number", kVertical,
         {{"编辑框1_土的粘聚力", "1e308"}, {"编辑框1_均布荷载", "1e308"}, {"编辑框1_土的重度", "1e-10"}}},
        {"slope, infinite", kSlope, {{"编辑框1_土的粘聚力", "1e308"}, {"编辑框1_土的重度", "0.1"}}},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const char* result = std::string(k.form) == kSlope ? kSlopeResult : kVerticalResult;
        for (const auto& [box, value] : std::string(k.form) == kSlope ? kSlopeDefaults : kVerticalDefaults)
            type(k.form, box, value);
        click(k.form, "图形按钮_计算");
        ASSERT_NE(text(k.form, result), "-") << "the defaults give a height";
        for (const auto& [box, value] : k.pasted) {
            rt.set_focus(&c(k.form, box));
            rt.user_edit_text(c(k.form, box), value);
            rt.set_focus(nullptr);
        }
        click(k.form, "图形按钮_计算");
        EXPECT_EQ(text(k.form, result), "-");
        EXPECT_EQ(results_state(k.form), Runtime::Results::Refused);
        backend.messages.clear();
        click(k.form, "图形按钮_导出");
        ASSERT_EQ(backend.messages.size(), 1u);
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    }
}

// Only results that belong to the inputs shown are reported.
TEST_F(EarthworkReport, OnlyCurrentResultsAreReported)
{
    const std::pair<const char*, const char*> modules[] = {
        {kSlope, "编辑框1_土的重度"},
        {kVertical, "编辑框1_安全系数"},
    };
    for (const auto& [form, box] : modules) {
        SCOPED_TRACE(form);
        const std::string before = text(form, box);
        // Never calculated.
        backend.messages.clear();
        click(form, "图形按钮_导出");
        ASSERT_EQ(backend.messages.size(), 1u);
        EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
        EXPECT_EQ(backend.messages.back().caption, "提示");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        // An input changed after the calculation.
        click(form, "图形按钮_计算");
        type(form, box, "3");
        backend.messages.clear();
        click(form, "图形按钮_导出");
        ASSERT_EQ(backend.messages.size(), 1u);
        EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        // A refused calculation.
        type(form, box, "-0");
        click(form, "图形按钮_计算");
        backend.messages.clear();
        click(form, "图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        // Typed back to what was calculated: current again.
        type(form, box, before);
        click(form, "图形按钮_计算");
        type(form, box, "3");
        type(form, box, before);
        export_ok(form);
        EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
        fs::remove_all(folder / "导出的方案");
    }
}

TEST_F(EarthworkReport, CancelWritesNothing)
{
    for (const char* form : {kSlope, kVertical}) {
        SCOPED_TRACE(form);
        click(form, "图形按钮_计算");
        backend.queue_answer(1);
        click(form, "图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        EXPECT_EQ(picture(form, "图形按钮_导出"), app::res::export_normal);
        EXPECT_EQ(prop_of(form, "图形按钮_计算", prop::Disabled), 0);
    }
}

} // namespace

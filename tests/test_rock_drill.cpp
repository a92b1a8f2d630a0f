// The rock-drill and air-compressor module in the whole headless program: its
// form as it starts, the drilling and air figures as a table of worked cases,
// the compute frame, the two lookups, and the calculation report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

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

constexpr const char* kForm = "RockDrill";

constexpr const char* L = "编辑框1_炮孔深度";
constexpr const char* W = "编辑框1_抵抗线长度";
constexpr const char* A = "编辑框1_炮孔间距";
constexpr const char* Vh = "编辑框1_每钻孔的爆破量";
constexpr const char* Vb = "编辑框1_每米钻孔的实际爆破量";
constexpr const char* N = "编辑框2_爆破凿岩机需用台数";
constexpr const char* Q = "编辑框1_爆破凿岩机的压缩空气需要量";
constexpr const char* Out = "编辑框2_空气压缩机生产率需要量计算";
const char* const kResults[] = {L, W, A, Vh, Vb, N, Q, Out};
const char* const kDrillInputs[] = {"编辑框1_每班爆破量", "编辑框1_不均衡系数", "编辑框1_炮孔深度系数", "编辑框1_炮孔间距系数",
                                    "编辑框1_爆破梯段垂直高度", "编辑框1_抵抗线长度系数", "编辑框1_钻机台班生产率"};
const char* const kAirInputs[] = {"编辑框1_凿岩机数量", "编辑框1_同时开动系数", "编辑框1_风动工具的空气消耗量", "编辑框1_保证率系数"};

struct RockDrillProgram : testsupport::ModuleProgram {
    RockDrillProgram() : ModuleProgram(kForm) { backend.record_compute_button = true; }
    std::map<std::string, std::string> results()
    {
        std::map<std::string, std::string> m;
        for (const char* r : kResults) m[r] = text(r);
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

TEST_F(RockDrillProgram, StartsInItsFrameWithTheDefaultsAndSixTips)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_爆破凿岩机"));
    EXPECT_EQ(prop_of("", prop::Left), 5);
    EXPECT_EQ(prop_of("", prop::Top), 5);
    EXPECT_EQ(prop_of("", prop::Width), 900);
    EXPECT_EQ(prop_of("", prop::Height), 600);
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    const std::pair<const char*, const char*> defaults[] = {
        {"编辑框1_每班爆破量", "120"}, {"编辑框1_不均衡系数", "1.25"},     {"编辑框1_炮孔深度系数", "1"},
        {"编辑框1_炮孔间距系数", "1.2"}, {"编辑框1_爆破梯段垂直高度", "2.0"}, {"编辑框1_抵抗线长度系数", "0.7"},
        {"编辑框1_钻机台班生产率", "16"}, {"编辑框1_凿岩机数量", "11"},      {"编辑框1_同时开动系数", "0.6"},
        {"编辑框1_风动工具的空气消耗量", "0.7"}, {"编辑框1_保证率系数", "1.4"},
        {"透明标签1", "爆破风动凿岩机需要数量及空气压缩机计算"}, {"透明标签2", "依据建筑施工计算手册(第四版)"},
        {"分组框1", "爆破凿岩机需用台数N计算"},   {"分组框2", "空气压缩机生产率需要量计算"},
        {"按钮1", "查表"}, {"按钮2", "查表"}, {"标签1_提示信息", "方案导出需要Word2007以上版本！"},
    };
    for (const auto& [name, want] : defaults) EXPECT_EQ(text(name), want) << name;
    for (const char* r : kResults) {
        EXPECT_EQ(text(r), "-") << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::InputMode), 1) << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::TextColor), 0xFFFFFF) << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::BackColor), 0x808080) << r;
    }
    std::vector<const char*> inputs(std::begin(kDrillInputs), std::end(kDrillInputs));
    inputs.insert(inputs.end(), std::begin(kAirInputs), std::end(kAirInputs));
    for (const char* in : inputs) {
        EXPECT_EQ(prop_of(in, prop::EditBox::InputMode), 10) << in;
        EXPECT_EQ(prop_of(in, prop::EditBox::TextColor), 0) << in;
        EXPECT_EQ(prop_of(in, prop::EditBox::BackColor), 0xFFFFFF) << in;
    }
    // Every caption of the two groups stands on a label of the form.
    std::vector<std::string> labels;
    for (const auto& ctl : rt.form(kForm)->controls)
        if (ctl->kind == Kind::Label) labels.push_back(ctl->text);
    for (const char* caption :
         {"每班爆破量V(m3/班)", "不均衡系数K", "炮孔深度系数L'", "炮孔间距系数a'", "爆破梯段垂直高度h(m)", "抵抗线长度系数W'",
          "钻机台班生产率P(m/台班)", "炮孔深度L(m)", "炮孔间距a(m)", "抵抗线长度W(m)", "每米钻孔的实际爆破量Vb(m3)",
          "每钻孔的爆破量Vh(m3)", "爆破凿岩机需用台数N(台)", "凿岩机数量m（台）", "同时开动系数K", "风动工具的空气消耗量q(m3/min）",
          "保证率系数P'", "爆破凿岩机的压缩空气需要量Q(m3/min）", "空气压缩机生产率需要量计算（m3/min）"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), caption), labels.end()) << caption;
    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/equipment/rock_drill_machines.png");

    const auto& tips = c("气球提示框1").tips;
    const std::map<std::string, std::string> want_tips = {
        {Vb, "每钻孔的爆破量/炮孔深度"},
        {"编辑框1_炮孔深度系数", "炮孔深度,坚硬岩石为(1.1～1.15)h，较软岩石为(0.85～0.95)h"},
        {"编辑框1_炮孔间距系数", "炮孔间距,当火花起爆时(1.4～2.0),当电气起爆时0.8～2.0"},
        {"编辑框1_抵抗线长度系数", "一般取（0.6～0.8)"},
        {"编辑框1_不均衡系数", "取1.2～1.3"},
        {"编辑框1_保证率系数", "取1.3～1.5"},
    };
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;
}

// --- drilling and air figures ---------------------------------------------------------------

struct FigureCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed; // box, text typed over the default
    std::vector<const char*> shown;                         // L, W, a, Vh, Vb, N, Q, output after one click
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct Figures : RockDrillProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(Figures, OneComputeClickShows)
{
    for (const auto& [box, value] : GetParam().typed) type(box, value);
    click("图形按钮_计算");
    for (size_t i = 0; i < std::size(kResults); ++i) EXPECT_EQ(text(kResults[i]), GetParam().shown.at(i)) << kResults[i];
    EXPECT_TRUE(backend.messages.empty());
}

const std::string kHuge = "1" + std::string(308, '0'); // 1e308, typed digit by digit

INSTANTIATE_TEST_SUITE_P(
    RockDrill, Figures,
    ::testing::Values(
        // Vh 1.68·2.0·1.4 = 4.704; N 150 / (2.35·16) = 3.989 drills are 4;
        // output 1.4·4.62 = 6.468.
        FigureCase{"defaults", {}, {"2", "1.4", "1.68", "4.7", "2.35", "4", "4.62", "6.47"}},
        // W 1.406 shows 1.41, a 1.692 shows 1.69; Vh is taken from those
        // (4.7658, not 4.7444) and Vb from the shown Vh (2.385, not 2.3722).
        FigureCase{"shown values read back", {{"编辑框1_抵抗线长度系数", "0.703"}},
                   {"2", "1.41", "1.69", "4.77", "2.39", "4", "4.62", "6.47"}},
        // N 150 / (5.29·16) = 1.77 drills are 2.
        FigureCase{"higher bench", {{"编辑框1_爆破梯段垂直高度", "3"}},
                   {"3", "2.1", "2.52", "15.88", "5.29", "2", "4.62", "6.47"}},
        // N 366.976·1.25 / 37.6 = 12.2 drills are 13.
        FigureCase{"a need of 12.2 drills gives 13", {{"编辑框1_每班爆破量", "366.976"}},
                   {"2", "1.4", "1.68", "4.7", "2.35", "13", "4.62", "6.47"}},
        // N 300.8·1.25 / 37.6 = 10 drills exactly.
        FigureCase{"a whole need stays", {{"编辑框1_每班爆破量", "300.8"}},
                   {"2", "1.4", "1.68", "4.7", "2.35", "10", "4.62", "6.47"}},
        // Air is a need, rounded up: Q 7·0.65·0.71 = 3.2305 is 3.24, the
        // compressor 1.3·3.24 = 4.212 is 4.22 (not 3.23 and 4.21).
        FigureCase{"air needs rounded up",
                   {{"编辑框1_凿岩机数量", "7"}, {"编辑框1_同时开动系数", "0.65"}, {"编辑框1_风动工具的空气消耗量", "0.71"},
                    {"编辑框1_保证率系数", "1.3"}},
                   {"2", "1.4", "1.68", "4.7", "2.35", "4", "3.24", "4.22"}},
        // Exact hundredths stay: 10·0.5·0.9 = 4.5, 1.2·4.5 = 5.4.
        FigureCase{"exact air needs stay",
                   {{"编辑框1_凿岩机数量", "10"}, {"编辑框1_同时开动系数", "0.5"}, {"编辑框1_风动工具的空气消耗量", "0.9"},
                    {"编辑框1_保证率系数", "1.2"}},
                   {"2", "1.4", "1.68", "4.7", "2.35", "4", "4.5", "5.4"}},
        // A burden beyond the double range shows "-"; what is computed from
        // it shows "-" too instead of passing for 0.
        FigureCase{"burden beyond the number range",
                   {{"编辑框1_抵抗线长度系数", kHuge.c_str()}, {"编辑框1_爆破梯段垂直高度", "10"}},
                   {"10", "-", "-", "-", "-", "-", "4.62", "6.47"}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// Each input at the edges of its domain: every result built on it shows "-",
// the others their figures, and the calculation gives no report.
struct EdgeCase {
    const char* box;
    std::vector<const char*> dashes; // the results built on it
};
void PrintTo(const EdgeCase& c, std::ostream* os) { *os << c.box; }

struct DomainEdges : RockDrillProgram, ::testing::WithParamInterface<EdgeCase> {};

TEST_P(DomainEdges, ShowNoFigureAndGiveNoReport)
{
    const EdgeCase& ec = GetParam();
    const Domain d = c(ec.box).domain;
    ASSERT_NE(d, Domain::Unchecked);
    const std::vector<const char*> figures = {"2", "1.4", "1.68", "4.7", "2.35", "4", "4.62", "6.47"};
    for (const std::string& edge : testsupport::texts_outside(d)) {
        SCOPED_TRACE("\"" + edge + "\"");
        const std::string start = text(ec.box);
        click("图形按钮_计算");
        set_control_text(U(kForm, ec.box), edge);
        click("图形按钮_计算");
        for (size_t i = 0; i < std::size(kResults); ++i) {
            const bool dash = std::find(ec.dashes.begin(), ec.dashes.end(), kResults[i]) != ec.dashes.end();
            EXPECT_EQ(text(kResults[i]), dash ? "-" : figures[i]) << kResults[i];
        }
        backend.queue_answer(0);
        click("图形按钮_导出");
        EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
        EXPECT_FALSE(fs::exists(folder / "导出的方案"));
        type(ec.box, start);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RockDrill, DomainEdges,
    ::testing::Values(EdgeCase{"编辑框1_每班爆破量", {N}}, EdgeCase{"编辑框1_不均衡系数", {N}},
                      EdgeCase{"编辑框1_炮孔深度系数", {L, Vb, N}}, EdgeCase{"编辑框1_炮孔间距系数", {A, Vh, Vb, N}},
                      EdgeCase{"编辑框1_爆破梯段垂直高度", {L, W, A, Vh, Vb, N}},
                      EdgeCase{"编辑框1_抵抗线长度系数", {W, A, Vh, Vb, N}}, EdgeCase{"编辑框1_钻机台班生产率", {N}},
                      EdgeCase{"编辑框1_凿岩机数量", {Q, Out}}, EdgeCase{"编辑框1_同时开动系数", {Q, Out}},
                      EdgeCase{"编辑框1_风动工具的空气消耗量", {Q, Out}}, EdgeCase{"编辑框1_保证率系数", {Out}}),
    [](const ::testing::TestParamInfo<EdgeCase>& i) { return std::to_string(i.index); });

TEST_F(RockDrillProgram, ToolsAndDrillingAreSeparateCalculations)
{
    click("图形按钮_计算");
    auto before = results();

    type("编辑框1_凿岩机数量", "20");
    click("图形按钮_计算");
    auto after = results();
    EXPECT_EQ(after[Q], "8.4");
    EXPECT_EQ(after[Out], "11.76");
    after[Q] = before[Q];
    after[Out] = before[Out];
    EXPECT_EQ(after, before) << "the number of tools changes only Q and the compressor output";

    before = results();
    for (const char* in : kDrillInputs) type(in, "3");
    click("图形按钮_计算");
    after = results();
    EXPECT_NE(after[N], before[N]);
    EXPECT_EQ(after[Q], before[Q]);
    EXPECT_EQ(after[Out], before[Out]);
}

TEST_F(RockDrillProgram, ComputePressesTheButtonSoundsAndLeavesTheLampAlone)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    rt.set(rt.unit("main", "图片框1_呼吸灯"), prop::PicBox::Picture, Blob{resource(app::res::lamp_busy)});
    backend.sounds.clear();
    backend.trail.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<pressed>", "<normal>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_busy) << "as the previous module left it";
}

TEST_F(RockDrillProgram, LookupsOnlyShowTheirTables)
{
    const struct {
        const char* button;
        const char* table;
        int table_width, table_height, window_width, window_height;
    } rows[] = {
        {"按钮1", "resources/pictures/equipment/rock_drill_air_consumption.png", 1014, 372, 700, 400},
        {"按钮2", "resources/pictures/equipment/rock_drill_simultaneity.png", 1010, 136, 700, 300},
        {"按钮1", "resources/pictures/equipment/rock_drill_air_consumption.png", 1014, 372, 700, 400},
    };
    type("编辑框1_同时开动系数", "0.75");
    const auto before = shown_texts();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.button);
        click(r.button);
        ASSERT_NE(rt.form("popup"), nullptr);
        EXPECT_EQ(picture("popup", "图片框2"), r.table);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), r.window_width);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), r.window_height);
        picture_is(r.table, r.table_width, r.table_height);
    }
    EXPECT_EQ(shown_texts(), before);
}

// --- the report ------------------------------------------------------------------------


struct RockDrillReport : RockDrillProgram {
    fs::path report() { return folder / "导出的方案" / "爆破凿岩机需用台数计算书.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(RockDrillReport, FillsEveryPlaceholderCountingDownFromTenToZero)
{
    type("编辑框1_炮孔深度系数", "1.1");
    type("编辑框1_炮孔间距系数", "1.4");
    type("编辑框1_抵抗线长度系数", "0.65");
    type("编辑框1_凿岩机数量", "8");
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    ASSERT_FALSE(backend.opened.empty());
    EXPECT_NE(backend.opened.back().find("导出的方案"), std::string::npos) << backend.opened.back();
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"爆破凿岩机需用台数计算书.doc"});

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("爆破凿岩机需要台数及空压机风量计算书"), std::string::npos);
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]_"))) << "unreplaced: " << left.str() << "…";
    // L 2.2, W 1.3, a 1.82; each factor shows as itself, never as its
    // result followed by "系数".
    // Vh 1.82·2·1.3 = 4.73, Vb 2.15; N 150 / 34.4 = 4.36 drills are 5.
    for (const char* shown : {"炮孔深度系数\nL'\n1.1\n", "炮孔间距系数\na'\n1.4\n", "抵抗线长度系数\nW'\n0.65\n", "L=L'·h=1.1×2.0=2.2",
                              "W=W'·h=0.65×2.0=1.3", "a=a'·W=1.4×1.3=1.82", "凿岩机数量\nm\n8\n", "≈4.36",
                              "取N = 5 台", "爆破凿岩机需用台数 N\n5\n台",
                              // the compressor is worked for the m tools, not for the N drills just named
                              "需配备爆破凿岩机 5 台（计算值 4.36 台，按整台向上取用）；空气压缩机的生产率按同时工作的凿岩机 m = 8 "
                              "台计，不应小于 4.71 m³/min。",
                              // air is a need: 1.4·3.36 = 4.704 is stated rounded up
                              "=8×0.6×0.7=3.36", "=1.4×3.36≈4.71"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    for (const char* wrong : {"2.2系数", "1.82系数", "1.3系数"}) EXPECT_EQ(doc.find(wrong), std::string::npos) << wrong;

    // 10 while the folder is made and Word starts, the preparation text, 9
    // once the template is written, 8 … 1 before the eight groups of
    // placeholders, 0 while saving; then idle.
    auto [marks, progress] = testsupport::split_progress(backend.trail);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    expect_restored_after_export();
}

TEST_F(RockDrillReport, OnlyCurrentResultsAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    click("图形按钮_计算");
    type("编辑框1_凿岩机数量", "12");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_NE(report_text(report()).find("凿岩机数量\nm\n12\n"), std::string::npos);
}

TEST_F(RockDrillReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
}

} // namespace

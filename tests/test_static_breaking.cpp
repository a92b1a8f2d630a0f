// The static-breaking module in the whole headless program: its form as it
// starts, the calculation in both modes as a table of worked cases, the
// derived layer count, the agent choice, the lookups and the picture, the
// compute frame, and the construction plan with its refusal and its log.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "modules/blasting/static_breaking.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "StaticBreaking";

// Results, in the order the case table gives them.
constexpr const char* L1 = "编辑框_孔深";
constexpr const char* L = "编辑框_单位面积钻孔总长";
constexpr const char* N = "编辑框_布眼数量";
constexpr const char* D = "编辑框_孔径";
constexpr const char* W = "编辑框_抵抗线";
constexpr const char* A = "编辑框_孔距";
constexpr const char* B = "编辑框_排距";
constexpr const char* K = "编辑框_SCA重量";
constexpr const char* Wm = "编辑框_每米钻孔SCA重量";
constexpr const char* Q1 = "编辑框_每孔用药量";
constexpr const char* Q = "编辑框_总装药量";
const char* const kResults[] = {L1, L, N, D, W, A, B, K, Wm, Q1, Q};

constexpr const char* Log = "编辑框日志";
constexpr const char* ByDiameter = "单选框_求深度";
constexpr const char* ByCount = "单选框_求直径";
constexpr const char* GivenD = "编辑框_确定钻孔直径";
constexpr const char* GivenN = "编辑框_已知布眼数量";
constexpr const char* Layers = "编辑框_破碎分层数";
constexpr const char* Rows = "编辑框_炮眼排数";
constexpr const char* Height = "编辑框_破碎体高";
constexpr const char* Depth = "编辑框_破碎体计划破碎深度";
constexpr const char* Object = "组合框_破碎物体类型";
constexpr const char* Agent = "组合框_型号";

const std::string kByLength = "\r\n  按照钻孔总长*每米钻孔SCA重量 计算总药量";
const std::string kByHole = "\r\n  按照单孔计算总药量";
const std::string kSmallGiven = "钻孔直孔径小于常规孔径，建议钻孔直径35~50mm";
const std::string kSmallComputed = "常规钻孔直径35~50mm，建议减少钻眼数量！";

// The trail also holds each text the log box shows, as "log:…".
struct StaticBreakingProgram : testsupport::ModuleProgram {
    StaticBreakingProgram() : ModuleProgram(kForm)
    {
        backend.record_compute_button = true;
        backend.record_lamp = true;
        backend.also_record = [this](Control& c, int p) {
            if (c.form->name == kForm && c.name == Log && p == prop::EditBox::Content) backend.trail.push_back("log:" + c.text);
        };
    }
    bool visible(const std::string& name) { return rt.get(c(name), prop::Visible).truth(); }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    void compute() { click("图形按钮_计算"); }
    std::vector<std::string> messages()
    {
        std::vector<std::string> m;
        for (const auto& msg : backend.messages) m.push_back(msg.text);
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

// --- the form as it starts ----------------------------------------------------------------

TEST_F(StaticBreakingProgram, StartsInItsFrameInDiameterModeWithSixTips)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_静态爆破"));
    EXPECT_EQ(prop_of("", prop::Left), 2);
    EXPECT_EQ(prop_of("", prop::Top), 2);
    EXPECT_EQ(prop_of("", prop::Width), cmd_client_width(U("main", "外形框1_静态爆破")));
    EXPECT_EQ(prop_of("", prop::Height), cmd_client_height(U("main", "外形框1_静态爆破")));
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    const std::pair<const char*, const char*> texts[] = {
        {"编辑框_破碎体长", "1.8"}, {"编辑框_破碎体宽", "1"}, {Height, "2.5"}, {Depth, "1.25"}, {Layers, "2.0"},
        {"编辑框_炮眼排数", "3"}, {"编辑框_破碎体的抗拉强度", "3.0"}, {"编辑框_开裂经验系数", "1.7"},
        {"编辑框_被破碎材料的泊松比", "0.3"}, {"编辑框_SCA膨胀压力", "30"}, {K, "1540"}, {Wm, "-"},
        {Object, "钢筋砼基础、柱"}, {Agent, "SCA-Ⅰ"}, {"编辑框_使用温度范围", "20~35°C"}, {"编辑框_使用季节", "夏季使用"},
        {ByDiameter, "按孔径计算参数"}, {ByCount, "按孔数计算参数"}, {GivenD, "40"}, {GivenN, "20"},
        {"标签9", "确定钻孔直径D(mm)"}, {"标签28", "确定布眼数量(个)"}, {"标签5", "一般在10~24小时产生裂缝"},
        {"透明标签1", "静态爆破计算系统"}, {"标签1", "计算依据<建筑施工计算手册第二版>破碎剂耗损率为5~10%，软件取6.5%"},
        {"按钮3", "布眼参数配置"}, {"按钮1", "查询"}, {"按钮2", "查询"}, {"按钮5", "查询"},
        {"标签1_提示信息", "方案导出需要Word2007以上版本！"}, {Log, ""},
    };
    for (const auto& [name, want] : texts) EXPECT_EQ(text(name), want) << name;
    for (const char* r : {L1, L, N, D, W, A, B, Q1, Q}) {
        EXPECT_EQ(text(r), "") << r;
        EXPECT_EQ(prop_of(r, prop::EditBox::InputMode), 1) << r;
    }
    EXPECT_EQ(prop_of(Wm, prop::Disabled), 1);
    for (const char* ro : {Layers, "编辑框_使用温度范围", "编辑框_使用季节", Log, K})
        EXPECT_EQ(prop_of(ro, prop::EditBox::InputMode), 1) << ro;
    EXPECT_EQ(prop_of(K, prop::EditBox::BackColor), 0xC0C0C0);
    for (const char* in : {"编辑框_破碎体长", "编辑框_破碎体宽", Height, Depth, "编辑框_炮眼排数", "编辑框_破碎体的抗拉强度",
                           "编辑框_开裂经验系数", "编辑框_被破碎材料的泊松比", "编辑框_SCA膨胀压力", GivenD, GivenN})
        EXPECT_EQ(prop_of(in, prop::EditBox::InputMode), 10) << in;
    EXPECT_EQ(c(Object).items, (std::vector<std::string>{"软质岩破碎", "中、硬质岩破碎", "软、硬质岩石破碎", "无筋混凝土",
                                                         "钢筋砼基础、柱", "钢筋砼梁、墙板"}));
    EXPECT_EQ(c(Agent).items, (std::vector<std::string>{"SCA-Ⅰ", "SCA-Ⅱ", "SCA-Ⅲ", "SCA-Ⅳ"}));
    EXPECT_TRUE(rt.get(c(ByDiameter), prop::RadioBox::Checked).truth());
    EXPECT_FALSE(rt.get(c(ByCount), prop::RadioBox::Checked).truth());
    EXPECT_TRUE(visible(GivenD));
    EXPECT_TRUE(visible("标签9"));
    EXPECT_FALSE(visible(GivenN));
    EXPECT_FALSE(visible("标签28"));

    std::vector<std::string> labels;
    for (const auto& ctl : rt.form(kForm)->controls)
        if (ctl->kind == Kind::Label) labels.push_back(ctl->text);
    for (const char* caption :
         {"破碎体断面尺寸（mm）", "长(m)", "宽(m)", "高(m)", "单次破碎深度H(m)", "高度比N'(h/H)", "炮眼排数m(排)",
          "破碎体的抗拉强度ft(Mpa)", "开裂经验系数η", "被破碎材料的泊松比μ", "SCA膨胀压p   (Mpa)", "SCA重量K(kg/m3)",
          "每米钻孔SCA重量", "(kg/m)", "破碎物体类型", "无声破碎剂(SCA)选型", "使用温度范围", "使用季节", "总布眼数量(个)",
          "钻孔直径D(mm)", "钻孔深度L1(m)", "布眼排数(排)", "布眼排距取值 (cm)", "钻孔间距取值a(cm)", "抵抗线距离W (cm)",
          "单位面积钻孔总长L(m)", "每孔用药量q1(kg)", "总体装药量含耗损Q(kg)"})
        EXPECT_NE(std::find(labels.begin(), labels.end(), caption), labels.end()) << caption;

    const auto& tips = c("气球提示框1").tips;
    const std::map<std::string, std::string> want_tips = {
        {Depth, "取单次破碎体高度"},
        {"编辑框_炮眼排数", "岩体切割时取1"},
        {"编辑框_被破碎材料的泊松比", " 一般砼取0.3；岩石取0.33"},
        {"编辑框_SCA膨胀压力", "SCA产生的膨胀压，与时间，温度、水灰比、孔径有关，对混凝土和岩石的钻孔为30~50MPa，条件差时为20MPa；"},
        {K, "每立方米SCA浆体中SCA重量（kg/m3）"},
        {GivenD, "请按照下列参数选择28；30；32；34；36；38；40；42；44；46；48；50"},
    };
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;

    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/blasting/static_illustration.png");
    // Drawn at the size of its box, so the form shows it as drawn.
    picture_is("resources/pictures/blasting/static_illustration.png", c("图片框1").width, c("图片框1").height);
    EXPECT_EQ(c("外形框3").width, 686);
    EXPECT_EQ(c("外形框3").height, 281);
}

// --- worked figures ---------------------------------------------------------------------

struct Step {
    enum Kind { Type, Choose, Click } kind;
    const char* control;
    const char* value = "";
};

struct FigureCase {
    const char* name;
    std::vector<Step> steps;
    // L1, L, n, D, W, a, row spacing, K, w, q1, Q after one compute click
    std::vector<const char*> shown;
    std::string log;
    std::vector<std::string> messages;
};
void PrintTo(const FigureCase& c, std::ostream* os) { *os << c.name; }

struct Figures : StaticBreakingProgram, ::testing::WithParamInterface<FigureCase> {};

TEST_P(Figures, OneComputeClickShows)
{
    const FigureCase& fc = GetParam();
    for (const Step& s : fc.steps) {
        if (s.kind == Step::Type) type(s.control, s.value);
        else if (s.kind == Step::Choose) choose(s.control, s.value);
        else click(s.control);
    }
    compute();
    for (size_t i = 0; i < std::size(kResults); ++i) EXPECT_EQ(text(kResults[i]), fc.shown.at(i)) << kResults[i];
    EXPECT_EQ(text(Log), fc.log);
    EXPECT_EQ(messages(), fc.messages);
    EXPECT_EQ(text("编辑框_布眼排数"), text("编辑框_炮眼排数"));
    // Each mode copies its result into the other mode's input.
    EXPECT_EQ(text(GivenN), text(N));
    if (rt.get(c(ByCount), prop::RadioBox::Checked).truth()) {
        EXPECT_EQ(text(GivenD), text(D));
    }
}

Step count_mode{Step::Click, ByCount};

INSTANTIATE_TEST_SUITE_P(
    StaticBreaking, Figures,
    ::testing::Values(
        // L1 1.25·0.9; L = 1.8·1.25·3.0·1.7·3 / (0.04·1.3·30) · 2 = 44.135 needed: 44.14;
        // n = 44.14 / 1.125 = 39.2, so 40 holes; q1 = 0.02²·1.125·1540·3.1415926;
        // 40 mm is a table diameter: Q = 44.14·1.94·1.05 = 89.913, up to 89.92.
        FigureCase{"starting values",
                   {},
                   {"1.125", "44.14", "40", "40", "20~30cm", "15~40cm", "9~36cm", "1540", "1.94", "2.18", "89.92"},
                   kByLength,
                   {}},
        // L = 20·1.125; D = 34.425 / (22.5·1.3·30) · 2 · 1000 = 78.46 needed: 79 mm,
        // outside 35~50, no burden, spacing or row spacing, and no weight per metre.
        FigureCase{"count mode, 20 holes",
                   {count_mode},
                   {"1.125", "22.5", "20", "79", "-", "-", "-", "1540", "-", "8.49", "178.29"},
                   kByHole,
                   {}},
        FigureCase{"count mode, 50 holes",
                   {count_mode, {Step::Type, GivenN, "50"}},
                   {"1.125", "56.25", "50", "32", "-", "-", "-", "1540", "1.24", "1.39", "73.24"},
                   kByLength, // 31.4 mm needed is 32, a table diameter
                   {kSmallComputed}},
        // The advice comes after the count has been written; 34 mm is a table diameter.
        FigureCase{"diameter 34",
                   {{Step::Type, GivenD, "34"}},
                   {"1.125", "51.93", "47", "34", "-", "-", "-", "1540", "1.40", "1.57", "76.34"},
                   kByLength,
                   {kSmallGiven}},
        // L1 = 1.25·1.05 = 1.3125 shows 1.313; the total length of 20 holes uses 1.3125.
        FigureCase{"hard rock, count mode",
                   {{Step::Choose, Object, "中、硬质岩破碎"}, count_mode},
                   {"1.313", "26.25", "20", "68", "-", "-", "-", "1540", "-", "7.34", "154.14"},
                   kByHole,
                   {}},
        // 45 mm lies in 40~65 but is no table diameter: Q = q1·n·1.05 with
        // q1 = 0.0225²·1.313·1540·3.1415926 from the shown depth.
        FigureCase{"hard rock, diameter mode",
                   {{Step::Choose, Object, "中、硬质岩破碎"}, {Step::Type, GivenD, "45"}},
                   {"1.313", "39.24", "30", "45", "30~50cm", "40~60cm", "24~54cm", "1540", "2.45", "3.22", "101.43"},
                   kByHole,
                   {}},
        // 0.99 held in single precision is 0.99000001: a million holes show it.
        // The diameter they need is a fraction of a millimetre, shown as the
        // whole millimetre that holds it, with the advice to drill fewer.
        FigureCase{"depth held in single precision",
                   {count_mode, {Step::Type, Depth, "1.1"}, {Step::Type, GivenN, "1000000"}},
                   {"0.99", "990000.01", "1000000", "1", "-", "-", "-", "1540", "-", "0.0012", "1260"},
                   kByHole,
                   {kSmallComputed}},
        // l 0.02: L = 0.3825 / 1.56 · 2 = 0.4904 m needed: 0.5 m, less than
        // one hole's depth, and still one hole to drill and fill.
        FigureCase{"less than one hole",
                   {{Step::Type, "编辑框_破碎体长", "0.02"}},
                   {"1.125", "0.5", "1", "40", "20~30cm", "15~40cm", "9~36cm", "1540", "1.94", "2.18", "1.02"},
                   kByLength,
                   {}},
        FigureCase{"diameter 41, SCA-Ⅲ",
                   {{Step::Type, GivenD, "41"}, {Step::Choose, Agent, "SCA-Ⅲ"}},
                   {"1.125", "43.06", "39", "41", "20~30cm", "15~40cm", "9~36cm", "1650", "-", "2.45", "100.33"},
                   kByHole,
                   {}},
        // 50 mm holds 1540·π·0.05²/4 = 3.02 kg/m, not the 2.79 of 48 mm:
        // Q = 35.31·3.02·1.05.
        FigureCase{"diameter 50, SCA-Ⅱ",
                   {{Step::Type, GivenD, "50"}, {Step::Choose, Agent, "SCA-Ⅱ"}},
                   {"1.125", "35.31", "32", "50", "20~30cm", "15~40cm", "9~36cm", "1540", "3.02", "3.4", "111.97"},
                   kByLength,
                   {}},
        // 49 mm: the mean of 2.79 and 3.02; no table diameter, so Q = q1·n·1.05.
        FigureCase{"diameter 49, SCA-Ⅰ",
                   {{Step::Type, GivenD, "49"}},
                   {"1.125", "36.03", "33", "49", "20~30cm", "15~40cm", "9~36cm", "1540", "2.905", "3.27", "113.31"},
                   kByHole,
                   {}},
        FigureCase{"diameter 50, SCA-Ⅳ",
                   {{Step::Type, GivenD, "50"}, {Step::Choose, Agent, "SCA-Ⅳ"}},
                   {"1.125", "35.31", "32", "50", "20~30cm", "15~40cm", "9~36cm", "1650", "3.24", "3.64", "120.13"},
                   kByLength,
                   {}},
        // 30 mm is a table diameter; at 1540 kg/m³ its weight per metre is π·0.015²·1540 = 1.09.
        FigureCase{"diameter 30, SCA-Ⅰ",
                   {{Step::Type, GivenD, "30"}},
                   {"1.125", "58.85", "53", "30", "-", "-", "-", "1540", "1.09", "1.22", "67.36"},
                   kByLength,
                   {kSmallGiven}},
        FigureCase{"diameter 30, SCA-Ⅲ",
                   {{Step::Type, GivenD, "30"}, {Step::Choose, Agent, "SCA-Ⅲ"}},
                   {"1.125", "58.85", "53", "30", "-", "-", "-", "1650", "1.17", "1.31", "72.3"},
                   kByLength,
                   {kSmallGiven}},
        FigureCase{"beams and walls", {{Step::Choose, Object, "钢筋砼梁、墙板"}},
                   {"1.125", "44.14", "40", "40", "20~30cm", "10~30cm", "6~27cm", "1540", "1.94", "2.18", "89.92"},
                   kByLength,
                   {}},
        // No diameter: everything built on it shows "-".
        FigureCase{"no diameter",
                   {{Step::Type, GivenD, ""}},
                   {"1.125", "-", "-", "-", "-", "-", "-", "1540", "-", "-", "-"},
                   kByHole,
                   {}},
        // No breaking depth: the layer count typed from it is "-", and so is
        // everything built on it, rather than a plan with no agent at all.
        FigureCase{"no breaking depth",
                   {{Step::Type, Depth, ""}},
                   {"-", "-", "-", "40", "20~30cm", "15~40cm", "9~36cm", "1540", "1.94", "-", "-"},
                   kByLength,
                   {}}),
    [](const ::testing::TestParamInfo<FigureCase>& i) {
        std::string n;
        for (unsigned char ch : std::string(i.param.name)) n += std::isalnum(ch) ? char(ch) : '_';
        return n + "_" + std::to_string(i.index);
    });

// --- what each input accepts ----------------------------------------------------------

// One input typed or pasted over (in the count mode where it says so), then
// compute and export. `dashes` marks, for L1, L, n, D, W, a, b, K, w, q1 and
// Q in turn, which show "-" ('-') and which keep the starting figure ('.');
// an input outside its domain gives no plan, also one that only the plan
// states (`stated_only`). A layer count is only ever derived, from the
// height and the breaking depth typed.
struct DomainCase {
    const char* box;
    const char* text;
    bool count_mode;
    const char* dashes;
    bool stated_only = false;
};
void PrintTo(const DomainCase& c, std::ostream* os) { *os << c.box << " = \"" << c.text << "\""; }

struct InputDomains : StaticBreakingProgram, ::testing::WithParamInterface<DomainCase> {};

TEST_P(InputDomains, AnInputOutsideItsDomainGivesNoFigureAndNoPlan)
{
    const DomainCase& d = GetParam();
    if (d.count_mode) click(ByCount);
    const std::vector<std::string> start =
        d.count_mode ? std::vector<std::string>{"1.125", "22.5", "20", "79", "-", "-", "-", "1540", "-", "8.49", "178.29"}
                     : std::vector<std::string>{"1.125", "44.14", "40", "40", "20~30cm", "15~40cm", "9~36cm", "1540", "1.94", "2.18", "89.92"};
    rt.set_focus(&c(d.box));
    rt.user_edit_text(c(d.box), d.text);
    rt.set_focus(nullptr);
    compute();
    for (size_t i = 0; i < std::size(kResults); ++i)
        EXPECT_EQ(text(kResults[i]), d.dashes[i] == '-' ? "-" : start[i]) << kResults[i];
    // The plan's rows are a whole count or none, never the text typed.
    EXPECT_EQ(text("编辑框_布眼排数"), std::string(d.box) == Rows ? "-" : "3");
    backend.queue_answer(0);
    click("图形按钮_导出");
    const bool whole = std::string(d.dashes).find('-') == std::string::npos && !d.stated_only;
    EXPECT_EQ(messages().back(), whole ? "自动生成计算书成功！" : "计算未得出结果，请检查输入后重新计算！");
    EXPECT_EQ(fs::exists(folder / "导出的方案" / "静态爆破专项施工方案.doc"), whole);
}

INSTANTIATE_TEST_SUITE_P(
    StaticBreaking, InputDomains,
    ::testing::Values(DomainCase{"编辑框_破碎体长", "", false, ".--.......-"}, DomainCase{"编辑框_破碎体长", "-1.8", false, ".--.......-"},
                      DomainCase{Height, "0", false, ".--.......-"}, DomainCase{Height, "-2.5", false, ".--.......-"},
                      DomainCase{Depth, "", false, "---......--"}, DomainCase{Depth, "-0", false, "---......--"},
                      DomainCase{Rows, "0", false, ".--.......-"}, DomainCase{"编辑框_破碎体的抗拉强度", "-3", false, ".--.......-"},
                      // rows and holes are counted whole; a mistyped count is none
                      DomainCase{Rows, "2.5", false, ".--.......-"}, DomainCase{Rows, "-0", false, ".--.......-"},
                      DomainCase{Rows, "1..25", false, ".--.......-"}, DomainCase{GivenN, "20.5", true, ".---.....--"},
                      // a full-width count is the same count, written back whole
                      DomainCase{GivenN, "２０", true, "..........."},
                      DomainCase{"编辑框_开裂经验系数", "abc", false, ".--.......-"}, DomainCase{"编辑框_SCA膨胀压力", "", false, ".--.......-"},
                      DomainCase{"编辑框_被破碎材料的泊松比", "-0.3", false, ".--.......-"},
                      DomainCase{"编辑框_被破碎材料的泊松比", "", false, ".--.......-"},
                      DomainCase{GivenD, "", false, ".------.---"}, DomainCase{GivenD, "-40", false, ".------.---"},
                      DomainCase{GivenD, "1e309", false, ".------.---"},
                      DomainCase{GivenN, "", true, ".---.....--"}, DomainCase{GivenN, "-20", true, ".---.....--"},
                      // the width goes only into the plan, which states it as a figure
                      DomainCase{"编辑框_破碎体宽", "", false, "...........", true},
                      DomainCase{"编辑框_破碎体宽", "-5", false, "...........", true},
                      DomainCase{"编辑框_破碎体宽", "2..5", false, "...........", true},
                      DomainCase{"编辑框_破碎体宽", "0.8", false, "..........."}));

// Both tables of the agent per metre of hole follow the slurry in the hole:
// an even diameter holds K·π·D²/4 (D in m) to two decimals, an odd one (the
// 1540 table's) the mean of its neighbours. 49 and 50 mm are 2.905 and 3.02
// at 1540 kg/m³, not the 2.79 of 48 mm.
TEST(StaticBreakingTables, EveryRowHoldsTheSlurryOfItsHole)
{
    const struct {
        const char* density;
        int diameter;
        const char* weight;
    } rows[] = {
        {"1540", 28, "0.95"},  {"1540", 29, "1.02"},  {"1540", 30, "1.09"},  {"1540", 31, "1.165"}, {"1540", 32, "1.24"},
        {"1540", 33, "1.32"},  {"1540", 34, "1.40"},  {"1540", 35, "1.485"}, {"1540", 36, "1.57"},  {"1540", 37, "1.66"},
        {"1540", 38, "1.75"},  {"1540", 39, "1.845"}, {"1540", 40, "1.94"},  {"1540", 41, "2.035"}, {"1540", 42, "2.13"},
        {"1540", 43, "2.235"}, {"1540", 44, "2.34"},  {"1540", 45, "2.45"},  {"1540", 46, "2.56"},  {"1540", 47, "2.675"},
        {"1540", 48, "2.79"},  {"1540", 49, "2.905"}, {"1540", 50, "3.02"},
        {"1650", 28, "1.02"},  {"1650", 30, "1.17"},  {"1650", 32, "1.33"},  {"1650", 34, "1.50"},  {"1650", 36, "1.68"},
        {"1650", 38, "1.87"},  {"1650", 40, "2.07"},  {"1650", 42, "2.29"},  {"1650", 44, "2.51"},  {"1650", 46, "2.74"},
        {"1650", 48, "2.99"},  {"1650", 50, "3.24"},
    };
    std::map<std::pair<std::string, int>, double> table;
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.density) + " " + std::to_string(r.diameter));
        EXPECT_EQ(static_breaking::weight_per_metre(r.density, r.diameter), std::optional<std::string>(r.weight));
        table[{r.density, r.diameter}] = std::stod(r.weight);
    }
    for (const auto& [key, w] : table) {
        const auto& [density, d] = key;
        SCOPED_TRACE(density + " " + std::to_string(d));
        if (d % 2 == 0) {
            const double section = std::stod(density) * 3.14159265358979 * (d / 1000.0) * (d / 1000.0) / 4;
            EXPECT_NEAR(w, std::round(section * 100) / 100, 1e-9);
        } else {
            EXPECT_NEAR(w, (table.at({density, d - 1}) + table.at({density, d + 1})) / 2, 1e-9);
        }
    }
    // No row: outside 28 … 50 mm, between whole millimetres, odd at 1650, another weight.
    for (const auto& [density, d] : std::vector<std::pair<const char*, double>>{
             {"1540", 27}, {"1540", 51}, {"1540", 40.5}, {"1650", 41}, {"1650", 29}, {"1600", 40}})
        EXPECT_EQ(static_breaking::weight_per_metre(density, d), std::nullopt) << density << " " << d;
}

TEST_F(StaticBreakingProgram, AResultThatNoLongerAppliesIsNotLeftFromTheLastCalculation)
{
    compute();
    ASSERT_EQ(text(B), "9~36cm");
    ASSERT_EQ(text(Wm), "1.94");
    choose(Agent, "SCA-Ⅲ");
    type(GivenD, "41"); // in range, no row in the 1650 table
    compute();
    EXPECT_EQ(text(B), "9~36cm");
    EXPECT_EQ(text(Wm), "-");
    type(GivenD, "60"); // outside the range of the object type
    compute();
    EXPECT_EQ(text(W), "-");
    EXPECT_EQ(text(A), "-");
    EXPECT_EQ(text(B), "-");
}

TEST_F(StaticBreakingProgram, SwitchingModesStartsFromTheLastResult)
{
    compute();
    click(ByCount);
    EXPECT_FALSE(visible(GivenD));
    EXPECT_FALSE(visible("标签9"));
    EXPECT_TRUE(visible(GivenN));
    EXPECT_TRUE(visible("标签28"));
    EXPECT_EQ(text(GivenN), "40");
    EXPECT_EQ(text(GivenD), "40");
    compute();
    EXPECT_EQ(text(L), "45"); // 40 holes of 1.125 m
    EXPECT_EQ(text(D), "40"); // 39.23 mm needed
    click(ByDiameter);
    EXPECT_TRUE(visible(GivenD));
    EXPECT_FALSE(visible(GivenN));
    EXPECT_EQ(text(GivenD), "40");
}

TEST_F(StaticBreakingProgram, WithoutAModeNothingIsComputed)
{
    rt.set(c(ByDiameter), prop::RadioBox::Checked, false);
    const auto before = shown_texts();
    backend.trail.clear();
    compute();
    EXPECT_EQ(messages(), std::vector<std::string>{"请选择钻孔直径或钻孔深度！"});
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    // Nothing but the status line, which says what is missing.
    auto told = before;
    told["标签1_提示信息"] = "请选择钻孔直径或钻孔深度！";
    EXPECT_EQ(shown_texts(), told);
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<lamp busy>", "<normal>", "<lamp idle>", "请选择钻孔直径或钻孔深度！"}));
}

TEST_F(StaticBreakingProgram, ComputeShowsTheLampButNoPressedPicture)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    backend.sounds.clear();
    backend.trail.clear();
    compute();
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<lamp busy>", "log:", "log:" + kByLength, "<normal>", "<lamp idle>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
}

// --- derived layers and the agent ---------------------------------------------------------------

TEST_F(StaticBreakingProgram, TypingHeightOrDepthDerivesTheLayerCount)
{
    type(Height, "3.75");
    EXPECT_EQ(text(Layers), "3.0") << "to one decimal, a whole ratio too";
    type(Height, "2.5");
    type(Depth, "1.3");
    EXPECT_EQ(text(Layers), "1.9");
    // Written by a handler, not typed: nothing is derived.
    rt.set(c(Height), prop::EditBox::Content, "5");
    rt.set(c(Depth), prop::EditBox::Content, "1");
    EXPECT_EQ(text(Layers), "1.9");
    type(Depth, "0");
    EXPECT_EQ(text(Layers), "-");
}

// The agent's weight per cubic metre is no input: its box shows the chosen
// agent's at once and takes no typing, so no typed K stands beside a charge
// worked from the agent's.
TEST_F(StaticBreakingProgram, ChoosingAnAgentShowsItsTemperatureSeasonAndWeight)
{
    const struct {
        const char *agent, *temperature, *season, *weight;
    } rows[] = {
        {"SCA-Ⅲ", "5~15°C ", "冬季使用", "1650"},
        {"SCA-Ⅳ", "5~8°C ", "寒冬使用", "1650"},
        {"SCA-Ⅱ", "10~25°C ", "春季使用", "1540"},
        {"SCA-Ⅰ", "20~35°C ", "夏季使用", "1540"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.agent);
        choose(Agent, r.agent);
        EXPECT_EQ(text("编辑框_使用温度范围"), r.temperature);
        EXPECT_EQ(text("编辑框_使用季节"), r.season);
        EXPECT_EQ(text(K), r.weight);
        EXPECT_TRUE(cmd_has_focus(U(kForm, Log)));
    }
    compute();
    type(K, "2000");
    EXPECT_EQ(text(K), "1540");
    EXPECT_EQ(results_state(kForm), Runtime::Results::Current);
    choose(Agent, "SCA-Ⅲ");
    type(K, "1540");
    compute();
    EXPECT_EQ(text(K), "1650");
    EXPECT_EQ(text(Q1), "2.33"); // 0.02²·1.125·1650·3.1415926
}

// --- lookups and the picture -------------------------------------------------------------------

TEST_F(StaticBreakingProgram, LookupsShowTheirTablesInAWindowOf500By500)
{
    const struct {
        const char* button;
        const char* table;
        int width, height;
    } rows[] = {
        {"按钮3", "resources/pictures/blasting/static_hole_layout.png", 475, 475},
        {"按钮1", "resources/pictures/blasting/static_cracking_factor.png", 417, 166},
        {"按钮2", "resources/pictures/blasting/static_sca_weight.png", 336, 131},
        {"按钮5", "resources/pictures/blasting/static_sca_per_metre.png", 475, 475},
    };
    compute();
    const auto before = shown_texts();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.button);
        click(r.button);
        ASSERT_NE(rt.form("popup"), nullptr);
        EXPECT_EQ(picture("popup", "图片框2"), r.table);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 500);
        EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 500);
        picture_is(r.table, r.width, r.height);
    }
    EXPECT_EQ(shown_texts(), before);
}

TEST_F(StaticBreakingProgram, TheIllustrationCanBeDraggedAndZoomed)
{
    Control& pic = c("图片框1");
    const int w = pic.width, h = pic.height;
    rt.user_mouse_down(pic, true, 10, 10);
    EXPECT_EQ(backend.dragging(), &pic);
    EXPECT_TRUE(backend.finish_drag(pic, 30, 20));
    rt.user_wheel(pic, 1);
    EXPECT_EQ(pic.width, int(w * 1.2));
    EXPECT_EQ(pic.height, int(h * 1.2));
    rt.user_wheel(pic, -1);
    EXPECT_EQ(pic.left, 0);
    EXPECT_EQ(pic.top, 0);
}

// --- the construction plan --------------------------------------------------------------------

size_t occurrences(const std::string& doc, const std::string& s)
{
    size_t n = 0;
    for (size_t at = doc.find(s); at != std::string::npos; at = doc.find(s, at + 1)) ++n;
    return n;
}

const std::string kWriting = "\r\n   方案导出准备，开始数据写入！\r\n";
const std::string kWritten = "\r\n   数据写入完毕，开始导出计算书！";
const std::string kDone = "\r\n   方案导出完毕！ ";

struct Plan : StaticBreakingProgram {
    fs::path report() { return folder / "导出的方案" / "静态爆破专项施工方案.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(Plan, BeforeAnyCalculationTheExportIsRefused)
{
    backend.trail.clear();
    export_ok();
    EXPECT_EQ(messages(), std::vector<std::string>{"您还没有进行计算！"});
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(text(Log), "");
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_TRUE(backend.trail.empty());
}

TEST_F(Plan, FillsEveryPlaceholderCountingDownAndLogsItsProgress)
{
    choose(Agent, "SCA-Ⅲ");
    compute();
    backend.trail.clear();
    export_ok();

    ASSERT_EQ(messages(), (std::vector<std::string>{"确定开始导出，中途请勿进行其他操作！", "自动生成计算书成功！"}));
    ASSERT_EQ(backend.opened.size(), 1u);
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"静态爆破专项施工方案.doc"});

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("静态爆破专项施工方案"), std::string::npos);
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("(编辑框|组合框)_"))) << "unreplaced: " << left.str() << "…";
    for (const char* shown :
         {"使用季节\n冬季使用\n", "使用温度范围\n5~15°C \n", "本工程需对 钢筋砼基础、柱 进行破碎拆除", "选用 SCA-Ⅲ 型",
          "钻孔直径\nD\n40\nmm", "SCA重量\nK\n1650\n", "总体装药量（含耗损）\nQ\n",
          // only the mode and the total-charge formula that were used, each
          // with the sign of its rounding
          "本工程按给定的钻孔直径 D = 40 mm 计算钻孔总长及布眼数量：", "N=LL1=44.141.125≈40个",
          "本工程钻孔直径 D = 40 mm 为标准孔径，每米钻孔SCA重量 w 查表取 2.07 kg/m：", "Q=1.05·L·w=1.05×44.14×2.07≈95.94kg",
          "抵抗线\nW\n20~30cm\n—\n", "自上而下共分 2 层施工"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    for (const char* absent : {"本工程按给定的布眼数量", "不是标准孔径", "1.05·q1·N", "：。", "- kg", "= -"})
        EXPECT_EQ(doc.find(absent), std::string::npos) << absent;

    // 10 when busy, 9 once Word has started, 8, then 7 … 1 before the groups
    // of placeholders, 0 when they are done; the progress, the completion
    // text and "导出完毕！"; the idle status again.
    std::vector<std::string> marks;
    int progress = 0;
    for (const std::string& t : backend.trail) {
        if (t.rfind("已导出 ", 0) == 0) ++progress;
        else if (t[0] != '<') marks.push_back(t);
    }
    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", "参数处理，倒计时9", "[9]"};
    const std::string after_calc = kByLength;
    want.push_back("log:" + after_calc + kWriting);
    for (int n = 8; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    want.push_back("log:" + after_calc + kWriting + kWritten);
    want.insert(want.end(), {"下载完成  ", "导出完毕！", "log:" + after_calc + kWriting + kWritten + kDone,
                             "方案导出需要Word2007以上版本！", "[10]"});
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    expect_restored_after_export();
}

// The plan names one number of layers, h/H rounded up, none deeper than H,
// with the last layer's depth where h/H is not whole, even where N' = h/H
// to one decimal hides a thin last layer (2.55 / 1.25 = 2.04 shows 2.0). N'
// itself is given as the ratio it is, to one decimal, never as layers.
TEST_F(Plan, OneLayerCountThatCoversTheWholeHeight)
{
    const struct {
        const char* height;
        const char* shown_ratio; // N'
        const char* layers;
        const char* plan;
    } rows[] = {
        {"2.5", "2.0", "2", "共分 2 层施工，每层 1.25 m"},
        {"2.55", "2.0", "3", "共分 3 层施工，每层不超过 1.25 m，末层 0.05 m"},
        {"2.7", "2.2", "3", "共分 3 层施工，每层不超过 1.25 m，末层 0.2 m"},
        {"1", "0.8", "1", "共分 1 层施工，层厚 1 m"},
        {"3.75", "3.0", "3", "共分 3 层施工，每层 1.25 m"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.height);
        type("编辑框_破碎体高", row.height);
        ASSERT_EQ(text("编辑框_破碎分层数"), row.shown_ratio);
        compute();
        export_ok();
        ASSERT_EQ(messages().back(), "自动生成计算书成功！");
        const std::string doc = report_text(report());
        EXPECT_NE(doc.find("自上而下" + std::string(row.plan) + "；"), std::string::npos);
        EXPECT_NE(doc.find("施工分层数\n" + std::string(row.layers) + "\n层"), std::string::npos);
        EXPECT_NE(doc.find("高度比 h/H\n" + std::string(row.shown_ratio) + "\n—"), std::string::npos);
        // (a fraction reads numerator, denominator)
        const std::string sign = row.height == std::string("2.55") || row.height == std::string("2.7") ? "≈" : "=";
        EXPECT_NE(doc.find("N'=hH=" + std::string(row.height) + "1.25" + sign + row.shown_ratio + "\n"), std::string::npos)
            << "N' in its equation, to the one decimal the report says";
        // every number of layers the plan states is the one
        const std::regex layers("([0-9.]+)\\s*\\n?层");
        for (std::sregex_iterator m(doc.begin(), doc.end(), layers), end; m != end; ++m)
            EXPECT_EQ((*m)[1].str(), row.layers) << m->str();
        EXPECT_EQ(doc.find("破碎分层数"), std::string::npos) << "N' given as a number of layers";
        fs::remove(report());
    }
}

TEST_F(Plan, ASecondExportAppendsItsLinesAndACalculationClearsThem)
{
    compute();
    export_ok();
    export_ok();
    EXPECT_EQ(text(Log), kByLength + kWriting + kWritten + kDone + kWriting + kWritten + kDone);
    compute();
    EXPECT_EQ(text(Log), kByLength);
}

// Less hole than one hole's depth in all (0.49 m of 1.125 m): still one
// hole to drill and fill, never a plan of 0 holes.
TEST_F(Plan, LessThanOneHoleIsOneHole)
{
    type("编辑框_破碎体长", "0.02");
    compute();
    ASSERT_EQ(text(N), "1");
    export_ok();
    EXPECT_EQ(messages().back(), "自动生成计算书成功！");
    EXPECT_NE(report_text(report()).find("N=LL1=0.51.125≈1个"), std::string::npos);
}

// Changed inputs, an unusable input or no hole to fill give no plan; the
// plan of the count mode shows that mode's steps and, outside the object
// type's diameters, says why it gives no burden, spacing or row spacing.
TEST_F(Plan, OnlyTheResultsOfTheInputsShownArePlanned)
{
    type(GivenD, "60");
    compute();
    type("编辑框_破碎体长", "2.4");
    export_ok();
    EXPECT_EQ(messages().back(), "输入已修改，请重新计算后导出！");
    EXPECT_FALSE(fs::exists(report()));
    type("编辑框_破碎体长", "1.8");
    choose(Object, "无筋混凝土");
    export_ok();
    EXPECT_EQ(messages().back(), "输入已修改，请重新计算后导出！");
    choose(Object, "钢筋砼基础、柱");
    type("编辑框_破碎体宽", "1.2");
    export_ok();
    EXPECT_EQ(messages().back(), "输入已修改，请重新计算后导出！") << "the width the plan states";
    type("编辑框_破碎体宽", "1");

    click(ByCount);
    type(GivenN, "20");
    compute();
    ASSERT_EQ(text(D), "79");
    export_ok();
    ASSERT_EQ(messages().back(), "自动生成计算书成功！");
    const std::string doc = report_text(report());
    for (const char* shown : {"本工程按给定的布眼数量 N = 20 个计算钻孔总长，并由钻孔总长反算钻孔直径：", "L=N·L1=20×1.125=22.5m",
                              "×2.0×1000≈79mm", "本工程钻孔直径 D = 79 mm 不是标准孔径，按单孔装药量计算：",
                              "Q=1.05·q1·N=1.05×8.49×20=178.29kg",
                              "钻孔直径 D = 79 mm 不在“钢筋砼基础、柱”适用的 35～50 mm 孔径范围内，抵抗线、孔距及排距无推荐值。"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    for (const char* absent : {"本工程按给定的钻孔直径", "为标准孔径", "抵抗线\nW", "孔距\na", "\n-\n"})
        EXPECT_EQ(doc.find(absent), std::string::npos) << absent;
    fs::remove(report());

    // A Poisson's ratio of 0 stays in its box: the plan gives it as 0.
    type("编辑框_被破碎材料的泊松比", "0");
    compute();
    export_ok();
    ASSERT_EQ(messages().back(), "自动生成计算书成功！");
    const std::string plan = report_text(report());
    EXPECT_NE(plan.find("被破碎材料的泊松比\nμ\n0\n"), std::string::npos);
    EXPECT_NE(plan.find("22.5×(1+0)×30"), std::string::npos);
    fs::remove(report());

    // So many holes that each needs less than a millimetre: the whole
    // millimetre that holds it, and the plan says to drill fewer.
    type(GivenN, "1000000");
    compute();
    ASSERT_EQ(text(D), "1");
    export_ok();
    EXPECT_EQ(messages().back(), "自动生成计算书成功！");
    EXPECT_NE(report_text(report()).find("钻孔直径 D = 1 mm 小于常规孔径 35～50 mm，建议减少钻眼数量。"), std::string::npos);
}

TEST(StaticBreakingTemplate, EachPlaceholderStandsAsOftenAsThePlanNeedsAndNoMoreThanItIsReplaced)
{
    const report::ExportRequest r = static_breaking::export_request();
    ASSERT_EQ(r.templates.size(), 1u);
    const fs::path tmp = fs::temp_directory_path() / ("jsb-static-tpl-" + std::to_string(::getpid()) + ".docx");
    ASSERT_TRUE(cmd_write_file(tmp.string(), resource(r.templates[0].template_path)));
    const std::string doc = report_text(tmp);
    fs::remove(tmp);
    // Each mode's steps and each total-charge formula stand in blocks of
    // their own, of which the plan keeps those of the calculation.
    const std::map<std::string, size_t> want = {
        {"编辑框_破碎体高", 4}, {"编辑框_破碎体计划破碎深度", 5}, {"编辑框_孔径", 3}, {"编辑框_孔深", 3},
        {"编辑框_破碎体长", 4}, {"编辑框_破碎分层数", 4}, {"编辑框_开裂经验系数", 4}, {"编辑框_SCA重量", 3},
        {"编辑框_布眼数量", 4}, {"编辑框_单位面积钻孔总长", 6}, {"编辑框_每孔用药量", 3},
        {"组合框_破碎物体类型", 3}, {"组合框_型号", 2}, {"编辑框_使用温度范围", 2}, {"编辑框_破碎体宽", 2},
        {"编辑框_炮眼排数", 3}, {"编辑框_被破碎材料的泊松比", 0}, {"编辑框_总装药量", 4},
        {"编辑框_使用季节", 1}, {"编辑框_破碎体的抗拉强度", 2}, {"编辑框_SCA膨胀压力", 2}, {"编辑框_每米钻孔SCA重量", 1},
        {"编辑框_排距", 1}, {"编辑框_孔距", 1}, {"编辑框_抵抗线", 1}, {"编辑框_布眼排数", 0}, {"编辑框_确定钻孔直径", 1},
    };
    size_t controls = 0;
    for (const report::PlaceholderBinding& b : r.bindings) {
        SCOPED_TRACE(b.placeholder);
        EXPECT_LE(int(occurrences(doc, b.placeholder)), b.repeat);
        if (b.source.kind == report::ValueSource::Computed) {
            EXPECT_EQ(b.placeholder.rfind("计算值_", 0), 0u);
            EXPECT_GE(occurrences(doc, b.placeholder), 1u);
            continue;
        }
        ++controls;
        EXPECT_EQ(b.source.control, b.placeholder);
        EXPECT_EQ(occurrences(doc, b.placeholder), want.at(b.placeholder));
    }
    EXPECT_EQ(controls, want.size());
    EXPECT_NE(doc.find("使用季节\n编辑框_使用季节\n"), std::string::npos) << "beside 使用季节 in the overall parameters";
}

} // namespace

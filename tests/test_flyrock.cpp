// The flyrock and toxic-gas module in the whole headless program: the form as
// it starts, the method and wind lists, the distances and the verdict as a
// table of worked figures, the compute frame and the calculation report.
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
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::file_bytes;
using testsupport::occurrences;

constexpr const char* kForm = "Flyrock";
constexpr const char* kIdleStatus = "方案导出需要Word2007以上版本！";
constexpr const char* R1 = "编辑框1_安全规程最小安全距离";
constexpr const char* Kf = "编辑框1_安全系数";
constexpr const char* W = "编辑框1_最大药包的最小抵抗线";
constexpr const char* N = "编辑框1_最大药包的爆破作用指数";
constexpr const char* Rf = "编辑框1_个别飞石飞散的安全距离";
constexpr const char* Verdict = "编辑框1_与规程要求对比后结论";
constexpr const char* Q = "编辑框1_爆破总炸药量";
constexpr const char* Kg = "编辑框1_扩散系数";
constexpr const char* Rg = "编辑框1_爆破毒气的安全距离";

std::string picture_name(const Bytes& b)
{
    for (const std::string& p : resource_paths("resources/pictures/"))
        if (resource(p) == b) return p;
    return "<unknown>";
}

// Records the form's status captions and countdown pictures, the compute
// button's pictures, the lamp, the sounds, and message boxes with their owner.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::string> trail;
    std::vector<std::string> frame;
    struct Box {
        std::string text, owner;
    };
    std::vector<Box> boxes;
    // Controls that, whenever a countdown step shows, are made to read
    // "<#i@n>" (a list its current item): i their place here, n the step.
    std::vector<std::string> stamped;

    void property_changed(Control& c, int p) override
    {
        if (c.form->name == "main" && c.name == "图片框1_呼吸灯" && p == prop::PicBox::Picture)
            frame.push_back("lamp:" + picture_name(c.pictures[0]));
        if (c.form->name != kForm) return;
        if (c.name == "标签1_提示信息" && p == prop::Label::Caption) {
            trail.push_back(c.text);
            const std::string countdown = "参数处理，倒计时";
            if (c.text.rfind(countdown, 0) == 0)
                for (size_t i = 0; i < stamped.size(); ++i) {
                    Control* s = c.form->find(stamped[i]);
                    const std::string stamp = "<#" + std::to_string(i) + "@" + c.text.substr(countdown.size()) + ">";
                    if (s->kind == Kind::ComboBox) s->items[size_t(s->current_index)] = stamp;
                    else s->text = stamp;
                }
        }
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
        if (c.name == "图形按钮_计算" && p == prop::PicBtn::Picture) frame.push_back("button:" + picture_name(c.pictures[0]));
    }
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        boxes.push_back({text, owner ? owner->name : ""});
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
    void play_sound(const Bytes& wav, const std::string& name) override
    {
        frame.push_back("sound:" + fs::path(name).stem().string());
        HeadlessBackend::play_sound(wav, name);
    }
};

struct FlyrockProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-flyrock-" + std::to_string(::getpid()));
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
    void click(const std::string& name) { rt.user_click(c(name)); }
    void choose(const std::string& combo, const std::string& item)
    {
        const auto& items = c(combo).items;
        const auto it = std::find(items.begin(), items.end(), item);
        ASSERT_NE(it, items.end()) << item;
        rt.user_choose(c(combo), int(it - items.begin()));
    }
    int prop_of(const std::string& name, int p) { return rt.get(c(name), p).integer(); }
};

// --- the form as it starts --------------------------------------------------------------

TEST_F(FlyrockProgram, StartsInItsFrameWithItsDefaultsAndTips)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框2_飞石距离"));
    EXPECT_EQ(prop_of("", prop::Left), 0);
    EXPECT_EQ(prop_of("", prop::Top), 0);
    EXPECT_EQ(prop_of("", prop::Width), cmd_client_width(U("main", "外形框2_飞石距离")));
    EXPECT_EQ(prop_of("", prop::Height), cmd_client_height(U("main", "外形框2_飞石距离")));
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    const std::pair<const char*, const char*> defaults[] = {
        {"组合框5", "一般爆破"}, {R1, "-"}, {Kf, "1.50"}, {W, "2.8"}, {N, "1.25"}, {Rf, "-"}, {Verdict, "-"},
        {"组合框1", "不在下风方向时"}, {Q, "2.0"}, {Kg, "160"}, {Rg, "-"},
        {"选择框1", "大风天气"}, {"选择框2", "顺风方向"}, {"标签28", "爆破飞石安全距离计算"}, {"标签2", "爆破毒气安全距离计算"},
        {"标签1_提示信息", kIdleStatus},
    };
    for (const auto& [name, want] : defaults) EXPECT_EQ(text(name), want) << name;
    EXPECT_EQ(prop_of("组合框5", prop::ComboBox::CurrentIndex), 0);
    EXPECT_EQ(prop_of("组合框1", prop::ComboBox::CurrentIndex), 0);
    EXPECT_EQ(c("组合框1").items, (std::vector<std::string>{"不在下风方向时", "处于下风方向时"}));
    EXPECT_EQ(prop_of("选择框1", prop::CheckBox::Checked), 0);
    EXPECT_EQ(prop_of("选择框2", prop::CheckBox::Checked), 0);

    // Inputs take numbers; the two list-filled boxes are read-only on light
    // grey, the three results read-only white on dark grey.
    const struct {
        const char* box;
        int mode, text_color, back_color;
    } styles[] = {
        {Kf, 10, 0, 0xFFFFFF},      {W, 10, 0, 0xFFFFFF},       {N, 10, 0, 0xFFFFFF},       {Q, 10, 0, 0xFFFFFF},
        {R1, 1, 0, 0xC0C0C0},       {Kg, 1, 0, 0xC0C0C0},       {Rf, 1, 0xFFFFFF, 0x808080}, {Verdict, 1, 0xFFFFFF, 0x808080},
        {Rg, 1, 0xFFFFFF, 0x808080},
    };
    for (const auto& s : styles) {
        EXPECT_EQ(prop_of(s.box, prop::EditBox::InputMode), s.mode) << s.box;
        EXPECT_EQ(prop_of(s.box, prop::EditBox::TextColor), s.text_color) << s.box;
        EXPECT_EQ(prop_of(s.box, prop::EditBox::BackColor), s.back_color) << s.box;
    }
    EXPECT_EQ(prop_of(Verdict, prop::Width), 288);

    const std::string wind = "遇到大风天气、顺风方向的飞散距离还应增大25%～30%，软件默认增大1.25倍！";
    const std::map<std::string, std::string> want_tips = {
        {Kf, "与地形、地质、气候及药包埋置深度有关的安全系数，一般取用1.0~ 1.5;\r\n定向或抛掷爆破正对最小抵抗线方向时采用1.5;"
             "风速大且顺风时,或山\r\n间、娅口地形时，采用1.5~ 2.0;"},
        {Kg, "系数，根据有关试验资料统计，一般取Kg的平均值为160;下风时,Kg值乘2;"},
        {Q, "一次爆破的总炸药量"},
        {"选择框1", wind},
        {"选择框2", wind},
        {R1, "参照国家现行爆破安全规程，爆破飞石的最小安全距离不应小于本数值，软件中自动选取！"},
        {"组合框5", "参照国家现行爆破安全规程，按规定选取其爆破方法！"},
    };
    const auto& tips = c("气球提示框1").tips;
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) {
        ASSERT_TRUE(tips.count(c(name).id)) << name;
        EXPECT_EQ(tips.at(c(name).id), tip) << name;
    }
}

// --- the lists ---------------------------------------------------------------------------

TEST_F(FlyrockProgram, EachBlastingMethodWritesItsRegulationDistance)
{
    const std::pair<const char*, const char*> methods[] = {
        {"一般爆破", "-"},              {"小洞室爆破", "400"},         {"炮孔爆破、炮孔药壶爆", "200"},
        {"二次爆破、蛇穴爆破", "400"},   {"深孔爆破、深孔药壶爆破", "300"}, {"炮孔爆破法扩大药壶", "50"},
        {"深孔爆破法扩大药壶", "100"},   {"直井爆破、平洞爆破", "300"},   {"边线控制爆破", "200"},
        {"拆除爆破", "100"},             {"基础龟裂爆破", "50"},
    };
    ASSERT_EQ(c("组合框5").items.size(), std::size(methods));
    for (size_t i = 0; i < std::size(methods); ++i) {
        const auto& [item, distance] = methods[i];
        EXPECT_EQ(c("组合框5").items[i], item) << "list order";
        choose("组合框5", item);
        EXPECT_EQ(text(R1), distance) << item;
    }
}

// The general method has no regulation distance: after any other method its
// box shows "-", not the distance of the method before.
TEST_F(FlyrockProgram, TheGeneralMethodAfterAnotherShowsNoRegulationDistance)
{
    for (const char* other : {"小洞室爆破", "深孔爆破、深孔药壶爆破", "基础龟裂爆破"}) {
        SCOPED_TRACE(other);
        choose("组合框5", other);
        ASSERT_NE(text(R1), "-");
        choose("组合框5", "一般爆破");
        EXPECT_EQ(text(R1), "-");
        click("图形按钮_计算");
        EXPECT_EQ(text(Verdict), "按计算最小安全距离131.25m确定！");
    }
}

TEST_F(FlyrockProgram, TheWindDirectionSetsTheDiffusionCoefficient)
{
    choose("组合框1", "处于下风方向时");
    EXPECT_EQ(text(Kg), "320");
    choose("组合框1", "不在下风方向时");
    EXPECT_EQ(text(Kg), "160");
}

// --- the distances -----------------------------------------------------------------------

// An index whose square lies beyond the number range (the box shows it as 1e+200).
const std::string kHugeIndex = "1" + std::string(200, '0');

struct DistanceCase {
    const char* name;
    const char* method; // chosen first, or nullptr
    const char* wind;   // chosen first, or nullptr
    std::vector<const char*> ticked;
    std::vector<std::pair<const char*, const char*>> typed;
    const char* rf;
    const char* verdict;
    const char* rg;
};
void PrintTo(const DistanceCase& c, std::ostream* os) { *os << c.name; }

struct Distances : FlyrockProgram, ::testing::WithParamInterface<DistanceCase> {};

TEST_P(Distances, OneComputeClickShows)
{
    const DistanceCase& d = GetParam();
    if (d.method) choose("组合框5", d.method);
    if (d.wind) choose("组合框1", d.wind);
    for (const char* box : d.ticked) click(box);
    for (const auto& [box, value] : d.typed) type(box, value);
    click("图形按钮_计算");
    EXPECT_EQ(text(Rf), d.rf);
    EXPECT_EQ(text(Verdict), d.verdict);
    EXPECT_EQ(text(Rg), d.rg);
}

INSTANTIATE_TEST_SUITE_P(
    Flyrock, Distances,
    ::testing::Values(
        // 1.5 × 1.5625 × 2.8 × 20; 160 × 2^(1/3) = 201.587…
        DistanceCase{"starting values", nullptr, nullptr, {}, {}, "131.25", "按计算最小安全距离131.25m确定！", "201.59"},
        // Safety distances are printed rounded up: 131.25 × 1.25 = 164.0625
        // is 164.07 m, and downwind 320 × 2^(1/3) = 403.1747… is 403.18 m.
        DistanceCase{"strong wind", nullptr, nullptr, {"选择框1"}, {}, "164.07", "按计算最小安全距离164.07m确定！", "201.59"},
        DistanceCase{"downwind", nullptr, nullptr, {"选择框2"}, {}, "164.07", "按计算最小安全距离164.07m确定！", "201.59"},
        // Both ticked still give the quarter once.
        DistanceCase{"wind and downwind", nullptr, nullptr, {"选择框1", "选择框2"}, {}, "164.07",
                     "按计算最小安全距离164.07m确定！", "201.59"},
        // Safety distances are rounded up: 1.0 × 1 × 0.7311 × 20 = 14.622 →
        // 14.63, × 1.25 = 18.2875 → 18.29; the unrounded 18.2775 would show
        // 18.28.
        DistanceCase{"wind rounds the rounded distance", nullptr, nullptr, {"选择框1"}, {{Kf, "1.0"}, {N, "1"}, {W, "0.7311"}},
                     "18.29", "按计算最小安全距离18.29m确定！", "201.59"},
        DistanceCase{"shorter than the regulation", "小洞室爆破", nullptr, {}, {}, "131.25", "计算距离＜规定距离，按规定取400m",
                     "201.59"},
        DistanceCase{"longer than the regulation", "炮孔爆破法扩大药壶", nullptr, {}, {}, "131.25",
                     "计算距离>规定距离，取计算距离131.25m", "201.59"},
        // 1.6 × 1.5625 × 4 × 20 = 200, shown without decimals.
        DistanceCase{"equal to the regulation", "边线控制爆破", nullptr, {}, {{Kf, "1.6"}, {W, "4"}}, "200",
                     "计算距离=规定距离，按规定取200m", "201.59"},
        DistanceCase{"wind tips the comparison", "拆除爆破", nullptr, {"选择框2"}, {{Kf, "1.2"}, {N, "1.2"}, {W, "2.2"}}, "95.05",
                     "计算距离＜规定距离，按规定取100m", "201.59"},
        DistanceCase{"downwind fumes", nullptr, "处于下风方向时", {}, {}, "131.25", "按计算最小安全距离131.25m确定！", "403.18"},
        // Each factor is checked on its own: a negative n squared, or a
        // negative Kf times a negative W, would give a distance that looks
        // like one.
        DistanceCase{"negative index", nullptr, nullptr, {}, {{N, "-1.25"}}, "-", "-", "201.59"},
        DistanceCase{"negative factor and burden", nullptr, nullptr, {}, {{Kf, "-1.5"}, {W, "-2.8"}}, "-", "-", "201.59"},
        DistanceCase{"no charge", nullptr, nullptr, {}, {{Q, ""}}, "131.25", "按计算最小安全距离131.25m确定！", "-"},
        DistanceCase{"negative charge", nullptr, nullptr, {}, {{Q, "-2"}}, "131.25", "按计算最小安全距离131.25m确定！", "-"},
        DistanceCase{"no safety factor", "拆除爆破", nullptr, {}, {{Kf, ""}}, "-", "-", "201.59"},
        DistanceCase{"no safety factor, general method", nullptr, nullptr, {}, {{Kf, ""}}, "-", "-", "201.59"},
        DistanceCase{"negative safety factor, general method", nullptr, nullptr, {}, {{Kf, "-1.5"}}, "-", "-", "201.59"},
        // A distance beyond the number range has no value: no verdict can be
        // drawn from it, for any method.
        DistanceCase{"distance without a value", "拆除爆破", nullptr, {}, {{N, kHugeIndex.c_str()}}, "-", "-", "201.59"},
        DistanceCase{"distance without a value, general method", nullptr, nullptr, {}, {{N, kHugeIndex.c_str()}}, "-",
                     "-", "201.59"}),
    [](const ::testing::TestParamInfo<DistanceCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// --- what each input accepts ----------------------------------------------------------

// One input pasted over, then compute and export: an input outside its
// domain leaves "-" in what is built on it, no verdict, and no report.
struct DomainCase {
    const char* box;
    const char* text;
    bool flyrock_usable, fumes_usable;
};
void PrintTo(const DomainCase& c, std::ostream* os) { *os << c.box << " = \"" << c.text << "\""; }

struct InputDomains : FlyrockProgram, ::testing::WithParamInterface<DomainCase> {};

TEST_P(InputDomains, AnInputOutsideItsDomainGivesNoFigureVerdictOrReport)
{
    const DomainCase& d = GetParam();
    choose("组合框5", "拆除爆破");
    rt.set_focus(&c(d.box));
    rt.user_edit_text(c(d.box), d.text);
    rt.set_focus(nullptr);
    click("图形按钮_计算");
    if (d.flyrock_usable) {
        EXPECT_NE(text(Rf), "-");
        EXPECT_NE(text(Verdict), "-");
    } else {
        EXPECT_EQ(text(Rf), "-");
        EXPECT_EQ(text(Verdict), "-");
    }
    EXPECT_EQ(text(Rg) == "-", !d.fumes_usable);
    backend.queue_answer(0);
    click("图形按钮_导出");
    const bool usable = d.flyrock_usable && d.fumes_usable;
    EXPECT_EQ(backend.boxes.back().text, usable ? "计算方案导出成功！" : "计算未得出结果，请检查输入后重新计算！");
    EXPECT_EQ(fs::exists(folder / "导出的方案" / "爆破飞石安全距离计算.doc"), usable);
}

INSTANTIATE_TEST_SUITE_P(
    Flyrock, InputDomains,
    ::testing::Values(DomainCase{Kf, "", false, true}, DomainCase{Kf, "-", false, true}, DomainCase{Kf, "-0", false, true},
                      DomainCase{Kf, "0", false, true}, DomainCase{Kf, "-1.5", false, true}, DomainCase{Kf, "0.01", true, true},
                      DomainCase{W, "", false, true}, DomainCase{W, "-2.8", false, true}, DomainCase{W, "1e309", false, true},
                      DomainCase{N, "0", false, true}, DomainCase{N, "-1.25", false, true}, DomainCase{N, "abc", false, true},
                      DomainCase{N, "1..25", false, true}, DomainCase{N, "1.2.3", false, true}, DomainCase{N, "１.２５", true, true},
                      DomainCase{Q, "", true, false}, DomainCase{Q, "-2", true, false}, DomainCase{Q, "-0", true, false},
                      DomainCase{Q, "0.001", true, true}));

// The compute button takes no focus: a box typed into and computed at once
// is read as it stands, untidied. A mistyped index is no index (not 1, which
// gave Rf 84 m); a full-width one types as the same number.
TEST_F(FlyrockProgram, AnIndexComputedAtOnceIsReadWhole)
{
    rt.user_type(c(N), "1..25");
    click("图形按钮_计算");
    EXPECT_EQ(text(N), "1..25");
    EXPECT_EQ(text(Rf), "-");
    EXPECT_EQ(text(Verdict), "-");
    backend.queue_answer(0);
    click("图形按钮_导出");
    EXPECT_EQ(backend.boxes.back().text, "计算未得出结果，请检查输入后重新计算！");

    rt.user_type(c(N), "１.２５");
    click("图形按钮_计算");
    EXPECT_EQ(text(N), "1.25");
    EXPECT_EQ(text(Rf), "131.25");
    EXPECT_EQ(text(Verdict), "按计算最小安全距离131.25m确定！");
}

TEST_F(FlyrockProgram, ComputeLightsTheLampButDoesNotPressTheButton)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    backend.frame.clear();
    const int64_t before = backend.elapsed();
    click("图形按钮_计算");
    EXPECT_EQ(backend.frame, (std::vector<std::string>{"lamp:" + std::string(app::res::lamp_busy), "sound:click",
                                                       "sound:compute", "button:" + std::string(app::res::compute_normal),
                                                       "lamp:" + std::string(app::res::lamp_idle)}));
    EXPECT_EQ(backend.elapsed(), before) << "no pause";
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(FlyrockProgram, WithTheSoundOffComputeIsSilent)
{
    ASSERT_FALSE(app::sound_on());
    click("图形按钮_计算");
    EXPECT_TRUE(backend.sounds.empty());
}

// --- the report ----------------------------------------------------------------------------

std::string story_text(const std::string& package)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(package.data(), package.size(), 0, &error);
    if (!src) return "<not a package>";
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &error);
    if (!z) {
        zip_source_free(src);
        return "<not a package>";
    }
    std::string xml;
    // The body and every header and footer part.
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        const std::string name = zip_get_name(z, zip_uint64_t(i), 0);
        if (name.rfind("word/", 0) != 0 || name.find(".xml") == std::string::npos) continue;
        if (name != "word/document.xml" && name.find("header") == std::string::npos && name.find("footer") == std::string::npos)
            continue;
        if (zip_file_t* f = zip_fopen_index(z, zip_uint64_t(i), 0)) {
            char buf[65536];
            zip_int64_t n;
            std::string part;
            while ((n = zip_fread(f, buf, sizeof buf)) > 0) part.append(buf, size_t(n));
            zip_fclose(f);
            pugi::xml_document doc;
            if (!doc.load_string(part.c_str())) continue;
            struct Collect : pugi::xml_tree_walker {
                std::string* out;
                bool for_each(pugi::xml_node& n) override
                {
                    const std::string name = n.name();
                    if (name == "w:t" || name == "m:t") *out += n.child_value();
                    if (name == "w:p") *out += "\n";
                    return true;
                }
            } walker;
            walker.out = &xml;
            doc.traverse(walker);
        }
    }
    zip_close(z);
    return xml;
}

// The export's eleven placeholders in order, how often the template holds
// each, and the countdown step that stands when each is read.
struct Binding {
    const char* placeholder;
    size_t in_template;
    int step;
};
const Binding kBindings[] = {
    {"组合框5", 1, 8}, {"组合框1", 0, 7}, {R1, 2, 6}, {Kf, 2, 6}, {W, 2, 6}, {N, 2, 5},
    {Rf, 3, 4},        {Verdict, 2, 3},   {Q, 2, 2},  {Kg, 2, 1}, {Rg, 2, 1},
};

TEST(FlyrockTemplate, HoldsItsPlaceholdersInTheBodyAsOftenAsTheReportShowsThem)
{
    const Bytes& packed = resource("templates/flyrock.docx");
    ASSERT_FALSE(packed.empty());
    const std::string doc = story_text(std::string(packed.begin(), packed.end()));
    EXPECT_NE(doc.find("爆破飞石安全距离计算"), std::string::npos);
    for (const Binding& b : kBindings) EXPECT_EQ(occurrences(doc, b.placeholder), b.in_template) << b.placeholder;
}

struct FlyrockReport : FlyrockProgram {
    fs::path report() { return folder / "导出的方案" / "爆破飞石安全距离计算.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
    std::string report_text() { return story_text(file_bytes(report())); }
};

TEST_F(FlyrockReport, FillsTheReportCountingDownWithUnownedMessages)
{
    choose("组合框5", "小洞室爆破");
    click("选择框1");
    click("图形按钮_计算");
    backend.trail.clear();
    backend.boxes.clear();
    export_ok();

    ASSERT_EQ(backend.boxes.size(), 2u);
    EXPECT_EQ(backend.boxes[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.boxes[0].owner, "");
    EXPECT_EQ(backend.boxes[1].text, "计算方案导出成功！");
    EXPECT_EQ(backend.boxes[1].owner, "");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    EXPECT_EQ(backend.opened.back(), (folder / "导出的方案").string());
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"爆破飞石安全距离计算.doc"});

    const std::string doc = report_text();
    for (const Binding& b : kBindings) EXPECT_EQ(doc.find(b.placeholder), std::string::npos) << "unreplaced: " << b.placeholder;
    // Rounding is shown where it happens (164.0625, 201.587…); 131.25 is exact.
    for (const char* shown : {"爆破方法为：小洞室爆破。", "最小安全距离 R1 为 400 m", "Rf = 1.25×131.25 ≈ 164.07 m",
                              "R1 = 400 m 对比后的结论为：计算距离＜规定距离，按规定取400m", "本工程取 1.50；", "≈201.59m",
                              "×2.8=131.25m"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    EXPECT_EQ(doc.find("一般爆破"), std::string::npos);

    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", "  参数导出准备中，请稍候……"};
    for (int n = 9; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    for (int p = 1; p <= 100; ++p) want.push_back("计算书已导出 " + std::to_string(p) + "%  ");
    want.push_back(kIdleStatus);
    want.push_back("[10]");
    EXPECT_EQ(backend.trail, want);
    EXPECT_EQ(prop_of("进度条1", prop::ProcessBar::Position), 0);
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
    EXPECT_EQ(picture_name(c("图形按钮_导出").pictures[0]), app::res::export_normal);
}

// A method with its distance, computed, then the general method: the report
// shows no regulation distance beside the general method.
TEST_F(FlyrockReport, TheGeneralMethodAfterAnotherReportsNoRegulationDistance)
{
    choose("组合框5", "小洞室爆破");
    click("图形按钮_计算");
    choose("组合框5", "一般爆破");
    click("图形按钮_计算");
    export_ok();
    const std::string doc = report_text();
    // No regulation distance: the report says so in words, and states no
    // comparison with one.
    for (const char* shown : {"爆破方法为：一般爆破。", "现行爆破安全规程对一般爆破未规定个别飞石的最小安全距离，个别飞石的安全距离按计算确定。",
                              "一般爆破无规程规定的最小安全距离，计算安全距离 Rf = 131.25 m，结论为：按计算最小安全距离131.25m确定！",
                              "Rf = 131.25 m"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    for (const char* absent : {"400", "R1 为", "R1 =", "- m", "对比后"}) EXPECT_EQ(doc.find(absent), std::string::npos) << absent;
}

TEST_F(FlyrockReport, CountdownStepsStandBeforeTheirPlaceholders)
{
    choose("组合框5", "小洞室爆破");
    click("图形按钮_计算");
    for (const Binding& b : kBindings) backend.stamped.push_back(b.placeholder);
    export_ok();
    const std::string doc = report_text();
    for (size_t i = 0; i < std::size(kBindings); ++i) {
        if (kBindings[i].in_template == 0) continue;
        const std::string want = "<#" + std::to_string(i) + "@" + std::to_string(kBindings[i].step) + ">";
        EXPECT_NE(doc.find(want), std::string::npos) << kBindings[i].placeholder << " read at step " << kBindings[i].step;
    }
}

// A changed input takes the verdict with it, and the results go with the
// verdict (typed back, they do not come back); a new calculation's report
// states what it worked out; a refused calculation gives no report.
TEST_F(FlyrockReport, OnlyTheResultsOfTheInputsShownAreExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    EXPECT_FALSE(fs::exists(report()));

    click("选择框1");
    click("图形按钮_计算");
    // A tick, an index and a list choice changed, then changed back.
    click("选择框1");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    EXPECT_FALSE(fs::exists(report()));
    click("选择框1");
    EXPECT_EQ(text(Verdict), "-");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    click("图形按钮_计算");
    type(N, "1.5");
    type(N, "1.25");
    choose("组合框1", "处于下风方向时");
    choose("组合框1", "不在下风方向时");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "输入已修改，请重新计算后导出！");
    click("图形按钮_计算");
    export_ok();
    ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
    // Rf0 and the wind's quarter as the calculation worked them out.
    EXPECT_NE(report_text().find("Rf = 1.25×131.25 ≈ 164.07 m"), std::string::npos);

    type(Kf, "-1.5");
    click("图形按钮_计算");
    fs::remove(report());
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    EXPECT_FALSE(fs::exists(report()));
}

TEST_F(FlyrockReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture_name(c("图形按钮_导出").pictures[0]), app::res::export_normal);
}

} // namespace

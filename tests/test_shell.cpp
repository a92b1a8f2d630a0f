// The shell on the headless backend: when the main window opens, the order
// the module forms load in, which sounds a click plays, the compute-button
// frame, the addresses the shell opens, and the facts of our own pictures
// and sounds that the code relies on.
#include "app/main_window.h"
#include "app/module_forms.h"
#include "app/program.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

using namespace ui;

namespace {

struct Shell : ::testing::Test {
    HeadlessBackend backend;
    Runtime rt{backend};

    void SetUp() override
    {
        backend.attach(rt);
        ASSERT_TRUE(app::start_program(rt));
        backend.pump();
    }
    void open_main_window() { backend.advance(101 * 15); }
    void click(const char* control) { rt.user_click(rt.unit("main", control)); }
    std::vector<std::string> sounds_of(const std::function<void()>& action)
    {
        backend.sounds.clear();
        action();
        return backend.sounds;
    }
    std::string picture_of(const std::string& form, const char* control, int prop = prop::PicBtn::Picture)
    {
        const Value v = rt.get(rt.unit(form, control), prop);
        const Bytes& b = v.bytes();
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<unknown>";
    }
};

TEST_F(Shell, MainWindowOpensOnTheTickAfterTheBarIsFull)
{
    backend.advance(100 * 15);
    EXPECT_NE(rt.form("splash"), nullptr);
    EXPECT_EQ(rt.form("main"), nullptr);
    backend.advance(15);
    EXPECT_EQ(rt.form("splash"), nullptr);
    ASSERT_NE(rt.form("main"), nullptr);
    // Nothing ticks the splash any more.
    backend.advance(1000);
    EXPECT_EQ(rt.form("splash"), nullptr);
}

TEST_F(Shell, ModuleFormsLoadOnceInTheirFixedOrderOwnedByTheMainWindow)
{
    open_main_window();
    Form* main = rt.form("main");
    ASSERT_NE(main, nullptr);
    const std::vector<std::string> order = {
        "TunnelEvaluation", "MethodSelection", "SmoothBlasting", "ControlledBlasting", "BlastEffect", "StaticBreaking",
        "ShallowHole", "DeepHole", "Flyrock", "AdvanceSchedule", "Ventilation", "EarthSlope", "VerticalCut", "Mucking",
        "ExcavatorOutput", "ExcavatorTrucks", "Roller", "Bulldozer", "RockDrill", "Trestle", "AirSupply", "WaterSupply"};
    ASSERT_EQ(app::module_forms().size(), order.size());
    int last_id = main->id;
    for (size_t k = 0; k < order.size(); ++k) {
        EXPECT_EQ(app::module_forms()[k].form, order[k]);
        if (!rt.has_definition(order[k])) continue; // a module not written yet
        Form* f = rt.form(order[k]);
        ASSERT_NE(f, nullptr) << order[k];
        EXPECT_EQ(f->owner, main) << order[k];
        EXPECT_FALSE(f->modal) << order[k];
        EXPECT_GT(f->id, last_id) << order[k] << " loaded out of order";
        last_id = f->id;
        ASSERT_NE(f->frame, nullptr) << order[k];
        EXPECT_EQ(f->frame->name, app::module_forms()[k].frame);
    }
    // Navigation creates nothing.
    const size_t forms = rt.forms().size();
    click("图形按钮1_工程设备");
    click("图形按钮1_挖掘机计算");
    EXPECT_EQ(rt.forms().size(), forms);
}

// Each module page is drawn whole: its frame lies inside the page that holds
// it (a frame wider than its page loses its right border), and the form put
// into the frame holds all its controls.
TEST_F(Shell, EveryModuleFrameLiesInItsPageAndHoldsItsForm)
{
    open_main_window();
    for (const app::ModuleForm& m : app::module_forms()) {
        SCOPED_TRACE(m.form);
        const Control& frame = rt.unit("main", m.frame);
        ASSERT_NE(frame.parent, nullptr);
        EXPECT_GE(frame.left, 0);
        EXPECT_GE(frame.top, 0);
        EXPECT_LE(frame.left + frame.width, frame.parent->width);
        EXPECT_LE(frame.top + frame.height, frame.parent->height);
        const Form* f = rt.form(m.form);
        ASSERT_NE(f, nullptr);
        const Control& self = const_cast<Form*>(f)->self();
        for (size_t i = 1; i < f->controls.size(); ++i) {
            const Control& c = *f->controls[i];
            if (c.parent || c.width == 0 || !c.visible) continue;
            EXPECT_LE(c.left + c.width, self.width) << c.name;
        }
    }
}

// A box only the calculation writes looks read-only, not like a white box
// to type into: every one-line box with input mode 1 on a module form has a
// face of its own.
TEST_F(Shell, ResultBoxesOfEveryModuleFormLookReadOnly)
{
    open_main_window();
    for (const app::ModuleForm& m : app::module_forms())
        for (const auto& c : rt.form(m.form)->controls)
            if (c->kind == Kind::EditBox && c->input_mode == 1 && !c->multiline)
                EXPECT_NE(c->back_color, 0xFFFFFF) << m.form << "." << c->name;
}

TEST_F(Shell, ClicksSoundOnlyWhileTheSwitchIsOn)
{
    open_main_window();
    using Sounds = std::vector<std::string>;
    EXPECT_EQ(sounds_of([&] { click("图形按钮1_爆破工程"); }), Sounds{});
    EXPECT_EQ(sounds_of([&] { click("图形按钮1_声音开关"); }), Sounds{}) << "the toggle itself is silent";
    EXPECT_TRUE(app::sound_on());
    // The click sound, then the button's own; both start at once.
    EXPECT_EQ(sounds_of([&] { click("图形按钮1_爆破工程"); }), (Sounds{"click", "cat_blasting"}));
    EXPECT_EQ(sounds_of([&] { click("图形按钮_2级控制爆破"); }), (Sounds{"click", "mod_controlled"}));
    EXPECT_EQ(sounds_of([&] { click("图形按钮1_home"); }), (Sounds{"click", "cat_home"}));
    EXPECT_EQ(sounds_of([&] { app::compute_begin("Roller", app::compute_style("Roller")); }), (Sounds{"click", "compute"}));
    click("图形按钮1_声音开关");
    EXPECT_FALSE(app::sound_on());
    EXPECT_EQ(sounds_of([&] { click("图形按钮1_工程设备"); }), Sounds{});
    EXPECT_EQ(sounds_of([&] { app::PlayClickSounds(app::res::sound_export); }), Sounds{});
}

TEST_F(Shell, SoundIsOnOnlyForTheExactOnPicture)
{
    open_main_window();
    Control& sw = rt.unit("main", "图形按钮1_声音开关");
    const Bytes on = resource(app::mainres::sound_on);
    struct Case {
        const char* what;
        Bytes picture;
        bool on;
    };
    const Case cases[] = {
        {"the on picture", on, true},
        {"the off picture", resource(app::mainres::sound_off), false},
        {"the on picture less its last byte", on.substr(0, on.size() - 1), false},
        {"the on picture with one byte changed", std::string(on).replace(100, 1, 1, char(on[100] ^ 1)), false},
        {"the on picture and one byte more", on + 'x', false},
        {"no picture", Bytes(), false},
    };
    for (const Case& c : cases) {
        rt.set(sw, prop::PicBtn::Picture, Blob{c.picture});
        EXPECT_EQ(app::sound_on(), c.on) << c.what;
    }
    // Any picture but the off one switches to off; the off one to on.
    rt.set(sw, prop::PicBtn::Picture, Blob{Bytes("not a picture")});
    click("图形按钮1_声音开关");
    EXPECT_FALSE(app::sound_on());
    click("图形按钮1_声音开关");
    EXPECT_TRUE(app::sound_on());
}

TEST_F(Shell, ComputeFrameFollowsTheModuleStyle)
{
    open_main_window();
    const std::string pressed = app::res::compute_pressed, normal = app::res::compute_normal, hover = app::res::compute_hover;
    struct Case {
        const char* form;
        bool pressed, also_hover, lamp;
        int pause_ms;
    };
    // One row per kind of frame of the module table.
    const Case cases[] = {
        {"TunnelEvaluation", true, true, true, 0}, {"ControlledBlasting", true, false, true, 500},
        {"StaticBreaking", false, false, true, 0}, {"EarthSlope", false, false, false, 0},
        {"Roller", true, false, false, 0},         {"AirSupply", true, false, false, 500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        ASSERT_NE(rt.form(c.form), nullptr);
        const app::ComputeStyle style = app::compute_style(c.form);
        EXPECT_EQ(style.pressed, c.pressed);
        EXPECT_EQ(style.also_hover, c.also_hover);
        EXPECT_EQ(style.lamp, c.lamp);
        EXPECT_EQ(style.pause_ms, c.pause_ms);
        rt.set(rt.unit("main", "图片框1_呼吸灯"), prop::PicBox::Picture, Blob{resource(app::res::lamp_start)});

        app::compute_begin(c.form, style);
        EXPECT_EQ(picture_of(c.form, "图形按钮_计算"), c.pressed ? pressed : normal);
        EXPECT_EQ(picture_of(c.form, "图形按钮_计算", prop::PicBtn::PictureHover), c.also_hover ? pressed : hover);
        EXPECT_EQ(picture_of("main", "图片框1_呼吸灯", prop::PicBox::Picture),
                  c.lamp ? app::res::lamp_busy : app::res::lamp_start);
        const int64_t before = backend.elapsed();
        app::compute_end(c.form, style);
        EXPECT_EQ(backend.elapsed() - before, c.pause_ms);
        EXPECT_EQ(picture_of(c.form, "图形按钮_计算"), normal);
        EXPECT_EQ(picture_of(c.form, "图形按钮_计算", prop::PicBtn::PictureHover), hover);
        EXPECT_EQ(picture_of("main", "图片框1_呼吸灯", prop::PicBox::Picture),
                  c.lamp ? app::res::lamp_idle : app::res::lamp_start);
    }
}

TEST_F(Shell, OpensOnlyWebAddresses)
{
    open_main_window();
    app::ShellAddresses saved = app::shell_addresses();
    app::shell_addresses() = {"https://shop.test/", "http://contact.test/", "https://group.test/?idkey=ab"};
    click("图形按钮1_店面");
    rt.user_toolbar(rt.unit("main", "工具条_联系"), 0);
    rt.user_toolbar(rt.unit("main", "工具条_联系"), 1);
    rt.user_toolbar(rt.unit("main", "工具条_联系"), 2);
    EXPECT_EQ(backend.opened, (std::vector<std::string>{"https://shop.test/", "http://contact.test/", "https://group.test/?idkey=ab"}));
    EXPECT_EQ(rt.unit("main", "超文本浏览框2_联系作者").address, "http://contact.test/");
    EXPECT_FALSE(rt.unit("main", "超文本浏览框2_联系作者").visible);

    backend.opened.clear();
    app::shell_addresses() = {"file:///etc/passwd", "im://chat?uin=1", "javascript:alert(1)"};
    click("图形按钮1_店面");
    rt.user_toolbar(rt.unit("main", "工具条_联系"), 0);
    rt.user_toolbar(rt.unit("main", "工具条_联系"), 1);
    EXPECT_TRUE(backend.opened.empty());
    app::shell_addresses() = saved;
    EXPECT_EQ(saved.shop.rfind("http", 0), 0u);
    // The group's join page carries the group's key of 64 hexadecimal digits.
    EXPECT_TRUE(std::regex_search(saved.chat_group, std::regex("^https?://[^?#]+\\?(.*&)?idkey=[0-9A-Fa-f]{64}(&|$)")))
        << saved.chat_group;
}

// ---- our own resources ------------------------------------------------------------

struct Sound {
    const char* key;
    double seconds;
};
const Sound kSounds[] = {
    {"click", 0.66}, {"compute", 0.64}, {"export", 1.40},
    {"cat_home", 1.56}, {"cat_blasting", 1.06}, {"cat_ventilation", 1.16}, {"cat_evaluation", 0.94},
    {"cat_excavation", 0.86}, {"cat_schedule", 0.88}, {"cat_safety", 1.10}, {"cat_equipment", 1.06},
    {"cat_supply", 0.88}, {"mod_smooth", 1.24}, {"mod_controlled", 1.12}, {"mod_effect", 1.28},
    {"mod_static", 1.18}, {"mod_shallow", 1.62}, {"mod_deep", 1.58}, {"mod_flyrock", 1.44},
    {"mod_slope", 2.00}, {"mod_vertical", 2.02}, {"mod_trestle", 1.62}, {"mod_excavator", 1.34},
    {"mod_excavator_output", 1.68}, {"mod_excavator_trucks", 1.80}, {"mod_roller", 1.36},
    {"mod_bulldozer", 1.34}, {"mod_rockdrill", 1.78}, {"mod_mucking", 1.66}, {"mod_air", 1.62},
    {"mod_water", 1.62},
};

TEST(ShellResources, ThirtyOneDistinctSoundsOfTheirLengths)
{
    std::set<Bytes> distinct;
    for (const Sound& s : kSounds) {
        SCOPED_TRACE(s.key);
        const Bytes& wav = resource(std::string("resources/sounds/") + s.key + ".wav");
        WavInfo info;
        ASSERT_TRUE(parse_wav(wav, &info));
        EXPECT_EQ(info.format, 1);
        EXPECT_EQ(info.sample_rate, 44100);
        EXPECT_EQ(info.channels, 2);
        EXPECT_EQ(info.bits, 16);
        const double seconds = double(info.data_size) / (44100 * 2 * 2);
        EXPECT_NEAR(seconds, s.seconds, 0.5 / 44100 + 1e-9);
        distinct.insert(wav);
    }
    EXPECT_EQ(distinct.size(), std::size(kSounds));
}

TEST(ShellResources, AnimatedPicturesHaveTheirFramesAndDelays)
{
    struct Case {
        const char* path;
        int width, height;
        std::vector<int> delays_ms; // a delay of 0 plays as 50 ms
    };
    const Case cases[] = {
        {app::res::lamp_busy, 10, 10, {50, 50, 200}},
        {app::res::lamp_idle, 10, 10, {500, 200, 200, 100, 100, 50}},
        {"resources/pictures/main/decoration.gif", 80, 80, {50, 50, 50}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const Bytes& gif = resource(c.path);
        ASSERT_TRUE(is_gif(gif));
        EXPECT_EQ(gif.compare(0, 6, "GIF89a"), 0);
        EXPECT_NE(gif.find("NETSCAPE2.0\x03\x01"), std::string::npos) << "loops";
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(gif, &w, &h));
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        EXPECT_EQ(gif_frame_delays(gif), c.delays_ms);
    }
}

TEST(ShellResources, PicturesTheCodeKnowsBySizeOrBytes)
{
    struct Case {
        std::string path;
        int width, height;
        size_t bytes; // 0: any
    };
    std::vector<Case> cases = {
        {app::mainres::sound_on, 30, 30, 3654},       {app::mainres::sound_off, 30, 30, 3642},
        {app::res::lamp_start, 10, 10, 0},            {app::res::compute_normal, 117, 45, 2453},
        {app::res::compute_hover, 117, 45, 1999},     {app::res::compute_pressed, 117, 45, 4200},
        {app::res::compute_disabled, 117, 45, 2395},  {app::res::export_normal, 117, 45, 3046},
        {app::res::export_hover, 117, 45, 3029},      {app::res::export_pressed, 117, 45, 6055},
        {app::res::export_disabled, 117, 45, 3098},
        // Drawn at the shape and size the main window shows it at when it opens.
        {"resources/pictures/main/home.png", 1024, 640, 0},
        // Drawn at the size of the box and of the window that show them.
        {"resources/pictures/main/panel.png", 248, 72, 0}, {"resources/pictures/splash/background.png", 550, 271, 0},
        {"resources/pictures/main/shop_normal.png", 30, 29, 0}, {"resources/pictures/main/cat_home_pressed.png", 80, 80, 0},
        {"resources/pictures/main/mod_mucking_hover.png", 80, 32, 0}, {"resources/pictures/main/mod_air_normal.png", 85, 32, 0},
        {"resources/pictures/main/mod_slope_pressed.png", 80, 29, 0}, {"resources/pictures/main/mod_smooth_normal.png", 80, 30, 0},
    };
    const size_t countdown_bytes[11] = {9343, 9386, 9514, 9426, 9406, 9487, 9372, 9239, 9085, 8955, 8695};
    for (int n = 0; n <= 10; ++n) cases.push_back({app::res::countdown_picture(n), 300, 40, countdown_bytes[n]});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const Bytes& png = resource(c.path);
        ASSERT_TRUE(is_png(png));
        int w = 0, h = 0;
        ASSERT_TRUE(picture_size(png, &w, &h));
        EXPECT_EQ(w, c.width);
        EXPECT_EQ(h, c.height);
        if (c.bytes) {
            EXPECT_EQ(png.size(), c.bytes);
        }
    }
    EXPECT_NE(resource(app::mainres::sound_on), resource(app::mainres::sound_off));
    EXPECT_EQ(app::res::countdown_picture(7), "resources/pictures/common/countdown_7.png");
}

} // namespace

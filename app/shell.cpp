// The shell's services to the module forms: frames, the compute-button
// frame, the sound switch and the busy lamp.
#include "app/shell.h"

#include "app/main_window.h"

#include "ui/cmd.h"

namespace app {

namespace {
constexpr const char* kMain = kMainForm;
constexpr const char* kSoundSwitch = "图形按钮1_声音开关";
constexpr const char* kLamp = "图片框1_呼吸灯";
constexpr const char* kComputeButton = "图形按钮_计算";

ui::Value picture(const char* path) { return ui::Blob{ui::resource(path)}; }

void set_lamp(const char* path)
{
    // A module form loaded on its own (tests) has no main window to light.
    if (!ui::cmd_is_created(ui::U(kMain, kLamp))) return;
    ui::rt_set_property(ui::U(kMain, kLamp), ui::prop::PicBox::Picture, picture(path));
}
} // namespace

namespace res {
std::string countdown_picture(int n) { return "resources/pictures/common/countdown_" + std::to_string(n) + ".png"; }
} // namespace res

void embed_in_frame(const std::string& form, const std::string& frame, int left, int top, FrameSize size)
{
    const ui::Ref host = ui::U(kMain, frame);
    ui::cmd_set_parent(form, host);
    if (size == FrameSize::Kept) {
        ui::cmd_move(ui::U(form), left, top);
        return;
    }
    int width = ui::cmd_client_width(host);
    int height = ui::cmd_client_height(host);
    if (size == FrameSize::ClientMinus10) {
        width -= 10;
        height -= 10;
    }
    ui::cmd_move(ui::U(form), left, top, width, height);
}

void compute_begin(const std::string& form, const ComputeStyle& style)
{
    ui::calculation_begin(form);
    if (style.pressed) {
        const ui::Ref button = ui::U(form, kComputeButton);
        ui::rt_set_property(button, ui::prop::PicBtn::Picture, picture(res::compute_pressed));
        if (style.also_hover) ui::rt_set_property(button, ui::prop::PicBtn::PictureHover, picture(res::compute_pressed));
    }
    if (style.lamp) lamp_busy();
    PlayClickSounds(res::sound_compute);
}

void compute_end(const std::string& form, const ComputeStyle& style)
{
    if (style.pause_ms > 0) ui::cmd_sleep(style.pause_ms);
    // The normal picture is written back even where none was pressed.
    const ui::Ref button = ui::U(form, kComputeButton);
    ui::rt_set_property(button, ui::prop::PicBtn::Picture, picture(res::compute_normal));
    if (style.also_hover) ui::rt_set_property(button, ui::prop::PicBtn::PictureHover, picture(res::compute_hover));
    if (style.lamp) lamp_idle();
    ui::calculation_end();
}

bool sound_on()
{
    if (!ui::cmd_is_created(ui::U(kMain, kSoundSwitch))) return false;
    const ui::Value v = ui::rt_get_property(ui::U(kMain, kSoundSwitch), ui::prop::PicBtn::Picture);
    const ui::Bytes& on = ui::resource(mainres::sound_on);
    const ui::Bytes& shown = v.bytes();
    return shown.size() == on.size() && ui::gen_compare_bytes(shown, on, on.size());
}

void PlayClickSounds(const std::string& second_sound)
{
    if (!sound_on()) return;
    // Each sound plays on its own stream: the two are heard together.
    ui::cmd_play_sound_resource(res::sound_click);
    ui::cmd_play_sound_resource(second_sound);
}

void lamp_busy() { set_lamp(res::lamp_busy); }
void lamp_idle() { set_lamp(res::lamp_idle); }

} // namespace app

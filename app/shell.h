#pragma once
// What the module forms take from the shell: the shared pictures and sounds,
// the sound switch, the busy lamp, the compute-button frame, and the picture
// pop-up and diagram viewer.
#include "ui/resources.h"

#include <string>

namespace app {

// Shared resources, by embedded path.
namespace res {
inline constexpr const char* compute_normal = "resources/pictures/common/compute_normal.png";
inline constexpr const char* compute_hover = "resources/pictures/common/compute_hover.png";
inline constexpr const char* compute_pressed = "resources/pictures/common/compute_pressed.png";
inline constexpr const char* compute_disabled = "resources/pictures/common/compute_disabled.png";
inline constexpr const char* export_normal = "resources/pictures/common/export_normal.png";
inline constexpr const char* export_hover = "resources/pictures/common/export_hover.png";
inline constexpr const char* export_pressed = "resources/pictures/common/export_pressed.png";
inline constexpr const char* export_disabled = "resources/pictures/common/export_disabled.png";
inline constexpr const char* lamp_start = "resources/pictures/common/lamp_start.png";
inline constexpr const char* lamp_busy = "resources/pictures/common/lamp_busy.gif";
inline constexpr const char* lamp_idle = "resources/pictures/common/lamp_idle.gif";
inline constexpr const char* sound_click = "resources/sounds/click.wav";
inline constexpr const char* sound_compute = "resources/sounds/compute.wav";
inline constexpr const char* sound_export = "resources/sounds/export.wav";
// "resources/pictures/common/countdown_<n>.png", n from 0 to 10.
std::string countdown_picture(int n);
} // namespace res

// Puts a module form into its frame on the main window at (left, top),
// sized to the frame's client size, to that size less 10 each way, or kept.
enum class FrameSize { Client, ClientMinus10, Kept };
void embed_in_frame(const std::string& form, const std::string& frame, int left, int top, FrameSize size);

// The frame every compute handler runs its calculation in. What the
// calculation reads of its form between the two is kept, so that an export
// can tell whether the results still belong to the inputs (ui/cmd.h).
struct ComputeStyle {
    bool pressed = true;    // the compute button shows its pressed picture meanwhile
    bool also_hover = false; // ... in PictureHover too
    bool lamp = true;       // the busy lamp shows busy, then idle
    int pause_ms = 0;       // plain pause before the pictures are restored
};
void compute_begin(const std::string& form, const ComputeStyle& style); // pictures, then the click sounds
void compute_end(const std::string& form, const ComputeStyle& style);   // pause, then restore

// The sound switch is on exactly when its picture is the on picture.
bool sound_on();
// The click sound and then the second sound, together, when the switch is on.
void PlayClickSounds(const std::string& second_sound);

// The main window's busy lamp.
void lamp_busy();
void lamp_idle();

// Reference picture in the "查询" pop-up, its window set to width x height.
void ShowLookupPicture(const ui::Bytes& picture, int width, int height);
// A module's diagram in the "计算示意图" viewer; sized: the viewer takes the
// module's fixed window sizes.
void ShowDiagram(const ui::Bytes& picture, bool sized);

} // namespace app

#pragma once
// Facts the runtime needs of embedded pictures and sounds.
#include "ui/resources.h"

#include <cstdint>
#include <vector>

namespace ui {

bool is_png(const Bytes& b);
bool is_gif(const Bytes& b);
// Width and height of a PNG or GIF; false when neither.
bool picture_size(const Bytes& b, int* width, int* height);

// Frame delays of a GIF in milliseconds, in order; a delay of 0 plays as
// 50 ms. Empty for anything that is not a GIF; one entry for a still GIF.
std::vector<int> gif_frame_delays(const Bytes& b);
// The frame shown `elapsed` ms after the picture started, looping without end.
// Frames change only on 10 ms steps, as the player checks its wait in steps.
int gif_frame_at(const std::vector<int>& delays, int64_t elapsed);

struct WavInfo {
    int channels = 0, sample_rate = 0, bits = 0, format = 0;
    size_t data_offset = 0, data_size = 0;
};
// A RIFF/WAVE byte block with a "fmt " and a "data" chunk; false otherwise.
bool parse_wav(const Bytes& b, WavInfo* info);

} // namespace ui

#pragma once
// A small GIF89a writer for the animated pictures: one global palette,
// per-frame delays, endless loop, one transparent colour.
#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

struct Rgba {
    uint8_t r, g, b, a;
};

struct GifFrame {
    std::vector<Rgba> pixels; // width * height, row by row
    int delay_cs = 0;         // hundredths of a second
};

// Pixels with alpha below 128 become the transparent colour; the others are
// mapped to the nearest palette colour.
std::string encode_gif(int width, int height, const std::vector<GifFrame>& frames);

} // namespace resgen

#include "wav.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace resgen {

namespace {
void put32(std::string& s, uint32_t v)
{
    for (int k = 0; k < 4; ++k) s.push_back(char((v >> (8 * k)) & 0xFF));
}
void put16(std::string& s, uint16_t v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char(v >> 8));
}
int16_t sample16(float x)
{
    x = std::clamp(x, -1.0f, 1.0f);
    return int16_t(std::lround(x * 32767.0f));
}
} // namespace

std::string encode_wav(const std::vector<float>& left, const std::vector<float>* right)
{
    const uint16_t channels = 2, bits = 16;
    const uint32_t frames = uint32_t(left.size());
    const uint32_t data_size = frames * channels * (bits / 8);
    std::string s = "RIFF";
    put32(s, 36 + data_size);
    s += "WAVE";
    s += "fmt ";
    put32(s, 16);
    put16(s, 1); // PCM
    put16(s, channels);
    put32(s, kSampleRate);
    put32(s, kSampleRate * channels * (bits / 8));
    put16(s, channels * (bits / 8));
    put16(s, bits);
    s += "data";
    put32(s, data_size);
    for (uint32_t i = 0; i < frames; ++i) {
        put16(s, uint16_t(sample16(left[i])));
        put16(s, uint16_t(sample16(right ? (*right)[i] : left[i])));
    }
    return s;
}

} // namespace resgen

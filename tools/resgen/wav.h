#pragma once
// RIFF/WAVE PCM, 44 100 Hz, 2 channels, 16 bits.
#include <string>
#include <vector>

namespace resgen {

constexpr int kSampleRate = 44100;

// Samples in [-1, 1], one per frame; both channels carry the same signal
// unless a right channel is given.
std::string encode_wav(const std::vector<float>& left, const std::vector<float>* right = nullptr);

} // namespace resgen

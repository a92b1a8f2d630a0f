#include "ui/media.h"

#include <cstring>

namespace ui {
namespace {
uint32_t le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t be32(const unsigned char* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }
const unsigned char* u(const Bytes& b) { return reinterpret_cast<const unsigned char*>(b.data()); }
} // namespace

bool is_png(const Bytes& b) { return b.size() >= 24 && std::memcmp(b.data(), "\x89PNG\r\n\x1a\n", 8) == 0; }
bool is_gif(const Bytes& b) { return b.size() >= 13 && (b.compare(0, 6, "GIF89a") == 0 || b.compare(0, 6, "GIF87a") == 0); }

bool picture_size(const Bytes& b, int* w, int* h)
{
    if (is_png(b)) {
        *w = int(be32(u(b) + 16));
        *h = int(be32(u(b) + 20));
        return true;
    }
    if (is_gif(b)) {
        *w = le16(u(b) + 6);
        *h = le16(u(b) + 8);
        return true;
    }
    return false;
}

std::vector<int> gif_frame_delays(const Bytes& b)
{
    std::vector<int> delays;
    if (!is_gif(b)) return delays;
    const unsigned char* p = u(b);
    size_t n = b.size(), i = 13;
    if (p[10] & 0x80) i += 3u * (1u << ((p[10] & 7) + 1));
    int pending = 0;
    auto skip_blocks = [&](size_t& k) {
        while (k < n) {
            size_t len = p[k++];
            if (len == 0) return true;
            k += len;
        }
        return false;
    };
    while (i < n) {
        unsigned char tag = p[i++];
        if (tag == 0x3B) break;
        if (tag == 0x21) {
            if (i >= n) break;
            unsigned char label = p[i++];
            if (label == 0xF9 && i + 5 < n && p[i] >= 4) pending = le16(p + i + 2) * 10;
            if (!skip_blocks(i)) break;
        } else if (tag == 0x2C) {
            if (i + 9 > n) break;
            unsigned char flags = p[i + 8];
            i += 9;
            if (flags & 0x80) i += 3u * (1u << ((flags & 7) + 1));
            i += 1; // LZW minimum code size
            if (!skip_blocks(i)) break;
            delays.push_back(pending == 0 ? 50 : pending);
            pending = 0;
        } else {
            break;
        }
    }
    return delays;
}

int gif_frame_at(const std::vector<int>& delays, int64_t elapsed)
{
    if (delays.size() <= 1 || elapsed < 0) return 0;
    // The player waits in 10 ms steps, so each frame lasts its delay rounded
    // up to a whole step.
    int64_t cycle = 0;
    std::vector<int64_t> len(delays.size());
    for (size_t k = 0; k < delays.size(); ++k) {
        len[k] = (delays[k] + 9) / 10 * 10;
        cycle += len[k];
    }
    int64_t t = elapsed % cycle;
    for (size_t k = 0; k < len.size(); ++k) {
        if (t < len[k]) return int(k);
        t -= len[k];
    }
    return 0;
}

bool parse_wav(const Bytes& b, WavInfo* info)
{
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return false;
    const unsigned char* p = u(b);
    size_t i = 12;
    bool fmt = false, data = false;
    WavInfo w;
    while (i + 8 <= b.size()) {
        uint32_t len = le32(p + i + 4);
        size_t body = i + 8;
        if (len > b.size() - body) len = uint32_t(b.size() - body);
        if (b.compare(i, 4, "fmt ") == 0 && len >= 16) {
            w.format = le16(p + body);
            w.channels = le16(p + body + 2);
            w.sample_rate = int(le32(p + body + 4));
            w.bits = le16(p + body + 14);
            fmt = true;
        } else if (b.compare(i, 4, "data") == 0) {
            w.data_offset = body;
            w.data_size = len;
            data = true;
        }
        i = body + len + (len & 1);
    }
    if (!fmt || !data) return false;
    if (info) *info = w;
    return true;
}

} // namespace ui

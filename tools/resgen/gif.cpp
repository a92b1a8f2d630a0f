#include "gif.h"

#include <array>

namespace resgen {

namespace {

// 6x6x6 colour cube, 39 greys, and the transparent entry at 255.
std::array<Rgba, 256> make_palette()
{
    std::array<Rgba, 256> p{};
    int n = 0;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) p[n++] = {uint8_t(r * 51), uint8_t(g * 51), uint8_t(b * 51), 255};
    for (int k = 0; n < 255; ++k, ++n) {
        uint8_t v = uint8_t(6 + k * 248 / 38);
        p[n] = {v, v, v, 255};
    }
    p[255] = {0, 0, 0, 0};
    return p;
}

int nearest(const std::array<Rgba, 256>& pal, Rgba c)
{
    if (c.a < 128) return 255;
    int best = 0;
    long best_d = -1;
    for (int i = 0; i < 255; ++i) {
        long dr = long(pal[i].r) - c.r, dg = long(pal[i].g) - c.g, db = long(pal[i].b) - c.b;
        long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best_d < 0 || d < best_d) best_d = d, best = i;
    }
    return best;
}

class BitWriter {
public:
    void put(unsigned code, int bits)
    {
        acc_ |= uint32_t(code) << n_;
        n_ += bits;
        while (n_ >= 8) {
            bytes_.push_back(char(acc_ & 0xFF));
            acc_ >>= 8;
            n_ -= 8;
        }
    }
    std::string finish()
    {
        if (n_ > 0) bytes_.push_back(char(acc_ & 0xFF));
        acc_ = 0;
        n_ = 0;
        return std::move(bytes_);
    }

private:
    std::string bytes_;
    uint32_t acc_ = 0;
    int n_ = 0;
};

// LZW with a constant 9-bit code width: a clear code every few codes keeps
// the decoder's table from growing to the next width. Larger than real LZW,
// but our animated pictures are tiny.
std::string lzw_image_data(const std::vector<uint8_t>& indexes)
{
    constexpr unsigned clear = 256, end = 257;
    constexpr int per_run = 250;
    BitWriter w;
    int run = 0;
    w.put(clear, 9);
    for (uint8_t i : indexes) {
        if (run == per_run) {
            w.put(clear, 9);
            run = 0;
        }
        w.put(i, 9);
        ++run;
    }
    w.put(end, 9);
    std::string data = w.finish();
    std::string out;
    out.push_back(char(8)); // minimum code size
    for (size_t k = 0; k < data.size(); k += 255) {
        size_t n = std::min<size_t>(255, data.size() - k);
        out.push_back(char(n));
        out.append(data, k, n);
    }
    out.push_back(char(0));
    return out;
}

void put16(std::string& s, int v)
{
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}

} // namespace

std::string encode_gif(int width, int height, const std::vector<GifFrame>& frames)
{
    auto pal = make_palette();
    std::string s = "GIF89a";
    put16(s, width);
    put16(s, height);
    s.push_back(char(0xF7)); // global table, 8 bits colour resolution, 256 entries
    s.push_back(char(255));  // background: the transparent entry
    s.push_back(char(0));
    for (auto& c : pal) {
        s.push_back(char(c.r));
        s.push_back(char(c.g));
        s.push_back(char(c.b));
    }
    // NETSCAPE2.0: loop without end.
    s += "\x21\xFF\x0BNETSCAPE2.0";
    s += std::string("\x03\x01\x00\x00\x00", 5);
    for (const GifFrame& f : frames) {
        s += "\x21\xF9\x04";
        s.push_back(char(0x09)); // dispose to background, transparent colour given
        put16(s, f.delay_cs);
        s.push_back(char(255));
        s.push_back(char(0));
        s.push_back(char(0x2C));
        put16(s, 0);
        put16(s, 0);
        put16(s, width);
        put16(s, height);
        s.push_back(char(0));
        std::vector<uint8_t> idx(f.pixels.size());
        for (size_t k = 0; k < f.pixels.size(); ++k) idx[k] = uint8_t(nearest(pal, f.pixels[k]));
        s += lzw_image_data(idx);
    }
    s.push_back(char(0x3B));
    return s;
}

} // namespace resgen

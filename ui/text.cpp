#include "ui/text.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <iconv.h>

namespace ui {
namespace {

// One character of a UTF-8 text: its byte length there and the bytes it
// takes in GBK. A malformed sequence (its longest well-formed prefix, or one
// stray byte) is a character of its own that GBK cannot encode.
struct Char {
    std::size_t len;
    char32_t cp;
    bool valid;
};

bool is_cont(unsigned char b) { return (b & 0xC0) == 0x80; }

Char decode(std::string_view s, std::size_t i) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t n = s.size();
    const unsigned char b0 = p[i];
    if (b0 < 0x80) return {1, b0, true};

    std::size_t need;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    char32_t cp;
    if (b0 >= 0xC2 && b0 <= 0xDF) { need = 1; cp = b0 & 0x1F; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2; cp = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;      // overlong
        else if (b0 == 0xED) hi = 0x9F; // surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3; cp = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;      // overlong
        else if (b0 == 0xF4) hi = 0x8F; // beyond U+10FFFF
    } else {
        return {1, 0xFFFD, false};
    }

    std::size_t k = 1;
    for (; k <= need; ++k) {
        if (i + k >= n) break;
        const unsigned char b = p[i + k];
        if (k == 1 ? (b < lo || b > hi) : !is_cont(b)) break;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (k <= need) return {k, 0xFFFD, false};
    return {need + 1, cp, true};
}

// glibc's GBK writes U+20AC as the single byte 0x80, the way code page 936
// does; every other non-ASCII character takes two bytes or has no code, and
// the program counts a missing one as two as well.
int gbk_width(const Char& c) {
    if (c.valid && (c.cp < 0x80 || c.cp == 0x20AC)) return 1;
    return 2;
}

// glibc's converters drop Unicode tag characters without a word; they have
// no GBK code, so they are replaced like every other such character.
bool is_tag(const Char& c) { return c.cp >= 0xE0000 && c.cp <= 0xE007F; }

// Placeholder for a character GBK cannot encode: the full-width question
// mark, two bytes like the character it stands for.
constexpr std::string_view kGbkPlaceholder = "\xA3\xBF";
constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

bool all_ascii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

// iconv descriptors are not safe to share between threads; each thread keeps
// its own for the two directions used on every keystroke.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts `in` and appends it to `out`; at a sequence the converter rejects,
// `on_error` gets the remaining input, appends its replacement and returns
// how many bytes it covers. Returns false only if the converter is unusable.
template <class OnError>
bool convert_with(iconv_t cd, std::string_view in, std::string& out, OnError on_error) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    char buf[512];
    while (left > 0) {
        char* dst = buf;
        std::size_t room = sizeof buf;
        const std::size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        if (r != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        if (errno != EILSEQ && errno != EINVAL) return false;
        std::size_t skip = on_error(std::string_view(src, left));
        if (skip == 0 || skip > left) skip = 1;
        src += skip;
        left -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buf;
    std::size_t room = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    return true;
}

unsigned char fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

bool same_at(std::string_view text, std::size_t off, std::string_view sought, bool ignore_case) {
    if (sought.size() > text.size() - off) return false;
    for (std::size_t k = 0; k < sought.size(); ++k) {
        const auto a = static_cast<unsigned char>(text[off + k]);
        const auto b = static_cast<unsigned char>(sought[k]);
        if (a == b) continue;
        if (!ignore_case || fold(a) != fold(b)) return false;
    }
    return true;
}

// Byte offsets of the character boundaries of `s`, the end included.
std::vector<std::size_t> boundaries(std::string_view s) {
    std::vector<std::size_t> b;
    b.reserve(s.size() + 1);
    for (std::size_t i = 0; i < s.size();) {
        b.push_back(i);
        i += decode(s, i).len;
    }
    b.push_back(s.size());
    return b;
}

// Index into `bounds` of the first match of `sought` starting at or after
// bounds[from] and ending on a boundary too, or npos.
std::size_t find_on_boundaries(std::string_view text, const std::vector<std::size_t>& bounds,
                               std::size_t from, std::string_view sought, bool ignore_case) {
    for (std::size_t k = from; k + 1 < bounds.size(); ++k) {
        const std::size_t off = bounds[k];
        if (!same_at(text, off, sought, ignore_case)) continue;
        const std::size_t end = off + sought.size();
        // Boundaries are sorted; a match ending mid-character is no match.
        for (std::size_t j = k + 1; j < bounds.size() && bounds[j] <= end; ++j)
            if (bounds[j] == end) return k;
    }
    return std::string_view::npos;
}

} // namespace

int text_length(std::string_view utf8) {
    long long n = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const Char c = decode(utf8, i);
        n += gbk_width(c);
        i += c.len;
    }
    return n > INT32_MAX ? INT32_MAX : static_cast<int>(n);
}

std::string text_mid(std::string_view utf8, int start, int len) {
    if (start < 1 || len <= 0) return {};
    const long long first = start;
    const long long last = first + len - 1; // inclusive GBK position
    long long pos = 1;
    std::size_t from = std::string_view::npos, to = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const Char c = decode(utf8, i);
        const long long end = pos + gbk_width(c) - 1;
        if (pos > last) break;
        if (pos >= first && end <= last) {
            if (from == std::string_view::npos) from = i;
            to = i + c.len;
        }
        pos = end + 1;
        i += c.len;
    }
    if (from == std::string_view::npos) return {};
    return std::string(utf8.substr(from, to - from));
}

int find_text(std::string_view utf8, std::string_view sought, int start, bool ignore_case) {
    if (sought.empty()) return -1;
    if (start < 1) start = 1;
    const auto bounds = boundaries(utf8);
    // GBK position of every boundary, so a start inside a character moves on
    // to the next one.
    std::vector<long long> gpos(bounds.size());
    long long pos = 1;
    for (std::size_t k = 0; k < bounds.size(); ++k) {
        gpos[k] = pos;
        if (k + 1 < bounds.size()) pos += gbk_width(decode(utf8, bounds[k]));
    }
    std::size_t from = 0;
    while (from + 1 < bounds.size() && gpos[from] < start) ++from;
    if (from + 1 >= bounds.size()) return -1;
    const std::size_t k = find_on_boundaries(utf8, bounds, from, sought, ignore_case);
    if (k == std::string_view::npos) return -1;
    return gpos[k] > INT32_MAX ? -1 : static_cast<int>(gpos[k]);
}

std::vector<std::string> split_text(std::string_view utf8, std::string_view sep, int max_parts) {
    std::vector<std::string> parts;
    if (utf8.empty()) return parts;
    if (sep.empty()) {
        parts.emplace_back(utf8);
        return parts;
    }
    const auto bounds = boundaries(utf8);
    const auto full = [&] { return max_parts > 0 && parts.size() >= static_cast<std::size_t>(max_parts); };
    std::size_t k = 0; // boundary index where the current part begins
    while (!full()) {
        const std::size_t hit = find_on_boundaries(utf8, bounds, k, sep, false);
        if (hit == std::string_view::npos) {
            parts.emplace_back(utf8.substr(bounds[k]));
            break;
        }
        parts.emplace_back(utf8.substr(bounds[k], bounds[hit] - bounds[k]));
        const std::size_t next = bounds[hit] + sep.size();
        if (next == utf8.size()) break; // a trailing separator closes the text
        while (bounds[k] < next) ++k;
    }
    return parts;
}

std::string convert_encoding(std::string_view bytes, const char* from, const char* to) {
    if (!from || !to) return {};
    Converter conv(to, from);
    if (!conv.ok()) return {};
    std::string out;
    out.reserve(bytes.size() * 2);
    bool failed = false;
    const bool ok = convert_with(conv.get(), bytes, out, [&](std::string_view) {
        failed = true;
        return std::size_t{1};
    });
    if (!ok || failed) return {};
    return out;
}

std::string utf8_to_gbk(std::string_view utf8) {
    if (all_ascii(utf8)) return std::string(utf8);
    thread_local Converter conv("GBK", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    const auto replace = [&](std::string_view rest) {
        out += kGbkPlaceholder;
        return decode(rest, 0).len;
    };
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Hand iconv only well-formed runs, so every character it turns down
        // is replaced by exactly one placeholder, as text_length counts it.
        std::size_t j = i;
        while (j < utf8.size()) {
            const Char c = decode(utf8, j);
            if (!c.valid || is_tag(c)) break;
            j += c.len;
        }
        if (j > i) {
            const std::string_view run = utf8.substr(i, j - i);
            if (!conv.ok() || !convert_with(conv.get(), run, out, replace)) {
                for (std::size_t k = 0; k < run.size();) {
                    const Char c = decode(run, k);
                    if (c.cp < 0x80) out += static_cast<char>(c.cp);
                    else out += kGbkPlaceholder;
                    k += c.len;
                }
            }
        }
        if (j < utf8.size()) {
            out += kGbkPlaceholder;
            j += decode(utf8, j).len;
        }
        i = j;
    }
    return out;
}

std::string gbk_to_utf8(std::string_view gbk) {
    if (all_ascii(gbk)) return std::string(gbk);
    thread_local Converter conv("UTF-8", "GB18030");
    std::string out;
    out.reserve(gbk.size() * 3 / 2 + 4);
    const auto replace = [&](std::string_view rest) {
        // Code page 936 keeps the euro sign at 0x80, which GB18030 lacks.
        if (static_cast<unsigned char>(rest[0]) == 0x80) out += "\xE2\x82\xAC";
        else out += kUtf8Replacement;
        return std::size_t{1};
    };
    if (conv.ok() && convert_with(conv.get(), gbk, out, replace)) return out;
    out.clear();
    for (unsigned char c : gbk) {
        if (c < 0x80) out += static_cast<char>(c);
        else out += kUtf8Replacement;
    }
    return out;
}

} // namespace ui

#include "app/notice_page.h"

#include "ui/text.h"

#include <cstdint>

namespace app {

std::string TextBetweenMarkers(std::string_view text, std::string_view start, std::string_view end)
{
    // Texts are UTF-8 and the markers whole characters, so a byte match can
    // only begin on a character boundary: a plain search is the
    // character-wise search, and stays linear on a page of any size.
    if (start.empty() || end.empty()) return {};
    size_t p = text.find(start);
    if (p == std::string_view::npos) return {};
    std::string_view rest = text.substr(p + start.size());
    size_t e = rest.find(end);
    if (e == std::string_view::npos) return {};
    return std::string(rest.substr(0, e));
}

namespace {
std::string capped(std::string v)
{
    if (v.size() <= kMaxNoticeValueBytes) return v;
    size_t n = kMaxNoticeValueBytes;
    while (n > 0 && (static_cast<unsigned char>(v[n]) & 0xC0) == 0x80) --n; // not inside a character
    v.resize(n);
    return v;
}
// Control characters move the ticker's text about or hide parts of it (a
// line or paragraph break, an escape, a bell, right-to-left overrides): they
// are left out.
std::string without_controls(const std::string& v)
{
    std::string out;
    out.reserve(v.size());
    for (size_t i = 0; i < v.size();) {
        const unsigned char c = static_cast<unsigned char>(v[i]);
        const size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (i + n > v.size()) break;
        uint32_t cp = n == 1 ? c : n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
        for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(v[i + k]) & 0x3F);
        const bool control = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x061C || cp == 0x200E ||
                             cp == 0x200F || cp == 0x2028 || cp == 0x2029 || (cp >= 0x202A && cp <= 0x202E) ||
                             (cp >= 0x2066 && cp <= 0x2069);
        if (!control) out.append(v, i, n);
        i += n;
    }
    return out;
}
} // namespace

bool IsPlainVersion(std::string_view v)
{
    if (v.empty() || v.size() > 32) return false;
    size_t points = 0, digits = 0;
    for (char c : v) {
        if (c == '.') {
            if (++points > 1 || digits == 0) return false;
        } else if (c >= '0' && c <= '9') {
            ++digits;
        } else {
            return false;
        }
    }
    return v.back() != '.';
}

NoticePage ParseNoticePage(std::string_view body)
{
    NoticePage page;
    // A text ends at its first zero byte, as every text of the program does.
    body = body.substr(0, body.find('\0'));
    // The page is read only if it converts to the program's character set;
    // the converted bytes themselves are not needed, our texts stay UTF-8.
    if (body.empty() || ui::convert_encoding(body, "UTF-8", "GB18030").empty()) return page;

    // The page is read without its control characters (line breaks,
    // escapes, direction overrides): none of them may reach a value.
    const std::string section = TextBetweenMarkers(without_controls(std::string(body)), "////开始", "////结束");
    if (section.empty()) return page;
    auto value = [&](std::string_view key) { return capped(TextBetweenMarkers(section, key, "</P>")); };
    page.latest = value("最新版本=");
    page.latest.erase(0, page.latest.find_first_not_of(' '));
    page.latest.erase(page.latest.find_last_not_of(' ') + 1);
    page.notice = value("最新订购活动=");
    page.colour = value("通知字体颜色=");
    page.blink = value("通知闪烁开关=");
    page.fast_url = value("高速更新下载网址=");
    page.notes = value("更新说明=");
    return page;
}

} // namespace app

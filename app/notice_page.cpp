#include "app/notice_page.h"

#include "ui/text.h"

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
} // namespace

NoticePage ParseNoticePage(std::string_view body)
{
    NoticePage page;
    // A text ends at its first zero byte, as every text of the program does.
    body = body.substr(0, body.find('\0'));
    // The page is read only if it converts to the program's character set;
    // the converted bytes themselves are not needed, our texts stay UTF-8.
    if (body.empty() || ui::convert_encoding(body, "UTF-8", "GB18030").empty()) return page;

    const std::string section = TextBetweenMarkers(body, "////开始", "////结束");
    if (section.empty()) return page;
    auto value = [&](std::string_view key) { return capped(TextBetweenMarkers(section, key, "</P>")); };
    page.latest = value("最新版本=");
    page.notice = value("最新订购活动=");
    page.colour = value("通知字体颜色=");
    page.blink = value("通知闪烁开关=");
    page.fast_url = value("高速更新下载网址=");
    page.notes = value("更新说明=");
    return page;
}

} // namespace app

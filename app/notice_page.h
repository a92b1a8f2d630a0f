#pragma once
// The notice page as the web site writes it: the only text the program reads
// from the network. Kept apart from the fetch and the window so that it can
// be exercised alone, with nothing but the text conversions behind it.
#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// What the notice page says; a value the page does not give is empty.
struct NoticePage {
    std::string latest;   // 最新版本=
    std::string notice;   // 最新订购活动=
    std::string colour;   // 通知字体颜色=
    std::string blink;    // 通知闪烁开关=
    std::string fast_url; // 高速更新下载网址=
    std::string notes;    // 更新说明=, items separated by "|"
};

// The part of `text` after the first `start` and before the first `end`
// that follows it; empty when either is missing.
std::string TextBetweenMarkers(std::string_view text, std::string_view start, std::string_view end);

// Longest value kept from a page, in UTF-8 bytes. Real values are a line or
// two; the cap keeps a broken or hostile page from handing the GUI thread
// megabytes to lay out on every tick of the ticker.
inline constexpr size_t kMaxNoticeValueBytes = 8192;

// A version the program asks about: digits with at most one decimal point
// ("1.7", "2"), short enough to be read exactly; not "1e309", not "v2".
bool IsPlainVersion(std::string_view v);

// Reads a page body as received (UTF-8). Control characters (line breaks,
// escapes, direction overrides) are left out of every value but the address. A body that is not valid UTF-8
// reads as an empty page; a longer value is cut to kMaxNoticeValueBytes at
// a character boundary. Work is linear in the body's size.
NoticePage ParseNoticePage(std::string_view body);

} // namespace app

#pragma once
// The web notice: the page fetched in the background at start-up, what it
// says, and the program's text globals the main timer shows.
//
// The notice thread only fetches and parses; everything it found is handed
// to the GUI thread, which alone stores the globals, asks about a newer
// version and opens the update form.
#include <cstddef>
#include <string>
#include <string_view>

namespace app {

// The program's version, shown in the window title and the update form.
inline constexpr const char* kCurrentVersion = "1.6";

// How long one request for the notice page (or the online test) may take.
inline constexpr int kNoticeTimeoutMs = 4000;

// The text globals. GUI thread only; they start empty (the version
// excepted) each time the handlers are registered for a new program run.
struct TextGlobals {
    std::string version = kCurrentVersion;
    std::string notice_text;
    std::string notice_colour; // stored, not used further
    std::string blink_switch;
};
TextGlobals& text_globals();

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

// Reads a page body as received (UTF-8). A body that is not valid UTF-8
// reads as an empty page; a longer value is cut to kMaxNoticeValueBytes at
// a character boundary. Work is linear in the body's size.
NoticePage ParseNoticePage(std::string_view body);

// The notice page's address: the command line's, else the build's; empty
// when neither names one (then nothing is fetched).
std::string notice_address();

// Fetches and parses the page. Blocks for at most about kNoticeTimeoutMs;
// safe on any thread (touches no control). An address that is not http or
// https gives an empty page without a request.
NoticePage FetchWebNotice(const std::string& address);

// True for an http:// or https:// address with something after the scheme
// and no control characters: the only addresses the program opens.
bool is_web_address(std::string_view url);

// Starts the background fetch; its result reaches ApplyWebNotice on the GUI
// thread. Called once by the main window's set-up.
bool StartNoticeThread();

// GUI thread: stores the page's notice values and, when it names a newer
// version than ours, asks whether to update and opens the update form.
void ApplyWebNotice(const NoticePage& page);

} // namespace app

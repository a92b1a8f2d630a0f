#pragma once
// The web notice: the page fetched in the background at start-up, what it
// says, and the program's text globals the main timer shows.
//
// The notice thread only fetches and parses; everything it found is handed
// to the GUI thread, which alone stores the globals, asks about a newer
// version and opens the update form.
#include "app/notice_page.h"

#include <string>

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

// The notice page's address: the command line's, else the build's; empty
// when neither names one (then nothing is fetched).
std::string notice_address();

// Fetches and parses the page. Blocks for at most about kNoticeTimeoutMs;
// safe on any thread (touches no control). An address that is not http or
// https gives an empty page without a request; an answer whose status is
// not 200 gives an empty page.
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

#include "app/notice.h"

#include "app/program.h"
#include "app/registry.h"
#include "app/update_form.h"
#include "ui/cmd.h"

#include <utility>

// The deployment names its notice page at build time, e.g.
// -DJSB_NOTICE_URL="https://..."; without one the program fetches nothing.
#ifndef JSB_NOTICE_URL
#define JSB_NOTICE_URL ""
#endif

namespace app {

TextGlobals& text_globals()
{
    static TextGlobals g;
    return g;
}

std::string notice_address()
{
    const std::string& given = settings().notice_url;
    return given.empty() ? std::string(JSB_NOTICE_URL) : given;
}

bool is_web_address(std::string_view url)
{
    auto starts = [&](std::string_view scheme) {
        if (url.size() <= scheme.size()) return false;
        for (size_t i = 0; i < scheme.size(); ++i) {
            char c = url[i];
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
            if (c != scheme[i]) return false;
        }
        return true;
    };
    if (!starts("http://") && !starts("https://")) return false;
    for (unsigned char c : url)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

NoticePage FetchWebNotice(const std::string& address)
{
    if (!is_web_address(address)) return {};
    long status = 0;
    ui::Bytes body = ui::cmd_http_get(address, kNoticeTimeoutMs, &status);
    // An error page (a 404, a proxy's 502, a 500 that echoes an old page) is
    // no notice, whatever markers its body holds.
    if (status != 200) return {};
    return ParseNoticePage(body);
}

namespace {

// Runs on the notice thread: nothing here touches a control or a global.
void NoticeThreadEntry(const std::string& address)
{
    NoticePage page = FetchWebNotice(address);
    ui::cmd_post([page = std::move(page)] { ApplyWebNotice(page); });
}

} // namespace

bool StartNoticeThread()
{
    // The address is read here, on the GUI thread, and the thread keeps its
    // own copy.
    return ui::cmd_start_thread([address = notice_address()] { NoticeThreadEntry(address); });
}

void ApplyWebNotice(const NoticePage& page)
{
    TextGlobals& g = text_globals();
    g.notice_text = page.notice;
    g.notice_colour = page.colour;
    g.blink_switch = page.blink;
    if (!IsPlainVersion(page.latest)) return;
    if (!(ui::cmd_to_number(page.latest) - ui::cmd_to_number(g.version) > 1e-7)) return;
    const std::string question = "发现新版本V" + page.latest + "，确认立即更新吗？";
    if (ui::cmd_message_box(question, 0x21, "是否要更新", "main") != 0) return;
    OpenUpdateForm();
}

namespace {
void register_notice(ui::Runtime&)
{
    // A new program run starts with empty globals.
    text_globals() = TextGlobals{};
}
} // namespace
JSB_HANDLERS(register_notice)

} // namespace app

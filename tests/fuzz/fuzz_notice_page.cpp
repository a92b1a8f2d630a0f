// libFuzzer target: the notice page, whatever a server sends. Besides not
// crashing and staying free of undefined behaviour, every page must give
// values that are whole UTF-8 texts within the size cap, that never hold the
// end marker of a value, and a zero byte must end the page.
#include "app/notice_page.h"
#include "ui/text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool ok)
{
    if (!ok) std::abort(); // libFuzzer reports the input that broke the rule
}

void check_value(const std::string& v)
{
    check(v.size() <= app::kMaxNoticeValueBytes);
    check(v.find('\0') == std::string::npos);
    check(v.find("</P>") == std::string::npos);
    // A whole text: it converts back and forth without loss.
    check(v.empty() || ui::convert_encoding(v, "UTF-8", "GB18030").size() > 0);
}

bool same(const app::NoticePage& a, const app::NoticePage& b)
{
    return a.latest == b.latest && a.notice == b.notice && a.colour == b.colour && a.blink == b.blink &&
           a.fast_url == b.fast_url && a.notes == b.notes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const app::NoticePage page = app::ParseNoticePage(body);
    for (const std::string* v : {&page.latest, &page.notice, &page.colour, &page.blink, &page.fast_url, &page.notes})
        check_value(*v);
    // Whatever follows a zero byte is not part of the page.
    std::string cut(body);
    cut += '\0';
    cut += "////开始<P>最新版本=9</P>////结束";
    check(same(app::ParseNoticePage(cut), page));
    return 0;
}

// The main window's timer: the notice ticker (text, blink, scroll) and the
// clock line with its late-night reminders. Runs on the GUI thread every
// 120 ms and must never wait for anything.
#include "app/notice.h"
#include "app/registry.h"
#include "ui/cmd.h"

#include <cstdint>
#include <string>

namespace app {
namespace {

namespace P = ui::prop;

ui::Ref M(const char* control) { return ui::U("main", control); }

struct BlinkColours {
    const char* name;
    int32_t first, second; // Windows colours, 0x00BBGGRR
};
constexpr BlinkColours kBlink[] = {
    {"开启白色", 0xC0C0C0, 0xFFFFFF},
    {"开启黄色", 0x1CC4F3, 0x00FFFF},
    {"开启绿色", 0x48DB86, 0x00D304},
    {"开启红色", 0x6D4AFF, 0x1B30CE},
    {"开启", 0xECECEC, 0xFFFFFF},
};

const BlinkColours* blink_colours(const std::string& blink_switch)
{
    for (const BlinkColours& b : kBlink)
        if (blink_switch == b.name) return &b;
    return nullptr;
}

std::string two_digits(int n)
{
    std::string s = ui::cmd_to_text(n);
    return s.size() < 2 ? "0" + s : s;
}

void tick_notice(const TextGlobals& g)
{
    const ui::Ref area = M("编辑框1_通知窗口");
    ui::rt_set_property(area, P::EditBox::Content, g.notice_text);

    if (const BlinkColours* b = blink_colours(g.blink_switch))
        ui::rt_set_property(area, P::EditBox::TextColor, ui::cmd_random(1, 2) == 1 ? b->first : b->second);

    // 20 pixels for every 32 GBK bytes, a real division cut at the end.
    const int height = ui::cmd_to_int(double(ui::cmd_text_length(g.notice_text)) / 32.0 * 20.0);
    ui::rt_set_property(area, P::Height, height);

    int top = ui::cmd_to_int(ui::rt_get_property(area, P::Top)) - 1;
    ui::rt_set_property(area, P::Top, top);
    if (top + height < 0) {
        // Past the frame's top edge: start again below, counted from the
        // frame's own position in its picture box.
        const int frame_top = ui::cmd_to_int(ui::rt_get_property(M("外形框_广告"), P::Top));
        ui::rt_set_property(area, P::Top, frame_top + height - 50);
    }
}

void tick_clock()
{
    const ui::DateTime now = ui::cmd_now();
    const int hour = ui::cmd_hour(now);
    const std::string time =
        two_digits(hour) + ":" + two_digits(ui::cmd_minute(now)) + ":" + two_digits(ui::cmd_second(now));
    std::string line;
    if (hour >= 22) line = time + "夜深啦,您该休息了！！";
    else if (hour <= 5) line = time + "深夜了,您该休息了！";
    else
        line = ui::cmd_to_text(ui::cmd_year(now)) + "-" + ui::cmd_to_text(ui::cmd_month(now)) + "-" +
               ui::cmd_to_text(ui::cmd_day(now)) + "  " + time;
    ui::rt_set_property(M("编辑框1_时间提示"), P::EditBox::Content, line);
}

void MainTimerTick(ui::EventArgs&)
{
    tick_notice(text_globals());
    tick_clock();
}

void register_main_timer(ui::Runtime& rt) { rt.register_handler("MainTimerTick", MainTimerTick); }

} // namespace
JSB_HANDLERS(register_main_timer)

} // namespace app

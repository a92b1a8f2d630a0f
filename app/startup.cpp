// Start-up (splash form, main window, module forms), the layout of the main
// window on small screens and the exit question.
#include "app/main_window.h"

#include "app/notice.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"

#include <algorithm>
#include <climits>

namespace app {

namespace {
using ui::U;
namespace P = ui::prop;

constexpr const char* kSplash = "splash";
constexpr const char* kCategoryTab = "选择夹_大类";
constexpr const char* kVBar = "纵向滚动条1";
constexpr const char* kHBar = "横向滚动条1";
constexpr const char* kHomePicture = "图片框1_软件主页";
constexpr const char* kTopBar = "外形框1";
constexpr const char* kToolBar = "工具条_联系";
// The top bar's height on one row; the category tab stands below the bar
// when no scroll bar moves it, the home picture 16 pixels lower, the
// vertical scroll bar 8.
constexpr int kTopBarHeight = 89;
constexpr int kHomeBelowBar = 16;
constexpr int kVBarBelowBar = 8;
// The top bar's right-hand group: the notice and clock panel, the sound
// switch, the busy lamp, the shop button and the picture beneath them. It
// stands beside the last category button; where the window is too narrow
// for it before the tool bar, it moves to a second row of the top bar, at
// its right end, and what lies below the bar moves down.
constexpr const char* kRightGroup[] = {"图片框1", "图片框2", "图形按钮1_声音开关", "图片框1_呼吸灯", "图形按钮1_店面"};
constexpr const char* kLastCategory = "图形按钮1_风水配置";

ui::Ref main_unit(const char* control) { return U(kMainForm, control); }
int get_int(const ui::Ref& r, int prop) { return ui::cmd_to_int(ui::rt_get_property(r, prop)); }

// Where the category tab stands when no scroll bar moves it: below the top bar.
int tab_top() { return get_int(main_unit(kTopBar), P::Top) + get_int(main_unit(kTopBar), P::Height); }

// ---- splash -----------------------------------------------------------------

void SplashTimerTick(ui::EventArgs&)
{
    const ui::Ref bar = U(kSplash, "进度条1");
    const int p = get_int(bar, P::ProcessBar::Position);
    if (p != 100) {
        const int now = p + 1;
        ui::rt_set_property(bar, P::ProcessBar::Position, now);
        ui::rt_set_property(U(kSplash, "透明标签1"), P::TransLabel::Caption, "进度加载" + ui::cmd_to_text(now) + "%");
        if (now == 70) ui::rt_set_property(U(kSplash, "透明标签2"), P::TransLabel::Caption, "软件导出需要Word2007及以上版本支持");
        return;
    }
    // The tick after the bar is full: done, and the splash goes.
    ui::rt_set_property(U(kSplash, "透明标签1"), P::TransLabel::Caption, "加载完成！");
    ui::rt_set_property(bar, P::Visible, false);
    ui::rt_set_property(U(kSplash, "时钟1"), P::Timer::Interval, 0);
    ui::rt_set_property(U(kSplash, "透明标签1"), P::Visible, false);
    ui::cmd_destroy(kSplash);
}

void OpenMainWindow(ui::EventArgs&) { ui::cmd_load_form(kMainForm, {}, false); }

// ---- main window --------------------------------------------------------------

void SetUpMainWindow()
{
    const ui::Ref tips = main_unit("气球提示框1");
    ui::cmd_attach_tip(tips, main_unit("图形按钮1_声音开关"), "开闭语音");
    ui::cmd_attach_tip(tips, main_unit("图形按钮1_店面"), "青岚店面");
    // The program starts silent.
    ui::rt_set_property(main_unit("图形按钮1_声音开关"), P::PicBtn::Picture, ui::Blob{ui::resource(mainres::sound_off)});
    ui::rt_set_property(main_unit(kHomePicture), P::Visible, true);
    ui::cmd_set_z_order(main_unit(kHomePicture), 1);
    // What scrolls passes under the top bar: the category buttons stay
    // where they are and take their clicks; the scroll bars stay above the
    // home picture.
    ui::rt_set_property(main_unit(kTopBar), P::ShapeBox::BackColor, 0xECECEC);
    for (const char* c : {kTopBar, kToolBar, kVBar, kHBar}) ui::cmd_set_z_order(main_unit(c), 1);
    const int panel = 0xA48371;
    ui::rt_set_property(main_unit("外形框_广告"), P::ShapeBox::BackColor, panel);
    ui::rt_set_property(main_unit("编辑框1_通知窗口"), P::EditBox::BackColor, panel);
    ui::rt_set_property(main_unit("编辑框1_时间提示"), P::EditBox::BackColor, panel);
    ui::rt_set_property(main_unit("时钟1"), P::Timer::Interval, 120);
}

void MainWindowCreated(ui::EventArgs&)
{
    TextGlobals& g = text_globals();
    g.version = kCurrentVersion;
    ui::rt_set_property(U(kMainForm), P::window::Title, "掘石宝-青岚V" + g.version);
    LoadModuleForms();
    ui::cmd_set_xp_style(3);
    StartNoticeThread(); // the result is not examined
    SetUpMainWindow();
}

// The scroll bars' range is what does not fit beside and below the top bar
// (the bars' own room left out), a page what does; the tab and the home
// picture stand where the bars' positions put them.
void ScrollRangesAndPlaces()
{
    const ui::Ref form = U(kMainForm);
    const ui::Ref vbar = main_unit(kVBar), hbar = main_unit(kHBar), tab = main_unit(kCategoryTab);
    const bool v_on = get_int(vbar, P::Visible) != 0, h_on = get_int(hbar, P::Visible) != 0;
    const int view_h = std::max(1, (h_on ? get_int(hbar, P::Top) : ui::cmd_client_height(form)) - tab_top());
    const int view_w = std::max(1, v_on ? get_int(vbar, P::Left) : ui::cmd_client_width(form));
    ui::rt_set_property(vbar, P::ScrollBar::Page, view_h);
    ui::rt_set_property(vbar, P::ScrollBar::Maximum, std::max(0, get_int(tab, P::Height) - view_h));
    ui::rt_set_property(hbar, P::ScrollBar::Page, view_w);
    ui::rt_set_property(hbar, P::ScrollBar::Maximum, std::max(0, get_int(tab, P::Width) - view_w));
    const int down = v_on ? get_int(vbar, P::ScrollBar::Position) : 0;
    const int across = h_on ? get_int(hbar, P::ScrollBar::Position) : 0;
    ui::rt_set_property(tab, P::Top, tab_top() - down);
    ui::rt_set_property(tab, P::Left, -across);
    ui::rt_set_property(main_unit(kHomePicture), P::Top, tab_top() + kHomeBelowBar - down);
    ui::rt_set_property(main_unit(kHomePicture), P::Left, -across);
}

// Puts the right-hand group beside the category buttons or, where it does
// not fit there before `tools_left`, on a second row ending before the tool
// bar; the top bar takes the second row's height. Gives how far the bar
// grew down.
int PlaceRightGroup(int tools_left)
{
    const ui::Ref last = main_unit(kLastCategory);
    const int beside = get_int(last, P::Left) + get_int(last, P::Width);
    const int row_top = get_int(last, P::Top), row_bottom = row_top + get_int(last, P::Height);
    int left = INT_MAX, top = INT_MAX, right = INT_MIN;
    for (const char* c : kRightGroup) {
        left = std::min(left, get_int(main_unit(c), P::Left));
        top = std::min(top, get_int(main_unit(c), P::Top));
        right = std::max(right, get_int(main_unit(c), P::Left) + get_int(main_unit(c), P::Width));
    }
    const int width = right - left;
    const bool one_row = beside + width <= tools_left;
    const int to_left = one_row ? beside : std::max(0, tools_left - width);
    const int to_top = one_row ? row_top : row_bottom + row_top;
    for (const char* c : kRightGroup) {
        const ui::Ref r = main_unit(c);
        ui::cmd_move(r, get_int(r, P::Left) + to_left - left, get_int(r, P::Top) + to_top - top);
    }
    const int drop = to_top - row_top;
    ui::rt_set_property(main_unit(kTopBar), P::Height, kTopBarHeight + drop);
    return drop;
}

void LayoutMainWindow(ui::EventArgs&)
{
    const ui::Ref form = U(kMainForm);
    const int h = ui::cmd_client_height(form);
    const int w = ui::cmd_client_width(form);
    const ui::Ref vbar = main_unit(kVBar), hbar = main_unit(kHBar), tab = main_unit(kCategoryTab);
    // The top bar first: what lies below it depends on its height. The tool
    // bar ends at the window's right edge; the group stands in the top bar,
    // inside its one-pixel line.
    const int tools_left = w - get_int(main_unit(kToolBar), P::Width);
    ui::rt_set_property(main_unit(kToolBar), P::Left, tools_left);
    const int drop = PlaceRightGroup(tools_left - 1);
    // A bar shows while the client area is at most that large (below a top
    // bar of one row).
    if (h <= 700 + drop) {
        ui::rt_set_property(vbar, P::Visible, true);
    } else {
        ui::rt_set_property(vbar, P::Visible, false);
        ui::rt_set_property(tab, P::Top, tab_top());
    }
    // The bar across shows while the pages are wider than what shows of
    // them beside the bar down the side.
    if (w - (get_int(vbar, P::Visible) ? 20 : 0) < get_int(tab, P::Width)) {
        ui::rt_set_property(hbar, P::Visible, true);
    } else {
        ui::rt_set_property(hbar, P::Visible, false);
        ui::rt_set_property(tab, P::Left, 0);
    }
    ui::rt_set_property(main_unit(kTopBar), P::Width, ui::cmd_screen_width());
    ui::rt_set_property(vbar, P::Left, w - 20);
    ui::rt_set_property(vbar, P::Top, tab_top() + kVBarBelowBar);
    ui::rt_set_property(vbar, P::Height, h - 20 - get_int(vbar, P::Top));
    ui::rt_set_property(hbar, P::Top, get_int(vbar, P::Top) + get_int(vbar, P::Height) + 2);
    ui::rt_set_property(hbar, P::Width, w);
    ui::rt_set_property(main_unit(kHomePicture), P::Width, w);
    ui::rt_set_property(main_unit(kHomePicture), P::Height, ui::gen_float_to_int(get_int(main_unit(kHomePicture), P::Width) * 0.625));
    ScrollRangesAndPlaces();
}

// The range follows the window and the tab's size, written before the
// position is read.
void ScrollCategoryTab(ui::EventArgs&) { ScrollRangesAndPlaces(); }

void ConfirmExit(ui::EventArgs& a)
{
    const int answer = ui::cmd_message_box("感谢使用本软件，您确定要退出程序吗？", 0x21, "是否要关闭", kMainForm);
    if (answer != 0) {
        a.result = false;
        return;
    }
    FreeGlobals();
    ui::rt_exit(0);
}

void register_main_window(ui::Runtime& rt)
{
    rt.register_handler("SplashTimerTick", SplashTimerTick);
    rt.register_handler("OpenMainWindow", OpenMainWindow);
    rt.register_handler("MainWindowCreated", MainWindowCreated);
    rt.register_handler("LayoutMainWindow", LayoutMainWindow);
    rt.register_handler("ScrollCategoryTab", ScrollCategoryTab);
    rt.register_handler("ConfirmExit", ConfirmExit);
}
} // namespace
JSB_HANDLERS(register_main_window)

void ScrollMainWindowToStart()
{
    ui::rt_set_property(main_unit(kVBar), P::ScrollBar::Position, 0);
    ui::rt_set_property(main_unit(kHBar), P::ScrollBar::Position, 0);
    ScrollRangesAndPlaces();
}

void FreeGlobals()
{
    TextGlobals& g = text_globals();
    g.version.clear();
    g.notice_text.clear();
    g.notice_colour.clear();
    g.blink_switch.clear();
}

} // namespace app

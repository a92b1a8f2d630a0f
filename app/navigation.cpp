// Category and module navigation, the sound switch, the shop button and the
// tool bar. Which category or module is chosen is kept only in the buttons'
// pictures; whether sound is on, only in the sound switch's picture.
#include "app/main_window.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"

#include <string>
#include <vector>

#ifndef JSB_SHOP_URL
#define JSB_SHOP_URL "https://www.example.com/qinglan/shop"
#endif
#ifndef JSB_CONTACT_URL
#define JSB_CONTACT_URL "https://www.example.com/qinglan/contact"
#endif
#ifndef JSB_CHAT_GROUP_URL
#define JSB_CHAT_GROUP_URL "https://www.example.com/qinglan/group?idkey=0000000000000000000000000000000000000000000000000000000000000000"
#endif

namespace app {

ShellAddresses& shell_addresses()
{
    static ShellAddresses a{JSB_SHOP_URL, JSB_CONTACT_URL, JSB_CHAT_GROUP_URL};
    return a;
}

namespace {
using ui::U;
namespace P = ui::prop;

enum class SubButtons { Leave, Show, Hide };

struct NavButton {
    const char* name;
    const char* key; // its pictures and sound: resources/.../<key>_normal.png, <key>.wav
    int page;
    SubButtons subs = SubButtons::Leave;
};

struct NavGroup {
    const char* tab;
    std::vector<NavButton> buttons;
};

// The nine category buttons and the outer tab's pages. The names of
// 隧道开挖 and 工期计算 cross over their pages on purpose: page 4 holds the
// excavation-method selection, page 5 the advance and schedule.
const NavGroup kCategories = {"选择夹_大类",
                              {{"图形按钮1_home", "cat_home", 0},
                               {"图形按钮1_爆破工程", "cat_blasting", 1},
                               {"图形按钮1_通风工程", "cat_ventilation", 2},
                               {"图形按钮1_隧道评价", "cat_evaluation", 3},
                               {"图形按钮1_隧道开挖", "cat_excavation", 4},
                               {"图形按钮1_工期计算", "cat_schedule", 5},
                               {"图形按钮1_工程安全", "cat_safety", 6},
                               {"图形按钮1_工程设备", "cat_equipment", 7},
                               {"图形按钮1_风水配置", "cat_supply", 8}}};

constexpr auto Show = SubButtons::Show;
constexpr auto Hide = SubButtons::Hide;

const std::vector<NavGroup> kModuleGroups = {
    {"选择夹1_爆破工程",
     {{"图形按钮_2级光面爆破", "mod_smooth", 0},
      {"图形按钮_2级控制爆破", "mod_controlled", 1},
      {"图形按钮_2级爆破影响", "mod_effect", 2},
      {"图形按钮_2级静态爆破", "mod_static", 3},
      {"图形按钮_2级浅孔爆破", "mod_shallow", 4},
      {"图形按钮_2级深孔爆破", "mod_deep", 5},
      {"图形按钮_1爆破飞石", "mod_flyrock", 6, Hide}}},
    {"选择夹1_6工程安全", {{"图形按钮1_土方放坡", "mod_slope", 0}, {"图形按钮1_土方垂直", "mod_vertical", 1}}},
    {"选择夹1",
     {{"图形按钮1_栈桥", "mod_trestle", 0, Hide},
      {"图形按钮1_挖掘机计算", "mod_excavator", 1, Show},
      {"图形按钮2_生产率及数量", "mod_excavator_output", 1},
      {"图形按钮2_工期及自卸汽车", "mod_excavator_trucks", 2},
      {"图形按钮1_压路机", "mod_roller", 3, Hide},
      {"图形按钮1_推土机", "mod_bulldozer", 4, Hide},
      {"图形按钮1_风动凿岩机", "mod_rockdrill", 5, Hide},
      {"图形按钮1_隧道除渣", "mod_mucking", 6, Hide}}},
    {"选择夹1_供风计算", {{"图形按钮1_风", "mod_air", 0}, {"图形按钮1_水", "mod_water", 1}}},
};

const char* const kSubButtons[] = {"图形按钮2_生产率及数量", "图形按钮2_工期及自卸汽车"};

std::string picture_path(const NavButton& b, const char* state)
{
    return std::string("resources/pictures/main/") + b.key + "_" + state + ".png";
}
std::string sound_path(const NavButton& b) { return std::string("resources/sounds/") + b.key + ".wav"; }

void set_picture(const ui::Ref& r, int prop, const std::string& path)
{
    ui::rt_set_property(r, prop, ui::Blob{ui::resource(path)});
}

// The chosen button looks pressed whether or not the mouse is over it; the
// others of its group look as they normally do.
void show_chosen(const NavGroup& g, const NavButton& chosen)
{
    for (const NavButton& b : g.buttons) {
        const ui::Ref r = U(kMainForm, b.name);
        const bool is_chosen = &b == &chosen;
        set_picture(r, P::PicBtn::Picture, picture_path(b, is_chosen ? "pressed" : "normal"));
        set_picture(r, P::PicBtn::PictureHover, picture_path(b, is_chosen ? "pressed" : "hover"));
    }
}

const NavButton* find(const NavGroup& g, const std::string& name)
{
    for (const NavButton& b : g.buttons)
        if (name == b.name) return &b;
    return nullptr;
}

void UpdateHomePicture()
{
    const int page = ui::cmd_to_int(ui::rt_get_property(U(kMainForm, kCategories.tab), P::Tab::CurrentPage));
    ui::rt_set_property(U(kMainForm, "图片框1_软件主页"), P::Visible, page == 0);
}

void SelectCategoryPage(ui::EventArgs& a)
{
    const NavButton* b = a.control ? find(kCategories, a.control->name) : nullptr;
    if (!b) return;
    // Writing the page raises no PageChanged: the home picture is ours to update.
    ui::rt_set_property(U(kMainForm, kCategories.tab), P::Tab::CurrentPage, b->page);
    ScrollMainWindowToStart();
    UpdateHomePicture();
    PlayClickSounds(sound_path(*b));
    show_chosen(kCategories, *b);
}

void SelectModulePage(ui::EventArgs& a)
{
    if (!a.control) return;
    for (const NavGroup& g : kModuleGroups) {
        const NavButton* b = find(g, a.control->name);
        if (!b) continue;
        ui::rt_set_property(U(kMainForm, g.tab), P::Tab::CurrentPage, b->page);
        ScrollMainWindowToStart();
        PlayClickSounds(sound_path(*b));
        if (b->subs != SubButtons::Leave)
            for (const char* sub : kSubButtons) ui::rt_set_property(U(kMainForm, sub), P::Visible, b->subs == SubButtons::Show);
        show_chosen(g, *b);
        return;
    }
}

void ToggleSoundSwitch(ui::EventArgs&)
{
    const ui::Ref sw = U(kMainForm, "图形按钮1_声音开关");
    const ui::Bytes& off = ui::resource(mainres::sound_off);
    const ui::Value shown = ui::rt_get_property(sw, P::PicBtn::Picture);
    const bool was_off = shown.bytes().size() == off.size() && ui::gen_compare_bytes(shown.bytes(), off, off.size());
    const char* next = was_off ? mainres::sound_on : mainres::sound_off;
    set_picture(sw, P::PicBtn::Picture, next);
    set_picture(sw, P::PicBtn::PictureHover, next);
}

void OpenShopPage(ui::EventArgs&) { ui::cmd_open_url(shell_addresses().shop); }

void ToolbarClicked(ui::EventArgs& a)
{
    // Both browser boxes stay hidden: what opens is the desktop's browser.
    if (a.a == 0) ui::cmd_html_view_navigate(U(kMainForm, "超文本浏览框2_联系作者"), shell_addresses().contact);
    else if (a.a == 1) ui::cmd_html_view_navigate(U(kMainForm, "超文本浏览框1_问题反馈"), shell_addresses().chat_group);
}

void register_navigation(ui::Runtime& rt)
{
    rt.register_handler("SelectCategoryPage", SelectCategoryPage);
    rt.register_handler("SelectModulePage", SelectModulePage);
    rt.register_handler("UpdateHomePicture", [](ui::EventArgs&) { UpdateHomePicture(); });
    rt.register_handler("ToggleSoundSwitch", ToggleSoundSwitch);
    rt.register_handler("OpenShopPage", OpenShopPage);
    rt.register_handler("ToolbarClicked", ToolbarClicked);
}
} // namespace
JSB_HANDLERS(register_navigation)

} // namespace app

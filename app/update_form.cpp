#include "app/update_form.h"

#include "app/notice.h"
#include "app/program.h"
#include "app/registry.h"
#include "ui/cmd.h"

#include <string>
#include <utility>
#include <vector>

// Deployment addresses, set at build time (-DJSB_ONLINE_PROBE_URL="..."
// and so on). Empty ones leave the window layer's probe and the addresses
// of the form definition in place.
#ifndef JSB_FAST_DOWNLOAD_URL
#define JSB_FAST_DOWNLOAD_URL ""
#endif
#ifndef JSB_BACKUP_DOWNLOAD_URL
#define JSB_BACKUP_DOWNLOAD_URL ""
#endif

namespace app {
namespace {

constexpr const char* kForm = "update";
constexpr const char* kAddressLost = "网站抽风，地址丢失了，用手动地址下载吧！";

ui::Ref U(const char* control) { return ui::U(kForm, control); }

// Each opening of the form gets a number; a check that finishes after its
// form was closed (or closed and opened again) finds another number and
// leaves the form alone.
int g_opening = 0;

struct UpdateCheck {
    bool online = false;
    NoticePage page;
};

void ShowUpdateCheck(int opening, const UpdateCheck& check)
{
    if (opening != g_opening || !ui::cmd_is_created(ui::U(kForm))) return;
    if (!check.online) return; // the definition's texts stay
    const NoticePage& page = check.page;
    ui::rt_set_property(U("透明标签2"), ui::prop::TransLabel::Caption, text_globals().version);
    ui::rt_set_property(U("透明标签5"), ui::prop::TransLabel::Caption, page.latest);
    ui::TextArray notes = ui::cmd_split_text(page.notes, "|");
    std::vector<std::string> lines;
    lines.reserve(notes.size());
    for (int i = 1; i <= notes.size(); ++i) lines.push_back(notes[i] + "\r\n");
    if (!lines.empty()) ui::cmd_edit_append(U("编辑框1"), lines);
    // An address from the page is opened later: only a web address counts.
    ui::rt_set_property(U("编辑框1_软件高速下载地址"), ui::prop::EditBox::Content,
                        is_web_address(page.fast_url) ? page.fast_url : std::string(kAddressLost));
}

std::string probe_address()
{
    // Empty: the probe the program set at start (or a test set) stays.
    return settings().online_probe_url;
}

void UpdateFormCreated(ui::EventArgs&)
{
    if (*JSB_FAST_DOWNLOAD_URL)
        ui::rt_set_property(U("编辑框1_软件高速下载地址"), ui::prop::EditBox::Content, JSB_FAST_DOWNLOAD_URL);
    if (*JSB_BACKUP_DOWNLOAD_URL)
        ui::rt_set_property(U("编辑框3"), ui::prop::EditBox::Content, JSB_BACKUP_DOWNLOAD_URL);
    if (std::string probe = probe_address(); !probe.empty()) ui::set_online_probe(probe);

    // The online test and the fetch may take seconds: they run on a thread
    // of their own, and the form shows its definition's texts meanwhile.
    const int opening = ++g_opening;
    ui::cmd_start_thread([opening, address = notice_address()] {
        UpdateCheck check;
        check.online = ui::cmd_is_online();
        if (check.online) check.page = FetchWebNotice(address);
        ui::cmd_post([opening, check = std::move(check)] { ShowUpdateCheck(opening, check); });
    });
}

std::string box_text(const char* box)
{
    return ui::cmd_to_text(ui::rt_get_property(U(box), ui::prop::EditBox::Content));
}

void OpenFastDownload(ui::EventArgs&)
{
    const std::string address = box_text("编辑框1_软件高速下载地址");
    if (address != kAddressLost) ui::cmd_open_url(address);
}

void OpenBackupDownload(ui::EventArgs&) { ui::cmd_open_url(box_text("编辑框3")); }

void ShowUpdateForm(ui::EventArgs&) { OpenUpdateForm(); }

void register_update_form(ui::Runtime& rt)
{
    g_opening = 0;
    rt.register_handler("UpdateFormCreated", UpdateFormCreated);
    rt.register_handler("OpenFastDownload", OpenFastDownload);
    rt.register_handler("OpenBackupDownload", OpenBackupDownload);
    rt.register_handler("ShowUpdateForm", ShowUpdateForm);
}

} // namespace

void OpenUpdateForm()
{
    if (ui::cmd_is_created(ui::U(kForm))) {
        ui::cmd_set_z_order(ui::U(kForm), 1);
        return;
    }
    ui::cmd_load_form(kForm, "main", true);
}

JSB_HANDLERS(register_update_form)

} // namespace app

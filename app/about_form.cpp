// The about form: its credits scroll up through their frame and start again
// below it.
#include "app/registry.h"
#include "ui/cmd.h"

namespace app {
namespace {

namespace P = ui::prop;
constexpr const char* kForm = "about";

void AboutFormCreated(ui::EventArgs&) { ui::rt_set_property(ui::U(kForm, "时钟1"), P::Timer::Interval, 70); }

void ScrollCredits(ui::EventArgs&)
{
    const ui::Ref credits = ui::U(kForm, "编辑框1");
    const int top = ui::cmd_to_int(ui::rt_get_property(credits, P::Top)) - 2;
    ui::rt_set_property(credits, P::Top, top);
    const int height = ui::cmd_to_int(ui::rt_get_property(credits, P::Height));
    // Wholly scrolled out: start again as far below as the form's own top.
    if (top + height < 0) ui::rt_set_property(credits, P::Top, ui::rt_get_property(ui::U(kForm), P::Top));
}

void ShowAboutForm(ui::EventArgs&)
{
    if (ui::cmd_is_created(ui::U(kForm))) {
        ui::cmd_set_z_order(ui::U(kForm), 1);
        return;
    }
    ui::cmd_load_form(kForm, "main", true);
}

void register_about_form(ui::Runtime& rt)
{
    rt.register_handler("AboutFormCreated", AboutFormCreated);
    rt.register_handler("ScrollCredits", ScrollCredits);
    rt.register_handler("ShowAboutForm", ShowAboutForm);
}

} // namespace
JSB_HANDLERS(register_about_form)

} // namespace app

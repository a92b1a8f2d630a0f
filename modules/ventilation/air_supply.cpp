// The compressed-air supply module (form `AirSupply`): the air the pneumatic
// tools in the tunnel need, the leakage of the pipe network and the supply
// Q the compressors must deliver, with reserve and altitude.
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"

#include <iterator>
#include <limits>
#include <string>
#include <utility>

namespace air_supply {

using namespace ui;

namespace {

constexpr const char* kForm = "AirSupply";

Ref box(const char* name) { return U(kForm, name); }

// Inputs read outside their domain (forms/AirSupply.json) are not a number,
// and make the calculation give no results.
double input(const char* name) { return read_number(box(name)); }

// Each result is written rounded and the next step reads it back, so it
// works with the value the user sees. A result that was not finite shows
// "-"; read back it stays not a number instead of counting as 0, so Q never
// shows a figure computed from a lost term.
// Every figure here is air the site needs: it is shown rounded up, so that
// no compressor is planned short of it.
void result(const char* name, double x, int places) { write_rounded_up(box(name), x, places); }
double shown(const char* name) { return read_result(box(name)); }

// Consumption and count written into a row when its equipment is chosen,
// by the index of the item ("TY28风动凿岩机", "混凝土喷射机", "其他").
struct ToolDefaults {
    const char* consumption;
    const char* count;
};
constexpr ToolDefaults kToolDefaults[] = {{"4.86", "10"}, {"12", "4"}, {"0", "0"}};

struct ToolRow {
    const char* combo;
    const char* consumption;
    const char* count;
};
constexpr ToolRow kRows[] = {
    {"组合框_洞内需风设备1", "编辑框_耗风量1", "编辑框_数量1"},
    {"组合框_洞内需风设备2", "编辑框_耗风量2", "编辑框_数量2"},
    {"组合框_洞内需风设备3", "编辑框_耗风量3", "编辑框_数量3"},
};

// A row's air: an empty count or a count of 0 puts no tool of the row in the
// tunnel, and its consumption is not read (an empty or unset consumption
// there is no fault). The count itself is read either way, so changing it
// makes the results stale.
double row_air(const ToolRow& r)
{
    const double count = read_count_or_none(box(r.count));
    return count == 0 ? 0 : input(r.consumption) * count;
}

constexpr const char* kResults[] = {"编辑框_漏耗损失", "编辑框_风动机具所需风量", "编辑框_计算本工程供风能力"};

void calculate()
{
    result("编辑框_漏耗损失", input("编辑框_管路总长") * input("编辑框_每公里漏风量"), 3); // q漏 = ΣL·a
    double tools = 0;                                                                       // Σq = Σ qi·mi
    for (const ToolRow& r : kRows) tools = tools + row_air(r);
    result("编辑框_风动机具所需风量", tools, 1);
    result("编辑框_计算本工程供风能力", // Q = (1 + K备)(Σq·K + q漏)·Km
           (1 + input("编辑框_空压机的备用系数")) *
               (shown("编辑框_风动机具所需风量") * input("编辑框_同时工作系数") + shown("编辑框_漏耗损失")) *
               input("编辑框_海拔高度影响系数"),
           2);
    // A result that could not be worked out leaves nothing to report.
    refuse_unless_shown(kForm, kResults);
}

void attach_tips()
{
    cmd_attach_tip(box("气球提示框1"), box("编辑框_空压机的备用系数"), "一般取0.75~0.9");
    cmd_attach_tip(box("气球提示框1"), box("编辑框_每公里漏风量"), "一般取1.5~2.0m3/min");
}
JSB_MODULE_SETUP(AirSupply, attach_tips)

// One handler for the three rows: the row is the one whose combo box raised
// the event.
void set_tool_defaults(EventArgs& e)
{
    for (const ToolRow& r : kRows) {
        if (!e.control || e.control->name != r.combo) continue;
        const int index = rt_get_property(box(r.combo), prop::ComboBox::CurrentIndex).integer();
        if (index < 0 || index >= int(std::size(kToolDefaults))) return;
        set_control_text(box(r.consumption), kToolDefaults[index].consumption);
        set_control_text(box(r.count), kToolDefaults[index].count);
        return;
    }
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture, no lamp, 500 ms frozen
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void lookup_simultaneity(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/supply/air_simultaneity_factor.png"), 580, 300);
}

void lookup_altitude_factor(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/supply/air_altitude_factor.png"), 580, 300);
}

void register_air_supply(Runtime& rt)
{
    rt.register_handler("AirSupplySetToolDefaults", set_tool_defaults);
    rt.register_handler("AirSupplyCompute", compute);
    rt.register_handler("AirSupplyLookupSimultaneity", lookup_simultaneity);
    rt.register_handler("AirSupplyLookupAltitudeFactor", lookup_altitude_factor);
}

} // namespace

JSB_HANDLERS(register_air_supply)

} // namespace air_supply

#include "modules/equipment/mucking.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"

#include <initializer_list>
#include <limits>

namespace mucking {

using namespace ui;

namespace {

constexpr const char* kSwellFactorTable = "resources/pictures/equipment/mucking_swell_factor.png";
constexpr const char* kIncomplete = "参数不完整，请重新输入！";

// Section inputs and their result Z.
constexpr const char* S = "编辑框1开挖断面面积";
constexpr const char* L = "编辑框1循环进尺";
constexpr const char* Overbreak = "编辑框1超挖系数";
constexpr const char* R = "编辑框1岩体松胀系数";
constexpr const char* Z = "编辑框1单循环爆破石渣量";
// Equipment inputs and their result N.
constexpr const char* Lh = "编辑框2运输距离";
constexpr const char* V1 = "编辑框2装载设备铲斗容量";
constexpr const char* V2 = "编辑框2运输设备厢斗容量";
constexpr const char* Speed = "编辑框2运输设备速度";
constexpr const char* T1 = "编辑框2装载机装一斗用时";
constexpr const char* N = "编辑框2出碴设备数量";
constexpr const char* T = "编辑框3出碴时间";
constexpr const char* Log = "编辑框4日志";

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// The trucks a loader needs before they were rounded up to whole trucks, as
// the calculation that produced the shown results worked it out.
double g_trucks = kNone;

Ref box(const char* name) { return U(kForm, name); }
double number(const char* name) { return read_number(box(name)); }

// Only the empty text is missing and brings up the message: a blank or a
// word passes, and reads as no number (the box's domain), so what is built
// on it shows "-". A numeric box turns a typed 0 into the empty text when
// it loses the focus, so a typed 0 is missing too.
bool complete(std::initializer_list<const char*> inputs)
{
    for (const char* name : inputs)
        if (control_text(box(name)).empty()) return false;
    return true;
}

void attach_tips()
{
    const Ref tips = box("气球提示框1");
    cmd_attach_tip(tips, box(R), "请查表，对应围岩选用可松性系数KP最初值");
    cmd_attach_tip(tips, box(Overbreak), "现场实测数据，在无数据时可取值1.1");
    cmd_attach_tip(tips, box(Speed), "现场实测数据，运输设备隧道内速度≤ 10KM/h");
    cmd_attach_tip(tips, box(T1), "经验数据，无实测值时可取22秒");
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture and busy lamp, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void lookup_swell_factor(EventArgs&) { app::ShowLookupPicture(resource(kSwellFactorTable), 700, 600); }

void register_mucking(Runtime& rt)
{
    rt.register_handler("MuckingCompute", compute);
    rt.register_handler("MuckingLookupSwellFactor", lookup_swell_factor);
}

} // namespace

void calculate()
{
    set_control_text(box(Log), "");

    // An incomplete group gives no result, and no result of an earlier
    // calculation stands beside the new inputs: its box shows "-". The
    // message says so once, however many groups lack an input.
    const bool section_given = complete({Overbreak, L, R, S});
    const bool equipment_given = complete({T1, Lh, Speed, V2, V1});
    if (!section_given || !equipment_given) cmd_message_box(kIncomplete, 0);
    write_rounded(box(Z), section_given ? number(S) * number(R) * number(L) * number(Overbreak) : kNone, 2);

    // Trucks per loader: a round trip at S' km/h over the haul distance
    // (7200 s = out and back in one hour, 1000 m to the km) against the
    // time the loader takes to fill one truck; whole trucks, rounded up (4.9
    // trucks are 5: with 4 the loader would wait).
    g_trucks = equipment_given ? (number(Lh) * 7200 / 1000 * number(V1)) / (number(V2) * number(Speed) * number(T1)) : kNone;
    write_number(box(N), equipment::whole_machines(g_trucks));

    // Always, from the shown Z: a Z shown as "-" stays not-a-number, so T
    // shows "-" too.
    write_rounded(box(T), (read_result(box(Z)) * number(T1)) / (number(V1) * 3600), 2);

    if (!section_given || !equipment_given) calculation_refused(kIncomplete);
    ui::refuse_unless_shown(kForm, {Z, N, T});
    cmd_edit_append(box(Log), {"\r\n    计算完成！"});
}

double trucks_needed() { return g_trucks; }

JSB_MODULE_SETUP(Mucking, attach_tips)
JSB_HANDLERS(register_mucking)

} // namespace mucking

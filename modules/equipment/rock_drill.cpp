#include "modules/equipment/rock_drill.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>
#include <utility>

namespace rock_drill {

using namespace ui;

namespace {

Ref box(const char* name) { return U(kForm, name); }

double input(const char* name) { return read_number(box(name)); }

// Each result is written rounded to 2 decimals, and later steps read it back
// from its box, so they work with the value the user sees. A result that was
// not finite shows "-"; read back it stays not a number rather than turning
// into 0, so nothing computed from it passes for a finite figure.
void result(const char* name, double x) { write_rounded(box(name), x, 2); }
double shown(const char* name) { return read_result(box(name)); }

constexpr const char* N = "编辑框2_爆破凿岩机需用台数";
// The need of rock drills before it was rounded up to whole machines, as the
// calculation that produced the shown count worked it out.
double g_need = std::numeric_limits<double>::quiet_NaN();
// The air the drills use and the compressor output they need, as worked out
// before they were rounded up.
double g_air = std::numeric_limits<double>::quiet_NaN();
double g_output = std::numeric_limits<double>::quiet_NaN();

// An amount of air needed, shown rounded up to two decimals, so that no
// compressor is planned short of it (4.2120 m³/min is 4.22, not 4.21). A
// figure within a relative 1e-9 above a hundredth is the binary residue of
// that hundredth (11 × 0.6 × 0.7 is 4.62), not more air.
double air_needed(const char* name, double worked)
{
    write_number(box(name), round_places_up(worked, 2));
    return worked;
}

} // namespace

double drills_needed() { return g_need; }
double air_used() { return g_air; }
double compressor_output_needed() { return g_output; }

void calculate()
{
    const double h = input("编辑框1_爆破梯段垂直高度");
    result("编辑框1_炮孔深度", input("编辑框1_炮孔深度系数") * h);   // L = L′·h
    result("编辑框1_抵抗线长度", input("编辑框1_抵抗线长度系数") * h); // W = W′·h
    result("编辑框1_炮孔间距", input("编辑框1_炮孔间距系数") * shown("编辑框1_抵抗线长度")); // a = a′·W
    result("编辑框1_每钻孔的爆破量",
           shown("编辑框1_炮孔间距") * input("编辑框1_爆破梯段垂直高度") * shown("编辑框1_抵抗线长度")); // Vh = a·h·W
    result("编辑框1_每米钻孔的实际爆破量", shown("编辑框1_每钻孔的爆破量") / shown("编辑框1_炮孔深度")); // Vb = Vh / L
    // N rounded up to whole machines: 3.99 drills are 4.
    g_need = (input("编辑框1_每班爆破量") * input("编辑框1_不均衡系数")) /
             (shown("编辑框1_每米钻孔的实际爆破量") * input("编辑框1_钻机台班生产率"));
    write_number(box(N), equipment::whole_machines(g_need));
    // The number of tools m is an input of its own, not N.
    g_air = air_needed("编辑框1_爆破凿岩机的压缩空气需要量",
                       input("编辑框1_凿岩机数量") * input("编辑框1_同时开动系数") * input("编辑框1_风动工具的空气消耗量")); // Q = m·K′·q
    g_output = air_needed("编辑框2_空气压缩机生产率需要量计算",
                          input("编辑框1_保证率系数") * shown("编辑框1_爆破凿岩机的压缩空气需要量")); // P′·Q
    ui::refuse_unless_shown(kForm, {"编辑框1_炮孔深度", "编辑框1_抵抗线长度", "编辑框1_炮孔间距", "编辑框1_每钻孔的爆破量",
                                           "编辑框1_每米钻孔的实际爆破量", N, "编辑框1_爆破凿岩机的压缩空气需要量",
                                           "编辑框2_空气压缩机生产率需要量计算"});
}

namespace {

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_每米钻孔的实际爆破量", "每钻孔的爆破量/炮孔深度"},
        {"编辑框1_炮孔深度系数", "炮孔深度,坚硬岩石为(1.1～1.15)h，较软岩石为(0.85～0.95)h"},
        {"编辑框1_炮孔间距系数", "炮孔间距,当火花起爆时(1.4～2.0),当电气起爆时0.8～2.0"},
        {"编辑框1_抵抗线长度系数", "一般取（0.6～0.8)"},
        {"编辑框1_不均衡系数", "取1.2～1.3"},
        {"编辑框1_保证率系数", "取1.3～1.5"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}
JSB_MODULE_SETUP(RockDrill, attach_tips)

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture, no lamp, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void lookup_air_consumption(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/equipment/rock_drill_air_consumption.png"), 700, 400);
}

void lookup_simultaneity(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/equipment/rock_drill_simultaneity.png"), 700, 300);
}

void register_rock_drill(Runtime& rt)
{
    rt.register_handler("RockDrillCompute", compute);
    rt.register_handler("RockDrillLookupAirConsumption", lookup_air_consumption);
    rt.register_handler("RockDrillLookupSimultaneity", lookup_simultaneity);
}

} // namespace

JSB_HANDLERS(register_rock_drill)

} // namespace rock_drill

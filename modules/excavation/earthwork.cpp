#include "modules/excavation/earthwork.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"

namespace earthwork {

using namespace ui;

namespace {

// Degrees to radians with the ten-decimal pi of the handbook formulas,
// multiplied before dividing: the last digits of the results depend on it.
constexpr double kPi = 3.1415926535;
double radians(double degrees) { return degrees * kPi / 180; }

double input(const char* form, const char* box) { return read_number(U(form, box)); }

} // namespace

// hmax = 2c·sinθ·cosφ / (γ·sin²((θ − φ)/2))
void calculate_slope()
{
    const char* f = kSlopeForm;
    const double S = cmd_sin(radians(input(f, "编辑框1_边坡的最大坡度角")));
    const double C = cmd_cos(radians(input(f, "编辑框1_土的摩擦角")));
    const double N = (input(f, "编辑框1_土的粘聚力") * S * C) * 2;
    const double theta = input(f, "编辑框1_边坡的最大坡度角");
    const double phi = input(f, "编辑框1_土的摩擦角");
    const double s = cmd_sin(radians((theta - phi) / 2));
    const double D = input(f, "编辑框1_土的重度") * cmd_power(s, 2);
    write_rounded(U(f, "编辑框1_边坡允许最大高度"), N / D, 2);
}

// hmax = 4c / (K·γ·tan(45° + φ/2)) − q/γ
void calculate_vertical_cut()
{
    const char* f = kVerticalForm;
    const double A = input(f, "编辑框1_土的粘聚力") * 4;
    const double t = cmd_tan(radians(input(f, "编辑框1_土的摩擦角") / 2 + 45));
    const double B = input(f, "编辑框1_安全系数") * input(f, "编辑框1_土的重度") * t;
    const double X = A / B;
    const double Y = input(f, "编辑框1_均布荷载") / input(f, "编辑框1_土的重度");
    write_rounded(U(f, "编辑框1_基坑开挖高度"), X - Y, 2);
}

namespace {

void compute(const char* form, void (*calculation)())
{
    // The slope module keeps its button picture while it works; both write
    // the normal picture back at the end.
    const app::ComputeStyle style = app::compute_style(form);
    app::compute_begin(form, style);
    calculation();
    app::compute_end(form, style);
}

void show_cohesion(EventArgs&) { app::ShowLookupPicture(resource(kCohesionTable), kTableWidth, kTableHeight); }
void show_friction_angle(EventArgs&) { app::ShowLookupPicture(resource(kFrictionAngleTable), kTableWidth, kTableHeight); }

void register_earthwork(Runtime& rt)
{
    // The created handlers are the shell's shared one; neither module
    // attaches a balloon tip.
    rt.register_handler("EarthSlopeCompute", [](EventArgs&) { compute(kSlopeForm, calculate_slope); });
    rt.register_handler("VerticalCutCompute", [](EventArgs&) { compute(kVerticalForm, calculate_vertical_cut); });
    rt.register_handler("EarthSlopeLookupCohesion", show_cohesion);
    rt.register_handler("VerticalCutLookupCohesion", show_cohesion);
    rt.register_handler("EarthSlopeLookupFrictionAngle", show_friction_angle);
    rt.register_handler("VerticalCutLookupFrictionAngle", show_friction_angle);
}

} // namespace

JSB_HANDLERS(register_earthwork)

} // namespace earthwork

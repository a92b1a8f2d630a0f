#include "modules/excavation/earthwork.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <initializer_list>

namespace earthwork {

using namespace ui;

namespace {

// Degrees to radians with the ten-decimal pi of the handbook formulas,
// multiplied before dividing: the last digits of the results depend on it.
constexpr double kPi = 3.1415926535;
double radians(double degrees) { return degrees * kPi / 180; }

// A number as its box's domain (form definition) allows it; not-a-number
// otherwise, which also leaves the calculation without results.
double input(const char* form, const char* box) { return read_number(U(form, box)); }

bool all_numbers(std::initializer_list<double> xs)
{
    for (double x : xs)
        if (std::isnan(x)) return false;
    return true;
}

Outcome g_slope, g_vertical;

// An allowed height as it is shown: rounded down to the centimetre, so that
// the figure stated is never above what the formula allows (1.5869 m is
// 1.58 m). A figure within a relative 1e-9 above a centimetre is the binary
// residue of that centimetre, not a height above it.
double allowed_height(double worked) { return round_places_down(worked, 2); }

// Inputs inside their domains can still take the formula beyond the number
// range (a huge cohesion, a unit weight next to nothing): that is no height,
// nor a wall that cannot stand, and nothing to report.
bool beyond_range(Outcome& o)
{
    if (std::isfinite(o.height)) return false;
    o = Outcome{};
    calculation_refused();
    return true;
}

// The result box: the height, or "-" when there is none.
void show(const char* form, const char* box, const Outcome& o)
{
    if (o.kind == Outcome::Height) write_number(U(form, box), o.height);
    else set_control_text(U(form, box), "-");
}

} // namespace

const Outcome& slope_outcome() { return g_slope; }
const Outcome& vertical_cut_outcome() { return g_vertical; }

// hmax = 2c·sinθ·cosφ / (γ·sin²((θ − φ)/2)), the height at which the wedge
// sliding on the plane through the toe at (θ + φ)/2 is in limit equilibrium.
void calculate_slope()
{
    const char* f = kSlopeForm;
    constexpr const char* result = "编辑框1_边坡允许最大高度";
    Outcome& o = g_slope;
    o = Outcome{};
    const double theta = input(f, "编辑框1_边坡的最大坡度角");
    const double phi = input(f, "编辑框1_土的摩擦角");
    const double c = input(f, "编辑框1_土的粘聚力");
    const double gamma = input(f, "编辑框1_土的重度");
    // (a box outside its domain has refused the calculation already)
    if (!all_numbers({theta, phi, c, gamma})) return show(f, result, o);
    // A slope steeper than vertical, or a friction angle no soil has, is no
    // input for the formula either.
    if (tol_gt(theta, 90) || tol_ge(phi, 90)) {
        calculation_refused();
        return show(f, result, o);
    }
    o.gamma = gamma, o.phi = phi, o.cohesion = c, o.theta = theta;
    // A slope no steeper than the friction angle has no sliding plane through
    // its toe: the formula sets no height (it would give a finite and
    // meaningless one below φ).
    if (tol_le(theta, phi)) {
        o.kind = Outcome::NoLimit;
        return show(f, result, o);
    }
    const double S = cmd_sin(radians(theta));
    const double C = cmd_cos(radians(phi));
    const double N = (c * S * C) * 2;
    const double s = cmd_sin(radians((theta - phi) / 2));
    const double D = gamma * cmd_power(s, 2);
    o.worked = N / D;
    o.height = allowed_height(o.worked);
    if (beyond_range(o)) return show(f, result, o);
    o.kind = o.height > 0 ? Outcome::Height : Outcome::CannotStand;
    show(f, result, o);
}

// hmax = 2c / (K·γ·tan(45° − φ/2)) − q/γ: the depth down to which the
// active pressure (q + γz)·Ka − 2c·√Ka on the wall is not positive, the
// safety factor dividing the cohesion's share. The depth where the resultant
// thrust vanishes (4c instead of 2c) counts on the soil carrying tension,
// which a cracked clay cut does not.
void calculate_vertical_cut()
{
    const char* f = kVerticalForm;
    constexpr const char* result = "编辑框1_基坑开挖高度";
    Outcome& o = g_vertical;
    o = Outcome{};
    const double c = input(f, "编辑框1_土的粘聚力");
    const double K = input(f, "编辑框1_安全系数");
    const double gamma = input(f, "编辑框1_土的重度");
    const double phi = input(f, "编辑框1_土的摩擦角");
    const double q = input(f, "编辑框1_均布荷载");
    if (!all_numbers({c, K, gamma, phi, q})) return show(f, result, o);
    // From 90° on tan(45° − φ/2) is no longer positive: no soil has such an angle.
    if (tol_ge(phi, 90)) {
        calculation_refused();
        return show(f, result, o);
    }
    o.gamma = gamma, o.phi = phi, o.cohesion = c, o.K = K, o.load = q;
    const double A = c * 2;
    const double t = cmd_tan(radians(45 - phi / 2));
    const double X = A / (K * gamma * t);
    const double Y = q / gamma;
    o.worked = X - Y;
    o.height = allowed_height(o.worked);
    if (beyond_range(o)) return show(f, result, o);
    // No height above zero: the wall does not stand unsupported at all.
    o.kind = o.height > 0 ? Outcome::Height : Outcome::CannotStand;
    show(f, result, o);
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

// The excavator schedule and dump-truck module (form `ExcavatorTrucks`): the
// days an earthwork takes with a known number of excavators, and the dump
// trucks that keep the excavators loading without pause; and the report.
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>
#include <utility>

namespace excavator_trucks {

using namespace ui;

namespace {

constexpr const char* kForm = "ExcavatorTrucks";

Ref box(const char* name) { return U(kForm, name); }
double read_number(const char* name) { return ui::read_number(box(name)); }
double read_result(const char* name) { return ui::read_result(box(name)); }
void write_rounded(const char* name, double x, int places) { ui::write_rounded(box(name), x, places); }

constexpr const char* kLoads = "编辑框2_自卸汽车每车装土次数";
constexpr const char* kPerExcavator = "编辑框2_每台挖机配车";
constexpr const char* kTotal = "编辑框2_自卸汽车总计数量";

// What the calculation that produced the shown results worked out before
// rounding (the report states each with its rounding step).
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
double g_loads = kNone;        // bucket loads per truck
double g_per_excavator = kNone; // trucks per excavator
double g_total = kNone;        // trucks in all

// Bucket loads of a truck: the whole loads it carries, rounded down so that
// the truck is not overloaded (a shortfall of 1e-9 is the residue of the
// division, not a load less). Less than one load is no plan: one bucket is
// more than the truck carries.
double whole_loads(double loads)
{
    const double n = std::floor(loads + 1e-9);
    return std::isfinite(n) && n >= 1 ? n : kNone;
}

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_时间利用系数", "时间利用系数，一般为0.8～0.85或查机械定额"},
        {"编辑框2_土的密度", "土的密度(一般取1.7t/m3)"},
        {"编辑框2_重车与空车的平均速度", "重车与空车的平均速度(km/h）,一般取20～30km/h"},
        {"编辑框2_卸车时间", "卸车时间(一般为1min)"},
        {"编辑框2_操纵时间", "操纵时间(包括停放待装、等车、让车等)，取2～3min"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

// Each step after the schedule reads the results before it back from their
// boxes, so it works with the rounded figures shown.
void calculate()
{
    // T = Q / (N × Pd × m × Kt), days.
    write_rounded("编辑框1_工期T",
                  read_number("编辑框1_土方工程量") /
                      (read_number("编辑框1_挖掘机数量") * read_number("编辑框1_单斗挖掘机台班生产率") *
                       read_number("编辑框1_每天作业班数") * read_number("编辑框1_时间利用系数")),
                  1);
    // n = Q1 × Ks / (q × γ × Kc): bucket loads that fill one truck, in whole
    // loads the truck carries.
    g_loads = read_number("编辑框2_自卸汽车载重量") * read_number("编辑框2_土的最初可松性系数") /
              (read_number("编辑框2_挖机斗容量") * read_number("编辑框2_土的密度") * read_number("编辑框2_土斗充盈系数"));
    write_number(box(kLoads), whole_loads(g_loads));
    // t1 = n × t4 / 60: loading one truck, minutes.
    write_rounded("编辑框2_自卸汽车每次装车时间",
                  read_result(kLoads) * read_number("编辑框2_挖机每次作业循环的延续时间") / 60, 2);
    // t = t1 + 2 × l / (vc × 1000 / 60) + t2 + t3: the truck's round trip,
    // minutes, vc turned from km/h into m/min.
    write_rounded("编辑框2_自卸汽车每一个工作循环延续的时间",
                  read_result("编辑框2_自卸汽车每次装车时间") +
                      2 * read_number("编辑框2_运距") / (read_number("编辑框2_重车与空车的平均速度") * 1000 / 60) +
                      read_number("编辑框2_卸车时间") + read_number("编辑框2_操纵时间"),
                  2);
    // N1 = t / t1: trucks per excavator, rounded up to whole trucks (3.4
    // trucks are 4: with 3 the excavator would wait).
    g_per_excavator =
        read_result("编辑框2_自卸汽车每一个工作循环延续的时间") / read_result("编辑框2_自卸汽车每次装车时间");
    write_number(box(kPerExcavator), equipment::whole_machines(g_per_excavator));
    // Trucks in all, for the excavators of the truck group, rounded up too
    // when that number of excavators is not whole.
    g_total = read_number("编辑框2_挖掘机数量") * read_result(kPerExcavator);
    write_number(box(kTotal), equipment::whole_machines(g_total));

    ui::refuse_unless_shown(kForm, {"编辑框1_工期T", kLoads, "编辑框2_自卸汽车每次装车时间",
                                           "编辑框2_自卸汽车每一个工作循环延续的时间", kPerExcavator, kTotal});
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture; the lamp is left alone
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

report::ExportRequest export_request()
{
    using report::bind;
    using report::Stage;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    report::ExportRequest r;
    r.form = kForm;
    r.templates = {
        {report::Condition::always(), "templates/excavator_trucks.docx", "挖掘机工期及配套自卸汽车数量计算.doc"}};
    r.bindings = {
        bind("编辑框1_土方工程量", 5, countdown(8)),
        bind("编辑框1_单斗挖掘机台班生产率", 5),
        equipment::bind_count(kForm, "编辑框1_每天作业班数", 5),
        bind("编辑框1_时间利用系数", 5, countdown(7)),
        equipment::bind_count(kForm, "编辑框1_挖掘机数量", 5),
        bind("编辑框1_工期T", 5),
        bind("编辑框2_挖机每次作业循环的延续时间", 5, countdown(6)),
        bind("编辑框2_挖机斗容量", 5),
        bind("编辑框2_土斗充盈系数", 5),
        bind("编辑框2_土的最初可松性系数", 5, countdown(5)),
        bind("编辑框2_土的密度", 5),
        bind("编辑框2_运距", 5),
        bind("编辑框2_自卸汽车载重量", 5, countdown(4)),
        equipment::bind_count(kForm, "编辑框2_挖掘机数量", 5),
        bind("编辑框2_重车与空车的平均速度", 5),
        bind("编辑框2_卸车时间", 5, countdown(3)),
        bind("编辑框2_操纵时间", 5),
        bind("编辑框2_自卸汽车每一个工作循环延续的时间", 5),
        bind("编辑框2_自卸汽车每次装车时间", 5, countdown(2)),
        bind(kLoads, 5),
        bind(kPerExcavator, 5),
        bind(kTotal, 5, countdown(1)),
        report::bind_computed("计算值_n", [] { return equipment::stated_need(g_loads, whole_loads); }, 5),
        report::bind_computed("计算值_N1", [] { return equipment::stated_need(g_per_excavator, equipment::whole_machines); }, 5),
        report::bind_computed("计算值_总计", [] { return number_to_text(g_total); }, 5),
    };
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {
                              {"计算值_工期T式", "编辑框1_工期T"},
                              {"计算值_自卸汽车每次装车时间式", "编辑框2_自卸汽车每次装车时间"},
                              {"计算值_自卸汽车每一个工作循环延续的时间式", "编辑框2_自卸汽车每一个工作循环延续的时间"},
                          });
    r.bindings.insert(r.bindings.begin(),
                      {
                          report::bind_sign("计算值_n式", [] { return g_loads; }, [] { return equipment::stated_need(g_loads, whole_loads); }),
                          report::bind_sign("计算值_N1式", [] { return g_per_excavator; },
                                            [] { return equipment::stated_need(g_per_excavator, equipment::whole_machines); }),
                          report::bind_sign("计算值_总计式", [] { return g_total; }, [] { return number_to_text(g_total); }),
                      });
    return r;
}

void export_report(EventArgs&) { report::RunReportExport(export_request()); }

void register_excavator_trucks(Runtime& rt)
{
    rt.register_handler("ExcavatorTrucksCompute", compute);
    rt.register_handler("ExcavatorTrucksExportReport", export_report);
}

} // namespace

JSB_HANDLERS(register_excavator_trucks)
// The shell's created handler embeds the form and enables its export button;
// the tips follow.
JSB_MODULE_SETUP(ExcavatorTrucks, attach_tips)

} // namespace excavator_trucks

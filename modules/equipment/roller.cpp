// The roller module (form `Roller`): shift output of a compaction roller from
// its passes, rolled and overlapping widths, travel speed and time factor,
// the table of layer thicknesses and passes, and the calculation report.
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"
#include "app/shell.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"

#include <limits>
#include <utility>

namespace roller {

using namespace ui;

namespace {

constexpr const char* kForm = "Roller";

Ref box(const char* name) { return U(kForm, name); }
double read_number(const char* name) { return ui::read_number(box(name)); }

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_同一地点碾压次", "参见右表填写"},
        {"编辑框1_重复压实部分的宽度", "重复压实部分的宽度(m)，一般取0.20～0.25m"},
        {"编辑框1_压路机行驶速度", "压路机行驶速度(m/h),一般小于200m/h"},
        {"编辑框1_时间利用系数Kb", "时间利用系数,一般取0.85～0.95"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}

// Pd = (1 / n) × (B − b) × γc × Kb × 8, 8 being the hours of a shift. The
// output is shown unrounded, to 13 significant digits. An overlap as wide as
// the rolled strip or wider leaves no new width to roll: no output.
void calculate()
{
    const double n = read_number("编辑框1_同一地点碾压次");
    const double B = read_number("编辑框1_每次被碾压的宽度");
    const double b = read_number("编辑框1_重复压实部分的宽度");
    const double speed = read_number("编辑框1_压路机行驶速度");
    const double Kb = read_number("编辑框1_时间利用系数Kb");
    const double Pd = (1 / n) * (B - b) * speed * Kb * 8;
    write_number(box("编辑框2_压路机台班生产率"), Pd > 0 ? Pd : std::numeric_limits<double>::quiet_NaN());
    ui::refuse_unless_shown(kForm, {"编辑框2_压路机台班生产率"});
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture; the lamp is left alone
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void lookup_passes(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/equipment/roller_compaction_passes.png"), 700, 400);
}

report::ExportRequest export_request()
{
    using report::bind;
    using report::Stage;
    using report::StatusMark;
    report::ExportRequest r;
    r.form = kForm;
    r.templates = {{report::Condition::always(), "templates/roller.docx", "压路机台班生产率.doc"}};
    r.bindings = {
        equipment::bind_count(kForm, "编辑框1_同一地点碾压次", 5, StatusMark::countdown(8)),
        bind("编辑框1_每次被碾压的宽度", 5, StatusMark::countdown(7)),
        bind("编辑框1_重复压实部分的宽度", 5, StatusMark::countdown(6)),
        bind("编辑框1_压路机行驶速度", 5, StatusMark::countdown(5)),
        bind("编辑框1_时间利用系数Kb", 5, StatusMark::countdown(4)),
        bind("编辑框2_压路机台班生产率", 5, StatusMark::countdown(3)),
    };
    r.marks = {
        {Stage::Busy, StatusMark::countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, StatusMark::countdown(9)},
        {Stage::BindingsDone, StatusMark::countdown(2)},
        {Stage::Saved, StatusMark::countdown(1)},
        {Stage::WordClosed, StatusMark::countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {{"计算值_压路机台班生产率式", "编辑框2_压路机台班生产率"}});
    return r;
}

void export_report(EventArgs&) { report::RunReportExport(export_request()); }

void register_roller(Runtime& rt)
{
    rt.register_handler("RollerCompute", compute);
    rt.register_handler("RollerLookupPasses", lookup_passes);
    rt.register_handler("RollerExportReport", export_report);
}

} // namespace

JSB_HANDLERS(register_roller)
// The shell's created handler embeds the form and enables its export button;
// the tips follow.
JSB_MODULE_SETUP(Roller, attach_tips)

} // namespace roller

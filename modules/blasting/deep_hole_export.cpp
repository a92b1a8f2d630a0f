// The deep-hole report: one template, the countdown stepping between groups
// of placeholders.
#include "modules/blasting/deep_hole.h"

#include "app/registry.h"
#include "app/report/signs.h"
#include "ui/cmd.h"

namespace deep_hole {

using report::bind;
using report::bind_item;
using report::Stage;
using report::StatusMark;

report::ExportRequest export_request()
{
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    report::ExportRequest r;
    r.form = kForm;
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/deep_hole.docx", "露天台阶深孔爆破计算书.doc"}};
    // A factor's name begins with the name of the result built from it, so
    // the factor is replaced first.
    r.bindings = {
        bind_item("组合框5", 5),
        bind_item("组合框3", 5),
        bind_item("组合框4", 5),
        bind_item("组合框7", 5, countdown(7)),
        bind("编辑框1_炮孔孔径", 5),
        bind("编辑框1_阶梯高度", 10),
        bind("编辑框1_钻根长度系数h", 5, countdown(6)),
        bind("编辑框1_炮孔间距系数", 8),
        bind("编辑框1_炮孔排距系数", 5),
        bind("编辑框2_换算系数e", 8, countdown(5)),
        bind("编辑框2_炸药单位消耗量", 8),
        bind("编辑框1_装药密度", 5),
        bind("编辑框1_炮孔密度系数", 5, countdown(4)),
        bind("编辑框1_装药长度系数", 5),
        bind("编辑框1_钻根长度", 5),
        bind("编辑框1_预计炮孔深度", 5, countdown(3)),
        bind("编辑框1_最小抵抗线长度", 10),
        bind("编辑框1_炮孔间距", 5),
        bind("编辑框1_炮孔排距", 5, countdown(2)),
        bind("编辑框1_炮孔堵塞长度", 5),
        bind("编辑框1_抛掷爆破每一炮孔药量", 5),
        bind("编辑框1_松动爆破每一炮孔药量", 5, countdown(1)),
    };
    r.bindings.push_back(report::bind_computed("计算值_超深系数", [] { return subdrill_factor_used(); }, 5));
    // The sign before each result: "=", or "≈" where rounding changed it.
    report::bind_signs(r, {
                             {"计算值_h式", "编辑框1_钻根长度"},
                             {"计算值_L式", "编辑框1_预计炮孔深度"},
                             {"计算值_W式", "编辑框1_最小抵抗线长度"},
                             {"计算值_a式", "编辑框1_炮孔间距"},
                             {"计算值_b式", "编辑框1_炮孔排距"},
                             {"计算值_Q式", "编辑框1_抛掷爆破每一炮孔药量"},
                             {"计算值_Q松式", "编辑框1_松动爆破每一炮孔药量"},
                         });
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::DocumentOpened, countdown(8)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算书导出成功！";
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_deep_hole_export(ui::Runtime& rt) { rt.register_handler("DeepHoleExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_deep_hole_export)

} // namespace deep_hole

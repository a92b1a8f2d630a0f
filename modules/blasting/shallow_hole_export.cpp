// The shallow-hole report: the loosening or the throw template by the
// blasting type, with the countdown stepping between groups of placeholders.
#include "modules/blasting/shallow_hole.h"

#include "app/registry.h"
#include "app/report/signs.h"
#include "ui/cmd.h"

namespace shallow_hole {

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
    r.templates = {
        {report::Condition::item_text_is("组合框5", "松动爆破"), "templates/shallow_hole_loosening.docx",
         "露天台阶浅孔爆破计算书松动爆破.doc"},
        {report::Condition::otherwise(), "templates/shallow_hole_throw.docx", "露天台阶浅孔爆破计算书抛掷爆破.doc"},
    };
    // A factor's name begins with the name of the result built from it, so
    // the factor is replaced first.
    r.bindings = {
        bind_item("组合框1", 5),
        bind_item("组合框5", 5),
        bind_item("组合框3", 5),
        bind_item("组合框4", 5, countdown(7)),
        bind_item("组合框7", 5),
        bind_item("组合框6", 5),
        bind("编辑框2_阶梯高度", 5, countdown(6)),
        bind("编辑框1_钻孔深度系数", 5),
        bind("编辑框2_最小抵抗线系数", 5),
        bind("编辑框2_炮眼间距系数", 5, countdown(5)),
        bind("编辑框2_炮眼排距系数", 5),
        bind("编辑框2_换算系数e", 5),
        bind("编辑框2_自由面系数", 5, countdown(4)),
        bind("编辑框2_炸药单位消耗量", 5),
        bind("编辑框2_炮孔堵塞系数d", 5),
        bind("编辑框2_钻孔深度h", 5, countdown(3)),
        bind("编辑框2_最小抵抗线", 5),
        bind("编辑框2_炮眼间距", 5, countdown(2)),
        bind("编辑框2_炮眼排距b", 5),
        bind("编辑框2_每个炮孔爆破用药量", 5, countdown(1)),
    };
    // The sign before each result: "=", or "≈" where rounding changed it.
    report::bind_signs(r, {
                             {"计算值_h式", "编辑框2_钻孔深度h"},
                             {"计算值_W式", "编辑框2_最小抵抗线"},
                             {"计算值_a式", "编辑框2_炮眼间距"},
                             {"计算值_b式", "编辑框2_炮眼排距b"},
                             {"计算值_Q式", "编辑框2_每个炮孔爆破用药量"},
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

void register_shallow_hole_export(ui::Runtime& rt) { rt.register_handler("ShallowHoleExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_shallow_hole_export)

} // namespace shallow_hole

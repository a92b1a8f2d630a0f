// The blast-effect report: one of three templates, chosen by the mode's
// radio button; the same seven boxes go into whichever was chosen.
#include "modules/blasting/blast_effect.h"

#include "app/registry.h"
#include "ui/cmd.h"

namespace blast_effect {

using report::bind;
using report::Condition;
using report::Stage;
using report::StatusMark;

namespace {
// The solved value's text, or "" when the velocity it was worked from
// exceeds the limit.
std::string unless_exceeded(const char* solved)
{
    return worked().comparison == ">" ? std::string() : ui::control_text(ui::U(kForm, solved));
}
} // namespace

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.status_label = "标签2";
    r.messages_owned = true;
    r.templates = {
        {Condition::radio_checked("单选框1_振动"), "templates/blast_effect_velocity.docx", "爆破影响振速计算.doc"},
        {Condition::radio_checked("单选框1_距离"), "templates/blast_effect_distance.docx", "爆破影响距离计算.doc"},
        {Condition::radio_checked("单选框1_炸药总量"), "templates/blast_effect_charge.docx", "爆破影响炸药量计算.doc"},
    };
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    // A placeholder the chosen template does not hold replaces nothing.
    r.bindings = {
        bind("编辑框5_炸药总量", 20, countdown(8)),   bind("编辑框5_系数K", 20, countdown(7)),
        bind("编辑框5_衰减系数", 20, countdown(6)),   bind("编辑框5_距离R", 20, countdown(5)),
        bind("编辑框5_振动速度", 20, countdown(4)),   bind("编辑框5_规范临界值", 20, countdown(3)),
        bind("编辑框13_评价结果", 20, countdown(2)),
        // What the calculation worked out beyond the boxes.
        report::bind_item("组合框5", 20),
        report::bind_computed("计算值_等号", [] { return worked().sign; }),
        report::bind_computed("计算值_允许振速", [] { return worked().limit; }, 20),
        report::bind_computed("计算值_比较", [] { return worked().comparison; }),
        // the solved velocity as judged: its box's figure, or the worked one
        // where the rounded figure would read the other way
        report::bind_computed("计算值_评价振速",
                              [] {
                                  return worked().judged.empty() ? "= " + ui::control_text(ui::U(kForm, "编辑框5_振动速度"))
                                                                 : worked().judged;
                              }),
        report::bind_computed("计算值_未评价",
                              [] {
                                  return worked().limit.empty() ? std::string("所选建筑物类别没有规定的安全允许振速，未作评价。")
                                                                : std::string();
                              }),
        // A charge or distance worked from a velocity above the limit is no
        // allowed one: the conclusion says so instead of stating it.
        report::bind_computed("计算值_允许药量", [] { return unless_exceeded("编辑框5_炸药总量"); }),
        report::bind_computed("计算值_最小距离", [] { return unless_exceeded("编辑框5_距离R"); }),
        report::bind_computed("计算值_超限", [] { return worked().comparison == ">" ? worked().limit : std::string(); }),
    };
    r.marks = {
        {Stage::FolderMade, countdown(10)},
        {Stage::WordStarted, StatusMark::status("方案导出准备中……")},
        {Stage::DocumentsAttached, countdown(9)},
        {Stage::BindingsDone, countdown(1)},
        {Stage::WordClosed, countdown(0)},
    };
    // The completion text stays while the success message is up; the idle
    // status returns once the report folder has been opened.
    r.closing_stage = Stage::Explored;
    r.success_message = "自动生成计算书成功！";
    r.progress_prefix = "已导出 ";
    r.progress_suffix = "%  ";
    r.completion_text = "下载完成  ";
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_blast_effect_export(ui::Runtime& rt) { rt.register_handler("BlastEffectExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_blast_effect_export)

} // namespace blast_effect

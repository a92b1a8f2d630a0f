// The mucking report. Its sequence differs from the common one: the log box
// is emptied before the question, the countdown starts only once the report
// folder exists, two placeholders follow each countdown step, and the
// closing status waits until the success message has been closed.
#include "app/report/signs.h"
#include "modules/equipment/mucking.h"

#include "app/registry.h"
#include "modules/equipment/equipment.h"
#include "ui/cmd.h"

namespace mucking {

using report::bind;
using report::Stage;
using report::StatusMark;

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.log_box = "编辑框4日志";
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/mucking.docx", "隧道除渣设备配置计算方案new.doc"}};

    auto countdown = [](int n) { return StatusMark::countdown(n); };
    r.bindings = {
        bind("编辑框1开挖断面面积", 10, countdown(8)), bind("编辑框1循环进尺", 10),
        bind("编辑框1超挖系数", 10, countdown(7)), bind("编辑框1岩体松胀系数", 10),
        bind("编辑框1单循环爆破石渣量", 10, countdown(6)), bind("编辑框2运输距离", 10),
        bind("编辑框2装载设备铲斗容量", 10, countdown(5)), bind("编辑框2运输设备厢斗容量", 10),
        bind("编辑框2运输设备速度", 10, countdown(4)), bind("编辑框2装载机装一斗用时", 10),
        bind("编辑框2出碴设备数量", 10, countdown(3)), bind("编辑框3出碴时间", 10),
        report::bind_computed("计算值_N", [] { return equipment::stated_need(trucks_needed(), equipment::whole_machines); }, 10),
    };
    r.marks = {
        {Stage::Pressed, StatusMark::clear_log()},
        {Stage::Busy, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::FolderMade, countdown(10)},
        {Stage::DocumentOpened, countdown(9)},
        {Stage::DocumentOpened, StatusMark::log("\r\n    数据录入，开始生成计算书！")},
        {Stage::BindingsDone, countdown(2)},
        {Stage::BindingsDone, countdown(1)},
        {Stage::BindingsDone, countdown(0)},
        {Stage::BindingsDone, StatusMark::status("  数据整理写入，方案即将导出！")},
        {Stage::Restored, StatusMark::log("\r\n    计算书导出完成！\r\n")},
    };
    r.closing_stage = Stage::Announced;
    r.success_message = "隧道除渣设备配置计算方案导出成功！";
    r.progress_prefix = "已导出 ";
    report::bind_signs(r, {{"计算值_单循环爆破石渣量式", "编辑框1单循环爆破石渣量"}, {"计算值_出碴时间式", "编辑框3出碴时间"}});
    r.bindings.insert(r.bindings.begin(), report::bind_sign("计算值_N式", [] { return trucks_needed(); }, [] {
        return equipment::stated_need(trucks_needed(), equipment::whole_machines);
    }));
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_mucking_export(ui::Runtime& rt) { rt.register_handler("MuckingExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_mucking_export)

} // namespace mucking

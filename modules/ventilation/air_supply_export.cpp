// The compressed-air supply report: one template, the countdown stepping
// before each placeholder; its message boxes belong to the main window.
#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"
#include "ui/cmd.h"

namespace air_supply {

namespace {

report::ExportRequest export_request()
{
    using report::bind;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };

    report::ExportRequest r;
    r.form = "AirSupply";
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/air_supply.docx", "隧道临时供风计算.doc"}};
    r.bindings = {
        bind("编辑框_空压机的备用系数", 5, countdown(8)),   bind("编辑框_管路总长", 5, countdown(7)),
        bind("编辑框_每公里漏风量", 5, countdown(6)),       bind("编辑框_同时工作系数", 5, countdown(5)),
        bind("编辑框_风动机具所需风量", 5, countdown(4)),   bind("编辑框_漏耗损失", 5, countdown(3)),
        bind("编辑框_计算本工程供风能力", 5, countdown(2)), bind("编辑框_海拔高度影响系数", 5, countdown(1)),
    };
    r.marks = {
        {report::Stage::Busy, countdown(10)},
        {report::Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {report::Stage::TemplateWritten, countdown(9)},
        {report::Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算书导出成功！";
    report::bind_signs(r, {{"计算值_漏耗损失式", "编辑框_漏耗损失"}, {"计算值_计算本工程供风能力式", "编辑框_计算本工程供风能力"}});
    return r;
}

void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_air_supply_export(ui::Runtime& rt) { rt.register_handler("AirSupplyExportReport", export_report); }

} // namespace

JSB_HANDLERS(register_air_supply_export)

} // namespace air_supply

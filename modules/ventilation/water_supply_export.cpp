// The temporary water supply report: one template, the countdown stepping
// between groups of placeholders; its message boxes have no owner.
#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"
#include "modules/ventilation/water_supply.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <string>

namespace water_supply {

namespace {

// The daily use the calculation worked out and the class it chose by it:
// "为（生活用水量 + 生产用水量）× 24 = (2.7 + 60) × 24 = 1504.8 m³，在1000~2000m3之间".
std::string daily_use_sentence()
{
    const Calculated& c = last_calculation();
    if (c.daily_use.empty()) return {};
    // To the hundredth, but a figure that would round onto a class boundary
    // (999.9996 to 1000) is printed whole: "= 1000 m³，小于1000m3" would
    // contradict itself.
    const double hundredths = ui::round_places(c.daily, 2);
    const bool onto_boundary = (hundredths == 1000 || hundredths == 2000) && hundredths != c.daily;
    const std::string figure = ui::number_to_text(onto_boundary ? c.daily : hundredths);
    std::string s = "为（生活用水量 + 生产用水量）× 24 = (" + c.Qs + " + " + c.Qc + ") × 24 " +
                    report::result_sign(c.daily, figure) + " " + figure + " m³，";
    if (c.beyond_table) return s + "超出贮水系数表所列范围（不大于2000m³），按" + c.daily_use + "一档取值";
    return s + (c.daily < 1000 ? c.daily_use : "在" + c.daily_use + "之间");
}

report::ExportRequest export_request()
{
    using report::bind;
    using report::bind_item;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };

    report::ExportRequest r;
    r.form = "WaterSupply";
    r.templates = {{report::Condition::always(), "templates/water_supply.docx", "隧道临时供水计算.doc"}};
    r.bindings = {
        bind("编辑框_洞内设备需要水压", 5, countdown(8)), bind("编辑框_配水点要求水头", 5),
        bind("编辑框_水头损失系数", 5, countdown(7)), bind("编辑框_管道内水头损失", 5),
        // The source's item text is replaced a second time; the template
        // holds it once, so the second row finds nothing left.
        bind_item("组合框_水源流量", 5, countdown(6)), bind_item("组合框_昼夜用水量", 5), bind_item("组合框_水源流量", 5),
        bind("编辑框_贮水系数", 5, countdown(5)), bind("编辑框_调节系数", 5),
        bind("编辑框_生产工人", 5, countdown(4)), bind("编辑框_用水系数生产工人", 5),
        bind("编辑框_非生产工人", 5, countdown(3)),
        bind("编辑框_用水系数非生产工人", 5, countdown(2)),
        bind("编辑框_生活用水量", 5, countdown(1)), bind("编辑框_生产用水量", 5), bind("编辑框_水池高差", 5),
        bind("编辑框_水泵扬程", 5), bind("编辑框_水池容积", 5),
        // The volume formula stands only where the calculation used it; a
        // spring-fed tank is sized by the rule of thumb instead.
        report::bind_computed("计算值_昼夜用水量", daily_use_sentence, 5),
        report::bind_computed("计算值_自流供水", [] {
            return last_calculation().spring_fed
                       ? std::string("利用高山自流供水，且水源流量大于用水高峰流量，水池只需调节水量，容积取20~30m³。")
                       : std::string();
        }),
    };
    r.marks = {
        {report::Stage::Busy, countdown(10)},
        {report::Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {report::Stage::TemplateWritten, countdown(9)},
        {report::Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {
                              {"计算值_水池高差式", "编辑框_水池高差"},
                              {"计算值_生活用水量式", "编辑框_生活用水量"},
                              {"计算值_水池容积式", "编辑框_水池容积"},
                              {"计算值_水泵扬程式", "编辑框_水泵扬程"},
                          });
    return r;
}

void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_water_supply_export(ui::Runtime& rt) { rt.register_handler("WaterSupplyExportReport", export_report); }

} // namespace

JSB_HANDLERS(register_water_supply_export)

} // namespace water_supply

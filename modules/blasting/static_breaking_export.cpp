// The static-breaking plan: refused until a calculation has written the
// total charge; its progress is logged into the form's log box after the
// line the calculation left there.
#include "modules/blasting/static_breaking.h"

#include "app/registry.h"
#include "ui/cmd.h"

namespace static_breaking {

using report::bind;
using report::Stage;
using report::StatusMark;

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.log_box = "编辑框日志";
    r.not_calculated_message = "您还没有进行计算！";
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/static_breaking.docx", "静态爆破专项施工方案.doc"}};
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    r.bindings = {
        bind("组合框_破碎物体类型", 10),
        bind("组合框_型号", 10),
        bind("编辑框_使用温度范围", 10, countdown(7)),
        bind("编辑框_使用季节", 10),
        bind("编辑框_破碎体长", 10),
        bind("编辑框_破碎体宽", 10, countdown(6)),
        bind("编辑框_破碎体高", 10),
        bind("编辑框_破碎体计划破碎深度", 10),
        bind("编辑框_破碎分层数", 10, countdown(5)),
        bind("编辑框_炮眼排数", 10),
        bind("编辑框_破碎体的抗拉强度", 10),
        bind("编辑框_开裂经验系数", 10, countdown(4)),
        bind("编辑框_被破碎材料的泊松比", 10),
        bind("编辑框_SCA膨胀压力", 10),
        bind("编辑框_SCA重量", 10, countdown(3)),
        bind("编辑框_每米钻孔SCA重量", 10),
        bind("编辑框_布眼数量", 10),
        bind("编辑框_孔径", 10, countdown(2)),
        bind("编辑框_孔深", 10),
        bind("编辑框_布眼排数", 10),
        bind("编辑框_排距", 10, countdown(1)),
        bind("编辑框_孔距", 10),
        bind("编辑框_抵抗线", 10),
        bind("编辑框_单位面积钻孔总长", 10),
        bind("编辑框_每孔用药量", 10),
        bind("编辑框_总装药量", 10),
        // The diameter given in its own mode, and what the calculation
        // worked out beyond the boxes.
        bind("编辑框_确定钻孔直径", 10),
    };
    for (const char* placeholder :
         {"计算值_深度系数", "计算值_泊松比", "计算值_L1式", "计算值_L1", "计算值_孔深取值", "计算值_分层式", "计算值_按孔径说明", "计算值_按孔数说明", "计算值_L式",
          "计算值_N式", "计算值_D式", "计算值_q1式", "计算值_Q式", "计算值_孔径提示", "计算值_布孔范围说明", "计算值_标准孔径说明",
          "计算值_其他孔径说明", "计算值_施工层数", "计算值_分层施工"}) {
        const std::string name = placeholder;
        r.bindings.push_back(report::bind_computed(name, [name] { return report_text(name); }, 10));
    }
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, countdown(9)},
        {Stage::WordStarted, StatusMark::log("\r\n   方案导出准备，开始数据写入！\r\n")},
        {Stage::DocumentsAttached, countdown(8)},
        {Stage::BindingsDone, countdown(0)},
        {Stage::BindingsDone, StatusMark::log("\r\n   数据写入完毕，开始导出计算书！")},
        {Stage::ProgressDone, StatusMark::status("导出完毕！")},
        {Stage::Restored, StatusMark::log("\r\n   方案导出完毕！ ")},
    };
    r.success_message = "自动生成计算书成功！";
    r.progress_prefix = "已导出 ";
    r.completion_text = "下载完成  ";
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_static_breaking_export(ui::Runtime& rt)
{
    rt.register_handler("StaticBreakingExportReport", export_report);
}
} // namespace

JSB_HANDLERS(register_static_breaking_export)

} // namespace static_breaking

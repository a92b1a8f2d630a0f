// The trestle bridge report: 85 placeholders in ten groups, the countdown
// stepping after each group.
#include "app/report/signs.h"
#include "modules/equipment/trestle.h"
#include "ui/value.h"

#include "app/registry.h"
#include "ui/cmd.h"

#include <cmath>
#include <string>
#include <vector>

namespace trestle {

using report::bind;
using report::bind_item;
using report::Stage;
using report::StatusMark;

namespace {

// A figure of a vehicle row as the report's table states it: a row's "-"
// (a tracked vehicle has no tyres; a kind without a figure) reads "无".
report::PlaceholderBinding row_figure(const std::string& control)
{
    const std::string placeholder = "计算值_" + control.substr(std::string("编辑框1_").size());
    return report::bind_computed(placeholder, [control] {
        const std::string t = ui::control_text(ui::U(kForm, control));
        return std::isnan(ui::number_in_domain(t, ui::Domain::Any)) ? std::string("无") : t;
    });
}

// The number a vehicle row shows: its place among the rows the report keeps.
report::PlaceholderBinding row_number(int row)
{
    return report::bind_computed("计算值_序号" + std::to_string(row), [row] {
        int shown = 0;
        for (int r = 1; r <= row; ++r)
            if (!std::isnan(ui::number_in_domain(ui::control_text(ui::U(kForm, "编辑框1_重载重量" + std::to_string(r))),
                                                 ui::Domain::Any)))
                ++shown;
        return std::to_string(shown);
    });
}

} // namespace

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.templates = {{report::Condition::always(), "templates/trestle.docx", "隧道仰拱栈桥计算.doc"}};

    // Each group's rows in order; the first row of groups 2 to 10 shows the
    // countdown step that follows the group before it.
    const std::vector<std::vector<report::PlaceholderBinding>> groups = {
        // The vehicle rows: a row without a loaded weight describes no
        // vehicle and is left out (its line in the template is optional);
        // the other figures of a row say "无" where the row has none.
        {bind_item("组合框1", 5), bind_item("组合框2", 5), bind_item("组合框3", 5), bind_item("组合框4", 5),
         bind_item("组合框5", 5), row_figure("编辑框1_空载重量1"), row_figure("编辑框1_空载重量2")},
        {row_figure("编辑框1_空载重量3"), row_figure("编辑框1_空载重量4"), row_figure("编辑框1_空载重量5"),
         bind("编辑框1_重载重量1"), bind("编辑框1_重载重量2"), bind("编辑框1_重载重量3"), bind("编辑框1_重载重量4"),
         bind("编辑框1_重载重量5")},
        {row_figure("编辑框1_行走宽度1"), row_figure("编辑框1_行走宽度2"), row_figure("编辑框1_行走宽度3"),
         row_figure("编辑框1_行走宽度4"), row_figure("编辑框1_行走宽度5")},
        {row_figure("编辑框1_轮胎宽度2"), row_figure("编辑框1_轮胎宽度1"), row_figure("编辑框1_轮胎宽度3"),
         row_figure("编辑框1_轮胎宽度4"), row_figure("编辑框1_轮胎宽度5")},
        {row_figure("编辑框1_轮胎净宽1"), row_figure("编辑框1_轮胎净宽2"), row_figure("编辑框1_轮胎净宽3"),
         row_figure("编辑框1_轮胎净宽4"), row_figure("编辑框1_轮胎净宽5")},
        {bind_item("列表框1", 10), bind("编辑框1_轴距", 10), bind("编辑框1_后桥轴距a", 10), bind("编辑框1_前桥重量", 10),
         bind("编辑框1_后桥重量", 10), bind("编辑框1_单后轮受重", 5)},
        {bind("编辑框1_单前轮受重", 5), bind("编辑框1_最重", 5), bind("编辑框1_栈桥总宽度", 5), bind("编辑框1_栈桥总长", 5),
         bind("编辑框1_栈桥净跨", 20), bind("编辑框1_单片梁宽度", 10), bind("编辑框1_梁轴线宽度", 5),
         bind("编辑框1_工字钢梁数", 15), bind("编辑框1_单侧搭接长度", 5), bind("透明标签1_间隔宽度", 5), bind("编辑框1_a0", 5),
         bind("编辑框1_b0", 5), bind("编辑框1_c0", 5)},
        // 编辑框1_d0 before 编辑框1_d and 编辑框1_抗拉强度2 before
        // 编辑框1_抗拉强度, whose names begin the longer ones: the search is a
        // plain substring search.
        {bind("编辑框1_d0", 5), bind("编辑框1_a1", 5), bind("编辑框1_b1", 5), bind("编辑框1_c1", 5), bind("编辑框1_质量", 5),
         bind("编辑框1_Wx", 5), bind("编辑框1_Ix", 5), bind("编辑框1_Sx", 5), bind("编辑框1_除Sx", 5), bind("编辑框1_d", 5),
         bind("编辑框1_抗拉强度2", 5), bind("编辑框1_抗拉强度", 5)},
        // the front wheel load stands in every formula that carries it
        {bind("编辑框1_E", 5), bind("编辑框2_P1", 10), bind("编辑框2_P2", 5), bind("编辑框2_P3", 5),
         report::bind_computed("计算值_RA", [] { return ui::number_to_text(kept_reaction()); }, 4), bind("编辑框2_M重", 5),
         bind("编辑框2_MP1", 5), bind("编辑框2_MP2", 5), bind("编辑框2_MP3", 5), bind("编辑框2_Mmax", 5), bind("编辑框2_小q", 5),
         bind("编辑框2_重Q重", 5), bind("编辑框2_汽Q", 5), bind("编辑框3_Qmax单根", 5)},
        {bind("编辑框2_最大应力", 5), bind("编辑框2_安全系数", 5), bind("编辑框2_剪应力强度", 5), bind("编辑框2_f工字钢", 5),
         bind("编辑框2_后轮fmax", 5), bind("编辑框2_前轮fmax", 5), bind("编辑框2_强度计算结论", 5),
         bind("编辑框2_剪应力计算结论", 5), bind("编辑框2_挠度验算前轮", 5), bind("编辑框2_挠度验算后轮", 5),
         bind("编辑框2_总体评定结论", 5)},
    };
    for (int row = 1; row <= 5; ++row) r.bindings.push_back(row_number(row));
    int step = 10;
    for (const auto& group : groups) {
        for (size_t i = 0; i < group.size(); ++i) {
            r.bindings.push_back(group[i]);
            if (i == 0 && step < 10) r.bindings.back().mark_before = StatusMark::countdown(step);
        }
        --step;
    }
    r.marks = {
        {Stage::Busy, StatusMark::countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::BindingsDone, StatusMark::countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    report::bind_signs(r, {
                              {"计算值_后桥重量式", "编辑框1_后桥重量"},
                              {"计算值_单前轮受重式", "编辑框1_单前轮受重"},
                              {"计算值_单后轮受重式", "编辑框1_单后轮受重"},
                              {"计算值_P1式", "编辑框2_P1"},
                              {"计算值_P2式", "编辑框2_P2"},
                              {"计算值_小q式", "编辑框2_小q"},
                              {"计算值_M重式", "编辑框2_M重"},
                              {"计算值_重Q重式", "编辑框2_重Q重"},
                              {"计算值_MP1式", "编辑框2_MP1"},
                              {"计算值_MP2式", "编辑框2_MP2"},
                              {"计算值_MP3式", "编辑框2_MP3"},
                              {"计算值_Mmax式", "编辑框2_Mmax"},
                              {"计算值_汽Q式", "编辑框2_汽Q"},
                              {"计算值_Qmax单根式", "编辑框3_Qmax单根"},
                              {"计算值_最大应力式", "编辑框2_最大应力"},
                              {"计算值_安全系数式", "编辑框2_安全系数"},
                              {"计算值_剪应力强度式", "编辑框2_剪应力强度"},
                              {"计算值_f工字钢式", "编辑框2_f工字钢"},
                              {"计算值_后轮fmax式", "编辑框2_后轮fmax"},
                              {"计算值_前轮fmax式", "编辑框2_前轮fmax"},
                          });
    r.bindings.insert(r.bindings.begin(), report::bind_sign("计算值_RA式", [] { return kept_reaction_worked(); },
                                                            [] { return ui::number_to_text(kept_reaction()); }));
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_trestle_export(ui::Runtime& rt) { rt.register_handler("TrestleExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_trestle_export)

} // namespace trestle

// The advance and schedule report: every input and result of the computed
// groups and the time totals, each placeholder the name of its box (the rock
// class as the report names it), the formulas worked through with the first
// computed group, with the countdown stepping between groups of
// placeholders.
#include "modules/excavation/advance_schedule.h"

#include "app/report/signs.h"
#include "app/registry.h"
#include "ui/cmd.h"

#include <cmath>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace advance_schedule {

using report::StatusMark;

namespace {

std::string shown_text(const char* stem, int row) { return ui::control_text(ui::U(kForm, row_box(stem, row))); }

// A computed group's rock class as the report names it; nothing for a group
// that is not part of the tunnel, whose rows the report leaves out.
std::string rock_class(int row)
{
    const Plan& plan = last_plan();
    if (!plan.computed[row]) return {};
    return plan.rock_class[row].empty() ? "未注明" : plan.rock_class[row];
}

// The group the formulas are worked through with: the first computed one.
std::string example_group()
{
    const Plan& plan = last_plan();
    const int r = plan.example_row;
    if (r < 0) return {};
    const std::string name = "第" + std::to_string(r + 1) + "组";
    return plan.rock_class[r].empty() ? name : name + "（" + plan.rock_class[r] + "）";
}

std::string example(const char* stem)
{
    const int r = last_plan().example_row;
    return r < 0 ? std::string() : shown_text(stem, r);
}

// A total in months or years as worked from the days: "217.23 ÷ 365 ≈ 0.6 年".
std::string days_in(double days, int per, double shown, const char* unit)
{
    const std::string printed = ui::number_to_text(shown);
    return ui::number_to_text(days) + " ÷ " + std::to_string(per) + " " + report::result_sign(days / per, printed) + " " +
           printed + " " + unit;
}

// How the time totals come about: the groups' days added up, rounded to
// whole days as the total shows them, and the months and years worked from
// that sum.
std::string days_total()
{
    const Plan& plan = last_plan();
    std::vector<std::string> days;
    for (int r = 0; r < kRows; ++r)
        if (plan.computed[r]) days.push_back(shown_text("编辑框4_工期天", r));
    if (days.empty()) return {};
    const std::string total = ui::control_text(ui::U(kForm, "编辑框4_工期天6"));
    const std::string rounded = "，按四舍五入取整为 " + total + "；折合 " + days_in(plan.days, 30, plan.months, "月") +
                                "，" + days_in(plan.days, 365, plan.years, "年") + "。";
    if (days.size() == 1) return "计算工期为 " + days.front() + " 天" + rounded;
    std::string sum;
    for (const std::string& d : days) sum += (sum.empty() ? "" : " + ") + d;
    return "各组工期之和为 " + sum + " = " + ui::number_to_text(plan.days) + " 天" + rounded;
}

} // namespace

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.status_label = "标签1_提示窗口";
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/advance_schedule.docx", "隧道进尺及工期计算书new.doc"}};

    // Columns in order, rows 0 to 5 within each; the time columns carry
    // their totals as a seventh row. The total cycles are not reported.
    const std::pair<const char*, int> columns[] = {
        {"组合框1_围岩等级", 6},   {"编辑框1_各类围岩长度", 6}, {"编辑框1_每循环进尺", 6}, {"编辑框1_每循环用时", 6},
        {"编辑框2_循环次数", 6},   {"编辑框2_月循环数", 6},     {"编辑框2_天循环数", 6},   {"编辑框3_每天进尺", 6},
        {"编辑框3_月进尺", 6},     {"编辑框4_工期天", 7},       {"编辑框4_工期月", 7},     {"编辑框4_工期年", 7},
    };
    // The countdown step that comes just before a placeholder.
    const std::map<std::string, int> countdown_before = {
        {"组合框1_围岩等级0", 10}, {"编辑框1_各类围岩长度0", 9}, {"编辑框1_每循环进尺0", 8},
        {"编辑框1_每循环用时1", 7}, {"编辑框2_循环次数0", 6},     {"编辑框2_月循环数0", 5},
        {"编辑框2_天循环数1", 4},   {"编辑框3_每天进尺4", 3},     {"编辑框4_工期天3", 2},
        {"编辑框4_工期月6", 1},
    };
    auto add = [&](const std::string& control, int row) {
        auto step = countdown_before.find(control);
        std::optional<StatusMark> mark;
        if (step != countdown_before.end()) mark = StatusMark::countdown(step->second);
        // The rock class, a label of the group, as the report names it.
        if (control.rfind("组合框1_围岩等级", 0) == 0) {
            report::PlaceholderBinding b =
                report::bind_computed("计算值_围岩等级" + std::to_string(row), [row] { return rock_class(row); }, 10);
            b.mark_before = mark;
            r.bindings.push_back(std::move(b));
            return;
        }
        r.bindings.push_back(report::bind(control, 10, mark));
    };
    for (const auto& [stem, rows] : columns)
        for (int row = 0; row < rows; ++row) add(row_box(stem, row), row);
    add("编辑框1_汇总长度", -1);

    // The formulas worked through with the first computed group, and how the
    // time total comes about.
    const std::pair<const char*, const char*> examples[] = {
        {"计算值_例L", "编辑框1_各类围岩长度"}, {"计算值_例a", "编辑框1_每循环进尺"}, {"计算值_例T", "编辑框1_每循环用时"},
        {"计算值_例N", "编辑框2_循环次数"},     {"计算值_例nd", "编辑框2_天循环数"},  {"计算值_例nm", "编辑框2_月循环数"},
        {"计算值_例Vd", "编辑框3_每天进尺"},    {"计算值_例Vm", "编辑框3_月进尺"},    {"计算值_例D", "编辑框4_工期天"},
        {"计算值_例M", "编辑框4_工期月"},       {"计算值_例Y", "编辑框4_工期年"},
    };
    r.bindings.push_back(report::bind_computed("计算值_示例组", example_group, 10));
    for (const auto& [placeholder, stem] : examples)
        r.bindings.push_back(report::bind_computed(placeholder, [stem] { return example(stem); }, 10));
    r.bindings.push_back(report::bind_computed("计算值_工期合计说明", days_total, 10));
    // The sign before each worked result (the inputs L, a and T aside): the
    // example group's box against the figure the calculation worked out for it.
    for (const auto& [placeholder, stem] : std::span(examples).subspan(3)) {
        r.bindings.insert(r.bindings.begin(), report::bind_sign(
                                                  std::string(placeholder) + "式",
                                                  [stem] {
                                                      const int row = last_plan().example_row;
                                                      return row < 0 ? NAN : ui::worked_figure(ui::U(kForm, row_box(stem, row)));
                                                  },
                                                  [stem] { return example(stem); }));
    }

    r.marks = {
        {report::Stage::FolderMade, StatusMark::status("参数导出准备中……")},
        {report::Stage::BindingsDone, StatusMark::countdown(0)},
        {report::Stage::WordClosed, StatusMark::pause(500)},
    };
    // "导出完成！" stays up while the success message is open.
    r.closing_stage = report::Stage::Announced;
    r.success_message = "参数导出完成！";
    r.progress_prefix = "已导出 ";
    r.progress_suffix = "%  ";
    r.completion_text = "导出完成！";
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_advance_schedule_export(ui::Runtime& rt)
{
    rt.register_handler("AdvanceScheduleExportReport", export_report);
}
} // namespace

JSB_HANDLERS(register_advance_schedule_export)

} // namespace advance_schedule

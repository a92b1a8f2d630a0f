// The ventilation plan: one template per scheme, all written under one
// report name, with the countdown stepping between groups of placeholders.
#include "app/report/signs.h"
#include "modules/ventilation/ventilation.h"

#include "app/registry.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <optional>
#include <string>

namespace ventilation {

using report::bind;
using report::bind_item;
using report::PlaceholderBinding;
using report::StatusMark;

namespace {

std::string text_of(const char* box) { return ui::control_text(ui::U(kForm, box)); }

// A diesel row's box as the plan shows it: only for a row the calculation
// counted (the others were not read, and their lines are left out).
std::string counted_row(int row, const char* box)
{
    return last_calculation().diesel_row[row] ? text_of(box) : std::string();
}
std::string counted_row_name(int row)
{
    const std::string name = counted_row(row, kDieselRows[row].name);
    return last_calculation().diesel_row[row] && name.empty() ? "（未命名）" : name;
}

// The terms of ni, one "P × n" for each row counted.
std::string diesel_power_terms()
{
    std::string terms;
    for (int i = 0; i < 4; ++i) {
        if (!last_calculation().diesel_row[i]) continue;
        if (!terms.empty()) terms += "+";
        terms += text_of(kDieselRows[i].power) + "×" + text_of(kDieselRows[i].count);
    }
    return terms;
}
std::string diesel_factor(const char* box) { return last_calculation().diesel() ? text_of(box) : std::string(); }

// X stated with as many decimals as it takes to show it above 1.
std::string fume_ratio()
{
    const double X = last_calculation().fume_ratio;
    if (!last_calculation().fumes_within_limit()) return {};
    for (int places = 2; places <= 12; ++places)
        if (ui::round_places(X, places) > 1) return ui::number_to_text(ui::round_places(X, places));
    return ui::number_to_text(X);
}

// Bg with what it means: a fraction of the air's volume, "0.005（0.5 %）".
std::string gas_limit_meant()
{
    if (!last_calculation().gas_tunnel) return {};
    const std::string Bg = text_of("编辑框1_工作面允许瓦斯浓度");
    return Bg + "（" + ui::number_to_text(ui::round_places(ui::plain_number(Bg) * 100, 10)) + " %）";
}

// The largest demand as the plan states it, to the two decimals the
// demands are compared at; and how Qh follows from it: rounded up to whole
// m3/min, or the same figure where it is whole already.
std::string largest_demand() { return ui::number_to_text(ui::round_places(last_calculation().largest_demand, 2)); }
std::string to_whole_demand()
{
    const double largest = ui::round_places(last_calculation().largest_demand, 2);
    return largest == std::floor(largest) ? "，即" : "，向上取整得";
}

PlaceholderBinding computed(const char* placeholder, std::function<std::string()> value,
                            std::optional<StatusMark> mark = std::nullopt)
{
    PlaceholderBinding b = report::bind_computed(placeholder, std::move(value), 5);
    b.mark_before = mark;
    return b;
}

} // namespace

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    for (const Scheme& s : schemes())
        r.templates.push_back(
            {report::Condition::item_text_is("列表框1", s.item), s.report_template, "隧道通风专项施工方案.doc"});

    auto countdown = [](int n) { return StatusMark::countdown(n); };
    // The templates name the face-to-lining length 编辑框1_坑道长度; the form's
    // box for it has another name.
    const PlaceholderBinding face_length{"编辑框1_坑道长度", {report::ValueSource::ControlText, "编辑框1_掌子面满足下循环施工长度", {}}, 5, countdown(8)};
    r.bindings = {
        bind_item("列表框1", 5), bind_item("组合框3", 5), bind_item("组合框2", 5), bind_item("组合框1", 5),
        bind("编辑框1_隧道开挖面积", 10), bind("编辑框1_风管长度", 10),

        bind("编辑框1_循环掘进进尺", 5, countdown(9)), bind("编辑框1_每m3岩石炸药单耗", 5),
        bind("编辑框1_风量备用系数", 5), bind("编辑框1_洞内同时工作的最多人数", 5),
        bind("编辑框1_每kg炸药折合的体积", 5), bind("编辑框1_爆破后的通风时间", 5),

        face_length, bind("编辑框1_压入风口至工作面的距离", 5), bind("编辑框1_洞内允许最小风速", 5),
        computed("计算值_内燃每KW风量", [] { return diesel_factor("编辑框1_洞内同时使用内燃每KW所需的风量"); }),
        bind("编辑框1_工作面允许瓦斯浓度", 5),
        bind("编辑框1_瓦斯绝对涌出量", 5), bind("编辑框1_送入风流中瓦斯浓度", 5),

        bind("编辑框1_瓦斯涌出不均衡系数", 5, countdown(7)), bind("编辑框1_风管直径", 5),
        bind("编辑框1_管道达西系数", 5), bind("编辑框1_空气密度", 5), bind("编辑框1_局部阻力系数", 5),
        bind("编辑框1_风机工作效率系数", 5), bind("编辑框1_百米平均漏风率", 5), bind("编辑框1_管道漏风系数", 5),
        bind("编辑框1_摩阻系数", 5), bind("编辑框2_风阻系数Rf", 5),

        bind("编辑框1_掌子面满足下循环施工长度", 5, countdown(6)), bind("编辑框1_爆破后炮烟的扩散长度", 5),
        bind("编辑框1_地区大气压", 5), bind("编辑框1_同时爆破的炸药量", 5), bind("编辑框2_洞内最多人数需风量", 5),
        bind("编辑框2_爆破排烟", 5), bind("编辑框2_按内燃机作业废气稀释", 5),

        bind("编辑框2_按洞内允许最小风速", 5, countdown(5)), bind("编辑框2_按瓦斯绝对涌出量计算", 5),
        bind("编辑框2_最大需风量Qh", 10), bind("编辑框2_沿程管道漏风耗损量Q漏", 5),
        bind("编辑框2_高海拔风量修正风量Q高", 10), bind("编辑框2_风机供风量Q供", 10), bind("编辑框2_管道阻力损失", 5),

        bind("编辑框2_局部阻力损失hx", 5, countdown(4)), bind("编辑框2_风机全压h机", 5),
        bind("编辑框2_风机计算功率", 5), bind("编辑框_洞内每人每分钟需新鲜空气", 5),
        bind("编辑框1_风量备用系数", 5), bind("选择框1_隧道含瓦斯", 5), // the check box's caption

        computed("计算值_设备利用率", [] { return diesel_factor("编辑框2_设备利用率"); }, countdown(3)),
        bind("编辑框3_洞内同时使用内燃机作业总功率数", 5), bind("标签20", 5),
        computed("计算值_设备名称1", [] { return counted_row_name(0); }),
        computed("计算值_设备名称2", [] { return counted_row_name(1); }),

        computed("计算值_设备名称3", [] { return counted_row_name(2); }, countdown(2)),
        computed("计算值_设备名称4", [] { return counted_row_name(3); }),
        computed("计算值_设备功率1", [] { return counted_row(0, kDieselRows[0].power); }),
        computed("计算值_设备功率2", [] { return counted_row(1, kDieselRows[1].power); }),
        computed("计算值_设备功率3", [] { return counted_row(2, kDieselRows[2].power); }),

        computed("计算值_设备功率4", [] { return counted_row(3, kDieselRows[3].power); }, countdown(1)),
        computed("计算值_设备数量1", [] { return counted_row(0, kDieselRows[0].count); }),
        computed("计算值_设备数量2", [] { return counted_row(1, kDieselRows[1].count); }),
        computed("计算值_设备数量3", [] { return counted_row(2, kDieselRows[2].count); }),
        computed("计算值_设备数量4", [] { return counted_row(3, kDieselRows[3].count); }),
        // Without a diesel machine the plan says so instead of the diesel lines.
        computed("计算值_无内燃设备",
                 [] { return last_calculation().diesel() ? std::string() : std::string("洞内不使用内燃设备"); }),
        computed("计算值_内燃设计标准",
                 [] {
                     return last_calculation().diesel()
                                ? "使用内燃机械时，供风量按每千瓦不小于 " +
                                      text_of("编辑框1_洞内同时使用内燃每KW所需的风量") + " m³/min 计；"
                                : std::string("洞内不使用内燃机械，不计稀释内燃机废气所需风量；");
                 }),
        computed("计算值_内燃功率项", diesel_power_terms),
        // The pressed-in scheme: fumes within the allowed concentration at
        // once need no air, and the plan says why Q2 is 0.
        computed("计算值_排烟需风量",
                 [] { return last_calculation().fumes_within_limit() ? std::string() : text_of("编辑框2_爆破排烟"); }),
        computed("计算值_X", fume_ratio),
    };
    // The gas inputs go into the plan only when the calculation worked Q5
    // out from them; otherwise their lines are left out, and the plan says
    // the tunnel has no gas.
    for (const std::string gas : {"工作面允许瓦斯浓度", "瓦斯绝对涌出量", "送入风流中瓦斯浓度", "瓦斯涌出不均衡系数"})
        r.bindings.push_back(report::bind_computed(
            "计算值_" + gas,
            [box = "编辑框1_" + gas] {
                return last_calculation().gas_tunnel ? ui::control_text(ui::U(kForm, box)) : std::string();
            },
            5));
    r.bindings.push_back(report::bind_computed("计算值_允许瓦斯浓度及含义", gas_limit_meant, 5));
    r.bindings.push_back(report::bind_computed("计算值_需风量最大值", largest_demand, 5));
    r.bindings.push_back(report::bind_computed("计算值_需风量取整", to_whole_demand, 5));
    r.bindings.push_back(report::bind_computed(
        "计算值_不含瓦斯", [] { return last_calculation().gas_tunnel ? std::string() : std::string("隧道不含瓦斯"); }, 5));
    r.marks = {
        {report::Stage::Busy, countdown(10)},
        {report::Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {report::Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    // The same results stand in every scheme's plan.
    report::bind_signs(r, {
                              {"计算值_洞内最多人数需风量式", "编辑框2_洞内最多人数需风量"},
                              {"计算值_同时爆破的炸药量式", "编辑框1_同时爆破的炸药量"},
                              {"计算值_爆破排烟式", "编辑框2_爆破排烟"},
                              {"计算值_洞内同时使用内燃机作业总功率数式", "编辑框3_洞内同时使用内燃机作业总功率数"},
                              {"计算值_按内燃机作业废气稀释式", "编辑框2_按内燃机作业废气稀释"},
                              {"计算值_按洞内允许最小风速式", "编辑框2_按洞内允许最小风速"},
                              {"计算值_按瓦斯绝对涌出量计算式", "编辑框2_按瓦斯绝对涌出量计算"},
                              {"计算值_管道漏风系数式", "编辑框1_管道漏风系数"},
                              {"计算值_沿程管道漏风耗损量Q漏式", "编辑框2_沿程管道漏风耗损量Q漏"},
                              {"计算值_高海拔风量修正风量Q高式", "编辑框2_高海拔风量修正风量Q高"},
                              {"计算值_风机供风量Q供式", "编辑框2_风机供风量Q供"},
                              {"计算值_摩阻系数式", "编辑框1_摩阻系数"},
                              {"计算值_风阻系数Rf式", "编辑框2_风阻系数Rf"},
                              {"计算值_管道阻力损失式", "编辑框2_管道阻力损失"},
                              {"计算值_局部阻力损失hx式", "编辑框2_局部阻力损失hx"},
                              {"计算值_风机全压h机式", "编辑框2_风机全压h机"},
                              {"计算值_风机计算功率式", "编辑框2_风机计算功率"},
                              {"计算值_排烟需风量式", "编辑框2_爆破排烟"}, // the forced scheme's fume equation
                          });
    // The largest demand is one of the five as shown; printed to two
    // decimals, an unrounded Q3 may come out shorter.
    r.bindings.insert(r.bindings.begin(),
                      report::bind_sign("计算值_需风量最大值式", [] { return last_calculation().largest_demand; },
                                        largest_demand));
    return r;
}

namespace {
void export_report(ui::EventArgs&) { report::RunReportExport(export_request()); }

void register_ventilation_export(ui::Runtime& rt) { rt.register_handler("VentilationExportReport", export_report); }
} // namespace

JSB_HANDLERS(register_ventilation_export)

} // namespace ventilation

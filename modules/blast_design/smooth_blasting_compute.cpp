// The compute button of the smooth-blasting form: checks that a section is
// chosen, runs the calculation of that section between its status lines and
// fills the detonator counts from the hole counts the tables then show.
#include "modules/blast_design/face_steps.h"
#include "modules/blast_design/smooth_blasting.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"

#include <cmath>

namespace blast_design {

using namespace ui;

namespace {

bool g_computing = false;

// Marks a calculation as running for as long as the compute handler runs,
// whichever way it ends.
struct ComputingScope {
    ComputingScope() { g_computing = true; }
    ~ComputingScope() { g_computing = false; }
    ComputingScope(const ComputingScope&) = delete;
    ComputingScope& operator=(const ComputingScope&) = delete;
};

struct Calculation {
    const char* section;
    void (*run)(const LayoutMode&);
    const char* log_line;
    bool needs_invert_choice;
};

const Calculation kCalculations[] = {
    {section::kThreeBenches, compute_three_benches, "程序加载完成，进入台阶法上中下3台阶计算模块", false},
    {section::kTwoBenches, compute_two_benches, "程序加载完成，进入台阶法上下2台阶计算模块", true},
    {section::kStraightWall, compute_full_face, "程序加载完成，进入全断面计算模块", false},
    {section::kCurvedWall, compute_full_face, "程序加载完成，进入全断面计算模块", false},
    {section::kHorseshoe, compute_full_face, "程序加载完成，进入全断面计算模块", false},
    {section::kCircular, compute_circular, "程序加载完成，进入圆形隧道立（竖）井计算模块", false},
};

void log_line(const std::string& text) { cmd_edit_append(ctl("编辑框_提示"), {"\r\n    " + text}); }

// The choices that decide which calculation runs and with which defaults.
std::string section_choices()
{
    return combo_item_text("组合框_开挖方法") + "|" + combo_item_text("组合框_方法2") + "|" +
           (is_checked("单选框_有仰拱") ? "1" : "0") + (is_checked("单选框_无仰拱") ? "1" : "0");
}

void run_section_calculation(const LayoutMode& layout)
{
    const std::string split = combo_item_text("组合框_方法2");
    for (const Calculation& c : kCalculations) {
        if (split != c.section) continue;
        if (c.needs_invert_choice && !is_checked("单选框_有仰拱") && !is_checked("单选框_无仰拱")) {
            show_message("请选择确定隧道断面是否含仰拱！");
            calculation_refused();
            return;
        }
        set_box_text("编辑框_提示", "");
        log_line("开始计算模块！");
        log_line(c.log_line);
        const std::string chosen = section_choices();
        cmd_wait_pumping(500);
        // A section, method or inverted-arch choice made while the
        // calculation waited has cleared the tables for another section and
        // written its defaults: this run no longer belongs to the form.
        if (section_choices() != chosen) {
            calculation_refused();
            return;
        }
        c.run(layout);
        log_line("计算完成！");
        return;
    }
    calculation_refused(); // no calculation for this choice
}

// Two detonators per cut hole, one per other hole, from the counts as
// shown. A count that is not a whole number of holes (or not worked out)
// gives "-"; a table left empty gives an empty cell.
std::string detonators(const std::string& holes_label, int per_hole)
{
    const std::string shown = label_text(holes_label);
    if (shown.find_first_not_of(" \r\n") == std::string::npos) return shown;
    const double holes = read_result(ctl(holes_label));
    if (!(holes >= 0) || holes != std::floor(holes)) return "-";
    return per_hole == 1 ? shown : cmd_to_text(per_hole * holes);
}

void write_detonator_counts()
{
    const struct {
        const char* count;
        const char* holes;
        int per_hole;
    } counts[] = {
        {"标签1_雷管数1", "标签1_掏槽眼炮眼数目", 2}, {"标签1_雷管数2", "标签1_辅助眼炮眼数目", 1},
        {"标签1_雷管数3", "标签1_周边眼炮眼数目", 1}, {"标签1_雷管数4", "标签1_底板眼炮眼数目", 1},
        {"标签1_雷管数5", "标签2_辅助眼炮眼数目", 1}, {"标签1_雷管数6", "标签2_周边眼炮眼数目", 1},
        {"标签1_雷管数7", "标签2_底板眼炮眼数目", 1}, {"标签1_雷管数8", "标签3_辅助眼炮眼数目", 1},
        {"标签1_雷管数9", "标签3_底板眼炮眼数目", 1},
    };
    for (const auto& [count, holes, per_hole] : counts) set_label_text(count, detonators(holes, per_hole));
}

void SmoothBlastingCompute(EventArgs&)
{
    if (g_computing) return;
    ComputingScope scope;
    // Writing the page raises no page change: the layout editor is not reset.
    rt_set_property(ctl("选择夹1"), prop::Tab::CurrentPage, 1);
    // Taken before the calculation begins: the layout mode is not one of
    // the inputs its figures are worked from.
    const LayoutMode layout = layout_mode_now();
    const app::ComputeStyle style = app::compute_style(kForm);
    app::compute_begin(kForm, style);
    forget_last_calculation();
    const int method = combo_index("组合框_开挖方法");
    const int split = combo_index("组合框_方法2");
    if (method == -1 && split == -1) {
        show_message("请选择隧道断面形式！");
        calculation_refused();
    } else if (split == -1) {
        show_message("请选择隧道开挖形式！");
        calculation_refused();
    } else {
        run_section_calculation(layout);
    }
    write_detonator_counts();
    app::compute_end(kForm, style);
}

void register_smooth_blasting_compute(Runtime& rt) { rt.register_handler("SmoothBlastingCompute", SmoothBlastingCompute); }

} // namespace
JSB_HANDLERS(register_smooth_blasting_compute)

bool computing() { return g_computing; }

} // namespace blast_design

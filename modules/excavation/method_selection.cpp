// Handlers of the excavation-method selection form: the span class, the
// comparison rows, the summary, the catalogue, the step buttons and the
// diagram button.
#include "modules/excavation/method_selection.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <string>
#include <vector>

namespace method_selection {

namespace {

using namespace ui;

constexpr const char* kViewer = "viewer";

Ref box(const char* name) { return U(kForm, name); }
Ref picture_box() { return box("图片框1"); }
Ref text_box() { return box("编辑框1"); }

void write_content(const Ref& r, const std::string& text) { rt_set_property(r, prop::EditBox::Content, text); }

std::string combo_item(const char* name)
{
    return cmd_combo_item_text(box(name), rt_get_property(box(name), prop::ComboBox::CurrentIndex).integer());
}

// The diagram viewer, when it is open, shows what this form's picture box shows.
void follow_in_viewer()
{
    if (!cmd_is_created(U(kViewer))) return;
    rt_set_property(U(kViewer, "图片框1"), prop::PicBox::Picture, rt_get_property(picture_box(), prop::PicBox::Picture));
}

void set_text_style(int32_t color)
{
    rt_set_property(text_box(), prop::EditBox::TextColor, color);
    rt_set_property(text_box(), prop::EditBox::Font, 9, prop::FontMember::Size);
}

// --- created --------------------------------------------------------------------

void setup_form()
{
    const Ref check = box("选择框");
    rt_set_property(check, prop::Visible, false);
    rt_set_property(check, prop::CheckBox::Checked, true);
    // The catalogue takes one tick at a time, as the hidden box says.
    rt_set_property(box("选择列表框3"), prop::ChkListBox::SingleCheck, rt_get_property(check, prop::CheckBox::Checked));
}
JSB_MODULE_SETUP(MethodSelection, setup_form)

// --- span class -------------------------------------------------------------------

// Four independent tests, each on the width read afresh. A width for which
// none holds (empty, "-0", zero, negative, no number: form definition
// "domains") has no class: the box shows "-" rather than the class of an
// earlier width.
void classify_span(EventArgs&)
{
    const Ref width = box("编辑框1_隧道开挖宽度");
    const Ref span = box("编辑框_跨度自动判断");
    const char* cls = "-";
    if (tol_le(read_number(width), 9) && tol_gt(read_number(width), 0)) cls = "小跨度隧道";
    if (tol_gt(read_number(width), 9) && tol_lt(read_number(width), 14)) cls = "中跨度隧道";
    if (tol_ge(read_number(width), 14) && tol_lt(read_number(width), 18)) cls = "大跨度隧道";
    if (tol_ge(read_number(width), 18)) cls = "超大跨度隧道";
    write_content(span, cls);
}

// --- comparison rows -----------------------------------------------------------------

// Each combo fills the six labels of its own row.
void show_comparison_row(EventArgs& a)
{
    if (!a.control) return;
    static const std::pair<const char*, const char*> rows[] = {
        {"组合框a1", "标签a"}, {"组合框b1", "标签b"}, {"组合框c1", "标签c"}};
    const char* labels = nullptr;
    for (const auto& [combo, prefix] : rows)
        if (a.control->name == combo) labels = prefix;
    if (!labels) return;
    const Ref combo = box(a.control->name.c_str());
    const std::string method =
        cmd_combo_item_text(combo, rt_get_property(combo, prop::ComboBox::CurrentIndex).integer());
    for (const Comparison& row : comparison_table()) {
        if (method != row.method) continue;
        for (int k = 0; k < 6; ++k)
            rt_set_property(box((std::string(labels) + std::to_string(k + 1)).c_str()), prop::Label::Caption,
                            row.attributes[k]);
    }
    cmd_set_focus(picture_box());
}

// --- summary -------------------------------------------------------------------------

std::string ticked_items(const char* list)
{
    std::string out;
    const Ref r = box(list);
    for (int i = 0; i < cmd_list_count(r); ++i)
        if (cmd_checklist_is_checked(r, i)) out += cmd_list_item_text(r, i) + "；";
    return out;
}

void compose_summary()
{
    const Ref text = text_box();
    set_text_style(0xC06000);
    write_content(text, "隧道形式：" + combo_item("组合框_选择隧道形式"));
    // The span class is shown as the box holds it, not worked out again;
    // without a usable width there is neither a span nor a class to name.
    const Ref width = box("编辑框1_隧道开挖宽度");
    if (!tol_gt(read_number(width), 0))
        cmd_edit_append(text, {"\r\n", "隧道开挖跨度：未输入有效的开挖跨度（应为大于0的数值），不作跨度判断"});
    else
        cmd_edit_append(text, {"\r\n", "隧道开挖跨度：", control_text(width), "m，跨度判断：",
                               control_text(box("编辑框_跨度自动判断"))});
    cmd_edit_append(text, {"\r\n", "隧道围岩等级：", combo_item("组合框_隧道围岩等级")});
    cmd_edit_append(text, {"\r\n", "隧道围岩地质情况：", ticked_items("选择列表框1")});
    cmd_edit_append(text, {"\r\n", "隧道围区域环境分析：", ticked_items("选择列表框2")});
    cmd_edit_append(text, {"\r\n", "施工环境影响建议：根据选取的环境影响范围情况，确定是否需要控制爆破！"});
    cmd_edit_append(text, {"\r\n", "开挖工法选取建议：根据隧道情况综合后，根据隧道开发工法列表选取合适的开挖方法！"});
}

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture and busy lamp
    app::compute_begin(kForm, style);
    compose_summary();
    app::compute_end(kForm, style);
}

// --- catalogue and steps ------------------------------------------------------------------

void show_catalogue_entry(EventArgs&)
{
    set_text_style(0);
    const Ref list = box("选择列表框3");
    const std::string item = cmd_list_item_text(list, rt_get_property(list, prop::ChkListBox::CurrentIndex).integer());
    const CatalogueEntry* e = find_entry(item);
    if (!e) return;
    rt_set_property(picture_box(), prop::PicBox::Picture, Blob{resource(e->overview)});
    write_content(text_box(), e->description);
    rt_set_property(box("按钮_向后"), prop::Visible, e->step_buttons);
    rt_set_property(box("按钮_向前"), prop::Visible, e->step_buttons);
    follow_in_viewer();
}

// One member per step entry and direction: it moves the shown picture when
// the picture belongs to its entry's sequence.
void step_member(const CatalogueEntry& entry, int direction)
{
    const Value shown = rt_get_property(picture_box(), prop::PicBox::Picture);
    const std::string* next = neighbour_picture(entry, shown.bytes(), direction);
    if (!next) return;
    rt_set_property(picture_box(), prop::PicBox::Picture, Blob{resource(*next)});
    follow_in_viewer();
}

// Every step entry's member runs in turn; the ones after the mover test a
// picture of another sequence, so one click moves one place.
void run_step_members(int direction)
{
    for (const CatalogueEntry& e : catalogue())
        if (!e.sequence.empty()) step_member(e, direction);
}

// The left arrow.
void next_step(EventArgs&) { run_step_members(+1); }
// The right arrow.
void previous_step(EventArgs&) { run_step_members(-1); }

void show_diagram(EventArgs&)
{
    app::ShowDiagram(rt_get_property(picture_box(), prop::PicBox::Picture).bytes(), true);
}

void register_method_selection(Runtime& rt)
{
    rt.register_handler("MethodSelectionClassifySpan", classify_span);
    rt.register_handler("MethodSelectionShowComparisonRow", show_comparison_row);
    rt.register_handler("MethodSelectionCompute", compute);
    rt.register_handler("MethodSelectionShowDiagram", show_diagram);
    rt.register_handler("MethodSelectionShowCatalogueEntry", show_catalogue_entry);
    rt.register_handler("MethodSelectionNextStep", next_step);
    rt.register_handler("MethodSelectionPreviousStep", previous_step);
}

} // namespace

JSB_HANDLERS(register_method_selection)

} // namespace method_selection

// The detonator layout editor on the form's second page: with 自动配置
// unchecked the user picks a hole row, ticks its delay segments and picks
// its firing order, and each pick rewrites that row's result labels at once.
#include "modules/blast_design/smooth_blasting.h"

#include "app/registry.h"

#include <iterator>

namespace blast_design {

using namespace ui;

namespace {

const char* const kRows = "列表框3";
const char* const kOddSegments = "选择列表框1";
const char* const kEvenSegments = "选择列表框2";
const char* const kFiringOrders = "选择列表框3";
const char* const kComposed = "编辑框1";
const char* const kAutomatic = "选择框1";
const char* const kDetonatorKind = "组合框2";
const char* const kElectricPicture = "resources/pictures/blast_design/detonator_electric.png";
const char* const kNonelPicture = "resources/pictures/blast_design/detonator_nonel.png";

// Row i of 列表框3 names the result line its picks go to: the prefix of
// that line's 起爆顺序1 and 雷管段位 labels.
const char* const kRowLines[] = {"标签1_掏槽眼", "标签1_辅助眼", "标签1_周边眼", "标签1_底板眼", "标签2_辅助眼",
                                 "标签2_周边眼", "标签2_底板眼", "标签3_辅助眼", "标签3_底板眼"};
constexpr int kRowCount = int(std::size(kRowLines));

// The chosen hole row, or -1 when none (or one the result tables lack) is chosen.
int chosen_row()
{
    const int r = list_index(kRows);
    return r >= 0 && r < kRowCount ? r : -1;
}

void enable(const char* name, bool on) { rt_set_property(ctl(name), prop::Disabled, !on); }

// Marks and selections go; the enabled state stays as it is.
void fill_detonator_lists()
{
    cmd_list_clear(ctl(kOddSegments));
    set_box_text(kComposed, "");
    for (int n = 1; n <= 29; n += 2) cmd_list_add_item(ctl(kOddSegments), std::to_string(n));
    cmd_list_clear(ctl(kEvenSegments));
    for (int n = 2; n <= 30; n += 2) cmd_list_add_item(ctl(kEvenSegments), std::to_string(n));
    cmd_list_clear(ctl(kFiringOrders));
    for (const char* order : {"01", "02", "03", "04", "05", "06", "07", "08", "09", "10"})
        cmd_list_add_item(ctl(kFiringOrders), order);
}

void SmoothBlastingShowDetonatorPicture(EventArgs&)
{
    // One picture serves the non-electric and the mixed choice.
    show_picture("图片框3", combo_item_text(kDetonatorKind) == "延期电雷管" ? kElectricPicture : kNonelPicture);
}

void SmoothBlastingResetListsClicked(EventArgs&) { fill_detonator_lists(); }

// Editing a row always starts from no mark: its labels are not read back.
void SmoothBlastingSelectHoleRow(EventArgs&)
{
    fill_detonator_lists();
    if (list_index(kRows) == -1) return;
    for (const char* list : {kOddSegments, kEvenSegments, kFiringOrders}) enable(list, true);
}

// Each check list composes from its own items only, so the list changed
// last decides the row's segments. Its selection event follows the click
// that toggled a mark, so the new mark is already counted.
void SmoothBlastingSetDetonatorSegments(EventArgs& e)
{
    set_box_text(kComposed, "");
    const int r = chosen_row();
    if (r == -1) return;
    const Ref list = U(kForm, e.control->name);
    std::string segments;
    for (int i = 0; i < cmd_list_count(list); ++i)
        if (cmd_checklist_is_checked(list, i)) segments += cmd_list_item_text(list, i) + ";";
    set_box_text(kComposed, segments);
    set_label_text(std::string(kRowLines[r]) + "雷管段位", box_text(kComposed));
}

void SmoothBlastingSetFiringOrder(EventArgs&)
{
    const int r = chosen_row();
    if (r == -1) return;
    set_label_text(std::string(kRowLines[r]) + "起爆顺序1", current_item_text(ctl(kFiringOrders)));
}

void SmoothBlastingToggleAutoLayout(EventArgs&)
{
    if (is_checked(kAutomatic)) {
        enable(kRows, false);
        rt_set_property(ctl(kRows), prop::ListBox::BackColor, 0x808080);
        for (const char* c : {kOddSegments, kEvenSegments, kFiringOrders, kComposed}) enable(c, false);
        return;
    }
    // The three lists wait until a row is chosen.
    enable(kRows, true);
    rt_set_property(ctl(kRows), prop::ListBox::BackColor, 0xFFFFFF);
    enable(kComposed, true);
}

void register_smooth_blasting_editor(Runtime& rt)
{
    rt.register_handler("SmoothBlastingShowDetonatorPicture", SmoothBlastingShowDetonatorPicture);
    rt.register_handler("SmoothBlastingResetListsClicked", SmoothBlastingResetListsClicked);
    rt.register_handler("SmoothBlastingSelectHoleRow", SmoothBlastingSelectHoleRow);
    rt.register_handler("SmoothBlastingSetDetonatorSegments", SmoothBlastingSetDetonatorSegments);
    rt.register_handler("SmoothBlastingSetFiringOrder", SmoothBlastingSetFiringOrder);
    rt.register_handler("SmoothBlastingToggleAutoLayout", SmoothBlastingToggleAutoLayout);
}

} // namespace
JSB_HANDLERS(register_smooth_blasting_editor)

void enter_layout_page()
{
    cmd_list_clear(ctl(kOddSegments));
    fill_detonator_lists();
    // Index writes raise nothing: the charge-structure and detonator
    // pictures keep what they show.
    rt_set_property(ctl("组合框1"), prop::ComboBox::CurrentIndex, 1);
    rt_set_property(ctl(kDetonatorKind), prop::ComboBox::CurrentIndex, 2);
}

} // namespace blast_design

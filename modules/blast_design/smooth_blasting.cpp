// The smooth-blasting form: its creation, the method and section choices
// with their panels, pictures and default inputs, the inverted-arch choice,
// the tab page change and the clearing of the results.
#include "modules/blast_design/smooth_blasting.h"

#include "app/main_window.h"
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "ui/value.h"

#include <vector>

namespace blast_design {

using namespace ui;

// ---- control helpers -------------------------------------------------------------

std::string box_text(const std::string& box) { return cmd_to_text(rt_get_property(ctl(box), prop::EditBox::Content)); }
double box_number(const std::string& box) { return read_number(ctl(box)); }
void set_box_text(const std::string& box, const std::string& text) { rt_set_property(ctl(box), prop::EditBox::Content, text); }
std::string label_text(const std::string& label) { return cmd_to_text(rt_get_property(ctl(label), prop::Label::Caption)); }
void set_label_text(const std::string& label, const std::string& text) { rt_set_property(ctl(label), prop::Label::Caption, text); }

std::string combo_item_text(const std::string& combo) { return current_item_text(ctl(combo)); }

int combo_index(const std::string& combo) { return rt_get_property(ctl(combo), prop::ComboBox::CurrentIndex).integer(); }
int list_index(const std::string& list) { return rt_get_property(ctl(list), prop::ListBox::CurrentIndex).integer(); }

static_assert(prop::RadioBox::Checked == prop::CheckBox::Checked, "one reader serves both kinds");
bool is_checked(const std::string& name) { return rt_get_property(ctl(name), prop::CheckBox::Checked).truth(); }

namespace {
const char* const kWithInvert = "单选框_有仰拱";
const char* const kWithoutInvert = "单选框_无仰拱";
const char* const kLayoutBox = "图片框_布眼图";
const char* const kLog = "编辑框_提示";
const char* const kSplit = "组合框_方法2";
const char* const kMethod = "组合框_开挖方法";
} // namespace

void check_invert(const std::string& radio)
{
    const std::string other = radio == kWithInvert ? kWithoutInvert : kWithInvert;
    rt_set_property(ctl(other), prop::RadioBox::Checked, false);
    rt_set_property(ctl(radio), prop::RadioBox::Checked, true);
}

void show_picture(const std::string& picture_box, const char* path)
{
    rt_set_property(ctl(picture_box), prop::PicBox::Picture, Blob{resource(path)});
}

void show_message(const std::string& text) { cmd_message_box(text); }

// ---- panels by section -------------------------------------------------------------

namespace {

const char* const kPanels[] = {"分组框_上台阶", "分组框_中台阶参数表", "外形框_中台阶结果表", "分组框_下台阶",
                               "外形框_下台阶结果表", "分组框_圆形全断面"};

struct PanelLayout {
    const char* section;
    const char* picture;          // nullptr: the two-bench rule picks it
    std::vector<const char*> shown; // of kPanels; the others are hidden
    const char* upper_caption;
    const char* upper_group;      // 标签1_上台阶
    const char* second_caption;   // nullptr: unchanged
    const char* second_group;     // 标签2_中台阶; nullptr: unchanged
    int hole_rows;
};

const char* const kFullFaceUpper = "全断面开挖参数表";
const char* const kFullFaceGroup = "\r\n\r\n全断面爆破";

const std::vector<PanelLayout>& panel_layouts()
{
    static const std::vector<PanelLayout> t = {
        {section::kTwoBenches, nullptr, {"分组框_上台阶", "分组框_中台阶参数表", "外形框_中台阶结果表"},
         "上台阶开挖参数表", "\r\n\r\n\r\n上台阶", "下台阶参数表", "\r\n\r\n\r\n下台阶", 7},
        {section::kThreeBenches, picture::kThreeBenches,
         {"分组框_上台阶", "分组框_中台阶参数表", "外形框_中台阶结果表", "分组框_下台阶", "外形框_下台阶结果表"},
         "上台阶开挖参数表", "\r\n\r\n\r\n上台阶", "中台阶参数表", "\r\n\r\n\r\n中台阶", 9},
        {section::kStraightWall, picture::kStraightWall, {"分组框_上台阶"}, kFullFaceUpper, kFullFaceGroup, nullptr, nullptr, 4},
        {section::kCurvedWall, picture::kCurvedWall, {"分组框_上台阶"}, kFullFaceUpper, kFullFaceGroup, nullptr, nullptr, 4},
        {section::kHorseshoe, picture::kHorseshoe, {"分组框_上台阶"}, kFullFaceUpper, kFullFaceGroup, nullptr, nullptr, 4},
        {section::kCircular, picture::kCircular, {"分组框_圆形全断面"}, kFullFaceUpper, kFullFaceGroup, nullptr, nullptr, 4},
    };
    return t;
}

const char* const kHoleRows[] = {"上台阶掏槽眼", "      辅助眼", "      周边眼", "      底板眼", "中台阶辅助眼",
                                 "      周边眼", "      底板眼", "下台阶辅助眼", "      底板眼"};

// Steps 1 to 3 of the panel layout; gives the row applied, if any.
const PanelLayout* lay_out_panels()
{
    rt_set_property(ctl(kWithInvert), prop::Visible, false);
    rt_set_property(ctl(kWithoutInvert), prop::Visible, false);
    const std::string split = combo_item_text(kSplit);
    for (const PanelLayout& row : panel_layouts()) {
        if (split != row.section) continue;
        if (row.picture) show_picture(kLayoutBox, row.picture);
        for (const char* panel : kPanels) {
            bool shown = false;
            for (const char* s : row.shown) shown = shown || std::string(s) == panel;
            rt_set_property(ctl(panel), prop::Visible, shown);
        }
        rt_set_property(ctl("分组框_上台阶"), prop::GroupBox::Caption, row.upper_caption);
        set_label_text("标签1_上台阶", row.upper_group);
        if (row.second_caption) rt_set_property(ctl("分组框_中台阶参数表"), prop::GroupBox::Caption, row.second_caption);
        if (row.second_group) set_label_text("标签2_中台阶", row.second_group);
        if (row.picture == nullptr) {
            // Two benches always come back without the inverted arch and
            // with its large-area picture, whatever the area.
            check_invert(kWithoutInvert);
            if (is_checked(kWithInvert)) show_picture(kLayoutBox, picture::kTwoBenchesInvertSmall);
            if (is_checked(kWithoutInvert)) show_picture(kLayoutBox, picture::kTwoBenchesFlatLarge);
            rt_set_property(ctl(kWithInvert), prop::Visible, true);
            rt_set_property(ctl(kWithoutInvert), prop::Visible, true);
        }
        return &row;
    }
    return nullptr;
}

} // namespace

// ---- default inputs ------------------------------------------------------------------

namespace {

struct Default {
    const char* box;
    const char* text;
};

// Hole-row inputs of the three bench panels, written for every section.
const std::vector<Default> kHoleRowDefaults = {
    {"编辑框1_周边眼间距E", "0.5"}, {"编辑框1_周边眼最小抵抗线V", "0.625"}, {"编辑框1_周边眼装药集中度", "0.125"},
    {"编辑框1_辅助眼间距", "0.8"}, {"编辑框1_辅助眼最小抵抗线V", "0.8"}, {"编辑框1_底板眼间距", "0.6"},
    {"编辑框1_底板眼最小抵抗线", "0.6"}, {"编辑框2_周边眼间距E", "0.5"}, {"编辑框2_周边眼抵抗线V", "0.625"},
    {"编辑框2_辅助眼间距E", "0.8"}, {"编辑框2_辅助眼抵抗线V2", "0.8"}, {"编辑框2_底板眼间距E", "0.6"},
    {"编辑框2_底板眼抵抗线V1", "0.6"}, {"编辑框3_辅助眼间距E", "0.8"}, {"编辑框3_辅助眼抵抗线V", "0.8"},
    {"编辑框3_底板眼间距E", "0.6"}, {"编辑框3_底板眼抵抗线V", "0.6"},
};

// The upper panel's inputs per section, in the order they are written.
const char* const kUpperBoxes[] = {"编辑框1_上台阶面积", "编辑框1_开挖循环进尺", "编辑框1_周边眼外弧长",
                                   "编辑框1_坑道开挖宽度", "编辑框1_掏槽眼数量", "编辑框1_掏槽区作用高度",
                                   "编辑框1_掏槽区作用长度", "编辑框1_岩石夹制力系数", "编辑框1_单位体积岩体的耗药量"};
using UpperTexts = std::vector<const char*>;
const UpperTexts kStraightWallDefaults = {"10.05", "2", "7.483", "3.3", "6", "0.6", "0.6", "1.4", "1.25"};
const UpperTexts kCurvedWallDefaults = {"84.33", "2.4", "23.5", "11.648", "12", "0.9", "2.6", "1.0", "0.7"};
const UpperTexts kHorseshoeDefaults = {"55.33", "2.4", "21.04", "6.45", "8", "1.8", "2.0", "1.2", "0.7"};
const UpperTexts kTwoBenchInvertDefaults = {"63.1", "3.0", "19.92", "12.14", "12", "3.2", "1.8", "1.2", "0.7"};
const UpperTexts kTwoBenchFlatDefaults = {"65.09", "3.0", "20.30", "11.76", "12", "3.2", "1.8", "1.2", "0.7"};
const UpperTexts kThreeBenchDefaults = {"72.21", "2.4", "21.68", "16.16", "12", "3.2", "1.8", "1.2", "0.7"};

const std::vector<Default> kTwoBenchInvertSecond = {
    {"编辑框2_断面面积", "30.84"}, {"编辑框2_开挖循环进尺", "3.0"}, {"编辑框2_开挖面外弧长", "1.8"},
    {"编辑框2_底板长", "12.14"}, {"编辑框2_岩石夹制力系数", "0.8"}};
const std::vector<Default> kTwoBenchFlatSecond = {
    {"编辑框2_断面面积", "25.82"}, {"编辑框2_开挖循环进尺", "3.0"}, {"编辑框2_开挖面外弧长", "1.37"},
    {"编辑框2_底板长", "11.32"}, {"编辑框2_岩石夹制力系数", "0.8"}};
const std::vector<Default> kThreeBenchLower = {
    {"编辑框2_断面面积", "45.39"}, {"编辑框2_开挖循环进尺", "3.0"}, {"编辑框2_开挖面外弧长", "2.74"},
    {"编辑框2_底板长", "16.37"}, {"编辑框2_岩石夹制力系数", "0.8"}, {"编辑框3_断面面积", "37.92"},
    {"编辑框3_开挖循环进尺", "3.0"}, {"编辑框3_底板长", "18.69"}, {"编辑框3_岩石夹制力系数", "0.8"}};

void write_defaults(const std::vector<Default>& list)
{
    for (const Default& d : list) set_box_text(d.box, d.text);
}

void write_upper(const UpperTexts& texts)
{
    for (size_t i = 0; i < texts.size(); ++i) set_box_text(kUpperBoxes[i], texts[i]);
}

} // namespace

void set_defaults()
{
    write_defaults(kHoleRowDefaults);
    const std::string split = combo_item_text(kSplit);
    if (split == section::kStraightWall) write_upper(kStraightWallDefaults);
    if (split == section::kCurvedWall) write_upper(kCurvedWallDefaults);
    if (split == section::kHorseshoe) write_upper(kHorseshoeDefaults);
    const bool benches = combo_item_text(kMethod) == method::kBenches;
    if (benches && split == section::kTwoBenches && is_checked(kWithInvert)) {
        write_upper(kTwoBenchInvertDefaults);
        write_defaults(kTwoBenchInvertSecond);
    }
    if (benches && split == section::kTwoBenches && is_checked(kWithoutInvert)) {
        write_upper(kTwoBenchFlatDefaults);
        write_defaults(kTwoBenchFlatSecond);
    }
    if (benches && split == section::kThreeBenches) {
        write_upper(kThreeBenchDefaults);
        write_defaults(kThreeBenchLower);
    }
}

// ---- clearing the results ---------------------------------------------------------------

void clear_results()
{
    struct Block {
        const char* prefix;
        std::vector<const char*> rows;
    };
    static const Block blocks[] = {
        {"标签1_", {"掏槽眼", "辅助眼", "周边眼", "底板眼"}},
        {"标签2_", {"辅助眼", "周边眼", "底板眼"}},
        {"标签3_", {"辅助眼", "底板眼"}},
    };
    for (const char* column : {"炮眼深度", "炮眼数目", "每孔药卷数", "单孔装药量", "小计药量"})
        for (const Block& b : blocks)
            for (const char* row : b.rows) set_label_text(std::string(b.prefix) + row + column, "");
    for (const char* total : {"标签1_炮眼数量合计1", "标签2_炮眼数量合计", "标签3_炮眼数量合计", "标签1_炸药数量合计1",
                              "标签2_炸药数量合计", "标签3_炸药数量合计"})
        set_label_text(total, "-");
    set_box_text(kLog, "");
    // The tables no longer show the last calculation's results, even should
    // the inputs come back to what it read: the next export waits for a new
    // one. (A calculation that is running notices the new choice itself.)
    if (!computing()) discard_results(kForm);
}

// ---- handlers -----------------------------------------------------------------------------

namespace {

void SmoothBlastingFormCreated(EventArgs&)
{
    const app::ModuleForm* m = app::find_module_form(kForm);
    // Loaded on its own (a test of this form), it has no frame to go to.
    if (m && cmd_is_created(U(app::kMainForm, m->frame))) app::embed_in_frame(kForm, m->frame, m->left, m->top, m->size);
    rt_set_property(ctl("图形按钮_导出"), prop::Disabled, false);
    show_picture(kLayoutBox, picture::kStart);
    attach_tips();
}

void SmoothBlastingFillSubMethods(EventArgs&)
{
    const std::string chosen = combo_item_text(kMethod);
    if (chosen == method::kFullFace) {
        cmd_combo_clear(ctl(kSplit));
        for (const char* s : {section::kStraightWall, section::kHorseshoe, section::kCurvedWall, section::kCircular})
            cmd_combo_add_item(ctl(kSplit), s);
        show_picture(kLayoutBox, picture::kStraightWall);
    }
    if (chosen == method::kBenches) {
        rt_set_property(ctl(kSplit), prop::Visible, true);
        cmd_combo_clear(ctl(kSplit));
        for (const char* s : {section::kThreeBenches, section::kTwoBenches}) cmd_combo_add_item(ctl(kSplit), s);
    }
    // Raises nothing: the panels wait for a choice in the split box.
    rt_set_property(ctl(kSplit), prop::ComboBox::CurrentIndex, 0);
    cmd_set_focus(ctl(kLog));
    clear_results();
}

void SmoothBlastingShowMethodPanels(EventArgs&)
{
    if (const PanelLayout* row = lay_out_panels()) {
        cmd_list_clear(ctl("列表框3"));
        for (int i = 0; i < row->hole_rows; ++i) cmd_list_add_item(ctl("列表框3"), kHoleRows[i]);
    }
    cmd_set_focus(ctl(kLog));
    set_defaults();
    clear_results();
}

void SmoothBlastingRefreshMethodPanels()
{
    lay_out_panels();
    cmd_set_focus(ctl(kLog));
}

void SmoothBlastingSelectInvert(EventArgs& e)
{
    const bool with_invert = e.control && e.control->name == kWithInvert;
    // The clicked box keeps its mark and the other loses it.
    check_invert(with_invert ? kWithInvert : kWithoutInvert);
    if (combo_item_text(kSplit) == section::kTwoBenches) {
        // The area in the box at the click decides, before the defaults overwrite it.
        const bool large = tol_ge(box_number("编辑框1_上台阶面积"), 75);
        const char* pic = with_invert ? (large ? picture::kTwoBenchesInvertLarge : picture::kTwoBenchesInvertSmall)
                                      : (large ? picture::kTwoBenchesFlatLarge : picture::kTwoBenchesFlatSmall);
        show_picture(kLayoutBox, pic);
        if (cmd_is_created(U("viewer"))) app::ShowDiagram(resource(pic), true);
    }
    set_box_text(kLog, "");
    set_defaults();
    clear_results();
}

void SmoothBlastingTabChanged(EventArgs&)
{
    const int page = rt_get_property(ctl("选择夹1"), prop::Tab::CurrentPage).integer();
    if (page == 0) SmoothBlastingRefreshMethodPanels();
    if (page == 1) enter_layout_page();
}

void SmoothBlastingCopyAdvance(EventArgs&) { set_box_text("编辑框1_项目采用进尺", box_text("编辑框1_开挖循环进尺")); }

void SmoothBlastingDerivePerimeterBurden(EventArgs&)
{
    set_box_text("编辑框2_周边眼抵抗线V", cmd_to_text(box_number("编辑框2_周边眼间距E") * 1.25));
}

void register_smooth_blasting(Runtime& rt)
{
    rt.register_handler("SmoothBlastingFormCreated", SmoothBlastingFormCreated);
    rt.register_handler("SmoothBlastingFillSubMethods", SmoothBlastingFillSubMethods);
    rt.register_handler("SmoothBlastingShowMethodPanels", SmoothBlastingShowMethodPanels);
    rt.register_handler("SmoothBlastingSelectInvert", SmoothBlastingSelectInvert);
    rt.register_handler("SmoothBlastingTabChanged", SmoothBlastingTabChanged);
    rt.register_handler("SmoothBlastingCopyAdvance", SmoothBlastingCopyAdvance);
    rt.register_handler("SmoothBlastingDerivePerimeterBurden", SmoothBlastingDerivePerimeterBurden);
}

} // namespace
JSB_HANDLERS(register_smooth_blasting)

} // namespace blast_design

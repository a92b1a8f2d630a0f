// The input side of the trestle bridge: the vehicles that use it, the
// heaviest vehicle's axle loads, the bridge geometry, the I-beam section,
// the load positions and the diagram labels that follow them.
//
// Every derived box is written by the content-changed handler of the box it
// depends on, and each write runs the written box's own handler at once,
// nested, before the writer goes on: the chains below rely on that order.
#include "modules/equipment/trestle.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace trestle {

using namespace ui;

namespace {

Ref box(const std::string& name) { return U(kForm, name); }
// A number the derived boxes are worked out from, with the domain the form
// gives its box: a text outside it reads as no value, and the derived box
// shows "-".
double number(const std::string& name) { return read_number(box(name)); }
std::string text(const std::string& name) { return control_text(box(name)); }
// What a diagram label repeats of a box: its text as typed while the box
// holds a figure its domain accepts, "-" otherwise. A drawing labelled
// "单片0.00225根" or with a wheelbase of "-0" describes a bridge or a vehicle
// that the check refuses.
std::string figure(const std::string& name) { return std::isnan(number(name)) ? std::string("-") : text(name); }
void write(const std::string& name, const std::string& t) { set_control_text(box(name), t); }

// --- vehicles ------------------------------------------------------------------------

struct Vehicle {
    const char* key;
    const char* texts[5]; // empty weight, loaded weight, track width, tyre width, clear width
};
const Vehicle kVehicles[] = {
    {"装载机", {"16.36", "21.36", "2780", "56.69", "2160"}},
    {"自卸车", {"12.5", "40", "2500", "28.32", "1860"}},
    {"砼运输车", {"13.35", "25", "2498", "28.32", "1860"}},
    {"挖掘机", {"23.1", "25", "2980", "-", "-"}},
    {"凿岩机", {"46.5", "46.5", "2930", "-", "-"}},
    {"其它", {"-", "-", "-", "-", "-"}},
};

// One handler serves the five rows; the row is the combo box's last digit.
void set_equipment_row(EventArgs& e)
{
    if (!e.control || e.control->name.empty()) return;
    const std::string row = e.control->name.substr(e.control->name.size() - 1);
    const std::string kind = current_item_text(box(e.control->name));
    for (const Vehicle& v : kVehicles) {
        if (kind != v.key) continue;
        // The loaded weight runs the heaviest-load chain before the widths are written.
        for (int i = 0; i < 5; ++i) write(kRowColumns[i] + row, v.texts[i]);
    }
}

// The heaviest loaded weight of the rows, as typed: the check and the report
// take this very weight. Rounded to whole tonnes, 55.45 t would be checked
// as 55 t and pass where it fails; held in an integer, a slip to
// 3000000000 t could wrap round to a light vehicle. A row whose weight says
// nothing ("-", empty) has no vehicle to weigh; a weight that is no figure
// above zero leaves the heaviest unknown.
void find_heaviest_load()
{
    double heaviest = std::numeric_limits<double>::quiet_NaN();
    bool known = true;
    for (int row = 1; row <= 5; ++row) {
        const std::string weight = "编辑框1_重载重量" + std::to_string(row);
        if (says_nothing(text(weight))) continue;
        const double w = number(weight);
        if (std::isnan(w)) known = false;
        else if (std::isnan(heaviest) || w > heaviest) heaviest = w;
    }
    write_number(box("编辑框1_最重"), known ? heaviest : std::numeric_limits<double>::quiet_NaN());
}
void heavy_load_changed(EventArgs&) { find_heaviest_load(); }

// --- axle and wheel loads ------------------------------------------------------------

// A load or length worked out from two others that comes out below zero
// (a front axle above the heaviest weight, a span above the total length)
// belongs to no vehicle or bridge: it shows "-", as does what follows from it.
void write_derived(const char* name, double x)
{
    write_number(box(name), x < 0 ? std::numeric_limits<double>::quiet_NaN() : x);
}

void rear_axle_from_heaviest() { write_derived("编辑框1_后桥重量", number("编辑框1_最重") - number("编辑框1_前桥重量")); }
void derive_rear_axle_from_heaviest(EventArgs&) { rear_axle_from_heaviest(); }

void derive_front_wheel_load(EventArgs&)
{
    write_rounded(box("编辑框1_单前轮受重"), number("编辑框1_前桥重量") / 2, 2);
    rear_axle_from_heaviest();
}

// The rear axle load is the whole two-axle rear bogie; the beam check puts
// the single rear-wheel load on each of its two axles under one wheel line.
// So each rear wheel carries a quarter of it: half for the wheel line, half
// again for the axle. A rear axle load that shows "-" was not finite: so is
// the wheel load.
void derive_rear_wheel_load(EventArgs&)
{
    write_rounded(box("编辑框1_单后轮受重"), read_result(box("编辑框1_后桥重量")) / 4, 2);
}

// --- bridge geometry -----------------------------------------------------------------

void derive_widths(EventArgs&)
{
    const double A = number("编辑框1_梁轴线宽度"), B = number("编辑框1_单片梁宽度");
    write_rounded(box("编辑框1_栈桥总宽度"), A + (B / 2) * 2, 2);
    write("透明标签1_梁轴线宽度", figure("编辑框1_梁轴线宽度"));
    write("透明标签1_单片梁宽度1", figure("编辑框1_单片梁宽度"));
    write("透明标签1_单片梁宽度2", figure("编辑框1_单片梁宽度"));
    // The axis width less half of one beam width, as the diagram has it.
    write_rounded(box("透明标签1_间隔宽度"), number("编辑框1_梁轴线宽度") - number("编辑框1_单片梁宽度") / 2, 2);
}

void overlap()
{
    write_derived("编辑框1_单侧搭接长度", round_places((number("编辑框1_栈桥总长") - number("编辑框1_栈桥净跨")) / 2, 2));
}
void derive_overlap_from_length(EventArgs&) { overlap(); }

void derive_overlap_from_span(EventArgs&)
{
    overlap();
    write("透明标签3", "栈桥净跨" + figure("编辑框1_栈桥净跨")); // the span as typed, or "-"
    compute_load_positions();
}

void derive_wheelbase(EventArgs&)
{
    compute_load_positions();
    write("透明标签1_轴距a", figure("编辑框1_轴距"));
    write("透明标签1_轴距b", figure("编辑框1_轴距"));
    const std::string w = text("编辑框1_轴距");
    write("编辑框1_b0", w);
    write("编辑框1_b1", w);
}

void derive_rear_axle_spacing(EventArgs&)
{
    write("透明标签1_后桥轴距a", figure("编辑框1_后桥轴距a"));
    write("透明标签1_后桥轴距b", figure("编辑框1_后桥轴距a"));
    const std::string s = text("编辑框1_后桥轴距a");
    write("编辑框1_c0", s);
    write("编辑框1_c1", s);
    compute_load_positions();
}

void show_beam_count(EventArgs&)
{
    const std::string n = figure("编辑框1_工字钢梁数");
    write("透明标签1_工字钢梁数1", n + "根工字钢均布");
    write("透明标签1_工字钢梁数2", "两片梁，单片" + n + "根工字钢焊接而成");
}

// --- diagram labels ------------------------------------------------------------------

// Each box's text goes, unchanged, into its labels on the diagrams.
const std::vector<std::pair<const char*, std::vector<const char*>>> kMirrors = {
    {"编辑框1_单侧搭接长度", {"透明标签5"}}, // then 透明标签4 takes 透明标签5's caption
    {"编辑框1_a0", {"透明标签_a"}},
    {"编辑框1_b0", {"透明标签1_轴距a", "透明标签1_轴距b"}},
    {"编辑框1_c0", {"透明标签1_后桥轴距b"}},
    {"编辑框1_d0", {"透明标签_d"}},
    {"编辑框1_a1", {"透明标签_aa"}},
    {"编辑框1_b1", {"透明标签1_轴距bb"}},
    {"编辑框1_c1", {"透明标签1_后桥轴距cc"}},
};

void mirror(EventArgs& e)
{
    if (!e.control) return;
    for (const auto& [source, labels] : kMirrors) {
        if (e.control->name != source) continue;
        for (const char* l : labels) write(l, figure(source));
        if (e.control->name == "编辑框1_单侧搭接长度") write("透明标签4", text("透明标签5"));
    }
}

// --- load positions ------------------------------------------------------------------

const char* const kPositionsManualOrder[] = {"编辑框1_a1", "编辑框1_b1", "编辑框1_c1", "编辑框1_a0", "编辑框1_b0", "编辑框1_c0", "编辑框1_d0"};
const char* const kPositions[] = {"编辑框1_a0", "编辑框1_b0", "编辑框1_c0", "编辑框1_d0", "编辑框1_a1", "编辑框1_b1", "编辑框1_c1"};

void toggle_auto_analysis(EventArgs&)
{
    const Ref check = box("选择框1");
    if (rt_get_property(check, prop::CheckBox::Checked).truth()) {
        rt_set_property(check, prop::CheckBox::Caption, std::string("自动分析"));
        for (const char* p : kPositions) rt_set_property(box(p), prop::Disabled, true);
        rt_set_property(check, prop::CheckBox::TextColor, 0x808080);
        compute_load_positions();
    } else {
        for (const char* p : kPositionsManualOrder) rt_set_property(box(p), prop::Disabled, false);
        rt_set_property(check, prop::CheckBox::TextColor, 0);
        rt_set_property(check, prop::CheckBox::Caption, std::string("手动设置"));
    }
    cmd_set_focus(box("图片框4"));
}

// --- I-beam sections -----------------------------------------------------------------

// The texts each section writes into the section boxes, as the table gives them.
struct Section {
    const char* key;
    const char* mass; // kg/m
    const char* d;    // web thickness, mm
    const char* ix;   // cm4
    const char* wx;   // cm3
    const char* sx;   // cm3
};
const Section kSections[] = {
    {"I16", "20.50", "6.0", "1126.9", "140.9", "80.8"},
    {"I18", "24.13", "6.5", "1668.9", "185.4", "106.5"},
    {"I20a", "27.91", "7.0", "2368.6", "236.9", "136.1"},
    {"I20b", "31.05", "9.0", "2501.9", "250.2", "146.1"},
    {"I22a", "33.05", "7.5", "3405.9", "309.6", "177.7"},
    {"I22b", "36.5", "9.5", "3583.4", "325.8", "189.8"},
    {"I25a", "38.08", "8.0", "5017.3", "401.4", "230.7"},
    {"I25b", "42.01", "10.0", "5277.7", "422.2", "246.3"},
    {"I28a", "43.47", "8.5", "7115.3", "508.2", "292.7"},
    {"I28b", "47.86", "10.5", "7481.2", "534.4", "312.3"},
    {"I32a", "52.69", "9.5", "11080.3", "692.5", "400.5"},
    {"I32b", "57.71", "11.5", "11626.4", "726.7", "426.1"},
    {"I32c", "62.74", "13.5", "12172.6", "760.8", "451.7"},
    {"I36a", "60.00", "10.0", "15796.0", "877.6", "508.8"},
    {"I36b", "65.66", "12.0", "16573.6", "920.8", "541.2"},
    {"I36c", "71.31", "14.0", "17351.2", "964.0", "573.6"},
    {"I40a", "67.56", "10.5", "21714.1", "1085.7", "631.2"},
    {"I40b", "73.84", "12.5", "22780.7", "1139.0", "671.2"},
    {"I40c", "80.12", "14.5", "23847.4", "1192.4", "711.2"},
    {"I45a", "80.38", "11.5", "32240.5", "1432.9", "836.4"},
    {"I45b", "87.45", "13.5", "33759.3", "1500.4", "887.1"},
    // Within a family a thicker web adds to Sx: I45a 836.4, I45b 887.1, I45c 937.7.
    {"I45c", "94.51", "15.5", "35278.0", "1567.9", "937.7"},
    {"I50a", "93.61", "12.0", "46472.3", "1858.9", "1084.1"},
};

const Section* find_section(const std::string& key)
{
    for (const Section& s : kSections)
        if (key == s.key) return &s;
    return nullptr;
}

void select_beam_section(EventArgs&)
{
    const Section* s = find_section(current_item_text(box("列表框1")));
    if (!s) return;
    write("编辑框1_质量", s->mass);
    write("编辑框1_d", s->d);
    write("编辑框1_Ix", s->ix);
    write("编辑框1_Wx", s->wx);
    write("编辑框1_Sx", s->sx);
    write_rounded(box("编辑框1_除Sx"), number("编辑框1_Ix") / number("编辑框1_Sx"), 2);
}

// --- tips ------------------------------------------------------------------------------

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框1_轴距", "设备车轮前轴与后轴的中心距离"},
        {"编辑框1_后桥轴距a", "设备车轮后轴与后轴的中心距离"},
        {"编辑框1_前桥重量", "设备前轴个左右车轮分担的荷载量"},
        {"编辑框1_后桥重量", "设备后轴左右侧车轮分担的荷载量"},
        {"编辑框1_单前轮受重", "设备前轴一侧轮胎的荷载量"},
        {"编辑框1_单后轮受重", "设备后轴一侧轮胎的荷载量"},
        {"编辑框1_栈桥总长", "栈桥设备的加工长度（含两端搭接长度）"},
        {"编辑框1_栈桥净跨", "指栈桥除搭板长度外的跨距）"},
        {"编辑框1_梁轴线宽度", "指栈桥由两片梁的中心至中心的距离"},
        {"编辑框1_工字钢梁数", "组成单片梁的均布工字钢数量（根）"},
        {"选择框1", "按照常规分析受力！可手动"},
        {"列表框1", "选择组成栈桥的工字钢型号！"},
    };
    for (const auto& [control, tip] : tips) cmd_attach_tip(box("气球提示框1"), box(control), tip);
}
JSB_MODULE_SETUP(Trestle, attach_tips)

void register_trestle_inputs(Runtime& rt)
{
    rt.register_handler("TrestleSetEquipmentRow", set_equipment_row);
    rt.register_handler("TrestleHeavyLoadChanged", heavy_load_changed);
    rt.register_handler("TrestleDeriveRearAxleFromHeaviest", derive_rear_axle_from_heaviest);
    rt.register_handler("TrestleDeriveFrontWheelLoad", derive_front_wheel_load);
    rt.register_handler("TrestleDeriveRearWheelLoad", derive_rear_wheel_load);
    rt.register_handler("TrestleDeriveWidths", derive_widths);
    rt.register_handler("TrestleDeriveOverlapFromLength", derive_overlap_from_length);
    rt.register_handler("TrestleDeriveOverlapFromSpan", derive_overlap_from_span);
    rt.register_handler("TrestleDeriveWheelbase", derive_wheelbase);
    rt.register_handler("TrestleDeriveRearAxleSpacing", derive_rear_axle_spacing);
    rt.register_handler("TrestleShowBeamCount", show_beam_count);
    rt.register_handler("TrestleMirrorToTwoLabels", mirror);
    rt.register_handler("TrestleMirrorDistance", mirror);
    rt.register_handler("TrestleToggleAutoAnalysis", toggle_auto_analysis);
    rt.register_handler("TrestleSelectBeamSection", select_beam_section);
}

} // namespace

bool says_nothing(const std::string& t)
{
    const size_t first = t.find_first_not_of(" \t");
    return first == std::string::npos || t.compare(first, t.find_last_not_of(" \t") - first + 1, "-") == 0;
}

// The span, the wheelbase and the rear-axle spacing are read as their boxes
// accept them: a position built on one that is no figure (empty, "-0")
// shows "-", not a place worked out from 0. Segment a is the routine's own
// figure, read back as it stands, so that d is L/2 - c whatever a is.
void compute_load_positions()
{
    const double L = number("编辑框1_栈桥净跨"), W = number("编辑框1_轴距");
    write_number(box("编辑框1_a0"), L / 2 - W);
    write("编辑框1_b0", text("编辑框1_轴距"));
    write("编辑框1_c0", text("编辑框1_后桥轴距a"));
    write_number(box("编辑框1_d0"), number("编辑框1_栈桥净跨") - plain_number(text("编辑框1_a0")) - number("编辑框1_b0") -
                                        number("编辑框1_c0"));
    write("编辑框1_b1", text("编辑框1_轴距"));
    write("编辑框1_c1", text("编辑框1_后桥轴距a"));
    write_number(box("编辑框1_a1"), number("编辑框1_栈桥净跨") - number("编辑框1_b1") - number("编辑框1_c1"));
}

JSB_HANDLERS(register_trestle_inputs)

} // namespace trestle

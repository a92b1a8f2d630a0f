// The temporary water supply module (form `WaterSupply`): the height of a
// gravity-fed tank above the distribution point, the head of the pump that
// fills it, the domestic water of the workforce and the tank volume, and a
// converter of a flow from L/s to m3/h.
#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/ventilation/water_supply.h"
#include "ui/cmd.h"
#include "ui/value.h"

#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace water_supply {

using namespace ui;

namespace {

constexpr const char* kForm = "WaterSupply";
constexpr const char* kLog = "编辑框_提示";
constexpr const char* kVolumeCaption = "标签_20";

constexpr const char* kSourceSmaller = "小于用水量";
constexpr const char* kSourceLarger = "大于用水量";

Ref box(const char* name) { return U(kForm, name); }

// Inputs read outside their domain (forms/WaterSupply.json) are not a
// number, and make the calculation give no results.
double input(const char* name) { return read_number(box(name)); }

// Each result is written rounded and later steps read it back, so they work
// with the value the user sees. A result that was not finite shows "-";
// read back it stays not a number instead of counting as 0.
// Every figure here is an amount the site needs (water, head, storage): it
// is shown rounded up, never short of what was worked out.
void result(const char* name, double x, int places) { write_rounded_up(box(name), x, places); }
double shown(const char* name) { return read_result(box(name)); }

// Enabled only while the source gives less than the demand, in this order.
constexpr const char* kDemandInputs[] = {
    "组合框_昼夜用水量", "编辑框_贮水系数", "编辑框_生产工人", "编辑框_非生产工人", "编辑框_生活用水量",
    "编辑框_生产用水量", "编辑框_调节系数", "编辑框_用水系数生产工人", "编辑框_用水系数非生产工人",
};

constexpr const char* kResults[] = {"编辑框_生活用水量", "编辑框_水池高差", "编辑框_水泵扬程", "编辑框_水池容积"};

constexpr const char* kDailyUse = "组合框_昼夜用水量";
constexpr const char* kStorage = "编辑框_贮水系数";

// The classes of daily use of 组合框_昼夜用水量, in its order: the tank holds
// 1/4~1/6 of the daily use below 1000 m3, 1/6~1/8 from 1000 to 2000 m3; the
// factor a choice of the class writes.
struct StorageClass {
    const char* item;
    double low, high;
    const char* factor;
};
constexpr StorageClass kStorageClasses[] = {
    {"小于1000m3", 1.0 / 6, 1.0 / 4, "0.2"},
    {"1000~2000m3", 1.0 / 8, 1.0 / 6, "0.143"},
};

Calculated g_last;

// The class follows the daily use the calculation works out, not the list's
// choice: a tank for 1505 m3 a day stores 1/6~1/8 of it whatever the list
// said. A factor already typed inside the class's range stays; another takes
// the class's own. Above 2000 m3 the last class stands.
void storage_class_of_daily_use(double daily)
{
    if (!std::isfinite(daily)) return; // no daily use: no class to choose
    const int index = daily < 1000 ? 0 : 1;
    const StorageClass& k = kStorageClasses[index];
    g_last.daily = daily;
    g_last.beyond_table = daily > 2000;
    g_last.daily_use = k.item;
    if (current_item_text(box(kDailyUse)) != k.item) rt_set_property(box(kDailyUse), prop::ComboBox::CurrentIndex, index);
    const double C = input(kStorage);
    if (!std::isnan(C) && !(tol_ge(C, k.low) && tol_le(C, k.high))) set_control_text(box(kStorage), k.factor);
}

void calculate()
{
    g_last = Calculated{};
    set_control_text(box(kLog), "");
    result("编辑框_生活用水量", // Qs = (Ms·s + Mf·f) / 24
           (input("编辑框_生产工人") * input("编辑框_用水系数生产工人") +
            input("编辑框_非生产工人") * input("编辑框_用水系数非生产工人")) /
               24,
           1);
    // h follows the equipment pressure as the program wrote it.
    result("编辑框_水池高差", 1.2 * input("编辑框_配水点要求水头") + input("编辑框_水头损失系数") * input("编辑框_管道内水头损失"),
           2); // H = 1.2·h + a·hf
    result("编辑框_水泵扬程", input("编辑框_水头损失系数") * shown("编辑框_水池高差"), 1); // H′ = a·H
    const std::string source = current_item_text(box("组合框_水源流量"));
    if (source == kSourceSmaller) {
        // The factor C follows the daily use; the report names both.
        const double Qs = shown("编辑框_生活用水量"), Qc = input("编辑框_生产用水量");
        g_last.Qs = control_text(box("编辑框_生活用水量"));
        g_last.Qc = control_text(box("编辑框_生产用水量"));
        storage_class_of_daily_use((Qs + Qc) * 24);
        rt_set_property(box(kVolumeCaption), prop::Label::Caption, "水源小于用水量，需水池容积V(m3)");
        result("编辑框_水池容积", // V = α1·C·(Qs + Qc)·24
               input("编辑框_调节系数") * input(kStorage) * (Qs + Qc) * 24, 0);
    } else if (source == kSourceLarger) {
        // A spring above the site that gives more than the peak demand needs
        // only a small balancing tank.
        g_last.spring_fed = true;
        rt_set_property(box(kVolumeCaption), prop::Label::Caption,
                        "利用高山自流供水,且水源流量大于用水高峰流量时,需水池容积V(m3)");
        set_control_text(box("编辑框_水池容积"), "20~30");
    } else {
        set_control_text(box("编辑框_水池容积"), "-"); // no source chosen
    }
    // A result that could not be worked out leaves nothing to report, and
    // the log does not say the calculation was completed.
    if (refuse_unless_shown(kForm, kResults)) cmd_edit_append(box(kLog), {"\r\n   计算完成！"});
}

} // namespace

const Calculated& last_calculation() { return g_last; }

namespace {

void attach_tips()
{
    static const std::pair<const char*, const char*> tips[] = {
        {"编辑框_洞内设备需要水压", "根据设备需求确定，如湿式凿岩需要水压为0.3MPa"},
        {"编辑框_水头损失系数", "一般取值1.05~1.0"},
        {"编辑框_调节系数", "取1.10~1.20 "},
        {"编辑框_用水系数生产工人", "平均0.1~0.15m3/d "},
        {"编辑框_用水系数非生产工人", "平均取0.08~1.12m3/d"},
        {"编辑框_生产用水量", "根据现场设备进行统计，经验数据！"},
        {"编辑框_贮水系数", "贮水系数(为水池容量/昼夜用水量),昼夜用水量小于1000m3时，采用1/4~1/6\r\n"
                            "夜用水量在1000~2000m3 时，采用 1/6~1/8；"},
    };
    for (const auto& [control, text] : tips) cmd_attach_tip(box("气球提示框1"), box(control), text);
}
JSB_MODULE_SETUP(WaterSupply, attach_tips)

void compute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm); // pressed picture, no lamp, no pause
    app::compute_begin(kForm, style);
    calculate();
    app::compute_end(kForm, style);
}

void set_storage_coefficient(EventArgs&)
{
    const std::string daily = current_item_text(box(kDailyUse));
    for (const StorageClass& k : kStorageClasses)
        if (daily == k.item) set_control_text(box(kStorage), k.factor);
    cmd_set_focus(box(kLog));
}

void toggle_demand_inputs(EventArgs&)
{
    const int index = rt_get_property(box("组合框_水源流量"), prop::ComboBox::CurrentIndex).integer();
    if (index == 0 || index == 1)
        for (const char* name : kDemandInputs) rt_set_property(box(name), prop::Disabled, index == 0);
    cmd_set_focus(box(kLog));
}

// The converters follow typing only: a write by the program (or the box
// tidying its number when it loses the focus) changes nothing else.
void convert_flow(EventArgs&)
{
    if (!cmd_has_focus(box("编辑框1"))) return;
    set_control_text(box("编辑框2"), cmd_to_text(input("编辑框1") * 3600 / 1000)); // L/s to m3/h
}

void head_from_pressure(EventArgs&)
{
    if (!cmd_has_focus(box("编辑框_洞内设备需要水压"))) return;
    set_control_text(box("编辑框_配水点要求水头"), cmd_to_text(input("编辑框_洞内设备需要水压") * 100)); // 1 MPa is 100 m of head
}

void lookup_steel_pipe(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/supply/water_head_loss_steel.png"), 580, 580);
}

void lookup_cast_iron_pipe(EventArgs&)
{
    app::ShowLookupPicture(resource("resources/pictures/supply/water_head_loss_cast_iron.png"), 580, 580);
}

void register_water_supply(Runtime& rt)
{
    rt.register_handler("WaterSupplyCompute", compute);
    rt.register_handler("WaterSupplySetStorageCoefficient", set_storage_coefficient);
    rt.register_handler("WaterSupplyToggleDemandInputs", toggle_demand_inputs);
    rt.register_handler("WaterSupplyConvertFlow", convert_flow);
    rt.register_handler("WaterSupplyHeadFromPressure", head_from_pressure);
    rt.register_handler("WaterSupplyLookupSteelPipeHeadLoss", lookup_steel_pipe);
    rt.register_handler("WaterSupplyLookupCastIronHeadLoss", lookup_cast_iron_pipe);
}

} // namespace

JSB_HANDLERS(register_water_supply)

} // namespace water_supply

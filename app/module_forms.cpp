#include "app/module_forms.h"

#include "app/main_window.h"
#include "app/registry.h"
#include "ui/cmd.h"

#include <map>

namespace app {

namespace {
using FS = FrameSize;

// pressed, also hover, lamp, pause before restore
constexpr ComputeStyle kPressedLamp{true, false, true, 0};
constexpr ComputeStyle kPressedOnly{true, false, false, 0};

const std::vector<ModuleForm> kModules = {
    {"TunnelEvaluation", "外形框_隧道评估", 5, 5, FS::Client, false, false, {true, true, true, 0}},
    {"MethodSelection", "外形框1_工期计算", 5, 5, FS::ClientMinus10, false, false, kPressedLamp},
    {"SmoothBlasting", "外形框1_光面爆破", 2, 2, FS::Client, true, true, {true, true, true, 500}},
    {"ControlledBlasting", "外形框1_控制爆破", 2, 2, FS::Client, true, false, {true, false, true, 500}},
    // Blast effect presses its button around the solving step only and
    // shows the lamp idle at start and end: its handler says so itself.
    {"BlastEffect", "外形框1_爆破影响", 2, 2, FS::Client, true, false, {false, false, false, 0}},
    {"StaticBreaking", "外形框1_静态爆破", 2, 2, FS::Client, true, false, {false, false, true, 0}},
    {"ShallowHole", "外形框1_浅孔爆破", 5, 5, FS::Client, true, false, kPressedLamp},
    {"DeepHole", "外形框1_深孔爆破", 5, 5, FS::Client, true, false, kPressedLamp},
    {"Flyrock", "外形框2_飞石距离", 0, 0, FS::Client, true, false, {false, false, true, 0}},
    {"AdvanceSchedule", "外形框1_隧道开挖", 5, 5, FS::ClientMinus10, true, false, {true, false, true, 500}},
    {"Ventilation", "外形框_隧道通风", 5, 5, FS::ClientMinus10, true, true, kPressedLamp},
    {"EarthSlope", "外形框1_601土方放坡安全计算", 5, 5, FS::Kept, true, false, {false, false, false, 0}},
    {"VerticalCut", "外形框1_601土方垂直安全计算", 5, 5, FS::Kept, true, false, kPressedOnly},
    {"Mucking", "外形框1_隧道渣车", 5, 5, FS::Kept, true, false, kPressedLamp},
    {"ExcavatorOutput", "外形框1_挖掘机生产率及需用数量计算", 5, 5, FS::Kept, true, false, kPressedLamp},
    {"ExcavatorTrucks", "外形框1_挖掘机工期及渣车", 5, 5, FS::Kept, true, false, kPressedOnly},
    {"Roller", "外形框1_压路机计算", 5, 5, FS::Kept, true, false, kPressedOnly},
    {"Bulldozer", "外形框1_推土机计算", 5, 5, FS::Kept, true, false, kPressedOnly},
    {"RockDrill", "外形框1_爆破凿岩机", 5, 5, FS::Kept, true, false, kPressedOnly},
    {"Trestle", "外形框1_隧道仰拱栈桥", 5, 5, FS::Kept, true, false, kPressedLamp},
    {"AirSupply", "外形框1_供风计算", 5, 5, FS::ClientMinus10, true, false, {true, false, false, 500}},
    {"WaterSupply", "外形框1_供水计算", 5, 5, FS::ClientMinus10, true, false, kPressedOnly},
};

std::multimap<std::string, ModuleSetup>& setups()
{
    static std::multimap<std::string, ModuleSetup> m;
    return m;
}
} // namespace

const std::vector<ModuleForm>& module_forms() { return kModules; }

const ModuleForm* find_module_form(const std::string& form)
{
    for (const ModuleForm& m : kModules)
        if (form == m.form) return &m;
    return nullptr;
}

ComputeStyle compute_style(const std::string& form)
{
    const ModuleForm* m = find_module_form(form);
    return m ? m->compute : ComputeStyle{};
}

bool add_module_setup(const char* form, ModuleSetup fn)
{
    setups().emplace(form, fn);
    return true;
}

void ModuleFormCreated(const std::string& form)
{
    const ModuleForm* m = find_module_form(form);
    if (!m) return;
    // Loaded on its own (a test of one module), a form has no frame to go to.
    if (ui::cmd_is_created(ui::U(kMainForm, m->frame))) embed_in_frame(m->form, m->frame, m->left, m->top, m->size);
    if (m->exports) ui::rt_set_property(ui::U(form, "图形按钮_导出"), ui::prop::Disabled, false);
    auto [from, to] = setups().equal_range(form);
    for (auto it = from; it != to; ++it) it->second();
}

void LoadModuleForms()
{
    // Results are not examined: a form that fails to load leaves its frame empty.
    for (const ModuleForm& m : kModules) ui::cmd_load_form(m.form, kMainForm, false);
}

namespace {
void register_module_forms(ui::Runtime& rt)
{
    for (const ModuleForm& m : kModules) {
        if (m.own_created) continue;
        std::string form = m.form;
        rt.register_handler(form + "FormCreated", [form](ui::EventArgs&) { ModuleFormCreated(form); });
    }
}
} // namespace
JSB_HANDLERS(register_module_forms)

} // namespace app

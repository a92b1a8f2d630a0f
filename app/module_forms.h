#pragma once
// The 22 module forms as the shell hosts them: in load order, each with its
// frame on the main window, how it sits there and how its compute button
// behaves while it calculates.
#include "app/shell.h"

#include <string>
#include <vector>

namespace app {

struct ModuleForm {
    const char* form;       // "Roller"
    const char* frame;      // its ShapeBox on the main window
    int left, top;          // offset in the frame
    FrameSize size;
    bool exports;           // carries 图形按钮_导出 and the export controls
    bool own_created;       // its own engineer writes its Created handler
    ComputeStyle compute;   // pressed picture, lamp and pause of its compute frame
};

// In the order the main window loads them.
const std::vector<ModuleForm>& module_forms();
const ModuleForm* find_module_form(const std::string& form);

// The compute frame of a module: compute_begin/compute_end with its style.
ComputeStyle compute_style(const std::string& form);

// Module-specific steps of a module's Created handler (its balloon tips, a
// starting picture, a chart): they run after the form sits in its frame and
// its export button is enabled, in the order they were added.
//     static void roller_setup() { ... }
//     JSB_MODULE_SETUP(Roller, roller_setup)
using ModuleSetup = void (*)();
bool add_module_setup(const char* form, ModuleSetup fn);

// The shared Created handler of a module form; modules that write their own
// call embed_in_frame instead.
void ModuleFormCreated(const std::string& form);

} // namespace app

#define JSB_MODULE_SETUP(form, fn) \
    [[maybe_unused]] static const bool jsb_module_setup_##form##_##fn = ::app::add_module_setup(#form, &fn);

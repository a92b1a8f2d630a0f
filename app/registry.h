#pragma once
// Each part of the program registers its handlers from its own file:
//     static void register_roller(ui::Runtime& rt) { rt.register_handler(...); }
//     JSB_HANDLERS(register_roller)
#include "ui/runtime.h"

namespace app {
using Registrar = void (*)(ui::Runtime&);
bool add_registrar(Registrar r);
void run_registrars(ui::Runtime& rt);
} // namespace app

#define JSB_HANDLERS(fn) [[maybe_unused]] static const bool jsb_registered_##fn = ::app::add_registrar(&fn);

#include "app/program.h"

#include "ui/cmd.h"

namespace app {

Settings& settings()
{
    static Settings s;
    return s;
}

void register_handlers(ui::Runtime& rt)
{
    (void)rt;
}

bool start_program(ui::Runtime& rt)
{
    register_handlers(rt);
    if (!rt.has_definition("splash")) return false;
    return rt.load_form("splash", nullptr, false) != nullptr;
}

} // namespace app

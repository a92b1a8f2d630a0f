#include "app/program.h"

#include "app/registry.h"
#include "ui/cmd.h"

#include <csignal>
#include <vector>

namespace app {

Settings& settings()
{
    static Settings s;
    return s;
}

namespace {
std::vector<Registrar>& registrars()
{
    static std::vector<Registrar> v;
    return v;
}
} // namespace

bool add_registrar(Registrar r)
{
    registrars().push_back(r);
    return true;
}

void run_registrars(ui::Runtime& rt)
{
    for (Registrar r : registrars()) r(rt);
}

void register_handlers(ui::Runtime& rt) { run_registrars(rt); }

void use_built_in_addresses()
{
#ifdef JSB_ONLINE_PROBE_URL
    ui::set_online_probe(JSB_ONLINE_PROBE_URL);
#endif
}

bool start_program(ui::Runtime& rt)
{
    // A report written past the user's file-size limit must fail as a write
    // that says "File too large", not kill the program with its temporary
    // file left beside the report.
    std::signal(SIGXFSZ, SIG_IGN);
    register_handlers(rt);
    if (!rt.has_definition("splash")) return false;
    return rt.load_form("splash", nullptr, false) != nullptr;
}

} // namespace app

// The headless program: runs scenario files against the whole program.
#include "app/program.h"
#include "ui/headless/scenario.h"

int main(int argc, char** argv)
{
    return ui::scenario_main(argc, argv, [](ui::Runtime& rt, const ui::ScenarioOptions& o) {
        if (!o.notice_url.empty()) app::settings().notice_url = o.notice_url;
        // Headless runs never reach past this machine: the online probe is a
        // closed local port unless a test starts its own server.
        app::settings().online_probe_url = "http://127.0.0.1:9/";
        if (o.start) app::start_program(rt);
        else app::register_handlers(rt);
    });
}

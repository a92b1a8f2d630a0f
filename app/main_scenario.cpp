// The headless program: runs scenario files against the whole program.
#include "app/program.h"
#include "ui/headless/scenario.h"

int main(int argc, char** argv)
{
    return ui::scenario_main(argc, argv, [](ui::Runtime& rt, const ui::ScenarioOptions& o) {
        if (!o.notice_url.empty()) app::settings().notice_url = o.notice_url;
        if (o.start) app::start_program(rt);
        else app::register_handlers(rt);
    });
}

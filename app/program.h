#pragma once
// The program as a whole: its handlers and its start.
#include "ui/runtime.h"

#include <string>

namespace app {

// Addresses and switches the build or the command line sets.
struct Settings {
    std::string notice_url;
    std::string online_probe_url;
};
Settings& settings();

// The real program's addresses, as the build set them (the online probe).
void use_built_in_addresses();

// Registers every handler of the shell and the modules under its name.
void register_handlers(ui::Runtime& rt);

// Registers the handlers and loads the start-up form. False when the
// program's start-up form is not there (a build without the shell).
bool start_program(ui::Runtime& rt);

} // namespace app

#pragma once
// Drives the program headless as a user would, from a scenario file: one
// command a line, '#' comments, arguments split on blanks, double quotes
// around a text with blanks.
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace ui {

struct ScenarioOptions {
    std::string program_folder; // empty: a new temporary folder
    std::string now;            // YYYY-MM-DDTHH:MM:SS
    std::string notice_url;
    std::vector<std::string> form_dirs; // extra form definitions (tests)
    bool start = true;                  // start the program (splash, main window)
};

// Splits a scenario line into words; false with a reason on a bad quote.
bool split_scenario_line(const std::string& line, std::vector<std::string>* words, std::string* error);

class ScenarioRunner {
public:
    // Runs before each scenario: starts the program when opts.start, and
    // otherwise only registers its handlers, so forms loaded by `in` work.
    using Starter = std::function<void(Runtime&, const ScenarioOptions&)>;
    ScenarioRunner(std::ostream& out, Starter starter);
    // Runs the file; gives the process exit code (0 when every expectation held).
    int run_file(const std::string& path, ScenarioOptions opts);
    int run_text(const std::string& text, ScenarioOptions opts, const std::string& name = "scenario");

private:
    std::ostream& out_;
    Starter starter_;
};

// Parses the runner's command line: options then scenario files.
int scenario_main(int argc, char** argv, ScenarioRunner::Starter starter);

} // namespace ui

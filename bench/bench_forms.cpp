// Loading form definitions: every embedded form, parsed and built into
// controls, without running its handlers.
#include "ui/headless/headless.h"
#include "ui/resources.h"
#include "ui/runtime.h"

#include <benchmark/benchmark.h>

static void BM_LoadEveryFormDefinition(benchmark::State& state)
{
    std::vector<std::string> names;
    for (const std::string& p : ui::resource_paths("forms/"))
        if (p.size() > 11 && p.substr(p.size() - 5) == ".json") names.push_back(p.substr(6, p.size() - 11));
    for (auto _ : state) {
        ui::HeadlessBackend backend;
        ui::Runtime rt(backend);
        backend.attach(rt);
        for (const std::string& n : names) benchmark::DoNotOptimize(rt.load_form(n, nullptr, false));
    }
    state.counters["forms"] = double(names.size());
}
BENCHMARK(BM_LoadEveryFormDefinition)->Unit(benchmark::kMillisecond);

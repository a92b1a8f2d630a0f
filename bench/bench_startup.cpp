// Start-up of the program's own logic on the headless backend: the splash,
// the main window and all module forms in their frames, with no window made
// or painted (bench_gui measures the start-up a user waits for). The
// splash's own 100 ticks of waiting are left out: its bar is put at the end,
// so one tick closes it.
#include "app/program.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_StartupToMainWindow(benchmark::State& state)
{
    size_t forms = 0;
    for (auto _ : state) {
        auto backend = std::make_unique<ui::HeadlessBackend>();
        auto rt = std::make_unique<ui::Runtime>(*backend);
        backend->attach(*rt);
        app::start_program(*rt);
        rt->set(rt->unit("splash", "进度条1"), ui::prop::ProcessBar::Position, 100);
        backend->advance(15);
        if (!rt->form("main")) {
            state.SkipWithError("the main window did not open");
            break;
        }
        forms = rt->forms().size();
        state.PauseTiming();
        rt.reset();
        backend.reset();
        state.ResumeTiming();
    }
    state.counters["forms"] = double(forms);
}
BENCHMARK(BM_StartupToMainWindow)->Unit(benchmark::kMillisecond);

} // namespace

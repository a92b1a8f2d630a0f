// What a user waits for in the real program, with the Qt front end on the
// offscreen platform:
// - start-up: from starting the process to the end of the main window's first
//   paint, the splash's 100 ticks of waiting left out (its bar is put at the
//   end and its timer ticks at once), against a Qt Widgets hello-world
//   (qt_hello, built beside this program) in paired runs of the same session;
// - peak resident set with the main window shown;
// - compute: every module's compute button clicked, per click the time until
//   its handler returned and until the screen showed the result (the
//   repaints the click caused are done), the prescribed pauses skipped
//   (sleeps and waits return at once; a message box answers OK unseen);
//   the result boxes are emptied before each click, so every click shows
//   new results as it does after the user changed an input; and the time
//   the module's page takes to show the first time it is chosen (its
//   widgets are made then).
//
//   bench_gui [--runs N] [--clicks N] [--module FORM] [--verbose]
//   (--module: the compute figures of that module form only, e.g. Roller)
//
// The measuring runs in child processes: this program started again with
// --probe, and qt_hello.
#include "app/module_forms.h"
#include "app/program.h"
#include "bench/gui/first_paint.h"
#include "ui/huge_page_heap.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_look.h"
#include "ui/runtime.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using bench_gui::now_ns;

// ---- in the child: the program --------------------------------------------------------

// The real backend, with the waits a handler prescribes skipped: the bench
// measures the work of a click, not the pauses that show it.
class NoPauseBackend : public ui::qt::QtBackend {
public:
    void sleep(int) override {}
    void wait_pumping(int) override {}
    int message_box(const std::string&, int, const std::string&, ui::Form*) override
    {
        ++message_boxes;
        return 0;
    }
    int message_boxes = 0;
};

// The splash's waiting left out: its bar at the end, its timer ticking now.
void skip_splash_ticks(ui::qt::QtBackend& backend, ui::Runtime& rt)
{
    backend.guarded([&] {
        rt.set(rt.unit("splash", "进度条1"), ui::prop::ProcessBar::Position, 100);
        rt.run_due_timers(backend.clock_ms() + 1000);
    });
}

// Shows a module's frame as the navigation does: every tab above it on the
// frame's page, and each tab's page-changed work done.
void show_frame(ui::Runtime& rt, const char* frame)
{
    ui::Control* c = rt.form("main")->find(frame);
    std::vector<ui::Control*> tabs;
    for (; c && c->parent; c = c->parent)
        if (c->parent->kind == ui::Kind::Tab) {
            rt.set(*c->parent, ui::prop::Tab::CurrentPage, c->page);
            tabs.push_back(c->parent);
        }
    for (ui::Control* t : tabs) rt.raise(*t, ui::Event::PageChanged);
}

double percentile(std::vector<double> v, double q)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t k = size_t(std::ceil(q * double(v.size())));
    return v[std::clamp<size_t>(k, 1, v.size()) - 1];
}

void run_compute(NoPauseBackend& backend, ui::Runtime& rt, int clicks, const std::string& only)
{
    for (const app::ModuleForm& m : app::module_forms()) {
        if (!only.empty() && only != m.form) continue;
        // The first time a module's page is chosen its widgets are made.
        const int64_t shown_at = now_ns();
        backend.guarded([&] { show_frame(rt, m.frame); });
        QApplication::processEvents();
        const double first_shown = double(now_ns() - shown_at) / 1e6;
        ui::Control& button = rt.unit(m.form, "图形按钮_计算");
        std::vector<double> handler, screen;
        const int boxes_before = backend.message_boxes;
        // The results: read-only boxes a click fills again once emptied. A
        // read-only box the click does not fill is a derived input (a load
        // position, a wheel load): it gets its text back, so that the clicks
        // measured compute the module's own case.
        std::vector<ui::Control*> outputs;
        backend.guarded([&] {
            std::vector<std::pair<ui::Control*, std::string>> read_only;
            for (auto& c : rt.form(m.form)->controls)
                if (c->kind == ui::Kind::EditBox && c->input_mode == 1) read_only.emplace_back(c.get(), c->text);
            for (auto& [c, text] : read_only) rt.set(*c, ui::prop::EditBox::Content, "");
            rt.user_click(button);
            for (auto& [c, text] : read_only)
                if (!c->text.empty()) outputs.push_back(c);
            for (auto& [c, text] : read_only)
                if (c->text.empty()) rt.set(*c, ui::prop::EditBox::Content, text);
        });
        QApplication::processEvents();
        for (int i = -5; i < clicks; ++i) {
            // Each click shows new results, as after the user changed an input.
            backend.guarded([&] {
                for (ui::Control* c : outputs) rt.set(*c, ui::prop::EditBox::Content, "");
            });
            QApplication::processEvents();
            const int64_t t0 = now_ns();
            backend.guarded([&] { rt.user_click(button); });
            const int64_t t1 = now_ns();
            QApplication::processEvents();
            const int64_t t2 = now_ns();
            if (i < 0) continue; // warming up
            handler.push_back(double(t1 - t0) / 1e6);
            screen.push_back(double(t2 - t0) / 1e6);
        }
        std::printf("module %s %.4f %.4f %.4f %.4f %d %.4f\n", m.form, percentile(handler, 0.5), percentile(handler, 0.99),
                    percentile(screen, 0.5), percentile(screen, 0.99), (backend.message_boxes - boxes_before) / (clicks + 5),
                    first_shown);
    }
    std::printf("peak_rss_kb %ld\n", bench_gui::peak_rss_kb());
}

int probe(int argc, char** argv, const std::string& mode, int clicks, const std::string& only, int64_t main_ns)
{
    ui::back_heap_with_huge_pages();
    QApplication app(argc, argv);
    ui::qt::use_program_look();
    std::unique_ptr<ui::qt::QtBackend> owned;
    if (mode == "compute") owned = std::make_unique<NoPauseBackend>();
    else owned = std::make_unique<ui::qt::QtBackend>();
    ui::qt::QtBackend& backend = *owned;
    ui::Runtime rt(backend);
    backend.attach(rt);
    app::use_built_in_addresses();
    if (!app::start_program(rt)) return 1;
    skip_splash_ticks(backend, rt);
    bench_gui::FirstPaint first_paint(
        [&]() -> QWidget* {
            ui::Form* f = rt.form("main");
            return f ? backend.window(*f) : nullptr;
        },
        [&] {
            if (mode == "startup") {
                std::printf("main_ns %lld\npaint_ns %lld\npeak_rss_kb %ld\n", (long long)main_ns, (long long)now_ns(),
                            bench_gui::peak_rss_kb());
                std::fflush(stdout);
                _exit(0);
            }
            QTimer::singleShot(0, [&] {
                run_compute(static_cast<NoPauseBackend&>(backend), rt, clicks, only);
                std::fflush(stdout);
                _exit(0);
            });
        });
    app.installEventFilter(&first_paint);
    return backend.run_loop();
}

// ---- in the harness -------------------------------------------------------------------

struct Child {
    std::map<std::string, std::vector<std::string>> lines; // first word -> the rest of each line
    int64_t spawned_ns = 0;
    bool ok = false;
    long long value(const char* key) const
    {
        auto it = lines.find(key);
        return it == lines.end() || it->second.empty() ? -1 : std::atoll(it->second[0].c_str());
    }
};

Child run(const std::string& path, std::vector<std::string> args, bool verbose)
{
    Child c;
    int out[2];
    if (pipe(out) != 0) return c;
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    if (!verbose) posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    args.insert(args.begin(), path);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    c.spawned_ns = now_ns();
    int err = posix_spawn(&pid, path.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(out[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) text.append(buf, size_t(n));
    close(out[0]);
    int status = 0;
    if (err == 0) waitpid(pid, &status, 0);
    c.ok = err == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        size_t sp = line.find(' ');
        if (sp == std::string::npos) continue;
        c.lines[line.substr(0, sp)].push_back(line.substr(sp + 1));
    }
    return c;
}

std::string sibling(const char* name)
{
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, size_t(n)) : std::string("./x");
    return dir.substr(0, dir.rfind('/') + 1) + name;
}

struct Stats {
    double median, min, max;
};
Stats stats(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {percentile(v, 0.5), v.front(), v.back()};
}

int harness(int runs, int clicks, const std::string& only, bool verbose)
{
    // A desktop screen: the main window shows whole, as on an engineer's
    // office machine (the offscreen platform's own screen is 800 x 800).
    setenv("QT_QPA_PLATFORM", "offscreen:configfile=" JSB_BENCH_SCREEN, 1);
    const std::string self = sibling("bench_gui"), hello = sibling("qt_hello");
    std::vector<double> app_total, app_main, app_rss, hello_total, hello_main, hello_rss;
    // Two pairs first, so both programs start from a warm file cache.
    for (int i = -2; i < runs; ++i) {
        Child a = run(self, {"--probe", "startup"}, verbose);
        Child h = run(hello, {}, verbose);
        if (!a.ok || !h.ok || a.value("paint_ns") < 0 || h.value("paint_ns") < 0) {
            std::fprintf(stderr, "bench_gui: a start-up run failed (program %s, hello-world %s)\n", a.ok ? "ok" : "failed",
                         h.ok ? "ok" : "failed");
            return 1;
        }
        if (i < 0) continue;
        app_total.push_back(double(a.value("paint_ns") - a.spawned_ns) / 1e6);
        app_main.push_back(double(a.value("paint_ns") - a.value("main_ns")) / 1e6);
        app_rss.push_back(double(a.value("peak_rss_kb")) / 1024);
        hello_total.push_back(double(h.value("paint_ns") - h.spawned_ns) / 1e6);
        hello_main.push_back(double(h.value("paint_ns") - h.value("main_ns")) / 1e6);
        hello_rss.push_back(double(h.value("peak_rss_kb")) / 1024);
    }
    Stats at = stats(app_total), am = stats(app_main), ar = stats(app_rss);
    Stats ht = stats(hello_total), hm = stats(hello_main), hr = stats(hello_rss);
    std::printf("Start-up to the main window's first paint (offscreen, splash ticks skipped), %d paired runs\n", runs);
    std::printf("  %-22s %8s %8s %8s   %s\n", "", "median", "min", "max", "main() to first paint, median");
    std::printf("  %-22s %5.1f ms %5.1f ms %5.1f ms   %5.1f ms\n", "program", at.median, at.min, at.max, am.median);
    std::printf("  %-22s %5.1f ms %5.1f ms %5.1f ms   %5.1f ms\n", "Qt hello-world", ht.median, ht.min, ht.max, hm.median);
    std::printf("  %-22s %5.2fx\n", "ratio of the medians", at.median / ht.median);
    std::printf("Peak resident set with the main window shown: program %.1f MB (max %.1f), hello-world %.1f MB\n",
                ar.median, ar.max, hr.median);

    std::vector<std::string> args = {"--probe", "compute", "--clicks", std::to_string(clicks)};
    if (!only.empty()) args.insert(args.end(), {"--module", only});
    Child c = run(self, args, verbose);
    if (!c.ok || c.lines["module"].empty()) {
        std::fprintf(stderr, "bench_gui: the compute run failed\n");
        return 1;
    }
    std::printf("Compute per click in the Qt backend, pauses skipped, %d clicks per module (ms)\n", clicks);
    std::printf("  %-20s %14s %12s %16s %14s %12s  %s\n", "module", "handler median", "handler p99", "to screen median",
                "to screen p99", "first shown", "message boxes per click");
    double worst_handler = 0, worst_screen = 0;
    for (const std::string& l : c.lines["module"]) {
        char name[128];
        double hm50, hm99, s50, s99, shown;
        int boxes = 0;
        if (std::sscanf(l.c_str(), "%127s %lf %lf %lf %lf %d %lf", name, &hm50, &hm99, &s50, &s99, &boxes, &shown) != 7)
            continue;
        worst_handler = std::max(worst_handler, hm99);
        worst_screen = std::max(worst_screen, s99);
        std::printf("  %-20s %14.3f %12.3f %16.3f %14.3f %12.3f  %d\n", name, hm50, hm99, s50, s99, shown, boxes);
    }
    std::printf("  worst p99: handler %.3f ms, to screen %.3f ms\n", worst_handler, worst_screen);
    std::printf("Peak resident set after every module shown and computed: %.1f MB\n", double(c.value("peak_rss_kb")) / 1024);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int64_t main_ns = now_ns();
    int runs = 20, clicks = 200;
    bool verbose = false;
    std::string probe_mode, only;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--probe" && i + 1 < argc) probe_mode = argv[++i];
        else if (a == "--runs" && i + 1 < argc) runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--clicks" && i + 1 < argc) clicks = std::max(1, std::atoi(argv[++i]));
        else if (a == "--verbose") verbose = true;
        else if (a == "--module" && i + 1 < argc) only = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_gui [--runs N] [--clicks N] [--module FORM] [--verbose]\n");
            return 2;
        }
    }
    if (!probe_mode.empty()) return probe(argc, argv, probe_mode, clicks, only, main_ns);
    return harness(runs, clicks, only, verbose);
}

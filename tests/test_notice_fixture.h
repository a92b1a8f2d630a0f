#pragma once
// The program's main window on the headless backend, for the notice tests:
// its start-up fetch is awaited (in real time, the thread is real) before a
// test goes on, and nothing reaches past this machine.
#include "app/notice.h"
#include "app/program.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace notice_test {

namespace P = ui::prop;

// Counts the work handed to the GUI thread, so a test can wait for a
// background thread's hand-over without guessing how long it takes.
struct CountingBackend : ui::HeadlessBackend {
    std::atomic<int> posts{0};
    void post(std::function<void()> fn) override
    {
        ++posts;
        HeadlessBackend::post(std::move(fn));
    }
};

// Runs the GUI thread's posted work until `done` holds; false after `limit`.
inline bool pump_until(CountingBackend& b, const std::function<bool()>& done,
                       std::chrono::seconds limit = std::chrono::seconds(30))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        b.pump();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

struct MainWindowFixture : ::testing::Test {
    CountingBackend backend;
    ui::Runtime rt{backend};

    void SetUp() override
    {
        backend.attach(rt);
        app::register_handlers(rt);
        // The update form's online test probes a closed local port unless a
        // test serves one.
        ui::set_online_probe("http://127.0.0.1:1/");
        app::settings().notice_url.clear();
    }
    void TearDown() override { app::settings().notice_url.clear(); }

    // Opens the main window, whose set-up fetches `notice_url`, and waits for
    // that fetch to reach the GUI thread.
    void open_main(const std::string& notice_url = {})
    {
        app::settings().notice_url = notice_url;
        // The hand-over always rewrites the colour value; this one no page gives.
        app::text_globals().notice_colour = "\x01unset";
        ASSERT_NE(rt.load_form("main", nullptr, false), nullptr);
        ASSERT_TRUE(pump_until(backend, [] { return app::text_globals().notice_colour != "\x01unset"; }))
            << "the start-up fetch never reached the GUI thread";
    }

    ui::Ref main(const char* control) { return ui::U("main", control); }
    int number(const ui::Ref& r, int prop) { return ui::cmd_to_int(ui::rt_get_property(r, prop)); }
    std::string text(const ui::Ref& r, int prop) { return ui::cmd_to_text(ui::rt_get_property(r, prop)); }
    int area(int prop) { return number(main("编辑框1_通知窗口"), prop); }
    std::string area_text() { return text(main("编辑框1_通知窗口"), P::EditBox::Content); }
    // Virtual time for n ticks of the main timer.
    void tick(int n = 1) { backend.advance(120 * n); }
};

} // namespace notice_test

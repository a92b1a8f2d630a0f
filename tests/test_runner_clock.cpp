// The headless backend's virtual clock against the whole program: the same
// virtual time gives the same screen however the waits are cut up, and what
// a tick posts (the splash's end, which opens the main window) happens at
// that tick, not when the wait ends.
#include "app/notice.h"
#include "app/program.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Everything a screen shows and every timer's schedule, form by form.
std::string screen(ui::Runtime& rt, ui::HeadlessBackend& b)
{
    std::ostringstream out;
    out << "clock " << b.elapsed() << '\n';
    for (ui::Form* f : rt.forms()) {
        out << "form " << f->name << (f->destroying ? " (going)" : "") << '\n';
        for (auto& c : f->controls) {
            out << "  " << (c->name.empty() ? "." : c->name) << ' ' << c->left << ',' << c->top << ' ' << c->width << 'x'
                << c->height << " v" << c->visible << " d" << c->disabled << " [" << c->text << "] fg" << c->text_color
                << " bg" << c->back_color << " i" << c->current_index << " p" << c->position << '/' << c->maximum
                << " page" << c->current_page << " c" << c->checked << " pic" << c->pictures[0].size() << "@" << c->animation_start;
            if (c->kind == ui::Kind::Timer) out << " timer " << c->interval << " due " << c->next_due;
            out << '\n';
        }
    }
    out << "messages " << b.messages.size() << " sounds " << b.sounds.size() << '\n';
    return out.str();
}

// The first line where two screens differ (a whole screen is thousands).
std::string difference(const std::string& got, const std::string& want)
{
    std::istringstream a(got), b(want);
    std::string la, lb;
    std::string form;
    for (int no = 1;; ++no) {
        const bool more_a = bool(std::getline(a, la)), more_b = bool(std::getline(b, lb));
        if (!more_a && !more_b) return {};
        if (la.rfind("form ", 0) == 0) form = la;
        if (la != lb || more_a != more_b) return form + "\n line " + std::to_string(no) + ":\n got  " + la + "\n want " + lb;
    }
}

struct Program {
    ui::HeadlessBackend backend;
    std::unique_ptr<ui::Runtime> rt = std::make_unique<ui::Runtime>(backend);

    Program()
    {
        backend.attach(*rt);
        backend.set_now({2019, 12, 6, 9, 5, 1});
        app::settings().notice_url.clear(); // no page: the fetch ends at once
        EXPECT_TRUE(app::start_program(*rt));
        // The hand-over of the start-up fetch always rewrites the colour.
        app::text_globals().notice_colour = "\x01unset";
        backend.pump();
    }
    void waits(const std::vector<int>& steps)
    {
        for (int ms : steps) backend.advance(ms);
    }
    std::string text(const char* form, const char* control) { return rt->unit(form, control).text; }
};

std::vector<int> steps_of(int size, int total)
{
    std::vector<int> v(total / size, size);
    if (total % size) v.push_back(total % size);
    return v;
}

TEST(RunnerClock, OneLongWaitShowsWhatManySmallOnesShow)
{
    constexpr int kTotal = 4000;
    Program reference;
    reference.waits({kTotal});
    // The splash went at 1515 ms, the main window's timer has ticked from
    // 1635 ms on every 120 ms (20 ticks by 3915 ms): the clock line is three
    // seconds on and the empty notice area wrapped back into place.
    ASSERT_EQ(reference.rt->form("splash"), nullptr);
    ASSERT_NE(reference.rt->form("main"), nullptr);
    EXPECT_EQ(reference.text("main", "编辑框1_时间提示"), "2019-12-6  09:05:04");
    EXPECT_EQ(reference.rt->unit("main", "编辑框1_通知窗口").top, -31);
    EXPECT_EQ(reference.rt->unit("main", "时钟1").next_due, 4035);
    // The notice thread started with the main window and its hand-over came
    // within the same wait.
    EXPECT_EQ(app::text_globals().notice_colour, "");
    const std::string want = screen(*reference.rt, reference.backend);

    const std::vector<std::vector<int>> cuts = {
        {1515, 2485}, {1514, 1, 2485}, {1, 3999}, {0, 2000, 0, 2000}, {1530, 120, 2350},
        steps_of(7, kTotal), steps_of(120, kTotal), steps_of(1000, kTotal),
    };
    for (const auto& cut : cuts) {
        ASSERT_EQ(std::accumulate(cut.begin(), cut.end(), 0), kTotal);
        SCOPED_TRACE(testing::PrintToString(cut.size() > 6 ? std::vector<int>(cut.begin(), cut.begin() + 6) : cut));
        Program run;
        run.waits(cut);
        EXPECT_EQ(difference(screen(*run.rt, run.backend), want), "");
        EXPECT_EQ(app::text_globals().notice_colour, "");
    }
}

TEST(RunnerClock, TheMainWindowOpensOnTheTickThatClosesTheSplash)
{
    Program run;
    run.waits({1514});
    EXPECT_NE(run.rt->form("splash"), nullptr);
    EXPECT_EQ(run.rt->form("main"), nullptr);
    run.waits({1});
    EXPECT_EQ(run.rt->form("splash"), nullptr);
    ASSERT_NE(run.rt->form("main"), nullptr);
    // Its timer counts from its opening; no tick yet.
    EXPECT_EQ(run.rt->unit("main", "时钟1").next_due, 1515 + 120);
    EXPECT_EQ(run.text("main", "编辑框1_时间提示"), "");
    EXPECT_EQ(app::text_globals().notice_colour, "");
}

} // namespace

#pragma once
// What the GUI benches read in their child processes: a monotonic clock that
// the parent shares, the peak resident set, and the moment a window has
// finished its first paint.
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace bench_gui {

// Nanoseconds on the system-wide monotonic clock: comparable between the
// harness and the programs it starts.
inline int64_t now_ns()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// The process's peak resident set so far, in KiB (VmHWM).
inline long peak_rss_kb()
{
    long kb = -1;
    if (FILE* f = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::strtol(line + 6, nullptr, 10);
        std::fclose(f);
    }
    return kb;
}

// Calls `done` once, when the window of `target()` has painted for the first
// time: at the end of the first expose or update request of that window in
// which any of its widgets painted, so the whole first frame is in.
class FirstPaint : public QObject {
public:
    FirstPaint(std::function<QWidget*()> target, std::function<void()> done)
        : target_(std::move(target)), done_(std::move(done))
    {
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (fired_) return false;
        const auto type = e->type();
        if (type != QEvent::Paint && type != QEvent::Expose && type != QEvent::UpdateRequest) return false;
        QWidget* t = target_();
        if (!t) return false;
        if (type == QEvent::Paint) {
            if (o->isWidgetType() && static_cast<QWidget*>(o)->window() == t) painted_ = true;
            return false;
        }
        if (inside_ || o != t->windowHandle()) return false;
        // Handle the request here, so that its painting is over when it returns.
        inside_ = true;
        o->event(e);
        inside_ = false;
        if (painted_) {
            fired_ = true;
            done_();
        }
        return true;
    }

private:
    std::function<QWidget*()> target_;
    std::function<void()> done_;
    bool painted_ = false, inside_ = false, fired_ = false;
};

} // namespace bench_gui

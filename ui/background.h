#pragma once
// Background work of a runtime: the threads cmd_start_thread starts, how many
// are still at work, and the stop that the program's end raises so that a
// blocking call on one of them (a web transfer) gives up at once instead of
// holding the process until its timeout.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace ui {

class BackgroundStop {
public:
    bool raised() const;
    // Raises the stop for good and runs every registered wake-up.
    void raise();

    // A blocking call registers how to wake it while it blocks. When the stop
    // is raised already, the wake-up runs at once. Removing it is the call's
    // promise that the wake-up is never run afterwards, so what it wakes may
    // then be freed.
    int add_wakeup(std::function<void()> wake);
    void remove_wakeup(int id);

    // The stop of the runtime that started the calling thread; null on any
    // other thread (the GUI thread is never stopped from outside).
    static BackgroundStop* of_this_thread();
    static void set_for_this_thread(std::shared_ptr<BackgroundStop> stop);

private:
    mutable std::mutex m_;
    bool raised_ = false;
    int next_id_ = 1;
    std::map<int, std::function<void()>> wakeups_;
};

// Counts the background threads still at work.
class BackgroundCount {
public:
    void started();
    void finished();
    bool busy() const;
    // Waits until every thread started so far has finished (its work posted
    // to the GUI thread by then); false when `limit` ran out first.
    bool wait_idle(std::chrono::milliseconds limit);

private:
    mutable std::mutex m_;
    std::condition_variable idle_;
    int running_ = 0;
};

} // namespace ui

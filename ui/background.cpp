#include "ui/background.h"

#include <utility>

namespace ui {

namespace {
thread_local std::shared_ptr<BackgroundStop> t_stop;
}

bool BackgroundStop::raised() const
{
    std::lock_guard lock(m_);
    return raised_;
}

void BackgroundStop::raise()
{
    // The wake-ups run under the lock: a call that removes its wake-up waits
    // for this, so nothing it wakes is freed in between.
    std::lock_guard lock(m_);
    raised_ = true;
    for (auto& [id, wake] : wakeups_) wake();
}

int BackgroundStop::add_wakeup(std::function<void()> wake)
{
    std::lock_guard lock(m_);
    if (raised_) wake();
    const int id = next_id_++;
    wakeups_.emplace(id, std::move(wake));
    return id;
}

void BackgroundStop::remove_wakeup(int id)
{
    std::lock_guard lock(m_);
    wakeups_.erase(id);
}

BackgroundStop* BackgroundStop::of_this_thread() { return t_stop.get(); }

void BackgroundStop::set_for_this_thread(std::shared_ptr<BackgroundStop> stop) { t_stop = std::move(stop); }

void BackgroundCount::started()
{
    std::lock_guard lock(m_);
    ++running_;
}

void BackgroundCount::finished()
{
    std::lock_guard lock(m_);
    if (--running_ == 0) idle_.notify_all();
}

bool BackgroundCount::busy() const
{
    std::lock_guard lock(m_);
    return running_ > 0;
}

bool BackgroundCount::wait_idle(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_);
    return idle_.wait_for(lock, limit, [this] { return running_ == 0; });
}

} // namespace ui

#include "ui/headless/headless.h"

#include "ui/runtime.h"

#include <algorithm>
#include <ctime>
#include <filesystem>

namespace ui {

HeadlessBackend::HeadlessBackend(std::ostream* log) : log_(log) {}

void HeadlessBackend::say(const std::string& line)
{
    if (log_) *log_ << line << '\n' << std::flush;
}

static std::string one_line(std::string s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        if (s[i] == '\n' || s[i] == '\r') out += "\\n";
        else out += s[i];
    }
    return out;
}

int HeadlessBackend::message_box(const std::string& text, int style, const std::string& caption, Form*)
{
    messages.push_back({caption, text, style});
    say("message: " + caption + " | " + one_line(text));
    int answer = 0;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    if ((style & 0xF) == 0) answer = 0; // an OK box has only OK
    return answer;
}

void HeadlessBackend::play_sound(const Bytes&, const std::string& name)
{
    std::string n = std::filesystem::path(name).stem().string();
    sounds.push_back(n);
    say("sound: " + n);
}

DateTime HeadlessBackend::now()
{
    std::tm t{};
    t.tm_year = base_.year - 1900;
    t.tm_mon = base_.month - 1;
    t.tm_mday = base_.day;
    t.tm_hour = base_.hour;
    t.tm_min = base_.minute;
    t.tm_sec = base_.second + int(clock_ / 1000);
    std::time_t secs = timegm(&t);
    std::tm r{};
    gmtime_r(&secs, &r);
    return {r.tm_year + 1900, r.tm_mon + 1, r.tm_mday, r.tm_hour, r.tm_min, r.tm_sec};
}

void HeadlessBackend::post(std::function<void()> fn)
{
    std::lock_guard lock(post_mutex_);
    posted_.push_back(std::move(fn));
}

void HeadlessBackend::pump()
{
    // A tick may post work (a form's destroy, a notice's hand-over); it runs
    // at the tick's instant, and may in turn start or post more.
    for (int guard = 0; guard < 100000; ++guard) {
        std::function<void()> fn;
        {
            std::lock_guard lock(post_mutex_);
            if (!posted_.empty()) {
                fn = std::move(posted_.front());
                posted_.pop_front();
            }
        }
        if (fn) {
            fn();
            continue;
        }
        if (!rt_ || rt_->next_timer_due() > clock_) break;
        rt_->run_due_timers(clock_);
    }
}

void HeadlessBackend::settle()
{
    for (;;) {
        pump();
        if (!await_background_ || !rt_ || !rt_->background_busy()) return;
        if (!rt_->wait_background(kBackgroundLimit)) {
            ++overdue_;
            say("background work still running after " + std::to_string(kBackgroundLimit.count()) + " s");
            pump();
            return;
        }
    }
}

void HeadlessBackend::advance(int ms)
{
    const int64_t target = clock_ + std::max(0, ms);
    settle();
    while (rt_) {
        const int64_t due = rt_->next_timer_due();
        if (due > target) break;
        if (due > clock_) clock_ = due;
        settle();
    }
    clock_ = std::max(clock_, target);
    settle();
}

void HeadlessBackend::open_url(const std::string& url)
{
    opened.push_back(url);
    say("open: " + url);
}

void HeadlessBackend::shell_run(int, const std::string& path)
{
    opened.push_back(path);
    say("open: " + path);
}

bool HeadlessBackend::open_dialog(Control& dlg)
{
    if (dialog_files_.empty()) return false;
    dlg.file_name = dialog_files_.front();
    dialog_files_.pop_front();
    return !dlg.file_name.empty();
}

int HeadlessBackend::popup_menu(Form& f, int root, int, int)
{
    if (popup_choices_.empty()) return -1;
    std::string want = popup_choices_.front();
    popup_choices_.pop_front();
    for (int i = root + 1; i < int(f.menus.size()) && f.menus[i].level > 0; ++i)
        if (f.menus[i].caption == want) return i;
    return -1;
}

bool HeadlessBackend::finish_drag(Control& c, int dx, int dy, int grab_x, int grab_y)
{
    if (drag_ != &c || !rt_) return false;
    drag_ = nullptr;
    // The parent's client area; a frame's own line is not part of it.
    int pw = c.form->self().width, ph = c.form->self().height;
    if (c.parent) {
        int inset = c.parent->kind == Kind::ShapeBox ? 1 : 0;
        pw = c.parent->width - 2 * inset;
        ph = c.parent->height - 2 * inset;
    }
    // The cursor cannot leave the parent during the move, so neither can the
    // point the control was grabbed at: it always stays within reach.
    int x = std::clamp(c.left + grab_x + dx, 0, std::max(0, pw - 1)) - grab_x;
    int y = std::clamp(c.top + grab_y + dy, 0, std::max(0, ph - 1)) - grab_y;
    rt_->set(c, prop::Left, x);
    rt_->set(c, prop::Top, y);
    return true;
}

void HeadlessBackend::form_destroying(Form& f)
{
    if (drag_ && drag_->form == &f) drag_ = nullptr;
}

void HeadlessBackend::file_written(const std::string& path)
{
    files.push_back(path);
    say("file: " + path);
}

int HeadlessBackend::run_loop()
{
    pump();
    return 0;
}

void HeadlessBackend::quit(int code) { throw ProgramExit(code); }

} // namespace ui

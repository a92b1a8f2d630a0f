#pragma once
// The test backend: no windows, a virtual clock, scripted answers to
// message boxes and dialogs, and logs of what the program did outside itself.
#include "ui/backend.h"

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace ui {

class Runtime;

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(std::ostream* log = nullptr);

    void attach(Runtime& rt) { rt_ = &rt; }
    void set_now(const DateTime& t) { base_ = t; }
    void set_program_folder(const std::string& dir) { folder_ = dir; }
    void set_screen_width(int w) { screen_width_ = w; }
    void queue_answer(int button) { answers_.push_back(button); }
    void queue_dialog_file(const std::string& path) { dialog_files_.push_back(path); }
    void queue_popup_choice(const std::string& caption) { popup_choices_.push_back(caption); }

    // Drags: a LeftButtonDown handler asks for one (begin_drag); the test
    // then finishes it as if the mouse moved by (dx, dy) from the point
    // (grab_x, grab_y) of the control where the button went down, and the
    // button was released. False when no drag of that control is under way.
    bool finish_drag(Control& c, int dx, int dy, int grab_x = 0, int grab_y = 0);
    Control* dragging() const { return drag_; }

    // Runs posted work and due timers, and the work these post in turn,
    // without letting time pass. Background threads are not waited for.
    void pump();
    // Lets virtual time pass, running timers and posted work as they fall due:
    // work posted at an instant runs at that instant, before time goes on.
    // Unless told otherwise (await_background), background work started by
    // the program is waited for, in real time and bounded by its own
    // timeouts, before virtual time passes the instant it was started at,
    // and what it posts runs then, in order. So a run gives the same screen
    // at the same virtual time however its waits are cut up, and however
    // long the background work takes in real time.
    void advance(int ms);
    // pump, then the background work as advance waits for it.
    void settle();
    int64_t elapsed() const { return clock_; }
    // Off: background work runs free in real time, and its posts run whenever
    // a pump finds them (tests of a fetch that hangs while the window ticks).
    void await_background(bool on) { await_background_ = on; }
    // Times background work outlasted the wait for it (a thread that hangs).
    int overdue() const { return overdue_; }
    // The longest real time a settle waits for background work.
    static constexpr std::chrono::seconds kBackgroundLimit{30};

    struct Message {
        std::string caption, text;
        int style;
    };
    std::vector<Message> messages;
    std::vector<std::string> sounds, opened, files;

    // Backend
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override;
    void play_sound(const Bytes& wav, const std::string& name) override;
    int64_t clock_ms() override { return clock_; }
    DateTime now() override;
    void sleep(int ms) override { clock_ += ms; }
    void wait_pumping(int ms) override { advance(ms); }
    void post(std::function<void()> fn) override;
    void open_url(const std::string& url) override;
    void shell_run(int verb, const std::string& path) override;
    bool open_dialog(Control& dlg) override;
    int popup_menu(Form& f, int root_index, int x, int y) override;
    void begin_drag(Control& c) override { drag_ = &c; }
    void form_destroying(Form& f) override;
    int screen_width() override { return screen_width_; }
    std::string program_folder() override { return folder_; }
    void file_written(const std::string& path) override;
    int run_loop() override;
    void quit(int code) override;

private:
    void say(const std::string& line);

    std::ostream* log_;
    Runtime* rt_ = nullptr;
    int64_t clock_ = 0;
    DateTime base_{2026, 1, 1, 9, 0, 0};
    std::string folder_ = "/tmp";
    int screen_width_ = 1920;
    std::deque<int> answers_;
    std::deque<std::string> dialog_files_;
    std::deque<std::string> popup_choices_;
    Control* drag_ = nullptr;
    std::mutex post_mutex_;
    std::deque<std::function<void()>> posted_;
    bool await_background_ = true;
    int overdue_ = 0;
};

} // namespace ui

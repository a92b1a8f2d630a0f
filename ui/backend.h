#pragma once
// What the runtime asks of the world outside it: showing forms, asking the
// user, playing sounds, time, files, web and shell. Two implementations:
// the headless one (tests and scenarios) and the Qt one (the real program).
#include "ui/form.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ui {

struct DateTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    // View notifications: a form was created (controls exist), shown,
    // is about to be destroyed; a property or the items of a control changed.
    virtual void form_created(Form&) {}
    virtual void form_shown(Form&) {}
    virtual void form_destroying(Form&) {}
    virtual void property_changed(Control&, int /*prop*/) {}
    virtual void items_changed(Control&) {}
    virtual void parent_changed(Form&) {}
    virtual void focus_changed(Control* /*now*/) {}
    virtual void z_order(Control&, int /*position*/) {}
    virtual void repaint_now(Control&) {}
    // The control follows the mouse inside its parent's client area until
    // the left button is released (asked from a LeftButtonDown handler).
    // The backend writes the new Left and Top as the control moves, through
    // Runtime::set, and keeps the point where it was grabbed inside the
    // parent, as the cursor is kept there during the move.
    virtual void begin_drag(Control&) {}
    virtual void timers_changed() {}
    // Modal forms: returns when the form is gone (the headless one returns
    // at once and leaves the owner disabled until the form closes).
    virtual void modal_loop(Form&) {}

    // Services.
    // Pressed button: OK 0, Cancel 1, ... Yes 5, No 6.
    virtual int message_box(const std::string& text, int style, const std::string& caption, Form* owner) = 0;
    // The WAV is already validated; name is its resource path, for logs.
    virtual void play_sound(const Bytes& wav, const std::string& name) = 0;
    virtual int64_t clock_ms() = 0; // monotonic
    virtual DateTime now() = 0;
    virtual void sleep(int ms) = 0;        // blocks: nothing runs meanwhile
    virtual void wait_pumping(int ms) = 0; // timers, posted work and input run meanwhile
    // Thread-safe: runs fn on the GUI thread later.
    virtual void post(std::function<void()> fn) = 0;
    virtual void open_url(const std::string& url) = 0;
    virtual void shell_run(int verb, const std::string& path) = 0;
    virtual bool open_dialog(Control& dlg) = 0;
    // Shows the pop-up menu whose root is menus[root_index]; gives the chosen
    // item's index in menus, or -1.
    virtual int popup_menu(Form& f, int root_index, int x, int y) = 0;
    virtual int screen_width() = 0;
    virtual int mouse_x() { return 0; }
    virtual int mouse_y() { return 0; }
    virtual std::string program_folder() = 0;
    virtual void set_xp_style(int) {}
    // A report or picture file was written (logs and tests watch this).
    virtual void file_written(const std::string& /*path*/) {}
    // Runs until quit(); quit ends the loop with the code.
    virtual int run_loop() = 0;
    virtual void quit(int code) = 0;
};

} // namespace ui

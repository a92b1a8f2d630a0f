#pragma once
// The real program's backend: every form is a window of Qt widgets at the
// runtime's geometry, kept in step with every property write, and every
// action of the user becomes the runtime's event through Runtime::user_*.
// The runtime stays the only owner of state; the widgets only show it.
#include "ui/backend.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <map>
#include <vector>

class QEventLoop;
class QMouseEvent;
class QPlainTextEdit;
class QWheelEvent;
class QWidget;

namespace ui {
class Runtime;
}

namespace ui::qt {

class FormWindow;
class PictureView;
class SoundPlayer;

class QtBackend : public QObject, public Backend {
    Q_OBJECT
public:
    // Needs a QApplication.
    QtBackend();
    ~QtBackend() override;

    void attach(Runtime& rt) { rt_ = &rt; }

    // The widget that shows a control (a form's own control gives its
    // window); nullptr for kinds that have none (timers, dialogs ...). A
    // form's controls get their widgets when the form first shows on screen;
    // asking for one here makes them at once.
    static QWidget* widget(const Control& c);
    QWidget* window(const Form& f) const;
    // The widget a control of `parent` (or of the form, when null) sits in.
    QWidget* container(Form& f, Control* parent, int page);

    // Set once the program asked to end (rt_exit or a runtime error).
    bool exiting() const { return exiting_; }
    int exit_code() const { return exit_code_; }

    // View notifications.
    void form_created(Form&) override;
    void form_shown(Form&) override;
    void form_destroying(Form&) override;
    void property_changed(Control&, int prop) override;
    void items_changed(Control&) override;
    void parent_changed(Form&) override;
    void focus_changed(Control* now) override;
    void z_order(Control&, int position) override;
    void repaint_now(Control&) override;
    void begin_drag(Control&) override;
    void timers_changed() override;
    void modal_loop(Form&) override;

    // Services.
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override;
    void play_sound(const Bytes& wav, const std::string& name) override;
    int64_t clock_ms() override { return clock_.elapsed(); }
    DateTime now() override;
    void sleep(int ms) override;
    void wait_pumping(int ms) override;
    void post(std::function<void()> fn) override;
    void open_url(const std::string& url) override;
    void shell_run(int verb, const std::string& path) override;
    bool open_dialog(Control& dlg) override;
    int popup_menu(Form& f, int root_index, int x, int y) override;
    int screen_width() override;
    int mouse_x() override;
    int mouse_y() override;
    std::string program_folder() override;
    int run_loop() override;
    void quit(int code) override;

    // Runs a call into the runtime from a Qt event: nothing may escape into
    // Qt's dispatch, and an exit of the program ends the event loops.
    void guarded(const std::function<void()>& f);

    // Multi-line texts written during this turn of the event loop, shown now
    // (widget() does this for whoever looks).
    void flush_text();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class FormWindow;
    // The widget as it is now, none before the form is realized.
    static QWidget* view_of(const Control& c) { return static_cast<QWidget*>(c.view); }
    Control* control_of(QObject* o) const;
    // Makes the widgets of a form's controls (once; the form shows on screen
    // or a widget is asked for).
    void realize(Form& f);
    void create_view(Control& c);
    void rebuild_view(Control& c);
    // Shows the runtime's state of a control: all of it, or what one
    // property write changed (prop >= 0).
    void apply(Control& c, int prop = -1);
    void apply_geometry(Control& c, QWidget* w);
    // A control moved, resized, showed or hid: a window that scrolls over
    // its controls follows.
    static void form_controls_moved(Control& c);
    void apply_kind(Control& c, QWidget* w, int prop);
    static void sync_text(Control& c, QPlainTextEdit* e);
    void defer_text(Control& c);
    void fill_items(Control& c);
    void apply_tips(Form& f);
    void apply_tip(const Control& c, QWidget* w);
    void build_menu_bar(Form& f, FormWindow* win);
    void connect_view(Control& c, QWidget* w);
    void track_animation(Control& c);
    void animate();
    void schedule_timers();
    void check_exit();
    void user_close(Form& f);
    void user_resize(Form& f, int w, int h);
    // A turn of the wheel over form `f` that nothing took: its own scroll
    // bar of that direction moves. False when it has none showing.
    bool scroll_form(Form& f, QWheelEvent* e);
    // Whether `c` takes the wheel itself: the user gave it the focus (a
    // click on it, Tab to it) and it has it still.
    bool holds_wheel(const Control& c) const;
    void focus_given(Control& c, Qt::FocusReason why);
    bool drag_event(QMouseEvent* e);
    // Brings windows back into the desktop after a screen changed.
    void screens_changed();

    Runtime* rt_ = nullptr;
    QElapsedTimer clock_;
    QTimer timer_;      // drives the forms' Timer controls
    QTimer animation_;  // steps animated pictures
    std::vector<QPointer<PictureView>> animated_;
    std::vector<Control*> text_pending_; // multi-line boxes whose text is to be shown
    bool text_flush_posted_ = false;
    std::map<Form*, QEventLoop*> modal_loops_;
    SoundPlayer* sounds_ = nullptr;
    int syncing_ = 0;   // >0 while the view follows the runtime: no echo back
    bool exiting_ = false;
    bool in_main_loop_ = false;
    int exit_code_ = 0;
    const QEvent* last_press_ = nullptr;
    quint64 last_press_time_ = 0;
    int wheel_rest_ = 0;
    bool wheel_taken_ = false; // the focused control took the last wheel event
    bool forwarding_wheel_ = false; // a turn handed on to a scroll bar
    const Control* wheel_owner_ = nullptr; // given the focus by the user
    bool tab_pressed_ = false;     // a Tab key is being handled
    struct {
        Control* control = nullptr;
        QPoint pos; // where the last button went down on it
    } press_;
    struct {
        Control* control = nullptr;
        QPoint grab;
    } drag_;
};

} // namespace ui::qt

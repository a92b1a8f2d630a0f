#pragma once
// The form runtime: loads forms from their definitions, owns them, keeps
// every control's properties, raises events into named handlers, and turns
// a user's actions (from a backend or a scenario) into those events.
#include "ui/backend.h"
#include "ui/background.h"
#include "ui/form.h"
#include "ui/values.h"

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace ui {

struct EventArgs {
    Form* form = nullptr;
    Control* control = nullptr;
    Event event = Event::Click;
    int a = 0, b = 0, c = 0; // x, y, keys; wheel steps, keys; tool-bar index
    bool result = true;      // QueryClose: false keeps the form open
};
using Handler = std::function<void(EventArgs&)>;

// Thrown when the program ends at once (a runtime error, or rt_exit) on a
// backend that does not end the process itself.
struct ProgramExit : std::runtime_error {
    int code;
    explicit ProgramExit(int c) : std::runtime_error("program exit"), code(c) {}
};

class Runtime {
public:
    explicit Runtime(Backend& backend);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    // The runtime in charge of the calling code (the most recent one made).
    static Runtime& current();
    static bool has_current();

    Backend& backend() { return backend_; }

    // Handlers are plain functions registered under the names that form
    // definitions bind to events.
    void register_handler(const std::string& name, Handler h);
    bool has_handler(const std::string& name) const;
    // Extra definitions beside the embedded forms/ (tests use this).
    void add_definition(const std::string& form_name, const nlohmann::json& def);
    bool add_definition_file(const std::string& path, std::string* error);
    bool has_definition(const std::string& form_name) const;

    // Forms.
    Form* load_form(const std::string& name, Form* owner, bool modal);
    Form* form(const std::string& name) const; // loaded form or nullptr
    std::vector<Form*> forms() const;
    void destroy_later(Form& f);
    void destroy_now(Form& f);
    void set_parent(Form& f, Control& container);
    // A loaded form's control; a form that is not loaded ends the program
    // with the runtime error (an unknown control name is a programming
    // error and ends it too, naming the control).
    Control& unit(const std::string& form, const std::string& control);

    // Properties.
    Value get(Control& c, int prop, int member = -1);
    void set(Control& c, int prop, const Value& v, int member = -1);
    bool effectively_visible(const Control& c) const;

    // Events.
    void raise(Control& c, Event e, EventArgs args = {});

    // Focus.
    void set_focus(Control* c);
    Control* focus() const { return focus_; }
    bool has_focus(const Control& c) const;

    // User actions.
    void user_click(Control& c);
    void user_type(Control& edit, const std::string& text); // focus, clear, one change per character
    void user_edit_text(Control& edit, const std::string& text); // the view's text changed by the user
    void user_choose(Control& list, int index);
    void user_tick(Control& c, int item = -1);
    void user_page(Control& tab, int page);
    void user_scroll(Control& bar, int position);
    void user_toolbar(Control& bar, int index);
    void user_wheel(Control& c, int steps, int keys = 0);
    // The control has the focus and a use for the wheel (a MouseWheel handler).
    bool takes_wheel(const Control& c) const;
    void user_mouse_down(Control& c, bool left, int x, int y, int keys = 0);
    void user_menu(Form& f, int menu_index);
    bool user_close(Form& f);
    void user_resize(Form& f, int width, int height);

    // Calculations. A form's calculation notes every input control of the
    // form it reads before writing it (edit boxes, lists, marks); when it
    // ends, what those hold is kept, so that an export can tell whether the
    // results shown still belong to the inputs on the form.
    // NotCalculated: none has ended yet. Current: the last one gave results
    // and its inputs hold what they held. Stale: an input it read has
    // changed since, or its results were discarded. Refused: it gave no
    // results (whatever was typed since: there is nothing to be stale).
    //
    // A refused calculation says why, once: the first input it could not
    // use ("工字钢梁数须为大于0的整数") or the reason it was refused with,
    // on the form's status label (definition "calculation": "status", else
    // 标签1_提示信息), or in a message where the form has none and the
    // calculation showed no message of its own. The next calculation that
    // gives results gives the label back what it showed before.
    //
    // The controls a form declares as its verdicts (definition
    // "calculation": "verdicts": pass texts, classes, levels) hold what the
    // last calculation concluded from its inputs: once those inputs change,
    // or its results are discarded, the verdicts it left are taken away
    // (a result box shows "-", a label nothing, both in the colours the form
    // opens with), and the results stay discarded.
    enum class Results { NotCalculated, Current, Stale, Refused };
    void calculation_begin(Form& f);
    // The running calculation gives no results: an input it needs is
    // missing or meaningless, or it was refused. `reason`, when not empty,
    // is what the user is told, unless an input was refused before it.
    void calculation_refused(const std::string& reason = {});
    bool calculation_running() const { return running_ != nullptr; }
    void calculation_end();
    // The form's last calculation no longer stands for what the form shows
    // (its result tables were cleared), even should the inputs come back to
    // what it read.
    void discard_results(const Form& f);
    Results results_state(const Form& f) const;
    // What the user calls an input: the form definition's name for it
    // ("calculation": "names"), else the meaning its control name gives
    // ("编辑框1_工字钢梁数": "工字钢梁数").
    std::string input_name(const Control& c) const;
    // Called by the property and list operations.
    // `marks_only`: only the marks of a check list's items were read, not
    // which item is current (the highlight is no input then).
    void note_read(Control& c, bool marks_only = false);
    void note_write(Control& c);
    // An input the running calculation read holds no usable number (a result
    // it wrote itself and reads back does not count).
    void input_unusable(Control& c);

    // Message boxes of the program's code (cmd_message_box), counted so that
    // a calculation knows whether it has spoken to the user already.
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner);

    // Timers, driven by the backend's clock.
    int64_t next_timer_due() const; // INT64_MAX when none
    void run_due_timers(int64_t now);

    // Threads started by cmd_start_thread; joined before the runtime goes.
    // Each runs with this runtime's stop (BackgroundStop::of_this_thread).
    // False when no thread could be started.
    bool start_thread(std::function<void()> fn);
    // True while a thread started here is still at work.
    bool background_busy() const { return background_.busy(); }
    // Waits until every thread started so far has done its work; false when
    // `limit` ran out first.
    bool wait_background(std::chrono::milliseconds limit) { return background_.wait_idle(limit); }
    // The program is ending: background transfers give up at once.
    void stop_background() { stop_->raise(); }

    // Ends the program at once after the runtime-error message.
    [[noreturn]] void fail(const std::string& message_text);
    [[noreturn]] void exit_program(int code);

    // The state of cmd_random's generator: one per run of the program.
    uint64_t& random_state() { return random_state_; }

    // The current animation frame of a picture box (GIF schedule).
    int animation_frame(const Control& c, int64_t now) const;

private:
    Form* create_form(const std::string& name, const nlohmann::json& def);
    void apply_control(Form& f, Control& c, const nlohmann::json& j);
    void set_text_value(Control& c, int prop, const std::string& s);
    void numeric_rewrite(Control& c);
    void radio_select(Control& c);

    // A verdict control as a calculation left it.
    struct ShownVerdict {
        int id = 0;
        std::string text;
        int32_t text_color = 0, back_color = 0;
    };
    struct Calculation {
        std::map<int, std::string> inputs; // control id -> its state at the end
        std::set<int> written;
        std::set<int> marks_only; // inputs of which only the items' marks were read
        bool refused = false, ended = false, discarded = false;
        std::string refusal;               // what the user is told of a refusal
        int messages_at_begin = 0;
        std::vector<ShownVerdict> verdicts; // of a calculation that gave results
    };
    // A form definition's "calculation": where a refusal is told, the
    // inputs' names for the user, and the verdict controls with the colours
    // the form opens with.
    struct CalculationForm {
        std::string status; // a label; empty: a message instead
        std::map<std::string, std::string> names;
        struct Verdict {
            int id = 0;
            int32_t text_color = 0, back_color = 0;
        };
        std::vector<Verdict> verdicts;
    };
    // A refusal line on a status label, and what the label showed before.
    struct StatusLine {
        std::string shown, before;
    };
    static bool holds_input(const Control& c);
    static std::string input_state(const Control& c, bool with_current);
    void read_calculation_form(Form& f, const nlohmann::json& def);
    void tell_refusal(Form& f, const std::string& line, bool spoken);
    void withdraw_refusal(Form& f);
    std::vector<ShownVerdict> verdicts_shown(Form& f) const;
    void take_away(Form& f, std::vector<ShownVerdict> verdicts);
    // After a user's action (and what its handlers wrote): verdicts whose
    // calculation no longer holds are taken away.
    void settle_results();

    Backend& backend_;
    std::map<std::string, Calculation> calculations_; // by form name
    std::map<std::string, CalculationForm> calculation_forms_; // by form name
    std::map<std::string, StatusLine> status_lines_;           // by form name
    int messages_shown_ = 0;
    Calculation* running_ = nullptr;
    Form* running_form_ = nullptr;
    std::map<std::string, Handler> handlers_;
    std::map<std::string, std::shared_ptr<nlohmann::json>> extra_defs_;
    std::map<std::string, std::unique_ptr<Form>> forms_;
    std::vector<std::unique_ptr<Form>> graveyard_;
    Control* focus_ = nullptr;
    std::vector<std::thread> threads_;
    std::mutex threads_mutex_;
    BackgroundCount background_;
    std::shared_ptr<BackgroundStop> stop_ = std::make_shared<BackgroundStop>();
    Runtime* previous_ = nullptr;
    uint64_t random_state_ = 0x2545F4914F6CDD1DULL; // never seeded
    int next_form_id_ = 1;
};

} // namespace ui

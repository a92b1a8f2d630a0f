#pragma once
// The operations every handler uses: the window layer's public face.
// Forms and controls are named by form name and control name; an empty
// control name means the form itself.
#include "ui/runtime.h"
#include "ui/values.h"

#include <cmath>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

namespace ui {

struct Ref {
    std::string form;
    std::string control; // empty: the form itself
};
inline Ref U(std::string form, std::string control = {}) { return {std::move(form), std::move(control)}; }

// --- properties -------------------------------------------------------------
Value rt_get_property(const Ref& unit, int prop, int member = -1);
void rt_set_property(const Ref& unit, int prop, const Value& v, int member = -1);

// The text a control shows: an edit box's or combo box's Content, a
// caption, a form's title. Writing goes through the same property, so an
// edit box raises its change event as any write does.
std::string control_text(const Ref& unit);
void set_control_text(const Ref& unit, const std::string& text);
// The item text of a combo box or list box at its current index ("" for none).
std::string current_item_text(const Ref& unit);
// Calculations read what a box shows and write what it will show: a later
// step that reads a result back works with the rounded value the user sees.
// A box with a domain gives not-a-number for a text outside it (ui/value.h).
double read_number(const Ref& unit);
// A result a calculation wrote, read back by a later step: "-" (no finite
// value) stays not-a-number, so what is built on it shows "-" too rather
// than a plausible-looking figure computed from 0.
double read_result(const Ref& unit);
// The count of a row of machines or tools, where an empty box means none of
// them: 0 for an empty (or blank) box, else the count as read_number reads it.
double read_count_or_none(const Ref& unit);
void write_number(const Ref& unit, double x);
// x rounded to `places` decimals; at 1 place or more, an x above 0 (by more
// than the 1e-7 of the comparisons) that would show as 0 shows two
// significant digits (0.00044), which is also what read_result reads back.
void write_rounded(const Ref& unit, double x, int places);
// x rounded toward safety at `places` decimals (round_places_up/down): a
// needed amount up, an allowed maximum down. The box keeps x as its worked
// figure, so that a report signs the rounded figure "≈".
void write_rounded_up(const Ref& unit, double x, int places);
void write_rounded_down(const Ref& unit, double x, int places);
// The figure behind the number a box shows: what the calculation worked out
// when it wrote the box with write_number or a write_rounded… (before any
// rounding), else the number the text itself writes (a text has no hidden
// digits); not-a-number when the text is no number ("-").
double worked_figure(const Ref& unit);

// --- calculations -------------------------------------------------------------
// A module's calculation runs between these two calls. What it reads of its
// form's inputs before writing them is kept: its results are current while
// those inputs hold what they held when it ended. A box with a domain (form
// definition "domains") that a calculation reads outside that domain makes
// the calculation give no results, as calculation_refused() does, and the
// form then names the first such box and what it must hold (Runtime, on
// calculations); verdicts the form declares go once an input changes.
void calculation_begin(const std::string& form);
// The running calculation gives no results. Without a reason, the user is
// told of the first input it could not use, or "计算未得出结果，请检查输入
// 后重新计算！" when there was none; with one, a refusal no single input
// explains ("反算的孔数不足1个") is told in those words, unless an input
// was refused first.
void calculation_refused();
void calculation_refused(const std::string& reason);
// Refuses the running calculation when one of the form's `results` shows
// "-" (it could not be worked out): such results leave nothing to report.
// True when every one shows a value.
bool refuse_unless_shown(const std::string& form, std::span<const char* const> results);
inline bool refuse_unless_shown(const std::string& form, std::initializer_list<const char*> results)
{
    return refuse_unless_shown(form, std::span<const char* const>(results.begin(), results.size()));
}
void calculation_end();
// The form's results no longer belong to its inputs (see Runtime).
void discard_results(const std::string& form);
Runtime::Results results_state(const std::string& form);

// --- conversions ------------------------------------------------------------
double cmd_to_number(const Value& v);
int32_t cmd_to_int(const Value& v);
float cmd_to_float(const Value& v);
std::string cmd_to_text(const Value& v);
double cmd_round(double x, int places = 0);
inline double cmd_power(double x, double y) { return std::pow(x, y); }
inline double cmd_sqrt(double x) { return std::sqrt(x); }
inline double cmd_sin(double x) { return std::sin(x); }
inline double cmd_cos(double x) { return std::cos(x); }
inline double cmd_tan(double x) { return std::tan(x); }
int32_t cmd_random(int32_t min = 0, int32_t max = 2147483647);
void cmd_sort_array(std::vector<double>& a, bool ascending = true);
int32_t gen_float_to_int(double x);
bool gen_compare_bytes(const Bytes& a, const Bytes& b, size_t length);

// --- texts (lengths and positions in GBK bytes) -------------------------------
int cmd_text_length(const std::string& s);
std::string cmd_text_mid(const std::string& s, int start, int length);
int cmd_find_text(const std::string& s, const std::string& sought, int start = 1, bool ignore_case = false);

// A 1-based text array; an index outside it ends the program with the
// runtime error, as the array rules say.
class TextArray {
public:
    TextArray() = default;
    explicit TextArray(std::vector<std::string> v) : v_(std::move(v)) {}
    int size() const { return int(v_.size()); }
    const std::string& operator[](int index) const; // 1-based
private:
    std::vector<std::string> v_;
};
TextArray cmd_split_text(const std::string& s, const std::string& sep = ",", int max_parts = 0);

// --- date and time -------------------------------------------------------------
DateTime cmd_now();
inline int cmd_year(const DateTime& t) { return t.year; }
inline int cmd_month(const DateTime& t) { return t.month; }
inline int cmd_day(const DateTime& t) { return t.day; }
inline int cmd_hour(const DateTime& t) { return t.hour; }
inline int cmd_minute(const DateTime& t) { return t.minute; }
inline int cmd_second(const DateTime& t) { return t.second; }

// --- forms and windows ------------------------------------------------------------
bool cmd_load_form(const std::string& form, const std::string& owner = {}, bool modal = false);
bool cmd_is_created(const Ref& unit);
void cmd_destroy(const std::string& form);
void cmd_set_parent(const std::string& form, const Ref& container);
void cmd_move(const Ref& unit, int left = -1, int top = -1, int width = -1, int height = -1);
int cmd_client_width(const Ref& unit);
int cmd_client_height(const Ref& unit);
int cmd_screen_width();
void cmd_set_z_order(const Ref& unit, int position);
void cmd_set_focus(const Ref& unit);
bool cmd_has_focus(const Ref& unit);
void cmd_repaint_now(const Ref& unit);
// The control follows the mouse inside its parent until the left button is
// released; called from its LeftButtonDown handler.
void cmd_drag_control(const Ref& unit);
int cmd_mouse_x();
int cmd_mouse_y();
// Pops up the hidden menu root whose caption is given (or the first hidden
// root when empty) and runs the chosen item's handler.
void cmd_popup_menu(const std::string& form, const std::string& root_caption = {});
void cmd_set_xp_style(int scheme);

// --- messages, sounds, timing ------------------------------------------------------
int cmd_message_box(const Value& content, int style = 0, const std::string& caption = "信息：",
                    const std::string& owner = {});
bool cmd_play_sound(const Bytes& wav);
// Plays the embedded sound at the path; the path is what the logs show.
bool cmd_play_sound_resource(const std::string& path);
void cmd_sleep(int ms);
void cmd_wait_pumping(int ms);

// --- files ---------------------------------------------------------------------
// Why a file operation failed, for the user: the usual causes in words
// ("磁盘空间不足（No space left on device）"), others in the system's text.
std::string failure_reason(int err);
std::string cmd_program_folder();
// On failure *error (when given) is the reason (failure_reason), read at the
// failing call.
bool cmd_make_folder(const std::string& path, std::string* error = nullptr);
// The new bytes go to a temporary file beside the target, are flushed to the
// disk and then renamed over it: whatever fails, the target keeps either all
// of its old bytes or all of the new ones, and no other file stays behind.
// A link is written through; a target that could not be written in place
// (read-only, a folder) is refused as an in-place write would be.
bool cmd_write_file(const std::string& path, const std::vector<const Bytes*>& blocks, std::string* error = nullptr);
inline bool cmd_write_file(const std::string& path, const Bytes& block, std::string* error = nullptr)
{
    return cmd_write_file(path, {&block}, error);
}

// --- web, shell, threads ---------------------------------------------------------
// Body of the response; empty on failure or after the timeout. `status`,
// when given, receives the HTTP status of the last response (after any
// redirects), 0 when none came.
Bytes cmd_http_get(const std::string& url, int timeout_ms = 5000, long* status = nullptr);
std::string cmd_convert_encoding(const std::string& bytes, const std::string& from, const std::string& to);
bool cmd_is_online();
void set_online_probe(const std::string& url);
// Only http and https addresses are opened; any other is ignored (false).
bool cmd_open_url(const std::string& url);
bool cmd_html_view_navigate(const Ref& viewer, const std::string& url);
void cmd_shell_run(int verb, const std::string& path);
bool cmd_start_thread(std::function<void()> fn);
// Runs fn on the GUI thread later; safe from any thread.
void cmd_post(std::function<void()> fn);

// --- lists, tips, edit boxes, dialogs ------------------------------------------------
std::string cmd_combo_item_text(const Ref& combo, int index);
int cmd_combo_add_item(const Ref& combo, const std::string& text);
void cmd_combo_clear(const Ref& combo);
int cmd_list_count(const Ref& list);
std::string cmd_list_item_text(const Ref& list, int index);
int cmd_list_add_item(const Ref& list, const std::string& text);
void cmd_list_clear(const Ref& list);
bool cmd_checklist_is_checked(const Ref& list, int index);
void cmd_edit_append(const Ref& edit, const std::vector<std::string>& texts);
bool cmd_attach_tip(const Ref& tip, const Ref& target, const std::string& text);
bool cmd_open_dialog(const Ref& dialog);

// --- start and end -------------------------------------------------------------
[[noreturn]] void rt_exit(int code);

} // namespace ui

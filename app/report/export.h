#pragma once
// The report export that every module's export button runs: a request as
// data (templates, placeholder rows, status marks), one operation that
// carries it out.
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace report {

// Points of the export at which a request's marks run.
enum class Stage {
    Pressed, Busy, FolderMade, WordStarted, DocumentsAttached, TemplateWritten, DocumentOpened,
    BindingsDone, Saved, WordClosed, ProgressDone, Restored, Announced, Explored,
};

struct StatusMark {
    enum Kind { Countdown, Status, Log, ClearLog, Pause } kind = Status;
    int n = 0;        // Countdown step 10..0, or Pause milliseconds
    std::string text; // Status and Log
    static StatusMark countdown(int n) { return {Countdown, n, {}}; }
    static StatusMark status(std::string t) { return {Status, 0, std::move(t)}; }
    static StatusMark log(std::string t) { return {Log, 0, std::move(t)}; }
    static StatusMark clear_log() { return {ClearLog, 0, {}}; }
    static StatusMark pause(int ms) { return {Pause, ms, {}}; }
};

struct Condition {
    enum Kind { Always, ItemTextIs, RadioChecked, AllOf, Otherwise } kind = Always;
    std::string control; // ItemTextIs: a combo or list box; RadioChecked: a radio box
    std::string text;    // ItemTextIs
    std::vector<Condition> all;
    static Condition always() { return {Always, {}, {}, {}}; }
    static Condition item_text_is(std::string box, std::string text) { return {ItemTextIs, std::move(box), std::move(text), {}}; }
    static Condition radio_checked(std::string radio) { return {RadioChecked, std::move(radio), {}, {}}; }
    static Condition all_of(std::vector<Condition> c) { return {AllOf, {}, {}, std::move(c)}; }
    static Condition otherwise() { return {Otherwise, {}, {}, {}}; }
};

struct TemplateChoice {
    Condition condition;
    std::string template_path;    // embedded resource, e.g. "templates/roller.docx"
    std::string report_file_name; // ends ".doc"
};

struct ValueSource {
    // TrimmedText: the control's text without the line breaks and blanks
    // around it (a caption the screen pads to centre it in its box).
    // Computed: a figure the calculation works with but no box shows (a
    // support reaction), worked out from the boxes when the report is filled,
    // so that a formula line can show its result.
    enum Kind { ControlText, ItemText, TrimmedText, Computed } kind = ControlText;
    std::string control;
    std::function<std::string()> compute;
};

struct PlaceholderBinding {
    std::string placeholder;
    ValueSource source;
    int repeat = 1;
    std::optional<StatusMark> mark_before;
};
// The common row: the placeholder is a control name and the value that
// control's text.
inline PlaceholderBinding bind(std::string control, int repeat = 1, std::optional<StatusMark> before = std::nullopt)
{
    return {control, {ValueSource::ControlText, control, {}}, repeat, std::move(before)};
}
inline PlaceholderBinding bind_item(std::string box, int repeat = 1, std::optional<StatusMark> before = std::nullopt)
{
    return {box, {ValueSource::ItemText, box, {}}, repeat, std::move(before)};
}
inline PlaceholderBinding bind_trimmed(std::string control, int repeat = 1, std::optional<StatusMark> before = std::nullopt)
{
    return {control, {ValueSource::TrimmedText, control, {}}, repeat, std::move(before)};
}

// A figure no control shows; its placeholder begins "计算值_" so that it
// reads as no control's name.
inline PlaceholderBinding bind_computed(std::string placeholder, std::function<std::string()> compute, int repeat = 1)
{
    return {std::move(placeholder), {ValueSource::Computed, {}, std::move(compute)}, repeat, std::nullopt};
}

struct ExportRequest {
    std::string form;                          // the module form
    std::string status_label = "标签1_提示信息";
    std::string log_box;                       // none when empty
    // Shown, instead of exporting, when the form has not been calculated yet;
    // results that no longer belong to the inputs are refused with
    // "输入已修改，请重新计算后导出！", and a calculation that gave no
    // results with "计算未得出结果，请检查输入后重新计算！".
    std::string not_calculated_message = "您还未进行计算，请计算后导出！";
    std::string refusal_caption = "提示";
    bool messages_owned = false;               // owned by the main window
    std::vector<TemplateChoice> templates;
    std::vector<PlaceholderBinding> bindings;
    std::vector<std::pair<Stage, StatusMark>> marks;
    Stage closing_stage = Stage::Restored;
    std::string success_message;
    std::string progress_bar = "进度条1";
    std::string progress_label;                // empty: the status label
    std::string progress_prefix = "计算书已导出 ";
    std::string progress_suffix = "%  ";
    int step_pause_ms = 1;
    int end_pause_ms = 500;
    std::optional<std::string> completion_text;
};

// Runs the whole export. Called from a module's export button handler.
void RunReportExport(const ExportRequest& request);

// What an export filled its template with: each row's placeholder, the value
// as it was read and the repeat count, in order. The export runs the same
// with or without a listener; the bench listens, to replay the modules' real
// exports.
struct FilledRow {
    std::string placeholder, value;
    int repeat = 1;
};
struct FilledTemplate {
    std::string form, template_path;
    std::vector<FilledRow> rows;
};
void listen_to_fills(std::function<void(const FilledTemplate&)> listener);

// The folder reports go to: the program folder + "/导出的方案".
std::string report_folder();

} // namespace report

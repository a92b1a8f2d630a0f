#include "app/report/export.h"

#include "app/report/docx.h"
#include "app/shell.h"
#include "ui/cmd.h"

#include <ctime>
#include <sys/stat.h>

namespace report {

using namespace ui;

std::string report_folder() { return cmd_program_folder() + "/导出的方案"; }

namespace {

const char* const k_idle_status = "方案导出需要Word2007以上版本！";

std::function<void(const FilledTemplate&)>& fill_listener()
{
    static std::function<void(const FilledTemplate&)> listener;
    return listener;
}

class Export {
public:
    explicit Export(const ExportRequest& r) : r_(r) {}

    void run()
    {
        set_picture("图形按钮_导出", prop::PicBtn::Picture, app::res::export_pressed);
        app::PlayClickSounds(app::res::sound_export);
        marks(Stage::Pressed);

        // A report states only what was calculated from the inputs it shows.
        const Runtime::Results results = results_state(r_.form);
        if (results != Runtime::Results::Current) {
            set_picture("图形按钮_导出", prop::PicBtn::Picture, app::res::export_pressed);
            cmd_message_box(refusal_message(results), 0, r_.refusal_caption);
            set_picture("图形按钮_导出", prop::PicBtn::Picture, app::res::export_normal);
            return;
        }
        if (cmd_message_box("确定开始导出，中途请勿进行其他操作！", 1, "信息：", owner()) != 0) {
            set_picture("图形按钮_导出", prop::PicBtn::Picture, app::res::export_normal);
            return;
        }
        // An earlier report (perhaps completed by hand) is replaced only when
        // the user agrees.
        if (const TemplateChoice* choice = choose_template();
            choice && exists(report_folder() + "/" + choice->report_file_name) &&
            cmd_message_box("计算书已存在，是否替换？", 1, "提示", owner()) != 0) {
            set_picture("图形按钮_导出", prop::PicBtn::Picture, app::res::export_normal);
            return;
        }

        app::lamp_busy();
        rt_set_property(U(r_.form, "图形按钮_导出"), prop::Disabled, true);
        rt_set_property(U(r_.form, "图形按钮_计算"), prop::Disabled, true);
        set_picture("图形按钮_导出", prop::PicBtn::PictureDisabled, app::res::export_pressed);
        marks(Stage::Busy);

        std::string folder = report_folder(), why;
        if (!cmd_make_folder(folder, &why) && !is_folder(folder)) fail(folder, "无法创建文件夹：" + why);
        marks(Stage::FolderMade);
        marks(Stage::WordStarted);
        marks(Stage::DocumentsAttached);

        // The report is filled in memory and written once, at the end: until
        // then the report of an earlier export stays as it was.
        const TemplateChoice* choice = choose_template();
        std::string path;
        const Bytes* tpl = nullptr;
        if (!choice) {
            fail(folder, "没有与当前选择相符的报告模板");
        } else {
            path = folder + "/" + choice->report_file_name;
            tpl = &resource(choice->template_path);
            if (failed_.empty() && tpl->empty()) fail(path, "程序中没有报告模板 " + choice->template_path);
        }
        marks(Stage::TemplateWritten);

        bool open = false;
        if (failed_.empty()) {
            open = doc_.open_bytes(*tpl, &why);
            if (!open) fail(path, "无法打开报告模板：" + why);
        }
        rt_set_property(U(r_.form, "Word程序"), prop::WordApp::AppVisible, false);
        marks(Stage::DocumentOpened);

        if (open) {
            std::vector<std::string_view> placeholders;
            for (const PlaceholderBinding& b : r_.bindings) placeholders.push_back(b.placeholder);
            doc_.prepare(placeholders);
        }
        FilledTemplate filled{r_.form, open ? choice->template_path : "", {}};
        for (const PlaceholderBinding& b : r_.bindings) {
            if (b.mark_before) apply(*b.mark_before);
            std::string value = b.source.kind == ValueSource::Computed   ? b.source.compute()
                                : b.source.kind == ValueSource::ItemText ? current_item_text(U(r_.form, b.source.control))
                                                                         : control_text(U(r_.form, b.source.control));
            if (b.source.kind == ValueSource::TrimmedText) value = trimmed(value);
            if (open) doc_.replace(b.placeholder, value, b.repeat);
            if (open && fill_listener()) filled.rows.push_back({b.placeholder, std::move(value), b.repeat});
        }
        if (open && fill_listener()) fill_listener()(filled);
        marks(Stage::BindingsDone);

        if (open) {
            doc_.leave_out_blank_parts();
            const std::string now = utc_text(cmd_now());
            doc_.set_times(now, now);
            std::string bytes;
            if (!doc_.save_bytes(&bytes, &why)) fail(path, "无法保存报告：" + why);
            else if (!cmd_write_file(path, bytes, &why)) fail(path, "无法写入文件：" + why);
            else cmd_written(path);
        }
        marks(Stage::Saved);
        marks(Stage::WordClosed);

        // A failed export shows no progress: nothing was exported.
        if (failed_.empty()) progress();
        marks(Stage::ProgressDone);

        rt_set_property(U(r_.form, "图形按钮_导出"), prop::Disabled, false);
        rt_set_property(U(r_.form, "图形按钮_计算"), prop::Disabled, false);
        set_picture("图形按钮_导出", prop::PicBtn::Picture, app::res::export_normal);
        app::lamp_idle();
        marks(Stage::Restored);
        closing_if(Stage::Restored);

        if (failed_.empty()) cmd_message_box(r_.success_message, 0, "信息：", owner());
        else cmd_message_box(failed_, 0, "错误", owner());
        marks(Stage::Announced);
        closing_if(Stage::Announced);

        if (failed_.empty()) cmd_shell_run(2, folder);
        marks(Stage::Explored);
        closing_if(Stage::Explored);
    }

private:
    // The local time the program shows, as a W3C date-time in UTC.
    static std::string utc_text(const DateTime& t)
    {
        std::tm local{};
        local.tm_year = t.year - 1900, local.tm_mon = t.month - 1, local.tm_mday = t.day;
        local.tm_hour = t.hour, local.tm_min = t.minute, local.tm_sec = t.second;
        local.tm_isdst = -1;
        const std::time_t when = std::mktime(&local);
        std::tm utc{};
        char buf[32];
        if (when == std::time_t(-1) || !gmtime_r(&when, &utc) ||
            !std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc))
            return {};
        return buf;
    }

    static bool exists(const std::string& p)
    {
        struct stat st;
        return ::lstat(p.c_str(), &st) == 0;
    }

    static bool is_folder(const std::string& p)
    {
        struct stat st;
        return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }

    std::string owner() const { return r_.messages_owned ? "main" : ""; }

    // Why there is nothing to export. A calculation that gave no results is
    // told as such: nothing was changed that the user should look for.
    std::string refusal_message(Runtime::Results results) const
    {
        switch (results) {
        case Runtime::Results::NotCalculated: return r_.not_calculated_message;
        case Runtime::Results::Refused: return "计算未得出结果，请检查输入后重新计算！";
        default: return "输入已修改，请重新计算后导出！";
        }
    }

    static std::string trimmed(const std::string& s)
    {
        const size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
        return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
    }

    void fail(const std::string& path, const std::string& reason)
    {
        if (failed_.empty()) failed_ = "报告导出失败：" + path + "\r\n" + reason;
    }

    void cmd_written(const std::string& path) { Runtime::current().backend().file_written(path); }

    void set_picture(const std::string& control, int p, const char* picture)
    {
        rt_set_property(U(r_.form, control), p, Blob{resource(picture)});
    }

    bool holds(const Condition& c, bool earlier_held) const
    {
        switch (c.kind) {
        case Condition::Always: return true;
        case Condition::ItemTextIs: return current_item_text(U(r_.form, c.control)) == c.text;
        case Condition::RadioChecked: return rt_get_property(U(r_.form, c.control), prop::RadioBox::Checked).truth();
        case Condition::AllOf:
            for (const Condition& d : c.all)
                if (!holds(d, earlier_held)) return false;
            return true;
        case Condition::Otherwise: return !earlier_held;
        }
        return false;
    }

    const TemplateChoice* choose_template() const
    {
        for (const TemplateChoice& t : r_.templates)
            if (holds(t.condition, false)) return &t;
        return nullptr;
    }

    void apply(const StatusMark& m)
    {
        switch (m.kind) {
        case StatusMark::Countdown:
            rt_set_property(U(r_.form, r_.status_label), 8, "参数处理，倒计时" + std::to_string(m.n));
            rt_set_property(U(r_.form, "进度条倒数"), prop::PicBox::Picture, Blob{resource(app::res::countdown_picture(m.n))});
            break;
        case StatusMark::Status:
            rt_set_property(U(r_.form, r_.status_label), 8, m.text);
            break;
        case StatusMark::Log:
            if (!r_.log_box.empty()) cmd_edit_append(U(r_.form, r_.log_box), {m.text});
            break;
        case StatusMark::ClearLog:
            if (!r_.log_box.empty()) rt_set_property(U(r_.form, r_.log_box), prop::EditBox::Content, "");
            break;
        case StatusMark::Pause:
            cmd_sleep(m.n);
            break;
        }
    }

    void marks(Stage s)
    {
        for (auto& [stage, mark] : r_.marks)
            if (stage == s) apply(mark);
    }

    void closing_if(Stage s)
    {
        if (s != r_.closing_stage) return;
        rt_set_property(U(r_.form, r_.status_label), 8, k_idle_status);
        rt_set_property(U(r_.form, "进度条倒数"), prop::PicBox::Picture, Blob{resource(app::res::countdown_picture(10))});
    }

    void progress()
    {
        Ref bar = U(r_.form, r_.progress_bar);
        Ref label = U(r_.form, r_.progress_label.empty() ? r_.status_label : r_.progress_label);
        rt_set_property(bar, prop::ProcessBar::Position, 0);
        rt_set_property(bar, prop::ProcessBar::Maximum, 100);
        for (int pass = 0; pass < 100; ++pass) {
            int pos = rt_get_property(bar, prop::ProcessBar::Position).integer() + 1;
            rt_set_property(bar, prop::ProcessBar::Position, pos);
            pos = rt_get_property(bar, prop::ProcessBar::Position).integer();
            rt_set_property(label, 8, r_.progress_prefix + cmd_to_text(double(pos) / 100 * 100) + r_.progress_suffix);
            if (pos == 100) {
                cmd_sleep(r_.end_pause_ms);
                if (r_.completion_text) rt_set_property(label, 8, *r_.completion_text);
                rt_set_property(bar, prop::ProcessBar::Position, 0);
            }
            cmd_wait_pumping(r_.step_pause_ms);
        }
    }

    const ExportRequest& r_;
    Docx doc_;
    std::string failed_;
};

} // namespace

void RunReportExport(const ExportRequest& request) { Export(request).run(); }

void listen_to_fills(std::function<void(const FilledTemplate&)> listener) { fill_listener() = std::move(listener); }

} // namespace report

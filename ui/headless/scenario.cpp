#include "ui/headless/scenario.h"

#include "ui/cmd.h"
#include "ui/media.h"
#include "ui/resources.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace ui {

bool split_scenario_line(const std::string& line, std::vector<std::string>* words, std::string* error)
{
    words->clear();
    size_t i = 0, n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= n) break;
        std::string w;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < n) {
                char ch = line[i++];
                if (ch == '"') {
                    closed = true;
                    break;
                }
                if (ch == '\\' && i < n) {
                    char e = line[i++];
                    w += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
                } else {
                    w += ch;
                }
            }
            if (!closed) {
                if (error) *error = "unterminated quote";
                return false;
            }
        } else {
            while (i < n && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') w += line[i++];
        }
        words->push_back(w);
    }
    return true;
}

namespace {

struct PropName {
    const char* name;
    int number;
};

// Property names per kind, for show and expect.
int property_number(Kind k, const std::string& name)
{
    static const std::map<std::string, int> common = {
        {"Left", 0}, {"Top", 1}, {"Width", 2}, {"Height", 3}, {"Tag", 4}, {"Visible", 5}, {"Disabled", 6}, {"MousePointer", 7}};
    if (auto it = common.find(name); it != common.end()) return it->second;
    static const std::map<Kind, std::map<std::string, int>> per_kind = {
        {Kind::window, {{"Title", 8}}},
        {Kind::EditBox, {{"Content", 8}, {"TextColor", 10}, {"BackColor", 11}, {"Font", 12}, {"InputMode", 18}}},
        {Kind::Label, {{"Caption", 8}, {"TextColor", 16}}},
        {Kind::TransLabel, {{"Caption", 8}}},
        {Kind::GroupBox, {{"Caption", 8}}},
        {Kind::Button, {{"Caption", 8}}},
        {Kind::CheckBox, {{"Caption", 11}, {"TextColor", 15}, {"Checked", 18}}},
        {Kind::RadioBox, {{"Caption", 11}, {"Checked", 18}}},
        {Kind::ComboBox, {{"Content", 9}, {"CurrentIndex", 19}}},
        {Kind::ListBox, {{"BackColor", 13}, {"CurrentIndex", 16}}},
        {Kind::ChkListBox, {{"SingleCheck", 12}, {"CurrentIndex", 14}}},
        {Kind::PicBox, {{"Picture", 10}}},
        {Kind::PicBtn, {{"Picture", 10}, {"PictureHover", 11}, {"PicturePressed", 12}, {"PictureDisabled", 13}}},
        {Kind::ProcessBar, {{"Maximum", 12}, {"Position", 13}}},
        {Kind::HScrollBar, {{"Maximum", 9}, {"Page", 10}, {"Position", 12}}},
        {Kind::VScrollBar, {{"Maximum", 9}, {"Page", 10}, {"Position", 12}}},
        {Kind::Tab, {{"CurrentPage", 12}}},
        {Kind::Timer, {{"Interval", 8}}},
        {Kind::ShapeBox, {{"BackColor", 8}}},
        {Kind::CommonDlg, {{"Kind", 8}, {"FileName", 10}, {"Filter", 11}, {"InitialFolder", 13}, {"DefaultExtension", 14}}},
        {Kind::WordApp, {{"AppVisible", 14}}},
        {Kind::BarChart, {{"Title", 15}, {"XAxisCaption", 18}, {"YMaximum", 22}, {"YDivisions", 23}, {"SeriesCount", 27},
                          {"CurrentSeries", 28}, {"SeriesName", 29}, {"SeriesColor", 30}, {"CategoryCount", 31},
                          {"CurrentCategory", 32}, {"CategoryName", 33}, {"Value", 34}}},
    };
    if (auto it = per_kind.find(k); it != per_kind.end())
        if (auto jt = it->second.find(name); jt != it->second.end()) return jt->second;
    return -1;
}

std::string picture_name(const Bytes& b)
{
    if (b.empty()) return "";
    static std::map<size_t, std::vector<std::string>>* by_size = [] {
        auto* m = new std::map<size_t, std::vector<std::string>>();
        for (const std::string& p : resource_paths("resources/")) (*m)[resource(p).size()].push_back(p);
        return m;
    }();
    if (auto it = by_size->find(b.size()); it != by_size->end())
        for (const std::string& p : it->second)
            if (resource(p) == b) return p;
    return "<" + std::to_string(b.size()) + " bytes>";
}

class Session {
public:
    Session(std::ostream& out, const std::string& name) : out_(out), name_(name), backend_(&out), rt_(backend_)
    {
        backend_.attach(rt_);
        rt_.register_handler("LogEvent", [this](EventArgs& a) {
            out_ << "event: " << event_name(a.event) << ' ' << a.form->name << '.'
                 << (a.control->name.empty() ? "." : a.control->name);
            if (a.event == Event::MouseWheel || a.event == Event::ButtonClick) out_ << ' ' << a.a;
            out_ << '\n';
        });
    }

    int run(const std::string& text, const ScenarioOptions& opts, const ScenarioRunner::Starter& starter)
    {
        backend_.set_program_folder(opts.program_folder);
        if (!opts.now.empty()) {
            DateTime t;
            if (std::sscanf(opts.now.c_str(), "%d-%d-%dT%d:%d:%d", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second) == 6)
                backend_.set_now(t);
        }
        for (const std::string& dir : opts.form_dirs) {
            std::error_code ec;
            for (auto& e : fs::directory_iterator(dir, ec)) {
                if (e.path().extension() != ".json") continue;
                std::string err;
                if (!rt_.add_definition_file(e.path().string(), &err)) return fail_line(0, err);
            }
        }
        try {
            if (starter) starter(rt_, opts); // with --no-start it only registers the handlers
            backend_.pump();
        } catch (const ProgramExit& e) {
            exited_ = true;
            exit_code_ = e.code;
            out_ << "exit: " << e.code << '\n';
        }
        std::istringstream in(text);
        std::string line;
        int no = 0;
        while (std::getline(in, line)) {
            ++no;
            std::vector<std::string> w;
            std::string err;
            size_t first = line.find_first_not_of(" \t\r");
            if (first == std::string::npos || line[first] == '#') continue;
            if (!split_scenario_line(line, &w, &err)) {
                fail_line(no, err);
                continue;
            }
            if (w.empty()) continue;
            if (exited_) {
                if (w[0] == "expect-exit") {
                    exit_expected_ = true;
                    if (w.size() < 2 || std::atoi(w[1].c_str()) != exit_code_)
                        fail_line(no, "expected exit " + (w.size() > 1 ? w[1] : "?") + ", got " + std::to_string(exit_code_));
                    continue;
                }
                fail_line(no, "the program has ended; `" + w[0] + "` cannot run");
                break;
            }
            try {
                command(no, w, line);
                backend_.pump();
            } catch (const ProgramExit& e) {
                exited_ = true;
                exit_code_ = e.code;
                out_ << "exit: " << e.code << '\n';
            } catch (const std::exception& e) {
                fail_line(no, std::string("error: ") + e.what());
            }
        }
        // What the program's background work still brings is shown before
        // the run ends, as a user watching the window would see it.
        if (!exited_) {
            try {
                backend_.settle();
            } catch (const ProgramExit& e) {
                exited_ = true;
                exit_code_ = e.code;
                out_ << "exit: " << e.code << '\n';
            }
        }
        if (backend_.overdue()) fail_line(no, "background work did not finish");
        if (exited_ && !exit_expected_) fail_line(no, "the program ended unexpectedly with code " + std::to_string(exit_code_));
        out_ << (failures_ ? "FAILED " : "PASSED ") << name_ << " (" << failures_ << " failed)\n";
        return failures_ ? 1 : 0;
    }

private:
    int fail_line(int no, const std::string& what)
    {
        ++failures_;
        out_ << "FAIL " << name_ << ':' << no << ": " << what << '\n';
        return 1;
    }

    Form& current(int no)
    {
        Form* f = rt_.form(form_);
        if (!f) throw std::runtime_error("form " + form_ + " is not loaded");
        return *f;
    }

    Control& control(int no, const std::string& name)
    {
        Form& f = current(no);
        if (name == ".") return f.self();
        Control* c = f.find(name);
        if (!c) throw std::runtime_error("no control " + name + " in form " + form_);
        return *c;
    }

    static int item_index(const Control& c, const std::string& item)
    {
        for (int i = 0; i < int(c.items.size()); ++i)
            if (c.items[i] == item) return i;
        return -1;
    }

    std::string value_text(Control& c, const std::string& prop)
    {
        if (prop.empty()) {
            switch (c.kind) {
            case Kind::ComboBox: case Kind::ListBox: case Kind::ChkListBox:
                if (c.kind == Kind::ComboBox) return c.text;
                return c.current_index >= 0 && c.current_index < int(c.items.size()) ? c.items[c.current_index] : "";
            case Kind::PicBox: return picture_name(c.pictures[0]);
            case Kind::PicBtn: return picture_name(c.pictures[0]);
            default: return c.text;
            }
        }
        if (prop == "Items") {
            std::string s;
            for (size_t i = 0; i < c.items.size(); ++i) s += (i ? "|" : "") + c.items[i];
            return s;
        }
        if (prop == "Checks") {
            std::string s;
            for (size_t i = 0; i < c.item_checked.size(); ++i)
                if (c.item_checked[i]) s += (s.empty() ? "" : "|") + c.items[i];
            return s;
        }
        if (prop == "Tip") {
            for (auto& other : c.form->controls)
                if (other->kind == Kind::Q_tip)
                    if (auto it = other->tips.find(c.id); it != other->tips.end()) return it->second;
            return "";
        }
        if (prop == "Focus") return rt_.has_focus(c) ? "真" : "假";
        if (prop == "Shown") return rt_.effectively_visible(c) ? "真" : "假";
        if (prop == "Frame") return std::to_string(rt_.animation_frame(c, backend_.clock_ms()));
        if (prop == "FontSize") return std::to_string(c.font.size);
        if (prop == "Parent") return c.form->frame ? c.form->frame->form->name + "." + c.form->frame->name : "";
        int number = property_number(c.kind, prop);
        if (number < 0) throw std::runtime_error("no property " + prop + " on a " + kind_name(c.kind));
        Value v = rt_.get(c, number);
        if (v.is_bytes()) return picture_name(v.bytes());
        return v.text();
    }

    void command(int no, const std::vector<std::string>& w, const std::string& line)
    {
        const std::string& cmd = w[0];
        auto need = [&](size_t n) {
            if (w.size() < n) throw std::runtime_error("`" + cmd + "` needs " + std::to_string(n - 1) + " argument(s)");
        };
        if (cmd == "in") {
            need(2);
            form_ = w[1];
            if (!rt_.form(form_) && rt_.has_definition(form_)) rt_.load_form(form_, nullptr, false);
            if (!rt_.form(form_)) throw std::runtime_error("form " + form_ + " is not loaded");
        } else if (cmd == "click") {
            need(2);
            rt_.user_click(control(no, w[1]));
        } else if (cmd == "type") {
            need(3);
            rt_.user_type(control(no, w[1]), w[2]);
        } else if (cmd == "focus") {
            need(2);
            rt_.set_focus(&control(no, w[1]));
        } else if (cmd == "leave") {
            rt_.set_focus(nullptr);
        } else if (cmd == "choose") {
            need(3);
            Control& c = control(no, w[1]);
            int i = item_index(c, w[2]);
            if (i < 0) throw std::runtime_error("no item \"" + w[2] + "\" in " + w[1]);
            rt_.user_choose(c, i);
        } else if (cmd == "tick") {
            need(2);
            Control& c = control(no, w[1]);
            int i = -1;
            if (w.size() > 2) {
                i = item_index(c, w[2]);
                if (i < 0) throw std::runtime_error("no item \"" + w[2] + "\" in " + w[1]);
            }
            rt_.user_tick(c, i);
        } else if (cmd == "toolbar") {
            need(3);
            rt_.user_toolbar(control(no, w[1]), std::atoi(w[2].c_str()));
        } else if (cmd == "wheel") {
            need(3);
            rt_.user_wheel(control(no, w[1]), std::atoi(w[2].c_str()), w.size() > 3 ? std::atoi(w[3].c_str()) : 0);
        } else if (cmd == "mouse") {
            need(5);
            Control& c = control(no, w[1]);
            mouse_down_ = {&c, std::atoi(w[3].c_str()), std::atoi(w[4].c_str())};
            rt_.user_mouse_down(c, w[2] != "right", mouse_down_.x, mouse_down_.y);
        } else if (cmd == "drag") {
            // drag C DX DY: the mouse moves by (DX, DY) and the button is released.
            need(4);
            Control& c = control(no, w[1]);
            int gx = mouse_down_.control == &c ? mouse_down_.x : 0;
            int gy = mouse_down_.control == &c ? mouse_down_.y : 0;
            if (!backend_.finish_drag(c, std::atoi(w[2].c_str()), std::atoi(w[3].c_str()), gx, gy))
                throw std::runtime_error("no drag of " + w[1] + " is under way");
        } else if (cmd == "page") {
            need(3);
            rt_.user_page(control(no, w[1]), std::atoi(w[2].c_str()));
        } else if (cmd == "scroll") {
            need(3);
            rt_.user_scroll(control(no, w[1]), std::atoi(w[2].c_str()));
        } else if (cmd == "resize") {
            need(3);
            rt_.user_resize(current(no), std::atoi(w[1].c_str()), std::atoi(w[2].c_str()));
        } else if (cmd == "screen") {
            need(2);
            backend_.set_screen_width(std::atoi(w[1].c_str()));
        } else if (cmd == "menu") {
            need(2);
            Form& f = current(no);
            for (int i = 0; i < int(f.menus.size()); ++i)
                if (f.menus[i].caption == w[1]) {
                    rt_.user_menu(f, i);
                    return;
                }
            throw std::runtime_error("no menu item " + w[1]);
        } else if (cmd == "popup") {
            need(2);
            backend_.queue_popup_choice(w[1]);
        } else if (cmd == "save-as") {
            need(2);
            backend_.queue_dialog_file(w[1]);
        } else if (cmd == "close") {
            rt_.user_close(current(no));
        } else if (cmd == "answer") {
            need(2);
            backend_.queue_answer(w[1] == "Cancel" ? 1 : w[1] == "Yes" ? 5 : w[1] == "No" ? 6 : 0);
        } else if (cmd == "wait") {
            need(2);
            backend_.advance(std::atoi(w[1].c_str()));
        } else if (cmd == "show" || cmd == "expect") {
            need(2);
            std::string prop;
            size_t eq = w.size();
            for (size_t k = 1; k < w.size(); ++k)
                if (w[k] == "=") {
                    eq = k;
                    break;
                }
            if (eq > 2) prop = w[2];
            Control& c = control(no, w[1]);
            std::string got = value_text(c, prop);
            std::string label = form_ + "." + w[1] + (prop.empty() ? "" : "." + prop);
            if (cmd == "show") {
                out_ << label << " = " << got << '\n';
                return;
            }
            if (eq == w.size()) throw std::runtime_error("expect needs `= VALUE`");
            // The value is the rest of the line after "= ", or a quoted text.
            std::string want;
            size_t pos = line.find(" = ");
            if (pos != std::string::npos) want = line.substr(pos + 3);
            else want = "";
            while (!want.empty() && (want.back() == '\r' || want.back() == ' ')) want.pop_back();
            if (want.size() >= 2 && want.front() == '"' && want.back() == '"') {
                std::vector<std::string> q;
                std::string err;
                if (split_scenario_line(want, &q, &err) && q.size() == 1) want = q[0];
            }
            if (got != want) fail_line(no, label + ": expected \"" + want + "\", got \"" + got + "\"");
        } else if (cmd == "expect-message") {
            // expect-message CAPTION | TEXT   (the last message box shown);
            // a TEXT in quotes may spell line breaks ("a\r\nb"), as in expect.
            std::string rest = line.substr(line.find("expect-message") + 14);
            size_t s = rest.find_first_not_of(' ');
            rest = s == std::string::npos ? "" : rest.substr(s);
            if (size_t bar = rest.find(" | "); bar != std::string::npos && rest.size() >= bar + 5 &&
                                               rest[bar + 3] == '"' && rest.back() == '"') {
                std::vector<std::string> q;
                if (split_scenario_line(rest.substr(bar + 3), &q, nullptr) && q.size() == 1)
                    rest = rest.substr(0, bar + 3) + q[0];
            }
            std::string got = backend_.messages.empty() ? "" : backend_.messages.back().caption + " | " + backend_.messages.back().text;
            if (got != rest) fail_line(no, "message: expected \"" + rest + "\", got \"" + got + "\"");
        } else if (cmd == "expect-exit") {
            fail_line(no, "the program has not ended");
        } else {
            throw std::runtime_error("unknown command " + cmd);
        }
    }

    std::ostream& out_;
    std::string name_;
    HeadlessBackend backend_;
    Runtime rt_;
    std::string form_ = "main";
    struct {
        Control* control = nullptr;
        int x = 0, y = 0;
    } mouse_down_; // the last `mouse` command: where a drag grabs its control
    int failures_ = 0;
    bool exited_ = false, exit_expected_ = false;
    int exit_code_ = 0;
};

} // namespace

ScenarioRunner::ScenarioRunner(std::ostream& out, Starter starter) : out_(out), starter_(std::move(starter)) {}

int ScenarioRunner::run_text(const std::string& text, ScenarioOptions opts, const std::string& name)
{
    bool temp = opts.program_folder.empty();
    if (temp) {
        std::string tmpl = (fs::temp_directory_path() / "jsb-scenario-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) return 2;
        opts.program_folder = tmpl;
    }
    int rc;
    {
        Session s(out_, name);
        rc = s.run(text, opts, starter_);
    }
    if (temp) {
        std::error_code ec;
        fs::remove_all(opts.program_folder, ec);
    }
    return rc;
}

int ScenarioRunner::run_file(const std::string& path, ScenarioOptions opts)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        out_ << "FAIL " << path << ": cannot open\n";
        return 1;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    // A scenario may carry its own options on lines "#! --now ...".
    std::istringstream lines(text);
    std::string l;
    while (std::getline(lines, l)) {
        if (l.rfind("#!", 0) != 0) continue;
        std::vector<std::string> w;
        split_scenario_line(l.substr(2), &w, nullptr);
        for (size_t k = 0; k < w.size(); ++k) {
            if (w[k] == "--now" && k + 1 < w.size()) opts.now = w[++k];
            else if (w[k] == "--no-start") opts.start = false;
            else if (w[k] == "--forms" && k + 1 < w.size())
                opts.form_dirs.push_back((fs::path(path).parent_path() / w[++k]).string());
            else if (w[k] == "--notice-url" && k + 1 < w.size()) opts.notice_url = w[++k];
        }
    }
    return run_text(text, opts, fs::path(path).filename().string());
}

int scenario_main(int argc, char** argv, ScenarioRunner::Starter starter)
{
    ScenarioOptions opts;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--program-folder") opts.program_folder = next();
        else if (a == "--now") opts.now = next();
        else if (a == "--notice-url") opts.notice_url = next();
        else if (a == "--forms") opts.form_dirs.push_back(next());
        else if (a == "--no-start") opts.start = false;
        else if (a == "-h" || a == "--help") {
            std::cout << "usage: scenario [--program-folder DIR] [--now YYYY-MM-DDTHH:MM:SS] [--notice-url URL]\n"
                         "                [--forms DIR] [--no-start] FILE...\n";
            return 0;
        } else files.push_back(a);
    }
    if (files.empty()) {
        std::cerr << "scenario: no scenario file given\n";
        return 2;
    }
    ScenarioRunner runner(std::cout, starter);
    int rc = 0;
    for (auto& f : files) rc |= runner.run_file(f, opts);
    return rc;
}

} // namespace ui

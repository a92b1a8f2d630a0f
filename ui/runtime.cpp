#include "ui/runtime.h"

#include "ui/media.h"
#include "ui/text.h"
#include "ui/value.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

using nlohmann::json;

namespace ui {

namespace {
Runtime* g_current = nullptr;

const char* const k_kind_names[] = {
    "window", "menu", "Label", "EditBox", "TransLabel", "ShapeBox", "PicBtn", "PicBox", "ComboBox",
    "Button", "GroupBox", "Q_tip", "ProcessBar", "RadioBox", "CheckBox", "ChkListBox", "Tab",
    "ListBox", "Timer", "HtmlViewer", "ToolBar", "HScrollBar", "VScrollBar", "DriverBox",
    "CommonDlg", "BarChart", "WordApp", "WordDocuments",
};
const char* const k_event_names[] = {
    "Created", "Destroyed", "SizeChanged", "QueryClose", "Click", "SelectionChanged",
    "ContentChanged", "PositionChanged", "PageChanged", "Tick", "ButtonClick", "LeftButtonDown",
    "RightButtonDown", "LostFocus", "MouseWheel",
};

int32_t json_color(const json& j, int32_t fallback)
{
    if (j.is_number_integer()) return int32_t(j.get<int64_t>());
    if (j.is_string()) {
        std::string s = j.get<std::string>();
        try {
            return int32_t(std::stoul(s, nullptr, 0));
        } catch (...) {
            return fallback;
        }
    }
    return fallback;
}

template <class T> T jget(const json& j, const char* key, T fallback)
{
    auto it = j.find(key);
    if (it == j.end() || it->is_null()) return fallback;
    try {
        return it->get<T>();
    } catch (...) {
        return fallback;
    }
}

Bytes picture_ref(const json& j)
{
    if (!j.is_string()) return {};
    return resource(j.get<std::string>());
}

bool has_text(Kind k)
{
    switch (k) {
    case Kind::window: case Kind::EditBox: case Kind::Label: case Kind::TransLabel:
    case Kind::GroupBox: case Kind::Button: case Kind::CheckBox: case Kind::RadioBox:
    case Kind::ComboBox:
        return true;
    default:
        return false;
    }
}
} // namespace

const char* kind_name(Kind k) { return k_kind_names[int(k)]; }
bool kind_from_name(const std::string& s, Kind* out)
{
    for (int i = 0; i < int(std::size(k_kind_names)); ++i)
        if (s == k_kind_names[i]) {
            *out = Kind(i);
            return true;
        }
    return false;
}
const char* event_name(Event e) { return k_event_names[int(e)]; }
bool event_from_name(const std::string& s, Event* out)
{
    for (int i = 0; i < int(std::size(k_event_names)); ++i)
        if (s == k_event_names[i]) {
            *out = Event(i);
            return true;
        }
    return false;
}

Runtime::Runtime(Backend& backend) : backend_(backend), previous_(g_current) { g_current = this; }

Runtime::~Runtime()
{
    // Nothing a thread still waits for is wanted any more.
    stop_background();
    {
        std::lock_guard lock(threads_mutex_);
        for (auto& t : threads_)
            if (t.joinable()) t.join();
    }
    for (auto& [name, f] : forms_)
        for (auto& c : f->controls) c->view = nullptr;
    g_current = previous_;
}

Runtime& Runtime::current()
{
    if (!g_current) throw std::logic_error("no window runtime");
    return *g_current;
}
bool Runtime::has_current() { return g_current != nullptr; }

void Runtime::register_handler(const std::string& name, Handler h) { handlers_[name] = std::move(h); }
bool Runtime::has_handler(const std::string& name) const { return handlers_.count(name) != 0; }

void Runtime::add_definition(const std::string& form_name, const json& def)
{
    extra_defs_[form_name] = std::make_shared<json>(def);
}

bool Runtime::add_definition_file(const std::string& path, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot open " + path;
        return false;
    }
    try {
        json j = json::parse(in);
        add_definition(j.at("name").get<std::string>(), j);
        return true;
    } catch (const std::exception& e) {
        if (error) *error = path + ": " + e.what();
        return false;
    }
}

bool Runtime::has_definition(const std::string& name) const
{
    return extra_defs_.count(name) || has_resource("forms/" + name + ".json");
}

Form* Runtime::form(const std::string& name) const
{
    auto it = forms_.find(name);
    return it == forms_.end() || it->second->destroying ? nullptr : it->second.get();
}

std::vector<Form*> Runtime::forms() const
{
    std::vector<Form*> out;
    for (auto& [n, f] : forms_)
        if (!f->destroying) out.push_back(f.get());
    return out;
}

Form* Runtime::load_form(const std::string& name, Form* owner, bool modal)
{
    if (Form* f = form(name)) return f;
    json def;
    if (auto it = extra_defs_.find(name); it != extra_defs_.end()) {
        def = *it->second;
    } else {
        const Bytes& src = resource("forms/" + name + ".json");
        if (src.empty()) return nullptr;
        def = json::parse(src.view());
    }
    Form* f = create_form(name, def);
    f->owner = owner;
    f->modal = modal;
    if (modal && owner) owner->disabled_by_modal++;
    backend_.form_created(*f);
    raise(f->self(), Event::Created);
    if (form(name) != f) return f; // closed during Created
    backend_.form_shown(*f);
    raise(f->self(), Event::SizeChanged);
    if (modal) backend_.modal_loop(*f);
    return f;
}

Form* Runtime::create_form(const std::string& name, const json& def)
{
    auto owned = std::make_unique<Form>();
    Form& f = *owned;
    f.name = name;
    f.id = jget<int>(def, "id", next_form_id_++);

    auto self = std::make_unique<Control>();
    Control& w = *self;
    w.kind = Kind::window;
    w.form = &f;
    w.name = "";
    w.id = 0;
    w.left = jget<int>(def, "left", 50);
    w.top = jget<int>(def, "top", 50);
    w.width = jget<int>(def, "width", 400);
    w.height = jget<int>(def, "height", 300);
    w.text = jget<std::string>(def, "title", "");
    std::string border = jget<std::string>(def, "border", "none");
    w.border = border == "resizable" ? Border::resizable
               : border == "fixed" ? Border::fixed
               : border == "tool_resizable" ? Border::tool_resizable
               : border == "tool_fixed" ? Border::tool_fixed
                                        : Border::none;
    if (auto b = def.find("boxes"); b != def.end()) {
        w.close_box = jget<bool>(*b, "close", true);
        w.min_box = jget<bool>(*b, "min", false);
        w.max_box = jget<bool>(*b, "max", false);
    }
    w.escape_closes = jget<bool>(def, "escape_closes", false);
    w.back_color = def.contains("back_color") ? json_color(def["back_color"], kButtonFace) : kButtonFace;
    w.pictures[0] = def.contains("picture") ? picture_ref(def["picture"]) : Bytes();
    w.pictures[1] = def.contains("icon") ? picture_ref(def["icon"]) : Bytes();
    if (auto ev = def.find("events"); ev != def.end())
        for (auto& [k, v] : ev->items()) {
            Event e;
            if (event_from_name(k, &e)) w.events[e] = v.get<std::string>();
        }
    f.controls.push_back(std::move(self));

    int auto_id = 1000;
    if (auto cs = def.find("controls"); cs != def.end()) {
        // First pass: create every control so parents can be named before use.
        for (auto& j : *cs) {
            auto c = std::make_unique<Control>();
            c->form = &f;
            c->id = jget<int>(j, "id", auto_id++);
            std::string kind = jget<std::string>(j, "kind", "Label");
            if (!kind_from_name(kind, &c->kind))
                throw std::runtime_error("form " + name + ": unknown control kind " + kind);
            c->name = jget<std::string>(j, "name", "");
            if (!c->name.empty()) f.by_name[c->name] = c.get();
            f.controls.push_back(std::move(c));
        }
        for (size_t k = 0; k < cs->size(); ++k) apply_control(f, *f.controls[k + 1], (*cs)[k]);
    }
    // Beside the controls: the domain of each number the form's formulas read.
    if (auto ds = def.find("domains"); ds != def.end())
        for (auto& [control, d] : ds->items()) {
            Control* c = f.find(control);
            if (!c) throw std::runtime_error("form " + name + ": domain of unknown control " + control);
            if (!d.is_string() || !domain_from_name(d.get<std::string>(), &c->domain))
                throw std::runtime_error("form " + name + ": bad domain of " + control);
        }
    read_calculation_form(f, def);
    if (auto ms = def.find("menus"); ms != def.end()) {
        int mid = 1;
        for (auto& j : *ms) {
            MenuItem m;
            m.id = jget<int>(j, "id", mid);
            mid = m.id + 1;
            m.caption = jget<std::string>(j, "caption", "");
            m.level = jget<int>(j, "level", 0);
            m.hidden = jget<bool>(j, "hidden", false);
            m.click = jget<std::string>(j, "click", "");
            f.menus.push_back(m);
        }
    }
    Form* raw = owned.get();
    forms_[name] = std::move(owned);
    return raw;
}

void Runtime::read_calculation_form(Form& f, const json& def)
{
    CalculationForm& calc = calculation_forms_[f.name];
    calc = CalculationForm{};
    auto named = [&](const json& name, const char* what) -> Control& {
        Control* c = name.is_string() ? f.find(name.get<std::string>()) : nullptr;
        if (!c) throw std::runtime_error("form " + f.name + ": " + what + " names no control: " + name.dump());
        return *c;
    };
    const auto spec = def.find("calculation");
    if (spec != def.end()) {
        if (!spec->is_object()) throw std::runtime_error("form " + f.name + ": \"calculation\" is no object");
        for (auto& [key, value] : spec->items())
            if (key != "status" && key != "names" && key != "verdicts")
                throw std::runtime_error("form " + f.name + ": unknown calculation key " + key);
    }
    if (spec != def.end() && spec->contains("status")) calc.status = named((*spec)["status"], "status").name;
    else if (f.find("标签1_提示信息")) calc.status = "标签1_提示信息";
    if (spec == def.end()) return;
    if (auto ns = spec->find("names"); ns != spec->end())
        for (auto& [control, name] : ns->items()) {
            named(json(control), "a name");
            if (!name.is_string() || name.get<std::string>().empty())
                throw std::runtime_error("form " + f.name + ": bad name of " + control);
            calc.names[control] = name.get<std::string>();
        }
    if (auto vs = spec->find("verdicts"); vs != spec->end())
        for (auto& v : *vs) {
            const Control& c = named(v, "a verdict");
            calc.verdicts.push_back({c.id, c.text_color, c.back_color});
        }
}

void Runtime::apply_control(Form& f, Control& c, const json& j)
{
    if (auto r = j.find("rect"); r != j.end() && r->is_array() && r->size() == 4) {
        c.left = (*r)[0];
        c.top = (*r)[1];
        c.width = (*r)[2];
        c.height = (*r)[3];
    }
    if (auto p = j.find("parent"); p != j.end() && !p->is_null()) {
        Control* parent = nullptr;
        if (p->is_string()) parent = f.find(p->get<std::string>());
        else
            for (auto& cc : f.controls)
                if (cc->id == p->get<int>() && cc.get() != &c) parent = cc.get();
        if (!parent) throw std::runtime_error("form " + f.name + ": control " + c.name + " has an unknown parent");
        c.parent = parent;
        parent->children.push_back(&c);
    }
    c.page = jget<int>(j, "page", c.parent && c.parent->kind == Kind::Tab ? 0 : -1);
    c.visible = jget<bool>(j, "visible", true);
    c.disabled = jget<bool>(j, "disabled", false);
    c.tab_stop = jget<bool>(j, "tab_stop", true);
    c.tag = jget<int>(j, "tag", 0);
    c.mouse_pointer = jget<int>(j, "pointer", 0);
    if (auto ev = j.find("events"); ev != j.end())
        for (auto& [k, v] : ev->items()) {
            Event e;
            if (!event_from_name(k, &e))
                throw std::runtime_error("form " + f.name + ": unknown event " + k);
            c.events[e] = v.get<std::string>();
        }
    // Kind defaults, then stored values.
    switch (c.kind) {
    case Kind::EditBox: c.back_color = 0xFFFFFF; break;
    case Kind::ListBox: case Kind::ChkListBox: case Kind::ComboBox: c.back_color = 0xFFFFFF; break;
    case Kind::ProcessBar: c.maximum = 100; break;
    case Kind::BarChart:
        c.chart.series_names = {""};
        c.chart.series_colors = {0};
        c.chart.category_names = {""};
        c.chart.values = {{0.0}};
        break;
    case Kind::HScrollBar: case Kind::VScrollBar: c.maximum = 100; break;
    default: break;
    }
    c.text = jget<std::string>(j, "text", "");
    if (auto fo = j.find("font"); fo != j.end()) {
        c.font.face = jget<std::string>(*fo, "face", c.font.face);
        c.font.size = jget<int>(*fo, "size", c.font.size);
        c.font.bold = jget<bool>(*fo, "bold", false);
        c.font.italic = jget<bool>(*fo, "italic", false);
        c.font.underline = jget<bool>(*fo, "underline", false);
    }
    if (j.contains("text_color")) c.text_color = json_color(j["text_color"], 0);
    if (j.contains("back_color")) c.back_color = json_color(j["back_color"], c.back_color);
    c.input_mode = jget<int>(j, "input_mode", 0);
    if (auto it = j.find("items"); it != j.end())
        for (auto& s : *it) c.items.push_back(s.get<std::string>());
    c.item_checked.assign(c.items.size(), false);
    if (auto it = j.find("checks"); it != j.end())
        for (size_t k = 0; k < it->size() && k < c.items.size(); ++k) c.item_checked[k] = (*it)[k].get<bool>();
    c.single_check = jget<bool>(j, "single_check", false);
    c.editable = jget<bool>(j, "editable", false);
    c.current_index = jget<int>(j, "index", -1);
    if (c.current_index >= int(c.items.size()) || c.current_index < -1) c.current_index = -1;
    if (c.kind == Kind::ComboBox && c.current_index >= 0) c.text = c.items[c.current_index];
    c.checked = jget<bool>(j, "checked", false);
    c.group = jget<std::string>(j, "group", "");
    if (j.contains("picture")) c.pictures[0] = picture_ref(j["picture"]);
    if (auto ps = j.find("pictures"); ps != j.end() && ps->is_array())
        for (size_t k = 0; k < 4 && k < ps->size(); ++k) c.pictures[k] = picture_ref((*ps)[k]);
    if (j.contains("transparent")) c.transparent_color = json_color(j["transparent"], -1);
    c.display_mode = jget<int>(j, "display_mode", 0);
    c.minimum = jget<int>(j, "min", c.minimum);
    c.maximum = jget<int>(j, "max", c.maximum);
    c.position = jget<int>(j, "position", c.minimum);
    c.interval = jget<int>(j, "interval", 0);
    if (c.kind == Kind::Timer && c.interval > 0) c.next_due = backend_.clock_ms() + c.interval;
    if (auto ps = j.find("pages"); ps != j.end())
        for (auto& s : *ps) c.page_captions.push_back(s.get<std::string>());
    c.headerless = jget<bool>(j, "headerless", false);
    c.header_side = jget<int>(j, "header_side", 0);
    c.multiline = jget<bool>(j, "multiline", false);
    c.current_page = jget<int>(j, "current_page", 0);
    if (auto bs = j.find("buttons"); bs != j.end())
        for (auto& b : *bs)
            c.tool_buttons.push_back({jget<int>(b, "image", 0), jget<int>(b, "state", 0), jget<std::string>(b, "caption", "")});
    if (auto is = j.find("images"); is != j.end() && is->is_array())
        for (auto& i : *is) c.images.push_back(picture_ref(i));
    if (auto d = j.find("dialog"); d != j.end()) {
        c.dialog_kind = jget<int>(*d, "kind", 0);
        c.filter = jget<std::string>(*d, "filter", "");
        c.default_extension = jget<std::string>(*d, "default_extension", "");
    }
    c.animation_start = backend_.clock_ms();
}

// ---------------------------------------------------------------------------

void Runtime::fail(const std::string& message_text)
{
    backend_.message_box("运行时出错!\r\n\r\n" + message_text, 0x10, "信息：", nullptr);
    exit_program(1);
}

void Runtime::exit_program(int code)
{
    // A fetch that hangs must not hold the end of the program.
    stop_background();
    backend_.quit(code);
    throw ProgramExit(code);
}

Control& Runtime::unit(const std::string& form_name, const std::string& control)
{
    Form* f = form(form_name);
    if (!f) fail("错误信息：未载入欲访问窗口组件所在的窗口\r\n");
    if (control.empty()) return f->self();
    Control* c = f->find(control);
    if (!c) fail("错误信息：窗口 " + form_name + " 中没有组件 " + control + "\r\n");
    return *c;
}

void Runtime::destroy_later(Form& f)
{
    std::string name = f.name;
    Form* target = &f;
    backend_.post([this, name, target] {
        if (form(name) == target) destroy_now(*target);
    });
}

void Runtime::destroy_now(Form& f)
{
    if (f.destroying) return;
    f.destroying = true;
    // Its results go with it.
    if (running_form_ == &f) running_ = nullptr, running_form_ = nullptr;
    calculations_.erase(f.name);
    status_lines_.erase(f.name);
    // Owned forms go with their owner.
    for (auto& [n, other] : forms_)
        if (other->owner == &f && !other->destroying) destroy_now(*other);
    if (focus_ && focus_->form == &f) {
        focus_ = nullptr;
        backend_.focus_changed(nullptr);
    }
    try {
        raise(f.self(), Event::Destroyed);
    } catch (...) {
        f.destroying = false;
        throw;
    }
    if (f.modal && f.owner && f.owner->disabled_by_modal > 0) f.owner->disabled_by_modal--;
    backend_.form_destroying(f);
    backend_.timers_changed();
    auto it = forms_.find(f.name);
    if (it != forms_.end() && it->second.get() == &f) {
        // Keep the memory until the runtime goes: handlers up the stack may
        // still hold pointers into it.
        graveyard_.push_back(std::move(it->second));
        forms_.erase(it);
    }
}

void Runtime::set_parent(Form& f, Control& container)
{
    f.frame = &container;
    backend_.parent_changed(f);
}

bool Runtime::effectively_visible(const Control& c) const
{
    for (const Control* p = &c; p; p = p->parent) {
        if (!p->visible) return false;
        if (p->parent && p->parent->kind == Kind::Tab && p->page != p->parent->current_page) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Properties

// ---- calculations ------------------------------------------------------------------------------
bool Runtime::holds_input(const Control& c)
{
    switch (c.kind) {
    case Kind::EditBox: case Kind::ComboBox: case Kind::ListBox: case Kind::ChkListBox:
    case Kind::CheckBox: case Kind::RadioBox:
        return true;
    default:
        return false;
    }
}

std::string Runtime::input_state(const Control& c, bool with_current)
{
    std::string s = c.text;
    s += '\x1f';
    if (with_current) {
        s += std::to_string(c.current_index);
        s += '\x1f';
        if (c.current_index >= 0 && c.current_index < int(c.items.size())) s += c.items[c.current_index];
    }
    s += '\x1f';
    s += c.checked ? '1' : '0';
    for (bool b : c.item_checked) s += b ? '1' : '0';
    return s;
}

namespace {
// The property that holds what a user chose or typed, by kind.
bool is_input_property(Kind k, int p)
{
    switch (k) {
    case Kind::EditBox: return p == prop::EditBox::Content;
    case Kind::ComboBox: return p == prop::ComboBox::Content || p == prop::ComboBox::CurrentIndex;
    case Kind::ListBox: return p == prop::ListBox::CurrentIndex;
    case Kind::ChkListBox: return p == prop::ChkListBox::CurrentIndex;
    case Kind::CheckBox: return p == prop::CheckBox::Checked;
    case Kind::RadioBox: return p == prop::RadioBox::Checked;
    default: return false;
    }
}
} // namespace

void Runtime::calculation_begin(Form& f)
{
    Calculation& calc = calculations_[f.name];
    calc = Calculation{};
    calc.messages_at_begin = messages_shown_;
    running_ = &calc;
    running_form_ = &f;
}

void Runtime::calculation_refused(const std::string& reason)
{
    if (!running_) return;
    running_->refused = true;
    if (running_->refusal.empty()) running_->refusal = reason;
}

void Runtime::calculation_end()
{
    if (!running_) return;
    Calculation& calc = *running_;
    Form& f = *running_form_;
    for (auto& [id, state] : calc.inputs)
        for (auto& c : f.controls)
            if (c->id == id) state = input_state(*c, !calc.marks_only.count(id));
    calc.ended = true;
    running_ = nullptr;
    running_form_ = nullptr;
    if (!calc.refused) {
        calc.verdicts = verdicts_shown(f);
        withdraw_refusal(f);
        return;
    }
    const std::string line = calc.refusal.empty() ? "计算未得出结果，请检查输入后重新计算！" : calc.refusal;
    // (last: a message box may run other events, which may end the form)
    tell_refusal(f, line, messages_shown_ != calc.messages_at_begin);
}

void Runtime::discard_results(const Form& f)
{
    auto it = calculations_.find(f.name);
    if (it == calculations_.end() || !it->second.ended) return;
    it->second.discarded = true;
    std::vector<ShownVerdict> verdicts;
    verdicts.swap(it->second.verdicts);
    if (Form* shown = form(f.name); shown == &f) take_away(*shown, std::move(verdicts));
}

std::string Runtime::input_name(const Control& c) const
{
    if (auto it = calculation_forms_.find(c.form->name); it != calculation_forms_.end())
        if (auto n = it->second.names.find(c.name); n != it->second.names.end()) return n->second;
    // The meaning follows the first "_" ("编辑框1_工字钢梁数"); a name without
    // one has it after the kind's word and number ("编辑框1循环进尺").
    const std::string& name = c.name;
    if (const size_t bar = name.find('_'); bar != std::string::npos && bar + 1 < name.size()) return name.substr(bar + 1);
    for (const char* word : {"编辑框", "组合框", "列表框", "选择框", "单选框", "标签"}) {
        if (name.rfind(word, 0) != 0) continue;
        size_t at = std::strlen(word);
        while (at < name.size() && name[at] >= '0' && name[at] <= '9') ++at;
        if (at < name.size()) return name.substr(at);
    }
    return name;
}

namespace {
// Why a box's text is no number its formulas take, in the user's words.
std::string why_unusable(const std::string& text, Domain d)
{
    std::string bare = text;
    for (size_t at; (at = bare.find("\u3000")) != std::string::npos;) bare.erase(at, 3); // the ideographic space
    if (bare.find_first_not_of(" \t\r\n") == std::string::npos) return "未填写";
    const double x = plain_number(text);
    if (std::isnan(x)) return "不是一个数";
    if (!std::isfinite(x)) return "超出数值范围";
    if (x == 0 && std::signbit(x) && d != Domain::Positive && d != Domain::PositiveCount) return "不能为-0";
    switch (d) {
    case Domain::Positive: return "须为大于0的数";
    case Domain::NonNegative: return "须为不小于0的数";
    case Domain::PositiveCount: return "须为大于0的整数";
    case Domain::Count: return "须为不小于0的整数";
    default: return "不是一个可用的数";
    }
}
} // namespace

void Runtime::tell_refusal(Form& f, const std::string& line, bool spoken)
{
    const auto spec = calculation_forms_.find(f.name);
    Control* label = spec == calculation_forms_.end() || spec->second.status.empty() ? nullptr : f.find(spec->second.status);
    if (!label) {
        // One calculation, one message: a form that said why in its own
        // words is not contradicted by a second box.
        if (!spoken) message_box(line, 0, "提示", nullptr);
        return;
    }
    StatusLine& status = status_lines_[f.name];
    // What the label showed before any refusal line, kept over a second one.
    if (status.shown.empty() || label->text != status.shown) status.before = label->text;
    status.shown = line;
    set(*label, 8, line);
}

void Runtime::withdraw_refusal(Form& f)
{
    auto it = status_lines_.find(f.name);
    if (it == status_lines_.end()) return;
    const StatusLine status = it->second;
    status_lines_.erase(it);
    const auto spec = calculation_forms_.find(f.name);
    Control* label = spec == calculation_forms_.end() || spec->second.status.empty() ? nullptr : f.find(spec->second.status);
    // A label written since (an export's status) keeps what it shows.
    if (label && label->text == status.shown) set(*label, 8, status.before);
}

std::vector<Runtime::ShownVerdict> Runtime::verdicts_shown(Form& f) const
{
    std::vector<ShownVerdict> out;
    const auto spec = calculation_forms_.find(f.name);
    if (spec == calculation_forms_.end()) return out;
    for (const CalculationForm::Verdict& v : spec->second.verdicts)
        for (const auto& c : f.controls)
            if (c->id == v.id) out.push_back({v.id, c->text, c->text_color, c->back_color});
    return out;
}

void Runtime::take_away(Form& f, std::vector<ShownVerdict> verdicts)
{
    const auto spec = calculation_forms_.find(f.name);
    if (spec == calculation_forms_.end()) return;
    for (const ShownVerdict& shown : verdicts)
        for (const CalculationForm::Verdict& v : spec->second.verdicts) {
            if (v.id != shown.id) continue;
            Control* c = nullptr;
            for (auto& k : f.controls)
                if (k->id == v.id) c = k.get();
            // Only what the calculation left: a text written since is no
            // verdict of it.
            if (!c || c->text != shown.text || c->text_color != shown.text_color || c->back_color != shown.back_color)
                continue;
            const std::string none = c->kind == Kind::EditBox ? "-" : "";
            switch (c->kind) {
            case Kind::EditBox:
                set(*c, prop::EditBox::TextColor, v.text_color);
                set(*c, prop::EditBox::BackColor, v.back_color);
                if (c->text != none) set(*c, prop::EditBox::Content, none);
                break;
            case Kind::Label:
                set(*c, prop::Label::TextColor, v.text_color);
                if (c->text != none) set(*c, prop::Label::Caption, none);
                break;
            case Kind::CheckBox:
                set(*c, prop::CheckBox::TextColor, v.text_color);
                if (c->text != none) set(*c, prop::CheckBox::Caption, none);
                break;
            default:
                if (c->text != none) set(*c, 8, none);
                break;
            }
        }
}

void Runtime::settle_results()
{
    if (running_) return;
    for (auto& [name, calc] : calculations_) {
        if (calc.verdicts.empty() || !calc.ended) continue;
        Form* f = form(name);
        if (!f || results_state(*f) == Results::Current) continue;
        calc.discarded = true; // the old inputs typed back bring back no verdict
        std::vector<ShownVerdict> verdicts;
        verdicts.swap(calc.verdicts);
        take_away(*f, std::move(verdicts));
    }
}

int Runtime::message_box(const std::string& text, int style, const std::string& caption, Form* owner)
{
    ++messages_shown_;
    return backend_.message_box(text, style, caption, owner);
}

Runtime::Results Runtime::results_state(const Form& f) const
{
    auto it = calculations_.find(f.name);
    if (it == calculations_.end() || !it->second.ended) return Results::NotCalculated;
    const Calculation& calc = it->second;
    if (calc.discarded) return Results::Stale;
    if (calc.refused) return Results::Refused;
    for (const auto& [id, state] : calc.inputs)
        for (const auto& c : f.controls)
            if (c->id == id && input_state(*c, !calc.marks_only.count(id)) != state) return Results::Stale;
    return Results::Current;
}

void Runtime::note_read(Control& c, bool marks_only)
{
    if (!running_ || c.form != running_form_ || !holds_input(c)) return;
    if (running_->written.count(c.id)) return;
    const bool first = running_->inputs.emplace(c.id, std::string()).second;
    // Its current item counts unless every read was of its marks alone.
    if (marks_only && first) running_->marks_only.insert(c.id);
    else if (!marks_only) running_->marks_only.erase(c.id);
}

void Runtime::input_unusable(Control& c)
{
    if (!running_ || (c.form == running_form_ && running_->written.count(c.id))) return;
    running_->refused = true;
    // The first input that stopped it: what is built on it failed with it.
    if (running_->refusal.empty()) running_->refusal = input_name(c) + why_unusable(c.text, c.domain);
}

void Runtime::note_write(Control& c)
{
    if (!running_ || c.form != running_form_ || !holds_input(c)) return;
    running_->written.insert(c.id);
}

Value Runtime::get(Control& c, int p, int member)
{
    if (running_ && is_input_property(c.kind, p)) note_read(c);
    switch (p) {
    case prop::Left: return c.left;
    case prop::Top: return c.top;
    case prop::Width: return c.width;
    case prop::Height: return c.height;
    case prop::Tag: return c.tag;
    case prop::Visible: return c.visible;
    case prop::Disabled: return c.disabled;
    case prop::MousePointer: return c.mouse_pointer;
    }
    switch (c.kind) {
    case Kind::window:
        if (p == prop::window::Title) return c.text;
        break;
    case Kind::EditBox:
        if (p == prop::EditBox::Content) return c.text;
        if (p == prop::EditBox::TextColor) return c.text_color;
        if (p == prop::EditBox::BackColor) return c.back_color;
        if (p == prop::EditBox::InputMode) return c.input_mode;
        if (p == prop::EditBox::Font) {
            if (member == prop::FontMember::Size) return c.font.size;
            if (member == prop::FontMember::Face) return c.font.face;
            return c.font.face;
        }
        break;
    case Kind::Label:
        if (p == prop::Label::Caption) return c.text;
        if (p == prop::Label::TextColor) return c.text_color;
        break;
    case Kind::TransLabel: case Kind::GroupBox: case Kind::Button:
        if (p == 8) return c.text;
        break;
    case Kind::CheckBox:
        if (p == prop::CheckBox::Caption) return c.text;
        if (p == prop::CheckBox::TextColor) return c.text_color;
        if (p == prop::CheckBox::Checked) return c.checked;
        break;
    case Kind::RadioBox:
        if (p == prop::RadioBox::Caption) return c.text;
        if (p == prop::RadioBox::Checked) return c.checked;
        break;
    case Kind::ComboBox:
        if (p == prop::ComboBox::Content) return c.text;
        if (p == prop::ComboBox::CurrentIndex) return c.current_index;
        break;
    case Kind::ListBox:
        if (p == prop::ListBox::BackColor) return c.back_color;
        if (p == prop::ListBox::CurrentIndex) return c.current_index;
        break;
    case Kind::ChkListBox:
        if (p == prop::ChkListBox::SingleCheck) return c.single_check;
        if (p == prop::ChkListBox::CurrentIndex) return c.current_index;
        break;
    case Kind::PicBox:
        if (p == prop::PicBox::Picture) return Blob{c.pictures[0]};
        break;
    case Kind::PicBtn:
        if (p >= prop::PicBtn::Picture && p <= prop::PicBtn::PictureDisabled) return Blob{c.pictures[p - 10]};
        break;
    case Kind::ProcessBar:
        if (p == prop::ProcessBar::Maximum) return c.maximum;
        if (p == prop::ProcessBar::Position) return c.position;
        break;
    case Kind::HScrollBar: case Kind::VScrollBar:
        if (p == prop::ScrollBar::Maximum) return c.maximum;
        if (p == prop::ScrollBar::Page) return c.page_size;
        if (p == prop::ScrollBar::Position) return c.position;
        break;
    case Kind::Tab:
        if (p == prop::Tab::CurrentPage) return c.current_page;
        break;
    case Kind::Timer:
        if (p == prop::Timer::Interval) return c.interval;
        break;
    case Kind::ShapeBox:
        if (p == prop::ShapeBox::BackColor) return c.back_color;
        break;
    case Kind::CommonDlg:
        if (p == prop::CommonDlg::Kind) return c.dialog_kind;
        if (p == prop::CommonDlg::FileName) return c.file_name;
        if (p == prop::CommonDlg::Filter) return c.filter;
        if (p == prop::CommonDlg::InitialFolder) return c.initial_folder;
        if (p == prop::CommonDlg::DefaultExtension) return c.default_extension;
        break;
    case Kind::WordApp:
        if (p == prop::WordApp::AppVisible) return c.app_visible;
        break;
    case Kind::BarChart: {
        namespace B = prop::BarChart;
        auto& m = c.chart;
        switch (p) {
        case B::Title: return m.title;
        case B::XAxisCaption: return m.x_caption;
        case B::YMaximum: return m.y_maximum;
        case B::YDivisions: return m.y_divisions;
        case B::SeriesCount: return m.series_count;
        case B::CurrentSeries: return m.current_series;
        case B::SeriesName: return m.series_names[m.current_series];
        case B::SeriesColor: return m.series_colors[m.current_series];
        case B::CategoryCount: return m.category_count;
        case B::CurrentCategory: return m.current_category;
        case B::CategoryName: return m.category_names[m.current_category];
        case B::Value: return m.values[m.current_series][m.current_category];
        }
        break;
    }
    default:
        break;
    }
    return has_text(c.kind) ? Value(std::string()) : Value(0);
}

static void resize_chart(ChartModel& m)
{
    m.series_names.resize(m.series_count);
    m.series_colors.resize(m.series_count, 0);
    m.category_names.resize(m.category_count);
    m.values.resize(m.series_count);
    for (auto& row : m.values) row.resize(m.category_count, 0.0);
}

void Runtime::set_text_value(Control& c, int p, const std::string& s)
{
    c.text = s;
    // Whatever figure stood behind the old text does not stand behind this
    // one (write_number and write_rounded note it again after writing).
    c.worked_text.clear();
    backend_.property_changed(c, p);
}

void Runtime::set(Control& c, int p, const Value& v, int member)
{
    if (running_ && is_input_property(c.kind, p)) note_write(c);
    auto changed = [&] { backend_.property_changed(c, p); };
    bool is_form = c.kind == Kind::window;
    switch (p) {
    case prop::Left: c.left = v.integer(); changed(); return;
    case prop::Top: c.top = v.integer(); changed(); return;
    case prop::Width: case prop::Height: {
        int& field = p == prop::Width ? c.width : c.height;
        int nv = v.integer();
        bool differs = nv != field;
        field = nv;
        changed();
        if (is_form && differs) raise(c, Event::SizeChanged);
        return;
    }
    case prop::Tag: c.tag = v.integer(); return;
    case prop::Visible: c.visible = v.truth(); changed(); return;
    case prop::Disabled: c.disabled = v.truth(); changed(); return;
    case prop::MousePointer: c.mouse_pointer = v.integer(); changed(); return;
    }
    switch (c.kind) {
    case Kind::window:
        if (p == prop::window::Title) set_text_value(c, p, v.text());
        return;
    case Kind::EditBox:
        if (p == prop::EditBox::Content) {
            set_text_value(c, p, v.text());
            raise(c, Event::ContentChanged);
        } else if (p == prop::EditBox::TextColor) {
            c.text_color = v.integer();
            changed();
        } else if (p == prop::EditBox::BackColor) {
            c.back_color = v.integer();
            changed();
        } else if (p == prop::EditBox::InputMode) {
            c.input_mode = v.integer();
            changed();
        } else if (p == prop::EditBox::Font) {
            if (member == prop::FontMember::Size) c.font.size = v.integer();
            else if (member == prop::FontMember::Face) c.font.face = v.text();
            changed();
        }
        return;
    case Kind::Label:
        if (p == prop::Label::Caption) set_text_value(c, p, v.text());
        else if (p == prop::Label::TextColor) c.text_color = v.integer(), changed();
        return;
    case Kind::TransLabel: case Kind::GroupBox: case Kind::Button:
        if (p == 8) set_text_value(c, p, v.text());
        return;
    case Kind::CheckBox:
        if (p == prop::CheckBox::Caption) set_text_value(c, p, v.text());
        else if (p == prop::CheckBox::TextColor) c.text_color = v.integer(), changed();
        else if (p == prop::CheckBox::Checked) c.checked = v.truth(), changed();
        return;
    case Kind::RadioBox:
        if (p == prop::RadioBox::Caption) set_text_value(c, p, v.text());
        else if (p == prop::RadioBox::Checked) c.checked = v.truth(), changed();
        return;
    case Kind::ComboBox:
        if (p == prop::ComboBox::Content) {
            set_text_value(c, p, v.text());
        } else if (p == prop::ComboBox::CurrentIndex) {
            int i = v.integer();
            if (i >= int(c.items.size())) i = int(c.items.size()) - 1;
            if (i < -1) i = -1;
            c.current_index = i;
            c.text = i >= 0 ? c.items[i] : std::string();
            changed();
        }
        return;
    case Kind::ListBox: case Kind::ChkListBox: {
        bool lb = c.kind == Kind::ListBox;
        if (p == (lb ? prop::ListBox::CurrentIndex : prop::ChkListBox::CurrentIndex)) {
            int i = v.integer();
            c.current_index = (i >= 0 && i < int(c.items.size())) ? i : -1;
            changed();
        } else if (lb && p == prop::ListBox::BackColor) {
            c.back_color = v.integer();
            changed();
        } else if (!lb && p == prop::ChkListBox::SingleCheck) {
            c.single_check = v.truth();
            changed();
        }
        return;
    }
    case Kind::PicBox:
        if (p == prop::PicBox::Picture) {
            c.pictures[0] = v.bytes();
            c.animation_start = backend_.clock_ms();
            changed();
        }
        return;
    case Kind::PicBtn:
        if (p >= prop::PicBtn::Picture && p <= prop::PicBtn::PictureDisabled) {
            c.pictures[p - 10] = v.bytes();
            changed();
        }
        return;
    case Kind::ProcessBar: case Kind::HScrollBar: case Kind::VScrollBar: {
        bool bar = c.kind == Kind::ProcessBar;
        int pmax = bar ? prop::ProcessBar::Maximum : prop::ScrollBar::Maximum;
        int ppos = bar ? prop::ProcessBar::Position : prop::ScrollBar::Position;
        if (p == pmax) c.maximum = v.integer();
        else if (p == ppos) c.position = v.integer();
        else if (!bar && p == prop::ScrollBar::Page) c.page_size = std::max(0, v.integer());
        else return;
        c.position = std::clamp(c.position, c.minimum, std::max(c.minimum, c.maximum));
        changed();
        return;
    }
    case Kind::Tab:
        if (p == prop::Tab::CurrentPage) {
            int page = v.integer();
            if (page == c.current_page || page < 0) return;
            c.current_page = page;
            changed();
        }
        return;
    case Kind::Timer:
        if (p == prop::Timer::Interval) {
            c.interval = std::max(0, v.integer());
            c.next_due = backend_.clock_ms() + c.interval;
            backend_.timers_changed();
        }
        return;
    case Kind::ShapeBox:
        if (p == prop::ShapeBox::BackColor) c.back_color = v.integer(), changed();
        return;
    case Kind::CommonDlg:
        if (p == prop::CommonDlg::Kind) c.dialog_kind = v.integer();
        else if (p == prop::CommonDlg::FileName) c.file_name = v.text();
        else if (p == prop::CommonDlg::Filter) c.filter = v.text();
        else if (p == prop::CommonDlg::InitialFolder) c.initial_folder = v.text();
        else if (p == prop::CommonDlg::DefaultExtension) c.default_extension = v.text();
        return;
    case Kind::WordApp:
        if (p == prop::WordApp::AppVisible) c.app_visible = v.truth();
        return;
    case Kind::BarChart: {
        namespace B = prop::BarChart;
        auto& m = c.chart;
        switch (p) {
        case B::Title: m.title = v.text(); break;
        case B::XAxisCaption: m.x_caption = v.text(); break;
        case B::YMaximum: m.y_maximum = v.integer(); break;
        case B::YDivisions: m.y_divisions = std::clamp(v.integer(), 1, 100); break;
        case B::SeriesCount:
            m.series_count = std::clamp(v.integer(), 1, 100);
            if (m.current_series >= m.series_count) m.current_series = 0;
            resize_chart(m);
            break;
        case B::CurrentSeries: {
            int i = v.integer();
            if (i >= 0 && i < m.series_count) m.current_series = i;
            break;
        }
        case B::SeriesName: m.series_names[m.current_series] = v.text(); break;
        case B::SeriesColor: m.series_colors[m.current_series] = v.integer(); break;
        case B::CategoryCount:
            m.category_count = std::clamp(v.integer(), 1, 100);
            m.current_category = 0;
            resize_chart(m);
            break;
        case B::CurrentCategory: {
            int i = v.integer();
            m.current_category = (i >= 0 && i < m.category_count) ? i : 0;
            break;
        }
        case B::CategoryName: m.category_names[m.current_category] = v.text(); break;
        case B::Value: {
            double x = v.number();
            if (!(x >= 0)) x = 0; // negative and not-a-number
            if (x > kChartValueCap) x = kChartValueCap;
            m.values[m.current_series][m.current_category] = x;
            break;
        }
        default: return;
        }
        changed();
        return;
    }
    default:
        return;
    }
}

// ---------------------------------------------------------------------------
// Events and user actions

void Runtime::raise(Control& c, Event e, EventArgs args)
{
    auto it = c.events.find(e);
    if (it == c.events.end() || it->second.empty()) return;
    auto h = handlers_.find(it->second);
    if (h == handlers_.end()) return;
    args.form = c.form;
    args.control = &c;
    args.event = e;
    Handler fn = h->second; // the registry may change while it runs
    fn(args);
}

bool Runtime::has_focus(const Control& c) const
{
    for (const Control* p = focus_; p; p = p->parent)
        if (p == &c) return true;
    return focus_ && c.kind == Kind::window && focus_->form == c.form;
}

void Runtime::numeric_rewrite(Control& c)
{
    if (c.kind != Kind::EditBox || (c.input_mode != 9 && c.input_mode != 10)) return;
    // Only a text that is one number is tidied: the box shows it back by the
    // number rules. Anything else ("1..25", "2.8-") stays as typed, so that
    // the user sees what a calculation refuses rather than another number.
    const double x = plain_number(c.text);
    std::string s;
    if (!std::isnan(x)) s = c.input_mode == 9 ? float_to_text(float(x)) : number_to_text(x);
    else if (c.text.find_first_not_of(" \t\r\n") != std::string::npos) return;
    // A typed 0 is cleared, except where the box's domain holds 0: there it
    // is a value (no equipment in a row), which an empty box is not.
    if (s == "0" && !(c.domain != Domain::Unchecked && number_in_domain(c.text, c.domain) == 0)) s.clear();
    if (s != c.text) {
        set_text_value(c, prop::EditBox::Content, s);
        raise(c, Event::ContentChanged);
    }
}

void Runtime::set_focus(Control* c)
{
    if (c == focus_) return;
    Control* old = focus_;
    focus_ = c;
    backend_.focus_changed(c);
    if (old) {
        numeric_rewrite(*old);
        raise(*old, Event::LostFocus);
    }
    settle_results();
}

static bool takes_input(const Runtime& rt, const Control& c)
{
    if (c.disabled || !rt.effectively_visible(c)) return false;
    if (c.form->disabled_by_modal > 0 || c.form->self().disabled) return false;
    return true;
}

void Runtime::radio_select(Control& c)
{
    for (auto& other : c.form->controls) {
        Control& o = *other;
        if (&o == &c || o.kind != Kind::RadioBox) continue;
        bool same = c.group.empty() ? (o.group.empty() && o.parent == c.parent && o.page == c.page) : o.group == c.group;
        if (same && o.checked) {
            o.checked = false;
            backend_.property_changed(o, prop::RadioBox::Checked);
        }
    }
    c.checked = true;
    backend_.property_changed(c, prop::RadioBox::Checked);
}

void Runtime::user_click(Control& c)
{
    if (!takes_input(*this, c)) return;
    switch (c.kind) {
    case Kind::CheckBox:
        set_focus(&c);
        c.checked = !c.checked;
        backend_.property_changed(c, prop::CheckBox::Checked);
        raise(c, Event::Click);
        break;
    case Kind::RadioBox:
        set_focus(&c);
        radio_select(c);
        raise(c, Event::Click);
        break;
    case Kind::Button:
        set_focus(&c);
        raise(c, Event::Click);
        break;
    default:
        raise(c, Event::Click);
        break;
    }
    settle_results();
}

void Runtime::user_type(Control& edit, const std::string& text)
{
    if (!takes_input(*this, edit)) return;
    set_focus(&edit);
    bool read_only = edit.kind == Kind::EditBox && edit.input_mode == 1;
    if (read_only) return;
    if (!edit.text.empty()) user_edit_text(edit, "");
    // One change per typed character (a whole UTF-8 sequence is one character).
    for (size_t i = 0; i < text.size();) {
        size_t n = 1;
        unsigned char b = text[i];
        if (b >= 0xF0) n = 4;
        else if (b >= 0xE0) n = 3;
        else if (b >= 0xC0) n = 2;
        std::string ch = text.substr(i, n);
        i += n;
        // A number box takes a key as its Qt box does (typed_number): a
        // key it refuses types nothing.
        bool numeric = edit.kind == Kind::EditBox && (edit.input_mode == 9 || edit.input_mode == 10);
        if (numeric) ch = typed_number(ch);
        if (ch.empty()) continue;
        user_edit_text(edit, edit.text + ch);
    }
}

void Runtime::user_edit_text(Control& edit, const std::string& text)
{
    set_text_value(edit, edit.kind == Kind::ComboBox ? prop::ComboBox::Content : prop::EditBox::Content, text);
    if (edit.kind == Kind::EditBox) raise(edit, Event::ContentChanged);
    settle_results();
}

void Runtime::user_choose(Control& list, int index)
{
    if (!takes_input(*this, list)) return;
    if (index < 0 || index >= int(list.items.size())) return;
    set_focus(&list);
    list.current_index = index;
    if (list.kind == Kind::ComboBox) list.text = list.items[index];
    backend_.property_changed(list, list.kind == Kind::ComboBox ? prop::ComboBox::CurrentIndex : 16);
    raise(list, Event::SelectionChanged);
    settle_results();
}

void Runtime::user_tick(Control& c, int item)
{
    if (c.kind == Kind::CheckBox || c.kind == Kind::RadioBox) {
        user_click(c);
        return;
    }
    if (c.kind != Kind::ChkListBox || !takes_input(*this, c)) return;
    if (item < 0 || item >= int(c.items.size())) return;
    set_focus(&c);
    c.item_checked.resize(c.items.size(), false);
    c.item_checked[item] = !c.item_checked[item];
    if (c.single_check && c.item_checked[item])
        for (size_t k = 0; k < c.item_checked.size(); ++k)
            if (int(k) != item) c.item_checked[k] = false;
    c.current_index = item;
    backend_.items_changed(c);
    raise(c, Event::SelectionChanged);
    settle_results();
}

void Runtime::user_page(Control& tab, int page)
{
    if (tab.kind != Kind::Tab || tab.headerless || !takes_input(*this, tab)) return;
    if (page < 0 || page >= std::max<int>(1, int(tab.page_captions.size())) || page == tab.current_page) return;
    tab.current_page = page;
    backend_.property_changed(tab, prop::Tab::CurrentPage);
    raise(tab, Event::PageChanged);
    settle_results();
}

void Runtime::user_scroll(Control& bar, int position)
{
    if (!takes_input(*this, bar)) return;
    bar.position = std::clamp(position, bar.minimum, std::max(bar.minimum, bar.maximum));
    backend_.property_changed(bar, prop::ScrollBar::Position);
    raise(bar, Event::PositionChanged);
    settle_results();
}

void Runtime::user_toolbar(Control& bar, int index)
{
    if (!takes_input(*this, bar)) return;
    EventArgs a;
    a.a = index;
    raise(bar, Event::ButtonClick, a);
    settle_results();
}

bool Runtime::takes_wheel(const Control& c) const
{
    auto it = c.events.find(Event::MouseWheel);
    return has_focus(c) && it != c.events.end() && has_handler(it->second);
}

void Runtime::user_wheel(Control& c, int steps, int keys)
{
    if (!has_focus(c)) return;
    EventArgs a;
    a.a = steps;
    a.b = keys;
    raise(c, Event::MouseWheel, a);
    settle_results();
}

void Runtime::user_mouse_down(Control& c, bool left, int x, int y, int keys)
{
    if (!takes_input(*this, c)) return;
    EventArgs a;
    a.a = x;
    a.b = y;
    a.c = keys;
    raise(c, left ? Event::LeftButtonDown : Event::RightButtonDown, a);
    settle_results();
}

void Runtime::user_menu(Form& f, int index)
{
    if (index < 0 || index >= int(f.menus.size()) || f.disabled_by_modal > 0) return;
    auto h = handlers_.find(f.menus[index].click);
    if (h == handlers_.end()) return;
    EventArgs a;
    a.form = &f;
    a.control = &f.self();
    a.event = Event::Click;
    a.a = f.menus[index].id;
    Handler fn = h->second;
    fn(a);
    settle_results();
}

bool Runtime::user_close(Form& f)
{
    if (f.disabled_by_modal > 0) return false;
    EventArgs a;
    a.result = true;
    auto it = f.self().events.find(Event::QueryClose);
    if (it != f.self().events.end()) {
        auto h = handlers_.find(it->second);
        if (h != handlers_.end()) {
            a.form = &f;
            a.control = &f.self();
            a.event = Event::QueryClose;
            Handler fn = h->second;
            fn(a);
        }
    }
    if (a.result) destroy_now(f);
    return a.result;
}

void Runtime::user_resize(Form& f, int width, int height)
{
    if (f.self().width == width && f.self().height == height) return;
    f.self().width = width;
    f.self().height = height;
    raise(f.self(), Event::SizeChanged);
}

// ---------------------------------------------------------------------------
// Timers and threads

int64_t Runtime::next_timer_due() const
{
    int64_t best = INT64_MAX;
    for (auto& [n, f] : forms_)
        if (!f->destroying)
            for (auto& c : f->controls)
                if (c->kind == Kind::Timer && c->interval > 0) best = std::min(best, c->next_due);
    return best;
}

void Runtime::run_due_timers(int64_t now)
{
    // Like window timers, a late timer fires once, not once per missed period.
    for (;;) {
        Control* due = nullptr;
        for (auto& [n, f] : forms_)
            if (!f->destroying)
                for (auto& c : f->controls)
                    if (c->kind == Kind::Timer && c->interval > 0 && c->next_due <= now &&
                        (!due || c->next_due < due->next_due))
                        due = c.get();
        if (!due) return;
        due->next_due += due->interval;
        if (due->next_due <= now) due->next_due = now + due->interval;
        raise(*due, Event::Tick);
    }
}

bool Runtime::start_thread(std::function<void()> fn)
{
    std::lock_guard lock(threads_mutex_);
    background_.started();
    try {
        threads_.emplace_back([this, fn = std::move(fn), stop = stop_] {
            struct Done {
                BackgroundCount& count;
                ~Done() { count.finished(); }
            } done{background_};
            BackgroundStop::set_for_this_thread(stop);
            fn();
        });
    } catch (const std::system_error&) {
        background_.finished(); // no thread to be had: nothing runs
        return false;
    }
    return true;
}

int Runtime::animation_frame(const Control& c, int64_t now) const
{
    return gif_frame_at(gif_frame_delays(c.pictures[0]), now - c.animation_start);
}

} // namespace ui

#include "ui/cmd.h"

#include "ui/media.h"
#include "ui/text.h"
#include "ui/value.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ui {

namespace {
Runtime& rt() { return Runtime::current(); }
Control& unit_of(const Ref& r) { return rt().unit(r.form, r.control); }
Form* form_of(const std::string& name) { return name.empty() ? nullptr : rt().form(name); }
} // namespace

std::string failure_reason(int err)
{
    const char* words = nullptr;
    switch (err) {
    case ENOSPC: case EDQUOT: words = "磁盘空间不足"; break;
    case EACCES: case EPERM: words = "没有写入权限"; break;
    case EROFS: words = "文件系统为只读"; break;
    case EFBIG: words = "文件过大"; break;
    case EISDIR: words = "目标是一个文件夹"; break;
    case EEXIST: words = "文件已存在"; break;
    case ENOTDIR: words = "路径中有一项不是文件夹"; break;
    case ENOENT: words = "路径不存在"; break;
    case ENAMETOOLONG: words = "文件名过长"; break;
    default: break;
    }
    const std::string system = std::strerror(err);
    return words ? std::string(words) + "（" + system + "）" : system;
}

namespace {
bool system_failure(int err, std::string* error)
{
    if (error) *error = failure_reason(err);
    return false;
}

std::mutex g_probe_mutex;
std::string g_probe_url; // none: offline until the program names its probe
} // namespace

// ---- Value ----------------------------------------------------------------------
double Value::number() const
{
    if (auto p = std::get_if<int32_t>(&v_)) return *p;
    if (auto p = std::get_if<bool>(&v_)) return *p ? 1 : 0;
    if (auto p = std::get_if<double>(&v_)) return *p;
    if (auto p = std::get_if<float>(&v_)) return *p;
    if (auto p = std::get_if<std::string>(&v_)) return text_to_number(*p);
    return 0;
}
int32_t Value::integer() const
{
    if (auto p = std::get_if<int32_t>(&v_)) return *p;
    if (auto p = std::get_if<std::string>(&v_)) return text_to_int(*p);
    return float_to_int(number());
}
bool Value::truth() const
{
    if (auto p = std::get_if<bool>(&v_)) return *p;
    if (auto p = std::get_if<std::string>(&v_)) return *p == "真" || text_to_number(*p) != 0;
    return number() != 0;
}
std::string Value::text() const
{
    if (auto p = std::get_if<int32_t>(&v_)) return int_to_text(*p);
    if (auto p = std::get_if<bool>(&v_)) return bool_to_text(*p);
    if (auto p = std::get_if<double>(&v_)) return number_to_text(*p);
    if (auto p = std::get_if<float>(&v_)) return float_to_text(*p);
    if (auto p = std::get_if<std::string>(&v_)) return *p;
    if (auto p = std::get_if<Blob>(&v_)) return p->data.substr(0, p->data.find('\0'));
    return {};
}
Bytes Value::bytes() const
{
    if (auto p = std::get_if<Blob>(&v_)) return p->data;
    if (auto p = std::get_if<std::string>(&v_)) return *p;
    return {};
}

// ---- properties ----------------------------------------------------------------------
Value rt_get_property(const Ref& r, int prop, int member) { return rt().get(unit_of(r), prop, member); }
void rt_set_property(const Ref& r, int prop, const Value& v, int member) { rt().set(unit_of(r), prop, v, member); }

static int text_property(Kind k)
{
    switch (k) {
    case Kind::ComboBox: return prop::ComboBox::Content;
    case Kind::CheckBox: return prop::CheckBox::Caption;
    case Kind::RadioBox: return prop::RadioBox::Caption;
    case Kind::Label: case Kind::TransLabel: case Kind::GroupBox: case Kind::Button:
    case Kind::EditBox: case Kind::window:
        return 8;
    default:
        return -1;
    }
}

std::string control_text(const Ref& r)
{
    Control& c = unit_of(r);
    int p = text_property(c.kind);
    return p < 0 ? std::string() : rt().get(c, p).text();
}

void set_control_text(const Ref& r, const std::string& text)
{
    Control& c = unit_of(r);
    int p = text_property(c.kind);
    if (p >= 0) rt().set(c, p, text);
}

double read_number(const Ref& r)
{
    Control& c = unit_of(r);
    const std::string text = control_text(r);
    const double x = number_in_domain(text, c.domain);
    // A formula cannot use it: nothing built on it is a result.
    if (std::isnan(x)) rt().input_unusable(c);
    return x;
}
double read_result(const Ref& r)
{
    if (control_text(r) == "-") return std::numeric_limits<double>::quiet_NaN();
    return read_number(r);
}
double read_count_or_none(const Ref& r)
{
    if (control_text(r).find_first_not_of(' ') == std::string::npos) return 0;
    return read_number(r);
}
static void write_worked(const Ref& r, double worked, const std::string& text)
{
    set_control_text(r, text);
    Control& c = unit_of(r);
    c.worked = worked;
    c.worked_text = text;
}
void write_number(const Ref& r, double x) { write_worked(r, x, number_to_text(x)); }
namespace {
// A figure at its places; a positive one those places would show as 0 (a
// velocity of 0.00044 at 2 places) shows two significant digits instead:
// "0" would tell the user there is none, and a step that reads the box back
// would work with none. Whole counts and units (0 places) stay whole, and
// so does what the calculations' comparisons take for 0 (within 1e-7: the
// noise of a difference that is 0, such as (a + b)·1 − a − b).
std::string rounded_text(double x, int places)
{
    const double r = round_places(x, places);
    if (places < 1 || r != 0 || !tol_gt(x, 0) || !std::isfinite(x)) return number_to_text(r);
    const int digits = 1 - int(std::floor(std::log10(x)));
    const double two = round_places(x, digits);
    // (so far below 1 that the places cannot be scaled: the figure as %g gives it)
    return two == x && digits > 300 ? number_to_text_digits(x, 2) : number_to_text(two);
}
} // namespace
void write_rounded(const Ref& r, double x, int places) { write_worked(r, x, rounded_text(x, places)); }
void write_rounded_up(const Ref& r, double x, int places) { write_worked(r, x, number_to_text(round_places_up(x, places))); }
void write_rounded_down(const Ref& r, double x, int places) { write_worked(r, x, number_to_text(round_places_down(x, places))); }
double worked_figure(const Ref& r)
{
    const std::string text = control_text(r);
    const Control& c = unit_of(r);
    if (!c.worked_text.empty() && text == c.worked_text && text != "-") return c.worked;
    return plain_number(text);
}

std::string current_item_text(const Ref& r)
{
    Control& c = unit_of(r);
    rt().note_read(c);
    return c.current_index >= 0 && c.current_index < int(c.items.size()) ? c.items[c.current_index] : std::string();
}

// ---- calculations ---------------------------------------------------------------------------------
void calculation_begin(const std::string& form)
{
    Form* f = rt().form(form);
    if (f) rt().calculation_begin(*f);
}
void calculation_refused() { rt().calculation_refused(); }
void calculation_refused(const std::string& reason) { rt().calculation_refused(reason); }
bool refuse_unless_shown(const std::string& form, std::span<const char* const> results)
{
    for (const char* r : results)
        if (control_text(U(form, r)) == "-") {
            calculation_refused();
            return false;
        }
    return true;
}
void calculation_end() { rt().calculation_end(); }
void discard_results(const std::string& form)
{
    if (Form* f = rt().form(form)) rt().discard_results(*f);
}
Runtime::Results results_state(const std::string& form)
{
    Form* f = rt().form(form);
    return f ? rt().results_state(*f) : Runtime::Results::NotCalculated;
}

// ---- conversions ----------------------------------------------------------------------
double cmd_to_number(const Value& v) { return v.number(); }
int32_t cmd_to_int(const Value& v) { return v.integer(); }
float cmd_to_float(const Value& v) { return float(v.number()); }
std::string cmd_to_text(const Value& v) { return v.text(); }
double cmd_round(double x, int places) { return round_places(x, places); }
int32_t gen_float_to_int(double x) { return float_to_int(x); }

int32_t cmd_random(int32_t min, int32_t max)
{
    // Never seeded: every run of the program draws the same sequence, from
    // its start, however many runs one process has made before (scenarios).
    uint64_t& state = rt().random_state();
    if (min < 0) min = 0;
    if (max < 0) max = 0;
    if (min > max) std::swap(min, max);
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    uint64_t g = (state * 0x2545F4914F6CDD1DULL) >> 33; // 31 bits
    int64_t span = int64_t(max) - min + 1;
    return int32_t(min + int64_t(g % uint64_t(span)));
}

void cmd_sort_array(std::vector<double>& a, bool ascending)
{
    if (ascending) std::stable_sort(a.begin(), a.end());
    else std::stable_sort(a.begin(), a.end(), std::greater<double>());
}

bool gen_compare_bytes(const Bytes& a, const Bytes& b, size_t length)
{
    if (a.size() < length || b.size() < length) return false;
    return a.compare(0, length, b, 0, length) == 0;
}

// ---- texts -------------------------------------------------------------------------
int cmd_text_length(const std::string& s) { return text_length(s); }
std::string cmd_text_mid(const std::string& s, int start, int length) { return text_mid(s, start, length); }
int cmd_find_text(const std::string& s, const std::string& sought, int start, bool ignore_case)
{
    return find_text(s, sought, start, ignore_case);
}

const std::string& TextArray::operator[](int index) const
{
    if (index < 1) rt().fail("错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    if (index > int(v_.size())) rt().fail("错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    return v_[index - 1];
}

TextArray cmd_split_text(const std::string& s, const std::string& sep, int max_parts)
{
    return TextArray(split_text(s, sep, max_parts));
}

DateTime cmd_now() { return rt().backend().now(); }

// ---- forms and windows -----------------------------------------------------------------
bool cmd_load_form(const std::string& form, const std::string& owner, bool modal)
{
    return rt().load_form(form, form_of(owner), modal) != nullptr;
}

bool cmd_is_created(const Ref& r)
{
    Form* f = rt().form(r.form);
    if (!f) return false;
    return r.control.empty() || f->find(r.control) != nullptr;
}

void cmd_destroy(const std::string& form)
{
    if (Form* f = rt().form(form)) rt().destroy_later(*f);
}

void cmd_set_parent(const std::string& form, const Ref& container)
{
    Control& frame = unit_of(container);
    Form* f = rt().form(form);
    if (!f) rt().fail("错误信息：未载入欲访问窗口组件所在的窗口\r\n");
    rt().set_parent(*f, frame);
}

void cmd_move(const Ref& r, int left, int top, int width, int height)
{
    Control& c = unit_of(r);
    if (left != -1) rt().set(c, prop::Left, left);
    if (top != -1) rt().set(c, prop::Top, top);
    if (width != -1 && height != -1 && c.kind == Kind::window) {
        // One resize, one size-changed notice.
        bool differs = c.width != width || c.height != height;
        c.width = width;
        c.height = height;
        rt().backend().property_changed(c, prop::Width);
        if (differs) rt().raise(c, Event::SizeChanged);
        return;
    }
    if (width != -1) rt().set(c, prop::Width, width);
    if (height != -1) rt().set(c, prop::Height, height);
}

static int border_inset(const Control& c)
{
    if (c.kind == Kind::ShapeBox) return 1; // the frame's own line
    return 0;
}
int cmd_client_width(const Ref& r)
{
    Control& c = unit_of(r);
    return std::max(0, c.width - 2 * border_inset(c));
}
int cmd_client_height(const Ref& r)
{
    Control& c = unit_of(r);
    return std::max(0, c.height - 2 * border_inset(c));
}
int cmd_screen_width() { return rt().backend().screen_width(); }
void cmd_set_z_order(const Ref& r, int position) { rt().backend().z_order(unit_of(r), position); }
void cmd_set_focus(const Ref& r) { rt().set_focus(&unit_of(r)); }
bool cmd_has_focus(const Ref& r)
{
    if (!cmd_is_created(r)) return false;
    return rt().has_focus(unit_of(r));
}
void cmd_repaint_now(const Ref& r) { rt().backend().repaint_now(unit_of(r)); }
void cmd_drag_control(const Ref& r) { rt().backend().begin_drag(unit_of(r)); }
int cmd_mouse_x() { return rt().backend().mouse_x(); }
int cmd_mouse_y() { return rt().backend().mouse_y(); }

void cmd_popup_menu(const std::string& form, const std::string& root_caption)
{
    Form* f = rt().form(form);
    if (!f) rt().fail("错误信息：未载入欲访问窗口组件所在的窗口\r\n");
    for (int i = 0; i < int(f->menus.size()); ++i) {
        const MenuItem& m = f->menus[i];
        if (m.level == 0 && m.hidden && (root_caption.empty() || m.caption == root_caption)) {
            int chosen = rt().backend().popup_menu(*f, i, cmd_mouse_x() + 3, cmd_mouse_y() + 3);
            if (chosen >= 0) rt().user_menu(*f, chosen);
            return;
        }
    }
}

void cmd_set_xp_style(int scheme) { rt().backend().set_xp_style(scheme); }

// ---- messages, sounds, timing -------------------------------------------------------------
int cmd_message_box(const Value& content, int style, const std::string& caption, const std::string& owner)
{
    return rt().message_box(content.text(), style, caption, form_of(owner));
}

bool cmd_play_sound(const Bytes& wav)
{
    if (!parse_wav(wav, nullptr)) return false;
    rt().backend().play_sound(wav, "");
    return true;
}

bool cmd_play_sound_resource(const std::string& path)
{
    const Bytes& wav = resource(path);
    if (!parse_wav(wav, nullptr)) return false;
    rt().backend().play_sound(wav, path);
    return true;
}

void cmd_sleep(int ms) { rt().backend().sleep(std::max(0, ms)); }
void cmd_wait_pumping(int ms)
{
    if (ms > 0) rt().backend().wait_pumping(ms);
}

// ---- files --------------------------------------------------------------------------
std::string cmd_program_folder()
{
    std::string f = rt().backend().program_folder();
    while (f.size() > 1 && f.back() == '/') f.pop_back();
    return f;
}

bool cmd_make_folder(const std::string& path, std::string* error)
{
    if (path.empty()) return system_failure(ENOENT, error);
    if (::mkdir(path.c_str(), 0777) != 0) return system_failure(errno, error);
    return true;
}

namespace {
// ".NAME.PID-N.tmp" files of writers that are no longer running.
void remove_stale_temporaries(const std::filesystem::path& folder, const std::string& base)
{
    const std::string prefix = "." + base + ".";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        const std::string middle = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        const size_t dash = middle.find('-');
        if (dash == 0 || dash == std::string::npos) continue;
        const std::string pid_text = middle.substr(0, dash), serial_text = middle.substr(dash + 1);
        if (serial_text.empty() || pid_text.size() > 9 ||
            pid_text.find_first_not_of("0123456789") != std::string::npos ||
            serial_text.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t pid = pid_t(std::stol(pid_text));
        if (pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH)) {
            if (entry.is_regular_file(ec)) ::unlink(entry.path().c_str());
        }
    }
}
} // namespace

bool cmd_write_file(const std::string& path, const std::vector<const Bytes*>& blocks, std::string* error)
{
    namespace fs = std::filesystem;
    if (path.empty()) return system_failure(ENOENT, error);
    // A link stays a link: the file it names is the one replaced.
    fs::path target(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(target, ec)); ++hops) {
        fs::path to = fs::read_symlink(target, ec);
        if (ec) break;
        target = to.is_absolute() ? to : target.parent_path() / to;
    }
    if (!target.has_filename()) return system_failure(EISDIR, error);
    struct stat old;
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    // a folder or a device is never replaced by a file
    if (replacing && !S_ISREG(old.st_mode)) return system_failure(S_ISDIR(old.st_mode) ? EISDIR : EINVAL, error);
    if (replacing && ::access(target.c_str(), W_OK) != 0) return system_failure(errno, error);

    // The temporary file sits beside the target so that the rename stays
    // within one file system and is atomic. It is made without a name where
    // the file system allows, and named only once its bytes are on the disk:
    // a program killed while writing leaves nothing behind. Where a name is
    // needed from the start, it carries the writer's process number, so that
    // a later write removes what a dead writer left.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    static std::atomic<unsigned> serial{0};
    // (the name cut short so that the temporary one stays within NAME_MAX)
    const std::string base = target.filename().string().substr(0, 200);
    remove_stale_temporaries(folder, base);
    std::string tmp;
    auto next_name = [&] {
        tmp = (folder / ("." + base + "." + std::to_string(::getpid()) + "-" + std::to_string(serial++) + ".tmp")).string();
    };
    // open() rather than mkstemp() so that the usual umask applies to a new file.
    // (an unnamed file is linked in through /proc: without it, a named one)
    int fd = ::access("/proc/self/fd", X_OK) == 0 ? ::open(folder.c_str(), O_WRONLY | O_TMPFILE | O_CLOEXEC, 0666) : -1;
    const bool unnamed = fd >= 0;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        next_name();
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return system_failure(errno, error);
    bool named = !unnamed;
    auto fail = [&](int err) {
        if (fd >= 0) ::close(fd);
        if (named) ::unlink(tmp.c_str());
        return system_failure(err, error);
    };
    for (const Bytes* b : blocks) {
        size_t done = 0;
        while (b && done < b->size()) {
            ssize_t n = ::write(fd, b->data() + done, b->size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return fail(n < 0 ? errno : ENOSPC);
            done += static_cast<size_t>(n);
        }
    }
    // a replaced file keeps the permissions it had
    if (replacing) ::fchmod(fd, old.st_mode & 07777);
    if (::fsync(fd) != 0) return fail(errno);
    if (unnamed) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        int rc = -1;
        for (int attempt = 0; attempt < 16 && rc != 0; ++attempt) {
            next_name();
            rc = ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tmp.c_str(), AT_SYMLINK_FOLLOW);
            if (rc != 0 && errno != EEXIST) break;
        }
        if (rc != 0) return fail(errno);
        named = true;
    }
    int rc = ::close(fd);
    fd = -1;
    if (rc != 0) return fail(errno);
    if (::rename(tmp.c_str(), target.c_str()) != 0) return fail(errno);
    // the rename itself reaches the disk with the folder
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

// ---- web, shell, threads ------------------------------------------------------------------
namespace {
size_t collect(char* p, size_t size, size_t n, void* out)
{
    auto* body = static_cast<Bytes*>(out);
    size_t len = size * n;
    // Notice pages are small; refuse to hold more than 4 MiB.
    if (body->size() + len > (4u << 20)) return 0;
    body->append(p, len);
    return len;
}
void curl_once()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Runs one transfer to its end, its own timeouts included. On a background
// thread the runtime's stop cuts it short: the program's end wakes the wait
// at once, and the transfer is dropped (CURLE_ABORTED_BY_CALLBACK).
CURLcode perform_stoppable(CURL* easy)
{
    BackgroundStop* stop = BackgroundStop::of_this_thread();
    if (!stop) return curl_easy_perform(easy);
    CURLM* multi = curl_multi_init();
    if (!multi) return CURLE_OUT_OF_MEMORY;
    if (curl_multi_add_handle(multi, easy) != CURLM_OK) {
        curl_multi_cleanup(multi);
        return CURLE_FAILED_INIT;
    }
    const int wakeup = stop->add_wakeup([multi] { curl_multi_wakeup(multi); });
    CURLcode rc = CURLE_ABORTED_BY_CALLBACK;
    while (!stop->raised()) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            rc = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            int left = 0;
            rc = CURLE_RECV_ERROR; // a transfer that ended without a word
            while (CURLMsg* msg = curl_multi_info_read(multi, &left))
                if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) rc = msg->data.result;
            break;
        }
        // Sleeps until the socket is ready, the transfer's own timeout is
        // due, or the stop wakes it.
        if (curl_multi_poll(multi, nullptr, 0, 1000, nullptr) != CURLM_OK) {
            rc = CURLE_FAILED_INIT;
            break;
        }
    }
    // After this no wake-up touches the multi handle.
    stop->remove_wakeup(wakeup);
    curl_multi_remove_handle(multi, easy);
    curl_multi_cleanup(multi);
    return rc;
}
} // namespace

Bytes cmd_http_get(const std::string& url, int timeout_ms, long* status)
{
    curl_once();
    Bytes body;
    if (status) *status = 0;
    CURL* h = curl_easy_init();
    if (!h) return body;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, long(std::max(1, timeout_ms)));
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, long(std::max(1, timeout_ms)));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
    CURLcode rc = perform_stoppable(h);
    if (rc == CURLE_OK && status) curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, status);
    curl_easy_cleanup(h);
    if (rc != CURLE_OK) body.clear();
    return body;
}

std::string cmd_convert_encoding(const std::string& bytes, const std::string& from, const std::string& to)
{
    return convert_encoding(bytes, from.c_str(), to.c_str());
}

void set_online_probe(const std::string& url)
{
    std::lock_guard lock(g_probe_mutex);
    g_probe_url = url;
}

bool cmd_is_online()
{
    std::string url;
    {
        std::lock_guard lock(g_probe_mutex);
        url = g_probe_url;
    }
    if (url.empty()) return false;
    curl_once();
    CURL* h = curl_easy_init();
    if (!h) return false;
    curl_easy_setopt(h, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, 3000L);
    curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, 3000L);
    CURLcode rc = perform_stoppable(h);
    curl_easy_cleanup(h);
    return rc == CURLE_OK;
}

static bool web_address(const std::string& url)
{
    auto starts = [&](const char* p) {
        size_t n = std::strlen(p);
        if (url.size() <= n) return false;
        for (size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(url[i])) != p[i]) return false;
        return true;
    };
    return starts("http://") || starts("https://");
}

bool cmd_open_url(const std::string& url)
{
    if (!web_address(url)) return false;
    rt().backend().open_url(url);
    return true;
}

bool cmd_html_view_navigate(const Ref& viewer, const std::string& url)
{
    Control& c = unit_of(viewer);
    c.address = url;
    // The hidden viewer hands the address to the desktop's opener.
    return cmd_open_url(url);
}

void cmd_shell_run(int verb, const std::string& path) { rt().backend().shell_run(verb, path); }

bool cmd_start_thread(std::function<void()> fn)
{
    return rt().start_thread(std::move(fn));
}

void cmd_post(std::function<void()> fn) { rt().backend().post(std::move(fn)); }

// ---- lists, tips, edit boxes, dialogs ---------------------------------------------------------
std::string cmd_combo_item_text(const Ref& r, int index)
{
    Control& c = unit_of(r);
    return index >= 0 && index < int(c.items.size()) ? c.items[index] : std::string();
}

int cmd_combo_add_item(const Ref& r, const std::string& text)
{
    Control& c = unit_of(r);
    c.items.push_back(text);
    c.item_checked.push_back(false);
    rt().backend().items_changed(c);
    return int(c.items.size()) - 1;
}

void cmd_combo_clear(const Ref& r)
{
    Control& c = unit_of(r);
    c.items.clear();
    c.item_checked.clear();
    c.current_index = -1; // the edit text stays
    rt().backend().items_changed(c);
}

int cmd_list_count(const Ref& r) { return int(unit_of(r).items.size()); }
std::string cmd_list_item_text(const Ref& r, int index) { return cmd_combo_item_text(r, index); }
int cmd_list_add_item(const Ref& r, const std::string& text) { return cmd_combo_add_item(r, text); }
void cmd_list_clear(const Ref& r)
{
    Control& c = unit_of(r);
    c.items.clear();
    c.item_checked.clear();
    c.current_index = -1;
    rt().backend().items_changed(c);
}

bool cmd_checklist_is_checked(const Ref& r, int index)
{
    Control& c = unit_of(r);
    rt().note_read(c, true);
    return index >= 0 && index < int(c.item_checked.size()) && c.item_checked[index];
}

void cmd_edit_append(const Ref& r, const std::vector<std::string>& texts)
{
    Control& c = unit_of(r);
    rt().note_write(c);
    std::string s = c.text;
    for (auto& t : texts) s += t;
    // Appending changes the text like typing does: one change notice.
    c.text = s;
    rt().backend().property_changed(c, prop::EditBox::Content);
    rt().raise(c, Event::ContentChanged);
}

bool cmd_attach_tip(const Ref& tip, const Ref& target, const std::string& text)
{
    Control& t = unit_of(tip);
    Control& c = unit_of(target);
    t.tips[c.id] = text; // attaching again replaces the text
    rt().backend().items_changed(t);
    return true;
}

bool cmd_open_dialog(const Ref& r) { return rt().backend().open_dialog(unit_of(r)); }

void rt_exit(int code) { rt().exit_program(code); }

} // namespace ui

#include "tests/support/module_test.h"

#include "app/program.h"
#include "app/shell.h"
#include "ui/resources.h"

#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace ui;

namespace testsupport {

void RecordingBackend::property_changed(Control& c, int p)
{
    if (also_record) also_record(c, p);
    if (record_lamp && c.name == "图片框1_呼吸灯" && p == prop::PicBox::Picture) {
        if (c.pictures[0] == resource(app::res::lamp_busy)) trail.push_back("<lamp busy>");
        if (c.pictures[0] == resource(app::res::lamp_idle)) trail.push_back("<lamp idle>");
    }
    if (c.form->name != form) return;
    if (c.name == status_label && p == 8) trail.push_back(c.text);
    if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
        for (int n = 0; n <= 10; ++n)
            if (c.pictures[0] == resource(app::res::countdown_picture(n))) trail.push_back("[" + std::to_string(n) + "]");
    if (record_compute_button && c.name == "图形按钮_计算" && p == prop::PicBtn::Picture) {
        if (c.pictures[0] == resource(app::res::compute_pressed)) trail.push_back("<pressed>");
        if (c.pictures[0] == resource(app::res::compute_normal)) trail.push_back("<normal>");
    }
}

int RecordingBackend::message_box(const std::string& text, int style, const std::string& caption, Form* owner)
{
    owners.push_back(owner ? owner->name : "");
    if (on_message) on_message(text);
    return HeadlessBackend::message_box(text, style, caption, owner);
}

ModuleProgram::ModuleProgram(std::string form) : form_(std::move(form)) { backend.form = form_; }

void ModuleProgram::SetUp()
{
    backend.attach(rt);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    // Parameterised tests are named "Suite/Test/Case": one folder name, not
    // nested folders that the clean-up would leave behind.
    std::string name = "jsb-" + form_ + "-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name();
    std::replace(name.begin(), name.end(), '/', '-');
    folder = fs::temp_directory_path() / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    backend.set_program_folder(folder.string());
    ASSERT_TRUE(app::start_program(rt));
    backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
    ASSERT_NE(rt.form(form_), nullptr);
}

void ModuleProgram::TearDown() { fs::remove_all(folder); }

Control& ModuleProgram::c(const std::string& name) { return rt.unit(form_, name); }
std::string ModuleProgram::text(const std::string& name) { return control_text(U(form_, name)); }

void ModuleProgram::type(const std::string& name, const std::string& value)
{
    rt.user_type(c(name), value);
    rt.set_focus(nullptr);
}

void ModuleProgram::paste(const std::string& name, const std::string& value)
{
    rt.set_focus(&c(name));
    rt.user_edit_text(c(name), value);
    rt.set_focus(nullptr);
}

void ModuleProgram::click(const std::string& name) { rt.user_click(c(name)); }
int ModuleProgram::prop_of(const std::string& name, int p) { return rt.get(c(name), p).integer(); }

std::string ModuleProgram::picture(const std::string& form, const std::string& control)
{
    const Bytes& b = rt.unit(form, control).pictures[0];
    for (const std::string& p : resource_paths("resources/pictures/"))
        if (resource(p) == b) return p;
    return "<unknown>";
}

std::map<std::string, std::string> ModuleProgram::shown_texts()
{
    std::map<std::string, std::string> m;
    for (const auto& ctl : rt.form(form_)->controls)
        if (!ctl->name.empty()) m[ctl->name] = ctl->text;
    return m;
}

void ModuleProgram::expect_restored_after_export()
{
    EXPECT_EQ(prop_of("进度条1", prop::ProcessBar::Position), 0);
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
    EXPECT_EQ(picture(form_, "图形按钮_导出"), app::res::export_normal);
}

ExportTrail split_progress(const std::vector<std::string>& trail, const std::string& prefix)
{
    ExportTrail out;
    for (const std::string& t : trail) {
        if (t.rfind(prefix, 0) == 0) ++out.progress;
        else out.marks.push_back(t);
    }
    return out;
}

std::vector<std::string> texts_outside(ui::Domain d)
{
    std::vector<std::string> edges = {"", " ", "-", "-0", "abc", "1e309", "-1", "1..25", "1-5", "1.2.3", "2.8-"};
    if (d == ui::Domain::Positive || d == ui::Domain::PositiveCount) edges.push_back("0");
    if (d == ui::Domain::Count || d == ui::Domain::PositiveCount) edges.push_back("2.5");
    return edges;
}

std::vector<std::string> countdown_marks(const std::string& preparation)
{
    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", preparation};
    for (int n = 9; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    want.push_back("方案导出需要Word2007以上版本！");
    want.push_back("[10]");
    return want;
}

fs::path ModuleProgram::report_path(const std::string& file_name) const { return folder / "导出的方案" / file_name; }

std::optional<std::string> package_part(const std::string& package, const char* name)
{
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(package.data(), package.size(), 0, &ze);
    zip_t* z = src ? zip_open_from_source(src, ZIP_RDONLY, &ze) : nullptr;
    zip_error_fini(&ze);
    if (!z) {
        if (src) zip_source_free(src);
        return std::nullopt;
    }
    std::string part;
    if (zip_file_t* f = zip_fopen(z, name, 0)) {
        char buf[65536];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0) part.append(buf, size_t(n));
        zip_fclose(f);
    }
    zip_close(z);
    return part;
}

std::string story_text(const std::string& package)
{
    const std::optional<std::string> part = package_part(package, "word/document.xml");
    if (!part) return "<not a package>";
    const std::string& xml = *part;
    pugi::xml_document doc;
    if (!doc.load_string(xml.c_str())) return "<not a document>";
    // An equation's brackets are not text but a delimiter around its part:
    // they are written where a reader sees them.
    std::string text;
    auto collect = [&text](auto& self, pugi::xml_node n) -> void {
        const std::string_view name = n.name();
        if (name == "w:p") text += "\n";
        if (name == "w:t" || name == "m:t") text += n.child_value();
        const bool delimiter = name == "m:d";
        if (delimiter) text += n.select_node("m:dPr/m:begChr").node().attribute("m:val").as_string("(");
        for (pugi::xml_node c : n.children()) self(self, c);
        if (delimiter) text += n.select_node("m:dPr/m:endChr").node().attribute("m:val").as_string(")");
    };
    collect(collect, doc.document_element());
    return text;
}

std::string file_bytes(const fs::path& path)
{
    std::string s;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

std::string report_text(const fs::path& path)
{
    if (!fs::exists(path)) return "<not a package>";
    const std::string text = story_text(file_bytes(path));
    if (text == "<not a package>" || text == "<not a document>") return text;
    return text + "\n"; // each paragraph between line breaks, the last one too
}

size_t occurrences(const std::string& text, const std::string& sought)
{
    size_t count = 0;
    for (size_t at = text.find(sought); at != std::string::npos; at = text.find(sought, at + sought.size())) ++count;
    return count;
}

} // namespace testsupport

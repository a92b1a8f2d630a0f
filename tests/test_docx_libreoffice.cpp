// A filled report must open in a real word processor and show the values,
// not the placeholders: LibreOffice renders it to PDF, pdftotext reads it.
#include "app/report/docx.h"
#include "ui/resources.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool have(const std::string& tool) { return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0; }

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

std::pair<int, std::string> run(const std::string& command)
{
    std::string out;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    char buf[4096];
    while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    return {::pclose(p), out};
}

// pdftotext spaces and breaks lines as the layout suggests; compare without
std::string squeezed(const std::string& s)
{
    std::string out;
    for (char c : s)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\f') out += c;
    return out;
}

TEST(DocxLibreOffice, FilledReportShowsValuesNotPlaceholders)
{
    if (!have("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed: apt-get install libreoffice-writer-nogui";
    if (!have("pdftotext")) GTEST_SKIP() << "pdftotext is not installed: apt-get install poppler-utils";

    std::string tmpl = (fs::temp_directory_path() / "jsb-docx-lo-XXXXXX").string();
    const fs::path dir = mkdtemp(tmpl.data());
    struct Cleanup {
        fs::path dir;
        ~Cleanup() { fs::remove_all(dir); }
    } cleanup{dir};

    const std::vector<std::pair<std::string, std::string>> values = {
        {"编辑框_工程", "某隧道"}, {"编辑框1_d0", "6.2"}, {"编辑框1_d", "5.5"},  {"编辑框2_h", "350"},
        {"编辑框3_L", "1.2"},      {"标签1_结果", "合格"}, {"标签2_hmin", "300"}, {"标签3_A", "30.19"},
        {"标签3_V", "36.23"},
    };
    report::Docx d;
    std::string error;
    ASSERT_TRUE(d.open_bytes(ui::resource("templates/test_fixture.docx"), &error)) << error;
    for (auto& [placeholder, value] : values) d.replace(placeholder, value, 100);
    // reports are written with a .doc name around the OOXML content
    const fs::path report = dir / "引擎测试计算书.doc";
    ASSERT_TRUE(d.save(report.string(), &error)) << error;

    auto [rc, log] = run("soffice -env:UserInstallation=file://" + (dir / "profile").string() +
                         " --headless --convert-to pdf --outdir " + quoted(dir / "pdf") + " " + quoted(report));
    const fs::path pdf = dir / "pdf" / "引擎测试计算书.pdf";
    ASSERT_TRUE(fs::exists(pdf)) << "soffice exit " << rc << ":\n" << log;
    auto [rc2, text] = run("pdftotext -enc UTF-8 " + quoted(pdf) + " -");
    ASSERT_EQ(rc2, 0) << text;

    const std::string flat = squeezed(text);
    for (auto& [placeholder, value] : values) {
        EXPECT_NE(flat.find(value), std::string::npos) << value << " missing from:\n" << text;
        EXPECT_EQ(flat.find(placeholder), std::string::npos) << placeholder << " left in:\n" << text;
    }
    for (const char* line : {"管片外径6.2m，内径5.5m。", "计算结果为合格，满足要求。"})
        EXPECT_NE(flat.find(line), std::string::npos) << line << " missing from:\n" << text;
    // the page header and footer came through the save untouched
    EXPECT_NE(flat.find("掘石宝"), std::string::npos) << text;
    EXPECT_NE(flat.find("第2页共2页"), std::string::npos) << text;
    // the title: once on the title page, once in the footer of page 2
    size_t titles = 0;
    for (size_t at = flat.find("引擎测试计算书"); at != std::string::npos; at = flat.find("引擎测试计算书", at + 1))
        ++titles;
    EXPECT_EQ(titles, 2u) << text;
}

} // namespace

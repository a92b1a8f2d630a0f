// A filled report must open in a real word processor and show the values,
// not the placeholders: LibreOffice renders it to PDF, pdftotext reads it.
#include "app/report/docx.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/resources.h"
#include "ui/runtime.h"
#include "ui/value.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
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

// pdftotext spaces and breaks lines as the layout suggests, and an
// equation shows its minus as U+2212; compare without blanks of any kind
std::string squeezed(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s.compare(i, 3, "\xE2\x88\x92") == 0) {
            out += '-';
            i += 2;
        } else if (s.compare(i, 2, "\u00A0") == 0) {
            ++i;
        } else if (s[i] != ' ' && s[i] != '\n' && s[i] != '\t' && s[i] != '\f' && s[i] != '\r') {
            out += s[i];
        }
    }
    return out;
}

struct TempDir {
    fs::path path;
    TempDir()
    {
        std::string tmpl = (fs::temp_directory_path() / "jsb-docx-lo-XXXXXX").string();
        path = mkdtemp(tmpl.data());
    }
    ~TempDir() { fs::remove_all(path); }
};

struct Rendered {
    std::string text;                  // pages separated by \f
    std::vector<std::string> overflow; // words that run past the right margin, "page: word"
    std::vector<std::string> wrapped;  // a character or two wrapped onto a line of their own in a table cell
    std::vector<std::string> mixed;    // lines whose Chinese text is drawn in more than one face
};

size_t code_points(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

// Lines whose Chinese text is set in more than one face: a character marked
// with another language, or one LibreOffice could not set in the paragraph's
// font, is drawn in a stand-in face that reads heavier or lighter than its
// neighbours. Text on one baseline of a page is one line.
std::vector<std::string> mixed_faces(const fs::path& pdf)
{
    auto [rc, xml] = run("pdftohtml -xml -i -stdout " + quoted(pdf));
    static const std::regex page_re("<page number=\"([0-9]+)\""),
        font_re("<fontspec id=\"([0-9]+)\"[^>]* family=\"(?:[A-Z]+\\+)?([^\"]+)\""),
        text_re("<text top=\"([0-9]+)\"[^>]* font=\"([0-9]+)\">(.*)</text>"), tag_re("<[^>]*>");
    std::map<std::string, std::string> family; // font id -> face
    std::map<std::pair<int, int>, std::map<std::string, std::string>> lines; // (page, top) -> face -> text
    int page = 0;
    std::stringstream ss(xml);
    for (std::string line; std::getline(ss, line);) {
        std::smatch m;
        if (std::regex_search(line, m, page_re)) {
            page = std::stoi(m[1]);
        } else if (std::regex_search(line, m, font_re)) {
            family[m[1]] = m[2];
        } else if (std::regex_search(line, m, text_re)) {
            const std::string text = std::regex_replace(m[3].str(), tag_re, "");
            bool chinese = false; // U+3000..U+9FFF and the full-width forms
            for (size_t i = 0; i + 2 < text.size() && !chinese; ++i) {
                const unsigned char c = static_cast<unsigned char>(text[i]);
                chinese = (c >= 0xE3 && c <= 0xE9) || (c == 0xEF && static_cast<unsigned char>(text[i + 1]) >= 0xBC);
            }
            if (chinese) lines[{page, std::stoi(m[1])}][family[m[2]]] += text;
        }
    }
    std::vector<std::string> out;
    for (const auto& [where, faces] : lines) {
        if (faces.size() < 2) continue;
        std::string what = "page " + std::to_string(where.first) + ":";
        for (const auto& [face, text] : faces) what += " " + face + " \"" + text + "\"";
        out.push_back(what);
    }
    return out;
}

// Words set beyond the right margin (2.5 cm) of an A4 page, with a little
// room for punctuation hanging at a line's end: an equation too long for
// its line runs off the page instead of wrapping.
std::vector<std::string> past_the_margin(const fs::path& pdf)
{
    auto [rc, xml] = run("pdftotext -bbox " + quoted(pdf) + " -");
    std::vector<std::string> out;
    const std::regex page_re("<page width=\"([0-9.]+)\""), word_re("<word xMin=\"[0-9.]+\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\"[^>]*>([^<]*)</word>");
    double limit = 1e9;
    int page = 0;
    std::stringstream ss(xml);
    for (std::string line; std::getline(ss, line);) {
        std::smatch m;
        if (std::regex_search(line, m, page_re)) {
            ++page;
            limit = std::stod(m[1]) - 70.9 + 16;
        } else if (std::regex_search(line, m, word_re) && std::stod(m[1]) > limit) {
            out.push_back(std::to_string(page) + ": " + m[2].str());
        }
    }
    return out;
}

// Lines of one or two characters that continue the line above them in a
// narrow block (a table cell): a name too long for its column by a
// character or two ("单位体积岩体的耗药/量").
std::vector<std::string> wrapped_fragments(const fs::path& pdf)
{
    auto [rc, xml] = run("pdftotext -bbox-layout " + quoted(pdf) + " -");
    std::vector<std::string> out;
    const std::regex line_re("<line xMin=\"([0-9.]+)\" yMin=\"[0-9.]+\" xMax=\"([0-9.]+)\""),
        word_re("<word [^>]*>([^<]*)</word>");
    int page = 0;
    double prev_min = -1, prev_width = 0, cur_min = 0, cur_width = 0;
    std::string cur;
    bool in_line = false;
    auto close_line = [&] {
        if (!in_line) return;
        // Chinese characters only (a dash or a unit alone in a cell is no fragment)
        size_t chars = 0;
        bool wide = true;
        for (size_t i = 0; i < cur.size(); ++chars) {
            const unsigned char c = static_cast<unsigned char>(cur[i]);
            const bool ideograph = c >= 0xE4 && c <= 0xE9 && i + 2 < cur.size(); // U+4E00..U+9FFF
            wide = wide && ideograph;
            i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        }
        // below the line it continues: flush left with it, or centred under it
        const bool under = prev_min >= 0 && (std::abs(prev_min - cur_min) < 3 ||
                                              std::abs(prev_min + prev_width / 2 - cur_min - cur_width / 2) < 3);
        if (wide && chars >= 1 && chars <= 2 && under && prev_width < 300 && prev_width > cur_width)
            out.push_back("page " + std::to_string(page) + ": " + cur);
        prev_min = cur_min;
        prev_width = cur_width;
        in_line = false;
    };
    std::stringstream ss(xml);
    for (std::string line; std::getline(ss, line);) {
        std::smatch m;
        if (line.find("<page ") != std::string::npos) {
            ++page;
        } else if (line.find("<block ") != std::string::npos) {
            close_line();
            prev_min = -1;
        } else if (std::regex_search(line, m, line_re)) {
            close_line();
            in_line = true;
            cur.clear();
            cur_min = std::stod(m[1]);
            cur_width = std::stod(m[2]) - cur_min;
        } else if (std::regex_search(line, m, word_re)) {
            cur += m[1].str();
        } else if (line.find("</line>") != std::string::npos) {
            close_line();
        }
    }
    return out;
}

// Converts every .docx of `dir` to PDF in one LibreOffice run (a run costs
// seconds to start) and reads each PDF back.
std::map<std::string, Rendered> rendered(const fs::path& dir, std::string* log)
{
    std::string files;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().extension() == ".docx" || e.path().extension() == ".doc") files += " " + quoted(e.path());
    auto [rc, out] = run("soffice -env:UserInstallation=file://" + (dir / "profile").string() +
                         " --headless --convert-to pdf --outdir " + quoted(dir / "pdf") + files);
    *log = "soffice exit " + std::to_string(rc) + ":\n" + out;
    std::map<std::string, Rendered> texts;
    if (!fs::exists(dir / "pdf")) return texts;
    // JSB_KEEP_RENDERED=DIR keeps the PDFs there, to look at
    if (const char* keep = std::getenv("JSB_KEEP_RENDERED"); keep && *keep) {
        fs::create_directories(keep);
        for (const auto& e : fs::directory_iterator(dir / "pdf"))
            fs::copy_file(e.path(), fs::path(keep) / e.path().filename(), fs::copy_options::overwrite_existing);
    }
    for (const auto& e : fs::directory_iterator(dir / "pdf")) {
        auto [rc2, text] = run("pdftotext -enc UTF-8 " + quoted(e.path()) + " -");
        if (rc2 == 0) texts[e.path().stem().string()] = {text, past_the_margin(e.path()), wrapped_fragments(e.path()), mixed_faces(e.path())};
    }
    return texts;
}

TEST(DocxLibreOffice, FilledReportShowsValuesNotPlaceholders)
{
    if (!have("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed: bash scripts/deps --test";
    if (!have("pdftotext")) GTEST_SKIP() << "pdftotext is not installed: bash scripts/deps --test";
    TempDir dir;

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
    const fs::path report = dir.path / "引擎测试计算书.doc";
    ASSERT_TRUE(d.save(report.string(), &error)) << error;

    std::string log;
    auto texts = rendered(dir.path, &log);
    ASSERT_EQ(texts.count("引擎测试计算书"), 1u) << log;
    const std::string& text = texts["引擎测试计算书"].text;

    const std::string flat = squeezed(text);
    for (auto& [placeholder, value] : values) {
        EXPECT_NE(flat.find(value), std::string::npos) << value << " missing from:\n" << text;
        EXPECT_EQ(flat.find(placeholder), std::string::npos) << placeholder << " left in:\n" << text;
    }
    for (const char* line : {"管片外径6.2m，内径5.5m。", "计算结果为合格，满足要求。"})
        EXPECT_NE(flat.find(line), std::string::npos) << line << " missing from:\n" << text;
    // the equations are whole (the Math component renders them)
    for (const char* eq : {"A=", "=30.19", "V=", "=36.23"})
        EXPECT_NE(flat.find(eq), std::string::npos) << eq << " missing from:\n" << text;
    // the page header and footer came through the save untouched
    EXPECT_NE(flat.find("掘石宝"), std::string::npos) << text;
    EXPECT_NE(flat.find("第2页共2页"), std::string::npos) << text;
    // the title: once on the title page, once in the footer of page 2
    size_t titles = 0;
    for (size_t at = flat.find("引擎测试计算书"); at != std::string::npos; at = flat.find("引擎测试计算书", at + 1))
        ++titles;
    EXPECT_EQ(titles, 2u) << text;
}

// ---- what a filled report states --------------------------------------------------

// The main story of a filled report: each paragraph a line, each table row a
// line of its cells joined by " | ", and each table as rows of cell texts.
struct Story {
    std::vector<std::string> lines;
    std::vector<std::vector<std::vector<std::string>>> tables;
};

std::string text_of(pugi::xml_node n)
{
    std::string t;
    if (std::string_view(n.name()) == "w:t" || std::string_view(n.name()) == "m:t") t = n.child_value();
    for (pugi::xml_node c : n.children()) t += text_of(c);
    return t;
}

Story story_of(const fs::path& report)
{
    Story s;
    pugi::xml_document doc;
    doc.load_string(testsupport::package_part(testsupport::file_bytes(report), "word/document.xml").value_or("").c_str());
    for (pugi::xml_node n : doc.child("w:document").child("w:body").children()) {
        if (std::string_view(n.name()) == "w:p") s.lines.push_back(text_of(n));
        if (std::string_view(n.name()) != "w:tbl") continue;
        auto& table = s.tables.emplace_back();
        for (pugi::xml_node tr : n.children("w:tr")) {
            auto& row = table.emplace_back();
            std::string line;
            for (pugi::xml_node tc : tr.children("w:tc")) {
                row.push_back(text_of(tc));
                line += (line.empty() ? "" : " | ") + row.back();
            }
            s.lines.push_back(line);
        }
    }
    return s;
}

// A cell that holds one number, perhaps followed by its unit ("217天",
// "592m"): the number and how many decimals it is shown with.
std::optional<std::pair<double, int>> figure_in(const std::string& cell)
{
    static const std::regex re("\\s*([0-9]+)(?:\\.([0-9]+))?\\s*[^0-9.|]{0,9}");
    std::smatch m;
    if (!std::regex_match(cell, m, re)) return std::nullopt;
    return std::make_pair(std::stod(m[1].str() + (m[2].matched ? "." + m[2].str() : "")), int(m[2].length()));
}

// Each table's 小计 or 合计 row against the rows above it (back to the
// previous such row): in every column where the total and the rows above it
// hold figures, the total is their sum as shown, rounded to the decimals the
// total is shown with (days of 100.56 and 37.5 are 138天 in all). A total
// worked otherwise, from another total, stands in a row of its own.
std::vector<std::string> subtotals_off_their_rows(const Story& s)
{
    std::vector<std::string> off;
    for (const auto& table : s.tables) {
        size_t first = 0;
        for (size_t i = 0; i < table.size(); ++i) {
            const std::string label = table[i].empty() ? std::string() : table[i][0];
            auto ends_in = [&](const std::string& w) {
                return label.size() >= w.size() && label.compare(label.size() - w.size(), w.size(), w) == 0;
            };
            if (!ends_in("小计") && !ends_in("合计")) continue;
            for (size_t col = 1; col < table[i].size(); ++col) {
                const auto total = figure_in(table[i][col]);
                if (!total) continue;
                double sum = 0;
                int figures = 0;
                bool column = true; // figures all the way down from the first
                for (size_t k = first; k < i && column; ++k) {
                    const auto x = col < table[k].size() ? figure_in(table[k][col]) : std::nullopt;
                    if (x) sum += x->first, ++figures;
                    else column = figures == 0;
                }
                const double unit = std::pow(10.0, -total->second);
                if (column && figures > 0 && std::fabs(std::round(sum / unit + 1e-9) * unit - total->first) > 1e-9)
                    off.push_back(label + " " + table[i][col] + ", its rows add up to " + ui::number_to_text(sum));
            }
            first = i + 1;
        }
    }
    return off;
}

// The counts a report states for one quantity: every number of layers ("共分
// 3 层", a table's "2 | 层"), and the machines each symbol counts ("取 N = 4
// 台", a table's "N | 4 | 台"; not 台班). Each must be stated with one value.
std::vector<std::string> counts_stated_twice(const Story& s)
{
    static const std::regex layers("([0-9]+(?:\\.[0-9]+)?)\\s*(?:\\|\\s*)?层");
    static const std::regex machines("(?:^|[^A-Za-z0-9_])([A-Za-z](?:[A-Za-z0-9]|′|'|总)*)\\s*(?:=|\\|)\\s*([0-9]+(?:\\.[0-9]+)?)"
                                     "\\s*(?:\\|\\s*)?台(?!班)");
    std::map<std::string, std::map<double, std::string>> stated; // quantity -> value -> where
    for (const std::string& line : s.lines) {
        for (std::sregex_iterator m(line.begin(), line.end(), layers), end; m != end; ++m)
            stated["层"].emplace(std::stod((*m)[1]), line);
        for (std::sregex_iterator m(line.begin(), line.end(), machines), end; m != end; ++m)
            stated[(*m)[1].str() + " 台"].emplace(std::stod((*m)[2]), line);
    }
    std::vector<std::string> twice;
    for (const auto& [quantity, values] : stated) {
        if (values.size() < 2) continue;
        std::string where;
        for (const auto& [value, line] : values) where += "\n  " + ui::number_to_text(value) + ": " + line;
        twice.push_back(quantity + where);
    }
    return twice;
}

// The two checks catch what they are for, and no more: a subtotal off its
// rows by their rounding, a whole-day total of days shown to the hundredth,
// a table's layers beside the steps' layers, and one symbol's machines
// counted twice, but not two symbols' counts or shifts.
TEST(ReportStatements, SubtotalsAndCountsAgainstTheirRows)
{
    Story s;
    s.tables = {
        {{"位置", "小计药量（kg）"}, {"上台阶", "18.3"}, {"", "79.8"}, {"", "15.96"}, {"", "22.6"}, {"小计", "136.69"},
         {"下台阶", "22.1"}, {"", "2.25"}, {"", "19.03"}, {"小计", "43.38"}},
        {{"围岩等级", "工期(天)", "工期(年)"}, {"Ⅳ级围岩", "100.56", "0.28"}, {"Ⅲ级围岩", "37.5", "0.1"}, {"计算工期合计", "138天", ""},
         {"按合计天数折合", "", "0.38年"}},
        {{"项目", "取值"}, {"施工分层数", "-"}, {"合计", "各类围岩总长度 592m"}},
    };
    EXPECT_EQ(subtotals_off_their_rows(s), std::vector<std::string>{"小计 136.69, its rows add up to 136.66"});

    s.lines = {"破碎分层数 | 2 | 层", "自上而下共分 3 层施工，每层不超过 1.25 m，末层 0.05 m；", "取N = 4 台", "爆破凿岩机需用台数 N | 4 | 台",
               "凿岩机数量 | m | 11 | 台", "每天作业班数 | m | 2 | 台班", "按同时工作的凿岩机 m = 11 台计", "挖掘机数量 | N′ | 2.0 | 台",
               "配车的挖掘机 N′ = 2 台"};
    const std::vector<std::string> twice = counts_stated_twice(s);
    ASSERT_EQ(twice.size(), 1u);
    EXPECT_EQ(twice[0].substr(0, 4), "层\n") << twice[0];
    s.lines.push_back("爆破凿岩机需用台数 | N | 3.99 | 台");
    EXPECT_EQ(counts_stated_twice(s).size(), 2u);
}

// ---- every module's report, as a user exports it ------------------------------

struct Step {
    enum { Choose, Click, Page, Tick, Type } kind;
    const char* control;
    const char* item = nullptr; // Choose, Tick: the item text; Page: the page; Type: the text
};

struct Variant {
    const char* name;
    const char* form;
    std::vector<Step> steps; // before the calculation
    const char* report;      // the file the export writes
    const char* template_path;
};

Step choose(const char* box, const char* item) { return {Step::Choose, box, item}; }
Step tick(const char* list, const char* item) { return {Step::Tick, list, item}; }
Step click(const char* control) { return {Step::Click, control}; }
// Typed as a user does, the focus then moving on.
Step type(const char* box, const char* text) { return {Step::Type, box, text}; }
// The calculation shows the results page; the section choices are on the first.
const Step kInputsPage{Step::Page, "选择夹1", "0"};

// Every template and report name a module can export.
const std::vector<Variant>& variants()
{
    static const std::vector<Variant> v = {
        {"光面爆破三台阶", "SmoothBlasting", {kInputsPage, choose("组合框_开挖方法", "台阶法"), choose("组合框_方法2", "上中下3台阶")},
         "光面爆破（台阶法上中下3台阶）.doc", "templates/smooth_blasting_three_benches.docx"},
        {"光面爆破两台阶", "SmoothBlasting", {kInputsPage, choose("组合框_方法2", "上下2台阶")}, "光面爆破（台阶法上下2台阶）.doc",
         "templates/smooth_blasting_two_benches.docx"},
        {"光面爆破两台阶有仰拱", "SmoothBlasting", {kInputsPage, click("单选框_有仰拱")}, "光面爆破（台阶法上下2台阶）.doc",
         "templates/smooth_blasting_two_benches.docx"},
        {"光面爆破直墙拱形", "SmoothBlasting", {kInputsPage, choose("组合框_开挖方法", "全断面法"), choose("组合框_方法2", "直墙拱形隧道")},
         "光面爆破（全断面直墙拱形隧道）.doc", "templates/smooth_blasting_full_face.docx"},
        {"光面爆破曲墙三心圆", "SmoothBlasting", {kInputsPage, choose("组合框_方法2", "曲墙三心圆隧道")},
         "光面爆破（全断面曲墙三心圆隧道）.doc", "templates/smooth_blasting_full_face.docx"},
        {"光面爆破马蹄形", "SmoothBlasting", {kInputsPage, choose("组合框_方法2", "马蹄形隧道")}, "光面爆破（全断面马蹄形隧道）.doc",
         "templates/smooth_blasting_full_face.docx"},
        {"光面爆破圆形", "SmoothBlasting", {kInputsPage, choose("组合框_方法2", "圆形隧道立（竖）井")},
         "光面爆破（全断面圆形隧道立（竖）井）.doc", "templates/smooth_blasting_circular.docx"},
        {"控制爆破", "ControlledBlasting", {}, "控制爆破计算书.doc", "templates/controlled_blasting.docx"},
        // a planned charge whose velocity exceeds the object's limit
        {"控制爆破校验超限", "ControlledBlasting", {tick("选择列表框1", "砖混房屋[此项非国标，参考值]"), type("编辑框2_最大单段药量", "20")},
         "控制爆破计算书.doc", "templates/controlled_blasting.docx"},
        {"爆破振速", "BlastEffect", {click("单选框1_振动")}, "爆破影响振速计算.doc", "templates/blast_effect_velocity.docx"},
        {"爆破距离", "BlastEffect", {click("单选框1_距离")}, "爆破影响距离计算.doc", "templates/blast_effect_distance.docx"},
        {"爆破药量", "BlastEffect", {click("单选框1_炸药总量")}, "爆破影响炸药量计算.doc",
         "templates/blast_effect_charge.docx"},
        {"爆破振速超限", "BlastEffect", {click("单选框1_振动"), choose("组合框5", "一般民用建筑物")}, "爆破影响振速计算.doc",
         "templates/blast_effect_velocity.docx"},
        {"静态爆破", "StaticBreaking", {}, "静态爆破专项施工方案.doc", "templates/static_breaking.docx"},
        {"静态爆破按孔数", "StaticBreaking", {click("单选框_求直径"), choose("组合框_型号", "SCA-Ⅲ")}, "静态爆破专项施工方案.doc",
         "templates/static_breaking.docx"},
        // a last layer thinner than H: h/H = 2.04 and 2.16, three layers each
        {"静态爆破高2.55", "StaticBreaking", {click("单选框_求深度"), choose("组合框_型号", "SCA-Ⅰ"), type("编辑框_破碎体高", "2.55")},
         "静态爆破专项施工方案.doc", "templates/static_breaking.docx"},
        {"静态爆破高2.7", "StaticBreaking", {type("编辑框_破碎体高", "2.7")}, "静态爆破专项施工方案.doc",
         "templates/static_breaking.docx"},
        {"飞石", "Flyrock", {}, "爆破飞石安全距离计算.doc", "templates/flyrock.docx"},
        {"飞石深孔大风", "Flyrock",
         {choose("组合框5", "深孔爆破、深孔药壶爆破"), click("选择框1"), choose("组合框1", "处于下风方向时")},
         "爆破飞石安全距离计算.doc", "templates/flyrock.docx"},
        {"浅孔松动", "ShallowHole", {choose("组合框5", "松动爆破")}, "露天台阶浅孔爆破计算书松动爆破.doc",
         "templates/shallow_hole_loosening.docx"},
        {"浅孔抛掷", "ShallowHole", {choose("组合框5", "抛掷爆破")}, "露天台阶浅孔爆破计算书抛掷爆破.doc",
         "templates/shallow_hole_throw.docx"},
        {"浅孔坚石", "ShallowHole", {choose("组合框5", "松动爆破"), choose("组合框3", "坚  石(七类土)"), choose("组合框7", "铵油炸药")},
         "露天台阶浅孔爆破计算书松动爆破.doc", "templates/shallow_hole_loosening.docx"},
        {"深孔", "DeepHole", {}, "露天台阶深孔爆破计算书.doc", "templates/deep_hole.docx"},
        {"深孔特坚石", "DeepHole", {choose("组合框3", "特坚石(八类土)"), choose("组合框7", "铵油炸药")}, "露天台阶深孔爆破计算书.doc",
         "templates/deep_hole.docx"},
        {"进尺工期", "AdvanceSchedule", {}, "隧道进尺及工期计算书new.doc", "templates/advance_schedule.docx"},
        // four groups: 217.23 days, whose years the groups' own would add up to 0.59
        {"进尺工期四组", "AdvanceSchedule",
         {type("编辑框1_各类围岩长度2", "120"), type("编辑框1_每循环进尺2", "1.2"), type("编辑框1_每循环用时2", "16"),
          type("编辑框1_各类围岩长度3", "50"), type("编辑框1_每循环进尺3", "2"), type("编辑框1_每循环用时3", "12")},
         "隧道进尺及工期计算书new.doc", "templates/advance_schedule.docx"},
        {"放坡", "EarthSlope", {}, "土方放坡开挖允许最大安全高度计算书.doc", "templates/earth_slope.docx"},
        {"垂直开挖", "VerticalCut", {}, "土方无支撑垂直开挖高度安全计算.doc", "templates/earth_vertical_cut.docx"},
        {"巷道式通风", "Ventilation", {choose("列表框1", "巷道式通风")}, "隧道通风专项施工方案.doc",
         "templates/ventilation_roadway.docx"},
        {"压入式通风", "Ventilation", {choose("列表框1", "管道压入式通风")}, "隧道通风专项施工方案.doc",
         "templates/ventilation_forced.docx"},
        {"吸入式通风", "Ventilation", {choose("列表框1", "管道吸入式通风")}, "隧道通风专项施工方案.doc",
         "templates/ventilation_exhaust.docx"},
        {"混合式压风", "Ventilation", {choose("列表框1", "管道混合式压风")}, "隧道通风专项施工方案.doc",
         "templates/ventilation_mixed_forcing.docx"},
        {"混合式吸风", "Ventilation", {choose("列表框1", "管道混合式吸风")}, "隧道通风专项施工方案.doc",
         "templates/ventilation_mixed_exhaust.docx"},
        {"供风", "AirSupply", {}, "隧道临时供风计算.doc", "templates/air_supply.docx"},
        {"供水", "WaterSupply", {}, "隧道临时供水计算.doc", "templates/water_supply.docx"},
        {"除渣", "Mucking", {}, "隧道除渣设备配置计算方案new.doc", "templates/mucking.docx"},
        {"挖掘机", "ExcavatorOutput", {}, "挖掘机功率数量计算.doc", "templates/excavator_output.docx"},
        {"挖掘机配套", "ExcavatorTrucks", {}, "挖掘机工期及配套自卸汽车数量计算.doc", "templates/excavator_trucks.docx"},
        {"压路机", "Roller", {}, "压路机台班生产率.doc", "templates/roller.docx"},
        {"推土机", "Bulldozer", {}, "推土机生产率及运土土方量计算.doc", "templates/bulldozer.docx"},
        {"凿岩机", "RockDrill", {}, "爆破凿岩机需用台数计算书.doc", "templates/rock_drill.docx"},
        // (the starting row 5 holds no vehicle, and the report leaves such a row out)
        {"栈桥", "Trestle", {choose("组合框5", "装载机")}, "隧道仰拱栈桥计算.doc", "templates/trestle.docx"},
    };
    return v;
}

// The names of the form's controls that stand in the template's text, the
// longer first where one name begins another, as the export replaces them.
std::vector<std::string> placeholders_in(const std::string& text, ui::Form& form)
{
    std::vector<std::string> names;
    for (const auto& c : form.controls)
        if (!c->name.empty()) names.push_back(c->name);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    std::string rest = text;
    std::vector<std::string> found;
    for (const std::string& n : names) {
        bool any = false;
        for (size_t at = rest.find(n); at != std::string::npos; at = rest.find(n, at + 1)) {
            rest.replace(at, n.size(), std::string(n.size(), '\x01'));
            any = true;
        }
        if (any) found.push_back(n);
    }
    return found;
}

// The report title its footer carries beside the page number.
std::string footer_title(const fs::path& package)
{
    pugi::xml_document doc;
    doc.load_string(testsupport::package_part(testsupport::file_bytes(package), "word/footer1.xml").value_or("").c_str());
    return doc.select_node("//w:t").node().child_value();
}

struct Exported {
    const Variant* variant;
    bool warned = false; // the calculation showed a message
    fs::path file;                              // the report, renamed for the conversion
    std::vector<std::string> placeholders;       // in its template
    std::vector<std::pair<std::string, std::string>> values; // placeholder, shown value
    std::string title;
};

class EveryReport : public testsupport::ModuleProgram {
protected:
    EveryReport() : ModuleProgram("main") {}
};

// Each module's report, exported after a calculation with the form's
// starting inputs, renders whole in LibreOffice: every equation (a bracket
// split across elements shows "¿" and loses the rest), every value the
// template binds, no placeholder left, no line running off the page, no
// page that holds only the running header and footer or a character or two
// besides, no line whose Chinese text is drawn in two faces, and no
// character the template and the values did not have.
TEST_F(EveryReport, RendersWholeInLibreOffice)
{
    if (!have("soffice")) GTEST_SKIP() << "LibreOffice (soffice) is not installed: bash scripts/deps --test";
    if (!have("pdftotext")) GTEST_SKIP() << "pdftotext is not installed: bash scripts/deps --test";
    TempDir dir;
    const fs::path out = folder / "导出的方案";

    std::vector<Exported> exported;
    for (const Variant& v : variants()) {
        SCOPED_TRACE(v.name);
        ui::Form* form = rt.form(v.form);
        ASSERT_NE(form, nullptr);
        for (const Step& s : v.steps) {
            ui::Control& c = rt.unit(v.form, s.control);
            if (s.kind == Step::Click) {
                rt.user_click(c);
                continue;
            }
            if (s.kind == Step::Page) {
                rt.user_page(c, std::atoi(s.item));
                continue;
            }
            if (s.kind == Step::Type) {
                rt.user_type(c, s.item);
                rt.set_focus(nullptr);
                continue;
            }
            auto it = std::find(c.items.begin(), c.items.end(), s.item);
            ASSERT_NE(it, c.items.end()) << s.item;
            if (s.kind == Step::Tick) rt.user_tick(c, int(it - c.items.begin()));
            else rt.user_choose(c, int(it - c.items.begin()));
        }
        const size_t before = backend.messages.size();
        rt.user_click(rt.unit(v.form, "图形按钮_计算"));
        backend.advance(5000);
        const bool warned = backend.messages.size() > before;
        fs::remove_all(out);
        rt.user_click(rt.unit(v.form, "图形按钮_导出"));
        backend.advance(5000);
        if (!fs::exists(out / v.report)) {
            ADD_FAILURE() << v.report << " not written; " << (backend.messages.empty() ? "" : backend.messages.back().text);
            continue;
        }

        Exported e{&v, warned, dir.path / (std::string(v.name) + ".docx"), {}, {}, {}};
        fs::rename(out / v.report, e.file);
        e.placeholders = placeholders_in(testsupport::story_text(ui::resource(v.template_path).str()), *form);
        for (const std::string& p : e.placeholders) {
            const ui::Ref box = ui::U(v.form, p);
            const ui::Kind kind = rt.unit(v.form, p).kind;
            const bool list = kind == ui::Kind::ListBox || kind == ui::Kind::ComboBox;
            e.values.emplace_back(p, list ? ui::current_item_text(box) : ui::control_text(box));
        }
        e.title = footer_title(e.file);
        exported.push_back(std::move(e));
    }

    std::string log;
    auto texts = rendered(dir.path, &log);
    const std::regex placeholder("(编辑框|组合框|列表框|选择框|单选框|标签|透明标签)[0-9_]|计算值_");
    for (const Exported& e : exported) {
        const std::string name = e.variant->name;
        SCOPED_TRACE(name);
        ASSERT_EQ(texts.count(name), 1u) << "did not render\n" << log;
        const std::string& text = texts[name].text;
        const std::string flat = squeezed(text);
        for (const std::string& word : texts[name].overflow) ADD_FAILURE() << "runs past the right margin on page " << word;

        EXPECT_EQ(text.find("¿"), std::string::npos) << "an equation did not render:\n" << text;
        // every value the filled document holds shows (a line or block left
        // out for a value that does not apply takes its other values along)
        const std::string filled = testsupport::report_text(e.file), filled_flat = squeezed(filled);
        for (const auto& [p, value] : e.values) {
            if (squeezed(value).empty() || filled_flat.find(squeezed(value)) == std::string::npos) continue;
            EXPECT_NE(flat.find(squeezed(value)), std::string::npos) << p << " = \"" << value << "\" missing";
        }
        std::smatch m;
        EXPECT_FALSE(std::regex_search(flat, m, placeholder)) << "placeholder left: " << m.str() << "…";
        for (const std::string& word : texts[name].wrapped) ADD_FAILURE() << "wraps a character or two in a table, " << word;
        for (const std::string& line : texts[name].mixed) ADD_FAILURE() << "Chinese text in more than one face, " << line;
        // The report says what the template and the values say, and nothing
        // unseen besides: no joiner or no-break space the template lacks.
        const std::string template_text = testsupport::story_text(ui::resource(e.variant->template_path).str());
        const std::pair<const char*, const char*> unseen[] = {{"\u200B", "U+200B"}, {"\u200D", "U+200D"}, {"\u2060", "U+2060"},
                                                              {"\uFEFF", "U+FEFF"}, {"\u00A0", "U+00A0"}, {"\u202F", "U+202F"}};
        for (const auto& [character, code] : unseen)
            EXPECT_EQ(testsupport::occurrences(filled, character), testsupport::occurrences(template_text, character)) << code << " added";

        // The report says only what was worked out: no sentence with a hole
        // in it, no "-" given as a value, no letter l standing for the digit 1,
        // no claim of a check that warned.
        EXPECT_EQ(flat.find("：。"), std::string::npos) << "a sentence with a hole in it:\n" << text;
        const std::regex dash_value("(为|取|是|约|=|＝|：|≈)-([a-zA-Z/³²°%·]*)(。|，|；|、|）|\\)|$|[^0-9.])");
        std::stringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            const std::string l = squeezed(line);
            if (std::regex_search(l, m, dash_value)) ADD_FAILURE() << "\"-\" given as a value: " << line;
            if (std::regex_search(l, m, std::regex("(^|[^A-Za-z])l(\\.?[0-9]|/[0-9])")))
                ADD_FAILURE() << "the letter l for the digit 1: " << line;
        }
        if (e.warned) {
            EXPECT_EQ(flat.find("已逐项校核"), std::string::npos) << "the calculation warned, the report says it checked";
        }
        for (const std::string& p : e.placeholders) EXPECT_EQ(filled.find(p), std::string::npos) << p << " left";

        // Totals at the precision of their rows, and one count per quantity.
        const Story story = story_of(e.file);
        for (const std::string& off : subtotals_off_their_rows(story)) ADD_FAILURE() << "a subtotal off its rows: " << off;
        for (const std::string& twice : counts_stated_twice(story)) ADD_FAILURE() << "counted twice: " << twice;

        // pages: the title page first, then each with its running header and
        // footer around something of the report
        std::vector<std::string> pages;
        std::stringstream ss(text);
        for (std::string page; std::getline(ss, page, '\f');) pages.push_back(page);
        if (!pages.empty() && squeezed(pages.back()).empty()) pages.pop_back();
        ASSERT_GE(pages.size(), 2u);
        for (size_t i = 1; i < pages.size(); ++i) {
            std::string body = squeezed(pages[i]);
            // pdftotext may put a line of an equation between the footer's parts
            const std::string number = "第" + std::to_string(i + 1) + "页共" + std::to_string(pages.size()) + "页";
            for (const std::string& frame : {std::string("掘石宝"), squeezed(e.title), number}) {
                size_t at = body.find(frame);
                EXPECT_NE(at, std::string::npos) << "page " << i + 1 << " lacks " << frame;
                if (at != std::string::npos) body.erase(at, frame.size());
            }
            EXPECT_FALSE(body.empty()) << "page " << i + 1 << " holds only the header and footer";
            EXPECT_FALSE(!body.empty() && code_points(body) <= 2) << "page " << i + 1 << " holds only \"" << body << "\"";
        }
    }
}

} // namespace

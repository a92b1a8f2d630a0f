// The report document engine (app/report/docx.*) and the template packer
// (tools/docx_pack). Documents are checked by reading the saved package back
// with libzip and pugixml, never through the engine itself.
#include "app/report/docx.h"
#include "ui/resources.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

using Parts = std::vector<std::pair<std::string, std::string>>;

Parts unzip(const std::string& bytes)
{
    Parts out;
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &ze);
    zip_t* za = src ? zip_open_from_source(src, ZIP_RDONLY, &ze) : nullptr;
    if (!za) {
        if (src) zip_source_free(src);
        ADD_FAILURE() << "not a zip: " << zip_error_strerror(&ze);
        zip_error_fini(&ze);
        return out;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(za, i, 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(za, i, 0);
        zip_fread(f, data.data(), data.size());
        zip_fclose(f);
        out.emplace_back(st.name, std::move(data));
    }
    zip_discard(za);
    return out;
}

std::string zip(const Parts& parts)
{
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_source_keep(mem);
    zip_t* za = zip_open_from_source(mem, ZIP_TRUNCATE, &ze);
    for (const auto& [name, data] : parts) {
        zip_int64_t idx = zip_file_add(za, name.c_str(), zip_source_buffer(za, data.data(), data.size(), 0), 0);
        if (name.find("media/") != std::string::npos) zip_set_file_compression(za, idx, ZIP_CM_STORE, 0);
    }
    zip_close(za);
    zip_stat_t st;
    zip_source_stat(mem, &st);
    std::string out(st.size, '\0');
    zip_source_open(mem);
    zip_source_read(mem, out.data(), out.size());
    zip_source_close(mem);
    zip_source_free(mem);
    return out;
}

std::string part(const std::string& package, std::string_view name)
{
    for (auto& [n, data] : unzip(package))
        if (n == name) return data;
    ADD_FAILURE() << "no part " << name;
    return {};
}

constexpr const char* k_ns =
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:m="http://schemas.openxmlformats.org/officeDocument/2006/math")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";

std::string document_xml(std::string_view body)
{
    return std::string(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)") + "<w:document" + k_ns +
           "><w:body>" + std::string(body) + "</w:body></w:document>";
}

// A small package around a body. The header and the footnotes hold the
// placeholder used throughout, so an edit reaching beyond the main story
// shows; [Content_Types].xml deliberately comes last.
Parts package_parts(std::string_view body)
{
    const std::string hdr = std::string("<w:hdr") + k_ns + "><w:p><w:r><w:t>编辑框1_d0</w:t></w:r></w:p></w:hdr>";
    const std::string notes = std::string("<w:footnotes") + k_ns +
                              "><w:footnote w:id=\"1\"><w:p><w:r><w:t>编辑框1_d0</w:t></w:r></w:p></w:footnote>"
                              "</w:footnotes>";
    return {
        {"_rels/.rels",
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
         R"(</Relationships>)"},
        {"word/document.xml", document_xml(body)},
        {"word/header1.xml", hdr},
        {"word/footnotes.xml", notes},
        {"word/media/image1.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
        {"[Content_Types].xml",
         R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
         R"(<Default Extension="xml" ContentType="application/xml"/></Types>)"},
    };
}

std::string package(std::string_view body) { return zip(package_parts(body)); }

// What a reader sees in the main story, in document order: one line per
// paragraph (w:t; w:tab as \t, w:br as \n) and one per equation (its m:t).
void story_walk(pugi::xml_node node, std::vector<std::string>& lines, long at)
{
    for (pugi::xml_node c : node.children()) {
        std::string_view name = c.name();
        if (name == "w:p" || name == "m:oMath") {
            lines.emplace_back();
            story_walk(c, lines, static_cast<long>(lines.size()) - 1);
        } else if (name == "w:t" || name == "m:t") {
            lines.at(at) += c.child_value();
        } else if (name == "w:tab") {
            lines.at(at) += '\t';
        } else if (name == "w:br") {
            lines.at(at) += '\n';
        } else {
            story_walk(c, lines, at);
        }
    }
}

std::string story(const std::string& package)
{
    pugi::xml_document doc;
    std::string xml = part(package, "word/document.xml");
    pugi::xml_parse_result res = doc.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    EXPECT_TRUE(res) << "document.xml is not well-formed: " << res.description();
    std::vector<std::string> lines;
    story_walk(doc.document_element(), lines, -1);
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i ? "|" : "") + lines[i];
    return out;
}

std::string saved(const report::Docx& d)
{
    std::string out, error;
    EXPECT_TRUE(d.save_bytes(&out, &error)) << error;
    return out;
}

report::Docx opened(const std::string& bytes)
{
    report::Docx d;
    std::string error;
    EXPECT_TRUE(d.open_bytes(bytes, &error)) << error;
    return d;
}

std::string read_file(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

struct TempDir {
    fs::path path;
    TempDir()
    {
        std::string tmpl = (fs::temp_directory_path() / "jsb-docx-XXXXXX").string();
        path = mkdtemp(tmpl.data());
    }
    ~TempDir() { fs::remove_all(path); }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (auto& e : fs::directory_iterator(path)) out.push_back(e.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
};

std::string fixture()
{
    const auto& bytes = ui::resource("templates/test_fixture.docx");
    EXPECT_FALSE(bytes.empty()) << "templates/test_fixture.docx is not embedded";
    return std::string(bytes.data(), bytes.size());
}

// The fixture's placeholders as a module would bind them: a longer name
// before a shorter one it contains.
const std::vector<std::pair<std::string, std::string>> k_fixture_values = {
    {"编辑框_工程", "某隧道"}, {"编辑框1_d0", "6.2"}, {"编辑框1_d", "5.5"},  {"编辑框2_h", "350"},
    {"编辑框3_L", "1.2"},      {"标签1_结果", "合格"}, {"标签2_hmin", "300"}, {"标签3_A", "30.19"},
    {"标签3_V", "36.23"},
};

// ---- finding ----------------------------------------------------------------

TEST(DocxReplace, FindsPlaceholderWhereverWordPutsIt)
{
    struct Case {
        const char* name;
        const char* body;
        bool found;
        const char* story;
    };
    const Case cases[] = {
        {"split over runs",
         "<w:p><w:r><w:t>径 编</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>辑框</w:t></w:r>"
         "<w:r><w:t>1_d0 m</w:t></w:r></w:p>",
         true, "径 值 m"},
        {"across proofing marks, bookmarks, a rendered page break, a hyperlink, an insertion",
         "<w:p><w:r><w:t>编</w:t></w:r><w:proofErr w:type=\"spellStart\"/><w:bookmarkStart w:id=\"0\" w:name=\"b\"/>"
         "<w:r><w:lastRenderedPageBreak/><w:t>辑</w:t></w:r><w:proofErr w:type=\"spellEnd\"/>"
         "<w:hyperlink w:anchor=\"b\"><w:r><w:t>框</w:t></w:r></w:hyperlink><w:bookmarkEnd w:id=\"0\"/>"
         "<w:ins w:id=\"1\" w:author=\"a\"><w:r><w:t>1_</w:t></w:r></w:ins><w:r><w:t>d0</w:t><w:t>。</w:t></w:r></w:p>",
         true, "值。"},
        {"across deleted text, which is not visible",
         "<w:p><w:r><w:t>编辑</w:t></w:r><w:del w:id=\"2\" w:author=\"a\"><w:r><w:delText>旧</w:delText></w:r></w:del>"
         "<w:r><w:t>框1_d0</w:t></w:r></w:p>",
         true, "值"},
        {"in a nested table",
         "<w:tbl><w:tr><w:tc><w:p><w:r><w:t>外</w:t></w:r></w:p></w:tc><w:tc><w:tbl><w:tr><w:tc><w:p>"
         "<w:r><w:t>内编辑框</w:t></w:r><w:r><w:t>1_d0</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p/></w:tc></w:tr></w:tbl>",
         true, "外|内值|"},
        {"in an equation, over runs inside a superscript base",
         "<w:p><w:r><w:t>式</w:t></w:r><m:oMath><m:r><m:t>A=</m:t></m:r><m:sSup><m:e><m:r><m:t>编辑框</m:t></m:r>"
         "<m:r><m:t>1_d0</m:t></m:r></m:e><m:sup><m:r><m:t>2</m:t></m:r></m:sup></m:sSup></m:oMath></w:p>",
         true, "式|A=值2"},
        {"first in document order: the equation comes before the text after it",
         "<w:p><w:r><w:t>前</w:t></w:r><m:oMath><m:r><m:t>编辑框1_d0</m:t></m:r></m:oMath>"
         "<w:r><w:t>编辑框1_d0</w:t></w:r></w:p>",
         true, "前编辑框1_d0|值"},
        {"not across paragraphs",
         "<w:p><w:r><w:t>编辑框</w:t></w:r></w:p><w:p><w:r><w:t>1_d0</w:t></w:r></w:p>", false,
         "编辑框|1_d0"},
        {"not across a tab", "<w:p><w:r><w:t>编辑框</w:t><w:tab/><w:t>1_d0</w:t></w:r></w:p>", false,
         "编辑框\t1_d0"},
        {"not from text into an equation",
         "<w:p><w:r><w:t>编辑框</w:t></w:r><m:oMath><m:r><m:t>1_d0</m:t></m:r></m:oMath></w:p>", false,
         "编辑框|1_d0"},
        {"not in the header or footnotes", "<w:p><w:r><w:t>正文</w:t></w:r></w:p>", false, "正文"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report::Docx d = opened(package(c.body));
        EXPECT_EQ(d.replace_next("编辑框1_d0", "值"), c.found);
        EXPECT_EQ(story(saved(d)), c.story);
    }
}

TEST(DocxReplace, ValueTakesTheFormattingOfTheFirstMatchedRun)
{
    report::Docx d = opened(package(
        "<w:p><w:r><w:rPr><w:i/></w:rPr><w:t>径编辑</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>框1_d0米</w:t></w:r></w:p>"
        "<w:p><m:oMath><m:r><m:rPr><m:sty m:val=\"p\"/></m:rPr><w:rPr><w:color w:val=\"FF0000\"/></w:rPr>"
        "<m:t>编辑框</m:t></m:r><m:r><m:t>1_d0+1</m:t></m:r></m:oMath></w:p>"));
    ASSERT_EQ(d.replace("编辑框1_d0", "6.2", 2), 2);

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(part(saved(d), "word/document.xml").c_str()));
    auto runs_with = [&](const char* xpath) { return doc.select_nodes(xpath).size(); };
    // paragraph: 径 keeps italic, the value is italic (not bold), 米 keeps bold
    EXPECT_EQ(runs_with("//w:p[1]/w:r[w:t='径' and w:rPr/w:i and not(w:rPr/w:b)]"), 1u);
    EXPECT_EQ(runs_with("//w:p[1]/w:r[w:t='6.2' and w:rPr/w:i and not(w:rPr/w:b)]"), 1u);
    EXPECT_EQ(runs_with("//w:p[1]/w:r[w:t='米' and w:rPr/w:b and not(w:rPr/w:i)]"), 1u);
    EXPECT_EQ(runs_with("//w:p[1]/w:r"), 3u);
    // equation: both the math and the character formatting come along
    EXPECT_EQ(runs_with("//m:r[m:t='6.2' and m:rPr/m:sty/@m:val='p' and w:rPr/w:color/@w:val='FF0000']"), 1u);
    EXPECT_EQ(runs_with("//m:r[m:t='+1' and not(m:rPr)]"), 1u);
}

TEST(DocxReplace, TimesBoundsTheOccurrencesReplaced)
{
    const std::string pkg =
        package("<w:p><w:r><w:t>标签1_结果</w:t></w:r></w:p><w:p><w:r><w:t>标签1_结果</w:t></w:r></w:p>");
    struct Case {
        int times, replaced;
        const char* story;
    };
    for (const Case& c : {Case{0, 0, "标签1_结果|标签1_结果"}, Case{1, 1, "合格|标签1_结果"}, Case{2, 2, "合格|合格"},
                          Case{5, 2, "合格|合格"}}) {
        SCOPED_TRACE(c.times);
        report::Docx d = opened(pkg);
        EXPECT_EQ(d.replace("标签1_结果", "合格", c.times), c.replaced);
        EXPECT_EQ(story(saved(d)), c.story);
    }
}

TEST(DocxReplace, BindingsApplyInListOrder)
{
    const std::string pkg = package("<w:p><w:r><w:t>编辑框1_d0，编辑框1_d</w:t></w:r></w:p>");
    struct Case {
        std::vector<std::pair<const char*, const char*>> bindings;
        const char* story;
    };
    const Case cases[] = {
        {{{"编辑框1_d0", "外"}, {"编辑框1_d", "内"}}, "外，内"},
        // the shorter name listed first takes the front of the longer one
        {{{"编辑框1_d", "内"}, {"编辑框1_d0", "外"}}, "内0，编辑框1_d"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.story);
        report::Docx d = opened(pkg);
        for (auto [placeholder, value] : c.bindings) d.replace(placeholder, value, 1);
        EXPECT_EQ(story(saved(d)), c.story);
    }
}

TEST(DocxReplace, InsertedTextIsNeverSearchedAgain)
{
    struct Case {
        const char* name;
        const char* text;
        std::pair<const char*, const char*> first;
        const char* next; // a later placeholder, expected not to match
        const char* story;
    };
    const Case cases[] = {
        {"a value holding its own placeholder", "d=编辑框1_d0", {"编辑框1_d0", "编辑框1_d0（未填）"}, "编辑框1_d0",
         "d=编辑框1_d0（未填）"},
        {"a later placeholder inside a value", "标签1", {"标签1", "编辑框1_d0"}, "编辑框1_d0", "编辑框1_d0"},
        {"a later placeholder across inserted and original text", "标签1框1_d0", {"标签1", "编辑"}, "编辑框1_d0",
         "编辑框1_d0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report::Docx d = opened(package(std::string("<w:p><w:r><w:t>") + c.text + "</w:t></w:r></w:p>"));
        EXPECT_EQ(d.replace(c.first.first, c.first.second, 100), 1);
        EXPECT_FALSE(d.replace_next(c.next, "X"));
        EXPECT_EQ(story(saved(d)), c.story);
    }
}

// Replacements work from an index of the text made once; asking for the
// placeholders ahead (prepare) or one at a time must give the same document,
// through the cases where the text a later search sees has been cut up by
// earlier replacements.
TEST(DocxReplace, SameResultWhetherPlaceholdersArePreparedOrNot)
{
    struct Step {
        const char* placeholder;
        const char* value;
        int times, replaced;
    };
    struct Case {
        const char* name;
        const char* body;
        std::vector<Step> steps;
        const char* story;
    };
    const Case cases[] = {
        {"the longer name first, then the shorter one elsewhere",
         "<w:p><w:r><w:t>编辑框1_ab，编辑框1_a。</w:t></w:r></w:p>",
         {{"编辑框1_ab", "长", 5, 1}, {"编辑框1_a", "短", 5, 1}},
         "长，短。"},
        {"the shorter name first takes the front of the longer one",
         "<w:p><w:r><w:t>编辑框1_ab，编辑框1_a。</w:t></w:r></w:p>",
         {{"编辑框1_a", "短", 5, 2}, {"编辑框1_ab", "长", 5, 0}},
         "短b，短。"},
        {"a name overlapping itself", "<w:p><w:r><w:t>框框框|框框框框</w:t></w:r></w:p>",
         {{"框框", "X", 5, 3}}, "X框|XX"},
        {"matches in what is left of a split run, before and after",
         "<w:p><w:r><w:t>甲编辑框1_d乙编辑框1_d0丙编辑框1_d丁</w:t></w:r></w:p>",
         {{"编辑框1_d0", "外", 1, 1}, {"编辑框1_d", "内", 5, 2}},
         "甲内乙外丙内丁"},
        {"a name over three runs, the next one in the rest of the last run",
         "<w:p><w:r><w:t>编</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>辑框</w:t></w:r>"
         "<w:r><w:t>1_d0与编辑框1_d0</w:t><w:t>及编辑框</w:t></w:r><w:r><w:t>1_d0</w:t></w:r></w:p>",
         {{"编辑框1_d0", "值", 5, 3}},
         "值与值及值"},
        {"asked more often than it occurs, in text and in an equation",
         "<w:p><w:r><w:t>标签1_结果</w:t></w:r><m:oMath><m:r><m:t>x=标签1_</m:t></m:r>"
         "<m:r><m:t>结果</m:t></m:r></m:oMath></w:p><w:p><w:r><w:t>其余不变</w:t></w:r></w:p>",
         {{"标签1_结果", "合格", 5, 2}, {"标签1_结果", "又", 5, 0}},
         "合格|x=合格|其余不变"},
        {"a name in the value never matches, nor across it",
         "<w:p><w:r><w:t>标签1框1_d0 编辑框1_d0</w:t></w:r></w:p>",
         {{"标签1", "编辑", 5, 1}, {"编辑框1_d0", "值", 5, 1}, {"编辑", "X", 5, 0}},
         "编辑框1_d0 值"},
        {"an empty name and a name that is nowhere", "<w:p><w:r><w:t>正文</w:t></w:r></w:p>",
         {{"", "X", 5, 0}, {"没有", "X", 5, 0}, {"正文", "", 5, 1}},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string documents[2];
        for (int prepared = 0; prepared < 2; ++prepared) {
            SCOPED_TRACE(prepared ? "prepared" : "one at a time");
            report::Docx d = opened(package(c.body));
            if (prepared) {
                std::vector<std::string_view> names;
                for (const Step& s : c.steps) names.push_back(s.placeholder);
                names.push_back(c.steps.front().placeholder); // named twice
                d.prepare(names);
                d.prepare(names); // and prepared twice
            }
            for (const Step& s : c.steps) EXPECT_EQ(d.replace(s.placeholder, s.value, s.times), s.replaced) << s.placeholder;
            const std::string out = saved(d);
            EXPECT_EQ(story(out), c.story);
            documents[prepared] = part(out, "word/document.xml");
        }
        EXPECT_EQ(documents[0], documents[1]);
    }
}

TEST(DocxReplace, PreparingLateChangesNothing)
{
    // Some names replaced, then the rest prepared: the index still knows
    // which text is gone.
    const std::string pkg = package("<w:p><w:r><w:t>编辑框1_d0，编辑框1_d，编辑框1_d0</w:t></w:r></w:p>");
    report::Docx d = opened(pkg);
    EXPECT_EQ(d.replace("编辑框1_d0", "外", 1), 1);
    d.prepare({"编辑框1_d", "编辑框1_d0"});
    EXPECT_EQ(d.replace("编辑框1_d", "内", 5), 2);
    EXPECT_EQ(d.replace("编辑框1_d0", "外", 5), 0);
    EXPECT_EQ(story(saved(d)), "外，内，内0");
}

// ---- values -------------------------------------------------------------------

TEST(DocxReplace, ValuesAreInsertedLiterally)
{
    const std::string pkg = package("<w:p><w:r><w:t>前编辑框1_d0后</w:t></w:r></w:p>"
                                    "<w:p><m:oMath><m:r><m:t>a=编辑框1_d0</m:t></m:r></m:oMath></w:p>");
    struct Case {
        const char* name;
        std::string value;
        std::string in_text, in_equation;
    };
    const Case cases[] = {
        {"markup characters", "&<>\"'", "&<>\"'", "&<>\"'"},
        {"line ends: CR LF, LF, lone CR", "1\r\n2\n3\r4", "1\n2\n3\n4", "1 2 3 4"},
        {"leading and trailing blanks", "  12.5  ", "  12.5  ", "  12.5  "},
        {"tab", "a\tb", "a\tb", "a\tb"},
        {"characters XML cannot carry",
         std::string("1\x01\x0c\x1f") + "\xff" + "\xc0\x80" + "\xed\xa0\x80" + "\xef\xbf\xbe" + "2\xe4\xb8" + "3",
         "123", "123"},
        {"multi-byte text", "米³𝛾", "米³𝛾", "米³𝛾"},
        {"empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report::Docx d = opened(pkg);
        EXPECT_EQ(d.replace("编辑框1_d0", c.value, 2), 2);
        const std::string out = saved(d);
        EXPECT_EQ(story(out), "前" + c.in_text + "后||a=" + c.in_equation);

        // text with blanks at an end keeps them only under xml:space="preserve"
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(part(out, "word/document.xml").c_str(), pugi::parse_default | pugi::parse_ws_pcdata));
        for (pugi::xpath_node t : doc.select_nodes("//w:t | //m:t")) {
            std::string_view v = t.node().child_value();
            if (!v.empty() && (std::isspace(static_cast<unsigned char>(v.front())) ||
                               std::isspace(static_cast<unsigned char>(v.back())))) {
                EXPECT_STREQ(t.node().attribute("xml:space").value(), "preserve") << v;
            }
        }
    }
}

// ---- the package --------------------------------------------------------------

TEST(DocxPackage, OtherPartsAreCopiedByteForByte)
{
    const Parts in = package_parts("<w:p><w:r><w:t>编辑框1_d0</w:t></w:r></w:p>");
    report::Docx d = opened(zip(in));
    ASSERT_EQ(d.replace("编辑框1_d0", "6.2", 10), 1);
    const Parts out = unzip(saved(d));

    // [Content_Types].xml leads; the rest keep their order
    ASSERT_EQ(out.size(), in.size());
    EXPECT_EQ(out.front(), in.back());
    for (size_t i = 0; i + 1 < in.size(); ++i) {
        SCOPED_TRACE(in[i].first);
        EXPECT_EQ(out[i + 1].first, in[i].first);
        if (in[i].first != "word/document.xml") {
            EXPECT_EQ(out[i + 1].second, in[i].second);
        }
    }
}

TEST(DocxPackage, UntouchedDocumentIsSavedAsItCame)
{
    report::Docx d = opened(fixture());
    EXPECT_FALSE(d.replace_next("没有这个占位符", "x"));
    EXPECT_EQ(unzip(saved(d)), unzip(fixture()));
}

TEST(DocxPackage, FixtureFillsCompletely)
{
    report::Docx d = opened(fixture());
    const std::map<std::string, int> expected_count = {{"编辑框1_d0", 3}, {"标签1_结果", 2}};
    for (auto& [placeholder, value] : k_fixture_values) {
        SCOPED_TRACE(placeholder);
        auto it = expected_count.find(placeholder);
        EXPECT_EQ(d.replace(placeholder, value, 100), it == expected_count.end() ? 1 : it->second);
    }
    const std::string out = saved(d);
    const std::string text = story(out);
    for (const char* line : {"工程名称：某隧道", "管片外径 6.2 m，内径 5.5 m。", "计算结果为 合格，满足要求。",
                             "|350|", "|300|", "A=π6.224=30.19", "V=A×1.2=36.23"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin: " << text;
    const Parts before = unzip(fixture()), after = unzip(out);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        const auto& [name, data] = after[i];
        SCOPED_TRACE(name);
        EXPECT_EQ(name, before[i].first);
        if (name != "word/document.xml") {
            EXPECT_EQ(data, before[i].second); // header, footer, styles, ...
        }
        for (auto& [placeholder, value] : k_fixture_values) EXPECT_EQ(data.find(placeholder), std::string::npos);
    }
    // the bold start of 标签1_结果 makes the value bold
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(part(out, "word/document.xml").c_str()));
    EXPECT_TRUE(doc.select_node("//w:r[w:t='合格' and w:rPr/w:b]"));
    opened(out); // and it opens again
}

// ---- saving -------------------------------------------------------------------

TEST(DocxSave, ReplacesTheFileAndKeepsItsPermissions)
{
    TempDir dir;
    const fs::path target = dir.path / "管片计算书.doc";
    report::Docx d = opened(fixture());
    std::string error;
    ASSERT_TRUE(d.save(target.string(), &error)) << error;
    EXPECT_EQ(read_file(target), saved(d));

    ::chmod(target.c_str(), 0640);
    d.replace("编辑框1_d0", "6.2", 100);
    ASSERT_TRUE(d.save(target.string(), &error)) << error;
    EXPECT_EQ(read_file(target), saved(d));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"管片计算书.doc"});
}

TEST(DocxSave, FailureLeavesNothingBehind)
{
    // Permission bits do not stop root, so the failures come from paths no
    // file can be created in.
    struct Case {
        const char* name;
        std::function<fs::path(const fs::path&)> target; // made inside a scratch folder
    };
    const Case cases[] = {
        {"the folder is a regular file",
         [](const fs::path& dir) {
             std::ofstream(dir / "file") << "x";
             return dir / "file" / "a.doc";
         }},
        {"the folder was removed meanwhile",
         [](const fs::path& dir) {
             fs::create_directory(dir / "gone");
             fs::remove(dir / "gone");
             return dir / "gone" / "a.doc";
         }},
        {"the target is a folder",
         [](const fs::path& dir) {
             fs::create_directories(dir / "a.doc" / "x");
             return dir / "a.doc";
         }},
        {"a kernel file system", [](const fs::path&) { return fs::path("/proc/jsb-docx-test.doc"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target = c.target(dir.path);
        const auto before = dir.names();
        report::Docx d = opened(fixture());
        d.replace("编辑框1_d0", "6.2", 100);
        std::string error;
        EXPECT_FALSE(d.save(target.string(), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(dir.names(), before);
        EXPECT_FALSE(fs::is_regular_file(target));
    }
}

TEST(DocxSave, FailedWriteKeepsTheOldFile)
{
    TempDir dir;
    const fs::path target = dir.path / "a.doc";
    std::ofstream(target) << "old report";
    report::Docx d = opened(fixture());

    // a file size limit makes the write of the temporary file fail midway
    rlimit old_limit;
    ::getrlimit(RLIMIT_FSIZE, &old_limit);
    auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old_limit;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    std::string error;
    const bool ok = d.save(target.string(), &error);
    ::setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, old_handler);

    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(read_file(target), "old report");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.doc"});
}

TEST(DocxSave, ALinkIsWrittenThroughAndASpecialFileIsNeverReplaced)
{
    TempDir dir;
    std::ofstream(dir.path / "report.doc") << "old report";
    fs::create_symlink("report.doc", dir.path / "link.doc");
    report::Docx d = opened(fixture());
    std::string error;
    ASSERT_TRUE(d.save((dir.path / "link.doc").string(), &error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.doc"));
    EXPECT_EQ(read_file(dir.path / "report.doc"), saved(d));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link.doc", "report.doc"}));

    // a pipe, like a device, is not a file a report could replace
    ASSERT_EQ(::mkfifo((dir.path / "pipe.doc").c_str(), 0644), 0);
    EXPECT_FALSE(d.save((dir.path / "pipe.doc").string(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_fifo(dir.path / "pipe.doc"));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"link.doc", "pipe.doc", "report.doc"}));
}

TEST(DocxOpen, RejectsWhatIsNotAWordDocument)
{
    TempDir dir;
    std::ofstream(dir.path / "text.doc") << "just text";
    struct Case {
        const char* name;
        std::function<bool(report::Docx&, std::string*)> open;
    };
    const Case cases[] = {
        {"missing file", [&](report::Docx& d, std::string* e) { return d.open((dir.path / "none.doc").string(), e); }},
        {"not a zip", [&](report::Docx& d, std::string* e) { return d.open((dir.path / "text.doc").string(), e); }},
        {"no main document part",
         [](report::Docx& d, std::string* e) { return d.open_bytes(zip({{"word/other.xml", "<a/>"}}), e); }},
        {"broken XML",
         [](report::Docx& d, std::string* e) {
             return d.open_bytes(zip({{"word/document.xml", "<w:document><w:body>"}}), e);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        report::Docx d = opened(fixture());
        std::string error;
        EXPECT_FALSE(c.open(d, &error));
        EXPECT_FALSE(error.empty());
        // nothing of the earlier document is left to fill or save
        EXPECT_FALSE(d.replace_next("编辑框1_d0", "6.2"));
        std::string bytes;
        EXPECT_FALSE(d.save_bytes(&bytes));
    }
}

// ---- the template packer -----------------------------------------------------

const fs::path k_packer = fs::path(JSB_BINARY_DIR) / "tools" / "jsb_docx_pack";
const fs::path k_fixture_source = fs::path(JSB_SOURCE_DIR) / "resources" / "templates" / "test_fixture.tpl";

// exit status and combined output
std::pair<int, std::string> run(const std::string& command)
{
    std::string out;
    FILE* p = ::popen((command + " 2>&1").c_str(), "r");
    char buf[4096];
    while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    int status = ::pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::string quoted(const fs::path& p) { return "'" + p.string() + "'"; }

TEST(DocxPack, BuildsAreReproducible)
{
    TempDir dir;
    for (const char* tz : {"UTC", "Asia/Shanghai"}) {
        SCOPED_TRACE(tz);
        const fs::path out = dir.path / (std::string(tz == std::string("UTC") ? "a" : "b") + ".docx");
        auto [rc, msg] = run(std::string("TZ=") + tz + " " + quoted(k_packer) + " " + quoted(k_fixture_source) + " " +
                             quoted(out));
        ASSERT_EQ(rc, 0) << msg;
        EXPECT_TRUE(read_file(out) == fixture()) << "differs from the embedded template";
    }
}

TEST(DocxPack, EveryReportHasTheSameFrame)
{
    pugi::xml_document doc, styles, header, footer, rels;
    ASSERT_TRUE(doc.load_string(part(fixture(), "word/document.xml").c_str()));
    ASSERT_TRUE(styles.load_string(part(fixture(), "word/styles.xml").c_str()));
    ASSERT_TRUE(header.load_string(part(fixture(), "word/header1.xml").c_str()));
    ASSERT_TRUE(footer.load_string(part(fixture(), "word/footer1.xml").c_str()));
    ASSERT_TRUE(rels.load_string(part(fixture(), "word/_rels/document.xml.rels").c_str()));
    EXPECT_EQ(unzip(fixture()).front().first, "[Content_Types].xml");

    // A4, with the header and footer parts wired to the section
    pugi::xml_node sect = doc.select_node("/w:document/w:body/w:sectPr").node();
    EXPECT_STREQ(sect.child("w:pgSz").attribute("w:w").value(), "11906");
    EXPECT_STREQ(sect.child("w:pgSz").attribute("w:h").value(), "16838");
    for (auto [ref, target] : {std::pair{"w:headerReference", "header1.xml"}, {"w:footerReference", "footer1.xml"}}) {
        std::string id = sect.child(ref).attribute("r:id").value();
        EXPECT_TRUE(rels.select_node(("//*[@Id='" + id + "' and @Target='" + target + "']").c_str())) << ref;
    }
    EXPECT_STREQ(header.select_node("//w:t").node().child_value(), "掘石宝");
    EXPECT_NE(std::string(footer.select_node("//w:t").node().child_value()).find("引擎测试计算书"), std::string::npos);
    pugi::xml_node fonts = styles.select_node("//w:docDefaults//w:rFonts").node();
    EXPECT_STREQ(fonts.attribute("w:eastAsia").value(), "宋体");
    EXPECT_STREQ(fonts.attribute("w:ascii").value(), "Times New Roman");

    // the source constructs became real Word structures
    EXPECT_TRUE(doc.select_node("//w:tc/w:tbl"));
    EXPECT_TRUE(doc.select_node("//m:oMathPara/m:oMath/m:f/m:num/m:sSup/m:e/m:r[m:t='编辑框1_d0']"));
    EXPECT_TRUE(doc.select_node("//m:r[m:rPr/m:nor and m:t='编辑框']"));
    EXPECT_TRUE(doc.select_node("//w:p[w:pPr/w:pStyle/@w:val='Heading1']"));
    // the title page ends where the next paragraph starts a new page: no
    // paragraph of its own holds the break
    EXPECT_TRUE(doc.select_node("//w:p[w:pPr/w:pStyle/@w:val='Title' and w:pPr/w:pageBreakBefore]"));
    EXPECT_FALSE(doc.select_node("//w:r/w:br[@w:type='page']"));
}

// Packs a small source and gives its document and settings parts.
struct Packed {
    pugi::xml_document document, settings, styles;
};
void pack_source(const std::string& source, Packed& out)
{
    TempDir dir;
    std::ofstream(dir.path / "t.tpl") << source;
    auto [rc, msg] = run(quoted(k_packer) + " " + quoted(dir.path / "t.tpl") + " " + quoted(dir.path / "t.docx"));
    ASSERT_EQ(rc, 0) << msg;
    const std::string package = read_file(dir.path / "t.docx");
    ASSERT_TRUE(out.document.load_string(part(package, "word/document.xml").c_str()));
    ASSERT_TRUE(out.settings.load_string(part(package, "word/settings.xml").c_str()));
    ASSERT_TRUE(out.styles.load_string(part(package, "word/styles.xml").c_str()));
}

// What word processors need to lay a report out well: brackets that pair
// within one element (LibreOffice drops everything after a bracket that
// does not), page breaks that cannot leave a page of their own, rows that
// stay whole, captions that stay with their table, contents with page numbers.
TEST(DocxPack, SourceBecomesWhatWordProcessorsLayOutWell)
{
    struct Case {
        const char* source;
        std::vector<const char*> present; // XPath expressions that must match
        std::vector<const char*> absent;
    };
    const Case cases[] = {
        {"$ V = K·(\\frac{Q}{R})^{α} = 编辑框5_振动速度",
         {"//m:sSup/m:e/m:d[not(m:dPr/m:begChr)]/m:e/m:f/m:num/m:r[m:t='Q']", "//m:sSup/m:sup/m:r[m:t='α']",
          // a control name is normal text, so that the value replacing it is
          // never read as mathematics ("-" would break the equation)
          "//m:r[m:rPr/m:nor and m:t='编辑框5_振动速度']", "//m:r[not(m:rPr) and m:t='=']"},
         {"//m:t[contains(., '(') or contains(., ')')]"}},
        {"$ Q = [a - (b + c)]^{2}",
         {"//m:sSup/m:e/m:d[m:dPr/m:begChr/@m:val='[' and m:dPr/m:endChr/@m:val=']']/m:e/m:d/m:e/m:r[m:t='b+c']"},
         {"//m:t[contains(., '[') or contains(., '(')]"}},
        // a bracket written \( is an ordinary character
        {"$ a\\(b", {"//m:r[m:t='a(b']"}, {"//m:d"}},
        {"$ K_{周边} = 2×编辑框1_a0 \"kg\"",
         {"//m:sSub/m:sub/m:r[m:rPr/m:nor and m:t='周边']", "//m:r[not(m:rPr) and m:t='=2×']",
          "//m:r[m:rPr/m:nor and m:t='编辑框1_a0']", "//m:r[m:rPr/m:nor and m:t='kg']"},
         {}},
        {"!titlepage\n计算书\n日期：\n!end\n= 计算书\n正文",
         {"//w:p[w:pPr/w:pStyle/@w:val='Title' and w:pPr/w:pageBreakBefore]"}, {"//w:br"}},
        // a line introducing an equation stays with it; other lines do not
        {"代入数值：\n$ a = 1\n说明。\n$ b = 2\n",
         {"//w:p[w:pPr/w:keepNext and w:r/w:t='代入数值：']"}, {"//w:p[w:pPr/w:keepNext and w:r/w:t='说明。']"}},
        {"正文\n!page\n# 一、标题\n", {"//w:p[w:pPr/w:pStyle/@w:val='Heading1' and w:pPr/w:pageBreakBefore]"}, {"//w:br"}},
        // before a table the break needs a paragraph of its own
        {"正文\n!page\n| a |\n", {"//w:p[w:r/w:br/@w:type='page']/following-sibling::*[1][self::w:tbl]"}, {}},
        {"表1 参数\n| a | b |\n|---|---|\n| 1 | 2 |\n",
         {"//w:p[w:pPr/w:keepNext and w:r/w:t='表1 参数']/following-sibling::*[1][self::w:tbl]",
          "//w:tr[1]/w:trPr[w:cantSplit and w:tblHeader]", "//w:tr[2]/w:trPr/w:cantSplit",
          // a short table is kept on one page: each row keeps with the next
          "//w:tr[1]/w:tc/w:p/w:pPr/w:keepNext"},
         {"//w:tr[2]/w:trPr/w:tblHeader", "//w:tr[2]/w:tc/w:p/w:pPr/w:keepNext"}},
        {"| 位置 | 类 |\n|---|---|\n| 上台阶 | 1 |\n| ^^ | 2 |\n| 下台阶 | 3 |\n",
         {"//w:tr[2]/w:tc[1][w:tcPr/w:vMerge/@w:val='restart' and .//w:t='上台阶']",
          "//w:tr[3]/w:tc[1][w:tcPr/w:vMerge[not(@w:val)] and not(.//w:t)]", "//w:tr[3]/w:tc[2]//w:t[.='2']"},
         {"//w:tr[4]/w:tc[1]/w:tcPr/w:vMerge", "//w:t[contains(., '^')]"}},
        {"!toc\n# 一、依据\n正文\n# 二、计算\n",
         {"//w:p[w:pPr/w:pStyle/@w:val='TOC1' and w:r/w:t='一、依据' and w:r/w:tab and "
          "w:r/w:instrText=' PAGEREF _Toc1 \\h ']",
          "//w:p[w:pPr/w:pStyle/@w:val='Heading1' and w:bookmarkStart/@w:name='_Toc2' and w:r/w:t='二、计算']"},
         {}},
        // a cover title too long for one line at 26 pt is set smaller
        {"!titlepage\n爆破凿岩机需要台数及空压机风量计算书\n!end\n正文", {"//w:p[w:pPr/w:pStyle/@w:val='TitlePageTitle']/w:r/w:rPr/w:sz[@w:val < 52]"}, {}},
        {"!titlepage\n隧道仰拱栈桥计算书\n!end\n正文", {}, {"//w:sz"}},
        // optional parts carry hidden marks the export reads
        {"?最小安全距离 R1 为 编辑框_R1 m。\n?$ R = 编辑框_R1\n",
         {"//w:p[w:bookmarkStart[starts-with(@w:name, '_JsbLine')] and w:bookmarkEnd and w:r/w:t]",
          "//w:p[w:bookmarkStart[starts-with(@w:name, '_JsbLine')] and m:oMathPara]"},
         {}},
        {"| a | b |\n|---|---|\n?| 1 | 编辑框_x |\n| 3 | 4 |\n",
         {"//w:tr[2]/w:tc[1]/w:p/w:bookmarkStart[starts-with(@w:name, '_JsbRow')]", "//w:tr[2]/w:tc[2]/w:p/w:bookmarkEnd"},
         {"//w:tr[3]//w:bookmarkStart", "//w:t[contains(., '?')]"}},
        {"前文\n!optional\n说明 计算值_x\n| a |\n!end\n后文",
         {"//w:p[w:r/w:t='说明 计算值_x']/w:bookmarkStart[starts-with(@w:name, '_JsbBlock')]",
          "//w:tbl//w:p/w:bookmarkEnd"},
         {"//w:p[w:r/w:t='前文']/w:bookmarkStart", "//w:p[w:r/w:t='后文']/w:bookmarkEnd"}},
        // a short closing paragraph is not split, nor left alone on the last page
        {"# 一、措施\n1. 严格控制药量；\n2. 及时调整爆破参数。",
         {"//w:p[last()][w:pPr/w:keepLines and w:r/w:t='2. 及时调整爆破参数。']",
          "//w:p[w:pPr/w:keepNext and w:r/w:t='1. 严格控制药量；']"},
         {}},
        {"正文。\n| a |\n结尾。", {"//w:p[last()]/w:pPr/w:keepLines"}, {"//w:tbl//w:keepNext"}},
        {"前文。\n$ a = 1", {}, {"//w:keepLines", "//w:keepNext"}},
        // columns as wide as their contents: the long name does not wrap
        {"| 参数 | 符号 | 取值 | 单位 |\n|---|---|---|---|\n| 单位体积岩体的耗药量（炸药单耗） | q | 编辑框1_炸药单耗 | kg/m³ |\n",
         {"//w:tblGrid/w:gridCol[1][@w:w > 3800]", "//w:tblGrid/w:gridCol[2][@w:w < 1500]",
          "//w:tr[2]/w:tc[1]/w:tcPr/w:tcW[@w:w > 3800]"},
         {}},
    };
    {
        // no page starts or ends with a lone line of a paragraph
        Packed p;
        pack_source("正文", p);
        EXPECT_TRUE(p.styles.select_node("//w:pPrDefault/w:pPr/w:widowControl[not(@w:val) or @w:val='1' or @w:val='true']"));
        EXPECT_TRUE(p.styles.select_node("//w:style[@w:styleId='Title']/w:pPr/w:keepNext"));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        Packed p;
        pack_source(c.source, p);
        for (const char* x : c.present) EXPECT_TRUE(p.document.select_node(x)) << x;
        for (const char* x : c.absent) EXPECT_FALSE(p.document.select_node(x)) << x;
        // Word is asked to update fields on opening only where there are contents
        const bool toc = std::string(c.source).find("!toc") != std::string::npos;
        EXPECT_EQ(bool(p.settings.select_node("/w:settings/w:updateFields[@w:val='true']/following-sibling::w:compat")), toc);
    }
}

// A filled report leaves out an optional line, row or block where a value
// on it is empty or "-", and keeps the others without their marks.
TEST(DocxPack, OptionalPartsWithoutAValueAreLeftOut)
{
    const std::string source =
        "开头\n"
        "?距离为 编辑框_a m。\n"
        "?距离为 编辑框_b m。\n"
        "?$ R = 编辑框_b\n"
        "| 项 | 值 |\n|---|---|\n?| 甲 | 编辑框_a |\n?| 乙 | 编辑框_c |\n| 丙 | 3 |\n"
        "!optional\n第三台阶 计算值_台阶\n| 丁 | 编辑框_a |\n!end\n"
        "结尾\n";
    TempDir dir;
    std::ofstream(dir.path / "t.tpl") << source;
    auto [rc, msg] = run(quoted(k_packer) + " " + quoted(dir.path / "t.tpl") + " " + quoted(dir.path / "t.docx"));
    ASSERT_EQ(rc, 0) << msg;
    const std::string package = read_file(dir.path / "t.docx");

    struct Case {
        const char* step; // the value of 计算值_台阶
        std::vector<const char*> present, absent;
    };
    const Case cases[] = {
        {"下台阶", {"距离为 12 m。", "甲", "丙", "第三台阶 下台阶", "丁"}, {"距离为 - m。", "R=", "乙", "编辑框"}},
        {"", {"距离为 12 m。", "甲", "丙", "结尾"}, {"第三台阶", "丁", "乙"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        report::Docx d;
        ASSERT_TRUE(d.open_bytes(package));
        d.replace("编辑框_a", "12", 3);
        d.replace("编辑框_b", "-", 2);
        d.replace("编辑框_c", "", 1);
        d.replace("计算值_台阶", c.step, 1);
        d.leave_out_blank_parts();
        std::string out;
        ASSERT_TRUE(d.save_bytes(&out));
        const std::string xml = part(out, "word/document.xml");
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(xml.c_str()));
        std::string text; // paragraph by paragraph
        for (pugi::xpath_node p : doc.select_nodes("//w:p")) {
            for (pugi::xpath_node t : p.node().select_nodes(".//w:t | .//m:t")) text += t.node().child_value();
            text += "\n";
        }
        for (const char* t : c.present) EXPECT_NE(text.find(t), std::string::npos) << t << " in\n" << text;
        for (const char* t : c.absent) EXPECT_EQ(text.find(t), std::string::npos) << t << " in\n" << text;
        EXPECT_EQ(xml.find("_Jsb"), std::string::npos) << "a mark was left in";
        // a bookmark end without its start would be left dangling
        EXPECT_EQ(doc.select_nodes("//w:bookmarkEnd").size(), doc.select_nodes("//w:bookmarkStart").size());
    }
}

TEST(DocxPack, ReportsMistakesWithTheirLine)
{
    struct Case {
        const char* source;
        const char* where;
    };
    const Case cases[] = {
        {"正文\n!unknown\n", ":2:"},
        {"| a | [[没有的表]] |\n", ":1:"},
        {"正文\n\n$ \\frac{a}\n", ":3:"},
        {"**没有配对\n", ":1:"},
        {"!table 表\n| a |\n", ":1:"},
        // a bracket must pair within its own group of the equation
        {"正文\n$ V = K·(\\frac{Q}{R}\n", ":2:"},
        {"$ a)\n", ":1:"},
        {"$ {(a} + b)\n", ":1:"},
        {"$ (a]\n", ":1:"},
        {"| ^^ | a |\n", ":1:"},
        {"!toc\n正文\n", ":1:"},
        // LibreOffice shows a relation without its left side as ¿
        {"$ a = b\n$ = c\n", ":2:"},
        {"正文\n!optional\n正文\n", ":2:"},
        {"?!page\n", ":1:"},
        {"| a |\n?|---|\n", ":2:"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        std::ofstream(dir.path / "bad.tpl") << c.source;
        auto [rc, msg] = run(quoted(k_packer) + " " + quoted(dir.path / "bad.tpl") + " " + quoted(dir.path / "bad.docx"));
        EXPECT_NE(rc, 0);
        EXPECT_NE(msg.find(std::string("bad.tpl") + c.where), std::string::npos) << msg;
    }
}

} // namespace

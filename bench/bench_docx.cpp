// Filling a report: a 150-placeholder document (text split over runs with
// proofing marks, table cells, equations), filled and saved by our engine;
// next to it, LibreOffice opening and re-saving the same document, as the
// cost an office suite would add for the same job.
#include "app/report/docx.h"
#include "ui/resources.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int k_placeholders = 150;

std::string placeholder(int i) { return "编辑框" + std::to_string(i) + "_值"; }

void add_run(pugi::xml_node parent, const char* name, const char* t_name, const std::string& text)
{
    pugi::xml_node t = parent.append_child(name).append_child(t_name);
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(text.c_str());
}

// The body of a long report; every third placeholder sits in
// running text split over three runs, in a table cell, in an equation.
std::string report_body_xml(const std::string& fixture_document)
{
    pugi::xml_document doc;
    doc.load_string(fixture_document.c_str(), pugi::parse_default | pugi::parse_declaration);
    pugi::xml_node body = doc.document_element().child("w:body");
    pugi::xml_node sect = body.child("w:sectPr");
    for (pugi::xml_node n = body.first_child(); n != sect;) {
        pugi::xml_node next = n.next_sibling();
        body.remove_child(n);
        n = next;
    }
    const std::string filler = "按现行规范对管片结构进行验算，荷载组合及分项系数取值见上节，计算过程如下。";
    pugi::xml_node table;
    for (int i = 0; i < k_placeholders; ++i) {
        const std::string name = placeholder(i);
        if (i % 3 == 0) {
            pugi::xml_node p = body.insert_child_before("w:p", sect);
            add_run(p, "w:r", "w:t", filler + filler + "取值 " + name.substr(0, 6));
            p.append_child("w:proofErr").append_attribute("w:type").set_value("spellStart");
            add_run(p, "w:r", "w:t", name.substr(6, 4));
            p.append_child("w:proofErr").append_attribute("w:type").set_value("spellEnd");
            add_run(p, "w:r", "w:t", name.substr(10) + " kN，" + filler);
        } else if (i % 3 == 1) {
            if (!table || i % 30 == 1) table = body.insert_child_before("w:tbl", sect);
            pugi::xml_node tr = table.append_child("w:tr");
            add_run(tr.append_child("w:tc").append_child("w:p"), "w:r", "w:t", "第 " + std::to_string(i) + " 项");
            add_run(tr.append_child("w:tc").append_child("w:p"), "w:r", "w:t", name);
        } else {
            pugi::xml_node math = body.insert_child_before("w:p", sect).append_child("m:oMathPara").append_child("m:oMath");
            add_run(math, "m:r", "m:t", "N=");
            add_run(math, "m:r", "m:t", name);
            add_run(math, "m:r", "m:t", "×1.35");
        }
    }
    struct Out : pugi::xml_writer {
        std::string s;
        void write(const void* d, size_t n) override { s.append(static_cast<const char*>(d), n); }
    } out;
    doc.save(out, "", pugi::format_raw);
    return out.s;
}

// The embedded test template with its main story swapped for the big one;
// header, footer and styles stay.
std::string report_template()
{
    const auto& fixture = ui::resource("templates/test_fixture.docx");
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* src = zip_source_buffer_create(fixture.data(), fixture.size(), 0, &ze);
    zip_t* in = zip_open_from_source(src, ZIP_RDONLY, &ze);
    zip_source_t* mem = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_source_keep(mem);
    zip_t* out = zip_open_from_source(mem, ZIP_TRUNCATE, &ze);
    std::vector<std::string> keep; // the sources point into these until zip_close
    for (zip_int64_t i = 0; i < zip_get_num_entries(in, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(in, i, 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(in, i, 0);
        zip_fread(f, data.data(), data.size());
        zip_fclose(f);
        if (std::string(st.name) == "word/document.xml") data = report_body_xml(data);
        keep.push_back(std::move(data));
        zip_file_add(out, st.name, zip_source_buffer(out, keep.back().data(), keep.back().size(), 0), 0);
    }
    zip_close(out);
    zip_discard(in);
    zip_stat_t st;
    zip_source_stat(mem, &st);
    std::string bytes(st.size, '\0');
    zip_source_open(mem);
    zip_source_read(mem, bytes.data(), bytes.size());
    zip_source_close(mem);
    zip_source_free(mem);
    return bytes;
}

const std::string& the_template()
{
    static const std::string t = report_template();
    return t;
}

fs::path scratch()
{
    static const fs::path dir = [] {
        std::string tmpl = (fs::temp_directory_path() / "jsb-bench-docx-XXXXXX").string();
        return fs::path(mkdtemp(tmpl.data()));
    }();
    return dir;
}

report::Docx filled(int* found = nullptr)
{
    report::Docx d;
    d.open_bytes(the_template());
    int n = 0;
    for (int i = 0; i < k_placeholders; ++i) n += d.replace(placeholder(i), std::to_string(i * 7.25), 1);
    if (found) *found = n;
    return d;
}

void BM_FillAndSave150(benchmark::State& state)
{
    const std::string path = (scratch() / "report.doc").string();
    for (auto _ : state) {
        int found = 0;
        report::Docx d = filled(&found);
        std::string error;
        if (found != k_placeholders) state.SkipWithError("the template lost placeholders");
        if (!d.save(path, &error)) state.SkipWithError(error.c_str());
    }
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
}
BENCHMARK(BM_FillAndSave150)->Unit(benchmark::kMillisecond);

// Whole process: start, load, re-save as .docx, quit; the profile is made
// once beforehand so that first-start setup is not counted.
void BM_LibreOfficeOpenAndSave(benchmark::State& state)
{
    if (std::system("command -v soffice >/dev/null 2>&1") != 0) {
        state.SkipWithError("soffice (LibreOffice) is not installed");
        return;
    }
    const fs::path doc = scratch() / "lo_report.doc";
    filled().save(doc.string());
    const std::string command = "soffice -env:UserInstallation=file://" + (scratch() / "lo-profile").string() +
                                " --headless --convert-to docx --outdir '" + (scratch() / "lo-out").string() + "' '" +
                                doc.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError("soffice failed");
        return;
    }
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("soffice failed");
}
BENCHMARK(BM_LibreOfficeOpenAndSave)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

struct RemoveScratch {
    RemoveScratch() { scratch(); } // so that the folder outlives this
    ~RemoveScratch() { fs::remove_all(scratch()); }
} remove_scratch;

} // namespace

// The export sequence on the headless backend, with the document engine
// filling a real template.
#include "app/program.h"
#include "app/report/docx.h"
#include "app/report/export.h"
#include "app/shell.h"
#include "tests/support/faults.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <functional>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace ui;
using namespace report;
namespace fs = std::filesystem;

namespace {

struct ExportTest : ::testing::Test {
    // Every caption of the status label and every countdown picture, in order.
    testsupport::RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    ExportTest() { backend.form = "test_export"; }

    void SetUp() override
    {
        backend.attach(rt);
        app::register_handlers(rt);
        std::string err;
        ASSERT_TRUE(rt.add_definition_file(std::string(JSB_SOURCE_DIR) + "/tests/forms/test_export.json", &err)) << err;
        ASSERT_NE(rt.load_form("test_export", nullptr, false), nullptr);
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '_');
        folder = fs::temp_directory_path() / ("jsb-export-" + std::to_string(::getpid()) + "-" + test);
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        calculate();
    }
    void TearDown() override { fs::remove_all(folder); }

    // A calculation of the fixture form: it reads the two diameters and the
    // section, and writes its result.
    void calculate(bool refuse = false)
    {
        calculation_begin("test_export");
        read_number(U("test_export", "编辑框1_d0"));
        read_number(U("test_export", "编辑框1_d"));
        current_item_text(U("test_export", "组合框1_断面"));
        set_control_text(U("test_export", "编辑框3_L"), "7");
        read_number(U("test_export", "编辑框3_L"));
        if (refuse) calculation_refused();
        calculation_end();
    }

    // The six-row request of the roller module, on the fixture template.
    ExportRequest roller_like()
    {
        ExportRequest r;
        r.form = "test_export";
        r.templates = {{Condition::always(), "templates/test_fixture.docx", "压路机台班生产率.doc"}};
        const char* names[] = {"编辑框1_d0", "编辑框1_d", "标签1_结果", "编辑框2_h", "标签2_hmin", "编辑框_工程"};
        for (int i = 0; i < 6; ++i) r.bindings.push_back(bind(names[i], 5, StatusMark::countdown(8 - i)));
        r.bindings.push_back(bind("标签3_A", 5));
        r.bindings.push_back(bind("编辑框3_L", 5));
        r.bindings.push_back(bind("标签3_V", 5));
        r.marks = {{Stage::Busy, StatusMark::countdown(10)},
                   {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
                   {Stage::TemplateWritten, StatusMark::countdown(9)},
                   {Stage::BindingsDone, StatusMark::countdown(2)},
                   {Stage::Saved, StatusMark::countdown(1)},
                   {Stage::WordClosed, StatusMark::countdown(0)}};
        r.success_message = "计算方案导出成功！";
        return r;
    }
    fs::path report_path(const char* name) { return folder / "导出的方案" / name; }
    Bytes picture_of(const char* control, int p) { return rt_get_property(U("test_export", control), p).bytes(); }
};

TEST_F(ExportTest, RollerSequenceMarksProgressAndSuccess)
{
    RunReportExport(roller_like());

    std::vector<std::string> want = {"参数处理，倒计时10", "[10]", "  参数导出准备中，请稍候……", "参数处理，倒计时9", "[9]"};
    for (int n = 8; n >= 0; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    for (int p = 1; p <= 100; ++p) want.push_back("计算书已导出 " + std::to_string(p) + "%  ");
    want.push_back("方案导出需要Word2007以上版本！");
    want.push_back("[10]");
    EXPECT_EQ(backend.trail, want);

    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[0].text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(backend.messages[0].style, 1);
    EXPECT_EQ(backend.messages[1].text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages[1].caption, "信息：");
    EXPECT_EQ(backend.opened, (std::vector<std::string>{(folder / "导出的方案").string()}));
    EXPECT_EQ(backend.files, (std::vector<std::string>{report_path("压路机台班生产率.doc").string()}));
    EXPECT_EQ(testsupport::names_in(folder / "导出的方案"), std::vector<std::string>{"压路机台班生产率.doc"});
    EXPECT_EQ(rt_get_property(U("test_export", "进度条1"), prop::ProcessBar::Position).integer(), 0);
    EXPECT_FALSE(rt_get_property(U("test_export", "图形按钮_导出"), prop::Disabled).truth());
    EXPECT_FALSE(rt_get_property(U("test_export", "图形按钮_计算"), prop::Disabled).truth());
    EXPECT_EQ(picture_of("图形按钮_导出", prop::PicBtn::Picture), resource(app::res::export_normal));
    // The disabled look stays the pressed picture, as the export left it.
    EXPECT_EQ(picture_of("图形按钮_导出", prop::PicBtn::PictureDisabled), resource(app::res::export_pressed));

    // Every placeholder is gone; the values are in the document, the empty one as nothing.
    Docx doc;
    ASSERT_TRUE(doc.open(report_path("压路机台班生产率.doc").string()));
    for (const char* ph : {"编辑框1_d0", "编辑框1_d", "标签1_结果", "编辑框2_h", "标签2_hmin", "标签3_A", "编辑框3_L", "标签3_V", "编辑框_工程"})
        EXPECT_FALSE(doc.replace_next(ph, "")) << ph;
    const std::string text = testsupport::report_text(report_path("压路机台班生产率.doc"));
    for (const char* value : {"&<\"设计\">", "某隧道"}) EXPECT_NE(text.find(value), std::string::npos) << value;

    // The report says when it was made.
    const std::optional<std::string> core =
        testsupport::package_part(testsupport::file_bytes(report_path("压路机台班生产率.doc")), "docProps/core.xml");
    ASSERT_TRUE(core.has_value());
    for (const char* when : {"created", "modified"})
        EXPECT_TRUE(std::regex_search(*core, std::regex(std::string("<dcterms:") + when +
                                                        " xsi:type=\"dcterms:W3CDTF\">\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ<")))
            << *core;
}

TEST_F(ExportTest, CancelWritesNothingAndRestoresTheButton)
{
    backend.queue_answer(1);
    RunReportExport(roller_like());
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(backend.messages.size(), 1u);
    EXPECT_EQ(picture_of("图形按钮_导出", prop::PicBtn::Picture), resource(app::res::export_normal));
    EXPECT_TRUE(backend.trail.empty());
}

// Only results that belong to the inputs shown are exported. Each row: what
// happens after SetUp's calculation, and the message instead of a report
// (empty: the report is written).
TEST_F(ExportTest, ExportsOnlyResultsOfTheInputsShown)
{
    struct Case {
        const char* name;
        std::function<void(ExportTest&)> then;
        const char* refusal;
    };
    const char* const changed = "输入已修改，请重新计算后导出！";
    const char* const no_results = "计算未得出结果，请检查输入后重新计算！";
    const Case cases[] = {
        {"fresh", [](ExportTest&) {}, ""},
        {"never calculated", [](ExportTest& t) { t.rt.destroy_now(*t.rt.form("test_export"));
                                                 t.rt.load_form("test_export", nullptr, false); },
         "您还未进行计算，请计算后导出！"},
        {"input typed", [](ExportTest& t) { t.rt.user_type(t.rt.unit("test_export", "编辑框1_d"), "5.6"); }, changed},
        {"input typed and typed back", [](ExportTest& t) {
             t.rt.user_type(t.rt.unit("test_export", "编辑框1_d"), "5.6");
             t.rt.user_type(t.rt.unit("test_export", "编辑框1_d"), "5.5"); }, ""},
        {"choice changed", [](ExportTest& t) { t.rt.user_choose(t.rt.unit("test_export", "组合框1_断面"), 1); }, changed},
        {"result read back changed by hand", [](ExportTest& t) {
             t.rt.user_type(t.rt.unit("test_export", "编辑框3_L"), "8"); }, ""},
        {"box the calculation never read", [](ExportTest& t) {
             t.rt.user_type(t.rt.unit("test_export", "编辑框_工程"), "另一隧道"); }, ""},
        {"refused", [](ExportTest& t) { t.calculate(true); }, no_results},
        {"input outside its domain", [](ExportTest& t) {
             t.rt.form("test_export")->find("编辑框1_d")->domain = Domain::Positive;
             t.rt.user_type(t.rt.unit("test_export", "编辑框1_d"), "-0");
             t.calculate(); }, no_results},
        {"refused, then an input typed", [](ExportTest& t) {
             t.calculate(true);
             t.rt.user_type(t.rt.unit("test_export", "编辑框1_d"), "5.6"); }, no_results},
        {"calculated again after a change", [](ExportTest& t) {
             t.rt.user_type(t.rt.unit("test_export", "编辑框1_d"), "5.6");
             t.calculate(); }, ""},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        fs::remove_all(folder / "导出的方案");
        rt_set_property(U("test_export", "编辑框1_d"), prop::EditBox::Content, "5.5");
        calculate();
        backend.messages.clear();
        k.then(*this);
        RunReportExport(roller_like());
        ASSERT_FALSE(backend.messages.empty());
        if (*k.refusal) {
            ASSERT_EQ(backend.messages.size(), 1u);
            EXPECT_EQ(backend.messages[0].text, k.refusal);
            EXPECT_EQ(backend.messages[0].caption, "提示");
            EXPECT_FALSE(fs::exists(folder / "导出的方案"));
            EXPECT_EQ(picture_of("图形按钮_导出", prop::PicBtn::Picture), resource(app::res::export_normal));
        } else {
            EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
            EXPECT_TRUE(fs::exists(report_path("压路机台班生产率.doc")));
        }
    }
}

// A second export asks before it replaces the first report; Cancel leaves
// the first file as it was, hand edits included.
TEST_F(ExportTest, ReplacingAReportAsksFirst)
{
    RunReportExport(roller_like());
    const fs::path report = report_path("压路机台班生产率.doc");
    { std::ofstream(report, std::ios::binary | std::ios::app) << "hand edit"; }
    const std::string before = testsupport::file_bytes(report);

    backend.messages.clear();
    backend.queue_answer(0);
    backend.queue_answer(1);
    RunReportExport(roller_like());
    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[1].text, "计算书已存在，是否替换？");
    EXPECT_EQ(backend.messages[1].caption, "提示");
    EXPECT_EQ(backend.messages[1].style, 1);
    EXPECT_EQ(testsupport::file_bytes(report), before);
    EXPECT_EQ(picture_of("图形按钮_导出", prop::PicBtn::Picture), resource(app::res::export_normal));

    backend.messages.clear();
    RunReportExport(roller_like());
    ASSERT_EQ(backend.messages.size(), 3u);
    EXPECT_EQ(backend.messages[2].text, "计算方案导出成功！");
    EXPECT_NE(testsupport::file_bytes(report), before);
    EXPECT_EQ(testsupport::names_in(folder / "导出的方案"), std::vector<std::string>{"压路机台班生产率.doc"});
}

TEST_F(ExportTest, TemplateChoiceTakesTheFirstRowThatHolds)
{
    auto request = [] {
        ExportRequest r;
        r.form = "test_export";
        r.success_message = "导出成功！";
        r.templates = {
            {Condition::all_of({Condition::item_text_is("组合框1_断面", "直墙拱形"), Condition::radio_checked("单选框_无仰拱")}),
             "templates/test_fixture.docx", "a.doc"},
            {Condition::item_text_is("组合框1_断面", "曲墙三心圆"), "templates/test_fixture.docx", "b.doc"},
            {Condition::radio_checked("单选框_有仰拱"), "templates/test_fixture.docx", "c.doc"},
            {Condition::otherwise(), "templates/test_fixture.docx", "d.doc"},
        };
        return r;
    };
    struct Row { int section; bool invert; const char* file; } rows[] = {
        {0, true, "a.doc"}, {1, true, "b.doc"}, {0, false, "c.doc"}, {-1, true, "d.doc"}};
    for (auto& row : rows) {
        rt_set_property(U("test_export", "组合框1_断面"), prop::ComboBox::CurrentIndex, row.section);
        rt_set_property(U("test_export", "单选框_有仰拱"), prop::RadioBox::Checked, !row.invert);
        rt_set_property(U("test_export", "单选框_无仰拱"), prop::RadioBox::Checked, row.invert);
        calculate();
        backend.files.clear();
        RunReportExport(request());
        EXPECT_EQ(backend.files, (std::vector<std::string>{report_path(row.file).string()})) << row.file;
    }
}

TEST_F(ExportTest, LogMarksAndCompletionText)
{
    ExportRequest r = roller_like();
    r.log_box = "编辑框9_日志";
    r.marks.push_back({Stage::Busy, StatusMark::clear_log()});
    r.marks.push_back({Stage::Saved, StatusMark::log("\r\n已保存")});
    r.progress_prefix = "已导出 ";
    r.progress_suffix = "%";
    r.completion_text = "导出完成！";
    r.closing_stage = Stage::Announced;
    RunReportExport(r);
    EXPECT_EQ(control_text(U("test_export", "编辑框9_日志")), "\r\n已保存");
    auto pos = std::find(backend.trail.begin(), backend.trail.end(), "已导出 100%");
    ASSERT_NE(pos, backend.trail.end());
    EXPECT_EQ(*(pos + 1), "导出完成！");
    EXPECT_EQ(backend.trail.back(), "[10]");
}

TEST_F(ExportTest, AnExportThatCannotWriteSaysSoInsteadOfSuccess)
{
    // The program folder is a file: the report folder cannot be made.
    fs::path blocker = folder / "not-a-folder";
    std::ofstream(blocker) << "x";
    backend.set_program_folder(blocker.string());
    RunReportExport(roller_like());
    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[1].caption, "错误");
    EXPECT_EQ(backend.messages[1].text.rfind("报告导出失败：" + (blocker / "导出的方案").string(), 0), 0u) << backend.messages[1].text;
    // the reason is the one the folder was refused for
    EXPECT_EQ(backend.messages[1].text,
              "报告导出失败：" + (blocker / "导出的方案").string() + "\r\n无法创建文件夹：路径中有一项不是文件夹（" + std::strerror(ENOTDIR) + "）");
    EXPECT_TRUE(backend.opened.empty());
    EXPECT_TRUE(backend.files.empty());
    EXPECT_FALSE(rt_get_property(U("test_export", "图形按钮_导出"), prop::Disabled).truth());
    EXPECT_FALSE(rt_get_property(U("test_export", "图形按钮_计算"), prop::Disabled).truth());
    EXPECT_EQ(control_text(U("test_export", "标签1_提示信息")), "方案导出需要Word2007以上版本！");
}

TEST_F(ExportTest, NoTemplateRowHoldingIsAFailureToo)
{
    ExportRequest r = roller_like();
    r.templates = {{Condition::item_text_is("组合框1_断面", "马蹄形"), "templates/test_fixture.docx", "x.doc"}};
    RunReportExport(r);
    ASSERT_EQ(backend.messages.size(), 2u);
    EXPECT_EQ(backend.messages[1].caption, "错误");
    EXPECT_NE(backend.messages[1].text.find("报告导出失败："), std::string::npos);
    EXPECT_TRUE(backend.files.empty());
    EXPECT_TRUE(fs::is_empty(folder / "导出的方案"));
}

// A save killed part-way (kill -9) and a temporary file left by an earlier
// program that died: after the next export only the report is there.
TEST_F(ExportTest, AKilledSaveLeavesNoTemporaryFileBehind)
{
    const fs::path reports = folder / "导出的方案", report = reports / "压路机台班生产率.doc";
    fs::create_directories(reports);
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const fs::path left = reports / (".压路机台班生产率.doc." + std::to_string(dead) + "-0.tmp");
    std::ofstream(left) << "half a report";
    // someone else's file of a similar name stays
    std::ofstream(reports / ".压路机台班生产率.doc.notes.tmp") << "mine";

    const pid_t writer = ::fork();
    if (writer == 0) {
        const Bytes big(std::string(size_t(256) << 20, 'x'));
        cmd_write_file(report.string(), big);
        ::_exit(0);
    }
    ::usleep(20000);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);

    RunReportExport(roller_like());
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(testsupport::names_in(reports),
              (std::vector<std::string>{".压路机台班生产率.doc.notes.tmp", "压路机台班生产率.doc"}));
}

// ---- real faults ---------------------------------------------------------------
// Each fault is made in a child process: a file-size limit, a full tmpfs,
// a read-only folder. The child exports once, changes an input, makes the
// fault and exports again; the parent checks what is left.

using testsupport::Fault;

struct ExportFault : ExportTest, ::testing::WithParamInterface<Fault> {
    std::string edit_text(const char* box) { return control_text(U("test_export", box)); }
};

TEST_P(ExportFault, FailedExportKeepsThePreviousReportAndSaysWhy)
{
    const Fault fault = GetParam();
    if (std::string why = testsupport::fault_unavailable(fault); !why.empty()) GTEST_SKIP() << why;
    const fs::path disk = folder / "disk", reports = disk / "导出的方案", report = reports / "压路机台班生产率.doc";
    fs::create_directories(disk);

    std::vector<std::string> out = testsupport::in_child([&]() -> std::vector<std::string> {
        if (std::string why = testsupport::prepare_fault(fault, disk); !why.empty()) return {"skip", why};
        backend.set_program_folder(disk.string());
        rt_set_property(U("test_export", "编辑框1_d0"), prop::EditBox::Content, "6.2");
        calculate();
        RunReportExport(roller_like());
        const std::string before = testsupport::file_bytes(report);
        rt_set_property(U("test_export", "编辑框1_d0"), prop::EditBox::Content, "9.75");
        calculate();
        testsupport::inject_fault(fault, disk, reports, before.size() / 2);
        backend.messages.clear();
        backend.trail.clear();
        RunReportExport(roller_like());
        const std::string after = testsupport::file_bytes(report);
        std::vector<std::string> names = testsupport::names_in(reports);
        testsupport::undo_fault(fault, reports);
        std::string listing, trail;
        for (const std::string& n : names) listing += n + "\n";
        for (const std::string& t : backend.trail) trail += t + "\n";
        const auto& last = backend.messages.back();
        return {"ran", before, after, last.caption, last.text, listing, trail, edit_text("标签1_提示信息")};
    });
    ASSERT_FALSE(out.empty());
    if (out[0] == "skip") GTEST_SKIP() << out[1];
    ASSERT_EQ(out.size(), 8u) << out[0];
    const std::string &before = out[1], &after = out[2], &caption = out[3], &text = out[4];

    ASSERT_FALSE(before.empty()) << "the first export wrote nothing";
    EXPECT_TRUE(after == before) << "the previous report changed (" << after.size() << " bytes, was " << before.size() << ")";
    // still a Word document, with the earlier value in it
    const std::string story = testsupport::story_text(after);
    EXPECT_NE(story.find("管片外径 6.2 m"), std::string::npos) << story;
    EXPECT_EQ(story.find("9.75"), std::string::npos) << story;

    EXPECT_EQ(caption, "错误");
    EXPECT_EQ(text, "报告导出失败：" + report.string() + "\r\n无法写入文件：" + testsupport::fault_reason(fault));
    EXPECT_EQ(out[5], "压路机台班生产率.doc\n") << "a temporary file was left behind";

    // The usual marks ran, without a progress: nothing was exported.
    std::vector<std::string> trail;
    for (size_t at = 0, nl; (nl = out[6].find('\n', at)) != std::string::npos; at = nl + 1) trail.push_back(out[6].substr(at, nl - at));
    testsupport::ExportTrail split = testsupport::split_progress(trail);
    EXPECT_EQ(split.marks, testsupport::countdown_marks());
    EXPECT_EQ(split.progress, 0);
    EXPECT_EQ(out[7], "方案导出需要Word2007以上版本！");
}

TEST_F(ExportTest, ReportFolderThatCannotBeMadeSaysWhy)
{
    // A read-only program folder: the reason is mkdir's, not a later look at the folder's.
    const Fault fault = Fault::ReadOnlyFolder;
    const fs::path disk = folder / "disk";
    fs::create_directories(disk);
    std::vector<std::string> out = testsupport::in_child([&]() -> std::vector<std::string> {
        if (std::string why = testsupport::prepare_fault(fault, disk); !why.empty()) return {"skip", why};
        backend.set_program_folder(disk.string());
        testsupport::inject_fault(fault, disk, disk, 0);
        RunReportExport(roller_like());
        std::vector<std::string> names = testsupport::names_in(disk);
        testsupport::undo_fault(fault, disk);
        return {"ran", backend.messages.back().caption, backend.messages.back().text, std::to_string(names.size())};
    });
    ASSERT_FALSE(out.empty());
    if (out[0] == "skip") GTEST_SKIP() << out[1];
    ASSERT_EQ(out.size(), 4u) << out[0];
    EXPECT_EQ(out[1], "错误");
    EXPECT_EQ(out[2], "报告导出失败：" + (disk / "导出的方案").string() + "\r\n无法创建文件夹：" +
                          testsupport::fault_reason(fault));
    EXPECT_EQ(out[3], "0");
}

INSTANTIATE_TEST_SUITE_P(Faults, ExportFault,
                         ::testing::Values(Fault::FileSizeLimit, Fault::FullDisk, Fault::ReadOnlyFolder),
                         [](const auto& info) { return std::string(testsupport::fault_name(info.param)); });

} // namespace

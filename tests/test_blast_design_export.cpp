// The smooth-blasting design report in the whole headless program: the
// template and file name each method and section form choose, every
// placeholder replaced, the status, countdown and log marks in their order,
// the refusal before a calculation, and what the four templates hold.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "app/shell.h"
#include "modules/blast_design/smooth_blasting.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::occurrences;

constexpr const char* kForm = "SmoothBlasting";
const char* const kIdleStatus = "方案导出需要Word2007以上版本！";
const char* const kRefusal = "您还未进行计算，请计算后导出！";
const char* const kStale = "输入已修改，请重新计算后导出！";
const char* const kNoResults = "计算未得出结果，请检查输入后重新计算！";

// What the export shows, in order: the status label's captions, the
// countdown pictures as [n], the lines added to the log box, the message
// boxes with their owner, and the folder opened.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::string> trail;
    std::string log_seen;
    std::function<void(int)> on_countdown;
    void property_changed(Control& c, int p) override
    {
        HeadlessBackend::property_changed(c, p);
        if (c.form->name != kForm) return;
        if (c.name == "标签1_进度条" && p == prop::Label::Caption) trail.push_back(c.text);
        if (c.name == "进度条倒数" && p == prop::PicBox::Picture)
            for (int n = 0; n <= 10; ++n)
                if (c.pictures[0] == resource(app::res::countdown_picture(n))) {
                    trail.push_back("[" + std::to_string(n) + "]");
                    if (on_countdown) on_countdown(n);
                }
        if (c.name == "编辑框_提示" && p == prop::EditBox::Content) {
            if (c.text.size() > log_seen.size() && c.text.compare(0, log_seen.size(), log_seen) == 0)
                trail.push_back("log+" + c.text.substr(log_seen.size()));
            log_seen = c.text;
        }
    }
    int message_box(const std::string& text, int style, const std::string& caption, Form* owner) override
    {
        trail.push_back("message " + std::string(owner ? owner->name : "-") + ": " + text);
        return HeadlessBackend::message_box(text, style, caption, owner);
    }
    void shell_run(int verb, const std::string& path) override
    {
        trail.push_back("explore");
        HeadlessBackend::shell_run(verb, path);
    }
};

// A report's main story as XML ("" when it is not a package).
std::string document_xml(const fs::path& path)
{
    return testsupport::package_part(testsupport::file_bytes(path), "word/document.xml").value_or("");
}

// The text of a report's main story, one line per paragraph.
std::string story_text(const fs::path& path)
{
    if (!fs::exists(path)) return "<not a package>";
    const std::string xml = document_xml(path);
    pugi::xml_document doc;
    if (!doc.load_string(xml.c_str())) return "<not a document>";
    struct Collect : pugi::xml_tree_walker {
        std::string out;
        bool for_each(pugi::xml_node& n) override
        {
            const std::string name = n.name();
            if (name == "w:t" || name == "m:t") out += n.child_value();
            if (name == "w:p") out += "\n";
            return true;
        }
    } walker;
    doc.traverse(walker);
    return walker.out;
}

const std::regex kPlaceholder("(编辑框|组合框|列表框|选择框|单选框|标签)[0-9_]");

// The text of a report template as the program carries it.
std::string template_text(const char* path)
{
    const fs::path file = fs::temp_directory_path() / ("jsb-sb-template-" + std::to_string(::getpid()) + ".docx");
    const Bytes& bytes = resource(path);
    if (bytes.empty()) return "";
    std::ofstream(file, std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
    std::string text = story_text(file);
    fs::remove(file);
    return text;
}

struct ExportProgram : ::testing::Test {
    RecordingBackend backend;
    Runtime rt{backend};
    fs::path folder;

    void SetUp() override
    {
        backend.attach(rt);
        folder = fs::temp_directory_path() / ("jsb-smooth-blasting-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        backend.set_program_folder(folder.string());
        ASSERT_TRUE(app::start_program(rt));
        backend.advance(101 * 15);
        ASSERT_NE(rt.form(kForm), nullptr);
    }
    void TearDown() override { fs::remove_all(folder); }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return control_text(U(kForm, name)); }
    void choose(const std::string& name, const std::string& wanted)
    {
        Control& box = c(name);
        for (int i = 0; i < int(box.items.size()); ++i)
            if (box.items[i] == wanted) return rt.user_choose(box, i);
        FAIL() << "no item " << wanted << " in " << name;
    }
    // The choices lie on the first page; a calculation leaves the second one shown.
    void section(const std::string& method, const std::string& split)
    {
        rt.user_page(c("选择夹1"), 0);
        choose("组合框_开挖方法", method);
        choose("组合框_方法2", split);
    }
    void compute() { rt.user_click(c("图形按钮_计算")); }
    void export_ok()
    {
        backend.queue_answer(0);
        rt.user_click(c("图形按钮_导出"));
    }
    fs::path reports() { return folder / "导出的方案"; }
    std::vector<std::string> report_files()
    {
        std::vector<std::string> v;
        if (!fs::exists(reports())) return v;
        for (auto& e : fs::directory_iterator(reports())) v.push_back(e.path().filename().string());
        std::sort(v.begin(), v.end());
        return v;
    }
    std::string last_message() { return backend.messages.empty() ? "" : backend.messages.back().text; }
};

// ---- one export per template choice ------------------------------------------------------

struct ReportCase {
    const char* method;
    const char* split;
    const char* file;
    const char* template_words; // found only in the template chosen
};

void PrintTo(const ReportCase& r, std::ostream* os) { *os << r.split; }

struct ReportChoice : ExportProgram, ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReportChoice, WritesTheTemplateOfTheSectionUnderItsNameWithEveryPlaceholderReplaced)
{
    const ReportCase& r = GetParam();
    section(r.method, r.split);
    compute();
    ASSERT_NE(text("标签1_炸药数量合计1"), "-");
    // The calculation has brought the second page to the front.
    choose("组合框2", "延期电雷管");
    const std::string calculation_log = text("编辑框_提示");
    backend.trail.clear();
    backend.log_seen = calculation_log;
    export_ok();

    EXPECT_EQ(last_message(), "导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    EXPECT_EQ(report_files(), std::vector<std::string>{r.file});
    const std::string doc = story_text(reports() / r.file);
    EXPECT_NE(doc.find(r.template_words), std::string::npos) << "the template of " << r.split;
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, kPlaceholder)) << "unreplaced: " << left.str() << "…";
    // The method box's edit text, the section, an item text, a result.
    for (const std::string& shown : {text("组合框_开挖方法") + "开挖", "：" + std::string(r.split) + "\n",
                                     std::string("起爆器材选用延期电雷管"), "\n" + text("标签1_炸药数量合计1") + "\n"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;
    // The bench name heads its rows in the summary table without the line
    // breaks that centre it in its box on the screen.
    const std::string bench = text("标签1_上台阶");
    ASSERT_EQ(bench.rfind("\r\n", 0), 0u) << "the screen pads the name";
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(document_xml(reports() / r.file).c_str()));
    const std::string cell = "//w:tc[.//w:t='" + bench.substr(bench.find_first_not_of("\r\n")) + "']";
    EXPECT_TRUE(xml.select_node((cell + "/w:tcPr/w:vMerge[@w:val='restart']").c_str())) << "merged over the bench's rows";
    EXPECT_FALSE(xml.select_node((cell + "//w:br").c_str())) << "no line breaks";

    // The marks in their order: log lines, the preparation status,
    // countdown 10 to 0 with their pictures, 100 progress steps, the success
    // box over the 100 % text, the folder, and only then the idle status.
    std::vector<std::string> marks;
    int progress = 0;
    std::string before_message;
    for (const std::string& t : backend.trail) {
        if (t.rfind("已导出 ", 0) == 0) {
            ++progress;
            before_message = t;
            continue;
        }
        marks.push_back(t);
    }
    std::vector<std::string> want = {
        "message main: 确定开始导出，中途请勿进行其他操作！",
        "log+\r\n    数据写出准备中，请稍候……",
        "导出准备中，请稍候……",
        "log+\r\n    加载导出模块，请稍候……",
        "log+\r\n    开始数据处理，请稍候……",
    };
    for (int n = 10; n >= 1; --n) {
        want.push_back("参数处理，倒计时" + std::to_string(n));
        want.push_back("[" + std::to_string(n) + "]");
    }
    want.push_back("log+\r\n    数据处理完毕，开始导出文本导出");
    want.push_back("参数处理，倒计时0");
    want.push_back("[0]");
    want.push_back("message main: 导出成功！");
    want.push_back("explore");
    want.push_back(kIdleStatus);
    want.push_back("[10]");
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    EXPECT_EQ(before_message, "已导出 100%  ");
    // Four lines added to what the calculation wrote.
    EXPECT_EQ(text("编辑框_提示"), calculation_log +
                                      "\r\n    数据写出准备中，请稍候……\r\n    加载导出模块，请稍候……"
                                      "\r\n    开始数据处理，请稍候……\r\n    数据处理完毕，开始导出文本导出");
    EXPECT_EQ(text("标签1_进度条"), kIdleStatus);
    EXPECT_EQ(rt.get(c("进度条1"), prop::ProcessBar::Position).integer(), 0);
    EXPECT_FALSE(rt.get(c("图形按钮_导出"), prop::Disabled).truth());
    EXPECT_FALSE(rt.get(c("图形按钮_计算"), prop::Disabled).truth());
}

INSTANTIATE_TEST_SUITE_P(
    SmoothBlasting, ReportChoice,
    ::testing::Values(
        ReportCase{"台阶法", "上中下3台阶", "光面爆破（台阶法上中下3台阶）.doc", "中台阶炮眼间距及抵抗线"},
        ReportCase{"台阶法", "上下2台阶", "光面爆破（台阶法上下2台阶）.doc", "上下台阶错开适当距离"},
        ReportCase{"全断面法", "直墙拱形隧道", "光面爆破（全断面直墙拱形隧道）.doc", "全断面一次钻孔"},
        ReportCase{"全断面法", "曲墙三心圆隧道", "光面爆破（全断面曲墙三心圆隧道）.doc", "全断面一次钻孔"},
        ReportCase{"全断面法", "马蹄形隧道", "光面爆破（全断面马蹄形隧道）.doc", "全断面一次钻孔"},
        ReportCase{"全断面法", "圆形隧道立（竖）井", "光面爆破（全断面圆形隧道立（竖）井）.doc", "由掏槽圈向外逐圈起爆"}),
    [](const ::testing::TestParamInfo<ReportCase>& i) { return "Row" + std::to_string(i.index + 1); });

// ---- what the reports say ------------------------------------------------------------------

// The report states its own stemming check as the calculation found it,
// leaves out rows for holes and benches the section does not have, and its
// printed arithmetic gives the printed result, with the rounding step where
// it happens.
struct ContentCase {
    const char* name;
    const char* method;
    const char* split;
    std::vector<std::string> typed; // box, text ...
    size_t warnings;                // message boxes of the stemming check: at most one a calculation
    std::vector<std::string> present, absent; // in the report's text, blanks left out
};

void PrintTo(const ContentCase& c, std::ostream* os) { *os << c.name; }

struct ReportContent : ExportProgram, ::testing::WithParamInterface<ContentCase> {};

TEST_P(ReportContent, SaysWhatWasCalculated)
{
    const ContentCase& k = GetParam();
    section(k.method, k.split);
    for (size_t i = 0; i + 1 < k.typed.size(); i += 2) {
        // The cartridge boxes lie on the second page, the panels on the first.
        rt.user_page(c("选择夹1"), k.typed[i].find("单个药卷") == std::string::npos ? 0 : 1);
        rt.user_type(c(k.typed[i]), k.typed[i + 1]);
    }
    backend.messages.clear();
    compute();
    size_t warnings = 0;
    for (const auto& m : backend.messages) warnings += m.text.find("超过炮眼深度") != std::string::npos;
    EXPECT_EQ(warnings, k.warnings);
    export_ok();
    ASSERT_EQ(last_message(), "导出成功！");
    ASSERT_EQ(report_files().size(), 1u);
    std::string doc = story_text(reports() / report_files()[0]);
    doc.erase(std::remove(doc.begin(), doc.end(), ' '), doc.end());
    for (const std::string& p : k.present) EXPECT_NE(doc.find(p), std::string::npos) << p << "\nin:\n" << doc;
    for (const std::string& a : k.absent) EXPECT_EQ(doc.find(a), std::string::npos) << a;
    EXPECT_EQ(doc.find("：。"), std::string::npos);
    EXPECT_EQ(doc.find("=-"), std::string::npos);
    EXPECT_EQ(doc.find("≈-"), std::string::npos);
}

const char* const kPassed = "计算时已逐项校核，各组炮眼的装药长度加堵塞长度均不大于炮眼深度，满足要求。";
const char* const kFailed = "经逐项校核，下列炮眼的装药长度加堵塞长度超过炮眼深度，不满足要求：";

INSTANTIATE_TEST_SUITE_P(
    SmoothBlasting, ReportContent,
    ::testing::Values(
        // The circular section's own starting values overfill its auxiliary
        // holes; it has no bottom holes to list or fire; its total charge
        // is weighed to the tenth of a kilogram like its rows.
        ContentCase{"CircularStartingValues",
                    "全断面法",
                    "圆形隧道立（竖）井",
                    {},
                    1,
                    {kFailed, "辅助眼：装药长度3.7×0.3＝1.11m，加堵塞长度0.75m，共1.86m，大于炮眼深度1.8m。",
                     "Q=q·A·L=0.985×26.4×1.8≈46.8kg", "Qa=Q-Qp-Qc=46.8-7.4-11.3=28.1kg", "\n圆形断面不设底板眼。\n"},
                    {"已逐项校核", "46.8072", "\n底板眼\n", "11;13", "\n04\n"}},
        // A cartridge length of seven decimals: each failed row's product
        // and sum are printed as the check worked them, not rounded again
        // (to six places "3.7×0.333333＝1.233333", which 3.7×0.333333 is not).
        ContentCase{"CircularCartridgeLengthOfSevenDecimals",
                    "全断面法",
                    "圆形隧道立（竖）井",
                    {"编辑框1_单个药卷长度", "0.3333333"},
                    1,
                    {kFailed, "掏槽眼：装药长度5.3×0.3333333＝1.76666649m，加堵塞长度0.4m，共2.16666649m，大于炮眼深度2m；",
                     "辅助眼：装药长度3.7×0.3333333＝1.23333321m，加堵塞长度0.75m，共1.98333321m，大于炮眼深度1.8m。"},
                    {"0.333333×", "1.233333m"}},
        ContentCase{"ThreeBenchesFiveRowsTooLong",
                    "台阶法",
                    "上中下3台阶",
                    {"编辑框1_单个药卷长度", "0.7"},
                    1,
                    {kFailed, "上台阶掏槽眼：装药长度4×0.7＝2.8m，加堵塞长度0.4m，共3.2m，大于炮眼深度2.6m；",
                     "上台阶辅助眼：", "上台阶底板眼：", "中台阶辅助眼：",
                     "中台阶底板眼：装药长度4×0.7＝2.8m，加堵塞长度0.6m，共3.4m，大于炮眼深度3m。"},
                    {"已逐项校核", "周边眼：装药长度", "下台阶辅助眼："}},
        // The one side is rounded before it is doubled: 2.74 / 0.5 = 5.48.
        ContentCase{"ThreeBenchesStartingValues",
                    "台阶法",
                    "上中下3台阶",
                    {},
                    0,
                    {kPassed, "mp2=P2Ep2=2.740.5≈5个", "np2=2·mp2=2×5=10个", "Da=Dp=Db=L1=2.4m", "D3=L3=3m"},
                    {"≈10个", "2.4≈2.4", "超过炮眼深度"}},
        // 1.2 / 0.4 comes out a hair below 3 in floating point: the one
        // side is 3 holes exactly, as every other step judges it.
        ContentCase{"ThreeBenchesOneSideWhole",
                    "台阶法",
                    "上中下3台阶",
                    {"编辑框2_开挖面外弧长", "1.2", "编辑框2_周边眼间距E", "0.4"},
                    0,
                    {"mp2=P2Ep2=1.20.4=3个", "np2=2·mp2=2×3=6个"},
                    {"1.20.4≈3"}},
        // Short rounds without the arch: the 42 upper and 6 lower perimeter
        // holes' 0.13 kg is 0.4 of a cartridge, in the summary table and in
        // the stemming check alike; the second bench is the lower one.
        ContentCase{"TwoBenchesPartCartridges",
                    "台阶法",
                    "上下2台阶",
                    {"编辑框1_开挖循环进尺", "1.0", "编辑框2_开挖循环进尺", "1.0", "编辑框1_单个药卷长度", "1"},
                    1,
                    {kFailed, "\n周边眼\n1\n42\n0.4\n0.13\n5.46\n", "\n周边眼\n1\n6\n0.4\n0.13\n0.75\n",
                     "上台阶周边眼：装药长度0.4×1＝0.4m，加堵塞长度0.625m，共1.025m，大于炮眼深度1m；",
                     "下台阶周边眼：装药长度0.4×1＝0.4m，加堵塞长度0.625m，共1.025m，大于炮眼深度1m；"},
                    {"中台阶", "\n0\n0.13\n"}},
        // No third bench: no table for it and no detonator rows.
        ContentCase{"TwoBenchesWithoutInvertedArch",
                    "台阶法",
                    "上下2台阶",
                    {},
                    0,
                    {kPassed, "mp2=P2Ep2=1.370.5≈3个", "np2=2·mp2=2×3=6个"},
                    {"第三台阶", "\n08\n", "\n09\n", "≈6个"}},
        // A depth rounded from the advance shows the rounding; one that is
        // the advance itself does not.
        ContentCase{"StraightWallAdvanceRounded",
                    "全断面法",
                    "直墙拱形隧道",
                    {"编辑框1_开挖循环进尺", "2.45"},
                    0,
                    {"Dc=L+0.2=2.45+0.2≈2.7m", "Da=Dp=Db=L=2.45≈2.5m", "gp=k·Dp=0.125×2.5≈0.3kg"},
                    {}},
        ContentCase{"StraightWallStartingValues",
                    "全断面法",
                    "直墙拱形隧道",
                    {},
                    0,
                    {kPassed, "Dc=L+0.2=2+0.2=2.2m", "Da=Dp=Db=L=2m", "N=nc+na+np+nb=6+7+16+7=36个",
                     "Qb=Q-Qp-Qc-Qa=25.1-4.8-8.2-6.1=6kg"},
                    {"2≈2m"}}),
    [](const ::testing::TestParamInfo<ContentCase>& i) { return std::string(i.param.name); });

// Each row's value is read when the row is reached: a control changed at a
// countdown mark goes into the report with its new text when its row comes
// after the mark, with its old text when it came before.
TEST_F(ExportProgram, EachCountdownMarkFallsBetweenItsTwoPlaceholders)
{
    struct Mark {
        int n;
        const char* read_after; // nullptr: none
        const char* read_before;
    };
    const Mark marks[] = {
        {10, "组合框_开挖方法", nullptr}, // the first row
        {9, "编辑框1_辅助眼间距", "编辑框1_周边眼装药集中度"},
        {8, "编辑框2_炸药工作面系数", "编辑框2_底板眼间距E"},
        {7, "编辑框2_底板眼抵抗线V1", "编辑框3_炸药工作面系数"},
        {6, "标签1_上台阶", "编辑框2_底板眼抵抗线V1"},
        {5, "标签1_底板眼每孔药卷数", "标签1_周边眼每孔药卷数"},
        {4, "标签2_辅助眼炮眼数目", "标签2_底板眼炮眼深度"},
        {3, "标签3_辅助眼炮眼数目", "标签3_底板眼炮眼深度"},
        {2, "标签1_掏槽眼起爆顺序1", "编辑框1_采用掏槽形式"},
        {1, "标签1_掏槽眼雷管段位", "标签3_底板眼起爆顺序1"},
        {0, nullptr, "标签1_雷管数9"}, // the last row
    };
    section("台阶法", "上中下3台阶");
    compute();
    backend.on_countdown = [&](int n) {
        for (const Mark& m : marks) {
            if (m.n != n) continue;
            auto mark = [&](const char* control, const char* tag) {
                Control& u = c(control);
                rt.set(u, u.kind == Kind::ComboBox ? prop::ComboBox::Content : 8, tag + std::to_string(n));
            };
            if (m.read_after) mark(m.read_after, "甲");
            if (m.read_before) mark(m.read_before, "乙");
        }
    };
    export_ok();
    backend.on_countdown = nullptr;
    const std::string doc = story_text(reports() / "光面爆破（台阶法上中下3台阶）.doc");
    for (const Mark& m : marks) {
        if (m.read_after) {
            EXPECT_NE(doc.find("甲" + std::to_string(m.n)), std::string::npos) << m.read_after;
        }
        if (m.read_before) {
            EXPECT_EQ(doc.find("乙" + std::to_string(m.n)), std::string::npos) << m.read_before;
        }
    }
}

// ---- what is exported, and the compute guard --------------------------------------------------------

// Only results that belong to the inputs shown are exported: before any
// calculation, after a section choice has cleared the tables (even when the
// same section is chosen again with the inputs it had), after an input the
// calculation read has changed, and after a refused calculation the export
// writes nothing and says why.
TEST_F(ExportProgram, ExportsOnlyResultsThatBelongToTheInputsShown)
{
    auto refused = [&](const char* when, const std::string& why) {
        backend.messages.clear();
        backend.trail.clear();
        export_ok();
        EXPECT_EQ(backend.trail, std::vector<std::string>{"message -: " + why}) << when;
        ASSERT_EQ(backend.messages.size(), 1u) << when;
        EXPECT_EQ(backend.messages.back().caption, "提示") << when;
        EXPECT_EQ(c("图形按钮_导出").pictures[0], resource(app::res::export_normal)) << when;
        EXPECT_TRUE(report_files().empty()) << when;
    };
    auto exported = [&](const char* when) {
        backend.messages.clear();
        export_ok();
        EXPECT_EQ(last_message(), "导出成功！") << when;
        EXPECT_EQ(report_files().size(), 1u) << when;
        fs::remove_all(reports());
    };
    refused("a fresh form", kRefusal);
    section("全断面法", "马蹄形隧道");
    refused("a section chosen, nothing computed", kRefusal);
    compute();
    exported("after a calculation");

    // Another section clears the tables; the first one again writes its
    // defaults, the inputs the calculation read, but the tables stay empty.
    section("全断面法", "直墙拱形隧道");
    refused("after clearing", kStale);
    section("全断面法", "马蹄形隧道");
    EXPECT_EQ(text("标签1_炸药数量合计1"), "-");
    refused("the same section again", kStale);

    compute();
    rt.user_type(c("编辑框1_单个药卷重量"), "250");
    refused("an input changed", kStale);
    rt.user_type(c("编辑框1_单个药卷重量"), "300");
    exported("the input typed back");

    // A calculation that cannot give a design is refused.
    rt.user_page(c("选择夹1"), 0);
    rt.user_type(c("编辑框1_单位体积岩体的耗药量"), "0");
    compute();
    EXPECT_EQ(text("标签1_炸药数量合计1"), "-");
    refused("an input outside its domain", kNoResults);
    rt.user_page(c("选择夹1"), 0);
    rt.user_type(c("编辑框1_单位体积岩体的耗药量"), "0.7");
    refused("typed back without a new calculation", kNoResults);
    compute();
    exported("computed again");

    // With no section the compute button refuses, and nothing is exported.
    rt.set(c("组合框_方法2"), prop::ComboBox::CurrentIndex, -1);
    compute();
    EXPECT_EQ(last_message(), "请选择隧道开挖形式！");
    refused("no section", kNoResults);
}

// The detonator layout is the user's to set by hand once the design is
// worked out: the editor's picks go into the report without a new
// calculation.
TEST_F(ExportProgram, AHandMadeLayoutAfterTheCalculationIsReported)
{
    section("全断面法", "直墙拱形隧道");
    compute();
    rt.user_click(c("选择框1")); // 自动配置 off
    rt.user_choose(c("列表框3"), 2); // 周边眼
    for (int i : {5, 6}) rt.user_tick(c("选择列表框1"), i); // "11", "13"
    rt.user_choose(c("选择列表框3"), 3); // "04"
    ASSERT_EQ(text("标签1_周边眼雷管段位"), "11;13;");
    export_ok();
    EXPECT_EQ(last_message(), "导出成功！");
    const std::string doc = story_text(reports() / "光面爆破（全断面直墙拱形隧道）.doc");
    EXPECT_NE(doc.find("周边眼\n04\n11;13;\n"), std::string::npos) << doc;
}

TEST_F(ExportProgram, AnExportClickWhileTheCalculationWaitsIsIgnored)
{
    section("全断面法", "直墙拱形隧道");
    compute();
    backend.messages.clear();
    bool seen_computing = false;
    // Runs inside the calculation's message-pumping wait.
    cmd_post([&] {
        seen_computing = blast_design::computing();
        export_ok();
    });
    compute();
    EXPECT_TRUE(seen_computing);
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_FALSE(fs::exists(reports()));
    // Once the calculation is done the same click exports.
    export_ok();
    EXPECT_EQ(last_message(), "导出成功！");
}

// ---- the number boxes a report prints --------------------------------------------------------

// Every number box a section's report prints is an input of that section's
// calculation, whether or not a step works with it: it has a domain, a text
// outside it ("-5", "2..5") leaves nothing to report, and a change to it
// after the calculation makes the report wait for a new one.
struct PrintedCase {
    const char* name;
    const char* method;
    const char* split;
    const char* template_path;
};

void PrintTo(const PrintedCase& p, std::ostream* os) { *os << p.name; }

struct PrintedBoxes : ExportProgram, ::testing::WithParamInterface<PrintedCase> {
    // Types into a box on whichever page it lies.
    void type(const std::string& box, const std::string& value)
    {
        rt.user_page(c("选择夹1"), 0);
        if (!rt.effectively_visible(c(box))) rt.user_page(c("选择夹1"), 1);
        ASSERT_TRUE(rt.effectively_visible(c(box))) << box;
        rt.user_type(c(box), value);
        rt.set_focus(nullptr); // leaving the box, as a user does, writes the number in its own form ("3.0" 3)
    }
};

TEST_P(PrintedBoxes, AreInputsHeldToTheirDomainsAndAChangeMakesTheReportWait)
{
    const PrintedCase& p = GetParam();
    const std::string doc = template_text(p.template_path);
    section(p.method, p.split);
    std::vector<std::string> printed;
    for (const auto& u : rt.form(kForm)->controls)
        if (u->kind == Kind::EditBox && u->name.find('_') != std::string::npos && u->input_mode >= 9 &&
            occurrences(doc, u->name) > 0)
            printed.push_back(u->name);
    ASSERT_GT(printed.size(), 10u);
    for (const std::string& box : printed) type(box, text(box));
    compute();
    ASSERT_EQ(results_state(kForm), Runtime::Results::Current);
    for (const std::string& box : printed) {
        SCOPED_TRACE(box);
        EXPECT_NE(c(box).domain, Domain::Unchecked);
        const std::string kept = text(box);
        // Another number of the same kind: "0.5" 0.51, "12" 121.
        type(box, kept + "1");
        EXPECT_EQ(results_state(kForm), Runtime::Results::Stale);
        backend.messages.clear();
        export_ok();
        EXPECT_EQ(last_message(), kStale);
        type(box, kept);
        EXPECT_EQ(results_state(kForm), Runtime::Results::Current);
        for (const char* outside : {"-5", "2..5"}) {
            type(box, outside);
            compute();
            EXPECT_EQ(results_state(kForm), Runtime::Results::Refused) << outside;
        }
        type(box, kept);
        compute();
        ASSERT_EQ(results_state(kForm), Runtime::Results::Current);
    }
    EXPECT_TRUE(report_files().empty());
}

INSTANTIATE_TEST_SUITE_P(
    SmoothBlasting, PrintedBoxes,
    ::testing::Values(PrintedCase{"ThreeBenches", "台阶法", "上中下3台阶", "templates/smooth_blasting_three_benches.docx"},
                      PrintedCase{"TwoBenches", "台阶法", "上下2台阶", "templates/smooth_blasting_two_benches.docx"},
                      PrintedCase{"FullFace", "全断面法", "马蹄形隧道", "templates/smooth_blasting_full_face.docx"},
                      PrintedCase{"Circular", "全断面法", "圆形隧道立（竖）井", "templates/smooth_blasting_circular.docx"}),
    [](const ::testing::TestParamInfo<PrintedCase>& i) { return std::string(i.param.name); });

// ---- files --------------------------------------------------------------------------------

TEST_F(ExportProgram, TheSameSectionOverwritesItsReportOthersKeepTheirs)
{
    section("全断面法", "马蹄形隧道");
    compute();
    export_ok();
    section("全断面法", "直墙拱形隧道");
    compute();
    export_ok();
    rt.user_type(c("编辑框1_单个药卷重量"), "250");
    compute();
    export_ok();
    EXPECT_EQ(report_files(), (std::vector<std::string>{"光面爆破（全断面直墙拱形隧道）.doc", "光面爆破（全断面马蹄形隧道）.doc"}));
    EXPECT_NE(story_text(reports() / "光面爆破（全断面直墙拱形隧道）.doc").find("单个药卷重量 w\n250\n"), std::string::npos);
    EXPECT_NE(story_text(reports() / "光面爆破（全断面马蹄形隧道）.doc").find("单个药卷重量 w\n300\n"), std::string::npos);
}

TEST_F(ExportProgram, OnlyTheThreeBenchReportCarriesTheCutNameAndTheThirdBenchInputs)
{
    rt.user_choose(c("列表框1"), 2);
    rt.user_choose(c("列表框2"), 1);
    section("台阶法", "上中下3台阶");
    rt.user_type(c("编辑框3_底板长"), "18.75");
    compute();
    export_ok();
    const std::string three = story_text(reports() / "光面爆破（台阶法上中下3台阶）.doc");
    EXPECT_NE(three.find("上台阶采用大直径中空直孔掏槽(对称掏槽)"), std::string::npos);
    EXPECT_NE(three.find("底板眼区长度\nB3\n18.75\n"), std::string::npos);
    // A cut type whose form is not chosen yet: the type alone, no empty brackets.
    rt.user_page(c("选择夹1"), 0);
    rt.user_choose(c("列表框1"), 1);
    ASSERT_EQ(text("编辑框1_采用掏槽形式"), "小直径中空直孔掏槽");
    export_ok();
    EXPECT_NE(story_text(reports() / "光面爆破（台阶法上中下3台阶）.doc").find("上台阶采用小直径中空直孔掏槽。\n"),
              std::string::npos);

    section("全断面法", "曲墙三心圆隧道");
    compute();
    export_ok();
    const std::string full = story_text(reports() / "光面爆破（全断面曲墙三心圆隧道）.doc");
    EXPECT_EQ(full.find("对称掏槽"), std::string::npos);
    EXPECT_EQ(full.find("18.75"), std::string::npos);
}

// ---- what the templates hold ---------------------------------------------------------------

// The placeholder groups of the report and the templates that hold them
// (3 three benches, 2 two benches, F full face, C circular), with the
// repeat counts that are not 5.
struct Group {
    const char* templates;
    std::vector<std::string> placeholders; // "name" or "name:10"
};

const std::vector<Group> kGroups = {
    {"32FC", {"组合框_开挖方法", "组合框_方法2"}},
    {"32F",
     {"编辑框1_上台阶面积", "编辑框1_开挖循环进尺", "编辑框1_周边眼外弧长:10", "编辑框1_坑道开挖宽度", "编辑框1_掏槽眼数量",
      "编辑框1_掏槽区作用高度", "编辑框1_掏槽区作用长度", "编辑框1_岩石夹制力系数", "编辑框1_单位体积岩体的耗药量:10",
      "编辑框1_周边眼间距E:10", "编辑框1_周边眼最小抵抗线V", "编辑框1_周边眼装药集中度", "编辑框1_辅助眼间距",
      "编辑框1_辅助眼最小抵抗线V", "编辑框1_底板眼间距", "编辑框1_底板眼最小抵抗线"}},
    {"32FC", {"编辑框1_炮眼钻孔直径", "编辑框1_装药不耦合系数", "编辑框1_计算炸药直径", "编辑框1_单个药卷重量", "编辑框1_单个药卷长度"}},
    {"32",
     {"编辑框2_断面面积", "编辑框2_开挖循环进尺", "编辑框2_开挖面外弧长", "编辑框2_底板长", "编辑框2_岩石夹制力系数",
      "编辑框2_周边眼间距E", "编辑框2_周边眼抵抗线V", "编辑框2_辅助眼间距E", "编辑框2_辅助眼抵抗线V2", "编辑框2_底板眼间距E",
      "编辑框2_炸药工作面系数", "编辑框2_底板眼抵抗线V1"}},
    {"3",
     {"编辑框3_断面面积:10", "编辑框3_开挖循环进尺:10", "编辑框3_底板长", "编辑框3_岩石夹制力系数:10", "编辑框3_辅助眼间距E",
      "编辑框3_辅助眼抵抗线V", "编辑框3_底板眼间距E", "编辑框3_底板眼抵抗线V:10", "编辑框3_炸药工作面系数:10"}},
    {"C",
     {"编辑框4_隧道开挖面积", "编辑框4_开挖循环进尺:10", "编辑框4_周边眼外周长", "编辑框4_开挖直径", "编辑框4_掏槽眼数量",
      "编辑框4_掏槽圈直径", "编辑框4_岩石夹制力系数", "编辑框4_单位体积岩体的耗药量", "编辑框4_周边眼间距E",
      "编辑框4_周边眼最小抵抗线V", "编辑框4_周边眼装药集中度", "编辑框4_辅助眼间距", "编辑框4_辅助眼最小抵抗线V"}},
    {"32FC",
     {"标签1_上台阶", "标签1_掏槽眼炮眼深度:10", "标签1_辅助眼炮眼深度:10", "标签1_周边眼炮眼深度:10",
      "标签1_掏槽眼炮眼数目:10", "标签1_辅助眼炮眼数目:10", "标签1_周边眼炮眼数目:10", "标签1_掏槽眼每孔药卷数:10",
      "标签1_辅助眼每孔药卷数:10", "标签1_周边眼每孔药卷数:10", "标签1_掏槽眼单孔装药量:10", "标签1_辅助眼单孔装药量:10",
      "标签1_周边眼单孔装药量:10", "标签1_掏槽眼小计药量", "标签1_辅助眼小计药量", "标签1_周边眼小计药量:10",
      "标签1_炮眼数量合计1", "标签1_炸药数量合计1:10", "组合框1", "组合框2", "标签1_掏槽眼起爆顺序1", "标签1_辅助眼起爆顺序1",
      "标签1_周边眼起爆顺序1", "标签1_掏槽眼雷管段位", "标签1_辅助眼雷管段位", "标签1_周边眼雷管段位", "标签1_雷管数1",
      "标签1_雷管数2", "标签1_雷管数3"}},
    // A circular section has no bottom holes.
    {"32F",
     {"标签1_底板眼炮眼深度:10", "标签1_底板眼炮眼数目:10", "标签1_底板眼每孔药卷数:10", "标签1_底板眼单孔装药量:10",
      "标签1_底板眼小计药量", "标签1_底板眼起爆顺序1", "标签1_底板眼雷管段位", "标签1_雷管数4"}},
    {"32",
     {"标签2_中台阶", "标签2_辅助眼炮眼深度", "标签2_周边眼炮眼深度", "标签2_底板眼炮眼深度", "标签2_辅助眼炮眼数目:10",
      "标签2_周边眼炮眼数目", "标签2_底板眼炮眼数目:10", "标签2_辅助眼每孔药卷数", "标签2_周边眼每孔药卷数", "标签2_底板眼每孔药卷数",
      "标签2_辅助眼单孔装药量", "标签2_周边眼单孔装药量", "标签2_底板眼单孔装药量", "标签2_辅助眼小计药量", "标签2_周边眼小计药量",
      "标签2_底板眼小计药量", "标签2_炮眼数量合计", "标签2_炸药数量合计:10", "标签2_辅助眼起爆顺序1", "标签2_周边眼起爆顺序1",
      "标签2_底板眼起爆顺序1", "标签2_辅助眼雷管段位", "标签2_周边眼雷管段位", "标签2_底板眼雷管段位", "标签1_雷管数5",
      "标签1_雷管数6", "标签1_雷管数7"}},
    // Two benches have no third.
    {"3",
     {"标签3_下台阶", "标签3_辅助眼炮眼深度", "标签3_底板眼炮眼深度", "标签3_辅助眼炮眼数目:10", "标签3_底板眼炮眼数目:10",
      "标签3_辅助眼每孔药卷数", "标签3_底板眼每孔药卷数", "标签3_辅助眼单孔装药量", "标签3_底板眼单孔装药量",
      "标签3_辅助眼小计药量", "标签3_底板眼小计药量", "标签3_炮眼数量合计", "标签3_炸药数量合计:10", "标签3_辅助眼起爆顺序1",
      "标签3_底板眼起爆顺序1", "标签3_辅助眼雷管段位", "标签3_底板眼雷管段位", "标签1_雷管数8", "标签1_雷管数9"}},
};

struct TemplateCase {
    char letter;
    const char* path;
    const char* name;
};

void PrintTo(const TemplateCase& t, std::ostream* os) { *os << t.path; }

struct Templates : ::testing::TestWithParam<TemplateCase> {};

TEST_P(Templates, HoldTheirGroupsPlaceholdersEachAtMostItsRepeatCountAndNoOther)
{
    const TemplateCase& t = GetParam();
    ASSERT_FALSE(resource(t.path).empty()) << t.path;
    std::string doc = template_text(t.path);
    size_t held = 0;
    for (const Group& g : kGroups)
        for (const std::string& entry : g.placeholders) {
            const std::string name = entry.substr(0, entry.find(':'));
            const size_t repeat = entry.find(':') == std::string::npos ? 5 : 10;
            const size_t n = occurrences(doc, name);
            const bool in_template = std::string(g.templates).find(t.letter) != std::string::npos;
            if (in_template) {
                EXPECT_GE(n, 1u) << name;
                EXPECT_LE(n, repeat) << name;
                ++held;
            } else {
                EXPECT_EQ(n, 0u) << name;
            }
            // Take them out, so what is left shows any name the report does not fill.
            for (size_t at = doc.find(name); at != std::string::npos; at = doc.find(name)) doc.replace(at, name.size(), "#");
        }
    std::smatch stray;
    EXPECT_FALSE(std::regex_search(doc, stray, kPlaceholder)) << "not a placeholder of the report: " << stray.str();
    EXPECT_GT(held, 40u); // not an empty template
}

INSTANTIATE_TEST_SUITE_P(SmoothBlasting, Templates,
                         ::testing::Values(TemplateCase{'3', "templates/smooth_blasting_three_benches.docx", "ThreeBenches"},
                                           TemplateCase{'2', "templates/smooth_blasting_two_benches.docx", "TwoBenches"},
                                           TemplateCase{'F', "templates/smooth_blasting_full_face.docx", "FullFace"},
                                           TemplateCase{'C', "templates/smooth_blasting_circular.docx", "Circular"}),
                         [](const ::testing::TestParamInfo<TemplateCase>& i) { return std::string(i.param.name); });

} // namespace

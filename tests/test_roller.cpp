// The roller module in the whole headless program: its form as it starts,
// the shift output as a table of worked figures, the compute frame, the
// lookup, and the calculation report.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "tests/support/faults.h"
#include "app/shell.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/media.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>
#include <sys/resource.h>

using namespace ui;
namespace fs = std::filesystem;

namespace {

using testsupport::report_text;

constexpr const char* kForm = "Roller";
constexpr const char* kResult = "编辑框2_压路机台班生产率";

struct RollerProgram : testsupport::ModuleProgram {
    RollerProgram() : ModuleProgram(kForm) { backend.record_compute_button = true; }
};

const char* const kInputs[] = {"编辑框1_同一地点碾压次", "编辑框1_每次被碾压的宽度", "编辑框1_重复压实部分的宽度",
                               "编辑框1_压路机行驶速度", "编辑框1_时间利用系数Kb"};

TEST_F(RollerProgram, StartsInItsFrameWithTheDefaultsAndTips)
{
    EXPECT_EQ(rt.form(kForm)->frame, &rt.unit("main", "外形框1_压路机计算"));
    EXPECT_EQ(prop_of("", prop::Left), 5);
    EXPECT_EQ(prop_of("", prop::Top), 5);
    EXPECT_EQ(prop_of("", prop::Width), 900);
    EXPECT_EQ(prop_of("", prop::Height), 600);
    EXPECT_EQ(prop_of("图形按钮_导出", prop::Disabled), 0);

    const std::pair<const char*, const char*> defaults[] = {
        {"编辑框1_同一地点碾压次", "4"},   {"编辑框1_每次被碾压的宽度", "1.68"}, {"编辑框1_重复压实部分的宽度", "0.25"},
        {"编辑框1_压路机行驶速度", "1500"}, {"编辑框1_时间利用系数Kb", "0.9"},   {kResult, ""},
        {"按钮1", "查表"},                  {"标签1_提示信息", "方案导出需要Word2007以上版本！"},
        {"透明标签1", "压路机生产率计算"},  {"透明标签2", "依据建筑施工计算手册(第四版)"},
    };
    for (const auto& [name, want] : defaults) EXPECT_EQ(text(name), want) << name;
    for (const char* in : kInputs) {
        EXPECT_EQ(prop_of(in, prop::EditBox::InputMode), 10) << in;
        EXPECT_EQ(prop_of(in, prop::EditBox::TextColor), 0) << in;
        EXPECT_EQ(prop_of(in, prop::EditBox::BackColor), 0xFFFFFF) << in;
    }
    EXPECT_EQ(prop_of(kResult, prop::EditBox::InputMode), 1);
    EXPECT_EQ(prop_of(kResult, prop::EditBox::TextColor), 0xFFFFFF);
    EXPECT_EQ(prop_of(kResult, prop::EditBox::BackColor), 0x808080);
    EXPECT_EQ(picture(kForm, "图片框1"), "resources/pictures/equipment/roller_machine.png");

    const auto& tips = c("气球提示框1").tips;
    const std::map<std::string, std::string> want_tips = {
        {"编辑框1_同一地点碾压次", "参见右表填写"},
        {"编辑框1_重复压实部分的宽度", "重复压实部分的宽度(m)，一般取0.20～0.25m"},
        {"编辑框1_压路机行驶速度", "压路机行驶速度(m/h),一般小于200m/h"},
        {"编辑框1_时间利用系数Kb", "时间利用系数,一般取0.85～0.95"},
    };
    EXPECT_EQ(tips.size(), want_tips.size());
    for (const auto& [name, tip] : want_tips) EXPECT_EQ(tips.at(c(name).id), tip) << name;
}

// --- the shift output ------------------------------------------------------------------

struct OutputCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> typed; // box, text typed over the default
    const char* shown;                                      // 编辑框2_压路机台班生产率 after one compute click
};
void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }

struct ShiftOutput : RollerProgram, ::testing::WithParamInterface<OutputCase> {};

TEST_P(ShiftOutput, OneComputeClickShows)
{
    for (const auto& [box, value] : GetParam().typed) type(box, value);
    click("图形按钮_计算");
    EXPECT_EQ(text(kResult), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Roller, ShiftOutput,
    ::testing::Values(
        // (1/4) × 1.43 × 1500 × 0.9 × 8
        OutputCase{"defaults", {}, "3861"},
        // 1/7 does not terminate: all 13 significant digits, never rounded to fewer.
        OutputCase{"seven passes", {{"编辑框1_同一地点碾压次", "7"}}, "2206.285714286"},
        OutputCase{"one pass", {{"编辑框1_同一地点碾压次", "1"}}, "15444"},
        // An overlap as wide as the rolled strip or wider leaves no new width
        // to roll: no output, where the rule gave 0 and -135.
        OutputCase{"overlap as wide as the roll", {{"编辑框1_每次被碾压的宽度", "0.25"}}, "-"},
        OutputCase{"overlap wider than the roll", {{"编辑框1_每次被碾压的宽度", "0.2"}}, "-"},
        // Passes are counted whole: half a pass is no count.
        OutputCase{"half a pass", {{"编辑框1_同一地点碾压次", "0.5"}, {"编辑框1_压路机行驶速度", "200"}}, "-"},
        OutputCase{"two and a half passes", {{"编辑框1_同一地点碾压次", "2.5"}}, "-"}),
    [](const ::testing::TestParamInfo<OutputCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

// Each input at the edges of its domain, as the compute button finds it: no
// output (not "Pd = -675" for a rolled width of 0), and no report.
TEST_F(RollerProgram, InputsOutsideTheirDomainGiveNoOutputAndNoReport)
{
    for (const char* box : kInputs) {
        const Domain d = c(box).domain;
        ASSERT_NE(d, Domain::Unchecked) << box;
        for (const std::string& edge : testsupport::texts_outside(d)) {
            SCOPED_TRACE(std::string(box) + " \"" + edge + "\"");
            const std::string start = text(box);
            click("图形按钮_计算");
            ASSERT_EQ(text(kResult), "3861");
            set_control_text(U(kForm, box), edge);
            click("图形按钮_计算");
            EXPECT_EQ(text(kResult), "-");
            backend.queue_answer(0);
            click("图形按钮_导出");
            EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
            EXPECT_FALSE(fs::exists(folder / "导出的方案"));
            type(box, start);
        }
    }
    // No overlap at all is a figure.
    set_control_text(U(kForm, "编辑框1_重复压实部分的宽度"), "0");
    click("图形按钮_计算");
    EXPECT_EQ(text(kResult), "4536"); // (1/4) × 1.68 × 1500 × 0.9 × 8
}

TEST_F(RollerProgram, ComputePressesTheButtonSoundsAndLeavesTheLampAlone)
{
    rt.user_click(rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    rt.set(rt.unit("main", "图片框1_呼吸灯"), prop::PicBox::Picture, Blob{resource(app::res::lamp_busy)});
    backend.sounds.clear();
    backend.trail.clear();
    click("图形按钮_计算");
    EXPECT_EQ(backend.trail, (std::vector<std::string>{"<pressed>", "<normal>"}));
    EXPECT_EQ(backend.sounds, (std::vector<std::string>{"click", "compute"}));
    EXPECT_EQ(picture("main", "图片框1_呼吸灯"), app::res::lamp_busy) << "as the previous module left it";
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(RollerProgram, LookupOnlyShowsThePassesTable)
{
    type("编辑框1_同一地点碾压次", "6");
    const auto before = shown_texts();
    click("按钮1");
    ASSERT_NE(rt.form("popup"), nullptr);
    EXPECT_EQ(picture("popup", "图片框2"), "resources/pictures/equipment/roller_compaction_passes.png");
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Width).integer(), 700);
    EXPECT_EQ(rt.get(rt.unit("popup", ""), prop::Height).integer(), 400);
    EXPECT_EQ(shown_texts(), before);
    // The reference picture is the size the table was laid out for.
    int width = 0, height = 0;
    ASSERT_TRUE(picture_size(resource("resources/pictures/equipment/roller_compaction_passes.png"), &width, &height));
    EXPECT_EQ(width, 1437);
    EXPECT_EQ(height, 347);
}

// --- the report ------------------------------------------------------------------------

struct RollerReport : RollerProgram {
    fs::path report() { return folder / "导出的方案" / "压路机台班生产率.doc"; }
    void export_ok()
    {
        backend.queue_answer(0);
        click("图形按钮_导出");
    }
};

TEST_F(RollerReport, FillsEveryPlaceholderCountingDownFromTenToZero)
{
    type("编辑框1_同一地点碾压次", "7");
    type("编辑框1_压路机行驶速度", "180");
    click("图形按钮_计算");
    backend.trail.clear();
    export_ok();

    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_EQ(backend.messages.back().caption, "信息：");
    ASSERT_FALSE(backend.opened.empty());
    EXPECT_NE(backend.opened.back().find("导出的方案"), std::string::npos) << backend.opened.back();
    std::vector<std::string> files;
    for (auto& e : fs::directory_iterator(folder / "导出的方案")) files.push_back(e.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"压路机台班生产率.doc"});

    const std::string doc = report_text(report());
    EXPECT_NE(doc.find("压路机生产率计算书"), std::string::npos);
    std::smatch left;
    EXPECT_FALSE(std::regex_search(doc, left, std::regex("编辑框[0-9]_"))) << "unreplaced: " << left.str() << "…";
    for (const char* shown : {"取 7 遍", "取 1.68 m", "取 0.25 m", "取 180 m/h", "取 0.9；", "264.7542857143 m²/台班"})
        EXPECT_NE(doc.find(shown), std::string::npos) << shown;

    // 10 while the folder is made and Word starts, the preparation text, 9
    // once the template is written, 8 … 3 before the six placeholders, 2
    // while saving, 1 while Word closes, 0 during the progress; then idle.
    auto [marks, progress] = testsupport::split_progress(backend.trail);
    std::vector<std::string> want = testsupport::countdown_marks();
    EXPECT_EQ(marks, want);
    EXPECT_EQ(progress, 100);
    expect_restored_after_export();
}

TEST_F(RollerReport, OnlyTheOutputOfTheInputsShownIsExported)
{
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "您还未进行计算，请计算后导出！");
    EXPECT_EQ(backend.messages.back().caption, "提示");
    click("图形按钮_计算");
    type("编辑框1_每次被碾压的宽度", "0");
    click("图形按钮_计算");
    ASSERT_EQ(text(kResult), "-");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！");
    type("编辑框1_每次被碾压的宽度", "1.68");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算未得出结果，请检查输入后重新计算！") << "the last calculation gave no output";
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    click("图形按钮_计算");
    export_ok();
    EXPECT_EQ(backend.messages.back().text, "计算方案导出成功！");
    EXPECT_NE(report_text(report()).find("= 3861 m²/台班"), std::string::npos);
}

// A report that grows past the user's file-size limit: the program was not
// killed by the limit's signal, it says the write failed and why, and the
// report folder holds no temporary file.
TEST_F(RollerReport, AFileSizeLimitFailsTheWriteInsteadOfEndingTheProgram)
{
    std::vector<std::string> out = testsupport::in_child([&]() -> std::vector<std::string> {
        rlimit r;
        ::getrlimit(RLIMIT_FSIZE, &r);
        r.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &r);
        click("图形按钮_计算");
        export_ok();
        std::string names;
        for (auto& e : fs::directory_iterator(folder / "导出的方案")) names += e.path().filename().string() + "\n";
        return {backend.messages.back().caption, backend.messages.back().text, names};
    });
    ASSERT_EQ(out.size(), 3u) << "the program did not live through the write";
    EXPECT_EQ(out[0], "错误");
    EXPECT_EQ(out[1], "报告导出失败：" + report().string() + "\r\n无法写入文件：文件过大（File too large）");
    EXPECT_EQ(out[2], "");
}

TEST_F(RollerReport, CancelWritesNothing)
{
    click("图形按钮_计算");
    backend.queue_answer(1);
    click("图形按钮_导出");
    EXPECT_EQ(backend.messages.back().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_FALSE(fs::exists(folder / "导出的方案"));
    EXPECT_EQ(picture(kForm, "图形按钮_导出"), app::res::export_normal);
    EXPECT_EQ(prop_of("图形按钮_计算", prop::Disabled), 0);
}

} // namespace

// Every exporting module writes a report only of results that belong to the
// inputs shown: never before a calculation, never after an input the
// calculation read has changed or after a calculation that gave no results
// (each refusal saying which of the three it is), and a fresh calculation's
// report does not depend on what was typed and undone before it. A
// calculation without an input says on the form's status line which one,
// until a calculation gives results again.
#include "app/program.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/resources.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Row {
    const char* form;
    const char* input;   // a number box the calculation reads
    const char* changed; // another valid value of it
    const char* told;    // the status line of a calculation without it
    const char* not_calculated = "您还未进行计算，请计算后导出！";
};
void PrintTo(const Row& r, std::ostream* os) { *os << r.form; }

const Row kRows[] = {
    {"SmoothBlasting", "编辑框1_开挖循环进尺", "2.2", "开挖循环进尺未填写"},
    {"ControlledBlasting", "编辑框_地质条件K值确定", "150", "初步暂定值K'未填写"},
    {"BlastEffect", "编辑框5_系数K", "300", "系数K未填写"},
    {"StaticBreaking", "编辑框_破碎体长", "2", "破碎体长未填写", "您还没有进行计算！"},
    {"Flyrock", "编辑框1_最大药包的最小抵抗线", "3", "最大药包的最小抵抗线未填写"},
    {"ShallowHole", "编辑框2_阶梯高度", "2.5", "阶梯高度未填写"},
    {"DeepHole", "编辑框1_阶梯高度", "12", "阶梯高度未填写"},
    {"AdvanceSchedule", "编辑框1_各类围岩长度0", "400", "第1组围岩长度未填写"},
    {"EarthSlope", "编辑框1_土的粘聚力", "12", "土的粘聚力未填写"},
    {"VerticalCut", "编辑框1_土的粘聚力", "12", "土的粘聚力未填写"},
    {"Ventilation", "编辑框1_风管长度", "1500", "风管长度未填写"},
    {"AirSupply", "编辑框_耗风量1", "5", "第1行设备耗风量未填写"},
    {"WaterSupply", "编辑框_管道内水头损失", "0.5", "管道内水头损失未填写"},
    {"Mucking", "编辑框1循环进尺", "3", "参数不完整，请重新输入！"}, // as its own message says
    {"ExcavatorOutput", "编辑框1_工作时间利用系数", "0.75", "工作时间利用系数未填写"},
    {"ExcavatorTrucks", "编辑框1_土方工程量", "20000", "土方工程量未填写"},
    {"Roller", "编辑框1_每次被碾压的宽度", "2", "每次被碾压的宽度未填写"},
    {"Bulldozer", "编辑框1_铲刀宽度", "3.5", "铲刀宽度未填写"},
    {"RockDrill", "编辑框1_每班爆破量", "150", "每班爆破量未填写"},
    {"Trestle", "编辑框1_E", "210000", "弹性模量E未填写"},
};

struct CurrentResults : testsupport::ModuleProgram, ::testing::WithParamInterface<Row> {
    CurrentResults() : ModuleProgram("main") {}

    const Row& row() const { return GetParam(); }
    // The label the form tells the user on: the one its definition names,
    // else the usual one.
    std::string status_label() const
    {
        const auto def = nlohmann::json::parse(ui::resource("forms/" + std::string(row().form) + ".json").view());
        return def.at("calculation").value("status", std::string("标签1_提示信息"));
    }
    ui::Control& box(const char* name) { return rt.unit(row().form, name); }
    void type_into(const char* name, const std::string& text)
    {
        rt.user_type(box(name), text);
        rt.set_focus(nullptr);
    }
    void press(const char* button)
    {
        backend.messages.clear();
        rt.user_click(box(button));
        backend.advance(5000);
    }
    void compute() { press("图形按钮_计算"); }
    void export_report() { press("图形按钮_导出"); }
    // The reports in the folder (temporary files would show here too).
    std::vector<fs::path> reports() const
    {
        std::vector<fs::path> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder / "导出的方案", ec)) out.push_back(e.path());
        return out;
    }
    // The one message of a refused export.
    void expect_refused(const std::string& message)
    {
        ASSERT_EQ(backend.messages.size(), 1u) << (backend.messages.empty() ? "" : backend.messages.back().text);
        EXPECT_EQ(backend.messages[0].text, message);
        EXPECT_EQ(backend.messages[0].caption, "提示");
    }
};

TEST_P(CurrentResults, ExportsOnlyResultsOfTheInputsShown)
{
    const Row& r = row();
    // Some forms show the results on a page of their own; the inputs' page
    // comes back before each typing.
    auto inputs_page = [&] {
        ui::Control& in = box(r.input);
        for (ui::Control* p = &in; p->parent; p = p->parent)
            if (p->parent->kind == ui::Kind::Tab) rt.user_page(*p->parent, p->page);
    };
    SCOPED_TRACE("before any calculation");
    export_report();
    expect_refused(r.not_calculated);
    EXPECT_TRUE(reports().empty());

    SCOPED_TRACE("after a calculation");
    compute();
    export_report();
    ASSERT_EQ(reports().size(), 1u) << (backend.messages.empty() ? "" : backend.messages.back().text);
    const fs::path report = reports().front();
    const std::string bytes = testsupport::file_bytes(report), text = testsupport::report_text(report);
    const std::string original = ui::control_text(ui::U(r.form, r.input));

    SCOPED_TRACE("an input changed since");
    inputs_page();
    type_into(r.input, r.changed);
    ASSERT_EQ(ui::control_text(ui::U(r.form, r.input)), r.changed) << "the box took no typing";
    export_report();
    expect_refused("输入已修改，请重新计算后导出！");
    EXPECT_TRUE(testsupport::file_bytes(report) == bytes) << "the report changed";
    EXPECT_EQ(reports().size(), 1u);

    SCOPED_TRACE("typed back and calculated again: the same report");
    inputs_page();
    type_into(r.input, original);
    compute();
    export_report();
    ASSERT_FALSE(backend.messages.empty());
    EXPECT_EQ(backend.messages.front().text, "确定开始导出，中途请勿进行其他操作！");
    EXPECT_EQ(testsupport::report_text(report), text);

    SCOPED_TRACE("a calculation without the input");
    inputs_page();
    type_into(r.input, "");
    const std::string status_before = ui::control_text(ui::U(r.form, status_label()));
    compute();
    EXPECT_EQ(ui::control_text(ui::U(r.form, status_label())), r.told);
    const std::string again = testsupport::file_bytes(report);
    export_report();
    expect_refused("计算未得出结果，请检查输入后重新计算！");
    EXPECT_TRUE(testsupport::file_bytes(report) == again) << "the report changed";

    SCOPED_TRACE("then the input typed again, not calculated: still no results to export");
    inputs_page();
    type_into(r.input, original);
    export_report();
    expect_refused("计算未得出结果，请检查输入后重新计算！");
    EXPECT_TRUE(testsupport::file_bytes(report) == again) << "the report changed";
    EXPECT_EQ(ui::control_text(ui::U(r.form, status_label())), r.told);

    SCOPED_TRACE("calculated with it: the status line shows what it showed before");
    compute();
    EXPECT_EQ(ui::control_text(ui::U(r.form, status_label())), status_before);
}

INSTANTIATE_TEST_SUITE_P(EveryExport, CurrentResults, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.form); });

} // namespace

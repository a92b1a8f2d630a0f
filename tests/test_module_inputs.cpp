// The number boxes of the blasting-bench, excavation and equipment forms, in
// the whole headless program: every box a user types a number into is an
// input of the calculation, also where only the report states it. A text
// outside its domain ("-5", "2..5") leaves the calculation without results to
// report, and a change after the calculation leaves them stale. A count
// typed with decimals ("2.0") is reported as the whole number it is.
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/resources.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace ui;

namespace {

struct FormCase {
    const char* form;
    std::vector<const char*> templates; // every report the form can write
};
void PrintTo(const FormCase& f, std::ostream* os) { *os << f.form; }

const FormCase kForms[] = {
    {"ShallowHole", {"templates/shallow_hole_loosening.docx", "templates/shallow_hole_throw.docx"}},
    {"DeepHole", {"templates/deep_hole.docx"}},
    {"TunnelEvaluation", {}},
    {"MethodSelection", {}},
    {"AdvanceSchedule", {"templates/advance_schedule.docx"}},
    {"EarthSlope", {"templates/earth_slope.docx"}},
    {"VerticalCut", {"templates/earth_vertical_cut.docx"}},
    {"Mucking", {"templates/mucking.docx"}},
    {"ExcavatorOutput", {"templates/excavator_output.docx"}},
    {"ExcavatorTrucks", {"templates/excavator_trucks.docx"}},
    {"Roller", {"templates/roller.docx"}},
    {"Bulldozer", {"templates/bulldozer.docx"}},
    {"RockDrill", {"templates/rock_drill.docx"}},
};

struct NumberBoxes : testsupport::ModuleProgram, ::testing::WithParamInterface<FormCase> {
    NumberBoxes() : ModuleProgram(GetParam().form) {}

    // The boxes a user types numbers into as the form starts.
    std::vector<Control*> typed_boxes()
    {
        std::vector<Control*> out;
        for (const auto& ctl : rt.form(form_)->controls) {
            if (ctl->kind != Kind::EditBox || ctl->disabled) continue;
            const int mode = rt.get(*ctl, prop::EditBox::InputMode).integer();
            if (mode == 9 || mode == 10) out.push_back(ctl.get());
        }
        return out;
    }
    Runtime::Results compute_state()
    {
        click("图形按钮_计算");
        backend.advance(2000);
        return results_state(form_);
    }
};

TEST_P(NumberBoxes, EveryBoxAReportPrintsIsAResultOrAnInputWithADomain)
{
    std::string reports;
    for (const char* path : GetParam().templates) {
        const Bytes& packed = resource(path);
        ASSERT_FALSE(packed.empty()) << path;
        reports += testsupport::story_text(std::string(packed.begin(), packed.end()));
    }
    for (const auto& ctl : rt.form(form_)->controls) {
        if (ctl->kind != Kind::EditBox || reports.find(ctl->name) == std::string::npos) continue;
        const bool result = rt.get(*ctl, prop::EditBox::InputMode).integer() == 1;
        EXPECT_TRUE(result || ctl->domain != Domain::Unchecked) << ctl->name << " is printed as a figure of any text";
    }
}

TEST_P(NumberBoxes, ATextOutsideTheDomainRefusesAndAChangeMakesTheResultsStale)
{
    const std::vector<Control*> boxes = typed_boxes();
    ASSERT_FALSE(boxes.empty());
    for (Control* box : boxes) {
        const std::string name = box->name;
        SCOPED_TRACE(name);
        EXPECT_NE(box->domain, Domain::Unchecked);
        const std::string start = text(name);
        ASSERT_EQ(compute_state(), Runtime::Results::Current) << "the starting inputs give results";
        for (const char* outside : {"-5", "2..5"}) {
            type(name, outside);
            ASSERT_EQ(text(name), outside);
            const size_t before = backend.messages.size();
            EXPECT_EQ(compute_state(), Runtime::Results::Refused) << outside;
            // at most the one message that says why (on a form with no status line)
            EXPECT_LE(backend.messages.size(), before + 1) << outside;
        }
        const size_t before = backend.messages.size();
        type(name, start);
        ASSERT_EQ(compute_state(), Runtime::Results::Current);
        const char* changed = start == "7" ? "8" : "7";
        type(name, changed);
        EXPECT_EQ(results_state(form_), Runtime::Results::Stale) << "changed to " << changed;
        type(name, start);
        EXPECT_EQ(backend.messages.size(), before) << "typing and a calculation that gives results say nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, NumberBoxes, ::testing::ValuesIn(kForms),
                         [](const ::testing::TestParamInfo<FormCase>& i) { return std::string(i.param.form); });

// A count typed with decimals is the whole number the report states (as
// the excavators' "2.0" the form starts with).
struct CountCase {
    const char* form;
    const char* box;
    const char* typed;
    const char* report;
    std::vector<const char*> shown; // in the report
    const char* not_shown;
};
void PrintTo(const CountCase& c, std::ostream* os) { *os << c.form << " " << c.box; }

struct ReportedCounts : testsupport::ModuleProgram, ::testing::WithParamInterface<CountCase> {
    ReportedCounts() : ModuleProgram(GetParam().form) {}
};

TEST_P(ReportedCounts, AreWholeNumbers)
{
    const CountCase& k = GetParam();
    // Typed, and the button clicked while the box still has the focus: the
    // text stands as typed.
    rt.user_type(c(k.box), k.typed);
    click("图形按钮_计算");
    ASSERT_EQ(text(k.box), k.typed);
    backend.queue_answer(0);
    click("图形按钮_导出");
    ASSERT_FALSE(backend.messages.empty());
    ASSERT_EQ(backend.messages.back().text, "计算方案导出成功！");
    const std::string doc = testsupport::report_text(report_path(k.report));
    for (const char* s : k.shown) EXPECT_NE(doc.find(s), std::string::npos) << s << "\n" << doc;
    EXPECT_EQ(doc.find(k.not_shown), std::string::npos) << k.not_shown;
}

INSTANTIATE_TEST_SUITE_P(
    Equipment, ReportedCounts,
    ::testing::Values(
        // The conclusion names the excavators the schedule was worked for.
        CountCase{"ExcavatorTrucks", "编辑框1_挖掘机数量", "3.0", "挖掘机工期及配套自卸汽车数量计算.doc",
                  {"经计算，3 台挖掘机完成土方工程", "挖掘机数量\nN\n3\n台"}, "3.0"},
        CountCase{"ExcavatorTrucks", "编辑框2_挖掘机数量", "3.00", "挖掘机工期及配套自卸汽车数量计算.doc",
                  {"配车的挖掘机数量\nN′\n3\n台"}, "3.00"},
        CountCase{"ExcavatorOutput", "编辑框2_每天作业班数", "3.0", "挖掘机功率数量计算.doc",
                  {"每天作业班数\nm\n3\n台班", "10×3×0.8"}, "3.0"},
        CountCase{"Roller", "编辑框1_同一地点碾压次", "6.0", "压路机台班生产率.doc",
                  {"碾压次(遍)数\nn\n6\n遍", "本工程取 6 遍", "16×("}, "6.0"},
        CountCase{"RockDrill", "编辑框1_凿岩机数量", "8.0", "爆破凿岩机需用台数计算书.doc",
                  {"凿岩机数量\nm\n8\n", "凿岩机 m = 8 台计"}, "8.0"}),
    [](const ::testing::TestParamInfo<CountCase>& i) { return std::to_string(i.index); });

} // namespace

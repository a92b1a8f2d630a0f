// The sign a report prints between a worked expression and its result: "="
// when the printed result is the worked figure, "≈" when printing changed
// it. The rule itself, and every report's equations checked by redoing their
// arithmetic from the figures the report prints.
#include "app/report/export.h"
#include "app/report/signs.h"
#include "tests/support/module_test.h"
#include "ui/cmd.h"
#include "ui/runtime.h"
#include "ui/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ResultSign, FollowsWhetherPrintingChangedTheFigure)
{
    struct Case {
        double worked;
        const char* printed;
        const char* sign;
    };
    const Case cases[] = {
        {1.25, "1.25", "="},                 // exact
        {131.249999999, "131.25", "="},      // binary noise only
        {20 * 1.5 * 1.25 * 1.25 * 2.8, "131.25", "="},
        {6.4712, "6.47", "≈"},               // rounded
        {0.1 + 0.2, "0.3", "="},
        {3, "3", "="},                       // whole counts
        {2.4, "3", "≈"},                     // a count rounded up
        {1505.7, "1506", "≈"},
        {-2.5, "-2.5", "="},                 // negative
        {-2.504, "-2.5", "≈"},
        {(100.0 / 3) * 3 - 100, "0", "="},   // a difference that should be 0
        {0.004, "0", "≈"},
        {1e-7, "0", "≈"},
        {kNaN, "-", "="},                    // nothing to compare: never "≈-"
        {5, "-", "="},
        {kNaN, "5", "="},
        {5, "", "="},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(report::result_sign(c.worked, c.printed), c.sign) << c.worked << " printed " << c.printed;
}

// The figure behind a box's number is the one the calculation wrote it
// from only while the box shows the text written for it: a text written
// any other way, even the same digits, stands for itself.
struct WorkedFigure : testsupport::ModuleProgram {
    WorkedFigure() : ModuleProgram("Roller") {}
};

TEST_F(WorkedFigure, IsTheWrittenFigureOnlyWhileItsTextStands)
{
    const ui::Ref box = ui::U("Roller", "编辑框2_压路机台班生产率");
    ui::write_rounded(box, 3.5556, 2);
    EXPECT_EQ(ui::control_text(box), "3.56");
    EXPECT_DOUBLE_EQ(ui::worked_figure(box), 3.5556);
    EXPECT_STREQ(report::result_sign(ui::worked_figure(box), ui::control_text(box)), "≈");

    ui::set_control_text(box, "3.56"); // a later calculation writes exactly 3.56
    EXPECT_DOUBLE_EQ(ui::worked_figure(box), 3.56);
    EXPECT_STREQ(report::result_sign(ui::worked_figure(box), ui::control_text(box)), "=");

    ui::write_number(box, 7.25);
    EXPECT_DOUBLE_EQ(ui::worked_figure(box), 7.25);
    ui::write_rounded(box, 3.5556, 2);
    ui::set_control_text(box, "-");
    EXPECT_TRUE(std::isnan(ui::worked_figure(box)));
}

// ---- the reports -------------------------------------------------------------------------------

// Arithmetic of an equation as the report's template writes it once its
// placeholders are filled: numbers, + - − × · ÷ /, brackets ( ) [ ] { },
// \frac{a}{b}, \sqrt{x} and ^{power}. Anything else (a symbol, a function,
// a word) makes the expression one the test does not redo.
class Arithmetic {
public:
    explicit Arithmetic(std::string_view s) : s_(s) {}
    std::optional<double> value()
    {
        const std::optional<double> v = sum();
        skip_blanks();
        if (!v || at_ < s_.size()) return std::nullopt;
        return v;
    }

private:
    std::string_view s_;
    size_t at_ = 0;

    void skip_blanks()
    {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t')) ++at_;
    }
    bool take(std::string_view t)
    {
        skip_blanks();
        if (s_.substr(at_, t.size()) != t) return false;
        at_ += t.size();
        return true;
    }
    std::optional<double> sum()
    {
        std::optional<double> v = product();
        while (v) {
            if (take("+")) {
                const auto r = product();
                if (!r) return std::nullopt;
                *v += *r;
            } else if (take("−") || take("-")) {
                const auto r = product();
                if (!r) return std::nullopt;
                *v -= *r;
            } else {
                break;
            }
        }
        return v;
    }
    std::optional<double> product()
    {
        std::optional<double> v = power();
        while (v) {
            if (take("×") || take("·") || take("*")) {
                const auto r = power();
                if (!r) return std::nullopt;
                *v *= *r;
            } else if (take("÷") || take("/")) {
                const auto r = power();
                if (!r) return std::nullopt;
                *v /= *r;
            } else {
                break;
            }
        }
        return v;
    }
    std::optional<double> power()
    {
        std::optional<double> v = primary();
        while (v && take("^{")) {
            const auto e = sum();
            if (!e || !take("}")) return std::nullopt;
            v = std::pow(*v, *e);
        }
        return v;
    }
    std::optional<double> group(std::string_view close)
    {
        const auto v = sum();
        if (!v || !take(close)) return std::nullopt;
        return v;
    }
    std::optional<double> primary()
    {
        if (take("-") || take("−")) {
            const auto v = power();
            return v ? std::optional<double>(-*v) : std::nullopt;
        }
        if (take("\\frac{")) {
            const auto a = group("}");
            if (!a || !take("{")) return std::nullopt;
            const auto b = group("}");
            return b ? std::optional<double>(*a / *b) : std::nullopt;
        }
        if (take("\\sqrt{")) {
            const auto a = group("}");
            return a ? std::optional<double>(std::sqrt(*a)) : std::nullopt;
        }
        for (const auto& [name, f] : {std::pair<std::string_view, double (*)(double)>{"\"sin\"", [](double x) { return std::sin(x); }},
                                      {"\"cos\"", [](double x) { return std::cos(x); }},
                                      {"\"tan\"", [](double x) { return std::tan(x); }}}) {
            if (!take(name)) continue;
            std::optional<double> exponent = 1.0;
            if (take("^{")) {
                exponent = sum();
                if (!exponent || !take("}")) return std::nullopt;
            }
            const auto a = power();
            return a ? std::optional<double>(std::pow(f(*a), *exponent)) : std::nullopt;
        }
        if (take("(")) return group(")");
        if (take("[")) return group("]");
        if (take("{")) return group("}");
        skip_blanks();
        const size_t n = ui::number_literal_length(s_.substr(at_));
        if (n == 0 || s_[at_] == '-' || s_[at_] == '+') return std::nullopt;
        double v = ui::plain_number(s_.substr(at_, n));
        at_ += n;
        if (take("°")) v *= std::acos(-1.0) / 180; // degrees
        return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    }
};

// The template's text filled as the export fills it: each row replaces the
// next occurrences of its placeholder, up to its repeat count, never inside
// a value filled before.
std::vector<std::string> filled_equations(const std::string& tpl, const std::vector<report::FilledRow>& rows)
{
    // Filled text is marked off by \x01 ... \x02 so that no later placeholder
    // is found inside it.
    std::string text;
    std::istringstream in(tpl);
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with("%")) text += line + "\n";
    for (const report::FilledRow& row : rows) {
        size_t from = 0;
        for (int i = 0; i < row.repeat; ++i) {
            size_t at = text.find(row.placeholder, from);
            // skip matches inside filled values
            while (at != std::string::npos) {
                const size_t open = text.rfind('\x01', at), close = text.rfind('\x02', at);
                if (open == std::string::npos || (close != std::string::npos && close > open)) break;
                at = text.find(row.placeholder, at + 1);
            }
            if (at == std::string::npos) break;
            const std::string value = "\x01" + row.value + "\x02";
            text.replace(at, row.placeholder.size(), value);
            from = at + value.size();
        }
    }
    // What the report leaves out: an optional line or block with a
    // placeholder filled with nothing or "-".
    auto blank = [](const std::string& t) {
        return t.find("\x01\x02") != std::string::npos || t.find("\x01-\x02") != std::string::npos;
    };
    std::vector<std::string> lines;
    std::istringstream filled(text);
    for (std::string line; std::getline(filled, line);) lines.push_back(line);
    std::vector<std::string> kept;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == "!optional") {
            size_t end = i + 1;
            bool out = false;
            for (; end < lines.size() && lines[end] != "!end"; ++end) out = out || blank(lines[end]);
            if (!out)
                for (size_t j = i + 1; j < end; ++j) kept.push_back(lines[j]);
            i = end;
        } else if (!lines[i].starts_with("?") || !blank(lines[i])) {
            kept.push_back(lines[i]);
        }
    }
    std::vector<std::string> equations;
    for (const std::string& line : kept) {
        if (!line.starts_with("$") && !line.starts_with("?$")) continue;
        std::string plain;
        for (char c : line)
            if (c != '\x01' && c != '\x02') plain += c;
        equations.push_back(plain.substr(plain.find('$') + 1));
    }
    return equations;
}

struct SignCheck {
    int redone = 0;
    std::vector<std::string> wrong;
};

// Every "=" or "≈" in an equation that stands between arithmetic the test can
// redo and a printed number.
void check_equation(const std::string& eq, SignCheck& out)
{
    std::vector<std::pair<size_t, std::string>> signs;
    for (size_t i = 0; i < eq.size(); ++i) {
        if (eq[i] == '=') signs.push_back({i, "="});
        else if (eq.compare(i, 3, "≈") == 0) signs.push_back({i, "≈"});
    }
    for (size_t k = 1; k < signs.size(); ++k) {
        const auto [at, sign] = signs[k];
        const size_t from = signs[k - 1].first + signs[k - 1].second.size();
        const std::string expression = eq.substr(from, at - from);
        std::string rest = eq.substr(at + sign.size());
        const size_t quote = rest.find('"');
        if (quote != std::string::npos) rest = rest.substr(0, quote);
        if (k + 1 < signs.size()) rest = rest.substr(0, signs[k + 1].first - at - sign.size());
        while (!rest.empty() && rest.back() == ' ') rest.pop_back();
        while (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
        const double printed = ui::plain_number(rest);
        if (!std::isfinite(printed)) continue;
        const std::optional<double> worked = Arithmetic(expression).value();
        if (!worked || !std::isfinite(*worked)) continue;
        // A bare number before the sign is a statement, not a calculation.
        if (std::isfinite(ui::plain_number(expression))) continue;
        ++out.redone;
        // Redone from printed figures the arithmetic carries their noise:
        // a printed result within 1e-9 of it is the figure itself.
        const bool same = std::fabs(*worked - printed) <= 1e-9 * std::fmax(std::fabs(*worked), std::fabs(printed)) + 1e-12;
        const std::string expected = same ? "=" : "≈";
        if (sign != expected)
            out.wrong.push_back(eq + "\n    " + expression + " gives " + ui::number_to_text(*worked) + ": expected " +
                                expected + " " + rest);
    }
}

struct Report {
    const char* form;
    const char* input; // a number box; the second export has it changed
    const char* changed;
};
void PrintTo(const Report& r, std::ostream* os) { *os << r.form; }

const Report kReports[] = {
    {"SmoothBlasting", "编辑框1_开挖循环进尺", "2.35"},
    {"ControlledBlasting", "编辑框_地质条件K值确定", "153"},
    {"BlastEffect", "编辑框5_系数K", "313"},
    {"StaticBreaking", "编辑框_破碎体长", "2.3"},
    {"Flyrock", "编辑框1_最大药包的最小抵抗线", "3.3"},
    {"ShallowHole", "编辑框2_阶梯高度", "2.7"},
    {"DeepHole", "编辑框1_阶梯高度", "12.3"},
    {"AdvanceSchedule", "编辑框1_各类围岩长度0", "437"},
    {"EarthSlope", "编辑框1_土的粘聚力", "12.7"},
    {"VerticalCut", "编辑框1_土的粘聚力", "12.7"},
    {"Ventilation", "编辑框1_风管长度", "1537"},
    {"AirSupply", "编辑框_耗风量1", "5.3"},
    {"WaterSupply", "编辑框_管道内水头损失", "0.53"},
    {"Mucking", "编辑框1循环进尺", "3.3"},
    {"ExcavatorOutput", "编辑框1_工作时间利用系数", "0.77"},
    {"ExcavatorTrucks", "编辑框1_土方工程量", "20003"},
    {"Roller", "编辑框1_每次被碾压的宽度", "2.3"},
    {"Bulldozer", "编辑框1_铲刀宽度", "3.7"},
    {"RockDrill", "编辑框1_每班爆破量", "153"},
    {"Trestle", "编辑框1_E", "206000"},
};

struct ReportSigns : testsupport::ModuleProgram, ::testing::WithParamInterface<Report> {
    ReportSigns() : ModuleProgram("main") {}
    void TearDown() override
    {
        report::listen_to_fills(nullptr);
        ModuleProgram::TearDown();
    }
    ui::Control& box(const char* name) { return rt.unit(GetParam().form, name); }
    void press(const char* button)
    {
        backend.messages.clear();
        rt.user_click(box(button));
        backend.advance(5000);
    }
    std::string template_source(const std::string& template_path)
    {
        // "templates/<name>.docx" is built from resources/templates/<name>.tpl.
        const std::string name = template_path.substr(10, template_path.size() - 10 - 5);
        std::ifstream in(std::string(JSB_SOURCE_DIR) + "/resources/templates/" + name + ".tpl");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // Calculates, exports, and checks each sign of the report.
    void check_report(const char* when)
    {
        SCOPED_TRACE(when);
        std::vector<report::FilledTemplate> filled;
        report::listen_to_fills([&](const report::FilledTemplate& f) { filled.push_back(f); });
        press("图形按钮_计算");
        press("图形按钮_导出");
        report::listen_to_fills(nullptr);
        ASSERT_EQ(filled.size(), 1u) << "no report was filled";
        const std::string tpl = template_source(filled[0].template_path);
        ASSERT_FALSE(tpl.empty()) << filled[0].template_path;
        SignCheck check;
        for (const std::string& eq : filled_equations(tpl, filled[0].rows)) check_equation(eq, check);
        for (const std::string& w : check.wrong) ADD_FAILURE() << w;
        EXPECT_GT(check.redone, 0) << "no equation of " << filled[0].template_path << " was redone";
        // No sign placeholder is left unfilled, and none holds anything but a sign.
        for (const report::FilledRow& row : filled[0].rows)
            if (row.placeholder.ends_with("式") && row.placeholder != "计算值_掏槽形式" && !row.value.empty()) {
                EXPECT_TRUE(row.value == "=" || row.value == "≈") << row.placeholder << ": " << row.value;
            }
    }
};

TEST_P(ReportSigns, EverySignFollowsTheArithmeticOfThePrintedFigures)
{
    check_report("starting inputs");
    ui::Control& in = box(GetParam().input);
    for (ui::Control* p = &in; p->parent; p = p->parent)
        if (p->parent->kind == ui::Kind::Tab) rt.user_page(*p->parent, p->page);
    rt.user_type(in, GetParam().changed);
    rt.set_focus(nullptr);
    check_report("another input");
}

INSTANTIATE_TEST_SUITE_P(EveryReport, ReportSigns, ::testing::ValuesIn(kReports),
                         [](const auto& info) { return std::string(info.param.form); });

} // namespace

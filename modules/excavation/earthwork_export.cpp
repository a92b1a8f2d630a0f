// The two earthwork reports: every input, the substituted formula and the
// conclusion, the countdown stepping from 8 before the first input down to 0
// before the progress. Cohesion, load and the formula's value are the
// figures the calculation took and found.
#include "modules/excavation/earthwork.h"

#include "app/registry.h"
#include "app/report/signs.h"
#include "ui/cmd.h"

#include <functional>
#include <string>
#include <vector>

namespace earthwork {

using report::Stage;
using report::StatusMark;

namespace {

// A placeholder the calculation fills: an input as the formula took it, or
// what it found.
struct Figure {
    const char* placeholder;
    std::function<std::string()> value;
};

std::string number(double x) { return ui::number_to_text(x); }

// The substituted formula's value: the height when there is one, the
// (not positive) value that shows there is none; nothing where the formula
// does not apply, which leaves the substitution out.
std::string formula_value(const Outcome& o)
{
    return o.kind == Outcome::Height || o.kind == Outcome::CannotStand ? number(o.height) : std::string();
}

// `marked` in report order (the inputs, then the formula's value); countdown
// 8 stands before the first, one step less before each next. The slope
// module has five, so its countdown reaches 4 and shows 3 only in passing,
// just before 2. The conclusion comes without a countdown step.
report::ExportRequest request(const char* form, const char* template_path, const char* file_name,
                              const std::vector<Figure>& marked, const std::vector<Figure>& found,
                              const Outcome& (*outcome)())
{
    report::ExportRequest r;
    r.form = form;
    r.templates = {{report::Condition::always(), template_path, file_name}};
    int n = 8;
    for (const Figure& f : marked) {
        report::PlaceholderBinding b = report::bind_computed(f.placeholder, f.value, 5);
        b.mark_before = StatusMark::countdown(n--);
        r.bindings.push_back(std::move(b));
    }
    for (const Figure& f : found) r.bindings.push_back(report::bind_computed(f.placeholder, f.value, 5));
    r.bindings.insert(r.bindings.begin(), report::bind_sign("计算值_计算高度式", [outcome] { return outcome().worked; },
                                                            [outcome] { return formula_value(outcome()); }));
    r.marks = {
        {Stage::Busy, StatusMark::countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, StatusMark::countdown(9)},
    };
    for (; n >= 2; --n) r.marks.push_back({Stage::BindingsDone, StatusMark::countdown(n)});
    r.marks.push_back({Stage::Saved, StatusMark::countdown(1)});
    r.marks.push_back({Stage::WordClosed, StatusMark::countdown(0)});
    r.success_message = "计算方案导出成功！";
    return r;
}

std::string slope_conclusion()
{
    const Outcome& o = slope_outcome();
    switch (o.kind) {
    case Outcome::Height:
        return "按上述参数计算，该土方放坡开挖边坡允许的最大安全高度为 " + number(o.height) +
               " m。实际开挖高度不应大于此值；超过时应放缓边坡、分级放坡或采取支护措施，并加强边坡监测。";
    case Outcome::CannotStand:
        return "按上述参数计算所得边坡允许最大高度不大于零，边坡按此坡度角开挖不能保持稳定。"
               "应放缓边坡至坡度角不大于土的内摩擦角，或采取支护措施。";
    case Outcome::NoLimit:
        return "边坡的坡度角 θ = " + number(o.theta) + "° 不大于土的内摩擦角 ψ = " + number(o.phi) +
               "°，不存在通过坡脚、倾角为 (θ + ψ)/2 的危险滑动面，上式不适用，本计算不给出边坡允许最大高度。"
               "实际开挖仍应按圆弧滑动法等方法验算边坡的整体稳定。";
    case Outcome::None:
        break;
    }
    return {};
}

std::string vertical_cut_conclusion()
{
    const Outcome& o = vertical_cut_outcome();
    switch (o.kind) {
    case Outcome::Height:
        return "按上述参数计算，该基坑无支撑垂直开挖的允许最大高度为 " + number(o.height) +
               " m。实际开挖深度不应大于此值；超过时应放坡开挖或设置支撑，坑顶堆载不得超过计算所取的均布荷载。";
    case Outcome::CannotStand:
        return "按上述参数计算所得高度不大于零（见上式）：该土质坑壁不能无支撑直立开挖，开挖时应放坡或设置支撑。";
    case Outcome::NoLimit: case Outcome::None:
        break;
    }
    return {};
}

} // namespace

report::ExportRequest slope_export_request()
{
    return request(kSlopeForm, "templates/earth_slope.docx", "土方放坡开挖允许最大安全高度计算书.doc",
                   {{"计算值_土的重度", [] { return number(slope_outcome().gamma); }},
                    {"计算值_土的摩擦角", [] { return number(slope_outcome().phi); }},
                    {"计算值_土的粘聚力", [] { return number(slope_outcome().cohesion); }},
                    {"计算值_边坡坡度角", [] { return number(slope_outcome().theta); }},
                    {"计算值_计算高度", [] { return formula_value(slope_outcome()); }}},
                   {{"计算值_结论", slope_conclusion}}, slope_outcome);
}

report::ExportRequest vertical_cut_export_request()
{
    return request(kVerticalForm, "templates/earth_vertical_cut.docx", "土方无支撑垂直开挖高度安全计算.doc",
                   {{"计算值_土的重度", [] { return number(vertical_cut_outcome().gamma); }},
                    {"计算值_土的摩擦角", [] { return number(vertical_cut_outcome().phi); }},
                    {"计算值_土的粘聚力", [] { return number(vertical_cut_outcome().cohesion); }},
                    {"计算值_均布荷载", [] { return number(vertical_cut_outcome().load); }},
                    {"计算值_安全系数", [] { return number(vertical_cut_outcome().K); }},
                    {"计算值_计算高度", [] { return formula_value(vertical_cut_outcome()); }}},
                   {{"计算值_结论", vertical_cut_conclusion}}, vertical_cut_outcome);
}

namespace {

void register_earthwork_export(ui::Runtime& rt)
{
    rt.register_handler("EarthSlopeExportReport", [](ui::EventArgs&) { report::RunReportExport(slope_export_request()); });
    rt.register_handler("VerticalCutExportReport",
                        [](ui::EventArgs&) { report::RunReportExport(vertical_cut_export_request()); });
}

} // namespace

JSB_HANDLERS(register_earthwork_export)

} // namespace earthwork

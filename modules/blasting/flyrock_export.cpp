// The flyrock and toxic-gas report: eleven placeholders, five passes each,
// and what the calculation worked out that no box shows.
#include "modules/blasting/flyrock.h"

#include "ui/value.h"

namespace flyrock {

report::ExportRequest export_request()
{
    using report::bind;
    using report::bind_item;
    using report::Stage;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };

    report::ExportRequest r;
    r.form = kForm;
    r.templates = {{report::Condition::always(), "templates/flyrock.docx", "爆破飞石安全距离计算.doc"}};
    r.bindings = {
        bind_item("组合框5", 5),
        bind_item("组合框1", 5, countdown(7)),
        bind("编辑框1_安全规程最小安全距离", 5, countdown(6)),
        bind("编辑框1_安全系数", 5),
        bind("编辑框1_最大药包的最小抵抗线", 5),
        bind("编辑框1_最大药包的爆破作用指数", 5, countdown(5)),
        // Rf before the wind and the wind's quarter where it applies, as the
        // calculation worked them out; the general method has no regulation
        // distance, and the report says so in words.
        report::bind_computed("计算值_Rf0", [] { return ui::number_to_text(worked().rf0); }),
        report::bind_computed("计算值_等号Rf0", [] { return worked().rf0_sign; }),
        report::bind_computed("计算值_风力增大",
                              [] {
                                  return worked().windy ? "1.25×" + ui::number_to_text(worked().rf0) + " " + worked().rf_sign + " "
                                                        : std::string();
                              }),
        report::bind_computed("计算值_无规程距离",
                              [] {
                                  return worked().general
                                             ? std::string("现行爆破安全规程对一般爆破未规定个别飞石的最小安全距离，个别飞石的安全距离按计算确定。")
                                             : std::string();
                              }),
        report::bind_computed("计算值_一般爆破",
                              [] { return worked().general ? std::string("一般爆破无规程规定的最小安全距离，") : std::string(); }),
        report::bind_computed("计算值_等号Rg", [] { return worked().rg_sign; }),
        bind("编辑框1_个别飞石飞散的安全距离", 5, countdown(4)),
        bind("编辑框1_与规程要求对比后结论", 5, countdown(3)),
        bind("编辑框1_爆破总炸药量", 5, countdown(2)),
        bind("编辑框1_扩散系数", 5, countdown(1)),
        bind("编辑框1_爆破毒气的安全距离", 5),
    };
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::DocumentOpened, countdown(8)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "计算方案导出成功！";
    return r;
}

} // namespace flyrock

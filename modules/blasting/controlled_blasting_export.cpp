// The controlled-blasting report: the protected object and its velocity
// bands, the site and attenuation inputs and the seven rows of results, with
// the countdown stepping between groups of placeholders.
#include "modules/blasting/controlled_blasting.h"

namespace controlled_blasting {

report::ExportRequest export_request()
{
    using report::bind;
    using report::bind_trimmed;
    using report::Stage;
    using report::StatusMark;
    auto countdown = [](int n) { return StatusMark::countdown(n); };

    report::ExportRequest r;
    r.form = kForm;
    r.messages_owned = true;
    r.templates = {{report::Condition::always(), "templates/controlled_blasting.docx", "控制爆破计算书.doc"}};
    // No placeholder here lies inside another, so their order does not
    // change what is replaced. A number box is printed without the blanks
    // around it: the lists write some with a leading one (" 1", " 1.9").
    r.bindings = {
        bind("标签引用a", 2),
        bind("标签引用b", 2, countdown(8)),
        bind_trimmed("编辑框_地面振动速度控制选取值", 10),
        bind("标签4a", 2),
        bind("标签5a", 2, countdown(7)),
        bind("标签6a", 2),
        bind("标签4b", 2),
        bind("标签5b", 2),
        bind("标签6b", 2, countdown(6)),
        bind_trimmed("编辑框_地质条件K值确定", 10),
        bind_trimmed("编辑框_衰减系数", 10),
        bind_trimmed("编辑框_爆破振动安全允许距离R", 10),
        bind_trimmed("编辑框_周边眼预裂爆破衰减预计值", 10, countdown(5)),
        bind_trimmed("编辑框_进一步衰减值", 10),
        bind_trimmed("编辑框_掏槽眼衰减预计值", 10),
        bind_trimmed("编辑框_各种衰减", 10),
        bind_trimmed("编辑框1_辅助孔衰减预计值", 10, countdown(4)),
        bind_trimmed("编辑框1_次周边眼衰减预计值", 10),
        bind("周边眼1", 10),
        bind("周边眼2", 10),
        bind("周边眼3", 10, countdown(3)),
        bind("掏槽眼1", 10),
        bind("掏槽眼2", 10),
        bind("掏槽眼3", 10),
        bind("辅助孔1", 10),
        bind("辅助孔2", 10),
        bind("辅助孔3", 10),
        bind("底板孔1", 10),
        bind("底板孔2", 10, countdown(2)),
        bind("底板孔3", 10),
        bind("次周边a1", 10),
        bind("次周边a2", 10),
        bind("次周边a3", 10),
        bind("辅助孔a1", 10, countdown(1)),
        bind("辅助孔a2", 10),
        bind("辅助孔a3", 10),
        bind("周边眼a1", 10),
        bind("周边眼a2", 10),
        bind("周边眼a3", 10),
        // What the calculation worked with beyond the boxes.
        report::bind_computed("计算值_未选保护对象", [] { return no_protected_object_note(); }),
        report::bind_computed("计算值_等号", [] { return worked().peripheral_charge_sign; }),
        // the band headings of the object the charges were worked for
        report::bind_computed("计算值_振速分档1", [] { return worked().band_headings[0]; }),
        report::bind_computed("计算值_振速分档2", [] { return worked().band_headings[1]; }),
        report::bind_computed("计算值_振速分档3", [] { return worked().band_headings[2]; }),
        // The back-check as the screen shows it, with its verdict.
        bind_trimmed("编辑框2_衰减系数", 5),
        bind_trimmed("编辑框2_地质条件K", 5),
        bind_trimmed("编辑框2_保护距离R", 5),
        bind_trimmed("编辑框2_振动速度", 5),
        bind_trimmed("编辑框2_最大单段药量", 5),
        report::bind_computed("计算值_校验标题", [] { return back_check().heading; }),
        report::bind_computed("计算值_校验说明", [] { return back_check().intro; }),
        report::bind_computed("计算值_校验V式", [] { return back_check().velocity_sign; }),
        report::bind_computed("计算值_校验Q式", [] { return back_check().charge_sign; }),
        report::bind_computed("计算值_校验结论", [] { return back_check().verdict; }),
        report::bind_computed("计算值_校验未作", [] { return back_check().not_made; }),
    };
    // Each attenuation as used (an empty box is none), in the table and in
    // its reduced K.
    const std::pair<const char*, const char*> percents[] = {
        {"计算值_周边眼衰减", "编辑框_周边眼预裂爆破衰减预计值"}, {"计算值_进一步衰减", "编辑框_进一步衰减值"},
        {"计算值_掏槽眼衰减", "编辑框_掏槽眼衰减预计值"},         {"计算值_各种衰减", "编辑框_各种衰减"},
        {"计算值_辅助孔衰减", "编辑框1_辅助孔衰减预计值"},       {"计算值_次周边眼衰减", "编辑框1_次周边眼衰减预计值"},
    };
    for (const auto& [placeholder, box] : percents) {
        const std::string name = box;
        r.bindings.push_back(report::bind_computed(
            placeholder,
            [name] {
                const auto it = worked().percents.find(name);
                return it == worked().percents.end() ? std::string() : it->second;
            },
            2));
    }
    r.marks = {
        {Stage::Busy, countdown(10)},
        {Stage::WordStarted, StatusMark::status("  参数导出准备中，请稍候……")},
        {Stage::TemplateWritten, countdown(9)},
        {Stage::BindingsDone, countdown(0)},
    };
    r.success_message = "方案导出成功！";
    r.progress_suffix = "%";
    return r;
}

} // namespace controlled_blasting

// The smooth-blasting design report: one template per kind of section
// (three benches, two benches, full face, circular), one file name per
// method and section form, and one list of placeholders whatever the
// template; a placeholder the chosen template lacks changes nothing.
#include "modules/blast_design/face_steps.h"
#include "modules/blast_design/smooth_blasting.h"

#include "app/registry.h"
#include "app/report/export.h"
#include "app/report/signs.h"

namespace blast_design {

namespace {

using report::bind;
using report::bind_item;
using report::bind_trimmed;
using report::Condition;
using report::Stage;
using report::StatusMark;

const char* const kThreeBenchTemplate = "templates/smooth_blasting_three_benches.docx";
const char* const kTwoBenchTemplate = "templates/smooth_blasting_two_benches.docx";
const char* const kFullFaceTemplate = "templates/smooth_blasting_full_face.docx";
const char* const kCircularTemplate = "templates/smooth_blasting_circular.docx";

std::vector<report::TemplateChoice> templates()
{
    auto split_is = [](const char* text) { return Condition::item_text_is("组合框_方法2", text); };
    auto benches = [&](const char* split) {
        return Condition::all_of({Condition::item_text_is("组合框_开挖方法", method::kBenches), split_is(split)});
    };
    return {
        {benches(section::kThreeBenches), kThreeBenchTemplate, "光面爆破（台阶法上中下3台阶）.doc"},
        {benches(section::kTwoBenches), kTwoBenchTemplate, "光面爆破（台阶法上下2台阶）.doc"},
        {split_is(section::kStraightWall), kFullFaceTemplate, "光面爆破（全断面直墙拱形隧道）.doc"},
        {split_is(section::kCurvedWall), kFullFaceTemplate, "光面爆破（全断面曲墙三心圆隧道）.doc"},
        {split_is(section::kHorseshoe), kFullFaceTemplate, "光面爆破（全断面马蹄形隧道）.doc"},
        {split_is(section::kCircular), kCircularTemplate, "光面爆破（全断面圆形隧道立（竖）井）.doc"},
    };
}

// The cut as the form composes it, "type(form)", without the empty
// brackets of a type whose form is not chosen yet.
std::string cut_name()
{
    std::string name = box_text("编辑框1_采用掏槽形式");
    if (name.size() >= 2 && name.compare(name.size() - 2, 2, "()") == 0) name.erase(name.size() - 2);
    return name;
}

// Edit boxes give their Content, labels their Caption and the two method
// boxes their edit text; the charge-structure and detonator boxes give the
// item chosen. The bench names come without the line breaks that centre
// them in their boxes on the screen.
std::vector<report::PlaceholderBinding> bindings()
{
    auto countdown = [](int n) { return StatusMark::countdown(n); };
    return {
        // method and section
        bind("组合框_开挖方法", 5), bind("组合框_方法2", 5),
        // full-face and upper-bench inputs
        bind("编辑框1_上台阶面积", 5), bind("编辑框1_开挖循环进尺", 5), bind("编辑框1_周边眼外弧长", 10),
        bind("编辑框1_坑道开挖宽度", 5), bind("编辑框1_掏槽眼数量", 5), bind("编辑框1_掏槽区作用高度", 5),
        bind("编辑框1_掏槽区作用长度", 5), bind("编辑框1_岩石夹制力系数", 5), bind("编辑框1_单位体积岩体的耗药量", 10),
        bind("编辑框1_周边眼间距E", 10), bind("编辑框1_周边眼最小抵抗线V", 5), bind("编辑框1_周边眼装药集中度", 5),
        bind("编辑框1_辅助眼间距", 5, countdown(9)), bind("编辑框1_辅助眼最小抵抗线V", 5), bind("编辑框1_底板眼间距", 5),
        bind("编辑框1_底板眼最小抵抗线", 5),
        // drilling and cartridges
        bind("编辑框1_炮眼钻孔直径", 5), bind("编辑框1_装药不耦合系数", 5), bind("编辑框1_计算炸药直径", 5),
        bind("编辑框1_单个药卷重量", 5), bind("编辑框1_单个药卷长度", 5),
        // second bench
        bind("编辑框2_断面面积", 5), bind("编辑框2_开挖循环进尺", 5), bind("编辑框2_开挖面外弧长", 5),
        bind("编辑框2_底板长", 5), bind("编辑框2_岩石夹制力系数", 5), bind("编辑框2_周边眼间距E", 5),
        bind("编辑框2_周边眼抵抗线V", 5), bind("编辑框2_辅助眼间距E", 5), bind("编辑框2_辅助眼抵抗线V2", 5),
        bind("编辑框2_底板眼间距E", 5), bind("编辑框2_炸药工作面系数", 5, countdown(8)),
        // third bench
        bind("编辑框3_断面面积", 10), bind("编辑框3_开挖循环进尺", 10), bind("编辑框3_底板长", 5),
        bind("编辑框3_岩石夹制力系数", 10), bind("编辑框3_辅助眼间距E", 5), bind("编辑框3_辅助眼抵抗线V", 5),
        bind("编辑框3_底板眼间距E", 5), bind("编辑框3_底板眼抵抗线V", 10), bind("编辑框3_炸药工作面系数", 10),
        // circular section, with the second bench's bottom burden among them
        bind("编辑框4_隧道开挖面积", 5), bind("编辑框4_开挖循环进尺", 10), bind("编辑框4_周边眼外周长", 5),
        bind("编辑框4_开挖直径", 5), bind("编辑框4_掏槽眼数量", 5), bind("编辑框4_掏槽圈直径", 5),
        bind("编辑框4_岩石夹制力系数", 5), bind("编辑框4_单位体积岩体的耗药量", 5),
        bind("编辑框2_底板眼抵抗线V1", 5, countdown(7)), bind("编辑框4_周边眼间距E", 5),
        bind("编辑框4_周边眼最小抵抗线V", 5), bind("编辑框4_周边眼装药集中度", 5), bind("编辑框4_辅助眼间距", 5),
        bind("编辑框4_辅助眼最小抵抗线V", 5),
        // first result table
        bind_trimmed("标签1_上台阶", 5, countdown(6)), bind("标签1_掏槽眼炮眼深度", 10), bind("标签1_辅助眼炮眼深度", 10),
        bind("标签1_周边眼炮眼深度", 10), bind("标签1_底板眼炮眼深度", 10), bind("标签1_掏槽眼炮眼数目", 10),
        bind("标签1_辅助眼炮眼数目", 10), bind("标签1_周边眼炮眼数目", 10), bind("标签1_底板眼炮眼数目", 10),
        bind("标签1_掏槽眼每孔药卷数", 10), bind("标签1_辅助眼每孔药卷数", 10), bind("标签1_周边眼每孔药卷数", 10),
        bind("标签1_底板眼每孔药卷数", 10, countdown(5)), bind("标签1_掏槽眼单孔装药量", 10),
        bind("标签1_辅助眼单孔装药量", 10), bind("标签1_周边眼单孔装药量", 10), bind("标签1_底板眼单孔装药量", 10),
        bind("标签1_掏槽眼小计药量", 5), bind("标签1_辅助眼小计药量", 5), bind("标签1_周边眼小计药量", 10),
        bind("标签1_底板眼小计药量", 5), bind("标签1_炮眼数量合计1", 5), bind("标签1_炸药数量合计1", 10),
        // second result table
        bind_trimmed("标签2_中台阶", 5), bind("标签2_辅助眼炮眼深度", 5), bind("标签2_周边眼炮眼深度", 5),
        bind("标签2_底板眼炮眼深度", 5), bind("标签2_辅助眼炮眼数目", 10, countdown(4)), bind("标签2_周边眼炮眼数目", 5),
        bind("标签2_底板眼炮眼数目", 10), bind("标签2_辅助眼每孔药卷数", 5), bind("标签2_周边眼每孔药卷数", 5),
        bind("标签2_底板眼每孔药卷数", 5), bind("标签2_辅助眼单孔装药量", 5), bind("标签2_周边眼单孔装药量", 5),
        bind("标签2_底板眼单孔装药量", 5), bind("标签2_辅助眼小计药量", 5), bind("标签2_周边眼小计药量", 5),
        bind("标签2_底板眼小计药量", 5), bind("标签2_炮眼数量合计", 5), bind("标签2_炸药数量合计", 10),
        // third result table
        bind_trimmed("标签3_下台阶", 5), bind("标签3_辅助眼炮眼深度", 5), bind("标签3_底板眼炮眼深度", 5),
        bind("标签3_辅助眼炮眼数目", 10, countdown(3)), bind("标签3_底板眼炮眼数目", 10), bind("标签3_辅助眼每孔药卷数", 5),
        bind("标签3_底板眼每孔药卷数", 5), bind("标签3_辅助眼单孔装药量", 5), bind("标签3_底板眼单孔装药量", 5),
        bind("标签3_辅助眼小计药量", 5), bind("标签3_底板眼小计药量", 5), bind("标签3_炮眼数量合计", 5),
        bind("标签3_炸药数量合计", 10),
        // cut form, charge structure and detonators
        report::bind_computed("计算值_掏槽形式", cut_name, 5), bind_item("组合框1", 5), bind_item("组合框2", 5),
        // firing orders
        bind("标签1_掏槽眼起爆顺序1", 5, countdown(2)), bind("标签1_辅助眼起爆顺序1", 5), bind("标签1_周边眼起爆顺序1", 5),
        bind("标签1_底板眼起爆顺序1", 5), bind("标签2_辅助眼起爆顺序1", 5), bind("标签2_周边眼起爆顺序1", 5),
        bind("标签2_底板眼起爆顺序1", 5), bind("标签3_辅助眼起爆顺序1", 5), bind("标签3_底板眼起爆顺序1", 5),
        // delay segments
        bind("标签1_掏槽眼雷管段位", 5, countdown(1)), bind("标签1_辅助眼雷管段位", 5), bind("标签1_周边眼雷管段位", 5),
        bind("标签1_底板眼雷管段位", 5), bind("标签2_辅助眼雷管段位", 5), bind("标签2_周边眼雷管段位", 5),
        bind("标签2_底板眼雷管段位", 5), bind("标签3_辅助眼雷管段位", 5), bind("标签3_底板眼雷管段位", 5),
        // detonator counts
        bind("标签1_雷管数1", 5), bind("标签1_雷管数2", 5), bind("标签1_雷管数3", 5), bind("标签1_雷管数4", 5),
        bind("标签1_雷管数5", 5), bind("标签1_雷管数6", 5), bind("标签1_雷管数7", 5), bind("标签1_雷管数8", 5),
        bind("标签1_雷管数9", 5),
    };
}

// The result cells of the three blocks and the bench totals.
std::vector<std::string> result_cells()
{
    const std::vector<std::pair<int, std::vector<const char*>>> blocks = {
        {1, {"掏槽眼", "辅助眼", "周边眼", "底板眼"}}, {2, {"辅助眼", "周边眼", "底板眼"}}, {3, {"辅助眼", "底板眼"}}};
    std::vector<std::string> cells;
    for (const auto& [block, rows] : blocks)
        for (const char* row : rows)
            for (const char* column : {"炮眼深度", "炮眼数目", "每孔药卷数", "单孔装药量", "小计药量"})
                cells.push_back(result_label(block, row, column));
    for (const char* total : {"标签1_炮眼数量合计1", "标签2_炮眼数量合计", "标签3_炮眼数量合计", "标签1_炸药数量合计1",
                              "标签2_炸药数量合计", "标签3_炸药数量合计"})
        cells.push_back(total);
    return cells;
}

// The rows the last stemming check found too long for their holes.
std::vector<StemmingOutcome> failed_rows()
{
    std::vector<StemmingOutcome> failed;
    for (const StemmingOutcome& o : last_stemming_check())
        if (!o.fits()) failed.push_back(o);
    return failed;
}

// The check's verdict: passed only when every row it could judge fits.
std::string stemming_verdict()
{
    if (failed_rows().empty())
        return "计算时已逐项校核，各组炮眼的装药长度加堵塞长度均不大于炮眼深度，满足要求。";
    return "经逐项校核，下列炮眼的装药长度加堵塞长度超过炮眼深度，不满足要求：";
}

// The n-th row that does not fit, with its figures ("" when there is none).
std::string failed_row(size_t n)
{
    const std::vector<StemmingOutcome> failed = failed_rows();
    if (n >= failed.size()) return "";
    const StemmingOutcome& o = failed[n];
    // The figures as the check used them: the shown counts and depths, the
    // typed lengths, nothing rounded again.
    auto figure = [](double x) { return ui::cmd_to_text(x); };
    return o.row + "：装药长度 " + figure(o.cartridges) + "×" + figure(o.cartridge_length) + "＝" +
           figure(o.charge_length()) + " m，加堵塞长度 " + figure(o.stemming) + " m，共 " + figure(o.filled_length()) +
           " m，大于炮眼深度 " + figure(o.depth) + " m" + (n + 1 == failed.size() ? "。" : "；");
}

// A depth that is the advance as typed: the advance alone when the depth
// shows it, the advance and its rounding when it does not ("2.45 ≈ 2.5").
std::string depth_tail(const std::string& label)
{
    const std::string shown = ui::control_text(ctl(label));
    if (shown == "-" || relation_of(label) == "=") return shown;
    return ui::cmd_to_text(worked_value_of(label)) + " ≈ " + shown;
}

// Figures the report prints beside the result cells: how each cell stands
// to the formula before it ("=" or "≈", "计算值_约" + the cell's name after
// 标签), the depths that are the advance itself, the second bench's
// perimeter holes on one side before doubling, and the stemming check.
std::vector<report::PlaceholderBinding> computed_bindings()
{
    std::vector<report::PlaceholderBinding> rows;
    for (const std::string& cell : result_cells())
        rows.push_back(report::bind_computed("计算值_约" + cell.substr(std::string("标签").size()),
                                             [cell] { return relation_of(cell); }, 5));
    for (int block = 1; block <= 3; ++block) {
        const std::string cell = result_label(block, "辅助眼", "炮眼深度");
        rows.push_back(report::bind_computed("计算值_深度" + std::to_string(block), [cell] { return depth_tail(cell); }, 5));
    }
    rows.push_back(report::bind_computed("计算值_单侧周边眼数",
                                         [] { return ui::cmd_to_text(last_one_side_perimeter_count()); }, 5));
    rows.push_back(report::bind_computed("计算值_约单侧周边眼数", [] { return relation_of(kOneSidePerimeter); }, 5));
    // The hole counts added up (and the second bench's perimeter holes
    // doubled) against the totals the cells show.
    for (const char* cell : {"标签1_炮眼数量合计1", "标签2_周边眼炮眼数目", "标签2_炮眼数量合计"}) {
        const std::string name = cell;
        rows.push_back(report::bind_sign(
            "计算值_" + name.substr(name.find('_') + 1) + "式",
            [name] {
                const double kept = worked_value_of(name);
                return std::isnan(kept) ? ui::worked_figure(ctl(name)) : kept;
            },
            [name] { return ui::control_text(ctl(name)); }, 2));
    }
    rows.push_back(report::bind_computed("计算值_堵塞校核", stemming_verdict, 1));
    for (size_t n = 0; n < 9; ++n)
        rows.push_back(report::bind_computed("计算值_超深" + std::to_string(n + 1), [n] { return failed_row(n); }, 1));
    rows.push_back(report::bind_computed("计算值_超深对策", [] {
        return failed_rows().empty() ? std::string() : std::string("应增大岩石夹制力系数或缩小炮眼间距，调整参数后重新计算。");
    }, 1));
    return rows;
}

report::ExportRequest export_request()
{
    report::ExportRequest r;
    r.form = kForm;
    r.status_label = "标签1_进度条";
    r.log_box = "编辑框_提示";
    r.messages_owned = true;
    r.templates = templates();
    r.bindings = bindings();
    for (report::PlaceholderBinding& b : computed_bindings()) r.bindings.push_back(std::move(b));
    r.marks = {
        {Stage::Busy, StatusMark::log("\r\n    数据写出准备中，请稍候……")},
        {Stage::FolderMade, StatusMark::status("导出准备中，请稍候……")},
        {Stage::DocumentsAttached, StatusMark::log("\r\n    加载导出模块，请稍候……")},
        {Stage::DocumentOpened, StatusMark::log("\r\n    开始数据处理，请稍候……")},
        {Stage::DocumentOpened, StatusMark::countdown(10)},
        {Stage::BindingsDone, StatusMark::log("\r\n    数据处理完毕，开始导出文本导出")},
        {Stage::WordClosed, StatusMark::countdown(0)},
    };
    // The idle status comes back only after the success box and the folder.
    r.closing_stage = Stage::Explored;
    r.success_message = "导出成功！";
    r.progress_prefix = "已导出 ";
    r.step_pause_ms = 5;
    r.end_pause_ms = 50;
    return r;
}

void SmoothBlastingExportReport(ui::EventArgs&)
{
    // The calculation waits with messages pumping; it is not exported halfway.
    if (computing()) return;
    report::RunReportExport(export_request());
}

void register_smooth_blasting_export(ui::Runtime& rt)
{
    rt.register_handler("SmoothBlastingExportReport", SmoothBlastingExportReport);
}

} // namespace
JSB_HANDLERS(register_smooth_blasting_export)

} // namespace blast_design

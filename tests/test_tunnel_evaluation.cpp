// The tunnel evaluation module in the whole headless program. Each rule table
// is checked as a table of cases, one compute click per case on a freshly
// started program: every row of the table, each boundary on both sides of the
// 1e-7 tolerance where numbers are compared, and the boxes a table leaves
// alone when none of its tests holds.
#include "app/program.h"
#include "app/shell.h"
#include "modules/excavation/tunnel_evaluation.h"
#include "ui/cmd.h"
#include "ui/headless/headless.h"
#include "ui/runtime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace ui;

namespace {

constexpr const char* kForm = "TunnelEvaluation";
constexpr const char* kEarlier = "上次结果"; // stands in a box before the click
constexpr const char* kKept = nullptr;        // the box still shows kEarlier
constexpr const char* kNone = "-";            // no row held: kEarlier is replaced by "-"

constexpr int32_t kBlack = 0x000000, kGreen = 0x00FF00, kYellow = 0x00FFFF, kRed = 0x0000FF;
constexpr int32_t kButtonFaceColour = int32_t(0xFF000000u);

const char* const kSeparated = "单选框1_分离式隧道";
const char* const kSelect = "选"; // a radio's value in a case: click it

// Traces what the user would see change: pictures of the compute button, the
// busy lamp and the diagram box, the first result written, and the sounds,
// each with the virtual time it happened at.
struct RecordingBackend : HeadlessBackend {
    std::vector<std::pair<int64_t, std::string>> trail;
    bool recording = false;

    static std::string picture_name(const Bytes& b)
    {
        for (const std::string& p : resource_paths("resources/pictures/"))
            if (resource(p) == b) return p;
        return "<unknown>";
    }
    void note(const std::string& what)
    {
        if (recording) trail.emplace_back(elapsed(), what);
    }
    void property_changed(Control& c, int p) override
    {
        if (!recording) return;
        if (c.name == "图片框1_呼吸灯" && p == prop::PicBox::Picture) note("lamp " + picture_name(c.pictures[0]));
        if (c.form->name != kForm) return;
        if (c.name == "图形按钮_计算" && p == prop::PicBtn::Picture) note("button " + picture_name(c.pictures[0]));
        if (c.name == "图形按钮_计算" && p == prop::PicBtn::PictureHover) note("hover " + picture_name(c.pictures[1]));
        if (c.name == "图片框1" && p == prop::PicBox::Picture) note("diagram " + picture_name(c.pictures[0]));
        if (c.name == "编辑框1_按面积分类" && p == prop::EditBox::Content) note("first result");
    }
    void play_sound(const Bytes& wav, const std::string& name) override
    {
        note("sound " + name);
        HeadlessBackend::play_sound(wav, name);
    }
};

// The program started up to its main window, with the evaluation form in its frame.
struct Program {
    RecordingBackend backend;
    Runtime rt{backend};

    Program()
    {
        backend.attach(rt);
        EXPECT_TRUE(app::start_program(rt));
        backend.advance(101 * 15); // the splash runs its bar up, then the main window opens
        EXPECT_NE(rt.form(kForm), nullptr);
    }

    Control& c(const std::string& name) { return rt.unit(kForm, name); }
    std::string text(const std::string& name) { return control_text(U(kForm, name)); }
    std::string item(const std::string& name) { return current_item_text(U(kForm, name)); }
    int32_t text_color(const std::string& name) { return rt.get(c(name), prop::EditBox::TextColor).integer(); }
    int32_t back_color(const std::string& name) { return rt.get(c(name), prop::EditBox::BackColor).integer(); }
    bool disabled(const std::string& name) { return rt.get(c(name), prop::Disabled).truth(); }
    bool selected(const std::string& name) { return rt.get(c(name), prop::RadioBox::Checked).truth(); }
    std::string picture(const std::string& form, const std::string& control)
    {
        return RecordingBackend::picture_name(rt.unit(form, control).pictures[0]);
    }

    // An edit box gets the text as written (the way the program writes it, so
    // texts such as "1e999" reach the calculation); a list gets the item of
    // that text; a radio given kSelect is clicked.
    void set(const std::string& name, const std::string& value)
    {
        Control& box = c(name);
        if (box.kind == Kind::ComboBox) {
            for (int i = 0; i < int(box.items.size()); ++i)
                if (box.items[i] == value) return rt.user_choose(box, i);
            ADD_FAILURE() << "no item " << value << " in " << name;
        } else if (box.kind == Kind::RadioBox) {
            rt.user_click(box);
        } else {
            set_control_text(U(kForm, name), value);
        }
    }
    void compute() { rt.user_click(c("图形按钮_计算")); }
    void reload()
    {
        cmd_destroy(kForm);
        backend.pump(); // a form goes when the handlers up the stack are done
        ASSERT_EQ(rt.form(kForm), nullptr);
        ASSERT_TRUE(cmd_load_form(kForm, "main"));
    }
};

using Inputs = std::vector<std::pair<const char*, std::string>>;
using Shown = std::vector<std::pair<const char*, const char*>>; // box, text after the click (kKept: unchanged)

struct Case {
    const char* name;
    Inputs inputs;
    Shown shown;
};

// Each case on a freshly loaded form (as the program loads it at start, into
// its frame): the inputs set, kEarlier written into the boxes that should keep
// their text or show "-" (so "-" is seen to replace an earlier result), one
// compute click.
void check(const std::vector<Case>& cases)
{
    Program p;
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        p.reload();
        for (const auto& [name, value] : k.inputs) p.set(name, value);
        for (const auto& [box, want] : k.shown)
            if (want == kKept || std::string(want) == kNone) set_control_text(U(kForm, box), kEarlier);
        p.compute();
        for (const auto& [box, want] : k.shown) EXPECT_EQ(p.text(box), want ? want : kEarlier) << box;
    }
}

// --- the form at start ---------------------------------------------------------------------

TEST(TunnelEvaluation, StartState)
{
    Program p;
    EXPECT_EQ(p.rt.form(kForm)->frame, &p.rt.unit("main", "外形框_隧道评估"));
    EXPECT_EQ(p.rt.get(p.c(""), prop::Left).integer(), 5);
    EXPECT_EQ(p.rt.get(p.c(""), prop::Top).integer(), 5);
    EXPECT_EQ(p.rt.get(p.c(""), prop::Width).integer(), cmd_client_width(U("main", "外形框_隧道评估")));
    EXPECT_EQ(p.rt.get(p.c(""), prop::Height).integer(), cmd_client_height(U("main", "外形框_隧道评估")));
    EXPECT_EQ(p.picture(kForm, "图片框1"), tunnel_evaluation::kDiagramStart);

    for (const char* radio : {"单选框1_单洞隧道", "单选框1_连拱隧道", kSeparated}) EXPECT_FALSE(p.selected(radio)) << radio;
    EXPECT_TRUE(p.disabled("编辑框1_两洞中岩柱净距"));
    const std::pair<const char*, const char*> lists[] = {
        {"组合框1_围岩等级", "Ⅳ级围岩"}, {"组合框1_车道设计", "三车道"}, {"组合框1_开挖方法", "台阶法"},
        {"组合框1_稳定判断3", "＜0.8时"}, {"组合框1_位移速率变化趋势判断", "持续下降时"},
    };
    for (const auto& [list, shown] : lists) EXPECT_EQ(p.item(list), shown) << list;
    EXPECT_EQ(p.c("组合框1_围岩等级").items,
              (std::vector<std::string>{"I级围岩", "Ⅱ级围岩", "Ⅲ级围岩", "Ⅳ级围岩", "V级围岩", "Ⅵ级围岩", ""}));

    struct Input {
        const char* box;
        const char* text;
        int mode;
    };
    const Input inputs[] = {
        {"编辑框1_隧道开挖面积", "130.9", 10}, {"编辑框1_隧道长度", "1325", 10},    {"编辑框1_隧道开挖宽度", "16.2", 10},
        {"编辑框1_隧道开挖高度", "10.8", 9},   {"编辑框1_两洞中岩柱净距", "21.5", 10}, {"编辑框1_隧道埋深", "86", 10},
        {"编辑框1_浅埋段覆土层厚", "18", 10},  {"编辑框1_设计预留变形量", "150", 10},
        {"编辑框1_实测位移值", "35", 10},      {"编辑框1_塌方体积", "13", 10},       {"编辑框1_塌方高度", "2.5", 10},
    };
    for (const Input& in : inputs) {
        EXPECT_EQ(p.text(in.box), in.text) << in.box;
        EXPECT_EQ(p.rt.get(p.c(in.box), prop::EditBox::InputMode).integer(), in.mode) << in.box;
        EXPECT_EQ(p.back_color(in.box), 0xFFFFFF) << in.box;
    }
    // U' is the design deformation given at start.
    EXPECT_EQ(p.text("编辑框1_设计极限位移值"), "150");
    EXPECT_EQ(p.rt.get(p.c("编辑框1_设计极限位移值"), prop::EditBox::InputMode).integer(), 1);
    EXPECT_EQ(p.back_color("编辑框1_设计极限位移值"), 0xC0C0C0);
    const char* outputs[] = {
        "编辑框1_按面积分类", "编辑框1_判定隧道长度", "编辑框1_判定隧道开挖宽度", "编辑框1_平面控制测量等级",
        "编辑框1_高程控制测量等级", "编辑框1_瓦斯浓度", "编辑框1_预留变形量", "编辑框1_小净距限值", "编辑框1_小净距计算",
        "编辑框1_小净距影响程度", "编辑框1_小净距震动速度控制标准值", "编辑框1_错开距离", "编辑框1_位移管理等级",
        "编辑框1_施工状态", "编辑框1_围岩稳定状态判断2", "编辑框1_围岩稳定状态判断3", "编辑框1_隧道双向贯通控制距离",
        "编辑框1_拱单次开挖长度控制距离", "编辑框1_仰拱至掌子面的控制距离", "编辑框1_二衬至掌子面的距离控制",
        "编辑框1_浅埋隧道分界深度", "编辑框1_浅埋隧道判定", "编辑框1_横向检测范围", "编辑框1_纵向检测范围",
        "编辑框1_塌方规模判定", "编辑框1_围岩自稳能力", "编辑框1_素描剖面图绘制间距",
    };
    for (const char* out : outputs) {
        EXPECT_EQ(p.text(out), "") << out;
        EXPECT_EQ(p.rt.get(p.c(out), prop::EditBox::InputMode).integer(), 1) << out;
        EXPECT_EQ(p.back_color(out), kButtonFaceColour) << out;
        EXPECT_EQ(p.text_color(out), kBlack) << out;
    }
    EXPECT_EQ(p.back_color("编辑框2_开挖方法适用范围"), 0xECECEC);
    EXPECT_EQ(p.rt.get(p.c("编辑框2_开挖方法适用范围"), prop::EditBox::InputMode).integer(), 1);
    // No export and no tips in this module.
    EXPECT_EQ(p.rt.form(kForm)->find("图形按钮_导出"), nullptr);
    EXPECT_EQ(p.rt.form(kForm)->find("气球提示框1"), nullptr);
}

// --- the start values: every result of one click ---------------------------------------------------

TEST(TunnelEvaluation, DefaultsGiveTheWorkedResults)
{
    check({{"defaults",
            {},
            {{"编辑框1_按面积分类", "特大断面隧道"},
             {"编辑框1_判定隧道长度", "长隧道"},
             {"编辑框1_判定隧道开挖宽度", "大跨度隧道； 双车道的紧急停车带、三车道"},
             {"编辑框1_平面控制测量等级", "四等"},
             {"编辑框1_高程控制测量等级", "四等"},
             {"编辑框1_瓦斯浓度", "≤0.5%"},
             {"编辑框1_预留变形量", "按设计"},
             {"编辑框1_设计极限位移值", "150"},
             {"编辑框1_小净距计算", "-"},
             {"编辑框1_小净距限值", "-"},
             {"编辑框1_小净距影响程度", "-"},
             {"编辑框1_小净距震动速度控制标准值", "-"},
             {"编辑框1_错开距离", "≥32.4m"},
             {"编辑框1_位移管理等级", "Ⅲ级"},
             {"编辑框1_施工状态", "可正常施工"},
             {"编辑框1_围岩稳定状态判断2", "围岩处于稳定状态"},
             {"编辑框1_围岩稳定状态判断3", "围岩处于稳定状态"},
             {"编辑框1_隧道双向贯通控制距离", "-"},
             {"编辑框1_拱单次开挖长度控制距离", " 不大于3.0m且不得分幅"},
             {"编辑框1_仰拱至掌子面的控制距离", "不超过50m"},
             {"编辑框1_二衬至掌子面的距离控制", "不超过90m"},
             {"编辑框1_浅埋隧道分界深度", "19.08"},
             {"编辑框1_浅埋隧道判定", "浅埋隧道"},
             {"编辑框1_横向检测范围", "157.35"},
             {"编辑框1_纵向检测范围", "145.2"},
             {"编辑框1_塌方规模判定", "小塌方"},
             {"编辑框1_围岩自稳能力",
              "Ⅳ级B≥ 5m,一般无自稳定能力，定数日-数月内可发生松动变形、小塌方，进而发展为中~大塌方\r\n"
              "埋深小时，以拱部松动破坏为主，埋深大时，有明显塑性流动变形和挤压破坏"},
             {"编辑框1_素描剖面图绘制间距", "15~25m"}}}});
}

// --- classification tables ------------------------------------------------------------------

const char* const S = "编辑框1_隧道开挖面积";
const char* const L = "编辑框1_隧道长度";
const char* const B = "编辑框1_隧道开挖宽度";
const char* const kArea = "编辑框1_按面积分类";
const char* const kLength = "编辑框1_判定隧道长度";
const char* const kSpanClass = "编辑框1_判定隧道开挖宽度";

TEST(TunnelEvaluation, AreaClasses)
{
    check({
        {"S 1.5: no class", {{S, "1.5"}}, {{kArea, kNone}}},
        {"S 0: no class", {{S, ""}}, {{kArea, kNone}}},
        {"S 2 less 2e-7: no class", {{S, "1.9999998"}}, {{kArea, kNone}}},
        {"S 1.99999: no class", {{S, "1.99999"}}, {{kArea, kNone}}},
        {"S negative: no class", {{S, "-130.9"}}, {{kArea, kNone}}},
        {"S 2 less 5e-8", {{S, "1.99999995"}}, {{kArea, "极小断面隧道"}}},
        {"S 2", {{S, "2"}}, {{kArea, "极小断面隧道"}}},
        {"S 3", {{S, "3"}}, {{kArea, "极小断面隧道"}}},
        {"S 3 and 5e-8", {{S, "3.00000005"}}, {{kArea, "极小断面隧道"}}},
        {"S 3 and 2e-7", {{S, "3.0000002"}}, {{kArea, "小断面隧道"}}},
        {"S 3.05", {{S, "3.05"}}, {{kArea, "小断面隧道"}}},
        {"S 10", {{S, "10"}}, {{kArea, "小断面隧道"}}},
        {"S 10 and 2e-7", {{S, "10.0000002"}}, {{kArea, "中等断面隧道"}}},
        {"S 50", {{S, "50"}}, {{kArea, "中等断面隧道"}}},
        {"S 50 and 2e-7", {{S, "50.0000002"}}, {{kArea, "大断面隧道"}}},
        {"S 100", {{S, "100"}}, {{kArea, "大断面隧道"}}},
        {"S 100 and 5e-8", {{S, "100.00000005"}}, {{kArea, "大断面隧道"}}},
        {"S 100 and 2e-7", {{S, "100.0000002"}}, {{kArea, "特大断面隧道"}}},
    });
}

TEST(TunnelEvaluation, LengthClasses)
{
    check({
        {"L empty: no class", {{L, ""}}, {{kLength, kNone}}},
        {"L 5e-8: no class", {{L, "0.00000005"}}, {{kLength, kNone}}},
        {"L -100: no class", {{L, "-100"}}, {{kLength, kNone}}},
        {"L 2e-7", {{L, "0.0000002"}}, {{kLength, "短隧道"}}},
        {"L 500", {{L, "500"}}, {{kLength, "短隧道"}}},
        {"L 500 and 5e-8", {{L, "500.00000005"}}, {{kLength, "短隧道"}}},
        {"L 500 and 2e-7", {{L, "500.0000002"}}, {{kLength, "中长隧道"}}},
        {"L 1000", {{L, "1000"}}, {{kLength, "中长隧道"}}},
        {"L 1000 and 2e-7", {{L, "1000.0000002"}}, {{kLength, "长隧道"}}},
        {"L 3000", {{L, "3000"}}, {{kLength, "长隧道"}}},
        {"L 3000 and 5e-8", {{L, "3000.00000005"}}, {{kLength, "长隧道"}}},
        {"L 3000 and 2e-7", {{L, "3000.0000002"}}, {{kLength, "特长隧道"}}},
    });
}

TEST(TunnelEvaluation, SpanClasses)
{
    const char* const small = "小跨度隧道；单车道、服务车道 ,行车、行人横洞";
    const char* const middle = "中跨度隧道；单车道的错车带、双车道";
    const char* const large = "大跨度隧道； 双车道的紧急停车带、三车道";
    const char* const extra = "超大跨度隧道；四车道 连拱隧道";
    check({
        {"B empty: no class", {{B, ""}}, {{kSpanClass, kNone}}},
        {"B negative: no class", {{B, "-16.2"}}, {{kSpanClass, kNone}}},
        {"B 2e-7", {{B, "0.0000002"}}, {{kSpanClass, small}}},
        {"B 9", {{B, "9"}}, {{kSpanClass, small}}},
        {"B 9 and 5e-8", {{B, "9.00000005"}}, {{kSpanClass, small}}},
        {"B 9 and 2e-7", {{B, "9.0000002"}}, {{kSpanClass, middle}}},
        {"B 14 less 2e-7", {{B, "13.9999998"}}, {{kSpanClass, middle}}},
        {"B 14 less 5e-8", {{B, "13.99999995"}}, {{kSpanClass, large}}},
        {"B 14", {{B, "14"}}, {{kSpanClass, large}}},
        {"B 18 less 2e-7", {{B, "17.9999998"}}, {{kSpanClass, large}}},
        {"B 18 less 5e-8", {{B, "17.99999995"}}, {{kSpanClass, extra}}},
        {"B 18", {{B, "18"}}, {{kSpanClass, extra}}},
    });
}

TEST(TunnelEvaluation, SurveyGrades)
{
    const char* const plane = "编辑框1_平面控制测量等级";
    const char* const height = "编辑框1_高程控制测量等级";
    check({
        {"L empty: neither grade", {{L, ""}}, {{plane, kNone}, {height, kNone}}},
        {"L 5e-8: neither grade", {{L, "0.00000005"}}, {{plane, kNone}, {height, kNone}}},
        {"L -100: neither grade", {{L, "-100"}}, {{plane, kNone}, {height, kNone}}},
        {"L 2e-7", {{L, "0.0000002"}}, {{plane, "一级"}, {height, "四等"}}},
        {"L 999", {{L, "999"}}, {{plane, "一级"}, {height, "四等"}}},
        {"L 1000 less 2e-7", {{L, "999.9999998"}}, {{plane, "一级"}, {height, "四等"}}},
        {"L 1000 less 5e-8", {{L, "999.99999995"}}, {{plane, "四等"}, {height, "四等"}}},
        {"L 1000", {{L, "1000"}}, {{plane, "四等"}, {height, "四等"}}},
        {"L 3000 less 2e-7", {{L, "2999.9999998"}}, {{plane, "四等"}, {height, "四等"}}},
        {"L 3000", {{L, "3000"}}, {{plane, "三等"}, {height, "三等"}}},
        {"L 6000 less 2e-7", {{L, "5999.9999998"}}, {{plane, "三等"}, {height, "三等"}}},
        {"L 6000 less 5e-8", {{L, "5999.99999995"}}, {{plane, "二等"}, {height, "二等"}}},
        {"L 6000", {{L, "6000"}}, {{plane, "二等"}, {height, "二等"}}},
    });
}

TEST(TunnelEvaluation, MethodScope)
{
    const char* const method = "组合框1_开挖方法";
    const char* const scope = "编辑框2_开挖方法适用范围";
    const char* const side_drift = "中壁法(CD法 )或交叉中壁法(CRD法 )适用于围岩较差、跨度大、浅埋、地表沉降需要控制的场合。";
    check({
        {"全断面法",
         {{method, "全断面法"}},
         {{scope, "全断面法可用于 I~Ⅲ 级围岩的中小跨度隧道 ,Ⅳ级围岩中跨度隧道和Ⅲ级围岩大跨度隧道在采用了有效的预加固措施后 ,"
                  "也可采用全断面法开挖。对于邻近有建筑物需要控制爆破震动速度的隧道用全断面开挖时 ,"
                  "可以选择导洞超前再全断面扩挖的方法施工,但应控制导洞超前距离"}}},
        {"台阶法: seven lines",
         {{method, "台阶法"}},
         {{scope, "台阶法可用于Ⅲ ~Ⅳ 级围岩的中小跨度隧道 ,Ⅴ级围岩的中小跨度隧道在采用了有效的预加固措施后亦可采用台阶法开挖。"
                  "采用台阶法施工时应符合下列规定：\r\n"
                  " 1、上台阶高度宜为25m,装渣机械应紧跟开挖面 ,减少扒渣距离。\r\n"
                  " 2、控制上台阶钢架下沉和变形 ,可 采用扩大拱脚和加强锁脚锚杆,加设临时仰拱等措施\r\n"
                  " 3、当岩体不稳定时 ,应缩短进尺 ,先施工边墙支护 ,后开挖中间土体 ,左右错开或拉中槽后再挖边帮 ,并及时施工仰拱。\r\n"
                  " 4、 应解决好上、下部施工干扰问题 ,下部应减少对上部围岩、支护的干扰和破坏。\r\n"
                  " 5、 台阶长度不宜超过隧道开挖的宽度的1.5倍。\r\n"
                  " 6、上台阶每循环开挖进尺Ⅳ、Ⅴ级围岩不应大于榀钢架间距，Ⅳ级围岩不得大于2榀钢架间距。"}}},
        {"环形开挖留核心土法: two lines",
         {{method, "环形开挖留核心土法"}},
         {{scope, "环形开挖留核心土法可用于Ⅳ ~Ⅴ级围岩或一般土质围岩的中小跨度隧道。开挖进尺宜为0.5~1.0m，"
                  "核心土面积不小于整个断面面积的50%\r\n"
                  "上台阶每循环开挖进尺Ⅳ、Ⅴ级围岩不应大于榀钢架间距，Ⅳ级围岩不得大于2榀钢架间距。"}}},
        {"中壁法(CD法)", {{method, "中壁法(CD法)"}}, {{scope, side_drift}}},
        {"交叉中壁法(CRD法): the same text", {{method, "交叉中壁法(CRD法)"}}, {{scope, side_drift}}},
        {"双侧壁导坑法: two lines",
         {{method, "双侧壁导坑法"}},
         {{scope, "双侧壁导坑法适用于浅埋大跨度隧道及地表下沉量要求严格而围岩条件很差的情况\r\n"
                  " 导坑形状应近似于椭圆形断面，导坑跨度宜为隧道跨度的1/3；左右导坑距离不宜小于15m；"
                  "导坑与中间土体施工时，导坑应超前30-50m。"}}},
    });
}

// --- deformation, spacing and displacement ---------------------------------------------------------

const char* const kRock = "组合框1_围岩等级";
const char* const kLanes = "组合框1_车道设计";
const char* const kDesign = "编辑框1_设计预留变形量";
const char* const kLimit = "编辑框1_设计极限位移值";
const char* const kReserved = "编辑框1_预留变形量";

TEST(TunnelEvaluation, ReservedDeformation)
{
    struct Row {
        const char* rock;
        const char* two_lanes;
        const char* three_lanes;
    };
    const Row table[] = {
        {"I级围岩", "-", "-"},
        {"Ⅱ级围岩", "-", "10~30mm"},
        {"Ⅲ级围岩", "20~50mm", "30~80mm"},
        {"Ⅳ级围岩", "50~80mm", "60~120mm"},
        {"V级围岩", "80~120mm", "100~150mm"},
        {"Ⅵ级围岩", "现场测量决定", "现场测量决定"},
        {"", "-", "-"}, // the empty class item leaves "-"
    };
    std::vector<Case> cases;
    for (const Row& r : table) {
        // An empty design deformation leaves U' as it was.
        cases.push_back({r.rock, {{kDesign, ""}, {kRock, r.rock}, {kLanes, "两车道"}}, {{kReserved, r.two_lanes}, {kLimit, "150"}}});
        cases.push_back({r.rock, {{kDesign, ""}, {kRock, r.rock}, {kLanes, "三车道"}}, {{kReserved, r.three_lanes}, {kLimit, "150"}}});
    }
    // Any text at all is the design's: it becomes U' before the level is judged
    // (60 is level Ⅱ of the limit 150, level Ⅲ of 200).
    cases.push_back({"design 200", {{kDesign, "200"}, {"编辑框1_实测位移值", "60"}},
                     {{kReserved, "按设计"}, {kLimit, "200"}, {"编辑框1_位移管理等级", "Ⅲ级"}}});
    cases.push_back({"design text copied unchanged", {{kDesign, "125.0"}}, {{kReserved, "按设计"}, {kLimit, "125.0"}}});
    // A design deformation that is no usable number is no limit either: no
    // level is judged by it, and U', built on it, shows "-" (also when a
    // figure stood there before the click).
    for (const char* bad : {"-0", "0", "-1", "-50", "abc", "1e999", "12.5m", "1..25"})
        cases.push_back({bad, {{kDesign, bad}, {kLimit, "150"}},
                         {{kReserved, kNone}, {kLimit, kNone}, {"编辑框1_位移管理等级", kNone}, {"编辑框1_施工状态", kNone}}});
    check(cases);
}

// The calculation takes a given design deformation as U': while one is
// given, the U' box shows it as typed and takes no typing, so no typed U' is
// replaced unseen; without one, U' is typed and used as typed.
TEST(TunnelEvaluation, LimitDisplacementFollowsTheDesignDeformation)
{
    Program p;
    auto type = [&](const char* name, const std::string& text) {
        p.rt.user_type(p.c(name), text);
        p.rt.set_focus(nullptr);
    };
    auto editable = [&] { return p.rt.get(p.c(kLimit), prop::EditBox::InputMode).integer() == 10; };
    type(kDesign, "200");
    EXPECT_EQ(p.text(kLimit), "200");
    type(kLimit, "100");
    EXPECT_EQ(p.text(kLimit), "200");
    EXPECT_FALSE(editable());

    type(kDesign, "");
    EXPECT_TRUE(editable());
    EXPECT_EQ(p.back_color(kLimit), 0xFFFFFF);
    type(kLimit, "100");
    type("编辑框1_实测位移值", "60");
    p.compute();
    EXPECT_EQ(p.text(kLimit), "100");
    EXPECT_EQ(p.text("编辑框1_位移管理等级"), "Ⅱ级"); // 60 of 100 lies between a third and two thirds

    type(kDesign, "150");
    EXPECT_FALSE(editable());
    EXPECT_EQ(p.back_color(kLimit), 0xC0C0C0);
    EXPECT_EQ(p.text(kLimit), "150");

    // A design deformation refused as typed is no U' to show, before any
    // calculation as after one.
    for (const char* refused : {"-1", "2..5", "-0"}) {
        SCOPED_TRACE(refused);
        type(kDesign, refused);
        EXPECT_FALSE(editable());
        EXPECT_EQ(p.text(kLimit), "-");
        p.compute();
        EXPECT_EQ(p.text(kLimit), "-");
        EXPECT_EQ(p.text("编辑框1_位移管理等级"), "-");
        type(kDesign, "120");
        EXPECT_EQ(p.text(kLimit), "120");
    }
}

const char* const kPillar = "编辑框1_两洞中岩柱净距";
const char* const kSpacing = "编辑框1_小净距计算";
const char* const kSpacingLimit = "编辑框1_小净距限值";
const char* const kInfluence = "编辑框1_小净距影响程度";
const char* const kSpeed = "编辑框1_小净距震动速度控制标准值";

Case spacing(const char* name, const char* rock, const char* pillar, const char* verdict, const char* limit,
             const char* influence, const char* speed, const char* span = "16.2")
{
    return {name,
            {{kSeparated, kSelect}, {kRock, rock}, {B, span}, {kPillar, pillar}},
            {{kSpacing, verdict}, {kSpacingLimit, limit}, {kInfluence, influence}, {kSpeed, speed}}};
}

TEST(TunnelEvaluation, SmallSpacing)
{
    check({
        // Only separated bores with a pillar width are checked.
        {"no layout", {}, {{kSpacing, "-"}, {kSpacingLimit, "-"}, {kInfluence, "-"}, {kSpeed, "-"}}},
        {"single bore", {{"单选框1_单洞隧道", kSelect}}, {{kSpacing, "-"}, {kSpacingLimit, "-"}, {kInfluence, "-"}, {kSpeed, "-"}}},
        {"separated, empty pillar", {{kSeparated, kSelect}, {kPillar, ""}},
         {{kSpacing, "-"}, {kSpacingLimit, "-"}, {kInfluence, "-"}, {kSpeed, "-"}}},
        {"separated, empty class", {{kSeparated, kSelect}, {kRock, ""}},
         {{kSpacing, kNone}, {kSpacingLimit, kNone}, {kInfluence, kNone}, {kSpeed, kNone}}},
        // Class Ⅳ, B 16.2: bands at 8.1 and 16.2, limit 40.5.
        spacing("Ⅳ 8.1", "Ⅳ级围岩", "8.1", "属于", "Ⅳ级B'<40.5", "严重影响", "50-80mm/s"),
        spacing("Ⅳ 8.1 and 5e-8", "Ⅳ级围岩", "8.10000005", "属于", "Ⅳ级B'<40.5", "严重影响", "50-80mm/s"),
        spacing("Ⅳ 8.1 and 2e-7", "Ⅳ级围岩", "8.1000002", "属于", "Ⅳ级B'<40.5", "一般影响", "80-100mm/s"),
        spacing("Ⅳ 16.2", "Ⅳ级围岩", "16.2", "属于", "Ⅳ级B'<40.5", "一般影响", "80-100mm/s"),
        spacing("Ⅳ 16.2 and 2e-7", "Ⅳ级围岩", "16.2000002", "属于", "Ⅳ级B'<40.5", "轻微影响", "100-150mm/s"),
        spacing("Ⅳ 21.5", "Ⅳ级围岩", "21.5", "属于", "Ⅳ级B'<40.5", "轻微影响", "100-150mm/s"),
        spacing("Ⅳ 40.5 less 2e-7", "Ⅳ级围岩", "40.4999998", "属于", "Ⅳ级B'<40.5", "轻微影响", "100-150mm/s"),
        spacing("Ⅳ 40.5 less 5e-8", "Ⅳ级围岩", "40.49999995", "不属于", "Ⅳ级B'≥40.5", "-", "-"),
        spacing("Ⅳ 40.5", "Ⅳ级围岩", "40.5", "不属于", "Ⅳ级B'≥40.5", "-", "-"),
        // Class Ⅲ: bands at 6.075 and 12.15, limit 32.4.
        spacing("Ⅲ 6.075", "Ⅲ级围岩", "6.075", "属于", "Ⅲ级B'<32.4", "严重影响", "80-100mm/s"),
        spacing("Ⅲ 12.15", "Ⅲ级围岩", "12.15", "属于", "Ⅲ级B'<32.4", "一般影响", "100-120mm/s"),
        spacing("Ⅲ 32", "Ⅲ级围岩", "32", "属于", "Ⅲ级B'<32.4", "轻微影响", "150-200mm/s"),
        spacing("Ⅲ 32.4", "Ⅲ级围岩", "32.4", "不属于", "Ⅲ级B'≥32.4", "-", "-"),
        // Class V: bands at 12.15 and 24.3, limit 56.7.
        spacing("V 12.15", "V级围岩", "12.15", "属于", "V级B'<56.7", "严重影响", "<50mm/s"),
        spacing("V 24.3", "V级围岩", "24.3", "属于", "V级B'<56.7", "一般影响", "50-80mm/s"),
        spacing("V 24.3 and 2e-7", "V级围岩", "24.3000002", "属于", "V级B'<56.7", "轻微影响", "80-100mm/s"),
        spacing("V 56.7 less 5e-8", "V级围岩", "56.69999995", "不属于", "V级B'≥56.7", "-", "-"),
        // Classes without bands; the limit is written with "%.13g" (1.5 × 16.2 is 24.299999999999997).
        spacing("I 16.2 less 2e-7", "I级围岩", "16.1999998", "属于", "I级B'<16.2", "-", "-"),
        spacing("I 20", "I级围岩", "20", "不属于", "I级B'≥16.2", "-", "-"),
        spacing("Ⅱ 10", "Ⅱ级围岩", "10", "属于", "Ⅱ级B'<24.3", "-", "-"),
        spacing("Ⅱ 24.3", "Ⅱ级围岩", "24.3", "不属于", "Ⅱ级B'≥24.3", "-", "-"),
        spacing("Ⅵ 60", "Ⅵ级围岩", "60", "属于", "Ⅵ级B'<64.8", "-", "-"),
        spacing("Ⅵ 64.8", "Ⅵ级围岩", "64.8", "不属于", "Ⅵ级B'≥64.8", "-", "-"),
        // A pillar or span that is no usable number judges nothing.
        spacing("Ⅳ infinite pillar", "Ⅳ级围岩", "1e999", "-", "-", "-", "-"),
        spacing("Ⅳ pillar -0", "Ⅳ级围岩", "-0", "-", "-", "-", "-"),
        spacing("Ⅳ negative pillar", "Ⅳ级围岩", "-8.1", "-", "-", "-", "-"),
        spacing("Ⅳ infinite span", "Ⅳ级围岩", "21.5", "-", "-", "-", "-", "1e999"),
        spacing("Ⅳ empty span", "Ⅳ级围岩", "21.5", "-", "-", "-", "-", ""),
        spacing("Ⅱ infinite pillar", "Ⅱ级围岩", "1e999", "-", "-", "-", "-"),
    });
}

TEST(TunnelEvaluation, StaggerAndBreakThrough)
{
    const char* const stagger = "编辑框1_错开距离";
    const char* const through = "编辑框1_隧道双向贯通控制距离";
    check({
        {"no layout", {}, {{stagger, "≥32.4m"}, {through, "-"}}},
        {"single bore", {{"单选框1_单洞隧道", kSelect}}, {{stagger, "≥32.4m"}, {through, "-"}}},
        {"multi-arch", {{"单选框1_连拱隧道", kSelect}, {B, "10.25"}}, {{stagger, "≥20.5m"}, {through, "-"}}},
        {"separated", {{kSeparated, kSelect}}, {{stagger, "≥32.4m"}, {through, "15-30m时，改为单向开挖"}}},
        {"empty span", {{B, ""}}, {{stagger, kNone}}},
    });
}

TEST(TunnelEvaluation, DisplacementLevel)
{
    struct Row {
        const char* name;
        const char* limit; // U'
        const char* U;
        const char* level;
        const char* state;
        int32_t color;
    };
    const char* const III = "Ⅲ级";
    const char* const II = "Ⅱ级";
    const char* const I = "I级";
    const Row table[] = {
        {"U' 150, U 49.9", "150", "49.9", III, "可正常施工", kGreen},
        {"U' 150, U 50 less 2e-7", "150", "49.9999998", III, "可正常施工", kGreen},
        {"U' 150, U 50 less 5e-8", "150", "49.99999995", II, "应加强支护", kYellow},
        {"U' 150, U 50", "150", "50", II, "应加强支护", kYellow},
        {"U' 150, U 100", "150", "100", II, "应加强支护", kYellow},
        {"U' 150, U 100 and 5e-8", "150", "100.00000005", II, "应加强支护", kYellow},
        {"U' 150, U 100 and 2e-7", "150", "100.0000002", I, "应采取特殊措施", kRed},
        {"U' 150, U 100.5", "150", "100.5", I, "应采取特殊措施", kRed},
        {"U' 150, U 5e-8", "150", "0.00000005", III, "可正常施工", kGreen},
        // A measured 0 is a reading: nothing has moved yet.
        {"U 0", "150", "0", III, "可正常施工", kGreen},
        // No limit or no measurement, no level: "-" in black on the box's own
        // background, nothing green and no alarm. "-0" is no reading.
        {"U' empty", "", "35", "-", "-", kBlack},
        {"U' 0", "0", "35", "-", "-", kBlack},
        {"U' -0", "-0", "35", "-", "-", kBlack},
        {"U' negative", "-150", "35", "-", "-", kBlack},
        {"U' infinite", "1e999", "35", "-", "-", kBlack},
        {"U' not a number", "abc", "35", "-", "-", kBlack},
        {"U empty", "150", "", "-", "-", kBlack},
        {"U -0", "150", "-0", "-", "-", kBlack},
        {"U 5e-8 below 0", "150", "-0.00000005", "-", "-", kBlack},
        {"U shown as -", "150", "-", "-", "-", kBlack},
        {"U infinite", "150", "1e999", "-", "-", kBlack},
        {"U negative", "150", "-35", "-", "-", kBlack},
        {"U 2e-7 below 0", "150", "-0.0000002", "-", "-", kBlack},
        {"both infinite", "1e999", "1e999", "-", "-", kBlack},
    };
    Program p;
    for (const Row& r : table) {
        SCOPED_TRACE(r.name);
        p.reload();
        p.set(kDesign, ""); // U' as given
        p.set(kLimit, r.limit);
        p.set("编辑框1_实测位移值", r.U);
        p.compute();
        EXPECT_EQ(p.text("编辑框1_位移管理等级"), r.level);
        EXPECT_EQ(p.text("编辑框1_施工状态"), r.state);
        EXPECT_EQ(p.text_color("编辑框1_位移管理等级"), r.color);
        EXPECT_EQ(p.text_color("编辑框1_施工状态"), r.color);
        const int32_t back = std::string(r.level) == "-" ? kButtonFaceColour : kBlack;
        EXPECT_EQ(p.back_color("编辑框1_位移管理等级"), back);
        EXPECT_EQ(p.back_color("编辑框1_施工状态"), back);
        for (const char* verdict : {"编辑框1_围岩稳定状态判断2", "编辑框1_围岩稳定状态判断3"})
            EXPECT_EQ(p.back_color(verdict), kBlack) << verdict;
    }
}

TEST(TunnelEvaluation, StabilityVerdictsFromTheLists)
{
    struct Row {
        const char* list;
        const char* item;
        const char* box;
        const char* text;
        int32_t color;
    };
    const char* const trend = "组合框1_位移速率变化趋势判断";
    const char* const ratio = "组合框1_稳定判断3";
    const char* const v2 = "编辑框1_围岩稳定状态判断2";
    const char* const v3 = "编辑框1_围岩稳定状态判断3";
    const Row table[] = {
        {trend, "持续下降时", v2, "围岩处于稳定状态", kGreen},
        {trend, "保持不变时", v2, "围岩尚不稳定 ,应加强支护", kYellow},
        {trend, "变化上升时", v2, "围岩处于危险状态 ,必须立即停止掘进 ,采取应急措施", kRed},
        {ratio, "＜0.8时", v3, "围岩处于稳定状态", kGreen},
        {ratio, "≥0.8时", v3, "围岩不稳定 ,应加强支护", kYellow},
    };
    Program p;
    for (const Row& r : table) {
        SCOPED_TRACE(r.item);
        p.reload();
        p.set(r.list, r.item);
        p.compute();
        EXPECT_EQ(p.text(r.box), r.text);
        EXPECT_EQ(p.text_color(r.box), r.color);
        EXPECT_EQ(p.back_color(r.box), kBlack);
    }
}

// The trend list's empty item judges nothing: the earlier verdict and its
// colour go, "-" stands in black on the box's own background.
TEST(TunnelEvaluation, EmptyTrendShowsNoVerdict)
{
    Program p;
    const char* const v2 = "编辑框1_围岩稳定状态判断2";
    p.set("组合框1_位移速率变化趋势判断", "");
    p.compute();
    EXPECT_EQ(p.text(v2), "-");
    EXPECT_EQ(p.text_color(v2), kBlack);
    EXPECT_EQ(p.back_color(v2), kButtonFaceColour);

    for (const char* earlier : {"变化上升时", "持续下降时"}) {
        SCOPED_TRACE(earlier);
        p.set("组合框1_位移速率变化趋势判断", earlier);
        p.compute();
        ASSERT_EQ(p.back_color(v2), kBlack);
        p.set("组合框1_位移速率变化趋势判断", "");
        p.compute();
        EXPECT_EQ(p.text(v2), "-");
        EXPECT_EQ(p.text_color(v2), kBlack);
        EXPECT_EQ(p.back_color(v2), kButtonFaceColour);
    }
}

// A measurement taken away after a green level: the level and the state go
// to "-" with the green, while the other verdicts keep theirs.
TEST(TunnelEvaluation, NoMeasurementAfterAGreenLevelLeavesNoGreen)
{
    Program p;
    p.compute();
    ASSERT_EQ(p.text("编辑框1_施工状态"), "可正常施工");
    ASSERT_EQ(p.text_color("编辑框1_施工状态"), kGreen);
    p.set("编辑框1_实测位移值", "");
    p.compute();
    for (const char* box : {"编辑框1_位移管理等级", "编辑框1_施工状态"}) {
        EXPECT_EQ(p.text(box), "-") << box;
        EXPECT_EQ(p.text_color(box), kBlack) << box;
        EXPECT_EQ(p.back_color(box), kButtonFaceColour) << box;
    }
    EXPECT_EQ(p.text("编辑框1_围岩稳定状态判断2"), "围岩处于稳定状态");
    EXPECT_EQ(p.text_color("编辑框1_围岩稳定状态判断2"), kGreen);
    // Measured again, the level comes back on black.
    p.set("编辑框1_实测位移值", "35");
    p.compute();
    EXPECT_EQ(p.text("编辑框1_位移管理等级"), "Ⅲ级");
    EXPECT_EQ(p.back_color("编辑框1_位移管理等级"), kBlack);
}

TEST(TunnelEvaluation, ControlDistances)
{
    const char* const length = "编辑框1_拱单次开挖长度控制距离";
    const char* const invert = "编辑框1_仰拱至掌子面的控制距离";
    const char* const lining = "编辑框1_二衬至掌子面的距离控制";
    const char* const limited = " 不大于3.0m且不得分幅";
    check({
        {"I", {{kRock, "I级围岩"}}, {{length, "-"}, {invert, "-"}, {lining, "-"}}},
        {"Ⅱ", {{kRock, "Ⅱ级围岩"}}, {{length, "-"}, {invert, "-"}, {lining, "-"}}},
        {"Ⅲ", {{kRock, "Ⅲ级围岩"}}, {{length, "-"}, {invert, "不超过90m"}, {lining, "-"}}},
        {"Ⅳ", {{kRock, "Ⅳ级围岩"}}, {{length, limited}, {invert, "不超过50m"}, {lining, "不超过90m"}}},
        {"V", {{kRock, "V级围岩"}}, {{length, limited}, {invert, "不超过40m"}, {lining, "不超过70m"}}},
        {"Ⅵ", {{kRock, "Ⅵ级围岩"}}, {{length, limited}, {invert, "-"}, {lining, "-"}}},
        {"empty class", {{kRock, ""}}, {{length, kNone}, {invert, kNone}, {lining, kNone}}},
    });
}

// --- shallow-depth boundary, monitoring, collapse, self-stability, sketches ----------------------------

const char* const H = "编辑框1_隧道开挖高度";
const char* const kCover = "编辑框1_浅埋段覆土层厚";
const char* const kBoundary = "编辑框1_浅埋隧道分界深度";
const char* const kVerdict = "编辑框1_浅埋隧道判定";
const char* const kAcross = "编辑框1_横向检测范围";
const char* const kAlong = "编辑框1_纵向检测范围";

TEST(TunnelEvaluation, ShallowDepthBoundary)
{
    const char* const na = "公式不适用";
    check({
        {"Ⅳ defaults", {}, {{kBoundary, "19.08"}, {kVerdict, "浅埋隧道"}}},
        {"V defaults", {{kRock, "V级围岩"}}, {{kBoundary, "38.16"}, {kVerdict, "浅埋隧道"}}},
        {"Ⅵ defaults", {{kRock, "Ⅵ级围岩"}}, {{kBoundary, "76.32"}, {kVerdict, "浅埋隧道"}}},
        {"V, h' 40", {{kRock, "V级围岩"}, {kCover, "40"}}, {{kBoundary, "38.16"}, {kVerdict, "深埋隧道"}}},
        {"I", {{kRock, "I级围岩"}}, {{kBoundary, na}, {kVerdict, kNone}}},
        {"Ⅱ", {{kRock, "Ⅱ级围岩"}}, {{kBoundary, na}, {kVerdict, kNone}}},
        {"Ⅲ", {{kRock, "Ⅲ级围岩"}}, {{kBoundary, na}, {kVerdict, kNone}}},
        {"empty class", {{kRock, ""}}, {{kBoundary, na}, {kVerdict, kNone}}},
        // The pressure rate 0.1 from B 5 on, 0.2 below.
        {"Ⅳ B 5", {{B, "5"}, {H, "5"}}, {{kBoundary, "9"}, {kVerdict, "深埋隧道"}}},
        {"V B 4", {{kRock, "V级围岩"}, {B, "4"}, {H, "5"}}, {{kBoundary, "14.4"}, {kVerdict, "深埋隧道"}}},
        // Hp is the least cover of a deep tunnel, shown rounded up: 8.864999998
        // (the single-precision rate 0.2) is 8.87, and 15.6105 is 15.62, so a
        // cover of 15.6103 m, within the boundary, is judged shallow.
        {"Ⅳ B 4.925", {{B, "4.925"}, {H, "5"}}, {{kBoundary, "8.87"}}},
        {"Ⅳ B 12.345", {{B, "12.345"}, {kCover, "15.6103"}}, {{kBoundary, "15.62"}, {kVerdict, "浅埋隧道"}}},
        {"Ⅳ B 12.345, cover beyond", {{B, "12.345"}, {kCover, "15.63"}}, {{kBoundary, "15.62"}, {kVerdict, "深埋隧道"}}},
        // H / B from 1.7 on: no formula.
        {"H/B 1.7", {{H, "17"}, {B, "10"}}, {{kBoundary, na}, {kVerdict, kNone}}},
        {"H/B 1.7 less 5e-8", {{H, "16.9999995"}, {B, "10"}}, {{kBoundary, na}, {kVerdict, kNone}}},
        {"H/B 1.7 less 2e-7", {{H, "16.999998"}, {B, "10"}}, {{kBoundary, "13.5"}, {kVerdict, "深埋隧道"}}},
        // Without a usable span or height: no Hp and no verdict.
        {"empty B", {{B, ""}}, {{kBoundary, kNone}, {kVerdict, kNone}}},
        {"empty B and H", {{B, ""}, {H, ""}}, {{kBoundary, kNone}, {kVerdict, kNone}}},
        {"H -0", {{H, "-0"}}, {{kBoundary, kNone}, {kVerdict, kNone}}},
        {"B negative", {{B, "-16.2"}}, {{kBoundary, kNone}, {kVerdict, kNone}}},
        // h' against the shown Hp 19.08 (19.0800002 worked with the
        // single-precision rate 0.1: no centimetre more).
        {"h' 19.08", {{kCover, "19.08"}}, {{kVerdict, "浅埋隧道"}}},
        {"h' 19.08 and 5e-8", {{kCover, "19.08000005"}}, {{kVerdict, "浅埋隧道"}}},
        {"h' 19.08 and 2e-7", {{kCover, "19.0800002"}}, {{kVerdict, "深埋隧道"}}},
        {"h' 19.1", {{kCover, "19.1"}}, {{kVerdict, "深埋隧道"}}},
        // A cover of 0 is a number; an empty one (a typed 0 shows empty) or
        // one that is no usable number judges nothing.
        {"h' 0", {{kCover, "0"}}, {{kVerdict, "浅埋隧道"}}},
        {"h' empty", {{kCover, ""}}, {{kBoundary, "19.08"}, {kVerdict, kNone}}},
        {"h' -0", {{kCover, "-0"}}, {{kBoundary, "19.08"}, {kVerdict, kNone}}},
        {"infinite span", {{B, "1e999"}}, {{kBoundary, kNone}, {kVerdict, kNone}}},
        {"infinite cover", {{kCover, "1e999"}}, {{kBoundary, "19.08"}, {kVerdict, kNone}}},
    });
}

TEST(TunnelEvaluation, MonitoringRanges)
{
    check({
        {"shallow: 1.5 × (B/2 + H + h0) and 1.5 × (H + h0)", {}, {{kAcross, "157.35"}, {kAlong, "145.2"}}},
        {"shallow, other sizes", {{B, "10"}, {H, "5"}, {"编辑框1_隧道埋深", "20"}, {kCover, "10"}},
         {{kVerdict, "浅埋隧道"}, {kAcross, "45"}, {kAlong, "37.5"}}},
        {"shallow, not rounded", {{"编辑框1_隧道埋深", "86.123456789"}},
         {{kAcross, "157.5351851835"}, {kAlong, "145.3851851835"}}},
        {"deep", {{kCover, "19.1"}}, {{kAcross, "-"}, {kAlong, "-"}}},
        {"no formula", {{kRock, "Ⅲ级围岩"}}, {{kAcross, "-"}, {kAlong, "-"}}},
        {"infinite span", {{B, "1e999"}}, {{kAcross, "-"}, {kAlong, "-"}}},
        {"no verdict", {{kCover, ""}}, {{kAcross, "-"}, {kAlong, "-"}}},
        {"depth not usable", {{"编辑框1_隧道埋深", "-0"}}, {{kVerdict, "浅埋隧道"}, {kAcross, "-"}, {kAlong, "-"}}},
    });
}

// Without a boundary depth the verdict of an earlier calculation goes, and
// the ranges with it.
TEST(TunnelEvaluation, NoFormulaDashesTheEarlierVerdictAndTheRanges)
{
    Program p;
    p.compute();
    ASSERT_EQ(p.text(kVerdict), "浅埋隧道");
    p.set(kRock, "Ⅲ级围岩");
    p.compute();
    EXPECT_EQ(p.text(kBoundary), "公式不适用");
    EXPECT_EQ(p.text(kVerdict), "-");
    EXPECT_EQ(p.text(kAcross), "-");
    EXPECT_EQ(p.text(kAlong), "-");
}

TEST(TunnelEvaluation, CollapseScale)
{
    const char* const V = "编辑框1_塌方体积";
    const char* const h = "编辑框1_塌方高度";
    const char* const scale = "编辑框1_塌方规模判定";
    check({
        {"13, 2.5", {{V, "13"}, {h, "2.5"}}, {{scale, "小塌方"}}},
        // Both sizes must be known.
        {"empty", {{V, ""}, {h, ""}}, {{scale, kNone}}},
        {"V empty", {{V, ""}, {h, "7"}}, {{scale, kNone}}},
        {"h -0", {{V, "150"}, {h, "-0"}}, {{scale, kNone}}},
        {"V 30 less 2e-7", {{V, "29.9999998"}, {h, "2"}}, {{scale, "小塌方"}}},
        {"V 30 less 5e-8", {{V, "29.99999995"}, {h, "2"}}, {{scale, "中塌方"}}},
        {"V 30, h 2", {{V, "30"}, {h, "2"}}, {{scale, "中塌方"}}},
        {"V 100 less 2e-7", {{V, "99.9999998"}, {h, "1"}}, {{scale, "中塌方"}}},
        {"V 100, h 1", {{V, "100"}, {h, "1"}}, {{scale, "大塌方"}}},
        {"h 3 less 2e-7", {{V, "20"}, {h, "2.9999998"}}, {{scale, "小塌方"}}},
        {"h 3 less 5e-8", {{V, "20"}, {h, "2.99999995"}}, {{scale, "中塌方"}}},
        {"h 6 less 2e-7", {{V, "20"}, {h, "5.9999998"}}, {{scale, "中塌方"}}},
        {"V 20, h 6", {{V, "20"}, {h, "6"}}, {{scale, "大塌方"}}},
        // The larger of the two classes wins.
        {"V 150, h 1", {{V, "150"}, {h, "1"}}, {{scale, "大塌方"}}},
        {"V 50, h 7", {{V, "50"}, {h, "7"}}, {{scale, "大塌方"}}},
        {"V 10, h 4", {{V, "10"}, {h, "4"}}, {{scale, "中塌方"}}},
    });
}

TEST(TunnelEvaluation, SelfStability)
{
    const char* const out = "编辑框1_围岩自稳能力";
    const char* const IV = "Ⅳ级B≥ 5m,一般无自稳定能力，定数日-数月内可发生松动变形、小塌方，进而发展为中~大塌方\r\n"
                           "埋深小时，以拱部松动破坏为主，埋深大时，有明显塑性流动变形和挤压破坏";
    const char* const III_10_20 = "Ⅲ级10<B≤20m,可稳定数日-1个月，可发生小~中塌方";
    check({
        {"I 20", {{kRock, "I级围岩"}, {B, "20"}}, {{out, "I级≤20m,可长期稳定，偶有掉块，无塌方"}}},
        // The span is read in single precision: 20.0000002 is 20 there.
        {"I 20 and 2e-7", {{kRock, "I级围岩"}, {B, "20.0000002"}}, {{out, "I级≤20m,可长期稳定，偶有掉块，无塌方"}}},
        {"I 20 and 2e-6", {{kRock, "I级围岩"}, {B, "20.000002"}}, {{out, "I级B＞ 20m,超出宽度范围,无相关统计值！"}}},
        {"Ⅱ 10", {{kRock, "Ⅱ级围岩"}, {B, "10"}}, {{out, "Ⅱ级B≤10m,可长期稳定，偶有掉块"}}},
        {"Ⅱ 10 and 1e-6", {{kRock, "Ⅱ级围岩"}, {B, "10.000001"}}, {{out, "Ⅱ级10<B≤20m,可稳定数日-1个月，可发生小~中塌方"}}},
        {"Ⅱ 20", {{kRock, "Ⅱ级围岩"}, {B, "20"}}, {{out, "Ⅱ级10<B≤20m,可稳定数日-1个月，可发生小~中塌方"}}},
        {"Ⅱ 25", {{kRock, "Ⅱ级围岩"}, {B, "25"}}, {{out, "Ⅱ级B＞ 20m,超出宽度范围,无相关统计值！"}}},
        {"Ⅲ 5", {{kRock, "Ⅲ级围岩"}, {B, "5"}}, {{out, "Ⅲ级B≤5m,可基本稳定"}}},
        {"Ⅲ 10", {{kRock, "Ⅲ级围岩"}, {B, "10"}}, {{out, "Ⅲ级5<B≤10m,可稳定数月，可发生局部块位移及小~中塌方"}}},
        {"Ⅲ 15", {{kRock, "Ⅲ级围岩"}, {B, "15"}}, {{out, III_10_20}}},
        {"Ⅲ 20 and 2e-7", {{kRock, "Ⅲ级围岩"}, {B, "20.0000002"}}, {{out, III_10_20}}},
        {"Ⅲ 25", {{kRock, "Ⅲ级围岩"}, {B, "25"}}, {{out, "Ⅲ级B＞20m,超出宽度范围,无相关统计值！"}}},
        {"Ⅳ 5", {{kRock, "Ⅳ级围岩"}, {B, "5"}}, {{out, IV}}},
        // 4.9999999 is 5 in single precision.
        {"Ⅳ 5 less 1e-7", {{kRock, "Ⅳ级围岩"}, {B, "4.9999999"}}, {{out, IV}}},
        {"Ⅳ 4.999", {{kRock, "Ⅳ级围岩"}, {B, "4.999"}}, {{out, "Ⅳ级＜ 5m,可稳定数日至一个月"}}},
        {"V 4", {{kRock, "V级围岩"}, {B, "4"}}, {{out, "V级＜ 5m,无自稳能力，可稳定数日"}}},
        {"V 5", {{kRock, "V级围岩"}, {B, "5"}}, {{out, "V级B≥ 5m,超出宽度范围,无相关统计值！"}}},
        {"Ⅵ 0.1", {{kRock, "Ⅵ级围岩"}, {B, "0.1"}}, {{out, "无自稳能力"}}},
        // No text from a width that means nothing, whatever the class.
        {"Ⅳ empty", {{kRock, "Ⅳ级围岩"}, {B, ""}}, {{out, kNone}}},
        {"Ⅳ -12", {{kRock, "Ⅳ级围岩"}, {B, "-12"}}, {{out, kNone}}},
        {"Ⅵ empty", {{kRock, "Ⅵ级围岩"}, {B, ""}}, {{out, kNone}}},
        {"Ⅵ 100", {{kRock, "Ⅵ级围岩"}, {B, "100"}}, {{out, "无自稳能力"}}},
        {"empty class", {{kRock, ""}}, {{out, kNone}}},
    });
}

TEST(TunnelEvaluation, SketchSpacing)
{
    const char* const out = "编辑框1_素描剖面图绘制间距";
    check({
        {"I", {{kRock, "I级围岩"}}, {{out, "80~120m"}}},
        {"Ⅱ", {{kRock, "Ⅱ级围岩"}}, {{out, "50~80m"}}},
        {"Ⅲ", {{kRock, "Ⅲ级围岩"}}, {{out, "40~50m"}}},
        {"Ⅳ", {{kRock, "Ⅳ级围岩"}}, {{out, "15~25m"}}},
        {"V", {{kRock, "V级围岩"}}, {{out, "10~15m"}}},
        {"Ⅵ", {{kRock, "Ⅵ级围岩"}}, {{out, "5~10m"}}},
        {"empty class", {{kRock, ""}}, {{out, kNone}}},
    });
}

// --- inputs that mean nothing -----------------------------------------------------------------

// Each number the rules read, at the edges of its domain, with separated
// bores (so the pillar counts): every result built on it shows "-" (an
// earlier result does not stand), a verdict box shows it in black on its
// own background, and what does not depend on it is still evaluated.
TEST(TunnelEvaluation, NoClassOrVerdictFromAnInputThatMeansNothing)
{
    const char* const level = "编辑框1_位移管理等级";
    const char* const state = "编辑框1_施工状态";
    const std::vector<const char*> span_results = {
        "编辑框1_判定隧道开挖宽度", kSpacing, kSpacingLimit, kInfluence, kSpeed, "编辑框1_错开距离",
        kBoundary, kVerdict, kAcross, kAlong, "编辑框1_围岩自稳能力"};
    const struct {
        const char* box;
        bool zero_allowed;
        std::vector<const char*> built_on_it;
    } inputs[] = {
        {S, false, {kArea}},
        {L, false, {kLength, "编辑框1_平面控制测量等级", "编辑框1_高程控制测量等级"}},
        {B, false, span_results},
        {H, false, {kBoundary, kVerdict, kAcross, kAlong}},
        {kPillar, false, {kSpacing, kSpacingLimit, kInfluence, kSpeed}},
        {"编辑框1_隧道埋深", false, {kAcross, kAlong}},
        {kCover, true, {kVerdict, kAcross, kAlong}},
        {kDesign, false, {"编辑框1_预留变形量", level, state}},
        {kLimit, false, {level, state}},
        {"编辑框1_实测位移值", true, {level, state}},
        {"编辑框1_塌方体积", false, {"编辑框1_塌方规模判定"}},
        {"编辑框1_塌方高度", false, {"编辑框1_塌方规模判定"}},
    };
    // Evaluated whatever the numbers: the gas limit, the sketch spacing and
    // the break-through distance of separated bores.
    const std::pair<const char*, const char*> independent[] = {
        {"编辑框1_瓦斯浓度", "≤0.5%"}, {"编辑框1_素描剖面图绘制间距", "15~25m"}, {"编辑框1_隧道双向贯通控制距离", "15-30m时，改为单向开挖"}};
    Program p;
    for (const auto& in : inputs) {
        std::vector<std::string> edges = {"-0", "-12", "abc", "-", "1e999"};
        if (std::string(in.box) != kDesign) edges.push_back(""); // an empty design deformation takes the table
        if (!in.zero_allowed) edges.push_back("0");
        for (const std::string& edge : edges) {
            SCOPED_TRACE(std::string(in.box) + " \"" + edge + "\"");
            p.reload();
            p.set(kSeparated, kSelect);
            if (std::string(in.box) == kLimit) p.set(kDesign, ""); // U' as given
            p.set(in.box, edge);
            for (const char* out : in.built_on_it) set_control_text(U(kForm, out), kEarlier);
            p.compute();
            for (const char* out : in.built_on_it) EXPECT_EQ(p.text(out), "-") << out;
            for (const char* verdict : {level, state})
                if (std::find(in.built_on_it.begin(), in.built_on_it.end(), std::string_view(verdict)) !=
                    in.built_on_it.end()) {
                    EXPECT_EQ(p.text_color(verdict), kBlack) << verdict;
                    EXPECT_EQ(p.back_color(verdict), kButtonFaceColour) << verdict;
                }
            for (const auto& [out, text] : independent) EXPECT_EQ(p.text(out), text) << out;
        }
    }
}

// --- the compute frame, the layouts and the diagram viewer --------------------------------------------

TEST(TunnelEvaluation, ComputeFramePausesBeforeEvaluating)
{
    Program p;
    p.rt.user_click(p.rt.unit("main", "图形按钮1_声音开关"));
    ASSERT_TRUE(app::sound_on());
    p.set(kSeparated, kSelect);
    const int64_t start = p.backend.elapsed();
    p.backend.recording = true;
    p.compute();
    using T = std::vector<std::pair<int64_t, std::string>>;
    const std::string pressed = app::res::compute_pressed;
    EXPECT_EQ(p.backend.trail, (T{
                                   {start, std::string("lamp ") + app::res::lamp_busy},
                                   {start, std::string("diagram ") + tunnel_evaluation::kDiagramStart},
                                   {start, "button " + pressed},
                                   {start, "hover " + pressed},
                                   {start, std::string("sound ") + app::res::sound_click},
                                   {start, std::string("sound ") + app::res::sound_compute},
                                   {start + 600, "first result"},
                                   {start + 600, std::string("button ") + app::res::compute_normal},
                                   {start + 600, std::string("hover ") + app::res::compute_hover},
                                   {start + 600, std::string("lamp ") + app::res::lamp_idle},
                               }));
}

TEST(TunnelEvaluation, SilentWithTheSoundSwitchOff)
{
    Program p;
    ASSERT_FALSE(app::sound_on());
    p.backend.sounds.clear();
    p.compute();
    EXPECT_TRUE(p.backend.sounds.empty());
    EXPECT_EQ(p.picture(kForm, "图形按钮_计算"), app::res::compute_normal);
    EXPECT_EQ(p.picture("main", "图片框1_呼吸灯"), app::res::lamp_idle);
}

TEST(TunnelEvaluation, LayoutRadiosSetThePillarBoxAndTheDiagram)
{
    struct Row {
        const char* radio;
        bool pillar_disabled;
        const char* diagram;
    };
    const Row table[] = {
        {"单选框1_单洞隧道", true, tunnel_evaluation::kDiagramSingleBore},
        {"单选框1_连拱隧道", true, tunnel_evaluation::kDiagramMultiArch},
        {kSeparated, false, tunnel_evaluation::kDiagramSeparated},
    };
    Program p;
    // Every order of one radio after another, from each state.
    for (const Row& before : table) {
        for (const Row& r : table) {
            SCOPED_TRACE(std::string(before.radio) + " then " + r.radio);
            p.set(before.radio, kSelect);
            p.set(r.radio, kSelect);
            EXPECT_TRUE(p.selected(r.radio));
            EXPECT_EQ(p.disabled(kPillar), r.pillar_disabled);
            EXPECT_EQ(p.picture(kForm, "图片框1"), r.diagram);
            EXPECT_EQ(p.text(kPillar), "21.5"); // a disabled box keeps its text
        }
    }
    // The viewer is never opened by a radio.
    EXPECT_EQ(p.rt.form("viewer"), nullptr);
}

TEST(TunnelEvaluation, DiagramViewerFollowsTheLayoutButNotACompute)
{
    Program p;
    p.set(kSeparated, kSelect);
    p.rt.user_click(p.c("图形按钮1_打开图片窗口"));
    ASSERT_NE(p.rt.form("viewer"), nullptr);
    EXPECT_EQ(p.picture("viewer", "图片框1"), tunnel_evaluation::kDiagramSeparated);

    p.set("单选框1_连拱隧道", kSelect);
    EXPECT_EQ(p.picture("viewer", "图片框1"), tunnel_evaluation::kDiagramMultiArch);

    // A compute puts the starting diagram back in the form only.
    p.compute();
    EXPECT_EQ(p.picture(kForm, "图片框1"), tunnel_evaluation::kDiagramStart);
    EXPECT_EQ(p.picture("viewer", "图片框1"), tunnel_evaluation::kDiagramMultiArch);

    // Pressed again, the button only refreshes the picture: the viewer keeps its size.
    p.rt.set(p.rt.unit("viewer", ""), prop::Width, 640);
    p.rt.set(p.rt.unit("viewer", ""), prop::Height, 480);
    p.rt.user_click(p.c("图形按钮1_打开图片窗口"));
    EXPECT_EQ(p.picture("viewer", "图片框1"), tunnel_evaluation::kDiagramStart);
    EXPECT_EQ(p.rt.get(p.rt.unit("viewer", ""), prop::Width).integer(), 640);
    EXPECT_EQ(p.rt.get(p.rt.unit("viewer", ""), prop::Height).integer(), 480);
}

} // namespace

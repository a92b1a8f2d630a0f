// The tunnel evaluation form's handlers and its classification tables: area,
// length and span classes, survey grades, gas limit and method scope.
#include "modules/excavation/tunnel_evaluation.h"

#include "app/module_forms.h"
#include "app/registry.h"
#include "app/shell.h"
#include "modules/excavation/tunnel_evaluation_rules.h"
#include "ui/cmd.h"

namespace tunnel_evaluation {

using namespace ui;

namespace {

constexpr const char* kViewer = "viewer";
constexpr const char* kDiagramBox = "图片框1";
constexpr const char* kPillarBox = "编辑框1_两洞中岩柱净距";

// --- classification tables ----------------------------------------------------------

// S, m², into 编辑框1_按面积分类; below 2 m² no class ("-").
constexpr RangeRule kAreaClass[] = {
    {{ge(2), le(3)}, "极小断面隧道"},
    {{gt(3), le(10)}, "小断面隧道"},
    {{gt(10), le(50)}, "中等断面隧道"},
    {{gt(50), le(100)}, "大断面隧道"},
    {{gt(100), any}, "特大断面隧道"},
};

// L, m, into 编辑框1_判定隧道长度: each class up to its bound, inclusive.
constexpr RangeRule kLengthClass[] = {
    {{gt(0), le(500)}, "短隧道"},
    {{gt(500), le(1000)}, "中长隧道"},
    {{gt(1000), le(3000)}, "长隧道"},
    {{gt(3000), any}, "特长隧道"},
};

// B, m, into 编辑框1_判定隧道开挖宽度: exclusive from 9 m, inclusive from 14 m and 18 m.
constexpr RangeRule kSpanClass[] = {
    {{gt(0), le(9)}, "小跨度隧道；单车道、服务车道 ,行车、行人横洞"},
    {{gt(9), lt(14)}, "中跨度隧道；单车道的错车带、双车道"},
    {{ge(14), lt(18)}, "大跨度隧道； 双车道的紧急停车带、三车道"},
    {{ge(18), any}, "超大跨度隧道；四车道 连拱隧道"},
};

// L, m: each grade from its lower bound, inclusive, to its upper bound, exclusive.
struct SurveyGrade {
    Range length;
    const char* plane; // 编辑框1_平面控制测量等级
    const char* height; // 编辑框1_高程控制测量等级
};
constexpr SurveyGrade kSurveyGrades[] = {
    {{gt(0), lt(1000)}, "一级", "四等"},
    {{ge(1000), lt(3000)}, "四等", "四等"},
    {{ge(3000), lt(6000)}, "三等", "三等"},
    {{ge(6000), any}, "二等", "二等"},
};

constexpr const char* kGasLimit = "≤0.5%";

constexpr const char* kSideDriftScope = "中壁法(CD法 )或交叉中壁法(CRD法 )适用于围岩较差、跨度大、浅埋、地表沉降需要控制的场合。";

// Item of 组合框1_开挖方法 into 编辑框2_开挖方法适用范围; lines joined by CR LF.
constexpr ItemRule kMethodScope[] = {
    {"全断面法",
     "全断面法可用于 I~Ⅲ 级围岩的中小跨度隧道 ,Ⅳ级围岩中跨度隧道和Ⅲ级围岩大跨度隧道在采用了有效的预加固措施后 ,"
     "也可采用全断面法开挖。对于邻近有建筑物需要控制爆破震动速度的隧道用全断面开挖时 ,"
     "可以选择导洞超前再全断面扩挖的方法施工,但应控制导洞超前距离"},
    {"台阶法",
     "台阶法可用于Ⅲ ~Ⅳ 级围岩的中小跨度隧道 ,Ⅴ级围岩的中小跨度隧道在采用了有效的预加固措施后亦可采用台阶法开挖。"
     "采用台阶法施工时应符合下列规定：\r\n"
     " 1、上台阶高度宜为25m,装渣机械应紧跟开挖面 ,减少扒渣距离。\r\n"
     " 2、控制上台阶钢架下沉和变形 ,可 采用扩大拱脚和加强锁脚锚杆,加设临时仰拱等措施\r\n"
     " 3、当岩体不稳定时 ,应缩短进尺 ,先施工边墙支护 ,后开挖中间土体 ,左右错开或拉中槽后再挖边帮 ,并及时施工仰拱。\r\n"
     " 4、 应解决好上、下部施工干扰问题 ,下部应减少对上部围岩、支护的干扰和破坏。\r\n"
     " 5、 台阶长度不宜超过隧道开挖的宽度的1.5倍。\r\n"
     " 6、上台阶每循环开挖进尺Ⅳ、Ⅴ级围岩不应大于榀钢架间距，Ⅳ级围岩不得大于2榀钢架间距。"},
    {"环形开挖留核心土法",
     "环形开挖留核心土法可用于Ⅳ ~Ⅴ级围岩或一般土质围岩的中小跨度隧道。开挖进尺宜为0.5~1.0m，"
     "核心土面积不小于整个断面面积的50%\r\n"
     "上台阶每循环开挖进尺Ⅳ、Ⅴ级围岩不应大于榀钢架间距，Ⅳ级围岩不得大于2榀钢架间距。"},
    {"中壁法(CD法)", kSideDriftScope},
    {"交叉中壁法(CRD法)", kSideDriftScope},
    {"双侧壁导坑法",
     "双侧壁导坑法适用于浅埋大跨度隧道及地表下沉量要求严格而围岩条件很差的情况\r\n"
     " 导坑形状应近似于椭圆形断面，导坑跨度宜为隧道跨度的1/3；左右导坑距离不宜小于15m；"
     "导坑与中间土体施工时，导坑应超前30-50m。"},
};

// --- layouts ------------------------------------------------------------------------

// What a layout radio selects: whether the pillar width applies, and its diagram.
struct Layout {
    const char* radio;
    bool pillar_disabled;
    const char* diagram;
};
constexpr Layout kLayouts[] = {
    {"单选框1_单洞隧道", true, kDiagramSingleBore},
    {"单选框1_连拱隧道", true, kDiagramMultiArch},
    {"单选框1_分离式隧道", false, kDiagramSeparated},
};

void show_diagram(const char* path) { rt_set_property(box(kDiagramBox), prop::PicBox::Picture, Blob{resource(path)}); }
Bytes shown_diagram() { return rt_get_property(box(kDiagramBox), prop::PicBox::Picture).bytes(); }

void show_start_diagram() { show_diagram(kDiagramStart); }

void TunnelEvaluationSelectLayout(EventArgs& e)
{
    if (!e.control) return;
    for (const Layout& layout : kLayouts) {
        if (e.control->name != layout.radio) continue;
        if (radio_selected(layout.radio)) {
            // A disabled pillar box keeps its text.
            rt_set_property(box(kPillarBox), prop::Disabled, layout.pillar_disabled);
            show_diagram(layout.diagram);
        }
    }
    // An open viewer follows the diagram; a closed one stays closed.
    if (cmd_is_created(U(kViewer)))
        rt_set_property(U(kViewer, "图片框1"), prop::PicBox::Picture, Blob{shown_diagram()});
}

void TunnelEvaluationShowDiagram(EventArgs&) { app::ShowDiagram(shown_diagram(), false); }

void TunnelEvaluationCompute(EventArgs&)
{
    const app::ComputeStyle style = app::compute_style(kForm);
    // The lamp goes busy before the starting diagram comes back, and only
    // then is the button pressed and the sounds start.
    app::ComputeStyle begin = style;
    begin.lamp = false;
    app::lamp_busy();
    show_start_diagram(); // an open viewer keeps what it shows
    app::compute_begin(kForm, begin);
    // This module pauses after the sounds and before evaluating, unlike the
    // shared frame's pause before the pictures are restored.
    cmd_sleep(500);
    cmd_sleep(100);
    calculate();
    app::compute_end(kForm, style);
}

void register_tunnel_evaluation(Runtime& rt)
{
    rt.register_handler("TunnelEvaluationSelectLayout", TunnelEvaluationSelectLayout);
    rt.register_handler("TunnelEvaluationShowDiagram", TunnelEvaluationShowDiagram);
    rt.register_handler("TunnelEvaluationCompute", TunnelEvaluationCompute);
}

} // namespace

JSB_HANDLERS(register_tunnel_evaluation)
// The shared Created handler puts the form into its frame; the starting
// diagram comes after.
JSB_MODULE_SETUP(TunnelEvaluation, show_start_diagram)

void classify()
{
    apply(kAreaClass, read_number("编辑框1_隧道开挖面积"), "编辑框1_按面积分类");
    apply(kLengthClass, read_number("编辑框1_隧道长度"), "编辑框1_判定隧道长度");
    apply(kSpanClass, read_number("编辑框1_隧道开挖宽度"), "编辑框1_判定隧道开挖宽度");
    // A length of 0 or less has no grade: both boxes show "-".
    const double L = read_number("编辑框1_隧道长度");
    bool graded = false;
    for (const SurveyGrade& row : kSurveyGrades)
        if (row.length.holds(L)) write_text("编辑框1_平面控制测量等级", row.plane), graded = true;
    if (!graded) write_text("编辑框1_平面控制测量等级", kNoResult);
    graded = false;
    for (const SurveyGrade& row : kSurveyGrades)
        if (row.length.holds(L)) write_text("编辑框1_高程控制测量等级", row.height), graded = true;
    if (!graded) write_text("编辑框1_高程控制测量等级", kNoResult);
    write_text("编辑框1_瓦斯浓度", kGasLimit);
    apply(kMethodScope, item_of("组合框1_开挖方法"), "编辑框2_开挖方法适用范围");
}

void calculate()
{
    classify();
    judge_deformation_and_stability();
    TunnelEvaluationShallowDepthBoundary();
    TunnelEvaluationClassifyCollapse();
    TunnelEvaluationSelfStabilityText();
    monitoring_ranges();
    TunnelEvaluationSketchSpacing();
}

} // namespace tunnel_evaluation

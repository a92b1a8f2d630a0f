// Balloon tips of the smooth-blasting form's input boxes: usual ranges,
// sources and suggested values. Attached once when the form is created; the
// suggested perimeter burden is the spacing in its box at that moment.
#include "modules/blast_design/smooth_blasting.h"

#include <string>
#include <utility>
#include <vector>

namespace blast_design {

using namespace ui;

namespace {

const char* const kSectionSizes = "国际隧道协会对隧道断面划分\r\n      超小断面 2-3m2\r\n      小断面 3-10m2\r\n"
                                  "      中等断面 10-50m2\r\n      大断面 50-100m2\r\n      超大断面 >100m2";
const char* const kAdvance = "开挖进尺范围一般0.5~3.5m范围";
const char* const kCutCountRest = "开挖面积≤20m2时，建议掏槽眼数量2~6个\r\n   开挖面积20~65m2时，建议掏槽眼数量6~16个\r\n"
                                  "   开挖面积65以上时，建议掏槽眼数量大于16个，掏槽眼数量随面积增大而增加。";
const char* const kClampFactor = "布眼数量经验系数, 系数增大辅助眼数量增加，反之减少\r\n上坑道常规取1.2;下坑道取值0.8\r\n"
                                 "断面面积>80m2系数值取1.0\r\n断面面积20~80m2时取1.2\r\n断面面积小于20m2时,建议取值1.4以上";
const char* const kChargeFactor = "经验数据,请参照单体耗药量查询填写\r\n"
                                  "隧道断面小于20m2时，建议按照---煤矿隧道小断面选取每立方米炸药耗用用量\r\n"
                                  "隧道面积大于20m2时，建议按照---公路、铁路隧道小断面选取药炸药耗用用量";
const char* const kPerimeterSpacing = "重要参数，根据《F.07-1.JTG T F60-2009公路隧道施工技术细则》，周边眼建议取值范围：\r\n"
                                      "    软岩周边眼间距E0.4~0.5m；\r\n    中硬岩 周边眼间距E0.4~0.5m；\r\n"
                                      "    硬岩石周边眼间距E0.6~0.7m";
const char* const kSuggestedBurden = "\r\n    建议周边眼最小抵抗线=";
const char* const kBurden = "最小抵抗线 V=E/0.8；建议最小抵抗线V=";
const char* const kLineCharge = "重要参数，根据《F.07-1.JTG T F60-2009公路隧道施工技术细则》，周边眼装药集中度建议取值范围：\r\n"
                                "    软岩周边眼装药集中度0.07~0.15kg/m；\r\n    中硬岩周边眼装药集中度 0.2~0.3kg/m；\r\n"
                                "    硬岩周边眼装药集中度 0.3~0.35kg/m";
const char* const kAuxSpacing = "辅助眼建议取值范围0.8m~1.2m";
const char* const kAuxBurden = "根据岩层属性取值，辅助眼建议取值范围0.8m~1.2m";
const char* const kBenchAuxSpacing = "辅助眼间距建议取值范围0.8m~1.2m";
const char* const kBenchAuxBurden = "辅助眼最小抵抗线建议取值范围0.8m~1.2m";
const char* const kBottomSpacing = "底板眼间距建议取值范围0.5m~1.2m";
const char* const kBottomBurden = "底板眼最小抵抗线建议取值范围0.6m~1.2m";
const char* const kStemming = "本软件为掏槽堵塞深度0.4m；周边眼、辅助眼、底板眼均为其最小抵抗线的1.0倍\r\n"
                              "根据F.07-1.JTG T F60-2009《公路隧道施工技术细则》P120页，现场试验和大量\r\n"
                              "爆破实践证明:堵塞长度一般不应小于最小抵抗线 (或排距),\r\n"
                              "通常为最小抵抗线的1.0~1.2倍;周边孔最小不得小于 400mm;\r\n"
                              "浅孔应将余孔全部堵塞,炮孔应当选用惯性大(密度大)、\r\n"
                              "易横向塑性变形并且摩擦系数大的材料堵塞 ,较好的材料为黏土：\r\n"
                              "沙子=2:1，含水量约为25%(即比较干硬、如砖坯泥状。";
const char* const kFloorLength = "指开挖轮廓线底板布置范围的弧线长度";
const char* const kFaceFactor = "炸药工作面系数随自由面增加而减小，下坑道取0.8m";

// The perimeter spacing in the box now, over 0.8, by the number-to-text rule.
std::string suggested_burden(const char* spacing_box)
{
    return cmd_to_text(cmd_to_number(rt_get_property(ctl(spacing_box), prop::EditBox::Content)) / 0.8);
}

} // namespace

void attach_tips()
{
    const std::string upper_burden = suggested_burden("编辑框1_周边眼间距E");
    const std::string circular_burden = suggested_burden("编辑框4_周边眼间距E");
    const std::vector<std::pair<const char*, std::string>> tips = {
        {"编辑框1_上台阶面积", kSectionSizes},
        {"编辑框4_隧道开挖面积", kSectionSizes},
        {"编辑框1_开挖循环进尺", kAdvance},
        {"编辑框2_开挖循环进尺", kAdvance},
        {"编辑框3_开挖循环进尺", kAdvance},
        {"编辑框4_开挖循环进尺", kAdvance},
        {"编辑框1_周边眼外弧长", "指开挖轮廓线周边眼布置范围的弧线长度。"},
        {"编辑框4_周边眼外周长", "指开挖轮廓线周边眼布置范围的弧线长度"},
        {"编辑框1_坑道开挖宽度", "指坑道开挖底板的宽度"},
        {"编辑框1_掏槽眼数量", std::string("   ") + kCutCountRest},
        {"编辑框4_掏槽眼数量", kCutCountRest},
        {"编辑框1_掏槽区作用高度", "掏槽眼布置区域的爆破作用高度，也指掏槽眼排距"},
        {"编辑框1_掏槽区作用长度", "掏槽眼布置区域的爆破作用宽度，也指掏槽眼布置区水平宽度"},
        {"编辑框1_岩石夹制力系数", kClampFactor},
        {"编辑框2_岩石夹制力系数", kClampFactor},
        {"编辑框3_岩石夹制力系数", kClampFactor},
        {"编辑框4_岩石夹制力系数", kClampFactor},
        {"编辑框1_单位体积岩体的耗药量", kChargeFactor},
        {"编辑框4_单位体积岩体的耗药量", kChargeFactor},
        {"编辑框1_周边眼间距E", std::string(kPerimeterSpacing) + kSuggestedBurden + upper_burden},
        {"编辑框2_周边眼间距E", std::string(kPerimeterSpacing) + "；"},
        {"编辑框4_周边眼间距E", std::string(kPerimeterSpacing) + "；" + kSuggestedBurden + circular_burden + "m"},
        {"编辑框1_周边眼最小抵抗线V", kBurden + upper_burden + "m"},
        {"编辑框2_周边眼抵抗线V", kBurden + upper_burden + "m"},
        {"编辑框4_周边眼最小抵抗线V", kBurden + circular_burden + "m"},
        {"编辑框1_周边眼装药集中度", kLineCharge},
        {"编辑框4_周边眼装药集中度", kLineCharge},
        {"编辑框1_辅助眼间距", kAuxSpacing},
        {"编辑框4_辅助眼间距", kAuxSpacing},
        {"编辑框1_辅助眼最小抵抗线V", kAuxBurden},
        {"编辑框4_辅助眼最小抵抗线V", kAuxBurden},
        {"编辑框2_辅助眼间距E", kBenchAuxSpacing},
        {"编辑框3_辅助眼间距E", kBenchAuxSpacing},
        {"编辑框2_辅助眼抵抗线V2", kBenchAuxBurden},
        {"编辑框3_辅助眼抵抗线V", kBenchAuxBurden},
        {"编辑框1_底板眼间距", kBottomSpacing},
        {"编辑框2_底板眼间距E", kBottomSpacing},
        {"编辑框3_底板眼间距E", kBottomSpacing},
        {"编辑框1_底板眼最小抵抗线", kBottomBurden},
        {"编辑框2_底板眼抵抗线V1", kBottomBurden},
        {"编辑框3_底板眼抵抗线V", kBottomBurden},
        {"编辑框1_炮眼钻孔直径", "爆破孔径大小选择，常规直径34~46mm"},
        {"编辑框1_装药不耦合系数", "光面爆破取值1.5~2.0"},
        {"编辑框1_计算炸药直径", "炸药直径=炮眼直径/装药不耦合系数"},
        {"编辑框1_单个药卷重量", "单个药卷重量，注意这里单位是g"},
        {"编辑框1_单个药卷长度", kStemming},
        {"编辑框2_断面面积", "指坑道断面面积"},
        {"编辑框3_断面面积", "指坑道断面面积"},
        {"编辑框2_开挖面外弧长", "中台阶单侧周边眼的弧线长度（m），软件默认计算按照双侧计算"},
        {"编辑框2_底板长", kFloorLength},
        {"编辑框3_底板长", kFloorLength},
        {"编辑框2_炸药工作面系数", kFaceFactor},
        {"编辑框3_炸药工作面系数", kFaceFactor},
        {"编辑框4_开挖直径", "指开挖轮廓线直径"},
        {"编辑框4_掏槽圈直径", "指掏槽圈范围的直径"},
    };
    for (const auto& [box, text] : tips) cmd_attach_tip(ctl("气球提示框1"), ctl(box), text);
}

} // namespace blast_design

#pragma once
// The tunnel evaluation module (form `TunnelEvaluation`): from the basic data
// of a road tunnel one press of the compute button answers its evaluation
// questions from rule tables: classes by area, length and span, survey
// grades, gas limit and method scope; reserved deformation, small spacing of
// separated bores, stagger of parallel faces, displacement level, stability
// verdicts and control distances; shallow-depth boundary, collapse scale,
// self-stability, surface-settlement monitoring ranges and sketch spacing.

namespace tunnel_evaluation {

inline constexpr const char* kForm = "TunnelEvaluation";

// Rock classes as the items of 组合框1_围岩等级 spell them: I and V are the
// Latin letters, the others Roman-numeral characters. The list's seventh,
// empty item names no class, so no class row holds for it.
inline constexpr const char* kClassI = "I级围岩";
inline constexpr const char* kClassII = "Ⅱ级围岩";
inline constexpr const char* kClassIII = "Ⅲ级围岩";
inline constexpr const char* kClassIV = "Ⅳ级围岩";
inline constexpr const char* kClassV = "V级围岩";
inline constexpr const char* kClassVI = "Ⅵ级围岩";

// The module's diagrams: the starting one and one per tunnel layout.
inline constexpr const char* kDiagramStart = "resources/pictures/evaluation/diagram_start.png";
inline constexpr const char* kDiagramSingleBore = "resources/pictures/evaluation/layout_single_bore.png";
inline constexpr const char* kDiagramMultiArch = "resources/pictures/evaluation/layout_multi_arch.png";
inline constexpr const char* kDiagramSeparated = "resources/pictures/evaluation/layout_separated.png";

// The whole evaluation behind the compute button, without the button
// pictures, the busy lamp, the sounds and the pauses around it.
void calculate();

// Area, length and span classes, survey grades, gas limit, method scope.
void classify();
// Reserved deformation, small spacing, stagger distance, displacement level,
// the two stability verdicts and the control distances.
void judge_deformation_and_stability();
// The last block: each reads the form's boxes and writes its own.
void TunnelEvaluationShallowDepthBoundary();
void TunnelEvaluationClassifyCollapse();
void TunnelEvaluationSelfStabilityText();
void monitoring_ranges();
void TunnelEvaluationSketchSpacing();

} // namespace tunnel_evaluation

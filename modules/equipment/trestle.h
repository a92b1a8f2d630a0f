#pragma once
// The inverted-arch trestle bridge module (form `Trestle`): two simply
// supported beams of welded I-beams over the open invert. The form keeps its
// derived boxes and diagram labels in step with the inputs while the user
// types; the compute button checks one beam under one wheel line of the
// heaviest vehicle and then tests the inputs for consistency.
#include "app/report/export.h"

#include <string>

namespace trestle {

inline constexpr const char* kForm = "Trestle";

inline constexpr const char* kPass = "满足要求";
inline constexpr const char* kFail = "不满足要求，请增大梁截面或根数！";
inline constexpr const char* kOverallFail = "不满足要求，调整设计参数！";

// The boxes of a vehicle row, in the order the equipment table gives them;
// the row number follows each name.
inline constexpr const char* kRowColumns[] = {"编辑框1_空载重量", "编辑框1_重载重量", "编辑框1_行走宽度", "编辑框1_轮胎宽度",
                                              "编辑框1_轮胎净宽"};

// Windows colour values (blue, green, red byte order).
inline constexpr int kWhite = 0xFFFFFF;
inline constexpr int kYellow = 0x00FFFF;
inline constexpr int kDarkGrey = 0x606060;

// The beam check behind the compute button, without the button pictures,
// the lamp and the sounds; it ends with check_inputs().
void calculate();
// The five consistency tests between the inputs; a failed segment test
// clears every result.
void check_inputs();
// The reaction at support A in the bending case, kN, rounded to 2 places,
// as the calculation that produced the shown results worked it out: no box
// shows it; the report states it.
double kept_reaction();
// The same before its rounding.
double kept_reaction_worked();
// Whether a box of a vehicle row says nothing: empty, blanks or "-" (a
// tracked vehicle has no tyre width; a row of "-" alone is no vehicle).
bool says_nothing(const std::string& text);
// "-" into the 23 result boxes.
void clear_results();

// The seven load-position boxes from the span, the wheelbase and the
// rear-axle spacing.
void compute_load_positions();

report::ExportRequest export_request();

} // namespace trestle

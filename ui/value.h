#pragma once
// Value rules shared by every calculation: number <-> text, rounding,
// tolerant comparison and truncation. Texts are UTF-8.
#include <cstdint>
#include <string>
#include <string_view>

namespace ui {

// "%.13g" with at least three exponent digits ("1e+015", "-1e-007").
// A value that is not finite is written as "-".
std::string number_to_text(double x);
// "%.6g" of a single-precision value, same exponent and non-finite rules.
std::string float_to_text(float x);
// The same with `significant` digits (1 to 17): a number shown shorter.
std::string number_to_text_digits(double x, int significant);
// Length of the decimal literal (sign, digits, point, exponent) at the very
// start of `s`, 0 when there is none.
std::size_t number_literal_length(std::string_view s);
// Decimal integer.
std::string int_to_text(long long v);
// "真" / "假".
std::string bool_to_text(bool b);

// Full-width ASCII-range characters (U+FF01..U+FF5E as GBK row 0xA3 maps them,
// the ideographic space, and the few extra pairs of the rule) become ASCII;
// then the longest leading decimal literal after white space is read.
// No hex, no inf/nan; no number gives 0.
double text_to_number(std::string_view utf8);
// The number a text writes when the whole text is one decimal literal
// (blanks around it aside, full-width forms as their ASCII forms, the value
// possibly beyond the number range); not-a-number for anything else: the
// empty text, "abc", "-", "1..25", "1-5", "2.8-", "12.5m".
double plain_number(std::string_view utf8);
// The text a number box takes for a pasted text: the number it writes, in
// the box's own characters, where that is unambiguous: blanks and line ends
// around it dropped, full-width forms as ASCII ("２.５" 2.5), thousands
// separators in their places ("1,234.5" 1234.5) and a scientific form
// ("1.5E+03" 1500) written out. Empty when the text is not one finite number
// ("1,2", "1.5 2.5", "12.5m", "1e999"). A text of digits, "-" and "." alone
// is kept as it is, as if typed.
std::string pasted_number(std::string_view utf8);

// What an input box may hold for the formulas that read it: any number, a
// number not below zero, a number above zero, or a count (a whole number
// from 0, or from 1). Unchecked boxes read as the text-to-number rule says
// (empty text reads 0).
enum class Domain { Unchecked, Any, NonNegative, Positive, Count, PositiveCount };
// ">0", ">=0" (or "≥0"), "any", "count>=0", "count>=1"; false for anything else.
bool domain_from_name(std::string_view name, Domain* out);
const char* domain_name(Domain d);
// The number a box's text gives when the whole text is one number inside
// the domain (plain_number); not-a-number when it is empty, is not one plain
// number ("-", "abc", "1..25", "12.5m"), reads as minus zero ("-0"), is not
// finite ("1e309"), lies outside the domain, or is a count that is not whole.
double number_in_domain(std::string_view utf8, Domain d);

// Leading whole number of the text (sign and digits after blanks), 0 if none;
// saturates to the 32-bit range.
int32_t text_to_int(std::string_view utf8);

// Half away from zero after lifting the scaled magnitude by 1e-12;
// negative places round to tens, hundreds... Never returns -0.
double round_places(double x, int places = 0);

// Comparisons with a 1e-7 tolerance on the difference.
bool tol_le(double x, double c);
bool tol_lt(double x, double c);
bool tol_ge(double x, double c);
bool tol_gt(double x, double c);

// Truncation toward zero through a 64-bit integer, keeping the low 32 bits.
// Non-finite or out-of-64-bit-range values give 0.
int32_t float_to_int(double x);

} // namespace ui

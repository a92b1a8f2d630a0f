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
// The number a text writes when the whole text is one number: one decimal
// literal, its thousands grouped by commas or not ("1,250" 1250, never
// "2,5"), blanks, no-break spaces and zero-width characters around it
// dropped, full-width forms as their ASCII forms and "。" as the point (the
// value possibly beyond the number range); not-a-number for anything else:
// the empty text, "abc", "-", "1..25", "1-5", "2.8-", "12.5m", "2,5".
// Every number box is read by this one rule, whether typed or pasted.
double plain_number(std::string_view utf8);
// The text a number box takes for a pasted text: the number it writes
// (plain_number), in the box's own characters, where that is unambiguous:
// "２.５" 2.5, "1,234.5" 1234.5, "1.5E+03" 1500 and " 192 " (no-break spaces
// or zero-width characters around a figure copied out of a document) 192.
// Empty when the text is not one finite number ("1,2", "1.5 2.5", "12.5m",
// "1e999"). A text of digits, "-" and "." alone is kept as it is, as if
// typed. Taking the text it gives again gives it unchanged.
std::string pasted_number(std::string_view utf8);
// What a number box takes of a text typed into it (a key, or an input
// method's commit), character by character: the characters a number can
// hold (digits, signs, the point, the exponent's "e" or "E", the grouping
// comma) as themselves, their full-width forms as ASCII, and "。" (the point
// key in a Chinese input method's punctuation mode) as the point. Empty
// when any character is none of these: such a key types nothing, and the
// digits around it stay as they were. What the box then holds is read whole
// (plain_number).
std::string typed_number(std::string_view utf8);

// What an input box may hold for the formulas that read it: any number, a
// number not below zero, a number above zero, or a count (a whole number
// from 0, or from 1). Unchecked boxes read a text that is one number as
// plain_number reads it ("1,250" 1250, as the box shows it once left), and
// any other as the text-to-number rule says (empty text reads 0, "12.5m"
// 12.5).
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

// Rounded toward safety at `places` decimals: down for an allowed maximum
// (a charge, a height), up for a needed amount or a least value (air, a
// cover, a distance). A figure within a relative `noise` of a step is that
// step, the binary residue of it (11 × 0.6 × 0.7 is 4.62, not above it), not
// a step further. Not finite stays as it is; never returns -0.
double round_places_down(double x, int places = 0, double noise = 1e-9);
double round_places_up(double x, int places = 0, double noise = 1e-9);

// Comparisons with a 1e-7 tolerance on the difference.
bool tol_le(double x, double c);
bool tol_lt(double x, double c);
bool tol_ge(double x, double c);
bool tol_gt(double x, double c);

// Truncation toward zero through a 64-bit integer, keeping the low 32 bits.
// Non-finite or out-of-64-bit-range values give 0.
int32_t float_to_int(double x);

} // namespace ui

#include "ui/value.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Same value, same sign of zero, or both NaN.
::testing::AssertionResult SameDouble(double got, double want) {
    if (std::isnan(want) ? std::isnan(got) : (got == want && std::signbit(got) == std::signbit(want)))
        return ::testing::AssertionSuccess();
    char buf[128];
    std::snprintf(buf, sizeof buf, "got %.17g, want %.17g", got, want);
    return ::testing::AssertionFailure() << buf;
}

// ---- number to text --------------------------------------------------------

struct DoubleText {
    double value;
    const char* text;
};

class NumberToText : public ::testing::TestWithParam<DoubleText> {};

TEST_P(NumberToText, WritesThirteenDigitsAndThreeDigitExponent) {
    EXPECT_EQ(ui::number_to_text(GetParam().value), GetParam().text) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, NumberToText, ::testing::Values(
    DoubleText{2.5, "2.5"},
    DoubleText{100, "100"},
    DoubleText{0.1 + 0.2, "0.3"},
    DoubleText{1.0 / 3.0, "0.3333333333333"},
    DoubleText{-2.0 / 3.0, "-0.6666666666667"},
    DoubleText{1e15, "1e+015"},
    DoubleText{-0.0000001, "-1e-007"},
    DoubleText{3, "3"},
    DoubleText{0.5, "0.5"},
    DoubleText{-0.0, "-0"},
    DoubleText{0.0, "0"},
    DoubleText{123456789012345.0, "1.234567890123e+014"},
    DoubleText{1234567890123.0, "1234567890123"},
    DoubleText{0.0001234, "0.0001234"},
    DoubleText{0.00001234, "1.234e-005"},
    // Rounding to 13 digits carries into a new exponent.
    DoubleText{9999999999999.5, "1e+013"},
    DoubleText{1e100, "1e+100"},
    DoubleText{-1.5e-300, "-1.5e-300"},
    DoubleText{DBL_MAX, "1.797693134862e+308"},
    DoubleText{4.9406564584124654e-324, "4.940656458412e-324"},
    DoubleText{kInf, "-"},
    DoubleText{-kInf, "-"},
    DoubleText{kNaN, "-"}));

struct FloatText {
    float value;
    const char* text;
};

class FloatToText : public ::testing::TestWithParam<FloatText> {};

TEST_P(FloatToText, WritesSixDigitsOfTheFloat) {
    EXPECT_EQ(ui::float_to_text(GetParam().value), GetParam().text) << "value " << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Table, FloatToText, ::testing::Values(
    FloatText{0.3333333f, "0.333333"},
    FloatText{0.1f, "0.1"},
    FloatText{100.0f, "100"},
    FloatText{1e10f, "1e+010"},
    FloatText{16777217.0f, "1.67772e+007"},
    FloatText{-2.5e-5f, "-2.5e-005"},
    FloatText{FLT_MAX, "3.40282e+038"},
    FloatText{std::numeric_limits<float>::infinity(), "-"},
    FloatText{std::numeric_limits<float>::quiet_NaN(), "-"}));

TEST(PlainText, IntegersAndTruthValues) {
    const struct {
        long long v;
        const char* text;
    } ints[] = {{0, "0"}, {-42, "-42"}, {9007199254740993LL, "9007199254740993"},
                {std::numeric_limits<long long>::min(), "-9223372036854775808"}};
    for (const auto& row : ints) EXPECT_EQ(ui::int_to_text(row.v), row.text);
    EXPECT_EQ(ui::bool_to_text(true), "真");
    EXPECT_EQ(ui::bool_to_text(false), "假");
}

// ---- text to number --------------------------------------------------------

struct TextDouble {
    std::string text;
    double value;
};

class TextToNumber : public ::testing::TestWithParam<TextDouble> {};

TEST_P(TextToNumber, ReadsLeadingDecimalLiteral) {
    EXPECT_TRUE(SameDouble(ui::text_to_number(GetParam().text), GetParam().value))
        << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Ascii, TextToNumber, ::testing::Values(
    TextDouble{"12.5m", 12.5},
    TextDouble{" -3e2x", -300},
    TextDouble{"abc", 0},
    TextDouble{"", 0},
    TextDouble{"3.0", 3},
    TextDouble{"+4", 4},
    TextDouble{".5", 0.5},
    TextDouble{"5.", 5},
    TextDouble{"1,000", 1},
    TextDouble{"   7", 7},
    TextDouble{"\t\n\v\f\r9", 9},
    TextDouble{"7 8", 7},
    TextDouble{"1.5.3", 1.5},
    TextDouble{"5..5", 5},
    TextDouble{"e5", 0},
    TextDouble{".", 0},
    TextDouble{"-", 0},
    TextDouble{"--5", 0},
    TextDouble{"- 5", 0},
    TextDouble{"1e", 1},
    TextDouble{"1e+", 1},
    TextDouble{"2E-x", 2},
    TextDouble{"0x10", 0},
    TextDouble{"inf", 0},
    TextDouble{"-infinity", 0},
    TextDouble{"nan", 0},
    TextDouble{"-0", -0.0},
    TextDouble{std::string("\0" "5", 2), 0},
    // Correctly rounded, not accumulated digit by digit.
    TextDouble{"0.1", 0.1},
    TextDouble{"9007199254740993", 9007199254740992.0},
    TextDouble{"2.2250738585072011e-308", 2.2250738585072009e-308},
    TextDouble{"1e400", kInf},
    TextDouble{"-1e400", -kInf},
    TextDouble{"1e-400", 0}));

INSTANTIATE_TEST_SUITE_P(FullWidthAndChinese, TextToNumber, ::testing::Values(
    TextDouble{"１２．５", 12.5},
    TextDouble{"－３", -3},
    TextDouble{"＋４", 4},
    TextDouble{"１．５Ｅ＋２", 150},
    TextDouble{"２ｅ－１", 0.2},
    TextDouble{"１，０００", 1},
    TextDouble{"1２.５", 12.5},
    TextDouble{"\u3000７", 7},
    TextDouble{"－\u3000５", 0},
    TextDouble{"12米", 12},
    TextDouble{"米12", 0},
    TextDouble{"K12+345", 0},
    // The minus sign and the full-width yen are not in the mapped rows.
    TextDouble{"\u22125", 0},
    TextDouble{"\uFFE55", 0},
    // Characters GBK cannot encode, and broken UTF-8, end the number.
    TextDouble{"😀5", 0},
    TextDouble{"5😀", 5},
    TextDouble{"\xFF" "5", 0},
    TextDouble{"5\xFF", 5},
    TextDouble{"5\xE4\xB8", 5}));

struct TextInt {
    std::string text;
    int32_t value;
};

class TextToInt : public ::testing::TestWithParam<TextInt> {};

TEST_P(TextToInt, ReadsLeadingWholeNumber) {
    EXPECT_EQ(ui::text_to_int(GetParam().text), GetParam().value) << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Table, TextToInt, ::testing::Values(
    TextInt{"12.9", 12},
    TextInt{"-3.7", -3},
    TextInt{" ４２abc", 42},
    TextInt{"\u3000１０", 10},
    TextInt{"－８", -8},
    TextInt{"+7", 7},
    TextInt{"00012", 12},
    TextInt{"1e5", 1},
    TextInt{".9", 0},
    TextInt{"0x1F", 0},
    TextInt{"abc", 0},
    TextInt{"", 0},
    TextInt{"-", 0},
    TextInt{"2147483647", kMax},
    TextInt{"2147483648", kMax},
    TextInt{"99999999999999999999999", kMax},
    TextInt{"18446744073709551621", kMax},
    TextInt{"-2147483648", kMin},
    TextInt{"-2147483649", kMin},
    TextInt{"-99999999999999999999999", kMin}));

// ---- rounding ----------------------------------------------------------------

struct Rounding {
    double x;
    int places;
    double want;
};

class RoundPlaces : public ::testing::TestWithParam<Rounding> {};

TEST_P(RoundPlaces, RoundsHalfAwayFromZero) {
    const auto& p = GetParam();
    EXPECT_TRUE(SameDouble(ui::round_places(p.x, p.places), p.want)) << "x " << p.x << " places " << p.places;
}

INSTANTIATE_TEST_SUITE_P(Table, RoundPlaces, ::testing::Values(
    Rounding{1.005, 2, 1.01},
    Rounding{2.675, 2, 2.68},
    Rounding{-2.5, 0, -3},
    Rounding{0.5, 0, 1},
    Rounding{2.4, 0, 2},
    Rounding{1234, -2, 1200},
    Rounding{149, -2, 100},
    Rounding{150, -2, 200},
    Rounding{15, -1, 20},
    Rounding{-7.5, -1, -10},
    Rounding{0.125, 2, 0.13},
    Rounding{-0.125, 2, -0.13},
    Rounding{7.45, 1, 7.5},
    Rounding{999.95, 1, 1000},
    Rounding{0.049999999999999, 1, 0.1},
    Rounding{0.04999999999, 1, 0.0},
    Rounding{1e20, 2, 1e20},
    // Zero results are never negative.
    Rounding{-0.0001, 2, 0.0},
    Rounding{-0.4, 0, 0.0},
    Rounding{-1234.5678, -5, 0.0},
    Rounding{-0.0, 0, 0.0},
    Rounding{0.0, 3, 0.0},
    // Scales beyond the double range.
    Rounding{1.5, 400, 1.5},
    Rounding{1e300, -310, 0.0},
    Rounding{kInf, 2, kInf},
    Rounding{-kInf, 0, -kInf},
    Rounding{kNaN, 2, kNaN}));

TEST(RoundPlacesDefault, RoundsToWhole) { EXPECT_EQ(ui::round_places(2.5), 3.0); }

// Toward safety: an allowed maximum never above its formula's figure, a
// need never below it, and a figure that is a step but for its binary
// residue stays that step.
TEST(RoundPlacesTowardSafety, DownForAMaximumUpForANeed) {
    struct Case {
        double x;
        int places;
        double down, up;
    };
    const Case cases[] = {
        {1.5869, 2, 1.58, 1.59},                // an allowed height
        {0.019136, 4, 0.0191, 0.0192},          // a charge kept to three figures
        {19.136, 0, 19, 20},                    // whole grams
        {11 * 0.6 * 0.7, 2, 4.62, 4.62},        // 4.619999… is 4.62 both ways
        {0.1 + 0.2, 1, 0.3, 0.3},               // 0.30000000000000004
        {4.704, 2, 4.7, 4.71},
        {-1.234, 2, -1.24, -1.23},
        {-0.001, 2, -0.01, 0.0},                // never -0
        {0.0, 2, 0.0, 0.0},
        {1234, -2, 1200, 1300},
        {1.5, 400, 1.5, 1.5},                   // no digit left to drop
        {kInf, 2, kInf, kInf},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(SameDouble(ui::round_places_down(c.x, c.places), c.down)) << c.x << " down to " << c.places;
        EXPECT_TRUE(SameDouble(ui::round_places_up(c.x, c.places), c.up)) << c.x << " up to " << c.places;
    }
    EXPECT_TRUE(std::isnan(ui::round_places_up(kNaN, 2)));
    // a wider allowance for a figure worked in single precision
    EXPECT_EQ(ui::round_places_up(19.0800002, 2, 1e-7), 19.08);
    EXPECT_EQ(ui::round_places_up(19.0800002, 2), 19.09);
}

// ---- tolerant comparison ---------------------------------------------------

struct Tolerance {
    double x, c;
    bool le, lt, ge, gt;
};

class TolerantCompare : public ::testing::TestWithParam<Tolerance> {};

TEST_P(TolerantCompare, AllowsOneTenMillionth) {
    const auto& p = GetParam();
    EXPECT_EQ(ui::tol_le(p.x, p.c), p.le) << p.x << " <= " << p.c;
    EXPECT_EQ(ui::tol_lt(p.x, p.c), p.lt) << p.x << " < " << p.c;
    EXPECT_EQ(ui::tol_ge(p.x, p.c), p.ge) << p.x << " >= " << p.c;
    EXPECT_EQ(ui::tol_gt(p.x, p.c), p.gt) << p.x << " > " << p.c;
}

INSTANTIATE_TEST_SUITE_P(Table, TolerantCompare, ::testing::Values(
    Tolerance{15.00000005, 15, true, false, true, false},
    Tolerance{14.99999995, 15, true, false, true, false},
    Tolerance{10.0000002, 10, false, false, true, true},
    Tolerance{9.9999998, 10, true, true, false, false},
    Tolerance{1e-7, 0, true, false, true, false},
    Tolerance{-1e-7, 0, true, false, true, false},
    Tolerance{-kInf, 0, true, true, false, false},
    Tolerance{kNaN, 1, false, false, false, false},
    Tolerance{1, kNaN, false, false, false, false},
    Tolerance{kInf, kInf, false, false, false, false}));

// ---- truncation --------------------------------------------------------------

struct Truncation {
    double x;
    int32_t want;
};

class FloatToInt : public ::testing::TestWithParam<Truncation> {};

TEST_P(FloatToInt, TruncatesAndKeepsLow32Bits) {
    EXPECT_EQ(ui::float_to_int(GetParam().x), GetParam().want) << "x " << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(Table, FloatToInt, ::testing::Values(
    Truncation{2.9, 2},
    Truncation{-2.9, -2},
    Truncation{-0.5, 0},
    Truncation{4294967297.0, 1},
    Truncation{4294967295.0, -1},
    Truncation{2147483648.0, kMin},
    Truncation{-2147483649.0, kMax},
    Truncation{123456789012.7, -1097262572},
    Truncation{9.2e18, -1650982912},
    Truncation{-9.2e18, 1650982912},
    Truncation{9.21e18, 0},
    Truncation{-9.3e18, 0},
    Truncation{1e300, 0},
    Truncation{kInf, 0},
    Truncation{-kInf, 0},
    Truncation{kNaN, 0}));

} // namespace

// --- input domains ---------------------------------------------------------------------
// What a box with a domain gives the formulas: the number, or nothing (NaN).
// Only a text that is one number as a whole is read; a count is whole.
struct DomainCase {
    const char* text;
    double any, non_negative, positive, count, positive_count; // NaN: no number for that domain
};
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
class NumberInDomain : public ::testing::TestWithParam<DomainCase> {};
TEST_P(NumberInDomain, GivesNoNumberOutsideTheDomain) {
    const DomainCase& c = GetParam();
    const std::pair<ui::Domain, double> want[] = {
        {ui::Domain::Any, c.any},     {ui::Domain::NonNegative, c.non_negative},     {ui::Domain::Positive, c.positive},
        {ui::Domain::Count, c.count}, {ui::Domain::PositiveCount, c.positive_count},
    };
    for (auto [domain, x] : want) {
        const double got = ui::number_in_domain(c.text, domain);
        if (std::isnan(x)) EXPECT_TRUE(std::isnan(got)) << '"' << c.text << "\" " << ui::domain_name(domain) << " gave " << got;
        else EXPECT_EQ(got, x) << '"' << c.text << "\" " << ui::domain_name(domain);
    }
    // A box without a domain reads a text that is one number as that number.
    if (!std::isnan(c.any)) {
        EXPECT_EQ(ui::number_in_domain(c.text, ui::Domain::Unchecked), c.any) << '"' << c.text << '"';
    }
}
INSTANTIATE_TEST_SUITE_P(Table, NumberInDomain, ::testing::Values(
    DomainCase{"12.5", 12.5, 12.5, 12.5, kNone, kNone},
    DomainCase{"3", 3, 3, 3, 3, 3},
    DomainCase{" 3.0 \r\n", 3, 3, 3, 3, 3},
    DomainCase{"1e3", 1000, 1000, 1000, 1000, 1000},
    DomainCase{"2.5", 2.5, 2.5, 2.5, kNone, kNone},
    DomainCase{"0.5", 0.5, 0.5, 0.5, kNone, kNone},
    DomainCase{"１２．５", 12.5, 12.5, 12.5, kNone, kNone},
    DomainCase{"１.２５", 1.25, 1.25, 1.25, kNone, kNone},
    DomainCase{"－３", -3, kNone, kNone, kNone, kNone},
    DomainCase{"0", 0, 0, kNone, 0, kNone},
    DomainCase{"+0", 0, 0, kNone, 0, kNone},
    DomainCase{"-0", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"-0.000", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"-12", -12, kNone, kNone, kNone, kNone},
    DomainCase{"1e-300", 1e-300, 1e-300, 1e-300, kNone, kNone},
    DomainCase{"", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"   ", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"-", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"abc", kNone, kNone, kNone, kNone, kNone},
    DomainCase{".", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1e309", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"-1e309", kNone, kNone, kNone, kNone, kNone},
    // Mistyped numbers are no number, not their leading part.
    DomainCase{" 12.5m", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1..25", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1-5", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1.2.3", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"2.8-", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1 2", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"3e", kNone, kNone, kNone, kNone, kNone},
    // Typed or pasted, a box is read by one rule: exponents, thousands
    // grouped by commas in their places, "。" as the point, and what may
    // stand around a copied figure (no-break spaces, zero-width characters).
    DomainCase{"1.2e2", 120, 120, 120, 120, 120},
    DomainCase{"3e0", 3, 3, 3, 3, 3},
    DomainCase{"1,250", 1250, 1250, 1250, 1250, 1250},
    DomainCase{"-1,234.5", -1234.5, kNone, kNone, kNone, kNone},
    DomainCase{"１，２５０", 1250, 1250, 1250, 1250, 1250},
    DomainCase{"1。25", 1.25, 1.25, 1.25, kNone, kNone},
    DomainCase{"\u00A0192\u202F", 192, 192, 192, 192, 192},
    DomainCase{"\u200B\uFEFF7\u2060\u200D", 7, 7, 7, 7, 7},
    DomainCase{"2,5", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1,25", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"12,50.5", kNone, kNone, kNone, kNone, kNone},
    DomainCase{",250", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1,250e3", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1。。25", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"192\u00A0m", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1\u00A0234", kNone, kNone, kNone, kNone, kNone},
    DomainCase{"1\u200B5", kNone, kNone, kNone, kNone, kNone}));

// A box without a domain reads a text that is one number as the number
// rule reads it, never a grouped number by its first group, and any other
// text as the plain rule does.
class UncheckedBox : public ::testing::TestWithParam<TextDouble> {};
TEST_P(UncheckedBox, ReadsOneNumberWholeAndOtherTextsByThePlainRule) {
    EXPECT_TRUE(SameDouble(ui::number_in_domain(GetParam().text, ui::Domain::Unchecked), GetParam().value))
        << "text \"" << GetParam().text << "\"";
}
INSTANTIATE_TEST_SUITE_P(Table, UncheckedBox, ::testing::Values(
    TextDouble{"1,250", 1250},
    TextDouble{"１，２５０．５", 1250.5},
    TextDouble{"1。25", 1.25},
    TextDouble{"\u00A0192\u200B", 192},
    TextDouble{"1.2e2", 120},
    TextDouble{"-0", -0.0},
    TextDouble{"1e400", kInf},
    TextDouble{"", 0},
    TextDouble{"abc", 0},
    TextDouble{"12.5m", 12.5},
    TextDouble{"2,5", 2},
    TextDouble{"1..25", 1}));

// A pasted text gives the number it writes where that is unambiguous, in
// the characters a number box takes; "" where the box refuses it.
struct PasteCase {
    const char* pasted;
    const char* kept;
};
class PastedNumber : public ::testing::TestWithParam<PasteCase> {};
TEST_P(PastedNumber, TakesTheNumberWrittenOrNothing) {
    const std::string kept = ui::pasted_number(GetParam().pasted);
    EXPECT_EQ(kept, GetParam().kept) << '"' << GetParam().pasted << '"';
    if (kept.empty()) return;
    // What the box took is taken again as it is, and reads as what was pasted.
    EXPECT_EQ(ui::pasted_number(kept), kept);
    const double pasted = ui::plain_number(GetParam().pasted);
    if (!std::isnan(pasted)) {
        EXPECT_EQ(ui::plain_number(kept), pasted);
    }
}
INSTANTIATE_TEST_SUITE_P(Table, PastedNumber, ::testing::Values(
    PasteCase{"358.90", "358.90"},
    PasteCase{"  -0.25\r\n", "-0.25"},
    PasteCase{"1,234.5", "1234.5"},
    PasteCase{"-12,345,678", "-12345678"},
    PasteCase{"1.5E+03", "1500"},
    PasteCase{"2.5e-2", "0.025"},
    PasteCase{"+7", "7"},
    PasteCase{"２.５", "2.5"},
    PasteCase{"１，２３４．５", "1234.5"},
    // keyable: taken as typed, a mistyped number refused where it is read
    PasteCase{"1..25", "1..25"},
    // not one number, or not only one reading of it
    PasteCase{"1,5", ""},
    PasteCase{"1,2345.6", ""},
    PasteCase{"12,34,567", ""},
    PasteCase{"1.5\t2.5", ""},
    PasteCase{"12.5m", ""},
    PasteCase{"abc", ""},
    PasteCase{"1e999", ""},
    PasteCase{" \r\n", ""},
    // a figure copied out of a report or a web page
    PasteCase{"\u00A0192\u202F", "192"},
    PasteCase{"\u200B1,234.5\u2060", "1234.5"},
    PasteCase{"\uFEFF-7\u200D\r\n", "-7"},
    PasteCase{"1。25", "1.25"},
    PasteCase{"192\u00A0m", ""},
    PasteCase{"1\u00A0234", ""},
    PasteCase{"1\u200B5", ""},
    // a malformed sequence that spells a blank is no blank
    PasteCase{"\xE0\x80\xA0" "1", ""}));

// A number box takes each typed character a number can hold, as ASCII, and
// nothing of a key that cannot be part of one.
struct TypedCase {
    const char* typed;
    const char* kept;
};
class TypedNumber : public ::testing::TestWithParam<TypedCase> {};
TEST_P(TypedNumber, TakesTheCharactersOfANumberOnly) {
    EXPECT_EQ(ui::typed_number(GetParam().typed), GetParam().kept) << '"' << GetParam().typed << '"';
}
INSTANTIATE_TEST_SUITE_P(Table, TypedNumber, ::testing::Values(
    TypedCase{"7", "7"}, TypedCase{"-", "-"}, TypedCase{"+", "+"}, TypedCase{".", "."},
    TypedCase{"e", "e"}, TypedCase{"E", "E"}, TypedCase{",", ","},
    // a Chinese input method: full-width forms, and "。" for the point key
    TypedCase{"０", "0"}, TypedCase{"－", "-"}, TypedCase{"＋", "+"}, TypedCase{"．", "."},
    TypedCase{"ｅ", "e"}, TypedCase{"Ｅ", "E"}, TypedCase{"，", ","}, TypedCase{"。", "."},
    TypedCase{"１。２５", "1.25"},
    // keys that cannot be part of a number
    TypedCase{"m", ""}, TypedCase{"x", ""}, TypedCase{"ｍ", ""}, TypedCase{" ", ""}, TypedCase{"\t", ""},
    TypedCase{"\u3000", ""}, TypedCase{"\u00A0", ""}, TypedCase{"、", ""}, TypedCase{"十", ""},
    TypedCase{"12m", ""}, TypedCase{"\xE3\x80", ""}));

TEST(DomainNames, ReadAndWrittenAsFormsSpellThem) {
    ui::Domain d;
    for (const char* name : {">0", ">=0", "any", "count>=0", "count>=1"}) {
        ASSERT_TRUE(ui::domain_from_name(name, &d)) << name;
        EXPECT_STREQ(ui::domain_name(d), name);
    }
    EXPECT_TRUE(ui::domain_from_name("≥0", &d));
    EXPECT_EQ(d, ui::Domain::NonNegative);
    EXPECT_FALSE(ui::domain_from_name("positive", &d));
}

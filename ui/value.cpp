#include "ui/value.h"

#include "ui/text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace ui {
namespace {

// Saved files and the values engineers compare against were written with
// three exponent digits ("1e+015"); C libraries here write two.
std::string widen_exponent(const char* first, const char* last) {
    std::string s(first, last);
    const auto e = s.find('e');
    if (e == std::string::npos) return s;
    const std::size_t digits_at = e + 2; // after 'e' and its sign
    const std::size_t digits = s.size() - digits_at;
    if (digits < 3) s.insert(digits_at, 3 - digits, '0');
    return s;
}

// std::to_chars prints as printf does in the "C" locale, whatever locale
// the toolkit has set, so a comma never turns up as the decimal point.
std::string format_general(double x, int precision) {
    if (!std::isfinite(x)) return "-";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, precision);
    return widen_exponent(buf, r.ptr);
}

bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Engineers type with a Chinese input method, so full-width digits, signs
// and spaces arrive mixed with ASCII. The mapping is defined on the GBK bytes
// (row 0xA3 is full-width ASCII, plus a few symbols of row 0xA1), so the text
// is taken to GBK first; characters GBK lacks become a non-numeric pair.
std::string numeric_bytes(std::string_view utf8) {
    std::string gbk = utf8_to_gbk(utf8);
    std::string out;
    out.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size();) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x81 || lead == 0xFF || i + 1 >= gbk.size()) {
            out += gbk[i++];
            continue;
        }
        const auto trail = static_cast<unsigned char>(gbk[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) out += static_cast<char>(trail - 0x80);
        else if (lead == 0xA1 && trail == 0xA1) out += ' ';
        else if (lead == 0xA1 && trail == 0xAB) out += '~';
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) out += '*';
        else out.append(gbk, i, 2);
        i += 2;
    }
    return out;
}

bool needs_mapping(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return true;
    return false;
}

locale_t c_locale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Length of the decimal literal (sign included) at the start of `s`, 0 when
// there is none. An 'e' without exponent digits is not part of it.
std::size_t literal_length(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissa_digits = 0;
    while (i < s.size() && is_digit(s[i])) ++i, ++mantissa_digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && is_digit(s[i])) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && is_digit(s[j])) {
            while (j < s.size() && is_digit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

double parse_number(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && is_space(s[i])) ++i;
    s.remove_prefix(i);
    const std::size_t n = literal_length(s);
    if (n == 0) return 0.0;
    // The literal has been checked to be plain decimal, so strtod cannot wander
    // into hex or inf/nan; the C locale keeps '.' the decimal point.
    const std::string literal(s.substr(0, n));
    return strtod_l(literal.c_str(), nullptr, c_locale());
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && is_space(s.front())) s.remove_prefix(1);
    while (!s.empty() && is_space(s.back())) s.remove_suffix(1);
    return s;
}

// The text with full-width forms as ASCII.
std::string ascii_forms(std::string_view utf8) { return needs_mapping(utf8) ? numeric_bytes(utf8) : std::string(utf8); }

constexpr double kNoNumber = std::numeric_limits<double>::quiet_NaN();

// The whole (trimmed) text is one literal.
double whole_literal(std::string_view s) {
    const std::size_t n = literal_length(s);
    return n == 0 || n != s.size() ? kNoNumber : parse_number(s);
}

// Digits grouped by threes with commas before an optional decimal part, as
// a spreadsheet shows a number with thousands separators: "12,345.6".
bool thousands_grouped(std::string_view s) {
    std::size_t i = 0, lead = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    while (i < s.size() && is_digit(s[i])) ++i, ++lead;
    if (lead < 1 || lead > 3) return false;
    int groups = 0;
    while (i < s.size() && s[i] == ',') {
        std::size_t digits = 0;
        for (++i; i < s.size() && is_digit(s[i]); ++i) ++digits;
        if (digits != 3) return false;
        ++groups;
    }
    if (groups == 0) return false;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && is_digit(s[i]);) ++i;
    return i == s.size();
}

bool keyable(std::string_view s) { return s.find_first_not_of("0123456789-.") == std::string_view::npos; }

int32_t parse_int(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && is_space(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    long long v = 0;
    constexpr long long cap = 1LL << 32; // beyond any 32-bit value, no overflow
    for (; i < s.size() && is_digit(s[i]); ++i) {
        v = v * 10 + (s[i] - '0');
        if (v > cap) v = cap;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

double pow10(long long n) {
    static constexpr std::array<double, 23> exact = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n >= 0 && n < static_cast<long long>(exact.size())) return exact[static_cast<std::size_t>(n)];
    return std::pow(10.0, static_cast<double>(n));
}

// The 1e-12 lift makes values that print as an exact half (1.005 is stored
// as 1.00499999...) round the way the engineer reads them.
double round_half_up(double s) {
    const double t = s + 1e-12;
    double r = std::floor(t);
    if (t - r >= 0.5) r += 1.0;
    return r;
}

constexpr double kTolerance = 1e-7;

} // namespace

std::string number_to_text(double x) { return format_general(x, 13); }

std::string float_to_text(float x) { return format_general(static_cast<double>(x), 6); }

std::string number_to_text_digits(double x, int significant) { return format_general(x, std::clamp(significant, 1, 17)); }

std::size_t number_literal_length(std::string_view s) { return literal_length(s); }

std::string int_to_text(long long v) { return std::to_string(v); }

std::string bool_to_text(bool b) { return b ? "真" : "假"; }

double text_to_number(std::string_view utf8) {
    if (!needs_mapping(utf8)) return parse_number(utf8);
    return parse_number(numeric_bytes(utf8));
}

double plain_number(std::string_view utf8) { return whole_literal(trim_blanks(ascii_forms(utf8))); }

std::string pasted_number(std::string_view utf8) {
    const std::string mapped = ascii_forms(utf8);
    const std::string_view s = trim_blanks(mapped);
    if (s.empty()) return {};
    // What the keys could have typed stays as it is, a mistyped number too:
    // reading it refuses it where it is used.
    if (keyable(s)) return std::string(s);
    std::string plain(s);
    if (thousands_grouped(s)) std::erase(plain, ',');
    const double x = whole_literal(plain);
    if (!std::isfinite(x)) return {};
    return keyable(plain) ? plain : number_to_text(x);
}

bool domain_from_name(std::string_view name, Domain* out) {
    if (name == ">0") *out = Domain::Positive;
    else if (name == ">=0" || name == "≥0") *out = Domain::NonNegative;
    else if (name == "any") *out = Domain::Any;
    else if (name == "count>=0") *out = Domain::Count;
    else if (name == "count>=1") *out = Domain::PositiveCount;
    else return false;
    return true;
}

const char* domain_name(Domain d) {
    switch (d) {
    case Domain::Positive: return ">0";
    case Domain::NonNegative: return ">=0";
    case Domain::Any: return "any";
    case Domain::Count: return "count>=0";
    case Domain::PositiveCount: return "count>=1";
    case Domain::Unchecked: break;
    }
    return "";
}

double number_in_domain(std::string_view utf8, Domain d) {
    if (d == Domain::Unchecked) return text_to_number(utf8);
    const double x = plain_number(utf8);
    if (!std::isfinite(x) || (x == 0 && std::signbit(x))) return kNoNumber;
    const bool whole = x == std::floor(x);
    switch (d) {
    case Domain::NonNegative: return x >= 0 ? x : kNoNumber;
    case Domain::Positive: return x > 0 ? x : kNoNumber;
    case Domain::Count: return x >= 0 && whole ? x : kNoNumber;
    case Domain::PositiveCount: return x >= 1 && whole ? x : kNoNumber;
    case Domain::Any: case Domain::Unchecked: break;
    }
    return x;
}

int32_t text_to_int(std::string_view utf8) {
    if (!needs_mapping(utf8)) return parse_int(utf8);
    return parse_int(numeric_bytes(utf8));
}

double round_places(double x, int places) {
    if (!std::isfinite(x)) return x;
    if (x == 0) return 0.0;
    const double m = std::fabs(x);
    double r;
    if (places > 0) {
        const double p = pow10(places);
        const double s = m * p;
        // So many places that the value has no digit left to drop.
        if (!std::isfinite(s)) return x;
        r = round_half_up(s) / p;
    } else if (places == 0) {
        r = round_half_up(m);
    } else {
        const double p = pow10(-static_cast<long long>(places));
        const double q = round_half_up(m / p);
        r = q == 0 ? 0.0 : q * p;
    }
    if (r == 0) return 0.0;
    return std::signbit(x) ? -r : r;
}

bool tol_le(double x, double c) { return x - c <= kTolerance; }
bool tol_lt(double x, double c) { return x - c < -kTolerance; }
bool tol_ge(double x, double c) { return x - c >= -kTolerance; }
bool tol_gt(double x, double c) { return x - c > kTolerance; }

int32_t float_to_int(double x) {
    // Beyond this the value no longer fits a 64-bit integer safely.
    constexpr double limit = 9.2e18;
    if (!std::isfinite(x) || x > limit || x < -limit) return 0;
    const auto whole = static_cast<int64_t>(x);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

} // namespace ui

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

// The character starting at s[i] and its length in bytes; U+FFFD for a
// byte that starts no well-formed UTF-8 character.
char32_t char_at(std::string_view s, std::size_t i, std::size_t* length) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    const unsigned char lead = b(0);
    std::size_t n = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3 : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    char32_t c = n == 1 ? lead : n == 2 ? lead & 0x1F : n == 3 ? lead & 0x0F : lead & 0x07;
    if (n == 0 || i + n > s.size()) n = 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((b(k) & 0xC0) != 0x80) {
            n = 0;
            break;
        }
        c = (c << 6) | (b(k) & 0x3F);
    }
    // An overlong form or a surrogate is no character either: "\xE0\x80\x8B"
    // must not pass for the blank it spells.
    static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (n > 1 && (c < least[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) n = 0;
    *length = n == 0 ? 1 : n;
    return n == 0 ? U'\uFFFD' : c;
}

// What may stand around a figure copied out of a report, a web page or a
// spreadsheet without being part of it: blanks, the ideographic space,
// no-break spaces ("192 m") and zero-width characters.
bool blank_around(char32_t c) {
    switch (c) {
    case 0x00A0: case 0x202F: case 0x200B: case 0x200D: case 0x2060: case 0xFEFF: case 0x3000: return true;
    default: return c < 0x80 && is_space(static_cast<unsigned char>(c));
    }
}

std::string_view without_blanks_around(std::string_view s) {
    std::size_t first = s.size(), end = 0;
    for (std::size_t i = 0, n = 0; i < s.size(); i += n) {
        if (blank_around(char_at(s, i, &n))) continue;
        if (first == s.size()) first = i;
        end = i + n;
    }
    return first < end ? s.substr(first, end - first) : std::string_view();
}

// The text with full-width forms as ASCII.
std::string ascii_forms(std::string_view utf8) { return needs_mapping(utf8) ? numeric_bytes(utf8) : std::string(utf8); }

// A Chinese input method's punctuation mode types "。" for the point key.
constexpr std::string_view kIdeographicFullStop = "\u3002";

// A number box's text in the characters the number rule reads: what stands
// around it dropped, full-width forms as ASCII and "。" as the point.
std::string number_chars(std::string_view utf8) {
    const std::string_view s = without_blanks_around(utf8);
    if (s.find(kIdeographicFullStop) == std::string_view::npos) return ascii_forms(s);
    std::string t(s);
    for (std::size_t at = t.find(kIdeographicFullStop); at != std::string::npos; at = t.find(kIdeographicFullStop, at + 1))
        t.replace(at, kIdeographicFullStop.size(), ".");
    return ascii_forms(t);
}

bool typed_char(char c) {
    return is_digit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' || c == ',';
}

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

// The one reading of a number box's text, typed or pasted: its characters
// in ASCII, the same with the commas that group its thousands dropped, and
// the number that writes as a whole.
struct Reading {
    std::string chars, plain;
    double value;
};

Reading read_whole(std::string_view utf8) {
    Reading r{number_chars(utf8), {}, kNoNumber};
    r.plain = r.chars;
    if (thousands_grouped(r.plain)) std::erase(r.plain, ',');
    r.value = whole_literal(r.plain);
    return r;
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

double plain_number(std::string_view utf8) { return read_whole(utf8).value; }

std::string pasted_number(std::string_view utf8) {
    const Reading r = read_whole(utf8);
    if (r.chars.empty()) return {};
    // Digits, "-" and "." alone stay as they are, a mistyped number too:
    // reading it refuses it where it is used.
    if (keyable(r.chars)) return r.chars;
    if (!std::isfinite(r.value)) return {};
    return keyable(r.plain) ? r.plain : number_to_text(r.value);
}

std::string typed_number(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0, n = 0; i < utf8.size(); i += n) {
        char32_t c = char_at(utf8, i, &n);
        if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0; // full-width forms
        else if (c == 0x3002) c = '.';
        if (c >= 0x80 || !typed_char(static_cast<char>(c))) return {};
        out += static_cast<char>(c);
    }
    return out;
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
    const double x = plain_number(utf8);
    // A box without a domain reads what the number rule does not take as
    // the text-to-number rule does, never a grouped number by its first group.
    if (d == Domain::Unchecked) return std::isnan(x) ? text_to_number(utf8) : x;
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

namespace {
// x at `places` decimals, rounded toward +inf (up) or -inf; a figure within
// a relative `noise` of a step is that step.
double round_places_toward(double x, int places, double noise, bool up) {
    if (!std::isfinite(x)) return x;
    const double step = std::pow(10.0, places);
    const double scaled = x * step;
    // So many places that the value has no digit left to drop.
    if (!std::isfinite(scaled) || step == 0) return x;
    const double slack = noise * std::fabs(scaled);
    const double r = up ? std::ceil(scaled - slack) : std::floor(scaled + slack);
    return r / step + 0.0;
}
} // namespace

double round_places_down(double x, int places, double noise) { return round_places_toward(x, places, noise, false); }
double round_places_up(double x, int places, double noise) { return round_places_toward(x, places, noise, true); }

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

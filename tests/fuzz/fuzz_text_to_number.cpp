// libFuzzer target: the text-to-number rule that every input box goes
// through. Any text must read without a crash or undefined behaviour and
// never as not-a-number; the numbers built on it (rounding, text, integer)
// must hold up too; a text that is one number as a whole, and a pasted one,
// read as that number; a text written with full-width characters, with "。"
// for the point or between no-break spaces and zero-width characters must
// read as the same text written in ASCII; and what a number box takes of a
// paste or of keys is what it would take again.
#include "ui/value.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

void check(bool ok)
{
    if (!ok) std::abort(); // libFuzzer reports the input that broke the rule
}

// What a literal is made of, and two characters that end one.
constexpr char kAlphabet[] = "0123456789+-.eE, x";

// The full-width form of an ASCII character (U+FF01..U+FF5E, the
// ideographic space for a blank), in UTF-8.
std::string full_width(char c)
{
    const unsigned u = c == ' ' ? 0x3000u : 0xFF00u + unsigned(c - 0x20);
    std::string s;
    s += char(0xE0 | (u >> 12));
    s += char(0x80 | ((u >> 6) & 0x3F));
    s += char(0x80 | (u & 0x3F));
    return s;
}

// What only the whole reading takes: the grouping comma, "。" and what may
// stand around a copied figure.
bool whole_reading_only(std::string_view text)
{
    for (const char* s : {",", "\uFF0C", "\u3002", "\u00A0", "\u202F", "\u200B", "\u200D", "\u2060", "\uFEFF"})
        if (text.find(s) != std::string_view::npos) return true;
    return false;
}

bool same_number(double a, double b) { return a == b || (std::isinf(a) && std::isinf(b) && (a > 0) == (b > 0)); }
bool same_or_none(double a, double b) { return same_number(a, b) || (std::isnan(a) && std::isnan(b)); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double x = ui::text_to_number(text);
    check(!std::isnan(x));
    (void)ui::text_to_int(text);
    (void)ui::number_to_text(x);
    (void)ui::float_to_int(x);
    const int places = size ? int(data[0] % 31) - 15 : 0;
    const double r = ui::round_places(x, places);
    check(!(r == 0 && std::signbit(r))); // never -0
    (void)ui::number_to_text(r);
    // A text that is one number as a whole reads as the rule reads it.
    const double whole = ui::plain_number(text);
    if (!std::isnan(whole) && !whole_reading_only(text)) check(same_number(whole, x));
    // A box without a domain always reads a number, the whole one where
    // there is one.
    const double unchecked = ui::number_in_domain(text, ui::Domain::Unchecked);
    check(!std::isnan(unchecked));
    if (!std::isnan(whole)) check(same_number(unchecked, whole));
    // A pasted text becomes characters a number box shows, or nothing; what
    // the box took it takes again as it is, and reads as the paste.
    const std::string kept = ui::pasted_number(text);
    check(kept.find_first_not_of("0123456789-.e+") == std::string::npos);
    if (!kept.empty()) {
        check(ui::pasted_number(kept) == kept);
        // (a number written out has the digits the box writes a number with)
        if (!std::isnan(whole))
            check(same_or_none(ui::plain_number(kept), whole) ||
                  same_or_none(ui::plain_number(kept), ui::plain_number(ui::number_to_text(whole))));
    }
    // Keys give the characters of a number or nothing, and what they gave
    // types again as it is.
    const std::string typed = ui::typed_number(text);
    check(typed.find_first_not_of("0123456789+-.eE,") == std::string::npos);
    check(ui::typed_number(typed) == typed);

    // The same bytes taken as characters of a number, in ASCII and in
    // full-width writing, read alike (a mixed writing too).
    std::string ascii, wide, mixed;
    for (size_t i = 0; i < size; ++i) {
        const char c = kAlphabet[data[i] % (sizeof kAlphabet - 1)];
        ascii += c;
        wide += full_width(c);
        mixed += i % 2 ? full_width(c) : std::string(1, c);
    }
    const double a = ui::text_to_number(ascii);
    check(same_number(a, ui::text_to_number(wide)));
    check(same_number(a, ui::text_to_number(mixed)));
    check(ui::text_to_int(ascii) == ui::text_to_int(wide));
    check(same_or_none(ui::plain_number(ascii), ui::plain_number(wide)));
    check(same_or_none(ui::plain_number(ascii), ui::plain_number(mixed)));
    check(ui::pasted_number(ascii) == ui::pasted_number(wide));
    check(ui::typed_number(ascii) == ui::typed_number(wide));
    // The point typed as "。", and the figure copied with what stands around it.
    std::string chinese_point;
    for (char c : ascii) chinese_point += c == '.' ? std::string("\u3002") : std::string(1, c);
    check(same_or_none(ui::plain_number(ascii), ui::plain_number(chinese_point)));
    const std::string copied = "\u00A0\u200B" + ascii + "\u2060\u202F";
    check(same_or_none(ui::plain_number(ascii), ui::plain_number(copied)));
    check(ui::pasted_number(ascii) == ui::pasted_number(copied));
    return 0;
}

// libFuzzer target: the text-to-number rule that every input box goes
// through. Any text must read without a crash or undefined behaviour and
// never as not-a-number; the numbers built on it (rounding, text, integer)
// must hold up too; a text that is one number as a whole, and a pasted one,
// read as that number; and a text written with full-width characters must
// read as the same text written in ASCII.
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
constexpr char kAlphabet[] = "0123456789+-.eE x";

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
    if (!std::isnan(whole)) check(same_number(whole, x));
    // A pasted text becomes characters a number box shows, or nothing.
    const std::string kept = ui::pasted_number(text);
    check(kept.find_first_not_of("0123456789-.e+") == std::string::npos);

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
    return 0;
}

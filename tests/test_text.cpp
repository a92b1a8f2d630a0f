#include "ui/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::string utf8_of(char32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (cp >> 18));
        s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// ---- length ------------------------------------------------------------------

struct Length {
    std::string text;
    int bytes;
};

class TextLength : public ::testing::TestWithParam<Length> {};

TEST_P(TextLength, CountsGbkBytes) {
    EXPECT_EQ(ui::text_length(GetParam().text), GetParam().bytes) << "text \"" << GetParam().text << "\"";
}

INSTANTIATE_TEST_SUITE_P(Table, TextLength, ::testing::Values(
    Length{"", 0},
    Length{"abc", 3},
    Length{"隧道", 4},
    Length{"K12+345隧道进口", 15},
    Length{"\u3000１", 4},
    Length{"€", 1},
    Length{"😀", 2},
    Length{"\xFF", 2},
    Length{"\xE4\xB8", 2},
    Length{"\xE4\xB8" "a", 3},
    Length{"\xC0\x80", 4},
    Length{"\xED\xA0\x80", 6}));

// Whatever GBK makes of a character, the count must agree with the bytes
// the text really takes once converted.
TEST(TextLengthAgreesWithConversion, EveryCharacter) {
    int mismatches = 0;
    for (char32_t cp = 1; cp < 0x110000; cp = cp < 0x10000 ? cp + 1 : cp + 0x3F) {
        if (cp >= 0xD800 && cp < 0xE000) continue;
        const std::string s = utf8_of(cp);
        const std::string gbk = ui::utf8_to_gbk(s);
        if (ui::text_length(s) != static_cast<int>(gbk.size()) && ++mismatches <= 10)
            ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(cp) << " counts "
                          << ui::text_length(s) << " but converts to " << gbk.size() << " bytes";
    }
    for (const char* s : {"\xFF", "\xE4\xB8", "a\xE4\xB8z\xE4", "\xC0\x80", "\xF4\x90\x80\x80", "\U000E0041"})
        EXPECT_EQ(ui::text_length(s), static_cast<int>(ui::utf8_to_gbk(s).size())) << s;
}

// ---- substring -------------------------------------------------------------

struct Mid {
    std::string text;
    int start, len;
    std::string want;
};

class TextMid : public ::testing::TestWithParam<Mid> {};

TEST_P(TextMid, TakesWholeCharactersOnly) {
    const auto& p = GetParam();
    EXPECT_EQ(ui::text_mid(p.text, p.start, p.len), p.want)
        << "text \"" << p.text << "\" start " << p.start << " len " << p.len;
}

INSTANTIATE_TEST_SUITE_P(Table, TextMid, ::testing::Values(
    Mid{"隧道K12", 1, 2, "隧"},
    Mid{"隧道K12", 1, 3, "隧"},
    Mid{"隧道K12", 2, 2, ""},
    Mid{"隧道K12", 2, 3, "道"},
    Mid{"隧道K12", 3, 3, "道K"},
    Mid{"隧道K12", 5, 10, "K12"},
    Mid{"隧道K12", 7, 1, "2"},
    Mid{"隧道K12", 8, 1, ""},
    Mid{"隧道K12", 0, 3, ""},
    Mid{"隧道K12", -1, 3, ""},
    Mid{"隧道K12", 1, 0, ""},
    Mid{"隧道K12", 1, -2, ""},
    Mid{"abc", 2, INT_MAX, "bc"},
    Mid{"€x道", 1, 2, "€x"},
    Mid{"a😀b", 2, 2, "😀"},
    Mid{"", 1, 1, ""}));

// ---- search ------------------------------------------------------------------

struct Find {
    std::string text, sought;
    int start;
    bool ignore_case;
    int want;
};

class FindText : public ::testing::TestWithParam<Find> {};

TEST_P(FindText, ReportsGbkPositionOnCharacterBoundaries) {
    const auto& p = GetParam();
    EXPECT_EQ(ui::find_text(p.text, p.sought, p.start, p.ignore_case), p.want)
        << "\"" << p.sought << "\" in \"" << p.text << "\" from " << p.start;
}

INSTANTIATE_TEST_SUITE_P(Table, FindText, ::testing::Values(
    Find{"隧道隧道", "道", 1, false, 3},
    Find{"隧道隧道", "道", 3, false, 3},
    // A start inside a character moves on to the next character.
    Find{"隧道隧道", "道", 4, false, 7},
    Find{"隧道隧道", "隧道", 2, false, 5},
    Find{"中a中a", "a", 1, false, 3},
    Find{"中a中a", "a", 4, false, 6},
    Find{"ABCabc", "b", 1, true, 2},
    Find{"ABCabc", "b", 1, false, 5},
    Find{"Ａ", "ａ", 1, true, -1},
    Find{"xyz", "z", 3, false, 3},
    Find{"xyz", "z", 4, false, -1},
    Find{"xyz", "xyz1", 1, false, -1},
    Find{"xyz", "q", 1, false, -1},
    Find{"xyz", "", 1, false, -1},
    Find{"xyz", "x", 0, false, 1},
    // Pieces of a character never match.
    Find{"中", "\xB8\xAD", 1, false, -1},
    Find{"中", "\xE4\xB8", 1, false, -1},
    Find{"a中", "a\xE4", 1, false, -1},
    Find{"\xE4\xB8" "a", "a", 1, false, 3}));

// ---- splitting ---------------------------------------------------------------

struct Split {
    std::string text, sep;
    int max_parts;
    std::vector<std::string> want;
};

class SplitText : public ::testing::TestWithParam<Split> {};

TEST_P(SplitText, CutsAtSeparators) {
    const auto& p = GetParam();
    EXPECT_EQ(ui::split_text(p.text, p.sep, p.max_parts), p.want)
        << "\"" << p.text << "\" by \"" << p.sep << "\" max " << p.max_parts;
}

INSTANTIATE_TEST_SUITE_P(Table, SplitText, ::testing::Values(
    Split{"a,b,c", ",", 0, {"a", "b", "c"}},
    Split{"a,,b", ",", 0, {"a", "", "b"}},
    Split{"a,b,", ",", 0, {"a", "b"}},
    Split{"a,,", ",", 0, {"a", ""}},
    Split{",a", ",", 0, {"", "a"}},
    Split{",", ",", 0, {""}},
    Split{"abc", ",", 0, {"abc"}},
    Split{"", ",", 0, {}},
    Split{"", "", 0, {}},
    Split{"a,b", "", 0, {"a,b"}},
    Split{"a,b,c", ",", 2, {"a", "b"}},
    Split{"a,b", ",", 5, {"a", "b"}},
    Split{"a,b,c", ",", -1, {"a", "b", "c"}},
    Split{"a::b:c", "::", 0, {"a", "b:c"}},
    Split{"隧道，洞口，", "，", 0, {"隧道", "洞口"}},
    Split{"K1+200 K1+350", " ", 0, {"K1+200", "K1+350"}}));

// ---- conversion ------------------------------------------------------------

TEST(ConvertEncoding, ConvertsOrGivesNothing) {
    const struct {
        std::string bytes;
        const char* from;
        const char* to;
        std::string want;
    } rows[] = {
        {"隧道", "UTF-8", "GB18030", "\xCB\xED\xB5\xC0"},
        {"\xCB\xED\xB5\xC0", "GB18030", "UTF-8", "隧道"},
        {"😀", "UTF-8", "GB18030", "\x94\x39\xFC\x36"},
        {"abc", "UTF-8", "NO-SUCH-CODE", ""},
        {"abc", "NO-SUCH-CODE", "UTF-8", ""},
        {"a\xFF" "b", "UTF-8", "GB18030", ""},
        {"a\xE4\xB8", "UTF-8", "GB18030", ""},
        {"😀", "UTF-8", "GBK", ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ui::convert_encoding(r.bytes, r.from, r.to), r.want) << r.from << " -> " << r.to << ": " << r.bytes;
}

TEST(GbkHelpers, ConvertBothWays) {
    const struct {
        std::string utf8;
        std::string gbk;
    } rows[] = {
        {"", ""},
        {"K12+345", "K12+345"},
        {"隧道—", "\xCB\xED\xB5\xC0\xA1\xAA"},
        {"€", "\x80"},
        {"\u3000１", "\xA1\xA1\xA3\xB1"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ui::utf8_to_gbk(r.utf8), r.gbk) << r.utf8;
        EXPECT_EQ(ui::gbk_to_utf8(r.gbk), r.utf8) << r.utf8;
    }
}

TEST(GbkHelpers, StandInForWhatGbkLacks) {
    // One two-byte stand-in per character, so positions stay where
    // text_length puts them.
    EXPECT_EQ(ui::utf8_to_gbk("a😀b"), "a\xA3\xBF" "b");
    EXPECT_EQ(ui::utf8_to_gbk("a\xE4\xB8" "b"), "a\xA3\xBF" "b");
    EXPECT_EQ(ui::utf8_to_gbk("\U000E0041x"), "\xA3\xBFx");
    // GB18030 reads back what plain GBK has no code for.
    EXPECT_EQ(ui::gbk_to_utf8("\x94\x39\xFC\x36"), "😀");
    EXPECT_EQ(ui::gbk_to_utf8("a\xFF" "b"), "a\uFFFD" "b");
    EXPECT_EQ(ui::gbk_to_utf8("a\xD6"), "a\uFFFD");
}

} // namespace

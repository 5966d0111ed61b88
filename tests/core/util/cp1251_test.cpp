#include "core/util/cp1251.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv::util {
namespace {

// UTF-8 of one code point below U+10000.
std::string utf8Of(unsigned cp)
{
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

TEST(Cp1251, KnownTextsHaveTheirExactBytes)
{
    struct Case {
        std::string utf8;
        std::string cp1251;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"Draw 12; ok", "Draw 12; ok"},
        {"Архив тиражей", "\xC0\xF0\xF5\xE8\xE2 \xF2\xE8\xF0\xE0\xE6\xE5\xE9"},
        {"Ёё", "\xA8\xB8"},
        {"АЯая", "\xC0\xDF\xE0\xFF"},
        {"№5 «ок» €", "\xB9" "5 \xAB\xEE\xEA\xBB \x88"},
        {"Ўў Її Єє", "\xA1\xA2 \xAF\xBF \xAA\xBA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251);
        EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8);
    }
}

TEST(Cp1251, UpperHalfIsTheCyrillicAlphabet)
{
    for (unsigned b = 0xC0; b <= 0xFF; ++b) {
        SCOPED_TRACE(b);
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Cp1251ToUtf8(byte), utf8Of(0x410 + (b - 0xC0)));
    }
}

TEST(Cp1251, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (unsigned b = 0; b <= 0xFF; ++b) all += static_cast<char>(b);
    const std::string utf8 = Cp1251ToUtf8(all);
    EXPECT_EQ(Utf8ToCp1251(utf8), all);

    // The one unassigned byte reads as U+FFFD and comes back as itself.
    EXPECT_EQ(Cp1251ToUtf8("a\x98z"), "a\xEF\xBF\xBDz");
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8("a\x98z")), "a\x98z");
    EXPECT_EQ(Cp1251ToUtf8("\x98\x98"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Cp1251, LongTextConverts)
{
    std::string utf8;
    std::string cp;
    for (int i = 0; i < 5000; ++i) {
        utf8 += "Жё€ ";
        cp += "\xC6\xB8\x88 ";
    }
    EXPECT_EQ(Utf8ToCp1251(utf8), cp);
    EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
}

TEST(Cp1251, UnmappableAndBrokenInputBecomesOneQuestionMarkEach)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::string cp1251;
    };
    const std::vector<Case> cases = {
        {"CJK", "a中b", "a?b"},
        {"emoji", "x😀y", "x?y"},
        {"Latin-1 letter", "Müller", "M?ller"},
        {"U+FFFD", "\xEF\xBF\xBD", "\x98"},
        {"truncated at the end", "a\xE2\x82", "a?"},
        {"truncated in the middle", "a\xE2\x82z", "a?z"},
        {"lone lead before ASCII", "\xD0" "AB", "?AB"},
        {"lone lead before Cyrillic", "\xD0Я", "?\xDF"},
        {"stray continuation bytes", "\x80\xBFz", "??z"},
        {"never valid byte", "\xFF\x80z", "??z"},
        {"overlong NUL", "\xC0\x80", "??"},
        {"mixed", "Ж\xFFЖ", "\xC6?\xC6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251);
    }
}

TEST(Cp1251, CutKeepsWholeCharacters)
{
    struct Case {
        std::string utf8;
        std::size_t max;
        std::string cp1251;
    };
    const std::vector<Case> cases = {
        {"Архив", 3, "\xC0\xF0\xF5"},
        {"Архив", 5, "\xC0\xF0\xF5\xE8\xE2"},
        {"Архив", 50, "\xC0\xF0\xF5\xE8\xE2"},
        {"Архив", 0, ""},
        {"中文字", 2, "??"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8 + " / " + std::to_string(c.max));
        EXPECT_EQ(Utf8ToCp1251Cut(c.utf8, c.max), c.cp1251);
    }
}

TEST(Cp1251, Utf8LeftNeverSplitsACharacter)
{
    struct Case {
        std::string utf8;
        std::size_t max;
        std::string left;
    };
    const std::vector<Case> cases = {
        {"Архив", 2, "Ар"},
        {"Архив", 5, "Архив"},
        {"Архив", 9, "Архив"},
        {"Ёж", 0, ""},
        {"", 3, ""},
        {"a€b", 2, "a€"},
        {"a😀b", 2, "a😀"},
        {"a😀b", 1, "a"},
        // A broken sequence counts as one character and leaves the next one alone.
        {"\xD0" "AB", 1, "\xD0"},
        {"\xE2\x82" "AB", 2, "\xE2\x82" "A"},
        {"\xFF\xFFZ", 2, "\xFF\xFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8 + " / " + std::to_string(c.max));
        EXPECT_EQ(Utf8Left(c.utf8, c.max), c.left);
    }
}

} // namespace
} // namespace kv::util

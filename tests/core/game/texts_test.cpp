#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/game/game.h"
#include "core/util/error.h"

using namespace kv::game;

namespace {

TEST(Texts, NumberTexts)
{
    struct Case {
        std::string text;
        bool ok;
        int32_t value;
    };
    const std::vector<Case> cases = {
        {"5", true, 5}, {" 12 ", true, 12}, {"\t7\r\n", true, 7}, {"+3", true, 3},
        {"-3", true, -3}, {"007", true, 7}, {"0", true, 0}, {"-0", true, 0},
        {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        {"$A", true, 10}, {"$ff", true, 255}, {"0x10", true, 16}, {"0X1f", true, 31},
        {"-$10", true, -16}, {"$FFFFFFFF", true, -1}, {"$7FFFFFFF", true, 2147483647},
        {"", false, 0}, {"   ", false, 0}, {"x", false, 0}, {"1 2", false, 0},
        {"1.5", false, 0}, {"1,5", false, 0}, {"5x", false, 0}, {"-", false, 0}, {"+", false, 0},
        {"$", false, 0}, {"0x", false, 0}, {"$G", false, 0}, {"--1", false, 0}, {"+-1", false, 0},
        {"2147483648", false, 0}, {"-2147483649", false, 0}, {"99999999999999999999", false, 0},
        {"$100000000", false, 0}, {"１", false, 0},
    };
    for (const Case& c : cases) {
        int32_t v = 12345;
        EXPECT_EQ(TryTextToInt(c.text, v), c.ok) << "\"" << c.text << "\"";
        if (c.ok) {
            EXPECT_EQ(v, c.value) << "\"" << c.text << "\"";
        }
        EXPECT_EQ(TextToInt(c.text), c.value) << "\"" << c.text << "\"";
    }
}

TEST(Texts, TrimAndCopyChars)
{
    EXPECT_EQ(TrimText(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimText("\x01x\x1f"), "x");
    EXPECT_EQ(TrimText("   "), "");

    struct Case {
        std::string text;
        int index, count;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"01.02.2020 10:05", 1, 2, "01"}, {"01.02.2020 10:05", 7, 4, "2020"},
        {"01.02.2020 10:05", 15, 2, "05"}, {"01.02.2020", 12, 2, ""}, {"01.02.2020", 10, 4, "0"},
        {"аб.вг.дежз", 4, 2, "вг"}, {"аб.вг.дежз", 7, 4, "дежз"}, {"ab", 0, 1, "a"},
        {"ab", 1, 0, ""}, {"", 1, 5, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CopyChars(c.text, c.index, c.count), c.expected) << c.text << " " << c.index << "," << c.count;
}

TEST(Texts, DrawToTextKeepsStoredOrder)
{
    TDraw d;
    d.DrawNo = 1234;
    d.Nums = {3, 7, 1, 15, 9, 20, 11, 4};
    d.Extra = 2;
    d.SetDateText("01.02.2020 10:05");
    EXPECT_EQ(DrawValuesText(d), "3;7;1;15;9;20;11;4 e:2");
    EXPECT_EQ(DrawToText(d), "Тираж № 1234 от 01.02.2020 10:05, значения: 3;7;1;15;9;20;11;4 e:2");

    TDraw undated;
    undated.DrawNo = 5;
    undated.Nums = {1, 2, 3, 4, 5, 6, 7, 8};
    undated.Extra = 4;
    EXPECT_EQ(DrawToText(undated), "Тираж № 5 от , значения: 1;2;3;4;5;6;7;8 e:4");
}

TEST(Texts, CombinationTexts)
{
    struct Case {
        TComb comb;
        std::string plain, spaced;
    };
    const std::vector<Case> cases = {
        {{1, 5, 7, 9, 12, 13, 18, 20}, "1;5;7;9;12;13;18;20", "01 05 07 09 12 13 18 20"},
        {{20, 1, 11, 10, 9, 2, 3, 4}, "20;1;11;10;9;2;3;4", "20 01 11 10 09 02 03 04"},
        {{0, 0, 100, 255, 1, 1, 1, 1}, "0;0;100;255;1;1;1;1", "00 00 100 255 01 01 01 01"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CombToText(c.comb), c.plain);
        EXPECT_EQ(CombToSpacedText(c.comb), c.spaced);
        // Both forms read back to the same combination.
        EXPECT_EQ(ParseComb(c.plain), c.comb);
        EXPECT_EQ(ParseComb(c.spaced), c.comb);
    }
}

TEST(Texts, ListTexts)
{
    TNumSet s;
    s.Count = 3;
    s.Nums = {9, 15, 20, 4, 4, 4, 4, 4};
    EXPECT_EQ(NumSetToText(s, ", "), "9, 15, 20");
    EXPECT_EQ(NumSetToText(s, ""), "91520");
    s.Count = 0;
    EXPECT_EQ(NumSetToText(s, ";"), "");
    s.Count = 8;
    EXPECT_EQ(NumSetToText(s, " "), "9 15 20 4 4 4 4 4");
    s.Count = 42;   // damaged count from a file
    EXPECT_EQ(NumSetToText(s, " "), "9 15 20 4 4 4 4 4");

    EXPECT_EQ(IntListToText({-3, 0, 3}, ";"), "-3;0;3");
    EXPECT_EQ(IntListToText({2147483647, -2147483647 - 1}, " | "), "2147483647 | -2147483648");
    EXPECT_EQ(IntListToText({}, ";"), "");
}

TEST(Texts, ParseCombAccepts)
{
    struct Case {
        std::string text;
        TComb comb;
    };
    const std::vector<Case> cases = {
        {"1 2 3 4 5 6 7 8", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"1-2-3-4-5-6-7-8", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"1;2;3;4;5;6;7;x", {1, 2, 3, 4, 5, 6, 7, 0}},
        {"  20,19,,18 ; 17|16:15.14\t13  ", {20, 19, 18, 17, 16, 15, 14, 13}},
        {";;8 7 6 5 4 3 2 1;;", {8, 7, 6, 5, 4, 3, 2, 1}},
        {"0 21 99 1 2 3 4 5", {0, 21, 99, 1, 2, 3, 4, 5}},   // no range check here
        {"$A 2 3 4 5 6 7 8", {10, 2, 3, 4, 5, 6, 7, 8}},
        {"300 1 2 3 4 5 6 7", {0, 1, 2, 3, 4, 5, 6, 7}},     // not a byte: 0, not 44
        {"01 05 07 09 12 13 18 20\r", {1, 5, 7, 9, 12, 13, 18, 20}},
        {"a b c d e f g h", {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TComb comb{};
        EXPECT_NO_THROW(comb = ParseComb(c.text)) << c.text;
        EXPECT_EQ(comb, c.comb) << c.text;
    }
}

TEST(Texts, ParseCombRefuses)
{
    const std::vector<std::string> texts = {
        "1;2;3;4;5;6;7", "", "   ", "--;;", "1 2 3 4 5 6 7 8 9", "12345678",
        "1 2 3 4 5 6 7 8 \r",   // a lone CR is a ninth word
        "1/2/3/4/5/6/7/8",      // "/" separates nothing
    };
    for (const std::string& t : texts) {
        try {
            ParseComb(t);
            ADD_FAILURE() << "accepted \"" << t << "\"";
        } catch (const kv::Error& e) {
            EXPECT_EQ(std::string(e.what()), "Некорректная комбинация: \"" + t + "\"!");
        }
    }
}

TEST(Texts, ParseIntList)
{
    struct Case {
        std::string text;
        TIntArray values;
    };
    const std::vector<Case> cases = {
        {"5", {5}},
        {"3;1;2", {3, 1, 2}},
        {"1,2;3", {1, 2, 3}},
        {" 4 ; 5 ", {4, 5}},
        {"-7", {-7}},
        {"$A", {10}},
        {"1-20;2", {1, 3, 5, 7, 9, 11, 13, 15, 17, 19}},
        {"1-20,5", {1, 6, 11, 16}},
        {"-3-3;3", {-3, 0, 3}},
        {"-5--1;2", {-5, -3, -1}},
        {"20-1;-5", {20, 15, 10, 5}},
        {"5-4;2", {5}},
        {"3-3;1", {3}},
        {" 2 - 6 ; 2 ", {2, 4, 6}},
        {"1-20", {}},           // no step
        {"1-20;0", {}},
        {"5-1;1", {}},          // negative count
        {"1-x;1", {}},
        {"1-3;1;2", {}},        // the step is everything after the separator
        {"7-", {}},
        {"", {}},
        {"   ", {}},
        {"1;;2", {}},
        {"1;2;", {}},
        {"1;x", {}},
        {"1 2", {}},
        {"0-2000000000;1", {}},   // far too long to be meant
    };
    for (const Case& c : cases) EXPECT_EQ(ParseIntList(c.text), c.values) << "\"" << c.text << "\"";

    const TIntArray longest = ParseIntList("1-" + std::to_string(MaxIntListRange) + ";1");
    ASSERT_EQ(static_cast<int64_t>(longest.size()), MaxIntListRange);
    EXPECT_EQ(longest.back(), MaxIntListRange);
    EXPECT_TRUE(ParseIntList("1-" + std::to_string(MaxIntListRange + 1) + ";1").empty());
}

TEST(Texts, StakeOriginCaption)
{
    struct Case {
        int code;
        std::string caption;
    };
    const std::vector<Case> cases = {
        {0, ""}, {1, "Вручную"}, {2, "Регуляр"}, {3, "Сценарий"}, {4, "Система"}, {5, ""}, {-1, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(StakeOriginCaption(c.code), c.caption) << c.code;
}

TEST(Texts, Segments)
{
    TNumMap ones;
    ones.fill(1);
    TNumMap layout{};
    for (int i = 0; i < 20; ++i) layout[i] = static_cast<uint8_t>(i % 10);
    EXPECT_EQ(SegmentsToText(ones), "11111111111111111111");
    EXPECT_EQ(SegmentsToText(layout), "01234567890123456789");
    EXPECT_EQ(TextToSegments(SegmentsToText(layout)), layout);

    auto withHead = [&](std::vector<uint8_t> head) {
        TNumMap m = ones;
        for (std::size_t i = 0; i < head.size(); ++i) m[i] = head[i];
        return m;
    };
    struct Case {
        std::string text;
        TNumMap seg;
    };
    const std::vector<Case> cases = {
        {"12", withHead({1, 2})},
        {"0", withHead({0})},
        {"", ones},
        {"1a2", withHead({1, 1, 2})},
        {" 9", withHead({1, 9})},
        {"ж3", withHead({1, 3})},   // one character, not two bytes
        {"01234567890123456789999", layout},
        {"99999999999999999999", withHead(std::vector<uint8_t>(20, 9))},
    };
    for (const Case& c : cases) EXPECT_EQ(TextToSegments(c.text), c.seg) << "\"" << c.text << "\"";
}

} // namespace

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "core/game/game.h"

using namespace kv::game;

namespace {

TDraw MakeDraw(TComb nums, int extra = 1, int drawNo = 1)
{
    TDraw d;
    d.DrawNo = drawNo;
    d.Nums = nums;
    d.Extra = static_cast<uint8_t>(extra);
    return d;
}

TNumSet MakeSet(int count, TComb nums)
{
    TNumSet s;
    s.Count = count;
    s.Nums = nums;
    return s;
}

TEST(Numbers, ClassesOfTheField)
{
    const std::vector<int> primes = {1, 2, 3, 5, 7, 11, 13, 17, 19};
    int primeCount = 0, evenCount = 0, smallCount = 0;
    for (int n = 1; n <= 20; ++n) {
        const bool prime = std::find(primes.begin(), primes.end(), n) != primes.end();
        EXPECT_EQ(IsPrime(n), prime) << n;
        EXPECT_EQ(IsEven(n), n == 2 * (n / 2)) << n;
        EXPECT_EQ(IsSmall(n), n <= 10) << n;
        EXPECT_NE(IsSmall(n), IsLarge(n)) << n;
        primeCount += IsPrime(n);
        evenCount += IsEven(n);
        smallCount += IsSmall(n);
    }
    EXPECT_EQ(primeCount, 9);
    EXPECT_EQ(evenCount, 10);
    EXPECT_EQ(smallCount, 10);
    // The class is a fixed set of the field, not arithmetic primality.
    for (int n : {0, -2, 21, 23, 29, 255}) EXPECT_FALSE(IsPrime(n)) << n;
    EXPECT_TRUE(IsSmall(10));
    EXPECT_TRUE(IsLarge(11));
}

TEST(Numbers, Digits)
{
    struct Case {
        int n;
        std::vector<int> digits;
    };
    const std::vector<Case> cases = {
        {7, {7}}, {20, {2, 0}}, {10, {1, 0}}, {19, {1, 9}}, {0, {0}}, {255, {2, 5, 5}},
        {-12, {1, 2}}, {2147483647, {2, 1, 4, 7, 4, 8, 3, 6, 4, 7}},
        {-2147483647 - 1, {2, 1, 4, 7, 4, 8, 3, 6, 4, 8}},
    };
    for (const Case& c : cases) {
        const TNumberDigits d = NumberDigits(c.n);
        ASSERT_EQ(d.Count, static_cast<int>(c.digits.size())) << c.n;
        for (int i = 0; i < d.Count; ++i) EXPECT_EQ(d.Digits[i], c.digits[i]) << c.n << " #" << i;
    }
}

TEST(Numbers, Channels)
{
    struct Case {
        int n, w, channel;
    };
    const std::vector<Case> cases = {
        {1, 3, 1}, {3, 3, 1}, {4, 3, 2}, {20, 3, 7}, {20, 1, 20}, {20, 20, 1}, {11, 5, 3},
        {10, 2, 5}, {11, 2, 6},
    };
    for (const Case& c : cases) EXPECT_EQ(Channel(c.n, c.w), c.channel) << c.n << " w" << c.w;
}

TEST(Numbers, ChannelPalette)
{
    const std::array<uint32_t, 19> palette = {
        0xAAFFAA, 0xFFFFAA, 0xAAFFFF, 0xFFAAAA, 0xAAAAFF, 0xFFD5AA, 0xD5AAFF,
        0xD4D4D4, 0xAAD5FF, 0xFFAAD5, 0xD5FFD5, 0xFFFFD5, 0xD5FFFF, 0xFFD5D5,
        0xD5D5FF, 0xFFEAD5, 0xEAD5FF, 0xE9E9E9, 0xD5EAFF,
    };
    for (int g = 1; g <= 19; ++g) EXPECT_EQ(ChannelPaletteColor(g), palette[g - 1]) << g;
    EXPECT_EQ(ChannelPaletteColor(0), 0xFF0000u);
    EXPECT_EQ(ChannelPaletteColor(20), 0xFF0000u);
}

TEST(Numbers, ChannelColor)
{
    struct Case {
        int n, w;
        uint32_t color;
    };
    const std::vector<Case> cases = {
        {0, 1, 0xFF0000}, {0, 4, 0xFF0000}, {21, 1, 0xFF0000}, {21, 5, 0xFF0000},
        {-1, 2, 0xFF0000},
        {1, 1, 0xAAFFAA}, {19, 1, 0xD5EAFF},
        {20, 1, 0xAAFFAA},   // channel 20 wraps to the first colour
        {20, 2, 0xFFAAD5}, {11, 5, 0xAAFFFF}, {5, 5, 0xAAFFAA}, {6, 5, 0xFFFFAA},
        {20, 20, 0xAAFFAA},
    };
    for (const Case& c : cases) EXPECT_EQ(ChannelColor(c.n, c.w), c.color) << c.n << " w" << c.w;
}

TEST(Numbers, ShiftNumber)
{
    struct Case {
        int n, d, expected;
    };
    const std::vector<Case> cases = {
        {20, 1, 1}, {1, -1, 20}, {5, 0, 5}, {19, 3, 2}, {3, -3, 20}, {3, -2, 1},
        {10, 10, 20}, {11, 10, 1}, {1, 19, 20}, {20, -19, 1}, {0, 0, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ShiftNumber(c.n, c.d), c.expected) << c.n << " by " << c.d;

    for (int d = -19; d <= 19; ++d)
        for (int n = 1; n <= 20; ++n) {
            const int s = ShiftNumber(n, d);
            EXPECT_TRUE(s >= 1 && s <= 20) << n << " by " << d;
            EXPECT_EQ(ShiftNumber(s, -d), n) << n << " by " << d;
        }
}

TEST(Numbers, ShiftCombKeepsOrder)
{
    const TComb comb = {1, 5, 7, 9, 12, 13, 18, 20};
    EXPECT_EQ(ShiftComb(comb, 1), (TComb{2, 6, 8, 10, 13, 14, 19, 1}));
    EXPECT_EQ(ShiftComb(comb, -1), (TComb{20, 4, 6, 8, 11, 12, 17, 19}));
    EXPECT_EQ(ShiftComb(comb, 0), comb);
    EXPECT_EQ(ShiftComb(comb, 8), (TComb{9, 13, 15, 17, 20, 1, 6, 8}));
}

TEST(Numbers, Membership)
{
    const TDraw draw = MakeDraw({3, 7, 1, 15, 9, 20, 11, 4});
    struct Case {
        int n;
        bool in;
    };
    const std::vector<Case> cases = {
        {3, true}, {4, true}, {20, true}, {1, true}, {2, false}, {0, false}, {21, false},
        {259, false},   // must not match 3 through a narrowing
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InDraw(c.n, draw), c.in) << c.n;
        EXPECT_EQ(InComb(c.n, draw.Nums), c.in) << c.n;
    }
}

TEST(Numbers, DrawHasChannel)
{
    const TDraw draw = MakeDraw({3, 7, 1, 15, 9, 20, 11, 4});
    struct Case {
        int w;
        std::vector<int> present;
    };
    const std::vector<Case> cases = {
        {5, {1, 2, 3, 4}},
        {3, {1, 2, 3, 4, 5, 7}},
        {20, {1}},
        {1, {1, 3, 4, 7, 9, 11, 15, 20}},
    };
    for (const Case& c : cases)
        for (int g = 0; g <= 21; ++g) {
            const bool expected = std::find(c.present.begin(), c.present.end(), g) != c.present.end();
            EXPECT_EQ(DrawHasChannel(g, draw, c.w), expected) << "channel " << g << " w" << c.w;
        }
}

TEST(Numbers, DrawHasMapped)
{
    TNumMap map{};
    for (int n = 1; n <= 20; ++n) map[n - 1] = static_cast<uint8_t>(n % 4);   // 1,2,3,0,1,...
    struct Case {
        TComb nums;
        int v;
        bool expected;
    };
    const std::vector<Case> cases = {
        {{4, 8, 12, 16, 20, 4, 8, 12}, 0, true},
        {{4, 8, 12, 16, 20, 4, 8, 12}, 1, false},
        {{1, 5, 9, 13, 17, 4, 8, 20}, 1, true},
        {{1, 5, 9, 13, 17, 4, 8, 20}, 2, false},
        {{2, 6, 2, 6, 2, 6, 2, 19}, 3, true},
        // Numbers outside the field have no entry, not even the zero that fills the map.
        {{0, 0, 0, 0, 0, 0, 21, 255}, 0, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DrawHasMapped(c.v, MakeDraw(c.nums), map), c.expected) << CombToText(c.nums) << " v" << c.v;
}

TEST(Numbers, HitCount)
{
    struct Case {
        TComb a, b;
        int hits;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}, 8},
        {{1, 2, 3, 4, 5, 6, 7, 8}, {8, 7, 6, 5, 4, 3, 2, 1}, 8},
        {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}, 0},
        {{3, 7, 1, 15, 9, 20, 11, 4}, {1, 2, 3, 4, 5, 6, 7, 8}, 4},
        {{3, 7, 1, 15, 9, 20, 11, 4}, {20, 19, 18, 17, 16, 14, 13, 12}, 1},
        // Repeated numbers count every equal pair: 1 twice x once, 0 six x seven times.
        {{1, 1, 0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 0, 0, 0, 0}, 44},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HitCount(c.a, c.b), c.hits) << CombToText(c.a) << " / " << CombToText(c.b);
        EXPECT_EQ(HitCount(MakeDraw(c.a), c.b), c.hits);
        EXPECT_EQ(HitCount(MakeDraw(c.a), MakeDraw(c.b)), c.hits);
    }
}

TEST(Numbers, IntersectNumSet)
{
    const TDraw draw = MakeDraw({3, 7, 1, 15, 9, 20, 11, 4});
    struct Case {
        TNumSet set;
        TNumSet expected;
    };
    const std::vector<Case> cases = {
        {MakeSet(8, {1, 2, 3, 4, 5, 6, 7, 8}), MakeSet(4, {1, 3, 4, 7, 0, 0, 0, 0})},
        {MakeSet(8, {20, 15, 11, 9, 7, 4, 3, 1}), MakeSet(8, {1, 3, 4, 7, 9, 11, 15, 20})},
        // Entries past Count are ignored even when they would match.
        {MakeSet(3, {20, 15, 9, 3, 7, 0, 0, 0}), MakeSet(3, {9, 15, 20, 0, 0, 0, 0, 0})},
        {MakeSet(0, {3, 7, 1, 15, 9, 20, 11, 4}), MakeSet(0, {})},
        {MakeSet(10, {2, 5, 6, 8, 10, 12, 13, 14}), MakeSet(0, {})},
        {MakeSet(-1, {3, 7, 1, 15, 9, 20, 11, 4}), MakeSet(0, {})},
    };
    for (const Case& c : cases) {
        const TNumSet r = IntersectNumSet(draw, c.set);
        EXPECT_EQ(r, c.expected) << NumSetToText(c.set, ";") << " -> " << NumSetToText(r, ";");
    }
}

TEST(Numbers, SameNumSet)
{
    struct Case {
        TNumSet a, b;
        bool same;
    };
    const std::vector<Case> cases = {
        {MakeSet(8, {1, 2, 3, 4, 5, 6, 7, 8}), MakeSet(8, {1, 2, 3, 4, 5, 6, 7, 8}), true},
        {MakeSet(8, {1, 2, 3, 4, 5, 6, 7, 8}), MakeSet(8, {8, 7, 6, 5, 4, 3, 2, 1}), true},
        {MakeSet(8, {1, 2, 3, 4, 5, 6, 7, 8}), MakeSet(8, {1, 2, 3, 4, 5, 6, 7, 9}), false},
        {MakeSet(3, {1, 2, 3, 0, 0, 0, 0, 0}), MakeSet(4, {1, 2, 3, 4, 0, 0, 0, 0}), false},
        {MakeSet(3, {1, 2, 3, 9, 9, 9, 9, 9}), MakeSet(3, {3, 2, 1, 0, 0, 0, 0, 0}), true},
        // b's entries past Count do not count as members.
        {MakeSet(3, {1, 2, 4, 0, 0, 0, 0, 0}), MakeSet(3, {1, 2, 3, 4, 0, 0, 0, 0}), false},
        {MakeSet(0, {1, 0, 0, 0, 0, 0, 0, 0}), MakeSet(0, {2, 0, 0, 0, 0, 0, 0, 0}), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SameNumSet(c.a, c.b), c.same) << NumSetToText(c.a, ";") << " / " << NumSetToText(c.b, ";");
}

TEST(Numbers, RecordConversions)
{
    const TDraw draw = MakeDraw({3, 7, 1, 15, 9, 20, 11, 4}, 2, 77);
    EXPECT_EQ(DrawToComb(draw), (TComb{3, 7, 1, 15, 9, 20, 11, 4}));
    const TNumSet s = CombToNumSet(draw.Nums);
    EXPECT_EQ(s.Count, 8);
    EXPECT_EQ(s.Nums, draw.Nums);
}

TEST(Numbers, CoveredNumbersStopAtTheWholeField)
{
    const TCombsArray combs = {
        {1, 2, 3, 4, 5, 6, 7, 8},
        {9, 10, 11, 12, 13, 14, 15, 16},
        // 20 is reached in the middle: the numbers after it must not be counted.
        {17, 18, 19, 20, 30, 31, 32, 33},
        {40, 41, 42, 43, 44, 45, 46, 47},
    };
    std::vector<uint8_t> all(20);
    for (int i = 0; i < 20; ++i) all[i] = static_cast<uint8_t>(i + 1);

    struct Case {
        int n;
        int count;
    };
    const std::vector<Case> cases = {{-1, 0}, {0, 0}, {1, 8}, {2, 16}, {3, 20}, {4, 20}, {100, 20}};
    for (const Case& c : cases) {
        EXPECT_EQ(CoveredCount(combs, c.n), c.count) << c.n;
        const TByteArray numbers = CoveredNumbers(combs, c.n);
        ASSERT_EQ(static_cast<int>(numbers.size()), c.count) << c.n;
        EXPECT_TRUE(std::equal(numbers.begin(), numbers.end(), all.begin())) << c.n;
    }
}

TEST(Numbers, CoveredNumbersKeepFirstAppearance)
{
    const TCombsArray combs = {
        {5, 3, 1, 7, 9, 11, 13, 15},
        {15, 3, 2, 4, 6, 1, 8, 10},
    };
    EXPECT_EQ(CoveredCount(combs, 2), 13);
    EXPECT_EQ(CoveredNumbers(combs, 2), (TByteArray{5, 3, 1, 7, 9, 11, 13, 15, 2, 4, 6, 8, 10}));
    EXPECT_EQ(CoveredCount(TCombsArray{}, 5), 0);
    EXPECT_TRUE(CoveredNumbers(TCombsArray{}, 5).empty());
}

TEST(Numbers, ByteArrays)
{
    TByteArray arr;
    EXPECT_FALSE(ByteArrayHas(3, arr));
    EXPECT_TRUE(ByteArrayAddUnique(3, arr));
    EXPECT_TRUE(ByteArrayAddUnique(1, arr));
    EXPECT_FALSE(ByteArrayAddUnique(3, arr));
    ByteArrayAppend(3, arr);
    ByteArrayAppend(0, arr);
    EXPECT_EQ(arr, (TByteArray{3, 1, 3, 0}));
    EXPECT_TRUE(ByteArrayHas(0, arr));
    EXPECT_FALSE(ByteArrayHas(2, arr));
}

TEST(Numbers, AddStatSimple)
{
    struct Step {
        int32_t key, add;
        TStatSimpleArray after;
    };
    const std::vector<Step> steps = {
        {5, 1, {{5, 1}}},
        {5, 2, {{5, 3}}},
        {5, 0, {{5, 3}}},
        {5, -4, {{5, 3}}},            // negative amounts never lower a count
        {7, 0, {{5, 3}, {7, 0}}},     // a new key is listed even with nothing to add
        {3, -2, {{5, 3}, {7, 0}, {3, -2}}},
        {7, 4, {{5, 3}, {7, 4}, {3, -2}}},
    };
    TStatSimpleArray arr;
    for (const Step& s : steps) {
        AddStatSimple(arr, s.key, s.add);
        EXPECT_EQ(arr, s.after) << "after adding " << s.add << " to " << s.key;
    }
}

TEST(Numbers, SortStatSimpleIsStable)
{
    struct Case {
        TStatSimpleArray in, out;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{{4, 1}}, {{4, 1}}},
        {{{3, 10}, {1, 20}, {3, 30}, {2, 40}, {1, 50}}, {{1, 20}, {1, 50}, {2, 40}, {3, 10}, {3, 30}}},
        {{{-1, 1}, {-5, 2}, {0, 3}}, {{-5, 2}, {-1, 1}, {0, 3}}},
    };
    for (const Case& c : cases) {
        TStatSimpleArray a = c.in;
        SortStatSimple(a);
        EXPECT_EQ(a, c.out);
    }
}

TEST(Numbers, SortCombAndDraw)
{
    struct Case {
        TComb in, out;
    };
    const std::vector<Case> cases = {
        {{3, 7, 1, 15, 9, 20, 11, 4}, {1, 3, 4, 7, 9, 11, 15, 20}},
        {{8, 7, 6, 5, 4, 3, 2, 1}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}},
        {{5, 5, 0, 255, 5, 1, 0, 2}, {0, 0, 1, 2, 5, 5, 5, 255}},
    };
    for (const Case& c : cases) {
        TComb comb = c.in;
        SortComb(comb);
        EXPECT_EQ(comb, c.out);

        TDraw draw = MakeDraw(c.in, 3, 1234);
        draw.SetDateText("01.02.2020 10:05");
        SortDrawNums(draw);
        EXPECT_EQ(draw.Nums, c.out);
        EXPECT_EQ(draw.DrawNo, 1234);
        EXPECT_EQ(draw.Extra, 3);
        EXPECT_EQ(draw.DateText(), "01.02.2020 10:05");
    }
}

TEST(Numbers, SortNumSetTouchesOnlyCountedEntries)
{
    struct Case {
        TNumSet in, out;
    };
    const std::vector<Case> cases = {
        {MakeSet(3, {9, 3, 5, 2, 1, 0, 0, 0}), MakeSet(3, {3, 5, 9, 2, 1, 0, 0, 0})},
        {MakeSet(8, {9, 3, 5, 2, 1, 20, 4, 6}), MakeSet(8, {1, 2, 3, 4, 5, 6, 9, 20})},
        {MakeSet(1, {9, 3, 0, 0, 0, 0, 0, 0}), MakeSet(1, {9, 3, 0, 0, 0, 0, 0, 0})},
        {MakeSet(0, {9, 3, 0, 0, 0, 0, 0, 0}), MakeSet(0, {9, 3, 0, 0, 0, 0, 0, 0})},
        {MakeSet(-7, {9, 3, 0, 0, 0, 0, 0, 0}), MakeSet(-7, {9, 3, 0, 0, 0, 0, 0, 0})},
        {MakeSet(99, {9, 3, 5, 2, 1, 20, 4, 6}), MakeSet(99, {1, 2, 3, 4, 5, 6, 9, 20})},
    };
    for (const Case& c : cases) {
        TNumSet s = c.in;
        SortNumSet(s);
        EXPECT_EQ(s, c.out) << c.in.Count;
    }
}

TEST(Numbers, SortIntsDesc)
{
    struct Case {
        TIntArray in, out;
    };
    const std::vector<Case> cases = {
        {{}, {}},
        {{4}, {4}},
        {{3, -1, 7, 7, 0}, {7, 7, 3, 0, -1}},
        {{1, 2, 3, 4}, {4, 3, 2, 1}},
        {{-2147483647 - 1, 2147483647, 0}, {2147483647, 0, -2147483647 - 1}},
    };
    for (const Case& c : cases) {
        TIntArray a = c.in;
        SortIntsDesc(a);
        EXPECT_EQ(a, c.out);
    }
}

} // namespace

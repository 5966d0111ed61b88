#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

// The rest of each descriptor is in the golden list of every kind.
TEST(NumberKinds, FamilyAndNames)
{
    EXPECT_EQ(Codes(KindsOf(kinds::AddNumberKinds)),
              (std::vector<std::string>{"NUMS", "DIGS", "EVEN", "EVNV", "SMAL", "SMLV", "PRIM", "PRMV", "POS%d",
                                        "POE%d"}));
    EXPECT_EQ(KindOf("POS%d").FormatCode(3), "POS3");
    EXPECT_EQ(KindOf("POE%d").FormatCode(1), "POE1");
    Env e;
    EXPECT_EQ(e.Create("POS%d", 3)->GetName(), "Число в 3 позиции тиража");
    EXPECT_EQ(e.Create("POS%d", 3)->Param(), 3);
}

TEST(NumberKinds, ValuesOfOneCombination)
{
    struct Case {
        const char* code;
        int param;
        TComb comb;
        std::vector<std::pair<int, int>> values;   // key and count, in order
    };
    const TComb mixed = {3, 7, 1, 15, 9, 20, 11, 4};
    const std::vector<Case> cases = {
        {"NUMS", 0, mixed, {{3, 1}, {7, 1}, {1, 1}, {15, 1}, {9, 1}, {20, 1}, {11, 1}, {4, 1}}},
        {"DIGS", 0, mixed, {{3, 1}, {7, 1}, {1, 4}, {5, 1}, {9, 1}, {2, 1}, {0, 1}, {4, 1}}},
        {"DIGS", 0, {1, 2, 3, 4, 5, 6, 7, 8}, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}, {8, 1}}},
        {"EVEN", 0, {1, 3, 5, 7, 9, 11, 13, 15}, {{0, 1}}},
        {"EVEN", 0, {2, 4, 6, 8, 10, 12, 14, 20}, {{8, 1}}},
        {"EVEN", 0, mixed, {{2, 1}}},
        {"EVEN", 0, {0, 255, 0, 255, 254, 1, 200, 3}, {{4, 1}}},   // stray bytes count by their parity
        {"EVEN", 0, {2, 2, 2, 2, 2, 2, 2, 3}, {{7, 1}}},
        {"EVNV", 0, {1, 2, 3, 4, 5, 6, 7, 8}, {{170, 1}}},
        {"EVNV", 0, {2, 1, 4, 3, 6, 5, 8, 7}, {{85, 1}}},
        {"EVNV", 0, mixed, {{0b11111010, 1}}},
        {"SMAL", 0, mixed, {{5, 1}}},
        {"SMAL", 0, {11, 12, 13, 14, 15, 16, 17, 18}, {{0, 1}}},
        {"SMAL", 0, {3, 4, 5, 6, 7, 8, 9, 10}, {{8, 1}}},
        {"SMLV", 0, {11, 12, 13, 14, 15, 16, 17, 18}, {{255, 1}}},
        {"SMLV", 0, mixed, {{0b00010110, 1}}},
        {"SMLV", 0, {10, 11, 1, 2, 3, 4, 5, 20}, {{0b01000001, 1}}},
        {"PRIM", 0, {1, 2, 3, 4, 5, 6, 7, 8}, {{5, 1}}},
        {"PRIM", 0, {4, 6, 8, 9, 10, 12, 14, 15}, {{0, 1}}},
        {"PRMV", 0, {1, 2, 3, 4, 5, 6, 7, 8}, {{0b11101010, 1}}},
        {"PRMV", 0, {20, 19, 18, 17, 16, 15, 14, 13}, {{0b01010001, 1}}},
        {"POS%d", 3, {15, 3, 9, 1, 20, 11, 4, 7}, {{9, 1}}},
        {"POS%d", 1, mixed, {{3, 1}}},
        {"POS%d", 8, mixed, {{4, 1}}},
        {"POE%d", 1, mixed, {}},
    };
    Env e;
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        TStatDrawArray values;
        s->CalcComb(c.comb, values);
        EXPECT_EQ(LongKeyCounts(values), c.values) << c.code << c.param;
        for (const TStatDrawItem& it : values) {
            EXPECT_EQ(it.LastDrawNo, 0) << c.code;
            EXPECT_EQ(it.Depth, 0) << c.code;
            EXPECT_EQ(it.PeriodMin, 0) << c.code;
        }
    }
}

TEST(NumberKinds, ValueTexts)
{
    struct Case {
        const char* code;
        int key;
        const char* text;
        int parsed;   // TextToValue of the text
    };
    const std::vector<Case> cases = {
        {"NUMS", 20, "20", 20},
        {"DIGS", 0, "0", 0},
        {"POS%d", 9, "9", 9},
        {"POE%d", 4, "4", 4},
        {"EVEN", 0, "0:8", 0},
        {"EVEN", 8, "8:0", 8},
        {"SMAL", 3, "3:5", 3},
        {"PRIM", 5, "5:3", 5},
        {"EVNV", 0, "ЧЧЧЧЧЧЧЧ (000)", 0},
        {"EVNV", 128, "нЧЧЧЧЧЧЧ (128)", 128},
        {"EVNV", 170, "нЧнЧнЧнЧ (170)", 170},
        {"EVNV", 85, "ЧнЧнЧнЧн (085)", 85},
        {"EVNV", 1, "ЧЧЧЧЧЧЧн (001)", 1},
        {"SMLV", 255, "22222222 (255)", 255},
        {"SMLV", 22, "11121221 (022)", 22},
        {"PRMV", 234, "ПППСПСПС (234)", 234},
    };
    Env e;
    for (const Case& c : cases) {
        auto s = e.Create(c.code, 1);
        TStatDrawItem v;
        v.SetLongKey(c.key);
        EXPECT_EQ(s->ValueToText(v), c.text) << c.code;
        EXPECT_EQ(s->TextToValue(c.text), c.parsed) << c.code;
        EXPECT_EQ(s->ParseValue(c.text), c.parsed) << c.code;
    }

    const std::vector<ParseCase> parses = {
        {"EVEN", "3:5", 3},  {"EVEN", "abc", 0},       {"EVEN", "8", 8},        {"EVEN", " 2 :6", 2},
        {"EVEN", ":8", 0},   {"EVEN", "", 0},          {"NUMS", "abc", 0},      {"NUMS", "3:5", 0},
        {"EVNV", "нЧЧЧЧЧЧЧ", 128}, {"EVNV", "н", 128}, {"EVNV", "", 0},         {"EVNV", "ЧЧЧЧЧЧЧЧн", 0},
        {"EVNV", "ннннннннЧ", 255}, {"EVNV", "xнннннннн", 127}, {"PRMV", "ПСПСПСПС", 170}, {"PRMV", "нЧЧЧЧЧЧЧ", 0},
        {"SMLV", "21111112 (129)", 129},
    };
    ExpectRead(e, parses);

    // Every mask reads back from its own text.
    for (const char* code : {"EVNV", "SMLV", "PRMV"}) {
        auto s = e.Create(code);
        for (int m = 0; m < 256; ++m) {
            TStatDrawItem v;
            v.SetLongKey(m);
            ASSERT_EQ(s->TextToValue(s->ValueToText(v)), m) << code << " " << m;
        }
    }
}

TEST(NumberKinds, ListedValues)
{
    const TConfigData defaults;
    ExpectListed({{"NUMS", defaults, KeyRange(1, 20)},  {"DIGS", defaults, {}},
                  {"EVEN", defaults, KeyRange(1, 8)},   {"EVNV", defaults, KeyRange(0, 255)},
                  {"SMAL", defaults, KeyRange(1, 8)},   {"SMLV", defaults, {}},
                  {"PRIM", defaults, KeyRange(1, 8)},   {"PRMV", defaults, KeyRange(0, 255)},
                  {"POS%d", defaults, KeyRange(1, 20)}, {"POE%d", defaults, {}}});
}

TEST(NumberKinds, WindowOfDraws)
{
    Env e({MakeDraw(500, {3, 7, 1, 15, 9, 20, 11, 4}, 3)});
    auto nums = e.Create("NUMS");
    const TStatDrawArray values = Window(*nums, 0, 0, false);
    ASSERT_EQ(values.Count(), 20);
    for (const TStatDrawItem& it : values) {
        const bool drawn = kv::game::InComb(it.Key[0], e.draws[0].Nums);
        EXPECT_EQ(it.Count, drawn ? 1 : 0) << it.Key[0];
        EXPECT_EQ(it.Depth, drawn ? 1 : 0) << it.Key[0];
        EXPECT_EQ(it.LastDrawNo, drawn ? 500 : 0) << it.Key[0];
        EXPECT_EQ(it.PeriodMin, 0);
    }
    EXPECT_EQ(values[0].Key[0], 1);
    EXPECT_EQ(values[19].Key[0], 20);

    // A count of 0 is not listed: it comes after the listed 1..8.
    Env odd({MakeDraw(1, {1, 3, 5, 7, 9, 11, 13, 15})});
    auto even = odd.Create("EVEN");
    const TStatDrawArray counts = Window(*even, 0, 0, false);
    ASSERT_EQ(counts.Count(), 9);
    EXPECT_EQ(counts[8].Key[0], 0);
    EXPECT_EQ(counts[8].Count, 1);
    EXPECT_EQ(even->ValueToText(counts[8]), "0:8");

    // The extra numbers of the window, in order of appearance.
    Env extras({MakeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8}, 2), MakeDraw(2, {1, 2, 3, 4, 5, 6, 7, 8}, 4),
                MakeDraw(3, {1, 2, 3, 4, 5, 6, 7, 8}, 2), MakeDraw(4, {1, 2, 3, 4, 5, 6, 7, 8}, 1)});
    auto poe = extras.Create("POE%d", 1);
    const TStatDrawArray ex = Window(*poe, 0, 3, false);
    EXPECT_EQ(LongKeyCounts(ex), (std::vector<std::pair<int, int>>{{2, 2}, {4, 1}, {1, 1}}));
    EXPECT_EQ(ex[0].LastDrawNo, 3);
    EXPECT_EQ(ex[0].Depth, 2);
    EXPECT_EQ(ex[0].PeriodMin, 2);
}

TEST(NumberKinds, PeriodsInDrawNumbers)
{
    // 5 is in every draw; 7 in the first and last; the archive jumps from 103 to 110.
    Env e({MakeDraw(100, {5, 7, 1, 2, 3, 4, 6, 8}), MakeDraw(101, {5, 9, 10, 11, 12, 13, 14, 15}),
           MakeDraw(102, {5, 9, 10, 11, 12, 13, 14, 15}), MakeDraw(103, {5, 9, 10, 11, 12, 13, 14, 15}),
           MakeDraw(110, {5, 7, 10, 11, 12, 13, 14, 15})});
    auto nums = e.Create("NUMS");
    const TStatDrawArray consecutive = Window(*nums, 0, 3, false);
    const TStatDrawItem& five = consecutive[consecutive.Find(Value(5))];
    EXPECT_EQ(five.Count, 4);
    EXPECT_EQ(five.Depth, 1);
    EXPECT_EQ(five.LastDrawNo, 103);
    EXPECT_EQ(five.PeriodMin, 1);
    EXPECT_EQ(five.PeriodMax, 1);

    const TStatDrawArray all = Window(*nums, 0, 4, false);
    const TStatDrawItem& five2 = all[all.Find(Value(5))];
    EXPECT_EQ(five2.Count, 5);
    EXPECT_EQ(five2.PeriodMin, 1);
    EXPECT_EQ(five2.PeriodMax, 7);
    const TStatDrawItem& seven = all[all.Find(Value(7))];
    EXPECT_EQ(seven.Count, 2);
    EXPECT_EQ(seven.PeriodMin, 10);
    EXPECT_EQ(seven.PeriodMax, 10);
    EXPECT_EQ(seven.Depth, 1);
    const TStatDrawItem& nine = all[all.Find(Value(9))];
    EXPECT_EQ(nine.Depth, 2);
    EXPECT_EQ(nine.LastDrawNo, 103);
}

TEST(NumberKinds, DigitsOfElevenCountTwiceWithGapZero)
{
    Env e({MakeDraw(50, {1, 2, 3, 4, 5, 6, 7, 8}), MakeDraw(52, {11, 2, 3, 4, 5, 6, 7, 8})});
    auto digs = e.Create("DIGS");
    const TStatDrawArray both = Window(*digs, 0, 1, false);
    const TStatDrawItem& one = both[both.Find(Value(1))];
    EXPECT_EQ(one.Count, 3);
    EXPECT_EQ(one.PeriodMin, 0);   // the second 1 of draw 52 is a gap of 0
    EXPECT_EQ(one.PeriodMax, 2);
    EXPECT_EQ(one.LastDrawNo, 52);

    const TStatDrawArray last = Window(*digs, 1, 1, false);
    ASSERT_EQ(last[0].Key[0], 1);
    EXPECT_EQ(last[0].Count, 2);
    EXPECT_EQ(last[0].PeriodMin, 0);
    EXPECT_EQ(last[0].PeriodMax, 0);
}

TEST(NumberKinds, SortedDrawsAndGraphValues)
{
    Env e({MakeDraw(1, {15, 3, 9, 1, 20, 11, 4, 7}, 3), MakeDraw(2, {2, 1, 4, 3, 6, 5, 8, 7}, 4)});
    struct Case {
        const char* code;
        int param;
        int index;
        bool sorted;
        int value;   // the only value of the draw
        int graph;   // GetDrawGraphValue
    };
    const std::vector<Case> cases = {
        {"POS%d", 3, 0, false, 9, 9},
        {"POS%d", 3, 0, true, 4, 4},
        {"POS%d", 8, 0, true, 20, 20},
        {"EVNV", 0, 1, false, 85, 0},
        {"EVNV", 0, 1, true, 170, 0},
        {"EVEN", 0, 0, false, 2, 2},
        {"SMAL", 0, 0, true, 5, 5},
        {"PRIM", 0, 0, false, 4, 4},
        {"POE%d", 1, 0, false, 3, 3},
        {"POE%d", 1, 1, true, 4, 4},
        {"POE%d", 1, 5, true, 0, 0},   // outside the archive: an empty draw
        {"NUMS", 0, 0, false, 15, 0},
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        const TStatDrawArray values = DrawValues(*s, c.index, 1, c.sorted);
        ASSERT_FALSE(values.Empty()) << c.code;
        EXPECT_EQ(values[0].LongKey(), c.value) << c.code << c.param << " index " << c.index;
        EXPECT_EQ(s->GetDrawGraphValue(c.index, 1, c.sorted), c.graph) << c.code << c.param;
    }
    // A given ticket: the number charted for its 8 numbers; the extra comes from the draw.
    Env g({MakeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8}, 2)});
    EXPECT_EQ(g.Create("EVEN")->GetGraphValue({2, 4, 6, 1, 3, 5, 7, 9}, 0, 0, false), 3);
    EXPECT_EQ(g.Create("POS%d", 2)->GetGraphValue({2, 4, 6, 1, 3, 5, 7, 9}, 0, 0, false), 4);
    EXPECT_EQ(g.Create("POE%d", 1)->GetGraphValue({2, 4, 6, 1, 3, 5, 7, 9}, 0, 0, false), 2);
    EXPECT_EQ(g.Create("SMLV")->GetGraphValue({11, 12, 13, 14, 15, 16, 17, 18}, 0, 0, false), 0);
}

TEST(NumberKinds, CombMatchesRules)
{
    const TComb low = {1, 2, 3, 4, 5, 6, 7, 8};
    const TComb high = {11, 12, 13, 14, 15, 16, 17, 20};
    const std::vector<MatchCase> cases = {
        {"NUMS", 0, {Value(5)}, low, true},
        {"NUMS", 0, {Value(5)}, high, false},
        {"NUMS", 0, {Value(9), Value(20)}, high, true},
        {"NUMS", 0, {Value(5, 1)}, low, false},   // a number is all four keys
        {"NUMS", 0, {}, low, false},
        {"DIGS", 0, {Value(0)}, high, true},
        {"DIGS", 0, {Value(0)}, low, false},
        {"DIGS", 0, {Value(9)}, {10, 11, 12, 13, 14, 15, 16, 19}, true},
        {"EVEN", 0, {Value(4)}, low, true},
        {"EVEN", 0, {Value(4, 7, 7, 7)}, low, true},   // a count is Key[0] alone
        {"EVEN", 0, {Value(3)}, low, false},
        {"EVEN", 0, {Value(0)}, {1, 3, 5, 7, 9, 11, 13, 15}, true},
        {"SMAL", 0, {Value(8)}, low, true},
        {"SMAL", 0, {Value(0)}, high, true},
        {"PRIM", 0, {Value(5)}, low, true},
        {"EVNV", 0, {Value(170)}, low, true},
        {"EVNV", 0, {Value(170, 0, 3, 3)}, low, true},   // a mask is Key[0..1]
        {"EVNV", 0, {Value(170, 1)}, low, false},
        {"EVNV", 0, {Value(85)}, low, false},
        {"SMLV", 0, {Value(255)}, {11, 12, 13, 14, 15, 16, 17, 18}, true},
        {"PRMV", 0, {Value(234)}, low, true},
        {"POS%d", 3, {Value(3)}, low, true},
        {"POS%d", 3, {Value(3, 5)}, low, true},
        {"POS%d", 4, {Value(3)}, low, false},
        {"POE%d", 1, {Value(1), Value(2), Value(3), Value(4), Value(0)}, low, false},
    };
    Env e({MakeDraw(1, low, 1)});
    ExpectMatches(e, cases);
}

TEST(NumberKinds, FullSetDistributions)
{
    Env e;
    auto count = [&](const std::string& code, int param) { return LongKeyCounts(FullSetValues(e, code, param)); };
    std::vector<std::pair<int, int>> nums;
    for (int n = 1; n <= 20; ++n) nums.emplace_back(n, 50388);   // Binomial(19, 7)
    EXPECT_EQ(count("NUMS", 0), nums);
    // C(10, k) * C(10, 8 - k) tickets have k numbers of a class of ten.
    const std::vector<std::pair<int, int>> halves = {{0, 45}, {1, 1200}, {2, 9450}, {3, 30240}, {4, 44100},
                                                     {5, 30240}, {6, 9450}, {7, 1200}, {8, 45}};
    EXPECT_EQ(count("EVEN", 0), halves);
    EXPECT_EQ(count("SMAL", 0), halves);
    // Nine numbers of the prime class, eleven others: C(9, k) * C(11, 8 - k).
    EXPECT_EQ(count("PRIM", 0), (std::vector<std::pair<int, int>>{{0, 165}, {1, 2970}, {2, 16632}, {3, 38808},
                                                                  {4, 41580}, {5, 20790}, {6, 4620}, {7, 396},
                                                                  {8, 9}}));
    // Position 1 of a sorted ticket holds 1..13; number n there leaves C(20 - n, 7) tickets.
    const auto pos1 = count("POS%d", 1);
    ASSERT_EQ(pos1.size(), 13u);
    EXPECT_EQ(pos1.front(), std::make_pair(1, 50388));
    EXPECT_EQ(pos1.back(), std::make_pair(13, 1));
    EXPECT_EQ(count("POE%d", 1), (std::vector<std::pair<int, int>>{}));
    // Any parity pattern fits into 1..20 in ascending order; the halves only as 0..01..1.
    EXPECT_EQ(count("EVNV", 0).size(), 256u);
    EXPECT_EQ(count("SMLV", 0), (std::vector<std::pair<int, int>>{{0, 45}, {1, 1200}, {3, 9450}, {7, 30240},
                                                                  {15, 44100}, {31, 30240}, {63, 9450},
                                                                  {127, 1200}, {255, 45}}));
}

} // namespace

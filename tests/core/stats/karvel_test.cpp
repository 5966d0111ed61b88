#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

constexpr auto KarvelKinds = FamilyOf<kinds::AddKarvelKinds>;

// The rest of each descriptor is in the golden list of every kind.
TEST(KarvelKinds, Family)
{
    EXPECT_EQ(Codes(KarvelKinds()), (std::vector<std::string>{"KRL1", "KRL2", "KRL3"}));
}

// The numbers in the order given: each row of neighbour differences is one shorter, down to
// two numbers a, b; r = |b - a|.
TEST(KarvelKinds, CharacteristicNumbers)
{
    struct Case {
        TComb nums;
        int krl1;
        int krl2;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, 0, 0},              // a = b = 0
        {{2, 5, 9, 10, 14, 15, 19, 20}, 2, 2},         // a = 2, b = 0
        {{8, 19, 18, 5, 12, 15, 10, 20}, 1, 7},        // a = 4, b = 3
        {{5, 8, 10, 12, 15, 18, 19, 20}, 1, 1},        // the same ascending: a = 1, b = 0
        {{10, 17, 5, 11, 18, 9, 1, 7}, 0, 8},          // a = b = 4
        {{1, 5, 7, 9, 10, 11, 17, 18}, 0, 6},          // the same ascending: a = b = 3
        {{8, 5, 17, 13, 1, 11, 18, 2}, 3, 3},          // a = 4, b = 1
        {{1, 2, 5, 8, 11, 13, 17, 18}, 1, 1},          // a = 0, b = 1
        {{4, 18, 2, 7, 14, 5, 10, 15}, 5, 5},          // a = 2, b = 7
        {{2, 4, 5, 7, 10, 14, 15, 18}, 1, 3},          // a = 2, b = 1
    };
    Env e;
    auto k1 = e.Create("KRL1"), k2 = e.Create("KRL2");
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.nums));
        TStatDrawArray v1, v2;
        k1->CalcComb(c.nums, v1);
        k2->CalcComb(c.nums, v2);
        ASSERT_EQ(v1.Count(), 1);
        ASSERT_EQ(v2.Count(), 1);
        EXPECT_EQ(v1[0].Key[0], c.krl1);
        EXPECT_EQ(v2[0].Key[0], c.krl2);
        EXPECT_EQ(v1[0].Count, 1);
        EXPECT_EQ(v1[0].Depth, 0);
        EXPECT_EQ(k1->GetGraphValue(c.nums, 0, 0, false), c.krl1);
        EXPECT_EQ(k2->GetGraphValue(c.nums, 0, 0, true), c.krl2);
    }
}

TEST(KarvelKinds, DrawsInDrawnAndSortedOrder)
{
    Env e({MakeDraw(51, {8, 5, 17, 13, 1, 11, 18, 2}), MakeDraw(52, {10, 17, 5, 11, 18, 9, 1, 7}),
           MakeDraw(53, {2, 5, 9, 10, 14, 15, 19, 20})});
    struct Case {
        const char* code;
        bool sorted;
        std::vector<std::tuple<int, int, int, int>> rows;   // key, count, last draw, depth
        std::vector<int> graph;                            // GetDrawGraphValue of draws 0..2
    };
    const std::vector<Case> cases = {
        {"KRL1", false, {{3, 1, 51, 3}, {0, 1, 52, 2}, {2, 1, 53, 1}}, {3, 0, 2}},
        {"KRL1", true, {{1, 1, 51, 3}, {0, 1, 52, 2}, {2, 1, 53, 1}}, {1, 0, 2}},
        {"KRL2", false, {{3, 1, 51, 3}, {8, 1, 52, 2}, {2, 1, 53, 1}}, {3, 8, 2}},
        {"KRL2", true, {{1, 1, 51, 3}, {6, 1, 52, 2}, {2, 1, 53, 1}}, {1, 6, 2}},
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code);
        const TStatDrawArray values = Window(*s, 0, 2, c.sorted);
        std::vector<std::tuple<int, int, int, int>> rows;
        for (const TStatDrawItem& it : values) rows.emplace_back(it.Key[0], it.Count, it.LastDrawNo, it.Depth);
        EXPECT_EQ(rows, c.rows) << c.code << " sorted " << c.sorted;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(s->GetDrawGraphValue(i, 2, c.sorted), c.graph[std::size_t(i)]) << c.code;
    }
    // The same value in two draws two draw numbers apart.
    Env twice({MakeDraw(60, {1, 2, 3, 4, 5, 6, 7, 8}), MakeDraw(62, {11, 12, 13, 14, 15, 16, 17, 18})});
    auto k1 = twice.Create("KRL1");
    const TStatDrawArray zero = Window(*k1, 0, 1, false);
    ASSERT_EQ(zero.Count(), 1);
    EXPECT_EQ(zero[0].Count, 2);
    EXPECT_EQ(zero[0].PeriodMin, 2);
    EXPECT_EQ(zero[0].PeriodMax, 2);
    EXPECT_EQ(zero[0].Depth, 1);
}

// The last draw of the window proposes its characteristic number and the multiples derived
// from it; Count tells whether the draw after the window had them.
TEST(KarvelKinds, DynamicNumbersOfTheLastDraw)
{
    const TDraw before = MakeDraw(301, {11, 12, 13, 14, 15, 16, 17, 18});
    const TDraw next = MakeDraw(303, {18, 3, 4, 7, 9, 20, 10, 11});
    struct Case {
        TComb last;
        bool sorted;
        std::vector<std::pair<std::string, int>> values;
    };
    const std::vector<Case> cases = {
        {{8, 5, 17, 13, 1, 11, 18, 2}, false, {{"3", 1}, {"18", 1}, {"15", 0}, {"12", 0}, {"9", 1}, {"6", 0}}},
        {{8, 5, 17, 13, 1, 11, 18, 2}, true, {{"1 (1)", 0}}},
        {{4, 18, 2, 7, 14, 5, 10, 15}, false, {{"5", 0}, {"20", 1}, {"15", 0}, {"10", 1}}},
        {{4, 18, 2, 7, 14, 5, 10, 15},
         true,
         {{"3 (1)", 1}, {"18", 1}, {"15", 0}, {"12", 0}, {"9", 1}, {"6", 0}}},
        {{8, 19, 18, 5, 12, 15, 10, 20}, false, {{"7 (1)", 1}, {"14", 0}}},
        {{19, 3, 1, 16, 9, 17, 4, 14}, false, {{"1 (1)", 0}}},
        {{1, 2, 3, 4, 5, 6, 7, 8}, false, {{"0", 0}}},
        {{10, 17, 5, 11, 18, 9, 1, 7}, false, {{"8", 0}, {"16", 0}}},
        {{10, 17, 5, 11, 18, 9, 1, 7}, true, {{"6", 0}, {"18", 1}, {"12", 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.last) + (c.sorted ? " sorted" : ""));
        Env e({before, MakeDraw(302, c.last), next});
        auto s = e.Create("KRL3");
        const TStatDrawArray values = Window(*s, 0, 1, c.sorted);
        EXPECT_EQ(TextCounts(*s, values), c.values);
        for (const TStatDrawItem& it : values) {
            EXPECT_EQ(it.LastDrawNo, 302);
            EXPECT_EQ(it.Depth, 1);
            EXPECT_EQ(it.PeriodMin, 0);
        }
    }

    // The pair keeps its 1 in Key[1] and the mark 2 in Key[3].
    Env e({before, MakeDraw(302, {8, 19, 18, 5, 12, 15, 10, 20}), next});
    auto s = e.Create("KRL3");
    const TStatDrawArray pair = Window(*s, 0, 1, false);
    EXPECT_EQ(pair[0].Key, (std::array<int16_t, 4>{7, 1, 0, 2}));
    EXPECT_EQ(pair[1].Key, (std::array<int16_t, 4>{14, 0, 0, 0}));

    // The newest draw as the last of the window: nothing follows it.
    const TStatDrawArray newest = Window(*s, 0, 2, false);
    EXPECT_EQ(TextCounts(*s, newest),
              (std::vector<std::pair<std::string, int>>{{"4", 0}, {"20", 0}, {"16", 0}, {"12", 0}, {"8", 0}}));
    // Only the last draw of the window counts, wherever the window starts.
    EXPECT_EQ(TextCounts(*s, Window(*s, 2, 2, false)), TextCounts(*s, newest));
    TStatDrawArray early;
    TLastValueArray lastValues;
    TWorkArea work{};
    s->CalcDraw(0, 2, false, early, lastValues, work);
    s->CalcDraw(1, 2, false, early, lastValues, work);
    EXPECT_TRUE(early.Empty());
}

TEST(KarvelKinds, TextsAndParsing)
{
    Env e;
    auto k1 = e.Create("KRL1"), k2 = e.Create("KRL2"), k3 = e.Create("KRL3");
    EXPECT_EQ(k1->ValueToText(Value(2)), "2");
    EXPECT_EQ(k2->ValueToText(Value(37)), "37");
    EXPECT_EQ(k3->ValueToText(Value(7, 1, 0, 2)), "7 (1)");
    EXPECT_EQ(k3->ValueToText(Value(7, 1, 0, 0)), "7");
    EXPECT_EQ(k3->ValueToText(Value(14)), "14");
    EXPECT_EQ(k3->ValueToText(Value(0, 5, 0, 2)), "0 (5)");
    EXPECT_EQ(k1->ParseValue("12"), 12);
    EXPECT_EQ(k2->ParseValue("x"), 0);
    EXPECT_EQ(k3->ParseValue("7"), 0);   // not one typed integer
    EXPECT_EQ(k3->GetGraphValue({8, 5, 17, 13, 1, 11, 18, 2}, 0, 0, false), 0);

    for (const TStatKind* k : KarvelKinds()) {
        auto s = k->Create(e.env, 0);
        TStatDrawArray values;
        s->ListValues(0, values);
        EXPECT_TRUE(values.Empty()) << k->GetCode();
    }
    TStatDrawArray none;
    k3->CalcComb({1, 2, 3, 4, 5, 6, 7, 8}, none);
    EXPECT_TRUE(none.Empty());
}

TEST(KarvelKinds, CombMatchesRules)
{
    const TComb low = {1, 2, 3, 4, 5, 6, 7, 8};
    const TComb spread = {2, 5, 9, 10, 14, 15, 19, 20};
    const TComb mid = {9, 10, 11, 12, 13, 14, 15, 16};
    const std::vector<MatchCase> cases = {
        {"KRL1", 0, {Value(0)}, low, true},
        {"KRL1", 0, {Value(2)}, spread, true},
        {"KRL1", 0, {Value(2, 9)}, spread, true},   // the number is Key[0] alone
        {"KRL1", 0, {Value(0), Value(1)}, spread, false},
        {"KRL2", 0, {Value(2)}, spread, true},
        {"KRL2", 0, {Value(1)}, {2, 4, 5, 7, 10, 14, 15, 18}, false},   // r = 1 becomes 2 + 1
        {"KRL2", 0, {Value(3)}, {2, 4, 5, 7, 10, 14, 15, 18}, true},
        {"KRL3", 0, {Value(7, 1, 0, 2), Value(14)}, low, true},
        {"KRL3", 0, {Value(7, 1, 0, 2), Value(14)}, mid, true},
        {"KRL3", 0, {Value(7, 1, 0, 2), Value(14)}, {1, 2, 3, 4, 5, 6, 8, 9}, false},
        {"KRL3", 0, {}, low, false},
    };
    Env e({MakeDraw(1, {8, 19, 18, 5, 12, 15, 10, 20})});
    ExpectMatches(e, cases);
}

// One characteristic number per combination.
TEST(KarvelKinds, CountsOfTheFullSetAddUpToIt)
{
    Env e;
    for (const char* code : {"KRL1", "KRL2"}) {
        TStatDrawArray values;
        e.Create(code)->CalcCombs(AllCombs(), values);
        int64_t total = 0;
        for (const TStatDrawItem& it : values) total += it.Count;
        EXPECT_EQ(total, kv::game::CombCount) << code;
    }
}

} // namespace

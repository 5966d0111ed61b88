#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <memory>
#include <stdexcept>
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
TEST(SequenceKinds, Family)
{
    EXPECT_EQ(Codes(KindsOf(kinds::AddSequenceKinds)), (std::vector<std::string>{"SEQL", "SEQS", "LENS"}));
}

// The values of a combination (ascending, as every list holds it) and the chart.
TEST(SequenceKinds, ValuesOfOneCombination)
{
    using KC = std::vector<std::pair<int, int>>;
    struct Case {
        TComb comb;
        KC seql;     // run lengths with their counts, in order of first appearance
        int seqs;
        int lens;
        int seqsGraph;
        int lensGraph;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3, 4, 5, 6, 7, 8}, {{8, 1}}, 1, 8, 1, 8},
        {{1, 3, 5, 7, 9, 11, 13, 15}, {{1, 8}}, 0, 1, 0, 0},
        {{1, 2, 4, 5, 7, 8, 10, 11}, {{2, 4}}, 4, 2, 4, 2},
        {{1, 2, 3, 7, 9, 10, 15, 20}, {{3, 1}, {1, 3}, {2, 1}}, 2, 3, 2, 3},
        {{1, 3, 4, 5, 10, 12, 13, 20}, {{1, 3}, {3, 1}, {2, 1}}, 2, 3, 2, 3},
        // A run that ends at the last position is counted too.
        {{1, 3, 5, 7, 9, 11, 19, 20}, {{1, 6}, {2, 1}}, 1, 2, 1, 2},
        {{1, 2, 4, 6, 8, 10, 12, 14}, {{2, 1}, {1, 6}}, 1, 2, 1, 2},
        {{13, 14, 15, 16, 17, 18, 19, 20}, {{8, 1}}, 1, 8, 1, 8},
        {{1, 2, 3, 4, 5, 6, 7, 9}, {{7, 1}, {1, 1}}, 1, 7, 1, 7},
    };
    Env e;
    auto seql = e.Create("SEQL");
    auto seqs = e.Create("SEQS");
    auto lens = e.Create("LENS");
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases.data()));
        TStatDrawArray l, s, m;
        seql->CalcComb(c.comb, l);
        seqs->CalcComb(c.comb, s);
        lens->CalcComb(c.comb, m);
        EXPECT_EQ(LongKeyCounts(l), c.seql);
        EXPECT_EQ(LongKeyCounts(s), (KC{{c.seqs, 1}}));
        EXPECT_EQ(LongKeyCounts(m), (KC{{c.lens, 1}}));
        EXPECT_EQ(seqs->GetGraphValue(c.comb, 0, 0, true), c.seqsGraph);
        EXPECT_EQ(lens->GetGraphValue(c.comb, 0, 0, true), c.lensGraph);
        int total = 0;
        for (const auto& [len, count] : LongKeyCounts(l)) total += len * count;
        EXPECT_EQ(total, 8);
    }
}

TEST(SequenceKinds, DrawnOrderAndCharts)
{
    // Drawn as 9, 8, 7, 1, 2, 15, 16, 20: falling runs are no runs for the table, but the chart
    // counts them. Sorted: 1, 2 | 7, 8, 9 | 15, 16 | 20.
    Env e({MakeDraw(5, {9, 8, 7, 1, 2, 15, 16, 20}), MakeDraw(6, {5, 4, 3, 10, 11, 20, 19, 1}),
           MakeDraw(7, {2, 4, 6, 8, 10, 12, 14, 16})});
    using KC = std::vector<std::pair<int, int>>;
    struct Case {
        const char* code;
        int index;
        bool sorted;
        KC values;
        int graph;
    };
    const std::vector<Case> cases = {
        {"SEQS", 0, false, {{2, 1}}, 3},
        {"SEQS", 0, true, {{3, 1}}, 3},
        {"LENS", 0, false, {{2, 1}}, 3},
        {"LENS", 0, true, {{3, 1}}, 3},
        {"SEQL", 0, false, {{1, 4}, {2, 2}}, 0},
        {"SEQL", 0, true, {{2, 2}, {3, 1}, {1, 1}}, 0},
        // 5, 4, 3 | 10, 11 | 20, 19 | 1 in drawn order; sorted 1 | 3, 4, 5 | 10, 11 | 19, 20.
        {"SEQS", 1, false, {{1, 1}}, 3},
        {"SEQS", 1, true, {{3, 1}}, 3},
        {"LENS", 1, false, {{2, 1}}, 3},
        {"LENS", 1, true, {{3, 1}}, 3},
        {"SEQL", 1, false, {{1, 6}, {2, 1}}, 0},
        // No neighbours at all: the table says 1, the chart 0.
        {"LENS", 2, false, {{1, 1}}, 0},
        {"SEQS", 2, true, {{0, 1}}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " draw " + std::to_string(c.index) + (c.sorted ? " sorted" : ""));
        auto s = e.Create(c.code);
        const TStatDrawArray values = DrawValues(*s, c.index, 2, c.sorted);
        EXPECT_EQ(LongKeyCounts(values), c.values);
        EXPECT_EQ(s->GetDrawGraphValue(c.index, 2, c.sorted), c.graph);
    }
}

TEST(SequenceKinds, TextsAndListedValues)
{
    const TConfigData defaults;
    ExpectListed(
        {{"SEQL", defaults, KeyRange(1, 8)}, {"SEQS", defaults, KeyRange(0, 4)}, {"LENS", defaults, KeyRange(1, 8)}});
    Env e;
    for (const char* code : {"SEQL", "SEQS", "LENS"}) {
        auto s = e.Create(code);
        EXPECT_EQ(s->ValueToText(Value(4)), "4") << code;
        EXPECT_EQ(s->ValueToText(Value(0)), "0") << code;
        EXPECT_EQ(s->ParseValue("3"), 3) << code;
        EXPECT_EQ(s->ParseValue("три"), 0) << code;
    }
}

TEST(SequenceKinds, WindowCountsEveryRun)
{
    // Draw 30 has three single numbers (1, 5, 20) and runs of 2 and 3; draw 31 is one run of 8.
    Env e({MakeDraw(30, {1, 3, 4, 5, 7, 8, 9, 20}), MakeDraw(31, {4, 5, 6, 7, 8, 9, 10, 11})});
    auto seql = e.Create("SEQL");
    // 1 | 3, 4, 5 | 7, 8, 9 | 20: lengths 1, 3, 3, 1.
    const TStatDrawArray values = Window(*seql, 0, 1, true);
    EXPECT_EQ(LongKeyCounts(values),
              (std::vector<std::pair<int, int>>{{1, 2}, {2, 0}, {3, 2}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 1}}));
    EXPECT_EQ(values[0].Depth, 2);
    EXPECT_EQ(values[0].LastDrawNo, 30);
    EXPECT_EQ(values[0].PeriodMin, 0);   // the second single of the draw is a gap of 0
    EXPECT_EQ(values[7].Depth, 1);
    auto lens = e.Create("LENS");
    const TStatDrawArray longest = Window(*lens, 0, 1, true);
    EXPECT_EQ(longest[2].Count, 1);
    EXPECT_EQ(longest[7].Count, 1);
    EXPECT_EQ(longest[7].LastDrawNo, 31);
}

TEST(SequenceKinds, CombMatchesRules)
{
    const TComb comb = {1, 3, 4, 5, 10, 12, 13, 20};   // runs 1 | 3, 4, 5 | 10 | 12, 13 | 20
    const std::vector<MatchCase> cases = {
        {"LENS", 0, {Value(3)}, comb, true},      {"LENS", 0, {Value(2)}, comb, false},
        {"LENS", 0, {Value(3, 1)}, comb, true},   {"LENS", 0, {}, comb, false},
        {"SEQS", 0, {Value(2)}, comb, true},      {"SEQS", 0, {Value(1), Value(3)}, comb, false},
        {"SEQL", 0, {Value(2)}, comb, true},      {"SEQL", 0, {Value(1)}, comb, true},
        {"SEQL", 0, {Value(4), Value(8)}, comb, false},
        {"SEQL", 0, {Value(3, 7)}, comb, true},
    };
    Env e;
    ExpectMatches(e, cases);
}

TEST(SequenceKinds, FullSetDistributions)
{
    Env e;
    auto count = [&](const char* code) { return LongKeyCounts(FullSetValues(e, code)); };
    // No two neighbours: C(13, 8) tickets. Four separate pairs: 4 blocks into the 13 gaps around
    // the 12 numbers left out, C(13, 4). A run of eight: 13 tickets.
    const auto runs = count("SEQS");
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs.front(), std::make_pair(0, 1287));
    EXPECT_EQ(runs.back(), std::make_pair(4, 715));
    const auto longest = count("LENS");
    EXPECT_EQ(longest.front(), std::make_pair(1, 1287));
    EXPECT_EQ(longest.back(), std::make_pair(8, 13));
    const auto lengths = count("SEQL");
    long long numbers = 0;
    for (const auto& [len, c] : lengths) numbers += 1LL * len * c;
    EXPECT_EQ(numbers, 8LL * kv::game::CombCount);
    EXPECT_EQ(lengths.back(), std::make_pair(8, 13));
}

} // namespace

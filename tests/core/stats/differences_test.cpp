#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <array>
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

// The four keys and the count of a value.
struct Entry {
    std::array<int, 4> key;
    int count;
    bool operator==(const Entry&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Entry& e)
{
    return os << "(" << e.key[0] << "," << e.key[1] << "," << e.key[2] << "," << e.key[3] << ") x" << e.count;
}

std::vector<Entry> Entries(const TStatDrawArray& values)
{
    std::vector<Entry> r;
    for (const TStatDrawItem& it : values) r.push_back({{it.Key[0], it.Key[1], it.Key[2], it.Key[3]}, it.Count});
    return r;
}

// The rest of each descriptor is in the golden list of every kind.
TEST(DifferenceKinds, Family)
{
    EXPECT_EQ(Codes(KindsOf(kinds::AddDifferenceKinds)),
              (std::vector<std::string>{"DIFA", "DIFM", "DIFD", "DIFO", "DIFK", "KDS2", "KDS3", "KDS4"}));
}

// Draw 1 is 1..8 drawn backwards from both ends; draw 2 a mixed draw; draw 3 is 1..8.
TDrawsArray ThreeDraws()
{
    return Draws(1, {{8, 1, 7, 2, 6, 3, 5, 4}, {3, 7, 1, 15, 9, 20, 11, 4}, {1, 2, 3, 4, 5, 6, 7, 8}});
}

TEST(DifferenceKinds, ValuesOfDraws)
{
    using E = Entry;
    struct Case {
        const char* code;
        int index;
        bool sorted;
        std::vector<Entry> values;
        int graph;   // GetDrawGraphValue of charted kinds
    };
    // Draw 2 in drawn order has the differences 4, 6, 14, 6, 11, 9, 7; sorted (1, 3, 4, 7, 9, 11,
    // 15, 20) 2, 1, 3, 2, 2, 4, 5.
    const std::vector<Case> cases = {
        {"DIFA", 0, false, {E{{7}, 1}, E{{6}, 1}, E{{5}, 1}, E{{4}, 1}, E{{3}, 1}, E{{2}, 1}, E{{1}, 1}}, 0},
        {"DIFA", 0, true, {E{{1}, 7}}, 0},
        {"DIFA", 1, false, {E{{4}, 1}, E{{6}, 2}, E{{14}, 1}, E{{11}, 1}, E{{9}, 1}, E{{7}, 1}}, 0},
        {"DIFA", 1, true, {E{{2}, 3}, E{{1}, 1}, E{{3}, 1}, E{{4}, 1}, E{{5}, 1}}, 0},
        {"DIFM", 0, false, {E{{7}, 1}}, 7},
        {"DIFM", 0, true, {E{{1}, 1}}, 1},
        {"DIFM", 1, false, {E{{14}, 1}}, 14},
        {"DIFM", 1, true, {E{{5}, 1}}, 5},
        {"DIFD", 0, false, {E{{7}, 1}}, 7},
        {"DIFD", 0, true, {E{{7}, 1}}, 7},
        {"DIFD", 1, false, {E{{19}, 1}}, 19},
        {"DIFO", 0, false,
         {E{{7, 1}, 1}, E{{6, 1}, 1}, E{{5, 1}, 1}, E{{4, 1}, 1}, E{{3, 1}, 1}, E{{2, 1}, 1}, E{{1, 1}, 1}}, 0},
        {"DIFO", 2, false, {E{{1, 7}, 1}}, 0},
        {"DIFO", 1, false, {E{{4, 1}, 1}, E{{6, 2}, 1}, E{{14, 1}, 1}, E{{11, 1}, 1}, E{{9, 1}, 1}, E{{7, 1}, 1}}, 0},
        {"DIFO", 1, true, {E{{2, 3}, 1}, E{{1, 1}, 1}, E{{3, 1}, 1}, E{{4, 1}, 1}, E{{5, 1}, 1}}, 0},
        {"DIFK", 0, false, {E{{1}, 1}}, 1},
        {"DIFK", 0, true, {E{{7}, 1}}, 7},
        {"DIFK", 1, false, {E{{2}, 1}}, 2},
        {"DIFK", 1, true, {E{{3}, 1}}, 3},
        {"KDS2", 2, true, {E{{1, 1}, 6}}, 0},
        {"KDS2", 1, false,
         {E{{4, 6}, 1}, E{{6, 14}, 1}, E{{14, 6}, 1}, E{{6, 11}, 1}, E{{11, 9}, 1}, E{{9, 7}, 1}}, 0},
        {"KDS2", 1, true, {E{{2, 1}, 1}, E{{1, 3}, 1}, E{{3, 2}, 1}, E{{2, 2}, 1}, E{{2, 4}, 1}, E{{4, 5}, 1}}, 0},
        {"KDS3", 1, false,
         {E{{4, 6, 14}, 1}, E{{6, 14, 6}, 1}, E{{14, 6, 11}, 1}, E{{6, 11, 9}, 1}, E{{11, 9, 7}, 1}}, 0},
        {"KDS3", 1, true, {E{{2, 1, 3}, 1}, E{{1, 3, 2}, 1}, E{{3, 2, 2}, 1}, E{{2, 2, 4}, 1}, E{{2, 4, 5}, 1}}, 0},
        {"KDS3", 0, true, {E{{1, 1, 1}, 5}}, 0},
        {"KDS4", 1, false,
         {E{{4, 6, 14, 6}, 1}, E{{6, 14, 6, 11}, 1}, E{{14, 6, 11, 9}, 1}, E{{6, 11, 9, 7}, 1}}, 0},
        {"KDS4", 1, true, {E{{2, 1, 3, 2}, 1}, E{{1, 3, 2, 2}, 1}, E{{3, 2, 2, 4}, 1}, E{{2, 2, 4, 5}, 1}}, 0},
        {"KDS4", 2, false, {E{{1, 1, 1, 1}, 4}}, 0},
        {"KDS4", 0, false, {E{{7, 6, 5, 4}, 1}, E{{6, 5, 4, 3}, 1}, E{{5, 4, 3, 2}, 1}, E{{4, 3, 2, 1}, 1}}, 0},
    };
    Env e(ThreeDraws());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " draw " + std::to_string(c.index) + (c.sorted ? " sorted" : ""));
        auto s = e.Create(c.code);
        const TStatDrawArray values = DrawValues(*s, c.index, 2, c.sorted);
        EXPECT_EQ(Entries(values), c.values);
        for (const TStatDrawItem& it : values) {
            EXPECT_EQ(it.LastDrawNo, c.index + 1);
            EXPECT_EQ(it.Depth, 3 - c.index);
        }
        EXPECT_EQ(s->GetDrawGraphValue(c.index, 2, c.sorted), c.graph);
    }
}

TEST(DifferenceKinds, ValuesOfOneCombination)
{
    using E = Entry;
    const TComb ascending = {1, 3, 4, 7, 9, 11, 15, 20};
    struct Case {
        const char* code;
        TComb comb;
        std::vector<Entry> values;
    };
    const std::vector<Case> cases = {
        {"DIFA", ascending, {E{{2}, 3}, E{{1}, 1}, E{{3}, 1}, E{{4}, 1}, E{{5}, 1}}},
        {"DIFM", ascending, {E{{5}, 1}}},
        {"DIFD", ascending, {E{{19}, 1}}},
        {"DIFO", ascending, {E{{2, 3}, 1}, E{{1, 1}, 1}, E{{3, 1}, 1}, E{{4, 1}, 1}, E{{5, 1}, 1}}},
        {"DIFK", ascending, {E{{3}, 1}}},
        {"DIFK", {1, 3, 5, 7, 9, 11, 13, 15}, {E{{7}, 1}}},
        // The runs of differences belong to draws only.
        {"KDS2", ascending, {}},
        {"KDS3", ascending, {}},
        {"KDS4", ascending, {}},
    };
    Env e;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        auto s = e.Create(c.code);
        TStatDrawArray values;
        s->CalcComb(c.comb, values);
        EXPECT_EQ(Entries(values), c.values);
        TStatDrawArray batch;
        s->CalcCombs(std::vector<TComb>{c.comb}, batch);
        EXPECT_EQ(Entries(batch), c.values);
    }
}

TEST(DifferenceKinds, ValueTexts)
{
    const std::vector<TextCase> cases = {
        {"DIFA", 0, Value(19), "19", 19},       {"DIFM", 0, Value(1), "1", 1},
        {"DIFD", 0, Value(7), "7", 7},          {"DIFK", 0, Value(7), "7", 7},
        {"DIFO", 0, Value(2, 3), "2 x 3", 0},   {"DIFO", 0, Value(1, 7), "1 x 7", 0},
        {"DIFO", 0, Value(13, 1), "13 x 1", 0}, {"KDS2", 0, Value(3, 1), "3:1", 0},
        {"KDS3", 0, Value(3, 1, 4), "3:1:4", 0}, {"KDS4", 0, Value(3, 1, 4, 1), "3:1:4:1", 0},
        {"KDS2", 0, Value(12, 0, 9, 9), "12:0", 0},
    };
    ExpectTexts(cases);

    const Env e;
    const std::vector<ParseCase> parses = {
        {"DIFA", "7", 7}, {"DIFA", "x", 0},     {"DIFM", "19", 19},  {"DIFK", "3", 3},
        {"DIFO", "2 x 3", 0}, {"DIFO", "2", 0}, {"KDS2", "3:1", 0}, {"KDS4", "3", 0},
    };
    ExpectParsed(e, parses);
}

TEST(DifferenceKinds, ListedValues)
{
    const TConfigData defaults;
    ExpectListed({
        {"DIFA", defaults, KeyRange(1, 19)}, {"DIFM", defaults, KeyRange(1, 19)},
        {"DIFD", defaults, KeyRange(1, 19)}, {"DIFO", defaults, {}},
        {"DIFK", defaults, KeyRange(1, 7)},  {"KDS2", defaults, {}},
        {"KDS3", defaults, {}},              {"KDS4", defaults, {}},
    });
}

TEST(DifferenceKinds, PeriodsOnlyForTheFirstDifference)
{
    // Differences 4, 1, 2, 2, 2, 2, 2 in draws 10 and 11.
    const TDraw d10 = MakeDraw(10, {1, 5, 6, 8, 10, 12, 14, 16});
    const TDraw d11 = MakeDraw(11, {2, 6, 7, 9, 11, 13, 15, 17});
    Env both({d10, d11});
    auto difa = both.Create("DIFA");
    const TStatDrawArray a = Window(*difa, 0, 1, false);
    const TStatDrawItem& four = At(a, Value(4));
    EXPECT_EQ(four.Count, 2);
    EXPECT_EQ(four.PeriodMin, 1);
    EXPECT_EQ(four.PeriodMax, 1);
    const TStatDrawItem& two = At(a, Value(2));   // never the first difference
    EXPECT_EQ(two.Count, 10);
    EXPECT_EQ(two.PeriodMin, 0);
    EXPECT_EQ(two.PeriodMax, 0);
    EXPECT_EQ(two.LastDrawNo, 11);
    EXPECT_EQ(two.Depth, 1);
    EXPECT_EQ(At(a, Value(1)).PeriodMax, 0);

    // The same for the first run of differences; repeated differences track every value.
    auto kds2 = both.Create("KDS2");
    const TStatDrawArray k = Window(*kds2, 0, 1, false);
    EXPECT_EQ(At(k, Value(4, 1)).PeriodMin, 1);
    EXPECT_EQ(At(k, Value(4, 1)).PeriodMax, 1);
    EXPECT_EQ(At(k, Value(2, 2)).Count, 8);
    EXPECT_EQ(At(k, Value(2, 2)).PeriodMax, 0);
    EXPECT_EQ(At(k, Value(1, 2)).PeriodMax, 0);
    auto kds4 = both.Create("KDS4");
    const TStatDrawArray k4 = Window(*kds4, 0, 1, false);
    EXPECT_EQ(At(k4, Value(4, 1, 2, 2)).PeriodMax, 1);
    EXPECT_EQ(At(k4, Value(2, 2, 2, 2)).PeriodMax, 0);
    auto difo = both.Create("DIFO");
    const TStatDrawArray o = Window(*difo, 0, 1, false);
    EXPECT_EQ(At(o, Value(2, 5)).PeriodMin, 1);
    EXPECT_EQ(At(o, Value(1, 1)).PeriodMax, 1);

    // In draw 11 the 4 is only the third difference: no period, but draw 12 measures from 11.
    const TDraw third = MakeDraw(11, {2, 3, 5, 9, 11, 13, 15, 17});   // 1, 2, 4, 2, 2, 2, 2
    const TDraw d12 = MakeDraw(12, {3, 7, 8, 10, 12, 14, 16, 18});    // 4, 1, 2, 2, 2, 2, 2
    Env later({d10, third, d12});
    auto l = later.Create("DIFA");
    const TStatDrawArray two2 = Window(*l, 0, 1, false);
    EXPECT_EQ(At(two2, Value(4)).Count, 2);
    EXPECT_EQ(At(two2, Value(4)).PeriodMin, 0);
    EXPECT_EQ(At(two2, Value(4)).PeriodMax, 0);
    EXPECT_EQ(At(two2, Value(4)).LastDrawNo, 11);
    EXPECT_EQ(At(two2, Value(1)).PeriodMin, 1);   // first in 11, second in 10
    const TStatDrawArray three = Window(*l, 0, 2, false);
    EXPECT_EQ(At(three, Value(4)).Count, 3);
    EXPECT_EQ(At(three, Value(4)).PeriodMin, 1);
    EXPECT_EQ(At(three, Value(4)).PeriodMax, 1);
}

TEST(DifferenceKinds, CombMatchesRules)
{
    // A candidate is read in ascending order: differences 2, 1, 3, 2, 2, 4, 5.
    const TComb comb = {1, 3, 4, 7, 9, 11, 15, 20};
    const std::vector<MatchCase> cases = {
        {"DIFA", 0, {Value(4)}, comb, true},          {"DIFA", 0, {Value(6)}, comb, false},
        {"DIFA", 0, {Value(4, 9, 9, 9)}, comb, true}, {"DIFA", 0, {}, comb, false},
        {"DIFM", 0, {Value(5)}, comb, true},          {"DIFM", 0, {Value(14)}, comb, false},
        {"DIFM", 0, {Value(4)}, comb, false},
        {"DIFD", 0, {Value(19)}, comb, true},         {"DIFD", 0, {Value(7)}, comb, false},
        {"DIFO", 0, {Value(2, 3)}, comb, true},       {"DIFO", 0, {Value(2, 2)}, comb, false},
        {"DIFO", 0, {Value(1, 1)}, comb, true},       {"DIFO", 0, {Value(2, 3, 1)}, comb, false},
        {"DIFO", 0, {Value(6, 2), Value(5, 1)}, comb, true},
        {"DIFK", 0, {Value(3)}, comb, true},          {"DIFK", 0, {Value(2)}, comb, false},
        {"DIFK", 0, {Value(3, 1)}, comb, true},
        {"KDS2", 0, {Value(2, 1)}, comb, true},       {"KDS2", 0, {Value(4, 5)}, comb, true},
        {"KDS2", 0, {Value(4, 6)}, comb, false},      {"KDS2", 0, {Value(5, 4)}, comb, false},
        {"KDS2", 0, {Value(2, 1, 3)}, comb, false},
        {"KDS3", 0, {Value(2, 1, 3)}, comb, true},    {"KDS3", 0, {Value(2, 4, 5)}, comb, true},
        {"KDS3", 0, {Value(4, 6, 14)}, comb, false},  {"KDS3", 0, {Value(2, 4, 5, 1)}, comb, false},
        {"KDS4", 0, {Value(2, 2, 4, 5)}, comb, true}, {"KDS4", 0, {Value(1, 3, 2, 2)}, comb, true},
        {"KDS4", 0, {Value(2, 1, 3, 3)}, comb, false},
    };
    Env e(ThreeDraws());
    ExpectMatches(e, cases, 2);
}

TEST(DifferenceKinds, FullSetDistributions)
{
    Env e;
    auto count = [&](const std::string& code) { return Entries(FullSetValues(e, code)); };
    // Spread w: 20 - w places for the smallest number, C(w - 1, 6) choices inside.
    const auto spread = count("DIFD");
    ASSERT_EQ(spread.size(), 13u);
    EXPECT_EQ(spread[0], (Entry{{7}, 13}));
    EXPECT_EQ(spread[1], (Entry{{8}, 84}));
    EXPECT_EQ(spread[12], (Entry{{19}, 18564}));

    // A gap of 13 needs 1..j and then j + 13 .. 20: seven tickets, each with one such gap.
    const auto all = count("DIFA");
    EXPECT_EQ(all.back(), (Entry{{13}, 7}));
    long long total = 0;
    for (const Entry& x : all) total += x.count;
    EXPECT_EQ(total, 7LL * kv::game::CombCount);
    const auto largest = count("DIFM");
    EXPECT_EQ(largest.front(), (Entry{{1}, 13}));
    EXPECT_EQ(largest.back(), (Entry{{13}, 7}));

    // Seven equal gaps: the 13 runs of eight and the 6 progressions of step 2.
    const auto same = count("DIFK");
    EXPECT_EQ(same.back(), (Entry{{7}, 19}));
    const auto pairs = count("DIFO");
    int runs = 0, steps2 = 0;
    for (const Entry& x : pairs) {
        if (x.key == std::array<int, 4>{1, 7, 0, 0}) runs = x.count;
        if (x.key == std::array<int, 4>{2, 7, 0, 0}) steps2 = x.count;
    }
    EXPECT_EQ(runs, 13);
    EXPECT_EQ(steps2, 6);
    EXPECT_TRUE(count("KDS2").empty());
}

} // namespace

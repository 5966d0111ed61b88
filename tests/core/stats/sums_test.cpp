#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"
#include "tests/support/support.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

int SumOf(const TComb& c)
{
    int s = 0;
    for (uint8_t x : c) s += x;
    return s;
}

// An ascending combination with the given sum (36..132): the numbers are raised from the last
// position down, each to at most its largest possible value.
TComb CombWithSum(int sum)
{
    TComb c = {1, 2, 3, 4, 5, 6, 7, 8};
    int need = sum - 36;
    for (int i = 7; i >= 0 && need > 0; --i) {
        const int add = std::min(need, 13 + i - c[std::size_t(i)]);
        c[std::size_t(i)] = uint8_t(c[std::size_t(i)] + add);
        need -= add;
    }
    return c;
}

// The same numbers in a drawn (unsorted) order.
TComb Drawn(TComb c)
{
    std::reverse(c.begin(), c.end());
    std::swap(c[1], c[5]);
    return c;
}

// An archive whose draws have these sums, numbered from firstNo, stored in a drawn order.
TDrawsArray DrawsWithSums(const std::vector<std::pair<int, int>>& numberAndSum)
{
    TDrawsArray d;
    for (const auto& [no, sum] : numberAndSum) d.push_back(MakeDraw(no, Drawn(CombWithSum(sum))));
    return d;
}


// Key[0..1] and Key[2..3] as 32-bit words, and the count.
struct Entry {
    int lo;
    int hi;
    int count;
    bool operator==(const Entry&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Entry& e)
{
    return os << "(" << e.lo << ", " << e.hi << ") x" << e.count;
}

std::vector<Entry> Entries(const TStatDrawArray& values)
{
    std::vector<Entry> r;
    for (const TStatDrawItem& it : values)
        r.push_back({it.LongKey(), int(uint16_t(it.Key[2])) | (int(it.Key[3]) << 16), it.Count});
    return r;
}

TEST(SumKinds, FamilyCaptionsAndHelp)
{
    // The rest of each descriptor is in the golden list of every kind.
    EXPECT_EQ(Codes(KindsOf(kinds::AddSumKinds)),
              (std::vector<std::string>{"SUMS", "SUM%d", "SUMC", "SUMV", "SUMT", "SUME", "SUMP", "S2T3"}));
    TConfigData odd;   // the sum ranges are constants, whatever the card looks like
    odd.MatrixCols = 0;
    odd.ChannelSize = 0;
    for (const TStatKind* k : KindsOf(kinds::AddSumKinds))
        EXPECT_EQ(k->GetParamRange(odd), k->GetParamRange(TConfigData{})) << k->GetCode();

    // The range caption names the share of draws the range holds.
    const TStatKind& ranges = KindOf("SUM%d");
    EXPECT_EQ(ranges.FormatCaption(1), "Сумма тиража: диапазон 1 (1/3)");
    EXPECT_EQ(ranges.FormatCaption(2), "Сумма тиража: диапазон 2 (1/2)");
    EXPECT_EQ(ranges.FormatCaption(3), "Сумма тиража: диапазон 3 (2/3)");
    EXPECT_EQ(ranges.FormatCode(3), "SUM3");
    EXPECT_EQ(KindOf("SUMS").FormatCaption(2), "Сумма тиража: все значения");
    Env e;
    EXPECT_EQ(e.Create("SUM%d", 2)->GetName(), "Сумма тиража: диапазон 2 (1/2)");

    // Without a help code of its own the anchor is the code with "x" for the parameter.
    kv::test::TempDir dir;
    kv::test::WriteBytes(dir / "index.html", "x");
    const std::string help = (dir / "index.html").string();
    EXPECT_EQ(ranges.GetHelpURL(2, help), "file://" + (dir / "sums.html").string() + "#SUMx");
    EXPECT_EQ(KindOf("S2T3").GetHelpURL(0, help), "file://" + (dir / "sums.html").string() + "#S2T3");
}

TEST(SumKinds, ValuesOfOneCombination)
{
    struct Case {
        const char* code;
        int param;
        TComb comb;
        std::vector<Entry> values;
    };
    const TComb low = {1, 2, 3, 4, 5, 6, 7, 8};
    const TComb high = {20, 19, 18, 17, 16, 15, 14, 13};
    const TComb mixed = {3, 7, 1, 15, 9, 20, 11, 4};   // sum 70
    const TComb odd = {1, 3, 5, 7, 9, 11, 13, 15};
    const TComb nonPrime = {4, 6, 8, 9, 10, 12, 14, 15};
    const std::vector<Case> cases = {
        {"SUMS", 0, low, {{36, 0, 1}}},
        {"SUMS", 0, high, {{132, 0, 1}}},
        {"SUMS", 0, mixed, {{70, 0, 1}}},
        {"SUME", 0, mixed, {{24, 0, 1}}},
        {"SUME", 0, odd, {{0, 0, 1}}},
        {"SUME", 0, {6, 8, 10, 12, 14, 16, 18, 20}, {{104, 0, 1}}},
        {"SUMP", 0, mixed, {{22, 0, 1}}},
        {"SUMP", 0, low, {{18, 0, 1}}},
        {"SUMP", 0, nonPrime, {{0, 0, 1}}},
        {"SUMP", 0, {19, 17, 13, 11, 7, 5, 3, 2}, {{77, 0, 1}}},
        // 3 = 1+2, 4 = 1+3, 5 = 1+4 = 2+3, 6 = 1+5 = 2+4, 7 = 1+6 = 2+5 = 3+4, 8 = 1+7 = 2+6 = 3+5.
        {"S2T3", 0, low, {{12, 0, 1}}},
        // 4 = 1+3, 7 = 3+4, 11 = 4+7, 15 = 4+11, 20 = 9+11.
        {"S2T3", 0, mixed, {{5, 0, 1}}},
        {"S2T3", 0, odd, {{0, 0, 1}}},
        // 3 = 1+2; 11..14 = 1 + 10..13; 12..14 = 2 + 10..12; 13, 14 = 3 + 10..11.
        {"S2T3", 0, {1, 2, 3, 10, 11, 12, 13, 14}, {{10, 0, 1}}},
        // Repeats and zeros (never a real ticket) still count positions: eight zeros give 28 pairs
        // times the 6 other zeros; with 5, 0 and six 1s each 0 + 1 is matched by the 5 other 1s,
        // and 5 + 0 by no other 5.
        {"S2T3", 0, {0, 0, 0, 0, 0, 0, 0, 0}, {{168, 0, 1}}},
        {"S2T3", 0, {5, 0, 1, 1, 1, 1, 1, 1}, {{30, 0, 1}}},
        // 1+1 = 2 (x2), 1+2 = 3 (4 pairs x2), 1+3 = 4 (4 pairs x2), 2+2 = 4 (x2).
        {"S2T3", 0, {1, 1, 2, 2, 3, 3, 4, 4}, {{20, 0, 1}}},
        {"SUM%d", 1, mixed, {{1, 0, 1}}},
        {"SUM%d", 2, mixed, {{1, 0, 1}}},
        {"SUM%d", 3, mixed, {{0, 0, 1}}},
        // The follow-up kinds have no values of their own for a combination.
        {"SUMC", 0, mixed, {}},
        {"SUMV", 0, mixed, {}},
        {"SUMT", 0, mixed, {}},
    };
    Env e(DrawsWithSums({{1, 70}, {2, 70}}));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + std::to_string(c.param));
        auto s = e.Create(c.code, c.param);
        TStatDrawArray values;
        s->CalcComb(c.comb, values);
        EXPECT_EQ(Entries(values), c.values);
        for (const TStatDrawItem& it : values) {
            EXPECT_EQ(it.LastDrawNo, 0);
            EXPECT_EQ(it.Depth, 0);
        }
        if (KindOf(c.code).IsGraph() && !c.values.empty()) {
            EXPECT_EQ(s->GetGraphValue(c.comb, 0, 0, false), c.values[0].lo);
        }
    }
}

TEST(SumKinds, SumRangeBoundaries)
{
    struct Case {
        int sum;
        int in1, in2, in3;   // the value of SUM1, SUM2, SUM3
    };
    const std::vector<Case> cases = {
        {36, 0, 0, 0},  {64, 0, 0, 0},  {65, 1, 0, 0},  {68, 1, 0, 0},  {69, 1, 1, 0},
        {71, 1, 1, 0},  {72, 1, 1, 1},  {96, 1, 1, 1},  {97, 1, 1, 0},  {99, 1, 1, 0},
        {100, 1, 0, 0}, {103, 1, 0, 0}, {104, 0, 0, 0}, {132, 0, 0, 0},
    };
    Env e({MakeDraw(7, {1, 2, 3, 4, 5, 6, 7, 8})});
    for (const Case& c : cases) {
        const TComb comb = CombWithSum(c.sum);
        ASSERT_EQ(SumOf(comb), c.sum);
        const int expected[3] = {c.in1, c.in2, c.in3};
        for (int p = 1; p <= 3; ++p) {
            SCOPED_TRACE("sum " + std::to_string(c.sum) + " SUM" + std::to_string(p));
            auto s = e.Create("SUM%d", p);
            TStatDrawArray values;
            s->CalcComb(comb, values);
            ASSERT_EQ(values.Count(), 1);
            EXPECT_EQ(values[0].LongKey(), expected[p - 1]);
            EXPECT_EQ(s->GetGraphValue(Drawn(comb), 0, 0, false), expected[p - 1]);
        }
    }
}

TEST(SumKinds, SumRangeFilterRule)
{
    // Marking the range keeps the sums inside it; the rest alone, or nothing, keeps those
    // outside; the range and the rest together still mean inside.
    struct Case {
        int param;
        std::vector<TStatDrawItem> marked;
        int sum;
        bool expected;
    };
    const TStatDrawItem range = LongValue(1), rest = LongValue(0);
    const std::vector<Case> cases = {
        {2, {rest}, 100, true},     {2, {rest}, 99, false},      {2, {range}, 99, true},
        {2, {range}, 100, false},   {2, {range}, 69, true},      {2, {range}, 68, false},
        {2, {}, 100, true},         {2, {}, 80, false},          {2, {range, rest}, 80, true},
        {2, {range, rest}, 100, false},
        {1, {range}, 65, true},     {1, {range}, 64, false},     {1, {range}, 103, true},
        {1, {range}, 104, false},   {1, {rest}, 64, true},       {1, {rest}, 104, true},
        {3, {range}, 72, true},     {3, {range}, 71, false},     {3, {range}, 96, true},
        {3, {range}, 97, false},    {3, {rest}, 97, true},
        {2, {LongValue(65537)}, 99, false},   // the range is the whole word Key[0..1] = 1
    };
    Env e({MakeDraw(7, {1, 2, 3, 4, 5, 6, 7, 8})});
    for (const Case& c : cases) {
        SCOPED_TRACE("SUM" + std::to_string(c.param) + " sum " + std::to_string(c.sum));
        auto s = e.Create("SUM%d", c.param);
        const TStatDrawArray marked = Marked(c.marked);
        const TComb comb = CombWithSum(c.sum);
        EXPECT_EQ(Matches(*s, comb, marked, 0, true, false), c.expected);
        EXPECT_EQ(Matches(*s, comb, marked, 0, true, true), c.expected);
        // The same sum twice in one pass.
        std::vector<uint8_t> result;
        s->MatchCombs(std::vector<TComb>{comb, comb}, marked, {.LastIndex = 0, .Sorted = true, .Exclude = false}, result);
        EXPECT_EQ(result, (std::vector<uint8_t>(2, c.expected ? 1 : 0)));
    }
}

TEST(SumKinds, ValueTexts)
{
    const std::vector<TextCase> cases = {
        {"SUMS", 0, LongValue(36), "36", 36},
        {"SUMS", 0, LongValue(132), "132", 132},
        {"SUME", 0, LongValue(0), "0", 0},
        {"SUMP", 0, LongValue(77), "77", 77},
        {"S2T3", 0, LongValue(12), "12", 12},
        {"SUM%d", 1, LongValue(1), "65-103", 0},
        {"SUM%d", 2, LongValue(1), "69-99", 0},
        {"SUM%d", 3, LongValue(1), "72-96", 0},
        {"SUM%d", 1, LongValue(0), "Остальные", 0},
        {"SUM%d", 3, LongValue(0), "Остальные", 0},
        {"SUMC", 0, LongValue(84, 90), "+06 : 84 + 6 = 90", 0},
        {"SUMC", 0, LongValue(84, 78), "- 06 : 84 - 6 = 78", 0},
        {"SUMC", 0, LongValue(84, 84), "+00 : 84 + 0 = 84", 0},
        {"SUMC", 0, LongValue(36, 132), "+96 : 36 + 96 = 132", 0},
        {"SUMC", 0, LongValue(132, 36), "- 96 : 132 - 96 = 36", 0},
        {"SUMC", 0, LongValue(0, 120), "+120 : 0 + 120 = 120", 0},
        {"SUMV", 0, LongValue(-5), "- 05", 0},
        {"SUMV", 0, LongValue(0), "+00", 0},
        {"SUMV", 0, LongValue(7), "+07", 0},
        {"SUMV", 0, LongValue(-30), "- 30", 0},
        {"SUMV", 0, LongValue(96), "+96", 0},
        {"SUMV", 0, LongValue(-96), "- 96", 0},
        {"SUMT", 0, LongValue(0), "=", 0},
        {"SUMT", 0, LongValue(1), "+", 0},
        {"SUMT", 0, LongValue(-1), "-", 0},
    };
    ExpectTexts(cases);

    const Env e;
    // Only the plain numbers parse; the others are not one typed integer.
    const std::vector<ParseCase> parses = {
        {"SUMS", "90", 90},    {"SUMS", "abc", 0},       {"SUMS", " 36 ", 36}, {"SUME", "104", 104},
        {"SUMP", "", 0},       {"S2T3", "12", 12},       {"SUM%d", "65-103", 0}, {"SUM%d", "1", 0},
        {"SUMC", "+06 : 84 + 6 = 90", 0}, {"SUMV", "+05", 0}, {"SUMV", "- 05", 0}, {"SUMT", "1", 0},
    };
    ExpectParsed(e, parses, 2);
}

TEST(SumKinds, ListedValues)
{
    const TConfigData defaults;
    // The trends list +, 0 and - (a whole word -1).
    ExpectListed({
        {"SUMS", defaults, KeyRange(36, 132)},
        {"SUM%d", defaults, KeyRange(0, 1)},
        {"SUMT", defaults, {{0, 0, 0, 0}, {1, 0, 0, 0}, {-1, -1, 0, 0}}},
        {"SUMC", defaults, {}}, {"SUMV", defaults, {}}, {"SUME", defaults, {}}, {"SUMP", defaults, {}},
        {"S2T3", defaults, {}},
    });
    EXPECT_EQ(KeyRange(36, 132).size(), 97u);
}

TEST(SumKinds, WindowOfPlainSums)
{
    Env e(DrawsWithSums({{20, 36}, {21, 70}, {23, 36}}));
    auto sums = e.Create("SUMS");
    const TStatDrawArray values = Window(*sums, 0, 2, false);
    ASSERT_EQ(values.Count(), 97);
    const TStatDrawItem& low = At(values, LongValue(36));
    EXPECT_EQ(low.Count, 2);
    EXPECT_EQ(low.Depth, 1);
    EXPECT_EQ(low.LastDrawNo, 23);
    EXPECT_EQ(low.PeriodMin, 3);
    EXPECT_EQ(low.PeriodMax, 3);
    const TStatDrawItem& mid = At(values, LongValue(70));
    EXPECT_EQ(mid.Count, 1);
    EXPECT_EQ(mid.Depth, 2);
    EXPECT_EQ(At(values, LongValue(71)).Count, 0);
    EXPECT_EQ(sums->GetDrawGraphValue(1, 2, false), 70);
    EXPECT_EQ(sums->GetDrawGraphValue(1, 2, true), 70);
    EXPECT_EQ(sums->GetDrawGraphValue(9, 2, true), 0);   // outside the archive: an empty draw

    auto ranges = e.Create("SUM%d", 1);
    EXPECT_EQ(Entries(Window(*ranges, 0, 2, true)), (std::vector<Entry>{{0, 0, 2}, {1, 0, 1}}));
}

// Sums of the draws: 90, 84, 90, 84, 84, 78, 84, 90, 84; the last (number 110) is the reference.
// A draw whose predecessor summed 84 is followed by 90 (103), 84 (105), 78 (106), 90 (108).
TDrawsArray FollowArchive()
{
    return DrawsWithSums({{101, 90}, {102, 84}, {103, 90}, {104, 84}, {105, 84}, {106, 78}, {107, 84},
                          {108, 90}, {110, 84}});
}

TEST(SumKinds, ExactChangeAfterTheLatestSum)
{
    Env e(FollowArchive());
    auto s = e.Create("SUMC");
    for (bool sorted : {false, true}) {
        SCOPED_TRACE(sorted);
        const TStatDrawArray values = Window(*s, 0, 8, sorted);
        ASSERT_EQ(Entries(values), (std::vector<Entry>{{84, 90, 2}, {84, 84, 1}, {84, 78, 1}}));
        EXPECT_EQ(CountersOf(values[0]), (Counters{2, 108, 2, 5, 5}));
        EXPECT_EQ(values[1].LastDrawNo, 105);
        EXPECT_EQ(values[1].Depth, 5);
        EXPECT_EQ(values[2].Depth, 4);
        EXPECT_EQ(s->ValueToText(values[0]), "+06 : 84 + 6 = 90");
        EXPECT_EQ(s->ValueToText(values[2]), "- 06 : 84 - 6 = 78");
    }
    // With draw 108 (sum 90) as the reference, the draws after a 90 count: 102 and 104, both 84
    // (110 is outside the window).
    EXPECT_EQ(Entries(Window(*s, 0, 7, false)), (std::vector<Entry>{{90, 84, 2}}));
    // A window that starts later leaves the earlier draws out, but each draw still looks at the
    // archive draw before it.
    EXPECT_EQ(Entries(Window(*s, 5, 8, false)), (std::vector<Entry>{{84, 78, 1}, {84, 90, 1}}));

    // The chart: the change from the draw before, whatever the reference.
    const std::vector<int> graph = {90, -6, 6, -6, 0, -6, 6, 6, -6};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(s->GetDrawGraphValue(i, 8, false), graph[std::size_t(i)]) << i;
    EXPECT_EQ(s->GetGraphValue(CombWithSum(100), 8, 8, false), 10);
    EXPECT_EQ(s->GetGraphValue(CombWithSum(100), 0, 8, false), 100);
}

TEST(SumKinds, ArchiveFirstDrawFollowsAZeroSum)
{
    // The first draw has the reference sum itself: its predecessor is the empty draw, sum 0, so
    // it gives nothing, and neither does a reference sum of 0 appear.
    Env e(DrawsWithSums({{1, 84}, {2, 90}, {3, 84}}));
    auto change = e.Create("SUMC");
    auto trend = e.Create("SUMT");
    EXPECT_EQ(Entries(Window(*change, 0, 2, false)), (std::vector<Entry>{{84, 90, 1}}));
    EXPECT_EQ(Entries(Window(*change, 0, 0, false)), (std::vector<Entry>{}));
    EXPECT_EQ(Entries(Window(*trend, 0, 2, false)), (std::vector<Entry>{{0, 0, 0}, {1, 0, 1}, {-1, 0, 0}}));
    EXPECT_EQ(Entries(Window(*trend, 0, 0, false)), (std::vector<Entry>{{0, 0, 0}, {1, 0, 0}, {-1, 0, 0}}));
    EXPECT_EQ(change->GetDrawGraphValue(0, 2, false), 84);
    EXPECT_EQ(trend->GetDrawGraphValue(0, 2, false), 1);
    EXPECT_EQ(trend->GetDrawGraphValue(2, 2, false), -1);
}

TEST(SumKinds, TrendAfterTheLatestSum)
{
    Env e(FollowArchive());
    auto s = e.Create("SUMT");
    const TStatDrawArray values = Window(*s, 0, 8, true);
    ASSERT_EQ(Entries(values), (std::vector<Entry>{{0, 0, 1}, {1, 0, 2}, {-1, 0, 1}}));
    EXPECT_EQ(values[0].LastDrawNo, 105);
    EXPECT_EQ(values[1].LastDrawNo, 108);
    EXPECT_EQ(values[1].Depth, 2);
    EXPECT_EQ(values[1].PeriodMin, 5);
    EXPECT_EQ(values[2].LastDrawNo, 106);
    EXPECT_EQ(values[2].PeriodMin, 0);
    const std::vector<int> graph = {1, -1, 1, -1, 0, -1, 1, 1, -1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(s->GetDrawGraphValue(i, 8, true), graph[std::size_t(i)]) << i;
}

TEST(SumKinds, ChangeAfterASumNearTheLatest)
{
    Env e(FollowArchive());
    auto s = e.Create("SUMV");
    // Every predecessor but the empty one lies within 84 +- 9.
    const TStatDrawArray values = Window(*s, 0, 8, false);
    ASSERT_EQ(Entries(values), (std::vector<Entry>{{-6, 0, 4}, {6, 0, 3}, {0, 0, 1}}));
    EXPECT_EQ(CountersOf(values[0]), (Counters{4, 110, 1, 2, 4}));
    EXPECT_EQ(values[1].PeriodMin, 1);
    EXPECT_EQ(values[1].PeriodMax, 4);
    EXPECT_EQ(s->ValueToText(values[0]), "- 06");
    EXPECT_EQ(s->ValueToText(values[2]), "+00");

    // Latest sum 90: predecessors of 81..99 count, 80 and 100 do not.
    Env near(DrawsWithSums({{1, 80}, {2, 95}, {3, 81}, {4, 70}, {5, 99}, {6, 100}, {7, 90}}));
    auto v = near.Create("SUMV");
    const TStatDrawArray n = Window(*v, 0, 6, false);
    ASSERT_EQ(Entries(n), (std::vector<Entry>{{-14, 0, 1}, {-11, 0, 1}, {1, 0, 1}}));
    EXPECT_EQ(v->ValueToText(n[0]), "- 14");
    EXPECT_EQ(v->ValueToText(n[2]), "+01");
}

TEST(SumKinds, FollowUpFiltersJudgeTheNextDraw)
{
    struct Case {
        const char* code;
        int lastIndex;   // reference sums: 8 -> 84, 7 -> 90
        std::vector<TStatDrawItem> marked;
        int sum;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"SUMC", 8, {LongValue(84, 90)}, 90, true},
        {"SUMC", 8, {LongValue(84, 90)}, 84, false},
        {"SUMC", 8, {LongValue(70, 90)}, 90, true},   // only the sum that followed is compared
        {"SUMC", 8, {LongValue(90, 84)}, 90, false},
        {"SUMC", 8, {LongValue(84, 78), LongValue(84, 84)}, 84, true},
        {"SUMC", 8, {}, 84, false},
        {"SUMV", 8, {LongValue(-6)}, 78, true},
        {"SUMV", 8, {LongValue(-6)}, 90, false},
        {"SUMV", 8, {LongValue(6)}, 90, true},
        {"SUMV", 8, {LongValue(0)}, 84, true},
        {"SUMV", 7, {LongValue(6)}, 96, true},
        {"SUMV", 7, {LongValue(6)}, 90, false},
        {"SUMV", 8, {LongValue(-6, 5)}, 78, true},    // the second word is not looked at
        {"SUMV", 8, {LongValue(65530)}, 78, false},   // -6 is the whole first word
        {"SUMV", 8, {LongValue(-48)}, 36, true},   // no tolerance for the candidate itself
        {"SUMT", 8, {LongValue(1)}, 85, true},
        {"SUMT", 8, {LongValue(1)}, 84, false},
        {"SUMT", 8, {LongValue(0)}, 84, true},
        {"SUMT", 8, {LongValue(-1)}, 36, true},
        {"SUMT", 8, {LongValue(-1)}, 84, false},
        {"SUMT", 7, {LongValue(0)}, 90, true},
        {"SUMT", 7, {LongValue(-1)}, 84, true},
        {"SUMT", 7, {LongValue(65536)}, 90, false},
    };
    Env e(FollowArchive());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " last " + std::to_string(c.lastIndex) + " sum " + std::to_string(c.sum));
        auto s = e.Create(c.code);
        const TStatDrawArray marked = Marked(c.marked);
        const TComb comb = CombWithSum(c.sum);
        EXPECT_EQ(Matches(*s, comb, marked, c.lastIndex, true, false), c.expected);
        EXPECT_EQ(Matches(*s, comb, marked, c.lastIndex, false, true), c.expected);
        auto batch = e.Create(c.code);
        batch->LoadDraws(-1, c.lastIndex, true);
        std::vector<uint8_t> result;
        batch->MatchCombs(std::vector<TComb>{CombWithSum(36), comb}, marked, {.LastIndex = c.lastIndex, .Sorted = true, .Exclude = false}, result);
        ASSERT_EQ(result.size(), 2u);
        EXPECT_EQ(result[1] != 0, c.expected);
    }
}

TEST(SumKinds, PlainSumFilters)
{
    const TComb low = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<MatchCase> cases = {
        {"SUMS", 0, {LongValue(36)}, low, true},
        {"SUMS", 0, {LongValue(37)}, low, false},
        {"SUMS", 0, {LongValue(36, 1)}, low, false},   // the pair (sum, 0)
        {"SUMS", 0, {LongValue(40), LongValue(36)}, low, true},
        {"SUME", 0, {LongValue(20)}, low, true},
        {"SUME", 0, {LongValue(20, 20)}, low, false},
        {"SUMP", 0, {LongValue(18)}, low, true},
        {"SUMP", 0, {LongValue(0)}, {4, 6, 8, 9, 10, 12, 14, 15}, true},
        {"S2T3", 0, {LongValue(12)}, low, true},
        {"S2T3", 0, {LongValue(12, 3)}, low, true},   // a count is Key[0] alone
        {"S2T3", 0, {LongValue(11)}, low, false},
        {"S2T3", 0, {LongValue(0)}, {1, 3, 5, 7, 9, 11, 13, 15}, true},
    };
    Env e;
    ExpectMatches(e, cases);
}

TEST(SumKinds, FullSetDistributions)
{
    Env e;
    auto count = [&](const std::string& code, int param) { return Entries(FullSetValues(e, code, param)); };
    // Sum 36 + k: the partitions of k into at most 8 parts of at most 12.
    const auto sums = count("SUMS", 0);
    ASSERT_EQ(sums.size(), 97u);
    const std::vector<Entry> lowest = {{36, 0, 1}, {37, 0, 1}, {38, 0, 2}, {39, 0, 3}, {40, 0, 5}, {41, 0, 7}};
    EXPECT_EQ(std::vector<Entry>(sums.begin(), sums.begin() + 6), lowest);
    EXPECT_EQ(sums[96], (Entry{132, 0, 1}));
    EXPECT_EQ(sums[94], (Entry{130, 0, 2}));
    for (std::size_t i = 0; i < sums.size(); ++i) EXPECT_EQ(sums[i].count, sums[96 - i].count) << i;

    // A range holds exactly the tickets whose sum lies in it.
    const std::pair<int, int> bounds[3] = {{65, 103}, {69, 99}, {72, 96}};
    for (int p = 1; p <= 3; ++p) {
        int inside = 0;
        for (const Entry& s : sums)
            if (s.lo >= bounds[p - 1].first && s.lo <= bounds[p - 1].second) inside += s.count;
        EXPECT_EQ(count("SUM%d", p), (std::vector<Entry>{{0, 0, kv::game::CombCount - inside}, {1, 0, inside}}));
    }

    // No even number: C(10, 8) tickets; all eight from 6 upwards: one.
    const auto even = count("SUME", 0);
    EXPECT_EQ(even.front(), (Entry{0, 0, 45}));
    EXPECT_EQ(even.back(), (Entry{104, 0, 1}));
    // None of the prime class: C(11, 8); the eight largest of it: one.
    const auto prime = count("SUMP", 0);
    EXPECT_EQ(prime.front(), (Entry{0, 0, 165}));
    EXPECT_EQ(prime.back(), (Entry{77, 0, 1}));

    const auto triples = count("S2T3", 0);
    int total = 0;
    for (const Entry& t : triples) total += t.count;
    EXPECT_EQ(total, kv::game::CombCount);
    EXPECT_EQ(triples.front().lo, 0);
}

} // namespace

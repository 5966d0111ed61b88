#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/stats/kinds/kinds.h"
#include "core/stats/prefetch.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

const TStatKind& ShreddingKind()
{
    static const TStatKind* kind = [] {
        std::vector<const TStatKind*> k;
        kinds::AddShreddingKinds(k);
        return k.size() == 1 ? k[0] : nullptr;
    }();
    if (!kind) throw std::runtime_error("the shredding family registers one kind");
    return *kind;
}


// Three draws; the first is drawn as 20, 1, ... so that sorting changes its n1.
TDrawsArray ThreeDraws()
{
    return Draws(101, {{20, 1, 2, 3, 4, 5, 6, 7}, {3, 9, 11, 4, 5, 6, 7, 8}, {15, 2, 9, 10, 11, 12, 13, 14}});
}

// n1, p1 and t1 side by side: two digits each after the point.
const char* const FirstNumbers = "n1/100+p1/10000+t1/1000000";

// An archive whose shredding formulas can be set one by one.
struct ShreddingEnv : Env {
    using Env::Env;
    ShreddingEnv& Formula(int param, std::string formula, int digits)
    {
        TShreddingData& s = env.Shredding;
        (param == 1 ? s.Formula1 : param == 2 ? s.Formula2 : s.Formula3) = std::move(formula);
        (param == 1 ? s.Formula1Digits : param == 2 ? s.Formula2Digits : s.Formula3Digits) = uint8_t(digits);
        return *this;
    }
    std::unique_ptr<TCustomStat> Create(int param = 1) const { return ShreddingKind().Create(env, param); }
};


// Values that are whole 32-bit words.
TStatDrawArray MarkedWords(std::vector<int32_t> values)
{
    TStatDrawArray a;
    for (int32_t v : values) AddStatDraw(a, LongValue(v), false);
    return a;
}

int32_t CombValue(TCustomStat& stat, const TComb& comb)
{
    TStatDrawArray values;
    stat.CalcComb(comb, values);
    return values.Count() == 1 ? values[0].LongKey() : -1;
}

} // namespace

// The rest of the descriptor is in the golden list of every kind.
TEST(ShreddingKind, FormulaInTheCaption)
{
    EXPECT_EQ(ShreddingKind().FormatCaption(1), "Метод шинковки 1: %s");
    ShreddingEnv e;
    EXPECT_EQ(e.Create(3)->GetName(), "Метод шинковки 3: %s");
}

TEST(ShreddingKind, RegistryShowsTheFormulaInTheName)
{
    TStatList list;
    list.Shredding().Formula3 = "n8/n1";
    list.BuildMethodList({&ShreddingKind()});
    ASSERT_EQ(list.MethodCount(), 3);
    EXPECT_EQ(list.Method(0).MethodCode(), "SHR1");
    EXPECT_EQ(list.Method(2).MethodCode(), "SHR3");
    EXPECT_EQ(list.GetDisplayName(0, true), "{ shr } Метод шинковки 1: (n1+n2+n3+n4)/(n5+n6+n7+n8) [ SNG ]");
    EXPECT_EQ(list.GetDisplayName(2, false), "{ shr } Метод шинковки 3: n8/n1");
}

TEST(ShreddingKind, EachParameterTakesItsFormulaAndDigits)
{
    ShreddingEnv e;
    e.Formula(1, "n1/n2", 2).Formula(2, "n1/n3", 3).Formula(3, "n2/n3", 4);
    const TComb c{1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        int param;
        int32_t expected;
    };
    for (const Case& k : std::vector<Case>{{1, 50}, {2, 333}, {3, 6666}, {0, 0}, {4, 0}}) {
        SCOPED_TRACE(k.param);
        auto stat = e.Create(k.param);
        EXPECT_EQ(CombValue(*stat, c), k.expected);
    }

    // An instance keeps the formula of its creation; the next one sees the edit.
    auto before = e.Create(2);
    e.Formula(2, "n1/n4", 3);
    auto after = e.Create(2);
    EXPECT_EQ(CombValue(*before, c), 333);
    EXPECT_EQ(CombValue(*after, c), 250);
}

TEST(ShreddingKind, CombinationsSeeNoDrawsBefore)
{
    ShreddingEnv e(ThreeDraws());
    e.Formula(2, "n1/p1", 2);
    auto defaults = e.Create(1);
    auto byP = e.Create(2);
    TStatDrawArray values;
    defaults->CalcComb({1, 2, 3, 4, 5, 6, 7, 8}, values);
    defaults->CalcComb({13, 14, 15, 16, 17, 18, 19, 20}, values);
    defaults->CalcComb({1, 2, 3, 4, 5, 6, 7, 8}, values);
    ASSERT_EQ(values.Count(), 2);
    EXPECT_EQ(values[0].LongKey(), 38);  // 10/26
    EXPECT_EQ(values[0].Count, 2);
    EXPECT_EQ(values[0].LastDrawNo, 0);
    EXPECT_EQ(values[0].Depth, 0);
    EXPECT_EQ(values[1].LongKey(), 78);  // 58/74
    EXPECT_EQ(values[1].Count, 1);
    EXPECT_EQ(CombValue(*byP, {3, 4, 5, 6, 7, 8, 9, 10}), 0) << "p1 is 0 in the full set";
}

TEST(ShreddingKind, DrawsTakeTheTwoDrawsBeforeThem)
{
    ShreddingEnv e(ThreeDraws());
    e.Formula(1, FirstNumbers, 6);
    auto stat = e.Create(1);

    struct Case {
        bool sorted;
        std::vector<int32_t> values;  // draws 0, 1, 2
    };
    const std::vector<Case> cases = {
        // n1 = 20, 3, 15; p1 = -, 20, 3; t1 = -, -, 20
        {false, {200000, 32000, 150320}},
        // sorted: n1 = 1, 3, 2; p1 = -, 1, 3; t1 = -, -, 1
        {true, {10000, 30100, 20301}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sorted ? "sorted" : "as drawn");
        const TStatDrawArray values = Window(*stat, 0, 2, c.sorted);
        ASSERT_EQ(values.Count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(values[i].LongKey(), c.values[std::size_t(i)]);
            EXPECT_EQ(values[i].Count, 1);
            EXPECT_EQ(values[i].Depth, 3 - i);
            EXPECT_EQ(values[i].LastDrawNo, 101 + i);
            EXPECT_EQ(stat->GetDrawGraphValue(i, 2, c.sorted), c.values[std::size_t(i)]);
        }
    }
    EXPECT_EQ(stat->FindValueDraw(LongValue(32000), 0, 2, false), 102);
    EXPECT_EQ(stat->FindValueDraw(LongValue(32000), 2, 2, false), -1);

    // A given ticket charted at draw 2 takes draws 1 and 0 as p and t; at draw 0 there are none.
    EXPECT_EQ(stat->GetGraphValue({1, 2, 3, 4, 5, 6, 7, 8}, 2, 2, false), 10320);
    EXPECT_EQ(stat->GetGraphValue({1, 2, 3, 4, 5, 6, 7, 8}, 0, 2, false), 10000);
}

TEST(ShreddingKind, DivisionByTheMissingDrawGivesZero)
{
    ShreddingEnv e(ThreeDraws());
    e.Formula(1, "n1/p1", 2);
    auto stat = e.Create(1);
    // Draw 0 has no p1 (0), draw 1 is 3/20, draw 2 is 15/3 = 5.
    const TStatDrawArray values = Window(*stat, 0, 2, false);
    ASSERT_EQ(values.Count(), 2);
    EXPECT_EQ(values[0].LongKey(), 0);
    EXPECT_EQ(values[0].Count, 2);
    EXPECT_EQ(values[0].Depth, 1);
    EXPECT_EQ(values[0].LastDrawNo, 103);
    EXPECT_EQ(values[0].PeriodMin, 2);
    EXPECT_EQ(values[0].PeriodMax, 2);
    EXPECT_EQ(values[1].LongKey(), 15);
    EXPECT_EQ(values[1].Depth, 2);
}

TEST(ShreddingKind, CandidatesFollowTheLastDrawInUse)
{
    ShreddingEnv e(ThreeDraws());
    e.Formula(1, FirstNumbers, 6);
    auto stat = e.Create(1);
    const ShreddingEnv plain(ThreeDraws());
    auto defaults = plain.Create(1);
    const TComb c{1, 2, 3, 4, 5, 6, 7, 8};
    struct Case {
        int lastIndex;
        bool sorted;
        int32_t value;  // the candidate's value: p = draw lastIndex, t = the draw before it
        int32_t other;  // a value the candidate does not have
    };
    const std::vector<Case> cases = {
        {2, false, 11503, 10320},  // p1 = 15, t1 = 3
        {2, true, 10203, 11503},   // p1 = 2, t1 = 3
        {1, false, 10320, 10300},  // p1 = 3, t1 = 20
        {0, false, 12000, 10000},  // p1 = 20, no t
        {-1, false, 10000, 0},     // an empty archive window: no p, no t
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "last " << k.lastIndex << (k.sorted ? " sorted" : ""));
        stat->LoadDraws(-1, k.lastIndex, k.sorted);
        EXPECT_TRUE(stat->CombMatches(c, MarkedWords({k.value}), k.lastIndex, k.sorted, false));
        EXPECT_TRUE(stat->CombMatches(c, MarkedWords({k.other, k.value}), k.lastIndex, k.sorted, true));
        EXPECT_FALSE(stat->CombMatches(c, MarkedWords({k.other}), k.lastIndex, k.sorted, false));
        EXPECT_FALSE(stat->CombMatches(c, TStatDrawArray{}, k.lastIndex, k.sorted, false));
        // The default formula uses no earlier draw: 38 whatever the last draw is.
        EXPECT_TRUE(defaults->CombMatches(c, MarkedWords({38}), k.lastIndex, k.sorted, false));
    }

    // The batch pass answers as the single test does.
    const std::vector<TComb> combs = {c, {2, 3, 4, 5, 6, 7, 8, 9}, {3, 5, 7, 9, 11, 13, 15, 17}};
    const TStatDrawArray marked = MarkedWords({11503, 21503});
    std::vector<uint8_t> result;
    stat->MatchCombs(combs, marked, {.LastIndex = 2, .Sorted = false, .Exclude = false}, result);
    EXPECT_EQ(result, (std::vector<uint8_t>{1, 1, 0}));
}

TEST(ShreddingKind, FiveDigitValuesStayApart)
{
    ShreddingEnv e;
    // 0.12345 for n1 = 1 and 0.77881 (= 0.12345 + 0.65536) for n1 = 2: their five digits differ
    // by exactly 65536, so a 16-bit key alone would confuse them.
    e.Formula(1, "0.12345+n1*0.65536-0.65536", 5).Formula(2, "0.4", 5);
    auto stat = e.Create(1);
    const TComb a{1, 2, 3, 4, 5, 6, 7, 8};
    const TComb b{2, 3, 4, 5, 6, 7, 8, 9};
    TStatDrawArray values;
    stat->CalcComb(a, values);
    stat->CalcComb(b, values);
    ASSERT_EQ(values.Count(), 2);
    EXPECT_EQ(values[0].LongKey(), 12345);
    EXPECT_EQ(values[1].LongKey(), 77881);
    EXPECT_EQ(values[0].Key[0], values[1].Key[0]);
    EXPECT_EQ(stat->ValueToText(values[0]), "12345");
    EXPECT_EQ(stat->ValueToText(values[1]), "77881");
    EXPECT_EQ(stat->ParseValue("77881"), 77881);
    EXPECT_EQ(stat->ParseValue("x"), 0);

    EXPECT_TRUE(stat->CombMatches(a, MarkedWords({12345}), 0, false, false));
    EXPECT_FALSE(stat->CombMatches(b, MarkedWords({12345}), 0, false, false));
    EXPECT_TRUE(stat->CombMatches(b, MarkedWords({77881}), 0, false, false));
    EXPECT_FALSE(stat->CombMatches(a, MarkedWords({77881}), 0, false, false));

    // Above 32767 the low half alone is a negative 16-bit key; the text stays the value.
    auto half = e.Create(2);
    TStatDrawArray v2;
    half->CalcComb(a, v2);
    ASSERT_EQ(v2.Count(), 1);
    EXPECT_EQ(v2[0].Key[0], -25536);
    EXPECT_EQ(v2[0].Key[1], 0);
    EXPECT_EQ(half->ValueToText(v2[0]), "40000");
}

TEST(ShreddingKind, FullSetOrderIsTheWholeValue)
{
    ShreddingEnv e;
    e.Formula(1, "n1*0.32768", 5); // 32768, 65536 and 98304 for n1 = 1, 2, 3
    auto stat = e.Create(1);
    TStatDrawArray values;
    for (const TComb& c : {TComb{3, 4, 5, 6, 7, 8, 9, 10}, TComb{1, 2, 3, 4, 5, 6, 7, 8}, TComb{2, 3, 4, 5, 6, 7, 8, 9}})
        stat->CalcComb(c, values);
    SortStatDraw(values, stat->KeyOrder());
    std::vector<int32_t> order;
    for (const TStatDrawItem& it : values) order.push_back(it.LongKey());
    EXPECT_EQ(order, (std::vector<int32_t>{32768, 65536, 98304}));
    const auto parsed = ParsePrefetch(PrefetchBytes(values), stat->KeyOrder());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->Records.size(), 3u);
    EXPECT_FALSE(ParsePrefetch(PrefetchBytes(values))) << "not in the order of the 16-bit keys";
}

TEST(ShreddingKind, ListsNoValuesInAdvance)
{
    ShreddingEnv e(ThreeDraws());
    auto stat = e.Create(1);
    stat->Cur.Key[0] = 7;
    TStatDrawArray values;
    stat->ListValues(2, values);
    EXPECT_TRUE(values.Empty());
    EXPECT_EQ(stat->Cur, TStatDrawItem{});
}

// One value per combination; a formula that reads the draw before has none to read.
TEST(ShreddingKind, FullSetGivesOneValuePerCombination)
{
    struct Case {
        const char* formula;
        int digits;
    };
    for (const Case& c : std::vector<Case>{{"(n1+n2+n3+n4)/(n5+n6+n7+n8)", 5}, {"n1/p1", 2}}) {
        SCOPED_TRACE(c.formula);
        ShreddingEnv e;
        e.Formula(1, c.formula, c.digits);
        TStatDrawArray values;
        e.Create(1)->CalcCombs(AllCombs(), values);
        int64_t total = 0;
        for (const TStatDrawItem& it : values) total += it.Count;
        EXPECT_EQ(total, 125970);
        if (std::string(c.formula) == "n1/p1") {
            ASSERT_EQ(values.Count(), 1);
            EXPECT_EQ(values[0].LongKey(), 0);
        }
    }
}

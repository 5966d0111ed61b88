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

constexpr auto TupleKinds = FamilyOf<kinds::AddTupleKinds>;

std::vector<std::string> TextsOf(const TCustomStat& stat, const TStatDrawArray& values)
{
    std::vector<std::string> r;
    for (const TStatDrawItem& it : values) r.push_back(stat.ValueToText(it));
    return r;
}

TEST(TupleKinds, FamilyAndNames)
{
    // The rest of each descriptor is in the golden list of every kind.
    EXPECT_EQ(Codes(TupleKinds()), (std::vector<std::string>{"KNM2", "KNM3", "KNM4", "KNS2", "KNS3", "KNS4", "KNP2%d",
                                                             "KNP3%d", "KNP4%d", "KNO2", "KNO3", "KNO4"}));
    EXPECT_EQ(KindOf("KNP2%d").FormatCode(5), "KNP25");
    EXPECT_EQ(KindOf("KNP4%d").FormatCode(1), "KNP41");
    EXPECT_EQ(KindOf("KNM3").FormatCode(3), "KNM3");
    EXPECT_EQ(KindOf("KNP3%d").FormatCaption(6), "Сочетания из 3-х чисел тиража начиная с 6 позиции");
    Env e;
    EXPECT_EQ(e.Create("KNS4")->GetName(), "Сочетания из 4 соседних чисел тиража");
}

// One draw stored as 3, 8, 17, 20, 1, 5, 11, 14: ascending 1, 3, 5, 8, 11, 14, 17, 20.
TEST(TupleKinds, TuplesOfOneDraw)
{
    Env e({MakeDraw(700, {3, 8, 17, 20, 1, 5, 11, 14})});
    struct Case {
        const char* code;
        int param;
        bool sorted;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        {"KNS2", 0, false, {"3:8", "8:17", "17:20", "20:1", "1:5", "5:11", "11:14"}},
        {"KNS2", 0, true, {"1:3", "3:5", "5:8", "8:11", "11:14", "14:17", "17:20"}},
        {"KNS3", 0, false, {"3:8:17", "8:17:20", "17:20:1", "20:1:5", "1:5:11", "5:11:14"}},
        {"KNS4", 0, false, {"3:8:17:20", "8:17:20:1", "17:20:1:5", "20:1:5:11", "1:5:11:14"}},
        {"KNS4", 0, true, {"1:3:5:8", "3:5:8:11", "5:8:11:14", "8:11:14:17", "11:14:17:20"}},
        {"KNP2%d", 1, false, {"3:8"}},
        {"KNP2%d", 7, false, {"11:14"}},
        {"KNP2%d", 5, true, {"11:14"}},
        {"KNP3%d", 6, false, {"5:11:14"}},
        {"KNP3%d", 1, true, {"1:3:5"}},
        {"KNP4%d", 5, false, {"1:5:11:14"}},
        {"KNP4%d", 1, false, {"3:8:17:20"}},
        {"KNP4%d", 2, true, {"3:5:8:11"}},
        // Outside the registered range a position run does not fit: no value.
        {"KNP2%d", 8, false, {}},
        {"KNP4%d", 0, false, {}},
        {"KNO3", 0, false, {}},
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        const TStatDrawArray values = Window(*s, 0, 0, c.sorted);
        EXPECT_EQ(TextsOf(*s, values), c.texts) << c.code << c.param << " sorted " << c.sorted;
        for (const TStatDrawItem& it : values) {
            EXPECT_EQ(it.Count, 1) << c.code;
            EXPECT_EQ(it.Depth, 1) << c.code;
            EXPECT_EQ(it.LastDrawNo, 700) << c.code;
        }
    }

    // Every choice of positions: 28, 56 and 70 values, each once, first positions first.
    struct Mix {
        const char* code;
        int count;
        std::vector<std::string> first;
        std::string last;
    };
    const std::vector<Mix> mixes = {
        {"KNM2", 28, {"3:8", "3:17", "3:20", "3:1", "3:5", "3:11", "3:14", "8:17"}, "11:14"},
        {"KNM3", 56, {"3:8:17", "3:8:20", "3:8:1", "3:8:5", "3:8:11", "3:8:14", "3:17:20"}, "5:11:14"},
        {"KNM4", 70, {"3:8:17:20", "3:8:17:1", "3:8:17:5", "3:8:17:11", "3:8:17:14", "3:8:20:1"}, "1:5:11:14"},
    };
    for (const Mix& m : mixes) {
        auto s = e.Create(m.code);
        const TStatDrawArray values = Window(*s, 0, 0, false);
        ASSERT_EQ(values.Count(), m.count) << m.code;
        const std::vector<std::string> texts = TextsOf(*s, values);
        EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + std::ptrdiff_t(m.first.size())), m.first)
            << m.code;
        EXPECT_EQ(texts.back(), m.last) << m.code;
        for (const TStatDrawItem& it : values) EXPECT_EQ(it.Count, 1) << m.code;
    }
    auto sortedPairs = e.Create("KNM2");
    const TStatDrawArray sp = Window(*sortedPairs, 0, 0, true);
    EXPECT_EQ(sortedPairs->ValueToText(sp[0]), "1:3");
    EXPECT_EQ(sortedPairs->ValueToText(sp[27]), "17:20");
}

TEST(TupleKinds, WindowCountsAndPeriods)
{
    // 3:8 is a neighbour pair of both draws in drawn order, 8:3 of the third.
    Env e({MakeDraw(10, {3, 8, 17, 20, 1, 5, 11, 14}), MakeDraw(11, {2, 3, 8, 9, 10, 12, 13, 15}),
           MakeDraw(13, {8, 3, 4, 6, 7, 16, 18, 19})});
    auto s = e.Create("KNS2");
    const TStatDrawArray drawn = Window(*s, 0, 2, false);
    EXPECT_EQ(CountersOf(At(drawn, Value(3, 8))), (Counters{2, 11, 2, 1, 1}));
    EXPECT_EQ(CountersOf(At(drawn, Value(8, 3))), (Counters{1, 13, 1, 0, 0}));
    EXPECT_EQ(drawn.Count(), 20);   // 21 pairs, 3:8 twice

    // Sorted, the third draw begins 3, 4: 3:8 is no neighbour pair there.
    const TStatDrawArray sorted = Window(*s, 0, 2, true);
    EXPECT_EQ(sorted.Find(Value(8, 3)), -1);
    const TStatDrawItem& sortedPair = At(sorted, Value(3, 8));
    EXPECT_EQ(sortedPair.Count, 1);
    EXPECT_EQ(sortedPair.LastDrawNo, 11);

    // Every pair of the second and third draws sorted: 3:8 in both, the gap in draw numbers 2.
    auto mix = e.Create("KNM2");
    const TStatDrawArray pairs = Window(*mix, 1, 2, true);
    EXPECT_EQ(CountersOf(At(pairs, Value(3, 8))), (Counters{2, 13, 1, 2, 2}));
    EXPECT_EQ(pairs.Count(), 28 + 28 - 1);
}

TEST(TupleKinds, TextsAndNoNumericValue)
{
    Env e;
    const std::vector<TextCase> cases = {
        {"KNM2", 0, Value(3, 17), "3:17", 0},
        {"KNM3", 0, Value(3, 17, 20), "3:17:20", 0},
        {"KNM4", 0, Value(3, 8, 17, 20), "3:8:17:20", 0},
        {"KNS2", 0, Value(20, 1), "20:1", 0},
        {"KNS3", 0, Value(0, 0, 0), "0:0:0", 0},
        {"KNP2%d", 3, Value(5, 6), "5:6", 0},
        {"KNP3%d", 1, Value(1, 5, 11), "1:5:11", 0},
        {"KNP4%d", 5, Value(10, 12, 14, 16), "10:12:14:16", 0},
        {"KNO2", 0, Value(4, 9), "4:9", 0},
    };
    ExpectTexts(cases);
    // No value of these kinds is a plain number.
    for (const TextCase& c : cases) EXPECT_EQ(e.Create(c.code, c.param)->ParseValue("5"), 0) << c.code;
}

TEST(TupleKinds, NoListedAndNoFullSetValues)
{
    Env e({MakeDraw(1, {1, 2, 3, 4, 5, 6, 7, 8})});
    for (const TStatKind* k : TupleKinds()) {
        const std::pair<int, int> range = k->GetParamRange(TConfigData{});
        auto s = k->Create(e.env, range.first);
        ASSERT_NE(s, nullptr) << k->GetCode();
        TStatDrawArray values;
        s->ListValues(0, values);
        s->CalcComb({1, 2, 3, 4, 5, 6, 7, 8}, values);
        const std::vector<TComb> combs = {{1, 2, 3, 4, 5, 6, 7, 8}, {2, 3, 4, 5, 6, 7, 8, 9}};
        s->CalcCombs(combs, values);
        EXPECT_TRUE(values.Empty()) << k->GetCode();
    }
}

TEST(TupleKinds, CombMatchesRules)
{
    const TComb low = {1, 2, 3, 4, 5, 6, 7, 8};
    const TComb spread = {1, 3, 5, 8, 11, 14, 17, 20};
    const std::vector<MatchCase> cases = {
        {"KNP2%d", 5, {Value(5, 6)}, low, true},
        {"KNP2%d", 4, {Value(5, 6)}, low, false},
        {"KNP2%d", 5, {Value(6, 7)}, low, false},
        {"KNP2%d", 5, {Value(5, 6, 0, 1)}, low, false},   // a tuple is all four keys
        {"KNP3%d", 6, {Value(6, 7, 8)}, low, true},
        {"KNP4%d", 5, {Value(11, 14, 17, 20)}, spread, true},
        {"KNP4%d", 4, {Value(11, 14, 17, 20)}, spread, false},
        {"KNM3", 0, {Value(3, 8, 17)}, {2, 3, 4, 8, 9, 10, 17, 19}, true},
        {"KNM3", 0, {Value(3, 8, 17)}, {2, 3, 4, 8, 9, 10, 16, 19}, false},
        {"KNM3", 0, {Value(17, 8, 3)}, {2, 3, 4, 8, 9, 10, 17, 19}, false},
        {"KNM2", 0, {Value(1, 20)}, spread, true},
        {"KNM4", 0, {Value(1, 8, 14, 20)}, spread, true},
        {"KNM4", 0, {Value(1, 8, 14)}, spread, false},
        {"KNS2", 0, {Value(3, 8)}, {1, 2, 3, 8, 9, 10, 11, 12}, true},
        {"KNS2", 0, {Value(3, 8)}, {1, 2, 3, 4, 8, 10, 11, 12}, false},
        {"KNS2", 0, {Value(8, 3)}, {1, 2, 3, 8, 9, 10, 11, 12}, false},
        {"KNS3", 0, {Value(14, 17, 20)}, spread, true},
        {"KNS4", 0, {Value(1, 3, 5, 8)}, spread, true},
        {"KNS4", 0, {Value(3, 5, 8)}, spread, false},
        {"KNM2", 0, {}, low, false},
        {"KNO2", 0, {Value(1, 2)}, low, false},
    };
    Env e({MakeDraw(1, low)});
    ExpectMatches(e, cases);
}

// Counted over the full set: how many tickets a marked tuple keeps.
TEST(TupleKinds, MarkedTuplesOverTheFullSet)
{
    const std::vector<TComb> all = AllCombs();
    Env e;
    struct Case {
        const char* code;
        int param;
        std::vector<TStatDrawItem> marked;
        int count;
    };
    const std::vector<Case> cases = {
        {"KNM3", 0, {Value(3, 8, 17)}, 6188},                       // C(17, 5)
        {"KNM3", 0, {Value(17, 8, 3)}, 0},                          // tickets are ascending
        {"KNM2", 0, {Value(1, 2), Value(19, 20)}, 35308},           // 2 C(18, 6) - C(16, 4)
        {"KNM4", 0, {Value(1, 2, 3, 4)}, 1820},                     // C(16, 4)
        {"KNS2", 0, {Value(3, 8)}, 3003},                           // C(14, 6): none of 4..7
        {"KNS2", 0, {Value(8, 3)}, 0},
        {"KNP2%d", 5, {Value(5, 6)}, 91},                           // 1..4 before, C(14, 2) after
        {"KNP4%d", 1, {Value(1, 2, 3, 4)}, 1820},
        {"KNP2%d", 7, {Value(19, 20)}, 18564},                      // C(18, 6) before 19, 20
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        const TStatDrawArray marked = Marked(c.marked);
        std::vector<uint8_t> result;
        s->MatchCombs(all, marked, {.LastIndex = 0, .Sorted = true, .Exclude = false}, result);
        int kept = 0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            kept += result[i];
            if (c.code == std::string("KNM3") && c.count > 0 && result[i]) {
                ASSERT_TRUE(kv::game::InComb(3, all[i]) && kv::game::InComb(8, all[i]) && kv::game::InComb(17, all[i]));
            }
        }
        EXPECT_EQ(kept, c.count) << c.code << c.param;
    }
}

} // namespace

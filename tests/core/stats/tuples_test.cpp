#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/sample.h"
#include "core/filters/generate.h"
#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"

using namespace kv::stats;
using kv::game::TComb;
using kv::game::TDraw;
using kv::game::TDrawsArray;

namespace {

using kv::test::KindOf;
using kv::test::Window;

const std::vector<const TStatKind*>& TupleKinds()
{
    static const std::vector<const TStatKind*> kinds = [] {
        std::vector<const TStatKind*> k;
        kinds::AddTupleKinds(k);
        return k;
    }();
    return kinds;
}


TDraw MakeDraw(int drawNo, TComb nums)
{
    TDraw d;
    d.DrawNo = drawNo;
    d.Nums = nums;
    d.Extra = 2;
    return d;
}

struct Env {
    TDrawsArray draws;
    TStatEnv env;
    explicit Env(TDrawsArray d = {}) : draws(std::move(d)) { env.Draws = &draws; }
    std::unique_ptr<TCustomStat> Create(const std::string& code, int param = 0) const
    {
        return KindOf(code).Create(env, param);
    }
};


std::vector<std::string> Texts(const TCustomStat& stat, const TStatDrawArray& values)
{
    std::vector<std::string> r;
    for (const TStatDrawItem& it : values) r.push_back(stat.ValueToText(it));
    return r;
}

TStatDrawItem Value(int k0, int k1 = 0, int k2 = 0, int k3 = 0)
{
    TStatDrawItem v;
    v.Key = {int16_t(k0), int16_t(k1), int16_t(k2), int16_t(k3)};
    return v;
}

TStatDrawArray Marked(const std::vector<TStatDrawItem>& items)
{
    TStatDrawArray a;
    for (const TStatDrawItem& it : items) AddStatDraw(a, it, false);
    return a;
}

TEST(TupleKinds, Descriptors)
{
    struct Case {
        int position;
        const char* code;
        const char* className;
        const char* caption;
        const char* helpCode;
        const char* flags;
        bool available;
        std::pair<int, int> range;
    };
    const std::vector<Case> cases = {
        {63, "KNM2", "TstCombValMix2", "Сочетания из 2 чисел по всем числам тиража", "KNM2", "S", true, {0, 0}},
        {64, "KNM3", "TstCombValMix3", "Сочетания из 3 чисел по всем числам тиража", "KNM3", "S", true, {0, 0}},
        {65, "KNM4", "TstCombValMix4", "Сочетания из 4 чисел по всем числам тиража", "KNM4", "S", true, {0, 0}},
        {66, "KNS2", "TstCombValSeq2", "Сочетания из 2 соседних чисел тиража", "KNS2", "S", true, {0, 0}},
        {67, "KNS3", "TstCombValSeq3", "Сочетания из 3 соседних чисел тиража", "KNS3", "S", true, {0, 0}},
        {68, "KNS4", "TstCombValSeq4", "Сочетания из 4 соседних чисел тиража", "KNS4", "S", true, {0, 0}},
        {69, "KNP2%d", "TstCombValPos2", "Сочетания из 2-х чисел тиража начиная с %0:d позиции", "KNP2", "S", true,
         {1, 7}},
        {70, "KNP3%d", "TstCombValPos3", "Сочетания из 3-х чисел тиража начиная с %0:d позиции", "KNP3", "S", true,
         {1, 6}},
        {71, "KNP4%d", "TstCombValPos4", "Сочетания из 4-х чисел тиража начиная с %0:d позиции", "KNP4", "S", true,
         {1, 5}},
        {72, "KNO2", "TstCombValSort2", "Сочетания из 2 чисел тиража по возрастанию", "KNO2", "", false, {0, 0}},
        {73, "KNO3", "TstCombValSort3", "Сочетания из 3 чисел тиража по возрастанию", "KNO3", "", false, {0, 0}},
        {74, "KNO4", "TstCombValSort4", "Сочетания из 4 чисел тиража по возрастанию", "KNO4", "", false, {0, 0}},
    };
    const auto& all = TupleKinds();
    ASSERT_EQ(all.size(), cases.size());
    const TConfigData config;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const TStatKind& k = *all[i];
        SCOPED_TRACE(c.code);
        EXPECT_EQ(k.Position(), c.position);
        EXPECT_EQ(k.GetCode(), c.code);
        EXPECT_STREQ(k.ClassName(), c.className);
        EXPECT_EQ(k.GetCaption(), c.caption);
        EXPECT_EQ(k.GetHelpCode(), c.helpCode);
        EXPECT_EQ(k.GetGroup(), 0);
        EXPECT_EQ(FlagLetters(k.GetMethodFlags()), c.flags);
        EXPECT_FALSE(k.IsGraph());
        EXPECT_FALSE(k.HasPrefetch());
        EXPECT_FALSE(k.HasNumericValue());
        EXPECT_EQ(k.IsAvailable(), c.available);
        EXPECT_EQ(k.HasParam(), c.range.first != 0);
        EXPECT_EQ(k.GetParamRange(config), c.range);
    }
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
        EXPECT_EQ(Texts(*s, values), c.texts) << c.code << c.param << " sorted " << c.sorted;
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
        const std::vector<std::string> texts = Texts(*s, values);
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
    const TStatDrawItem& pair = drawn[drawn.Find(Value(3, 8))];
    EXPECT_EQ(pair.Count, 2);
    EXPECT_EQ(pair.LastDrawNo, 11);
    EXPECT_EQ(pair.Depth, 2);
    EXPECT_EQ(pair.PeriodMin, 1);
    EXPECT_EQ(pair.PeriodMax, 1);
    const TStatDrawItem& reversed = drawn[drawn.Find(Value(8, 3))];
    EXPECT_EQ(reversed.Count, 1);
    EXPECT_EQ(reversed.Depth, 1);
    EXPECT_EQ(drawn.Count(), 20);   // 21 pairs, 3:8 twice

    // Sorted, the third draw begins 3, 4: 3:8 is no neighbour pair there.
    const TStatDrawArray sorted = Window(*s, 0, 2, true);
    EXPECT_EQ(sorted.Find(Value(8, 3)), -1);
    const TStatDrawItem& sortedPair = sorted[sorted.Find(Value(3, 8))];
    EXPECT_EQ(sortedPair.Count, 1);
    EXPECT_EQ(sortedPair.LastDrawNo, 11);

    // Every pair of the second and third draws sorted: 3:8 in both, the gap in draw numbers 2.
    auto mix = e.Create("KNM2");
    const TStatDrawArray pairs = Window(*mix, 1, 2, true);
    const TStatDrawItem& both = pairs[pairs.Find(Value(3, 8))];
    EXPECT_EQ(both.Count, 2);
    EXPECT_EQ(both.PeriodMin, 2);
    EXPECT_EQ(both.PeriodMax, 2);
    EXPECT_EQ(both.Depth, 1);
    EXPECT_EQ(pairs.Count(), 28 + 28 - 1);
}

TEST(TupleKinds, TextsAndNoNumericValue)
{
    Env e;
    struct Case {
        const char* code;
        int param;
        TStatDrawItem value;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"KNM2", 0, Value(3, 17), "3:17"},
        {"KNM3", 0, Value(3, 17, 20), "3:17:20"},
        {"KNM4", 0, Value(3, 8, 17, 20), "3:8:17:20"},
        {"KNS2", 0, Value(20, 1), "20:1"},
        {"KNS3", 0, Value(0, 0, 0), "0:0:0"},
        {"KNP2%d", 3, Value(5, 6), "5:6"},
        {"KNP3%d", 1, Value(1, 5, 11), "1:5:11"},
        {"KNP4%d", 5, Value(10, 12, 14, 16), "10:12:14:16"},
        {"KNO2", 0, Value(4, 9), "4:9"},
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        EXPECT_EQ(s->ValueToText(c.value), c.text) << c.code;
        EXPECT_EQ(s->ParseValue(c.text), 0) << c.code;
        EXPECT_EQ(s->ParseValue("5"), 0) << c.code;   // no value of these kinds is a plain number
    }
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
    struct Case {
        const char* code;
        int param;
        std::vector<TStatDrawItem> marked;
        TComb comb;
        bool expected;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        auto s = e.Create(c.code, c.param);
        s->LoadDraws(-1, 0, true);
        const TStatDrawArray marked = Marked(c.marked);
        EXPECT_EQ(s->CombMatches(c.comb, marked, 0, true, false), c.expected) << c.code << c.param;
        EXPECT_EQ(s->CombMatches(c.comb, marked, 0, false, true), c.expected) << c.code << c.param;
    }
}

// Counted over the full set: how many tickets a marked tuple keeps.
TEST(TupleKinds, MarkedTuplesOverTheFullSet)
{
    kv::game::TCombsArray all;
    kv::game::EnumerateAllCombs(all);
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
        s->MatchCombs(all, marked, 0, true, false, result);
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

TEST(TupleKinds, MatchCombsEqualsCombMatches)
{
    kv::game::TCombsArray all;
    kv::game::EnumerateAllCombs(all);
    std::vector<TComb> combs;
    for (std::size_t i = 0; i < all.size(); i += 31) combs.push_back(all[i]);
    combs.push_back({20, 19, 18, 17, 16, 15, 14, 13});
    combs.push_back({0, 21, 100, 255, 1, 2, 3, 4});
    combs.push_back({1, 21, 2, 22, 3, 23, 4, 24});
    combs.push_back({0, 0, 0, 0, 0, 0, 0, 0});

    const std::vector<std::vector<TStatDrawItem>> markedSets = {
        {},
        {Value(1, 2), Value(3, 8, 17), Value(1, 2, 3, 4)},
        {Value(5, 6), Value(6, 7, 8), Value(5, 6, 7, 8)},
        {Value(19, 20), Value(18, 19, 20), Value(17, 18, 19, 20), Value(4, 9, 0, 1)},
        {Value(0, 21), Value(21, 2, 22), Value(255, 1, 2, 3), Value(100, 255, 0, 0)},
        {Value(0, 0), Value(0, 0, 0), Value(0, 0, 0, 0), Value(-1, 2)},
        {Value(20, 1), Value(13, 20), Value(1, 20), Value(8, 12, 15, 20)},
    };
    Env e(kv::archive::SyntheticDraws(10, 3));
    for (const TStatKind* k : TupleKinds()) {
        const std::pair<int, int> range = k->GetParamRange(TConfigData{});
        for (int p = range.first; p <= range.second; ++p) {
            SCOPED_TRACE(k->FormatCode(p));
            auto batch = k->Create(e.env, p);
            auto single = k->Create(e.env, p);
            for (const auto& set : markedSets) {
                const TStatDrawArray marked = Marked(set);
                batch->LoadDraws(-1, 9, true);
                single->LoadDraws(-1, 9, true);
                std::vector<uint8_t> result;
                batch->MatchCombs(combs, marked, 9, true, false, result);
                ASSERT_EQ(result.size(), combs.size());
                int hits = 0;
                for (std::size_t i = 0; i < combs.size(); ++i) {
                    ASSERT_EQ(result[i] != 0, single->CombMatches(combs[i], marked, 9, true, false))
                        << "combination " << i << " set " << (&set - markedSets.data());
                    hits += result[i];
                }
                // A second pass with fewer marked values must not keep the first pass's table.
                batch->MatchCombs(combs, Marked({}), 9, true, false, result);
                for (uint8_t r : result) ASSERT_EQ(r, 0);
            }
        }
    }
}

} // namespace

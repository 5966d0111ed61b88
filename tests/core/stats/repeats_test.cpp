#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

constexpr auto RepeatKinds = FamilyOf<kinds::AddRepeatKinds>;

// Six draws in drawn order; the last one holds 19, 20, 1, 2 so that every shift wraps around.
TDrawsArray SixDraws()
{
    return Draws(101, {{20, 19, 2, 1, 5, 6, 7, 8}, {1, 20, 3, 18, 9, 10, 11, 12}, {2, 1, 20, 13, 14, 15, 16, 17},
                       {3, 20, 1, 4, 18, 19, 2, 11}, {1, 2, 3, 20, 12, 5, 6, 7}, {19, 20, 1, 2, 5, 9, 13, 17}});
}

// Key, Count, LastDrawNo, Depth.
using Row = std::tuple<int, int, int, int>;
std::vector<Row> Rows(const TStatDrawArray& values)
{
    std::vector<Row> r;
    for (const TStatDrawItem& it : values) r.emplace_back(it.Key[0], it.Count, it.LastDrawNo, it.Depth);
    return r;
}

std::vector<int> FirstKeys(const TStatDrawArray& values)
{
    std::vector<int> r;
    for (const TStatDrawItem& it : values) r.push_back(it.Key[0]);
    return r;
}

// The rest of each descriptor is in the golden list of every kind.
TEST(RepeatKinds, Family)
{
    EXPECT_EQ(Codes(RepeatKinds()),
              (std::vector<std::string>{"RPV2", "RPV3", "PRL2", "PRV2O1", "PRV2O2", "PRV2O3", "PRV+1",
                                        "PRV-1", "PRV+2", "PRV-2", "RPC2", "RPC3", "PRB2", "RPO1",
                                        "PRC2O2", "PRC2O3", "PRC+1", "PRC-1", "PRC+2", "PRC-2"}));
}

TEST(RepeatKinds, ListedValues)
{
    Env e({MakeDraw(1, {20, 1, 19, 2, 5, 9, 13, 17}), MakeDraw(2, {1, 5, 7, 9, 12, 15, 18, 20})});
    const std::vector<int> counts = {1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<int> last = {1, 5, 7, 9, 12, 15, 18, 20};
    struct Case {
        const char* code;
        int lastIndex;
        std::vector<int> keys;
    };
    const std::vector<Case> cases = {
        {"PRV+1", 1, {2, 6, 8, 10, 13, 16, 19, 1}},
        {"PRV-1", 1, {20, 4, 6, 8, 11, 14, 17, 19}},
        {"PRV+2", 1, {3, 7, 9, 11, 14, 17, 20, 2}},
        {"PRV-2", 1, {19, 3, 5, 7, 10, 13, 16, 18}},
        {"RPV2", 1, last},
        {"RPV3", 1, last},
        {"PRL2", 1, last},
        {"PRV2O1", 1, last},
        {"PRV2O3", 1, last},
        // Drawn order, whatever the sorting of the draws.
        {"RPV2", 0, {20, 1, 19, 2, 5, 9, 13, 17}},
        {"PRV+1", 0, {1, 2, 20, 3, 6, 10, 14, 18}},
        {"PRV-2", 0, {18, 19, 17, 20, 3, 7, 11, 15}},
        // No draw, no numbers.
        {"RPV2", -1, {}},
        {"PRV+1", 2, {}},
        {"RPV3", -1, {}},
        {"RPC2", 1, counts},
        {"RPC2", -1, counts},
        {"RPC3", 1, counts},
        {"PRB2", 1, counts},
        {"RPO1", 1, counts},
        {"PRC2O3", 1, counts},
        {"PRC-2", 1, counts},
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code);
        s->Cur.Count = 3;
        s->Cur.LastDrawNo = 9;
        TStatDrawArray values;
        s->ListValues(c.lastIndex, values);
        EXPECT_EQ(FirstKeys(values), c.keys) << c.code << " last " << c.lastIndex;
        for (const TStatDrawItem& it : values) {
            EXPECT_EQ(it.Count, 0) << c.code;
            EXPECT_EQ(it.LastDrawNo, 0) << c.code;
            EXPECT_EQ(it.Depth, 0) << c.code;
            EXPECT_EQ(it.Key[1], 0) << c.code;
        }
    }
}

// Every kind over the whole archive of six draws: the first draws have no predecessors, so the
// count kinds record 0 there and the value kinds nothing.
TEST(RepeatKinds, WindowOfSixDraws)
{
    Env e(SixDraws());
    struct Case {
        const char* code;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        {"RPV2",
         {{19, 0, 0, 0}, {20, 5, 106, 1}, {1, 5, 106, 1}, {2, 3, 106, 1}, {5, 1, 106, 1}, {9, 0, 0, 0}, {13, 0, 0, 0},
          {17, 0, 0, 0}}},
        {"RPV3",
         {{19, 0, 0, 0}, {20, 4, 106, 1}, {1, 4, 106, 1}, {2, 2, 106, 1}, {5, 0, 0, 0}, {9, 0, 0, 0}, {13, 0, 0, 0},
          {17, 0, 0, 0}}},
        {"PRL2",
         {{19, 0, 0, 0}, {20, 1, 102, 5}, {1, 1, 102, 5}, {2, 1, 104, 3}, {5, 1, 106, 1}, {9, 0, 0, 0}, {13, 0, 0, 0},
          {17, 0, 0, 0}}},
        {"PRV2O1",
         {{19, 1, 106, 1}, {20, 4, 106, 1}, {1, 4, 106, 1}, {2, 3, 106, 1}, {5, 0, 0, 0}, {9, 0, 0, 0}, {13, 0, 0, 0},
          {17, 0, 0, 0}}},
        {"PRV2O2",
         {{19, 1, 104, 3}, {20, 3, 106, 1}, {1, 3, 106, 1}, {2, 2, 106, 1}, {5, 0, 0, 0}, {9, 0, 0, 0},
          {13, 1, 106, 1}, {17, 1, 106, 1}}},
        {"PRV2O3",
         {{19, 0, 0, 0}, {20, 2, 106, 1}, {1, 2, 106, 1}, {2, 1, 105, 2}, {5, 1, 105, 2}, {9, 1, 106, 1},
          {13, 0, 0, 0}, {17, 0, 0, 0}}},
        {"PRV+1",
         {{20, 2, 105, 2}, {1, 5, 106, 1}, {2, 4, 106, 1}, {3, 3, 105, 2}, {6, 0, 0, 0}, {10, 0, 0, 0}, {14, 0, 0, 0},
          {18, 1, 104, 3}}},
        {"PRV-1",
         {{18, 1, 102, 5}, {19, 2, 106, 1}, {20, 5, 106, 1}, {1, 4, 106, 1}, {4, 0, 0, 0}, {8, 0, 0, 0}, {12, 0, 0, 0},
          {16, 0, 0, 0}}},
        {"PRV+2",
         {{1, 2, 105, 2}, {2, 4, 106, 1}, {3, 3, 105, 2}, {4, 1, 104, 3}, {7, 0, 0, 0}, {11, 0, 0, 0}, {15, 0, 0, 0},
          {19, 1, 104, 3}}},
        {"PRV-2",
         {{17, 0, 0, 0}, {18, 2, 104, 3}, {19, 2, 106, 1}, {20, 4, 106, 1}, {3, 1, 102, 5}, {7, 0, 0, 0},
          {11, 1, 104, 3}, {15, 0, 0, 0}}},
        {"RPC2",
         {{1, 0, 0, 0}, {2, 2, 103, 4}, {3, 1, 104, 3}, {4, 2, 106, 1}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 101, 6}}},
        {"RPC3",
         {{1, 0, 0, 0}, {2, 2, 104, 3}, {3, 2, 106, 1}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 2, 102, 5}}},
        {"PRB2",
         {{1, 3, 106, 1}, {2, 1, 102, 5}, {3, 0, 0, 0}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 2, 103, 4}}},
        {"RPO1",
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 2, 105, 2}, {4, 1, 106, 1}, {5, 1, 104, 3}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 2, 102, 5}}},
        {"PRC2O2",
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 2, 105, 2}, {5, 1, 106, 1}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 3, 103, 4}}},
        {"PRC2O3",
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 1, 106, 1}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 1, 105, 2}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 4, 104, 3}}},
        {"PRC+1",
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 2, 106, 1}, {4, 2, 104, 3}, {5, 0, 0, 0}, {6, 1, 105, 2}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 101, 6}}},
        {"PRC-1",
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 3, 104, 3}, {4, 1, 105, 2}, {5, 1, 106, 1}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 101, 6}}},
        {"PRC+2",
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 1, 106, 1}, {4, 2, 103, 4}, {5, 1, 104, 3}, {6, 1, 105, 2}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 101, 6}}},
        {"PRC-2",
         {{1, 0, 0, 0}, {2, 1, 103, 4}, {3, 2, 105, 2}, {4, 2, 106, 1}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 101, 6}}},
    };
    ASSERT_EQ(cases.size(), RepeatKinds().size());
    for (const Case& c : cases) {
        auto s = e.Create(c.code);
        EXPECT_EQ(Rows(Window(*s, 0, 5, false)), c.rows) << c.code;
        // No kind of the family depends on the order inside a draw.
        EXPECT_EQ(Rows(Window(*s, 0, 5, true)), c.rows) << c.code << " sorted";
    }

    // Periods in draw numbers: PRV+1 shows 3 in draws 102, 104 and 105.
    auto plus1 = e.Create("PRV+1");
    const TStatDrawArray v = Window(*plus1, 0, 5, false);
    const TStatDrawItem& three = v[v.Find(Value(3))];
    EXPECT_EQ(three.PeriodMin, 1);
    EXPECT_EQ(three.PeriodMax, 2);
    auto rpv2 = e.Create("RPV2");
    const TStatDrawArray r = Window(*rpv2, 0, 5, false);
    const TStatDrawItem& twenty = r[r.Find(Value(20))];
    EXPECT_EQ(twenty.PeriodMin, 1);
    EXPECT_EQ(twenty.PeriodMax, 1);
}

TEST(RepeatKinds, EarlierDrawsBeforeTheWindowCount)
{
    Env e(SixDraws());
    struct Case {
        const char* code;
        int first;
        int last;
        std::vector<Row> rows;
    };
    const std::vector<Case> cases = {
        // The last draw 105 decides which numbers count: 3, 12, 5, 6, 7 are in 105 but were not
        // in three draws in a row.
        {"RPV3", 0, 4,
         {{1, 3, 105, 1}, {2, 1, 105, 1}, {3, 0, 0, 0}, {20, 3, 105, 1}, {12, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0},
          {7, 0, 0, 0}}},
        // A window of draws 104 and 105 still looks back at 102 and 103.
        {"RPV3", 3, 4,
         {{1, 2, 105, 1}, {2, 1, 105, 1}, {3, 0, 0, 0}, {20, 2, 105, 1}, {12, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0},
          {7, 0, 0, 0}}},
        {"PRC2O3", 4, 5,
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 1, 106, 1}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 1, 105, 2}, {7, 0, 0, 0},
          {8, 0, 0, 0}}},
        // The first draw alone: no predecessor.
        {"RPC2", 0, 0,
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 101, 1}}},
        {"PRV+1", 0, 0,
         {{1, 0, 0, 0}, {20, 0, 0, 0}, {3, 0, 0, 0}, {2, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0}, {8, 0, 0, 0},
          {9, 0, 0, 0}}},
        // Draw 102 has draw 101 before it but nothing before that.
        {"PRB2", 1, 1,
         {{1, 0, 0, 0}, {2, 1, 102, 1}, {3, 0, 0, 0}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}}},
        {"PRL2", 1, 1,
         {{1, 1, 102, 1}, {20, 1, 102, 1}, {3, 0, 0, 0}, {18, 0, 0, 0}, {9, 0, 0, 0}, {10, 0, 0, 0}, {11, 0, 0, 0},
          {12, 0, 0, 0}}},
        {"RPC3", 1, 1,
         {{1, 0, 0, 0}, {2, 0, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}, {5, 0, 0, 0}, {6, 0, 0, 0}, {7, 0, 0, 0},
          {8, 0, 0, 0}, {0, 1, 102, 1}}},
    };
    for (const Case& c : cases) {
        auto s = e.Create(c.code);
        EXPECT_EQ(Rows(Window(*s, c.first, c.last, false)), c.rows) << c.code << " " << c.first << ".." << c.last;
    }
}

// Shifts wrap around the field: the earlier draw holds x, the last draw of the window x as
// well, the evaluated draw x + s.
TEST(RepeatKinds, ShiftsWrapAroundTheField)
{
    struct Case {
        const char* code;
        int x;
        int shifted;
    };
    const std::vector<Case> cases = {{"PRV+1", 20, 1}, {"PRV-1", 1, 20}, {"PRV+2", 19, 1}, {"PRV-2", 2, 20},
                                     {"PRV+2", 20, 2}, {"PRV-2", 1, 19}};
    for (const Case& c : cases) {
        // The other numbers of the earlier draw shift into 4..14, where the evaluated draw has
        // none, so x is the only repeat.
        const TComb earlier = {uint8_t(c.x), 6, 7, 8, 9, 10, 11, 12};
        TComb evaluated{};
        evaluated[0] = uint8_t(c.shifted);
        std::size_t j = 1;
        for (int n : {1, 2, 3, 15, 16, 17, 18, 19, 20})
            if (n != c.shifted && j < 8) evaluated[j++] = uint8_t(n);
        const TComb lastDraw = earlier;
        Env e({MakeDraw(1, earlier), MakeDraw(2, evaluated), MakeDraw(3, lastDraw)});
        auto s = e.Create(c.code);
        const TStatDrawArray values = DrawValues(*s, 1, 2, false);
        EXPECT_EQ(FirstKeys(values), std::vector<int>{c.shifted}) << c.code << " " << c.x;
        // The matching count kind sees one repeat in the evaluated draw.
        std::string count = c.code;
        count[2] = 'C';
        auto n = e.Create(count);
        EXPECT_EQ(FirstKeys(DrawValues(*n, 1, 2, false)), std::vector<int>{1}) << count << " " << c.x;
    }
}

TEST(RepeatKinds, CombMatchesJudgesTheDrawAfterTheWindow)
{
    Env e(SixDraws());
    const TComb last = {1, 2, 5, 9, 13, 17, 19, 20};   // draw 106 sorted
    const TComb disjoint = {3, 4, 6, 7, 8, 10, 11, 12};
    const TComb low = {1, 2, 3, 4, 5, 6, 7, 8};
    // The window ends at the last draw (106), at the first (101) and at 103.
    const std::vector<MatchCase> atTheEnd = {
        {"RPC2", 0, {Value(8)}, last, true},
        {"RPC2", 0, {Value(7), Value(0)}, last, false},
        {"RPC2", 0, {Value(8, 1)}, last, true},   // a count is Key[0] alone
        {"RPC2", 0, {Value(0)}, disjoint, true},
        {"RPC2", 0, {Value(1), Value(2), Value(3)}, disjoint, false},
        {"RPC2", 0, {Value(2)}, {1, 2, 3, 4, 6, 7, 8, 10}, true},
        {"RPC2", 0, {}, last, false},
        {"PRC+1", 0, {Value(8)}, {1, 2, 3, 6, 10, 14, 18, 20}, true},
        {"PRC+1", 0, {Value(3)}, last, true},      // 20, 1, 2
        {"PRC+1", 0, {Value(8)}, last, false},
        {"PRC-1", 0, {Value(3)}, last, true},      // 19, 20, 1 from 20, 1, 2
        {"PRC+2", 0, {Value(3)}, last, true},      // 1, 2, 19 from 19, 20, 17
        {"PRC-2", 0, {Value(3)}, last, true},      // 17, 19, 20 from 19, 1, 2
        {"RPO1", 0, {Value(4)}, last, true},       // draw 105: 1, 2, 5, 20
        {"RPO1", 0, {Value(8)}, last, false},
        {"PRC2O2", 0, {Value(4)}, last, true},     // draw 104: 1, 2, 19, 20
        {"PRC2O3", 0, {Value(5)}, last, true},     // draw 103: 1, 2, 13, 17, 20
        {"RPC3", 0, {Value(3)}, low, true},        // in 106 and 105: 1, 2, 5, 20
        {"RPC3", 0, {Value(4)}, last, true},
        {"PRB2", 0, {Value(0)}, low, true},        // in 106, not in 105: 9, 13, 17, 19
        {"PRB2", 0, {Value(2)}, {9, 10, 11, 12, 13, 14, 15, 16}, true},
        {"PRB2", 0, {Value(4)}, last, true},
        // The value kinds: some number of the combination is marked.
        {"RPV2", 0, {Value(19)}, last, true},
        {"RPV2", 0, {Value(19)}, low, false},
        {"RPV2", 0, {Value(8, 3)}, low, true},
        {"RPV2", 0, {}, low, false},
        {"PRV+1", 0, {Value(1), Value(12)}, disjoint, true},
        {"RPV3", 0, {Value(9), Value(20), Value(3)}, low, true},
        {"PRL2", 0, {Value(3)}, last, false},
    };
    const std::vector<MatchCase> atTheStart = {
        {"RPC2", 0, {Value(6)}, low, true},       // 1, 2, 5, 6, 7, 8 of draw 101
        {"RPO1", 0, {Value(0)}, low, true},        // nothing two draws before the first
        {"RPO1", 0, {Value(6)}, low, false},
        {"RPC3", 0, {Value(0)}, low, true},
        {"PRB2", 0, {Value(6)}, low, true},
        {"PRV-2", 0, {Value(18), Value(20)}, disjoint, false},
    };
    ExpectMatches(e, atTheEnd, 5);
    ExpectMatches(e, atTheStart, 0);
    ExpectMatches(e, {{"PRV2O3", 0, {Value(12)}, disjoint, true}}, 2);
    // The filter has no draw of its own to look at; its reference is the last draw of the window.
    for (const TStatKind* k : RepeatKinds())
        for (int last : {0, 2, 5})
            for (bool sorted : {false, true}) {
                auto s = k->Create(e.env, 0);
                s->LoadDraws(-1, last, sorted);
                EXPECT_EQ(s->CurDraw.DrawNo, 0) << k->GetCode();
                EXPECT_EQ(s->RefDraw.DrawNo, 101 + last) << k->GetCode();
            }
}

TEST(RepeatKinds, CountsAndValuesSplitIntoThreeAndTwoOnly)
{
    Env e(kv::archive::SyntheticDraws(120, 11));
    auto rpc2 = e.Create("RPC2"), rpc3 = e.Create("RPC3"), prb2 = e.Create("PRB2");
    for (int i = 0; i < 120; ++i) {
        const TStatDrawArray a = DrawValues(*rpc2, i, 119, false), b = DrawValues(*rpc3, i, 119, false),
                             c = DrawValues(*prb2, i, 119, false);
        ASSERT_EQ(a.Count(), 1);
        ASSERT_EQ(b.Count(), 1);
        ASSERT_EQ(c.Count(), 1);
        EXPECT_EQ(a[0].Key[0], b[0].Key[0] + c[0].Key[0]) << "draw " << i;
    }
    // The repeated numbers likewise: RPV2 = RPV3 + PRL2 for every window.
    auto rpv2 = e.Create("RPV2"), rpv3 = e.Create("RPV3"), prl2 = e.Create("PRL2");
    for (int last : {0, 1, 2, 40, 119}) {
        const TStatDrawArray a = Window(*rpv2, 0, last, true), b = Window(*rpv3, 0, last, true),
                             c = Window(*prl2, 0, last, true);
        ASSERT_EQ(FirstKeys(a), FirstKeys(b));
        ASSERT_EQ(FirstKeys(a), FirstKeys(c));
        for (int k = 0; k < a.Count(); ++k) EXPECT_EQ(a[k].Count, b[k].Count + c[k].Count) << "last " << last;
    }
}

TEST(RepeatKinds, ValueTextsAndNoFullSetValues)
{
    Env e(SixDraws());
    for (const TStatKind* k : RepeatKinds()) {
        auto s = k->Create(e.env, 0);
        SCOPED_TRACE(k->GetCode());
        EXPECT_EQ(s->ValueToText(Value(20)), "20");
        EXPECT_EQ(s->ValueToText(Value(0)), "0");
        EXPECT_EQ(s->TextToValue("17"), 17);
        EXPECT_EQ(s->ParseValue("8"), 8);
        EXPECT_EQ(s->ParseValue("x8"), 0);
        TStatDrawArray values;
        s->CalcComb({1, 2, 3, 4, 5, 6, 7, 8}, values);
        const std::vector<TComb> combs = {{1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 17, 18, 19, 20}};
        s->CalcCombs(combs, values);
        EXPECT_TRUE(values.Empty());
    }
}

TEST(RepeatKinds, FindValueDrawAfterTheWindow)
{
    Env e(SixDraws());
    auto rpc2 = e.Create("RPC2");
    EXPECT_EQ(rpc2->FindValueDraw(Value(4), 3, 3, false), 105);   // 3 repeats in 104, 4 in 105
    EXPECT_EQ(rpc2->FindValueDraw(Value(0), 1, 1, false), -1);
    EXPECT_EQ(rpc2->FindValueDraw(Value(0), 0, 0, false), 101);   // the first draw has no predecessor
    EXPECT_EQ(rpc2->FindValueDraw(Value(4), 6, 5, false), -1);
    // Measured against the last draw of the window, not against the draw found.
    auto rpv2 = e.Create("RPV2");
    EXPECT_EQ(rpv2->FindValueDraw(Value(3), 2, 3, false), 105);   // 3 of 104 again in 105
    EXPECT_EQ(rpv2->FindValueDraw(Value(3), 2, 5, false), -1);    // 106 has no 3
}

} // namespace

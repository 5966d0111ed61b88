#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/stats/statitem.h"

using namespace kv::stats;

namespace {

using Keys = std::array<int16_t, 4>;

TStatDrawItem Item(Keys key, int32_t count = 1, int32_t lastDrawNo = 0, int32_t depth = 0)
{
    TStatDrawItem it;
    it.Key = key;
    it.Count = count;
    it.LastDrawNo = lastDrawNo;
    it.PrevDrawNo = lastDrawNo;
    it.Depth = depth;
    return it;
}

TStatDrawArray ArrayOf(const std::vector<Keys>& keys)
{
    TStatDrawArray a;
    for (const Keys& k : keys) a.Append(Item(k));
    return a;
}

std::vector<Keys> KeysOf(const TStatDrawArray& a)
{
    std::vector<Keys> keys;
    for (const TStatDrawItem& it : a) keys.push_back(it.Key);
    return keys;
}

TEST(StatDrawArray, FindsEveryEntryByItsKeysInInsertionOrder)
{
    // Enough entries to grow the index several times, with negative keys and keys that differ
    // only in their upper words.
    TStatDrawArray a;
    std::vector<Keys> keys;
    for (int i = 0; i < 3000; ++i)
        keys.push_back({int16_t(i % 50 - 25), int16_t(i / 50), int16_t(i % 3 == 0 ? -1 : 0), int16_t(i % 7)});
    for (const Keys& k : keys) a.Append(Item(k));
    ASSERT_EQ(a.Count(), 3000);
    for (int i = 0; i < a.Count(); ++i) {
        ASSERT_EQ(a[i].Key, keys[std::size_t(i)]) << i;
        ASSERT_EQ(a.Find(a[i]), i) << i;
    }
    EXPECT_EQ(a.Find(Item({0, 0, 0, 100})), -1);
    EXPECT_EQ(a.Find(Item({-25, 0, -1, 1})), -1);   // the -1 only where i % 3 == 0

    a.Clear();
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(a.Find(Item(keys[0])), -1);
    a.Append(Item({7, 0, 0, 0}));
    EXPECT_EQ(a.Find(Item({7, 0, 0, 0})), 0);

    // A new order (as sorting gives) moves the lookup with it.
    a.Assign({Item({3}), Item({-1}), Item({1})});
    EXPECT_EQ(a.Find(Item({-1})), 1);
    EXPECT_EQ(a.Find(Item({1})), 2);
    EXPECT_EQ(a.Find(Item({7})), -1);

    TStatDrawArray empty;
    EXPECT_EQ(empty.Find(uint64_t(0)), -1);
    EXPECT_FALSE(empty.HasValue(0));
    EXPECT_FALSE(empty.HasKey(1, 0));
    EXPECT_FALSE(empty.HasLongKey(1, 0));
    EXPECT_FALSE(empty.HasKeyByte(1, 0));
}

TEST(StatDrawArray, Lookups)
{
    // Key[0..1] of the second entry is the word 0x0002FFFF; bytes of the third entry in memory
    // order: 34 12 FE FF 05 00 00 80.
    const TStatDrawArray a = ArrayOf({{1, 2, 3, 4}, {-1, 2, 0, 0}, {0x1234, -2, 5, int16_t(0x8000)}, {9, 0, 300, 0}});
    enum Op { Value, Key, Long, Pair, Byte };
    struct Case {
        Op op;
        int which;
        std::array<int, 4> args;
        bool expected;
    };
    const std::vector<Case> cases = {
        {Value, 0, {1, 2, 3, 4}, true},
        {Value, 0, {1, 2, 3, 0}, false},
        {Value, 0, {-1, 2, 0, 0}, true},
        {Value, 0, {9, 0, 300, 0}, true},
        {Value, 0, {9, 0, 0, 0}, false},
        {Key, 1, {1}, true},
        {Key, 1, {-1}, true},
        {Key, 1, {65535}, true},     // compared as 16 bits
        {Key, 1, {2}, false},
        {Key, 2, {2}, true},
        {Key, 2, {-2}, true},
        {Key, 3, {300}, true},
        {Key, 3, {4}, false},
        {Key, 4, {-32768}, true},
        {Key, 4, {0}, true},
        {Key, 4, {3}, false},
        {Key, 0, {1}, false},
        {Key, 5, {0}, false},
        {Long, 1, {0x00020001}, true},
        {Long, 1, {0x0002FFFF}, true},
        {Long, 1, {-1}, false},
        {Long, 1, {int(0xFFFE1234)}, true},
        {Long, 1, {9}, true},
        {Long, 1, {1}, false},
        {Long, 2, {0x00040003}, true},
        {Long, 2, {int(0x80000005)}, true},
        {Long, 2, {300}, true},
        {Long, 2, {0}, true},
        {Long, 2, {3}, false},
        {Long, 3, {0}, false},
        {Pair, 0, {9, 300}, true},
        {Pair, 0, {9, 0}, false},
        {Pair, 0, {0x00020001, 0x00040003}, true},
        {Pair, 0, {1, 3}, false},
        {Byte, 1, {0x34}, true},
        {Byte, 2, {0x12}, true},
        {Byte, 1, {0x12}, false},
        {Byte, 3, {0xFE}, true},
        {Byte, 3, {-2}, true},       // compared as 8 bits
        {Byte, 4, {0xFF}, true},
        {Byte, 5, {5}, true},
        {Byte, 5, {300 & 0xFF}, true},
        {Byte, 6, {1}, true},        // 300 = 0x012C
        {Byte, 8, {0x80}, true},
        {Byte, 8, {0}, true},
        {Byte, 8, {1}, false},
        {Byte, 7, {0}, true},
        {Byte, 0, {0x34}, false},
        {Byte, 9, {0}, false},
    };
    for (const Case& c : cases) {
        bool got = false;
        switch (c.op) {
        case Value: got = a.HasValue(c.args[0], c.args[1], c.args[2], c.args[3]); break;
        case Key: got = a.HasKey(c.which, c.args[0]); break;
        case Long: got = a.HasLongKey(c.which, c.args[0]); break;
        case Pair: got = a.HasKeyPair(c.args[0], c.args[1]); break;
        case Byte: got = a.HasKeyByte(c.which, c.args[0]); break;
        }
        EXPECT_EQ(got, c.expected) << "op " << c.op << " which " << c.which << " arg " << c.args[0];
    }
}

TEST(StatDrawArray, LookupsFollowChangesAfterTheirFirstUse)
{
    TStatDrawArray a = ArrayOf({{1, 0, 0, 0}});
    EXPECT_FALSE(a.HasKey(1, 7));
    EXPECT_FALSE(a.HasKey(3, 2));
    EXPECT_FALSE(a.HasLongKey(1, 7));
    EXPECT_FALSE(a.HasLongKey(2, 2));
    EXPECT_FALSE(a.HasKeyByte(1, 7));
    EXPECT_FALSE(a.HasKeyPair(7, 2));

    a.Append(Item({7, 0, 2, 0}));
    EXPECT_TRUE(a.HasKey(1, 7));
    EXPECT_TRUE(a.HasKey(3, 2));
    EXPECT_TRUE(a.HasLongKey(1, 7));
    EXPECT_TRUE(a.HasLongKey(2, 2));
    EXPECT_TRUE(a.HasKeyByte(1, 7));
    EXPECT_TRUE(a.HasKeyPair(7, 2));

    // Many appends after a lookup: the rebuilt sets hold every entry.
    for (int i = 100; i < 400; ++i) a.Append(Item({int16_t(i), int16_t(-i), 0, 0}));
    for (int i = 100; i < 400; ++i) {
        ASSERT_TRUE(a.HasKey(2, -i)) << i;
        ASSERT_TRUE(a.HasLongKey(1, int32_t(uint32_t(uint16_t(i)) | (uint32_t(uint16_t(-i)) << 16)))) << i;
    }

    a.Assign({Item({5, 0, 0, 0})});
    EXPECT_FALSE(a.HasKey(1, 7));
    EXPECT_FALSE(a.HasKey(2, -399));   // the last of many: a set cleared whole
    EXPECT_FALSE(a.HasLongKey(1, 7));
    EXPECT_FALSE(a.HasKeyByte(1, 7));
    EXPECT_TRUE(a.HasKeyByte(1, 5));

    a.Clear();
    EXPECT_FALSE(a.HasKey(1, 5));
    EXPECT_FALSE(a.HasLongKey(1, 5));
    EXPECT_FALSE(a.HasKeyByte(1, 5));
    EXPECT_FALSE(a.HasValue(5));
}

TEST(StatItem, AddStatDrawMergeRules)
{
    struct Add {
        Keys key;
        int32_t count;
        int32_t lastDrawNo;
        int32_t depth;
        bool track;
    };
    struct Expect {
        int32_t count, lastDrawNo, depth, prevDrawNo;
        uint16_t periodMin, periodMax;
    };
    struct Case {
        const char* name;
        std::vector<Add> adds;
        Expect expected;   // the single entry afterwards
    };
    const Keys k = {4, 0, 0, 0};
    const std::vector<Case> cases = {
        {"first occurrence copied", {{k, 1, 100, 3, true}}, {1, 100, 3, 100, 0, 0}},
        {"listed, then a draw", {{k, 0, 0, 0, false}, {k, 1, 100, 3, true}}, {1, 100, 3, 100, 0, 0}},
        {"newer draw takes over", {{k, 1, 100, 3, true}, {k, 1, 102, 1, true}}, {2, 102, 1, 102, 2, 2}},
        {"equal depth takes over", {{k, 1, 100, 3, true}, {k, 1, 101, 3, true}}, {2, 101, 3, 101, 1, 1}},
        {"deeper draw keeps the latest", {{k, 1, 102, 1, true}, {k, 1, 100, 3, true}}, {2, 102, 1, 100, 2, 2}},
        {"combination keeps the draw", {{k, 1, 102, 1, true}, {k, 1, 0, 0, false}}, {2, 102, 1, 0, 0, 0}},
        {"count adds the item's count", {{k, 2, 100, 3, true}, {k, 5, 101, 2, true}}, {7, 101, 2, 101, 1, 1}},
        {"periods min and max", {{k, 1, 10, 9, true}, {k, 1, 13, 6, true}, {k, 1, 14, 5, true}, {k, 1, 20, 1, true}},
         {4, 20, 1, 20, 1, 6}},
        {"no periods without tracking", {{k, 1, 10, 9, true}, {k, 1, 13, 6, false}}, {2, 13, 6, 13, 0, 0}},
        {"tracking resumes from the untracked draw",
         {{k, 1, 10, 9, true}, {k, 1, 13, 6, false}, {k, 1, 15, 4, true}},
         {3, 15, 4, 15, 2, 2}},
        {"zero draw number measures nothing", {{k, 1, 10, 3, true}, {k, 1, 0, 2, true}}, {2, 0, 2, 0, 0, 0}},
        {"gap of zero in one draw", {{k, 1, 10, 3, true}, {k, 1, 12, 1, true}, {k, 1, 12, 1, true}},
         {3, 12, 1, 12, 0, 2}},
        {"gap measured backwards too", {{k, 1, 20, 1, true}, {k, 1, 17, 4, true}}, {2, 20, 1, 17, 3, 3}},
        {"gap wider than 16 bits", {{k, 1, 1, 2, true}, {k, 1, 100001, 1, true}}, {2, 100001, 1, 100001, 65535, 65535}},
    };
    for (const Case& c : cases) {
        TStatDrawArray values;
        for (const Add& a : c.adds) {
            TStatDrawItem it = Item(a.key, a.count, a.lastDrawNo, a.depth);
            it.Norm = 77;
            AddStatDraw(values, it, a.track);
        }
        ASSERT_EQ(values.Count(), 1) << c.name;
        const TStatDrawItem& e = values[0];
        EXPECT_EQ(e.Count, c.expected.count) << c.name;
        EXPECT_EQ(e.LastDrawNo, c.expected.lastDrawNo) << c.name;
        EXPECT_EQ(e.Depth, c.expected.depth) << c.name;
        EXPECT_EQ(e.PrevDrawNo, c.expected.prevDrawNo) << c.name;
        EXPECT_EQ(e.PeriodMin, c.expected.periodMin) << c.name;
        EXPECT_EQ(e.PeriodMax, c.expected.periodMax) << c.name;
        EXPECT_EQ(e.Norm, 0) << c.name;
    }
}

TEST(StatItem, AddStatDrawKeepsDistinctKeysApart)
{
    TStatDrawArray values;
    for (Keys k : {Keys{1, 0, 0, 0}, Keys{1, 0, 0, 1}, Keys{-1, 0, 0, 0}, Keys{1, 0, 0, 0}, Keys{0, 1, 0, 0}})
        AddStatDraw(values, Item(k), false);
    EXPECT_EQ(KeysOf(values), (std::vector<Keys>{{1, 0, 0, 0}, {1, 0, 0, 1}, {-1, 0, 0, 0}, {0, 1, 0, 0}}));
    EXPECT_EQ(values[0].Count, 2);
    EXPECT_EQ(values[1].Count, 1);
}

TEST(StatItem, CompareStatKeyReadsKeysUnsigned)
{
    struct Case {
        Keys a, b;
        int expected;
    };
    const std::vector<Case> cases = {
        {{1, 0, 0, 0}, {2, 0, 0, 0}, -1},
        {{5, 0, 0, 0}, {2, 9, 9, 9}, 3},
        {{-1, 0, 0, 0}, {0, 0, 0, 0}, 65535},
        {{-32768, 0, 0, 0}, {32767, 0, 0, 0}, 1},
        {{3, 1, 0, 0}, {3, 4, 0, 0}, -3},
        {{3, 4, 5, -1}, {3, 4, 5, 6}, 65529},
        {{3, 4, 5, 6}, {3, 4, 5, 6}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareStatKey(Item(c.a), Item(c.b)), c.expected);
        EXPECT_EQ(CompareStatKey(Item(c.b), Item(c.a)), -c.expected);
    }
}

TEST(StatItem, SortStatDrawIsStableAndUnsigned)
{
    TStatDrawArray values;
    // Equal keys only come in through Assign; their order must survive the sort.
    values.Assign({Item({-1}, 1), Item({20}, 2), Item({3, 1}, 3), Item({3}, 4), Item({20}, 5), Item({0}, 6)});
    SortStatDraw(values);
    std::vector<int32_t> counts;
    for (const TStatDrawItem& it : values) counts.push_back(it.Count);
    EXPECT_EQ(counts, (std::vector<int32_t>{6, 4, 3, 2, 5, 1}));
    EXPECT_EQ(values.Find(Item({-1})), 5);
    EXPECT_EQ(values.Find(Item({3})), 1);

    TStatDrawArray one;
    one.Append(Item({9}));
    SortStatDraw(one);
    EXPECT_EQ(one.Count(), 1);
}

TEST(StatItem, SummarizeStatDraw)
{
    const TStatSummary none = SummarizeStatDraw(TStatDrawArray{});
    EXPECT_EQ(none.MinCount, 2147483647);
    EXPECT_EQ(none.MaxCount, 0);
    EXPECT_EQ(none.MaxDepth, 0);
    EXPECT_EQ(none.Total, 0);

    TStatDrawArray values;
    values.Append(Item({1}, 2000000000, 10, 0));
    values.Append(Item({2}, 0, 0, 7));
    values.Append(Item({3}, 2000000000, 0, 3));
    values.Append(Item({4}, 5, 0, 0));
    const TStatSummary s = SummarizeStatDraw(values);
    EXPECT_EQ(s.MinCount, 0);
    EXPECT_EQ(s.MaxCount, 2000000000);
    EXPECT_EQ(s.MaxDepth, 7);
    EXPECT_EQ(s.Total, 4000000005LL);
}

TEST(StatItem, LastValueArray)
{
    TLastValueArray lv;
    EXPECT_EQ(lv.AddLastValue(10, {1, 0, 0, 0}), -1);
    EXPECT_EQ(lv.AddLastValue(12, {1, 0, 0, 1}), -1);   // all four keys tell values apart
    EXPECT_EQ(lv.AddLastValue(15, {1, 0, 0, 0}), 5);
    EXPECT_EQ(lv.AddLastValue(16, {1, 0, 0, 0}), 1);
    EXPECT_EQ(lv.AddLastValue(20, {1, 0, 0, 1}), 8);
    ASSERT_EQ(lv.Count(), 2);
    EXPECT_EQ(lv[0].DrawNo, 16);
    EXPECT_EQ(lv[1].DrawNo, 20);
    lv.Clear();
    EXPECT_EQ(lv.AddLastValue(30, {1, 0, 0, 0}), -1);
}

// Small single keys take a shortcut to their entry: on either side of its bounds, and across
// clears, the gaps and the order of the entries are those of a plain search.
TEST(StatItem, LastValueArrayAgreesWithASearchOnEveryKindOfKey)
{
    using Key = std::array<int16_t, 4>;
    const std::vector<Key> keys = {{0, 0, 0, 0},  {1, 0, 0, 0},  {63, 0, 0, 0}, {64, 0, 0, 0}, {-1, 0, 0, 0},
                                   {1, 0, 0, 1},  {63, 1, 0, 0}, {0, 0, 1, 0},  {32767, 0, 0, 0}};
    TLastValueArray lv;
    std::vector<TLastValue> model;
    uint32_t seed = 7;
    for (int step = 0; step < 2000; ++step) {
        seed = seed * 1103515245u + 12345u;
        if (step % 500 == 499) {
            lv.Clear();
            model.clear();
            continue;
        }
        const Key key = keys[(seed >> 16) % keys.size()];
        const int32_t drawNo = step * 3 + int32_t(seed >> 28);
        const auto held = std::find_if(model.begin(), model.end(), [&](const TLastValue& v) { return v.Key == key; });
        int32_t gap = -1;
        if (held == model.end()) {
            model.push_back({drawNo, key});
        } else {
            gap = drawNo - held->DrawNo;
            held->DrawNo = drawNo;
        }
        ASSERT_EQ(lv.AddLastValue(drawNo, key), gap) << step;
    }
    ASSERT_EQ(lv.Count(), int(model.size()));
    for (int i = 0; i < lv.Count(); ++i) {
        EXPECT_EQ(lv[i].Key, model[std::size_t(i)].Key);
        EXPECT_EQ(lv[i].DrawNo, model[std::size_t(i)].DrawNo);
    }
}

} // namespace

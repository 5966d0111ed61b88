#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

constexpr auto Family = FamilyOf<kinds::AddChannelKinds>;

const TComb Low = {1, 2, 3, 4, 5, 6, 7, 8};               // channels 1 1 1 1 2 2 2 2
const TComb Spread = {20, 1, 13, 7, 8, 9, 2, 16};         // channels 5 1 4 2 2 3 1 4
const TComb Woven = {1, 5, 9, 13, 17, 2, 6, 10};          // channels 1 2 3 4 5 1 2 3

// The rest of each descriptor is in the golden list of every kind.
TEST(ChannelKinds, FamilyAndNames)
{
    EXPECT_EQ(Codes(Family()), (std::vector<std::string>{"CHAN", "CHNV", "CHNC", "KCM2", "KCM3", "KCM4", "KCS2",
                                                         "KCS3", "KCS4", "CHN%d"}));
    Env e;
    EXPECT_EQ(e.Create("CHN%d", 3)->GetName(), "Количество чисел в 3 канале");
    EXPECT_EQ(KindOf("CHN%d").FormatCode(3), "CHN3");
    EXPECT_EQ(KindOf("KCS3").FormatCode(7), "KCS3");
}

TEST(ChannelKinds, ParameterRangeFollowsTheWidth)
{
    struct Case {
        int width;
        std::vector<std::string> perChannel;   // the CHN methods the registry makes
    };
    const std::vector<Case> cases = {
        {4, {"CHN1", "CHN2", "CHN3", "CHN4", "CHN5"}},
        {5, {"CHN1", "CHN2", "CHN3", "CHN4"}},
        {3, {"CHN1", "CHN2", "CHN3", "CHN4", "CHN5", "CHN6", "CHN7"}},
        {2, {"CHN1", "CHN2", "CHN3", "CHN4", "CHN5", "CHN6", "CHN7", "CHN8", "CHN9", "CHN10"}},
        {20, {"CHN1"}},
        {25, {"CHN1"}},
        {0, {}},
        {-4, {}},
    };
    for (const Case& c : cases) {
        TStatList list;
        list.Config().ChannelSize = c.width;
        list.BuildMethodList(Family());
        std::vector<std::string> codes;
        for (int i = 0; i < list.MethodCount(); ++i) codes.push_back(list.Method(i).MethodCode());
        std::vector<std::string> expected = {"CHAN", "CHNV", "CHNC", "KCM2", "KCM3", "KCM4", "KCS2", "KCS3", "KCS4"};
        expected.insert(expected.end(), c.perChannel.begin(), c.perChannel.end());
        EXPECT_EQ(codes, expected) << "width " << c.width;
    }
}

TEST(ChannelKinds, ValuesOfDraws)
{
    const std::vector<DrawCase> cases = {
        {"CHAN", 0, Channels(4), Low, false, {{"01 [1-4]", 4}, {"02 [5-8]", 4}}},
        {"CHAN", 0, Channels(4), Spread, false,
         {{"05 [17-20]", 1}, {"01 [1-4]", 2}, {"04 [13-16]", 2}, {"02 [5-8]", 2}, {"03 [9-12]", 1}}},
        {"CHAN", 0, Channels(4), Spread, true,
         {{"01 [1-4]", 2}, {"02 [5-8]", 2}, {"03 [9-12]", 1}, {"04 [13-16]", 2}, {"05 [17-20]", 1}}},
        {"CHAN", 0, Channels(3), Spread, false,
         {{"07 [19-21]", 1}, {"01 [1-3]", 2}, {"05 [13-15]", 1}, {"03 [7-9]", 3}, {"06 [16-18]", 1}}},
        {"CHNV", 0, Channels(4), Low, false,
         {{"01 [1-4] x 4", 1}, {"02 [5-8] x 4", 1}, {"03 [9-12] x 0", 1}, {"04 [13-16] x 0", 1},
          {"05 [17-20] x 0", 1}}},
        {"CHNV", 0, Channels(4), Spread, false,
         {{"01 [1-4] x 2", 1}, {"02 [5-8] x 2", 1}, {"03 [9-12] x 1", 1}, {"04 [13-16] x 2", 1},
          {"05 [17-20] x 1", 1}}},
        {"CHNV", 0, Channels(10), Spread, false, {{"01 [1-10] x 5", 1}, {"02 [11-20] x 3", 1}}},
        {"CHNC", 0, Channels(4), Low, false, {{"2", 1}}}, {"CHNC", 0, Channels(4), Spread, false, {{"5", 1}}},
        {"CHNC", 0, Channels(10), Spread, false, {{"2", 1}}},
        {"CHN%d", 1, Channels(4), Low, false, {{"4", 1}}}, {"CHN%d", 3, Channels(4), Low, false, {{"0", 1}}},
        {"CHN%d", 4, Channels(4), Spread, false, {{"2", 1}}}, {"CHN%d", 7, Channels(3), Spread, true, {{"1", 1}}},
        // Tuples follow the order of the numbers.
        {"KCS3", 0, Channels(4), Woven, false, {{"1:2:3", 2}, {"2:3:4", 1}, {"3:4:5", 1}, {"4:5:1", 1}, {"5:1:2", 1}}},
        {"KCS3", 0, Channels(4), Woven, true,
         {{"1:1:2", 1}, {"1:2:2", 1}, {"2:2:3", 1}, {"2:3:3", 1}, {"3:3:4", 1}, {"3:4:5", 1}}},
        {"KCS2", 0, Channels(4), Spread, false,
         {{"5:1", 1}, {"1:4", 2}, {"4:2", 1}, {"2:2", 1}, {"2:3", 1}, {"3:1", 1}}},
        {"KCS2", 0, Channels(4), Spread, true,
         {{"1:1", 1}, {"1:2", 1}, {"2:2", 1}, {"2:3", 1}, {"3:4", 1}, {"4:4", 1}, {"4:5", 1}}},
        {"KCS4", 0, Channels(4), Woven, false,
         {{"1:2:3:4", 1}, {"2:3:4:5", 1}, {"3:4:5:1", 1}, {"4:5:1:2", 1}, {"5:1:2:3", 1}}},
        {"KCM2", 0, Channels(10), Low, false, {{"1:1", 28}}},
        {"KCM2", 0, Channels(4), Woven, false,
         {{"1:2", 3}, {"1:3", 3}, {"1:4", 1}, {"1:5", 1}, {"1:1", 1}, {"2:3", 3}, {"2:4", 1}, {"2:5", 1},
        {"2:1", 1}, {"2:2", 1}, {"3:4", 1}, {"3:5", 1}, {"3:1", 1}, {"3:2", 1}, {"3:3", 1}, {"4:5", 1},
          {"4:1", 1}, {"4:2", 1}, {"4:3", 1}, {"5:1", 1}, {"5:2", 1}, {"5:3", 1}}},
        {"KCM3", 0, Channels(4), Low, false, {{"1:1:1", 4}, {"1:1:2", 24}, {"1:2:2", 24}, {"2:2:2", 4}}},
        {"KCM4", 0, Channels(4), Low, false,
         {{"1:1:1:1", 1}, {"1:1:1:2", 16}, {"1:1:2:2", 36}, {"1:2:2:2", 16}, {"2:2:2:2", 1}}},
    };
    ExpectDrawTexts(cases);
}

TEST(ChannelKinds, CombinationValues)
{
    using KC = std::vector<std::pair<std::array<int, 4>, int>>;
    struct Case {
        const char* code;
        int param;
        TComb comb;
        KC values;   // keys with counts
    };
    const std::vector<Case> cases = {
        {"CHAN", 0, Spread,
         {{{5, 0, 0, 0}, 1}, {{1, 0, 0, 0}, 2}, {{4, 0, 0, 0}, 2}, {{2, 0, 0, 0}, 2}, {{3, 0, 0, 0}, 1}}},
        {"CHNV", 0, Low,
         {{{1, 4, 0, 0}, 1}, {{2, 4, 0, 0}, 1}, {{3, 0, 0, 0}, 1}, {{4, 0, 0, 0}, 1}, {{5, 0, 0, 0}, 1}}},
        {"CHNC", 0, Spread, {{{5, 0, 0, 0}, 1}}},
        {"CHN%d", 2, Spread, {{{2, 0, 0, 0}, 1}}},
        // The tuple kinds have no full-set distribution: a combination gives nothing.
        {"KCM2", 0, Low, {}},
        {"KCS4", 0, Woven, {}},
    };
    Env e;
    for (const Case& c : cases) EXPECT_EQ(KeyCounts(CombValues(e, c.code, c.param, c.comb)), c.values) << c.code;
}

TEST(ChannelKinds, TextsAndParsing)
{
    const std::vector<TextCase> cases = {
        {"CHAN", 1, Value(1), "01 [1-4]", 1, Channels(4)}, {"CHAN", 1, Value(5), "05 [17-20]", 5, Channels(4)},
        {"CHAN", 1, Value(7), "07 [19-21]", 7, Channels(3)}, {"CHAN", 1, Value(2), "02 [11-20]", 2, Channels(10)},
        {"CHAN", 1, Value(10), "10 [19-20]", 10, Channels(2)},
        {"CHNV", 1, Value(2, 3), "02 [5-8] x 3", 0, Channels(4)},
        {"CHNV", 1, Value(7, 0), "07 [19-21] x 0", 0, Channels(3)},
        {"CHNC", 1, Value(5), "5", 5, Channels(4)},
        {"CHN%d", 1, Value(0), "0", 0, Channels(4)}, {"CHN%d", 1, Value(4), "4", 4, Channels(4)},
        {"KCM3", 1, Value(1, 1, 3), "1:1:3", 0, Channels(4)},
        {"KCM2", 1, Value(4, 5), "4:5", 0, Channels(4)},
        {"KCS4", 1, Value(5, 1, 2, 3), "5:1:2:3", 0, Channels(4)},
        {"KCS2", 1, Value(10, 1), "10:1", 0, Channels(4)},
    };
    ExpectTexts(cases);

    ExpectRead(Env(), {{"CHAN", "02 [5-8]", 2},
                       {"CHAN", " 05 [17-20]", 5},
                       {"CHAN", "3", 3},
                       {"CHAN", "abc", 0},
                       {"CHAN", "", 0},
                       {"CHAN", "x 2", 0},
                       {"CHAN", "02[5-8]", 0}});
}

TEST(ChannelKinds, ListedValues)
{
    ExpectListed({
        {"CHAN", Channels(4), KeyRange(1, 5)}, {"CHAN", Channels(3), KeyRange(1, 7)},
        {"CHAN", Channels(10), KeyRange(1, 2)},
        {"CHNV", Channels(4), KeyGrid(5, 4)}, {"CHNV", Channels(3), KeyGrid(7, 3)},
        {"CHNV", Channels(10), KeyGrid(2, 8)},
        {"CHNC", Channels(4), KeyRange(1, 4)}, {"CHNC", Channels(3), KeyRange(1, 3)},
        {"CHNC", Channels(10), KeyRange(1, 8)},
        {"CHN%d", Channels(4), KeyRange(1, 4)}, {"CHN%d", Channels(10), KeyRange(1, 10)},
        {"KCM2", Channels(4), {}}, {"KCS3", Channels(4), {}},
    });
}

TEST(ChannelKinds, WindowCountsAndPeriods)
{
    // Width 10: the first draw lies in channel 1 alone, the second has 11 in channel 2.
    Env e({MakeDraw(100, Low), MakeDraw(103, {1, 2, 3, 4, 5, 6, 7, 11})}, Channels(10));
    auto kcm2 = e.Create("KCM2");
    const TStatDrawArray pairs = Window(*kcm2, 0, 1, false);
    ASSERT_EQ(Keys(pairs), (std::vector<std::array<int, 4>>{{1, 1, 0, 0}, {1, 2, 0, 0}}));
    EXPECT_EQ(pairs[0].Count, 49);
    EXPECT_EQ(pairs[0].LastDrawNo, 103);
    EXPECT_EQ(pairs[0].Depth, 1);
    EXPECT_EQ(pairs[0].PeriodMin, 0);   // the repeats inside one draw are gaps of 0
    EXPECT_EQ(pairs[0].PeriodMax, 3);
    EXPECT_EQ(pairs[1].Count, 7);
    EXPECT_EQ(pairs[1].PeriodMax, 0);

    // Listed counts first; a count outside the listed range is appended when it occurs.
    Env w4({MakeDraw(1, Low), MakeDraw(2, Spread), MakeDraw(3, {13, 14, 15, 16, 17, 18, 19, 20})});
    auto chnc = w4.Create("CHNC");
    const TStatDrawArray counts = Window(*chnc, 0, 2, false);
    ASSERT_EQ(counts.Count(), 5);
    EXPECT_EQ(counts[1].Key[0], 2);
    EXPECT_EQ(counts[1].Count, 2);
    EXPECT_EQ(counts[1].Depth, 1);
    EXPECT_EQ(counts[1].PeriodMin, 2);
    EXPECT_EQ(counts[4].Key[0], 5);
    EXPECT_EQ(counts[4].Count, 1);
    EXPECT_EQ(counts[4].Depth, 2);
    EXPECT_EQ(counts[0].Count, 0);

    auto chn1 = w4.Create("CHN%d", 1);
    const TStatDrawArray inFirst = Window(*chn1, 0, 2, false);
    ASSERT_EQ(inFirst.Count(), 5);
    EXPECT_EQ(inFirst[3].Key[0], 4);
    EXPECT_EQ(inFirst[3].Count, 1);
    EXPECT_EQ(inFirst[1].Count, 1);
    EXPECT_EQ(inFirst[4].Key[0], 0);
    EXPECT_EQ(inFirst[4].LastDrawNo, 3);
}

TEST(ChannelKinds, CombMatchesMarkedValues)
{
    const TComb high = {13, 14, 15, 16, 17, 18, 19, 20};   // channels 4 4 4 4 5 5 5 5
    const std::vector<MatchCase> cases = {
        {"CHAN", 0, {Value(2)}, Low, true}, {"CHAN", 0, {Value(2)}, high, false},
        {"CHAN", 0, {Value(3), Value(5)}, high, true},
        {"CHAN", 0, {Value(2, 9)}, Low, true},     // the channel is the first key byte
        {"CHAN", 0, {Value(258)}, Low, true},      // 258 = 0x0102: its first byte is 2
        {"CHAN", 0, {Value(3)}, Low, false}, {"CHAN", 0, {}, Low, false},
        {"CHNV", 0, {Value(3, 0)}, Low, true},     // an empty channel is a value too
        {"CHNV", 0, {Value(3, 1)}, Low, false}, {"CHNV", 0, {Value(1, 4)}, Low, true},
        {"CHNV", 0, {Value(1, 4, 0, 1)}, Low, false}, {"CHNV", 0, {Value(5, 4)}, high, true},
        {"CHNC", 0, {Value(2)}, Low, true},
        {"CHNC", 0, {Value(2, 6)}, Low, true},     // a count is Key[0] alone
        {"CHNC", 0, {Value(3)}, Low, false}, {"CHNC", 0, {Value(5)}, Spread, true},
        {"CHN%d", 1, {Value(4)}, Low, true}, {"CHN%d", 1, {Value(0)}, high, true},
        {"CHN%d", 1, {Value(4)}, high, false}, {"CHN%d", 5, {Value(1)}, Spread, true},
        {"KCM2", 0, {Value(1, 2)}, Low, true}, {"KCM2", 0, {Value(2, 1)}, Low, false},
        {"KCM2", 0, {Value(1, 2, 0, 1)}, Low, false}, {"KCM2", 0, {Value(4, 5)}, high, true},
        {"KCM3", 0, {Value(1, 2, 2)}, Low, true}, {"KCM3", 0, {Value(2, 1, 2)}, Low, false},
        {"KCM4", 0, {Value(1, 1, 2, 2)}, Low, true}, {"KCM4", 0, {Value(2, 2, 1, 1)}, Low, false},
        {"KCM4", 0, {Value(5, 1, 1, 4)}, Spread, true},
        {"KCS2", 0, {Value(1, 1)}, Low, true}, {"KCS2", 0, {Value(2, 1)}, Low, false},
        {"KCS2", 0, {Value(2, 1)}, {5, 1, 2, 3, 4, 6, 7, 8}, true},
        {"KCS3", 0, {Value(1, 1, 2)}, Low, true}, {"KCS3", 0, {Value(1, 2, 1)}, Low, false},
        {"KCS3", 0, {Value(4, 5, 1)}, Woven, true},
        {"KCS4", 0, {Value(1, 2, 2, 2)}, Low, true}, {"KCS4", 0, {Value(1, 1, 2, 2), Value(9, 9, 9, 9)}, Low, true},
        {"KCS4", 0, {Value(1, 2, 2)}, Low, false},
    };
    ExpectMatches(Env({MakeDraw(1, Low)}), cases);
}

TEST(ChannelKinds, GraphValues)
{
    EXPECT_FALSE(KindOf("CHAN").IsGraph());
    Env e({MakeDraw(1, Spread), MakeDraw(2, Low)});
    EXPECT_EQ(e.Create("CHNC")->GetGraphValue(Spread, 0, 1, false), 5);
    EXPECT_EQ(e.Create("CHNC")->GetDrawGraphValue(1, 1, false), 2);
    EXPECT_EQ(e.Create("CHN%d", 4)->GetGraphValue(Spread, 0, 1, false), 2);
    EXPECT_EQ(e.Create("CHN%d", 2)->GetDrawGraphValue(1, 1, true), 4);
    EXPECT_EQ(e.Create("CHN%d", 2)->GetDrawGraphValue(9, 1, true), 0);   // outside the archive
}

TEST(ChannelKinds, WidthIsTakenWhenCreated)
{
    Env e;
    auto before = e.Create("CHAN");
    auto count = e.Create("CHN%d", 2);
    e.env.Config.ChannelSize = 5;
    auto after = e.Create("CHAN");
    EXPECT_EQ(before->ValueToText(Value(1)), "01 [1-4]");
    EXPECT_EQ(after->ValueToText(Value(1)), "01 [1-5]");
    TStatDrawArray a, b;
    before->CalcComb(Low, a);
    after->CalcComb(Low, b);
    EXPECT_EQ(Keys(a), (std::vector<std::array<int, 4>>{{1, 0, 0, 0}, {2, 0, 0, 0}}));
    EXPECT_EQ(Keys(b), (std::vector<std::array<int, 4>>{{1, 0, 0, 0}, {2, 0, 0, 0}}));
    EXPECT_EQ(a[0].Count, 4);
    EXPECT_EQ(b[0].Count, 5);
    EXPECT_EQ(count->GetGraphValue(Low, 0, 0, false), 4);
}

TEST(ChannelKinds, NonPositiveWidthGivesNoChannels)
{
    for (int width : {0, -3}) {
        Env e({MakeDraw(1, Low)}, Channels(width));
        TStatDrawArray values;
        e.Create("CHNV")->CalcComb(Low, values);
        EXPECT_TRUE(values.Empty()) << width;
        TStatDrawArray listed;
        e.Create("CHNC")->ListValues(0, listed);
        EXPECT_TRUE(listed.Empty()) << width;
        EXPECT_EQ(e.Create("CHNC")->GetGraphValue(Low, 0, 0, false), 1) << width;
        EXPECT_EQ(e.Create("CHN%d", 1)->GetGraphValue(Low, 0, 0, false), 0) << width;
    }
}

TEST(ChannelKinds, FullSetDistributions)
{
    Env e;
    auto count = [&](const std::string& code, int param) { return KeyCounts(FullSetValues(e, code, param)); };
    // Each channel holds 4 numbers, each number is in Binomial(19, 7) = 50388 tickets.
    std::vector<std::pair<std::array<int, 4>, int>> chan;
    for (int g = 1; g <= 5; ++g) chan.push_back({{g, 0, 0, 0}, 4 * 50388});
    EXPECT_EQ(count("CHAN", 0), chan);
    // k numbers of a channel: C(4, k) * C(16, 8 - k) tickets.
    const std::vector<int> inChannel = {12870, 45760, 48048, 17472, 1820};
    std::vector<std::pair<std::array<int, 4>, int>> chn, chnv;
    for (int k = 0; k <= 4; ++k) chn.push_back({{k, 0, 0, 0}, inChannel[std::size_t(k)]});
    for (int g = 1; g <= 5; ++g)
        for (int k = 0; k <= 4; ++k) chnv.push_back({{g, k, 0, 0}, inChannel[std::size_t(k)]});
    EXPECT_EQ(count("CHN%d", 3), chn);
    EXPECT_EQ(count("CHNV", 0), chnv);
    // Exactly j of the 5 channels occupied, by inclusion and exclusion.
    EXPECT_EQ(count("CHNC", 0), (std::vector<std::pair<std::array<int, 4>, int>>{
                                    {{2, 0, 0, 0}, 10}, {{3, 0, 0, 0}, 4920}, {{4, 0, 0, 0}, 54480},
                                    {{5, 0, 0, 0}, 66560}}));
    EXPECT_TRUE(count("KCM2", 0).empty());
}

} // namespace

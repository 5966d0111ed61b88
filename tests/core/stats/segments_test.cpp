#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/game/texts.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

constexpr auto Family = FamilyOf<kinds::AddSegmentKinds>;

// Layouts as the settings file writes them: one segment digit per number 1..20.
const char* const AllOne = "11111111111111111111";
const char* const Quarters = "11111222223333344444";
const char* const Shuffled = "33333111112222255555";   // first used: 3, 1, 2, 5
const char* const Scattered = "12312312312312312312";

const TComb Pairs = {1, 2, 6, 7, 11, 12, 16, 17};     // Quarters: 1 1 2 2 3 3 4 4
const TComb Mixed = {17, 3, 12, 8, 1, 20, 9, 14};     // Quarters: 4 1 3 2 1 4 2 3
const TComb Low = {1, 2, 3, 4, 5, 6, 7, 8};           // Quarters: 1 1 1 1 1 2 2 2

// The rest of each descriptor is in the golden list of every kind.
TEST(SegmentKinds, FamilyAndNames)
{
    EXPECT_EQ(Codes(Family()), (std::vector<std::string>{"SGMS", "SGMV", "SGMC", "KGM2", "KGM3", "KGM4", "KGS2",
                                                         "KGS3", "KGS4", "SGM%d"}));
    Env e({}, Layout(Quarters));
    EXPECT_EQ(e.Create("SGM%d", 4)->GetName(), "Количество чисел в 4 сегменте матрицы");
}

TEST(SegmentKinds, ParameterRangeFollowsTheLayout)
{
    struct Case {
        const char* layout;
        std::pair<int, int> range;
    };
    const std::vector<Case> cases = {
        {AllOne, {1, 1}},
        {Quarters, {1, 4}},
        {"33333555553333355555", {3, 5}},   // segment 4 is registered though no number uses it
        {"01234567890123456789", {0, 9}},
        {"99999999999999999999", {9, 9}},
        {"00000000000000000000", {0, 1}},
        {"22222222222222222222", {2, 2}},
        {"", {1, 1}},                       // an empty text is the default layout
    };
    for (const Case& c : cases) {
        TStatList list;
        list.Config().MatrixSegments = kv::game::TextToSegments(c.layout);
        EXPECT_EQ(KindOf("SGM%d").GetParamRange(list.Config()), c.range) << c.layout;
        list.BuildMethodList(Family());
        std::vector<std::string> codes;
        for (int i = 0; i < list.MethodCount(); ++i)
            if (list.Method(i).Kind->HasParam()) codes.push_back(list.Method(i).MethodCode());
        std::vector<std::string> expected;
        for (int p = c.range.first; p <= c.range.second; ++p) expected.push_back("SGM" + std::to_string(p));
        EXPECT_EQ(codes, expected) << c.layout;
    }
}

TEST(SegmentKinds, ValuesOfDraws)
{
    const std::vector<DrawCase> cases = {
        {"SGMS", 0, Layout(AllOne), Mixed, false, {{"1", 8}}},
        {"SGMV", 0, Layout(AllOne), Mixed, false, {{"1 x 8", 1}}},
        {"SGMC", 0, Layout(AllOne), Mixed, false, {{"1", 1}}},
        {"SGM%d", 1, Layout(AllOne), Mixed, false, {{"8", 1}}},
        {"SGMV", 0, Layout(Quarters), Pairs, false, {{"1 x 2", 1}, {"2 x 2", 1}, {"3 x 2", 1}, {"4 x 2", 1}}},
        {"SGMC", 0, Layout(Quarters), Pairs, false, {{"4", 1}}},
        {"SGMS", 0, Layout(Quarters), Mixed, false, {{"4", 2}, {"1", 2}, {"3", 2}, {"2", 2}}},
        {"SGMS", 0, Layout(Quarters), Mixed, true, {{"1", 2}, {"2", 2}, {"3", 2}, {"4", 2}}},
        {"SGMV", 0, Layout(Quarters), Low, false, {{"1 x 5", 1}, {"2 x 3", 1}, {"3 x 0", 1}, {"4 x 0", 1}}},
        {"SGMC", 0, Layout(Quarters), Low, false, {{"2", 1}}},
        // Segments in the order in which numbers 1..20 first use them, empty ones included.
        {"SGMV", 0, Layout(Shuffled), Low, false, {{"3 x 5", 1}, {"1 x 3", 1}, {"2 x 0", 1}, {"5 x 0", 1}}},
        {"SGM%d", 3, Layout(Shuffled), Low, false, {{"5", 1}}},
        {"SGM%d", 4, Layout(Shuffled), Low, false, {{"0", 1}}},   // no number lies in segment 4
        {"SGM%d", 4, Layout(Quarters), Mixed, true, {{"2", 1}}},
        {"SGMC", 0, Layout(Scattered), Low, false, {{"3", 1}}},
        // Tuples follow the order of the numbers.
        {"KGS2", 0, Layout(Quarters), Mixed, false,
         {{"4:1", 1}, {"1:3", 1}, {"3:2", 1}, {"2:1", 1}, {"1:4", 1}, {"4:2", 1}, {"2:3", 1}}},
        {"KGS2", 0, Layout(Quarters), Mixed, true,
         {{"1:1", 1}, {"1:2", 1}, {"2:2", 1}, {"2:3", 1}, {"3:3", 1}, {"3:4", 1}, {"4:4", 1}}},
        {"KGS3", 0, Layout(Quarters), Pairs, false,
         {{"1:1:2", 1}, {"1:2:2", 1}, {"2:2:3", 1}, {"2:3:3", 1}, {"3:3:4", 1}, {"3:4:4", 1}}},
        {"KGS4", 0, Layout(Scattered), Low, false, {{"1:2:3:1", 2}, {"2:3:1:2", 2}, {"3:1:2:3", 1}}},
        {"KGM2", 0, Layout(AllOne), Mixed, false, {{"1:1", 28}}},
        {"KGM2", 0, Layout(Quarters), Low, false, {{"1:1", 10}, {"1:2", 15}, {"2:2", 3}}},
        {"KGM3", 0, Layout(Quarters), Low, false, {{"1:1:1", 10}, {"1:1:2", 30}, {"1:2:2", 15}, {"2:2:2", 1}}},
        {"KGM4", 0, Layout(AllOne), Low, false, {{"1:1:1:1", 70}}},
    };
    ExpectDrawTexts(cases);
}

TEST(SegmentKinds, CombinationValues)
{
    const std::vector<CombCase> cases = {
        {"SGMS", Mixed, {{4, 0, 0, 0}, {1, 0, 0, 0}, {3, 0, 0, 0}, {2, 0, 0, 0}}},
        {"SGMV", Low, {{1, 5, 0, 0}, {2, 3, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}}},
        {"SGMC", Pairs, {{4, 0, 0, 0}}},
        {"KGM2", Low, {}},
        {"KGS3", Low, {}},
    };
    Env e({}, Layout(Quarters));
    ExpectCombKeys(e, cases);
}

TEST(SegmentKinds, TextsAndParsing)
{
    const std::vector<TextCase> cases = {
        {"SGMS", 1, Value(3), "3", 3, Layout(Quarters)},
        {"SGMC", 1, Value(4), "4", 4, Layout(Quarters)},
        {"SGM%d", 1, Value(0), "0", 0, Layout(Quarters)},
        {"SGMV", 1, Value(2, 3), "2 x 3", 0, Layout(Quarters)},
        {"SGMV", 1, Value(0, 8), "0 x 8", 0, Layout(Quarters)},
        {"KGM3", 1, Value(1, 2, 2), "1:2:2", 0, Layout(Quarters)},
        {"KGS2", 1, Value(0, 9), "0:9", 0, Layout(Quarters)},
        {"KGM4", 1, Value(4, 3, 2, 1), "4:3:2:1", 0, Layout(Quarters)},
    };
    ExpectTexts(cases);
    EXPECT_EQ(Env({}, Layout(Quarters)).Create("SGMS")->TextToValue("abc"), 0);
}

TEST(SegmentKinds, ListedValues)
{
    ExpectListed({
        {"SGMS", Layout(Quarters), KeyRange(1, 4)},
        {"SGMS", Layout(Shuffled), {{3, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}, {5, 0, 0, 0}}},
        {"SGMS", Layout(AllOne), KeyRange(1, 1)},
        {"SGMV", Layout(Quarters), {}},
        {"SGMC", Layout(Quarters), {}},
        {"SGM%d", Layout(Quarters), {}},
        {"KGM2", Layout(Quarters), {}},
        {"KGS4", Layout(Quarters), {}},
    });
}

TEST(SegmentKinds, WindowOfDraws)
{
    // The layout's segments show in every draw; counts that occur only are shown for SGMC.
    Env e({MakeDraw(20, Pairs), MakeDraw(21, Low), MakeDraw(22, Mixed)}, Layout(Quarters));
    auto sgmv = e.Create("SGMV");
    const TStatDrawArray v = Window(*sgmv, 0, 2, true);
    EXPECT_EQ(Keys(v), (std::vector<std::array<int, 4>>{{1, 2, 0, 0}, {2, 2, 0, 0}, {3, 2, 0, 0}, {4, 2, 0, 0},
                                                        {1, 5, 0, 0}, {2, 3, 0, 0}, {3, 0, 0, 0}, {4, 0, 0, 0}}));
    EXPECT_EQ(v[0].Count, 2);
    EXPECT_EQ(v[0].Depth, 1);
    EXPECT_EQ(v[0].PeriodMin, 2);
    EXPECT_EQ(v[4].Depth, 2);

    auto sgmc = e.Create("SGMC");
    const TStatDrawArray c = Window(*sgmc, 0, 2, false);
    EXPECT_EQ(Keys(c), (std::vector<std::array<int, 4>>{{4, 0, 0, 0}, {2, 0, 0, 0}}));
    EXPECT_EQ(c[0].Count, 2);

    auto sgms = e.Create("SGMS");
    const TStatDrawArray s = Window(*sgms, 0, 2, false);
    ASSERT_EQ(s.Count(), 4);
    EXPECT_EQ(s[0].Count, 2 + 5 + 2);
    EXPECT_EQ(s[0].PeriodMin, 0);   // repeats inside one draw
    EXPECT_EQ(s[0].PeriodMax, 1);
}

TEST(SegmentKinds, CombMatchesMarkedValues)
{
    const std::vector<MatchCase> cases = {
        {"SGMS", 0, {Value(3)}, Pairs, true}, {"SGMS", 0, {Value(3)}, Low, false},
        {"SGMS", 0, {Value(2, 9)}, Low, true},   // a segment is Key[0] alone
        {"SGMV", 0, {Value(3, 0)}, Low, true}, {"SGMV", 0, {Value(3, 1)}, Low, false},
        {"SGMV", 0, {Value(1, 5, 0, 1)}, Low, false}, {"SGMV", 0, {Value(1, 5)}, Low, true},
        {"SGMC", 0, {Value(2)}, Low, true}, {"SGMC", 0, {Value(4, 4)}, Pairs, true},
        {"SGMC", 0, {Value(3)}, Pairs, false},
        {"SGM%d", 1, {Value(5)}, Low, true}, {"SGM%d", 3, {Value(0)}, Low, true},
        {"SGM%d", 3, {Value(0)}, Pairs, false},
        {"KGM2", 0, {Value(1, 2)}, Low, true}, {"KGM2", 0, {Value(2, 1)}, Low, false},
        {"KGM2", 0, {Value(2, 1)}, Mixed, true},
        {"KGS2", 0, {Value(1, 3)}, Mixed, true}, {"KGS2", 0, {Value(1, 3)}, Pairs, false},
        {"KGM3", 0, {Value(4, 3, 2)}, Mixed, true},
        {"KGS3", 0, {Value(1, 1, 2)}, Pairs, true}, {"KGS3", 0, {Value(1, 2, 1)}, Pairs, false},
        {"KGM4", 0, {Value(1, 2, 3, 4)}, Pairs, true},
        {"KGS4", 0, {Value(1, 2, 3, 4)}, Pairs, false}, {"KGS4", 0, {Value(2, 2, 3, 3)}, Pairs, true},
    };
    Env e({MakeDraw(1, Pairs)}, Layout(Quarters));
    ExpectMatches(e, cases);
}

TEST(SegmentKinds, GraphValuesAndEmptyDraws)
{
    Env e({MakeDraw(1, Pairs), MakeDraw(2, Low)}, Layout(Quarters));
    EXPECT_EQ(e.Create("SGMC")->GetGraphValue(Mixed, 0, 1, false), 4);
    EXPECT_EQ(e.Create("SGMC")->GetDrawGraphValue(1, 1, false), 2);
    EXPECT_EQ(e.Create("SGM%d", 2)->GetDrawGraphValue(1, 1, false), 3);
    // A draw outside the archive holds zeros: no number lies in a segment of the layout.
    EXPECT_EQ(e.Create("SGM%d", 1)->GetDrawGraphValue(5, 1, false), 0);
    auto sgmv = e.Create("SGMV");
    EXPECT_EQ(DrawTexts(*sgmv, 5, false), (Texts{{"1 x 0", 1}, {"2 x 0", 1}, {"3 x 0", 1}, {"4 x 0", 1}}));
    EXPECT_FALSE(KindOf("SGMS").IsGraph());
}

TEST(SegmentKinds, LayoutIsTakenWhenCreated)
{
    Env e({}, Layout(Quarters));
    auto before = e.Create("SGMV");
    auto count = e.Create("SGM%d", 2);
    e.env.Config.MatrixSegments = kv::game::TextToSegments(AllOne);
    auto after = e.Create("SGMV");
    TStatDrawArray a, b;
    before->CalcComb(Low, a);
    after->CalcComb(Low, b);
    EXPECT_EQ(a.Count(), 4);
    EXPECT_EQ(Keys(b), (std::vector<std::array<int, 4>>{{1, 8, 0, 0}}));
    EXPECT_EQ(count->GetGraphValue(Low, 0, 0, false), 3);
}

TEST(SegmentKinds, FullSetDistributions)
{
    Env e({}, Layout(Quarters));   // four segments of five numbers
    auto count = [&](const std::string& code, int param) { return KeyCounts(FullSetValues(e, code, param)); };
    std::vector<std::pair<std::array<int, 4>, int>> sgms;
    for (int s = 1; s <= 4; ++s) sgms.push_back({{s, 0, 0, 0}, 5 * 50388});
    EXPECT_EQ(count("SGMS", 0), sgms);
    // k numbers of a segment of five: C(5, k) * C(15, 8 - k).
    const std::vector<int> inSegment = {6435, 32175, 50050, 30030, 6825, 455};
    std::vector<std::pair<std::array<int, 4>, int>> sgm;
    for (int k = 0; k <= 5; ++k) sgm.push_back({{k, 0, 0, 0}, inSegment[std::size_t(k)]});
    EXPECT_EQ(count("SGM%d", 4), sgm);
    EXPECT_EQ(count("SGMV", 0).size(), 24u);
    EXPECT_EQ(count("SGMC", 0), (std::vector<std::pair<std::array<int, 4>, int>>{
                                    {{2, 0, 0, 0}, 270}, {{3, 0, 0, 0}, 25200}, {{4, 0, 0, 0}, 100500}}));
    EXPECT_TRUE(count("KGM2", 0).empty());
}

} // namespace

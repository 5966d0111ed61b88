#include <gtest/gtest.h>

#include "tests/core/stats/kindtest.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/archive/sample.h"
#include "core/game/texts.h"
#include "core/stats/kinds/kinds.h"
#include "core/stats/stat.h"

using namespace kv::stats;
using namespace kv::test;

namespace {

constexpr auto TransitionKinds = FamilyOf<kinds::AddTransitionKinds>;

struct Entry {
    std::vector<int> key;   // two keys for two-draw kinds, three for three-draw kinds
    int count;
    int lastDrawNo;
    int depth;
    bool operator==(const Entry&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Entry& e)
{
    os << "{";
    for (int k : e.key) os << k << " ";
    return os << "count " << e.count << ", draw " << e.lastDrawNo << ", depth " << e.depth << "}";
}

std::vector<Entry> Entries(const TStatDrawArray& values, int keys)
{
    std::vector<Entry> r;
    for (const TStatDrawItem& it : values) {
        std::vector<int> key;
        for (int i = 0; i < 4; ++i) {
            if (i < keys)
                key.push_back(it.Key[std::size_t(i)]);
            else
                EXPECT_EQ(it.Key[std::size_t(i)], 0);
        }
        r.push_back({key, it.Count, it.LastDrawNo, it.Depth});
    }
    return r;
}

// Five draws in drawn order. With channel size 4 and the layout of five numbers per segment:
//   31: 1 2 3 4 5 6 7 8              channels 1 1 1 1 2 2 2 2   segments 1 1 1 1 1 2 2 2
//   32: 9 2 10 11 12 13 14 15        channels 3 1 3 3 3 4 4 4   segments 2 1 2 3 3 3 3 3
//   33: 16 1 17 2 3 4 5 6            channels 4 1 5 1 1 1 2 2   segments 4 1 4 1 1 1 1 2
//   34: 9 7 18 11 19 20 8 10         channels 3 2 5 3 5 5 2 3   segments 2 2 4 3 4 4 2 2
//   35: 16 3 17 20 1 2 4 5 (last)    channels 4 1 5 5 1 1 1 2   segments 4 1 4 4 1 1 1 1
TDrawsArray PositionDraws()
{
    return Draws(31, {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 2, 10, 11, 12, 13, 14, 15}, {16, 1, 17, 2, 3, 4, 5, 6},
                      {9, 7, 18, 11, 19, 20, 8, 10}, {16, 3, 17, 20, 1, 2, 4, 5}});
}

// Counts of 1..5 in the draws 41..47: 2 3 2 3 1 2 3.
TDrawsArray CountDraws()
{
    return Draws(41, {{1, 2, 6, 7, 8, 9, 10, 11}, {1, 2, 3, 6, 7, 8, 9, 10}, {4, 5, 11, 12, 13, 14, 15, 16},
                      {3, 4, 5, 16, 17, 18, 19, 20}, {5, 6, 7, 8, 9, 10, 11, 12}, {1, 5, 12, 13, 14, 15, 16, 17},
                      {2, 3, 4, 10, 11, 12, 13, 14}});
}

// Numbers within channels (width 4). The last draw holds 1, 9, 17 and 20; of the draw before
// the previous one, 1, 9 and 17 are in it, and of the previous one only 20.
TDrawsArray InsideDraws()
{
    return Draws(51, {{1, 5, 9, 13, 17, 2, 6, 10}, {2, 3, 14, 18, 19, 7, 20, 15}, {20, 9, 17, 4, 8, 12, 16, 1}});
}

// Two draws sharing 1 and 2.
TDrawsArray PairDraws()
{
    return Draws(1, {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 9, 10, 11, 12, 13, 14}});
}

constexpr const char* Fives = "11111222223333344444";

TEST(TransitionKinds, FamilyAndNames)
{
    // The rest of each descriptor is in the golden list of every kind.
    EXPECT_EQ(Codes(TransitionKinds()),
              (std::vector<std::string>{"SDV2", "SDP2", "SDN%d", "SDP3", "SDM%d", "SCV2", "SCP2", "SCN%d",
                                        "SCP3", "SCM%d", "SC2C%d", "SC3C%d", "SDA2", "SDG2", "SDZ2", "SDC2",
                                        "SSV2", "SSP2", "SSN%d", "SSP3", "SSM%d", "SS2C%d", "SS3C%d"}));
    EXPECT_EQ(KindOf("SDN%d").FormatCode(3), "SDN3");
    EXPECT_EQ(KindOf("SDN%d").FormatCaption(3), "Переходы чисел между 2 тиражами в 3 позиции");
    EXPECT_EQ(KindOf("SC3C%d").FormatCode(5), "SC3C5");
    EXPECT_EQ(KindOf("SC3C%d").FormatCaption(5), "Переходы кол-ва чисел в 5 канале между 3 тиражами");
    EXPECT_EQ(KindOf("SS2C%d").FormatCaption(0), "Переходы кол-ва чисел в 0 сегменте между 2 тиражами");
    Env e;
    EXPECT_EQ(e.Create("SSM%d", 8)->GetName(), "Переходы сегментов между 3 тиражами в 8 позиции");
    EXPECT_EQ(e.Create("SDA2")->GetName(), "Переходы чисел в пределах каналов (все)");
}

TEST(TransitionKinds, ParameterRangesFollowTheSettings)
{
    struct Case {
        int channelSize;
        const char* layout;
        std::pair<int, int> channels;
        std::pair<int, int> segments;
    };
    const std::vector<Case> cases = {
        {4, "", {1, 5}, {1, 1}},
        {5, Fives, {1, 4}, {1, 4}},
        {3, "33333333335555555555", {1, 7}, {3, 5}},
        {20, "00000000000000000000", {1, 1}, {0, 1}},
        {2, "99999999999999999999", {1, 10}, {9, 9}},
        {7, "00000000009999999999", {1, 3}, {0, 9}},
        {0, "", {1, 0}, {1, 1}},    // no channels: nothing registered
        {-3, "", {1, 0}, {1, 1}},
    };
    for (const Case& c : cases) {
        TConfigData config;
        config.ChannelSize = c.channelSize;
        config.MatrixSegments = kv::game::TextToSegments(c.layout);
        EXPECT_EQ(KindOf("SC2C%d").GetParamRange(config), c.channels) << c.channelSize;
        EXPECT_EQ(KindOf("SC3C%d").GetParamRange(config), c.channels) << c.channelSize;
        EXPECT_EQ(KindOf("SS2C%d").GetParamRange(config), c.segments) << c.layout;
        EXPECT_EQ(KindOf("SS3C%d").GetParamRange(config), c.segments) << c.layout;
        for (const char* code : {"SDN%d", "SDM%d", "SCN%d", "SCM%d", "SSN%d", "SSM%d"})
            EXPECT_EQ(KindOf(code).GetParamRange(config), (std::pair<int, int>(1, 8))) << code;
    }
}

TEST(TransitionKinds, ValuesOverAWindow)
{
    const TDrawsArray positionDraws = PositionDraws();
    const TDrawsArray pairDraws = PairDraws();
    const TDrawsArray insideDraws = InsideDraws();
    struct Case {
        const char* code;
        int param;
        const TDrawsArray* draws;
        const char* layout;
        bool sorted;
        std::vector<Entry> values;
        std::vector<std::string> texts;   // of the first values
    };
    const std::vector<Case> cases = {
        // Two numbers shared by the previous and the last draw, times the 8 numbers of the draw.
        {"SDV2", 0, &pairDraws, "", false,
         {{{1, 1}, 1, 2, 1}, {{1, 2}, 1, 2, 1}, {{1, 9}, 1, 2, 1}, {{1, 10}, 1, 2, 1}, {{1, 11}, 1, 2, 1},
          {{1, 12}, 1, 2, 1}, {{1, 13}, 1, 2, 1}, {{1, 14}, 1, 2, 1}, {{2, 1}, 1, 2, 1}, {{2, 2}, 1, 2, 1},
          {{2, 9}, 1, 2, 1}, {{2, 10}, 1, 2, 1}, {{2, 11}, 1, 2, 1}, {{2, 12}, 1, 2, 1}, {{2, 13}, 1, 2, 1},
          {{2, 14}, 1, 2, 1}},
         {"1 -> 1", "1 -> 2", "1 -> 9"}},
        // Channels: 1..4 of the previous draw are all channel 1, which the last draw has; each
        // counts again for every number of the draw.
        {"SCV2", 0, &pairDraws, "", false, {{{1, 1}, 8, 2, 1}, {{1, 3}, 16, 2, 1}, {{1, 4}, 8, 2, 1}},
         {"01 -> 01", "01 -> 03", "01 -> 04"}},
        {"SSV2", 0, &pairDraws, Fives, false,
         {{{1, 1}, 10, 2, 1}, {{1, 2}, 10, 2, 1}, {{1, 3}, 20, 2, 1}, {{2, 1}, 6, 2, 1}, {{2, 2}, 6, 2, 1},
          {{2, 3}, 12, 2, 1}},
         {"1 -> 1", "1 -> 2", "1 -> 3"}},
        // Same position: 16 and 17 of draw 33 stand where the last draw has them.
        {"SDP2", 0, &positionDraws, "", false, {{{16, 9}, 1, 34, 2}, {{17, 18}, 1, 34, 2}},
         {"16 -> 9", "17 -> 18"}},
        // Sorted, the positions hold other numbers.
        {"SDP2", 0, &positionDraws, "", true,
         {{{1, 2}, 1, 32, 4}, {{2, 9}, 1, 32, 4}, {{3, 10}, 1, 32, 4}, {{4, 11}, 1, 32, 4}, {{5, 12}, 1, 32, 4},
          {{1, 7}, 1, 34, 2}, {{2, 8}, 1, 34, 2}, {{3, 9}, 1, 34, 2}, {{4, 10}, 1, 34, 2}, {{5, 11}, 1, 34, 2},
          {{20, 20}, 1, 35, 1}},
         {"1 -> 2"}},
        {"SDN%d", 1, &positionDraws, "", false, {{{16, 9}, 1, 34, 2}}, {"16 -> 9"}},
        {"SDN%d", 3, &positionDraws, "", false, {{{17, 18}, 1, 34, 2}}, {}},
        {"SDN%d", 2, &positionDraws, "", false, {}, {}},
        {"SDN%d", 1, &positionDraws, "", true, {{{1, 2}, 1, 32, 4}, {{1, 7}, 1, 34, 2}}, {}},
        {"SDN%d", 8, &positionDraws, "", true, {{{20, 20}, 1, 35, 1}}, {"20 -> 20"}},
        // Two-draw pattern: 9, 16 at position 1 of draws 32, 33 as 34, 35 have it.
        {"SDP3", 0, &positionDraws, "", false, {{{9, 16, 9}, 1, 34, 2}}, {"9-16 -> 9"}},
        {"SDP3", 0, &positionDraws, "", true, {}, {}},
        {"SDM%d", 1, &positionDraws, "", false, {{{9, 16, 9}, 1, 34, 2}}, {}},
        {"SDM%d", 3, &positionDraws, "", false, {}, {}},
        {"SCP2", 0, &positionDraws, "", false,
         {{{1, 1}, 2, 33, 3}, {{2, 4}, 1, 32, 4}, {{4, 3}, 1, 34, 2}, {{1, 2}, 1, 34, 2}, {{5, 5}, 2, 35, 1},
          {{1, 5}, 2, 34, 2}, {{2, 3}, 1, 34, 2}},
         {"01 -> 01", "02 -> 04", "04 -> 03"}},
        {"SCN%d", 2, &positionDraws, "", false, {{{1, 1}, 2, 33, 3}, {{1, 2}, 1, 34, 2}}, {}},
        {"SCP3", 0, &positionDraws, "", false, {{{3, 4, 3}, 1, 34, 2}, {{5, 5, 5}, 1, 35, 1}},
         {"03-04 -> 03", "05-05 -> 05"}},
        {"SCM%d", 3, &positionDraws, "", false, {{{5, 5, 5}, 1, 35, 1}}, {}},
        {"SSP2", 0, &positionDraws, Fives, false,
         {{{1, 1}, 2, 33, 3}, {{1, 3}, 1, 32, 4}, {{4, 2}, 1, 34, 2}, {{1, 2}, 2, 34, 2}, {{4, 4}, 2, 35, 1},
          {{1, 4}, 2, 34, 2}},
         {"1 -> 1", "1 -> 3"}},
        {"SSN%d", 5, &positionDraws, Fives, false, {{{1, 3}, 1, 32, 4}, {{1, 4}, 1, 34, 2}}, {}},
        {"SSP3", 0, &positionDraws, Fives, false, {{{2, 4, 2}, 1, 34, 2}, {{4, 4, 4}, 1, 35, 1}},
         {"2-4 -> 2", "4-4 -> 4"}},
        {"SSM%d", 1, &positionDraws, Fives, false, {{{2, 4, 2}, 1, 34, 2}}, {}},
        // Every number in segment 1: each position repeats 1 -> 1 from the second draw on.
        {"SSN%d", 4, &positionDraws, "", false, {{{1, 1}, 4, 35, 1}}, {"1 -> 1"}},
        {"SSM%d", 4, &positionDraws, "", true, {{{1, 1, 1}, 3, 35, 1}}, {"1-1 -> 1"}},
        // Numbers within channels; the draws are read in drawn order even when sorted.
        {"SDA2", 0, &insideDraws, "", false,
         {{{1, 2}, 1, 52, 2}, {{1, 3}, 1, 52, 2}, {{9, 0}, 1, 52, 2}, {{17, 18}, 1, 52, 2}, {{17, 19}, 1, 52, 2},
          {{17, 20}, 1, 52, 2}, {{20, 20}, 1, 53, 1}, {{20, 17}, 1, 53, 1}},
         {"01 -> 02", "01 -> 03", "09 -> 00", "17 -> 18"}},
        {"SDA2", 0, &insideDraws, "", true,
         {{{1, 2}, 1, 52, 2}, {{1, 3}, 1, 52, 2}, {{9, 0}, 1, 52, 2}, {{17, 18}, 1, 52, 2}, {{17, 19}, 1, 52, 2},
          {{17, 20}, 1, 52, 2}, {{20, 20}, 1, 53, 1}, {{20, 17}, 1, 53, 1}},
         {}},
        {"SDG2", 0, &insideDraws, "", false,
         {{{1, 2}, 1, 52, 2}, {{1, 3}, 1, 52, 2}, {{17, 18}, 1, 52, 2}, {{17, 19}, 1, 52, 2}, {{17, 20}, 1, 52, 2},
          {{20, 20}, 1, 53, 1}, {{20, 17}, 1, 53, 1}},
         {"01 -> 02"}},
        {"SDZ2", 0, &insideDraws, "", false, {{{9, 0}, 1, 52, 2}}, {"09 -> 00"}},
        {"SDC2", 0, &insideDraws, "", false,
         {{{1, 2}, 1, 52, 2}, {{9, 0}, 1, 52, 2}, {{17, 3}, 1, 52, 2}, {{20, 2}, 1, 53, 1}},
         {"1 -> 2", "9 -> 0", "17 -> 3", "20 -> 2"}},
    };
    for (const Case& c : cases) {
        Env e(*c.draws, Layout(c.layout));
        auto s = e.Create(c.code, c.param);
        const TStatDrawArray values = Window(*s, 0, int(c.draws->size()) - 1, c.sorted);
        const int keys = std::string(c.code).find('3') != std::string::npos || c.code[2] == 'M' ? 3 : 2;
        EXPECT_EQ(Entries(values, keys), c.values) << c.code << c.param << " sorted " << c.sorted;
        for (std::size_t i = 0; i < c.texts.size() && i < std::size_t(values.Count()); ++i)
            EXPECT_EQ(s->ValueToText(values[int(i)]), c.texts[i]) << c.code;
    }
}

TEST(TransitionKinds, RepeatedTransitionsMeasurePeriods)
{
    Env e(PositionDraws());
    auto scp2 = e.Create("SCP2");
    const TStatDrawArray v = Window(*scp2, 0, 4, false);
    // 01 -> 01 in draws 32 and 33; 01 -> 05 twice in draw 34 (a gap of 0).
    const TStatDrawItem& a = v[v.Find(Value(1, 1))];
    EXPECT_EQ(a.PeriodMin, 1);
    EXPECT_EQ(a.PeriodMax, 1);
    const TStatDrawItem& b = v[v.Find(Value(1, 5))];
    EXPECT_EQ(b.PeriodMin, 0);
    EXPECT_EQ(b.PeriodMax, 0);
    EXPECT_EQ(b.PrevDrawNo, 34);
}

TEST(TransitionKinds, CountsListedInAdvance)
{
    const TDrawsArray counts = CountDraws();
    struct Case {
        const char* code;
        int param;
        int channelSize;
        const char* layout;
        int first, last;
        std::vector<Entry> values;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        // Channel 1 of width 5: after 42 and 44 (3 numbers, as the last draw) came 2 and 1.
        {"SC2C%d", 1, 5, "", 0, 6,
         {{{3, 0}, 0, 0, 0}, {{3, 1}, 1, 45, 3}, {{3, 2}, 1, 43, 5}, {{3, 3}, 0, 0, 0}, {{3, 4}, 0, 0, 0},
          {{3, 5}, 0, 0, 0}},
         {"03 -> 00", "03 -> 01", "03 -> 02", "03 -> 03", "03 -> 04", "03 -> 05"}},
        // The draw before the window still serves as the previous draw.
        {"SC2C%d", 1, 5, "", 4, 6,
         {{{3, 0}, 0, 0, 0}, {{3, 1}, 1, 45, 3}, {{3, 2}, 0, 0, 0}, {{3, 3}, 0, 0, 0}, {{3, 4}, 0, 0, 0},
          {{3, 5}, 0, 0, 0}},
         {}},
        // The window ending at 45 (1 number): no earlier draw had 1; the list follows the last draw.
        {"SC2C%d", 1, 5, "", 0, 4,
         {{{1, 0}, 0, 0, 0}, {{1, 1}, 0, 0, 0}, {{1, 2}, 0, 0, 0}, {{1, 3}, 0, 0, 0}, {{1, 4}, 0, 0, 0},
          {{1, 5}, 0, 0, 0}},
         {"01 -> 00"}},
        // Width 4: 1..4 in the draws: 2 3 1 2 0 1 3.
        {"SC2C%d", 1, 4, "", 0, 6,
         {{{3, 0}, 0, 0, 0}, {{3, 1}, 1, 43, 5}, {{3, 2}, 0, 0, 0}, {{3, 3}, 0, 0, 0}, {{3, 4}, 0, 0, 0}},
         {}},
        {"SC3C%d", 1, 5, "", 0, 6,
         {{{2, 3, 0}, 0, 0, 0}, {{2, 3, 1}, 1, 45, 3}, {{2, 3, 2}, 1, 43, 5}, {{2, 3, 3}, 0, 0, 0},
          {{2, 3, 4}, 0, 0, 0}, {{2, 3, 5}, 0, 0, 0}},
         {"02-03 -> 00", "02-03 -> 01"}},
        // Segments list only the transition to 0.
        {"SS2C%d", 1, 4, Fives, 0, 6, {{{3, 0}, 0, 0, 0}, {{3, 2}, 1, 43, 5}, {{3, 1}, 1, 45, 3}},
         {"3 -> 0", "3 -> 2", "3 -> 1"}},
        {"SS3C%d", 1, 4, Fives, 0, 6, {{{2, 3, 2}, 1, 43, 5}, {{2, 3, 1}, 1, 45, 3}}, {"2-3 -> 2", "2-3 -> 1"}},
        // A segment that no number uses: every draw has 0 of it.
        {"SS2C%d", 7, 4, Fives, 0, 6, {{{0, 0}, 6, 47, 1}}, {"0 -> 0"}},
        {"SS3C%d", 7, 4, Fives, 0, 6, {{{0, 0, 0}, 5, 47, 1}}, {"0-0 -> 0"}},
    };
    for (const Case& c : cases) {
        Env e(counts, Layout(c.layout, c.channelSize));
        auto s = e.Create(c.code, c.param);
        const TStatDrawArray values = Window(*s, c.first, c.last, false);
        const int keys = std::string(c.code).find('3') != std::string::npos ? 3 : 2;
        EXPECT_EQ(Entries(values, keys), c.values) << c.code << c.param << " " << c.first << ".." << c.last;
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < c.texts.size() && i < std::size_t(values.Count()); ++i)
            texts.push_back(s->ValueToText(values[int(i)]));
        EXPECT_EQ(texts, c.texts) << c.code;
    }
}

TEST(TransitionKinds, FirstDrawsOfTheArchiveAddNothing)
{
    Env e(kv::archive::SyntheticDraws(40, 3), Layout(Fives));
    for (const TStatKind* k : TransitionKinds()) {
        const bool three = k->GetCaption().find("3 тиражами") != std::string::npos;
        const int param = k->HasParam() ? 1 : 0;
        auto s = k->Create(e.env, param);
        for (int index : {0, 1}) {
            const TStatDrawArray values = DrawValues(*s, index, 39, false);
            if (index == 0 || three) {
                EXPECT_TRUE(values.Empty()) << k->GetCode() << " " << index;
            }
        }
    }

    // A draw numbered 0 does not count as a previous draw.
    TDrawsArray draws = PairDraws();
    draws[0].DrawNo = 0;
    Env zero(draws);
    EXPECT_TRUE(Window(*zero.Create("SDV2"), 1, 1, false).Empty());
    EXPECT_EQ(Window(*Env(PairDraws()).Create("SDV2"), 1, 1, false).Count(), 16);
}

TEST(TransitionKinds, FilterLooksAtTheFollowingItem)
{
    const TDrawsArray positionDraws = PositionDraws();
    const TDrawsArray pairDraws = PairDraws();
    const TDrawsArray countDraws = CountDraws();
    const TDrawsArray insideDraws = InsideDraws();
    struct Case {
        const char* code;
        int param;
        const TDrawsArray* draws;
        int channelSize;
        const char* layout;
        int lastIndex;
        std::vector<TStatDrawItem> marked;
        TComb comb;
        bool matches;
    };
    const std::vector<Case> cases = {
        // The "to" item decides; the "from" items are not looked at.
        {"SDV2", 0, &pairDraws, 4, "", 1, {Value(5, 7)}, {1, 2, 3, 4, 5, 6, 7, 8}, true},
        {"SDV2", 0, &pairDraws, 4, "", 1, {Value(5, 7)}, {1, 2, 3, 4, 5, 6, 8, 9}, false},
        {"SDP2", 0, &positionDraws, 4, "", 4, {Value(16, 9)}, {1, 2, 3, 4, 5, 6, 8, 9}, true},
        {"SDP2", 0, &positionDraws, 4, "", 4, {Value(16, 9)}, {1, 2, 3, 4, 5, 6, 8, 16}, false},
        {"SDN%d", 5, &positionDraws, 4, "", 4, {Value(16, 9)}, {9, 10, 11, 12, 13, 14, 15, 16}, true},
        {"SDP3", 0, &positionDraws, 4, "", 4, {Value(9, 16, 9)}, {1, 2, 3, 4, 5, 6, 8, 9}, true},
        {"SDP3", 0, &positionDraws, 4, "", 4, {Value(9, 16, 9)}, {1, 2, 3, 4, 5, 6, 8, 16}, false},
        {"SDM%d", 2, &positionDraws, 4, "", 4, {Value(3, 3, 20)}, {13, 14, 15, 16, 17, 18, 19, 20}, true},
        {"SCP2", 0, &positionDraws, 4, "", 4, {Value(1, 4)}, {1, 2, 3, 4, 5, 6, 7, 14}, true},
        {"SCP2", 0, &positionDraws, 4, "", 4, {Value(1, 4)}, {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {"SCV2", 0, &positionDraws, 5, "", 4, {Value(1, 4)}, {1, 2, 3, 4, 5, 6, 7, 16}, true},
        {"SCV2", 0, &positionDraws, 5, "", 4, {Value(1, 4)}, {1, 2, 3, 4, 5, 6, 7, 15}, false},
        {"SCP3", 0, &positionDraws, 4, "", 4, {Value(3, 4, 3)}, {1, 2, 3, 4, 5, 6, 7, 10}, true},
        {"SCP3", 0, &positionDraws, 4, "", 4, {Value(3, 4, 3)}, {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {"SSP2", 0, &positionDraws, 4, Fives, 4, {Value(4, 2)}, {1, 2, 3, 4, 5, 6, 11, 12}, true},
        {"SSP2", 0, &positionDraws, 4, Fives, 4, {Value(4, 2)}, {1, 2, 3, 4, 5, 11, 12, 13}, false},
        {"SSV2", 0, &positionDraws, 4, Fives, 4, {Value(1, 3)}, {1, 2, 3, 4, 5, 11, 12, 13}, true},
        {"SSP3", 0, &positionDraws, 4, Fives, 4, {Value(2, 4, 2)}, {1, 2, 3, 4, 5, 6, 11, 12}, true},
        {"SSM%d", 1, &positionDraws, 4, Fives, 4, {Value(2, 4, 2)}, {1, 2, 3, 4, 5, 11, 12, 13}, false},
        // Counts: the count of the combination in the item is the "to" count.
        {"SC2C%d", 1, &countDraws, 5, "", 6, {Value(3, 1)}, {5, 11, 12, 13, 14, 15, 16, 17}, true},
        {"SC2C%d", 1, &countDraws, 5, "", 6, {Value(3, 1)}, {1, 2, 3, 4, 5, 6, 7, 8}, false},
        {"SC2C%d", 1, &countDraws, 5, "", 6, {Value(3, 5)}, {1, 2, 3, 4, 5, 6, 7, 8}, true},
        {"SC2C%d", 2, &countDraws, 5, "", 6, {Value(0, 0)}, {1, 2, 3, 4, 5, 11, 12, 13}, true},
        {"SC3C%d", 1, &countDraws, 5, "", 6, {Value(2, 3, 2)}, {1, 2, 11, 12, 13, 14, 15, 16}, true},
        {"SC3C%d", 1, &countDraws, 5, "", 6, {Value(2, 3, 2)}, {1, 11, 12, 13, 14, 15, 16, 17}, false},
        {"SS2C%d", 1, &countDraws, 4, Fives, 6, {Value(3, 0)}, {6, 7, 8, 9, 10, 11, 12, 13}, true},
        {"SS2C%d", 1, &countDraws, 4, Fives, 6, {Value(3, 0)}, {5, 7, 8, 9, 10, 11, 12, 13}, false},
        {"SS3C%d", 1, &countDraws, 4, Fives, 6, {Value(2, 3, 1)}, {5, 11, 12, 13, 14, 15, 16, 17}, true},
        // Within channels, against the last draw {20, 9, 17, 4, 8, 12, 16, 1}.
        {"SDA2", 0, &insideDraws, 4, "", 2, {Value(1, 2)}, {2, 5, 6, 7, 13, 14, 15, 19}, true},
        {"SDA2", 0, &insideDraws, 4, "", 2, {Value(1, 2)}, {3, 5, 6, 7, 13, 14, 15, 19}, false},
        {"SDA2", 0, &insideDraws, 4, "", 2, {Value(9, 0)}, {2, 5, 6, 7, 13, 14, 15, 19}, false},
        {"SDA2", 0, &insideDraws, 4, "", 2, {Value(9, 0)}, {3, 5, 6, 7, 10, 14, 15, 19}, true},
        {"SDA2", 0, &insideDraws, 4, "", 2, {Value(1, 0)}, {3, 5, 6, 7, 13, 14, 15, 19}, true},
        {"SDA2", 0, &insideDraws, 4, "", 2, {Value(5, 6)}, {3, 5, 6, 7, 10, 14, 15, 19}, false},   // 5 not last
        {"SDA2", 0, &insideDraws, 4, "", 1, {Value(9, 0)}, {3, 5, 6, 7, 10, 14, 15, 19}, false},   // 9 not in 52
        {"SDZ2", 0, &insideDraws, 4, "", 2, {Value(9, 0)}, {3, 5, 6, 7, 11, 14, 15, 19}, true},
        {"SDG2", 0, &insideDraws, 4, "", 2, {Value(17, 18)}, {1, 2, 3, 5, 6, 7, 8, 18}, true},
        {"SDG2", 0, &insideDraws, 4, "", 2, {Value(17, 18)}, {1, 2, 3, 5, 6, 7, 8, 19}, false},
        {"SDC2", 0, &insideDraws, 4, "", 2, {Value(17, 3)}, {5, 6, 7, 8, 10, 11, 12, 18}, true},
        {"SDC2", 0, &insideDraws, 4, "", 2, {Value(17, 3)}, {5, 6, 7, 8, 10, 11, 12, 13}, false},
        // A count kind's marked value also matches the number equal to its count.
        {"SDC2", 0, &insideDraws, 4, "", 2, {Value(17, 3)}, {3, 5, 6, 7, 8, 10, 11, 12}, true},
        {"SDC2", 0, &insideDraws, 4, "", 2, {Value(5, 2)}, {5, 6, 7, 8, 10, 11, 12, 13}, false},
    };
    for (const Case& c : cases) {
        Env e(*c.draws, Layout(c.layout, c.channelSize));
        auto s = e.Create(c.code, c.param);
        const TStatDrawArray marked = Marked(c.marked);
        for (bool exclude : {false, true})
            EXPECT_EQ(Matches(*s, c.comb, marked, c.lastIndex, true, exclude), c.matches)
                << c.code << c.param << " " << s->ValueToText(marked[0]) << " exclude " << exclude;
    }
}

// Values of a window's table (one-position kinds may have few) and some of every shape keep
// tickets.
TEST(TransitionKinds, MarkedValuesOfAWindowKeepTickets)
{
    Env e(kv::archive::SyntheticDraws(150, 21), Layout("12312312312312312312", 3));
    const std::vector<TComb> sample = EveryNthComb(53);
    for (const TStatKind* k : TransitionKinds()) {
        auto s = k->Create(e.env, k->HasParam() ? 2 : 0);
        const TStatDrawArray table = Window(*s, 50, 149, true);
        std::vector<TStatDrawItem> picks = {Value(1, 3), Value(9, 0), Value(4, 4, 2), Value(17, 2, 5), Value(20, 20)};
        for (int i = 0; i < table.Count(); i += 4) picks.push_back(table[i]);
        EXPECT_GT(Kept(*s, sample, Marked(picks), 149, true, false), 0) << k->GetCode();
    }
}

TEST(TransitionKinds, TextsAndSettings)
{
    Env e(CountDraws(), Layout(Fives, 5));
    const std::vector<TextCase> cases = {
        {"SDV2", 1, Value(20, 1), "20 -> 1", 0, Layout(Fives, 5)},
        {"SDP3", 1, Value(1, 2, 3), "1-2 -> 3", 0, Layout(Fives, 5)},
        {"SCV2", 1, Value(4, 1), "04 -> 01", 0, Layout(Fives, 5)},
        {"SCM%d", 1, Value(1, 10, 2), "01-10 -> 02", 0, Layout(Fives, 5)},
        {"SC2C%d", 1, Value(0, 5), "00 -> 05", 0, Layout(Fives, 5)},
        {"SC3C%d", 1, Value(1, 2, 0), "01-02 -> 00", 0, Layout(Fives, 5)},
        {"SDA2", 1, Value(5, 0), "05 -> 00", 0, Layout(Fives, 5)},
        {"SDG2", 1, Value(13, 16), "13 -> 16", 0, Layout(Fives, 5)},
        {"SDC2", 1, Value(13, 0), "13 -> 0", 0, Layout(Fives, 5)},
        {"SSV2", 1, Value(0, 9), "0 -> 9", 0, Layout(Fives, 5)},
        {"SSM%d", 1, Value(3, 3, 4), "3-3 -> 4", 0, Layout(Fives, 5)},
        {"SS2C%d", 1, Value(2, 0), "2 -> 0", 0, Layout(Fives, 5)},
    };
    ExpectTexts(cases);
    for (const TextCase& c : cases) ExpectNoPlainValues(*e.Create(c.code, 1), 3, 3, 6);
    // Only the count kinds list values in advance.
    for (const TStatKind* k : TransitionKinds()) {
        auto s = k->Create(e.env, 1);
        TStatDrawArray values;
        s->ListValues(6, values);
        const std::string code = k->GetCode();
        const int want = code == "SC2C%d" || code == "SC3C%d" ? 6 : code == "SS2C%d" ? 1 : 0;
        EXPECT_EQ(values.Count(), want) << code;
    }

    // Width and layout are those of the moment of creation.
    auto sc2c = e.Create("SC2C%d", 1);
    auto ss2c = e.Create("SS2C%d", 2);
    e.env.Config.ChannelSize = 4;
    e.env.Config.MatrixSegments = kv::game::TextToSegments("");
    TStatDrawArray listed;
    sc2c->ListValues(6, listed);
    EXPECT_EQ(listed.Count(), 6);   // 3 -> 0..5
    EXPECT_EQ(listed[0].Key[0], 3);
    EXPECT_TRUE(ss2c->CombMatches({6, 7, 8, 9, 10, 11, 12, 13}, Marked({Value(0, 5)}), 6, false, false));
    // 5 and 4 share channel 1 of width 5, not of width 4.
    Env inside({MakeDraw(1, {5, 6, 7, 8, 9, 10, 11, 12}), MakeDraw(2, {5, 13, 14, 15, 16, 17, 18, 19})}, Channels(5));
    auto wide = inside.Create("SDZ2");
    inside.env.Config.ChannelSize = 4;
    EXPECT_TRUE(wide->CombMatches({4, 13, 14, 15, 16, 17, 18, 19}, Marked({Value(5, 0)}), 1, false, false));
    EXPECT_FALSE(inside.Create("SDZ2")->CombMatches({4, 13, 14, 15, 16, 17, 18, 19}, Marked({Value(5, 0)}), 1,
                                                    false, false));
}

} // namespace

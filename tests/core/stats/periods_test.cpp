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

// 5 in the draws numbered 100, 103 and 104; 1..4 in 100 and 102; 6..8 in 100 and 104.
TDrawsArray NumberDraws()
{
    return Draws(100, {{5, 1, 2, 3, 4, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}, {17, 18, 19, 20, 1, 2, 3, 4},
                       {5, 9, 10, 11, 12, 13, 14, 15}, {20, 19, 18, 17, 5, 6, 7, 8}});
}

// Channel size 5: channel 2 (6..10) in the first draw and again, twice, in the last.
TDrawsArray ChannelDraws()
{
    return Draws(1, {{6, 1, 2, 3, 4, 5, 11, 12}, {1, 2, 3, 4, 11, 12, 13, 14}, {1, 2, 3, 4, 11, 12, 13, 14},
                     {1, 2, 3, 4, 11, 12, 13, 14}, {6, 9, 1, 2, 11, 12, 16, 17}});
}

// The rest of each descriptor is in the golden list of every kind.
TEST(PeriodKinds, Family)
{
    EXPECT_EQ(Codes(KindsOf(kinds::AddPeriodKinds)), (std::vector<std::string>{"PRDV", "PRDC", "PRDG"}));
}

TEST(PeriodKinds, PeriodsOverAWindow)
{
    const TDrawsArray numbers = NumberDraws();
    const TDrawsArray channels = ChannelDraws();
    // Segments 3 (1..10) and 5 (11..20); the draw numbers jump from 10 to 12.
    const TDrawsArray segments = {MakeDraw(10, {1, 2, 3, 4, 5, 6, 7, 8}),
                                  MakeDraw(12, {11, 12, 13, 14, 15, 16, 17, 18}),
                                  MakeDraw(13, {1, 2, 3, 4, 11, 12, 13, 14})};
    struct Case {
        const char* code;
        const TDrawsArray* draws;
        int channelSize;
        const char* layout;
        int first, last;
        std::vector<PairEntry> values;
        std::vector<std::string> texts;   // of the first values
    };
    const std::vector<Case> cases = {
        {"PRDV", &numbers, 4, "", 0, 4,
         {{1, 2, 1, 102, 3}, {2, 2, 1, 102, 3}, {3, 2, 1, 102, 3}, {4, 2, 1, 102, 3}, {5, 3, 1, 103, 2},
          {9, 2, 1, 103, 2}, {10, 2, 1, 103, 2}, {11, 2, 1, 103, 2}, {12, 2, 1, 103, 2}, {13, 2, 1, 103, 2},
          {14, 2, 1, 103, 2}, {15, 2, 1, 103, 2}, {20, 2, 1, 104, 1}, {19, 2, 1, 104, 1}, {18, 2, 1, 104, 1},
          {17, 2, 1, 104, 1}, {5, 1, 1, 104, 1}, {6, 4, 1, 104, 1}, {7, 4, 1, 104, 1}, {8, 4, 1, 104, 1}},
         {"1 x 2", "2 x 2"}},
        // The first occurrence of a number in the window adds nothing: 5 of draw 100 is outside.
        {"PRDV", &numbers, 4, "", 1, 4,
         {{9, 2, 1, 103, 2}, {10, 2, 1, 103, 2}, {11, 2, 1, 103, 2}, {12, 2, 1, 103, 2}, {13, 2, 1, 103, 2},
          {14, 2, 1, 103, 2}, {15, 2, 1, 103, 2}, {20, 2, 1, 104, 1}, {19, 2, 1, 104, 1}, {18, 2, 1, 104, 1},
          {17, 2, 1, 104, 1}, {5, 1, 1, 104, 1}},
         {"9 x 2"}},
        {"PRDV", &numbers, 4, "", 4, 4, {}, {}},
        // 6 and 9 of the last draw are both channel 2, last seen 4 draws earlier: added once.
        {"PRDC", &channels, 5, "", 0, 4, {{1, 1, 4, 5, 1}, {3, 1, 4, 5, 1}, {2, 4, 1, 5, 1}},
         {"01 x 1", "03 x 1", "02 x 4"}},
        {"PRDC", &channels, 4, "", 0, 4,
         {{1, 1, 4, 5, 1}, {3, 1, 4, 5, 1}, {4, 1, 3, 5, 1}, {2, 4, 1, 5, 1}},
         {"01 x 1", "03 x 1", "04 x 1", "02 x 4"}},
        {"PRDG", &segments, 4, "33333333335555555555", 0, 2, {{3, 3, 1, 13, 1}, {5, 1, 1, 13, 1}},
         {"3 x 3", "5 x 1"}},
        {"PRDG", &segments, 4, "", 0, 2, {{1, 2, 1, 12, 2}, {1, 1, 1, 13, 1}}, {"1 x 2", "1 x 1"}},
    };
    for (const Case& c : cases) {
        Env e(*c.draws, Layout(c.layout, c.channelSize));
        auto s = e.Create(c.code);
        const TStatDrawArray values = Window(*s, c.first, c.last, false);
        EXPECT_EQ(PairEntries(values), c.values) << c.code << " " << c.first << ".." << c.last;
        for (std::size_t i = 0; i < c.texts.size() && i < std::size_t(values.Count()); ++i)
            EXPECT_EQ(s->ValueToText(values[int(i)]), c.texts[i]) << c.code;
    }
}

TEST(PeriodKinds, RepeatedPeriodsAndGapsInTheNumbering)
{
    // 5 in every draw; the numbering jumps from 3 to 9.
    Env e({MakeDraw(1, {5, 1, 2, 3, 4, 6, 7, 8}), MakeDraw(2, {5, 9, 10, 11, 12, 13, 14, 15}),
           MakeDraw(3, {5, 1, 2, 3, 4, 6, 7, 8}), MakeDraw(9, {5, 9, 10, 11, 12, 13, 14, 15})});
    auto prdv = e.Create("PRDV");
    const TStatDrawArray values = Window(*prdv, 0, 3, false);
    EXPECT_EQ(CountersOf(At(values, Value(5, 1))), (Counters{2, 3, 2, 1, 1}));
    EXPECT_EQ(CountersOf(At(values, Value(5, 6))), (Counters{1, 9, 1, 0, 0}));
    EXPECT_EQ(prdv->ValueToText(At(values, Value(5, 6))), "5 x 6");
    // 9..15 come back after 7 draw numbers, 1..4 and 6..8 after 2.
    EXPECT_GE(values.Find(Value(9, 7)), 0);
    EXPECT_GE(values.Find(Value(1, 2)), 0);
    EXPECT_EQ(values.Count(), 1 + 1 + 7 + 7);

    // Each draw evaluated alone (the search for the next occurrence) sees every item for the
    // first time, so no period is ever found.
    EXPECT_EQ(prdv->FindValueDraw(Value(5, 1), 0, 1, false), -1);
    EXPECT_EQ(prdv->FindValueDraw(Value(5, 6), 0, 1, false), -1);
}

TEST(PeriodKinds, FilterReadsTheDrawThePeriodPointsAt)
{
    // Window of the number draws ends at index 4 (draw 104): the period k points at the draw of
    // index 5 - k, i.e. 1 -> 104, 2 -> 103, 3 -> 102, 5 -> 100; 6 and 0 lie outside the archive.
    const TComb with5 = {1, 5, 9, 11, 13, 15, 17, 19};
    const TComb without5 = {1, 6, 9, 11, 13, 15, 17, 19};
    const TComb with6 = {2, 4, 6, 9, 11, 13, 15, 17};
    struct Case {
        const char* code;
        int channelSize;
        int lastIndex;
        std::vector<TStatDrawItem> marked;
        TComb comb;
        bool keep;      // CombMatches with Exclude false
        bool remove;    // with Exclude true
    };
    const std::vector<Case> cases = {
        {"PRDV", 4, 4, {Value(5, 2)}, with5, true, false},      // 5 was drawn in 103
        {"PRDV", 4, 4, {Value(5, 2)}, without5, false, false},
        {"PRDV", 4, 4, {Value(5, 1)}, with5, true, false},      // 104
        {"PRDV", 4, 4, {Value(5, 3)}, with5, false, true},      // 102 has no 5
        {"PRDV", 4, 4, {Value(5, 5)}, with5, true, false},      // 100
        {"PRDV", 4, 4, {Value(5, 6)}, with5, false, true},      // outside: no items
        {"PRDV", 4, 4, {Value(5, 0)}, with5, false, true},      // outside
        {"PRDV", 4, 4, {Value(5, 3), Value(5, 2)}, with5, true, true},
        {"PRDV", 4, 4, {Value(6, 2)}, with6, false, true},      // 103 has no 6
        {"PRDV", 4, 4, {Value(6, 2)}, with5, false, false},
        {"PRDV", 4, 2, {Value(5, 3)}, with5, true, false},      // window ending at 102: 100
        {"PRDV", 4, 2, {Value(5, 2)}, with5, false, true},      // 101
        // Channel size 4: channel 2 (5..8) is in 100, 103 and 104, not in 101 or 102.
        {"PRDC", 4, 4, {Value(2, 1)}, with6, true, false},
        {"PRDC", 4, 4, {Value(2, 2)}, with6, true, false},
        {"PRDC", 4, 4, {Value(2, 3)}, with6, false, true},
        {"PRDC", 4, 4, {Value(2, 3)}, {1, 2, 3, 4, 9, 10, 11, 12}, false, false},
        // Channel size 5: channel 1 (1..5) was in 102 (1..4), not in 101.
        {"PRDC", 5, 4, {Value(1, 3)}, {4, 10, 11, 12, 13, 14, 15, 16}, true, false},
        {"PRDC", 5, 4, {Value(1, 4)}, {4, 10, 11, 12, 13, 14, 15, 16}, false, true},
        // Every number is in segment 1, which every draw has.
        {"PRDG", 4, 4, {Value(1, 3)}, without5, true, false},
        {"PRDG", 4, 4, {Value(2, 3)}, without5, false, false},
    };
    for (const Case& c : cases) {
        Env e(NumberDraws(), Channels(c.channelSize));
        auto s = e.Create(c.code);
        const TStatDrawArray marked = Marked(c.marked);
        EXPECT_EQ(Matches(*s, c.comb, marked, c.lastIndex, false, false), c.keep)
            << c.code << " " << marked[0].Key[0] << " x " << marked[0].Key[1];
        EXPECT_EQ(Matches(*s, c.comb, marked, c.lastIndex, true, true), c.remove)
            << c.code << " " << marked[0].Key[0] << " x " << marked[0].Key[1];
    }
}

// Most draws hold most items: marked periods of a window keep tickets, and delete some too,
// but for segment periods, which three segments of 6 or 7 numbers nearly always meet.
TEST(PeriodKinds, MarkedPeriodsOfAWindowKeepAndDeleteTickets)
{
    Env e(kv::archive::SyntheticDraws(120, 5), Layout("12312312312312312312", 3));
    const std::vector<TComb> sample = EveryNthComb(61);
    for (const char* code : {"PRDV", "PRDC", "PRDG"}) {
        auto s = e.Create(code);
        const TStatDrawArray table = Window(*s, 20, 119, false);
        ASSERT_GT(table.Count(), 3) << code;
        std::vector<TStatDrawItem> picks;
        for (int i = 0; i < table.Count(); i += 3) picks.push_back(table[i]);
        EXPECT_GT(Kept(*s, sample, Marked(picks), 119, false, false), 0) << code;
        if (std::string(code) != "PRDG") {
            EXPECT_GT(Kept(*s, sample, Marked(picks), 119, false, true), 0) << code;
        }
    }
}

TEST(PeriodKinds, TextsListsAndSettings)
{
    const TConfigData layout = Layout("00000000009999999999", 5);
    Env e(ChannelDraws(), layout);
    const std::vector<TextCase> cases = {
        {"PRDV", 0, Value(5, 3), "5 x 3", 0, layout},   {"PRDV", 0, Value(20, 100), "20 x 100", 0, layout},
        {"PRDC", 0, Value(2, 4), "02 x 4", 0, layout},  {"PRDC", 0, Value(10, 1), "10 x 1", 0, layout},
        {"PRDG", 0, Value(0, 2), "0 x 2", 0, layout},   {"PRDG", 0, Value(9, 11), "9 x 11", 0, layout},
    };
    ExpectTexts(cases);
    for (const TextCase& c : cases) {
        auto s = e.Create(c.code);
        ExpectNoPlainValues(*s, 5);
        EXPECT_TRUE(Listed(*s, 4).Empty()) << c.code;
    }

    // The channel width and the layout are those of the moment of creation.
    auto prdc = e.Create("PRDC");
    auto prdg = e.Create("PRDG");
    e.env.Config.ChannelSize = 4;
    e.env.Config.MatrixSegments = kv::game::TextToSegments("");
    EXPECT_EQ(PairEntries(Window(*prdc, 0, 4, false)),
              (std::vector<PairEntry>{{1, 1, 4, 5, 1}, {3, 1, 4, 5, 1}, {2, 4, 1, 5, 1}}));
    // Layout 0 for 1..10 and 9 for 11..20: both segments in every draw.
    EXPECT_EQ(PairEntries(Window(*prdg, 0, 1, false)), (std::vector<PairEntry>{{0, 1, 1, 2, 1}, {9, 1, 1, 2, 1}}));
    EXPECT_EQ(PairEntries(Window(*e.Create("PRDG"), 0, 1, false)), (std::vector<PairEntry>{{1, 1, 1, 2, 1}}));
}

} // namespace

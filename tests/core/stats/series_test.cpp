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

bool Holds(const TComb& c, int lo, int hi)
{
    for (uint8_t x : c)
        if (x >= lo && x <= hi) return true;
    return false;
}

// Draws 101..106: 7 in the first two and the last three, 2 in every one, 4 in the first and the
// last, 10..12 from the second on, 13 from the third on, 17 only in the last.
TDrawsArray NumberDraws()
{
    return Draws(101, {{7, 1, 2, 3, 4, 5, 6, 8}, {7, 1, 2, 3, 9, 10, 11, 12}, {1, 2, 9, 10, 11, 12, 13, 14},
                       {7, 2, 9, 10, 11, 12, 13, 15}, {7, 2, 3, 10, 11, 12, 13, 16}, {17, 2, 4, 10, 11, 12, 13, 7}});
}

// The rest of each descriptor is in the golden list of every kind.
TEST(SeriesKinds, Family)
{
    EXPECT_EQ(Codes(KindsOf(kinds::AddSeriesKinds)),
              (std::vector<std::string>{"GRPV", "GRPP", "GRCV", "GRCP", "GRSV", "GRSP"}));
}

TEST(SeriesKinds, RunsOfNumbersOverAWindow)
{
    Env e(NumberDraws());
    struct Case {
        const char* code;
        int first, last;
        std::vector<PairEntry> values;
    };
    const std::vector<Case> cases = {
        // 4: a run of 1 ended in draw 101 and another is open in the last draw; 7: a run of 2
        // ended in 102, one of 3 is open; 1 and 3 make runs too, but are not in the last draw.
        {"GRPV", 0, 5,
         {{4, 1, 2, 106, 1}, {7, 2, 1, 102, 5}, {2, 6, 1, 106, 1}, {7, 3, 1, 106, 1}, {10, 5, 1, 106, 1},
          {11, 5, 1, 106, 1}, {12, 5, 1, 106, 1}, {13, 4, 1, 106, 1}, {17, 1, 1, 106, 1}}},
        // The window starts the runs afresh: 2 has been drawn 4 times in it, not 6.
        {"GRPV", 2, 5,
         {{2, 4, 1, 106, 1}, {4, 1, 1, 106, 1}, {7, 3, 1, 106, 1}, {10, 4, 1, 106, 1}, {11, 4, 1, 106, 1},
          {12, 4, 1, 106, 1}, {13, 4, 1, 106, 1}, {17, 1, 1, 106, 1}}},
        // The window ending at 103: its last draw has neither 7 nor 4.
        {"GRPV", 0, 2,
         {{1, 3, 1, 103, 1}, {2, 3, 1, 103, 1}, {9, 2, 1, 103, 1}, {10, 2, 1, 103, 1}, {11, 2, 1, 103, 1},
          {12, 2, 1, 103, 1}, {13, 1, 1, 103, 1}, {14, 1, 1, 103, 1}}},
        {"GRPV", 5, 5,
         {{2, 1, 1, 106, 1}, {4, 1, 1, 106, 1}, {7, 1, 1, 106, 1}, {10, 1, 1, 106, 1}, {11, 1, 1, 106, 1},
          {12, 1, 1, 106, 1}, {13, 1, 1, 106, 1}, {17, 1, 1, 106, 1}}},
        // Absence: 4 was away for 4 draws (102..105) before it came back in the last one; 10..12
        // were away only in 101, 13 in 101 and 102, 7 in 103, 17 in 101..105. The absence
        // recorded is that of its last absent draw.
        {"GRPP", 0, 5,
         {{10, 1, 1, 101, 6}, {11, 1, 1, 101, 6}, {12, 1, 1, 101, 6}, {13, 2, 1, 102, 5}, {7, 1, 1, 103, 4},
          {4, 4, 1, 105, 2}, {17, 5, 1, 105, 2}}},
        {"GRPP", 3, 5, {{4, 2, 1, 105, 2}, {17, 2, 1, 105, 2}}},
        {"GRPP", 5, 5, {}},
    };
    for (const Case& c : cases) {
        for (bool sorted : {false, true}) {
            auto s = e.Create(c.code);
            EXPECT_EQ(PairEntries(Window(*s, c.first, c.last, sorted)), c.values)
                << c.code << " " << c.first << ".." << c.last << " sorted " << sorted;
        }
    }

    // A value recorded twice measures its period between the two run ends.
    auto grpv = e.Create("GRPV");
    const TStatDrawArray v = Window(*grpv, 0, 5, false);
    EXPECT_EQ(v[0].PeriodMin, 5);
    EXPECT_EQ(v[0].PeriodMax, 5);
    EXPECT_EQ(v[0].PrevDrawNo, 106);
    EXPECT_EQ(v[1].PeriodMin, 0);
    EXPECT_EQ(grpv->ValueToText(v[0]), "4 x 1");
    EXPECT_EQ(grpv->ValueToText(v[2]), "2 x 6");
    EXPECT_EQ(grpv->ValueToText(v[4]), "10 x 5");
}

TEST(SeriesKinds, WorkAreaCarriesTheRunsOfEveryItem)
{
    Env e(NumberDraws());
    TWorkArea work{};
    auto grpv = e.Create("GRPV");
    Window(*grpv, 0, 5, false, &work);
    // One entry per number at index number - 1: the run still open after the last draw.
    EXPECT_EQ(work[6].RunLength, 3);   // 7
    EXPECT_EQ(work[6].DrawNo, 106);
    EXPECT_EQ(work[6].Depth, 1);
    EXPECT_EQ(work[1].RunLength, 6);   // 2
    EXPECT_EQ(work[0].RunLength, 0);   // 1 ended in 104
    EXPECT_EQ(work[0].DrawNo, 0);
    EXPECT_EQ(work[0].Depth, 0);
    EXPECT_EQ(work[19].RunLength, 0);  // 20 never drawn

    auto grpp = e.Create("GRPP");
    Window(*grpp, 0, 5, false, &work);
    EXPECT_EQ(work[19].RunLength, 6);  // 20 away from every draw
    EXPECT_EQ(work[19].DrawNo, 106);
    EXPECT_EQ(work[0].RunLength, 3);   // 1 away from 104..106
    EXPECT_EQ(work[0].Depth, 1);
    EXPECT_EQ(work[6].RunLength, 0);   // 7 is in the last draw

    // One CalcDraw per draw with a fresh area sees every run as one draw long.
    TStatDrawArray values;
    TLastValueArray lastValues;
    for (int i = 0; i <= 5; ++i) {
        TWorkArea fresh{};
        grpv->CalcDraw(i, 5, false, values, lastValues, fresh);
    }
    for (const TStatDrawItem& it : values) EXPECT_EQ(it.Key[1], 1) << it.Key[0];
}

TEST(SeriesKinds, ChannelsAndSegments)
{
    // Channel size 5: channels 1..5, 6..10, 11..15, 16..20; 1..5 only in the last two draws.
    const TDrawsArray channelDraws = {MakeDraw(201, {6, 7, 8, 9, 10, 11, 12, 16}),
                                      MakeDraw(202, {1, 6, 7, 8, 9, 11, 12, 16}),
                                      MakeDraw(203, {5, 6, 7, 8, 9, 10, 11, 20})};
    // Segments 3 (1..10) and 5 (11..20) only; segment 4 is in the range but never used.
    const TDrawsArray segmentDraws = Draws(301, {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 11, 12, 13, 14},
                                                 {11, 12, 13, 14, 15, 16, 17, 18}, {20, 1, 2, 3, 4, 5, 6, 7}});
    struct Case {
        const char* code;
        const TDrawsArray* draws;
        int channelSize;
        const char* layout;
        std::vector<PairEntry> values;
        std::vector<std::string> texts;
    };
    const std::vector<Case> cases = {
        {"GRCV", &channelDraws, 5, "",
         {{1, 2, 1, 203, 1}, {2, 3, 1, 203, 1}, {3, 3, 1, 203, 1}, {4, 3, 1, 203, 1}},
         {"01 x 2", "02 x 3", "03 x 3", "04 x 3"}},
        {"GRCP", &channelDraws, 5, "", {{1, 1, 1, 201, 3}}, {"01 x 1"}},
        // Channel size 4: 1..4 (only 1 in 202), 5..8, 9..12, 13..16 (16, twice), 17..20 (20 last).
        {"GRCV", &channelDraws, 4, "",
         {{2, 3, 1, 203, 1}, {3, 3, 1, 203, 1}, {5, 1, 1, 203, 1}},
         {"02 x 3", "03 x 3", "05 x 1"}},
        {"GRCP", &channelDraws, 4, "", {{5, 2, 1, 202, 2}}, {"05 x 2"}},
        {"GRSV", &segmentDraws, 4, "33333333335555555555",
         {{3, 2, 1, 302, 3}, {3, 1, 1, 304, 1}, {5, 3, 1, 304, 1}},
         {"3 x 2", "3 x 1", "5 x 3"}},
        {"GRSP", &segmentDraws, 4, "33333333335555555555", {{5, 1, 1, 301, 4}, {3, 1, 1, 303, 2}},
         {"5 x 1", "3 x 1"}},
        // With every number in segment 1 the segment is in every draw.
        {"GRSV", &segmentDraws, 4, "", {{1, 4, 1, 304, 1}}, {"1 x 4"}},
        {"GRSP", &segmentDraws, 4, "", {}, {}},
    };
    for (const Case& c : cases) {
        Env e(*c.draws, Layout(c.layout, c.channelSize));
        auto s = e.Create(c.code);
        const TStatDrawArray values = Window(*s, 0, int(c.draws->size()) - 1, false);
        EXPECT_EQ(PairEntries(values), c.values) << c.code << " " << c.channelSize << " " << c.layout;
        std::vector<std::string> texts;
        for (const TStatDrawItem& it : values) texts.push_back(s->ValueToText(it));
        EXPECT_EQ(texts, c.texts) << c.code;
    }
}

TEST(SeriesKinds, TextsAndParsing)
{
    // Pairs have no numeric form: only the plain integer reading of the base remains.
    const TConfigData layout = Layout("00000000009999999999", 5);
    const std::vector<TextCase> cases = {
        {"GRPV", 0, Value(7, 3), "7 x 3", 0, layout},     {"GRPP", 0, Value(20, 12), "20 x 12", 0, layout},
        {"GRCV", 0, Value(1, 2), "01 x 2", 0, layout},    {"GRCP", 0, Value(4, 10), "04 x 10", 0, layout},
        {"GRSV", 0, Value(0, 1), "0 x 1", 0, layout},     {"GRSP", 0, Value(9, 250), "9 x 250", 0, layout},
    };
    ExpectTexts(cases);
    const Env e({}, layout);
    for (const TextCase& c : cases) {
        auto s = e.Create(c.code);
        EXPECT_EQ(s->ParseValue("7"), 0) << c.code;
        EXPECT_EQ(s->TextToValue(c.text), 0) << c.code;
        ExpectNoPlainValues(*s, 12);
        // Nothing is listed in advance.
        EXPECT_TRUE(Listed(*s).Empty()) << c.code;
    }
}

TEST(SeriesKinds, FilterLooksOnlyAtTheItem)
{
    const std::vector<TComb> all = AllCombs();
    struct Case {
        const char* code;
        int channelSize;
        const char* layout;
        std::vector<TStatDrawItem> marked;
        int lo, hi;   // a combination matches when it holds a number of lo..hi
    };
    const std::vector<Case> cases = {
        {"GRPV", 4, "", {Value(7, 3)}, 7, 7},
        {"GRPP", 4, "", {Value(7, 99)}, 7, 7},
        {"GRCV", 5, "", {Value(2, 1)}, 6, 10},
        {"GRCP", 5, "", {Value(2, 4)}, 6, 10},
        {"GRCV", 4, "", {Value(5, 2), Value(5, 3)}, 17, 20},
        {"GRSV", 4, "33333333335555555555", {Value(5, 1)}, 11, 20},
        {"GRSP", 4, "33333333335555555555", {Value(3, 2)}, 1, 10},
        {"GRSV", 4, "33333333335555555555", {Value(4, 1)}, 1, 0},   // a segment without numbers
        {"GRCV", 5, "", {Value(0, 1), Value(-1, 2)}, 1, 0},           // no such channels
    };
    for (const Case& c : cases) {
        Env e(NumberDraws(), Layout(c.layout, c.channelSize));
        auto s = e.Create(c.code);
        s->LoadDraws(-1, 5, false);
        const TStatDrawArray marked = Marked(c.marked);
        std::vector<uint8_t> batch;
        s->MatchCombs(all, marked, {.LastIndex = 5, .Sorted = false, .Exclude = false}, batch);
        ASSERT_EQ(batch.size(), all.size());
        int mismatches = 0;
        for (std::size_t i = 0; i < all.size(); ++i) {
            const bool want = Holds(all[i], c.lo, c.hi);
            if (batch[i] != (want ? 1 : 0)) ++mismatches;
            if (i % 101 == 0) {
                EXPECT_EQ(s->CombMatches(all[i], marked, 5, false, false), want);
                EXPECT_EQ(s->CombMatches(all[i], marked, 5, true, true), want);
            }
        }
        EXPECT_EQ(mismatches, 0) << c.code;
    }
}

TEST(SeriesKinds, SettingsAreCopiedAtCreation)
{
    Env e(NumberDraws(), Layout("11111111112222222222", 5));
    auto grcv = e.Create("GRCV");
    auto grsv = e.Create("GRSV");
    e.env.Config.ChannelSize = 4;
    e.env.Config.MatrixSegments = kv::game::TextToSegments("22222222221111111111");
    const TStatDrawArray one = Marked({Value(1, 1)});
    // 5 is in channel 1 of width 5 and in segment 1 of the first layout.
    const TComb c = {5, 11, 12, 13, 14, 15, 16, 17};
    EXPECT_TRUE(grcv->CombMatches(c, one, 5, false, false));
    EXPECT_EQ(grcv->ValueToText(Value(4, 1)), "04 x 1");
    const TComb d = {11, 12, 13, 14, 15, 16, 17, 18};
    EXPECT_FALSE(grsv->CombMatches(d, one, 5, false, false));
    // A new instance takes the new settings.
    EXPECT_FALSE(e.Create("GRCV")->CombMatches(c, one, 5, false, false));
    EXPECT_TRUE(e.Create("GRSV")->CombMatches(d, one, 5, false, false));
}

TEST(SeriesKinds, NextOccurrenceKeepsTheRunsAcrossTheSearch)
{
    Env e(NumberDraws());
    auto grpv = e.Create("GRPV");
    // The window ends at 103 {1, 2, 9..14}. From 104 on, 9 is in 104 only: its run ends when 105
    // is evaluated and carries the draw number of its last draw, 104.
    EXPECT_EQ(grpv->FindValueDraw(Value(9, 1), 3, 2, false), 104);
    // 14 is in neither 104 nor 105; 7 is not in the last draw of the window; 2 never stops.
    EXPECT_EQ(grpv->FindValueDraw(Value(14, 1), 3, 2, false), -1);
    EXPECT_EQ(grpv->FindValueDraw(Value(7, 3), 3, 2, false), -1);
    EXPECT_EQ(grpv->FindValueDraw(Value(2, 3), 3, 2, false), -1);
    EXPECT_EQ(grpv->FindValueDraw(Value(9, 1), 6, 2, false), -1);
    // Absences of 1 and 14 last from 104 to the end of the archive and never close.
    auto grpp = e.Create("GRPP");
    EXPECT_EQ(grpp->FindValueDraw(Value(1, 3), 3, 2, false), -1);
    EXPECT_EQ(grpp->FindValueDraw(Value(14, 1), 3, 2, false), -1);
}

TEST(SeriesKinds, EmptyArchiveAndDrawsOutsideIt)
{
    Env e;
    for (const char* code : {"GRPV", "GRPP", "GRCV", "GRCP", "GRSV", "GRSP"}) {
        auto s = e.Create(code);
        TStatDrawArray values;
        TLastValueArray lastValues;
        TWorkArea work{};
        s->CalcDraw(0, 0, false, values, lastValues, work);
        s->CalcDraw(3, 3, true, values, lastValues, work);
        EXPECT_TRUE(values.Empty()) << code;
        EXPECT_EQ(s->FindValueDraw(Value(1, 1), 0, 0, false), -1);
    }
}

TEST(SeriesKinds, SyntheticWindowsDoNotDependOnSorting)
{
    Env e(kv::archive::SyntheticDraws(300, 11), Layout("12312312312312312312", 3));
    for (const char* code : {"GRPV", "GRPP", "GRCV", "GRCP", "GRSV", "GRSP"}) {
        auto s = e.Create(code);
        const TStatDrawArray a = Window(*s, 100, 299, false);
        const TStatDrawArray b = Window(*s, 100, 299, true);
        EXPECT_EQ(a.Items(), b.Items()) << code;
        EXPECT_FALSE(a.Empty()) << code;
        // Every value belongs to an item of the last draw of the window.
        for (const TStatDrawItem& it : a) {
            int item = -1;
            for (uint8_t x : e.draws[299].Nums) {
                const int g = std::string(code).substr(0, 3) == "GRP" ? x
                            : code[2] == 'C' ? (x + 2) / 3
                                             : e.env.Config.MatrixSegments[x - 1];
                if (g == it.Key[0]) item = g;
            }
            EXPECT_EQ(item, it.Key[0]) << code;
            EXPECT_GT(it.Key[1], 0) << code;
        }
    }
}

} // namespace

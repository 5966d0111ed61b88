#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "core/analysis/card.h"
#include "core/analysis/drawsgraph.h"
#include "core/analysis/layout.h"
#include "core/analysis/repeats.h"
#include "core/analysis/weekstat.h"
#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/stats/statlist.h"
#include "tests/support/support.h"

using namespace kv;
using namespace kv::analysis;
using game::TDraw;
using game::TDrawsArray;

namespace {

TDraw Draw(int no, game::TComb nums, const char* date = "")
{
    TDraw d;
    d.DrawNo = no;
    d.Nums = nums;
    d.Extra = 1;
    d.SetDateText(date);
    return d;
}

// Draws numbered 1..n whose numbers are 1..8 shifted by the draw number.
TDrawsArray Shifted(int n)
{
    TDrawsArray draws;
    for (int i = 1; i <= n; ++i) {
        game::TComb c{};
        for (int k = 0; k < 8; ++k) c[static_cast<std::size_t>(k)] = static_cast<uint8_t>((i + k) % 20 + 1);
        draws.push_back(Draw(i, c));
    }
    return draws;
}

} // namespace

TEST(Analysis, WindowsAreClampedToTheArchive)
{
    struct Case {
        int count, offset, length, first, last;
    };
    for (const Case& c : std::vector<Case>{{10, 0, 100, 0, 9}, {10, 5, 3, 2, 4}, {10, 0, 0, 9, 9}, {10, 9, 1, 0, 0},
                                           {0, 0, 5, 0, -1}, {10, 10, 3, 0, -1}}) {
        const TDrawWindow w = DrawWindow(c.count, c.offset, c.length);
        EXPECT_EQ(w.First, c.first) << c.count << "/" << c.offset << "/" << c.length;
        EXPECT_EQ(w.Last, c.last) << c.count << "/" << c.offset << "/" << c.length;
    }
}

TEST(DrawsGraph, MostFrequentTakesTheValueMetFirstAmongTies)
{
    struct Case {
        std::vector<int32_t> values;
        int32_t expected;
    };
    for (const Case& c : std::vector<Case>{{{}, 0}, {{3, 5, 5, 3}, 3}, {{1, 2, 2}, 2}, {{-1, 4, -1, 4, 9}, -1}})
        EXPECT_EQ(MostFrequentValue(c.values), c.expected);
}

TEST(DrawsGraph, FollowsTheWindowAndBuildsOnlyOnChange)
{
    const TDrawsArray draws = Shifted(10);
    stats::TStatList list;
    list.SetDraws(&draws);
    list.BuildMethodList();
    const int sums = list.FindMethod("SUMS");
    ASSERT_GE(sums, 0);
    test::ScriptedShell sh;
    TDrawsGraphBuilder g;

    // Offset 5 ends at row 5 of the list (draw 5); a window longer than the archive starts at the oldest.
    ASSERT_TRUE(g.Build(list, sums, 5, 100, false, sh, false));
    ASSERT_EQ(g.Graph().Values.size(), 5u);
    EXPECT_EQ(g.Graph().Values.front().DrawNo, 1);
    EXPECT_EQ(g.Graph().Values.back().DrawNo, 5);
    int sum = 0;
    for (const TGraphPoint& p : g.Graph().Values) {
        int expected = 0;
        for (uint8_t n : draws[static_cast<std::size_t>(p.DrawNo - 1)].Nums) expected += n;
        EXPECT_EQ(p.Value, expected) << p.DrawNo;
        sum += p.Value;
    }
    EXPECT_DOUBLE_EQ(g.Graph().Average, sum / 5.0);
    EXPECT_EQ(sh.statusTexts.front(), TDrawsGraphBuilder::StatusText);
    EXPECT_FALSE(sh.IsBusy());

    EXPECT_FALSE(g.Build(list, sums, 5, 100, false, sh, false));
    EXPECT_TRUE(g.Build(list, sums, 5, 100, false, sh, true));
    EXPECT_TRUE(g.Build(list, sums, 4, 3, false, sh, false));
    EXPECT_EQ(g.Graph().Values.front().DrawNo, 4);
    EXPECT_EQ(g.Graph().Values.back().DrawNo, 6);
    EXPECT_TRUE(g.Build(list, -1, 4, 3, false, sh, false));
    EXPECT_TRUE(g.Graph().Empty());
}

TEST(Card, ColoursRunsRepeatsAndChannels)
{
    // Newest first on the card: row 0 is draw 3.
    const TDrawsArray draws = {Draw(1, {1, 3, 5, 9, 11, 13, 15, 17}), Draw(2, {7, 8, 12, 20, 2, 4, 14, 18}),
                               Draw(3, {12, 13, 1, 19, 5, 16, 10, 3})};
    TCard card;
    test::ScriptedShell sh;
    ASSERT_TRUE(card.Build(draws, sh, false));
    ASSERT_EQ(card.RowCount(), 3);
    EXPECT_EQ(card.CellText(0, 0), "3");
    EXPECT_EQ(card.CellText(0, 12), "12");
    EXPECT_EQ(card.CellText(0, 11), "");
    EXPECT_EQ(card.CellText(2, TCard::ExtraColumn), "1");
    EXPECT_EQ(TCard::Caption(21), "E");
    const uint32_t channel3 = game::ChannelColor(3, 5);
    struct Case {
        int row, col;
        TCardColors colors;
        TCardCellColor expected;
    };
    const TCardColors on{true, true, 5};
    const std::vector<Case> cases = {
        {1, 7, on, {TCardShade::Run, 0x00FFFF}},           // 7 and 8 in one draw, neither repeated
        {1, 8, on, {TCardShade::Run, 0x00FFFF}},
        {1, 12, on, {TCardShade::Repeat, 0x00FF00}},       // 12 also in draw 3
        {0, 12, on, {TCardShade::RepeatInRun, 0xFFFF00}},  // ... where it touches 13
        {0, 19, on, {TCardShade::Channel, game::ChannelColor(19, 5)}},   // the captions row is no draw
        {2, 11, on, {TCardShade::Channel, game::ChannelColor(11, 5)}},
        {0, 11, on, {TCardShade::Channel, game::ChannelColor(11, 5)}},   // empty cells too
        {0, 12, {true, false, 5}, {TCardShade::Channel, game::ChannelColor(12, 5)}},
        {0, 14, {false, true, 5}, {}},
        {1, 7, {false, false, 5}, {}},
        {2, 13, {false, false, 5}, {}},
        {0, TCard::ExtraColumn, on, {}},
        {0, 0, on, {}},
        {2, 3, on, {TCardShade::Channel, channel3}},       // 3 came again two draws later only
        {1, 3, on, {TCardShade::Channel, channel3}},
    };
    for (const Case& c : cases) EXPECT_EQ(card.CellColor(c.row, c.col, c.colors), c.expected) << c.row << "," << c.col;
    // The legend names exactly the colours the cells can take under each setting.
    const auto shades = [](const TCardColors& colors) {
        std::vector<std::pair<TCardShade, uint32_t>> got;
        for (const TCardLegendEntry& e : CardLegend(colors)) got.emplace_back(e.Shade, e.Rgb);
        return got;
    };
    using Shades = std::vector<std::pair<TCardShade, uint32_t>>;
    EXPECT_EQ(shades(on), (Shades{{TCardShade::Repeat, 0x00FF00}, {TCardShade::RepeatInRun, 0xFFFF00},
                                 {TCardShade::Run, 0x00FFFF}, {TCardShade::Channel, game::ChannelColor(1, 5)}}));
    EXPECT_EQ(shades({true, false, 5}), (Shades{{TCardShade::Channel, game::ChannelColor(1, 5)}}));
    EXPECT_EQ(shades({false, true, 5}).size(), 3u);
    EXPECT_TRUE(CardLegend({false, false, 5}).empty());

    // An unchanged archive builds nothing; a new draw comes on top; an edited draw is seen too.
    EXPECT_FALSE(card.Build(draws, sh, false));
    TDrawsArray more = draws;
    more.push_back(Draw(4, {20, 19, 18, 17, 16, 15, 14, 13}));
    EXPECT_TRUE(card.Build(more, sh, false));
    EXPECT_EQ(card.CellText(0, 0), "4");
    more[0].Nums[0] = 2;
    EXPECT_TRUE(card.Build(more, sh, false));
    EXPECT_EQ(card.Export().Cells.back()[2], "2");
    EXPECT_EQ(card.Export().Captions.size(), 22u);
    // Numbers outside the field stay off the card; an empty archive keeps one empty row.
    EXPECT_TRUE(card.Build({Draw(9, {0, 21, 255, 1, 2, 3, 4, 5})}, sh, false));
    EXPECT_EQ(card.CellColor(0, 20, on).Shade, TCardShade::Channel);
    EXPECT_TRUE(card.Build({}, sh, false));
    EXPECT_EQ(card.RowCount(), 1);
    EXPECT_EQ(card.CellText(0, 0), "");
}

TEST(Layout, GridsListsAndTheHiddenNextDraw)
{
    const TDrawsArray draws = {Draw(10, {1, 2, 3, 4, 5, 6, 7, 8}), Draw(11, {1, 2, 3, 4, 9, 10, 11, 12}),
                               Draw(12, {5, 1, 13, 14, 15, 16, 17, 18}), Draw(13, {7, 19, 20, 1, 2, 3, 4, 5})};
    // Window length 1: one count row, one column, the draw's numbers in stored order.
    TLayoutGrid g = BuildLayoutGrid(WindowNumberStats(draws, DrawWindow(4, 0, 1)), 0);
    EXPECT_EQ(g.Counts, (std::vector<int>{1}));
    EXPECT_EQ(g.DrawNos, (std::vector<int32_t>{13}));
    EXPECT_EQ(g.Cell(0, 0), "7, 19, 20, 1, 2, 3, 4, 5");

    // A damaged draw: numbers outside the field have no entry, a repeated number counts once.
    const TDrawsArray damaged = {Draw(1, {0, 21, 3, 3, 4, 200, 6, 7}, "04.01.2021")};
    const std::vector<TNumberEntry> entries = WindowNumberStats(damaged, DrawWindow(1, 0, 5));
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0], (TNumberEntry{3, 1, 1}));
    EXPECT_EQ(CountWeek(damaged, DrawWindow(1, 0, 5)).Count(3, 0), 1);
    EXPECT_EQ(CountWeek(damaged, DrawWindow(1, 0, 5)).Max, 1);

    // Offset 1 hides draw 13, whose 7 is marked; the three draws left decide the classes.
    TLayout layout;
    test::ScriptedShell sh;
    ASSERT_TRUE(layout.BuildGrid(draws, 1, 100, sh, false));
    const TLayoutGrid& h = layout.Grid();
    EXPECT_EQ(h.Counts, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(h.DrawNos, (std::vector<int32_t>{12, 11, 10}));
    EXPECT_EQ(h.Cell(0, 0), "[1]");
    EXPECT_EQ(h.Cell(1, 0), "[5]");
    EXPECT_EQ(h.Cell(1, 1), "[2], [3], [4]");
    EXPECT_EQ(h.Cell(2, 0), "13, 14, 15, 16, 17, 18");
    EXPECT_EQ(h.Cell(2, 2), "6, [7], 8");
    EXPECT_EQ(h.Cell(0, 2), "");
    EXPECT_EQ(LayoutCellColor(2, 2, 3, 3, true, true), 0x00FF00u);
    EXPECT_EQ(layout.Export().Captions, (std::vector<std::string>{"", "12", "11", "10"}));
    EXPECT_EQ(layout.Export().Cells[1][0], "2");
    EXPECT_FALSE(layout.BuildGrid(draws, 1, 100, sh, false));
    EXPECT_TRUE(layout.BuildGrid(draws, 3, 100, sh, false));
    EXPECT_EQ(layout.Grid().DrawNos, (std::vector<int32_t>{10}));

    // Gradient: 4 x 4 with captions; cell (1,2) of the data is grid row 2, column 3.
    EXPECT_EQ(LayoutCellColor(1, 2, 3, 3, true, false), 0xB28BB2u);   // 177.5 rounds to 178 (even), 138.75 to 139
    // Bands: rows and columns 1..5 and 11..15 marked.
    EXPECT_EQ(LayoutCellColor(0, 0, 20, 20, false, false), 0xEAFFEAu);
    EXPECT_EQ(LayoutCellColor(0, 5, 20, 20, false, false), 0xFFEAEAu);
    EXPECT_EQ(LayoutCellColor(5, 5, 20, 20, false, false), 0xEAFFEAu);
    EXPECT_EQ(LayoutCellColor(10, 4, 20, 20, false, false), 0xEAFFEAu);

    // The lists ignore the hidden draws, sort by count and are rebuilt only on archive or offset change.
    ASSERT_TRUE(layout.BuildLists(draws, 1, {1, 2, 3, 50, 0}, sh, false));
    EXPECT_EQ(layout.List(1).Caption, "11 - 12");
    EXPECT_EQ(layout.List(1).Rows, (std::vector<std::pair<int, std::string>>{{2, "1"}, {1, "5, 13, 14, 15, 16, 17, 18, 2, 3, 4, 9, 10, 11, 12"}}));
    EXPECT_EQ(layout.List(2).Rows.front(), (std::pair<int, std::string>{3, "1"}));
    EXPECT_EQ(layout.List(4).Caption, "12 - 12");
    EXPECT_FALSE(layout.BuildLists(draws, 1, {5, 5, 5, 5, 5}, sh, false));
    EXPECT_TRUE(layout.BuildLists(draws, 1, {5, 5, 5, 5, 5}, sh, true));
    EXPECT_TRUE(layout.BuildLists({}, 0, {5, 5, 5, 5, 5}, sh, false));
    EXPECT_EQ(layout.List(0).Caption, "");
    EXPECT_TRUE(layout.List(0).Rows.empty());
}

TEST(WeekStat, CountsByWeekdayAndSkipsDrawsWithoutDates)
{
    // 03.01.2021 was a Sunday, 06.01.2021 a Wednesday.
    const TDrawsArray draws = {Draw(1, {1, 2, 3, 4, 5, 6, 7, 8}, "03.01.2021 10:00"),
                               Draw(2, {1, 2, 3, 4, 9, 10, 11, 12}, "06.01.2021"),
                               Draw(3, {1, 13, 14, 15, 16, 17, 18, 19}, ""),
                               Draw(4, {1, 13, 14, 15, 16, 17, 18, 20}, "31.02.2021"),
                               Draw(5, {1, 2, 14, 15, 16, 17, 18, 20}, "10.01.2021 10:00")};
    EXPECT_EQ(WeekdayIndex(0), 5);   // 30.12.1899, a Saturday
    TWeekView week;
    test::ScriptedShell sh;
    ASSERT_TRUE(week.Build(draws, 0, 1000, sh, false));
    const TWeekStat& s = week.Stat();
    EXPECT_EQ(s.Count(1, 6), 2);
    EXPECT_EQ(s.Count(20, 6), 1);
    EXPECT_EQ(s.Count(9, 2), 1);
    EXPECT_EQ(s.CellText(5, 2), "");
    EXPECT_EQ(s.Count(13, 6), 0);   // only in the undated and the impossible date
    EXPECT_EQ(s.Max, 2);
    EXPECT_EQ(WeekChartValues(s, TWeekChartMode::Weekdays, 1, 0), (std::vector<int>{0, 0, 1, 0, 0, 0, 2}));
    const std::vector<int> wednesday = WeekChartValues(s, TWeekChartMode::Numbers, 0, 2);
    ASSERT_EQ(wednesday.size(), 20u);
    EXPECT_EQ(std::accumulate(wednesday.begin(), wednesday.end(), 0), 8);
    EXPECT_EQ(wednesday[4], 0);

    // Offset 1 leaves out the newest draw.
    EXPECT_FALSE(week.Build(draws, 0, 1000, sh, false));
    ASSERT_TRUE(week.Build(draws, 1, 1000, sh, false));
    EXPECT_EQ(week.Stat().Count(1, 6), 1);
    EXPECT_EQ(week.Stat().Count(20, 6), 0);

    TDrawsArray undated = draws;
    for (TDraw& d : undated) d.SetDateText("");
    ASSERT_TRUE(week.Build(undated, 0, 1000, sh, false));
    EXPECT_EQ(week.Stat().Max, 0);
    const std::vector<int> flat = WeekChartValues(week.Stat(), TWeekChartMode::Numbers, 0, 3);
    EXPECT_EQ(std::accumulate(flat.begin(), flat.end(), 0), 0);

    struct Shade {
        int count, max;
        bool painted;
        uint32_t rgb;
    };
    // The darkest reds take white numbers: from about 71% of the largest count up.
    struct Text {
        int count, max;
        uint32_t rgb;
    };
    for (const Text& c : std::vector<Text>{{4, 4, 0xFFFFFF}, {71, 100, 0x000000}, {72, 100, 0xFFFFFF}, {1, 2, 0x000000}}) {
        uint32_t rgb = 0;
        ASSERT_TRUE(WeekCellColor(c.count, c.max, rgb));
        EXPECT_EQ(ReadableTextColor(rgb), c.rgb) << c.count << "/" << c.max;
    }
    EXPECT_EQ(ReadableTextColor(0xFFFFFF), 0x000000u);
    EXPECT_EQ(ReadableTextColor(0x000080), 0xFFFFFFu);
    for (const Shade& c : std::vector<Shade>{{4, 4, true, 0xFF0000}, {1, 4, true, 0xFFBFBF}, {1, 2, true, 0xFF8080},
                                             {0, 4, false, 0}, {3, 0, false, 0}}) {
        uint32_t rgb = 0;
        EXPECT_EQ(WeekCellColor(c.count, c.max, rgb), c.painted) << c.count << "/" << c.max;
        if (c.painted) {
            EXPECT_EQ(rgb, c.rgb) << c.count << "/" << c.max;
        }
    }
}

TEST(Repeats, RowsPerAnalysedDrawAndMatchCount)
{
    // Draw 500 shares 3 numbers with 498 and with 499, 6 with 497.
    const TDrawsArray draws = {Draw(497, {1, 11, 12, 13, 14, 15, 16, 17}), Draw(498, {1, 2, 3, 4, 5, 6, 7, 8}),
                               Draw(499, {1, 2, 3, 9, 10, 18, 19, 20}), Draw(500, {1, 2, 3, 11, 12, 13, 14, 15})};
    test::ScriptedShell sh;
    TRepeats r = AnalyzeRepeats(draws, {1, 100}, sh);
    EXPECT_EQ(r.MaxMatches, 6);
    ASSERT_EQ(r.Rows.size(), 2u);
    EXPECT_EQ(r.Rows[0], (TRepeatRow{500, 3, {499, 498}}));
    EXPECT_EQ(r.Rows[0].DrawsText(), "499 498");
    EXPECT_EQ(r.Rows[1], (TRepeatRow{500, 6, {497}}));
    EXPECT_FALSE(sh.IsBusy());
    EXPECT_FALSE(sh.ProgressIsOpen());

    // Depth 1: each draw against the one before only; the oldest draw gets no rows.
    r = AnalyzeRepeats(draws, {100, 1}, sh);
    ASSERT_EQ(r.Rows.size(), 3u);
    EXPECT_EQ(r.Rows[0], (TRepeatRow{500, 3, {499}}));
    EXPECT_EQ(r.Rows[1], (TRepeatRow{499, 3, {498}}));
    EXPECT_EQ(r.Rows[2], (TRepeatRow{498, 1, {497}}));
    const auto series = RepeatSeries(r);
    ASSERT_EQ(series.size(), 3u);
    EXPECT_EQ(series[0], (std::vector<TGraphPoint>{{498, 1}}));
    EXPECT_EQ(series[2], (std::vector<TGraphPoint>{{499, 1}, {500, 1}}));
    EXPECT_TRUE(series[1].empty());

    // A damaged draw (a repeated number, one outside the field) counts pairs number by number.
    const TDrawsArray damaged = {Draw(1, {1, 1, 2, 3, 4, 5, 6, 7}), Draw(2, {1, 30, 0, 9, 10, 11, 12, 13})};
    r = AnalyzeRepeats(damaged, {1, 1}, sh);
    ASSERT_EQ(r.Rows.size(), 1u);
    EXPECT_EQ(r.Rows[0].Matches, 2);

    // Cancel keeps what was found and closes the progress window.
    sh.cancelProgress = true;
    r = AnalyzeRepeats(archive::SyntheticDraws(50, 3), {40, 40}, sh);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_TRUE(r.Rows.empty());
    EXPECT_FALSE(sh.ProgressIsOpen());
    EXPECT_FALSE(sh.IsBusy());
    EXPECT_TRUE(AnalyzeRepeats({}, {}, sh).Rows.empty());
}

TEST(Repeats, BitMasksAgreeWithHitCount)
{
    const TDrawsArray draws = archive::SyntheticDraws(300, 9);
    test::ScriptedShell sh;
    const TRepeats r = AnalyzeRepeats(draws, {100, 100}, sh);
    std::size_t pairs = 0;
    for (const TRepeatRow& row : r.Rows) {
        const auto p = static_cast<std::size_t>(row.DrawNo - 1);
        for (int32_t k : row.DrawNos) EXPECT_EQ(game::HitCount(draws[p], draws[static_cast<std::size_t>(k - 1)]), row.Matches);
        pairs += row.DrawNos.size();
    }
    // Every pair with a common number is listed: 100 x 100 pairs less those sharing nothing.
    std::size_t expected = 0;
    for (int p = 299; p >= 200; --p)
        for (int k = p - 1; k >= p - 100; --k) expected += game::HitCount(draws[static_cast<std::size_t>(p)], draws[static_cast<std::size_t>(k)]) > 0;
    EXPECT_EQ(pairs, expected);
}

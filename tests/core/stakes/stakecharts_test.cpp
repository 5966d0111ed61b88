#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/stakes/sametext.h"
#include "core/stakes/stakecharts.h"
#include "core/stakes/stakesfile.h"
#include "tests/core/stakes/stakestest.h"

using namespace kv;
using namespace kv::stakes;
using kv::test::Checked;
using kv::test::FileOf;
using kv::test::Stake;

namespace {

struct Fixture {
    test::TempDir dir;
    std::filesystem::path path = dir / TStakesFile::FileName;
    TStakesFile file;
    test::ScriptedShell shell;

    explicit Fixture(const std::vector<TStakeRecord>& records)
    {
        test::WriteBytes(path, FileOf(records));
        file.Open(path);
    }
};

TStakeRecord WithProfit(TStakeRecord r, int64_t units)
{
    r.Profit = util::Currency::FromUnits(units);
    return r;
}

std::vector<TChartPoint> Points(std::vector<std::pair<int, double>> xy)
{
    std::vector<TChartPoint> out;
    for (auto [x, y] : xy) out.push_back({double(x), y, std::to_string(x)});
    return out;
}

} // namespace

TEST(StakeCharts, ProfitPerDrawWithMeanAndRunningTotal)
{
    Fixture f({WithProfit(Checked(10, 5), 15), WithProfit(Stake(10, {1, 2, 3, 4, 5, 6, 7, 8}), -5), NewSeparator(),
               WithProfit(Checked(11, 0), -10), NewSeparator(), WithProfit(Checked(12, 6), 30)});
    const auto chart = StakesGraphDraws(f.file, f.shell);
    ASSERT_TRUE(chart.has_value());
    EXPECT_TRUE(f.shell.messages.empty());
    EXPECT_EQ(f.shell.statusTexts, (std::vector<std::string>{"Создание графиков...", ""}));
    EXPECT_EQ(chart->Caption, "График суммарного профита ставок по тиражам");
    ASSERT_EQ(chart->Series.size(), 3u);

    const TChartLine& perDraw = chart->Series[0];
    EXPECT_EQ(perDraw.Title, "Суммарный профит ставок по тиражу");
    EXPECT_EQ(perDraw.Color, 0x008000u);
    EXPECT_TRUE(perDraw.ShowPoints);
    EXPECT_TRUE(perDraw.ShowMarks);
    EXPECT_EQ(perDraw.Points, Points({{10, 10}, {11, -10}, {12, 30}}));

    const TChartLine& mean = chart->Series[1];
    EXPECT_EQ(mean.Title, "Среднее значение");
    EXPECT_EQ(mean.Color, 0x0000FFu);
    EXPECT_FALSE(mean.ShowPoints);
    EXPECT_FALSE(mean.ShowMarks);
    EXPECT_EQ(mean.Points, Points({{10, 10}, {11, 10}, {12, 10}}));

    const TChartLine& total = chart->Series[2];
    EXPECT_EQ(total.Title, "Накопленное значение");
    EXPECT_EQ(total.Color, 0xFF0000u);
    EXPECT_TRUE(total.ShowPoints);
    EXPECT_TRUE(total.ShowMarks);
    EXPECT_EQ(total.Points, Points({{10, 10}, {11, 0}, {12, 30}}));
}

TEST(StakeCharts, ProfitPerDrawKeepsFirstAppearanceOrder)
{
    Fixture f({WithProfit(Checked(12, 1), 1), WithProfit(Checked(10, 1), 2), WithProfit(Checked(12, 1), 4)});
    const auto chart = StakesGraphDraws(f.file, f.shell);
    ASSERT_TRUE(chart.has_value());
    EXPECT_EQ(chart->Series[0].Points, Points({{12, 5}, {10, 2}}));
    EXPECT_EQ(chart->Series[2].Points, Points({{12, 5}, {10, 7}}));
}

TEST(StakeCharts, OneDrawIsNotAChart)
{
    for (const auto& records : std::vector<std::vector<TStakeRecord>>{
             {}, {NewSeparator()}, {Checked(10, 2), NewSeparator(), Stake(10, {1, 2, 3, 4, 5, 6, 7, 8})}}) {
        Fixture f(records);
        EXPECT_FALSE(StakesGraphDraws(f.file, f.shell).has_value());
        ASSERT_EQ(f.shell.messages.size(), 1u);
        EXPECT_EQ(f.shell.messages[0].kind, shell::MessageKind::Error);
        EXPECT_EQ(f.shell.messages[0].text,
                  "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!");
        EXPECT_FALSE(f.shell.IsBusy());
    }
}

TEST(StakeCharts, AddProfitSumsPerKey)
{
    TProfitDrawArray arr;
    AddProfit(arr, 5, util::Currency::FromRaw(1));
    AddProfit(arr, 3, util::Currency::FromRaw(-7));
    AddProfit(arr, 5, util::Currency::FromRaw(10));
    EXPECT_EQ(arr, (TProfitDrawArray{{5, util::Currency::FromRaw(11)}, {3, util::Currency::FromRaw(-7)}}));
}

TEST(StakeCharts, SeekLastDraws)
{
    auto noHits = Checked(5, 0);
    noHits.Matched.Count = -1;   // marked checked but without a result: not counted
    // Read backwards: draw 3 (twice), then 2, then 1; the unchecked stake and the separator are skipped.
    const std::vector<TStakeRecord> records = {Checked(1, 2), Checked(2, 0), NewSeparator(), Checked(3, 1),
                                               Checked(3, 4), noHits,        Stake(4, {1, 2, 3, 4, 5, 6, 7, 8})};
    struct Case {
        int n;
        int firstIndex;
        int draws;
    };
    for (const Case& c : std::vector<Case>{{0, 5, 0}, {1, 2, 1}, {2, 1, 2}, {3, 0, 3}, {100, 0, 3}}) {
        Fixture f(records);
        const TDrawRange r = SeekLastDraws(f.file, c.n);
        EXPECT_EQ(r.FirstIndex, c.firstIndex) << c.n;
        EXPECT_EQ(r.Draws, c.draws) << c.n;
    }
    // A draw met again after another counts again: groups, not distinct draws.
    Fixture f({Checked(3, 1), Checked(2, 1), Checked(3, 1)});
    EXPECT_EQ(SeekLastDraws(f.file, 100).Draws, 3);
    Fixture empty({});
    EXPECT_EQ(SeekLastDraws(empty.file, 100).Draws, 0);
}

TEST(StakeCharts, HitsAndProfitsOfTheSelectedRatingRows)
{
    std::vector<TStakeRecord> records;
    // 101 draws of one unrelated stake each: only the last 100 are charted.
    for (int d = 1; d <= 101; ++d) records.push_back(WithProfit(Checked(d, d % 9, "other"), 1));
    records.push_back(WithProfit(Checked(1, 7, "Ёлка"), 5));   // an old draw met again: a new group
    records[0].Comment = "Ёлка";                                // outside the range
    records[50].Comment = "ЁЛКА";
    records[100].Comment = "Test";
    records.push_back(WithProfit(Stake(102, {1, 2, 3, 4, 5, 6, 7, 8}, "Test"), -10));   // unchecked
    Fixture f(records);

    const auto hits = StakesGraphOverlap(f.file, {"ёлка", "TEST", "absent"}, f.shell);
    ASSERT_TRUE(hits.has_value());
    EXPECT_TRUE(f.shell.messages.empty());
    EXPECT_EQ(hits->Caption, "График количества совпадений для всех ставок по тиражам");
    ASSERT_EQ(hits->Series.size(), 2u);
    EXPECT_EQ(hits->Series[0].Title, "ЁЛКА");   // the first comment met names the series
    EXPECT_EQ(hits->Series[0].Points, Points({{51, 51 % 9}, {1, 7}}));
    EXPECT_EQ(hits->Series[0].Color, 0u);
    EXPECT_TRUE(hits->Series[0].ShowPoints);
    EXPECT_TRUE(hits->Series[0].ShowMarks);
    EXPECT_EQ(hits->Series[1].Title, "Test");
    EXPECT_EQ(hits->Series[1].Points, Points({{101, 101 % 9}}));

    const auto profits = StakesGraphProfits(f.file, {"ёлка"}, f.shell);
    ASSERT_TRUE(profits.has_value());
    EXPECT_EQ(profits->Caption, "График профита для всех ставок по тиражам");
    ASSERT_EQ(profits->Series.size(), 1u);
    EXPECT_EQ(profits->Series[0].Points, Points({{51, 1}, {1, 5}}));
}

TEST(StakeCharts, SelectedRowsChartRefusals)
{
    const std::string tooFew =
        "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!";
    Fixture two({Checked(1, 2, "a"), Checked(2, 2, "a")});
    EXPECT_FALSE(StakesGraphOverlap(two.file, {}, two.shell).has_value());
    Fixture one({Checked(1, 2, "a"), Checked(1, 3, "a"), Stake(2, {1, 2, 3, 4, 5, 6, 7, 8}, "a")});
    EXPECT_FALSE(StakesGraphProfits(one.file, {"a"}, one.shell).has_value());
    for (const auto* sh : {&two.shell, &one.shell}) {
        ASSERT_EQ(sh->messages.size(), 1u);
        EXPECT_EQ(sh->messages[0].text, tooFew);
        EXPECT_FALSE(sh->IsBusy());
    }
}

TEST(StakeCharts, AddPointFindsSeriesWithoutRegardToCase)
{
    TChartData chart;
    chart.AddPoint(1, "Серия", 2.5, true, false, 0x123456);
    chart.AddPoint(2, "сЕРИЯ", 3, false, true, 0xFFFFFF);   // the options of the first call stay
    chart.AddPoint(3, "Другая", 4, false, false);
    ASSERT_EQ(chart.Series.size(), 2u);
    EXPECT_EQ(chart.Series[0].Title, "Серия");
    EXPECT_EQ(chart.Series[0].Color, 0x123456u);
    EXPECT_TRUE(chart.Series[0].ShowPoints);
    EXPECT_FALSE(chart.Series[0].ShowMarks);
    EXPECT_EQ(chart.Series[0].Points, (std::vector<TChartPoint>{{1, 2.5, "1"}, {2, 3, "2"}}));
    EXPECT_EQ(chart.Find("ДРУГАЯ"), &chart.Series[1]);
    EXPECT_EQ(chart.Find("Третья"), nullptr);
}

TEST(SameText, FoldsLatinAndCyrillic)
{
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    for (const Case& c : std::vector<Case>{
             {"Test", "TEST", true},
             {"ёлка", "ЁЛКА", true},
             {"Привет, мир", "пРИВЕТ, МИР", true},
             {"їжак ґанок", "ЇЖАК ҐАНОК", true},
             {"Test", "Test ", false},
             {"е", "ё", false},
             {"", "", true},
             {"01.001: x", "01.001: X", true},
         })
        EXPECT_EQ(SameText(c.a, c.b), c.same) << c.a << " / " << c.b;
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/scenario/scenario.h"
#include "core/scenario/testreport.h"
#include "core/util/format.h"
#include "tests/core/scenario/runtest.h"

using namespace kv;
using test::RunFixture;

namespace {

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
    return n;
}

// Every draw is 1..8 and the step stakes the first ticket kept by a filter that keeps the numbers
// of the window: 8 hits on every draw, tuning and hold-out alike. The report says so, draws the
// row over its band and the filter over its kept share, and needs no outside file.
TEST(TestReport, AlwaysWinningIdeaHoldsUp)
{
    RunFixture f(40);
    f.DrawOneToEight(40);
    f.list.CombsGenerateMode = 0;
    std::array<std::string, 7> slots{"TMF1#NUMS:10#CMV:1#SF:1"};
    f.Script({scenario::BuildStepLine("FULL:0#FIRST", slots, "<идея>")});
    f.runner->ScriptTest(20, 5);
    ASSERT_TRUE(f.sh.messages.empty());

    stats::TConfigData config;
    config.Cost = util::Currency::FromUnits(10);
    config.Profits = {{8, util::Currency::FromUnits(1000)}};
    const stakes::TPrizeTable prizes(config);
    scenario::TTestReport report =
        scenario::BuildTestReport(f.ws.StakesFile(), f.runner->LastTest(),
                                  f.runner->Survival().Summary(f.runner->LastTest().HoldoutFrom), prizes,
                                  {.Repetitions = 300, .BandPoints = 10});
    report.Scenario = "test.lsc";
    report.Created = "2026-12-10 03:00";
    ASSERT_EQ(report.Rows.size(), 1u);
    const scenario::TReportRow& row = report.Rows[0];
    EXPECT_EQ(row.Tuning.StakeCount, 15);
    EXPECT_EQ(row.Held.StakeCount, 5);
    EXPECT_EQ(row.Luck.Tuning.Hits, 120);
    EXPECT_EQ(row.Luck.Holdout.Hits, 40);
    EXPECT_EQ(row.Luck.Tuning.PHits, 0);
    EXPECT_EQ(row.Luck.Holdout.PHits, 0);
    EXPECT_NEAR(row.Luck.Tuning.QHits, 1.0 / 301, 1e-12);   // the only row: q is (0 + 1) / (R + 1)
    EXPECT_EQ(row.Luck.Band.DrawNo.size(), 10u);
    EXPECT_EQ(scenario::ReportVerdict(row, true), "держится и на контрольных тиражах");
    EXPECT_TRUE(report.HasPrizes);
    // 1000 for 8 hits once in 125970 draws, less the stake's 10.
    EXPECT_EQ(report.ExpectedProfitRaw, std::llround(1000.0 * 10000 / 125970) - 100000);

    const std::string html = scenario::TestReportHtml(report);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    for (const char* outside : {"src=", "href=", "url(", "<script", "<link", "@import"})
        EXPECT_EQ(html.find(outside), std::string::npos) << outside;
    EXPECT_EQ(Count(html, "<svg"), 3);   // hits, profit, survival
    EXPECT_EQ(Count(html, "Контрольные тиражи</text>"), 2);
    EXPECT_NE(html.find("&lt;идея&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<идея>"), std::string::npos);
    EXPECT_NE(html.find(util::Format("Тест по 20 тиражам (№ %d - № %d), из них контрольных, на которых сценарий не "
                                     "настраивался: 5 (№ %d - № %d)",
                                     {f.LastDrawNo() - 19, f.LastDrawNo(), f.LastDrawNo() - 4, f.LastDrawNo()})),
              std::string::npos);
    EXPECT_NE(html.find("держится и на контрольных тиражах"), std::string::npos);
    EXPECT_NE(html.find("<th>Контроль: тестов</th>"), std::string::npos);

    // The band picture: one polygon of 2 x 10 points, a line of 10.
    const std::string svg = scenario::ReportBandSvg(row.Luck.Band, false, 0, f.runner->LastTest().HoldoutFrom);
    const std::size_t poly = svg.find("<polygon class=\"band\" points=\"");
    ASSERT_NE(poly, std::string::npos);
    EXPECT_EQ(Count(svg.substr(poly, svg.find('"', poly + 31) - poly), ","), 20);
    const std::size_t line = svg.find("<polyline class=\"real\" points=\"");
    ASSERT_NE(line, std::string::npos);
    EXPECT_EQ(Count(svg.substr(line, svg.find('"', line + 32) - line), ","), 10);
}

// An idea that only chance made look good among many: a verdict for every case of the table.
TEST(TestReport, Verdicts)
{
    const auto row = [](double qTune, double pTune, int heldDraws, double pHeld) {
        scenario::TReportRow r;
        r.Luck.Tuning.Draws = 10;
        r.Luck.Tuning.PHits = pTune;
        r.Luck.Tuning.QHits = qTune;
        r.Luck.All = r.Luck.Tuning;
        r.Luck.Holdout.Draws = heldDraws;
        r.Luck.Holdout.PHits = pHeld;
        return r;
    };
    EXPECT_EQ(scenario::ReportVerdict(row(0.01, 0.001, 5, 0.01), true), "держится и на контрольных тиражах");
    EXPECT_EQ(scenario::ReportVerdict(row(0.01, 0.001, 5, 0.3), true), "на контрольных тиражах не подтвердилась");
    EXPECT_EQ(scenario::ReportVerdict(row(0.01, 0.001, 0, 1), true), "нет ставок на контрольных тиражах");
    EXPECT_EQ(scenario::ReportVerdict(row(0.4, 0.01, 5, 0.01), true), "может оказаться случайностью среди многих идей");
    EXPECT_EQ(scenario::ReportVerdict(row(0.9, 0.5, 5, 0.01), false), "в пределах случайности");
    EXPECT_EQ(scenario::ReportVerdict(row(0.01, 0.001, 0, 1), false), "вряд ли случайность");
    scenario::TReportRow none;
    EXPECT_EQ(scenario::ReportVerdict(none, false), "нет ставок на тиражах настройки");
}

} // namespace

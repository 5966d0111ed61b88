#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/scenario/survival.h"
#include "core/scenario/testrun.h"
#include "core/stakes/lucktest.h"
#include "core/stakes/prizetable.h"

namespace kv::stakes {
class TStakesFile;
}

namespace kv::scenario {

// The report of a scenario test, for a player: per idea (rating row) its result on the tuning
// draws and on the hold-out draws, p and q of the luck test on either side, and a picture of its
// cumulative hits and profit over the band of random draws; the filters' survival with their
// Wilson intervals against the share of tickets they keep. One HTML file with its pictures as
// inline SVG: no outside files, any browser opens it.

struct TReportRow {
    std::string Name;
    stakes::TRatingRecord Tuning, Held;   // the halves from the run record
    stakes::TLuckRowResult Luck;
};

struct TTestReport {
    std::string Scenario;       // what was tested, as the title says it
    std::string Created;        // "yyyy-mm-dd hh:nn"
    TTestRun Run;
    int Repetitions = 0;        // R of the luck test
    bool HasPrizes = false;     // a prize table is set: profit is worth a picture
    int64_t ExpectedProfitRaw = 0;   // what a stake returns on a random draw on average (Currency raw x 10000)
    std::vector<TReportRow> Rows;    // best tuning result first
    std::vector<TSurvivalRow> Survival;
};

struct TReportSettings {
    int Repetitions = 1000;   // R
    uint64_t Seed = 20;
    int ChartRows = 24;       // rows that get a picture (the first ones)
    int BandPoints = 200;
};

// Gathers the report of the recorded test: the luck test of its rows over its own draws (stakes
// of the file whose comment names a row and whose draw lies in the test's range), q over all
// rows on each side, the rows ordered by their tuning q, p and name. `progress` as LuckTestRows;
// a cancelled report has no rows.
TTestReport BuildTestReport(stakes::TStakesFile& file, const TTestRun& run, std::vector<TSurvivalRow> survival,
                            const stakes::TPrizeTable& prizes, const TReportSettings& settings,
                            const std::function<bool(int done, int total)>& progress = {});

// The report of the last test recorded in the data directory (TestRunFileName and the survival
// file), titled with `scenario` and dated now; empty rows when there is no record.
TTestReport BuildLastTestReport(stakes::TStakesFile& file, const std::filesystem::path& dir, std::string scenario,
                                const stakes::TPrizeTable& prizes, const TReportSettings& settings,
                                const std::function<bool(int done, int total)>& progress = {});

// What a stake of 8 numbers returns on a random draw on average (Currency raw), and whether
// the prize table pays anything at all (a profit picture says something only then).
int64_t ExpectedStakeResultRaw(const stakes::TPrizeTable& prizes);
bool PaysPrizes(const stakes::TPrizeTable& prizes);

// The local time as the report gives it: "yyyy-mm-dd hh:nn".
std::string ReportTimeNow();

// The verdict of a row in a player's words.
std::string ReportVerdict(const TReportRow& row, bool holdout);

// The lines of a row's picture: cumulative hits (profit, in money units) minus what chance gives
// the same stakes on average, so that a line above the band stands out however long the test.
struct TBandLines {
    std::vector<double> X, Real, Low, High;
};
TBandLines ReportBandLines(const stakes::TLuckBand& band, bool profit, int64_t expectedProfitRaw);
// Titles of the pictures and their series, the same in the window and in the report.
const char* BandChartTitle(bool profit);
constexpr const char* BandSeriesText = "5%-95% случайных тиражей";
constexpr const char* IdeaSeriesText = "идея";
constexpr const char* HoldoutMarkText = "Контрольные тиражи";

// The picture of a row: ReportBandLines over the 5%-95% band of random draws, the hold-out
// shaded. SVG text.
std::string ReportBandSvg(const stakes::TLuckBand& band, bool profit, int64_t expectedProfitRaw, int32_t holdoutFrom);
// The survival picture: every filter's survival with its Wilson interval (and the hold-out's),
// the share of tickets it keeps as a mark.
std::string ReportSurvivalSvg(const std::vector<TSurvivalRow>& rows);

// The whole HTML page (UTF-8).
std::string TestReportHtml(const TTestReport& report);
// Writes it; throws on failure.
void SaveTestReport(const std::filesystem::path& file, const TTestReport& report);

} // namespace kv::scenario

#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/util/currency.h"

namespace kv::shell {
class Shell;
}

namespace kv::stakes {

class TStakesFile;

// The data of one chart window ("График"): titled line series filled point by point. The
// window draws it; every rule about which points go where lives here.
struct TChartPoint {
    double X = 0;
    double Y = 0;
    std::string Label;   // the x value in decimal
    bool operator==(const TChartPoint&) const = default;
};

struct TChartLine {
    std::string Title;
    uint32_t Color = 0;        // 0xRRGGBB; 0 = the chart's next default colour
    bool ShowPoints = false;   // 3 x 3 point markers
    bool ShowMarks = false;    // value marks; such series follow the window's marks check box
    std::vector<TChartPoint> Points;
};

struct TChartData {
    std::string Caption;
    std::vector<TChartLine> Series;

    // Adds (x, y) to the series of that title (compared case-insensitively), creating the
    // series with these options and colour when there is none yet.
    void AddPoint(int x, std::string_view seriesName, double y, bool showPoints, bool showMarks,
                  uint32_t color = 0);
    const TChartLine* Find(std::string_view title) const;
};

// Amount per draw number, in order of first appearance.
struct TProfitDraw {
    int32_t Key = 0;
    util::Currency Amount;
    bool operator==(const TProfitDraw&) const = default;
};
using TProfitDrawArray = std::vector<TProfitDraw>;
void AddProfit(TProfitDrawArray& arr, int32_t key, util::Currency amount);

constexpr const char* TooFewDrawsText =
    "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!";

// StakesGraphDraws: the profit of all stakes per draw, its mean and the running total. Busy with
// "Создание графиков..." meanwhile; fewer than two draws or a read failure are shown and give
// nothing.
std::optional<TChartData> StakesGraphDraws(TStakesFile& file, shell::Shell& shell);

// Where the last n draws with checked stakes begin: the index of the first record to read and
// the number of draws found (at most n).
struct TDrawRange {
    int FirstIndex = 0;
    int Draws = 0;
};
TDrawRange SeekLastDraws(TStakesFile& file, int n);

// StakesGraphOverlap (hits) and StakesGraphProfits: over the last 100 draws with checked stakes,
// one series per comment that equals one of the names (the selected rating rows), x the draw.
std::optional<TChartData> StakesGraphOverlap(TStakesFile& file, const std::vector<std::string>& names,
                                             shell::Shell& shell);
std::optional<TChartData> StakesGraphProfits(TStakesFile& file, const std::vector<std::string>& names,
                                             shell::Shell& shell);

} // namespace kv::stakes

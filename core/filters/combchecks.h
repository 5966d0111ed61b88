#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::filters {

class TCombList;

// --- finding a combination in the archive ---------------------------------------------------

constexpr int MaxFoundDraws = 26;

// The message of CombsFindInDraws: the draws holding the same 8 numbers (in any order), newest
// first, at most MaxFoundDraws of them, searched over the whole archive whatever the offset.
std::string FindInDraws(const game::TComb& comb, const game::TDrawsArray& draws);
// The command: the message as information, busy meanwhile.
void ShowFindInDraws(const game::TComb& comb, const game::TDrawsArray& draws, shell::Shell& shell);

// --- distinct numbers -----------------------------------------------------------------------

// Distinct numbers of the field 1..20 in the list; reading stops once all 20 were met.
int CountDistinctNumbers(std::span<const game::TComb> combs);
std::string DistinctNumbersText(int count);   // "В текущем списке комбинаций содержится %d уникальных номеров"
// The CombsCheckNums command.
void ShowDistinctNumbers(std::span<const game::TComb> combs, shell::Shell& shell);

// --- sum distribution chart -----------------------------------------------------------------

struct TChartPoint {
    double X = 0;
    double Y = 0;
    bool operator==(const TChartPoint&) const = default;
};

// One line series of the chart window.
struct TChartSeries {
    std::string Title;
    uint32_t Color = 0;        // 0xRRGGBB
    bool ShowMarks = false;    // point marks and value labels
    std::vector<TChartPoint> Points;
};

struct TSumDistribution {
    static constexpr const char* Caption = "Распределение сумм тиражей и всех возможных комбинаций";

    game::TStatSimpleArray Theory;   // (sum, combinations with it) over the whole game, by sum
    game::TStatSimpleArray Actual;   // (sum, draws with it) over the archive, by sum
    int MaxT = 0;
    int MinT = 0;
    int MaxA = 0;
    // The levels at 1/3, 1/2 and 2/3 of the theoretical counts' span, and for each the lowest
    // and highest sum whose count reaches it (0 when none does).
    int T[3] = {};
    int Lower[3] = {};
    int Upper[3] = {};
    // Actual, theoretical scaled to MaxA, and the three levels, in the order they are drawn.
    std::vector<TChartSeries> Series;
};

// The TotalSumCombs command's data; busy with a status text meanwhile.
TSumDistribution TotalSumCombs(const game::TDrawsArray& draws, shell::Shell& shell);

} // namespace kv::filters

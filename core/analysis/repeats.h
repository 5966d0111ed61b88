#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "core/analysis/drawsgraph.h"
#include "core/game/types.h"

namespace kv::shell {
class Shell;
}

namespace kv::analysis {

// One row of the repeats list: an analysed draw, a match count m > 0, and the earlier draws
// within the depth that share exactly m numbers with it, newest first.
struct TRepeatRow {
    int32_t DrawNo = 0;
    int Matches = 0;
    std::vector<int32_t> DrawNos;
    int Repeats() const { return static_cast<int>(DrawNos.size()); }
    // "Список тиражей": the draw numbers joined by single spaces.
    std::string DrawsText() const;
    bool operator==(const TRepeatRow&) const = default;
};

struct TRepeats {
    std::vector<TRepeatRow> Rows;   // analysed draws newest first; within a draw, m in order first met
    int MaxMatches = 0;
    bool Cancelled = false;         // "Отмена" stopped the walk; the rows so far stay
};

struct TRepeatsParams {
    int DrawsLength = 100;   // draws analysed, newest first (at least 1)
    int DrawsDeep = 100;     // earlier draws compared with each (at least 1)
};

// The whole archive, DrawsOffset aside. Shows the progress window "Идет сбор статистики...."
// with one step per analysed draw and stops when its "Отмена" is pressed.
TRepeats AnalyzeRepeats(const game::TDrawsArray& draws, const TRepeatsParams& params, shell::Shell& shell);

// The chart: series m - 1 for m = 1..MaxMatches, one point per row with that m (X the analysed
// draw, Y its repeats), oldest draw first.
std::vector<std::vector<TGraphPoint>> RepeatSeries(const TRepeats& repeats);

} // namespace kv::analysis

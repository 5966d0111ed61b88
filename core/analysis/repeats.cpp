#include "core/analysis/repeats.h"

#include <algorithm>
#include <array>
#include <bit>

#include "core/analysis/buildmemory.h"
#include "core/game/numbers.h"
#include "core/shell/shell.h"

namespace kv::analysis {

namespace {

// A draw of 8 distinct numbers of the field matches another by the common bits of their masks;
// a damaged draw is compared number by number, as HitCount counts.
struct DrawKey {
    uint32_t Mask;
    bool Clean;
};

DrawKey KeyOf(const game::TDraw& d)
{
    const uint32_t mask = DrawMask(d);
    return {mask, std::popcount(mask) == game::NumsPerDraw};
}

} // namespace

std::string TRepeatRow::DrawsText() const
{
    std::string text;
    for (int32_t d : DrawNos) {
        if (!text.empty()) text += ' ';
        text += std::to_string(d);
    }
    return text;
}

TRepeats AnalyzeRepeats(const game::TDrawsArray& draws, const TRepeatsParams& params, shell::Shell& shell)
{
    TRepeats result;
    const int last = static_cast<int>(draws.size()) - 1;
    if (last < 0) return result;
    const int first = std::max(0, last - std::max(1, params.DrawsLength) + 1);
    const int deep = std::max(1, params.DrawsDeep);
    shell::BusyScope busy(shell);
    shell.ProgressOpen(last - first + 1, true, "Идет сбор статистики....");
    const int from = std::max(0, first - deep);
    std::vector<DrawKey> keys;
    keys.reserve(static_cast<std::size_t>(last - from + 1));
    for (int i = from; i <= last; ++i) keys.push_back(KeyOf(draws[static_cast<std::size_t>(i)]));
    const auto key = [&](int i) { return keys[static_cast<std::size_t>(i - from)]; };

    // HitCount counts equal pairs: 8 x 8 at most.
    std::array<int, game::NumsPerDraw * game::NumsPerDraw + 1> rowOf{};
    try {
        for (int p = last; p >= first; --p) {
            if (shell.ProgressCancelled()) {
                result.Cancelled = true;
                break;
            }
            rowOf.fill(-1);
            const game::TDraw& drawP = draws[static_cast<std::size_t>(p)];
            const DrawKey kp = key(p);
            const int d = std::max(0, p - deep);
            for (int k = p - 1; k >= d; --k) {
                const DrawKey kk = key(k);
                const game::TDraw& drawK = draws[static_cast<std::size_t>(k)];
                const int m = kp.Clean && kk.Clean ? std::popcount(kp.Mask & kk.Mask) : game::HitCount(drawP, drawK);
                result.MaxMatches = std::max(result.MaxMatches, m);
                if (m <= 0) continue;
                int& row = rowOf[static_cast<std::size_t>(m)];
                if (row < 0) {
                    row = static_cast<int>(result.Rows.size());
                    result.Rows.push_back({drawP.DrawNo, m, {}});
                }
                result.Rows[static_cast<std::size_t>(row)].DrawNos.push_back(drawK.DrawNo);
            }
            shell.ProgressStep();
        }
    } catch (...) {
        shell.ProgressClose();
        throw;
    }
    shell.ProgressClose();
    return result;
}

std::vector<std::vector<TGraphPoint>> RepeatSeries(const TRepeats& repeats)
{
    std::vector<std::vector<TGraphPoint>> series(static_cast<std::size_t>(std::max(0, repeats.MaxMatches)));
    for (auto it = repeats.Rows.rbegin(); it != repeats.Rows.rend(); ++it)
        if (it->Matches >= 1 && it->Matches <= repeats.MaxMatches)
            series[static_cast<std::size_t>(it->Matches - 1)].push_back({it->DrawNo, it->Repeats()});
    return series;
}

} // namespace kv::analysis

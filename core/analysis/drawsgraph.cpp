#include "core/analysis/drawsgraph.h"

#include <memory>

#include "core/game/numbers.h"
#include "core/shell/shell.h"
#include "core/stats/stat.h"
#include "core/stats/statlist.h"
#include "core/util/error.h"

namespace kv::analysis {

int32_t MostFrequentValue(std::span<const int32_t> values)
{
    // The table keeps the order in which values first came, which settles ties.
    game::TStatSimpleArray table;
    for (int32_t v : values) game::AddStatSimple(table, v, 1);
    int32_t best = 0;
    int32_t bestCount = 0;
    for (const game::TStatSimple& s : table)
        if (s.Count > bestCount) {
            best = s.Key;
            bestCount = s.Count;
        }
    return best;
}

TDrawsGraph BuildDrawsGraph(stats::TCustomStat& stat, int offset, int length, bool sorted)
{
    TDrawsGraph graph;
    const game::TDrawsArray& draws = *stat.Env().Draws;
    const TDrawWindow w = DrawWindow(static_cast<int>(draws.size()), offset, length);
    if (w.Empty()) return graph;
    std::vector<int32_t> values;
    values.reserve(static_cast<std::size_t>(w.Size()));
    graph.Values.reserve(static_cast<std::size_t>(w.Size()));
    int64_t sum = 0;
    for (int i = w.First; i <= w.Last; ++i) {
        const int32_t v = stat.GetDrawGraphValue(i, w.Last, sorted);
        graph.Values.push_back({draws[static_cast<std::size_t>(i)].DrawNo, v});
        values.push_back(v);
        sum += v;
    }
    graph.Average = static_cast<double>(sum) / w.Size();
    graph.MostFrequent = MostFrequentValue(values);
    return graph;
}

bool TDrawsGraphBuilder::Build(const stats::TStatList& list, int method, int offset, int length, bool sorted,
                               shell::Shell& shell, bool force)
{
    const game::TDrawsArray* draws = list.Env().Draws;
    const int count = draws ? static_cast<int>(draws->size()) : 0;
    const TBuildInputs inputs{count, offset, length, method, sorted, draws ? ArchiveStamp(*draws) : 0};
    if (!m_memory.NeedsBuild(inputs, force)) return false;
    m_graph = {};
    if (method < 0 || method >= list.MethodCount() || count == 0) return true;
    shell::BusyScope busy(shell, StatusText);
    const std::unique_ptr<stats::TCustomStat> stat = list.CreateStat(method);
    if (!stat) throw Error(stats::NoMethodChosenText(ChooserName));
    m_graph = BuildDrawsGraph(*stat, offset, length, sorted);
    return true;
}

} // namespace kv::analysis

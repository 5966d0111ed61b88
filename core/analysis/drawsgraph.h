#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "core/analysis/buildmemory.h"
#include "core/game/types.h"

namespace kv::shell {
class Shell;
}
namespace kv::stats {
class TCustomStat;
class TStatList;
}

namespace kv::analysis {

struct TGraphPoint {
    int32_t DrawNo = 0;
    int32_t Value = 0;
    bool operator==(const TGraphPoint&) const = default;
};

// The tab "Графики": one charted statistic over the draws of a window ending at the current
// last draw, with the window's average and most frequent value (drawn as flat lines).
struct TDrawsGraph {
    std::vector<TGraphPoint> Values;   // oldest draw first
    double Average = 0;
    int32_t MostFrequent = 0;
    bool Empty() const { return Values.empty(); }
};

// The value with the largest count; among equal counts the one met first. 0 for none.
int32_t MostFrequentValue(std::span<const int32_t> values);

// The chart of `stat` over the window (offset, length) of the archive the instance reads.
TDrawsGraph BuildDrawsGraph(stats::TCustomStat& stat, int offset, int length, bool sorted);

// The graph of the tab with the memory of its last build.
class TDrawsGraphBuilder {
public:
    static constexpr const char* StatusText = "Анализ тиражей и построение графиков...";
    static constexpr const char* ChooserName = "cbDrawsGraphType";

    // Builds the chart of registry method `method` (-1: none chosen, the chart is cleared).
    // Unless forced nothing happens when the archive, offset, length, choice and draw order are
    // those of the last build; returns whether the chart changed.
    bool Build(const stats::TStatList& list, int method, int offset, int length, bool sorted, shell::Shell& shell,
               bool force);
    const TDrawsGraph& Graph() const { return m_graph; }
    void Forget() { m_memory.Forget(); }

private:
    TBuildMemory m_memory;
    TDrawsGraph m_graph;
};

} // namespace kv::analysis

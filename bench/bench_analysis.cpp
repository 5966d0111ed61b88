#include <benchmark/benchmark.h>

#include "bench/silentshell.h"
#include "core/analysis/card.h"
#include "core/analysis/drawsgraph.h"
#include "core/analysis/layout.h"
#include "core/analysis/repeats.h"
#include "core/analysis/weekstat.h"
#include "core/archive/sample.h"
#include "core/stats/statlist.h"

namespace {

constexpr int ArchiveDraws = 20000;

// A 20,000-draw archive (dated one a day) and the registry over it, built on first use.
struct AnalysisSetup {
    kv::game::TDrawsArray draws = kv::archive::SyntheticDraws(ArchiveDraws, 5);
    kv::stats::TStatList list;
    AnalysisSetup()
    {
        list.SetDraws(&draws);
        list.BuildMethodList();
    }
};

AnalysisSetup& setup()
{
    static AnalysisSetup s;
    return s;
}

// The sums chart over the whole archive.
void BM_DrawsGraph(benchmark::State& state)
{
    const int method = setup().list.FindMethod("SUMS");
    if (method < 0) {
        state.SkipWithError("no method SUMS");
        return;
    }
    kv::bench::SilentShell shell;
    kv::analysis::TDrawsGraphBuilder graph;
    for (auto _ : state) {
        graph.Build(setup().list, method, 0, ArchiveDraws, false, shell, true);
        benchmark::DoNotOptimize(graph.Graph().MostFrequent);
    }
}
BENCHMARK(BM_DrawsGraph)->Unit(benchmark::kMillisecond);

void BM_Card(benchmark::State& state)
{
    kv::bench::SilentShell shell;
    kv::analysis::TCard card;
    for (auto _ : state) {
        card.Build(setup().draws, shell, true);
        benchmark::DoNotOptimize(card.RowCount());
    }
}
BENCHMARK(BM_Card)->Unit(benchmark::kMillisecond);

// The grid over the default 100 draws and the five lists at their default lengths.
void BM_Layout(benchmark::State& state)
{
    kv::bench::SilentShell shell;
    kv::analysis::TLayout layout;
    for (auto _ : state) {
        layout.BuildGrid(setup().draws, 0, 100, shell, true);
        layout.BuildLists(setup().draws, 0, {50, 100, 200, 300, 400}, shell, true);
        benchmark::DoNotOptimize(layout.Grid().Rows());
    }
}
BENCHMARK(BM_Layout)->Unit(benchmark::kMillisecond);

// The weekday counts over the whole archive.
void BM_WeekStat(benchmark::State& state)
{
    kv::bench::SilentShell shell;
    kv::analysis::TWeekView week;
    for (auto _ : state) {
        week.Build(setup().draws, 0, ArchiveDraws, shell, true);
        benchmark::DoNotOptimize(week.Stat().Max);
    }
}
BENCHMARK(BM_WeekStat)->Unit(benchmark::kMillisecond);

// N draws analysed, each against the N before it.
void BM_AnalyzeRepeats(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    kv::bench::SilentShell shell;
    for (auto _ : state) {
        const kv::analysis::TRepeats r = kv::analysis::AnalyzeRepeats(setup().draws, {n, n}, shell);
        benchmark::DoNotOptimize(r.Rows.size());
    }
}
BENCHMARK(BM_AnalyzeRepeats)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

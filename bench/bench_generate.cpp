#include <benchmark/benchmark.h>

#include "bench/silentshell.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/generate.h"
#include "core/game/types.h"

namespace {

// The list is initialised once, as the program does at start-up, so a pass only refills the
// reserved storage.
void BM_GenerateFull(benchmark::State& state)
{
    kv::filters::TCombList list;
    list.Init();
    kv::filters::TFilterHistory history;
    kv::bench::SilentShell shell;
    const kv::filters::TGenerateSettings settings{kv::filters::GenerateAll, ""};
    for (auto _ : state) {
        const bool ok = kv::filters::GenerateCombs(false, settings, list, history, shell);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(list.Items().data());
        benchmark::ClobberMemory();
    }
    if (list.Count() != kv::game::CombCount || shell.MessageCount() != 0)
        state.SkipWithError("the full list was not generated");
    state.SetItemsProcessed(state.iterations() * kv::game::CombCount);
}
BENCHMARK(BM_GenerateFull)->Unit(benchmark::kMicrosecond);

} // namespace

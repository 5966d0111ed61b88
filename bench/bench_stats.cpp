#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "bench/silentshell.h"
#include "core/archive/sample.h"
#include "core/game/types.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"

namespace {

using kv::stats::TPrefetchCache;
using kv::stats::TStatList;

constexpr int ArchiveDraws = 2000;
constexpr uint32_t ArchiveSeed = 1;
constexpr int TableDraws = 1000;

// The registry over a synthetic archive with the default settings, shared by every benchmark of
// this file. Built on first use, not during static initialisation.
struct StatsSetup {
    kv::game::TDrawsArray draws = kv::archive::SyntheticDraws(ArchiveDraws, ArchiveSeed);
    TStatList list;

    StatsSetup()
    {
        list.SetDraws(&draws);
        list.BuildMethodList();
    }
};

StatsSetup& setup()
{
    static StatsSetup s;
    return s;
}

int methodIndex(benchmark::State& state, const std::string& code)
{
    const int i = setup().list.FindMethod(code);
    if (i < 0) state.SkipWithError(("no method " + code).c_str());
    return i;
}

void prefetchOne(benchmark::State& state, const std::string& code)
{
    const int method = methodIndex(state, code);
    if (method < 0) return;
    const TStatList& list = setup().list;
    std::size_t values = 0;
    for (auto _ : state) {
        auto distribution = TPrefetchCache::ComputeDistribution(list, method);
        values = static_cast<std::size_t>(distribution.Count());
        benchmark::DoNotOptimize(values);
    }
    state.counters["values"] = static_cast<double>(values);
    state.SetItemsProcessed(state.iterations() * kv::game::CombCount);
}

void statTableOne(benchmark::State& state, const std::string& code)
{
    const int method = methodIndex(state, code);
    if (method < 0) return;
    const TStatList& list = setup().list;
    // With the comparison off the cache never touches its folder.
    const TPrefetchCache cache(std::filesystem::temp_directory_path() / "kvbench-unused");
    kv::bench::SilentShell shell;
    kv::stats::TStatTableRequest request;
    request.Method = method;
    request.DrawsStatLen = TableDraws;
    request.DrawsOffset = 0;
    request.PrefetchsEnabled = false;
    kv::stats::TStatTable table;
    for (auto _ : state) {
        table.Build(list, cache, request, shell, true);
        benchmark::DoNotOptimize(table.RowCount());
    }
    if (shell.MessageCount() != 0) state.SkipWithError(shell.LastMessage().c_str());
    state.counters["rows"] = static_cast<double>(table.RowCount());
}

// One benchmark per method, named by its code. The registry is static data, so it can be read
// before main; the benchmarks themselves look the method up again by code when they run.
struct RegisterPerMethod {
    RegisterPerMethod()
    {
        TStatList list;
        list.BuildMethodList();
        std::vector<std::string> prefetch, table;
        for (int i = 0; i < list.MethodCount(); ++i) {
            const std::string code = list.Method(i).MethodCode();
            if (list.HasPrefetch(i)) prefetch.push_back(code);
            table.push_back(code);
        }
        for (const std::string& code : prefetch)
            benchmark::RegisterBenchmark(("BM_Prefetch/" + code).c_str(),
                                         [code](benchmark::State& s) { prefetchOne(s, code); })
                ->Unit(benchmark::kMillisecond);
        for (const std::string& code : table)
            benchmark::RegisterBenchmark(("BM_StatTable/" + code).c_str(),
                                         [code](benchmark::State& s) { statTableOne(s, code); })
                ->Unit(benchmark::kMillisecond);
    }
};
const RegisterPerMethod registerPerMethod;

// Every file is written anew each pass (forced, all groups), into one folder per run.
void BM_PrefetchAll(benchmark::State& state)
{
    const auto dir = std::filesystem::temp_directory_path() / ("kvbench-" + std::to_string(::getpid()) + "-prefetch");
    std::filesystem::create_directories(dir);
    const TPrefetchCache cache(dir);
    kv::bench::SilentShell shell;
    int written = 0;
    for (auto _ : state) {
        written = cache.CreatePrefetchFiles(setup().list, {.Force = true, .Rebuild = TPrefetchCache::AllGroups}, shell);
        benchmark::DoNotOptimize(written);
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    if (shell.MessageCount() != 0) state.SkipWithError(shell.LastMessage().c_str());
    state.counters["files"] = written;
}
BENCHMARK(BM_PrefetchAll)->Unit(benchmark::kMillisecond);

} // namespace

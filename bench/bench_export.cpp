#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <system_error>

#include "bench/silentshell.h"
#include "core/filters/comblist.h"
#include "core/filters/filterhistory.h"
#include "core/filters/generate.h"
#include "core/util/xlsxfile.h"
#include "core/workspace/listexport.h"

namespace {

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The full ticket list as the combination tab shows it (channel colours on) to an .xlsx file.
// The peak memory of the process is reported beside the time: the sheet streams to disk, so it
// stays near what the list itself takes.
void BM_ExportXlsx(benchmark::State& state)
{
    kv::filters::TCombList list;
    list.Init();
    kv::filters::TFilterHistory history;
    kv::bench::SilentShell shell;
    kv::filters::GenerateCombs(false, {kv::filters::GenerateAll, ""}, list, history, shell);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "kvbench_export.xlsx";
    const kv::util::TExportSheet sheet = kv::workspace::CombsSheet(list, true, 4);
    const long before = peakRssKb();
    for (auto _ : state) kv::util::WriteXlsx(file, sheet, {});
    std::error_code ec;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file, ec)) / 1e6;
    state.counters["peak_rss_growth_MB"] = static_cast<double>(peakRssKb() - before) / 1024.0;
    std::filesystem::remove(file, ec);
    if (list.Count() != kv::game::CombCount) state.SkipWithError("the full list was not generated");
    state.SetItemsProcessed(state.iterations() * list.Count());
}
BENCHMARK(BM_ExportXlsx)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3)->ReportAggregatesOnly(true);

} // namespace

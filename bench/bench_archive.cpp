#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "core/archive/archive.h"
#include "core/archive/drawedit.h"
#include "core/archive/sample.h"

namespace {

std::filesystem::path benchFile(const char* name)
{
    return std::filesystem::temp_directory_path() / (std::string("kvbench-") + std::to_string(::getpid()) + "-" + name);
}

void BM_ArchiveLoad(benchmark::State& state)
{
    const auto path = benchFile("load.ldr");
    kv::archive::WriteArchiveFile(path, kv::archive::SyntheticDraws(static_cast<int>(state.range(0)), 1));
    for (auto _ : state) {
        auto loaded = kv::archive::ReadArchiveFile(path);
        benchmark::DoNotOptimize(loaded.draws.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_ArchiveLoad)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ArchiveSave(benchmark::State& state)
{
    const auto path = benchFile("save.ldr");
    const auto draws = kv::archive::SyntheticDraws(static_cast<int>(state.range(0)), 1);
    for (auto _ : state) kv::archive::WriteArchiveFile(path, draws);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ArchiveSave)->Arg(100000)->Unit(benchmark::kMillisecond);

// CSV import of 40,000 draws with their own numbers: one pass over the text, no search of the
// archive per line.
void BM_DrawsImport(benchmark::State& state)
{
    const auto draws = kv::archive::SyntheticDraws(static_cast<int>(state.range(0)), 1);
    const std::string text = kv::archive::ExportDrawsText(draws);
    for (auto _ : state) {
        kv::game::TDrawsArray archive;
        benchmark::DoNotOptimize(kv::archive::ImportDrawsText(archive, text));
    }
}
BENCHMARK(BM_DrawsImport)->Arg(40000)->Unit(benchmark::kMillisecond);

} // namespace

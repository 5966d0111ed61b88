#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/silentshell.h"
#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/stakes/stakecheck.h"
#include "core/stakes/stakecommands.h"
#include "bench/benchprizes.h"
#include "core/stakes/stakesfile.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"

namespace {

using namespace kv;

std::filesystem::path benchDir(const char* name)
{
    auto dir = std::filesystem::temp_directory_path() / (std::string("kvbench-") + std::to_string(::getpid()) + "-" + name);
    std::filesystem::create_directories(dir);
    return dir;
}

// StakeAddAll over a list of combinations: one manual stake each, appended in bulk.
void BM_StakesAppend(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto dir = benchDir("stakes-append");
    const stakes::TPrizeTable prizes = bench::BenchPrizes();
    std::vector<game::TComb> combs;
    for (const game::TDraw& d : archive::SyntheticDraws(count, 7)) {
        game::TComb c = d.Nums;
        game::SortComb(c);
        combs.push_back(c);
    }
    stakes::TStakesFile file;
    file.Open(dir / stakes::TStakesFile::FileName);
    bench::SilentShell shell;
    for (auto _ : state) {
        state.PauseTiming();
        file.Truncate();
        state.ResumeTiming();
        const bool ok = stakes::AddStakesForCombs(file, shell, combs, 2001, 1, "Ставка \"вручную\"", count, prizes,
                                                  false, {});
        if (!ok || file.RecordCount() != count) {
            state.SkipWithError(shell.LastMessage().c_str());
            break;
        }
    }
    file.Close();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_StakesAppend)->Arg(100000)->Unit(benchmark::kMillisecond);

// A check pass over a file of which every tenth stake waits for a draw that the archive holds
// and the rest were checked before.
void BM_CheckStakes(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto dir = benchDir("stakes-check");
    const stakes::TPrizeTable prizes = bench::BenchPrizes();
    const game::TDrawsArray draws = archive::SyntheticDraws(2000, 1);
    const game::TDrawsArray tickets = archive::SyntheticDraws(count, 3);

    std::string bytes(static_cast<std::size_t>(count) * stakes::TStakeRecord::RecordSize, '\0');
    for (int i = 0; i < count; ++i) {
        game::TComb comb = tickets[static_cast<std::size_t>(i)].Nums;
        game::SortComb(comb);
        const auto& draw = draws[static_cast<std::size_t>(i % 2000)];
        stakes::TStakeRecord r = stakes::NewStake(stakes::OriginScenario, draw.DrawNo, 125970, comb,
                                                  "01.001: Исходный список + NUMS", prizes);
        if (i % 10 != 0) stakes::ApplyDraw(r, draw, prizes);
        r.Write(reinterpret_cast<uint8_t*>(bytes.data()) + static_cast<std::size_t>(i) * stakes::TStakeRecord::RecordSize);
    }
    const auto path = dir / stakes::TStakesFile::FileName;
    stakes::TStakesFile file;
    file.Open(path);
    bench::SilentShell shell;
    int rated = 0;
    stakes::TCheckSettings settings;
    settings.Draws = &draws;
    settings.Prizes = prizes;
    settings.OnChecked = [&rated](const stakes::TStakeRecord&) { ++rated; };
    for (auto _ : state) {
        state.PauseTiming();
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
        file.Reopen();
        rated = 0;
        state.ResumeTiming();
        const bool checked = stakes::CheckStakes(file, settings, shell);
        if (!checked || rated != count / 10) {
            state.SkipWithError(shell.MessageCount() ? shell.LastMessage().c_str() : "wrong number of stakes checked");
            break;
        }
    }
    file.Close();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CheckStakes)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

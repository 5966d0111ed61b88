#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <random>
#include <fstream>
#include <string>

#include "bench/silentshell.h"
#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/stakes/lucktest.h"
#include "core/stakes/ratings.h"
#include "core/stakes/stakecheck.h"
#include "core/stakes/stakesfile.h"
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "core/util/format.h"

namespace {

using namespace kv;

// "Обновить рейтинг" over a stakes file of checked scenario stakes: 500 step variants (Cyrillic
// comments, as scenarios name them) over 2000 draws, with a separator between the draws' groups.
// The measured work is the whole command: reading the file, merging the names, the sort by
// the view's default column and the save of the rating file.
void BM_RatingsRefresh(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const auto dir = std::filesystem::temp_directory_path()
        / ("kvbench-" + std::to_string(::getpid()) + "-ratings-refresh");
    std::filesystem::create_directories(dir);

    stats::TConfigData config;
    config.Cost = util::Currency::FromUnits(10);
    config.Profits = {{4, util::Currency::FromUnits(20)}, {5, util::Currency::FromUnits(100)},
                      {6, util::Currency::FromUnits(1000)}, {7, util::Currency::FromUnits(10000)},
                      {8, util::Currency::FromUnits(1000000)}};
    const stakes::TPrizeTable prizes(config);
    const game::TDrawsArray draws = archive::SyntheticDraws(2000, 1);
    const game::TDrawsArray tickets = archive::SyntheticDraws(count, 3);
    constexpr int Variants = 500;

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(count) * 2 * stakes::TStakeRecord::RecordSize);
    auto append = [&bytes](const stakes::TStakeRecord& r) {
        const std::size_t at = bytes.size();
        bytes.resize(at + stakes::TStakeRecord::RecordSize);
        r.Write(reinterpret_cast<uint8_t*>(bytes.data() + at));
    };
    for (int i = 0; i < count; ++i) {
        if (i > 0 && i % Variants == 0) append(stakes::NewSeparator());
        game::TComb comb = tickets[static_cast<std::size_t>(i)].Nums;
        game::SortComb(comb);
        const auto& draw = draws[static_cast<std::size_t>((i / Variants) % 2000)];
        const int variant = i % Variants;
        const std::string comment = util::Format("%.2d.%.3d: Исходный список + NUMS, SUMS, POS3",
                                                 {variant / 100 + 1, variant % 100 + 1});
        stakes::TStakeRecord r = stakes::NewStake(stakes::OriginScenario, draw.DrawNo, 125970, comb, comment, prizes);
        stakes::ApplyDraw(r, draw, prizes);
        append(r);
    }
    const auto path = dir / stakes::TStakesFile::FileName;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    stakes::TStakesFile file;
    file.Open(path);
    stakes::TRatings ratings(dir / stakes::TRatings::FileName);
    bench::SilentShell shell;
    for (auto _ : state) {
        const bool ok = ratings.RatingsRefresh(shell, file);
        if (!ok || ratings.Count() != Variants || shell.MessageCount() != 0) {
            state.SkipWithError(shell.MessageCount() ? shell.LastMessage().c_str() : "wrong rating");
            break;
        }
    }
    file.Close();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_RatingsRefresh)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The luck test of one rating row: 1,000 stakes over 50 draws, 10,000 random draws each.
void BM_LuckTest(benchmark::State& state)
{
    std::mt19937_64 gen(11);
    const auto random = [&] {
        std::array<int, 20> pool{};
        for (int i = 0; i < 20; ++i) pool[std::size_t(i)] = i + 1;
        std::shuffle(pool.begin(), pool.end(), gen);
        uint32_t m = 0;
        for (int i = 0; i < 8; ++i) m |= 1u << pool[std::size_t(i)];
        return m;
    };
    std::vector<kv::stakes::TLuckGroup> groups(50);
    for (kv::stakes::TLuckGroup& g : groups) {
        g.Draw = random();
        for (int s = 0; s < 20; ++s) g.Stakes.push_back(random());
    }
    kv::stats::TConfigData config;
    config.Cost = kv::util::Currency::FromUnits(10);
    config.Profits = {{5, kv::util::Currency::FromUnits(100)}, {6, kv::util::Currency::FromUnits(1000)}};
    const kv::stakes::TPrizeTable prizes(config);
    double p = 0;
    for (auto _ : state) p = kv::stakes::LuckTest(groups, prizes, {.Draws = 10000, .Seed = 1}).PHits;
    state.counters["p"] = p;
}
BENCHMARK(BM_LuckTest)->Unit(benchmark::kMillisecond);

} // namespace

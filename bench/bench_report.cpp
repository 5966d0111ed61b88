#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/archive/sample.h"
#include "core/game/numbers.h"
#include "core/scenario/testreport.h"
#include "core/stakes/lucktest.h"
#include "core/stakes/stakecheck.h"
#include "bench/benchprizes.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/config.h"
#include "core/util/format.h"

namespace {

using namespace kv;

uint32_t Mask(const game::TComb& c)
{
    uint32_t m = 0;
    for (uint8_t n : c) m |= 1u << n;
    return m;
}

// "Проверка на случайность" of 100 rating rows tested together, as a 100-draw test of a
// scenario with 100 variants leaves them (one stake per draw each), R = 10,000, with the q values.
void BM_LuckTestRows100(benchmark::State& state)
{
    const game::TDrawsArray draws = archive::SyntheticDraws(100, 1);
    const game::TDrawsArray tickets = archive::SyntheticDraws(100 * 100, 3);
    std::vector<std::vector<stakes::TLuckGroup>> rows(100);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t d = 0; d < draws.size(); ++d)
            rows[r].push_back({Mask(draws[d].Nums), {Mask(tickets[r * 100 + d].Nums)}, draws[d].DrawNo});
    const stakes::TPrizeTable prizes = bench::BenchPrizes();
    double q = 0;
    for (auto _ : state) {
        const stakes::TLuckRowsResult res = stakes::LuckTestRows(rows, prizes, {.Draws = 10000, .Seed = 1});
        q = res.Rows[0].All.QHits;
    }
    state.counters["q0"] = q;
}
BENCHMARK(BM_LuckTestRows100)->Unit(benchmark::kMillisecond);

// The report of a 2,000-offset test of a step with 4 variants (8,000 checked stakes, 500 draws
// held out, 7 filters of survival): the luck test of its rows with the bands, the HTML page and
// its file. The argument is R.
void BM_TestReport2000(benchmark::State& state)
{
    const auto dir = std::filesystem::temp_directory_path() / ("kvbench-" + std::to_string(::getpid()) + "-report");
    std::filesystem::create_directories(dir);
    const stakes::TPrizeTable prizes = bench::BenchPrizes();
    const game::TDrawsArray draws = archive::SyntheticDraws(2000, 1);
    const game::TDrawsArray tickets = archive::SyntheticDraws(8000, 5);
    scenario::TTestRun run;
    run.Count = 2000;
    run.Holdout = 500;
    run.FirstDrawNo = draws.front().DrawNo;
    run.HoldoutFrom = draws[1500].DrawNo;
    run.LastDrawNo = draws.back().DrawNo;
    stakes::TRatings tuning, held;
    std::string bytes;
    for (std::size_t d = 0; d < draws.size(); ++d) {
        for (int v = 0; v < 4; ++v) {
            game::TComb comb = tickets[d * 4 + std::size_t(v)].Nums;
            game::SortComb(comb);
            const std::string name = util::Format("01.%.3d: @ FULL#FIRST + TMD1#NUMS:50#LNO:#ST:2", {v + 1});
            stakes::TStakeRecord r = stakes::NewStake(stakes::OriginScenario, draws[d].DrawNo, 125970, comb, name, prizes);
            stakes::ApplyDraw(r, draws[d], prizes);
            (run.IsHoldout(r.DrawNo) ? held : tuning).AddRating(r);
            const std::size_t at = bytes.size();
            bytes.resize(at + stakes::TStakeRecord::RecordSize);
            r.Write(reinterpret_cast<uint8_t*>(bytes.data() + at));
        }
    }
    run.Tuning = tuning.Items();
    run.Held = held.Items();
    std::vector<scenario::TSurvivalRow> survival;
    for (int i = 0; i < 7; ++i)
        survival.push_back({.PartText = util::Format("TMD1#NUMS:%d#LNO:#ST:2", {10 * (i + 1)}),
                            .Tests = 1500, .Survived = 900, .Rate = 0.6, .KeptShare = 0.62, .Lift = 0.97,
                            .Low = 0.575, .High = 0.625, .HoldTests = 500, .HoldSurvived = 300, .HoldRate = 0.6,
                            .HoldKeptShare = 0.62, .HoldLift = 0.97, .HoldLow = 0.557, .HoldHigh = 0.642});
    const auto path = dir / stakes::TStakesFile::FileName;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    stakes::TStakesFile file;
    file.Open(path);
    std::size_t size = 0;
    for (auto _ : state) {
        scenario::TTestReport report = scenario::BuildTestReport(file, run, survival, prizes,
                                                                 {.Repetitions = int(state.range(0))});
        report.Scenario = "bench";
        scenario::SaveTestReport(dir / "report.html", report);
        size = std::filesystem::file_size(dir / "report.html");
    }
    state.counters["bytes"] = double(size);
    file.Close();
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_TestReport2000)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

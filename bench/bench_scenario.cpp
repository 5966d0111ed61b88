#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/silentshell.h"
#include "core/archive/archive.h"
#include "core/archive/sample.h"
#include "core/scenario/scriptrunner.h"
#include "core/workspace/workspace.h"
#include "core/stakes/stakesfile.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"

namespace {

constexpr int ArchiveDraws = 2000;
constexpr uint32_t ArchiveSeed = 1;

// One step of seven filters of mixed kinds (numbers, sums, even counts, differences, channels,
// repeats, periods; multi-select and one at a time; several stop modes) with 2 draws lengths
// times 2 condition values: 4 variants, each on a freshly generated full list.
const char* const StepLine =
    "FULL:0#FIRST"
    "|TMD1#NUMS:50,100#LNO:#ST:2"        // delete the 2 most frequent numbers
    "|TMF1#SUMS:100#CMV:1,2#SF:1"        // keep the sums seen at least once (twice)
    "|TMF1#EVEN:100#CMV:10#SF:1"         // keep the usual even counts
    "|TMD1#DIFA:100#CLV:1#SF:1"          // delete the rare differences
    "|TMD1#CHNC:100#CLV:2#SF:1"          // delete the rare channel counts
    "|TSD6#RPC2:100#LNO:#ST:1"           // one at a time: the value absent longest
    "|TMD1#PRDV:100#CLV:1#SF:1"          // delete the rare period values
    "|bench";

// A data directory of its own with the archive, the stakes file and the scenario.
struct ScenarioSetup {
    std::filesystem::path dir;
    kv::bench::SilentShell shell;
    std::unique_ptr<kv::workspace::Workspace> ws;
    kv::stats::TStatList list;
    std::unique_ptr<kv::stats::TPrefetchCache> cache;
    kv::stats::TStatTable table;
    std::unique_ptr<kv::scenario::TScriptRunner> runner;
    int checked = 0;
    // FNV-1a over the checked stake records, whole: a faster runner must leave it as it was.
    uint32_t digest = 2166136261u;
    std::string error;

    ScenarioSetup()
    {
        dir = std::filesystem::temp_directory_path() / ("kvbench-scenario-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        kv::archive::WriteArchiveFile(dir / kv::archive::ArchiveFileName, kv::archive::SyntheticDraws(ArchiveDraws, ArchiveSeed));
        ws = std::make_unique<kv::workspace::Workspace>(dir);
        ws->LoadArchive(shell);
        ws->Combs().Init();
        if (!ws->OpenStakesFile()) error = "stakes file";
        list.SetDraws(&ws->Draws());
        list.BuildMethodList();
        for (const char* code : {"NUMS", "SUMS", "EVEN", "DIFA", "CHNC", "RPC2", "PRDV"})
            if (list.FindMethod(code) < 0) error = std::string("no method ") + code;
        cache = std::make_unique<kv::stats::TPrefetchCache>(dir);
        ws->Scenario().AddLine(StepLine, shell);
        runner = std::make_unique<kv::scenario::TScriptRunner>(*ws, list, *cache, table, shell,
                                                               [this](const kv::stakes::TStakeRecord& r) {
                                                                   ++checked;
                                                                   addToDigest(r);
                                                               });
        runner->Options.CheckOnLine = true;
    }
    ~ScenarioSetup()
    {
        runner.reset();
        ws->CloseStakesFile();
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }

    void addToDigest(const kv::stakes::TStakeRecord& r)
    {
        uint8_t bytes[kv::stakes::TStakeRecord::RecordSize] = {};
        r.Write(bytes);
        for (uint8_t b : bytes) digest = (digest ^ b) * 16777619u;
    }

    void addSurvivalToDigest()
    {
        for (const kv::scenario::TSurvivalRecord& r : runner->Survival().Records()) {
            const int32_t fields[] = {r.DrawNo, r.Line, r.Variant, r.Part, r.Before, r.After, r.Passed ? 1 : 0};
            for (int32_t f : fields)
                for (int i = 0; i < 4; ++i) digest = (digest ^ uint8_t(f >> (8 * i))) * 16777619u;
            for (char c : r.PartText) digest = (digest ^ uint8_t(c)) * 16777619u;
        }
    }

    void clearStakes()
    {
        ws->StakesFile().Truncate();
        ws->StakesFile().Reopen();
    }
};

ScenarioSetup& setup()
{
    static ScenarioSetup s;
    return s;
}

// "Прогноз": the step at offset 0, its 4 stakes for the next draw.
void BM_ScenarioRun(benchmark::State& state)
{
    ScenarioSetup& s = setup();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        s.clearStakes();
        state.ResumeTiming();
        s.runner->ScriptRun();
    }
    if (s.shell.MessageCount() != 0) state.SkipWithError(s.shell.LastMessage().c_str());
    state.counters["stakes"] = s.runner->StakesMade();
    state.counters["left"] = s.ws->Combs().Count();
}
BENCHMARK(BM_ScenarioRun)->Unit(benchmark::kMillisecond);

// "Тест" over `count` offsets, each stake checked at once; the digest shows a faster runner
// changed no result.
void runScenarioTest(benchmark::State& state, int count)
{
    ScenarioSetup& s = setup();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        s.clearStakes();
        s.checked = 0;
        s.digest = 2166136261u;
        state.ResumeTiming();
        s.runner->ScriptTest(count);
    }
    s.addSurvivalToDigest();
    if (s.shell.MessageCount() != 0) state.SkipWithError(s.shell.LastMessage().c_str());
    state.counters["offsets"] = count;
    state.counters["survival"] = double(s.runner->Survival().Records().size());
    state.counters["reused"] = s.runner->ReusedPasses();
    state.counters["stakes"] = s.runner->StakesMade();
    state.counters["checked"] = s.checked;
    state.counters["digest"] = s.digest;
}

// "Тест" over the last 50 draws: 200 variants.
void BM_ScenarioTest50(benchmark::State& state)
{
    runScenarioTest(state, 50);
}
BENCHMARK(BM_ScenarioTest50)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same without the filter survival records, for the ratio of the two.
void BM_ScenarioTest50_NoSurvival(benchmark::State& state)
{
    ScenarioSetup& s = setup();
    s.runner->Options.SurvivalEnabled = false;
    runScenarioTest(state, 50);
    s.runner->Options.SurvivalEnabled = true;
}
BENCHMARK(BM_ScenarioTest50_NoSurvival)->Unit(benchmark::kMillisecond)->Iterations(1);

// "Тест" over every offset the archive allows (1,999 of the 2,000 draws): 7,996 variants.
void BM_ScenarioTest2000(benchmark::State& state)
{
    runScenarioTest(state, kv::scenario::TestCountMax(setup().ws->DrawCount()));
}
BENCHMARK(BM_ScenarioTest2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

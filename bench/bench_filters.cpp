#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/game/counting.h"
#include "core/archive/sample.h"
#include "core/filters/comblist.h"
#include "core/filters/compact.h"
#include "core/filters/filterhistory.h"
#include "core/filters/filterset.h"
#include "core/filters/generate.h"
#include "core/filters/statfilter.h"
#include "core/game/types.h"
#include "core/shell/shell.h"
#include "core/stats/prefetch.h"
#include "core/stats/statlist.h"
#include "core/stats/stattable.h"

namespace {

using kv::filters::TFilterPart;

constexpr int ArchiveDraws = 2000;
constexpr uint32_t ArchiveSeed = 1;

// Status texts dropped, questions answered by default; a message means the measured work failed.
class QuietShell : public kv::shell::Shell {
public:
    void SetStatusText(std::string_view) override {}
    int messages = 0;
    std::string last;

protected:
    void doShowMessage(kv::shell::MessageKind, std::string_view text) override
    {
        ++messages;
        last.assign(text);
    }
    bool doAsk(std::string_view, std::string_view, bool yesIsDefault) override { return yesIsDefault; }
};

struct FilterSetup {
    kv::game::TDrawsArray draws = kv::archive::SyntheticDraws(ArchiveDraws, ArchiveSeed);
    kv::stats::TStatList list;
    kv::game::TCombsArray all;

    FilterSetup()
    {
        list.SetDraws(&draws);
        list.BuildMethodList();
        kv::game::EnumerateAllCombs(all);
    }
};

FilterSetup& setup()
{
    static FilterSetup s;
    return s;
}

// Keep the combinations holding 3, 11 or 17: the undo copy is the full list, so every pass does
// the same work.
void BM_FilterKeepNums(benchmark::State& state)
{
    FilterSetup& s = setup();
    const int nums = s.list.FindMethod("NUMS");
    if (nums < 0) {
        state.SkipWithError("no method NUMS");
        return;
    }
    QuietShell shell;
    kv::filters::TCombList combs;
    kv::filters::TFilterHistory history;
    combs.Init();
    combs.Items() = s.all;
    combs.MakeUndoCopy(shell, false);
    const auto stat = s.list.CreateStat(nums);
    kv::filters::TMarkedValues marked;
    for (int n : {3, 11, 17}) marked.AddNumber(n);
    const kv::filters::TFilterScope scope{combs, history, s.draws, 0, false, shell};
    for (auto _ : state) {
        kv::filters::FilterCombs(*stat, "Числа тиража", marked, false, scope);
        history.Clear();
        benchmark::DoNotOptimize(combs.Count());
    }
    state.counters["left"] = combs.Count();
    state.SetItemsProcessed(state.iterations() * kv::game::CombCount);
}
BENCHMARK(BM_FilterKeepNums)->Unit(benchmark::kMicrosecond);

// The cut alone over the full list, the answers drawn at random so that a share of them keeps
// (range 0: one in eight, 1: one in two, 2: seven in eight): mixed blocks are the costly ones.
void BM_CutFullList(benchmark::State& state)
{
    const kv::game::TCombsArray& all = setup().all;
    const int keepEighths = state.range(0) == 0 ? 1 : state.range(0) == 1 ? 4 : 7;
    std::vector<uint8_t> answers(all.size());
    uint32_t x = 12345;
    for (uint8_t& a : answers) {
        x = x * 1103515245u + 12345u;
        a = (x >> 16) % 8 < uint32_t(keepEighths) ? 1 : 0;
    }
    kv::game::TCombsArray to;
    to.reserve(all.size());
    for (auto _ : state) {
        to.clear();
        kv::filters::AppendKept(to, all, answers.data(), true);
        benchmark::DoNotOptimize(to.data());
    }
    state.counters["kept"] = double(to.size());
    state.SetItemsProcessed(state.iterations() * int64_t(all.size()));
}
BENCHMARK(BM_CutFullList)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

TFilterPart part(int method, int sortColumn, bool multi, bool keep, int condition, const char* value, int stop,
                 int stopValue)
{
    TFilterPart p;
    p.Defined = true;
    p.Method = method;
    p.DrawsLen = 100;
    p.SortColumn = sortColumn;
    p.MultiSelect = multi;
    p.KeepSelected = keep;
    p.Condition = static_cast<uint8_t>(condition);
    p.ConditionValue = p.ConditionText = value;
    p.StopMode = static_cast<uint8_t>(stop);
    p.StopValue = stopValue;
    return p;
}

// Seven mixed parts over tables of 100 draws, as a scenario step runs them on a fresh full list:
// numbers, ratios, masks and positions; multi-select and one at a time; several stop modes.
void BM_ApplyFilterSet7(benchmark::State& state)
{
    FilterSetup& s = setup();
    kv::filters::TFilterRec rec{};
    const std::vector<std::pair<const char*, TFilterPart>> parts = {
        {"NUMS", part(0, 1, true, false, 0, "", 3, 2)},     // delete the 2 most frequent numbers
        {"EVEN", part(0, 1, true, true, 13, "15", 0, 1)},  // keep the usual even counts
        {"EVNV", part(0, 1, true, false, 15, "0", 0, 1)},  // delete the masks not seen lately
        {"POS3", part(0, 6, false, false, 0, "", 3, 2)},    // one at a time: the 2 longest absent
        {"POS5", part(0, 1, true, false, 15, "3", 0, 1)},   // delete the rare fifth numbers
        {"POS1", part(0, 1, true, false, 15, "3", 0, 1)},
        {"POS8", part(0, 1, true, false, 15, "3", 0, 1)},
    };
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const int m = s.list.FindMethod(parts[i].first);
        if (m < 0) {
            state.SkipWithError((std::string("no method ") + parts[i].first).c_str());
            return;
        }
        rec[i] = parts[i].second;
        rec[i].Method = m;
    }

    QuietShell shell;
    kv::filters::TCombList combs;
    kv::filters::TFilterHistory history;
    combs.Init();
    kv::stats::TStatTable table;
    // With the comparison off the cache never touches its folder.
    const kv::stats::TPrefetchCache cache(std::filesystem::temp_directory_path() / "kvbench-unused");
    bool abort = false;
    kv::filters::TFilterSetContext ctx{.List = s.list,
                                       .Cache = cache,
                                       .Table = table,
                                       .Combs = combs,
                                       .History = history,
                                       .Abort = abort,
                                       .Shell = shell,
                                   .Log = {},
                                   .OnStatView = {}};
    int left = 0;
    int applied = 0;
    for (auto _ : state) {
        state.PauseTiming();
        combs.Items() = s.all;
        history.Clear();
        state.ResumeTiming();
        kv::filters::ApplyFilterSet(rec, ctx);
        left = combs.Count();
        applied = history.Count();
    }
    if (shell.messages != 0) state.SkipWithError(shell.last.c_str());
    state.counters["left"] = left;
    state.counters["filters"] = applied;
}
BENCHMARK(BM_ApplyFilterSet7)->Unit(benchmark::kMillisecond);

} // namespace

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "core/game/counting.h"
#include "core/game/widevectors.h"

// The filter passes of the vector forms on a list the size a scenario step works on (the full set
// without two numbers, 43,758 combinations), with tables like those of its filters. The argument
// is the form: 0 plain, 1 AVX2, 2 AVX-512 (a form the CPU lacks runs the widest below it).

namespace {

using namespace kv::game;

const TCombsArray& list()
{
    static const TCombsArray combs = [] {
        TCombsArray all = *AllCombs();
        std::erase_if(all, [](const TComb& c) {
            return std::find(c.begin(), c.end(), 3) != c.end() || std::find(c.begin(), c.end(), 14) != c.end();
        });
        return all;
    }();
    return combs;
}

TByteTable tableOf(std::initializer_list<int> bytes)
{
    TByteTable t{};
    for (int b : bytes) t[std::size_t(b)] = 1;
    return t;
}

template <class Pass>
void run(benchmark::State& state, Pass&& pass)
{
    const TWideForm before = WideForm();
    SetWideForm(TWideForm(state.range(0)));
    const TCombsArray& combs = list();
    std::vector<uint8_t> result(combs.size());
    for (auto _ : state) {
        if (!pass(combs, result.data())) state.SkipWithError("the form declined the table");
        benchmark::DoNotOptimize(result.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(combs.size()));
    SetWideForm(before);
}

// The period filter: most numbers of the field.
void BM_MatchAnyByte(benchmark::State& state)
{
    const TByteTable hit = tableOf({1, 2, 4, 5, 6, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 20});
    run(state, [&](const TCombsArray& combs, uint8_t* out) { return MatchAnyByte(combs, hit, out); });
}

// The repeat count: the numbers of one draw.
void BM_MatchByteCount(benchmark::State& state)
{
    const TByteTable in = tableOf({2, 3, 7, 8, 12, 15, 16, 19});
    const TCountAnswers byCount = {0, 1, 1, 0, 1, 0, 0, 0, 0};
    run(state, [&](const TCombsArray& combs, uint8_t* out) { return MatchByteCount(combs, in, byCount, out); });
}

// The channel count, channels of four.
void BM_MatchClassCount(benchmark::State& state)
{
    TByteTable of{};
    for (std::size_t b = 0; b < of.size(); ++b) of[b] = uint8_t((b + 3) / 4);
    const TCountAnswers byCount = {0, 0, 0, 1, 1, 1, 0, 0, 0};
    run(state, [&](const TCombsArray& combs, uint8_t* out) { return MatchClassCount(combs, of, byCount, out); });
}

// The sums: every other sum of the usual ones.
void BM_MatchByteTotal(benchmark::State& state)
{
    TByteTable bySum{};
    for (std::size_t s = 60; s < 120; s += 2) bySum[s] = 1;
    run(state, [&](const TCombsArray& combs, uint8_t* out) { return MatchByteTotal(combs, bySum, out) >= 0; });
}

} // namespace

BENCHMARK(BM_MatchAnyByte)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MatchByteCount)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MatchClassCount)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MatchByteTotal)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

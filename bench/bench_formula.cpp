#include <benchmark/benchmark.h>

#include <string>

#include "core/game/evaluator.h"
#include "core/stats/config.h"

namespace {

// The default Formula1 on one combination, through the per-formula cache, as the statistics
// call it for every combination of the full set.
void BM_EvaluateFormula(benchmark::State& state)
{
    const std::string formula = kv::stats::TShreddingData{}.Formula1;
    kv::game::TComb n{1, 2, 3, 4, 5, 6, 7, 8};
    const kv::game::TComb none{};
    int32_t sum = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(n);
        sum += kv::game::EvaluateFormula(n, none, none, 2, formula);
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_EvaluateFormula);

} // namespace

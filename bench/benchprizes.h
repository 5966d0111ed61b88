#pragma once
#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "core/util/currency.h"

namespace kv::bench {

// The prize table the stake and luck benchmarks check with: a stake costs 10, 4 hits win 20 and
// 8 hits a million, so profits are spread as a real table spreads them.
inline stakes::TPrizeTable BenchPrizes()
{
    stats::TConfigData config;
    config.Cost = util::Currency::FromUnits(10);
    config.Profits = {{4, util::Currency::FromUnits(20)}, {5, util::Currency::FromUnits(100)},
                      {6, util::Currency::FromUnits(1000)}, {7, util::Currency::FromUnits(10000)},
                      {8, util::Currency::FromUnits(1000000)}};
    return stakes::TPrizeTable(config);
}

} // namespace kv::bench

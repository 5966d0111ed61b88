#pragma once
#include <array>
#include <cstdint>

#include "core/game/types.h"
#include "core/stats/config.h"
#include "core/util/currency.h"

namespace kv::stakes {

// The money side of a stake: the price of one combination and the prize for each hit count,
// taken from the engine settings when a command starts. Stakes code needs nothing else of the
// registry, and a value copied once keeps the hot check loop off the settings' row list.
class TPrizeTable {
public:
    // No cost and no prizes: every stake comes out at zero.
    TPrizeTable() = default;
    // Cost and Profits of the settings; of several rows for one hit count the first pays, as the
    // settings dialog lists them. A row for more hits than a draw has numbers can never pay.
    explicit TPrizeTable(const stats::TConfigData& config);

    util::Currency Cost() const { return m_cost; }
    // The prize for that many hits; zero for a count without a row or outside 0..8.
    util::Currency Profit(int hits) const;
    // The money result of one stake: -Binomial(numbers, 8) x Cost, plus the prize for the hits
    // (overlap < 0: an unchecked stake, no prize).
    util::Currency StakeResult(int numbersInStake, int overlap) const;

    bool operator==(const TPrizeTable&) const = default;

private:
    // Stakes hold at most MaxNumber numbers; the price of larger counts read from a damaged
    // file is computed when asked.
    static constexpr int PricedCounts = game::MaxNumber + 1;

    util::Currency m_cost;
    std::array<util::Currency, game::NumsPerDraw + 1> m_profits{};
    std::array<util::Currency, PricedCounts> m_stakeCosts{};
};

} // namespace kv::stakes

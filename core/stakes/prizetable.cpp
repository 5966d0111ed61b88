#include "core/stakes/prizetable.h"

#include "core/game/counting.h"

namespace kv::stakes {

TPrizeTable::TPrizeTable(const stats::TConfigData& config) : m_cost(config.Cost)
{
    std::array<bool, game::NumsPerDraw + 1> seen{};
    for (const stats::TProfitItem& p : config.Profits) {
        if (p.Overlap >= m_profits.size() || seen[p.Overlap]) continue;
        seen[p.Overlap] = true;
        m_profits[p.Overlap] = p.Profit;
    }
    for (int n = 0; n < PricedCounts; ++n) m_stakeCosts[static_cast<std::size_t>(n)] = m_cost * game::Binomial(n, 8);
}

util::Currency TPrizeTable::Profit(int hits) const
{
    return hits >= 0 && hits <= game::NumsPerDraw ? m_profits[static_cast<std::size_t>(hits)] : util::Currency{};
}

util::Currency TPrizeTable::StakeResult(int numbersInStake, int overlap) const
{
    const util::Currency price = numbersInStake >= 0 && numbersInStake < PricedCounts
                                     ? m_stakeCosts[static_cast<std::size_t>(numbersInStake)]
                                     : m_cost * game::Binomial(numbersInStake, 8);
    return util::Currency{} - price + Profit(overlap);
}

} // namespace kv::stakes

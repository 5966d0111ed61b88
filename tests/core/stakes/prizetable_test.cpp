#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/stakes/prizetable.h"
#include "core/stats/config.h"
#include "core/stats/statlist.h"
#include "tests/support/support.h"

using namespace kv;
using kv::stakes::TPrizeTable;

namespace {

stats::TConfigData Config()
{
    stats::TConfigData c;
    c.Cost = util::Currency::FromUnits(10);
    c.Profits = {{4, util::Currency::FromUnits(100)},
                 {4, util::Currency::FromUnits(500)},
                 {8, util::Currency::FromUnits(1000)},
                 {0, util::Currency::FromRaw(12345)},
                 {9, util::Currency::FromUnits(777)}};
    return c;
}

} // namespace

TEST(PrizeTable, StakeResult)
{
    const TPrizeTable prizes(Config());
    struct Case {
        int numbers;
        int overlap;
        int64_t raw;
    };
    const std::vector<Case> cases = {
        {9, 4, 10 * 10000},                   // -90 + the first row of overlap 4
        {8, -1, -10 * 10000},                 // an unchecked stake: no prize
        {8, 4, 90 * 10000},
        {8, 8, 990 * 10000},
        {8, 0, -10 * 10000 + 12345},
        {8, 3, -10 * 10000},                  // no row for it
        {8, 9, -10 * 10000},                  // more hits than a draw has numbers
        {8, 260, -10 * 10000},
        {8, -4, -10 * 10000},
        {10, 5, -450 * 10000},                // C(10, 8) = 45 combinations
        {20, 8, (1000 - 1259700) * 10000LL},
        {7, 4, 90 * 10000},                   // fewer than 8 numbers still cost one ticket
        {0, -1, -10 * 10000},
        {-3, -1, -10 * 10000},
        {21, -1, -2034900 * 10000LL},         // past the numbers of a ticket: C(21, 8) x 10
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.numbers << ", " << c.overlap);
        EXPECT_EQ(prizes.StakeResult(c.numbers, c.overlap).raw, c.raw);
    }
    EXPECT_EQ(prizes.Cost(), util::Currency::FromUnits(10));
    const std::vector<int64_t> profits = {12345, 0, 0, 0, 100 * 10000, 0, 0, 0, 1000 * 10000, 0};
    for (int hits = 0; hits < static_cast<int>(profits.size()); ++hits)
        EXPECT_EQ(prizes.Profit(hits).raw, profits[static_cast<std::size_t>(hits)]) << hits;
    EXPECT_EQ(prizes.Profit(-1).raw, 0);

    // No settings: nothing costs and nothing pays.
    EXPECT_EQ(TPrizeTable().StakeResult(20, 8).raw, 0);
    EXPECT_EQ(TPrizeTable(stats::TConfigData{}), TPrizeTable());
}

// Money stays exact through the binomial count, and a registry with its prizes cleared pays nothing.
TEST(PrizeTable, ExactCostAndClearedProfits)
{
    stats::TStatList list;
    list.Config() = Config();
    list.Config().Cost = util::Currency::FromRaw(3333);   // 0.3333: exact, no drift through doubles
    EXPECT_EQ(TPrizeTable(list.Config()).StakeResult(20, -1).raw, -3333LL * 125970);
    EXPECT_EQ(TPrizeTable(list.Config()).StakeResult(8, 4).raw, 100 * 10000 - 3333);
    list.ClearProfits();
    EXPECT_TRUE(list.Config().Profits.empty());
    EXPECT_EQ(TPrizeTable(list.Config()).StakeResult(8, 4).raw, -3333);
}

TEST(PrizeTable, FromTheSettingsFile)
{
    test::TempDir dir;
    const auto ini = dir / "Kvanta_8x20.ini";
    test::WriteBytes(ini, "[STAKES]\r\nCost=2,5\r\nProfits=3\r\n"
                          "Profit_0_Overlap=5\r\nProfit_0_Profit=75.25\r\n"
                          "Profit_1_Overlap=261\r\nProfit_1_Profit=1\r\n"
                          "Profit_2_Overlap=5\r\nProfit_2_Profit=99\r\n");
    stats::TStatList list;
    list.LoadSettings(ini);
    const TPrizeTable prizes(list.Config());
    EXPECT_EQ(prizes.Cost().raw, 25000);
    EXPECT_EQ(prizes.Profit(5).raw, 752500);
    EXPECT_EQ(prizes.Profit(6).raw, 0);
    // Overlap 261 is stored as its low byte, 5, after the first row for 5.
    EXPECT_EQ(prizes.StakeResult(9, 5).raw, -9 * 25000 + 752500);
}

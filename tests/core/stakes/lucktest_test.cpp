#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/game/bits.h"
#include "core/game/counting.h"
#include "core/stakes/lucktest.h"
#include "core/stats/config.h"

using namespace kv;
using stakes::TLuckGroup;

namespace {

stakes::TPrizeTable Prizes()
{
    stats::TConfigData c;
    c.Cost = util::Currency::FromUnits(10);
    c.Profits = {{5, util::Currency::FromUnits(100)}, {6, util::Currency::FromUnits(1000)}};
    return stakes::TPrizeTable(c);
}

uint32_t Mask(std::initializer_list<int> nums)
{
    uint32_t m = 0;
    for (int n : nums) m |= 1u << n;
    return m;
}

// One draw and four stakes: the estimate agrees with the share of all 125970 draws that do at
// least as well.
TEST(LuckTest, EstimateMatchesTheExactShareOnOneDraw)
{
    const TLuckGroup g{Mask({1, 2, 3, 4, 5, 6, 7, 8}),
                       {Mask({1, 2, 3, 4, 5, 9, 10, 11}), Mask({1, 2, 3, 12, 13, 14, 15, 16}),
                        Mask({6, 7, 17, 18, 19, 20, 9, 10}), Mask({4, 5, 6, 7, 8, 12, 13, 14})}};
    const stakes::TPrizeTable prizes = Prizes();
    const stakes::TLuckResult est = stakes::LuckTest({g}, prizes, {.Draws = 40000, .Seed = 7});
    ASSERT_EQ(est.Hits, 5 + 3 + 2 + 5);
    ASSERT_EQ(est.Profit, util::Currency::FromUnits(-40 + 200));

    int64_t atLeastHits = 0, atLeastProfit = 0, all = 0;
    game::TCombsArray combs;
    game::EnumerateAllCombs(combs);
    for (const game::TComb& c : combs) {
        uint32_t draw = 0;
        for (uint8_t n : c) draw |= 1u << n;
        int64_t h = 0, p = 0;
        for (uint32_t s : g.Stakes) {
            const int k = game::BitCount(s & draw);
            h += k;
            p += prizes.StakeResult(8, k).raw;
        }
        atLeastHits += h >= est.Hits;
        atLeastProfit += p >= est.Profit.raw;
        ++all;
    }
    ASSERT_EQ(all, 125970);
    EXPECT_NEAR(est.PHits, double(atLeastHits) / all, 0.008);
    EXPECT_NEAR(est.PProfit, double(atLeastProfit) / all, 0.008);
    // The same seed, the same answer; cancelling ends the work.
    EXPECT_EQ(stakes::LuckTest({g}, prizes, {.Draws = 40000, .Seed = 7}).PHits, est.PHits);
    EXPECT_TRUE(stakes::LuckTest({g}, prizes, {.Draws = 100}, [](int done, int) { return done < 50; }).Cancelled);
}

// Random tickets against random draws: p is spread evenly over 0..1 across seeds.
TEST(LuckTest, RandomTicketsGiveRoughlyUniformP)
{
    const stakes::TPrizeTable prizes = Prizes();
    std::vector<double> ps;
    for (uint64_t seed = 1; seed <= 200; ++seed) {
        std::mt19937_64 gen(seed * 7919);
        const auto random = [&] {
            std::vector<int> pool(20);
            for (int i = 0; i < 20; ++i) pool[std::size_t(i)] = i + 1;
            std::shuffle(pool.begin(), pool.end(), gen);
            uint32_t m = 0;
            for (int i = 0; i < 8; ++i) m |= 1u << pool[std::size_t(i)];
            return m;
        };
        std::vector<TLuckGroup> groups(20);
        for (TLuckGroup& g : groups) {
            g.Draw = random();
            for (int s = 0; s < 10; ++s) g.Stakes.push_back(random());
        }
        ps.push_back(stakes::LuckTest(groups, prizes, {.Draws = 500, .Seed = seed}).PHits);
    }
    int below10 = 0, below50 = 0;
    for (double p : ps) {
        below10 += p <= 0.1;
        below50 += p <= 0.5;
    }
    EXPECT_NEAR(below10 / 200.0, 0.1, 0.07);
    EXPECT_NEAR(below50 / 200.0, 0.5, 0.12);
}

TEST(LuckTest, PTexts)
{
    EXPECT_EQ(stakes::LuckPText(0.01234, 10000), "0.0123");
    EXPECT_EQ(stakes::LuckPText(0, 10000), "< 0.0001");
    EXPECT_EQ(stakes::LuckPText(1, 10000), "1.0000");
}

} // namespace

namespace {

// A row keeps its p values while its counters stand; another stake makes it ask again.
TEST(LuckTest, CacheHoldsWhileTheRowIsUnchanged)
{
    stakes::TLuckCache cache;
    stakes::TRatingRecord row;
    row.Name = "Идея";
    row.StakeCount = 3;
    row.HitSum = 9;
    stakes::TLuckResult r;
    r.PHits = 0.25;
    cache.Store(row, r);
    stakes::TRatingRecord same = row;
    same.Name = "ИДЕЯ";
    ASSERT_NE(cache.Find(same), nullptr);
    EXPECT_EQ(cache.Find(same)->PHits, 0.25);
    row.StakeCount = 4;
    EXPECT_EQ(cache.Find(row), nullptr);
}

} // namespace

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/game/bits.h"
#include "core/game/counting.h"
#include "core/stakes/lucktest.h"
#include "core/stats/config.h"
#include "core/util/format.h"

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

uint32_t RandomMask(std::mt19937_64& gen)
{
    std::vector<int> pool(20);
    for (int i = 0; i < 20; ++i) pool[std::size_t(i)] = i + 1;
    std::shuffle(pool.begin(), pool.end(), gen);
    uint32_t m = 0;
    for (int i = 0; i < 8; ++i) m |= 1u << pool[std::size_t(i)];
    return m;
}

// The worked example of Benjamini and Hochberg (1995): 15 p values, of which the procedure at
// 0.05 rejects the four smallest (Bonferroni only three). The adjusted values by hand:
// q(i) = min over j >= i of 15 p(j) / j.
TEST(LuckTest, BenjaminiHochbergPublishedExample)
{
    const std::vector<double> p = {0.0001, 0.0004, 0.0019, 0.0095, 0.0201, 0.0278, 0.0298, 0.0344,
                                   0.0459, 0.3240, 0.4262, 0.5719, 0.6528, 0.7590, 1.0000};
    const std::vector<double> want = {0.0015,   0.003,    0.0095,   0.035625, 0.0603,   15 * 0.0298 / 7, 15 * 0.0298 / 7,
                                      0.0645,   0.0765,   0.486,    15 * 0.4262 / 11, 1.25 * 0.5719, 15 * 0.6528 / 13,
                                      15 * 0.759 / 14, 1.0};
    // Shuffled input: the q values follow their p values.
    std::vector<std::size_t> order(p.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = (i * 7) % order.size();
    std::vector<double> shuffled;
    for (std::size_t i : order) shuffled.push_back(p[i]);
    const std::vector<double> q = stakes::BenjaminiHochberg(shuffled);
    int rejected = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        EXPECT_NEAR(q[k], want[order[k]], 1e-12) << "p = " << p[order[k]];
        rejected += q[k] <= 0.05;
    }
    EXPECT_EQ(rejected, 4);
    EXPECT_TRUE(stakes::BenjaminiHochberg(std::vector<double>{}).empty());
    EXPECT_EQ(stakes::BenjaminiHochberg(std::vector<double>{0.3, 0.3}), (std::vector<double>{0.3, 0.3}));
}

// Rows over the same 40 draws: one that always hits all 8 numbers among 199 random ideas. The
// winner's q stays near 0; the random ideas spread their p evenly and their q sits near 1.
TEST(LuckTest, OneWinnerAmongRandomIdeas)
{
    std::mt19937_64 gen(20261210);
    std::vector<uint32_t> draws;
    for (int d = 0; d < 40; ++d) draws.push_back(RandomMask(gen));
    std::vector<std::vector<TLuckGroup>> rows(200);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int d = 0; d < 40; ++d)
            rows[r].push_back({draws[std::size_t(d)], {r == 0 ? draws[std::size_t(d)] : RandomMask(gen)}, 1000 + d});
    const stakes::TLuckRowsResult res = stakes::LuckTestRows(rows, Prizes(), {.Draws = 2000, .Seed = 3});
    ASSERT_EQ(res.Rows.size(), 200u);
    EXPECT_EQ(res.Rows[0].All.Hits, 320);
    EXPECT_EQ(res.Rows[0].All.PHits, 0);
    EXPECT_LT(res.Rows[0].All.QHits, 200.0 / 2001 + 1e-12);
    int below05 = 0, below50 = 0, qHigh = 0;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        below05 += res.Rows[r].All.PHits < 0.05;
        below50 += res.Rows[r].All.PHits < 0.5;
        qHigh += res.Rows[r].All.QHits > 0.5;
    }
    EXPECT_NEAR(below05, 10, 8);
    EXPECT_NEAR(below50, 100, 25);
    EXPECT_GE(qHigh, 180);
    // Without a hold-out every draw tunes; the counts add up.
    EXPECT_EQ(res.Rows[5].Tuning.Draws, 40);
    EXPECT_EQ(res.Rows[5].Holdout.Draws, 0);
    EXPECT_EQ(res.Rows[5].Tuning.PHits, res.Rows[5].All.PHits);
}

// A row that wins only on the draws it was tuned on: small p there, an ordinary one on the
// hold-out. A row's p does not depend on the rows tested with it; the band holds the random
// totals and the winner's line leaves it.
TEST(LuckTest, HoldoutSplitAndBand)
{
    std::mt19937_64 gen(77);
    std::vector<TLuckGroup> overfit, random;
    for (int d = 0; d < 30; ++d) {
        const uint32_t draw = RandomMask(gen);
        overfit.push_back({draw, {d < 20 ? draw : RandomMask(gen)}, 500 + d});
        random.push_back({draw, {RandomMask(gen), RandomMask(gen)}, 500 + d});
    }
    const stakes::TLuckRowsSettings settings{.Draws = 3000, .Seed = 9, .HoldoutFrom = 520, .BandPoints = 7};
    const stakes::TLuckRowsResult both = stakes::LuckTestRows({overfit, random}, Prizes(), settings);
    const stakes::TLuckRowResult& o = both.Rows[0];
    EXPECT_EQ(o.Tuning.Draws, 20);
    EXPECT_EQ(o.Holdout.Draws, 10);
    EXPECT_EQ(o.Tuning.Hits, 160);
    EXPECT_EQ(o.Tuning.PHits, 0);
    EXPECT_GT(o.Holdout.PHits, 0.01);
    EXPECT_EQ(o.All.Hits, o.Tuning.Hits + o.Holdout.Hits);

    const stakes::TLuckRowsResult alone = stakes::LuckTestRows({random}, Prizes(), settings);
    EXPECT_EQ(alone.Rows[0].Holdout.AtLeastHits, both.Rows[1].Holdout.AtLeastHits);
    EXPECT_EQ(alone.Rows[0].All.AtLeastProfit, both.Rows[1].All.AtLeastProfit);

    for (const stakes::TLuckRowResult& row : both.Rows) {
        const stakes::TLuckBand& b = row.Band;
        ASSERT_EQ(b.DrawNo.size(), 7u);
        EXPECT_EQ(b.DrawNo.back(), 529);
        EXPECT_EQ(b.Hits.back(), row.All.Hits);
        EXPECT_EQ(b.Profit.back(), row.All.Profit.raw);
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_LE(b.HitsLow[i], b.HitsHigh[i]);
            EXPECT_LE(b.ProfitLow[i], b.ProfitHigh[i]);
            if (i > 0) {
                EXPECT_LT(b.DrawNo[i - 1], b.DrawNo[i]);
            }
        }
    }
    // Two stakes of 8 per draw on random draws: 6.4 hits a draw on average.
    EXPECT_NEAR((both.Rows[1].Band.HitsLow.back() + both.Rows[1].Band.HitsHigh.back()) / 2.0, 6.4 * 30, 10);
    EXPECT_GT(o.Band.Hits[4], o.Band.HitsHigh[4]);
    // No band where none is asked for.
    const bool marks[2] = {false, true};
    EXPECT_TRUE(stakes::LuckTestRows({overfit, random}, Prizes(), settings, marks).Rows[0].Band.Empty());
}

TEST(LuckTest, ChanceSentence)
{
    const char sep = util::DecimalSeparator();
    util::SetDecimalSeparator(',');
    EXPECT_EQ(stakes::LuckChanceText(200, 12, 1),
              "Из 200 проверенных строк около 10 получили бы p < 0,05 чисто случайно, даже если ни одна идея не "
              "работает; у вас p < 0,05 у 12, а после поправки на число строк (q < 0,05) - у 1.");
    EXPECT_NE(stakes::LuckChanceText(7, 0, 0).find("около 0,4 получили"), std::string::npos);
    util::SetDecimalSeparator(sep);
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

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/game/game.h"

using namespace kv::game;

namespace {

TEST(Counting, GameConstantsFollowFromTheField)
{
    EXPECT_EQ(Binomial(MaxNumber, NumsPerDraw), CombCount);
    EXPECT_EQ(SumUp(MinNumber, NumsPerDraw), MinSum);
    EXPECT_EQ(SumDown(MaxNumber, NumsPerDraw), MaxSum);
    EXPECT_EQ(SumTolerance, 9);
}

TEST(Counting, Factorial)
{
    struct Case {
        int n;
        long double expected;
    };
    const std::vector<Case> cases = {
        {-3, 1.0L}, {0, 1.0L}, {1, 1.0L}, {2, 2.0L}, {5, 120.0L}, {8, 40320.0L},
        {12, 479001600.0L}, {20, 2432902008176640000.0L},
    };
    for (const Case& c : cases) EXPECT_EQ(Factorial(c.n), c.expected) << c.n;

    // The top of the range still fits extended precision and keeps the recurrence.
    const long double f255 = Factorial(255);
    EXPECT_TRUE(std::isfinite(f255));
    EXPECT_GT(f255, 1e504L);
    EXPECT_NEAR(static_cast<double>(f255 / Factorial(254)), 255.0, 1e-9);
}

TEST(Counting, Binomial)
{
    struct Case {
        int n, k;
        int64_t expected;
    };
    const std::vector<Case> cases = {
        {20, 8, 125970}, {8, 8, 1}, {5, 7, 1}, {0, 0, 1},  {20, 0, 1},
        {20, 1, 20},     {20, 19, 20}, {20, 10, 184756}, {12, 8, 495}, {12, 4, 495},
        {40, 20, 137846528820LL}, {255, 1, 255}, {255, 254, 255},
    };
    for (const Case& c : cases) EXPECT_EQ(Binomial(c.n, c.k), c.expected) << c.n << " " << c.k;
}

TEST(Counting, MatchCountOfTheGame)
{
    const std::vector<int64_t> expected = {495, 6336, 25872, 44352, 34650, 12320, 1848, 96, 1};
    int64_t sum = 0;
    for (int m = 0; m <= 8; ++m) {
        EXPECT_EQ(MatchCount(20, 8, m), expected[m]) << m;
        sum += MatchCount(20, 8, m);
    }
    EXPECT_EQ(sum, CombCount);
}

TEST(Counting, MatchCountOtherShapes)
{
    struct Case {
        int n, k, m;
        int64_t expected;
    };
    const std::vector<Case> cases = {
        {20, 8, 9, 0},      // more matches than numbers played
        {20, 8, 20, 1},     // m >= n is defined as 1
        {20, 8, 25, 1},
        {20, 5, 2, 4550},   // C(5,2) * C(15,3)
        {20, 5, 0, 3003},   // C(15,5)
        {10, 5, 5, 1},
        {10, 6, 1, 0},      // 6 picks out of 10 share at least 2 with any other 6
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchCount(c.n, c.k, c.m), c.expected) << c.n << " " << c.k << " " << c.m;

    int64_t sum = 0;
    for (int m = 0; m <= 5; ++m) sum += MatchCount(20, 5, m);
    EXPECT_EQ(sum, Binomial(20, 5));
}

TEST(Counting, CeilDivAndGroupCount)
{
    struct Div {
        int a, b, expected;
    };
    const std::vector<Div> divs = {
        {20, 3, 7}, {21, 3, 7}, {18, 3, 6}, {0, 5, 0}, {1, 5, 1}, {20, 20, 1}, {20, 1, 20},
        {-1, 2, 1},   // truncating division, then +1 for the remainder
        {-3, 2, 0}, {5, 0, 0},
    };
    for (const Div& d : divs) EXPECT_EQ(CeilDiv(d.a, d.b), d.expected) << d.a << "/" << d.b;

    struct Group {
        int first, last, w, expected;
    };
    const std::vector<Group> groups = {
        {1, 20, 5, 4}, {1, 20, 3, 7}, {0, 20, 3, 7}, {1, 20, 1, 20}, {1, 20, 20, 1},
        {5, 20, 4, 4}, {5, 21, 4, 5}, {0, 7, 2, 4}, {3, 3, 5, 1},
    };
    for (const Group& g : groups)
        EXPECT_EQ(GroupCount(g.first, g.last, g.w), g.expected)
            << g.first << ".." << g.last << " by " << g.w;
}

TEST(Counting, GridPositions)
{
    struct Case {
        int first, w, value;
        TGridPos expected;
    };
    const std::vector<Case> cases = {
        {1, 5, 1, {0, 0}}, {1, 5, 5, {4, 0}}, {1, 5, 6, {0, 1}}, {1, 5, 7, {1, 1}},
        {1, 3, 20, {1, 6}}, {0, 4, 11, {3, 2}}, {10, 4, 13, {3, 0}}, {10, 4, 14, {0, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GridPos(c.first, c.w, c.value), c.expected) << c.first << " " << c.w << " " << c.value;
        EXPECT_EQ(GridValue(c.first, c.expected.Row, c.w, c.expected.Col), c.value);
    }

    // Every card width puts every number in a cell that maps back to it.
    for (int cols = 1; cols <= 20; ++cols) {
        for (int n = 1; n <= 20; ++n) {
            const TGridPos p = GridPos(1, cols, n);
            EXPECT_EQ(GridValue(1, p.Row, cols, p.Col), n);
            EXPECT_EQ(Column(n, cols), p.Col + 1);
            EXPECT_EQ(Row(n, cols), p.Row + 1);
            EXPECT_LE(Row(n, cols), GroupCount(1, 20, cols));
        }
    }
}

TEST(Counting, CardColumnAndRow)
{
    struct Case {
        int n, cols, column, row;
    };
    const std::vector<Case> cases = {
        {1, 3, 1, 1}, {3, 3, 3, 1}, {4, 3, 1, 2}, {20, 3, 2, 7}, {20, 20, 20, 1},
        {20, 1, 1, 20}, {10, 5, 5, 2}, {11, 5, 1, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Column(c.n, c.cols), c.column) << c.n << " on " << c.cols;
        EXPECT_EQ(Row(c.n, c.cols), c.row) << c.n << " on " << c.cols;
    }
}

TEST(Counting, ConsecutiveSums)
{
    struct Case {
        int a, k, up, down;
    };
    const std::vector<Case> cases = {
        {1, 8, 36, -20}, {20, 8, 188, 132}, {5, 3, 18, 12}, {7, 1, 7, 7}, {7, 0, 0, 0},
        {13, 8, 132, 76},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SumUp(c.a, c.k), c.up) << c.a << " " << c.k;
        EXPECT_EQ(SumDown(c.a, c.k), c.down) << c.a << " " << c.k;
    }
}

} // namespace

#include "core/util/ticks.h"

#include <gtest/gtest.h>

namespace kv::util {
namespace {

struct Case {
    double min, max;
    int maxTicks;
    bool whole;
    double wantMin, wantMax, wantStep;
    int wantDecimals;
};

TEST(NiceTicks, RoundStepsCoverTheData)
{
    const Case cases[] = {
        {382, 430, 10, true, 380, 430, 5, 0},    // counts that differ little keep their detail
        {0, 225.8, 10, true, 0, 250, 50, 0},      // not 112.9 and 225.8
        {36, 132, 10, true, 30, 140, 10, 0},    // sums on X
        {1, 3, 10, true, 1, 3, 1, 0},           // whole steps never go below 1
        {0.1, 0.3, 10, false, 0.1, 0.3, 0.02, 2},
        {-1234, 56, 8, false, -1400, 200, 200, 0},   // losses below zero
        {7, 7, 10, true, 7, 8, 1, 0},           // one value: a range around it
        {0, 0, 10, false, 0, 0.1, 0.1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
        const TAxisTicks t = NiceTicks(c.min, c.max, c.maxTicks, c.whole);
        EXPECT_DOUBLE_EQ(t.Min, c.wantMin);
        EXPECT_DOUBLE_EQ(t.Max, c.wantMax);
        EXPECT_DOUBLE_EQ(t.Step, c.wantStep);
        EXPECT_EQ(t.Decimals, c.wantDecimals);
        EXPECT_LE(t.Min, c.min);
        EXPECT_GE(t.Max, c.max);
        EXPECT_LE(t.Count(), c.maxTicks + 2);
    }
}

} // namespace
} // namespace kv::util

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "runtime/core/rt_core.h"

namespace {

std::vector<int32_t> draws(int32_t seed, int n, int32_t max) {
    rt_random_seed(seed);
    std::vector<int32_t> v;
    for (int i = 0; i < n; ++i) v.push_back(rt_random(max));
    return v;
}

// A seed replaying its sequence is what every recorded game replay relies on.
TEST(RandomTest, SeedsDifferAndBoundsHold) {
    EXPECT_NE(draws(1234, 100, -1), draws(1235, 100, -1));

    rt_random_seed(99);
    int ones = 0, negatives = 0;
    for (int i = 0; i < 20000; ++i) {
        const int32_t zero = rt_random(0), bit = rt_random(1), digit = rt_random(9),
                      big = rt_random(INT32_MAX);
        ASSERT_TRUE(zero == 0 && (bit == 0 || bit == 1) && digit >= 0 && digit <= 9 && big >= 0);
        ones += bit;
        negatives += rt_random(-1) < 0;
    }
    EXPECT_NEAR(ones, 10000, 600);
    EXPECT_NEAR(negatives, 10000, 600);
}

TEST(RandomTest, ThreadsKeepTheirOwnSequences) {
    std::vector<int32_t> expected = draws(77, 1000, 1000);
    std::vector<int32_t> a, b;
    std::thread ta([&] { a = draws(77, 1000, 1000); });
    std::thread tb([&] { b = draws(77, 1000, 1000); });
    ta.join();
    tb.join();
    EXPECT_EQ(a, expected);
    EXPECT_EQ(b, expected);
}

TEST(TimingTest, DelayAdvancesTheClock) {
    const uint32_t before = rt_ms_elapsed();
    rt_delay(10);
    const uint32_t waited = rt_ms_elapsed() - before;
    EXPECT_TRUE(waited >= 10u && waited < 1000u) << waited;
    rt_delay(0);
    rt_delay(-5);
}

TEST(MathTest, RoundingModesAtanAndColours) {
    // mode 2 nearest (halves away from zero), 1 up, 0 down, others down
    const std::tuple<float, int32_t, float> rounds[] = {
        {2.5f, 2, 3}, {-2.5f, 2, -3}, {2.4f, 2, 2},  {2.1f, 1, 3},
        {2.9f, 0, 2}, {-2.1f, 0, -3}, {-2.1f, 7, -3}};
    for (const auto& [v, mode, want] : rounds)
        EXPECT_EQ(rt_math_round(v, mode), want) << v << " " << mode;
    EXPECT_EQ(rt_math_atan(-1e30f), static_cast<float>(std::atan(-1e30)));
    EXPECT_EQ(rt_rgb(1, 2, 3), 0x030201u);
    EXPECT_EQ(rt_rgb(256, 0, 0), 256u);
}

}  // namespace

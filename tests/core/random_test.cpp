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

TEST(RandomTest, SeedReplaysAndBoundsHold) {
    EXPECT_EQ(draws(1234, 100, -1), draws(1234, 100, -1));
    EXPECT_NE(draws(1234, 100, -1), draws(1235, 100, -1));

    rt_random_seed(99);
    int ones = 0, negatives = 0;
    for (int i = 0; i < 20000; ++i) {
        EXPECT_EQ(rt_random(0), 0);
        int32_t bit = rt_random(1);
        ASSERT_TRUE(bit == 0 || bit == 1);
        ones += bit;
        int32_t digit = rt_random(9);
        ASSERT_TRUE(digit >= 0 && digit <= 9);
        int32_t big = rt_random(INT32_MAX);
        ASSERT_GE(big, 0);
        negatives += rt_random(-1) < 0;
    }
    EXPECT_NEAR(ones, 10000, 600);
    EXPECT_NEAR(negatives, 10000, 600);
}

TEST(RandomTest, MatchesTheReferenceStep) {
    // Independent model of the generator: seed, 31 discarded steps, draw.
    struct Model {
        int i = 0, j = 10;
        uint32_t a[17], b[17];
        explicit Model(uint32_t x) {
            for (int k = 0; k < 17; ++k) {
                b[k] = 1u - x * 0x53A9B4FBu;
                x = 1u - b[k] * 0x53A9B4FBu;
                a[k] = x;
            }
            for (int k = 0; k < 31; ++k) step();
        }
        uint32_t step() {
            uint32_t r = ((b[i] >> 13) | (b[i] << 19)) + b[j];
            uint32_t s = ((a[i] >> 5) | (a[i] << 27)) + a[j];
            a[i] = r;
            b[i] = s;
            i = i ? i - 1 : 16;
            j = j ? j - 1 : 16;
            return r;
        }
    } model(0xDEADBEEFu);
    rt_random_seed(static_cast<int32_t>(0xDEADBEEFu));
    for (int n = 0; n < 50; ++n) EXPECT_EQ(static_cast<uint32_t>(rt_random(-1)), model.step());
    uint32_t r = model.step();
    EXPECT_EQ(rt_random(999), static_cast<int32_t>((uint64_t{r} * 1000u) >> 32));
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
    // An unseeded thread seeds itself and still honours the bounds.
    std::thread([] {
        for (int i = 0; i < 100; ++i) EXPECT_LE(static_cast<uint32_t>(rt_random(5)), 5u);
    }).join();
}

TEST(TimingTest, DelayAdvancesTheClock) {
    uint32_t before = rt_ms_elapsed();
    rt_delay(10);
    uint32_t waited = rt_ms_elapsed() - before;
    EXPECT_GE(waited, 10u);
    EXPECT_LT(waited, 1000u);
    rt_delay(0);
    rt_delay(-5);
}

TEST(MathTest, RoundingModesAtanAndColours) {
    EXPECT_EQ(rt_math_round(2.5f, 2), 3.0f);
    EXPECT_EQ(rt_math_round(-2.5f, 2), -3.0f);
    EXPECT_EQ(rt_math_round(2.4f, 2), 2.0f);
    EXPECT_EQ(rt_math_round(0.0f, 2), 0.0f);
    EXPECT_EQ(rt_math_round(2.1f, 1), 3.0f);
    EXPECT_EQ(rt_math_round(2.9f, 0), 2.0f);
    EXPECT_EQ(rt_math_round(-2.1f, 0), -3.0f);
    EXPECT_EQ(rt_math_round(-2.1f, 7), -3.0f);
    EXPECT_EQ(rt_math_atan(1.0f), static_cast<float>(std::atan(1.0)));
    EXPECT_EQ(rt_math_atan(-1e30f), static_cast<float>(std::atan(-1e30)));
    EXPECT_EQ(rt_rgb(255, 0, 0), 255);
    EXPECT_EQ(rt_rgb(0, 0, 255), 16711680);
    EXPECT_EQ(rt_rgb(256, 0, 0), 256);
    EXPECT_EQ(rt_rgb(1, 2, 3), 0x030201);
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The frame pacer's wake-up margin, learnt from how late sleeps end.
#include "runtime/screen/frame_pacer.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using rt::screen::WakeMargin;
using std::chrono::microseconds;

struct MarginCase {
    const char* what;
    std::vector<std::pair<int, int>> runs;  // (samples, lateness in us), in order
    WakeMargin::Duration expected;
};

TEST(WakeMarginTest, CoversRecentWakeUpsButTheLatestFewWithinItsBounds) {
    constexpr auto kAllow = WakeMargin::kAllowance;
    constexpr int kStray = WakeMargin::kOutliers;
    const MarginCase cases[] = {
        {"nothing seen yet", {}, WakeMargin::kStart},
        {"steady lateness", {{200, 50}}, microseconds(50) + kAllow},
        {"stray late wake-ups are ignored",
         {{100, 50}, {kStray, 5000}, {20, 50}},
         microseconds(50) + kAllow},
        {"one more counts", {{100, 50}, {kStray + 1, 900}, {20, 50}}, microseconds(900) + kAllow},
        {"late wake-ups leave the window", {{100, 900}, {128, 60}}, microseconds(60) + kAllow},
        {"bounded above", {{200, 50'000}}, WakeMargin::kCeiling},
        {"bounded below (early wake-ups)", {{200, -30}}, WakeMargin::kFloor},
        {"few samples: all but the latest",
         {{1, 10}, {kStray, 40}, {1, 30}},
         microseconds(30) + kAllow},
    };
    for (const MarginCase& c : cases) {
        WakeMargin margin;
        for (auto [count, us] : c.runs)
            for (int i = 0; i < count; ++i) margin.observe(microseconds(us));
        EXPECT_EQ(margin.margin(), c.expected) << c.what;
    }
}

TEST(WakeMarginTest, WaitEndsAfterTheDeadlineAndLearnsFromItsSleep) {
    using Clock = rt::screen::FramePacer::Clock;
    WakeMargin margin;
    const auto deadline = Clock::now() + std::chrono::milliseconds(20);
    rt::screen::wait_until(deadline, margin);
    EXPECT_GT(Clock::now(), deadline);
    EXPECT_EQ(margin.samples(), 1u);  // the sleep's lateness was taken in
}

}  // namespace

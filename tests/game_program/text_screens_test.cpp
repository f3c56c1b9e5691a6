// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/level/text_screens.h"

#include <gtest/gtest.h>

#include "game/core/game_state.h"
#include "game/play/bonus_messages.h"
#include "runtime/runtime.h"
#include "tests/game_program/runtime_once.h"

namespace {

class TextScreensTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartRuntimeOnce();
        game.ScreenWidth = 1024;
        game.ScreenHeight = 768;
    }
};

TEST_F(TextScreensTest, StatisticsLinesPrintTheHitRateWithTwoDecimals) {
    EXPECT_EQ(HitRateText(0, 0) + " " + HitRateText(3, 3), "0.00 100.00");
    EXPECT_EQ(GunShotsLine(12, 5), "Gun shots: 12   Hits: 5   Hit rate: 41.67%");
    EXPECT_EQ(PointsLine(-40), "Points: -40");
    EXPECT_EQ(RocketShotsLine(7, 2), "Rocket shots: 7   Hits: 2");
    EXPECT_EQ(EnemiesDestroyedLine(0), "Enemys destroyed: 0");
}

TEST_F(TextScreensTest, ShieldMessageStaysUpFor199CallsThenRestarts) {
    game.ShieldMessageCounter = 0;
    for (int call = 1; call <= 199; ++call) ASSERT_EQ(ShowShieldMessage(), 1) << "call " << call;
    EXPECT_EQ(ShowShieldMessage(), 0);
    EXPECT_EQ(ShowShieldMessage(), 1);
}

// Ordinary expiry is the level test's and the recorded replays'; here the edges.
TEST_F(TextScreensTest, TimedMessagesEndOnceTheirTimeHasPassed) {
    EXPECT_EQ(ShowGunpowerMessage(0, 1000), 0);
    EXPECT_EQ(ShowRocketCoverMessage(0, -5), 0);
    const uint32_t now = rt_ms_elapsed();
    EXPECT_EQ(ShowGunpowerMessage(now - 2000, 1000), 1);
    // A start just before the clock wrapped still counts correctly.
    EXPECT_EQ(ShowRocketCoverMessage(now - 100, 60000), 0);
}

}  // namespace

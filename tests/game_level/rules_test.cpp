// SPDX-License-Identifier: GPL-3.0-or-later
// The game's rules at the edges the recorded replays never reach, exercised
// without a window: the shield bar and its decay, swaying, repairs, bonus
// damage, explosions, shaking, the end of a level.
#include <gtest/gtest.h>

#include "game/core/game_state.h"
#include "game/core/records.h"
#include "game/level/play_level.h"
#include "game/play/bonuses.h"
#include "game/play/enemies.h"
#include "game/play/explosions.h"
#include "game/play/ship.h"
#include "runtime/core/rt_core.h"

namespace {

class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game = Game{};
        game.ScreenWidth = 1024;
        game.ScreenHeight = 768;
        game.EnemyExplosions =
            rt_list_new(kEnemyExplosionRecordSize, &game.EnemyExplosionsCurrent, nullptr, 7);
        game.ShotExplosions =
            rt_list_new(kShotExplosionRecordSize, &game.ShotExplosionsCurrent, nullptr, 7);
        game.RocketExplosions =
            rt_list_new(kRocketExplosionRecordSize, &game.RocketExplosionsCurrent, nullptr, 7);
    }
    void TearDown() override {
        for (rt_list* list : {game.EnemyExplosions, game.ShotExplosions, game.RocketExplosions})
            rt_list_free(list);
    }
};

TEST_F(RulesTest, ShieldBarShrinksFromTheLeftGreenToRed) {
    const int32_t cases[][4] = {
        {0, 0, 350, 0x00FF00}, {100, 137, 213, 100 + 155 * 256}, {255, 349, 1, 0x0000FF}};
    for (const auto& [level, x, width, colour] : cases) {
        EXPECT_EQ(HudBarX(level), x) << level;
        EXPECT_EQ(HudBarWidth(level), width) << level;
        EXPECT_EQ(HudBarColour(level), static_cast<uint32_t>(colour)) << level;
    }
    EXPECT_EQ(std::pair(PanelX(350), PanelY(270)), std::pair(374, 249));  // end panels, centred
}

// Each row: the counter before, base, level, period, step; the level and the
// counter after.
TEST_F(RulesTest, ShieldDecaysEveryPeriodAndClearsAtTheBase) {
    const int32_t cases[][7] = {
        {0, 30, 200, 3, 40, 200, 1}, {1, 30, 200, 3, 40, 200, 2},
        {2, 30, 200, 3, 40, 160, 0}, {2, 30, 30, 3, 40, 0, 0},  // at the base: cleared
        {2, 30, 50, 3, 40, 10, 0},   {2, 30, 35, 3, 40, 0, 0},  // never below 0
        {50, 0, 100, 10, 5, 95, 0},  // carried over from a longer period: fires
        {7, 0, 100, 0, 5, 100, 8},   // period 0 never decays
    };
    for (const auto& [counter, base, level, period, step, after, counterAfter] : cases) {
        game.DecayCounter = counter;
        EXPECT_EQ(DecayShield(base, level, period, step), after) << counter << " " << level;
        EXPECT_EQ(game.DecayCounter, counterAfter) << counter << " " << level;
    }
}

TEST_F(RulesTest, ShieldAboveLimitThatDecaysBeforeTheBarTickDoesNotLose) {
    game.HudCounter = 1;  // the bar tick is 19 frames away
    int32_t level = 300;
    int32_t lost = 0;
    for (int frame = 0; frame < 40 && !lost; ++frame) {
        level = DecayShield(0, level, 1, 10);
        lost = UpdateHud(0, level, 0);
    }
    EXPECT_EQ(lost, 0);
    // Above 255 at the tick itself loses.
    game.HudCounter = 0;
    EXPECT_EQ(UpdateHud(0, 256, 0), 1);
    EXPECT_EQ(UpdateHud(0, 255, 0), 0);
}

// A counter carried over from a level with a longer period turns at once.
TEST_F(RulesTest, SwayDirectionChangesWhenTheCounterReachesThePeriod) {
    game.SwayCounter = 100;
    game.SwaySign = 0;
    EnemySway(500, 0, 40);
    EXPECT_EQ(game.SwayCounter, 0);
    EXPECT_TRUE(game.SwaySign == -1 || game.SwaySign == 1);
}

TEST_F(RulesTest, RepairWrapsTheEightBitShield) {
    Enemy enemy{};
    enemy.Shield = 40;
    RepairEnemy(&enemy, 30, 0, 50);  // chance 0: always repairs
    EXPECT_EQ(int32_t(enemy.Shield), 246);
    enemy.Shield = 30;
    RepairEnemy(&enemy, 30, 0, 5);  // not above the base: no repair
    EXPECT_EQ(int32_t(enemy.Shield), 30);
}

TEST_F(RulesTest, BonusMovesAnEnemyHalfWayToBreaking) {
    // At the break level it stays; 300 is kept in 8 bits.
    EXPECT_EQ(std::tuple(BonusDamage(30, 200), BonusDamage(200, 200), BonusDamage(0, 600)),
              std::tuple(115, 200, 44));
}

// Every kind fades by ten a frame from 255 and ends at the base opacity, or
// where the fade would pass zero (the 8-bit opacity wraps after 5).
TEST_F(RulesTest, ExplosionsFadeByTenUntilTheBaseAlpha) {
    for (const auto& [base, frames] : {std::pair{30, 22}, {4, 25}, {0, 25}, {INT32_MIN, 25}}) {
        game.Params.BaseAlpha = base;
        AddEnemyExplosion(10, 10);
        AddShotExplosion(20, 20);
        AddRocketExplosion(30, 30);
        for (int frame = 0; frame < frames; ++frame) FadeExplosions();
        EXPECT_EQ(rt_list_count(game.EnemyExplosions), 1) << base;
        FadeExplosions();
        for (rt_list* list : {game.EnemyExplosions, game.ShotExplosions, game.RocketExplosions}) {
            EXPECT_EQ(rt_list_count(list), 0) << base;
        }
    }
    EXPECT_EQ(FadeAlpha(5), 251);
}

TEST_F(RulesTest, NegativeShakeAmplitudeIsNoShake) {
    for (int32_t seed = 1; seed < 50; ++seed) {
        rt_random_seed(seed);
        EXPECT_EQ(ShakeOffset(-7), 0);
        EXPECT_EQ(ShakeOffset(INT32_MIN), 0);
    }
}

TEST_F(RulesTest, LossIsTestedBeforeTheGoal) {
    EXPECT_EQ(
        std::vector({CheckLevelEnd(0, 100, 100), CheckLevelEnd(0, 101, 100),
                     CheckLevelEnd(1, 101, 100), CheckLevelEnd(0, -5, -10)}),
        std::vector({LevelResult::Running, LevelResult::Won, LevelResult::Lost, LevelResult::Won}));
}

}  // namespace

// The game's rules, exercised without a window: headings, turning, the shield
// bar and its decay, aiming, swaying, repairs, bonuses, explosions, the end of
// a level, planets and moons.
#include <gtest/gtest.h>

#include <cstdlib>

#include "game/bonuses.h"
#include "game/enemies.h"
#include "game/explosions.h"
#include "game/game_state.h"
#include "game/planets.h"
#include "game/play_level.h"
#include "game/records.h"
#include "game/ship.h"
#include "runtime/core/rt_core.h"

namespace {

class RulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        game = Game{};
        game.ScreenWidth = 1024;
        game.ScreenHeight = 768;
        game.EnemyExplosions = rt_list_new(kEnemyExplosionRecordSize,
                                           &game.EnemyExplosionsCurrent, nullptr, 7);
        game.ShotExplosions =
            rt_list_new(kShotExplosionRecordSize, &game.ShotExplosionsCurrent, nullptr, 7);
        game.RocketExplosions =
            rt_list_new(kRocketExplosionRecordSize, &game.RocketExplosionsCurrent, nullptr, 7);
    }
    void TearDown() override {
        rt_list_free(game.EnemyExplosions);
        rt_list_free(game.ShotExplosions);
        rt_list_free(game.RocketExplosions);
    }
};

// A seed whose first draw of rt_random(max) is `wanted`.
int32_t SeedGiving(int32_t max, int32_t wanted) {
    for (int32_t seed = 1;; ++seed) {
        rt_random_seed(seed);
        if (rt_random(max) == wanted) return seed;
    }
}

TEST_F(RulesTest, HeadingStepsAtSpeedTen) {
    const int32_t cases[][3] = {{0, 0, -10}, {90, 10, 0}, {45, 7, -7}, {180, 0, 10}, {270, -10, 0}};
    for (const auto& [angle, x, y] : cases) {
        EXPECT_EQ(HeadingStepX(angle, 10), x) << angle;
        EXPECT_EQ(HeadingStepY(angle, 10), y) << angle;
    }
}

TEST_F(RulesTest, TurnAngleKeepsNegativeHeadingsAndWrapsOnlyAt360) {
    int32_t angle = 0;
    for (int i = 0; i < 5; ++i) angle = TurnAngle(angle, -5);
    EXPECT_EQ(angle, -25);
    angle = 0;
    for (int i = 0; i < 72; ++i) angle = TurnAngle(angle, 5);
    EXPECT_EQ(angle, 0);
    EXPECT_EQ(TurnAngle(5, -5), 360);
}

TEST_F(RulesTest, ShieldBarShrinksFromTheLeftGreenToRed) {
    const int32_t cases[][4] = {{0, 0, 350, 0x00FF00}, {100, 137, 213, 100 + 155 * 256}, {255, 349, 1, 0x0000FF}};
    for (const auto& [level, x, width, colour] : cases) {
        EXPECT_EQ(HudBarX(level), x) << level;
        EXPECT_EQ(HudBarWidth(level), width) << level;
        EXPECT_EQ(HudBarColour(level), static_cast<uint32_t>(colour)) << level;
    }
}

// Each row: the counter before, base, level, period, step; the level and the
// counter after.
TEST_F(RulesTest, ShieldDecaysEveryPeriodAndClearsAtTheBase) {
    const int32_t cases[][7] = {
        {0, 30, 200, 3, 40, 200, 1},  {1, 30, 200, 3, 40, 200, 2}, {2, 30, 200, 3, 40, 160, 0},
        {2, 30, 30, 3, 40, 0, 0},     // at the base: cleared
        {2, 30, 50, 3, 40, 10, 0},    {2, 30, 35, 3, 40, 0, 0},   // never below 0
        {50, 0, 100, 10, 5, 95, 0},   // carried over from a longer period: fires
        {7, 0, 100, 0, 5, 100, 8},    // period 0 never decays
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
    // Above 255 at the tick itself loses, and the counter stays on the tick.
    game.HudCounter = 0;
    EXPECT_EQ(UpdateHud(0, 256, 0), 1);
    EXPECT_EQ(game.HudCounter, 0);
    EXPECT_EQ(UpdateHud(0, 255, 0), 0);
    EXPECT_EQ(game.HudCounter, 1);
}

TEST_F(RulesTest, AngleToOnTheAxesAndInEachQuadrant) {
    const int32_t cases[][5] = {
        {100, 0, 100, 50, 0}, {100, 90, 100, 50, 180}, {150, 50, 100, 50, 90}, {20, 50, 100, 50, 270},
        {5, 5, 5, 5, 0},      {10, -10, 0, 0, 45},     {-10, -10, 0, 0, 315},  {-10, 10, 0, 0, 225},
        {10, 10, 0, 0, 135},  {10, -20, 0, 0, 27},     {-20, 10, 0, 0, 243},   // atan(0.5) = 26.57
    };
    for (const auto& [x0, y0, x1, y1, angle] : cases) EXPECT_EQ(AngleTo(x0, y0, x1, y1), angle) << x0 << "," << y0;
}

TEST_F(RulesTest, EnemySwayRefusesCandidatesNearTheEdges) {
    game.SwaySign = -1;
    const int32_t seed = SeedGiving(4, 4);
    rt_random_seed(seed);
    EXPECT_EQ(EnemySway(60, 0, 0), 52);  // candidate 56 is inside
    rt_random_seed(seed);
    EXPECT_EQ(EnemySway(58, 0, 0), 58);  // candidate 54 is outside
    rt_random_seed(seed);
    EXPECT_EQ(EnemySway(58, 1, 0), 66);  // mirrored: sways the other way
}

TEST_F(RulesTest, SwayDirectionChangesWhenTheCounterReachesThePeriod) {
    game.SwayCounter = 100;  // carried over from a longer period
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
    EXPECT_EQ(std::tuple(BonusDamage(30, 200), BonusDamage(200, 200), BonusDamage(0, 600)), std::tuple(115, 200, 44));
}

TEST_F(RulesTest, GunpowerDoublesOnceAndRocketCoverQuarters) {
    game.Params.ShotDamage = 7;
    ApplyBonus(BonusGunpower, 0);
    const uint32_t start = game.GunpowerStart;
    EXPECT_NE(start, 0u);
    ApplyBonus(BonusGunpower, 0);  // caught meanwhile: used up for nothing
    EXPECT_EQ(std::tuple(game.Params.ShotDamage, game.SavedShotDamage, game.GunpowerStart), std::tuple(14, 7, start));

    game.Params.RocketDamage = 30;
    ApplyBonus(BonusRocketCover, 0);
    EXPECT_EQ(std::pair(game.Params.RocketDamage, game.SavedRocketDamage), std::pair(7, 30));

    game.Params.ShieldBase = 30;
    game.ShieldLevel = 200;
    ApplyBonus(BonusShield, 0);
    EXPECT_EQ(std::pair(game.ShieldLevel, game.ShieldMessageOn), std::pair(30, 1));
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
    EXPECT_EQ(std::vector({CheckLevelEnd(0, 100, 100), CheckLevelEnd(0, 101, 100), CheckLevelEnd(1, 101, 100),
                           CheckLevelEnd(0, -5, -10)}),
              std::vector({LevelResult::Running, LevelResult::Won, LevelResult::Lost, LevelResult::Won}));
}

TEST_F(RulesTest, OffScreenEdgesAndSignedRandom) {
    EXPECT_EQ(std::tuple(IsOffScreen(1024, 768), IsOffScreen(1025, 0), IsOffScreen(0, -1)), std::tuple(0, 1, 1));
    for (int i = 0; i < 200; ++i) EXPECT_LE(std::abs(RandomSigned(3)), 3);
    EXPECT_EQ(std::pair(PanelX(350), PanelY(270)), std::pair(374, 249));
}

TEST_F(RulesTest, PlanetMovesEverySecondFrameAndReentersFromTheLeft) {
    Planet planet{};
    planet.StepX = 3;
    planet.Y = 100;
    for (int frame = 0; frame < 60; ++frame) StepPlanet(&planet);
    EXPECT_EQ(int32_t(planet.X), 90);  // 90 pixels a second at 60 frames

    planet.X = 1222;
    StepPlanet(&planet);  // tick 1: no move
    StepPlanet(&planet);  // tick 2: 1225, past 1224
    EXPECT_EQ(std::pair(int32_t(planet.X), int32_t(planet.StepX)), std::pair(1225, 0));
    StepPlanet(&planet);
    EXPECT_TRUE(planet.X <= 0 && planet.X >= -400 && planet.StepX >= 1 && planet.StepX <= 4)
        << int32_t(planet.X) << " " << int32_t(planet.StepX);
}

TEST_F(RulesTest, MoonsMoveEveryPeriodAndSwingBehind) {
    Moon fast{};
    fast.Period = fast.StepX = 1;
    fast.MaxX = fast.MaxY = 100;
    fast.MinX = fast.MinY = -100;
    Moon slow = fast;
    slow.Period = 6;
    for (int frame = 0; frame < 12; ++frame) {
        StepMoon(&fast);
        StepMoon(&slow);
    }
    EXPECT_EQ(std::pair(int32_t(fast.OffsetX), int32_t(slow.OffsetX)), std::pair(12, 2));
    // Passing MaxX puts it back on the edge, turned and behind; MinX in front.
    Moon turning = fast;
    for (const auto& [edge, step, behind] : {std::tuple{100, -1, 1}, {-100, 1, 0}}) {
        turning.OffsetX = edge;
        StepMoon(&turning);
        EXPECT_EQ(std::tuple(int32_t(turning.OffsetX), int32_t(turning.StepX), int32_t(turning.Behind)),
                  std::tuple(edge, step, behind));
    }
}

}  // namespace

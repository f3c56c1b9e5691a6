// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/ship.h"

#include <cmath>
#include <string>

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/input/cursor_shim.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/sound/rt_sound.h"

namespace {

constexpr float kDegreesToRadians = 0.0174532905f;  // nearest float to pi / 180
constexpr int32_t kHudWidth = 350;
constexpr int32_t kHudHeight = 20;
constexpr int32_t kHudPeriod = 20;

}  // namespace

int32_t HeadingStepX(int32_t angle, int32_t speed) {
    const float radians = static_cast<float>(angle) * kDegreesToRadians;
    const float sine = static_cast<float>(std::sin(static_cast<double>(radians)));
    const float step = sine * static_cast<float>(speed);
    return SaturateToInt32(rt_math_round(step, 2));
}

int32_t HeadingStepY(int32_t angle, int32_t speed) {
    const float radians = static_cast<float>(angle) * kDegreesToRadians;
    const float cosine = static_cast<float>(std::cos(static_cast<double>(radians)));
    const float step = -cosine * static_cast<float>(speed);
    return SaturateToInt32(rt_math_round(step, 2));
}

int32_t TurnAngle(int32_t angle, int32_t delta) {
    const int32_t sum = WrapAdd(angle, delta);
    if (sum == 0) return 360;
    if (sum == 360) return 0;
    return sum;
}

int32_t FireShot(int32_t max, int32_t count, int32_t image, int32_t powerImage, int32_t x,
                 int32_t y, int32_t angle, int32_t speed) {
    if (count >= max) return count;
    Shot* shot = ListAdd<Shot>(game.Shots);
    shot->Sprite = rt_sprite_copy(image, -1);
    shot->PowerSprite = rt_sprite_copy(powerImage, -1);
    shot->X = x;
    shot->Y = y;
    shot->StepX = WrapSigned8(HeadingStepX(angle, speed));
    shot->StepY = WrapSigned8(HeadingStepY(angle, speed));
    return count + 1;
}

int32_t RemoveShot(Shot* shot, int32_t count) {
    rt_sprite_free(shot->Sprite);
    rt_sprite_free(shot->PowerSprite);
    rt_list_delete(game.Shots);
    return count - 1;
}

int32_t DecayShield(int32_t base, int32_t level, int32_t period, int32_t step) {
    game.DecayCounter += 1;
    // A counter carried over from a level with a longer period has already
    // passed this one: it fires at once instead of never again.
    if (period <= 0 || game.DecayCounter < period) return level;
    game.DecayCounter = 0;
    if (level <= base) return 0;
    const int32_t lowered = WrapSub(level, step);
    return lowered <= 0 ? 0 : lowered;
}

int32_t HudBarX(int32_t level) {
    return RoundHalfEven(level * 1.37);
}  // saturates

int32_t HudBarWidth(int32_t level) {
    return RoundHalfEven(kHudWidth - level * 1.37);
}

uint32_t HudBarColour(int32_t level) {
    return static_cast<uint32_t>(rt_rgb(level, WrapSub(HighestSafeShield, level), 0));
}

int32_t UpdateHud(int32_t hud, int32_t level, int32_t points) {
    if (game.HudCounter == 0) {
        if (level > HighestSafeShield) return 1;
        rt_draw_start(rt_sprite_output(hud));
        rt_draw_mode(RT_DRAW_TRANSPARENT);
        rt_draw_box(0, 0, kHudWidth, kHudHeight, 0);
        rt_draw_box(HudBarX(level), 0, HudBarWidth(level), kHudHeight, HudBarColour(level));
        rt_draw_text(310, 0, std::to_string(points).c_str(), 0);
        rt_draw_stop();
    }
    game.HudCounter += 1;
    if (game.HudCounter >= kHudPeriod) game.HudCounter = 0;
    return 0;
}

int32_t UpdateCursor(int32_t y, int32_t hidden) {
    if (y < 8 && hidden == 1) {
        while (ShowCursor(1) < 0) {
        }
        return 0;
    }
    if (hidden == 0 && y > 8) {
        while (ShowCursor(0) >= 0) {
        }
        return 1;
    }
    return hidden;
}

void DrawShip() {
    rt_sprite3d_begin();
    rt_sprite3d_draw_alpha(game.ShipRotated, game.ShipX, game.ShipY, 255);
    rt_sprite3d_end();
    rt_sprite_draw_alpha(
        game.ShipShieldImage, WrapAdd(WrapSub(game.ShipX, game.ShieldOffset), game.Shake),
        WrapAdd(WrapSub(game.ShipY, game.ShieldOffset), game.Shake), game.ShieldLevel);
    const LevelParams& p = game.Params;
    game.ShieldLevel =
        DecayShield(p.ShieldBase, game.ShieldLevel, p.ShieldDecayPeriod, p.ShieldDecayStep);
    game.Lost = UpdateHud(game.HudSprite, game.ShieldLevel, game.Points);
    rt_sprite_draw(game.HudSprite, game.ScreenWidth - kHudWidth, game.ScreenHeight - kHudHeight);
}

void TurnShip(int32_t delta) {
    rt_sprite3d_rotate(game.ShipRotated, static_cast<float>(delta), 1);
    game.ShipAngle = TurnAngle(game.ShipAngle, delta);
}

void FireGun() {
    game.ShotsInFlight =
        FireShot(game.Params.MaxShots, game.ShotsInFlight, game.ShotImage, game.PowerShotImage,
                 game.ShipX + game.ShipWidth / 2, game.ShipY + game.ShipHeight / 2, game.ShipAngle,
                 game.Params.ShotSpeed);
    game.GunShots += 1;
    rt_sound_play(game.ShotSound);
}

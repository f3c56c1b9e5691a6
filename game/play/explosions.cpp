// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/explosions.h"

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"

namespace {

constexpr int32_t kFadeStep = 10;

void AddExplosion(rt_list* list, int32_t x, int32_t y) {
    Explosion* explosion = ListAdd<Explosion>(list);
    explosion->X = x;
    explosion->Y = y;
    explosion->Alpha = 255;
}

// Fades one list of 8-bit explosions, drawing each survivor at (X + dx, Y + dy).
void FadeList(rt_list* list, int32_t image, int32_t dx, int32_t dy) {
    rt_list_reset(list);
    while (Explosion* explosion = ListNext<Explosion>(list)) {
        const bool fadedOut = FadeWouldWrap(explosion->Alpha);
        explosion->Alpha = FadeAlpha(explosion->Alpha);
        if (!fadedOut && explosion->Alpha > game.Params.BaseAlpha) {
            rt_sprite_draw_alpha(image, WrapAdd(explosion->X, dx), WrapAdd(explosion->Y, dy),
                                 explosion->Alpha);
        } else {
            rt_list_delete(list);
        }
    }
}

}  // namespace

void AddEnemyExplosion(int32_t x, int32_t y) {
    AddExplosion(game.EnemyExplosions, x, y);
}

void AddShotExplosion(int32_t x, int32_t y) {
    AddExplosion(game.ShotExplosions, x, y);
}

void AddRocketExplosion(int32_t x, int32_t y) {
    RocketExplosion* explosion = ListAdd<RocketExplosion>(game.RocketExplosions);
    explosion->X = x;
    explosion->Y = y;
    explosion->Alpha = 255;
}

uint8_t FadeAlpha(uint8_t alpha) {
    return static_cast<uint8_t>(alpha - kFadeStep);
}

// With a low BaseAlpha the fade would pass 0 and start again from the top: an
// explosion would flare up forever and its list only grow. It ends instead.
bool FadeWouldWrap(int32_t alpha) {
    return alpha < kFadeStep;
}

void FadeExplosions() {
    FadeList(game.EnemyExplosions, game.EnemyExplosionImage, game.Shake, -game.Shake);
    FadeList(game.ShotExplosions, game.ShotFlashImage, 0, 0);
    rt_list_reset(game.RocketExplosions);
    while (RocketExplosion* explosion = ListNext<RocketExplosion>(game.RocketExplosions)) {
        const bool fadedOut = FadeWouldWrap(explosion->Alpha);
        explosion->Alpha -= kFadeStep;
        if (!fadedOut && explosion->Alpha > game.Params.BaseAlpha) {
            rt_sprite_draw_alpha(game.RocketExplosionImage, WrapSub(explosion->X, game.Shake),
                                 WrapAdd(explosion->Y, game.Shake), explosion->Alpha);
        } else {
            rt_list_delete(game.RocketExplosions);
        }
    }
}

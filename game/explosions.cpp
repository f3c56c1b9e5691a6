#include "game/explosions.h"

#include "game/game_state.h"
#include "game/list_walk.h"
#include "game/records.h"
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
        explosion->Alpha = FadeAlpha(explosion->Alpha);
        if (explosion->Alpha > game.Params.BaseAlpha) {
            rt_sprite_draw_alpha(image, explosion->X + dx, explosion->Y + dy, explosion->Alpha);
        } else {
            rt_list_delete(list);
        }
    }
}

}  // namespace

void AddEnemyExplosion(int32_t x, int32_t y) { AddExplosion(game.EnemyExplosions, x, y); }

void AddShotExplosion(int32_t x, int32_t y) { AddExplosion(game.ShotExplosions, x, y); }

void AddRocketExplosion(int32_t x, int32_t y) {
    RocketExplosion* explosion = ListAdd<RocketExplosion>(game.RocketExplosions);
    explosion->X = x;
    explosion->Y = y;
    explosion->Alpha = 255;
}

uint8_t FadeAlpha(uint8_t alpha) { return static_cast<uint8_t>(alpha - kFadeStep); }

void FadeExplosions() {
    FadeList(game.EnemyExplosions, game.EnemyExplosionImage, game.Shake, -game.Shake);
    FadeList(game.ShotExplosions, game.ShotFlashImage, 0, 0);
    rt_list_reset(game.RocketExplosions);
    while (RocketExplosion* explosion = ListNext<RocketExplosion>(game.RocketExplosions)) {
        explosion->Alpha -= kFadeStep;
        if (explosion->Alpha > game.Params.BaseAlpha) {
            rt_sprite_draw_alpha(game.RocketExplosionImage, explosion->X - game.Shake,
                                 explosion->Y + game.Shake, explosion->Alpha);
        } else {
            rt_list_delete(game.RocketExplosions);
        }
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/bonuses.h"

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "game/play/bonus_messages.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/sound/rt_sound.h"

namespace {

constexpr int32_t kCaughtX = -100;  // off screen: retired by the next move

// A speed towards the screen's middle along one axis: positive from the first
// half, negative from the second.
int8_t TowardsMiddle(int32_t position, int32_t size) {
    return WrapSigned8(position < size / 2 ? rt_random(7) : -rt_random(7));
}

}  // namespace

uint8_t BonusDamage(uint8_t shield, int32_t breakLevel) {
    return Wrap8(WrapSub(breakLevel, WrapSub(breakLevel, shield) / 2));
}

void MoveBonuses() {
    const int32_t width = game.ScreenWidth;
    const int32_t height = game.ScreenHeight;
    rt_list_reset(game.Bonuses);
    while (Bonus* bonus = ListNext<Bonus>(game.Bonuses)) {
        bonus->Tick += 1;
        if (bonus->Tick == bonus->Interval) {
            bonus->Tick = 0;
            bonus->Active = 1;
            bonus->Interval = rt_random(bonus->Interval) + 50;
            if (bonus->StepX == 0) {
                bonus->X = rt_random(width);
                bonus->Y = rt_random(height);
                bonus->StepX = TowardsMiddle(bonus->X, width);
                bonus->StepY = TowardsMiddle(bonus->Y, height);
            }
        }
        if (bonus->StepX == 0 && bonus->StepY == 0) {
            if (rt_random(1) == 0) {
                bonus->StepX = WrapSigned8(rt_random(3) + 4);
            } else {
                bonus->StepY = WrapSigned8(rt_random(3) + 4);
            }
        }
        if (bonus->Active) {
            if (bonus->X > width || bonus->X < 0 || bonus->Y > height || bonus->Y < 0) {
                bonus->StepX = 0;
                bonus->Active = 0;
            }
            bonus->X = WrapAdd(bonus->X, bonus->StepX);
            bonus->Y = WrapAdd(bonus->Y, bonus->StepY);
            rt_sprite_draw_keyed(bonus->Sprite, bonus->X, bonus->Y);
        }
    }
}

void ApplyBonus(int32_t kind, int32_t sound) {
    LevelParams& p = game.Params;
    switch (kind) {
        case BonusShield:
            game.ShieldLevel = p.ShieldBase;
            game.ShieldMessageOn = 1;
            rt_sound_play(sound);
            break;
        case BonusGunpower:
            // A second one caught while the first runs is used up for nothing.
            if (game.GunpowerStart != 0) break;
            game.GunpowerStart = rt_ms_elapsed();
            game.SavedShotDamage = p.ShotDamage;
            p.ShotDamage = WrapMul(p.ShotDamage, 2);
            rt_sound_play(sound);
            break;
        case BonusRocketCover:
            if (game.RocketCoverStart != 0) break;
            game.RocketCoverStart = rt_ms_elapsed();
            game.SavedRocketDamage = p.RocketDamage;
            p.RocketDamage = p.RocketDamage / 4;
            rt_sound_play(sound);
            break;
        default:
            break;
    }
}

void CatchBonuses() {
    rt_list_reset(game.Bonuses);
    while (Bonus* bonus = ListNext<Bonus>(game.Bonuses)) {
        if (rt_sprite_collide(bonus->Sprite, bonus->X, bonus->Y, game.ShipImage, game.ShipX,
                              game.ShipY)) {
            bonus->X = kCaughtX;
            ApplyBonus(bonus->Kind, bonus->Sound);
            continue;
        }
        rt_list_reset(game.Enemies);
        while (Enemy* enemy = ListNext<Enemy>(game.Enemies)) {
            if (rt_sprite_collide(bonus->Sprite, bonus->X, bonus->Y, enemy->Sprite, enemy->X,
                                  enemy->Y)) {
                bonus->X = kCaughtX;
                enemy->Shield = BonusDamage(enemy->Shield, game.Params.EnemyBreakLevel);
                break;
            }
        }
    }
}

void UpdateBonusEffects() {
    LevelParams& p = game.Params;
    if (game.ShieldMessageOn) game.ShieldMessageOn = ShowShieldMessage();
    if (ShowGunpowerMessage(game.GunpowerStart, p.GunpowerTime) == 1) {
        game.GunpowerStart = 0;
        p.ShotDamage = game.SavedShotDamage;
    }
    if (ShowRocketCoverMessage(game.RocketCoverStart, p.RocketCoverTime) == 1) {
        game.RocketCoverStart = 0;
        p.RocketDamage = game.SavedRocketDamage;
    }
}

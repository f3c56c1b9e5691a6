// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/moves.h"

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/play/collisions.h"
#include "game/play/enemies.h"
#include "game/play/playfield.h"
#include "game/play/ship.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/sound/rt_sound.h"

void MoveEnemies(int32_t rocketsEnabled) {
    const LevelParams& p = game.Params;
    rt_list_reset(game.Enemies);
    while (Enemy* enemy = ListNext<Enemy>(game.Enemies)) {
        enemy->X = EnemySway(enemy->X, enemy->Mirror, p.EnemySwayPeriod);
        enemy->Y += rt_random(enemy->Speed);
        if (enemy->Y > game.ScreenHeight) {
            enemy->Y = -rt_random(30);
            game.Points = WrapAdd(game.Points, p.EnemyPassPoints);
        } else if (enemy->Y > 0) {
            // The draw is taken for every visible enemy, whether rockets are
            // on or not, so switching them off leaves the sequence unchanged.
            const bool fires = rt_random(p.EnemyFireChance) == game.SpawnCount;
            if (fires && rocketsEnabled) {
                game.RocketShots += 1;
                FireRocket(game.RocketImage, enemy->X, enemy->Y, p.RocketSpeed,
                           AngleTo(game.ShipX, game.ShipY, enemy->X, enemy->Y));
                rt_sound_play(game.RocketSound);
            }
        }
        enemy = EnemyHitsShip(enemy);
        RepairEnemy(enemy, p.BaseAlpha, p.EnemyRepairChance, p.EnemyRepairStep);
        rt_sprite_draw_keyed(enemy->Sprite, enemy->X, enemy->Y);
        rt_sprite_draw_alpha(
            enemy->ShieldSprite, WrapSub(WrapSub(enemy->X, game.EnemyShieldOffset), game.Shake),
            WrapAdd(WrapSub(enemy->Y, game.EnemyShieldOffset), game.Shake), enemy->Shield);
    }
}

void MoveShots() {
    rt_list_reset(game.Shots);
    while (Shot* shot = ListNext<Shot>(game.Shots)) {
        shot->X = WrapAdd(shot->X, shot->StepX);
        shot->Y = WrapAdd(shot->Y, shot->StepY);
        if (IsOffScreen(shot->X, shot->Y)) {
            game.ShotsInFlight = RemoveShot(shot, game.ShotsInFlight);
            continue;
        }
        if (game.GunpowerStart != 0) {
            rt_sprite_draw_keyed(shot->PowerSprite, shot->X - 3, shot->Y - 3);
        } else {
            rt_sprite_draw_keyed(shot->Sprite, shot->X - 5, shot->Y - 5);
        }
        ShotHitsEnemies(shot);
    }
}

void MoveRockets() {
    rt_list_reset(game.Rockets);
    while (Rocket* rocket = ListNext<Rocket>(game.Rockets)) {
        rocket->X = WrapAdd(rocket->X, rocket->StepX);
        rocket->Y = WrapAdd(rocket->Y, rocket->StepY);
        rt_sprite3d_begin();
        rt_sprite3d_draw(rocket->Rotor, rocket->X, rocket->Y);
        rt_sprite3d_end();
        if (RocketHitsShip(rocket)) continue;
        if (IsOffScreen(rocket->X, rocket->Y)) RemoveRocket(rocket);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/collisions.h"

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/play/enemies.h"
#include "game/play/explosions.h"
#include "game/play/ship.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/sound/rt_sound.h"

Enemy* DestroyEnemy(Enemy* enemy) {
    AddEnemyExplosion(enemy->X, enemy->Y);
    rt_sound_play(game.EnemyExplosionSound);
    RemoveEnemy(enemy);
    game.Points = WrapAdd(game.Points, game.Params.EnemyKillPoints);
    game.EnemiesDestroyed += 1;
    return SpawnEnemy(rt_random(game.EnemyImageCount), game.EnemyShieldImage,
                      game.Params.BaseAlpha);
}

Enemy* EnemyHitsShip(Enemy* enemy) {
    if (!rt_sprite_collide(game.ShipImage, game.ShipX, game.ShipY, enemy->Sprite, enemy->X,
                           enemy->Y)) {
        return enemy;
    }
    const LevelParams& p = game.Params;
    game.ShieldLevel = WrapAdd(game.ShieldLevel, p.CollisionDamage);
    enemy->Shield = Wrap8(WrapAdd(enemy->Shield, p.CollisionDamage));
    if (enemy->Shield > p.EnemyBreakLevel) enemy = DestroyEnemy(enemy);
    rt_sprite_draw_alpha(
        game.CollisionFlashImage, WrapAdd(WrapSub(game.ShipX, game.FlashOffset), game.Shake),
        WrapSub(WrapSub(game.ShipY, game.FlashOffset), game.Shake), rt_random(155) + 100);
    rt_sound_play(game.CollisionSound);
    return enemy;
}

int32_t ShotHitsEnemies(Shot* shot) {
    const LevelParams& p = game.Params;
    const int32_t sprite = shot->Sprite;
    const int32_t x = shot->X;
    const int32_t y = shot->Y;
    rt_list_reset(game.Enemies);
    while (Enemy* enemy = ListNext<Enemy>(game.Enemies)) {
        if (!rt_sprite_collide(sprite, x, y, enemy->Sprite, enemy->X, enemy->Y)) continue;
        game.Points = WrapAdd(game.Points, p.ShotHitPoints);
        AddShotExplosion(enemy->X + game.EnemyWidth / 2, enemy->Y + game.EnemyHeight / 2);
        game.ShotsInFlight = RemoveShot(shot, game.ShotsInFlight);
        game.Hits += 1;
        enemy->Shield = Wrap8(WrapAdd(enemy->Shield, p.ShotDamage));
        if (enemy->Shield > p.EnemyBreakLevel) DestroyEnemy(enemy);
        return 1;
    }
    return 0;
}

int32_t RocketHitsShip(Rocket* rocket) {
    if (!rt_sprite_collide(rocket->Sprite, rocket->X, rocket->Y, game.ShipImage, game.ShipX,
                           game.ShipY)) {
        return 0;
    }
    AddRocketExplosion(game.ShipX - game.RocketBlastOffset, game.ShipY - game.RocketBlastOffset);
    rt_sound_play(game.RocketExplosionSound);
    game.Points = WrapAdd(game.Points, game.Params.RocketHitPoints);
    RemoveRocket(rocket);
    game.RocketHits += 1;
    game.ShieldLevel = WrapAdd(game.ShieldLevel, game.Params.RocketDamage);
    return 1;
}

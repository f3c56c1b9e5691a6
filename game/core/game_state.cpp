// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/core/game_state.h"

#include <initializer_list>

#include "game/core/records.h"

// Static storage: every field starts at zero when the process starts.
Game game;

namespace {

// (Re)creates one entity list: a list already held in the variable is freed.
void NewList(rt_list*& list, void*& current, int32_t recordSize) {
    rt_list_free(list);
    list = rt_list_new(recordSize, &current, nullptr, 0);
}

}  // namespace

void CreateEntityLists() {
    NewList(game.Enemies, game.EnemiesCurrent, kEnemyRecordSize);
    NewList(game.Bonuses, game.BonusesCurrent, kBonusRecordSize);
    NewList(game.EnemyExplosions, game.EnemyExplosionsCurrent, kEnemyExplosionRecordSize);
    NewList(game.Planets, game.PlanetsCurrent, kPlanetRecordSize);
    NewList(game.Moons, game.MoonsCurrent, kMoonRecordSize);
    NewList(game.Shots, game.ShotsCurrent, kShotRecordSize);
    NewList(game.ShotExplosions, game.ShotExplosionsCurrent, kShotExplosionRecordSize);
    NewList(game.Rockets, game.RocketsCurrent, kRocketRecordSize);
    NewList(game.RocketExplosions, game.RocketExplosionsCurrent, kRocketExplosionRecordSize);
}

void FreeEntityLists() {
    for (rt_list** list :
         {&game.Enemies, &game.Bonuses, &game.EnemyExplosions, &game.Planets, &game.Moons,
          &game.Shots, &game.ShotExplosions, &game.Rockets, &game.RocketExplosions}) {
        rt_list_free(*list);
        *list = nullptr;
    }
}

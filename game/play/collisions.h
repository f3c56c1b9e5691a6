// SPDX-License-Identifier: GPL-3.0-or-later
// Contacts between the ship, its shots, the enemies and their rockets, and the
// destruction of enemies.
#pragma once
#include <cstdint>

#include "game/core/records.h"

// Destroys `enemy` (the current element of Enemies): explosion, sound, points,
// statistics, and a new enemy in its place. Answers the new enemy, which is
// then the current element.
Enemy* DestroyEnemy(Enemy* enemy);

// An enemy ramming the ship: damage to both, the flash and its sound. Answers
// the enemy that now stands in the list (a replacement when it broke).
Enemy* EnemyHitsShip(Enemy* enemy);

// Tests `shot` (the current element of Shots) against the enemies in list
// order; the first one hit takes the damage and the shot is removed.
// Answers 1 when it hit.
int32_t ShotHitsEnemies(Shot* shot);

// Tests `rocket` (the current element of Rockets) against the ship; a hit
// explodes, scores, damages the shield and removes the rocket. Answers 1 when
// it hit.
int32_t RocketHitsShip(Rocket* rocket);

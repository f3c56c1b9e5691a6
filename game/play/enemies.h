// SPDX-License-Identifier: GPL-3.0-or-later
// Enemy ships and their rockets.
#pragma once
#include <cstdint>
#include <string>

#include "game/core/records.h"

// File name of enemy image `index`: "zentara\feind0<k>.png" below 10,
// "zentara\feind<k>.png" from 10 on.
std::string EnemyImageName(int32_t index);

// Adds an enemy somewhere above the screen with its own copies of image
// `index` and of the shield image; it becomes the current element of Enemies.
Enemy* SpawnEnemy(int32_t index, int32_t shieldImage, int32_t shieldStart);

// The enemy's next x: a random sideways step in the common direction
// (SwaySign, redrawn every `period` calls), doubled, refused when the
// undoubled candidate leaves 55 .. ScreenWidth - 55. A period of 0 or less
// never changes the direction.
int32_t EnemySway(int32_t x, int32_t mirror, int32_t period);

// The enemy's damage after a frame's repair chance: when rt_random(chance) is
// 0 and the damage is above `base`, it drops by `step`, modulo 256.
void RepairEnemy(Enemy* enemy, int32_t base, int32_t chance, int32_t step);

// Heading in whole degrees (0 up, 90 right) from point 1 towards point 0.
int32_t AngleTo(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Adds a rocket at (x, y) flying along the heading, with its own copy of the
// image and a rotated sprite turned to the heading.
void FireRocket(int32_t image, int32_t x, int32_t y, int32_t speed, int32_t angle);

// Free the record's images and delete it; it must be the current element of
// its list (Rockets, Enemies).
void RemoveRocket(Rocket* rocket);
void RemoveEnemy(Enemy* enemy);

// The most enemies a level spawns, whatever its EnemyCount: more would only
// exhaust the memory (each holds two pictures) and stall every frame.
inline constexpr int32_t MostEnemies = 10000;

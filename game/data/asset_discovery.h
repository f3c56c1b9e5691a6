// SPDX-License-Identifier: GPL-3.0-or-later
// The open-ended asset families found by listing zentara/*.png: enemy images,
// bonus items, planets and moons.
#pragma once
#include <cstdint>

// The highest enemy image index: the number of feind??.png entries minus 1
// (-1 when there is none).
int32_t CountEnemyImages();

// One Bonus per bonus??.png entry, kinds 0, 1, 2, 0, ... loaded from
// bonus00 .. bonus02 whatever the entry's name. `unused` is ignored. Returns 0.
int32_t LoadBonuses(int32_t unused);

// One Planet per planet??.png entry, indexed in listing order. Returns 0.
int32_t LoadPlanets();

// One Moon per planetmond* entry, attached to the planet whose index is the
// two characters after "planetmond". Must run after LoadPlanets. Returns 0.
int32_t LoadMoons();

// SPDX-License-Identifier: GPL-3.0-or-later
// Bonus items: their flight across the screen, their pick-up by the ship or an
// enemy, and their timed effects.
#pragma once
#include <cstdint>

#include "game/play/bonus_kinds.h"

// An enemy's damage after it touched a bonus: half-way towards `breakLevel`,
// stored modulo 256.
uint8_t BonusDamage(uint8_t shield, int32_t breakLevel);

// Moves and draws every bonus (frame step 5).
void MoveBonuses();

// Tests every bonus against the ship, else against the enemies, and applies
// what it gives (frame step 10).
void CatchBonuses();

// Applies the effect of a bonus of this kind caught by the ship; `sound` is
// its pick-up sound.
void ApplyBonus(int32_t kind, int32_t sound);

// Shows the bonus messages and ends the timed effects that ran out (frame
// step 11).
void UpdateBonusEffects();

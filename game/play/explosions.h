// SPDX-License-Identifier: GPL-3.0-or-later
// The three kinds of fading explosion.
#pragma once
#include <cstdint>

// New explosions start at opacity 255.
void AddEnemyExplosion(int32_t x, int32_t y);
void AddShotExplosion(int32_t x, int32_t y);
void AddRocketExplosion(int32_t x, int32_t y);

// An 8-bit opacity after one frame of fading: 10 less, modulo 256.
uint8_t FadeAlpha(uint8_t alpha);

// True when one more fade would take `alpha` below 0: the explosion ends.
bool FadeWouldWrap(int32_t alpha);

// Fades every explosion by 10, draws those still above `BaseAlpha` and
// removes the others (and those whose fade would pass 0): enemy explosions, then shot flashes, then
// rocket explosions (frame step 12).
void FadeExplosions();

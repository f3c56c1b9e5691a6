// SPDX-License-Identifier: GPL-3.0-or-later
// The player's ship: heading steps, turning, the gun and its shots, the shield
// with its decay, the shield bar and the mouse cursor.
#pragma once
#include <cstdint>

#include "game/core/records.h"

// Step along a heading (degrees clockwise from up) at a speed, in single
// precision and rounded half away from zero: (sin h x v, -cos h x v).
int32_t HeadingStepX(int32_t angle, int32_t speed);
int32_t HeadingStepY(int32_t angle, int32_t speed);

// angle + delta, with a sum of exactly 0 becoming 360 and exactly 360 becoming
// 0; no other wrapping.
int32_t TurnAngle(int32_t angle, int32_t delta);

// Adds a shot at (x, y) flying along the heading unless `count` has reached
// `max`. Each shot owns copies of both images. Answers the new count.
int32_t FireShot(int32_t max, int32_t count, int32_t image, int32_t powerImage, int32_t x,
                 int32_t y, int32_t angle, int32_t speed);

// Frees `shot`, which must be the current element of Shots, and deletes it.
// Answers count - 1.
int32_t RemoveShot(Shot* shot, int32_t count);

// One frame of the shield's decay on the game-wide DecayCounter: every
// `period` frames a level above `base` drops by `step` (not below 0) and a
// level at or below `base` clears to 0. A period of 0 or less never fires.
int32_t DecayShield(int32_t base, int32_t level, int32_t period, int32_t step);

// The highest shield damage the ship survives: above it the level is lost.
inline constexpr int32_t HighestSafeShield = 255;

// Geometry and colour of the shield bar's coloured part for a shield level.
int32_t HudBarX(int32_t level);
int32_t HudBarWidth(int32_t level);
uint32_t HudBarColour(int32_t level);

// Every 20th call (HudCounter) redraws the 350 x 20 bar sprite with the shield
// level and the score, or answers 1 when the level is above 255 (lost).
int32_t UpdateHud(int32_t hud, int32_t level, int32_t points);

// Hides the cursor while the ship is below the top edge (y > 8) and shows it
// at the top (y < 8), where the menu bar is. Answers the new hidden state.
int32_t UpdateCursor(int32_t y, int32_t hidden);

// Frame steps of the ship, on the level's state in `game`.
void DrawShip();               // ship, shield, decay, bar (step 6)
void TurnShip(int32_t delta);  // A / D
void FireGun();                // space

// SPDX-License-Identifier: GPL-3.0-or-later
// The playfield: the screen that shots, rockets and enemies fly over.
#pragma once
#include <cstdint>

// 1 when the point lies outside the screen (the right and bottom edges still
// count as inside), else 0.
int32_t IsOffScreen(int32_t x, int32_t y);

// SPDX-License-Identifier: GPL-3.0-or-later
// The frame steps that move enemies, shots and rockets and test each against
// what it may hit, on the level's state in `game`.
#pragma once
#include <cstdint>

void MoveEnemies(int32_t rocketsEnabled);  // step 7
void MoveShots();                          // shots and their enemy test (step 8)
void MoveRockets();                        // step 9

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/playfield.h"

#include "game/core/game_state.h"

int32_t IsOffScreen(int32_t x, int32_t y) {
    return (x > game.ScreenWidth || x < 0 || y > game.ScreenHeight || y < 0) ? 1 : 0;
}

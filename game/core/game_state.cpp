// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/core/game_state.h"

// Static storage: every field starts at zero when the process starts.
Game game;

// The game's state, held in one place. `game` is zero-initialised at process
// start (static storage), which is the zeroing of the game's globals.
#pragma once
#include <cstdint>

struct Game {
    // ---- Program: start-up, menu, level file, star field, text screens ----

    // ---- Level: the level being played, ship, enemies, bonuses, planets ----
};

extern Game game;

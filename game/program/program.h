// SPDX-License-Identifier: GPL-3.0-or-later
// The top-level program: start-up, the menu window and its loop, and play
// from the chosen level to the end.
#pragma once
#include <cstdint>

#include "game/program/options.h"

// Start-up: runtime, lists, level file, main window, screen, star field and
// menu bar, in their fixed order. Ends the program when the level file is
// missing. A seed given in the options fixes the random sequence before
// anything is drawn.
void StartProgram(const ProgramOptions& options = {});

// One pass of the menu loop for an event that rt_window_event_wait returned:
// plays a chosen level (never returning), ends the program on "Close", the
// close box or a held Q, toggles the "Disable" items, re-applies the window's
// geometry on a repaint.
void HandleMenuEvent(int32_t event);

// Waits for menu events until a level is chosen (then plays) or the program
// is closed. Never returns.
[[noreturn]] void RunMenuLoop();

// Story page, then level after level from `level`, then the closing banner.
[[noreturn]] void PlayFromLevel(int32_t level);

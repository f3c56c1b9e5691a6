// SPDX-License-Identifier: GPL-3.0-or-later
// The top-level program: start-up, the menu window and its loop, play from the
// chosen level to the end, and the one way out of the process.
#pragma once
#include <cstdint>
#include <functional>

#include "game/program/options.h"
#include "runtime/window/rt_window.h"

// Command ids of the menu bar. Ids below MenuClose are level numbers.
inline constexpr int32_t MenuClose = 1000;
inline constexpr int32_t MenuDisableEnemies = 1001;
inline constexpr int32_t MenuDisableRockets = 1002;
inline constexpr int32_t MenuDisableShip = 1003;
inline constexpr int32_t MenuCredit = 1004;

// Level items must stay below the command ids, so the "Play" menu offers at
// most this many levels.
inline constexpr int32_t MaxMenuLevels = 999;

// Event codes the program reacts to.
inline constexpr int32_t EventMenu = RT_EVENT_MENU;
inline constexpr int32_t EventCloseWindow = RT_EVENT_CLOSE;
inline constexpr int32_t EventRepaint = RT_EVENT_REPAINT;

// Shuts the runtime down in its fixed order and ends the process with exit
// code 0. Every way out of the program goes through here.
[[noreturn]] void EndProgram();

// Per-frame event handling of the story and the level loops: takes at most one
// pending event; "Close" or the close box of `window` end the program, every
// other event is dropped. F11 switches `window` to full screen and back.
// `menu` is not used. Returns 0.
int32_t PumpEvents(int32_t window, int32_t menu);

// Testing facility: a function called at the start of every PumpEvents, that
// is once per frame of the story, the pause and the end panels, so that the
// demo can watch and play those frames. Not used by the game itself; an empty
// function removes it.
void SetPumpEventsHook(std::function<void()> hook);
// Calls that function, for loops that serve their window events themselves.
void RunPumpEventsHook();

// Flip the check mark of their "Disable" item. The result is 1 when the item
// is now unchecked (the feature is on), 0 when it is now checked.
int32_t ToggleDisableEnemies(int32_t menu);
int32_t ToggleDisableRockets(int32_t menu);
int32_t ToggleDisableShip(int32_t menu);

// Start-up: runtime, lists, level file, main window, screen, star field and
// menu bar, in their fixed order. Ends the program when the level file is
// missing. A seed given in the options fixes the random sequence before
// anything is drawn.
void StartProgram(const ProgramOptions& options = {});

// Creates the nine entity lists (freeing lists already held).
void CreateEntityLists();

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

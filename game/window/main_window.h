// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as every loop of the program serves it: the command ids of
// its menu bar, the events the program reacts to, the per-frame event
// handling of the story and the level's panels, and the "Disable" items.
#pragma once
#include <cstdint>
#include <functional>

#include "runtime/window/rt_window.h"

// Command ids of the menu bar. Ids below MenuClose are level numbers.
inline constexpr int32_t MenuClose = 1000;
inline constexpr int32_t MenuDisableEnemies = 1001;
inline constexpr int32_t MenuDisableRockets = 1002;
inline constexpr int32_t MenuDisableShip = 1003;
inline constexpr int32_t MenuCredit = 1004;

// Event codes the program reacts to.
inline constexpr int32_t EventMenu = RT_EVENT_MENU;
inline constexpr int32_t EventCloseWindow = RT_EVENT_CLOSE;
inline constexpr int32_t EventRepaint = RT_EVENT_REPAINT;

// Per-frame event handling of the story and the level loops: takes at most one
// pending event; "Close" or the close box of `window` end the program, the
// caller may look at any other. F11 switches `window` to full screen and back.
// `menu` is not used. Returns the event taken for `window` (a click shows as
// RT_EVENT_LBUTTONDOWN and the like), 0 when there was none.
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

// SPDX-License-Identifier: GPL-3.0-or-later
// The self-playing demo and the run controls of the command line.
//
// The pilot plays like a person at the keyboard and mouse: it chooses a level
// from the "Play" menu, moves the pointer and presses and releases A, D,
// space, P, N and R, all through the platform's input entries
// (rt_window_post_menu, rt_input_post_screen_mouse_move, rt_input_post_key);
// the pointer is placed in picture pixels, so it aims right whether the
// picture is shown 1:1 or enlarged. To decide, it reads what is on the field
// from the game state (enemies, rockets, bonuses, shots, the ship's heading);
// it never changes that state.
//
// The run controls end the program after a number of presented frames and
// write every K-th presented frame to a PNG file. They watch the frames from
// the level's frame hook and from the per-frame event handling of the story,
// the pause and the end panels; the level intro and the closing banner are
// short and are caught up on at the next frame watched.
#pragma once
#include <cstdint>

#include "game/level/play_level.h"
#include "game/program/options.h"

// True when the options ask for anything of this file (demo, frame limit,
// screenshots). Without them nothing is installed and nothing is posted.
bool DemoWanted(const ProgramOptions& options);

// Installs the frame watchers for the options and, with --demo, the pilot,
// then posts the chosen level's menu item. Call after StartProgram, before
// the menu loop waits. Ends the program with exit code 1 and the reason on
// standard error when the level cannot be chosen.
void StartDemo(const ProgramOptions& options);

// The pilot's decision for one pass of a level loop, kept apart from the
// posting so that it can be examined on its own.
struct PilotInput {
    bool Left = false;   // A
    bool Right = false;  // D
    bool Fire = false;   // space
    bool Pause = false;  // P
    bool Next = false;   // N
    bool Retry = false;  // R
    bool Move = false;   // move the pointer to (X, Y)
    int32_t X = 0;
    int32_t Y = 0;
};

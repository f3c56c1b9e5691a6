// SPDX-License-Identifier: GPL-3.0-or-later
// What the player is told about their files: failures that stop the program
// and problems it goes on without (a save that failed, a damaged file).
#pragma once
#include <string>

// What a player can do when the game has no folder with a level file.
inline constexpr const char* FolderHint =
    "Start the game in a folder that holds zentara/zentara.ini, or name a folder you may "
    "write with --data-dir DIR.";

// A problem the game goes on without. The first one of a run comes in a
// message box, every later one only on standard error, so play is
// interrupted once.
void TellPlayer(const std::string& text);

// A failure that stops the program before it can play: the message box
// "Failure" with `text` (on standard error too), then the process ends with
// exit code 2.
[[noreturn]] void FailAtStart(const std::string& text);

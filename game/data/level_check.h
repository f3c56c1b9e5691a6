// SPDX-License-Identifier: GPL-3.0-or-later
// The checker behind `zentara --check [folder]`: tells a player what an edit
// of the level file or the asset folder will do, without opening a window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/game_state.h"

// Checks the game folder `folder` (the one that holds zentara/): the level
// file's progress line, level count, every value's syntax and the values
// that break a level, and the asset folder's files. Prints one line per
// finding ("file:line: Field: what happens") to standard output, or "no
// problems found". Answers the exit code: 0 without findings, 1 with
// findings, 2 when the folder has no level file.
int RunCheck(const std::string& folder);

// The findings of the rules on the values of one level, each as
// "zentara.ini:line: Field: what happens (level N)".
std::vector<std::string> LevelParamFindings(const LevelParams& params, int32_t level);

// Every finding about the level file's text `contents`, as RunCheck prints
// them with `name` as the file's name.
std::vector<std::string> LevelFileFindings(const std::string& name, const std::string& contents);

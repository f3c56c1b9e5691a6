// SPDX-License-Identifier: GPL-3.0-or-later
// The checker behind `zentara --check [folder]`, and the findings a level
// start prints: what an edit of the level file or the asset folder will do,
// told without opening a window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/data/level_check.h"

// Checks the game folder `folder` (the one that holds zentara/): the level
// file and the asset folder. Prints one line per finding ("file:line: what is
// wrong, what the game does with it") to standard output, or "no problems
// found". Answers the exit code: 0 without findings, 1 with findings, 2 when
// the folder has no level file (with a hint when it is the asset folder
// itself). Starts what it needs of the runtime.
int RunCheck(const std::string& folder);

// Every finding of the game folder in the current directory that concerns
// `level`, the level file read as `levelFileLines`.
std::vector<Finding> LevelStartFindings(const std::vector<std::string>& levelFileLines,
                                        int32_t level);

// SPDX-License-Identifier: GPL-3.0-or-later
// The level file zentara/zentara.ini: progress on line 1, one line per level
// parameter after it (values separated by "/").
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/game_state.h"

// Ends the program with exit code 2 and the message box "Failure" /
// "zentara.ini not found: ..." (where it looked, the reason, what to do) when
// the level file cannot be opened. Returns 0 otherwise.
int32_t CheckLevelFile();

// The number in the first word of line 1 (0 when missing).
int32_t ReadLevelReached();

// The progress a first line records: the number in its first word.
int32_t ProgressOf(const std::string& firstLine);

// The number of "/" in the first word of line 2: the levels the file defines.
int32_t ReadLevelCount();
int32_t LevelCountOf(const std::string& lineTwo);

// After a won level: when newLevel is above `reached` (the progress read at
// start-up) and above the progress the file holds now, line 1 becomes newLevel
// and " /Level erreicht"; every later line is kept byte for byte. So every
// level won counts, however many one run wins. The file is replaced
// atomically where possible, else rewritten in place; a file that cannot be
// written is left as it is and the player is told why and where. Nothing is
// saved during a replay. Returns 0.
int32_t SaveLevelReached(int32_t newLevel, int32_t reached);

// Lines 2 to 28 as the game reads them (empty past the end of the file). The
// file is opened with `fileId`: -1 takes a new handle, a number that slot of
// the file table, leaving alone the handles the game's objects get.
std::vector<std::string> ReadParamLines(int32_t fileId = -1);

// The parameters of `level` (1-based) from those lines: field `level` of lines
// 2 to 24, field 1 of lines 25 to 28; missing lines or fields read as 0.
LevelParams ParamsFromLines(const std::vector<std::string>& lines, int32_t level);

// ParamsFromLines on the lines of the file as it is now.
LevelParams ReadLevelParams(int32_t level);

// Line 1 as SaveLevelReached writes it for the progress `level`.
std::string LevelReachedLine(int32_t level);

// `contents` with its first line (and that line's terminator: CR LF, LF or a
// lone CR) replaced by `line` + CR LF; everything after it is kept.
std::string ReplaceFirstLine(const std::string& contents, const std::string& line);

// SPDX-License-Identifier: GPL-3.0-or-later
// The level file zentara/zentara.ini: progress on line 1, one line per level
// parameter after it (values separated by "/").
#pragma once
#include <cstdint>
#include <string>

#include "game/core/game_state.h"

// Level items of the "Play" menu must stay below its command ids, so a level
// file defines at most this many levels.
inline constexpr int32_t MaxMenuLevels = 999;

// Ends the program with the message box "Failure" / "zentara.ini not found"
// when the level file cannot be opened. Returns 0 otherwise.
int32_t CheckLevelFile();

// The number in the first word of line 1 (0 when missing).
int32_t ReadLevelReached();

// The number of "/" in the first word of line 2: the levels the file defines.
int32_t ReadLevelCount();

// After a won level: when newLevel > reached, line 1 becomes reached + 1 and
// " /Level erreicht"; every later line is kept byte for byte. The file is
// replaced atomically where possible, else rewritten in place; a file that
// cannot be written is left as it is and a line on standard error says so.
// Returns 0.
int32_t SaveLevelReached(int32_t newLevel, int32_t reached);

// The parameters of `level` (1-based): field `level` of lines 2 to 24, field
// 1 of lines 25 to 28; missing lines or fields read as 0.
LevelParams ReadLevelParams(int32_t level);

// Line 1 as SaveLevelReached writes it for the given progress.
std::string LevelReachedLine(int32_t reached);

// `contents` with its first line (and that line's terminator: CR LF, LF or a
// lone CR) replaced by `line` + CR LF; everything after it is kept.
std::string ReplaceFirstLine(const std::string& contents, const std::string& line);

// SPDX-License-Identifier: GPL-3.0-or-later
// The level file zentara/zentara.ini: progress on line 1, one line per level
// parameter after it (values separated by "/").
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/game_state.h"

// The level file as the program names it (the runtime takes either separator).
inline constexpr const char* LevelFilePath = "zentara/zentara.ini";

// Line 1 holds the progress; lines 2 .. LastPerLevelLine one value per level,
// the lines after them up to LastLevelLine one value for every level (field
// 1). Later lines are ignored.
inline constexpr int32_t FirstParamLine = 2;
inline constexpr int32_t LastPerLevelLine = 24;
inline constexpr int32_t LastLevelLine = 28;

// Level items of the "Play" menu must stay below its command ids, so a level
// file defines at most this many levels.
inline constexpr int32_t MaxMenuLevels = 999;

// Ends the program with exit code 2 and the message box "Failure" /
// "zentara.ini not found: ..." (where it looked, the reason, what to do) when
// the level file cannot be opened. Returns 0 otherwise.
int32_t CheckLevelFile();

// The number in the first word of line 1 (0 when missing).
int32_t ReadLevelReached();

// The number of "/" in the first word of line 2: the levels the file defines.
int32_t ReadLevelCount();

// After a won level: when newLevel is above `reached` (the progress read at
// start-up) and above the progress the file holds now, line 1 becomes newLevel
// and " /Level erreicht"; every later line is kept byte for byte. So every
// level won counts, however many one run wins. The file is replaced
// atomically where possible, else rewritten in place; a file that cannot be
// written is left as it is and the player is told why and where. Nothing is
// saved during a replay. Returns 0.
int32_t SaveLevelReached(int32_t newLevel, int32_t reached);

// The parameters of `level` (1-based): field `level` of lines 2 to 24, field
// 1 of lines 25 to 28; missing lines or fields read as 0.
LevelParams ReadLevelParams(int32_t level);

// Lines 1 to LastLevelLine of the level file at `path` as the game reads them
// through the runtime: without their terminators, and empty past the file's
// end or when the file cannot be opened. The file is opened with `fileId`: -1
// takes a new handle, a number that slot of the file table, leaving alone the
// handles the game's objects get.
std::vector<std::string> ReadLevelFileLines(const std::string& path = LevelFilePath,
                                            int32_t fileId = -1);

// What the game takes from those lines: the progress (line 1's first word),
// the level count (the "/" in line 2's first word) and one level's values.
int32_t LevelReachedIn(const std::string& firstLine);
int32_t LevelCountIn(const std::string& secondLine);
LevelParams LevelParamsIn(const std::vector<std::string>& lines, int32_t level);

// The text of the field that gives `level` its value on line `line` (2 to
// LastLevelLine): field `level` of a per-level line, field 1 of the others.
std::string LevelValueText(const std::string& lineText, int32_t line, int32_t level);

// The value the game reads from such a text (the low 32 bits of the number).
int32_t LevelValueOf(const std::string& text);

// True when the text is a number and nothing else: blanks or tabs, a sign,
// decimal digits or "$" and hexadecimal or "%" and binary digits, then the
// end or a blank that starts a comment. The game reads other texts too, up to
// their first character that is no digit (0 without digits).
bool IsWellFormedValue(const std::string& text);

// The LevelParams member that line `line` (2 to LastLevelLine) gives.
const char* LevelParamName(int32_t line);

// Line 1 as SaveLevelReached writes it for the progress `level`.
std::string LevelReachedLine(int32_t level);

// `contents` with its first line (and that line's terminator: CR LF, LF or a
// lone CR) replaced by `line` + CR LF; everything after it is kept.
std::string ReplaceFirstLine(const std::string& contents, const std::string& line);

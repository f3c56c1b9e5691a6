// SPDX-License-Identifier: GPL-3.0-or-later
// The best score of every level, with the date it was made, kept in a file
// of its own in the game folder ("best-scores.txt"), so that the level file
// stays as the player wrote it. The file is plain text: comment lines
// starting with "#", then one line per level: level, points, date
// (YYYY-MM-DD), separated by blanks.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

inline constexpr const char* BestScoresFile = "best-scores.txt";

struct BestScore {
    int32_t Level = 0;
    int32_t Points = 0;
    std::string Date;
};

// The file's text for `scores`, lowest level first.
std::string BestScoresText(std::vector<BestScore> scores);

// Reads the file's text into `scores`. False when some line is not of the
// file's form (or names a level twice); the lines that are stay in `scores`
// and `problem` names the first that is not.
bool ParseBestScores(const std::string& text, std::vector<BestScore>& scores, std::string& problem);

// The end panel's line: the level's best score before this game, or, when
// `points` beat it (or there was none), that a new best score was just made.
std::string BestScoreLine(const std::optional<BestScore>& before, int32_t points);

// Whether this run writes the file: a player's game does, a demo or a replay
// only when asked (--save-scores). Set once at start-up; true until then.
void KeepBestScores(bool keep);

// A level ended with `points`: keeps them as the level's best score (dated
// today) when they beat it, in the game folder (the current directory), and
// answers the end panel's line. A damaged file is reported and kept aside
// under another name before a new one is written; a save that fails is told
// to the player.
std::string NoteLevelScore(int32_t level, int32_t points);

// `zentara --scores`: prints the table of `folder`'s file on standard output.
// Answers the exit code: 0, or 1 when the file is damaged or unreadable (the
// readable lines are printed, the file is left as it is).
int PrintBestScores(const std::string& folder);

// Platform side: today's local date as YYYY-MM-DD, and the file at `path`
// renamed to the first free name of `path` + ".damaged", ".damaged-2", ...
// (answered; empty when it cannot be renamed, errno saying why).
std::string TodayText();
std::string KeepAside(const std::string& path);

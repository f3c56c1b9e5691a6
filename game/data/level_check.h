// SPDX-License-Identifier: GPL-3.0-or-later
// What `zentara --check` and a level start tell a player about the level
// file: each finding names the line, what is wrong and what the game does
// with it. The values are read by the game's own reader; only the wording is
// this file's.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/core/game_state.h"

// The levels a finding concerns run from FromLevel to ToLevel; a finding
// about the progress or the folder concerns none (0 to 0).
inline constexpr int32_t EveryLevel = INT32_MAX;

struct Finding {
    std::string File;  // as the player sees it: "zentara/zentara.ini"
    int32_t Line = 0;  // 0 for a finding about the whole file
    std::string Text;  // what is wrong and what the game does with it
    int32_t FromLevel = 0;
    int32_t ToLevel = 0;

    bool Concerns(int32_t level) const {
        return level >= 1 && FromLevel <= level && level <= ToLevel;
    }
};

// "file:line: text", or "file: text" without a line.
std::string FindingText(const Finding& finding);

// The findings of the rules on one level's values, each naming its line and
// member, and the level for a value of a per-level line.
std::vector<Finding> LevelParamFindings(const LevelParams& params, int32_t level);

// Every finding about the level file's lines as ReadLevelFileLines gives them,
// `name` being the file's name as the player sees it, in the file's order.
std::vector<Finding> LevelFileFindings(const std::string& name,
                                       const std::vector<std::string>& lines);

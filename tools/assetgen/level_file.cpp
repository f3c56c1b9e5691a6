// SPDX-License-Identifier: GPL-3.0-or-later
#include "level_file.h"

namespace assetgen {

// Ten levels. Difficulty rises on every axis at once: more enemies that fire more
// often, faster and harder-hitting rockets, tougher enemies that repair faster,
// a shield that recovers more slowly, fewer shots in flight and higher goals.
// Two rules keep every level sound: the decay and sway periods never fall from
// one level to the next (their frame counters carry over between levels and are
// compared for equality), and an enemy's damage never wraps past 255
// (EnemyBreakLevel + 2 x ShotDamage and EnemyBreakLevel + CollisionDamage stay
// below 256; EnemyRepairStep stays at or below BaseAlpha).
const std::vector<LevelLine>& level_lines() {
    static const std::vector<LevelLine> lines = {
        {"GoalPoints",
         "the level is won above this score",
         {400, 650, 900, 1200, 1500, 1850, 2200, 2600, 3000, 3500}},
        {"ShieldDecayPeriod",
         "frames between two shield recovery steps",
         {20, 22, 24, 26, 28, 30, 32, 34, 36, 40}},
        {"ShieldDecayStep",
         "shield damage healed per recovery step",
         {5, 5, 4, 4, 4, 3, 3, 3, 3, 2}},
        {"unused", "not read by the game", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"MaxShots", "most ship shots in flight at once", {8, 8, 7, 7, 6, 6, 6, 5, 5, 5}},
        {"ShotSpeed",
         "ship shot speed in pixels per frame",
         {12, 12, 12, 13, 13, 13, 14, 14, 15, 15}},
        {"ShotDamage", "enemy damage per shot hit", {30, 28, 26, 25, 24, 23, 22, 21, 20, 20}},
        {"ShotHitPoints", "points per shot hit", {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}},
        {"GunpowerTime",
         "Extra gunpower duration in ms",
         {12000, 11000, 10000, 10000, 9000, 9000, 8000, 8000, 7000, 6000}},
        {"RocketSpeed", "enemy rocket speed in pixels per frame", {4, 5, 5, 6, 6, 7, 7, 8, 8, 9}},
        {"RocketDamage",
         "ship shield damage per rocket hit",
         {16, 20, 24, 28, 32, 34, 36, 40, 44, 48}},
        {"RocketHitPoints",
         "points per rocket hit on the ship",
         {-5, -5, -10, -10, -15, -15, -20, -20, -25, -25}},
        {"RocketCoverTime",
         "Extra rocket cover duration in ms",
         {12000, 11000, 10000, 10000, 9000, 9000, 8000, 8000, 7000, 6000}},
        {"EnemySwayPeriod",
         "enemy steps between sway direction changes",
         {40, 40, 48, 48, 56, 56, 64, 64, 72, 72}},
        {"EnemyCount", "enemies in play at once", {3, 4, 4, 5, 5, 6, 6, 7, 8, 9}},
        {"EnemyRepairChance",
         "an enemy repairs with chance 1 in this plus 1 per frame",
         {400, 320, 260, 220, 180, 150, 130, 110, 90, 75}},
        {"EnemyRepairStep", "enemy damage repaired at a time", {4, 5, 6, 6, 8, 8, 10, 10, 12, 12}},
        {"EnemyFireChance",
         "an enemy fires with chance 1 in this plus 1 per frame",
         {300, 260, 230, 200, 180, 165, 150, 130, 115, 100}},
        {"EnemyKillPoints", "points per enemy destroyed", {20, 20, 25, 25, 30, 30, 35, 35, 40, 40}},
        {"EnemyPassPoints",
         "points when an enemy escapes at the bottom",
         {-5, -5, -8, -8, -10, -10, -12, -12, -15, -15}},
        {"CollisionDamage",
         "damage to ship and enemy per frame of contact",
         {4, 5, 6, 7, 8, 8, 9, 10, 11, 12}},
        {"EnemyBreakLevel",
         "an enemy breaks when its damage exceeds this",
         {100, 110, 120, 130, 140, 150, 160, 170, 180, 190}},
        {"unused", "not read by the game", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"IntroTime", "level intro time in ms (all levels)", {3000}},
        {"ShakeAmplitude", "jitter of shields and explosions in pixels (all levels)", {2}},
        {"BaseAlpha", "new enemy damage and explosion fade limit (all levels)", {20}},
        {"ShieldBase", "ship shield damage at start and after Shield 100% (all levels)", {0}},
    };
    return lines;
}

std::string level_file_text() {
    std::string out = "1 /Level erreicht\r\n";
    for (const LevelLine& line : level_lines()) {
        for (int v : line.values) out += std::to_string(v) + "/";
        // The comment follows a blank: the game only reads up to the level's own
        // field, and the level count only counts "/" in the first word.
        out += std::string(" ") + line.name + " - " + line.meaning + "\r\n";
    }
    return out;
}

std::string level_table_markdown() {
    const auto& lines = level_lines();
    const size_t levels = lines.front().values.size();
    std::string out = "| Line | Parameter |";
    for (size_t l = 1; l <= levels; ++l) out += " L" + std::to_string(l) + " |";
    out += "\n|---|---|";
    for (size_t l = 0; l < levels; ++l) out += "---|";
    out += "\n";
    int number = 2;
    for (const LevelLine& line : lines) {
        out += "| " + std::to_string(number++) + " | `" + line.name + "` |";
        for (size_t l = 0; l < levels; ++l) {
            if (line.values.size() == 1 && l > 0) {
                out += " |";
                continue;
            }
            out += " " + std::to_string(line.values[l]) + " |";
        }
        out += "\n";
    }
    return out;
}

}  // namespace assetgen

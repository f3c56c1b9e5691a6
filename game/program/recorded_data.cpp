// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/program/recorded_data.h"

#include <algorithm>
#include <cstring>

#include "game/core/runtime_text.h"
#include "game/data/asset_discovery.h"
#include "game/data/level_file.h"

namespace {

constexpr int32_t kPerLevelValues = 23;  // lines 2 to 24; lines 25 to 28 are shared
constexpr const char* kLevelFile = LevelFilePath;
// The file and the listing are read through this numbered slot: the handles
// that the game's objects get count up from the first one taken, and the
// recorded state holds them, so reading the data must take none.
constexpr int32_t kSlot = 1;

}  // namespace

RecordedData ReadRecordedData() {
    RecordedData data;
    auto add = [&](int32_t value, const std::string& name) {
        data.Values.push_back(value);
        data.Names.push_back(name);
    };
    const std::vector<std::string> lines = ReadLevelFileLines(LevelFilePath, kSlot);
    const int32_t levelCount = LevelCountIn(lines[1]);
    add(levelCount, std::string("the number of levels in ") + kLevelFile + " (line 2)");
    const FamilyCounts families = CountFamilies(kSlot);
    add(families.Enemies, "the enemy pictures (feind??.png) in zentara/");
    add(families.Bonuses, "the bonus pictures (bonus??.png) in zentara/");
    add(families.Planets, "the planet pictures (planet??.png) in zentara/");
    add(families.Moons, "the moon pictures (planetmond*.png) in zentara/");

    // LevelParams lists its members in the file's line order.
    int32_t values[kPerLevelValues + 4];
    static_assert(sizeof(LevelParams) == sizeof(values));
    auto read = [&](int32_t level) {
        const LevelParams params = LevelParamsIn(lines, level);
        std::memcpy(values, &params, sizeof(values));
    };
    for (int32_t level = 1; level <= std::min(levelCount, MaxMenuLevels); ++level) {
        read(level);
        for (int32_t i = 0; i < kPerLevelValues; ++i) {
            add(values[i], std::string(kLevelFile) + " line " + NumberText(i + 2) + ", level " +
                               NumberText(level));
        }
    }
    read(1);
    for (int32_t i = kPerLevelValues; i < kPerLevelValues + 4; ++i) {
        add(values[i], std::string(kLevelFile) + " line " + NumberText(i + 2));
    }
    return data;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/level_check.h"

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

#include "game/core/records.h"
#include "game/core/runtime_text.h"
#include "game/data/level_file.h"
#include "game/play/enemies.h"
#include "game/play/ship.h"
#include "runtime/core/rt_core.h"

namespace {

// Beyond this many enemies every frame slows down.
constexpr int32_t kManyEnemies = 300;
// Explosions fade until their opacity is at or below BaseAlpha, 10 a frame:
// below this they vanish before they are seen.
constexpr int32_t kLeastBaseAlpha = 5;
// An enemy's damage and a shot's or rocket's step are kept in 8 bits.
constexpr int32_t kLargestDamage = std::numeric_limits<decltype(Enemy::Shield)>::max();
constexpr int32_t kLowestStep = std::numeric_limits<decltype(Shot::StepX)>::min();
constexpr int32_t kHighestStep = std::numeric_limits<decltype(Shot::StepX)>::max();

constexpr const char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

std::string InLevel(int32_t level) {
    return " (level " + Number(level) + ")";
}

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

// Text behind the values: it starts with a blank and holds no number there.
bool IsComment(const std::string& text) {
    const size_t at = text.find_first_not_of(" \t");
    return at != 0 && at != std::string::npos &&
           std::string("+-$%0123456789").find(text[at]) == std::string::npos;
}

int32_t LineOf(const int32_t LevelParams::*member) {
    static const LevelParams probe{};
    const auto offset =
        reinterpret_cast<const char*>(&(probe.*member)) - reinterpret_cast<const char*>(&probe);
    return static_cast<int32_t>(offset / sizeof(int32_t)) + FirstParamLine;
}

std::string Levels(int32_t from, int32_t to) {
    return from == to ? "level " + Number(from) + " reads"
                      : "levels " + Number(from) + " to " + Number(to) + " read";
}

// The findings about the values of one line: the values it gives, each one's
// syntax. `told` collects the (line, level) pairs whose value has a finding,
// level 0 standing for a line read for every level.
void CheckLine(const std::string& name, const std::string& text, int32_t line, int32_t levels,
               std::vector<Finding>& out, std::set<std::pair<int32_t, int32_t>>& told) {
    const bool perLevel = line <= LastPerLevelLine;
    const int32_t fields = perLevel ? levels : 1;
    const std::string member = LevelParamName(line);
    auto add = [&](int32_t level, const std::string& what) {
        out.push_back({name, line, member + ": " + what + (perLevel ? InLevel(level) : ""),
                       perLevel ? level : 1, perLevel ? level : EveryLevel});
        told.insert({line, perLevel ? level : 0});
    };
    int32_t given = 0;  // the values run up to the last field with one
    for (int32_t level = 1; level <= fields; ++level) {
        const std::string value = LevelValueText(text, line, level);
        if (!IsBlank(value) && !IsComment(value)) given = level;
    }
    for (int32_t level = 1; level <= given; ++level) {
        const std::string value = LevelValueText(text, line, level);
        const int32_t read = LevelValueOf(value);
        if (IsBlank(value) || IsComment(value)) {
            add(level, "no value, reads as 0");
        } else if (!IsWellFormedValue(value)) {
            add(level, Quoted(value) + " is not a number, reads as " + Number(read));
        } else if (rt_str_to_quad(value.c_str()) != read) {
            add(level, Quoted(value) + " does not fit in 32 bits, reads as " + Number(read));
        }
    }
    if (given == fields) return;
    if (!perLevel) return add(1, "no value, reads as 0");
    std::string what = member + ": " + Number(given) + (given == 1 ? " value" : " values") +
                       " for " + Number(levels) + " levels (line 2 gives the count)";
    const std::string after = LevelValueText(text, line, given + 1);
    if (IsComment(after)) what += ", then " + Quoted(after.substr(after.find_first_not_of(" \t")));
    out.push_back(
        {name, line, what + ": " + Levels(given + 1, levels) + " as 0", given + 1, levels});
    for (int32_t level = given + 1; level <= levels; ++level) told.insert({line, level});
}

}  // namespace

std::string FindingText(const Finding& finding) {
    return finding.File + (finding.Line > 0 ? ":" + Number(finding.Line) : "") + ": " +
           finding.Text;
}

std::vector<Finding> LevelParamFindings(const LevelParams& p, int32_t level) {
    std::vector<Finding> out;
    auto add = [&](const int32_t LevelParams::*member, const std::string& what) {
        const int32_t line = LineOf(member);
        const bool perLevel = line <= LastPerLevelLine;
        out.push_back({LevelFilePath, line,
                       LevelParamName(line) + (": " + what) + (perLevel ? InLevel(level) : ""),
                       perLevel ? level : 1, perLevel ? level : EveryLevel});
    };
    if (p.GoalPoints < 0) add(&LevelParams::GoalPoints, "below 0, the level is won at once");
    if (p.ShieldDecayPeriod <= 0)
        add(&LevelParams::ShieldDecayPeriod, "0 or less, the shield never recovers");
    if (p.MaxShots <= 0) add(&LevelParams::MaxShots, "0 or less, the gun never fires");
    for (auto member : {&LevelParams::ShotSpeed, &LevelParams::RocketSpeed}) {
        const int32_t v = p.*member;
        if (v == 0) add(member, "0, it never moves");
        if (v < kLowestStep || v > kHighestStep)
            add(member, "outside " + Number(kLowestStep) + " .. " + Number(kHighestStep) +
                            ", the 8-bit step wraps");
    }
    for (auto member : {&LevelParams::GunpowerTime, &LevelParams::RocketCoverTime}) {
        if (p.*member < 0) add(member, "below 0, the bonus ends as soon as it is caught");
    }
    const int64_t worst = std::max<int64_t>(2 * int64_t{p.ShotDamage}, p.CollisionDamage);
    if (int64_t{p.EnemyBreakLevel} + worst > kLargestDamage)
        add(&LevelParams::EnemyBreakLevel, "with 2 x ShotDamage or CollisionDamage above " +
                                               Number(kLargestDamage) + ", the 8-bit damage wraps");
    if (p.EnemyRepairStep > p.BaseAlpha)
        add(&LevelParams::EnemyRepairStep, "above BaseAlpha, a repair wraps the 8-bit damage");
    if (p.EnemySwayPeriod <= 0)
        add(&LevelParams::EnemySwayPeriod, "0 or less, enemies never change direction");
    if (p.EnemyCount < 0) add(&LevelParams::EnemyCount, "below 0, no enemy comes, as with 0");
    if (p.EnemyCount > kManyEnemies)
        add(&LevelParams::EnemyCount, "above " + Number(kManyEnemies) + ", slow (at most " +
                                          Number(MostEnemies) + " are spawned)");
    if (p.EnemyCount > 0 && p.EnemyFireChance < std::min(p.EnemyCount, MostEnemies))
        add(&LevelParams::EnemyFireChance, "below EnemyCount, enemies never fire");
    if (p.BaseAlpha < kLeastBaseAlpha)
        add(&LevelParams::BaseAlpha,
            "below " + Number(kLeastBaseAlpha) + ", explosions end before they are seen");
    if (p.ShieldBase > HighestSafeShield)
        add(&LevelParams::ShieldBase,
            "above " + Number(HighestSafeShield) + ", the shield is lost at once");
    return out;
}

std::vector<Finding> LevelFileFindings(const std::string& name,
                                       const std::vector<std::string>& read) {
    std::vector<std::string> lines = read;
    lines.resize(std::max<size_t>(lines.size(), LastLevelLine));
    std::vector<Finding> out;
    int32_t last = 0;  // the last line that holds anything
    for (int32_t line = 1; line <= LastLevelLine; ++line) {
        if (!lines[static_cast<size_t>(line - 1)].empty()) last = line;
    }
    if (last == 0) return {{name, 0, "empty: no level is defined"}};

    const std::string& first = lines[0];
    const std::string progress = FieldText(first, 1, " ");
    const int32_t reached = LevelReachedIn(first);
    if (first.rfind(kByteOrderMark, 0) == 0) {
        out.push_back({name, 1,
                       "progress: the file starts with a UTF-8 byte-order mark (bytes EF BB BF), "
                       "so the progress reads as 0 and no level can be chosen; save the file "
                       "without it"});
    } else if (!IsWellFormedValue(progress)) {
        out.push_back({name, 1,
                       "progress: " + Quoted(progress) + " is not a number, reads as " +
                           Number(reached) + (reached < 1 ? ", so no level can be chosen" : "")});
    } else if (reached < 1) {
        out.push_back({name, 1, "progress: below 1, no level can be chosen"});
    }
    if (last < LastLevelLine) {
        const int32_t missing = std::max(last + 1, FirstParamLine);
        out.push_back({name, last,
                       "the file ends here: lines " + Number(missing) + " to " +
                           Number(LastLevelLine) + " (" + LevelParamName(missing) + " to " +
                           LevelParamName(LastLevelLine) +
                           ") are missing and read as 0 in every level",
                       1, EveryLevel});
    }
    const int32_t count = last >= FirstParamLine ? LevelCountIn(lines[1]) : 0;
    const std::string goal = LevelParamName(FirstParamLine);
    if (last >= FirstParamLine && count == 0)
        out.push_back({name, FirstParamLine,
                       goal + ": no level is defined: the first word of this line holds no \"/\" "
                              "(one after each level's goal, as in 400/650/900/)"});
    if (count > MaxMenuLevels)
        out.push_back({name, FirstParamLine,
                       goal + ": " + Number(count) + " levels, only the first " +
                           Number(MaxMenuLevels) + " can be played"});
    const int32_t levels = std::min(count, MaxMenuLevels);

    // Lines 5 and 24 are read and not used: anything goes there.
    constexpr int32_t kUnusedLines[] = {5, 24};
    std::set<std::pair<int32_t, int32_t>> told;
    for (int32_t line = FirstParamLine; line <= last; ++line) {
        if (std::find(std::begin(kUnusedLines), std::end(kUnusedLines), line) ==
            std::end(kUnusedLines)) {
            CheckLine(name, lines[static_cast<size_t>(line - 1)], line, levels, out, told);
        }
    }
    // The rules on the values as the game reads them, each level's once; a
    // value that already has a finding, or lies past the file's end, is not
    // judged again.
    std::set<std::string> seen;
    for (int32_t level = 1; level <= levels; ++level) {
        for (Finding finding : LevelParamFindings(LevelParamsIn(lines, level), level)) {
            const bool perLevel = finding.FromLevel == finding.ToLevel;
            if (finding.Line > last || told.count({finding.Line, perLevel ? level : 0}) != 0 ||
                !seen.insert(finding.Text).second) {
                continue;
            }
            finding.File = name;
            out.push_back(finding);
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Finding& a, const Finding& b) { return a.Line < b.Line; });
    return out;
}

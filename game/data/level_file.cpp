// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/level_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>

#include "game/core/runtime_text.h"
#include "game/data/level_file_posix.h"
#include "game/data/player_notice.h"
#include "game/window/end_program.h"
#include "runtime/runtime.h"

namespace {

// The reads name the file with the other separator; the runtime takes both.
constexpr const char* kLevelFile = "zentara\\zentara.ini";
constexpr const char* kLevelFileSlash = LevelFilePath;

// The member names of lines 2 to 28 (lines 5 and 24 are read and not used).
const char* const kParamNames[] = {
    "GoalPoints",      "ShieldDecayPeriod", "ShieldDecayStep", "Unused5",
    "MaxShots",        "ShotSpeed",         "ShotDamage",      "ShotHitPoints",
    "GunpowerTime",    "RocketSpeed",       "RocketDamage",    "RocketHitPoints",
    "RocketCoverTime", "EnemySwayPeriod",   "EnemyCount",      "EnemyRepairChance",
    "EnemyRepairStep", "EnemyFireChance",   "EnemyKillPoints", "EnemyPassPoints",
    "CollisionDamage", "EnemyBreakLevel",   "BonusValue",      "IntroTime",
    "ShakeAmplitude",  "BaseAlpha",         "ShieldBase"};
static_assert(std::size(kParamNames) == LastLevelLine - 1);

// An unopened file (id 0) reads as empty lines, so a vanished file gives 0s.
std::string ReadLine(int32_t file) {
    return TakeRuntimeText([&](int32_t at) { rt_file_read_line(file, at); });
}

// A path as the player can find it, whatever folder the game entered.
std::string InCurrentFolder(const std::string& path) {
    if (!path.empty() && path.front() == '/') return path;
    return TakeRuntimeText([](int32_t at) { rt_dir_current(at); }) + path;
}

}  // namespace

int32_t CheckLevelFile() {
    const int32_t file = rt_file_open_read(-1, kLevelFileSlash);
    if (file == 0) {
        const std::string path =
            TakeRuntimeText([](int32_t at) { rt_file_resolve(kLevelFileSlash, at); });
        std::string contents;
        const FileRead read = ReadWholeFile(path, contents);
        const std::string reason = read == FileRead::Ok ? "not a file" : std::strerror(errno);
        const std::string text =
            read == FileRead::Missing
                ? "zentara.ini not found: there is no " + InCurrentFolder(path) + ". "
                : "zentara.ini cannot be read: " + InCurrentFolder(path) + " (" + reason + "). ";
        rt_message_box("Failure", (text + FolderHint).c_str());
        EndProgramWith(2);
    }
    rt_file_close(file);
    return 0;
}

int32_t ReadLevelReached() {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    const std::string line = ReadLine(file);
    rt_file_close(file);
    return LevelReachedIn(line);
}

int32_t ReadLevelCount() {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    ReadLine(file);
    const std::string secondLine = ReadLine(file);
    rt_file_close(file);
    return LevelCountIn(secondLine);
}

LevelParams ReadLevelParams(int32_t level) {
    return LevelParamsIn(ReadLevelFileLines(kLevelFile), level);
}

std::vector<std::string> ReadLevelFileLines(const std::string& path, int32_t fileId) {
    // A numbered slot is read and closed by its number (the open answers the
    // system's handle); a failed open leaves it free, reading as empty lines.
    const int32_t opened = rt_file_open_read(fileId, path.c_str());
    const int32_t file = fileId == -1 ? opened : fileId;
    std::vector<std::string> lines;
    for (int32_t line = 1; line <= LastLevelLine; ++line) lines.push_back(ReadLine(file));
    rt_file_close(file);
    return lines;
}

int32_t LevelReachedIn(const std::string& firstLine) {
    return FieldValue(firstLine, 1, " ");
}

int32_t LevelCountIn(const std::string& secondLine) {
    return rt_str_count(FieldText(secondLine, 1, " ").c_str(), "/");
}

std::string LevelValueText(const std::string& lineText, int32_t line, int32_t level) {
    return FieldText(lineText, line <= LastPerLevelLine ? level : 1, "/");
}

int32_t LevelValueOf(const std::string& text) {
    return static_cast<int32_t>(rt_str_to_quad(text.c_str()));
}

LevelParams LevelParamsIn(const std::vector<std::string>& lines, int32_t level) {
    int32_t values[LastLevelLine - 1] = {};
    for (int32_t line = FirstParamLine; line <= LastLevelLine; ++line) {
        const size_t at = static_cast<size_t>(line - 1);
        if (at < lines.size())
            values[line - 2] = LevelValueOf(LevelValueText(lines[at], line, level));
    }
    // LevelParams lists its 27 members in the file's line order.
    static_assert(sizeof(LevelParams) == sizeof(values));
    LevelParams params;
    std::memcpy(&params, values, sizeof(values));
    return params;
}

bool IsWellFormedValue(const std::string& text) {
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) return false;
    if (text[at] == '-' || text[at] == '+') ++at;
    const char* digits = "0123456789";
    if (at < text.size() && (text[at] == '$' || text[at] == '%')) {
        digits = text[at] == '$' ? "0123456789abcdefABCDEF" : "01";
        ++at;
    }
    const size_t end = std::min(text.find_first_not_of(digits, at), text.size());
    if (end <= at) return false;
    return end == text.size() || text[end] == ' ' || text[end] == '\t';
}

const char* LevelParamName(int32_t line) {
    return line >= FirstParamLine && line <= LastLevelLine ? kParamNames[line - 2] : "";
}

std::string LevelReachedLine(int32_t level) {
    return NumberText(level) + " /Level erreicht";
}

std::string ReplaceFirstLine(const std::string& contents, const std::string& line) {
    size_t rest = contents.find_first_of("\r\n");
    if (rest == std::string::npos) {
        rest = contents.size();
    } else if (contents[rest] == '\r' && rest + 1 < contents.size() && contents[rest + 1] == '\n') {
        rest += 2;
    } else {
        rest += 1;
    }
    return line + "\r\n" + contents.substr(rest);
}

// The whole file is rewritten with the new first line (never over the start
// of the old one), so a longer progress number cannot overwrite line 2. The
// file is found by the same rule as every read, so the progress written is
// the progress read back when several spellings of the name exist. The file
// is read again first: it records the progress of every run, which may have
// moved since this one started.
int32_t SaveLevelReached(int32_t newLevel, int32_t reached) {
    if (newLevel <= reached) return 0;
    // A replay shows a recorded game again; the player's own progress stays.
    if (rt_replay_mode() == RT_REPLAY_PLAYING) return 0;
    const std::string path =
        TakeRuntimeText([](int32_t at) { rt_file_resolve(kLevelFileSlash, at); });
    const std::string line = LevelReachedLine(newLevel);
    std::string contents;
    bool saved = false;
    switch (ReadWholeFile(path, contents)) {
        case FileRead::Missing:
            saved = ReplaceFileContents(path, line + "\r\n");
            break;
        case FileRead::Ok:
            if (LevelReachedIn(contents.substr(0, contents.find_first_of("\r\n"))) >= newLevel)
                return 0;
            saved = ReplaceFileContents(path, ReplaceFirstLine(contents, line));
            break;
        case FileRead::Failed:
            break;  // unreadable: keeping it beats losing the other lines
    }
    if (!saved) {
        const std::string reason = std::strerror(errno);
        TellPlayer("could not save the progress (level " + NumberText(newLevel) + ") in " +
                   InCurrentFolder(path) + ": " + reason);
    }
    return 0;
}

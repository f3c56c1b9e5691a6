// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/level_file.h"

#include <cerrno>
#include <cstring>

#include "game/level_file_posix.h"
#include "game/player_notice.h"
#include "game/program.h"
#include "game/runtime_text.h"
#include "runtime/runtime.h"

namespace {

// Both spellings name the same file; the runtime accepts either separator.
constexpr const char* kLevelFile = "zentara\\zentara.ini";
constexpr const char* kLevelFileSlash = "zentara/zentara.ini";

// Lines 2 .. kLastPerLevelLine give one value per level, the lines after them
// up to kLastLine one value for every level.
constexpr int32_t kLastPerLevelLine = 24;
constexpr int32_t kLastLine = 28;

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

int32_t ProgressOf(const std::string& firstLine) {
    return FieldValue(firstLine, 1, " ");
}

int32_t ReadLevelReached() {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    const std::string line = ReadLine(file);
    rt_file_close(file);
    return ProgressOf(line);
}

int32_t LevelCountOf(const std::string& lineTwo) {
    return rt_str_count(FieldText(lineTwo, 1, " ").c_str(), "/");
}

int32_t ReadLevelCount() {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    ReadLine(file);
    const std::string lineTwo = ReadLine(file);
    rt_file_close(file);
    return LevelCountOf(lineTwo);
}

std::vector<std::string> ReadParamLines(int32_t fileId) {
    // A numbered slot is read and closed by its number (the open answers the
    // system's handle); a failed open leaves it free, reading as empty lines.
    const int32_t opened = rt_file_open_read(fileId, kLevelFile);
    const int32_t file = fileId == -1 ? opened : fileId;
    ReadLine(file);
    std::vector<std::string> lines;
    for (int32_t line = 2; line <= kLastLine; ++line) lines.push_back(ReadLine(file));
    rt_file_close(file);
    return lines;
}

LevelParams ParamsFromLines(const std::vector<std::string>& lines, int32_t level) {
    int32_t values[kLastLine - 1] = {};
    for (int32_t line = 2; line <= kLastLine && line - 2 < static_cast<int32_t>(lines.size());
         ++line) {
        const int32_t field = line <= kLastPerLevelLine ? level : 1;
        values[line - 2] = FieldValue(lines[static_cast<size_t>(line - 2)], field, "/");
    }
    // LevelParams lists its 27 members in the file's line order.
    static_assert(sizeof(LevelParams) == sizeof(values));
    LevelParams params;
    std::memcpy(&params, values, sizeof(values));
    return params;
}

LevelParams ReadLevelParams(int32_t level) {
    return ParamsFromLines(ReadParamLines(), level);
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
            if (ProgressOf(contents.substr(0, contents.find_first_of("\r\n"))) >= newLevel)
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

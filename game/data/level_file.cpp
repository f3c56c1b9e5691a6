// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/level_file.h"

#include <cstdio>
#include <cstring>

#include "game/core/runtime_text.h"
#include "game/data/level_file_posix.h"
#include "game/window/end_program.h"
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

}  // namespace

int32_t CheckLevelFile() {
    const int32_t file = rt_file_open_read(-1, kLevelFileSlash);
    if (file == 0) {
        rt_message_box("Failure", "zentara.ini not found");
        EndProgram();
    }
    rt_file_close(file);
    return 0;
}

int32_t ReadLevelReached() {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    const std::string line = ReadLine(file);
    rt_file_close(file);
    return FieldValue(line, 1, " ");
}

int32_t ReadLevelCount() {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    ReadLine(file);
    const std::string firstWord = FieldText(ReadLine(file), 1, " ");
    rt_file_close(file);
    return rt_str_count(firstWord.c_str(), "/");
}

LevelParams ReadLevelParams(int32_t level) {
    const int32_t file = rt_file_open_read(-1, kLevelFile);
    ReadLine(file);
    int32_t values[kLastLine - 1] = {};
    for (int32_t line = 2; line <= kLastLine; ++line) {
        const int32_t field = line <= kLastPerLevelLine ? level : 1;
        values[line - 2] = FieldValue(ReadLine(file), field, "/");
    }
    rt_file_close(file);

    // LevelParams lists its 27 members in the file's line order.
    static_assert(sizeof(LevelParams) == sizeof(values));
    LevelParams params;
    std::memcpy(&params, values, sizeof(values));
    return params;
}

std::string LevelReachedLine(int32_t reached) {
    return NumberText(static_cast<int64_t>(reached) + 1) + " /Level erreicht";
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
// the progress read back when several spellings of the name exist.
int32_t SaveLevelReached(int32_t newLevel, int32_t reached) {
    if (newLevel <= reached) return 0;
    // A replay shows a recorded game again; the player's own progress stays.
    if (rt_replay_mode() == RT_REPLAY_PLAYING) return 0;
    const std::string path =
        TakeRuntimeText([](int32_t at) { rt_file_resolve(kLevelFileSlash, at); });
    const std::string line = LevelReachedLine(reached);
    std::string contents;
    bool saved = false;
    switch (ReadWholeFile(path, contents)) {
        case FileRead::Missing:
            saved = ReplaceFileContents(path, line + "\r\n");
            break;
        case FileRead::Ok:
            saved = ReplaceFileContents(path, ReplaceFirstLine(contents, line));
            break;
        case FileRead::Failed:
            break;  // unreadable: keeping it beats losing the other lines
    }
    if (!saved) {
        std::fprintf(stderr, "zentara: could not save the progress (level %s) in %s\n",
                     NumberText(static_cast<int64_t>(reached) + 1).c_str(), path.c_str());
    }
    return 0;
}

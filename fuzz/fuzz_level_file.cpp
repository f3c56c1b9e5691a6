// SPDX-License-Identifier: GPL-3.0-or-later
// The level file as the game reads it: the input becomes zentara/zentara.ini
// in a scratch working directory, then the progress, the level count and the
// parameters of several levels are read through the runtime's sequential files
// and string fields. The text side of saving progress (the new first line
// replacing the old) is checked on the same input, and so are the findings of
// `zentara --check` on the lines the game reads.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz/fuzz_common.h"
#include "game/data/level_check.h"
#include "game/data/level_file.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/rt_files.h"

// The level file's reader shares its source file with the check that ends the
// program when the file is missing; that path needs the window and the game
// loop, which the fuzzer never reaches.
[[noreturn]] void EndProgramWith(int) {
    FuzzFailure("EndProgram reached");
}
extern "C" int32_t rt_message_box(const char*, const char*) {
    FuzzFailure("message box reached");
}

namespace {

char g_scratch[] = "/tmp/zentara-fuzz-XXXXXX";

void RemoveScratch() {
    unlink((std::string(g_scratch) + "/zentara/zentara.ini").c_str());
    rmdir((std::string(g_scratch) + "/zentara").c_str());
    rmdir(g_scratch);
}

// The game reads zentara/ below the working directory; each run goes there
// and comes back, so libFuzzer's own relative paths keep working.
int g_home = -1;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (mkdtemp(g_scratch) == nullptr ||
        mkdir((std::string(g_scratch) + "/zentara").c_str(), 0755) != 0) {
        FuzzFailure("no scratch directory");
    }
    g_home = open(".", O_RDONLY | O_DIRECTORY);
    std::atexit(RemoveScratch);
    rt_string_init();
    rt_file_init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (chdir(g_scratch) != 0) FuzzFailure("scratch directory lost");
    std::ofstream("zentara/zentara.ini", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    const int32_t reached = ReadLevelReached();
    const int32_t count = ReadLevelCount();
    FUZZ_CHECK(count >= 0);
    // The levels the game asks for: the first, the one reached, the last
    // defined one, one past it and the extremes a corrupt file can produce.
    const int32_t levels[] = {1, reached, count,    count < INT32_MAX ? count + 1 : count,
                              0, -1,      INT32_MAX};
    for (const int32_t level : levels) ReadLevelParams(level);

    // The checker reads the lines the game reads. A rule that level 1's values
    // break is told on its line, unless the line already has a finding about
    // its text or lies past the file's end, which is told instead.
    const std::string contents(reinterpret_cast<const char*>(data), size);
    const std::vector<Finding> findings = LevelFileFindings("zentara.ini", ReadLevelFileLines());
    for (const Finding& finding : findings) {
        FUZZ_CHECK(finding.File == "zentara.ini" && finding.Line >= 0 &&
                   finding.Line <= LastLevelLine);
    }
    if (count >= 1) {
        for (const Finding& rule : LevelParamFindings(ReadLevelParams(1), 1)) {
            FUZZ_CHECK(std::any_of(findings.begin(), findings.end(), [&](const Finding& f) {
                return f.Line == rule.Line ||
                       (f.Line < rule.Line && f.Text.rfind("the file ends here", 0) == 0);
            }));
        }
    }

    // The progress line written over this file keeps every later byte.
    const std::string line = LevelReachedLine(reached);
    const std::string saved = ReplaceFirstLine(contents, line);
    FUZZ_CHECK(saved.compare(0, line.size() + 2, line + "\r\n") == 0);
    const size_t restLength = saved.size() - line.size() - 2;
    FUZZ_CHECK(restLength <= contents.size());
    FUZZ_CHECK(contents.compare(contents.size() - restLength, restLength, saved, line.size() + 2) ==
               0);
    if (fchdir(g_home) != 0) FuzzFailure("working directory lost");
    return 0;
}

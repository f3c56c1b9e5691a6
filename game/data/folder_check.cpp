// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/folder_check.h"

#include <cstdio>
#include <filesystem>

#include "game/core/runtime_text.h"
#include "game/data/asset_check.h"
#include "game/data/level_file.h"
#include "runtime/runtime.h"

namespace fs = std::filesystem;

namespace {

std::string Resolve(const std::string& path) {
    return TakeRuntimeText([&](int32_t at) { rt_file_resolve(path.c_str(), at); });
}

bool IsFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The folder above `folder`, as a player would type it.
std::string FolderAbove(const std::string& folder) {
    fs::path path = fs::path(folder).lexically_normal();
    if (path.filename().empty()) path = path.parent_path();
    const fs::path above = path.parent_path();
    return above.empty() ? "." : above.string();
}

}  // namespace

int RunCheck(const std::string& folder) {
    rt_runtime_start();
    rt_png_decoder_register();
    rt_screen_init();
    const std::string levelFile = Resolve(folder + "/" + LevelFilePath);
    if (!IsFile(levelFile)) {
        std::fprintf(stderr, "%s: no level file %s\n", folder.c_str(), LevelFilePath);
        if (IsFile(Resolve(folder + "/zentara.ini"))) {
            std::fprintf(stderr,
                         "%s holds zentara.ini itself: it is the asset folder; check the game "
                         "folder above it: zentara --check %s\n",
                         folder.c_str(), FolderAbove(folder).c_str());
        }
        return 2;
    }
    const std::string name = "zentara/" + fs::path(levelFile).filename().string();
    std::vector<Finding> findings = LevelFileFindings(name, ReadLevelFileLines(levelFile));
    for (Finding& finding : AssetFindings(folder)) findings.push_back(std::move(finding));
    for (const Finding& finding : findings) std::printf("%s\n", FindingText(finding).c_str());
    if (findings.empty()) std::printf("no problems found\n");
    return findings.empty() ? 0 : 1;
}

std::vector<Finding> LevelStartFindings(const std::vector<std::string>& levelFileLines,
                                        int32_t level) {
    std::vector<Finding> findings;
    const std::string name = "zentara/" + fs::path(Resolve(LevelFilePath)).filename().string();
    for (Finding& finding : LevelFileFindings(name, levelFileLines)) {
        if (finding.Concerns(level)) findings.push_back(std::move(finding));
    }
    for (Finding& finding : AssetFindings(".")) {
        if (finding.Concerns(level)) findings.push_back(std::move(finding));
    }
    return findings;
}

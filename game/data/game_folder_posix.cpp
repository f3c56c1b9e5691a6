// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "game/core/runtime_text.h"
#include "game/data/game_folder.h"
#include "runtime/files/rt_files.h"

#ifndef ZENTARA_PACK_FROM_BINDIR
#define ZENTARA_PACK_FROM_BINDIR "../share/zentara"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kPackFolder = "zentara";
constexpr const char* kLevelFile = "zentara.ini";

// The entry of `folder` named `name` in any case, found as the game's own
// file access finds it (the runtime's lookup and its choice among several
// spellings); empty when there is none.
fs::path FindEntry(const fs::path& folder, const std::string& name) {
    const fs::path found =
        TakeRuntimeText([&](int32_t at) { rt_file_resolve((folder / name).string().c_str(), at); });
    std::error_code error;
    return fs::exists(found, error) ? found : fs::path();
}

// A copy that the player owns and may write, whatever the pack's modes are:
// the level file must take the progress line.
bool CopyFile(const fs::path& from, const fs::path& to, std::error_code& error) {
    if (!fs::copy_file(from, to, fs::copy_options::skip_existing, error)) return !error;
    fs::permissions(to, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                    error);
    return !error;
}

bool EnterFolder(const fs::path& folder, std::string& problem) {
    std::error_code error;
    fs::current_path(folder, error);
    if (error) problem = "cannot enter " + folder.string() + ": " + error.message();
    return !error;
}

}  // namespace

bool HoldsLevelFile(const fs::path& folder) {
    const fs::path assets = FindEntry(folder, kPackFolder);
    if (assets.empty()) return false;
    const fs::path levelFile = FindEntry(assets, kLevelFile);
    std::error_code error;
    return !levelFile.empty() && fs::is_regular_file(levelFile, error);
}

fs::path PlayerFolder() {
    // Relative values are invalid by the XDG rules and ignored.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') return fs::path(data) / "zentara";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return fs::path(home) / ".local/share/zentara";
    return {};
}

fs::path InstalledPack() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const fs::path pack = (program.parent_path() / ZENTARA_PACK_FROM_BINDIR).lexically_normal();
    return fs::is_regular_file(pack / kLevelFile, error) ? pack : fs::path();
}

bool FillFromPack(const fs::path& folder, const fs::path& pack, std::string& problem) {
    const fs::path target = folder / kPackFolder;
    std::error_code error;
    fs::create_directories(target, error);
    for (fs::directory_iterator it(pack, error), end; !error && it != end; it.increment(error)) {
        const fs::path name = it->path().filename();
        const bool regular = it->is_regular_file(error);
        if (error) break;
        if (name == kLevelFile || !regular) continue;
        if (!CopyFile(it->path(), target / name, error)) break;
    }
    // Written aside and renamed, so a level file that exists is always whole.
    const fs::path partial = target / (std::string(kLevelFile) + ".part");
    if (!error && !fs::exists(target / kLevelFile)) {
        fs::remove(partial, error);
        if (!error) CopyFile(pack / kLevelFile, partial, error);
        if (!error) fs::rename(partial, target / kLevelFile, error);
    }
    if (error)
        problem = "cannot copy the game's files into " + target.string() + ": " + error.message();
    return !error;
}

fs::path CheckedGameFolder(const std::string& dataDir) {
    if (!dataDir.empty()) return dataDir;
    if (HoldsLevelFile(".")) return ".";
    const fs::path player = PlayerFolder();
    return player.empty() ? fs::path(".") : player;
}

bool EnterGameFolder(const std::string& dataDir, const fs::path& pack, std::string& problem) {
    fs::path folder = dataDir;
    if (folder.empty()) {
        if (HoldsLevelFile(".")) return true;
        folder = PlayerFolder();
        if (folder.empty()) return true;
    } else {
        std::error_code error;
        fs::create_directories(folder, error);
        if (error) {
            problem = "cannot make the game folder " + folder.string() + ": " + error.message();
            return false;
        }
    }
    if (!HoldsLevelFile(folder) && !pack.empty() && !FillFromPack(folder, pack, problem)) {
        std::fprintf(stderr, "zentara: %s\n", problem.c_str());
        problem.clear();
    }
    std::error_code error;
    if (!fs::is_directory(folder, error)) return true;
    if (EnterFolder(folder, problem)) return true;
    // Only a named folder is worth stopping for; otherwise start-up reports
    // the level file as missing.
    if (!dataDir.empty()) return false;
    std::fprintf(stderr, "zentara: %s\n", problem.c_str());
    problem.clear();
    return true;
}

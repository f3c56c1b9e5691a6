// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <set>
#include <system_error>

#include "game/core/runtime_text.h"
#include "game/data/game_folder.h"
#include "game/data/player_notice.h"
#include "runtime/files/rt_files.h"

#ifndef ZENTARA_PACK_FROM_BINDIR
#define ZENTARA_PACK_FROM_BINDIR "../share/zentara"
#endif

namespace fs = std::filesystem;

namespace {

constexpr const char* kPackFolder = "zentara";
constexpr const char* kLevelFile = "zentara.ini";

std::string Lower(std::string text) {
    for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return text;
}

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

std::string NotFound(const std::string& where, const fs::path& pack) {
    return "zentara.ini not found: looked for zentara/zentara.ini in " + where +
           (pack.empty() ? ", and there is no installed pack to copy it from. " : ". ") +
           FolderHint;
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
    fs::path target = FindEntry(folder, kPackFolder);
    if (target.empty()) target = folder / kPackFolder;
    std::error_code error;
    fs::create_directories(target, error);
    if (error) {
        problem = "cannot make the folder " + target.string() + ": " + error.message();
        return false;
    }
    // The game matches names without regard to case, so a file the player has
    // in another case is there already: a second copy would count twice.
    std::set<std::string> present;
    for (fs::directory_iterator it(target, error), end; !error && it != end; it.increment(error)) {
        present.insert(Lower(it->path().filename().string()));
    }
    // Each file is tried; the first that fails is reported.
    std::string failed;
    auto note = [&](const std::error_code& why, const fs::path& file) {
        if (why && failed.empty()) failed = file.string() + ": " + why.message();
        return !why;
    };
    note(error, target);
    for (fs::directory_iterator it(pack, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (name == kLevelFile || present.count(Lower(name)) != 0 || !it->is_regular_file(kind)) {
            continue;
        }
        std::error_code copied;
        CopyFile(it->path(), target / name, copied);
        note(copied, target / name);
    }
    note(error, pack);
    // Written aside and renamed, so a level file that exists is always whole;
    // once there it is never touched again.
    if (present.count(kLevelFile) == 0) {
        const fs::path partial = target / (std::string(kLevelFile) + ".part");
        fs::remove(partial, error);
        if (note(error, partial) && CopyFile(pack / kLevelFile, partial, error)) {
            fs::rename(partial, target / kLevelFile, error);
        }
        note(error, target / kLevelFile);
    }
    if (!failed.empty()) problem = "cannot copy the game's file " + failed;
    return failed.empty();
}

fs::path CheckedGameFolder(const std::string& dataDir) {
    if (!dataDir.empty()) return dataDir;
    if (HoldsLevelFile(".")) return ".";
    const fs::path player = PlayerFolder();
    return player.empty() ? fs::path(".") : player;
}

bool EnterGameFolder(const std::string& dataDir, const fs::path& pack, std::string& problem) {
    fs::path folder = dataDir;
    std::string looked = dataDir;
    if (folder.empty()) {
        // A folder of the player's own making is used as it is.
        if (HoldsLevelFile(".")) return true;
        std::error_code error;
        looked = fs::current_path(error).string();
        folder = PlayerFolder();
        if (folder.empty()) {
            problem = NotFound(looked + " (neither XDG_DATA_HOME nor HOME names a player's folder)",
                               pack);
            return false;
        }
        looked += " and in " + folder.string();
    }
    if (!pack.empty() && !FillFromPack(folder, pack, problem)) {
        if (!HoldsLevelFile(folder)) {
            problem += ". " + std::string(FolderHint);
            return false;
        }
        // Played without the files that are missing.
        TellPlayer(problem + ".");
        problem.clear();
    }
    if (!HoldsLevelFile(folder)) {
        problem = NotFound(looked, pack);
        return false;
    }
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        problem = "cannot enter the game folder " + folder.string() + ": " + error.message() +
                  ". " + FolderHint;
    }
    return !error;
}

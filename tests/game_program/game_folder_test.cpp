// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game folder: the current directory, the player's folder filled
// from the installed pack, or a named folder; a player's files are never
// replaced.
#include "game/data/game_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using zentara_test::read_file;
using zentara_test::write_file;

namespace {

class GameFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "pack");
        write_file(root_ / "pack/zentara.ini", "1 /Level erreicht\r\n400/\r\n");
        write_file(root_ / "pack/spaceship.png", "pack ship");
        fs::create_directories(root_ / "work");
        fs::current_path(root_ / "work");
        setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_DATA_HOME");
        if (home_) setenv("HOME", home_->c_str(), 1);
    }
    // Runs the search; answers the folder it ended in.
    fs::path Enter(const std::string& dataDir = "") {
        std::string problem;
        EXPECT_TRUE(EnterGameFolder(dataDir, root_ / "pack", problem)) << problem;
        return fs::current_path();
    }
    fs::path Player() const { return root_ / "data/zentara"; }

    zentara_test::TempDir temp_{true};
    fs::path root_{fs::canonical(temp_.path())};
    std::optional<std::string> home_ =
        std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
};

TEST_F(GameFolder, ACurrentDirectoryWithTheLevelFileIsKeptWhateverItsCase) {
    fs::create_directories("Zentara");
    write_file("Zentara/ZENTARA.INI", "3\r\n");
    EXPECT_EQ(Enter(), root_ / "work");
    EXPECT_FALSE(fs::exists(Player()));
}

// Every file of the folder, name to contents.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = read_file(entry.path());
    return files;
}

// The first start fills the player's folder (no copy left half made); at each
// later start the files the player removed come back, and every file there,
// the level file above all, stays byte for byte, also one named in another case.
TEST_F(GameFolder, ThePlayersFolderFollowsThePackAndKeepsEveryFileItHas) {
    const char* removed[] = {"feind00.png", "bonus00.png", "planet00.png"};
    for (const char* name : {"feind00.png", "bonus00.png", "planet00.png", "kugel.wav"})
        write_file(root_ / "pack" / name, std::string("pack ") + name);
    EXPECT_EQ(Enter(), Player());
    const fs::path assets = Player() / "zentara";
    EXPECT_EQ(Snapshot(assets), Snapshot(root_ / "pack"));
    write_file(assets / "zentara.ini", "5 /Level erreicht\r\n");
    write_file(assets / "spaceship.png", "my ship");
    fs::rename(assets / "kugel.wav", assets / "KUGEL.WAV");
    for (const char* name : removed) fs::remove(assets / name);
    const auto kept = Snapshot(assets);
    fs::current_path(root_ / "work");
    EXPECT_EQ(Enter(), Player());
    auto now = Snapshot(assets);
    for (const char* name : removed) EXPECT_EQ(now[name], std::string("pack ") + name) << name;
    for (const auto& [name, bytes] : kept) EXPECT_EQ(now[name], bytes) << name;
    EXPECT_EQ(now.size(), kept.size() + 3);
}

TEST_F(GameFolder, ANamedFolderIsMadeAndFilledEvenBesideALevelFile) {
    fs::create_directories("zentara");
    write_file("zentara/zentara.ini", "3\r\n");
    EXPECT_EQ(Enter((root_ / "named/game").string()), root_ / "named/game");
    EXPECT_TRUE(HoldsLevelFile(root_ / "named/game"));
    // A folder that cannot be made is refused with its reason.
    write_file(root_ / "file", "");
    std::string problem;
    EXPECT_FALSE(EnterGameFolder((root_ / "file/game").string(), root_ / "pack", problem));
    EXPECT_NE(problem.find("file/game"), std::string::npos) << problem;
}

TEST_F(GameFolder, ThePlayersFolderFollowsXdgDataHomeElseHome) {
    EXPECT_EQ(PlayerFolder(), Player());
    setenv("HOME", "/home/player", 1);
    setenv("XDG_DATA_HOME", "relative/data", 1);  // not absolute: ignored
    EXPECT_EQ(PlayerFolder(), fs::path("/home/player/.local/share/zentara"));
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game folder: the current directory, the player's folder filled
// from the installed pack, or a named folder; a player's files are never
// replaced.
#include "game/data/game_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

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

TEST_F(GameFolder, ThePlayersFolderIsFilledFromThePackOnFirstStart) {
    EXPECT_EQ(Enter(), Player());
    EXPECT_EQ(read_file(Player() / "zentara/zentara.ini"), read_file(root_ / "pack/zentara.ini"));
    EXPECT_EQ(read_file(Player() / "zentara/spaceship.png"), "pack ship");
    EXPECT_FALSE(fs::exists(Player() / "zentara/zentara.ini.part"));  // no copy left half made
}

TEST_F(GameFolder, APlayersFilesAreNeverReplaced) {
    // Progress kept: with a level file nothing is copied at all.
    fs::create_directories(Player() / "zentara");
    write_file(Player() / "zentara/zentara.ini", "5 /Level erreicht\r\n");
    EXPECT_EQ(Enter(), Player());
    EXPECT_EQ(read_file(Player() / "zentara/zentara.ini"), "5 /Level erreicht\r\n");
    EXPECT_FALSE(fs::exists(Player() / "zentara/spaceship.png"));
    // A level file lost, a picture of the player's own: only the level file comes.
    fs::remove(Player() / "zentara/zentara.ini");
    write_file(Player() / "zentara/spaceship.png", "my ship");
    fs::current_path(root_ / "work");
    EXPECT_EQ(Enter(), Player());
    EXPECT_EQ(read_file(Player() / "zentara/spaceship.png"), "my ship");
    EXPECT_TRUE(fs::exists(Player() / "zentara/zentara.ini"));
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

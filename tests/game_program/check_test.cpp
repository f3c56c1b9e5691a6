// SPDX-License-Identifier: GPL-3.0-or-later
// The checker of `zentara --check`: the shipped pack passes, a folder with
// one fault of each kind is told line by line, a folder without a level file
// is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game/data/level_check.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Runs the check and answers its exit code and its standard output.
std::pair<int, std::string> Check(const std::string& folder) {
    testing::internal::CaptureStdout();
    const int code = RunCheck(folder);
    return {code, testing::internal::GetCapturedStdout()};
}

TEST(LevelCheck, ShippedPackHasNoProblems) {
    EXPECT_EQ(Check(ZENTARA_SOURCE_ROOT "/assets"),
              std::pair(0, std::string("no problems found\n")));
}

TEST(LevelCheck, FolderWithoutLevelFileIsRefused) {
    zentara_test::TempDir dir{true};
    fs::create_directory("zentara");
    EXPECT_EQ(Check(".").first, 2);
    EXPECT_EQ(Check("no such folder").first, 2);
}

// Two levels; level 1 is sound, level 2 breaks one rule per line.
const char* const kDamagedLevelFile =
    "x /Level erreicht\r\n"
    "400/-1/\r\n"  // 2: goal already reached
    "20/0/\r\n"    // 3: no shield recovery
    "5/5/\r\n"
    "0/0/\r\n"
    "8/8x/\r\n"    // 6: not a number
    "12/0/\r\n"    // 7: a shot that never moves
    "30/100/\r\n"  // 8: with line 23, damage that wraps
    "5/5/\r\n"
    "9000/9000/\r\n"
    "4/300/\r\n"  // 11: rocket step wraps
    "16/16/\r\n"
    "-5/-5/\r\n"
    "9000/9000/\r\n"
    "40/-3/\r\n"  // 15: no sway
    "3/400/\r\n"  // 16: too many enemies, and line 19 below it
    "400/400/\r\n"
    "4/4/\r\n"
    "300/100/\r\n"
    "20/20/\r\n"
    "-5/-5/\r\n"
    "4/4/\r\n"
    "100/100/\r\n"
    "0/0/\r\n"
    "3000/\r\n"
    "2/\r\n"
    "3/\r\n"     // 27: explosions end early, and repairs of 4 wrap
    "256/\r\n";  // 28: shield lost at once

TEST(LevelCheck, DamagedFolderNamesEveryFaultWithItsLineAndField) {
    zentara_test::TempDir dir{true};
    fs::copy(ZENTARA_SOURCE_ROOT "/assets/zentara", "zentara");
    zentara_test::write_file("zentara/zentara.ini", kDamagedLevelFile);
    fs::remove("zentara/feind01.png");  // a gap in the enemy numbers
    fs::remove("zentara/bonus02.wav");  // a bonus without its sound
    fs::remove("zentara/kugel.wav");    // a fixed file missing
    zentara_test::write_file("zentara/rakete.png", "not a picture");
    fs::copy_file("zentara/planetmond00.png", "zentara/planetmond07.png");
    zentara_test::write_file("zentara/notes.txt", "");
    const auto [code, output] = Check(".");
    EXPECT_EQ(code, 1);
    EXPECT_EQ(
        output,
        "zentara/zentara.ini:1: progress: not a number, reads as no level reached\n"
        "zentara/zentara.ini:2: GoalPoints: below 0, the level is won at once (level 2)\n"
        "zentara/zentara.ini:3: ShieldDecayPeriod: 0 or less, the shield never recovers (level 2)\n"
        "zentara/zentara.ini:6: MaxShots: \"8x\" is not a number, reads as 8 (level 2)\n"
        "zentara/zentara.ini:7: ShotSpeed: 0, it never moves (level 2)\n"
        "zentara/zentara.ini:11: RocketSpeed: outside -128 .. 127, the 8-bit step wraps (level 2)\n"
        "zentara/zentara.ini:15: EnemySwayPeriod: 0 or less, enemies never change direction (level "
        "2)\n"
        "zentara/zentara.ini:16: EnemyCount: above 300, slow (at most 10000 are spawned) (level "
        "2)\n"
        "zentara/zentara.ini:18: EnemyRepairStep: above BaseAlpha, a repair wraps the 8-bit damage "
        "(level 1)\n"
        "zentara/zentara.ini:18: EnemyRepairStep: above BaseAlpha, a repair wraps the 8-bit damage "
        "(level 2)\n"
        "zentara/zentara.ini:19: EnemyFireChance: below EnemyCount, enemies never fire (level 2)\n"
        "zentara/zentara.ini:23: EnemyBreakLevel: with 2 x ShotDamage or CollisionDamage above "
        "255, the 8-bit damage wraps (level 2)\n"
        "zentara/zentara.ini:27: BaseAlpha: below 5, explosions end early\n"
        "zentara/zentara.ini:28: ShieldBase: above 255, the shield is lost at once\n"
        "zentara/rakete.png: not a PNG picture the game can read\n"
        "zentara/kugel.wav: missing\n"
        "zentara/notes.txt: ignored by the game\n"
        "zentara/feind01.png: missing, enemies of this number are invisible\n"
        "zentara/planetmond07.png: its planet does not exist, never drawn\n"
        "zentara/bonus02.wav: missing, that bonus is silent\n");
}

}  // namespace

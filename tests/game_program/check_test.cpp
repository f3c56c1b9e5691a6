// SPDX-License-Identifier: GPL-3.0-or-later
// The checker of `zentara --check`: each fault planted in the level file is
// told once, on its line; in each damaged copy of the shipped pack the finding
// agrees with what the game's own loading then does, and a copy the game
// reads all the same has "no problems found".
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/data/asset_discovery.h"
#include "game/data/asset_files.h"
#include "game/data/folder_check.h"
#include "game/data/level_file.h"
#include "game/play/bonus_kinds.h"
#include "game/play/enemies.h"
#include "tests/image/png_writer.h"
#include "tests/support/level_files.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using zentara_test::read_file;
using zentara_test::write_file;

namespace {

const std::string kPack = ZENTARA_SOURCE_ROOT "/assets";

// Runs the check on the current folder: its exit code and standard output.
std::pair<int, std::string> Check(const std::string& folder = ".") {
    testing::internal::CaptureStdout();
    const int code = RunCheck(folder);
    return {code, testing::internal::GetCapturedStdout()};
}

TEST(LevelCheck, AFolderWithoutLevelFileIsRefusedAndTheAssetFolderNamed) {
    zentara_test::TempDir dir{true};
    fs::create_directory("zentara");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Check().first, 2);
    EXPECT_EQ(Check("no such folder").first, 2);
    EXPECT_EQ(Check(kPack + "/zentara").first, 2);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("check the game folder above it: zentara --check " + kPack),
              std::string::npos)
        << said;
}

// clang-format off
// One fault planted in the shipped level file per row: the line and its new
// text, and the one finding (the first if several) in the checker's words.
const struct { int32_t Line; const char* Text; const char* Told; } kLevelFileFaults[] = {
    {1, "\xEF\xBB\xBF" "1 /Level erreicht", "1: progress: the file starts with a UTF-8 byte-order mark"},
    {1, "x /Level erreicht", "1: progress: \"x\" is not a number, reads as 0, so no level can be chosen"},
    {2, "400 /650/", "2: GoalPoints: no level is defined: the first word of this line holds no \"/\""},
    {6, "8/8x/7/7/6/6/6/5/5/5/", "6: MaxShots: \"8x\" is not a number, reads as 8 (level 2)"},
    {6, "8//7/7/6/6/6/5/5/5/", "6: MaxShots: no value, reads as 0 (level 2)"},
    {7, "12/12/13 comment", "7: ShotSpeed: 3 values for 10 levels (line 2 gives the count): levels 4 to 10 read as 0"},
    {7, "12/12/ comment", "7: ShotSpeed: 2 values for 10 levels (line 2 gives the count), then \"comment\": levels 3 to 10 read as 0"},
    {7, "0/12/13/13/13/13/14/14/15/15/", "7: ShotSpeed: 0, it never moves (level 1)"},
    {11, "400/5/5/6/6/7/7/8/8/9/", "11: RocketSpeed: outside -128 .. 127, the 8-bit step wraps (level 1)"},
    {16, "-3/4/4/5/5/6/6/7/8/9/", "16: EnemyCount: below 0, no enemy comes, as with 0 (level 1)"},
    {16, "400/4/4/5/5/6/6/7/8/9/", "16: EnemyCount: above 300, slow (at most 10000 are spawned) (level 1)"},
    {19, "2/260/230/200/180/165/150/130/115/100/", "19: EnemyFireChance: below EnemyCount, enemies never fire (level 1)"},
    {23, "250/110/120/130/140/150/160/170/180/190/", "23: EnemyBreakLevel: with 2 x ShotDamage or CollisionDamage above 255"},
    {27, "3", "18: EnemyRepairStep: above BaseAlpha, a repair wraps the 8-bit damage (level 1)"},
    {28, "99999999999", "28: ShieldBase: \"99999999999\" does not fit in 32 bits, reads as 1215752191"},
};
// clang-format on

TEST(LevelCheck, EachPlantedFaultIsToldOnItsLine) {
    const std::string shipped = read_file(kPack + "/zentara/zentara.ini");
    for (const auto& fault : kLevelFileFaults) {
        zentara_test::TempDir dir{true};
        fs::create_directory("zentara");
        write_file("zentara/zentara.ini", zentara_test::with_line(shipped, fault.Line, fault.Text));
        const std::vector<Finding> found = LevelFileFindings("f", ReadLevelFileLines());
        ASSERT_FALSE(found.empty()) << fault.Told;
        EXPECT_EQ(FindingText(found[0]).rfind(std::string("f:") + fault.Told, 0), 0u)
            << FindingText(found[0]);
    }
    // A file cut short is told once, where it ends, not value by value.
    zentara_test::TempDir dir{true};
    fs::create_directory("zentara");
    write_file("zentara/zentara.ini", shipped.substr(0, shipped.find("\n12000") + 1));
    const std::vector<Finding> cut = LevelFileFindings("f", ReadLevelFileLines());
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(FindingText(cut[0]),
              "f:9: the file ends here: lines 10 to 28 (GunpowerTime to "
              "ShieldBase) are missing and read as 0 in every level");
}

// A 24-bit BMP of one colour, as a player's paint program writes it.
std::string Bmp(int32_t side) {
    const int32_t pixels = (side * 3 + 3) / 4 * 4 * side;
    const int32_t header[] = {54 + pixels, 0,      54, 40, side, side, 1 | 24 << 16,
                              0,           pixels, 0,  0,  0,    0};
    return "BM" + std::string(reinterpret_cast<const char*>(header), sizeof header) +
           std::string(static_cast<size_t>(pixels), '\x40');
}

template <class Record>
std::vector<Record> Records(rt_list* list) {
    std::vector<Record> records;
    rt_list_reset(list);
    while (Record* record = ListNext<Record>(list)) records.push_back(*record);
    return records;
}

// clang-format off
// A damaged copy of the shipped pack per row: what is done to it, the finding
// the checker must print, and what the game's own loading shows.
const struct {
    std::function<void()> Damage;
    const char* Told;
    std::function<bool()> GameDoes;
} kDamagedFolders[] = {
    {[] { write_file("zentara/ZENTARA.INI", read_file("zentara/zentara.ini"));
          write_file("zentara/zentara.ini", zentara_test::with_line(read_file("zentara/ZENTARA.INI"), 7, "3O/12/")); },
     "zentara/zentara.ini:7: ShotSpeed: \"3O\" is not a number, reads as 3 (level 1)",
     [] { return ReadLevelParams(1).ShotSpeed == 3; }},
    {[] { fs::copy_file("zentara/planetmond00.png", "zentara/planetmond2.png"); },
     "zentara/planetmond2.png: circles planet 2: the two characters after \"planetmond\" are \"2.\", read as 2",
     [] { LoadPlanets(); LoadMoons(); const Moon last = Records<Moon>(game.Moons).back();
          return last.PlanetIndex == 2 && last.PlanetSprite != 0; }},
    {[] { write_file("zentara/feind05.png", ""); },
     "zentara/feind05.png: empty: enemies of number 5 are invisible, cannot be shot or rammed, and still fire rockets",
     [] { return SpawnEnemy(5, 0, 0)->Sprite == 0; }},
    {[] { write_file("zentara/feind00.png", "hello"); },
     "zentara/feind00.png: not a PNG or BMP picture: enemies of number 0 are invisible",
     [] { return SpawnEnemy(0, 0, 0)->Sprite == 0; }},
    {[] { write_file("zentara/feind02.png", read_file("zentara/feind02.png").substr(0, 300)); },
     "zentara/feind02.png: a 64 x 64 picture that cannot be decoded (damaged or cut short): enemies of number 2",
     [] { return SpawnEnemy(2, 0, 0)->Sprite == 0; }},
    {[] { write_file("zentara/feind06.png", Bmp(8)); },
     nullptr,  // a BMP under a .png name is read all the same
     [] { return rt_sprite_width(SpawnEnemy(6, 0, 0)->Sprite) == 8; }},
    {[] { write_file("zentara/planet04.png", "text"); },
     "zentara/planet04.png: not a PNG or BMP picture: planet 4 is invisible",
     [] { LoadPlanets(); return Records<Planet>(game.Planets).at(4).Sprite == 0; }},
    {[] { write_file("zentara/planetmond01b.png", "text"); },
     "zentara/planetmond01b.png: not a PNG or BMP picture: the moon of planet 1 is invisible",
     [] { LoadPlanets(); LoadMoons(); const Moon moon = Records<Moon>(game.Moons).at(2);
          return moon.Sprite == 0 && moon.PlanetIndex == 1; }},
    {[] { write_file("zentara/bonus02.png", "text"); },
     "zentara/bonus02.png: not a PNG or BMP picture: \"Extra rocket cover\" bonus items are invisible and can never be caught",
     [] { LoadBonuses(0); return Records<Bonus>(game.Bonuses).at(2).Sprite == 0; }},
    {[] { const std::vector<uint8_t> png = zentara_test::write_png({2049, 2049, 2, 8, false, {}, {}, std::vector<uint8_t>(2049 * 2049 * 3)});
          write_file("zentara/planet05.png", std::string(png.begin(), png.end())); },
     "zentara/planet05.png: 2049 x 2049 pixels, 16 MB once loaded",
     [] { LoadPlanets(); return rt_sprite_width(Records<Planet>(game.Planets).at(4).Sprite) == 2049; }},
    {[] { fs::remove("zentara/spaceship.png"); },
     "zentara/spaceship.png: missing: the ship is invisible and nothing can touch it",
     [] { const int32_t ship = LoadFixedPicture(ShipPicture), rocket = rt_sprite_create(-1, 900, 900);
          return ship == 0 && rt_sprite_collide(ship, 0, 0, rocket, 0, 0) == 0; }},
    {[] { fs::rename("zentara/feind05.png", "zentara/FEIND05.PNG"); },
     nullptr,  // counted and read in any case
     [] { return CountEnemyImages() == 5 && SpawnEnemy(5, 0, 0)->Sprite != 0; }},
    {[] { fs::copy_file("zentara/bonus01.png", "zentara/bonusXY.png"); },
     "zentara/bonusXY.png: counted as a bonus item, but bonus items are loaded by count",
     [] { LoadBonuses(0); const Bonus fourth = Records<Bonus>(game.Bonuses).at(3);
          return fourth.Kind == BonusShield && fourth.Sprite != 0 && fourth.Sound != 0; }},
    {[] { fs::copy_file("zentara/planetmond00.png", "zentara/planetmond07.png"); },
     "zentara/planetmond07.png: circles planet 7, which does not exist (planets are numbered 0 to 3",
     [] { LoadPlanets(); LoadMoons(); const Moon last = Records<Moon>(game.Moons).back();
          return last.PlanetIndex == -1 && last.Period == 0; }},
    {[] { for (const char* name : {"feind6.png", "feind100.png", "planet\xC3\xA4" "1.png"}) write_file(std::string("zentara/") + name, read_file("zentara/planet00.png")); },
     "zentara/planet\xC3\xA4" "1.png: ignored by the game: a planet is named planet, two characters and .png: 12 characters, as planet04.png; this name has 13 characters",
     [] { LoadPlanets(); return CountEnemyImages() == 5 && rt_list_count(game.Planets) == 4; }},
};
// clang-format on

TEST(LevelCheck, InADamagedFolderTheFindingAgreesWithWhatTheGameDoes) {
    for (const auto& folder : kDamagedFolders) {
        zentara_test::TempDir dir{true};
        fs::copy(kPack, ".", fs::copy_options::recursive);
        folder.Damage();
        const auto [code, output] = Check();
        if (folder.Told != nullptr) {
            EXPECT_EQ(code, 1);
            EXPECT_NE(("\n" + output).find(std::string("\n") + folder.Told), std::string::npos)
                << folder.Told << "\nnot in:\n"
                << output;
        } else {
            EXPECT_EQ(std::pair(code, output), std::pair(0, std::string("no problems found\n")));
        }
        game.ScreenWidth = 1024;
        game.ScreenHeight = 768;
        CreateEntityLists();
        EXPECT_TRUE(folder.GameDoes()) << (folder.Told ? folder.Told : "no finding");
    }
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/asset_discovery.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "runtime/runtime.h"
#include "tests/game_program/runtime_once.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wave_bytes.h"

namespace {

// A short silent 8-bit mono RIFF/WAVE file.
std::string SilentWave() {
    using namespace wavetest;
    const Bytes image =
        riff({chunk("fmt ", format_body(1, 1, 8000, 8)), chunk("data", Bytes(16, 0x80))});
    return std::string(image.begin(), image.end());
}

class AssetDiscoveryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartRuntimeOnce();
        static const bool soundStarted = rt_sound_init() != 0 || true;
        (void)soundStarted;
        game.ScreenWidth = 1024;
        game.ScreenHeight = 768;
        CreateEntityLists();
        std::filesystem::create_directory("zentara");
    }
    void Touch(const std::string& name) { zentara_test::write_file("zentara/" + name, ""); }

    template <class Record>
    std::vector<Record> Records(rt_list* list) {
        std::vector<Record> records;
        rt_list_reset(list);
        while (Record* record = ListNext<Record>(list)) records.push_back(*record);
        return records;
    }

    zentara_test::TempDir dir_{true};
};

TEST_F(AssetDiscoveryTest, EnemyImagesNeedTheirPrefixAndElevenCharacters) {
    EXPECT_EQ(CountEnemyImages(), -1);
    for (const char* name : {"Feind03.PNG", "feindschirm.png", "feindexplosion.png", "feind1.png"})
        Touch(name);
    EXPECT_EQ(CountEnemyImages(), 0);
    for (const char* name :
         {"feind00.png", "feind01.png", "feind02.png", "feind04.png", "feind10.png"})
        Touch(name);
    EXPECT_EQ(CountEnemyImages(), 5);
}

TEST_F(AssetDiscoveryTest, BonusFilesComeFromTheCounterNotTheEntryName) {
    for (const char* name : {"bonus00.png", "bonusXY.png", "bonus3.png"})
        Touch(name);  // bonus3: ten characters
    zentara_test::write_file("zentara/bonus00.wav", SilentWave());
    zentara_test::write_file("zentara/bonus01.wav", SilentWave());
    LoadBonuses(0);

    const std::vector<Bonus> bonuses = Records<Bonus>(game.Bonuses);
    ASSERT_EQ(bonuses.size(), 2u);
    // rt_list_add puts each new bonus after the previous one.
    EXPECT_EQ(std::pair(int32_t(bonuses[0].Kind), int32_t(bonuses[1].Kind)), std::pair(0, 1));
    // bonusXY.wav does not exist: its sound can only have come from bonus01.wav.
    EXPECT_NE(bonuses[1].Sound, 0);
}

TEST_F(AssetDiscoveryTest, PlanetsAreIndexedInListingOrderAndMoonsFindThem) {
    // planetmond07 has no eighth planet; planet1.png, eleven characters, is no planet.
    for (const char* name : {"planet03.png", "planetmond00.png", "planetmond07.png", "planet1.png"})
        Touch(name);
    LoadBonuses(0);
    LoadPlanets();
    LoadMoons();

    EXPECT_TRUE(Records<Bonus>(game.Bonuses).empty());
    const std::vector<Planet> planets = Records<Planet>(game.Planets);
    ASSERT_EQ(planets.size(), 1u);
    EXPECT_EQ(std::pair(int(planets[0].Index), int(planets[0].Entered)), std::pair(0, 1));

    const std::vector<Moon> moons = Records<Moon>(game.Moons);
    ASSERT_EQ(moons.size(), 2u);
    const Moon& attached = moons[0];
    const int32_t planetSprite = attached.PlanetSprite, planetIndex = attached.PlanetIndex;
    EXPECT_EQ(std::pair(planetIndex, planetSprite), std::pair(0, int32_t(planets[0].Sprite)));
    // A moon without its planet keeps only its sprite and follows no planet
    // (index 0 would put it in front of the first one).
    const int lonelyIndex = moons[1].PlanetIndex, lonelyStep = moons[1].StepX,
              lonelyPeriod = moons[1].Period;
    EXPECT_EQ(std::tuple(lonelyIndex, lonelyStep, lonelyPeriod), std::tuple(-1, 0, 0));
}

}  // namespace

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/asset_discovery.h"
#include "game/game_state.h"
#include "game/list_walk.h"
#include "game/program.h"
#include "game/records.h"
#include "runtime/runtime.h"
#include "tests/game_program/runtime_once.h"
#include "tests/support/temp_dir.h"

namespace {

// A short silent 8-bit mono RIFF/WAVE file.
std::string SilentWave() {
    auto word = [](uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    const std::string samples(16, static_cast<char>(0x80));
    return "RIFF" + word(36 + samples.size(), 4) + "WAVE" + "fmt " + word(16, 4) + word(1, 2) +
           word(1, 2) + word(8000, 4) + word(8000, 4) + word(1, 2) + word(8, 2) + "data" +
           word(samples.size(), 4) + samples;
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
    Touch("Feind03.PNG");
    Touch("feindschirm.png");
    Touch("feindexplosion.png");
    Touch("feind1.png");
    EXPECT_EQ(CountEnemyImages(), 0);
    for (const char* name : {"feind00.png", "feind01.png", "feind02.png", "feind04.png"}) Touch(name);
    EXPECT_EQ(CountEnemyImages(), 4);
}

TEST_F(AssetDiscoveryTest, BonusFilesComeFromTheCounterNotTheEntryName) {
    Touch("bonus00.png");
    Touch("bonusXY.png");
    Touch("bonus3.png");  // ten characters: no bonus
    zentara_test::write_file("zentara/bonus00.wav", SilentWave());
    zentara_test::write_file("zentara/bonus01.wav", SilentWave());
    LoadBonuses(0);

    const std::vector<Bonus> bonuses = Records<Bonus>(game.Bonuses);
    ASSERT_EQ(bonuses.size(), 2u);
    // rt_list_add puts each new bonus after the previous one.
    EXPECT_EQ(bonuses[0].Kind, 0);
    EXPECT_EQ(bonuses[1].Kind, 1);
    // bonusXY.wav does not exist: its sound can only have come from bonus01.wav.
    EXPECT_NE(bonuses[1].Sound, 0);
    for (const Bonus& bonus : bonuses) {
        // Copied out first: the records are packed, and EXPECT_* binds references.
        const auto interval = bonus.Interval;
        const auto active = bonus.Active;
        const auto x = bonus.X;
        EXPECT_EQ(interval, 50);
        EXPECT_EQ(active, 0);
        EXPECT_GE(x, 0);
        EXPECT_LE(x, 1024);
        const int8_t stepX = bonus.StepX;
        if (bonus.X < 512) {
            EXPECT_TRUE(stepX >= 3 && stepX <= 7) << int(stepX);
        } else {
            EXPECT_TRUE(stepX <= -3 && stepX >= -7) << int(stepX);
        }
    }
}

TEST_F(AssetDiscoveryTest, PlanetsAreIndexedInListingOrderAndMoonsFindThem) {
    Touch("planet03.png");
    Touch("planetmond00.png");
    Touch("planetmond07.png");  // no eighth planet: keeps only its sprite
    Touch("planet1.png");       // eleven characters: not a planet
    LoadBonuses(0);
    LoadPlanets();
    LoadMoons();

    EXPECT_TRUE(Records<Bonus>(game.Bonuses).empty());
    const std::vector<Planet> planets = Records<Planet>(game.Planets);
    ASSERT_EQ(planets.size(), 1u);
    const auto index = planets[0].Index;
    const auto entered = planets[0].Entered;
    EXPECT_EQ(index, 0);
    EXPECT_EQ(entered, 1);
    const float spin = planets[0].Spin;
    EXPECT_GE(std::abs(spin), 0.15f);
    EXPECT_LE(std::abs(spin), 0.65f);
    const int8_t stepX = planets[0].StepX;
    EXPECT_TRUE(stepX >= 1 && stepX <= 4);

    const std::vector<Moon> moons = Records<Moon>(game.Moons);
    ASSERT_EQ(moons.size(), 2u);
    const Moon& attached = moons[0];
    const auto planetIndex = attached.PlanetIndex;
    const auto planetSprite = attached.PlanetSprite;
    const auto firstPlanetSprite = planets[0].Sprite;
    EXPECT_EQ(planetIndex, 0);
    EXPECT_EQ(planetSprite, firstPlanetSprite);
    const int8_t moonStep = attached.StepX;
    EXPECT_TRUE(moonStep == 1 || moonStep == -1);
    const int8_t period = attached.Period;
    EXPECT_TRUE(period >= 1 && period <= 6);
    // The planet's sprite could not be loaded (width 0): bounds are the draws.
    EXPECT_TRUE(attached.MaxX >= 0 && attached.MaxX <= 90);
    EXPECT_TRUE(attached.MinX <= 0 && attached.MinX >= -90);

    const Moon& lonely = moons[1];
    const auto lonelyIndex = lonely.PlanetIndex;
    const auto lonelyStep = lonely.StepX;
    const auto lonelyPeriod = lonely.Period;
    EXPECT_EQ(lonelyIndex, 0);
    EXPECT_EQ(lonelyStep, 0);
    EXPECT_EQ(lonelyPeriod, 0);
}

}  // namespace

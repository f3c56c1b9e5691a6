// SPDX-License-Identifier: GPL-3.0-or-later
// Levels played headless in a real window with scripted input: what a level's
// end answers, focus loss and pause, contact rules, spawning while the window
// is served and extreme level values (recorded replays guard ordinary play).
#include <gtest/gtest.h>
#include <png.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "game/level/play_level.h"
#include "game/level/text_screens.h"
#include "game/play/bonuses.h"
#include "game/play/collisions.h"
#include "game/play/enemies.h"
#include "game/play/moves.h"
#include "game/play/ship.h"
#include "game/play/star_field.h"
#include "game/program/options.h"
#include "game/program/program.h"
#include "game/window/main_window.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/input/rt_input.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "tests/support/level_files.h"

namespace fs = std::filesystem;

namespace {

// A plain rectangle of one colour (opaque), written as an RGBA PNG.
void WritePng(const fs::path& path, int width, int height, uint32_t rgb) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0xFF000000u | rgb);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr));
}

// Level 1 is fought with the gun, level 2 is a rain of rockets. Rows 2 to 24
// hold "level 1/level 2/": goal, decay period and step, -, shots, shot speed
// and damage, points per hit, gunpower ms, rocket speed, damage and points,
// cover ms, sway period, enemies, repair chance and step, fire chance, kill
// and pass points, collision damage, break level, -; then the intro, the
// shake, the base alpha and the shield base.
const std::string kLevelFile = zentara_test::level_file(
    1, {"20/100000/", "30/30/",     "1/1/",  "0/0/",    "5/5/", "12/12/",     "10/10/",
        "25/0/",      "2000/2000/", "6/10/", "20/120/", "0/0/", "2000/2000/", "40/40/",
        "1/1/",       "100/100/",   "1/1/",  "0/1/",    "5/5/", "0/0/",       "0/0/",
        "200/200/",   "0/0/",       "0",     "2",       "30",   "0"});

constexpr int64_t kFrameLimit = 3000;  // a scripted level that runs longer failed

class LevelTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (game.MainWindow != 0) return;  // started for an earlier suite
        const fs::path root = fs::current_path() / "level_test_data";
        fs::remove_all(root);
        const fs::path dir = root / "zentara";
        fs::create_directories(dir);
        std::ofstream(dir / "zentara.ini") << kLevelFile;
        const std::tuple<const char*, int, int, uint32_t> pictures[] = {
            {"spaceship", 40, 40, 0xC8C8FF},
            {"shipschirm", 60, 60, 0x5050FF},
            {"shipkugel1", 6, 6, 0xFFFF00},
            {"shipkugel2", 8, 8, 0xFF8000},
            {"shipkugelexplosion", 12, 12, 0xFFFFFF},
            {"shipexplosion", 80, 80, 0xFF6400},
            {"rakete", 8, 16, 0xFF0000},
            {"raketeexplosion", 50, 50, 0xFF3C00},
            {"feindschirm", 56, 56, 0x00FF00},
            {"feindexplosion", 60, 60, 0xFFC800},
            {"feind00", 48, 48, 0x969696},
            {"kollision", 70, 70, 0xFFFFFF},
            {"planet00", 64, 64, 0x5A3CC8},
            {"planetmond00", 12, 12, 0xC8C8C8}};
        for (const auto& [name, w, h, rgb] : pictures)
            WritePng(dir / (std::string(name) + ".png"), w, h, rgb);
        fs::current_path(root);
        ProgramOptions options;
        options.Seed = 12345;
        StartProgram(options);
    }

    void TearDown() override {
        SetLevelFrameHook({});
        for (int32_t key : {RT_KEY_SPACE, RT_KEY_N, RT_KEY_R, RT_KEY_P}) Key(key, false);
    }

    int32_t Play(int32_t level, int32_t ship = 1, int32_t enemies = 1, int32_t rockets = 1) {
        shipEnabled_ = ship;
        enemiesEnabled_ = enemies;
        rocketsEnabled_ = rockets;
        return PlayLevel(game.MainWindow, game.MainMenu, MakeStarField(), level, 1, shipEnabled_,
                         enemiesEnabled_, rocketsEnabled_, 2);
    }

    // Moves the pointer, and so the ship, to (x, y).
    static void PointAt(int32_t x, int32_t y) { rt_input_post_mouse_move(game.MainWindow, x, y); }
    static void Key(int32_t code, bool down) { rt_input_post_key(game.MainWindow, code, down); }

    static Enemy* FirstEnemy() {
        rt_list_reset(game.Enemies);
        return ListNext<Enemy>(game.Enemies);
    }

    // Ends a scripted level that went on too long, so that a failure shows as
    // a failed expectation instead of a hang.
    static bool OverLimit(int64_t frame) {
        if (frame < kFrameLimit) return false;
        ADD_FAILURE() << "level did not end by itself";
        game.Points = game.Params.GoalPoints + 1;
        return true;
    }

    // Leaves an end screen with its key, N after a win or R after a loss.
    static void Answer(LevelPhase phase, LevelPhase expected) {
        EXPECT_EQ(phase, expected);
        Key(phase == LevelPhase::Lost ? RT_KEY_R : RT_KEY_N, true);
    }

    int32_t shipEnabled_ = 1, enemiesEnabled_ = 1, rocketsEnabled_ = 1;
};

// What a level's end answers beyond what the recorded replays and the demo's
// last-level run show: -1 after the 999th level the menu offers, the same
// level after a loss answered with R.
TEST_F(LevelTest, ALevelsEndAnswersTheLevelToPlayNext) {
    static bool lose = false;
    SetLevelFrameHook([](LevelPhase phase, int64_t frame) {
        if (phase != LevelPhase::Playing)
            return Answer(phase, lose ? LevelPhase::Lost : LevelPhase::Won);
        if (OverLimit(frame)) return;
        if (frame >= 5 && lose) game.ShieldLevel = 1000;
        if (frame >= 5 && !lose)
            game.Points = game.Params.GoalPoints + 1;  // missing fields: a goal of 0
    });
    const std::tuple<int32_t, int32_t, bool, int32_t> cases[] = {{999, 1500, false, -1},
                                                                 {2, 2, true, 2}};
    rocketsEnabled_ = 0;  // level 2's rain of rockets would end a won level early
    for (const auto& [level, levels, lost, next] : cases) {
        lose = lost;
        EXPECT_EQ(PlayLevel(game.MainWindow, game.MainMenu, MakeStarField(), level, 1, shipEnabled_,
                            enemiesEnabled_, rocketsEnabled_, levels),
                  next)
            << level << " " << lost;
        for (int32_t key : {RT_KEY_N, RT_KEY_R}) Key(key, false);
    }
}

// Disabled enemies stand still (the recorded replays guard that) but shots
// still fly and hit them, and they fire no rockets.
TEST_F(LevelTest, DisabledShipCannotLose) {
    SetLevelFrameHook([](LevelPhase phase, int64_t frame) {
        if (phase != LevelPhase::Playing) return Answer(phase, LevelPhase::Won);
        PointAt(512, 600);
        if (frame == 600) {  // long enough for the rockets to push the shield far past the limit
            EXPECT_TRUE(game.ShieldLevel > 255 && game.Lost == 0) << game.ShieldLevel;
            game.Points = game.Params.GoalPoints + 1;
        }
    });
    EXPECT_EQ(Play(2, 0, 1, 1), -1);
}

TEST_F(LevelTest, DisabledEnemiesAreStillHit) {
    SetLevelFrameHook([](LevelPhase phase, int64_t frame) {
        if (phase != LevelPhase::Playing) return Answer(phase, LevelPhase::Won);
        if (OverLimit(frame)) return;
        Enemy* enemy = FirstEnemy();
        if (frame == 0) enemy->Y = 200;  // in reach of the gun
        PointAt(enemy->X + 24, 700);
        Key(RT_KEY_SPACE, true);
    });
    EXPECT_EQ(Play(1, 1, 0, 1), 2);
    EXPECT_TRUE(game.Hits >= 1 && game.RocketShots == 0) << game.Hits << " " << game.RocketShots;
}

// The contact rules on sprites made by hand, outside any level: a 40 x 40
// ship at (500, 600), enemies on it or elsewhere.
class ContactTest : public LevelTest {
  protected:
    void SetUp() override {
        game.Params = LevelParams{};
        game.ShipImage = rt_sprite_create(-1, 40, 40);
        game.ShipX = 500;
        game.ShipY = 600;
        game.Points = game.Hits = game.EnemiesDestroyed = 0;
        game.ShieldLevel = 100;
    }
    void TearDown() override {
        FreeLevel(0);
        game.ShotsInFlight = 0;
        rt_list_clear(game.ShotExplosions);
        rt_list_clear(game.EnemyExplosions);
    }
    static Enemy* AddEnemy(int32_t x, int32_t y, int32_t shield) {
        Enemy* enemy = ListAdd<Enemy>(game.Enemies);
        enemy->Sprite = rt_sprite_create(-1, 40, 40);
        enemy->ShieldSprite = rt_sprite_create(-1, 40, 40);
        enemy->X = x;
        enemy->Y = y;
        enemy->Speed = 2;
        enemy->Shield = static_cast<uint8_t>(shield);
        return enemy;
    }
    static int32_t ShieldOf(Enemy* enemy) { return enemy->Shield; }
};

TEST_F(ContactTest, AShotOverlappingTwoEnemiesHurtsOnlyTheFirst) {
    game.Params.ShotDamage = 10;
    game.Params.ShotHitPoints = 3;
    game.Params.EnemyBreakLevel = 200;
    AddEnemy(100, 100, 30);
    AddEnemy(110, 110, 30);
    Shot* shot = ListAdd<Shot>(game.Shots);
    shot->Sprite = rt_sprite_create(-1, 6, 6);
    shot->X = shot->Y = 120;
    game.ShotsInFlight = 1;

    EXPECT_EQ(ShotHitsEnemies(shot), 1);
    EXPECT_EQ(std::tuple(game.ShotsInFlight, rt_list_count(game.Shots), game.Hits, game.Points),
              std::tuple(0, 0, 1, 3));
    EXPECT_EQ((std::pair{ShieldOf(FirstEnemy()), ShieldOf(ListNext<Enemy>(game.Enemies))}),
              std::pair(40, 30));
}

// Ramming costs both sides CollisionDamage (the scripted replay shows that);
// an enemy pushed past its break level is destroyed and replaced.
TEST_F(ContactTest, RammingPastTheBreakLevelReplacesTheEnemy) {
    game.Params.CollisionDamage = 30;
    game.Params.EnemyBreakLevel = 200;
    game.Params.EnemyKillPoints = 5;
    Enemy* enemy = EnemyHitsShip(AddEnemy(510, 610, 190));  // touching the ship
    EXPECT_EQ(std::tuple(game.ShieldLevel, game.EnemiesDestroyed, game.Points,
                         rt_list_count(game.Enemies)),
              std::tuple(130, 1, 5, 1));
    EXPECT_EQ(ShieldOf(enemy), 0);  // the replacement, at BaseAlpha
}

// Enemy pictures are numbered with two digits, then with as many as needed.
TEST_F(ContactTest, NoMoreThanMaxShotsFly) {
    game.Params.MaxShots = 3;
    game.Params.ShotSpeed = 5;
    game.ShotImage = rt_sprite_create(-1, 6, 6);
    game.ShotsInFlight = 0;
    for (int i = 0; i < 5; ++i) FireGun();
    EXPECT_EQ(std::pair(game.ShotsInFlight, rt_list_count(game.Shots)), std::pair(3, 3));
}

TEST_F(ContactTest, EnemyImagesFromTenOnKeepTheirNumber) {
    WritePng("zentara/feind10.png", 30, 20, 0x0AC80A);
    EXPECT_EQ(EnemyImageName(9), "zentara\\feind09.png");
    const Enemy* enemy = SpawnEnemy(10, 0, 0);
    EXPECT_EQ(rt_sprite_width(enemy->Sprite), 30);
    fs::remove("zentara/feind10.png");
}

TEST_F(ContactTest, ShotsAreDrawnKeyedOverWhatLiesBehind) {
    Shot* shot = ListAdd<Shot>(game.Shots);
    shot->Sprite = rt_sprite_create(-1, 10, 10);  // all black: transparent
    shot->X = shot->Y = 300;
    game.GunpowerStart = 0;
    rt_screen_clear(0x00FF00);
    MoveShots();
    rt_draw_start(rt_screen_output());
    EXPECT_EQ(rt_draw_point(297, 297), 0x00FF00);
    rt_draw_stop();
}

// Whether the last presented frame shows the pause label's box mid-screen.
bool PauseLabelShown() {
    rt_draw_start(rt_screen_output());
    int32_t y = 344;
    while (y < 424 && rt_draw_point(512, y) != static_cast<int32_t>(PauseLabelColour)) ++y;
    rt_draw_stop();
    return y < 424;
}

// Losing the focus during play pauses on the frame as it stands, under the
// pause label; P resumes, and the label goes. A bonus runs out on the clock
// meanwhile, and ends in the first frame after.
TEST_F(LevelTest, FocusLossPausesAllButTheBonusTimersAndPResumes) {
    static QWidget* other = nullptr;
    static int64_t pausedFrames = 0, framesAfterPause = 0;
    static int32_t enemyY = 0;
    pausedFrames = framesAfterPause = 0;
    other = new QWidget;
    SetLevelFrameHook([](LevelPhase phase, int64_t frame) {
        if (phase == LevelPhase::Won) return Key(RT_KEY_N, true);
        Enemy* enemy = FirstEnemy();
        if (phase == LevelPhase::Paused) {
            if (pausedFrames == 0) enemyY = enemy->Y;
            EXPECT_TRUE(pausedFrames != 1 || PauseLabelShown());
            EXPECT_EQ(int32_t(enemy->Y), enemyY);
            pausedFrames += 1;
            if (pausedFrames == 30) rt::qt::window_widget(game.MainWindow)->activateWindow();
            if (pausedFrames == 35 || pausedFrames == 36) Key(RT_KEY_P, pausedFrames == 35);
            return;
        }
        if (OverLimit(frame)) return;
        if (frame == 10) {  // a gunpower bonus of 300 ms
            game.Params.GunpowerTime = 300;
            game.GunpowerStart = rt_ms_elapsed();
            game.SavedShotDamage = game.Params.ShotDamage;
            game.Params.ShotDamage *= 2;
            other->show();
            other->activateWindow();
        }
        if (pausedFrames == 0) return;
        if (++framesAfterPause == 1) {
            EXPECT_FALSE(PauseLabelShown());  // the frame presented as the pause ended
            EXPECT_NE(game.GunpowerStart, 0u);
        } else {
            EXPECT_EQ(std::pair(game.GunpowerStart, game.Params.ShotDamage),
                      std::pair(0u, game.SavedShotDamage));
            game.Points = game.Params.GoalPoints + 1;
        }
    });
    EXPECT_EQ(Play(1, 1, 1, 0), 2);
    EXPECT_EQ(std::pair(pausedFrames, framesAfterPause), (std::pair<int64_t, int64_t>(36, 2)));
    delete other;
}

// Esc, Space, Enter, a click (-1) or the pointer on "Skip" (0) end the story.
TEST_F(LevelTest, TheStoryEndsOnAKeyAClickOrThePointerOnSkip) {
    static int32_t frames = 0;
    SetPumpEventsHook([] { frames += 1; });
    QWidget* client = rt::qt::client_widget(game.MainWindow);
    const QPointF at(500, 300);
    for (const int32_t input : {RT_KEY_ESCAPE, RT_KEY_SPACE, RT_KEY_ENTER, -1, 0}) {
        PointAt(input == 0 ? 1000 : 500, input == 0 ? 740 : 300);
        if (input > 0) Key(input, true);
        if (input < 0)
            QCoreApplication::postEvent(
                client, new QMouseEvent(QEvent::MouseButtonPress, at, client->mapToGlobal(at),
                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        frames = 0;
        ShowStory(MakeStoryPage(), MakeSkipLabel(100, 100), game.StarField, game.MainWindow, 0);
        EXPECT_LE(frames, 3) << input;
        if (input > 0) Key(input, false);
    }
    SetPumpEventsHook({});
}

// The end panels keep the design's width while every line fits, and grow to
// their longest line, the gun statistics here, whatever the numbers.
TEST_F(LevelTest, EndPanelsAreAsWideAsTheirLongestLine) {
    const int32_t font = rt_font_load(-1, "Georgia", 12, RT_FONT_QUALITY);
    for (const int32_t n : {12, 205, INT32_MIN}) {
        rt_draw_start(rt_screen_output());
        rt_draw_font(rt_font_handle(font));
        const int32_t width = std::max(350, rt_draw_text_width(GunShotsLine(n, n / 2).c_str()));
        rt_draw_stop();
        for (const int32_t panel : {MakeWonScreen(350, 270, 2, n, n, n / 2, 1, 1, 1, ""),
                                    MakeLostScreen(350, 270, n, n, n / 2, 1, 1, 1, "")}) {
            EXPECT_EQ(rt_sprite_width(panel), width) << n;
            rt_sprite_free(panel);
        }
    }
    rt_font_free(font);
}

// The same focus loss while the menu waits leaves the game in the menu.
TEST_F(LevelTest, FocusLossInTheMenuChangesNothing) {
    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    rt::qt::window_widget(game.MainWindow)->activateWindow();
    QCoreApplication::processEvents();
    while (const int32_t event = rt_window_event_poll()) HandleMenuEvent(event);
    EXPECT_EQ(game.CurrentLevel, 0);
}

// A large EnemyCount spawns for a while; the window is served meanwhile.
TEST_F(LevelTest, WindowIsServedWhileEnemiesSpawn) {
    int32_t served = 0;
    StartLevel(1, [&] { served += 1; });
    EXPECT_EQ(served, 0);  // one enemy
    FreeLevel(0);
    game.Params = LevelParams{};
    std::ofstream("zentara/zentara.ini") << zentara_test::with_line(kLevelFile, 16, "600/1/");
    StartLevel(1, [&] { served += 1; });
    EXPECT_EQ(rt_list_count(game.Enemies), 600);
    EXPECT_GE(served, 2);
    FreeLevel(0);
    std::ofstream("zentara/zentara.ini") << kLevelFile;
}

// Every level value at its 32-bit extremes in turn: the game's arithmetic
// wraps or saturates without undefined behaviour (the sanitizer build runs
// this too). The intro's length is left out: at its maximum the intro alone
// would last 24 days.
TEST_F(LevelTest, ExtremeLevelValuesPlayWithoutFaults) {
    static int64_t frames = 0;
    rt_screen_frame_rate(0);
    for (int32_t line = 2; line <= 28; ++line) {
        if (line == 25) continue;
        for (const std::string extreme : {"-2147483648", "2147483647"}) {
            std::ofstream("zentara/zentara.ini")
                << zentara_test::with_line(kLevelFile, line, extreme + "/" + extreme + "/");
            frames = line == 16 && extreme[0] != '-' ? 10 : 150;  // 10000 enemies are slow
            SetLevelFrameHook([this](LevelPhase phase, int64_t frame) {
                if (phase == LevelPhase::Won) return Key(RT_KEY_N, true);
                if (phase == LevelPhase::Lost) return Key(RT_KEY_R, true);
                if (phase != LevelPhase::Playing) return;
                PointAt(512, 600);
                Key(RT_KEY_SPACE, true);
                if (frame % 50 == 5) {
                    for (int32_t kind : {BonusShield, BonusGunpower, BonusRocketCover})
                        ApplyBonus(kind, 0);
                }
                // Enemies sent to the bottom edge pass it (EnemyPassPoints).
                if (Enemy* enemy = FirstEnemy(); enemy != nullptr && frame % 10 == 0)
                    enemy->Y = 767;
                if (frame >= frames) {
                    shipEnabled_ = 0;  // the shield bar would clear the loss again
                    game.Lost = 1;
                }
            });
            Play(1);
            for (int32_t key : {RT_KEY_SPACE, RT_KEY_N, RT_KEY_R}) Key(key, false);
        }
    }
    rt_screen_frame_rate(60);
    std::ofstream("zentara/zentara.ini") << kLevelFile;
}

}  // namespace

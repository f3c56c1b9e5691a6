// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up and menu loop, run in-process under death tests (the
// program only ends through EndProgram, which exits); help, options and a
// missing level file are run end to end in tests/e2e.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "game/core/game_state.h"
#include "game/level/play_level.h"
#include "game/play/star_field.h"
#include "game/program/program.h"
#include "game/window/end_program.h"
#include "game/window/full_screen.h"
#include "game/window/main_window.h"
#include "runtime/runtime.h"
#include "tests/support/level_files.h"
#include "tests/support/temp_dir.h"

namespace {

const std::string kLevelFile = zentara_test::level_file(2, {"100/200/300/", "5/5/5/"});

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        std::filesystem::create_directory("zentara");
        zentara_test::write_file("zentara/zentara.ini", kLevelFile);
    }
    // The shipped pack in place of the small level file.
    static void CopyPack() {
        std::filesystem::copy(std::string(std::getenv("ZENTARA_SOURCE_DIR")) + "/assets/zentara",
                              "zentara",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }
    zentara_test::TempDir dir_{true};
};

// Chooses a menu item as a click would and runs the menu loop until it has
// handled that choice (repaints and the like may come first).
void Choose(int32_t command) {
    ASSERT_EQ(rt_window_post_menu(game.MainWindow, command), 1) << command;
    int32_t event = 0;
    do {
        event = rt_window_event_wait();
        HandleMenuEvent(event);
    } while (event != EventMenu);
}

TEST_F(ProgramTest, StartUpBuildsTheMenuAndCloseEndsWithExitCodeZero) {
    EXPECT_EXIT(
        {
            StartProgram();
            // Levels above the level reached are greyed and cannot be chosen.
            bool ok = game.LevelReached == 2 && game.LevelCount == 3 &&
                      rt_window_post_menu(game.MainWindow, 3) == 0;
            for (int32_t item : {MenuDisableShip, MenuDisableShip, MenuDisableEnemies})
                Choose(item);
            Choose(MenuCredit);  // does nothing
            ok = ok && game.ShipEnabled == 1 && game.EnemiesEnabled == 0 &&
                 rt_menu_item_state(game.MainMenu, MenuDisableShip) == 0 &&
                 rt_menu_item_state(game.MainMenu, MenuDisableEnemies) == 1;
            if (!ok) _exit(4);
            std::fputs("menu ready\n", stderr);
            Choose(MenuClose);
            _exit(5);  // not reached: Close ends the program
        },
        ::testing::ExitedWithCode(0), "menu ready");
}

TEST_F(ProgramTest, CloseDuringPlayEndsThroughPumpEvents) {
    EXPECT_EXIT(
        {
            StartProgram();
            PumpEvents(game.MainWindow, game.MainMenu);  // nothing pending: returns
            rt_window_post_menu(game.MainWindow, MenuDisableShip);
            for (int i = 0; i < 50; ++i) PumpEvents(game.MainWindow, game.MainMenu);
            rt_window_post_menu(game.MainWindow, MenuClose);
            for (int i = 0; i < 50; ++i) PumpEvents(game.MainWindow, game.MainMenu);
            _exit(6);
        },
        ::testing::ExitedWithCode(0), "");
}

// Takes every event that comes within a short while through the menu loop.
void DrainMenuEvents() {
    while (const int32_t event = rt_window_event(100)) HandleMenuEvent(event);
}

// F11 in the menu and in the story or panels (PumpEvents): each press and
// release switches; a switch that answers 1 went to full screen.
TEST_F(ProgramTest, FullscreenOptionAndF11SwitchTheWindow) {
    EXPECT_EXIT(
        {
            ProgramOptions options;
            options.Fullscreen = true;
            StartProgram(options);
            auto pressF11 = [](const std::function<void()>& serve) {
                rt_input_post_key(game.MainWindow, KeyF11, 1);
                serve();
                rt_input_post_key(game.MainWindow, KeyF11, 0);
                serve();
            };
            pressF11(DrainMenuEvents);  // full screen -> window
            pressF11([] {
                for (int i = 0; i < 20; ++i) PumpEvents(game.MainWindow, game.MainMenu);
            });  // window -> full screen
            // So the next switch goes back to the window.
            std::fputs(rt_window_toggle_fullscreen(game.MainWindow) == 0 ? "switched\n" : "stuck\n",
                       stderr);
            EndProgram();
        },
        ::testing::ExitedWithCode(0), "switched");
}

// Q ends the program from the menu loop, once any event wakes it.
TEST_F(ProgramTest, QInTheMenuLoopEndsWithExitCodeZero) {
    EXPECT_EXIT(
        {
            StartProgram();
            rt_input_post_key(game.MainWindow, RT_KEY_Q, 1);
            DrainMenuEvents();
            _exit(8);
        },
        ::testing::ExitedWithCode(0), "");
}

// Q on the panel of a won level ends the program (the lost one is where the
// recorded scripted replay ends); a panel still up after 300 frames of Q
// held exits with 9.
TEST_F(ProgramTest, QOnTheWonPanelEndsWithExitCodeZero) {
    CopyPack();
    EXPECT_EXIT(
        {
            StartProgram();
            SetLevelFrameHook([](LevelPhase phase, int64_t) {
                static int32_t panelFrames = 0;
                if (phase == LevelPhase::Playing) game.Points = game.Params.GoalPoints + 1;
                if (phase != LevelPhase::Won) return;
                rt_input_post_key(game.MainWindow, RT_KEY_Q, 1);
                if (++panelFrames == 1) std::fputs("panel\n", stderr);
                if (panelFrames > 300) _exit(9);
            });
            PlayLevel(game.MainWindow, game.MainMenu, game.StarField, 1, 1, game.ShipEnabled,
                      game.EnemiesEnabled, game.RocketsEnabled, game.LevelCount);
            _exit(10);
        },
        ::testing::ExitedWithCode(0), "panel");
}

// Every level won counts: levels 1 to 4 won in one run leave progress 5 (and
// a best score each), and the next start offers Level5, not Level6. Forked,
// so the runs share this test's folder.
TEST_F(ProgramTest, EveryLevelWonInARunCountsAndTheNextStartOffersIt) {
    CopyPack();
    const std::string pack = zentara_test::read_file("zentara/zentara.ini");
    zentara_test::write_file("zentara/zentara.ini", zentara_test::with_line(pack, 25, "0/"));
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_EXIT(
        {
            StartProgram();
            SetLevelFrameHook([](LevelPhase phase, int64_t) {
                static LevelPhase last = LevelPhase::Playing;
                if (phase == LevelPhase::Playing) game.Points = game.Params.GoalPoints + 1;
                if (phase != last)
                    rt_input_post_key(game.MainWindow, RT_KEY_N, phase == LevelPhase::Won);
                last = phase;
            });
            for (int32_t level = 1; level <= 4; ++level) {
                PlayLevel(game.MainWindow, game.MainMenu, game.StarField, level, game.LevelReached,
                          game.ShipEnabled, game.EnemiesEnabled, game.RocketsEnabled,
                          game.LevelCount);
                game.StarField = MakeStarField();
            }
            EndProgram();
        },
        ::testing::ExitedWithCode(0), "");
    const std::string saved = zentara_test::read_file("zentara/zentara.ini");
    EXPECT_EQ(saved.substr(0, saved.find('\n')), "5 /Level erreicht\r");
    EXPECT_NE(zentara_test::read_file("best-scores.txt").find("\n4 1201 "), std::string::npos);
    EXPECT_EXIT(
        {
            StartProgram();
            const bool offered = rt_window_post_menu(game.MainWindow, 5) == 1 &&
                                 rt_window_post_menu(game.MainWindow, 6) == 0;
            _exit(offered ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/program/program.h"

#include <cstdlib>
#include <string>

#include "game/core/game_state.h"
#include "game/core/runtime_text.h"
#include "game/data/level_file.h"
#include "game/level/play_level.h"
#include "game/level/text_screens.h"
#include "game/play/star_field.h"
#include "game/program/replay_mode.h"
#include "game/window/end_program.h"
#include "game/window/full_screen.h"
#include "game/window/main_window.h"
#include "runtime/runtime.h"

namespace {

constexpr int32_t kKeyQ = 16;
constexpr int32_t kMainWindowFlags =
    RT_WINDOW_CAPTION | RT_WINDOW_SYSMENU | RT_WINDOW_MINIMIZEBOX | RT_WINDOW_MAXIMIZEBOX;

// The window stands a tenth of the primary desktop's width from its left edge
// and a twentieth of its height from the top; each reading examines the
// desktops afresh.
void OpenMainWindow() {
    rt_desktop_examine();
    const int32_t y = rt_desktop_height(0) / 20;
    rt_desktop_examine();
    const int32_t x = rt_desktop_width(0) / 10;
    game.MainWindow = rt_window_open(-1, x, y, 1024, 768, "Zentara", kMainWindowFlags);
    game.MainWindowHandle = rt_window_handle(game.MainWindow);
}

void BuildMainMenu() {
    game.MainMenu = rt_menu_create(-1, game.MainWindowHandle);
    // Level items must stay below the command ids.
    const int32_t offered = game.LevelCount < MaxMenuLevels ? game.LevelCount : MaxMenuLevels;
    rt_menu_submenu_open("Play");
    for (int32_t level = 1; level <= offered; ++level) {
        rt_menu_item(level, ("Level" + NumberText(level)).c_str());
    }
    // Counted from 1: progress read from a damaged file may be any 32-bit
    // value, and LevelReached + 1 would overflow or start billions below.
    for (int32_t level = 1; level <= offered; ++level) {
        if (level > game.LevelReached) rt_menu_item_disable(game.MainMenu, level, 1);
    }
    rt_menu_submenu_close();
    rt_menu_title("Disable");
    rt_menu_item(MenuDisableEnemies, "Disable enemys");
    rt_menu_item(MenuDisableRockets, "Disable rockets");
    rt_menu_item(MenuDisableShip, "Disable ship");
    rt_menu_title("Close");
    rt_menu_item(MenuClose, "Close");
    rt_menu_title("?");
    rt_menu_item(MenuCredit, "Zentara - written and drawn by the Zentara team");
}

void HandleMenuChoice(int32_t choice) {
    if (choice < MenuClose) PlayFromLevel(choice);
    switch (choice) {
        case MenuClose:
            EndProgram();
        case MenuDisableEnemies:
            game.EnemiesEnabled = ToggleDisableEnemies(game.MainMenu);
            break;
        case MenuDisableRockets:
            game.RocketsEnabled = ToggleDisableRockets(game.MainMenu);
            break;
        case MenuDisableShip:
            game.ShipEnabled = ToggleDisableShip(game.MainMenu);
            break;
        default:
            break;  // the credit item, or an id the menu never made
    }
}

}  // namespace

void StartProgram(const ProgramOptions& options) {
    game = Game{};
    rt_runtime_start();
    StartRecordOrReplay(options);
    if (options.Seed) rt_random_seed(static_cast<int32_t>(*options.Seed));

    CreateEntityLists();
    game.ScreenWidth = 1024;
    game.ScreenHeight = 768;

    rt_sound_init();
    rt_screen_init();
    rt_sprite3d_init();
    rt_keyboard_init();
    rt_mouse_init();
    rt_png_decoder_register();

    game.ShipEnabled = 1;
    game.EnemiesEnabled = 1;
    game.RocketsEnabled = 1;

    CheckLevelFile();
    game.LevelReached = ReadLevelReached();
    game.LevelCount = ReadLevelCount();

    OpenMainWindow();
    rt_screen_open(game.MainWindowHandle, 0, 0, game.ScreenWidth, game.ScreenHeight, 1, 0, 0);
    rt_screen_frame_rate(60);
    // Test runs may ask for frames as fast as they can be drawn.
    if (options.Unpaced) rt_screen_frame_rate(0);

    game.StarField = MakeStarField();
    rt_sprite_draw(game.StarField, 0, 0);

    BuildMainMenu();
    // Last: attaching the menu bar sizes the window, which would leave full
    // screen again.
    if (options.Fullscreen) rt_window_toggle_fullscreen(game.MainWindow);
}

void HandleMenuEvent(int32_t event) {
    if (event == EventMenu) {
        game.MenuChoice = rt_event_item();
        HandleMenuChoice(game.MenuChoice);
    } else if (event == EventCloseWindow) {
        EndProgram();
    } else if (event == EventRepaint) {
        rt_window_resize(game.MainWindow, RT_WINDOW_KEEP, RT_WINDOW_KEEP, RT_WINDOW_KEEP,
                         RT_WINDOW_KEEP);
    }
    // Q and F11 are only noticed when some event wakes the loop.
    rt_keyboard_poll();
    if (rt_key_down(kKeyQ) != 0) EndProgram();
    FollowFullScreenKey(game.MainWindow);
}

void RunMenuLoop() {
    for (;;) HandleMenuEvent(rt_window_event_wait());
}

void PlayFromLevel(int32_t level) {
    game.CurrentLevel = level;
    game.SkipLabel = MakeSkipLabel(100, 100);
    game.StoryPage = MakeStoryPage();
    ShowStory(game.StoryPage, game.SkipLabel, game.StarField, game.MainWindow, game.MainMenu);
    game.StoryPage = 0;
    game.SkipLabel = 0;
    do {
        // PlayLevel frees the star field it is given; each level gets a new one.
        game.CurrentLevel = PlayLevel(game.MainWindow, game.MainMenu, game.StarField,
                                      game.CurrentLevel, game.LevelReached, game.ShipEnabled,
                                      game.EnemiesEnabled, game.RocketsEnabled, game.LevelCount);
        game.StarField = MakeStarField();
    } while (game.CurrentLevel >= 0);
    game.FinalBanner = MakeNoMoreLevelsBanner();
    ShowFinalBanner(game.FinalBanner);
    EndProgram();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/main_window.h"

#include <cstdio>
#include <utility>

#include "game/window/end_program.h"
#include "game/window/full_screen.h"
#include "runtime/runtime.h"

namespace {

std::function<void()> pumpEventsHook;

// A checked item becomes unchecked (feature on, 1) and the other way round.
int32_t ToggleItem(int32_t menu, int32_t item) {
    if (rt_menu_item_state(menu, item) != 0) {
        rt_menu_item_set_state(menu, item, 0);
        return 1;
    }
    rt_menu_item_set_state(menu, item, 1);
    return 0;
}

}  // namespace

void SetPumpEventsHook(std::function<void()> hook) {
    pumpEventsHook = std::move(hook);
}

void RunPumpEventsHook() {
    if (pumpEventsHook) pumpEventsHook();
}

// A recording whose file took no more (a full disk, a removed medium) has
// stopped while play goes on: the player hears of it once, with the reason.
static void TellOnceRecordingStopped() {
    static bool told = false;
    if (told || rt_replay_mode() != RT_REPLAY_STOPPED) return;
    told = true;
    std::fprintf(stderr, "zentara: the recording stopped, play goes on unrecorded: %s\n",
                 rt_replay_error());
}

int32_t PumpEvents(int32_t window, int32_t /*menu*/) {
    RunPumpEventsHook();
    TellOnceRecordingStopped();
    rt_keyboard_poll();
    FollowFullScreenKey(window);
    const int32_t event = rt_window_event_poll();
    if (event == 0 || rt_event_window() != window) return 0;
    if ((event == EventMenu && rt_event_item() == MenuClose) || event == EventCloseWindow) {
        EndProgram();
    }
    return event;
}

int32_t ToggleDisableEnemies(int32_t menu) {
    return ToggleItem(menu, MenuDisableEnemies);
}
int32_t ToggleDisableRockets(int32_t menu) {
    return ToggleItem(menu, MenuDisableRockets);
}
int32_t ToggleDisableShip(int32_t menu) {
    return ToggleItem(menu, MenuDisableShip);
}

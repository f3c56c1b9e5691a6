// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/end_program.h"

#include <cstdlib>

#include "game/core/game_state.h"
#include "runtime/runtime.h"

void EndProgram() {
    EndProgramWith(rt_replay_verdict());
}

void EndProgramWith(int exitCode) {
    rt_window_close_all();
    rt_gadget_end();
    rt_sound_end();
    rt_mouse_end();
    rt_keyboard_end();
    rt_screen_cleanup_hook();
    rt_screen_shutdown();
    rt_sprite3d_free_all();
    rt_font_free_all();
    rt_file_close_all();
    rt_desktop_free();
    rt_image_free_all();
    rt_alphablend_shutdown();
    // The lists are the game's share of the program heap, which goes with it.
    FreeEntityLists();
    std::exit(exitCode);
}

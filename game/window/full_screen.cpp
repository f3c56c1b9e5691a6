// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/window/full_screen.h"

#include "runtime/runtime.h"

void FollowFullScreenKey(int32_t window) {
    // On release: a held key would otherwise switch back and forth.
    if (rt_key_released(KeyF11)) rt_window_toggle_fullscreen(window);
}

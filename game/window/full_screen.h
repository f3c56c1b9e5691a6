// SPDX-License-Identifier: GPL-3.0-or-later
// Full screen on F11: the main window switches between full screen and its
// previous state, the screen stretched over it. The choice is not saved.
#pragma once
#include <cstdint>

inline constexpr int32_t KeyF11 = 87;

// Call after a keyboard snapshot: a press of F11, once released, switches
// `window`.
void FollowFullScreenKey(int32_t window);

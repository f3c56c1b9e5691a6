// SPDX-License-Identifier: GPL-3.0-or-later
// The menu library's side that the window library calls.
#pragma once
#include <cstdint>

class QMenuBar;

namespace rt::window {

// The window is about to be destroyed together with its current menu bar.
void menus_window_destroyed(int32_t window_id, QMenuBar* current_bar);

}  // namespace rt::window

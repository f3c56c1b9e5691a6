// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): the fonts behind the native font handles that
// rt_font_handle gives out and rt_draw_font takes.
#pragma once
#include <QFont>
#include <cstdint>
#include <optional>

namespace rt::fonts {

// The font of a native handle, or nothing for a handle that names no font.
std::optional<QFont> native_font(int32_t handle);

// Vertical resolution of the display in dots per inch (96 when none reported).
int32_t display_dpi();

}  // namespace rt::fonts

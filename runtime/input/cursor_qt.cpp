// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor display counter: the pointer shows over the runtime's windows
// while the count is 0 or more.
#include "runtime/input/cursor_shim.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_table_qt.h"

namespace {

int32_t g_display_count = 0;

}  // namespace

extern "C" int32_t ShowCursor(int32_t show) {
    g_display_count += show ? 1 : -1;
    rt::window::set_cursor_hidden(g_display_count < 0);
    return g_display_count;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// How the flags of rt_window_open become a window's look and behaviour.
#pragma once
#include <Qt>
#include <cstdint>

namespace rt::window {

struct WindowStyle {
    Qt::WindowFlags qt_flags;
    bool invisible = false;
    bool centre_screen = false;
    bool centre_parent = false;
    bool maximized = false;
    bool minimized = false;
    bool resizable = false;    // sizing border: the edges can be dragged
    bool maximizable = false;  // maximize box: maximized and full screen allowed
    bool caption = false;
};

WindowStyle window_style(int32_t flags);

}  // namespace rt::window

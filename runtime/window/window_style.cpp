// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/window/window_style.h"

#include "runtime/window/rt_window.h"

namespace rt::window {

WindowStyle window_style(int32_t flags) {
    uint32_t bits = static_cast<uint32_t>(flags) & ~uint32_t{RT_WINDOW_NO_GADGETS};
    const uint32_t placement =
        RT_WINDOW_CENTRE_SCREEN | RT_WINDOW_CENTRE_PARENT | RT_WINDOW_INVISIBLE;
    // A window asked for with nothing but placement bits still gets a caption.
    if ((bits & ~placement) == 0) bits |= RT_WINDOW_CAPTION;

    WindowStyle style;
    style.invisible = bits & RT_WINDOW_INVISIBLE;
    style.centre_screen = bits & RT_WINDOW_CENTRE_SCREEN;
    style.centre_parent = bits & RT_WINDOW_CENTRE_PARENT;
    bool tool = bits & RT_WINDOW_TOOL;
    if (tool) {
        bits &= ~uint32_t{RT_WINDOW_MINIMIZED | RT_WINDOW_MAXIMIZED | RT_WINDOW_MINIMIZEBOX |
                          RT_WINDOW_MAXIMIZEBOX};
        bits |= RT_WINDOW_CAPTION;
    }
    style.maximized = bits & RT_WINDOW_MAXIMIZED;
    style.minimized = bits & RT_WINDOW_MINIMIZED;
    style.resizable = bits & RT_WINDOW_SIZEBORDER;
    style.maximizable = bits & RT_WINDOW_MAXIMIZEBOX;
    style.caption = (bits & RT_WINDOW_CAPTION) == RT_WINDOW_CAPTION;

    Qt::WindowFlags qt = tool ? Qt::Tool : Qt::Window;
    qt |= Qt::CustomizeWindowHint;
    if (style.caption) {
        qt |= Qt::WindowTitleHint;
        if (bits & RT_WINDOW_SYSMENU) qt |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (bits & RT_WINDOW_MINIMIZEBOX) qt |= Qt::WindowMinimizeButtonHint;
        if (bits & RT_WINDOW_MAXIMIZEBOX) qt |= Qt::WindowMaximizeButtonHint;
    } else {
        qt |= Qt::FramelessWindowHint;
    }
    style.qt_flags = qt;
    return style;
}

}  // namespace rt::window

// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): what the other runtime subsystems need from the Qt side
// of the window library. Nothing outside runtime/ includes this.
#pragma once
#include <cstdint>

class QApplication;
class QWidget;

namespace rt::qt {

// The one QApplication of the process, created on first use.
QApplication& app();

// The top-level widget of an open runtime window, or nullptr for an id that
// names no open window.
QWidget* window_widget(int32_t window_id);

// The client area of an open runtime window (the part below the menu bar), or
// nullptr for an id that names no open window.
QWidget* client_widget(int32_t window_id);

// Tells the window holding view that it shows a picture of that size (the
// screen), so that input reads the pointer in picture coordinates and the
// keyboard follows the focus of this window.
void show_screen_in(QWidget* view, int32_t width, int32_t height);

}  // namespace rt::qt

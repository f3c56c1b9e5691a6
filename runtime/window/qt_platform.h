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

}  // namespace rt::qt

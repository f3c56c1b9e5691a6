// The process-wide state of the one screen, shared by the portable screen
// logic (screen.cpp) and its Qt side (screen_qt.cpp).
#pragma once
#include "runtime/screen/frame_pacer.h"

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

namespace rt::screen {

struct ScreenState {
    bool initialised = false;
    bool isOpen = false;
    bool isActive = false;
    int32_t parentWindow = 0;
    QPointer<QWidget> childControl;
    int32_t x = 0, y = 0;
    int32_t rightMargin = 0, bottomMargin = 0;
    bool autoStretch = false;
    int32_t width = 0, height = 0;
    uint32_t refreshRate = 0;
    int32_t bitsPerPixel = 32;
    int32_t pixelFormatCode = 0;
    std::array<int32_t, 4> renderStateCache{-1, -1, -1, -1};
    FramePacer pacer;
    QImage backBuffer;                // Format_RGB32
    std::optional<QPainter> scene;    // open between rt_scene_begin and rt_scene_end
    int64_t flipCount = 0;
};

ScreenState& state();

// Qt side.
// Creates the child widget showing the back buffer in the window's client area.
bool create_child(int32_t window);
// Resizes the child to the client area minus the margins (auto-stretch only).
void fit_child();
// Installs, once per parent, the filter that refits and re-presents on resize.
void hook_parent();
// Shows the back buffer in the child now; false when the child is gone.
bool present();
void destroy_child();
// Refresh rate of the desktop holding the window; 0 when unknown.
uint32_t desktop_refresh_rate();

}  // namespace rt::screen

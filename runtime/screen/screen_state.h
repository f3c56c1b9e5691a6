// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide state of the one screen, shared by the portable screen
// logic (screen.cpp) and its Qt side (screen_qt.cpp).
#pragma once
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "runtime/screen/frame_pacer.h"
#include "runtime/screen/tile_mask.h"

namespace rt::screen {

// What is known about the back buffer's pixels beyond the pixels themselves,
// so that frames which change little cost little (back_buffer.cpp).
struct BackBufferHistory {
    // A clear not yet written (its ARGB colour). It is written when anything
    // next reads or paints the back buffer, and dropped when an opaque draw
    // covers the whole buffer first, as the game's star field does every frame.
    std::optional<uint32_t> pendingClear;
    // The buffer holds this opaque picture (its image's cache key) drawn at
    // this place, except in `drawnOver`: drawing it there again only restores
    // those parts.
    std::optional<int64_t> backdropKey;
    QPoint backdropAt;
    TileMask drawnOver;
    // The parts changed since the last present: what the window must show anew.
    TileMask unshown;
    int32_t loans = 0;  // drawing passes holding the buffer's memory
};

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
    QImage backBuffer;  // Format_RGB32
    BackBufferHistory history;
    std::optional<QPainter> scene;  // open between rt_scene_begin and rt_scene_end
    int64_t flipCount = 0;
};

ScreenState& state();

// Back-buffer bookkeeping (back_buffer.cpp).
// The back buffer with any pending clear written: what a present shows.
const QImage& frame();
// Clears to an ARGB colour, or leaves the clear pending while no pass holds the buffer.
void clear_back_buffer(uint32_t argb);
// Forgets what was known about the pixels (the buffer was made or filled anew).
void forget_back_buffer_history();
// The parts to show anew since the last call (all of the buffer while a
// drawing pass holds it); empty when nothing changed.
QRegion take_unshown();
// Makes the next present show the whole buffer (the window changed under it).
void forget_shown();

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

// SPDX-License-Identifier: GPL-3.0-or-later
// The table of open runtime windows (Qt side): a record per window holding its
// frame, and the lookups the window, menu and input libraries use to reach it.
#pragma once
#include <QMetaObject>
#include <QPointer>
#include <cstdint>

#include "runtime/core/rt_core.h"
#include "runtime/window/window_frame_qt.h"

namespace rt::window {

struct WindowRecord {
    int32_t live = 1;  // first word non-zero while the window is open
    int32_t handle = 0;
    // Null once something other than the program destroyed the widget; the
    // record stays until the program closes the window.
    QPointer<WindowFrame> frame;
    QMetaObject::Connection on_destroyed;

    ~WindowRecord() {
        QObject::disconnect(on_destroyed);
        delete frame.data();
    }
};

// The window table, made on first use; its records are WindowRecords.
rt_table* window_table();

// The record of an open window, or nullptr.
WindowRecord* window_record(int32_t id);

// The open window with this id (not a handle), or nullptr.
WindowFrame* frame_by_id(int32_t id);

// The open window named by an id or by a window handle, or nullptr.
WindowFrame* frame_by_id_or_handle(int32_t value);

// Cursor display state applied to every runtime window, present and future.
void set_cursor_hidden(bool hidden);

// True while one of the runtime's windows is the active (focused) window.
bool runtime_window_active();

// The window whose client area shows the open screen, or nullptr.
WindowFrame* screen_host();

// Queues a close request for every window lost to the platform and not yet
// closed by the program, so that no wait outlasts a window that is gone.
void report_lost_windows();

}  // namespace rt::window

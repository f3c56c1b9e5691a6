// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/window/window_table_qt.h"

#include <QApplication>

#include "runtime/window/event_queue.h"
#include "runtime/window/handles.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"

namespace rt::window {
namespace {

WindowRecord* record_of(int32_t id) {
    return static_cast<WindowRecord*>(rt_table_check(window_table(), id));
}

}  // namespace

rt_table* window_table() {
    static rt_table* table = rt_table_new(sizeof(WindowRecord), 16, rt_window_close);
    return table;
}

WindowRecord* window_record(int32_t id) {
    return record_of(id);
}

WindowFrame* frame_by_id(int32_t id) {
    WindowRecord* record = record_of(id);
    return record ? record->frame.get() : nullptr;
}

WindowFrame* frame_by_id_or_handle(int32_t value) {
    if (WindowFrame* frame = frame_by_id(value)) return frame;
    std::optional<int32_t> id = handle_target(HandleKind::window, value);
    return id ? frame_by_id(*id) : nullptr;
}

void set_cursor_hidden(bool hidden) {
    remember_cursor_hidden(hidden);
    if (!QApplication::instance()) return;
    rt_table* table = window_table();
    rt_table_first(table);
    while (auto* record = static_cast<WindowRecord*>(rt_table_next(table, nullptr))) {
        if (!record->frame) continue;
        if (hidden) {
            record->frame->setCursor(Qt::BlankCursor);
        } else {
            record->frame->unsetCursor();
        }
    }
}

bool runtime_window_active() {
    if (!QApplication::instance()) return false;
    return frame_of(QApplication::activeWindow()) != nullptr;
}

WindowFrame* screen_host() {
    if (!QApplication::instance()) return nullptr;
    rt_table* table = window_table();
    rt_table_first(table);
    while (auto* record = static_cast<WindowRecord*>(rt_table_next(table, nullptr))) {
        if (record->frame && record->frame->screen_view) return record->frame;
    }
    return nullptr;
}

void report_lost_windows() {
    rt_table* table = window_table();
    rt_table_first(table);
    int32_t id = 0;
    while (auto* record = static_cast<WindowRecord*>(rt_table_next(table, &id))) {
        if (!record->frame || record->frame->lost) event_state().queue({RT_EVENT_CLOSE, id, {}});
    }
}

}  // namespace rt::window

namespace rt::qt {

using rt::window::frame_by_id_or_handle;
using rt::window::frame_of;
using rt::window::WindowFrame;

QWidget* window_widget(int32_t window_id) {
    return frame_by_id_or_handle(window_id);
}

QWidget* client_widget(int32_t window_id) {
    WindowFrame* frame = frame_by_id_or_handle(window_id);
    return frame ? frame->client() : nullptr;
}

void show_screen_in(QWidget* view, int32_t width, int32_t height) {
    WindowFrame* frame = frame_of(view);
    if (!frame) return;
    frame->screen_view = view;
    frame->screen_picture = QSize(width, height);
}

}  // namespace rt::qt

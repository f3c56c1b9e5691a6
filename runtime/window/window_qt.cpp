// SPDX-License-Identifier: GPL-3.0-or-later
// Runtime windows on Qt: opening, sizing and closing.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/window/event_queue.h"
#include "runtime/window/handles.h"
#include "runtime/window/menu_qt.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_procedure_qt.h"
#include "runtime/window/window_style.h"
#include "runtime/window/window_table_qt.h"

namespace rt::window {
namespace {

WindowRecord* record_of(int32_t id) {
    return window_record(id);
}

// Where a window of this outer size goes for the centring flags; the given
// position when no centring applies.
QPoint place(const WindowStyle& style, QPoint given, QSize outer) {
    if (style.centre_screen) {
        QScreen* screen = QGuiApplication::primaryScreen();
        QRect area = screen ? screen->geometry() : QRect(0, 0, outer.width(), outer.height());
        return {area.x() + (area.width() - outer.width()) / 2,
                area.y() + (area.height() - outer.height()) / 2};
    }
    if (style.centre_parent) {
        QWidget* active = QApplication::activeWindow();
        if (!active) return given;
        QRect area = active->frameGeometry();
        return {std::max(0, area.x() + (area.width() - outer.width()) / 2),
                std::max(0, area.y() + (area.height() - outer.height()) / 2)};
    }
    return given;
}

}  // namespace
}  // namespace rt::window

using namespace rt::window;

using rt::core::fail;
using rt::core::guarded;

namespace {

constexpr const char* kNoWindow = "no such window";
// The largest client area asked for: far beyond any desktop, small enough
// that no size computed from it can wrap.
constexpr int32_t kMaxSide = 1 << 16;

}  // namespace

extern "C" void rt_window_init(void) {
    guarded(__func__, [] {
        window_table();
        event_state();
    });
}

extern "C" int32_t rt_window_open(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                                  const char* title, int32_t flags) {
    return guarded(__func__, 0, [&] {
        if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
        if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide)
            return fail(0, "a size not within 0 .. 65536");
        ensure_gui();
        WindowStyle style = window_style(flags);
        int32_t new_id = 0;
        void* memory = rt_table_alloc(window_table(), id, &new_id);
        if (!memory) return 0;  // the table said why
        auto* record = new (memory) WindowRecord;
        record->frame = new WindowFrame(new_id, style);
        WindowFrame& frame = *record->frame;
        // Destroyed by anyone but rt_window_close (which disconnects first): the
        // program hears a close request, as when the player closes the window.
        record->on_destroyed = QObject::connect(&frame, &QObject::destroyed, [new_id] {
            event_state().queue({RT_EVENT_CLOSE, new_id, {}});
        });
        frame.setWindowTitle(text_from_program(title));

        QScreen* screen = QGuiApplication::primaryScreen();
        QSize inner(width, height);
        if (style.centre_screen && screen) inner = inner.boundedTo(screen->geometry().size());
        frame.set_client_size(inner.width(), inner.height());

        bool default_position = (x == RT_WINDOW_KEEP || y == RT_WINDOW_KEEP);
        if (!default_position || style.centre_screen || style.centre_parent) {
            frame.move(place(style, QPoint(x, y), frame.sizeHint().expandedTo(inner)));
        }
        record->handle = (id == -1) ? new_id : handle_new(HandleKind::window, new_id);

        if (!style.invisible) {
            if (style.maximized) {
                frame.showMaximized();
            } else if (style.minimized) {
                frame.showMinimized();
            } else {
                frame.show();
            }
            frame.sized_state = style.maximized || style.minimized;
        }
        return id == -1 ? new_id : record->handle;
    });
}

extern "C" int32_t rt_window_handle(int32_t window) {
    return guarded(__func__, 0, [&] {
        WindowRecord* record = record_of(window);
        return record ? record->handle : fail(0, kNoWindow);
    });
}

extern "C" int32_t rt_window_resize(int32_t window, int32_t x, int32_t y, int32_t width,
                                    int32_t height) {
    return guarded(__func__, 0, [&] {
        WindowRecord* record = record_of(window);
        if (!record || !record->frame) return fail(0, kNoWindow);
        const auto size_refused = [](int32_t side) {
            return side != RT_WINDOW_KEEP && (side < 0 || side > kMaxSide);
        };
        if (size_refused(width) || size_refused(height))
            return fail(0, "a size not within 0 .. 65536");
        WindowFrame& frame = *record->frame;
        QPoint position = frame.pos();
        if (x != RT_WINDOW_KEEP) position.setX(x);
        if (y != RT_WINDOW_KEEP) position.setY(y);
        QSize client = frame.client()->size();
        if (width != RT_WINDOW_KEEP) client.setWidth(width);
        if (height != RT_WINDOW_KEEP) client.setHeight(height);
        if (client != frame.client()->size())
            frame.set_client_size(client.width(), client.height());
        if (position != frame.pos()) frame.move(position);
        return 1;
    });
}

extern "C" int32_t rt_window_toggle_fullscreen(int32_t window) {
    return guarded(__func__, -1, [&] {
        WindowFrame* frame = frame_by_id(window);
        if (!frame || frame->lost) return fail(-1, kNoWindow);
        if (!frame->maximizable()) return fail(-1, "the window has no maximize box");
        return frame->toggle_full_screen() ? 1 : 0;
    });
}

extern "C" void rt_window_close(int32_t window) {
    guarded(__func__, [&] {
        WindowRecord* record = record_of(window);
        if (!record) return rt::core::record_failure(kNoWindow);
        menus_window_destroyed(window, record->frame ? record->frame->menu_bar() : nullptr);
        if (record->handle != window) handle_free(record->handle);
        record->~WindowRecord();
        rt_table_remove(window_table(), window);
    });
}

extern "C" void rt_window_close_all(void) {
    guarded(__func__, [] {
        rt_table* table = window_table();
        rt_table_first(table);
        int32_t id = 0;
        while (rt_table_next(table, &id)) rt_window_close(id);
    });
}

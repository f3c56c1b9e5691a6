// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse position on Qt: the window procedure remembers where the pointer was
// last seen over each runtime window; positions are read relative to its
// client area.
#include <QApplication>
#include <QMouseEvent>
#include <cstdint>

#include "runtime/core/boundary.h"
#include "runtime/core/replay_hooks.h"
#include "runtime/input/input_service.h"
#include "runtime/input/rt_input.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_table_qt.h"

namespace {

bool g_mouse_initialised = false;

// The pointer in client coordinates when it lies inside the client area.
std::optional<QPoint> pointer_in_client(int32_t window) {
    rt::window::WindowFrame* frame = rt::window::frame_by_id(window);
    if (!frame || !frame->pointer_global) return std::nullopt;
    QWidget* client = frame->client();
    QPoint local = client->mapFromGlobal(*frame->pointer_global);
    if (local.x() < 0 || local.y() < 0) return std::nullopt;
    if (local.x() >= client->width() || local.y() >= client->height()) return std::nullopt;
    return local;
}

// The pointer in the open screen's picture (back-buffer) coordinates: the
// picture pixel shown where it lies in the widget showing the screen; bars
// beside a picture that keeps its shape count as the nearest edge.
std::optional<QPoint> pointer_in_screen() {
    rt::window::WindowFrame* frame = rt::window::screen_host();
    if (!frame || !frame->pointer_global) return std::nullopt;
    const QWidget* view = frame->screen_view;
    const QPoint local = view->mapFromGlobal(*frame->pointer_global);
    if (!view->rect().contains(local)) return std::nullopt;
    const QSize picture = frame->screen_picture;
    return rt::qt::picture_pixel(local, rt::qt::picture_area(view, picture), picture);
}

}  // namespace

using rt::core::fail;
using rt::core::guarded;

extern "C" int32_t rt_mouse_init(void) {
    return guarded(__func__, 0, [] {
        g_mouse_initialised = true;
        rt::input::service_acquire();
        return 1;
    });
}

// Nothing confines the pointer on this platform, so there is no clipping to
// release; only the reference goes back.
extern "C" void rt_mouse_end(void) {
    guarded(__func__, [] {
        if (!g_mouse_initialised) return;
        g_mouse_initialised = false;
        rt::input::service_release();
    });
}

// Each reading passes the replay session, which records it or answers it. A
// pointer outside answers -1; so does an id that names no open window, which
// fails (the reason recorded).
extern "C" int32_t rt_window_mouse_x(int32_t window) {
    return guarded(__func__, -1, [&] {
        // Read (and recorded) whatever the id: a replay answers in the same order.
        const int32_t at = rt::replay::reading(rt::replay::Kind::window_x, [window] {
            std::optional<QPoint> point = pointer_in_client(window);
            return point ? point->x() : -1;
        });
        return rt::window::frame_by_id(window) ? at : fail(-1, "no such open window");
    });
}

extern "C" int32_t rt_window_mouse_y(int32_t window) {
    return guarded(__func__, -1, [&] {
        // Read (and recorded) whatever the id: a replay answers in the same order.
        const int32_t at = rt::replay::reading(rt::replay::Kind::window_y, [window] {
            std::optional<QPoint> point = pointer_in_client(window);
            return point ? point->y() : -1;
        });
        return rt::window::frame_by_id(window) ? at : fail(-1, "no such open window");
    });
}

extern "C" int32_t rt_screen_mouse_x(void) {
    return guarded(__func__, -1, [] {
        return rt::replay::reading(rt::replay::Kind::screen_x, [] {
            std::optional<QPoint> point = pointer_in_screen();
            return point ? point->x() : -1;
        });
    });
}

extern "C" int32_t rt_screen_mouse_y(void) {
    return guarded(__func__, -1, [] {
        return rt::replay::reading(rt::replay::Kind::screen_y, [] {
            std::optional<QPoint> point = pointer_in_screen();
            return point ? point->y() : -1;
        });
    });
}

extern "C" int32_t rt_input_post_mouse_move(int32_t window, int32_t x, int32_t y) {
    return guarded(__func__, 0, [&] {
        rt::window::WindowFrame* frame = rt::window::frame_by_id(window);
        if (!frame) return fail(0, "no such window");
        QWidget* client = frame->client();
        QPoint local(x, y);
        QPoint global = client->mapToGlobal(local);
        // Delivered to the widget under the point, as the pointer's own move would be.
        QWidget* target = client->rect().contains(local) ? client->childAt(local) : nullptr;
        if (!target)
            target = client->rect().contains(local) ? client : static_cast<QWidget*>(frame);
        QPointF target_local = target->mapFromGlobal(QPointF(global));
        QCoreApplication::postEvent(
            target, new QMouseEvent(QEvent::MouseMove, target_local, QPointF(global), Qt::NoButton,
                                    Qt::NoButton, Qt::NoModifier));
        return 1;
    });
}

extern "C" int32_t rt_input_post_screen_mouse_move(int32_t x, int32_t y) {
    return guarded(__func__, 0, [&] {
        rt::window::WindowFrame* frame = rt::window::screen_host();
        if (!frame) return fail(0, "no screen (rt_screen_open)");
        const QWidget* view = frame->screen_view;
        const QSize picture = frame->screen_picture;
        const QPoint shown =
            rt::qt::view_pixel(QPoint(x, y), rt::qt::picture_area(view, picture), picture);
        const QPoint local = view->mapTo(frame->client(), shown);
        return rt_input_post_mouse_move(frame->id(), local.x(), local.y());
    });
}

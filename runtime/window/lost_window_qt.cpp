// SPDX-License-Identifier: GPL-3.0-or-later
// Windows destroyed behind the program's back. Another X client (the window
// manager, a tool such as xdotool) may destroy a window's platform window
// while its widget lives on; Qt keeps treating it as shown, and nothing would
// ever arrive for it again. The destruction is seen in the display's own event
// stream and reported as a close request.
#include "runtime/window/lost_window_qt.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QByteArray>

#include "runtime/window/event_queue.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"

#if __has_include(<xcb/xproto.h>)
#include <xcb/xproto.h>
#define ZENTARA_HAVE_XCB 1
#endif

namespace rt::window {
namespace {

void mark_lost(WId platform_window) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* frame = dynamic_cast<WindowFrame*>(top);
        // internalWinId() never creates a platform window, unlike winId().
        if (!frame || frame->lost || frame->internalWinId() != platform_window) continue;
        frame->lost = true;
        event_state().queue({RT_EVENT_CLOSE, frame->id(), {}});
    }
}

#ifdef ZENTARA_HAVE_XCB
class LostWindowFilter final : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        // The high bit marks events another client sent; a real destruction
        // is reported by the server.
        if (event->response_type != XCB_DESTROY_NOTIFY) return false;
        mark_lost(reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window);
        return false;
    }
};
#endif

}  // namespace

void watch_for_lost_windows(QApplication& application) {
#ifdef ZENTARA_HAVE_XCB
    static LostWindowFilter filter;  // lives as long as the application
    application.installNativeEventFilter(&filter);
#else
    (void)application;
#endif
}

}  // namespace rt::window

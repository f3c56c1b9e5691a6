// SPDX-License-Identifier: GPL-3.0-or-later
// The window procedure: one application-wide event filter that turns what Qt
// delivers to the runtime's windows into numbered events, and the fetch that
// pumps Qt's event loop for them.
#include "runtime/window/window_procedure_qt.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <algorithm>

#include "runtime/core/boundary.h"
#include "runtime/core/replay_hooks.h"
#include "runtime/window/event_queue.h"
#include "runtime/window/lost_window_qt.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_table_qt.h"

namespace rt::window {
namespace {

void queue(int32_t code, const WindowFrame& frame) {
    event_state().queue({code, frame.id(), {}});
}

void on_state_change(WindowFrame& frame, const QWindowStateChangeEvent& event) {
    Qt::WindowStates now = frame.windowState();
    if (now == event.oldState()) return;
    if (now & Qt::WindowMinimized) {
        frame.sized_state = true;
        queue(RT_EVENT_MINIMIZE, frame);
        return;
    }
    // Full screen is the maximized state without frame or bars.
    if (now & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        frame.sized_state = true;
        queue(RT_EVENT_MAXIMIZE, frame);
    } else if (frame.sized_state) {
        frame.sized_state = false;
        queue(RT_EVENT_RESTORE, frame);
    }
    queue(RT_EVENT_SIZE, frame);
    frame.size_reported = true;
}

int32_t raw_mouse_code(const QEvent& event) {
    auto& mouse = static_cast<const QMouseEvent&>(event);
    bool press = event.type() != QEvent::MouseButtonRelease;
    switch (mouse.button()) {
        case Qt::LeftButton:
            return press ? RT_EVENT_LBUTTONDOWN : RT_EVENT_LBUTTONUP;
        case Qt::RightButton:
            return press ? RT_EVENT_RBUTTONDOWN : RT_EVENT_RBUTTONUP;
        default:
            return 0;
    }
}

// Events that reach the top-level window itself.
bool on_window_event(WindowFrame& frame, QEvent& event) {
    switch (event.type()) {
        case QEvent::Close:
            // Closing is the program's decision: report it and keep the window.
            event.ignore();
            queue(RT_EVENT_CLOSE, frame);
            return true;
        case QEvent::Move:
            queue(RT_EVENT_MOVE, frame);
            break;
        case QEvent::Resize:
            if (frame.size_reported) {
                frame.size_reported = false;
            } else if (!(frame.windowState() & Qt::WindowMinimized)) {
                queue(RT_EVENT_SIZE, frame);
            }
            break;
        case QEvent::WindowStateChange:
            on_state_change(frame, static_cast<QWindowStateChangeEvent&>(event));
            break;
        case QEvent::WindowActivate:
            queue(RT_EVENT_ACTIVATE, frame);
            break;
        case QEvent::Leave:
            frame.pointer_global.reset();
            break;
        default:
            break;
    }
    return false;
}

// Input anywhere inside a runtime window: it makes no numbered event, but a
// waiting loop must wake on it, and the pointer position is remembered.
void on_input_event(WindowFrame& frame, const QEvent& event) {
    EventState& state = event_state();
    switch (event.type()) {
        case QEvent::KeyPress:
            state.note_raw(RT_EVENT_KEYDOWN, frame.id());
            break;
        case QEvent::KeyRelease:
            state.note_raw(RT_EVENT_KEYUP, frame.id());
            break;
        case QEvent::MouseMove:
            frame.pointer_global =
                static_cast<const QMouseEvent&>(event).globalPosition().toPoint();
            state.note_raw(RT_EVENT_MOUSEMOVE, frame.id());
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseButtonRelease: {
            frame.pointer_global =
                static_cast<const QMouseEvent&>(event).globalPosition().toPoint();
            if (int32_t code = raw_mouse_code(event)) state.note_raw(code, frame.id());
            break;
        }
        default:
            break;
    }
}

class WindowProcedure : public QObject {
  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (target->isWindowType()) {
            if (event->type() == QEvent::Expose && static_cast<QWindow*>(target)->isExposed()) {
                if (WindowFrame* frame = frame_of(target)) queue(RT_EVENT_REPAINT, *frame);
            }
            return false;
        }
        if (!target->isWidgetType()) return false;
        WindowFrame* frame = frame_of(target);
        if (!frame) return false;
        on_input_event(*frame, *event);
        if (target == frame) return on_window_event(*frame, *event);
        return false;
    }
};

// Reads platform input: once without waiting for timeout 0, otherwise until an
// event or raw message is pending or the timeout (-1 = none) has passed. The
// waits block in Qt's dispatcher, so an idle wait costs no processor time.
void forget_reported_sizes() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* frame = dynamic_cast<WindowFrame*>(top)) frame->size_reported = false;
    }
}

void pump(int32_t timeout_ms) {
    EventState& state = event_state();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    forget_reported_sizes();
    if (!state.has_pending()) report_lost_windows();
    if (timeout_ms == 0 || state.has_pending()) return;
    QDeadlineTimer deadline(timeout_ms < 0 ? QDeadlineTimer::Forever : QDeadlineTimer(timeout_ms));
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!state.has_pending() && !deadline.hasExpired()) {
        // Re-armed every pass: a timer may fire before the deadline, and the
        // wait below must never outlast it.
        if (timeout_ms > 0) wake.start(std::max<qint64>(1, deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace

void ensure_gui() {
    static WindowProcedure* procedure = nullptr;
    QApplication& application = rt::qt::app();
    if (procedure) return;
    procedure = new WindowProcedure;
    procedure->setParent(&application);
    application.installEventFilter(procedure);
    watch_for_lost_windows(application);
}

}  // namespace rt::window

using namespace rt::window;

namespace {

int32_t fetch_event(int32_t timeout_ms) {
    if (!QCoreApplication::instance()) return event_state().fetch(0, [](int32_t) {});
    ensure_gui();
    return event_state().fetch(timeout_ms, pump);
}

// A replay answers the recorded event; the player's own events are taken and
// dropped without waiting, except a closed window, which ends the replay.
int32_t replayed_event() {
    const int32_t item = event_state().item();
    const int32_t window = event_state().window();
    for (int32_t code; (code = fetch_event(0)) != 0;) {
        if (code == RT_EVENT_CLOSE) {
            return rt::replay::event({code, event_state().item(), event_state().window()}).code;
        }
    }
    const rt::replay::Event recorded = rt::replay::event({});
    if (recorded.code != 0) {
        event_state().answer(recorded.item, recorded.window);
    } else {
        event_state().answer(item, window);  // as if the dropped events never came
    }
    return recorded.code;
}

}  // namespace

using rt::core::fail;
using rt::core::guarded;

extern "C" int32_t rt_window_event(int32_t timeout_ms) {
    return guarded(__func__, 0, [&] {
        if (timeout_ms < -1) return fail(0, "a timeout below -1");
        if (rt::replay::playing()) return replayed_event();
        const int32_t code = fetch_event(timeout_ms);
        if (rt::replay::active())
            rt::replay::event({code, event_state().item(), event_state().window()});
        return code;  // 0: no event came, an answer
    });
}

extern "C" int32_t rt_window_event_wait(void) {
    return guarded(__func__, 0, [] { return rt_window_event(-1); });
}

extern "C" int32_t rt_window_event_poll(void) {
    return guarded(__func__, 0, [] { return rt_window_event(0); });
}

extern "C" int32_t rt_event_item(void) {
    return guarded(__func__, 0, [] { return event_state().item(); });
}

extern "C" int32_t rt_event_window(void) {
    return guarded(__func__, 0, [] { return event_state().window(); });
}

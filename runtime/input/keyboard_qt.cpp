// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard input on Qt: key presses and releases of the runtime's windows feed
// the live key table, and a poll succeeds only while the window hosting the
// screen has the focus.
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>

#include "runtime/core/boundary.h"
#include "runtime/core/replay_hooks.h"
#include "runtime/input/input_service.h"
#include "runtime/input/key_table.h"
#include "runtime/input/keymap_qt.h"
#include "runtime/input/rt_input.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_table_qt.h"

namespace rt::input {
namespace {

class KeyboardDevice : public QObject {
  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                on_key(target, static_cast<QKeyEvent&>(*event));
                break;
            case QEvent::WindowDeactivate:
                // Keys let go while another window has the focus are never
                // seen: forget them all now.
                if (rt::window::frame_of(target) == target) key_table().clear_live();
                break;
            default:
                break;
        }
        return false;
    }

  private:
    static void on_key(QObject* target, const QKeyEvent& event) {
        // A held key repeats as press/release pairs; it stays down.
        if (event.isAutoRepeat()) return;
        std::optional<int32_t> scancode = scancode_of(event);
        if (!scancode) return;
        bool down = event.type() == QEvent::KeyPress;
        // Presses count only in runtime windows; a release counts anywhere, so
        // that no key is left stuck down.
        if (down && !rt::window::frame_of(target)) return;
        key_table().set_live(*scancode, down);
    }
};

QPointer<KeyboardDevice>& device() {
    static QPointer<KeyboardDevice> keyboard;
    return keyboard;
}

bool g_keyboard_initialised = false;

// The keyboard belongs to the window that hosts the screen; before a screen
// is open, to whichever runtime window has the focus.
bool keyboard_window_active() {
    if (rt::window::WindowFrame* host = rt::window::screen_host())
        return QApplication::activeWindow() == host;
    return rt::window::runtime_window_active();
}

}  // namespace
}  // namespace rt::input

using namespace rt::input;

using rt::core::fail;
using rt::core::guarded;

namespace {

// A scan code the key tests know: 0 .. 255, or -1 for any key.
bool known_key(int32_t scancode) {
    return scancode == RT_KEY_ANY || (scancode >= 0 && scancode <= 255);
}

}  // namespace

extern "C" int32_t rt_keyboard_init(void) {
    return guarded(__func__, 0, [] {
        g_keyboard_initialised = true;
        service_acquire();
        QApplication& application = rt::qt::app();
        if (!device()) {
            auto* keyboard = new KeyboardDevice;
            keyboard->setParent(&application);
            application.installEventFilter(keyboard);
            device() = keyboard;
            key_table().create();
        }
        return 1;
    });
}

extern "C" int32_t rt_keyboard_poll(void) {
    return guarded(__func__, 0, [] {
        if (!device()) return fail(0, "no keyboard (rt_keyboard_init)");
        // The table is as fresh as the events delivered so far: deliver what is
        // waiting (other events are queued for the next fetch as usual).
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        bool focus = keyboard_window_active();
        std::array<uint8_t, 256> snapshot = key_table().next_snapshot();
        // A recording keeps the snapshots the program saw; a replay gives them back.
        if (rt::replay::active()) focus = rt::replay::keyboard(focus, snapshot);
        // Without the focus the poll answers 0 (every key up): an answer.
        return key_table().poll(focus, snapshot) ? 1 : 0;
    });
}

extern "C" int32_t rt_key_down(int32_t scancode) {
    return guarded(__func__, 0, [&] {
        if (!known_key(scancode)) return fail(0, "no such scan code");
        return key_table().key_down(scancode);
    });
}

extern "C" int32_t rt_key_released(int32_t scancode) {
    return guarded(__func__, 0, [&] {
        if (!known_key(scancode)) return fail(0, "no such scan code");
        return key_table().key_released(scancode);
    });
}

extern "C" void rt_keyboard_end(void) {
    guarded(__func__, [] {
        if (!g_keyboard_initialised) return;
        g_keyboard_initialised = false;
        delete device().data();
        key_table().destroy();
        service_release();
    });
}

extern "C" int32_t rt_input_post_key(int32_t window, int32_t scancode, int32_t down) {
    return guarded(__func__, 0, [&] {
        QWidget* top = rt::qt::window_widget(window);
        if (!top || rt::window::frame_by_id(window) == nullptr) return fail(0, "no such window");
        std::optional<KeyEventDesc> desc = key_for_scancode(scancode);
        if (!desc) return fail(0, "no such scan code");
        // Delivered where a real key press would go: the window's focus widget.
        QWidget* target = top->focusWidget() ? top->focusWidget() : top;
        auto type = down ? QEvent::KeyPress : QEvent::KeyRelease;
        QCoreApplication::postEvent(target, new QKeyEvent(type, desc->key, Qt::NoModifier,
                                                          desc->native_scancode, 0, 0, desc->text));
        return 1;
    });
}

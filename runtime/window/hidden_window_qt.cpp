// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide hidden helper window. Nothing on this platform needs it as
// a cooperation window, but its existence rule is kept: it is made only while
// no game screen exists, and never shown.
#include <QApplication>
#include <QWidget>
#include <memory>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"
#include "runtime/window/window_procedure_qt.h"

namespace {

QPointer<QWidget>& hidden_window() {
    static QPointer<QWidget> window;
    return window;
}

// The game screen is a child widget placed in a runtime window's client area.
bool screen_window_exists() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* frame = dynamic_cast<rt::window::WindowFrame*>(top);
        if (frame &&
            !frame->client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int32_t rt_hidden_window_ensure(void) {
    return rt::core::guarded(__func__, 0, [] {
        rt::window::ensure_gui();
        QPointer<QWidget>& window = hidden_window();
        if (!window && !screen_window_exists()) {
            window = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint);
            window->setObjectName(QStringLiteral("MultimediaBase Class"));
            window->setAttribute(Qt::WA_QuitOnClose, false);
            window->setGeometry(0, 0, 1, 1);
        }
        // None while a game screen exists: an answer, as the header says.
        return window ? 1 : 0;
    });
}

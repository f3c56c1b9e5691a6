// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime's one modal message: a line on standard error, and a
// QMessageBox with an OK button when there is a display to show it on.
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "runtime/core/boundary.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"

namespace {

bool set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Without a platform named and without a display server to reach, making the
// application would abort the process; a message, above all a failure at
// start-up, must still reach the terminal.
bool has_display() {
    if (!QGuiApplication::instance() && !set("QT_QPA_PLATFORM") && !set("DISPLAY") &&
        !set("WAYLAND_DISPLAY")) {
        return false;
    }
    rt::qt::app();
    QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

extern "C" int32_t rt_message_box(const char* title, const char* text) {
    return rt::core::guarded(__func__, RT_MESSAGE_BOX_OK, [&] {
        // Also on a desktop: the line stays in the terminal or the session's log.
        std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
        std::fflush(stderr);
        if (!has_display()) return RT_MESSAGE_BOX_OK;
        // Application-modal: the program's other windows take no input meanwhile.
        QMessageBox box(QMessageBox::NoIcon, rt::window::text_from_program(title),
                        rt::window::text_from_program(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
        return RT_MESSAGE_BOX_OK;
    });
}

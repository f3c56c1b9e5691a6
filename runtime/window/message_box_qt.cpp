// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime's one modal message: a QMessageBox with an OK button, or a line
// on standard error when there is no display to show it on.
#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

#include "runtime/core/boundary.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "runtime/window/window_frame_qt.h"

namespace {

bool has_display() {
    QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

}  // namespace

extern "C" int32_t rt_message_box(const char* title, const char* text) {
    return rt::core::guarded(__func__, RT_MESSAGE_BOX_OK, [&] {
        rt::qt::app();
        if (!has_display()) {
            std::fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
            std::fflush(stderr);
            return RT_MESSAGE_BOX_OK;
        }
        // Application-modal: the program's other windows take no input meanwhile.
        QMessageBox box(QMessageBox::NoIcon, rt::window::text_from_program(title),
                        rt::window::text_from_program(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
        return RT_MESSAGE_BOX_OK;
    });
}

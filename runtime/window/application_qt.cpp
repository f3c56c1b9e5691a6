// SPDX-License-Identifier: GPL-3.0-or-later
// The one QApplication of the process.
#include <QApplication>

#include "runtime/window/qt_platform.h"

namespace rt::qt {

QApplication& app() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    // Kept for the whole process: widgets of other subsystems may still exist
    // while static objects are destroyed at exit.
    static int argc = 1;
    static char name[] = "zentara";
    static char* argv[] = {name, nullptr};
    static QApplication* application = new QApplication(argc, argv);
    application->setQuitOnLastWindowClosed(false);
    return *application;
}

}  // namespace rt::qt

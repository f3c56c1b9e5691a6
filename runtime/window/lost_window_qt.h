// SPDX-License-Identifier: GPL-3.0-or-later
// The watch for windows destroyed behind the program's back.
#pragma once

class QApplication;

namespace rt::window {

// Installs the watch that reports platform windows destroyed by others.
void watch_for_lost_windows(QApplication& application);

}  // namespace rt::window

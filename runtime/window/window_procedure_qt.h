// SPDX-License-Identifier: GPL-3.0-or-later
// The window procedure's side that other files of the window library call.
#pragma once

namespace rt::window {

// Creates the application on first use and installs the window procedure.
void ensure_gui();

}  // namespace rt::window

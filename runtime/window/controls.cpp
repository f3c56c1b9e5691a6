// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up and shutdown steps of the standard-control library. Windows here
// are plain Qt widgets with no control library behind them, so these keep
// their places in the start-up and shutdown order with nothing to do.
#include "runtime/core/boundary.h"
#include "runtime/window/rt_window.h"

using rt::core::guarded;

// No control or COM library to initialise on this platform.
extern "C" void rt_com_init(void) {
    guarded(__func__, [] {});
}

// No standard controls to register on this platform.
extern "C" void rt_gadget_init(void) {
    guarded(__func__, [] {});
}

// No control-library window to destroy on this platform.
extern "C" void rt_gadget_end(void) {
    guarded(__func__, [] {});
}

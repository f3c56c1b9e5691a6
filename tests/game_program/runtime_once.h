// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the runtime's start-up sequence the first time it is called.
#pragma once
#include "runtime/runtime.h"

inline void StartRuntimeOnce() {
    static const bool started = (rt_runtime_start(), true);
    (void)started;
}

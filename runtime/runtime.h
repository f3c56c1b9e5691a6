// SPDX-License-Identifier: GPL-3.0-or-later
/* The whole public surface of the Zentara runtime: one flat C API, one header
 * per subsystem. */
#ifndef ZENTARA_RUNTIME_H
#define ZENTARA_RUNTIME_H

#include "runtime/core/rt_core.h"
#include "runtime/core/rt_replay.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/files/rt_files.h"
#include "runtime/image/rt_image.h"
#include "runtime/input/rt_input.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/sound/rt_sound.h"
#include "runtime/window/rt_window.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Runs the runtime's start-up sequence: every library the program relies on
 * before its own code, in their fixed order. Called once, first thing. */
void rt_runtime_start(void);

#ifdef __cplusplus
}
#endif

#endif

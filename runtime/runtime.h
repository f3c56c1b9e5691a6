// SPDX-License-Identifier: GPL-3.0-or-later
/* The whole public surface of the Zentara runtime: one flat C API, one header
 * per subsystem.
 *
 * The boundary rule, kept by every public function:
 *
 * - An argument the call cannot use answers the call's failure value and
 *   changes nothing: a NULL handle, pointer or text; a negative or
 *   overflowing size, count or id; an id that names nothing (never made,
 *   freed, stale) or names an object of another kind; a NaN or infinite
 *   float. The failure value is the one the function's header gives: 0, NULL
 *   or -1 as stated; the empty text for functions that answer a text; for a
 *   function that answers nothing, that nothing happened. Values a header
 *   gives a meaning are ordinary arguments, not failures: -1 asks for a new
 *   id, NULL texts read as "" in the string operations and wherever a header
 *   says so, negative counts read as 0 in the string operations, positions
 *   may lie anywhere.
 * - Every call that fails says why: rt_error() gives the calling thread's
 *   last failure as one line that names the call ("rt_sprite_load:
 *   zentara/x.png: not a PNG or BMP picture"). Answers that report a state
 *   (the end of a list or listing, no event, no collision, a key that is up,
 *   nothing drawn because it lies off the screen) are not failures.
 * - No exception leaves the runtime, and running out of memory is a failure
 *   like any other: the call answers its failure value.
 * - Pointers the runtime lends (records, texts, pixels, painters, targets)
 *   live as long as the header of the call that lends them says.
 *
 * Every public function runs through one guard (runtime/core/boundary.h),
 * which keeps the second and third points. */
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

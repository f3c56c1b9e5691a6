// SPDX-License-Identifier: GPL-3.0-or-later
/* The cursor's display counter, as the game knows it from its original
 * platform: each call adds 1 (show non-zero) or subtracts 1 (show zero) and
 * answers the new count. The pointer is visible over the runtime's windows
 * while the count is 0 or more, blank otherwise. The count starts at 0. */
#ifndef ZENTARA_CURSOR_SHIM_H
#define ZENTARA_CURSOR_SHIM_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

int32_t ShowCursor(int32_t show);

#ifdef __cplusplus
}
#endif

#endif

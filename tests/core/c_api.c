// SPDX-License-Identifier: GPL-3.0-or-later
/* Every public header compiles as C, and calls link and answer through C's
 * calling conventions (what the calls do is checked by the C++ tests). */
#include "runtime/input/cursor_shim.h"
#include "runtime/runtime.h"

int c_api_failures(void) {
    void* current = 0;
    rt_list* list = rt_list_new(4, &current, 0, 7);
    int failures = rt_list_add(list) != RT_LIST_RECORD(current) || rt_rgb(0, 255, 0) != 0xFF00;
    rt_list_free(list);
    return failures + (sizeof(&ShowCursor) == 0);
}

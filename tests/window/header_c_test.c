/* The public headers of windows and input compile as C. */
#include "runtime/input/cursor_shim.h"
#include "runtime/input/rt_input.h"
#include "runtime/window/rt_window.h"

int window_header_c_probe(void) {
    return RT_EVENT_MENU + RT_KEY_SPACE + (int)sizeof(&rt_window_open) * 0 +
           (int)sizeof(&ShowCursor) * 0;
}

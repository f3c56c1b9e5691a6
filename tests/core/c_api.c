/* Every public header compiles as C, and a few calls link and behave through
 * C's calling conventions. */
#include <string.h>

#include "runtime/input/cursor_shim.h"
#include "runtime/runtime.h"

int c_api_failures(void) {
    int failures = 0;
    void* current = 0;
    rt_list* list = rt_list_new(4, &current, 0, 7);
    char* name = 0;
    int32_t start;
    *(int32_t*)rt_list_add(list) = 20;
    failures += *(int32_t*)rt_list_select(list, 0) != 20 || rt_list_count(list) != 1;
    rt_list_free(list);
    rt_strbuf_ensure();
    start = rt_strbuf_pos();
    rt_strbuf_append("Level");
    rt_str_from_int(7, rt_strbuf_pos());
    rt_str_assign(&name, start);
    failures += strcmp(name, "Level7") != 0;
    rt_str_free(name);
    failures += rt_rgb(0, 255, 0) != 0xFF00;
    return failures + (sizeof(&ShowCursor) == 0);
}

/* The core API used from plain C: the header must compile as C and the
 * functions must link and behave through C's calling conventions. */
#include <string.h>

#include "runtime/core/rt_core.h"

typedef struct {
    int32_t score;
} Enemy;

int core_c_api_failures(void) {
    int failures = 0;
    void* current = 0;
    rt_list* enemies = rt_list_new((int32_t)sizeof(Enemy), &current, 0, 7);
    int32_t start;
    int32_t i;
    char* name = 0;
    rt_table* table;
    int32_t id = 0;
    int32_t* record;

    for (i = 1; i <= 3; ++i) ((Enemy*)rt_list_add(enemies))->score = i * 10;
    rt_list_reset(enemies);
    while (rt_list_next(enemies)) {
        Enemy* e = (Enemy*)RT_LIST_RECORD(current);
        if (e->score == 20) rt_list_delete(enemies);
    }
    failures += rt_list_count(enemies) != 2;
    rt_list_free(enemies);

    rt_strbuf_ensure();
    start = rt_strbuf_pos();
    rt_strbuf_append("Level");
    rt_str_from_int(7, rt_strbuf_pos());
    rt_str_assign(&name, start);
    failures += strcmp(name, "Level7") != 0;
    rt_str_free(name);

    table = rt_table_new(16, 4, 0);
    record = (int32_t*)rt_table_alloc(table, -1, &id);
    *record = 1;
    failures += rt_table_get(table, id) != record;
    rt_table_remove(table, id);
    failures += rt_table_check(table, id) != 0;
    rt_table_destroy(table);

    rt_random_seed(5);
    failures += rt_random(0) != 0;
    failures += rt_rgb(0, 255, 0) != 0xFF00;
    return failures;
}

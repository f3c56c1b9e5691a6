// SPDX-License-Identifier: GPL-3.0-or-later
/* Runtime core: object tables, per-thread areas, the temporary string buffer
 * and string operations, element lists with their pool, the millisecond clock,
 * random numbers and small math helpers.
 *
 * Plain C interface; every function is safe to call from C and C++, and keeps
 * the boundary rule stated in runtime/runtime.h. */
#ifndef ZENTARA_RT_CORE_H
#define ZENTARA_RT_CORE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ------------------------------------------------------------------------
 * Failures
 * ---------------------------------------------------------------------- */

/* Why the calling thread's last failing runtime call failed, as one line
 * beginning with the call's name ("rt_sprite_load: zentara/x.png: not a PNG
 * or BMP picture"); "" when none failed since the start or rt_error_clear.
 * Every call that fails sets it; successful calls leave it as it is. The text
 * lives until the thread's next failing call. */
const char* rt_error(void);
/* Empties the calling thread's rt_error text. */
void rt_error_clear(void);

/* ------------------------------------------------------------------------
 * Object tables
 *
 * Every library keeps its objects in one table. An object is named by a 32-bit
 * id chosen in one of two ways:
 *   - a number 0 .. 2^31-1 picked by the caller: the object lives in that
 *     numbered slot; the table grows page by page to hold it;
 *   - -1: the table creates a separate record and hands out a fresh handle as
 *     its id. Handles are negative values in [INT32_MIN, -2]: never a slot
 *     number, never 0 or -1, never reused while the process runs, unique
 *     across all tables (a handle of one table answers 0 in every other).
 * Records are raw zero-filled memory aligned for any type. A record is "in use"
 * while its first 32-bit word is non-zero: a library must store something
 * non-zero there (a flag, its principal handle) while the object lives.
 * Every lookup of an id that names nothing (removed, stale, foreign, never
 * allocated, out of range) answers 0 without touching memory.
 * ---------------------------------------------------------------------- */

typedef struct rt_table rt_table;

/* Called with the id of an object to destroy it (normally the library's own
 * free operation, which ends with rt_table_remove). */
typedef void (*rt_destructor)(int32_t id);

/* Creates a table whose pages hold the smallest power of two >= initial_slots
 * (at least 2; one slot when initial_slots < 2) records of record_size bytes.
 * NULL for a negative size or count, a record above 2^24 bytes, a page above
 * 2^30 bytes, and when memory runs out. The table lives until
 * rt_table_destroy (library tables: until the process ends). */
rt_table* rt_table_new(int32_t record_size, int32_t initial_slots, rt_destructor destructor);

/* Frees the table and every record still in it without calling the destructor
 * (for tables that do not live until the process ends). */
void rt_table_destroy(rt_table* table);

/* Highest numbered id a table grows to; numbers above it are refused. */
#define RT_TABLE_MAX_ID (1 << 24)

/* id -1: a new zero-filled record under a fresh handle, stored in *new_id.
 * id 0 .. RT_TABLE_MAX_ID: grows the table until the slot exists, destroys the
 * object still living there (destructor), and returns the zero-filled slot;
 * *new_id = id. new_id may be NULL. Answers NULL (and new_id gets 0) for other
 * ids and when memory runs out. A record stays where it is until it is
 * removed (or its table destroyed); so does every pointer to it that
 * rt_table_get, rt_table_check and rt_table_next answer. */
void* rt_table_alloc(rt_table* table, int32_t id, int32_t* new_id);

/* The record named by id when it is in use, else NULL (a failure). */
void* rt_table_get(const rt_table* table, int32_t id);

/* Same answer as rt_table_get; the form meant for values of uncertain origin:
 * an id that names nothing is an answer here, not a failure. */
void* rt_table_check(const rt_table* table, int32_t id);

/* Zero-fills a numbered slot, or frees a dynamic record. An id that names
 * nothing fails and changes nothing. */
void rt_table_remove(rt_table* table, int32_t id);

/* Iteration: numbered slots in use in ascending order, then dynamic records in
 * use from the oldest to the newest. rt_table_first takes the table's lock and
 * restarts the walk; rt_table_next returns the next record (its id in *id when
 * id is not NULL) and releases the lock when it answers NULL. The record just
 * returned (or any other) may be removed during the walk. rt_table_next
 * without a walk begun on the calling thread fails. */
void rt_table_first(rt_table* table);
void* rt_table_next(rt_table* table, int32_t* id);

/* Calls the destructor for every record in use (nothing without a destructor). */
void rt_table_free_all(rt_table* table);

/* Numbered slots currently available, and the slots per page. */
int32_t rt_table_capacity(const rt_table* table);
int32_t rt_table_page_slots(const rt_table* table);

/* ------------------------------------------------------------------------
 * Per-thread areas and thread-exit clean-ups
 * ---------------------------------------------------------------------- */

typedef void (*rt_area_fn)(void* area);
typedef void (*rt_cleanup_fn)(void* data);

/* Start-up: reserves an area of size bytes (0 .. 2^24) in every thread's
 * block and returns its offset; -1 for another size. init runs on each
 * thread's zero-filled area before its first use (right away for the calling
 * thread); destroy runs on it after the thread has ended. Either may be NULL. */
int32_t rt_thread_area_register(int32_t size, rt_area_fn init, rt_area_fn destroy);

/* The calling thread's area at offset (as returned by the registration); it
 * lives as long as the thread. NULL for an offset never registered. */
void* rt_thread_area(int32_t offset);

/* Runs fn(data) once after the calling thread has ended; a thread's clean-ups
 * run in the order they were registered. fn must not be NULL. */
void rt_on_thread_exit(rt_cleanup_fn fn, void* data);

/* ------------------------------------------------------------------------
 * Strings
 *
 * String expressions are built in a per-thread temporary buffer and addressed
 * by offsets into it. Every string-producing function takes the result offset
 * last (-1 = the current fill position) and returns the offset where its result
 * starts; after it, the fill position is the result's terminating NUL, so the
 * next piece written at the fill position continues the text. A pointer into
 * the buffer is valid only until the next write: turn an offset into a pointer
 * (rt_strbuf_base() + offset) right before passing it on. NULL texts read as ""
 * and negative counts as 0: in the string operations these are ordinary
 * values, not failures.
 * A result offset the buffer does not have (negative, or past its capacity)
 * counts as -1; the answer is always where the result was really written. When
 * memory runs out a string-producing call answers the empty text there.
 * String variables (char*) own blocks of their own: set with rt_str_assign,
 * released with rt_str_free.
 * ---------------------------------------------------------------------- */

/* Creates the string system and the calling thread's buffer (start-up). */
void rt_string_init(void);

/* Makes sure the calling thread has its buffer (freed when the thread ends). */
void rt_strbuf_ensure(void);
int32_t rt_strbuf_pos(void);
void rt_strbuf_append(const char* text);
void rt_strbuf_close(void);
char* rt_strbuf_base(void);
void rt_strbuf_set_pos(int32_t offset);
char* rt_strbuf_at(int32_t offset);

/* Lower-level buffer access for libraries that produce strings: reserve length
 * bytes at offset (-1 = fill; fill becomes offset + length; the block may move),
 * give back count bytes from the fill position, and record / re-derive a text
 * that may lie inside the buffer across a reservation (0 = not in the buffer).
 * rt_strbuf_reserve answers where the bytes go (the offset clamped as for
 * results: take the result's offset from this pointer); NULL for a negative
 * length (nothing changes), and when memory runs out (then the empty text
 * stands at that offset and is the fill). A negative count, and a located
 * value that rt_strbuf_locate never answers (NULL), fail. */
char* rt_strbuf_reserve(int32_t length, int32_t offset);
void rt_strbuf_release(int32_t count);
int32_t rt_strbuf_locate(const char* text);
char* rt_strbuf_ptr(int32_t located);

/* Copies the temporary from start up to the fill position into *variable's own
 * block (allocated or resized) and sets the fill position back to start. When
 * memory runs out the variable keeps its block, emptied (or stays NULL). The
 * block is the caller's until rt_str_free. A NULL variable fails. */
void rt_str_assign(char** variable, int32_t start);
/* Frees a variable's block; NULL is ignored. */
void rt_str_free(char* text);
int32_t rt_str_equal(const char* a, const char* b);

int32_t rt_str_from_int(int32_t value, int32_t offset);
int32_t rt_str_from_quad(int64_t value, int32_t offset);
/* decimals -1: six decimals; otherwise at most 512. */
int32_t rt_str_from_float(float value, int32_t decimals, int32_t offset);
int32_t rt_str_left(const char* text, int32_t n, int32_t offset);
int32_t rt_str_right(const char* text, int32_t n, int32_t offset);
/* start is 1-based. */
int32_t rt_str_mid(const char* text, int32_t start, int32_t length, int32_t offset);
/* Windows-1252 lower-casing, accented letters included. */
int32_t rt_str_lower(const char* text, int32_t offset);
/* The index-th (1-based) field separated by the first byte of separator. */
int32_t rt_str_field(const char* text, int32_t index, const char* separator, int32_t offset);

int32_t rt_str_len(const char* text);
int32_t rt_str_count(const char* text, const char* pattern);
/* Decimal, "$" hexadecimal or "%" binary, optional sign; wraps in 64 bits. */
int64_t rt_str_to_quad(const char* text);

/* ------------------------------------------------------------------------
 * Element pool: fixed-size elements carved from blocks that grow with the
 * pool (a sixteenth of the slots it already has, in steps of 16, from
 * min_slots to max_slots); freed slots are reused first and a block whose
 * slots are all free goes back to the heap.
 * ---------------------------------------------------------------------- */

typedef struct rt_pool rt_pool;

/* Largest element a pool hands out. */
#define RT_POOL_MAX_ELEMENT ((1 << 30) + 64)

/* NULL for a size outside 0 .. RT_POOL_MAX_ELEMENT, a negative slot count, and
 * when memory runs out. The pool is the caller's until rt_pool_destroy. */
rt_pool* rt_pool_new(int32_t element_size, int32_t min_slots, int32_t max_slots);
/* An element of element_size bytes (contents undefined), aligned to 8, valid
 * until it is released or the pool freed; NULL when not even a block of one
 * slot can be had. */
void* rt_pool_alloc(rt_pool* pool);
/* Gives an element of this pool back (NULL fails; anything else must be one). */
void rt_pool_release(rt_pool* pool, void* element);
/* Frees every block (all elements become invalid). */
void rt_pool_free_all(rt_pool* pool);
/* rt_pool_free_all, then frees the pool. */
void rt_pool_destroy(rt_pool* pool);
/* Slots over all blocks, and the number of blocks. */
int32_t rt_pool_total_slots(const rt_pool* pool);
int32_t rt_pool_block_count(const rt_pool* pool);

/* ------------------------------------------------------------------------
 * Element lists
 *
 * A doubly linked list of fixed-size records with a cursor. The caller owns a
 * "current-element variable" (a void*) whose address is given at creation;
 * every operation that moves the cursor stores the current element's address
 * there (NULL when there is none). The record of an element lies right after
 * its two links: RT_LIST_RECORD(element). next, select and add return the
 * record address directly.
 *
 * Walk: rt_list_reset, then rt_list_next until it returns NULL; rt_list_delete
 * inside the walk removes the element just returned and the walk still visits
 * every other element exactly once.
 * ---------------------------------------------------------------------- */

typedef struct rt_list_element {
    struct rt_list_element* next;
    struct rt_list_element* previous;
    /* the record follows */
} rt_list_element;

#define RT_LIST_RECORD(element) ((void*)((char*)(element) + sizeof(rt_list_element)))

/* String-field description: entries >= 0 are byte offsets of char* fields in
 * the record; -2 is followed by count, offset, stride and a nested description
 * (a const rt_field_desc* stored as the entry) for an embedded array of
 * records; -1 ends the description. Described fields are freed with
 * rt_str_free when an element is deleted or the list cleared. */
typedef intptr_t rt_field_desc;

typedef struct rt_list {
    rt_list_element* first;
    rt_list_element* last;
    rt_list_element* current;
    void** current_var;
    int32_t count;
    int32_t index; /* position of current, meaningful while current is set */
    const rt_field_desc* string_fields;
    rt_pool* pool;
    int32_t element_size; /* record size + the two links */
    int32_t no_current;
    int32_t type_tag;
} rt_list;

/* Largest record size a list accepts. */
#define RT_LIST_MAX_RECORD (1 << 30)

/* An empty list of records of record_size bytes (0 .. RT_LIST_MAX_RECORD);
 * NULL for other sizes and when memory runs out. The list is the caller's
 * until rt_list_free; a record that next, select or add answers stays valid
 * until its element is deleted or the list cleared or freed. Every list
 * operation fails on a NULL list. */
rt_list* rt_list_new(int32_t record_size, void** current_var, const rt_field_desc* string_fields,
                     int32_t type_tag);
/* Clears and frees the list. */
void rt_list_free(rt_list* list);
void rt_list_reset(rt_list* list);
/* The next record; NULL past the last one (an answer, not a failure). */
void* rt_list_next(rt_list* list);
/* 0-based; out of range gives NULL and no current element. */
void* rt_list_select(rt_list* list, int32_t index);
/* Inserts a zero-filled element after the cursor (at the front when there is
 * no current element) and moves the cursor onto it. NULL, with the list and
 * its cursor unchanged, when the element's memory cannot be had. */
void* rt_list_add(rt_list* list);
void rt_list_delete(rt_list* list);
void rt_list_clear(rt_list* list);
int32_t rt_list_count(const rt_list* list);

/* ------------------------------------------------------------------------
 * Timing, random numbers, math
 * ---------------------------------------------------------------------- */

/* Monotonic milliseconds truncated to 32 bits: wraps; only differences count. */
uint32_t rt_ms_elapsed(void);
/* Sleeps at least ms milliseconds; 0 yields the rest of the time slice. */
void rt_delay(int32_t ms);

/* Uniform integer in 0..max inclusive (max read as unsigned); max = -1 gives a
 * raw 32-bit word. Per-thread generator, seeded automatically on first use. */
int32_t rt_random(int32_t max);
void rt_random_seed(int32_t seed);

/* NaN answers NaN, as a failure; infinities are ordinary values. */
float rt_math_atan(float x);
/* mode 1: ceil; mode 2: nearest, halves away from zero; otherwise floor.
 * NaN answers NaN, as a failure. */
float rt_math_round(float x, int32_t mode);
/* The colour red + green * 256 + blue * 65536 (0x00BBGGRR), no masking. */
uint32_t rt_rgb(int32_t red, int32_t green, int32_t blue);

#ifdef __cplusplus
}
#endif

#endif

// SPDX-License-Identifier: GPL-3.0-or-later
/* Sequential text files read and written by line, and directory listings.
 *
 * Files and listings are objects of their own tables, named by ids: -1 asks
 * for a new unique id (returned), a number n >= 0 names slot n. Texts are
 * produced in the calling thread's temporary string buffer: a text-producing
 * call writes its result at `result_offset` (-1 = the fill position) and
 * returns the offset at which the result starts.
 *
 * Paths may use "\" or "/" as separators; a name that does not exist as
 * spelled is looked up case-insensitively, component by component.
 *
 * Every function keeps the boundary rule of runtime/runtime.h: an id that
 * names no open file or listing fails (a text-producing call then answers the
 * empty text: clear rt_error first to tell a failure from an empty line). */
#ifndef ZENTARA_RT_FILES_H
#define ZENTARA_RT_FILES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Sequential files ---- */

/* Creates the file table. Start-up. */
void rt_file_init(void);

/* Opens an existing file for reading. Answers the new id for -1, a non-zero
 * value for a fixed id (keep using that id), 0 on failure (a NULL name, a
 * file that cannot be opened: then the id keeps what it named). */
int32_t rt_file_open_read(int32_t id, const char* name);

/* Opens for reading and writing, creating the file when it does not exist.
 * The contents are kept (never truncated); reading and writing start at 0. */
int32_t rt_file_open(int32_t id, const char* name);

/* Next line without its terminator (CR LF, LF or a lone CR; a NUL byte also
 * ends a line). End of file and unknown ids give the empty text. */
int32_t rt_file_read_line(int32_t file, int32_t result_offset);

/* Writes the text's bytes (none for NULL), then CR LF. Answers the bytes
 * written, 0 for an unknown id. */
int32_t rt_file_write_line(int32_t file, const char* text);

/* Flushes, closes and releases the id. An unknown id fails. */
void rt_file_close(int32_t file);

/* Closes every open file (pending writes are flushed). Program end. */
void rt_file_close_all(void);

/* The path under which `name` is found: "\\" turned into "/" and each part
 * that does not exist as spelled matched without regard to case, the way every
 * open resolves it; parts that match nothing stay as spelled. The empty text
 * for a null name (a failure). */
int32_t rt_file_resolve(const char* name, int32_t result_offset);

/* ---- Directory listing ---- */

/* The process's current directory ending in "/"; the empty text on failure. */
int32_t rt_dir_current(int32_t result_offset);

/* Starts a listing of the entries of `directory` (the current directory when
 * empty or null) whose names match `pattern` ("*" and "?" wildcards, case-
 * insensitive; "*.*" when empty or null). Entries come sorted by name.
 * Answers the new id for -1, a non-zero value for a fixed id (keep using that
 * id), or 0 when the directory cannot be read (then the id keeps what it
 * named) or the id is refused.
 * A directory where nothing matches gives an open, empty listing. */
int32_t rt_dir_open(int32_t id, const char* directory, const char* pattern);

/* Advances to the next entry: non-zero while one is available, then 0 (an
 * answer; an unknown id fails). */
int32_t rt_dir_next(int32_t listing);

/* The current entry's name; the empty text for an unknown id. */
int32_t rt_dir_entry_name(int32_t listing, int32_t result_offset);

/* Ends the listing and releases the id. An unknown id fails. */
void rt_dir_close(int32_t listing);

#ifdef __cplusplus
}
#endif

#endif

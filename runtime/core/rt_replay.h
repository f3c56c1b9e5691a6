// SPDX-License-Identifier: GPL-3.0-or-later
/* Recording a run and playing it back exactly.
 *
 * Everything the program reads from outside passes through the runtime: the
 * clock (rt_ms_elapsed), the pointer (rt_screen_mouse_x/y,
 * rt_window_mouse_x/y), the keyboard snapshots (rt_keyboard_poll), the window
 * and menu events (rt_window_event and its item and window) and the seed of
 * the random generator. While recording, each reading is written to the file
 * as it is taken, and every presented frame (rt_screen_flip) ends a record
 * that is flushed, so a run that crashes leaves a file good up to its last
 * frame. While playing back, the same readings are answered from the file and
 * the player's input is ignored, except that closing a window still arrives;
 * delays return at once (frames are paced by the screen, if at all).
 *
 * Only the thread that started the recording or the replay is served; the
 * readings of other threads go to the desktop and the clock as usual. The
 * program ends through the function set with rt_replay_set_end when a replay
 * runs out of readings; at the end of the process a summary is printed to
 * standard output: the levels noted, the frame count, the state hashes and
 * whether the replay matched (else the frame where it departed and what
 * departed first), and where a recording without its end mark stops. */
#ifndef ZENTARA_RT_REPLAY_H
#define ZENTARA_RT_REPLAY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RT_REPLAY_OFF 0
#define RT_REPLAY_RECORDING 1
#define RT_REPLAY_PLAYING 2
/* The recording stopped because its file took no more (a full disk, a removed
 * medium); the run goes on unrecorded. rt_replay_error says why. */
#define RT_REPLAY_STOPPED 3

/* Starts recording into `path` (created or emptied) and seeds the random
 * generator with `seed`. `data` holds the `count` values of the caller's data
 * that the run depends on (a replay against other values is refused). 1 when
 * recording, 0 when the file cannot be created or written (its header is
 * written and flushed here) or a session already ran (rt_replay_error says
 * why). Each presented frame flushes its record: the first flip whose record
 * cannot be written answers 0, and the recording stops (RT_REPLAY_STOPPED). */
int32_t rt_replay_record(const char* path, uint32_t seed, const int32_t* data, int32_t count);

/* Loads a whole recording and answers every reading from it from now on;
 * seeds the generator with the recorded seed. 0 when the file cannot be read,
 * is not a replay, is of another format version, is cut inside a record, or
 * was recorded against other data than the `count` values of `data`; the
 * first value that differs is named by its entry in `names` (rt_replay_error
 * says why, in one line that begins after the file's name). */
int32_t rt_replay_play(const char* path, const int32_t* data, const char* const* names,
                       int32_t count);

/* Why the last rt_replay_record or rt_replay_play failed, or why the
 * recording stopped: one line that begins after the file's name. The text
 * lives until the next failure of the session. */
const char* rt_replay_error(void);

/* RT_REPLAY_OFF, RT_REPLAY_RECORDING, RT_REPLAY_PLAYING or RT_REPLAY_STOPPED. */
int32_t rt_replay_mode(void);

/* What a replay has shown when the program ends now: RT_REPLAY_DEPARTS once a
 * frame or a reading differed from the recording, or while the recording
 * goes on past the program's end (unless the player closed the window);
 * otherwise, and when no replay was played, RT_REPLAY_MATCHES. Meant as the
 * program's exit code. */
#define RT_REPLAY_MATCHES 0
#define RT_REPLAY_DEPARTS 1
int32_t rt_replay_verdict(void);

/* Called once per presented frame, after the frame's work and before it is
 * shown: answers a hash of the program's state, which the recording keeps
 * and a replay compares. NULL: frames hash as 0. */
typedef uint32_t (*rt_replay_state_fn)(void);
void rt_replay_set_state_hash(rt_replay_state_fn state_hash);

/* How the program ends when a replay runs out of readings (it must not
 * return); NULL: exit(0). */
typedef void (*rt_replay_end_fn)(void);
void rt_replay_set_end(rt_replay_end_fn end);

/* Notes a finished level for the summary. */
void rt_replay_note_level(int32_t level, int32_t won, int32_t points);

#ifdef __cplusplus
}
#endif

#endif

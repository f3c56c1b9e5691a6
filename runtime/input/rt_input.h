// SPDX-License-Identifier: GPL-3.0-or-later
/* Keyboard and mouse.
 *
 * The keyboard is read as a per-frame snapshot: call rt_keyboard_poll once per
 * frame, then test keys. Keys are named by keyboard scan codes (physical key
 * positions): 1 escape, 2..11 digits 1..0, 16 Q, 17 W, 19 R, 25 P, 28 enter,
 * 30 A, 32 D, 49 N, 57 space; the extended keys use their E0-prefixed codes
 * (200 up, 203 left, 205 right, 208 down). -1 stands for any key. Every
 * function keeps the boundary rule of runtime/runtime.h. */
#ifndef ZENTARA_RT_INPUT_H
#define ZENTARA_RT_INPUT_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define RT_KEY_ANY (-1)
#define RT_KEY_ESCAPE 1
#define RT_KEY_Q 16
#define RT_KEY_R 19
#define RT_KEY_P 25
#define RT_KEY_ENTER 28
#define RT_KEY_A 30
#define RT_KEY_D 32
#define RT_KEY_N 49
#define RT_KEY_SPACE 57
#define RT_KEY_UP 200
#define RT_KEY_LEFT 203
#define RT_KEY_RIGHT 205
#define RT_KEY_DOWN 208

/* ---- Keyboard --------------------------------------------------------- */
/* Non-zero when the keyboard is available. */
int32_t rt_keyboard_init(void);
/* Takes the snapshot; 0 (and every key test 0) while the window hosting the
 * open screen (with no screen open: any runtime window) lacks the focus. */
int32_t rt_keyboard_poll(void);
/* 128 while the key is down in the snapshot, else 0; for -1: 1 when any key
 * 0..254 is down. A scan code outside -1 .. 255 fails (0). */
int32_t rt_key_down(int32_t scancode);
/* 1 once, on the first snapshot where a key is up after this function saw it
 * down; else 0. For -1: applies to every key 0..254. */
int32_t rt_key_released(int32_t scancode);
void rt_keyboard_end(void);

/* ---- Mouse ------------------------------------------------------------ */
int32_t rt_mouse_init(void);
void rt_mouse_end(void);
/* Pointer position in the window's client area, or -1 when the pointer is
 * outside it (either coordinate; an answer) or the id names no open window
 * (a failure). */
int32_t rt_window_mouse_x(int32_t window);
int32_t rt_window_mouse_y(int32_t window);
/* Pointer in screen (back-buffer) coordinates over the window hosting the open
 * screen, -1 when outside the screen's picture or no screen is open; identical
 * to rt_window_mouse_x/y at 1:1. */
int32_t rt_screen_mouse_x(void);
int32_t rt_screen_mouse_y(void);

/* ---- Testing and demo facility ---------------------------------------- */
/* Not used by the game itself: tests and the self-playing demo drive input
 * through these. Each sends a real platform event to the window, so it
 * travels the same route as a key press or a pointer move of the player.
 * Answer 1 when sent, 0 for an id that names no open window (or a scan code
 * outside 0..255). */
int32_t rt_input_post_key(int32_t window, int32_t scancode, int32_t down);
/* x, y in client coordinates (may lie outside the client area). */
int32_t rt_input_post_mouse_move(int32_t window, int32_t x, int32_t y);
/* x, y in the open screen's picture coordinates: the pointer goes where the
 * window shows that picture pixel, enlarged or not. 0 without a screen. */
int32_t rt_input_post_screen_mouse_move(int32_t x, int32_t y);

#ifdef __cplusplus
}
#endif

#endif

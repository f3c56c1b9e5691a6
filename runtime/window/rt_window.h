// SPDX-License-Identifier: GPL-3.0-or-later
/* Windows, the event loop, menus, the message box and the desktop table.
 *
 * Windows and menus live in object tables: pass -1 to let the runtime choose an
 * id (the game always does) or a number of your own. Ids that name nothing are
 * ignored and answer 0. Every function keeps the boundary rule of
 * runtime/runtime.h; NULL texts (titles, menu texts, message boxes) read as "".
 *
 * Window handles. rt_window_handle() gives the 32-bit platform handle of a
 * window; operations that take a handle (rt_menu_create, the screen's
 * rt_screen_open) accept it. For a window opened with -1 the handle equals the
 * window id; a window opened under a number of the caller's choosing gets a
 * distinct handle.
 *
 * All of this belongs to the thread that created the first window (the GUI
 * thread); the event state and the menu builder are kept per thread. */
#ifndef ZENTARA_RT_WINDOW_H
#define ZENTARA_RT_WINDOW_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Window flags for rt_window_open ---------------------------------- */
#define RT_WINDOW_CENTRE_SCREEN 0x00000001 /* centre on the screen */
#define RT_WINDOW_CENTRE_PARENT 0x00000002 /* centre on the active window */
#define RT_WINDOW_TOOL 0x00000004          /* tool window: no min/max boxes */
#define RT_WINDOW_NO_GADGETS 0x00000008    /* no control list */
#define RT_WINDOW_MAXIMIZEBOX 0x00010000
#define RT_WINDOW_MINIMIZEBOX 0x00020000
#define RT_WINDOW_SIZEBORDER 0x00040000
#define RT_WINDOW_SYSMENU 0x00080000
#define RT_WINDOW_CAPTION 0x00C00000
#define RT_WINDOW_MAXIMIZED 0x01000000 /* shown maximized */
#define RT_WINDOW_INVISIBLE 0x10000000 /* created but never shown */
#define RT_WINDOW_MINIMIZED 0x20000000 /* shown minimized */

/* A position or size argument of this value keeps its current value. */
#define RT_WINDOW_KEEP (-65535)

/* ---- Event codes returned by rt_window_event ---------------------------- */
#define RT_EVENT_NONE 0
#define RT_EVENT_MOVE 3
#define RT_EVENT_SIZE 5
#define RT_EVENT_REPAINT 15
#define RT_EVENT_CLOSE 16
#define RT_EVENT_GADGET 13100
#define RT_EVENT_MENU 13101
#define RT_EVENT_ACTIVATE 13104
#define RT_EVENT_MINIMIZE 13107
#define RT_EVENT_MAXIMIZE 13108
#define RT_EVENT_RESTORE 13109
#define RT_EVENT_TIMER 13110
/* Raw message numbers of input that produces no numbered event. */
#define RT_EVENT_KEYDOWN 256
#define RT_EVENT_KEYUP 257
#define RT_EVENT_MOUSEMOVE 512
#define RT_EVENT_LBUTTONDOWN 513
#define RT_EVENT_LBUTTONUP 514
#define RT_EVENT_RBUTTONDOWN 516
#define RT_EVENT_RBUTTONUP 517

/* Button id answered by rt_message_box (its only button, OK). */
#define RT_MESSAGE_BOX_OK 1

/* ---- Start-up and shutdown -------------------------------------------- */
void rt_window_init(void);
void rt_com_init(void);
void rt_gadget_init(void);
void rt_gadget_end(void);

/* ---- Windows ---------------------------------------------------------- */
/* Opens a top-level window whose client area (below the menu bar) is
 * width x height (each 0 .. 65536). Result: the new id for -1, the window
 * handle for a number, 0 on failure. */
int32_t rt_window_open(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                       const char* title, int32_t flags);
int32_t rt_window_handle(int32_t window);
/* Moves and sizes the window (client size, 0 .. 65536); RT_WINDOW_KEEP keeps
 * a value. Non-zero on success, 0 for an id that names no window or another
 * size. */
int32_t rt_window_resize(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height);
/* Switches the window between full screen and its previous state; 1 now full
 * screen, 0 back in its previous state, -1 for an id that names no open window
 * or a window without a maximize box. */
int32_t rt_window_toggle_fullscreen(int32_t window);
void rt_window_close(int32_t window);
void rt_window_close_all(void);

/* ---- Events ----------------------------------------------------------- *
 * A window destroyed by anything but rt_window_close (the window manager,
 * another program) keeps reporting RT_EVENT_CLOSE until the program closes it. */
/* Next event code: timeout -1 waits without limit, 0 polls, n > 0 waits at
 * most n ms. 0 means no event came (an answer; nothing is then recorded), or a
 * timeout below -1 (a failure). */
int32_t rt_window_event(int32_t timeout_ms);
int32_t rt_window_event_wait(void);
int32_t rt_window_event_poll(void);
/* Item (menu command id, control id, timer id) and window of the event last
 * returned. */
int32_t rt_event_item(void);
int32_t rt_event_window(void);

/* Writes "title: text" to stderr, then shows a modal box with an OK button
 * when there is a display (not on the offscreen platform, nor without a
 * display server to reach); answers RT_MESSAGE_BOX_OK. */
int32_t rt_message_box(const char* title, const char* text);

/* Makes sure the process's hidden helper window exists; 1 when it does. */
int32_t rt_hidden_window_ensure(void);

/* ---- Menus ------------------------------------------------------------ */
void rt_menu_init(void);
/* Empty menu bar for the window with that handle (or id); it becomes the menu
 * under construction. Result: new id for -1, menu handle for a number, 0 on
 * failure (a handle that names no window, a refused id). The builder calls
 * below fail while no menu is under construction. */
int32_t rt_menu_create(int32_t id, int32_t window_handle);
/* Adds a title (a popup) to the bar, whatever popup is open. */
void rt_menu_title(const char* text);
void rt_menu_submenu_open(const char* text);
void rt_menu_submenu_close(void);
void rt_menu_item(int32_t command_id, const char* text);
/* The item operations fail for a menu id that names no menu and a command id
 * that names no item of it. */
void rt_menu_item_disable(int32_t menu, int32_t command_id, int32_t state);
int32_t rt_menu_item_state(int32_t menu, int32_t command_id);
void rt_menu_item_set_state(int32_t menu, int32_t command_id, int32_t state);
void rt_menu_free(int32_t menu);

/* ---- Desktop table ---------------------------------------------------- */
/* Rebuilds the table of desktops (entry 0 is the primary one); answers the
 * count. Width and height answer 0 for an index outside the table (a
 * failure). */
int32_t rt_desktop_examine(void);
int32_t rt_desktop_width(int32_t index);
int32_t rt_desktop_height(int32_t index);
void rt_desktop_free(void);

/* ---- Testing and demo facility ---------------------------------------- */
/* Not used by the game itself: lets tests and the self-playing demo choose a
 * menu item as a player would. Triggers the item with that command id in the
 * window's menu bar through the platform, so it arrives as event 13101 by the
 * same route as a click. 1 when the item exists and is enabled, else 0. */
int32_t rt_window_post_menu(int32_t window, int32_t command_id);

#ifdef __cplusplus
}
#endif

#endif

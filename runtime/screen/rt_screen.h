// SPDX-License-Identifier: GPL-3.0-or-later
/* Screen, sprites, sprite collision and rotated sprites.
 *
 * The screen is a back buffer of fixed size shown in a child widget of a
 * runtime window. Sprites are 32-bit images with per-pixel alpha drawn onto the
 * back buffer at integer positions; rotated sprites show a sprite's pixels
 * turned about its centre. Colours are 0x00BBGGRR (red in the low byte).
 * Every function keeps the boundary rule of runtime/runtime.h: an id that
 * names no sprite or rotated sprite answers 0 (or nothing happens). */
#ifndef ZENTARA_RT_SCREEN_H
#define ZENTARA_RT_SCREEN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Screen ------------------------------------------------------------ */

/* Creates the sprite table. 1 on success, 0 when already initialised (a
 * failure). */
int32_t rt_screen_init(void);
/* Opens the screen as a child of the window's client area at (x, y), with a
 * back buffer of width x height pixels. With auto_stretch the child widget
 * follows the client area's size minus the margins and the frame is scaled
 * into it. Closes any open screen first (freeing every sprite). 1, or 0 for a
 * window id or handle that names no window or a size below 1 or above 2^29
 * pixels (refused before anything closes). */
int32_t rt_screen_open(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                       int32_t auto_stretch, int32_t right_margin, int32_t bottom_margin);
/* Paces every flip to a period of 1 / (fps + 1) s; 0 (or negative) = no pacing. */
int32_t rt_screen_frame_rate(int32_t fps);
/* Fills the whole back buffer with the colour (0x00BBGGRR). */
void rt_screen_clear(uint32_t colour);
/* Presents the back buffer and paces. 1; 0 when a recording runs and this
 * frame's record could not be written (the recording stops, see rt_replay.h;
 * the frame is still shown). */
int32_t rt_screen_flip(void);
/* Closes the open screen; frees every sprite. */
void rt_screen_close(void);
/* Closes the screen and ends the screen library. */
void rt_screen_shutdown(void);
/* Kept for the program's exit sequence; does nothing. */
void rt_screen_cleanup_hook(void);

/* Screen size in pixels; 0 while no screen is open. */
int32_t rt_screen_width(void);
int32_t rt_screen_height(void);

/* Scene and render-state services shared by sprites, rotated sprites and
 * drawing passes. The "scene" is the painter that draws sprites onto the back
 * buffer: opened by the first sprite draw of a frame, closed by the flip, by a
 * drawing pass on the screen and by reading the back buffer. */
int32_t rt_scene_begin(void);
void rt_scene_end(void);
/* Blend set-ups: (1, 2, 1, fvf) = opaque copy; (1, 5, 6, fvf) = source alpha
 * over. Values equal to the cached ones cost nothing. */
void rt_render_state_set(int32_t alpha_blend_enable, int32_t source_blend,
                         int32_t destination_blend, int32_t vertex_format);
/* Restores the plain sprite set-up (no transform, no opacity). */
void rt_screen_texture_states(void);

/* Testing and demo facility: writes the back buffer (what the last flip showed,
 * or the frame being drawn) to a PNG file. 1 on success; 0 for a NULL path,
 * no open screen or a file that cannot be written. */
int32_t rt_screen_save_png(const char* path);
/* Testing and demo facility: number of flips of open screens so far. */
int64_t rt_screen_flip_count(void);

/* ---- Sprites ----------------------------------------------------------- */

/* Sprite flags. */
#define RT_SPRITE_TEXTURE 4 /* may be shown by rotated sprites */
#define RT_SPRITE_ALPHA 8   /* keep the image's own alpha (needs RT_SPRITE_TEXTURE) */

/* Loading, creating, copying and grabbing take an id: -1 for a new sprite whose
 * handle is returned, or a slot number (0 .. RT_TABLE_MAX_ID) that is returned.
 * 0 = failure: the file, data, flags, size (negative, or above 2^29 pixels)
 * or rectangle is refused, or the pixels' memory cannot be had; then no sprite
 * is left under the id. The flags value 2 exactly is refused by loads, copies
 * (unless the source has it) and grabs. Files above 2^31 - 1 bytes are
 * refused unread. */
int32_t rt_sprite_load(int32_t id, const char* file_name);
int32_t rt_sprite_load_flags(int32_t id, const char* file_name, int32_t flags);
/* Loads a sprite from an image file held in memory. */
int32_t rt_sprite_load_memory(int32_t id, const void* data, int32_t length, int32_t flags);
int32_t rt_sprite_create(int32_t id, int32_t width, int32_t height);
int32_t rt_sprite_create_flags(int32_t id, int32_t width, int32_t height, int32_t flags);
int32_t rt_sprite_copy(int32_t source, int32_t id);
int32_t rt_sprite_copy_flags(int32_t source, int32_t id, int32_t flags);
int32_t rt_sprite_grab(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
int32_t rt_sprite_grab_flags(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t flags);
void rt_sprite_free(int32_t sprite);
/* Size in pixels and the flags the sprite was made with; 0 for a handle that
 * names no sprite. */
int32_t rt_sprite_width(int32_t sprite);
int32_t rt_sprite_height(int32_t sprite);
int32_t rt_sprite_flags(int32_t sprite);

/* Draws with the sprite's top-left pixel at (x, y). Nonzero when something was
 * drawn; 0 for a sprite off the screen (an answer) or a failure (no such
 * sprite, no screen open). draw: opaque (alpha ignored); keyed: blended by
 * alpha; alpha: blended by alpha x (opacity & 0xFF) / 255. Every write to the
 * sprite's pixels (a pass, a lock, open or ended) shows in the next draw. */
int32_t rt_sprite_draw(int32_t sprite, int32_t x, int32_t y);
int32_t rt_sprite_draw_keyed(int32_t sprite, int32_t x, int32_t y);
int32_t rt_sprite_draw_alpha(int32_t sprite, int32_t x, int32_t y, int32_t opacity);

/* 1 when the bounding rectangles of the two placed sprites share a pixel; 0
 * when they do not (an answer) or a handle names no sprite (a failure). */
int32_t rt_sprite_collide(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2,
                          int32_t y2);

/* Pixel-store services used by the drawing library. A pixel store holds
 * 0xAARRGGBB pixels (bytes blue, green, red, alpha). "GDI access" is painting
 * on the store with a 2D painter; when a modifying access ends, the store's
 * transparent colour is applied again. Direct access (lock) bypasses it. */
typedef struct rt_sprite_pixels rt_sprite_pixels;
/* The pixel store of a sprite, or NULL. The pointer is good while the sprite
 * lives: once it is freed (rt_sprite_free, a load, create, copy or grab under
 * its id, the screen's close) every function below fails for it, checked by
 * address without touching it (a later sprite's store may come to live at the
 * same address and then answers for itself). */
rt_sprite_pixels* rt_sprite_pixels_of(int32_t sprite);
/* Opens painting access; answers the painter (a QPainter*, good until the
 * access ends: rt_sprite_gdi_end, a lock, the sprite's free) or NULL. */
void* rt_sprite_gdi_begin(rt_sprite_pixels* pixels);
/* Ends painting access; after a modifying access (read_only 0) the transparent
 * colour is applied (white while none has been applied yet). Fails when no
 * painting access is open. */
void rt_sprite_gdi_end(rt_sprite_pixels* pixels, int32_t read_only);
/* Direct access to the pixels: answers the first row and stores the row pitch
 * in bytes (0 on failure). Painting access is closed first. The pixels are the
 * store's own (shared ones are copied first), so not even a read-only pointer
 * reaches another sprite's pixels, and they may be written whatever read_only
 * says: every write shows in the sprite's next draw. The pointer is good until
 * rt_sprite_unlock, painting access, or the pixels' replacement (a load, copy
 * or grab into the sprite, its free). */
void* rt_sprite_lock(rt_sprite_pixels* pixels, int32_t read_only, int32_t* pitch);
/* Ends direct access; fails when none is open. */
void rt_sprite_unlock(rt_sprite_pixels* pixels);
/* Makes every pixel of the colour (0x00BBGGRR) transparent and every other
 * pixel opaque; skipped when that colour is already applied. */
void rt_sprite_apply_transparent_colour(rt_sprite_pixels* pixels, uint32_t colour);
int32_t rt_sprite_pixels_width(const rt_sprite_pixels* pixels);
int32_t rt_sprite_pixels_height(const rt_sprite_pixels* pixels);

/* ---- Rotated sprites --------------------------------------------------- */

int32_t rt_sprite3d_init(void);
/* A rotated sprite showing the pixels of a sprite made with flag 4: its handle
 * (id -1) or the id; 0 otherwise. */
int32_t rt_sprite3d_create(int32_t id, int32_t sprite);
/* Turns by (relative != 0) or to (relative == 0) the angle in degrees;
 * positive angles turn clockwise on the screen. A NaN or infinite angle (or a
 * turn that ends at one) fails and leaves the angle as it was. */
void rt_sprite3d_rotate(int32_t sprite3d, float degrees, int32_t relative);
/* Begins the rotated-sprite mode for this frame (opening the scene): 1, or 0
 * when no screen is open. */
int32_t rt_sprite3d_begin(void);
/* Ends the mode, restoring the plain set-up; nothing when it is not begun. */
void rt_sprite3d_end(void);
/* Draws with the unrotated top-left corner at (x, y), fully opaque or with
 * opacity (opacity & 0xFF) / 255. 1 when the quad was sent (also when it is
 * invisible), 0 for a handle that names nothing or without a screen. The
 * painter is left as it was, so plain sprite draws may follow at once. */
int32_t rt_sprite3d_draw(int32_t sprite3d, int32_t x, int32_t y);
int32_t rt_sprite3d_draw_alpha(int32_t sprite3d, int32_t x, int32_t y, int32_t opacity);
void rt_sprite3d_free(int32_t sprite3d);
void rt_sprite3d_free_all(void);
/* Current angle in radians; 0 for a handle that names nothing (a failure). */
float rt_sprite3d_angle(int32_t sprite3d);

#ifdef __cplusplus
}
#endif

#endif

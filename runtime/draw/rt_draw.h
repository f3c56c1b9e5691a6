// SPDX-License-Identifier: GPL-3.0-or-later
/* Drawing passes (text, shapes and single pixels on the back buffer or on a
 * sprite), fonts, the drawing image table and alpha-blend support.
 *
 * A pass runs: target = rt_screen_output() or rt_sprite_output(sprite);
 * rt_draw_start(target); primitives; rt_draw_stop(). The pass belongs to the
 * calling thread. Colours are 0x00BBGGRR (red in the low byte). Every function
 * keeps the boundary rule of runtime/runtime.h; a primitive without a running
 * pass fails (it answers as stated below, and nothing is drawn). Positions and
 * the signed sizes of shapes may be anything: what lies outside the target is
 * clipped. */
#ifndef ZENTARA_RT_DRAW_H
#define ZENTARA_RT_DRAW_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* A drawing target made by rt_screen_output or rt_sprite_output. */
typedef struct rt_draw_state rt_draw_state;

/* Drawing mode bits. */
#define RT_DRAW_TRANSPARENT 1 /* text cells keep what is behind the letters */
#define RT_DRAW_INVERT 2      /* shapes invert what they cover */
#define RT_DRAW_OUTLINE 4     /* shapes are not filled */

/* Start-up: forgets the calling thread's drawing state. */
void rt_draw_init(void);
/* Targets; NULL when no screen is open / the handle names no sprite. The
 * pointer is the thread's current target until rt_draw_stop, a failed
 * rt_draw_start or the thread's next target; it is only ever compared, never
 * read, after that. A pass whose target goes away (the screen closes, the
 * sprite's pixels are replaced by a grab or a load into its id) draws nothing
 * more; its stop is safe. */
rt_draw_state* rt_screen_output(void);
rt_draw_state* rt_sprite_output(int32_t sprite);
/* Starts the pass on the target the thread's last rt_screen_output or
 * rt_sprite_output made. 1, or 0 for NULL, any other pointer (nothing is
 * dropped then) or a target that went away or cannot be painted (which is
 * dropped). */
int32_t rt_draw_start(rt_draw_state* target);
/* Ends the current pass; on a sprite the transparent colour is applied again. */
void rt_draw_stop(void);

/* Text with its cell's top-left corner at (x, y); answers the x in pixels just
 * after it (x itself for an empty text, and for a failure: a NULL text, no
 * pass). The background is black unless given. */
int32_t rt_draw_text(int32_t x, int32_t y, const char* text, uint32_t front_colour);
int32_t rt_draw_text_colours(int32_t x, int32_t y, const char* text, uint32_t front_colour,
                             uint32_t back_colour);
/* Filled box of columns x .. x + width - 1 and rows y .. y + height - 1
 * (negative sizes extend left or up; 1 or -1 by 1 or -1 is one pixel). */
void rt_draw_box(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);
/* One pixel written straight into the target, fully opaque. */
void rt_draw_plot(int32_t x, int32_t y, uint32_t colour);
/* Selects a font (rt_font_handle), or -1 for the system font; a handle that
 * names no font fails and selects nothing. */
void rt_draw_font(int32_t font_handle);
void rt_draw_mode(int32_t mode);

/* Further primitives of the current pass, drawn in the front colour. */
void rt_draw_front_colour(uint32_t colour);
void rt_draw_back_colour(uint32_t colour);
void rt_draw_round_box(int32_t x, int32_t y, int32_t width, int32_t height, int32_t radius_x,
                       int32_t radius_y);
void rt_draw_circle(int32_t x, int32_t y, int32_t radius);
void rt_draw_ellipse(int32_t x, int32_t y, int32_t radius_x, int32_t radius_y);
void rt_draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
/* Flood fill from (x, y) up to the border colour, or over the colour found at
 * (x, y) when border_colour is RT_DRAW_FILL_SURFACE. */
#define RT_DRAW_FILL_SURFACE 0xFFFFFFFFu
void rt_draw_fill(int32_t x, int32_t y, uint32_t border_colour);
void rt_draw_plot_front(int32_t x, int32_t y);
/* Colour (0x00BBGGRR) of a pixel; -1 outside the target (an answer) or
 * without a pass (a failure). */
int32_t rt_draw_point(int32_t x, int32_t y);
/* Text turned by the angle (degrees, anticlockwise as the letters' baseline
 * rises), drawn with a transparent background. A NULL text or a NaN or
 * infinite angle fails. */
void rt_draw_text_rotated(int32_t x, int32_t y, const char* text, float angle);
/* Width (with the italic overhang) and height in pixels of the text in the
 * selected font, both >= 0; 0 for an empty text, and for a failure (a NULL
 * text, no pass). */
int32_t rt_draw_text_width(const char* text);
int32_t rt_draw_text_height(const char* text);
/* Direct access to the target's pixels (locks it): the first row, NULL
 * without a pass; the row pitch in bytes (0 without a pass); the format code
 * (64 = 32-bit 0xFFRRGGBB pixels, 0 without a pass). The pointer is good until
 * the pass paints through its painter again (text, shapes, fills, images),
 * stops, or loses its target; on a sprite, every write shows in the sprite's
 * next draw. */
void* rt_draw_buffer(void);
int32_t rt_draw_buffer_pitch(void);
int32_t rt_draw_buffer_format(void);

/* Images of the drawing image table, made by grabbing and drawn by the current
 * pass. Ids are -1 (a new image whose handle is answered) or slot numbers. */

/* Grabs the rectangle (x, y, width, height) of the pass's target into an image
 * (what lies outside the target grabs as black). From a sprite the image keeps
 * the sprite's transparency (its transparent colour's pixels see-through);
 * from the screen it is opaque. Answers the handle or slot number; 0 without
 * a pass, for a size below 1 or above 2^29 pixels, a refused id or when
 * memory runs out. */
int32_t rt_draw_grab_image(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height);
/* Draws the image's colours with its top-left corner at (x, y); in invert mode
 * each pixel becomes NOT (image OR target). An id that names no image fails. */
void rt_draw_image(int32_t image, int32_t x, int32_t y);
/* As rt_draw_image, stretched smoothly to width x height (0 x 0: natural
 * size; any other size below 1, or above 2^29 pixels, fails). */
void rt_draw_image_sized(int32_t image, int32_t x, int32_t y, int32_t width, int32_t height);
/* Blends the image over the target with opacity (opacity & 0xFF) / 255: an
 * image with its own alpha is blended by that alpha times the opacity; 255
 * copies an opaque image, 0 leaves the target as it is. */
void rt_draw_image_alpha(int32_t image, int32_t x, int32_t y, int32_t opacity);

/* Makes the image table (start-up). */
void rt_image_init(void);
/* Frees an image; an id that names no image fails. */
void rt_image_free(int32_t image);
/* Frees every image (program end). */
void rt_image_free_all(void);
/* 1 and the image's size in pixels; 0 and a size of 0 x 0 for an unknown id.
 * Either pointer may be NULL. */
int32_t rt_image_size(int32_t image, int32_t* width, int32_t* height);
/* Start-up and end of the blending support; always available here (1). */
int32_t rt_alphablend_init(void);
void rt_alphablend_shutdown(void);

/* ---- Fonts ------------------------------------------------------------- */

#define RT_FONT_UNDERLINE 4
#define RT_FONT_STRIKEOUT 8
#define RT_FONT_QUALITY 16
#define RT_FONT_BOLD 0x100
#define RT_FONT_ITALIC 0x200

void rt_font_init(void);
/* Loads a face at a size in points (0 .. 2^20). For id -1 answers the new font
 * object's handle; for a slot number the font's native handle (as
 * rt_font_handle); 0 for a NULL face, another size or a refused id. A face
 * that is not installed is replaced by a similar one. */
int32_t rt_font_load(int32_t id, const char* face, int32_t points, int32_t flags);
/* The native font handle for rt_draw_font (non-zero); 0 for a handle that
 * names no font. */
int32_t rt_font_handle(int32_t font);
void rt_font_free(int32_t font);
void rt_font_free_all(void);
/* The font height a load of this size asks for, as the negative pixel count
 * -(points x dpi / 72) rounded (negative: a character height, not a cell
 * height); its magnitude is the letters' height in pixels. 0 for points
 * outside 0 .. 2^20 (a failure). */
int32_t rt_font_pixel_height(int32_t points);

#ifdef __cplusplus
}
#endif

#endif

/* Drawing passes (text, shapes and single pixels on the back buffer or on a
 * sprite), fonts, the drawing image table and alpha-blend support.
 *
 * A pass runs: target = rt_screen_output() or rt_sprite_output(sprite);
 * rt_draw_start(target); primitives; rt_draw_stop(). The pass belongs to the
 * calling thread. Colours are 0x00BBGGRR (red in the low byte). */
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

void rt_draw_init(void);
/* Targets; NULL when no screen is open / the handle names no sprite. */
rt_draw_state* rt_screen_output(void);
rt_draw_state* rt_sprite_output(int32_t sprite);
/* Starts the pass on the target (which becomes the thread's current one).
 * 1 or 0; a failed start drops the target. */
int32_t rt_draw_start(rt_draw_state* target);
/* Ends the current pass; on a sprite the transparent colour is applied again. */
void rt_draw_stop(void);

/* Text with its cell's top-left corner at (x, y); answers the x after it. The
 * background is black unless given. */
int32_t rt_draw_text(int32_t x, int32_t y, const char* text, uint32_t front_colour);
int32_t rt_draw_text_colours(int32_t x, int32_t y, const char* text, uint32_t front_colour,
                             uint32_t back_colour);
/* Filled box of columns x .. x + width - 1 and rows y .. y + height - 1
 * (negative sizes extend left or up; 1 or -1 by 1 or -1 is one pixel). */
void rt_draw_box(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour);
/* One pixel written straight into the target, fully opaque. */
void rt_draw_plot(int32_t x, int32_t y, uint32_t colour);
/* Selects a font (rt_font_handle), or -1 for the system font. */
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
 * (x, y) when border_colour is -1. */
void rt_draw_fill(int32_t x, int32_t y, int32_t border_colour);
void rt_draw_plot_front(int32_t x, int32_t y);
/* Colour (0x00BBGGRR) of a pixel; -1 outside the target or without a pass. */
int32_t rt_draw_point(int32_t x, int32_t y);
/* Text turned by the angle (degrees, anticlockwise as the letters' baseline
 * rises), drawn with a transparent background. */
void rt_draw_text_rotated(int32_t x, int32_t y, const char* text, float angle);
int32_t rt_draw_text_width(const char* text);
int32_t rt_draw_text_height(const char* text);
/* Direct access to the target's pixels (locks it); format code 64 = 32-bit. */
void* rt_draw_buffer(void);
int32_t rt_draw_buffer_pitch(void);
int32_t rt_draw_buffer_format(void);

/* ---- Drawing image table and alpha-blend support ----------------------- */

void rt_image_init(void);
void rt_image_free_all(void);
int32_t rt_alphablend_init(void);
void rt_alphablend_shutdown(void);

/* ---- Fonts ------------------------------------------------------------- */

#define RT_FONT_UNDERLINE 4
#define RT_FONT_STRIKEOUT 8
#define RT_FONT_QUALITY 16
#define RT_FONT_BOLD 0x100
#define RT_FONT_ITALIC 0x200

void rt_font_init(void);
/* Loads a face at a size in points. For id -1 answers the new font object's
 * handle; for a slot number the font's native handle (as rt_font_handle). A
 * face that is not installed is replaced by a similar one. */
int32_t rt_font_load(int32_t id, const char* face, int32_t points, int32_t flags);
/* The native font handle for rt_draw_font; 0 for a handle that names no font. */
int32_t rt_font_handle(int32_t font);
void rt_font_free(int32_t font);
void rt_font_free_all(void);
/* Character height in pixels that a load of this size asks for. */
int32_t rt_font_pixel_height(int32_t points);

#ifdef __cplusplus
}
#endif

#endif

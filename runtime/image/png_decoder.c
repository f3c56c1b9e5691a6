// SPDX-License-Identifier: GPL-3.0-or-later
/* The PNG decoder, built on libpng. Written in C on purpose: libpng reports
 * errors by a long jump back into these functions, which is only safe where
 * no object with a destructor can be skipped over.
 *
 * Output is always 8 bits per channel in blue, green, red (, alpha) order:
 * palettes are expanded (a transparency chunk becomes an alpha channel), grey
 * becomes RGB, 16-bit samples keep their high byte. */
#include <png.h>
#include <setjmp.h>
#include <string.h>

#include "runtime/image/decoder_internal.h"
#include "runtime/image/rt_image.h"

/* Decoder-private fields of the state. */
#define PNG_STRUCT(state) ((png_structp)(state)->private_ptr[0])
#define PNG_INFO(state) ((png_infop)(state)->private_ptr[1])
#define READ_POS private_int[0]
#define COLOUR_TYPE private_int[1]
#define BIT_DEPTH private_int[2]
#define PASSES private_int[3]

static void release(rt_decode_state* state) {
    png_structp png = PNG_STRUCT(state);
    png_infop info = PNG_INFO(state);
    if (png) png_destroy_read_struct(&png, info ? &info : NULL, NULL);
    state->private_ptr[0] = NULL;
    state->private_ptr[1] = NULL;
}

/* Hands libpng the next bytes of the data in memory; asking for more than is
 * left is an error, so that truncated files fail instead of reading past the
 * end. */
static void read_from_memory(png_structp png, png_bytep out, size_t length) {
    rt_decode_state* state = (rt_decode_state*)png_get_io_ptr(png);
    const int64_t left = (int64_t)state->data_length - state->READ_POS;
    if (left < 0 || (uint64_t)length > (uint64_t)left) png_error(png, "PNG data ends early");
    memcpy(out, state->data + state->READ_POS, length);
    state->READ_POS += (int64_t)length;
}

/* A damaged picture is reported by the load's result, not on the terminal:
 * libpng's own handlers would print every error and warning to stderr. */
static void quiet_error(png_structp png, png_const_charp message) {
    (void)message;
    png_longjmp(png, 1);
}

static void quiet_warning(png_structp png, png_const_charp message) {
    (void)png;
    (void)message;
}

static int32_t png_check(rt_decode_state* state) {
    if (state->data_length < 8 || png_sig_cmp(state->data, 0, 8) != 0) return 0;
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, quiet_error, quiet_warning);
    if (!png) return 0;
    state->private_ptr[0] = png;
    state->private_ptr[1] = NULL;
    state->READ_POS = 0;
    /* Everything the error path needs lives in the state, not in locals that
     * the long jump could leave stale. */
    if (setjmp(png_jmpbuf(png))) {
        release(state);
        return 0;
    }
    png_set_read_fn(png, state, read_from_memory);
    state->private_ptr[1] = png_create_info_struct(png);
    if (!state->private_ptr[1]) {
        release(state);
        return 0;
    }
    png_infop info = PNG_INFO(state);
    png_read_info(png, info);

    const int colour_type = png_get_color_type(png, info);
    const int bit_depth = png_get_bit_depth(png, info);
    if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_expand(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY || colour_type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        if (bit_depth < 8) png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    /* libpng takes every transformation before its row set-up, so the ones
     * decoding needs are chosen here as well. */
    if (bit_depth == 16) png_set_strip_16(png);
    png_set_bgr(png);
    state->PASSES = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    state->width = (int32_t)png_get_image_width(png, info);
    state->height = (int32_t)png_get_image_height(png, info);
    state->COLOUR_TYPE = png_get_color_type(png, info);
    state->BIT_DEPTH = png_get_bit_depth(png, info);
    state->depth = state->COLOUR_TYPE == PNG_COLOR_TYPE_RGB ? 24 : 32;
    if (png_get_image_width(png, info) > INT32_MAX || png_get_image_height(png, info) > INT32_MAX ||
        png_get_rowbytes(png, info) != (size_t)state->width * (size_t)(state->depth / 8)) {
        release(state);
        return 0;
    }
    return 1;
}

static int32_t png_decode(rt_decode_state* state, void* buffer, int32_t pitch, int32_t flags) {
    png_structp png = PNG_STRUCT(state);
    if (!png) return 0;
    if (setjmp(png_jmpbuf(png))) return 0;
    unsigned char* const first = (unsigned char*)buffer;
    const int bottom_up = (flags & RT_IMAGE_BOTTOM_UP) != 0;
    for (int64_t pass = 0; pass < state->PASSES; ++pass) {
        for (int32_t y = 0; y < state->height; ++y) {
            const int64_t row = bottom_up ? (int64_t)state->height - 1 - y : y;
            png_bytep target = first + row * pitch;
            png_read_rows(png, &target, NULL, 1);
        }
    }
    /* The rest of the file (text and time chunks) is of no interest. */
    return 1;
}

static void png_close(rt_decode_state* state) {
    release(state);
}

static const rt_image_decoder png_decoder = {png_check, png_decode, png_close};

const rt_image_decoder* rt_png_decoder(void) {
    return &png_decoder;
}

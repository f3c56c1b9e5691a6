// SPDX-License-Identifier: GPL-3.0-or-later
/* Image decoding: a registry of decoders that recognise image data held in
 * memory and turn it into rows of pixels. The runtime registers a BMP decoder
 * and a PNG decoder; BMP is tried first.
 *
 * Use: rt_image_recognise(data, length); read rt_image_width/height/depth;
 * allocate height rows of at least width * depth / 8 bytes; then
 * rt_image_decode(buffer, pitch, flags). Output pixels are blue, green, red
 * (depth 24) or blue, green, red, alpha (depth 32). The state is per thread.
 * Every function keeps the boundary rule of runtime/runtime.h. */
#ifndef ZENTARA_RT_IMAGE_H
#define ZENTARA_RT_IMAGE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* rt_image_decode flag: the last image row comes first in the buffer. */
#define RT_IMAGE_BOTTOM_UP 2

struct rt_image_decoder;

/* What a decoder knows about the data it is looking at. One per thread,
 * cleared whenever recognition starts. */
typedef struct rt_decode_state {
    const struct rt_image_decoder* decoder; /* the decoder that recognised the data */
    const uint8_t* data;
    int32_t data_length;
    int32_t width;
    int32_t height;
    int32_t depth; /* 24 or 32 bits per output pixel */
    /* Decoder-private: whatever `check` keeps for `decode` and `close`. */
    void* private_ptr[2];
    int64_t private_int[4];
} rt_decode_state;

typedef struct rt_image_decoder {
    /* Non-zero when the data is recognised; then width, height and depth are
     * filled in. */
    int32_t (*check)(rt_decode_state* state);
    /* Writes height rows of width pixels, pitch bytes apart. 1 on success. */
    int32_t (*decode)(rt_decode_state* state, void* buffer, int32_t pitch, int32_t flags);
    /* Releases what check kept. */
    void (*close)(rt_decode_state* state);
} rt_image_decoder;

/* Empties the registry and resets the calling thread's state. Start-up. */
void rt_image_decoder_init(void);

/* Appends a decoder (room for 30; a NULL decoder or a 31st fails). The
 * decoder must live as long as the registry uses it. */
void rt_image_decoder_register(const rt_image_decoder* decoder);

/* Registers the built-in BMP decoder. Start-up. */
void rt_bmp_decoder_register(void);

/* Registers the PNG decoder; a second call does nothing. Start-up. */
void rt_png_decoder_register(void);

/* 1 when a registered decoder recognises the data; 0 for NULL data, a length
 * below 1, data no decoder knows and a picture too large for a 32-bit signed
 * size. The data must stay put until the decode. */
int32_t rt_image_recognise(const void* data, int32_t length);

/* Size and depth of the last recognised image on this thread. */
int32_t rt_image_width(void);
int32_t rt_image_height(void);
int32_t rt_image_depth(void);

/* Decodes the recognised image into buffer (flags: RT_IMAGE_BOTTOM_UP) and
 * releases the decoder's state. 1 on success; 0 when nothing was recognised,
 * for a NULL buffer, a pitch shorter than a row and damaged data. */
int32_t rt_image_decode(void* buffer, int32_t pitch, int32_t flags);

#ifdef __cplusplus
}
#endif

#endif

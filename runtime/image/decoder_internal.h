// SPDX-License-Identifier: GPL-3.0-or-later
/* Internal to the image library (C and C++): shared by the registry and the
 * built-in decoders. */
#ifndef ZENTARA_IMAGE_DECODER_INTERNAL_H
#define ZENTARA_IMAGE_DECODER_INTERNAL_H

#include "runtime/image/rt_image.h"

#ifdef __cplusplus
extern "C" {
#endif

/* 1 when the decoder is already in the registry. */
int32_t rt_image_decoder_is_registered(const rt_image_decoder* decoder);

/* Bytes of one output row of the recognised image, or 0 when its size is not
 * one the runtime accepts (width or height below 1, or a pixel buffer of
 * width x height x 4 bytes that would not fit a 32-bit signed size). */
int32_t rt_image_row_bytes(const rt_decode_state* state);

/* The built-in decoders. */
const rt_image_decoder* rt_bmp_decoder(void);
const rt_image_decoder* rt_png_decoder(void);

/* Lets the decoder of the calling thread's recognised image release what it
 * kept, as a decode does, without decoding. */
void rt_image_state_release(void);

#ifdef __cplusplus
}
#endif

#endif

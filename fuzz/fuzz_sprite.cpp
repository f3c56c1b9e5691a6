// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files loaded as sprites from memory, with the flag combinations the
// game uses (plain, texture, texture keeping the image's alpha). The sprite
// table lives without a screen: loading needs only the table and QImage.
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_common.h"
#include "runtime/core/rt_core.h"
#include "runtime/image/rt_image.h"
#include "runtime/screen/rt_screen.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rt_string_init();
    rt_image_decoder_init();
    rt_bmp_decoder_register();
    rt_png_decoder_register();
    rt_screen_init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The same limit as the image target (a 256 x 256 picture): huge declared
    // sizes are the image decoders' business, and decoding them would spend
    // each run on clearing and converting megabytes instead of on new inputs.
    if (size > (1 << 20)) return 0;
    if (rt_image_recognise(data, static_cast<int32_t>(size)) &&
        static_cast<int64_t>(rt_image_width()) * rt_image_height() > (64 << 10)) {
        return 0;
    }
    const std::vector<uint8_t> copy(data, data + size);
    const int32_t flags[] = {0, RT_SPRITE_TEXTURE, RT_SPRITE_TEXTURE | RT_SPRITE_ALPHA};
    const int32_t flag = flags[size % 3];
    const int32_t sprite = rt_sprite_load_memory(7, copy.data(), static_cast<int32_t>(size), flag);
    if (sprite != 0) {
        FUZZ_CHECK(rt_sprite_width(7) > 0 && rt_sprite_height(7) > 0);
        rt_sprite_free(7);
    }
    return 0;
}

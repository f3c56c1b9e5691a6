// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding through the registry into a plain pixel vector.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/image/rt_image.h"

namespace zentara_test {

struct Decoded {
    int32_t recognised = 0;
    int32_t result = 0;
    int32_t width = 0, height = 0, depth = 0;
    std::vector<uint8_t> pixels;  // rows packed without padding

    // Pixel (x, y) as blue, green, red(, alpha) bytes.
    std::vector<uint8_t> at(int x, int y) const {
        const int bytes = depth / 8;
        const auto first = pixels.begin() + (static_cast<size_t>(y) * width + x) * bytes;
        return {first, first + bytes};
    }
};

// Registers the built-in decoders (BMP first) on a fresh registry.
inline void register_builtin_decoders() {
    rt_image_decoder_init();
    rt_bmp_decoder_register();
    rt_png_decoder_register();
}

inline Decoded decode(const std::vector<uint8_t>& data, int32_t flags = 0) {
    Decoded out;
    out.recognised = rt_image_recognise(data.data(), static_cast<int32_t>(data.size()));
    if (!out.recognised) return out;
    out.width = rt_image_width();
    out.height = rt_image_height();
    out.depth = rt_image_depth();
    const int32_t pitch = out.width * out.depth / 8;
    out.pixels.assign(static_cast<size_t>(pitch) * out.height, 0xCD);
    out.result = rt_image_decode(out.pixels.data(), pitch, flags);
    return out;
}

}  // namespace zentara_test

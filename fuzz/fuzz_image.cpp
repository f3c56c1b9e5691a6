// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files as the sprite loader sees them: recognised by the decoder
// registry (BMP first, then PNG) and decoded into a buffer of exactly the size
// the reported width, height and depth ask for, so any write past it is caught.
#include <cstdint>
#include <memory>

#include "fuzz/fuzz_common.h"
#include "runtime/image/rt_image.h"

namespace {

// Decoding a picture of this many bytes or more is skipped. The runtime
// accepts sizes up to 2 GiB, more than a fuzzing process may allocate, and
// every decoded byte costs time: RLE pictures are cleared to black first, so a
// few bytes of input declaring a large picture would spend each run clearing
// megabytes. 256 KiB is a 256 x 256 picture with alpha, larger than any the
// game ships; the size checks themselves run at recognition, before this cut.
constexpr int64_t kMaxBufferBytes = 256 << 10;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rt_image_decoder_init();
    rt_bmp_decoder_register();
    rt_png_decoder_register();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT32_MAX) return 0;
    const int32_t length = static_cast<int32_t>(size);
    // Two passes: top-down, then bottom-up with a padded pitch.
    for (int pass = 0; pass < 2; ++pass) {
        if (!rt_image_recognise(data, length)) return 0;
        const int32_t width = rt_image_width();
        const int32_t height = rt_image_height();
        const int32_t depth = rt_image_depth();
        FUZZ_CHECK(width > 0 && height > 0);
        FUZZ_CHECK(depth == 24 || depth == 32);
        const int64_t rowBytes = static_cast<int64_t>(width) * (depth / 8) + pass * 4;
        if (rowBytes * height >= kMaxBufferBytes) {
            // Recognised but not decoded: the state must be released by the
            // next recognition without a leak.
            continue;
        }
        // Left uninitialised: clearing megabytes per run would cost more than
        // the decoding, and what the decoder leaves unwritten is its business.
        const std::unique_ptr<uint8_t[]> pixels(
            new uint8_t[static_cast<size_t>(rowBytes * height)]);
        rt_image_decode(pixels.get(), static_cast<int32_t>(rowBytes),
                        pass == 0 ? 0 : RT_IMAGE_BOTTOM_UP);
        // After a decode the state is spent: a second decode must refuse.
        FUZZ_CHECK(rt_image_decode(pixels.get(), static_cast<int32_t>(rowBytes), 0) == 0);
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// BMP decoding of every bit count, built byte by byte.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "decode_helpers.h"

using zentara_test::decode;
using Pixel = std::vector<uint8_t>;

namespace {

void put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
    v[at] = x & 0xFF;
    v[at + 1] = x >> 8;
}
void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = (x >> (8 * i)) & 0xFF;
}

// A bitmap file: 14-byte file header, 40-byte information header, the colour
// table (blue, green, red, 0 entries), then the given pixel bytes.
std::vector<uint8_t> bmp(int32_t width, int32_t height, uint16_t bits, uint32_t compression,
                         const std::vector<uint32_t>& palette, const std::vector<uint8_t>& pixels) {
    const size_t offset = 54 + palette.size() * 4;
    std::vector<uint8_t> v(offset);
    v[0] = 'B';
    v[1] = 'M';
    put32(v, 2, static_cast<uint32_t>(offset + pixels.size()));
    put32(v, 10, static_cast<uint32_t>(offset));
    put32(v, 14, 40);
    put32(v, 18, static_cast<uint32_t>(width));
    put32(v, 22, static_cast<uint32_t>(height));
    put16(v, 26, 1);
    put16(v, 28, bits);
    put32(v, 30, compression);
    for (size_t i = 0; i < palette.size(); ++i) put32(v, 54 + i * 4, palette[i]);
    v.insert(v.end(), pixels.begin(), pixels.end());
    return v;
}

const std::vector<uint32_t> kPalette = {0x000000, 0x0000FF /* blue */, 0x00FF00 /* green */,
                                        0xFF0000 /* red */};

class Bmp : public ::testing::Test {
  protected:
    void SetUp() override { zentara_test::register_builtin_decoders(); }
};

// Every depth and compression, rows stored bottom row first; the pixels come
// out top-down as blue, green, red unless asked to stay bottom-up.
TEST_F(Bmp, EveryDepthAndCompressionDecodes) {
    // clang-format off
    const struct {
        const char* what;
        std::vector<uint8_t> file;
        int32_t flags;
        Pixel want;
    } cases[] = {
        {"24 bit, rows padded to 4",
         bmp(2, 2, 24, 0, {}, {255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 255, 255, 255, 255, 0, 0}), 0,
         {0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}},
        {"32 bit", bmp(1, 2, 32, 0, {}, {1, 2, 3, 99, 4, 5, 6, 99}), 0, {4, 5, 6, 1, 2, 3}},
        {"bottom-up keeps the stored order", bmp(1, 2, 24, 0, {}, {1, 1, 1, 0, 2, 2, 2, 0}),
         RT_IMAGE_BOTTOM_UP, {1, 1, 1, 2, 2, 2}},
        {"5-5-5: bits 10-14 red, 0-4 blue", bmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}), 0,
         {0, 0, 248, 248, 0, 0}},
        {"8 bit", bmp(3, 1, 8, 0, kPalette, {3, 2, 1, 0}), 0, {0, 0, 255, 0, 255, 0, 255, 0, 0}},
        {"4 bit, odd width", bmp(3, 1, 4, 0, kPalette, {0x12, 0x3F, 0, 0}), 0,
         {255, 0, 0, 0, 255, 0, 0, 0, 255}},
        // 1 bit is black and white whatever the table holds.
        {"1 bit over two bytes", bmp(10, 1, 1, 0, {0x0000FF, 0xFF0000}, {0xA0, 0x40, 0, 0}), 0,
         {255, 255, 255, 0, 0, 0, 255, 255, 255, 0, 0, 0, 0, 0, 0,
          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255}},
        // Row 0: 3 red + 1 blue; a delta to column 2 of row 2; a literal
        // green, blue, red whose third pixel falls off the row.
        {"RLE8 with a delta",
         bmp(4, 3, 8, 1, kPalette, {3, 3, 1, 1, 0, 0, 0, 2, 2, 1, 0, 3, 2, 1, 3, 0, 0, 1}), 0,
         {0, 0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0,
          0, 0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 255, 0, 0}},
        {"RLE4 run alternates nibbles", bmp(4, 1, 4, 2, kPalette, {4, 0x31, 0, 1}), 0,
         {0, 0, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0}},
        {"RLE4 literal", bmp(3, 1, 4, 2, kPalette, {0, 3, 0x23, 0x10, 0, 1}), 0,
         {0, 255, 0, 0, 0, 255, 255, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto d = decode(c.file, c.flags);
        EXPECT_TRUE(d.recognised && d.result == 1) << c.what;
        EXPECT_EQ(d.pixels, c.want) << c.what;
    }
}

TEST_F(Bmp, LyingHeadersAreRefusedWithoutOverrun) {
    // Recognised on the header alone, as long as the reserved bytes are zero.
    std::vector<uint8_t> header_only = bmp(2, 2, 24, 0, {}, {});
    header_only.resize(26);
    auto d = decode(header_only);
    EXPECT_TRUE(d.recognised);
    EXPECT_EQ(d.result, 0);

    auto reserved = bmp(1, 1, 24, 0, {}, {1, 2, 3, 0});
    reserved[7] = 1;
    EXPECT_FALSE(decode(reserved).recognised);

    // Pixel data shorter than the size promises (every depth).
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        auto v = bmp(64, 64, bits, 0, kPalette, std::vector<uint8_t>(100, 1));
        EXPECT_EQ(decode(v).result, 0) << bits;
    }
    // A pixel-data offset far past the end, a colour index past the table.
    auto far = bmp(1, 1, 24, 0, {}, {1, 2, 3, 0});
    far[10] = 0xF0;
    far[13] = 0x7F;
    EXPECT_EQ(decode(far).result, 0);
    EXPECT_EQ(decode(bmp(1, 1, 8, 0, {}, {200, 0, 0, 0})).result, 0);
    // RLE streams that stop early or point outside the table.
    EXPECT_EQ(decode(bmp(4, 4, 8, 1, kPalette, {2, 1, 0})).result, 0);
    EXPECT_EQ(decode(bmp(4, 4, 8, 1, kPalette, {0, 9, 1, 2})).result, 0);
    EXPECT_EQ(decode(bmp(4, 4, 8, 1, kPalette, {2, 250, 0, 1})).result, 0);
    // Runs and deltas past the image are clipped, not written.
    EXPECT_EQ(decode(bmp(2, 2, 8, 1, kPalette, {200, 1, 0, 2, 255, 255, 9, 1, 0, 1})).result, 1);
    // Unknown bit counts decode nothing.
    EXPECT_EQ(decode(bmp(1, 1, 7, 0, {}, {0, 0, 0, 0})).result, 0);
}

// Recognition only: nothing is allocated for the image.
bool recognises(const std::vector<uint8_t>& v) {
    const bool yes = rt_image_recognise(v.data(), static_cast<int32_t>(v.size())) != 0;
    rt_image_decode(nullptr, 0, 0);  // refused, but releases the state
    return yes;
}

// Pixels that cannot fit in 2 GiB are refused before anyone allocates for
// them, without overflowing on the way (found by fuzz_image: width x height x 4
// overflowed 64 bits for two 31-bit sizes). 23171^2 x 4 > 2^31 - 1, and
// 65536 x 8192 x 3 rows padded to 4 bytes make exactly 2^31.
TEST_F(Bmp, ImpossibleSizesAreNotRecognised) {
    // clang-format off
    for (auto [w, h] : {std::pair{0, 5}, {5, -5}, {65536, 65536}, {23171, 23171},
                        {INT32_MAX, INT32_MAX}, {INT32_MAX, -INT32_MAX}, {65536, 8192}})
        EXPECT_FALSE(recognises(bmp(w, h, 24, 0, {}, {}))) << w << "x" << h;
    // clang-format on
    EXPECT_TRUE(recognises(bmp(23170, 23170, 24, 0, {}, {})));
}

}  // namespace

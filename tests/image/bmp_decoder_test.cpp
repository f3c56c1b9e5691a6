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
const Pixel kBlack{0, 0, 0}, kBlue{255, 0, 0}, kGreen{0, 255, 0}, kRed{0, 0, 255},
    kWhite{255, 255, 255};

class Bmp : public ::testing::Test {
  protected:
    void SetUp() override { zentara_test::register_builtin_decoders(); }
};

TEST_F(Bmp, TrueColourDepths) {
    // 2 x 2, bottom row stored first: bottom = blue, green; top = red, white.
    auto d = decode(bmp(2, 2, 24, 0, {},
                        {255, 0, 0, 0, 255, 0, 0, 0,  // row padded to 8
                         0, 0, 255, 255, 255, 255, 0, 0}));
    ASSERT_TRUE(d.recognised);
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.pixels, (Pixel{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));

    d = decode(bmp(1, 2, 32, 0, {}, {1, 2, 3, 99, 4, 5, 6, 99}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{4, 5, 6, 1, 2, 3}));

    // 5-5-5: only bits 10-14 set is pure red; bits 0-4 pure blue.
    d = decode(bmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0x1F, 0x00}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{0, 0, 248, 248, 0, 0}));
}

TEST_F(Bmp, PalettedDepths) {
    auto d = decode(bmp(3, 1, 8, 0, kPalette, {3, 2, 1, 0}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{0, 0, 255, 0, 255, 0, 255, 0, 0}));

    // Odd width: the spare nibble is ignored.
    d = decode(bmp(3, 1, 4, 0, kPalette, {0x12, 0x3F, 0, 0}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{255, 0, 0, 0, 255, 0, 0, 0, 255}));

    // 1 bit: black and white whatever the colour table holds; 10 pixels use
    // two bytes of the row.
    d = decode(bmp(10, 1, 1, 0, {0x0000FF, 0xFF0000}, {0xA0, 0x40, 0, 0}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.at(0, 0), kWhite);
    EXPECT_EQ(d.at(1, 0), kBlack);
    EXPECT_EQ(d.at(2, 0), kWhite);
    EXPECT_EQ(d.at(8, 0), kBlack);
    EXPECT_EQ(d.at(9, 0), kWhite);
}

TEST_F(Bmp, RunLengthEncoded) {
    // 4 x 3 RLE8: stored row 0 (bottom) = 3 red + 1 blue; row 1 skipped by a
    // delta (stays black except where the delta lands); end of bitmap.
    auto d = decode(bmp(4, 3, 8, 1, kPalette,
                        {3, 3, 1, 1, 0, 0,  // row 0, end of line
                         0, 2, 2, 1,        // delta: column 2, row 2
                         0, 3, 2, 1, 3, 0,  // literal green, blue, red (+ pad)
                         0, 1}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.at(0, 2), kRed);
    EXPECT_EQ(d.at(2, 2), kRed);
    EXPECT_EQ(d.at(3, 2), kBlue);
    EXPECT_EQ(d.at(0, 1), kBlack);
    EXPECT_EQ(d.at(0, 0), kBlack);
    EXPECT_EQ(d.at(2, 0), kGreen);
    EXPECT_EQ(d.at(3, 0), kBlue);  // the literal's third pixel falls off the row

    // RLE4 is decoded too: a run alternates the two nibbles.
    d = decode(bmp(4, 1, 4, 2, kPalette, {4, 0x31, 0, 1}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{0, 0, 255, 255, 0, 0, 0, 0, 255, 255, 0, 0}));
    d = decode(bmp(3, 1, 4, 2, kPalette, {0, 3, 0x23, 0x10, 0, 1}));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{0, 255, 0, 0, 0, 255, 255, 0, 0}));
}

TEST_F(Bmp, BottomUpFlagKeepsStoredOrder) {
    auto d = decode(bmp(1, 2, 24, 0, {}, {1, 1, 1, 0, 2, 2, 2, 0}), RT_IMAGE_BOTTOM_UP);
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.pixels, (Pixel{1, 1, 1, 2, 2, 2}));
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

TEST_F(Bmp, ImpossibleSizesAreNotRecognised) {
    // 23171^2 x 4 > 2^31 - 1
    for (auto [w, h] : {std::pair{0, 5}, {5, -5}, {65536, 65536}, {23171, 23171}})
        EXPECT_FALSE(recognises(bmp(w, h, 24, 0, {}, {}))) << w << "x" << h;
    EXPECT_TRUE(recognises(bmp(23170, 23170, 24, 0, {}, {})));
}

}  // namespace

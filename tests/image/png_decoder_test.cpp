// SPDX-License-Identifier: GPL-3.0-or-later
// PNG decoding of images the test writes itself.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <vector>

#include "decode_helpers.h"
#include "png_writer.h"

using zentara_test::decode;
using zentara_test::PngSpec;
using zentara_test::write_png;
using Pixel = std::vector<uint8_t>;

namespace {

class Png : public ::testing::Test {
  protected:
    void SetUp() override { zentara_test::register_builtin_decoders(); }
};

// Deterministic pseudo-random bytes.
std::vector<uint8_t> noise(size_t count, uint32_t seed) {
    std::vector<uint8_t> out(count);
    for (auto& byte : out) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(seed >> 24);
    }
    return out;
}

TEST_F(Png, InterlacedMatchesItsTwin) {
    for (int colour : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA}) {
        const int channels = colour == PNG_COLOR_TYPE_RGB ? 3 : 4;
        PngSpec spec{13, 11, colour, 8, false, {}, {}, noise(13 * 11 * channels, 7)};
        const auto plain_file = write_png(spec);
        const auto plain = decode(plain_file);
        spec.interlaced = true;
        const auto interlaced_file = write_png(spec);
        const auto interlaced = decode(interlaced_file);
        ASSERT_TRUE(plain.result == 1 && interlaced.result == 1);
        EXPECT_EQ(interlaced.pixels, plain.pixels);
        EXPECT_EQ(plain.at(4, 5)[2], spec.rows[(5 * 13 + 4) * channels]);  // red of (4, 5)
        // Bottom-up, plain and through all seven passes.
        for (const auto* file : {&plain_file, &interlaced_file})
            EXPECT_EQ(decode(*file, RT_IMAGE_BOTTOM_UP).at(4, 10 - 5), plain.at(4, 5));
    }
}

// Colour types and bit depths, blue first: 16-bit samples keep their high byte, palettes
// expand (with alpha where tRNS gives it), grey is scaled to the full range.
TEST_F(Png, EveryColourTypeComesOutBgr) {
    const std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    // clang-format off
    const struct {
        const char* what;
        PngSpec spec;
        int32_t depth;
        Pixel want;
    } cases[] = {
        {"RGBA", {2, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, false, {}, {}, {10, 20, 30, 40, 50, 60, 70, 80}},
         32, {30, 20, 10, 40, 70, 60, 50, 80}},
        {"16-bit RGB", {2, 1, PNG_COLOR_TYPE_RGB, 16, false, {}, {},
                        {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0x01, 0x00, 0xFF, 0x80, 0x80}},
         24, {0x9A, 0x56, 0x12, 0x80, 0x00, 0xFF}},
        {"palette", {3, 1, PNG_COLOR_TYPE_PALETTE, 8, false, rgb, {}, {2, 0, 1}},
         24, {255, 0, 0, 0, 0, 255, 0, 255, 0}},
        {"palette with tRNS (entry 2 opaque)", {3, 1, PNG_COLOR_TYPE_PALETTE, 8, false, rgb, {0, 128}, {2, 0, 1}},
         32, {255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 128}},
        {"2-bit palette", {4, 1, PNG_COLOR_TYPE_PALETTE, 2, false, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}, {0x24}},
         24, {3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
        {"grey", {2, 1, PNG_COLOR_TYPE_GRAY, 8, false, {}, {}, {7, 200}}, 24, {7, 7, 7, 200, 200, 200}},
        {"1-bit grey", {3, 1, PNG_COLOR_TYPE_GRAY, 1, false, {}, {}, {0xA0}},
         24, {255, 255, 255, 0, 0, 0, 255, 255, 255}},
        {"4-bit grey", {2, 1, PNG_COLOR_TYPE_GRAY, 4, false, {}, {}, {0x5F}},
         24, {0x55, 0x55, 0x55, 0xFF, 0xFF, 0xFF}},
        {"16-bit grey with alpha, interlaced", {1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16, true, {}, {}, {1, 2, 3, 4}},
         32, {1, 1, 1, 3}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const auto d = decode(write_png(c.spec));
        EXPECT_TRUE(d.recognised && d.result == 1) << c.what;
        EXPECT_EQ(d.depth, c.depth) << c.what;
        EXPECT_EQ(d.pixels, c.want) << c.what;
    }
}

TEST_F(Png, DamagedDataFailsWithoutReadingPastTheEnd) {
    PngSpec spec{9, 7, PNG_COLOR_TYPE_RGB_ALPHA, 8, true, {}, {}, noise(9 * 7 * 4, 3)};
    const auto whole = write_png(spec);
    const auto complete = decode(whole);
    ASSERT_EQ(complete.result, 1);
    // Every cut: a copy of exactly that length, so a read past it is caught
    // by the address sanitizer. The end chunk (the last 12 bytes) is never
    // read, so only cuts before it lose pixels.
    const size_t end_chunk = whole.size() - 12;
    // Failures are answered, not printed: a player's broken picture must not
    // fill the terminal.
    testing::internal::CaptureStderr();
    for (size_t cut = 8; cut < whole.size(); ++cut) {
        const std::vector<uint8_t> part(whole.begin(), whole.begin() + cut);
        const auto d = decode(part);
        if (cut < end_chunk) {
            EXPECT_TRUE(!d.recognised || d.result == 0) << "cut at " << cut;
        } else {
            EXPECT_EQ(d.pixels, complete.pixels) << "cut at " << cut;
        }
    }
    // A damaged byte inside the image data breaks its checksum.
    auto damaged = whole;
    damaged[damaged.size() - 20] ^= 0x55;
    const auto d = decode(damaged);
    EXPECT_TRUE(!d.recognised || d.result == 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    // Not a PNG at all.
    EXPECT_FALSE(decode({0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5}).recognised);
}

}  // namespace

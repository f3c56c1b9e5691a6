// SPDX-License-Identifier: GPL-3.0-or-later
// The image operations of a drawing pass (grab, draw, draw sized, draw with
// opacity), passes whose target goes away, coordinates near the ends of the
// 32-bit range, the painter left by rotated sprites, and read-only locks of
// shared pixels.
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

constexpr uint32_t kGrey = 0x808080;

// A 4 x 3 picture on the back buffer at (10, 10): red, green in its top-right
// corner, blue in its bottom-left, white in its bottom-right.
int32_t grab_test_picture() {
    rt_screen_clear(0);
    EXPECT_EQ(rt_draw_start(rt_screen_output()), 1);
    rt_draw_box(10, 10, 4, 3, kRed);
    rt_draw_box(13, 10, 1, 1, kGreen);
    rt_draw_box(10, 12, 1, 1, kBlue);
    rt_draw_box(13, 12, 1, 1, kWhite);
    const int32_t image = rt_draw_grab_image(-1, 10, 10, 4, 3);
    rt_draw_stop();
    return image;
}

class ImageOpsTest : public ScreenTest {};

TEST_F(ImageOpsTest, GrabbedImageIsDrawnBackAtItsCorners) {
    const int32_t image = grab_test_picture();
    ASSERT_NE(image, 0);
    int32_t w = 0, h = 0;
    EXPECT_EQ(rt_image_size(image, &w, &h), 1);
    EXPECT_EQ(w * 100 + h, 403);
    rt_screen_clear(kGrey);
    rt_draw_start(rt_screen_output());
    rt_draw_image(image, 100, 50);
    rt_draw_image_sized(image, 200, 50, 8, 6);  // twice the size
    rt_draw_image(image, -2, -1);               // clipped at the top-left
    rt_draw_stop();
    // clang-format off
    expect_pixels({{100, 50, kRed}, {103, 50, kGreen}, {100, 52, kBlue}, {103, 52, kWhite},
        {99, 50, kGrey}, {104, 52, kGrey}, {100, 53, kGrey}, {200, 50, kRed}, {207, 50, kGreen},
        {200, 55, kBlue}, {207, 55, kWhite}, {208, 55, kGrey}, {0, 0, kRed}, {1, 1, kWhite},
        {2, 1, kGrey}, {0, 2, kGrey}});
    // clang-format on
}

TEST_F(ImageOpsTest, InvertModeCombinesNotSourceOrTarget) {
    const int32_t image = grab_test_picture();
    rt_screen_clear(0x000F0F);
    rt_draw_start(rt_screen_output());
    rt_draw_mode(RT_DRAW_INVERT);
    rt_draw_image(image, 0, 0);
    rt_draw_stop();
    EXPECT_EQ(pixel(0, 0), 0xFFF0F0u & ~0x0000FFu);  // NOT(red OR 0x000F0F)
    EXPECT_EQ(pixel(3, 2), 0u);                      // white covers every bit
    EXPECT_EQ(pixel(4, 0), 0x000F0Fu);
}

TEST_F(ImageOpsTest, OpacityBlendsConstantlyOrByTheImagesOwnAlpha) {
    const int32_t opaque = grab_test_picture();
    // From a sprite the grab keeps its transparency: black is see-through.
    const int32_t sprite = sprite_with_box(4, 1, 0, 0, 2, 1, kWhite);
    ASSERT_EQ(rt_draw_start(rt_sprite_output(sprite)), 1);
    const int32_t keyed = rt_draw_grab_image(-1, 0, 0, 4, 1);
    rt_draw_stop();
    ASSERT_NE(keyed, 0);
    rt_screen_clear(0);
    rt_draw_start(rt_screen_output());
    rt_draw_image_alpha(opaque, 0, 0, 255);
    rt_draw_image_alpha(opaque, 10, 0, 0);
    rt_draw_image_alpha(opaque, 20, 0, 0x180);  // low byte 128
    rt_draw_image_alpha(keyed, 30, 0, 255);
    rt_draw_image_alpha(keyed, 40, 0, 51);
    rt_draw_stop();
    // 255 x 128 / 255 over black at 20; transparent black unchanged at 32; 255 x 51 / 255 at 40.
    // clang-format off
    expect_pixels({{0, 0, kRed}, {3, 2, kWhite}, {10, 0, 0}, {20, 0, 0x000080}, {30, 0, kWhite},
        {32, 0, 0}, {40, 0, 0x333333}});
    // clang-format on
}

TEST_F(ImageOpsTest, PassWhoseTargetGoesAwayDrawsNothingMore) {
    // The screen closes under a pass holding its painter, then one holding a lock.
    for (bool locked : {false, true}) {
        ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
        if (locked) rt_draw_plot(1, 1, kRed);
        open_screen();  // closes the screen the pass was made for
        rt_screen_clear(kBlue);
        rt_draw_plot(2, 2, kRed);
        rt_draw_box(0, 0, 10, 10, kRed);
        EXPECT_EQ(rt_draw_grab_image(-1, 0, 0, 2, 2), 0);
        rt_draw_stop();
        expect_pixels({{2, 2, kBlue}, {5, 5, kBlue}});
    }
    // A grab into the sprite a pass is drawing on replaces its pixels.
    const int32_t sprite = rt_sprite_create(-1, 8, 8);
    for (bool locked : {false, true}) {
        ASSERT_EQ(rt_draw_start(rt_sprite_output(sprite)), 1);
        if (locked) rt_draw_plot(0, 0, kRed);
        ASSERT_EQ(rt_sprite_grab(sprite, 0, 0, 8, 8), sprite);
        rt_draw_plot(3, 3, kRed);
        rt_draw_box(0, 0, 8, 8, kRed);
        rt_draw_stop();
        rt_sprite_draw(sprite, 50, 50);
        EXPECT_EQ(pixel(53, 53), kBlue);
    }
}

TEST_F(ImageOpsTest, CoordinatesNearTheEndsOfTheRangeDoNotWrap) {
    rt_screen_clear(0);
    rt_draw_start(rt_screen_output());
    // Corners that would wrap round to the screen in 32 bits.
    rt_draw_box(INT32_MAX - 5, 0, INT32_MAX, 10, kRed);
    rt_draw_box(INT32_MIN, 0, 1, 1, kRed);  // the pixel left of INT32_MIN is none
    rt_draw_ellipse(INT32_MAX, 5, 3, 3);
    EXPECT_EQ(rt_draw_text(INT32_MAX - 1, 0, "W", kRed), INT32_MAX);
    rt_draw_stop();
    expect_pixels({{0, 0, 0}, {kWidth - 1, 5, 0}});
}

TEST_F(ImageOpsTest, PlainDrawAfterRotatedDrawLandsInPlace) {
    // Rotated, then plain, with and without the mode begun.
    const int32_t sprite = sprite_with_box(4, 4, 0, 0, 4, 4, kRed, RT_SPRITE_TEXTURE);
    const int32_t rotor = rt_sprite3d_create(-1, sprite);
    rt_sprite3d_rotate(rotor, 45.0f, 0);
    for (bool begun : {false, true}) {
        rt_screen_clear(0);
        if (begun) rt_sprite3d_begin();
        rt_sprite3d_draw_alpha(rotor, 100, 100, 128);
        rt_sprite_draw_keyed(sprite, 10, 10);
        if (begun) rt_sprite3d_end();
        SCOPED_TRACE(begun);
        expect_pixels({{10, 10, kRed}, {13, 13, kRed}, {14, 14, 0}});
    }
}

TEST_F(ImageOpsTest, ReadOnlyLockNeverReachesAnotherSpritesPixels) {
    const int32_t source = sprite_with_box(4, 4, 0, 0, 4, 4, kRed);
    const int32_t copy = rt_sprite_copy(source, -1);  // shares the pixels
    int32_t pitch = 0;
    auto* bits = static_cast<uint32_t*>(rt_sprite_lock(rt_sprite_pixels_of(source), 1, &pitch));
    ASSERT_NE(bits, nullptr);
    auto* other = static_cast<uint32_t*>(rt_sprite_lock(rt_sprite_pixels_of(copy), 1, &pitch));
    EXPECT_NE(bits, other);
    bits[0] = 0xFF00FF00u;  // a stray write through the read-only pointer
    rt_sprite_draw(copy, 0, 0);
    EXPECT_EQ(pixel(0, 0), kRed);
}

}  // namespace

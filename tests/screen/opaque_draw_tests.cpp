// SPDX-License-Identifier: GPL-3.0-or-later
// The opaque draw copies prepared rows: whatever changes a sprite's pixels
// (a drawing pass, plotted pixels, a grab into its id) must show in the next
// opaque draw.
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class OpaqueDrawTest : public ScreenTest {};

TEST_F(OpaqueDrawTest, ChangesToTheSpriteShowInTheNextOpaqueDraw) {
    const int32_t s = sprite_with_box(8, 8, 0, 0, 8, 8, kRed);
    rt_sprite_draw(s, 10, 10);
    EXPECT_EQ(pixel(12, 12), kRed);

    ASSERT_EQ(rt_draw_start(rt_sprite_output(s)), 1);
    rt_draw_box(2, 2, 2, 2, kGreen);
    rt_draw_stop();
    rt_sprite_draw(s, 10, 10);
    expect_pixels({{12, 12, kGreen}, {10, 10, kRed}});

    ASSERT_EQ(rt_draw_start(rt_sprite_output(s)), 1);
    rt_draw_plot(0, 0, kWhite);  // a direct pixel write
    rt_draw_plot(1, 0, 0);       // black, drawn black although transparent when keyed
    rt_draw_stop();
    rt_screen_clear(kBlue);
    rt_sprite_draw(s, 10, 10);
    expect_pixels({{10, 10, kWhite}, {11, 10, 0}, {12, 12, kGreen}});
    rt_sprite_free(s);
}

TEST_F(OpaqueDrawTest, GrabbedAndCopiedSpritesDrawTheirOwnPixels) {
    rt_screen_clear(kGreen);
    const int32_t grab = rt_sprite_grab(-1, 0, 0, 4, 4);
    const int32_t box = sprite_with_box(4, 4, 0, 0, 4, 4, kRed);
    const int32_t copy = rt_sprite_copy(box, -1);
    rt_screen_clear(kBlue);
    rt_sprite_draw(grab, 0, 0);
    rt_sprite_draw(copy, 4, 0);
    expect_pixels({{3, 3, kGreen}, {4, 0, kRed}});
    // A grab into the same id with the same size replaces the pixels.
    rt_screen_clear(kWhite);
    EXPECT_EQ(rt_sprite_grab(grab, 0, 0, 4, 4), grab);
    rt_screen_clear(kBlue);
    rt_sprite_draw(grab, 0, 0);
    EXPECT_EQ(pixel(0, 0), kWhite);
    for (int32_t s : {grab, box, copy}) rt_sprite_free(s);
}

}  // namespace

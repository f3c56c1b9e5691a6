// SPDX-License-Identifier: GPL-3.0-or-later
// Rotated sprites: coverage of turned quads, the turning direction, angles,
// opacity and the switch between rotated and plain draws.
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class Sprite3dTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        rt_screen_clear(0);
    }
    // Rows and columns of the back buffer that are not black.
    QRect covered() {
        QRect r;
        for (int32_t y = 0; y < kHeight; ++y)
            for (int32_t x = 0; x < kWidth; ++x)
                if (pixel(x, y) != 0) r |= QRect(x, y, 1, 1);
        return r;
    }
};

TEST_F(Sprite3dTest, RefusedWithoutTextureMode) {
    const int32_t plain = sprite_with_box(8, 8, 0, 0, 8, 8, kRed, 0);
    EXPECT_EQ(rt_sprite3d_create(-1, plain), 0);
    EXPECT_EQ(rt_sprite3d_create(-1, 999), 0);
    ASSERT_NE(rt_sprite3d_create(3, sprite_with_box(2, 2, 0, 0, 2, 2, kRed, 4)), 0);
    EXPECT_EQ(rt_sprite3d_create(3, plain), 0);  // nothing left under the id
    EXPECT_EQ(rt_sprite3d_draw(3, 0, 0), 0);
    rt_sprite_free(plain);
}

TEST_F(Sprite3dTest, QuarterTurnCoversTheExpectedPixelsClockwise) {
    // 64 x 64, red with a green top-left pixel to follow the turn.
    const int32_t square = sprite_with_box(64, 64, 0, 0, 64, 64, kRed, 4);
    rt_draw_start(rt_sprite_output(square));
    rt_draw_box(0, 0, 1, 1, kGreen);
    rt_draw_stop();
    const int32_t r = rt_sprite3d_create(-1, square);
    ASSERT_NE(r, 0);
    rt_sprite3d_rotate(r, 90.0f, 0);
    ASSERT_EQ(rt_sprite3d_begin(), 1);
    EXPECT_NE(rt_sprite3d_draw(r, 100, 100), 0);
    rt_sprite3d_end();
    EXPECT_EQ(covered(), QRect(QPoint(100, 100), QPoint(163, 163)));
    EXPECT_EQ(pixel(163, 100), kGreen);  // top-left went to the top-right

    // 64 x 32 keeps its centre: x + 16 .. x + 47, y - 16 .. y + 47.
    rt_screen_clear(0);
    const int32_t wide = sprite_with_box(64, 32, 0, 0, 64, 32, kRed, 4);
    const int32_t rw = rt_sprite3d_create(-1, wide);
    rt_sprite3d_rotate(rw, 90.0f, 0);
    rt_sprite3d_begin();
    rt_sprite3d_draw(rw, 100, 100);
    rt_sprite3d_end();
    EXPECT_EQ(covered(), QRect(QPoint(116, 84), QPoint(147, 147)));

    // Unrotated: exactly where a plain draw goes.
    rt_screen_clear(0);
    const int32_t flat = rt_sprite3d_create(-1, wide);
    rt_sprite3d_begin();
    rt_sprite3d_draw(flat, 10, 20);
    rt_sprite3d_end();
    EXPECT_EQ(covered(), QRect(10, 20, 64, 32));
    rt_sprite3d_free_all();
    for (int32_t s : {square, wide}) rt_sprite_free(s);
}

TEST_F(Sprite3dTest, RelativeTurnsAddUp) {
    const int32_t s = sprite_with_box(4, 4, 0, 0, 4, 4, kRed, 4);
    const int32_t a = rt_sprite3d_create(-1, s);
    const int32_t b = rt_sprite3d_create(-1, s);
    for (int i = 0; i < 3; ++i) rt_sprite3d_rotate(a, 10.0f, 1);
    rt_sprite3d_rotate(b, 30.0f, 0);
    EXPECT_NEAR(rt_sprite3d_angle(a), rt_sprite3d_angle(b), 1e-6);
    EXPECT_NEAR(rt_sprite3d_angle(b), 0.5235988f, 1e-6);
    rt_sprite3d_rotate(b, -30.0f, 1);
    EXPECT_EQ(rt_sprite3d_angle(b), 0.0f);
    for (int32_t id : {a, b}) rt_sprite3d_free(id);
    EXPECT_EQ(rt_sprite3d_angle(a), 0.0f);
    rt_sprite_free(s);
}

TEST_F(Sprite3dTest, OpacityFadesTheWholePictureAndKeyStaysInvisible) {
    const int32_t s = sprite_with_box(8, 8, 2, 2, 4, 4, kRed, 4);
    const int32_t r = rt_sprite3d_create(-1, s);
    rt_screen_clear(kBlue);
    rt_sprite3d_begin();
    rt_sprite3d_draw_alpha(r, 0, 0, 0);
    rt_sprite3d_draw_alpha(r, 10, 0, 128);
    rt_sprite3d_draw_alpha(r, 20, 0, 255);
    // A plain draw between rotated ones gets the plain set-up back.
    rt_sprite_draw(s, 30, 0);
    rt_sprite3d_draw_alpha(r, 40, 0, 0x180);
    rt_sprite3d_end();
    // The plain draw is opaque, not faded, not turned.
    expect_pixels({{3, 3, kBlue}, {10, 0, kBlue}, {23, 3, kRed}, {20, 0, kBlue}, {30, 0, 0}});
    EXPECT_NEAR(red(pixel(13, 3)), 128, 1);
    EXPECT_NEAR(red(pixel(43, 3)), 128, 1);
    rt_sprite3d_free(r);
    // A rotated sprite outliving its sprite still draws safely.
    const int32_t orphan = rt_sprite3d_create(-1, s);
    rt_sprite_free(s);
    rt_sprite3d_begin();
    EXPECT_NE(rt_sprite3d_draw(orphan, 50, 0), 0);
    rt_sprite3d_end();
    EXPECT_EQ(pixel(53, 3), kRed);
    rt_sprite3d_free_all();
    EXPECT_EQ(rt_sprite3d_draw(orphan, 0, 0), 0);
}

}  // namespace

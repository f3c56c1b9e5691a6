// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing passes on the back buffer and on sprites: boxes, text placement and
// background modes, plots and the pass's life cycle.
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class DrawTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        rt_screen_clear(kWhite);
    }
    // The pixels of the rectangle that differ from the colour.
    static QRect changed_from(uint32_t colour, const QRect& area) {
        QRect r;
        for (int32_t y = area.top(); y <= area.bottom(); ++y)
            for (int32_t x = area.left(); x <= area.right(); ++x)
                if (pixel(x, y) != colour) r |= QRect(x, y, 1, 1);
        return r;
    }
};

// A box covers exactly its pixels; a negative size extends it left or up.
TEST_F(DrawTest, BoxesCoverExactlyTheirPixels) {
    open_screen(400, 300);
    const struct {
        QRect box, covered;
    } cases[] = {{{0, 0, 350, 20}, {0, 0, 350, 20}},
                 {{5, 5, 1, 1}, {5, 5, 1, 1}},
                 {{5, 5, -1, -1}, {4, 4, 1, 1}},
                 {{30, 30, -4, 3}, {26, 30, 4, 3}}};
    for (const auto& c : cases) {
        rt_screen_clear(kWhite);
        ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
        rt_draw_box(c.box.x(), c.box.y(), c.box.width(), c.box.height(), kRed);
        rt_draw_stop();
        EXPECT_EQ(changed_from(kWhite, QRect(0, 0, 400, 40)), c.covered)
            << c.box.x() << "," << c.box.width();
        EXPECT_EQ(pixel(c.covered.x(), c.covered.y()), kRed);
    }
}

TEST_F(DrawTest, OutlinedAndInvertedBoxes) {
    rt_draw_start(rt_screen_output());
    rt_draw_mode(RT_DRAW_OUTLINE);
    rt_draw_box(10, 10, 5, 4, kRed);
    rt_draw_mode(RT_DRAW_INVERT);
    rt_draw_box(30, 10, 2, 2, kRed);  // inverts whatever the colour
    rt_draw_stop();
    // The outline is not filled; the inverted box is black over white.
    // clang-format off
    expect_pixels({{10, 10, kRed}, {14, 13, kRed}, {12, 11, kWhite}, {15, 10, kWhite}, {30, 10, 0},
        {31, 11, 0}, {32, 11, kWhite}});
    // clang-format on
}

TEST_F(DrawTest, OpaqueTextPaintsItsCellTransparentTextOnlyLetters) {
    rt_screen_clear(kRed);
    ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
    EXPECT_EQ(rt_draw_text(10, 20, "", kWhite), 10);
    const int32_t after = rt_draw_text(10, 20, "W", kWhite);
    const int32_t height = rt_draw_text_height("W");
    EXPECT_GT(after, 10);
    EXPECT_EQ(rt_draw_text_width("W"), after - 10);
    rt_draw_mode(RT_DRAW_TRANSPARENT);
    const int32_t after2 = rt_draw_text(100, 20, "W", kWhite);
    rt_draw_stop();
    EXPECT_EQ(after2 - 100, after - 10);
    // Mode 0: the cell from (10, 20) is black behind white letters.
    EXPECT_EQ(changed_from(kRed, QRect(0, 0, 90, 80)), QRect(10, 20, after - 10, height));
    EXPECT_EQ(pixel(10, 20), 0u);
    int letters = 0;
    for (int32_t y = 20; y < 20 + height; ++y)
        for (int32_t x = 10; x < after; ++x)
            if (green(pixel(x, y)) > 128) ++letters;  // white, softened at the edges
    EXPECT_GT(letters, 5);
    // Mode 1: only the letters changed, within the same cell.
    const QRect letters_only = changed_from(kRed, QRect(90, 0, 100, 80));
    EXPECT_TRUE(QRect(100, 20, after - 10, height).contains(letters_only));
    EXPECT_EQ(pixel(100, 20), kRed);
}

TEST_F(DrawTest, PlotsOnTheScreenAndPassLifeCycle) {
    ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
    rt_draw_plot(1, 1, kRed);
    rt_draw_plot(kWidth, 1, kRed);
    rt_draw_plot(-1, 1, kRed);
    EXPECT_EQ(rt_draw_point(kWidth, 1), -1);
    EXPECT_EQ(rt_draw_buffer_format(), 64);
    EXPECT_EQ(rt_draw_buffer_pitch(), kWidth * 4);
    auto* row = static_cast<uint32_t*>(rt_draw_buffer());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row[1 + kWidth], 0xFFFF0000u);  // alpha 0xFF, then red
    rt_draw_stop();
    expect_pixels({{1, 1, kRed}, {kWidth - 1, 1, kWhite}});
    EXPECT_EQ(rt_sprite_output(424242), nullptr);
}

TEST_F(DrawTest, ShapesLinesAndFills) {
    rt_draw_start(rt_screen_output());
    rt_draw_front_colour(kRed);
    rt_draw_line(10, 10, 20, 10);
    rt_draw_circle(50, 50, 1);
    rt_draw_mode(RT_DRAW_OUTLINE);
    rt_draw_box(100, 100, 20, 20, 0);
    rt_draw_mode(0);
    rt_draw_front_colour(kGreen);
    rt_draw_fill(110, 110, RT_DRAW_FILL_SURFACE);  // over the white inside the outline
    rt_draw_ellipse(200, 100, 10, 5);
    rt_draw_stop();
    // The line's end pixel is included; the fill stops at the outline.
    // clang-format off
    expect_pixels({{10, 10, kRed}, {20, 10, kRed}, {21, 10, kWhite}, {101, 101, kGreen},
        {118, 118, kGreen}, {100, 100, 0}, {121, 110, kWhite}, {200, 100, kGreen},
        {200, 110, kWhite}});
    // clang-format on
    EXPECT_EQ(changed_from(kWhite, QRect(45, 45, 10, 10)), QRect(50, 50, 1, 1));
}

}  // namespace

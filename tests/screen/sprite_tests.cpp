// SPDX-License-Identifier: GPL-3.0-or-later
// Sprites: creation rules, transparency, the three draws, clipping, copies
// and grabs, read back from the back buffer pixel by pixel.
#include <QDir>
#include <QTemporaryDir>
#include <utility>

#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class SpriteTest : public ScreenTest {};

TEST_F(SpriteTest, KeyedDrawLeavesBlackOutOpaqueDrawPaintsIt) {
    const int32_t s = sprite_with_box(4, 4, 1, 1, 2, 2, kRed);
    EXPECT_EQ(rt_sprite_width(s) * 10 + rt_sprite_height(s), 44);
    EXPECT_NE(rt_sprite_draw_keyed(s, 10, 10), 0);
    EXPECT_NE(rt_sprite_draw(s, 20, 10), 0);
    // Keyed: black is transparent; opaque: black painted, exactly 4 pixels wide.
    // clang-format off
    expect_pixels({{10, 10, kBlue}, {11, 11, kRed}, {12, 12, kRed}, {13, 13, kBlue}, {20, 10, 0},
        {21, 11, kRed}, {23, 13, 0}, {24, 13, kBlue}});
    // clang-format on
    rt_sprite_free(s);
    // A created sprite is transparent black unless flag 8 makes it opaque.
    const int32_t clear = rt_sprite_create(-1, 3, 3), opaque = rt_sprite_create_flags(-1, 3, 3, 12);
    rt_sprite_draw_keyed(clear, 30, 0);
    rt_sprite_draw_keyed(opaque, 40, 0);
    expect_pixels({{31, 1, kBlue}, {41, 1, 0}});
    for (int32_t id : {clear, opaque}) rt_sprite_free(id);
}

TEST_F(SpriteTest, AlphaDrawBlendsByLowByteOfOpacity) {
    const int32_t s = sprite_with_box(4, 4, 1, 1, 2, 2, kRed);
    rt_sprite_draw_alpha(s, 10, 10, 128);
    rt_sprite_draw_alpha(s, 20, 10, 0x100 + 128);  // only the low 8 bits count
    rt_sprite_draw_alpha(s, 30, 10, 0x100);        // = opacity 0
    rt_sprite_draw_alpha(s, 40, 10, 255);
    for (int32_t x : {10, 20}) {
        const uint32_t half = pixel(x + 1, 11);
        EXPECT_NEAR(red(half), 128, 1) << x;
        EXPECT_NEAR(blue(half), 127, 1) << x;
        EXPECT_EQ(green(half), 0);
        EXPECT_EQ(pixel(x, 10), kBlue) << "transparent pixels stay invisible";
    }
    expect_pixels({{31, 11, kBlue}, {41, 11, kRed}});
    rt_sprite_free(s);
}

// Without flag 8 the alpha is dropped: a soft edge and a dark pixel of alpha
// 0 are opaque under keyed drawing (soft alpha itself is checked with loads).
TEST_F(SpriteTest, PngAlphaDroppedWithFlags0) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 255, 255, 128));
    image.setPixel(1, 0, qRgba(10, 0, 0, 0));
    const int32_t keyed = load_png(image, 0);
    ASSERT_NE(keyed, 0);
    rt_sprite_draw_keyed(keyed, 0, 0);
    expect_pixels({{0, 0, kWhite}, {1, 0, 0x00000A}});
    rt_sprite_free(keyed);
}

TEST_F(SpriteTest, LoadingRulesForFlagsAndFiles) {
    QImage rgb(2, 1, QImage::Format_RGB888);
    rgb.setPixel(0, 0, qRgb(0, 0, 0));
    rgb.setPixel(1, 0, qRgb(0, 200, 0));
    const int32_t s = load_png(rgb, 12);  // no alpha: flag 8 ignored, black keyed
    ASSERT_NE(s, 0);
    EXPECT_EQ(rt_sprite_flags(s), 12);
    rt_sprite_draw_keyed(s, 0, 0);
    expect_pixels({{0, 0, kBlue}, {1, 0, 0x00C800}});
    // Flag 8 without 4, and flag 2, are refused everywhere.
    for (int32_t flags : {8, 2}) {
        EXPECT_EQ(load_png(rgb, flags), 0);
        EXPECT_EQ(rt_sprite_copy_flags(s, -1, flags), 0);
    }
    EXPECT_EQ(rt_sprite_create_flags(-1, 4, 4, 8), 0);
    EXPECT_EQ(rt_sprite_load_memory(-1, "not an image", 12, 0), 0);

    // Loads from files are checked with the decoded cache. A missing file
    // answers 0, and a numbered id keeps its old sprite.
    QTemporaryDir dir;
    ASSERT_EQ(rt_sprite_create(7, 5, 5), 7);
    EXPECT_EQ(rt_sprite_load(7, dir.filePath("missing.png").toLocal8Bit().constData()), 0);
    EXPECT_EQ(rt_sprite_width(7), 5);
    for (int32_t id : {7, s}) rt_sprite_free(id);
}

// Every draw kind clips exactly on every side and answers 0 when nothing of
// the sprite is on screen. The last column is green, to see which one lands.
TEST_F(SpriteTest, EveryDrawKindClipsExactlyOnEverySide) {
    const int32_t s = sprite_with_box(8, 4, 0, 0, 7, 4, kRed);
    rt_draw_start(rt_sprite_output(s));
    rt_draw_box(7, 0, 1, 4, kGreen);
    rt_draw_stop();
    using Draw = int32_t (*)(int32_t, int32_t, int32_t);
    const Draw kinds[] = {
        rt_sprite_draw, rt_sprite_draw_keyed,
        [](int32_t id, int32_t x, int32_t y) { return rt_sprite_draw_alpha(id, x, y, 255); }};
    for (Draw draw : kinds) {
        rt_screen_clear(kBlue);
        for (auto [x, y] : {std::pair{-8, 0}, {kWidth, 0}, {0, kHeight}, {0, -4}})
            EXPECT_EQ(draw(s, x, y), 0);
        EXPECT_EQ(pixel(0, 0), kBlue);
        EXPECT_NE(draw(s, -7, -3), 0);
        EXPECT_NE(draw(s, kWidth - 1, kHeight - 1), 0);
        EXPECT_NE(draw(s, kWidth - 2, 10), 0);
        // clang-format off
        expect_pixels({{0, 0, kGreen}, {1, 0, kBlue}, {0, 1, kBlue}, {kWidth - 1, kHeight - 1, kRed},
            {kWidth - 2, kHeight - 1, kBlue}, {kWidth - 1, 13, kRed}, {kWidth - 1, 14, kBlue}});
        // clang-format on
    }
    rt_sprite_free(s);
}

TEST_F(SpriteTest, CopiesCarryColoursOnly) {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(100, 100, 100, 100));
    image.setPixel(1, 0, qRgba(255, 255, 255, 255));
    const int32_t soft = load_png(image, 12);
    const int32_t copy = rt_sprite_copy(soft, -1);  // flags 12: white keyed
    const int32_t copy4 = rt_sprite_copy_flags(soft, -1, 4);
    ASSERT_NE(copy, 0);
    rt_sprite_draw_keyed(copy, 0, 0);
    rt_sprite_draw_keyed(copy4, 0, 1);
    // The soft alpha is gone (opaque), and white is transparent.
    expect_pixels({{0, 0, 0x646464}, {1, 0, kBlue}, {0, 1, 0x646464}, {1, 1, kBlue}});

    // A copy of a keyed sprite looks the same and is independent of it.
    const int32_t keyed = sprite_with_box(4, 1, 0, 0, 2, 1, kRed);
    const int32_t twin = rt_sprite_copy(keyed, -1);
    rt_draw_start(rt_sprite_output(twin));
    rt_draw_box(2, 0, 2, 1, kGreen);
    rt_draw_stop();
    rt_sprite_draw_keyed(keyed, 0, 2);
    rt_sprite_draw_keyed(twin, 0, 3);
    expect_pixels({{1, 2, kRed}, {3, 2, kBlue}, {1, 3, kRed}, {3, 3, kGreen}});
    // Copying into the source's own id replaces it with its copy.
    ASSERT_EQ(rt_sprite_create(9, 2, 2), 9);
    EXPECT_EQ(rt_sprite_copy(9, 9), 9);
    EXPECT_EQ(rt_sprite_width(9), 2);
    for (int32_t s : {soft, copy, copy4, keyed, twin, 9}) rt_sprite_free(s);
}

TEST_F(SpriteTest, GrabMustLieInsideTheScreen) {
    const int32_t s = sprite_with_box(4, 4, 0, 0, 2, 4, kRed);
    rt_sprite_draw(s, 0, 0);
    EXPECT_EQ(rt_sprite_grab(-1, 1, 0, kWidth, kHeight), 0);
    EXPECT_EQ(rt_sprite_grab(-1, -1, 0, 2, 2), 0);
    EXPECT_EQ(rt_sprite_grab_flags(-1, 0, 0, 2, 2, 2), 0);
    const int32_t grab = rt_sprite_grab(-1, 0, 0, kWidth, kHeight);
    ASSERT_NE(grab, 0);
    rt_screen_clear(kGreen);
    rt_sprite_draw_keyed(grab, 0, 0);
    expect_pixels({{0, 0, kRed}, {2, 0, kGreen}, {10, 10, kBlue}});  // black became transparent
    // A grab into a used number, of the same size or another, replaces it.
    EXPECT_EQ(rt_sprite_grab(5, 0, 0, 3, 3) + rt_sprite_grab(5, 0, 0, 4, 2), 10);
    EXPECT_EQ(rt_sprite_width(5), 4);
    // ... pixels and all, also under a handle: the opaque draw shows the new ones.
    rt_screen_clear(kWhite);
    EXPECT_EQ(rt_sprite_grab(grab, 0, 0, kWidth, kHeight), grab);
    rt_screen_clear(kBlue);
    rt_sprite_draw(grab, 0, 0);
    EXPECT_EQ(pixel(0, 0), kWhite);
    for (int32_t id : {5, grab, s}) rt_sprite_free(id);
}

TEST_F(SpriteTest, PlottedStarsStayOpaqueUntilTextReappliesBlack) {
    const int32_t s = rt_sprite_create(-1, 20, 20);
    ASSERT_EQ(rt_draw_start(rt_sprite_output(s)), 1);
    rt_draw_plot(5, 5, kWhite);
    rt_draw_plot(3, 3, 0);  // a black star
    rt_draw_plot(-1, 3, kWhite);
    rt_draw_plot(20, 3, kWhite);  // outside: ignored
    rt_draw_stop();
    rt_sprite_draw_keyed(s, 0, 0);
    expect_pixels({{5, 5, kWhite}, {3, 3, 0}, {1, 1, kBlue}});  // a plotted black star is opaque

    ASSERT_EQ(rt_draw_start(rt_sprite_output(s)), 1);
    rt_draw_plot(7, 7, 0);
    rt_draw_mode(1);
    rt_draw_text(0, 0, "", kWhite);  // no text, but a painting access
    rt_draw_box(15, 15, 1, 1, kGreen);
    rt_draw_stop();
    rt_screen_clear(kBlue);
    rt_sprite_draw_keyed(s, 0, 0);
    expect_pixels({{3, 3, kBlue}, {7, 7, kBlue}, {5, 5, kWhite}, {15, 15, kGreen}});
    rt_sprite_free(s);
}

TEST_F(SpriteTest, OpeningAScreenFreesEverySprite) {
    const int32_t s = rt_sprite_create(-1, 2, 2);
    ASSERT_NE(s, 0);
    open_screen();
    EXPECT_EQ(rt_sprite_width(s), 0);
}

}  // namespace

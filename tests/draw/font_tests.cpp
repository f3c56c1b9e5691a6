// Fonts: sizes for the display resolution, style flags, handles and ids.
#include "runtime/draw/fonts.h"
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class FontTest : public ScreenTest {};

TEST_F(FontTest, PointsBecomeCharacterHeightsAtTheDisplayResolution) {
    const int32_t dpi = rt::fonts::display_dpi();
    ASSERT_GT(dpi, 0);
    if (dpi == 96) {
        EXPECT_EQ(rt_font_pixel_height(50), -67);
        EXPECT_EQ(rt_font_pixel_height(12), -16);
    }
    const int32_t georgia = rt_font_load(-1, "Georgia", 50, RT_FONT_QUALITY);
    ASSERT_NE(georgia, 0);  // substituted when not installed, never refused
    const auto font = rt::fonts::native_font(rt_font_handle(georgia));
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->pixelSize(), -rt_font_pixel_height(50));
    rt_font_free(georgia);
    EXPECT_EQ(rt_font_handle(georgia), 0);
}

TEST_F(FontTest, StyleFlagsCombine) {
    const int32_t f = rt_font_load(-1, "Georgia", 20, 0x310 | RT_FONT_UNDERLINE | RT_FONT_STRIKEOUT);
    const auto font = rt::fonts::native_font(rt_font_handle(f));
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->weight(), QFont::Bold);
    EXPECT_TRUE(font->italic() && font->underline() && font->strikeOut());
    // An italic font sticks out past its advance; text widths include that.
    rt_draw_start(rt_screen_output());
    rt_draw_font(rt_font_handle(f));
    const int32_t italic_width = rt_draw_text_width("H");
    const int32_t advance = rt_draw_text(0, 0, "H", kWhite);
    EXPECT_GE(italic_width, advance);
    rt_draw_font(-1);
    EXPECT_EQ(rt_draw_text_width("H"), rt_draw_text(0, 0, "H", kWhite));
    rt_draw_stop();
    rt_font_free(f);
}

TEST_F(FontTest, NumberedIdsAnswerTheNativeHandleAndReplace) {
    const int32_t first = rt_font_load(3, "DejaVu Sans", 12, 0);
    ASSERT_NE(first, 0);
    EXPECT_EQ(first, rt_font_handle(3));
    const int32_t second = rt_font_load(3, "DejaVu Sans", 14, 0);
    EXPECT_NE(second, first);
    EXPECT_FALSE(rt::fonts::native_font(first).has_value());  // the old one is gone
    rt_font_free_all();
    EXPECT_EQ(rt_font_handle(3), 0);
    rt_font_free(3);
}

}  // namespace

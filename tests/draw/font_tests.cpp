// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts: points become character heights at the display resolution; a
// numbered id answers its native handle until it is replaced or freed.
#include "runtime/draw/fonts.h"
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class FontTest : public ScreenTest {};

TEST_F(FontTest, PointsBecomeCharacterHeightsAndNumberedIdsReplace) {
    EXPECT_EQ(rt_font_pixel_height(50),
              rt::fonts::display_dpi() == 96 ? -67 : rt_font_pixel_height(50));
    const int32_t georgia = rt_font_load(3, "Georgia", 50, RT_FONT_QUALITY);
    ASSERT_NE(georgia, 0);  // substituted when not installed, never refused
    const auto font = rt::fonts::native_font(rt_font_handle(3));
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->pixelSize(), -rt_font_pixel_height(50));
    EXPECT_NE(rt_font_load(3, "DejaVu Sans", 14, 0), georgia);
    EXPECT_FALSE(rt::fonts::native_font(georgia).has_value());  // the old one is gone
    rt_font_free(3);
    EXPECT_EQ(rt_font_handle(3), 0);
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// Shared set-up of the screen and drawing tests: the runtime libraries they
// need, one window, and a screen opened in it; plus pixel helpers.
#pragma once
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/image/rt_image.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/window/rt_window.h"

namespace screen_test {

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;

// Colours 0x00BBGGRR.
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0xFF0000;
constexpr uint32_t kWhite = 0xFFFFFF;

inline int32_t& window_id() {
    static int32_t id = 0;
    return id;
}

// Starts the libraries once per process and opens a fresh screen.
inline void open_screen(int32_t width = kWidth, int32_t height = kHeight) {
    static bool started = false;
    if (!started) {
        rt_string_init();
        rt_image_decoder_init();
        rt_alphablend_init();
        rt_image_init();
        rt_draw_init();
        rt_font_init();
        rt_bmp_decoder_register();
        rt_window_init();
        ASSERT_EQ(rt_screen_init(), 1);
        ASSERT_EQ(rt_sprite3d_init(), 1);
        rt_png_decoder_register();
        window_id() = rt_window_open(-1, 0, 0, 1024, 768, "screen tests",
                                     RT_WINDOW_SIZEBORDER | RT_WINDOW_CAPTION);
        ASSERT_NE(window_id(), 0);
        started = true;
    }
    ASSERT_EQ(rt_screen_open(window_id(), 0, 0, width, height, 1, 0, 0), 1);
    rt_screen_frame_rate(0);
}

// Back-buffer pixel as 0x00BBGGRR.
inline uint32_t pixel(int32_t x, int32_t y) {
    rt_scene_end();
    const QImage* back = rt::screen::back_buffer();
    return rt::screen::from_argb(back->pixel(x, y));
}

struct Probe {
    int32_t x, y;
    uint32_t colour;
};
// Every probed back-buffer pixel has its colour.
inline void expect_pixels(std::initializer_list<Probe> probes) {
    for (const Probe& p : probes)
        EXPECT_EQ(pixel(p.x, p.y), p.colour) << "at " << p.x << "," << p.y;
}

inline int red(uint32_t c) {
    return c & 0xFF;
}
inline int green(uint32_t c) {
    return (c >> 8) & 0xFF;
}
inline int blue(uint32_t c) {
    return (c >> 16) & 0xFF;
}

// A sprite loaded from the image encoded as PNG in memory (test data only;
// decoding goes through the runtime's decoders).
inline int32_t load_png(const QImage& image, int32_t flags) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return rt_sprite_load_memory(-1, bytes.constData(), static_cast<int32_t>(bytes.size()), flags);
}

// A sprite of the size, black (transparent) with an opaque box of the colour.
inline int32_t sprite_with_box(int32_t w, int32_t h, int32_t bx, int32_t by, int32_t bw, int32_t bh,
                               uint32_t colour, int32_t flags = 0) {
    const int32_t s = rt_sprite_create_flags(-1, w, h, flags);
    EXPECT_NE(s, 0);
    EXPECT_EQ(rt_draw_start(rt_sprite_output(s)), 1);
    rt_draw_box(bx, by, bw, bh, colour);
    rt_draw_stop();
    return s;
}

class ScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        open_screen();
        rt_screen_clear(kBlue);
    }
};

}  // namespace screen_test

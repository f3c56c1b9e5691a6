// SPDX-License-Identifier: GPL-3.0-or-later
// The screen redraws only what changed when a frame repeats its full-screen
// backdrop: whatever earlier frames drew, each frame must come out exactly as
// it does on a buffer that remembers nothing, and the window must show it.
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <vector>

#include "runtime/screen/screen_state.h"
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

enum class Kind { Keyed, Alpha, Opaque, Turned, Text, Box, Plot };
struct Drawn {
    Kind kind;
    int32_t x, y;
};
struct Frame {
    int32_t backdropX;
    std::vector<Drawn> drawn;
    bool clear = true;
};

class BackBufferTest : public ScreenTest {
  protected:
    // The screen's next opening frees them.
    void SetUp() override {
        ScreenTest::SetUp();
        make_sprites();
    }
    void make_sprites() {
        backdrop = rt_sprite_create(-1, 2 * kWidth, kHeight);
        ASSERT_EQ(rt_draw_start(rt_sprite_output(backdrop)), 1);
        for (int32_t i = 0; i < 400; ++i)
            rt_draw_plot((i * 37) % (2 * kWidth), (i * 53) % kHeight, 0x30A0F0u + i);
        rt_draw_stop();
        actor = sprite_with_box(16, 16, 3, 2, 9, 11, kRed);
        textured = sprite_with_box(16, 16, 3, 2, 9, 11, kWhite, RT_SPRITE_TEXTURE);
        turned = rt_sprite3d_create(-1, textured);
        ASSERT_NE(turned, 0);
        rt_sprite3d_rotate(turned, 30.0f, 0);
    }
    void draw(const Frame& frame) {
        if (frame.clear) rt_screen_clear(kGreen);
        rt_sprite_draw(backdrop, frame.backdropX, 0);
        for (const Drawn& d : frame.drawn) {
            switch (d.kind) {
                case Kind::Keyed:
                    rt_sprite_draw_keyed(actor, d.x, d.y);
                    break;
                case Kind::Alpha:
                    rt_sprite_draw_alpha(actor, d.x, d.y, 128);
                    break;
                case Kind::Opaque:
                    rt_sprite_draw(actor, d.x, d.y);
                    break;
                case Kind::Turned:
                    rt_sprite3d_begin();
                    EXPECT_EQ(rt_sprite3d_draw(turned, d.x, d.y), 1);
                    rt_sprite3d_end();
                    break;
                default:
                    pass(d);
                    break;
            }
        }
        rt_screen_flip();
    }
    static void pass(const Drawn& d) {
        ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
        if (d.kind == Kind::Text) rt_draw_text(d.x, d.y, "Shield 100%", kWhite);
        if (d.kind == Kind::Box) rt_draw_box(d.x, d.y, 30, 7, kWhite);
        if (d.kind == Kind::Plot) rt_draw_plot(d.x, d.y, kWhite);
        rt_draw_stop();
    }
    // A pass that hands out the buffer's memory leaves nothing known about it.
    static void forget() {
        ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
        ASSERT_NE(rt_draw_buffer(), nullptr);
        rt_draw_stop();
    }
    static QImage shown_frame() {
        rt_scene_end();
        return rt::screen::back_buffer()->copy();
    }

    int32_t backdrop = 0, actor = 0, textured = 0, turned = 0;
};

TEST_F(BackBufferTest, EveryFrameMatchesTheSameFrameDrawnAfresh) {
    const std::vector<std::vector<Frame>> runs = {
        {{0, {{Kind::Keyed, 10, 10}}}, {0, {{Kind::Keyed, 50, 60}}}, {0, {}}},
        {{0, {{Kind::Alpha, 5, 5}, {Kind::Opaque, 100, 7}}}, {-1, {{Kind::Alpha, 6, 5}}}, {-1, {}}},
        {{-3, {{Kind::Turned, 150, 100}}}, {-3, {{Kind::Turned, 20, 200}}}, {-3, {}}},
        {{0, {{Kind::Text, 40, 30}}},
         {0, {{Kind::Box, 200, 100}}},
         {0, {{Kind::Plot, 7, 9}}},
         {0, {}}},
        {{0, {{Kind::Keyed, -8, -8}, {Kind::Keyed, kWidth - 8, kHeight - 8}}}, {0, {}}},
        {{0, {{Kind::Keyed, 30, 30}}}, {0, {}, false}, {-5, {}, false}},
    };
    for (size_t r = 0; r < runs.size(); ++r) {
        std::vector<QImage> drawn;
        forget();
        for (const Frame& frame : runs[r]) {
            draw(frame);
            drawn.push_back(shown_frame());
        }
        for (size_t f = 0; f < runs[r].size(); ++f) {
            forget();
            if (!runs[r][f].clear) rt_screen_clear(kGreen);
            draw(runs[r][f]);
            EXPECT_TRUE(shown_frame() == drawn[f]) << "run " << r << ", frame " << f;
        }
    }
}

TEST_F(BackBufferTest, TheWindowShowsEachFrameWhole) {
    // Unstretched, the window shows the buffer's own pixels.
    ASSERT_EQ(rt_screen_open(window_id(), 0, 0, kWidth, kHeight, 0, 0, 0), 1);
    make_sprites();
    QWidget* child = rt::screen::state().childControl;
    ASSERT_NE(child, nullptr);
    QWidget* top = child->window();
    top->show();
    const std::vector<Frame> frames = {
        {0, {{Kind::Keyed, 10, 10}, {Kind::Text, 40, 30}}},
        {0, {{Kind::Keyed, 60, 90}}},
        {0, {}},
        {-1, {{Kind::Turned, 100, 100}}},
        {-1, {}},
    };
    for (size_t f = 0; f < frames.size(); ++f) {
        draw(frames[f]);
        QApplication::processEvents();
        const QPoint at = child->mapTo(top, QPoint(0, 0));
        const QImage window = top->screen()->grabWindow(top->winId()).toImage();
        const QImage shown =
            window.copy(QRect(at, child->size())).convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == shown_frame()) << "frame " << f;
    }
}

}  // namespace

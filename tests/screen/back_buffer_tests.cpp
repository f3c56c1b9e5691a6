// SPDX-License-Identifier: GPL-3.0-or-later
// The screen redraws only what changed when a frame repeats its full-screen
// backdrop: whatever earlier frames drew, each frame must come out exactly as
// it does on a buffer that remembers nothing, and the window must show it.
#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
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

// The frame spread over `size` by exact bilinear weights, pixel centres on
// pixel centres, edge pixels held beyond the edges; rounded.
QImage smooth_scale(const QImage& frame, QSize size) {
    QImage out(size, QImage::Format_RGB32);
    const auto along = [](int t, int n, int p, int& low) {
        const double u = std::clamp((t + 0.5) * p / n - 0.5, 0.0, p - 1.0);
        low = std::min(int(u), p - 2);
        return u - low;
    };
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            int left = 0, top = 0;
            const double wx = along(x, size.width(), frame.width(), left);
            const double wy = along(y, size.height(), frame.height(), top);
            QRgb rgb = 0xFF000000u;
            for (int shift : {0, 8, 16}) {
                const auto c = [&](int dx, int dy) {
                    return double((frame.pixel(left + dx, top + dy) >> shift) & 0xFF);
                };
                const double upper = c(0, 0) + wx * (c(1, 0) - c(0, 0));
                const double lower = c(0, 1) + wx * (c(1, 1) - c(0, 1));
                rgb |= QRgb(std::lround(upper + wy * (lower - upper))) << shift;
            }
            out.setPixel(x, y, rgb);
        }
    }
    return out;
}

// Largest difference of one colour channel between two images of a size.
int largest_difference(const QImage& a, const QImage& b) {
    int most = a.size() == b.size() ? 0 : 256;
    for (int y = 0; most < 256 && y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (int shift : {0, 8, 16})
                most = std::max(most, std::abs(int((a.pixel(x, y) >> shift) & 0xFF) -
                                               int((b.pixel(x, y) >> shift) & 0xFF)));
    return most;
}

// At 1:1 the window shows the buffer's own pixels; enlarged, a smooth scale
// of the whole frame, within a step of rounding, although each present
// scales only what changed.
TEST_F(BackBufferTest, TheWindowShowsEachFrameWholeAtOneToOneAndEnlarged) {
    const std::vector<Frame> frames = {
        {0, {{Kind::Keyed, 10, 10}, {Kind::Text, 40, 30}}},
        {0, {{Kind::Keyed, 60, 90}}},
        {0, {}},
        {-1, {{Kind::Turned, 100, 100}}},
        {-1, {{Kind::Keyed, 47, 31}, {Kind::Plot, 200, 150}}},
        {-1, {}},
    };
    for (const int eighths : {8, 15, 20}) {
        const QSize size(kWidth * eighths / 8, kHeight * eighths / 8);
        rt_window_resize(window_id(), RT_WINDOW_KEEP, RT_WINDOW_KEEP, size.width(), size.height());
        ASSERT_EQ(rt_screen_open(window_id(), 0, 0, kWidth, kHeight, 1, 0, 0), 1);
        make_sprites();
        QWidget* child = rt::screen::state().childControl;
        ASSERT_NE(child, nullptr);
        QWidget* top = child->window();
        top->show();
        QApplication::processEvents();
        ASSERT_EQ(child->size(), size);
        for (size_t f = 0; f < frames.size(); ++f) {
            draw(frames[f]);
            QApplication::processEvents();
            const QPoint at = child->mapTo(top, QPoint(0, 0));
            const QImage window = top->screen()->grabWindow(top->winId()).toImage();
            const QImage shown = window.copy(QRect(at, size)).convertToFormat(QImage::Format_RGB32);
            const QImage expected = smooth_scale(shown_frame(), size);
            EXPECT_LE(largest_difference(shown, expected), eighths == 8 ? 0 : 1)
                << "x" << eighths / 8.0 << ", frame " << f;
        }
    }
    rt_window_resize(window_id(), RT_WINDOW_KEEP, RT_WINDOW_KEEP, 1024, 768);
}

// Writes to a sprite's pixels, through a lock or a pass, with draws of the
// sprite between them: whatever the order, each draw must show every write
// made before it. A sprite that is drawn between the writes must end as one
// that never was.
enum class Op { Lock, Write, Unlock, Draw, Plot, Box, Stop };
struct Step {
    Op op;
    int32_t x, y;
    uint32_t colour;  // 0x00BBGGRR; the blend for draws
};

class SpriteWrites : public ScreenTest {
  protected:
    struct Target {
        int32_t sprite = sprite_with_box(16, 16, 2, 2, 6, 6, kRed, RT_SPRITE_TEXTURE);
        int32_t turned = rt_sprite3d_create(-1, sprite);
        void free() const {
            rt_sprite3d_free(turned);
            rt_sprite_free(sprite);
        }
        uint32_t* bits = nullptr;
        int32_t pitch = 0;
        bool pass = false;
    };
    static void draw(const Target& t, int32_t x, int32_t y, uint32_t blend) {
        if (blend % 4 == 0) rt_sprite_draw(t.sprite, x, y);
        if (blend % 4 == 1) rt_sprite_draw_keyed(t.sprite, x, y);
        if (blend % 4 == 2) rt_sprite_draw_alpha(t.sprite, x, y, 255);
        if (blend % 4 == 3 && rt_sprite3d_begin() == 1) rt_sprite3d_draw(t.turned, x, y);
        rt_sprite3d_end();
    }
    // Runs the steps on the target; draws only `with_draws`.
    static void run(Target& t, const std::vector<Step>& steps, bool with_draws) {
        for (const Step& s : steps) {
            if (s.op == Op::Lock || (s.op == Op::Write && t.bits == nullptr)) {
                t.bits = static_cast<uint32_t*>(
                    rt_sprite_lock(rt_sprite_pixels_of(t.sprite), s.x & 1, &t.pitch));
            }
            if (s.op == Op::Write) t.bits[s.y * t.pitch / 4 + s.x] = rt::screen::to_argb(s.colour);
            if (s.op == Op::Unlock && t.bits) rt_sprite_unlock(rt_sprite_pixels_of(t.sprite));
            if (s.op == Op::Draw && with_draws) {
                // Drawn now (the step's way), it looks as a fresh sprite of its
                // pixels: taken through the open lock (which leaves the
                // sprite's own store alone) or else copied.
                rt_screen_clear(kBlue);
                draw(t, 0, 0, s.colour);
                const Target now{t.bits ? rt_sprite_create_flags(-1, 16, 16, RT_SPRITE_TEXTURE)
                                        : rt_sprite_copy(t.sprite, -1)};
                if (t.bits) {
                    void* to = rt_sprite_lock(rt_sprite_pixels_of(now.sprite), 0, nullptr);
                    std::memcpy(to, t.bits, static_cast<size_t>(16 * t.pitch));
                    rt_sprite_unlock(rt_sprite_pixels_of(now.sprite));
                }
                draw(now, 40, 0, s.colour);
                expect_alike(20, "drawn between the writes");
                now.free();
            }
            // A pass (its start, its painting, its end) ends the lock as well.
            const bool in_pass = s.op == Op::Plot || s.op == Op::Box;
            if (in_pass && !t.pass) t.pass = rt_draw_start(rt_sprite_output(t.sprite)) == 1;
            if (s.op == Op::Plot) rt_draw_plot(s.x, s.y, s.colour);
            if (s.op == Op::Box) rt_draw_box(s.x, s.y, 3, 3, s.colour);
            if (s.op == Op::Stop && t.pass) rt_draw_stop();
            if (s.op == Op::Unlock || in_pass || s.op == Op::Stop) t.bits = nullptr;
            if (s.op == Op::Stop) t.pass = false;
        }
        if (t.pass) rt_draw_stop();
        if (t.bits) rt_sprite_unlock(rt_sprite_pixels_of(t.sprite));
    }
    // The columns at 0 and 40 look the same, down to `height`.
    static void expect_alike(int32_t height, const std::string& what) {
        rt_scene_end();
        const QImage* back = rt::screen::back_buffer();
        EXPECT_TRUE(back->copy(0, 0, 20, height) == back->copy(40, 0, 20, height)) << what;
    }
    // Both targets, drawn every way side by side, look the same.
    static void expect_same(const Target& a, const Target& b, const std::string& what) {
        rt_screen_clear(kBlue);
        for (uint32_t blend = 0; blend < 4; ++blend) {
            draw(a, 0, 20 * blend, blend);
            draw(b, 40, 20 * blend, blend);
        }
        expect_alike(80, what);
    }
};

TEST_F(SpriteWrites, EveryWriteShowsInTheNextDraw) {
    // The orders found stale first (lock, write, draw, write, draw, unlock;
    // in a pass: plot, draw, plot, end; a read-only lock's write; a painted
    // box), then random ones.
    // clang-format off
    std::vector<std::vector<Step>> runs = {
        {{Op::Write, 3, 3, kGreen}, {Op::Draw, 0, 0, 0}, {Op::Write, 4, 4, kWhite}, {Op::Draw, 0, 0, 0}},
        {{Op::Plot, 3, 3, kGreen}, {Op::Draw, 0, 0, 1}, {Op::Plot, 4, 4, kWhite}},
        {{Op::Draw, 0, 0, 2}, {Op::Lock, 1, 0, 0}, {Op::Write, 5, 5, kGreen}},
        {{Op::Box, 1, 1, kGreen}, {Op::Stop, 0, 0, 0}, {Op::Draw, 0, 0, 0}, {Op::Plot, 0, 0, kWhite}}};
    // clang-format on
    std::mt19937 random(29);
    for (int r = 0; r < 200; ++r) {
        std::vector<Step>& steps = runs.emplace_back();
        for (int i = 0; i < 10; ++i) {
            steps.push_back({Op(random() % 7), int32_t(random() % 16), int32_t(random() % 16),
                             uint32_t(random() & 0xFFFFFF)});
        }
    }
    for (size_t r = 0; r < runs.size(); ++r) {
        Target drawn, undrawn;
        run(drawn, runs[r], true);
        run(undrawn, runs[r], false);
        expect_same(drawn, undrawn, "run " + std::to_string(r));
        drawn.free();
        undrawn.free();
    }
}

}  // namespace

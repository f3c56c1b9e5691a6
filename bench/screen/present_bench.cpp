// SPDX-License-Identifier: GPL-3.0-or-later
// Presenting a frame like the game's: a star-field backdrop that scrolls a
// pixel every third frame, with sprites moving over it. The runtime's present
// at 1:1 and enlarged into a window's client area (1920 x 1080, 2560 x 1440)
// against Qt's own smooth scaled draw of the whole frame into a widget of the
// same size, each after the same drawing, in one run so the ratios hold on a
// loaded machine (run with QT_QPA_PLATFORM=offscreen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <random>
#include <string>
#include <vector>

#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"

namespace {

constexpr int32_t kGameFlags = 0xCB0000;  // caption, system menu, minimize and maximize boxes
constexpr int32_t kWidth = 1024, kHeight = 768;

struct Scene {
    int32_t window = 0;
    int32_t backdrop = 0;
    struct Actor {
        int32_t sprite, x, y, dx, dy;
    };
    std::vector<Actor> actors;
};

int32_t box_sprite(int32_t size, uint32_t colour) {
    const int32_t sprite = rt_sprite_create_flags(-1, size, size, 0);
    rt_draw_start(rt_sprite_output(sprite));
    rt_draw_box(size / 4, size / 4, size / 2, size / 2, colour);
    rt_draw_stop();
    return sprite;
}

// A window with the screen open in it; a 2048-pixel star field as wide as
// the game's, 30 small and 8 large sprites.
Scene& scene() {
    static Scene s;
    if (s.window != 0) return s;
    rt_string_init();
    rt_draw_init();
    rt_window_init();
    rt_screen_init();
    s.window = rt_window_open(-1, 0, 0, kWidth, kHeight, "present", kGameFlags);
    rt_screen_open(s.window, 0, 0, kWidth, kHeight, 1, 0, 0);
    rt_screen_frame_rate(0);
    std::mt19937 random(7);
    s.backdrop = rt_sprite_create(-1, 2 * kWidth, kHeight);
    rt_draw_start(rt_sprite_output(s.backdrop));
    for (int i = 0; i < 1000; ++i)
        rt_draw_plot(int32_t(random() % (2 * kWidth)), int32_t(random() % kHeight),
                     random() & 0xFFFFFF);
    rt_draw_stop();
    for (int i = 0; i < 38; ++i) {
        const int32_t size = i < 30 ? 16 : 64;
        s.actors.push_back({box_sprite(size, random() | 0x404040), int32_t(random() % kWidth),
                            int32_t(random() % kHeight), int32_t(random() % 7) - 3,
                            int32_t(random() % 7) - 3});
    }
    return s;
}

void draw_frame(int64_t frame) {
    Scene& s = scene();
    rt_screen_clear(0);
    rt_sprite_draw(s.backdrop, -static_cast<int32_t>(frame / 3 % kWidth), 0);
    for (Scene::Actor& a : s.actors) {
        a.x = (a.x + a.dx + kWidth) % kWidth;
        a.y = (a.y + a.dy + kHeight) % kHeight;
        rt_sprite_draw_keyed(a.sprite, a.x, a.y);
    }
}

void size_window(benchmark::State& state, bool shown) {
    QWidget* window = rt::qt::window_widget(scene().window);
    window->setVisible(shown);
    rt_window_resize(scene().window, RT_WINDOW_KEEP, RT_WINDOW_KEEP,
                     static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    QCoreApplication::processEvents();
    state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)));
}

// The runtime's flip, and the event pass of a game frame, which is where the
// window system gets the presented picture.
void BM_Present(benchmark::State& state) {
    size_window(state, true);
    int64_t frame = 0;
    for (auto _ : state) {
        draw_frame(frame++);
        rt_screen_flip();
        QCoreApplication::processEvents();
    }
}

// The whole back buffer drawn smoothly scaled into a widget by Qt, as a
// present that scales everything every frame would.
class WholeFrameView final : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), *rt::screen::back_buffer());
    }
};

void BM_QtSmoothWholeFrame(benchmark::State& state) {
    size_window(state, false);  // the runtime's own present then shows nothing
    WholeFrameView view;
    view.setAttribute(Qt::WA_OpaquePaintEvent);
    view.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    view.show();
    QCoreApplication::processEvents();
    int64_t frame = 0;
    for (auto _ : state) {
        draw_frame(frame++);
        rt_screen_flip();
        view.update();
        QCoreApplication::processEvents();
    }
}

}  // namespace

BENCHMARK(BM_Present)
    ->Args({kWidth, kHeight})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QtSmoothWholeFrame)
    ->Args({kWidth, kHeight})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

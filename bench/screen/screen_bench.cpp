// SPDX-License-Identifier: GPL-3.0-or-later
// Sprite draws and flips of the runtime against the same work done with plain
// QPainter calls on an image of the same size (run with QT_QPA_PLATFORM=offscreen).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <chrono>
#include <ctime>

#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/image/rt_image.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/window/rt_window.h"

namespace {

constexpr int kDrawsPerIteration = 100;

void start_runtime() {
    static bool started = false;
    if (started) return;
    rt_string_init();
    rt_image_decoder_init();
    rt_draw_init();
    rt_font_init();
    rt_window_init();
    rt_screen_init();
    rt_sprite3d_init();
    const int32_t window = rt_window_open(-1, 0, 0, 1024, 768, "bench", 0);
    rt_screen_open(window, 0, 0, 1024, 768, 1, 0, 0);
    rt_screen_frame_rate(0);
    started = true;
}

// A 64 x 64 picture: a disc on black, so a quarter of it is transparent.
int32_t sprite64() {
    start_runtime();
    static int32_t s = 0;
    if (s == 0) {
        s = rt_sprite_create_flags(-1, 64, 64, 4);
        rt_draw_start(rt_sprite_output(s));
        rt_draw_front_colour(0x40A0FF);
        rt_draw_ellipse(31, 31, 31, 31);
        rt_draw_stop();
    }
    return s;
}

QImage qt_sprite64() {
    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xFF, 0xA0, 0x40));
    p.drawEllipse(0, 0, 63, 63);
    return image;
}

void BM_Runtime_Keyed(benchmark::State& state) {
    const int32_t s = sprite64();
    for (auto _ : state) {
        for (int i = 0; i < kDrawsPerIteration; ++i)
            rt_sprite_draw_keyed(s, (i * 37) % 960, (i * 53) % 704);
        rt_scene_end();
    }
    state.SetItemsProcessed(state.iterations() * kDrawsPerIteration);
}

void BM_QPainter_Keyed(benchmark::State& state) {
    QImage target(1024, 768, QImage::Format_RGB32);
    const QImage image = qt_sprite64();
    for (auto _ : state) {
        QPainter p(&target);
        for (int i = 0; i < kDrawsPerIteration; ++i)
            p.drawImage(QPoint((i * 37) % 960, (i * 53) % 704), image);
    }
    state.SetItemsProcessed(state.iterations() * kDrawsPerIteration);
}

void BM_Runtime_Alpha(benchmark::State& state) {
    const int32_t s = sprite64();
    for (auto _ : state) {
        for (int i = 0; i < kDrawsPerIteration; ++i)
            rt_sprite_draw_alpha(s, (i * 37) % 960, (i * 53) % 704, 128);
        rt_scene_end();
    }
    state.SetItemsProcessed(state.iterations() * kDrawsPerIteration);
}

void BM_QPainter_Alpha(benchmark::State& state) {
    QImage target(1024, 768, QImage::Format_RGB32);
    const QImage image = qt_sprite64();
    for (auto _ : state) {
        QPainter p(&target);
        for (int i = 0; i < kDrawsPerIteration; ++i) {
            p.setOpacity(128 / 255.0);
            p.drawImage(QPoint((i * 37) % 960, (i * 53) % 704), image);
            p.setOpacity(1.0);
        }
    }
    state.SetItemsProcessed(state.iterations() * kDrawsPerIteration);
}

void BM_Runtime_Rotated(benchmark::State& state) {
    const int32_t r = rt_sprite3d_create(-1, sprite64());
    for (auto _ : state) {
        rt_sprite3d_begin();
        for (int i = 0; i < kDrawsPerIteration; ++i) {
            rt_sprite3d_rotate(r, 7.0f, 1);
            rt_sprite3d_draw(r, (i * 37) % 960, (i * 53) % 704);
        }
        rt_sprite3d_end();
        rt_scene_end();
    }
    rt_sprite3d_free(r);
    state.SetItemsProcessed(state.iterations() * kDrawsPerIteration);
}

void BM_QPainter_Rotated(benchmark::State& state) {
    QImage target(1024, 768, QImage::Format_RGB32);
    const QImage image = qt_sprite64();
    float angle = 0;
    for (auto _ : state) {
        QPainter p(&target);
        for (int i = 0; i < kDrawsPerIteration; ++i) {
            angle += 7.0f;
            QTransform t;
            t.translate((i * 37) % 960 + 32, (i * 53) % 704 + 32);
            t.rotate(angle);
            t.translate(-32, -32);
            p.setTransform(t);
            p.drawImage(QPoint(0, 0), image);
        }
    }
    state.SetItemsProcessed(state.iterations() * kDrawsPerIteration);
}

void BM_Runtime_FullOpaque(benchmark::State& state) {
    start_runtime();
    const int32_t s = rt_sprite_create(-1, 1024, 768);
    for (auto _ : state) {
        rt_sprite_draw(s, 0, 0);
        rt_scene_end();
    }
    rt_sprite_free(s);
}

void BM_QPainter_FullOpaque(benchmark::State& state) {
    QImage target(1024, 768, QImage::Format_RGB32);
    QImage image(1024, 768, QImage::Format_RGB32);
    image.fill(Qt::black);
    for (auto _ : state) {
        QPainter p(&target);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(QPoint(0, 0), image);
    }
}

void BM_Runtime_Flip(benchmark::State& state) {
    start_runtime();
    rt_screen_frame_rate(0);
    for (auto _ : state) rt_screen_flip();
}

// What a flip must at least do: end the painter and show the image in a widget-sized target.
void BM_QPainter_Flip(benchmark::State& state) {
    QImage back(1024, 768, QImage::Format_RGB32);
    QImage front(1024, 768, QImage::Format_RGB32);
    back.fill(Qt::black);
    for (auto _ : state) {
        QPainter p(&front);
        p.drawImage(QPoint(0, 0), back);
    }
}

// 300 flips paced at 60 frames per second: wall time against process CPU time.
void BM_Runtime_Paced300(benchmark::State& state) {
    start_runtime();
    for (auto _ : state) {
        rt_screen_frame_rate(60);
        const std::clock_t cpu0 = std::clock();
        const auto wall0 = std::chrono::steady_clock::now();
        for (int i = 0; i < 300; ++i) rt_screen_flip();
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
        const double cpu = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
        state.counters["wall_s"] = wall;
        state.counters["cpu_s"] = cpu;
        state.counters["cpu_share"] = cpu / wall;
        rt_screen_frame_rate(0);
    }
}

}  // namespace

BENCHMARK(BM_Runtime_Keyed);
BENCHMARK(BM_QPainter_Keyed);
BENCHMARK(BM_Runtime_Alpha);
BENCHMARK(BM_QPainter_Alpha);
BENCHMARK(BM_Runtime_Rotated);
BENCHMARK(BM_QPainter_Rotated);
BENCHMARK(BM_Runtime_FullOpaque);
BENCHMARK(BM_QPainter_FullOpaque);
BENCHMARK(BM_Runtime_Flip);
BENCHMARK(BM_QPainter_Flip);
BENCHMARK(BM_Runtime_Paced300)->Iterations(1)->Unit(benchmark::kMillisecond);

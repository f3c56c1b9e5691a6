// SPDX-License-Identifier: GPL-3.0-or-later
// Presenting a frame: the 1024 x 768 back buffer shown at 1:1 against the same
// frame stretched into a maximized window's client area, in one run so the
// ratios hold on a loaded machine (run with QT_QPA_PLATFORM=offscreen).
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/window/rt_window.h"

namespace {

constexpr int32_t kGameFlags = 0xCB0000;  // caption, system menu, minimize and maximize boxes

int32_t game_window() {
    static int32_t window = 0;
    if (window != 0) return window;
    rt_string_init();
    rt_window_init();
    rt_screen_init();
    window = rt_window_open(-1, 0, 0, 1024, 768, "present", kGameFlags);
    rt_screen_open(window, 0, 0, 1024, 768, 1, 0, 0);
    rt_screen_frame_rate(0);
    return window;
}

// One flip and the event pass of a game frame, which is where the window
// system gets the presented picture.
void BM_Present(benchmark::State& state) {
    const int32_t window = game_window();
    rt_window_resize(window, RT_WINDOW_KEEP, RT_WINDOW_KEEP, static_cast<int32_t>(state.range(0)),
                     static_cast<int32_t>(state.range(1)));
    QCoreApplication::processEvents();
    uint32_t colour = 0;
    for (auto _ : state) {
        rt_screen_clear(colour += 0x010101);
        rt_screen_flip();
        QCoreApplication::processEvents();
    }
    state.SetLabel(std::to_string(state.range(0)) + "x" + std::to_string(state.range(1)));
}

}  // namespace

BENCHMARK(BM_Present)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->Args({2560, 1440})
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

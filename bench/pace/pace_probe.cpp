// SPDX-License-Identifier: GPL-3.0-or-later
// Plays the demo for a number of frames (default 1800) and, as the program
// ends, prints the processor time it took as a share of one core and how
// regular the flips were against the paced period of 1/61 s. Both are taken
// from the first flip to the last, so start-up is left out. The processor
// share is also given for each kind of screen: the level in play, the held
// screens (pause and end panels, which show a grab of the frame) and the
// story and level intro (the loops that also sleep 10 ms per frame).
// Usage: pace_probe [frames [seed [window|maximized|fullscreen]]], run where
// zentara/ holds the asset pack; the window is shown as asked (default: as
// the program opens it).
#include <time.h>

#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/core/game_state.h"
#include "game/pilot/demo_pilot.h"
#include "game/program/options.h"
#include "game/program/program.h"
#include "runtime/input/rt_input.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_state.h"
#include "runtime/window/qt_platform.h"

extern "C" int32_t __real_rt_screen_flip(void);
extern "C" int32_t __real_rt_input_post_mouse_move(int32_t window, int32_t x, int32_t y);
extern "C" void __real_rt_delay(int32_t ms);

namespace {

enum Screen { kPlay, kHeld, kStory, kScreens };
const char* const kScreenNames[kScreens] = {"play", "pause and end panels", "story and intro"};

struct FlipTime {
    double wall;    // seconds on the monotonic clock
    double cpu;     // seconds of processor time, all threads
    Screen screen;  // what the frame ending here showed
};

bool g_delayed = false;  // the frame being made slept in rt_delay

std::vector<FlipTime>& flips() {
    static std::vector<FlipTime> times;
    return times;
}

double seconds(clockid_t clock) {
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

double percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0.0;
    const size_t rank = std::min(values.size() - 1, size_t(share * double(values.size())));
    std::nth_element(values.begin(), values.begin() + rank, values.end());
    return values[rank];
}

void report() {
    const std::vector<FlipTime>& t = flips();
    if (t.size() < 3) {
        std::printf("pace: too few flips (%zu) to measure\n", t.size());
        return;
    }
    const double wall = t.back().wall - t.front().wall;
    const double cpu = t.back().cpu - t.front().cpu;
    constexpr double kPeriod = 1.0 / 61.0;
    std::vector<double> deviation;
    for (size_t i = 1; i < t.size(); ++i)
        deviation.push_back(std::fabs(t[i].wall - t[i - 1].wall - kPeriod));
    const double within = double(std::count_if(deviation.begin(), deviation.end(),
                                               [](double d) { return d <= 1e-3; })) /
                          double(deviation.size());
    const double fps = double(t.size() - 1) / wall;
    std::printf("pace: %zu flips in %.2f s, %.2f per second\n", t.size(), wall, fps);
    std::printf("pace: processor %.2f%% of one core (all threads, first flip to last)\n",
                100.0 * cpu / wall);
    std::printf(
        "pace: %.2f%% of periods within 1 ms of 1/61 s; deviation median %.3f ms, "
        "99th percentile %.3f ms, largest %.3f ms\n",
        100.0 * within, 1e3 * percentile(deviation, 0.5), 1e3 * percentile(deviation, 0.99),
        1e3 * *std::max_element(deviation.begin(), deviation.end()));
    const rt::screen::FramePacer& pacer = rt::screen::state().pacer;
    if (pacer.waits() > 0)
        std::printf(
            "pace: the pacer waited %lld times, awake %.1f us per wait on average; "
            "wake-up margin at the end %.1f us\n",
            static_cast<long long>(pacer.waits()),
            1e-3 * double(pacer.spun().count()) / double(pacer.waits()),
            1e-3 * double(pacer.wake_margin().margin().count()));
    double cpu_of[kScreens] = {}, wall_of[kScreens] = {};
    int frames_of[kScreens] = {};
    for (size_t i = 1; i < t.size(); ++i) {
        cpu_of[t[i].screen] += t[i].cpu - t[i - 1].cpu;
        wall_of[t[i].screen] += t[i].wall - t[i - 1].wall;
        frames_of[t[i].screen] += 1;
    }
    for (int k = 0; k < kScreens; ++k)
        if (frames_of[k] > 0)
            std::printf("pace:   %s: %d frames, processor %.2f%% of one core\n", kScreenNames[k],
                        frames_of[k], 100.0 * cpu_of[k] / wall_of[k]);
    const double spin_us =
        pacer.waits() > 0 ? 1e-3 * double(pacer.spun().count()) / double(pacer.waits()) : 0.0;
    auto share = [&](int k) { return wall_of[k] > 0 ? 100.0 * cpu_of[k] / wall_of[k] : 0.0; };
    std::printf(
        "pace-result cpu=%.2f within=%.2f p99=%.3f fps=%.2f spin_us=%.1f play=%.2f "
        "held=%.2f story=%.2f\n",
        100.0 * cpu / wall, 100.0 * within, 1e3 * percentile(deviation, 0.99), fps, spin_us,
        share(kPlay), share(kHeld), share(kStory));
    std::fflush(stdout);
}

}  // namespace

extern "C" int32_t __wrap_rt_screen_flip(void) {
    const int32_t result = __real_rt_screen_flip();
    const Screen screen = g_delayed ? kStory : game.PauseImage != 0 ? kHeld : kPlay;
    g_delayed = false;
    flips().push_back({seconds(CLOCK_MONOTONIC), seconds(CLOCK_PROCESS_CPUTIME_ID), screen});
    return result;
}

// The pilot aims at picture pixels: in an enlarged window the pointer goes
// where the window shows them, as a player's would.
extern "C" int32_t __wrap_rt_input_post_mouse_move(int32_t window, int32_t x, int32_t y) {
    if (rt_input_post_screen_mouse_move(x, y) != 0) return 1;
    return __real_rt_input_post_mouse_move(window, x, y);
}

extern "C" void __wrap_rt_delay(int32_t ms) {
    g_delayed = true;
    __real_rt_delay(ms);
}

int main(int argc, char** argv) {
    ProgramOptions options;
    options.Demo = true;
    options.Frames = argc > 1 ? std::atoll(argv[1]) : 1800;
    options.Seed = argc > 2 ? uint32_t(std::strtoul(argv[2], nullptr, 10)) : 1u;
    const char* shown = argc > 3 ? argv[3] : "window";
    options.Fullscreen = std::strcmp(shown, "fullscreen") == 0;
    flips().reserve(size_t(*options.Frames) + 16);
    std::atexit(report);
    StartProgram(options);
    if (std::strcmp(shown, "maximized") == 0)
        rt::qt::window_widget(game.MainWindow)->showMaximized();
    StartDemo(options);
    RunMenuLoop();
}

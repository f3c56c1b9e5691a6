// SPDX-License-Identifier: GPL-3.0-or-later
// The precise wait of the frame pacer on POSIX: an absolute sleep on the
// monotonic clock (the one steady_clock reads) to the learnt margin before
// the deadline, then a short spin on the clock. The spin does not yield: on a
// busy machine a yield hands the processor to another process for a whole
// time slice, which makes the frame late by milliseconds.
#include <time.h>

#include <cerrno>

#include "runtime/screen/frame_pacer.h"

namespace rt::screen {

namespace {

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

timespec to_timespec(FramePacer::Clock::time_point t) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000LL);
    ts.tv_nsec = static_cast<long>(ns % 1'000'000'000LL);
    return ts;
}

}  // namespace

std::chrono::nanoseconds wait_until(FramePacer::Clock::time_point deadline, WakeMargin& margin) {
    const auto wake = deadline - margin.margin();
    auto now = FramePacer::Clock::now();
    if (now < wake) {
        const timespec ts = to_timespec(wake);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
        now = FramePacer::Clock::now();
        margin.observe(now - wake);
    }
    const auto awake = now;
    while (now <= deadline) {
        relax();
        now = FramePacer::Clock::now();
    }
    return now - awake;
}

}  // namespace rt::screen

// The precise wait of the frame pacer on POSIX: an absolute sleep on the
// monotonic clock (the one steady_clock reads) to just before the deadline,
// then a short yielding wait, so a paced frame costs almost no CPU time.
#include "runtime/screen/frame_pacer.h"

#include <cerrno>
#include <sched.h>
#include <time.h>

namespace rt::screen {

namespace {
// Timer wake-ups are late by tens of microseconds; stop sleeping this early.
constexpr std::chrono::microseconds kSleepMargin{400};
}  // namespace

void wait_until(FramePacer::Clock::time_point deadline) {
    const auto sleep_until = deadline - kSleepMargin;
    if (FramePacer::Clock::now() < sleep_until) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            sleep_until.time_since_epoch())
                            .count();
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000LL);
        ts.tv_nsec = static_cast<long>(ns % 1'000'000'000LL);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
    }
    while (FramePacer::Clock::now() <= deadline) sched_yield();
}

}  // namespace rt::screen

// The precise wait of the frame pacer on POSIX: an absolute sleep on the
// monotonic clock (the one steady_clock reads) to shortly before the
// deadline, then a short spin on the clock. The spin does not yield: on a
// busy machine a yield hands the processor to another process for a whole
// time slice, which makes the frame late by milliseconds.
#include <time.h>

#include <cerrno>

#include "runtime/screen/frame_pacer.h"

namespace rt::screen {

namespace {
// Timer wake-ups come late by tens of microseconds, and by more while other
// processes keep the processors busy; stop sleeping this early.
constexpr std::chrono::microseconds kSleepMargin{1000};

inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}
}  // namespace

void wait_until(FramePacer::Clock::time_point deadline) {
    const auto sleep_until = deadline - kSleepMargin;
    if (FramePacer::Clock::now() < sleep_until) {
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(sleep_until.time_since_epoch())
                .count();
        timespec ts{};
        ts.tv_sec = static_cast<time_t>(ns / 1'000'000'000LL);
        ts.tv_nsec = static_cast<long>(ns % 1'000'000'000LL);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
    }
    while (FramePacer::Clock::now() <= deadline) relax();
}

}  // namespace rt::screen

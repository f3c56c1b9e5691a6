// SPDX-License-Identifier: GPL-3.0-or-later
// The millisecond clock and the delay.

#include <time.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "runtime/core/boundary.h"
#include "runtime/core/replay_hooks.h"
#include "runtime/core/rt_core.h"

namespace {

// Monotonic time since boot, truncated to 32 bits so that it wraps like a tick
// counter: callers subtract two readings as unsigned values.
int32_t clock_reading() {
    auto since_boot = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_boot).count();
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ms)));
}

}  // namespace

using rt::core::guarded;

extern "C" {

uint32_t rt_ms_elapsed(void) {
    return guarded(__func__, 0u, [&]() -> uint32_t {
        return static_cast<uint32_t>(rt::replay::reading(rt::replay::Kind::clock, clock_reading));
    });
}

void rt_delay(int32_t ms) {
    guarded(__func__, [&] {
        // A replay answers the clock from its recording: waiting would only slow it.
        if (ms <= 0 || rt::replay::playing()) {
            std::this_thread::yield();
            return;
        }
        timespec wait{ms / 1000, static_cast<long>(ms % 1000) * 1000000L};
        timespec left{};
        // A signal cuts the sleep short: sleep on for what is left.
        while (nanosleep(&wait, &left) == -1 && errno == EINTR) wait = left;
    });
}

}  // extern "C"

// SPDX-License-Identifier: GPL-3.0-or-later
// The random generator: a lagged-Fibonacci rotate generator (RANROT type W,
// lags 17 and 10) with one state per thread, seeded on its first draw.

#include <sys/syscall.h>
#include <unistd.h>

#include <bit>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

namespace {

struct RandomState {
    int32_t i;
    int32_t j;
    uint32_t a[17];
    uint32_t b[17];
    bool seeded;
};

// Lives with its thread, so nothing is left behind when the thread ends.
thread_local RandomState t_random{};

uint32_t step(RandomState& s) {
    uint32_t r = std::rotr(s.b[s.i], 13) + s.b[s.j];
    uint32_t t = std::rotr(s.a[s.i], 5) + s.a[s.j];
    s.a[s.i] = r;
    s.b[s.i] = t;
    if (--s.i < 0) s.i = 16;
    if (--s.j < 0) s.j = 16;
    return r;
}

void seed(RandomState& s, uint32_t x) {
    for (int k = 0; k < 17; ++k) {
        s.b[k] = 1u - x * 0x53A9B4FBu;
        x = 1u - s.b[k] * 0x53A9B4FBu;
        s.a[k] = x;
    }
    s.i = 0;
    s.j = 10;
    for (int k = 0; k < 31; ++k) step(s);
    s.seeded = true;
}

RandomState& state() {
    // Thread id and clock differ between threads and runs: no fixed sequence.
    if (!t_random.seeded)
        seed(t_random, static_cast<uint32_t>(syscall(SYS_gettid)) ^ rt_ms_elapsed());
    return t_random;
}

}  // namespace

using rt::core::guarded;

extern "C" {

int32_t rt_random(int32_t max) {
    return guarded(__func__, 0, [&]() -> int32_t {
        uint32_t r = step(state());
        uint32_t range = static_cast<uint32_t>(max) + 1u;
        if (range == 0) return static_cast<int32_t>(r);
        // Scaling by a 64-bit product spreads r evenly over the range, no division.
        return static_cast<int32_t>((static_cast<uint64_t>(r) * range) >> 32);
    });
}

void rt_random_seed(int32_t value) {
    guarded(__func__, [&] { seed(t_random, static_cast<uint32_t>(value)); });
}

}  // extern "C"

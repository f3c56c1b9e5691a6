// SPDX-License-Identifier: GPL-3.0-or-later
// Per-thread areas and thread-exit clean-ups.
//
// The registered layout is process-wide. Each thread owns a ThreadState that
// holds its areas and its chain of clean-ups; a thread_local guard object is
// armed when the state is created, and its destructor (which runs as the thread
// ends) runs the chain in registration order and frees the state.
//
// A thread's areas are kept in chunks that never move: the first use of the
// areas creates one chunk for every area registered so far, and areas registered
// later (normally none after start-up) get a chunk of their own on first use.

#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

namespace {

// Areas start at this alignment so that they can hold pointers and doubles.
constexpr int32_t kAreaAlign = static_cast<int32_t>(alignof(std::max_align_t));

struct Registration {
    int32_t offset;
    int32_t size;
    rt_area_fn init;
    rt_area_fn destroy;
};

struct Layout {
    std::mutex lock;
    std::vector<Registration> areas;
    int32_t total = 0;
};

Layout& layout() {
    static Layout instance;
    return instance;
}

struct Chunk {
    int32_t begin;
    int32_t end;
    std::unique_ptr<std::byte[]> memory;
};

struct ThreadState {
    std::vector<Chunk> chunks;
    std::vector<Registration> covered;  // areas this thread has, in order
    int32_t covered_end = 0;
    bool areas_cleanup_registered = false;
    std::vector<std::pair<rt_cleanup_fn, void*>> cleanups;
};

// Plain pointer: it must stay readable while the guard below runs clean-ups
// that may touch it, after which it is reset.
thread_local ThreadState* t_state = nullptr;

struct ExitGuard {
    ~ExitGuard() {
        // Clean-ups may append further clean-ups, or even recreate the state;
        // a few passes settle every realistic case.
        for (int pass = 0; pass < 4 && t_state; ++pass) {
            ThreadState* state = t_state;
            for (size_t i = 0; i < state->cleanups.size(); ++i) {
                auto [fn, data] = state->cleanups[i];
                fn(data);
            }
            t_state = nullptr;
            delete state;
        }
    }
};

ThreadState& state() {
    if (!t_state) {
        thread_local ExitGuard guard;
        (void)guard;
        t_state = new ThreadState;
    }
    return *t_state;
}

void destroy_areas(void* data) {
    auto* s = static_cast<ThreadState*>(data);
    for (const Registration& r : s->covered) {
        if (!r.destroy) continue;
        for (Chunk& c : s->chunks)
            if (r.offset >= c.begin && r.offset < c.end)
                r.destroy(c.memory.get() + (r.offset - c.begin));
    }
    s->chunks.clear();
    s->covered.clear();
    s->covered_end = 0;
    s->areas_cleanup_registered = false;
}

// Gives the calling thread every area registered so far, running their inits.
void extend_areas(ThreadState& s) {
    std::vector<Registration> added;
    {
        std::lock_guard guard(layout().lock);
        for (const Registration& r : layout().areas)
            if (r.offset >= s.covered_end) added.push_back(r);
    }
    if (added.empty()) return;
    int32_t begin = added.front().offset;
    int32_t end = added.back().offset + added.back().size;
    Chunk chunk{begin, end, std::make_unique<std::byte[]>(static_cast<size_t>(end - begin))};
    std::byte* base = chunk.memory.get();
    s.chunks.push_back(std::move(chunk));
    s.covered.insert(s.covered.end(), added.begin(), added.end());
    s.covered_end = end;
    if (!s.areas_cleanup_registered) {
        s.areas_cleanup_registered = true;
        rt_on_thread_exit(destroy_areas, &s);
    }
    for (const Registration& r : added)
        if (r.init) r.init(base + (r.offset - begin));
}

}  // namespace

using rt::core::fail;
using rt::core::guarded;

// The largest area a registration takes; the layout stays far inside 32 bits.
constexpr int32_t kMaxAreaSize = 1 << 24;

extern "C" {

int32_t rt_thread_area_register(int32_t size, rt_area_fn init, rt_area_fn destroy) {
    return guarded(__func__, -1, [&] {
        if (size < 0 || size > kMaxAreaSize) return fail(-1, "area size not within 0 .. 2^24");
        const int32_t rounded =
            size < 1 ? kAreaAlign : (size + kAreaAlign - 1) / kAreaAlign * kAreaAlign;
        int32_t offset;
        {
            std::lock_guard guard(layout().lock);
            if (layout().total > INT32_MAX - rounded) return fail(-1, "no room for more areas");
            offset = layout().total;
            layout().areas.push_back({offset, rounded, init, destroy});
            layout().total += rounded;
        }
        // The registering thread gets the new area (and runs its init) right away.
        rt_thread_area(offset);
        return offset;
    });
}

void* rt_thread_area(int32_t offset) {
    return guarded(__func__, static_cast<void*>(nullptr), [&]() -> void* {
        if (offset < 0) return fail<void*>(nullptr, "negative offset");
        ThreadState& s = state();
        if (offset >= s.covered_end) extend_areas(s);
        for (Chunk& c : s.chunks)
            if (offset >= c.begin && offset < c.end) return c.memory.get() + (offset - c.begin);
        return fail<void*>(nullptr, "no area registered at the offset");
    });
}

void rt_on_thread_exit(rt_cleanup_fn fn, void* data) {
    guarded(__func__, [&] {
        if (fn == nullptr) return rt::core::record_failure("no function (NULL)");
        state().cleanups.emplace_back(fn, data);
    });
}

}  // extern "C"

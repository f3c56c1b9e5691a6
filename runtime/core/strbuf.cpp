// SPDX-License-Identifier: GPL-3.0-or-later
// The per-thread temporary string buffer and string variables.
//
// Expressions are built at increasing offsets in one growable block per thread;
// only assignment to a variable allocates. The block is created on a thread's
// first string operation and freed by a thread-exit clean-up.

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/core/strbuf_internal.h"

namespace zentara::core {
thread_local TempStringBuffer* t_buffer = nullptr;
}

using zentara::core::buffer;
using zentara::core::t_buffer;
using zentara::core::TempStringBuffer;

namespace {

// Room kept past `capacity` so that the terminating NUL always fits.
constexpr int32_t kSlack = 5;
constexpr int32_t kInitialBlock = 16;
constexpr int32_t kGrowth = 16384;

// A thread whose first block cannot be had works in this one: its texts stay
// within it (growth allocates a real block, copying what is there).
thread_local char t_fallback_block[kInitialBlock + kSlack];

// Resizes the thread's block, keeping its contents; NULL when memory runs out.
char* resize_block(char* block, size_t size) {
    if (block != t_fallback_block) return static_cast<char*>(std::realloc(block, size));
    char* fresh = static_cast<char*>(std::malloc(size));
    if (fresh) std::memcpy(fresh, block, std::min(size, sizeof t_fallback_block));
    return fresh;
}

void free_buffer(void* data) {
    auto* buffer = static_cast<TempStringBuffer*>(data);
    if (t_buffer == buffer) t_buffer = nullptr;
    if (buffer->base != t_fallback_block) std::free(buffer->base);
    delete buffer;
}

// The block always holds capacity + kSlack bytes, so a NUL written at any
// offset up to `capacity` stays inside it.
int32_t block_size(const TempStringBuffer& b) {
    return b.capacity + kSlack;
}

// An offset the buffer does not have (negative, or past its capacity) means
// the fill position: growing the buffer to reach it would only waste memory.
int32_t clamp_offset(const TempStringBuffer& b, int32_t offset) {
    return offset < 0 || offset > b.capacity ? b.fill : offset;
}

}  // namespace

namespace zentara::core {

TempStringBuffer& create_buffer() {
    thread_local TempStringBuffer fallback{t_fallback_block, kInitialBlock, 0};
    auto* block = static_cast<char*>(std::malloc(kInitialBlock + kSlack));
    auto* b = block ? new (std::nothrow) TempStringBuffer{block, kInitialBlock, 0} : nullptr;
    if (b == nullptr) {
        std::free(block);
        fallback.base[0] = '\0';
        t_buffer = &fallback;
        return fallback;
    }
    b->base[0] = '\0';
    t_buffer = b;
    try {
        rt_on_thread_exit(free_buffer, b);
    } catch (...) {
        // Out of memory: the buffer stays until the process ends.
    }
    return *b;
}

}  // namespace zentara::core

using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;

extern "C" {

void rt_string_init(void) {
    guarded(__func__, [] { buffer(); });
}

void rt_strbuf_ensure(void) {
    guarded(__func__, [] { buffer(); });
}

int32_t rt_strbuf_pos(void) {
    return guarded(__func__, 0, [] { return buffer().fill; });
}

char* rt_strbuf_base(void) {
    return guarded(__func__, static_cast<char*>(nullptr), [] { return buffer().base; });
}

void rt_strbuf_close(void) {
    guarded(__func__, [] {
        TempStringBuffer& b = buffer();
        if (b.fill < b.capacity) b.fill += 1;
    });
}

void rt_strbuf_set_pos(int32_t offset) {
    guarded(__func__, [&] {
        TempStringBuffer& b = buffer();
        b.fill = offset < 0 ? 0 : std::min(offset, b.capacity);
    });
}

char* rt_strbuf_at(int32_t offset) {
    return guarded(__func__, static_cast<char*>(nullptr), [&] {
        rt_strbuf_set_pos(offset);
        return t_buffer->base + t_buffer->fill;
    });
}

char* rt_strbuf_reserve(int32_t length, int32_t offset) {
    return guarded(__func__, static_cast<char*>(nullptr), [&]() -> char* {
        if (length < 0) return fail<char*>(nullptr, "negative length");
        TempStringBuffer& b = buffer();
        offset = clamp_offset(b, offset);
        // Growth is judged from the higher of the fill position and the offset, so
        // a write at an offset above `fill` can never run past the block.
        int64_t end = static_cast<int64_t>(std::max(b.fill, offset)) + length;
        if (end >= static_cast<int64_t>(b.capacity) - 4) {
            int64_t capacity = end + kGrowth;
            char* grown = capacity > INT32_MAX - kSlack
                              ? nullptr
                              : resize_block(b.base, static_cast<size_t>(capacity) + kSlack);
            if (grown == nullptr) {
                // The result is the empty text at the offset, which always fits.
                b.fill = offset;
                b.base[offset] = '\0';
                return fail<char*>(nullptr, "out of memory for the string buffer");
            }
            b.base = grown;
            b.capacity = static_cast<int32_t>(capacity);
        }
        b.fill = offset + length;
        return b.base + offset;
    });
}

void rt_strbuf_release(int32_t count) {
    guarded(__func__, [&] {
        if (count < 0) return record_failure("negative count");
        TempStringBuffer& b = buffer();
        b.fill = std::max(0, b.fill - count);
    });
}

// A text inside the block is recorded by position (+1, so that 0 means "not in
// the buffer"). Any place in the block counts, not just below `fill`: growth
// keeps the whole block's contents, so such a text stays readable.
int32_t rt_strbuf_locate(const char* text) {
    return guarded(__func__, 0, [&] {
        TempStringBuffer& b = buffer();
        if (!text || text < b.base || text >= b.base + block_size(b)) return 0;
        return static_cast<int32_t>(text - b.base) + 1;
    });
}

char* rt_strbuf_ptr(int32_t located) {
    return guarded(__func__, static_cast<char*>(nullptr), [&] {
        TempStringBuffer& b = buffer();
        if (located < 1 || located > block_size(b))
            return fail<char*>(nullptr, "not a place rt_strbuf_locate answered");
        return b.base + located - 1;
    });
}

void rt_strbuf_append(const char* text) {
    guarded(__func__, [&] {
        size_t length = text ? std::strlen(text) : 0;
        int32_t at = rt_strbuf_locate(text);
        if (length > static_cast<size_t>(INT32_MAX)) length = 0;
        char* dest = rt_strbuf_reserve(static_cast<int32_t>(length), -1);
        if (dest == nullptr) return;
        if (at) text = rt_strbuf_ptr(at);
        if (length) std::memmove(dest, text, length);
        dest[length] = '\0';
    });
}

void rt_str_assign(char** variable, int32_t start) {
    guarded(__func__, [&] {
        if (variable == nullptr) return record_failure("no variable (NULL)");
        TempStringBuffer& b = buffer();
        start = clamp_offset(b, start);
        size_t length = b.fill > start ? static_cast<size_t>(b.fill - start) : 0;
        auto* block = static_cast<char*>(std::realloc(*variable, length + kSlack));
        if (block == nullptr) {
            // The variable keeps its block (at least kSlack bytes), emptied.
            if (*variable) **variable = '\0';
            b.fill = start;
            return record_failure("out of memory");
        }
        std::memcpy(block, b.base + start, length);
        block[length] = '\0';
        *variable = block;
        b.fill = start;
    });
}

void rt_str_free(char* text) {
    guarded(__func__, [&] { std::free(text); });
}

int32_t rt_str_equal(const char* a, const char* b) {
    return guarded(__func__, 0, [&] { return std::strcmp(a ? a : "", b ? b : "") == 0 ? 1 : 0; });
}

int32_t rt_str_len(const char* text) {
    return guarded(__func__, 0, [&] {
        if (!text) return 0;
        size_t length = std::strlen(text);
        return length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
    });
}

int32_t rt_str_count(const char* text, const char* pattern) {
    return guarded(__func__, 0, [&] {
        if (!text || !pattern || !*text || !*pattern) return 0;
        size_t length = std::strlen(pattern);
        int32_t count = 0;
        for (const char* p = text; *p;) {
            if (std::strncmp(p, pattern, length) == 0) {
                ++count;
                p += length;
            } else {
                ++p;
            }
        }
        return count;
    });
}

}  // extern "C"

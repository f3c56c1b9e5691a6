// SPDX-License-Identifier: GPL-3.0-or-later
// Element pool: fixed-size slots carved from blocks.
//
// Each slot starts with one pointer-sized word: the owning block while the slot
// is handed out, the next freed slot while it waits in its block's chain. Blocks
// sit in one of two lists: "open" (slots left to hand out) and "full".

#include <algorithm>
#include <cstddef>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

namespace {

struct Block {
    Block* next;
    Block* previous;
    void* freed;          // chain of freed slots
    int32_t capacity;     // slots in the block
    int32_t handed_out;   // slots taken from the never-used tail so far
    int32_t freed_count;  // slots in the chain
    bool full;            // which list holds the block
};

constexpr size_t kWord = sizeof(void*);
constexpr size_t kHeader = (sizeof(Block) + kWord - 1) / kWord * kWord;

}  // namespace

struct rt_pool {
    Block* full = nullptr;
    Block* open = nullptr;
    int32_t total_slots = 0;
    int32_t block_count = 0;
    size_t slot_size;
    int32_t min_slots;
    int32_t max_slots;
};

namespace {

void link(Block*& head, Block* block) {
    block->previous = nullptr;
    block->next = head;
    if (head) head->previous = block;
    head = block;
}

void unlink(Block*& head, Block* block) {
    if (block->previous)
        block->previous->next = block->next;
    else
        head = block->next;
    if (block->next) block->next->previous = block->previous;
}

void move_to(rt_pool* pool, Block* block, bool full) {
    unlink(block->full ? pool->full : pool->open, block);
    block->full = full;
    link(full ? pool->full : pool->open, block);
}

// The most bytes one block takes: blocks of huge elements hold fewer slots.
constexpr size_t kMaxBlockBytes = size_t{1} << 31;

Block* new_block(rt_pool* pool) {
    // About a sixteenth of what the pool already holds, in steps of 16.
    int32_t n = pool->total_slots / 16 / 16 * 16;
    n = std::clamp(n, pool->min_slots, pool->max_slots);
    n = static_cast<int32_t>(
        std::min<size_t>(n, std::max<size_t>(1, kMaxBlockBytes / pool->slot_size)));
    void* memory = ::operator new(kHeader + pool->slot_size * static_cast<size_t>(n), std::nothrow);
    if (!memory) {
        n = 1;
        memory = ::operator new(kHeader + pool->slot_size, std::nothrow);
        if (!memory) return nullptr;
    }
    auto* block = static_cast<Block*>(memory);
    *block = Block{nullptr, nullptr, nullptr, n, 0, 0, n == 1};
    link(block->full ? pool->full : pool->open, block);
    pool->total_slots += n;
    pool->block_count += 1;
    return block;
}

void free_block(rt_pool* pool, Block* block) {
    unlink(block->full ? pool->full : pool->open, block);
    pool->total_slots -= block->capacity;
    pool->block_count -= 1;
    ::operator delete(block);
}

void free_list(rt_pool* pool, Block*& head) {
    while (head) free_block(pool, head);
}

}  // namespace

using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;

namespace {

constexpr const char* kNoPool = "no pool (NULL)";

}  // namespace

extern "C" {

rt_pool* rt_pool_new(int32_t element_size, int32_t min_slots, int32_t max_slots) {
    return guarded(__func__, static_cast<rt_pool*>(nullptr), [&]() -> rt_pool* {
        if (element_size < 0 || element_size > RT_POOL_MAX_ELEMENT)
            return fail<rt_pool*>(nullptr, "element size not within 0 .. RT_POOL_MAX_ELEMENT");
        if (min_slots < 0 || max_slots < 0) return fail<rt_pool*>(nullptr, "negative slot count");
        auto* pool = new (std::nothrow) rt_pool;
        if (pool == nullptr) return fail<rt_pool*>(nullptr, "out of memory");
        size_t size = static_cast<size_t>(element_size) + kWord;
        pool->slot_size = (size + kWord - 1) / kWord * kWord;
        pool->min_slots = std::max(min_slots, 1);
        pool->max_slots = std::max(max_slots, pool->min_slots);
        return pool;
    });
}

void* rt_pool_alloc(rt_pool* pool) {
    return guarded(__func__, static_cast<void*>(nullptr), [&]() -> void* {
        if (pool == nullptr) return fail<void*>(nullptr, kNoPool);
        Block* block = pool->open;
        std::byte* slot;
        if (block) {
            if (block->freed) {
                slot = static_cast<std::byte*>(block->freed);
                block->freed = *reinterpret_cast<void**>(slot);
                block->freed_count -= 1;
            } else {
                slot = reinterpret_cast<std::byte*>(block) + kHeader +
                       pool->slot_size * static_cast<size_t>(block->handed_out++);
            }
            if (!block->freed && block->handed_out == block->capacity) move_to(pool, block, true);
        } else {
            block = new_block(pool);
            if (block == nullptr) return fail<void*>(nullptr, "out of memory");
            slot = reinterpret_cast<std::byte*>(block) + kHeader;
            block->handed_out = 1;
        }
        *reinterpret_cast<Block**>(slot) = block;
        return slot + kWord;
    });
}

void rt_pool_release(rt_pool* pool, void* element) {
    guarded(__func__, [&] {
        if (pool == nullptr) return record_failure(kNoPool);
        if (element == nullptr) return record_failure("no element (NULL)");
        std::byte* slot = static_cast<std::byte*>(element) - kWord;
        Block* block = *reinterpret_cast<Block**>(slot);
        bool was_full = block->freed_count == 0 && block->handed_out == block->capacity;
        *reinterpret_cast<void**>(slot) = block->freed;
        block->freed = slot;
        block->freed_count += 1;
        if (block->freed_count == block->handed_out)
            free_block(pool, block);
        else if (was_full)
            move_to(pool, block, false);
    });
}

void rt_pool_free_all(rt_pool* pool) {
    guarded(__func__, [&] {
        if (pool == nullptr) return record_failure(kNoPool);
        free_list(pool, pool->full);
        free_list(pool, pool->open);
    });
}

void rt_pool_destroy(rt_pool* pool) {
    guarded(__func__, [&] {
        if (pool == nullptr) return record_failure(kNoPool);
        rt_pool_free_all(pool);
        delete pool;
    });
}

int32_t rt_pool_total_slots(const rt_pool* pool) {
    return guarded(__func__, 0, [&] { return pool ? pool->total_slots : fail(0, kNoPool); });
}

int32_t rt_pool_block_count(const rt_pool* pool) {
    return guarded(__func__, 0, [&] { return pool ? pool->block_count : fail(0, kNoPool); });
}

}  // extern "C"

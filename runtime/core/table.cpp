// SPDX-License-Identifier: GPL-3.0-or-later
// Object tables: numbered slots in fixed pages plus dynamic records named by
// process-wide handles.
//
// Numbered lookups are lock-free: the page directory is published through an
// atomic pointer and never freed while the table lives (grown copies retire the
// old directory), so a reader always sees a directory at least as large as the
// capacity it read first. Everything else runs under the table's re-entrant lock.
//
// Dynamic lookups are remembered per thread: a hit skips the lock and the hash
// search. A dynamic record's memory stays with its table until the table is
// destroyed (a removed record's block is reused for a later one), and each
// block carries the handle it currently serves, cleared before the record
// goes; a remembered block is answered only while it still serves that handle.

#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

namespace {

// Records are laid out at this alignment so that libraries can keep pointers
// and 64-bit values in them.
constexpr size_t kRecordAlign = alignof(std::max_align_t);

// Dynamic handles count up from INT32_MIN; they stop before -1, which means
// "allocate". Shared by every table so that a handle is foreign everywhere else.
std::atomic<uint32_t> g_handles_issued{0};
constexpr uint32_t kHandleLimit = 0x7FFFFFFFu;  // INT32_MIN + this == -1

bool next_handle(int32_t* handle) {
    uint32_t n = g_handles_issued.load(std::memory_order_relaxed);
    do {
        if (n >= kHandleLimit) return false;
    } while (!g_handles_issued.compare_exchange_weak(n, n + 1, std::memory_order_relaxed));
    *handle = static_cast<int32_t>(0x80000000u + n);
    return true;
}

int32_t first_word(const std::byte* record) {
    int32_t word;
    std::memcpy(&word, record, sizeof word);
    return word;
}

size_t round_up(size_t n, size_t to) {
    return (n + to - 1) / to * to;
}

// Tables are told apart by a serial number, never reused, rather than by their
// address, which a later table may get.
std::atomic<uint64_t> g_tables_made{0};

// A dynamic record's block: the handle it serves (0 while spare), then the record.
struct DynamicBlock {
    std::atomic<int32_t> handle{0};
    std::byte* record() { return reinterpret_cast<std::byte*>(this) + kHeader; }
    static constexpr size_t kHeader = kRecordAlign;
};
static_assert(sizeof(DynamicBlock) <= DynamicBlock::kHeader);
static_assert(std::is_trivially_destructible_v<DynamicBlock>);  // blocks are freed as bytes

struct RememberedLookup {
    uint64_t table = 0;  // serial; 0 never names a table
    int32_t id = 0;
    DynamicBlock* block = nullptr;
};
// Room for every object a busy game frame touches (a few hundred); made on a
// thread's first dynamic lookup, so threads that never look up pay nothing.
constexpr size_t kRemembered = 1024;  // a power of two
thread_local std::unique_ptr<RememberedLookup[]> t_remembered;

// The thread's slot for (table, id); null when there is no memory for them.
RememberedLookup* remembered_slot(uint64_t table, int32_t id) {
    if (!t_remembered) {
        t_remembered.reset(new (std::nothrow) RememberedLookup[kRemembered]);
        if (!t_remembered) return nullptr;
    }
    const auto key = static_cast<uint32_t>(id) ^ static_cast<uint32_t>(table * 0x9E3779B9u);
    return &t_remembered[(key ^ (key >> 10)) & (kRemembered - 1)];
}

}  // namespace

struct rt_table {
    size_t record_size;  // as requested
    size_t stride;       // record_size rounded up to kRecordAlign
    int32_t page_slots;
    int32_t page_shift;
    rt_destructor destructor;

    // Numbered slots. `directory` points at the data of one of `directories`.
    std::vector<std::unique_ptr<std::byte[]>> pages;
    std::vector<std::unique_ptr<std::byte*[]>> directories;
    size_t directory_size = 0;
    std::atomic<std::byte**> directory{nullptr};
    std::atomic<int64_t> capacity{0};

    // Dynamic records by handle (nodes never move), chained from the oldest to
    // the newest for iteration.
    struct Dynamic {
        int32_t handle;
        Dynamic* older;
        Dynamic* newer;
        DynamicBlock* block;
        std::byte* record() const { return block->record(); }
    };
    std::unordered_map<int32_t, Dynamic> dynamic;
    Dynamic* oldest = nullptr;
    Dynamic* newest = nullptr;
    // Every block made for dynamic records, and those not serving one now.
    std::vector<std::unique_ptr<std::byte[]>> blocks;
    std::vector<DynamicBlock*> spare_blocks;

    // Iteration state: the walk is open while `walker` holds the lock. The
    // dynamic cursor is the next node to visit; removal keeps it valid.
    int64_t next_slot = 0;
    Dynamic* next_dynamic = nullptr;
    std::atomic<std::thread::id> walker{};

    mutable std::recursive_mutex lock;
    const uint64_t serial = g_tables_made.fetch_add(1, std::memory_order_relaxed) + 1;

    // A zero-filled block serving `handle`, reused when one is spare.
    DynamicBlock* take_block(int32_t handle) {
        DynamicBlock* block = nullptr;
        if (!spare_blocks.empty()) {
            block = spare_blocks.back();
            spare_blocks.pop_back();
        } else {
            blocks.push_back(std::make_unique<std::byte[]>(DynamicBlock::kHeader + stride));
            block = new (blocks.back().get()) DynamicBlock;
        }
        std::memset(block->record(), 0, stride);
        block->handle.store(handle, std::memory_order_release);
        return block;
    }

    std::byte* slot(int64_t id) const {
        std::byte** dir = directory.load(std::memory_order_acquire);
        return dir[id >> page_shift] + static_cast<size_t>(id & (page_slots - 1)) * stride;
    }

    void add_page() {
        auto page = std::make_unique<std::byte[]>(stride * static_cast<size_t>(page_slots));
        if (pages.size() == directory_size) {
            size_t grown = directory_size ? directory_size * 2 : 4;
            auto bigger = std::make_unique<std::byte*[]>(grown);
            for (size_t i = 0; i < pages.size(); ++i) bigger[i] = pages[i].get();
            directory.store(bigger.get(), std::memory_order_release);
            directories.push_back(std::move(bigger));
            directory_size = grown;
        }
        directories.back()[pages.size()] = page.get();
        pages.push_back(std::move(page));
        capacity.store(static_cast<int64_t>(pages.size()) * page_slots, std::memory_order_release);
    }

    std::byte* dynamic_record(int32_t id) const {
        RememberedLookup* kept = remembered_slot(serial, id);
        if (kept && kept->table == serial && kept->id == id &&
            kept->block->handle.load(std::memory_order_acquire) == id)
            return kept->block->record();
        DynamicBlock* found = nullptr;
        {
            std::lock_guard guard(lock);
            auto it = dynamic.find(id);
            if (it != dynamic.end()) found = it->second.block;
        }
        if (found == nullptr) return nullptr;
        if (kept) *kept = {serial, id, found};
        return found->record();
    }

    std::byte* record(int32_t id) const {
        std::byte* r = nullptr;
        if (id >= 0) {
            if (id < capacity.load(std::memory_order_acquire)) r = slot(id);
        } else if (id != -1) {
            r = dynamic_record(id);
        }
        return r && first_word(r) != 0 ? r : nullptr;
    }
};

using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;

namespace {

// The largest record a table keeps, and the most bytes one page may take.
constexpr int64_t kMaxRecordSize = int64_t{1} << 24;
constexpr int64_t kMaxPageBytes = int64_t{1} << 30;

constexpr const char* kNoTable = "no table (NULL)";

void* no_table() {
    return fail<void*>(nullptr, kNoTable);
}

}  // namespace

extern "C" {

rt_table* rt_table_new(int32_t record_size, int32_t initial_slots, rt_destructor destructor) {
    return guarded(__func__, static_cast<rt_table*>(nullptr), [&]() -> rt_table* {
        if (record_size < 0 || initial_slots < 0)
            return fail<rt_table*>(nullptr, "negative record size or slot count");
        const size_t size = record_size > 4 ? static_cast<size_t>(record_size) : 4;
        int32_t shift = 0;
        if (initial_slots >= 2) {
            shift = 1;
            while (shift < 30 && (int64_t{1} << shift) < initial_slots) ++shift;
        }
        if (record_size > kMaxRecordSize ||
            static_cast<int64_t>(round_up(size, kRecordAlign)) << shift > kMaxPageBytes)
            return fail<rt_table*>(nullptr, "record size or slot count too large");
        auto table = std::make_unique<rt_table>();
        table->record_size = size;
        table->stride = round_up(size, kRecordAlign);
        table->page_shift = shift;
        table->page_slots = 1 << shift;
        table->destructor = destructor;
        table->add_page();
        return table.release();
    });
}

void rt_table_destroy(rt_table* table) {
    guarded(__func__, [&] {
        if (table == nullptr) return record_failure(kNoTable);
        std::unique_ptr<rt_table> owned(table);
    });
}

void* rt_table_alloc(rt_table* table, int32_t id, int32_t* new_id) {
    if (new_id) *new_id = 0;
    return guarded(__func__, static_cast<void*>(nullptr), [&]() -> void* {
        if (table == nullptr) return no_table();
        if (id < -1 || id > RT_TABLE_MAX_ID)
            return fail<void*>(nullptr, "not -1 or a slot number 0 .. RT_TABLE_MAX_ID");
        std::lock_guard guard(table->lock);
        if (id == -1) {
            int32_t handle;
            if (!next_handle(&handle)) return fail<void*>(nullptr, "every handle is used up");
            // The block first: a failed allocation leaves the map untouched.
            DynamicBlock* block = table->take_block(handle);
            auto& node = table->dynamic[handle];
            node = {handle, table->newest, nullptr, block};
            if (table->newest)
                table->newest->newer = &node;
            else
                table->oldest = &node;
            table->newest = &node;
            std::byte* result = node.record();
            if (new_id) *new_id = handle;
            return result;
        }
        while (id >= table->capacity.load(std::memory_order_relaxed)) table->add_page();
        // An object still living under this number is destroyed first; the slot is
        // then handed out clean whatever the destructor left behind.
        if (table->destructor && first_word(table->slot(id)) != 0) table->destructor(id);
        std::byte* slot = table->slot(id);
        std::memset(slot, 0, table->stride);
        if (new_id) *new_id = id;
        return slot;
    });
}

void* rt_table_get(const rt_table* table, int32_t id) {
    return guarded(__func__, static_cast<void*>(nullptr), [&]() -> void* {
        if (table == nullptr) return no_table();
        std::byte* record = table->record(id);
        return record ? record : fail<void*>(nullptr, "the id names nothing");
    });
}

void* rt_table_check(const rt_table* table, int32_t id) {
    // Numbered slots are read without the lock, and dynamic records are
    // looked up under it (or found remembered). Naming nothing is an answer
    // here, not a failure: this is the probe for values of uncertain origin.
    return guarded(__func__, static_cast<void*>(nullptr),
                   [&]() -> void* { return table ? table->record(id) : no_table(); });
}

void rt_table_remove(rt_table* table, int32_t id) {
    guarded(__func__, [&] {
        if (table == nullptr) return record_failure(kNoTable);
        if (id >= 0) {
            if (id >= table->capacity.load(std::memory_order_acquire) ||
                first_word(table->slot(id)) == 0)
                return record_failure("the id names nothing");
            std::memset(table->slot(id), 0, table->stride);
            return;
        }
        std::lock_guard guard(table->lock);
        auto it = table->dynamic.find(id);
        if (it == table->dynamic.end()) return record_failure("the id names nothing");
        rt_table::Dynamic& node = it->second;
        // Cleared first, so no remembered lookup answers the record from here on.
        node.block->handle.store(0, std::memory_order_release);
        table->spare_blocks.push_back(node.block);
        if (table->next_dynamic == &node) table->next_dynamic = node.newer;
        (node.older ? node.older->newer : table->oldest) = node.newer;
        (node.newer ? node.newer->older : table->newest) = node.older;
        table->dynamic.erase(it);
    });
}

void rt_table_first(rt_table* table) {
    guarded(__func__, [&] {
        if (table == nullptr) return record_failure(kNoTable);
        table->lock.lock();
        // A walk this thread left unfinished is restarted rather than nested, so
        // an abandoned walk never leaves an extra hold on the lock.
        if (table->walker.load(std::memory_order_relaxed) == std::this_thread::get_id())
            table->lock.unlock();
        table->walker.store(std::this_thread::get_id(), std::memory_order_relaxed);
        table->next_slot = 0;
        table->next_dynamic = table->oldest;
    });
}

void* rt_table_next(rt_table* table, int32_t* id) {
    if (id) *id = 0;
    return guarded(__func__, static_cast<void*>(nullptr), [&]() -> void* {
        if (table == nullptr) return no_table();
        if (table->walker.load(std::memory_order_relaxed) != std::this_thread::get_id())
            return fail<void*>(nullptr, "no walk begun on this thread (rt_table_first)");
        // The cursor moves past each record before it is handed out, so removing
        // it (or anything else) cannot derail the walk.
        int64_t capacity = table->capacity.load(std::memory_order_relaxed);
        while (table->next_slot < capacity) {
            int64_t n = table->next_slot++;
            std::byte* r = table->slot(n);
            if (first_word(r) != 0) {
                if (id) *id = static_cast<int32_t>(n);
                return r;
            }
        }
        while (rt_table::Dynamic* node = table->next_dynamic) {
            table->next_dynamic = node->newer;
            if (first_word(node->record()) != 0) {
                if (id) *id = node->handle;
                return node->record();
            }
        }
        table->walker.store(std::thread::id{}, std::memory_order_relaxed);
        table->lock.unlock();
        return nullptr;  // the end of the walk, an answer
    });
}

void rt_table_free_all(rt_table* table) {
    guarded(__func__, [&] {
        if (table == nullptr) return record_failure(kNoTable);
        if (!table->destructor) return;
        rt_table_first(table);
        int32_t id;
        while (rt_table_next(table, &id)) table->destructor(id);
    });
}

int32_t rt_table_capacity(const rt_table* table) {
    return guarded(__func__, 0, [&] {
        if (table == nullptr) return fail(0, kNoTable);
        int64_t capacity = table->capacity.load(std::memory_order_acquire);
        return capacity > INT32_MAX ? INT32_MAX : static_cast<int32_t>(capacity);
    });
}

int32_t rt_table_page_slots(const rt_table* table) {
    return guarded(__func__, 0, [&] { return table ? table->page_slots : fail(0, kNoTable); });
}

}  // extern "C"

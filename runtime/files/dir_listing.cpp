// SPDX-License-Identifier: GPL-3.0-or-later
// Directory listings: the entries of a directory that match a wildcard
// pattern, one at a time, in a stable order (sorted by name).
#include <algorithm>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/dir_os.h"
#include "runtime/files/name_match.h"
#include "runtime/files/path_platform.h"
#include "runtime/files/rt_files.h"
#include "runtime/files/text_result.h"

namespace rt::files {
namespace {

constexpr int32_t kInitialSlots = 16;

struct DirRecord {
    int32_t open = 1;     // first word: non-zero while the listing exists
    int32_t started = 0;  // 0 until rt_dir_next has handed out the first entry
    size_t current = 0;   // index of the current entry
    std::vector<std::string> entries;
};

rt_table* g_dir_table = nullptr;
std::once_flag g_dir_table_once;

// Made by the first listing, not at start-up: most programs never list.
rt_table* dir_table() {
    std::call_once(g_dir_table_once, [] {
        g_dir_table =
            rt_table_new(static_cast<int32_t>(sizeof(DirRecord)), kInitialSlots, rt_dir_close);
    });
    return g_dir_table;
}

DirRecord* find_listing(int32_t id) {
    return static_cast<DirRecord*>(rt_table_check(dir_table(), id));
}

// Folded names first, so "B.png" sits between "a.png" and "c.png"; the exact
// bytes break ties between names that differ only in case.
bool name_before(const std::string& a, const std::string& b) {
    const auto fold = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return fold(x) < fold(y); });
    if (less) return true;
    if (equal_ignoring_case(a, b)) return a < b;
    return false;
}

// Splits "directory" + separator + "pattern" into the directory to read and
// the pattern for the last component; the pattern may carry directories too.
void split_search(const char* directory, const char* pattern, std::string& dir, std::string& mask) {
    std::string search = directory ? directory : "";
    if (!search.empty() && search.back() != '\\' && search.back() != '/') search += '/';
    search += (pattern && *pattern) ? pattern : "*.*";
    std::replace(search.begin(), search.end(), '\\', '/');
    const size_t slash = search.rfind('/');
    if (slash == std::string::npos) {
        dir.clear();
        mask = search;
    } else {
        dir = search.substr(0, slash + 1);
        mask = search.substr(slash + 1);
    }
    if (mask.empty()) mask = "*.*";
}

}  // namespace
}  // namespace rt::files

using namespace rt::files;
using rt::core::fail;
using rt::core::guarded;

namespace {
constexpr const char* kNoListing = "no such listing";
}  // namespace

extern "C" int32_t rt_dir_current(int32_t result_offset) {
    return guarded(__func__, 0, [&] { return put_text(os::current_directory(), result_offset); });
}

extern "C" int32_t rt_file_resolve(const char* name, int32_t result_offset) {
    return guarded(__func__, 0, [&] {
        if (name == nullptr) return fail(put_text({}, result_offset), "no file name (NULL)");
        return put_text(resolve_path(name), result_offset);
    });
}

extern "C" int32_t rt_dir_open(int32_t id, const char* directory, const char* pattern) {
    return guarded(__func__, 0, [&] {
        if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
        std::string dir, mask;
        split_search(directory, pattern, dir, mask);
        std::vector<std::string> names;
        if (!dir.empty()) dir = resolve_path(dir.c_str());
        // The directory first: one that cannot be read leaves the id as it was.
        if (!os::list_directory(dir, names))
            return fail(0, "the directory cannot be read", dir.empty() ? "." : dir.c_str());
        std::erase_if(names, [&](const std::string& name) { return !wildcard_match(mask, name); });
        std::sort(names.begin(), names.end(), name_before);
        int32_t new_id = 0;
        void* slot = rt_table_alloc(dir_table(), id, &new_id);
        if (!slot) return 0;  // the table said why
        auto* record = new (slot) DirRecord();
        record->entries = std::move(names);
        // An empty listing is open but has already "started", so the first
        // rt_dir_next answers 0.
        record->started = record->entries.empty() ? 1 : 0;
        // The caller of a fixed id keeps using it; any non-zero answer means success.
        return id == -1 ? new_id : 1;
    });
}

extern "C" int32_t rt_dir_next(int32_t listing) {
    return guarded(__func__, 0, [&] {
        DirRecord* record = find_listing(listing);
        if (!record) return fail(0, kNoListing);
        if (record->entries.empty()) return 0;
        if (record->started == 0) {
            record->started = 1;
            return 1;
        }
        if (record->current + 1 >= record->entries.size()) return 0;  // the end: an answer
        ++record->current;
        return 1;
    });
}

extern "C" int32_t rt_dir_entry_name(int32_t listing, int32_t result_offset) {
    return guarded(__func__, 0, [&] {
        const DirRecord* record = find_listing(listing);
        if (!record) return fail(put_text({}, result_offset), kNoListing);
        if (record->entries.empty()) return put_text({}, result_offset);
        return put_text(record->entries[record->current], result_offset);
    });
}

extern "C" void rt_dir_close(int32_t listing) {
    guarded(__func__, [&] {
        DirRecord* record = find_listing(listing);
        if (!record) return rt::core::record_failure(kNoListing);
        record->~DirRecord();
        rt_table_remove(dir_table(), listing);
    });
}

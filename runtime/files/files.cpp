// SPDX-License-Identifier: GPL-3.0-or-later
// Numbered sequential files: the file table and the line-level operations.
#include <cerrno>
#include <cstring>
#include <mutex>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/file_buffer.h"
#include "runtime/files/file_os.h"
#include "runtime/files/rt_files.h"

namespace rt::files {
namespace {

using rt::core::fail;

constexpr int32_t kInitialSlots = 16;
constexpr int32_t kLineChunk = 4096;

rt_table* g_file_table = nullptr;
std::once_flag g_file_table_once;

rt_table* file_table() {
    std::call_once(g_file_table_once, [] {
        g_file_table =
            rt_table_new(static_cast<int32_t>(sizeof(FileRecord)), kInitialSlots, rt_file_close);
    });
    return g_file_table;
}

FileRecord* find_file(int32_t id) {
    return static_cast<FileRecord*>(rt_table_check(file_table(), id));
}

int32_t open_with(int32_t id, const char* name, os::Access access) {
    if (name == nullptr) return fail(0, "no file name (NULL)");
    if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
    // The file first: a name that cannot be opened leaves the id as it was.
    const int32_t handle = os::open_file(name, access);
    if (handle == 0) return fail(0, std::strerror(errno), name);
    int32_t new_id = 0;
    void* slot = rt_table_alloc(file_table(), id, &new_id);
    if (!slot) {
        os::close(handle);
        return 0;  // the table said why
    }
    try {
        new (slot) FileRecord(handle);
    } catch (const std::bad_alloc&) {
        os::close(handle);
        // A numbered slot is left zero-filled, which already reads as free.
        rt_table_remove(file_table(), new_id);
        return fail(0, "out of memory");
    }
    // A fixed id answers the OS handle: non-zero even for slot 0.
    return id == -1 ? new_id : handle;
}

}  // namespace
}  // namespace rt::files

using namespace rt::files;
using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;

namespace {

constexpr const char* kNoFile = "no such open file";

// Reads the rest of a line into the temporary buffer from `start` on; answers
// its length, or -1 when the buffer cannot grow (the line is then dropped).
int32_t read_line_into(FileRecord& record, int32_t start, int32_t& reserved) {
    int32_t length = 0;
    for (;;) {
        uint8_t byte = 0;
        if (read_bytes(record, &byte, 1) != 1) byte = 0;
        if (byte == 0) break;  // end of file, or a NUL inside the file
        if (byte == '\r' || byte == '\n') {
            uint8_t next = 0;
            if (byte == '\r' && read_bytes(record, &next, 1) == 1 && next != '\n')
                unread_byte(record);
            break;
        }
        rt_strbuf_base()[start + length++] = static_cast<char>(byte);
        if (length == reserved) {
            // The block may move: only offsets are kept across this.
            rt_strbuf_release(reserved);
            reserved += kLineChunk;
            if (rt_strbuf_reserve(reserved, start) == nullptr) return -1;
        }
    }
    return length;
}

}  // namespace

extern "C" {

void rt_file_init(void) {
    guarded(__func__, [] { file_table(); });
}

int32_t rt_file_open_read(int32_t id, const char* name) {
    return guarded(__func__, 0, [&] { return open_with(id, name, os::Access::Read); });
}

int32_t rt_file_open(int32_t id, const char* name) {
    return guarded(__func__, 0, [&] { return open_with(id, name, os::Access::ReadWrite); });
}

int32_t rt_file_read_line(int32_t file, int32_t result_offset) {
    return guarded(__func__, 0, [&] {
        rt_strbuf_ensure();
        int32_t reserved = kLineChunk;
        // The buffer clamps the offset: the line starts where the room really is.
        char* room = rt_strbuf_reserve(reserved, result_offset);
        if (room == nullptr) return rt_strbuf_pos();  // out of memory: the empty text
        const auto start = static_cast<int32_t>(room - rt_strbuf_base());
        int32_t length = 0;
        if (FileRecord* record = find_file(file)) {
            length = read_line_into(*record, start, reserved);
            if (length < 0) return start;  // the empty text stands at start
        } else {
            record_failure(kNoFile);  // answers the empty text
        }
        rt_strbuf_release(reserved - length);
        rt_strbuf_base()[start + length] = '\0';
        return start;
    });
}

int32_t rt_file_write_line(int32_t file, const char* text) {
    return guarded(__func__, 0, [&] {
        FileRecord* record = find_file(file);
        if (!record) return fail(0, kNoFile);
        int32_t written = 0;
        if (text && *text) written += write_bytes(*record, text, rt_str_len(text));
        written += write_bytes(*record, "\r\n", 2);
        return written;
    });
}

void rt_file_close(int32_t file) {
    guarded(__func__, [&] {
        FileRecord* record = find_file(file);
        if (!record) return record_failure(kNoFile);
        flush(*record);
        const int32_t handle = record->handle;
        record->~FileRecord();
        os::close(handle);
        rt_table_remove(file_table(), file);
    });
}

void rt_file_close_all(void) {
    guarded(__func__, [] { rt_table_free_all(file_table()); });
}

}  // extern "C"

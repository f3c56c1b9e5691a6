// SPDX-License-Identifier: GPL-3.0-or-later
// Internal: the buffered state of one open sequential file.
//
// A file is either reading or writing through one buffer. Reading, the next
// byte to hand out is buffer[filled - count]; writing, the pending bytes are
// buffer[0 .. size - count). Switching from reading to writing gives the
// unread bytes back to the OS position; switching back flushes what is pending.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace rt::files {

inline constexpr int32_t kDefaultBufferSize = 4096;

enum class BufferState : int32_t { Write = 0, Read = 1 };

struct FileRecord {
    int32_t handle = 0;  // first word: non-zero while the record is in use
    int32_t count = 0;   // reading: bytes not yet handed out; writing: free bytes
    int32_t filled = 0;  // reading: bytes placed by the last refill
    BufferState state = BufferState::Read;
    std::vector<uint8_t> buffer;

    explicit FileRecord(int32_t os_handle, int32_t buffer_size = kDefaultBufferSize)
        : handle(os_handle), buffer(static_cast<size_t>(buffer_size)) {}

    int32_t size() const { return static_cast<int32_t>(buffer.size()); }
};

// Bytes copied into `destination` (fewer than `length` only at end of file).
int32_t read_bytes(FileRecord& file, void* destination, int32_t length);

// Bytes accepted. Small writes are buffered; the buffer is flushed before it
// would become completely full.
int32_t write_bytes(FileRecord& file, const void* data, int32_t length);

// Writes out pending bytes (writing state only). Answers the bytes written.
int32_t flush(FileRecord& file);

// Gives back the last byte handed out, so that the next read returns it again.
void unread_byte(FileRecord& file);

}  // namespace rt::files

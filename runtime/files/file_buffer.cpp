// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/files/file_buffer.h"

#include <algorithm>
#include <cstring>

#include "runtime/files/file_os.h"

namespace rt::files {
namespace {

uint8_t* read_position(FileRecord& file) {
    return file.buffer.data() + (file.filled - file.count);
}

}  // namespace

int32_t flush(FileRecord& file) {
    if (file.state != BufferState::Write) return 0;
    const int32_t pending = file.size() - file.count;
    file.count = file.size();
    if (pending <= 0) return 0;
    return os::write(file.handle, file.buffer.data(), pending);
}

int32_t read_bytes(FileRecord& file, void* destination, int32_t length) {
    if (length <= 0) return 0;
    if (file.state == BufferState::Write) {
        flush(file);
        file.state = BufferState::Read;
        file.count = 0;
        file.filled = 0;
    }
    auto* out = static_cast<uint8_t*>(destination);
    if (file.count >= length) {
        std::memcpy(out, read_position(file), static_cast<size_t>(length));
        file.count -= length;
        return length;
    }

    const int32_t from_buffer = file.count;
    std::memcpy(out, read_position(file), static_cast<size_t>(from_buffer));
    file.count = 0;
    const int32_t rest = length - from_buffer;
    if (rest >= file.size()) {
        // Large reads bypass the buffer entirely.
        return from_buffer + os::read(file.handle, out + from_buffer, rest);
    }
    const int32_t delivered = os::read(file.handle, file.buffer.data(), file.size());
    file.count = file.filled = delivered;
    const int32_t take = std::min(rest, delivered);
    std::memcpy(out + from_buffer, read_position(file), static_cast<size_t>(take));
    file.count -= take;
    return from_buffer + take;
}

int32_t write_bytes(FileRecord& file, const void* data, int32_t length) {
    if (length < 0) return 0;
    if (file.state == BufferState::Read) {
        // The OS position is ahead of the reader by the unread buffered bytes.
        os::seek_back(file.handle, file.count);
        file.state = BufferState::Write;
        file.count = file.size();
        file.filled = 0;
    }
    const auto* in = static_cast<const uint8_t*>(data);
    if (file.count > length) {
        std::memcpy(file.buffer.data() + (file.size() - file.count), in,
                    static_cast<size_t>(length));
        file.count -= length;
        return length;
    }
    flush(file);
    if (length < file.size()) {
        std::memcpy(file.buffer.data(), in, static_cast<size_t>(length));
        file.count -= length;
        return length;
    }
    return os::write(file.handle, in, length);
}

void unread_byte(FileRecord& file) {
    if (file.state == BufferState::Read && file.count < file.filled) ++file.count;
}

}  // namespace rt::files

// SPDX-License-Identifier: GPL-3.0-or-later
// Internal: the few operating-system file calls the buffered files rely on.
// Handles are positive integers; 0 never names an open file.
#pragma once
#include <cstdint>

namespace rt::files::os {

enum class Access { Read, ReadWrite };

// Opens `path` (resolved like every runtime path). ReadWrite creates a missing
// file and never truncates. Answers the handle, or 0 on failure.
int32_t open_file(const char* path, Access access);

// Reads up to `length` bytes, retrying short reads; fewer only at end of file
// or on an error. Answers the bytes delivered.
int32_t read(int32_t handle, void* destination, int32_t length);

// Writes all `length` bytes unless an error stops it. Answers the bytes written.
int32_t write(int32_t handle, const void* data, int32_t length);

// Moves the file position back by `count` bytes from where it is.
void seek_back(int32_t handle, int32_t count);

void close(int32_t handle);

}  // namespace rt::files::os

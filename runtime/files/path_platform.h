// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): path handling shared by every runtime library that opens
// files by name (sequential files, directory listing, sprites, sounds).
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace rt::files {

// Turns every "\" into "/" and, when the path does not exist as spelled, looks
// each component up case-insensitively in its directory. Answers the path to
// use: the existing file when one is found, otherwise the path as spelled (with
// "/" separators) so that it can be created.
std::string resolve_path(const char* path);

// What tells one version of a file from another without reading it: where
// it is, which file it is, and its size and change times. A rewrite moves the
// change times on (nanoseconds), a replacement changes the file number.
struct FileIdentity {
    std::string path;  // as resolved
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileIdentity& other) const;
};

// Resolves the path and looks the regular file there up. False when there is
// no regular file to read.
bool identify_file(const char* path, FileIdentity& out);

// Reads a whole file found through resolve_path. False when it cannot be read
// or holds more than 2^31 - 1 bytes (the reason recorded for rt_error).
// With `identity`, also tells which version of the file was read (taken from
// the open file, so it names the bytes in `out`); its path is left empty when
// the file changed while it was read.
bool read_whole_file(const char* path, std::vector<uint8_t>& out, FileIdentity* identity = nullptr);

}  // namespace rt::files

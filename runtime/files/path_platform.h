// Internal (C++ only): path handling shared by every runtime library that opens
// files by name (sequential files, directory listing, sprites, sounds).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rt::files {

// Turns every "\" into "/" and, when the path does not exist as spelled, looks
// each component up case-insensitively in its directory. Answers the path to
// use: the existing file when one is found, otherwise the path as spelled (with
// "/" separators) so that it can be created.
std::string resolve_path(const char* path);

// Reads a whole file found through resolve_path. False when it cannot be read.
bool read_whole_file(const char* path, std::vector<uint8_t>& out);

}  // namespace rt::files

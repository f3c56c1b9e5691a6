// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the whole pack: every picture, every sound and the level file.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Writes the pack into `dir` (which must exist). Returns the names written, or
// an empty list after printing what failed.
std::vector<std::string> write_pack(const std::string& dir);

}  // namespace assetgen

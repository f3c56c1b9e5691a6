// SPDX-License-Identifier: GPL-3.0-or-later
// Internal: the operating-system side of directory listings.
#pragma once
#include <string>
#include <vector>

namespace rt::files::os {

// Every entry name of `directory` ("" = the current directory), "." and ".."
// included, in the file system's order. False when it cannot be read.
bool list_directory(const std::string& directory, std::vector<std::string>& names);

// The current directory ending in "/", or "" when it cannot be found.
std::string current_directory();

}  // namespace rt::files::os

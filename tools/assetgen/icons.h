// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon for desktops: the player's ship on a round patch of deep
// space, drawn afresh at every size a desktop asks for.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Writes zentara_<size>.png for 48, 64, 128 and 256 pixels into `dir` (which
// must exist). Returns the names written, or an empty list after printing
// what failed.
std::vector<std::string> write_icons(const std::string& dir);

}  // namespace assetgen

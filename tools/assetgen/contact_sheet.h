// SPDX-License-Identifier: GPL-3.0-or-later
// The contact sheet: every picture of a pack on a dark grey background with its
// file name and size, small pictures enlarged.
#pragma once

#include <string>

namespace assetgen {

// Reads every .png of `pack_dir` (sorted by name) and writes the sheet to `out`.
bool write_contact_sheet(const std::string& out, const std::string& pack_dir);

}  // namespace assetgen

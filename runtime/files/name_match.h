// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing file names the way Windows does: letters match in either case.
#pragma once
#include <string_view>

namespace rt::files {

// Equal bytes, with ASCII letters matching in either case.
bool equal_ignoring_case(std::string_view a, std::string_view b);

// Wildcard match of a whole name: "*" stands for any run of characters (also
// none), "?" for exactly one; everything else matches itself, ignoring case.
bool wildcard_match(std::string_view pattern, std::string_view name);

}  // namespace rt::files

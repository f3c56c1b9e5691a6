// SPDX-License-Identifier: GPL-3.0-or-later
// Internal: handing a C++ string back as a temporary string.
#pragma once
#include <cstdint>
#include <string_view>

namespace rt::files {

// Writes `text` into the calling thread's temporary buffer at `offset` (-1 =
// the fill position), NUL-terminated, and answers the offset where it starts.
int32_t put_text(std::string_view text, int32_t offset);

}  // namespace rt::files

// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/files/text_result.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "runtime/core/rt_core.h"

namespace rt::files {

int32_t put_text(std::string_view text, int32_t offset) {
    rt_strbuf_ensure();
    const auto length = static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX / 2));
    // The buffer clamps the offset; the result starts where it really went.
    char* out = rt_strbuf_reserve(length, offset);
    if (out == nullptr) return rt_strbuf_pos();  // out of memory: the empty text
    if (length > 0) std::memcpy(out, text.data(), static_cast<size_t>(length));
    out[length] = '\0';
    return static_cast<int32_t>(out - rt_strbuf_base());
}

}  // namespace rt::files

#include "runtime/files/text_result.h"

#include <cstring>

#include "runtime/core/rt_core.h"

namespace rt::files {

int32_t put_text(std::string_view text, int32_t offset) {
    rt_strbuf_ensure();
    const int32_t start = offset == -1 ? rt_strbuf_pos() : offset;
    const auto length = static_cast<int32_t>(text.size());
    char* out = rt_strbuf_reserve(length, start);
    if (length > 0) std::memcpy(out, text.data(), text.size());
    out[length] = '\0';
    return start;
}

}  // namespace rt::files

// SPDX-License-Identifier: GPL-3.0-or-later
// Bridges the runtime's temporary string buffer and std::string: a runtime
// text operation writes its result at the fill position, the text is copied
// out and the buffer is set back, so no temporary outlives the call.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/core/rt_core.h"

template <class Produce>
std::string TakeRuntimeText(Produce produce) {
    rt_strbuf_ensure();
    const int32_t start = rt_strbuf_pos();
    produce(start);
    std::string text(rt_strbuf_base() + start);
    rt_strbuf_set_pos(start);
    return text;
}

// Decimal text without padding.
inline std::string NumberText(int64_t value) {
    return TakeRuntimeText([&](int32_t at) { rt_str_from_quad(value, at); });
}

// Field `index` (1-based) of `text`, split at the first byte of `separator`.
inline std::string FieldText(const std::string& text, int32_t index, const char* separator) {
    return TakeRuntimeText([&](int32_t at) { rt_str_field(text.c_str(), index, separator, at); });
}

// The value of a field as the level file reads it (low 32 bits).
inline int32_t FieldValue(const std::string& text, int32_t index, const char* separator) {
    return static_cast<int32_t>(rt_str_to_quad(FieldText(text, index, separator).c_str()));
}

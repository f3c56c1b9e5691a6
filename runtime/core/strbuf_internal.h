// SPDX-License-Identifier: GPL-3.0-or-later
// The calling thread's temporary string buffer, for the core's own string
// operations (everyone else goes through the rt_strbuf_* functions).
#ifndef ZENTARA_CORE_STRBUF_INTERNAL_H
#define ZENTARA_CORE_STRBUF_INTERNAL_H

#include <cstdint>

namespace zentara::core {

struct TempStringBuffer {
    char* base;
    int32_t capacity;
    int32_t fill;
};

extern thread_local TempStringBuffer* t_buffer;

TempStringBuffer& create_buffer();

inline TempStringBuffer& buffer() {
    return t_buffer ? *t_buffer : create_buffer();
}

// Ends a result that runs from `text` for `length` bytes: NUL-terminates it,
// puts the fill position on that NUL and returns the result's offset.
inline int32_t finish_result(char* text, int32_t length) {
    TempStringBuffer& b = *t_buffer;
    text[length] = '\0';
    auto start = static_cast<int32_t>(text - b.base);
    b.fill = start + length;
    return start;
}

}  // namespace zentara::core

#endif

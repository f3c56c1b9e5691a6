// SPDX-License-Identifier: GPL-3.0-or-later
// Substring, case and field operations in the temporary string buffer.
//
// A source text may itself lie in the buffer, and reserving room for the result
// may move the buffer: each operation records where its source lies before
// reserving and re-derives the pointer afterwards. Copies use memmove because a
// result may be written over (a lower part of) its own source.

#include <algorithm>
#include <cstring>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/core/strbuf_internal.h"

namespace {

const char* or_empty(const char* text) {
    return text ? text : "";
}

// Writes bytes [from, from + length) of text as a result at offset.
int32_t write_slice(const char* text, int32_t from, int32_t length, int32_t offset) {
    int32_t at = rt_strbuf_locate(text);
    char* out = rt_strbuf_reserve(length, offset);
    if (out == nullptr) return rt_strbuf_pos();  // out of memory: the empty text
    if (at) text = rt_strbuf_ptr(at);
    if (length > 0) std::memmove(out, text + from, static_cast<size_t>(length));
    return zentara::core::finish_result(out, length);
}

int32_t clamp_count(int32_t n, int32_t length) {
    return n < 0 ? 0 : std::min(n, length);
}

// Windows-1252 upper-case letters whose lower case is not simply +0x20.
unsigned char lower_1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);
    switch (c) {
        case 0x8A:
            return 0x9A;  // S caron
        case 0x8C:
            return 0x9C;  // OE ligature
        case 0x8E:
            return 0x9E;  // Z caron
        case 0x9F:
            return 0xFF;  // Y diaeresis
        default:
            return c;
    }
}

}  // namespace

using rt::core::guarded;

extern "C" {

int32_t rt_str_left(const char* text, int32_t n, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        text = or_empty(text);
        return write_slice(text, 0, clamp_count(n, rt_str_len(text)), offset);
    });
}

int32_t rt_str_right(const char* text, int32_t n, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        text = or_empty(text);
        int32_t length = rt_str_len(text);
        int32_t k = clamp_count(n, length);
        return write_slice(text, length - k, k, offset);
    });
}

int32_t rt_str_mid(const char* text, int32_t start, int32_t length, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        text = or_empty(text);
        int32_t size = rt_str_len(text);
        int32_t from = std::max(start, 1) - 1;
        int32_t k = from >= size ? 0 : clamp_count(length, size - from);
        return write_slice(text, std::min(from, size), k, offset);
    });
}

int32_t rt_str_lower(const char* text, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        text = or_empty(text);
        int32_t length = rt_str_len(text);
        int32_t start = write_slice(text, 0, length, offset);
        // What was written: the whole text, or nothing when memory ran out.
        const int32_t written = rt_strbuf_pos() - start;
        char* out = rt_strbuf_base() + start;
        for (int32_t i = 0; i < written; ++i)
            out[i] = static_cast<char>(lower_1252(static_cast<unsigned char>(out[i])));
        return start;
    });
}

int32_t rt_str_field(const char* text, int32_t index, const char* separator, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        text = or_empty(text);
        if (index < 1) index = 1;
        // Only the first byte separates; an empty separator matches only the end.
        char sep = separator ? separator[0] : '\0';
        int32_t field = 1;
        int32_t begin = 0;
        for (int32_t i = 0;; ++i) {
            char c = text[i];
            if (c == sep || c == '\0') {
                if (field == index) return write_slice(text, begin, i - begin, offset);
                if (c == '\0') break;
                ++field;
                begin = i + 1;
            }
        }
        return write_slice(text, 0, 0, offset);
    });
}

}  // extern "C"

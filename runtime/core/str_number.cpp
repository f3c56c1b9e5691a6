// SPDX-License-Identifier: GPL-3.0-or-later
// Number <-> text conversions in the temporary string buffer.

#include <cstdio>
#include <cstring>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/core/strbuf_internal.h"

namespace {

// Gives back the unused part of the reservation.
int32_t finish(char* text, int32_t length) {
    return zentara::core::finish_result(text, length);
}

// Digits of a magnitude, most significant first; returns their count.
int32_t write_digits(char* out, uint64_t magnitude) {
    char reversed[20];
    int32_t n = 0;
    do {
        reversed[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    for (int32_t i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
    return n;
}

int32_t write_signed(char* out, int64_t value) {
    int32_t length = 0;
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        out[length++] = '-';
        magnitude = 0 - magnitude;  // two's-complement magnitude, exact for INT64_MIN
    }
    return length + write_digits(out + length, magnitude);
}

int digit_value(char c, int base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

}  // namespace

using rt::core::guarded;

extern "C" {

int32_t rt_str_from_int(int32_t value, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        char* out = rt_strbuf_reserve(32, offset);
        return out ? finish(out, write_signed(out, value)) : rt_strbuf_pos();
    });
}

int32_t rt_str_from_quad(int64_t value, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        char* out = rt_strbuf_reserve(64, offset);
        return out ? finish(out, write_signed(out, value)) : rt_strbuf_pos();
    });
}

int32_t rt_str_from_float(float value, int32_t decimals, int32_t offset) {
    return guarded(__func__, 0, [&]() -> int32_t {
        char* out = rt_strbuf_reserve(1024, offset);
        if (out == nullptr) return rt_strbuf_pos();  // out of memory: the empty text
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        const char* special = nullptr;
        if (bits == 0x7F800000u)
            special = "+Infinity";
        else if (bits == 0xFF800000u)
            special = "-Infinity";
        else if (bits == 0xFFFFFFFFu)
            special = "NaN";
        if (special) {
            std::strcpy(out, special);
            return finish(out, static_cast<int32_t>(std::strlen(special)));
        }
        if (decimals == -1)
            decimals = 6;
        else if (decimals < 0)
            decimals = 0;
        else if (decimals > 512)
            decimals = 512;
        // The largest float has 39 integer digits: sign, digits, point and 512
        // decimals stay well inside the 1024 bytes reserved.
        int length = std::snprintf(out, 1024, "%.*f", decimals, static_cast<double>(value));
        return finish(out, length < 0 ? 0 : length);
    });
}

int64_t rt_str_to_quad(const char* text) {
    return guarded(__func__, int64_t{0}, [&]() -> int64_t {
        if (!text) return 0;
        const char* p = text;
        while (*p == ' ' || *p == '\t') ++p;
        bool negative = false;
        if (*p == '-' || *p == '+') negative = *p++ == '-';
        int base = 10;
        if (*p == '$') {
            base = 16;
            ++p;
        } else if (*p == '%') {
            base = 2;
            ++p;
        }
        // Unsigned accumulation wraps in 64 bits as intended, without overflow.
        uint64_t value = 0;
        for (int d; (d = digit_value(*p, base)) >= 0; ++p)
            value = value * base + static_cast<uint64_t>(d);
        if (negative) value = 0 - value;
        return static_cast<int64_t>(value);
    });
}

}  // extern "C"

// SPDX-License-Identifier: GPL-3.0-or-later
// Windows-1252, the one 8-bit encoding of the text the program hands the
// runtime: window titles, menu items, message boxes and drawn text alike, and
// the encoding rt_str_lower folds.
#pragma once
#include <string>

namespace rt::text {

// The Unicode character of one byte. Bytes below 0x80 and from 0xA0 on equal
// their code points; 0x80..0x9F hold the typographic characters, and the five
// bytes the encoding leaves unassigned stand for themselves.
inline char16_t windows_1252_char(unsigned char byte) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : char16_t{byte};
}

// NUL-terminated text as UTF-16; null reads as empty.
inline std::u16string from_windows_1252(const char* text) {
    std::u16string out;
    if (text == nullptr) return out;
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p; ++p)
        out.push_back(windows_1252_char(*p));
    return out;
}

}  // namespace rt::text

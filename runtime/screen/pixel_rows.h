// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing runs of 32-bit pixels, as the screen does to find what a frame
// changed.
#pragma once
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rt::screen {

// Whether the n pixels at a and b are the same.
inline bool same_pixels(const uint32_t* a, const uint32_t* b, int32_t n) {
    int32_t i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= n; i += 8) {
        const auto* x = reinterpret_cast<const __m128i*>(a + i);
        const auto* y = reinterpret_cast<const __m128i*>(b + i);
        const __m128i equal =
            _mm_and_si128(_mm_cmpeq_epi32(_mm_loadu_si128(x), _mm_loadu_si128(y)),
                          _mm_cmpeq_epi32(_mm_loadu_si128(x + 1), _mm_loadu_si128(y + 1)));
        if (_mm_movemask_epi8(equal) != 0xFFFF) return false;
    }
#endif
    for (; i < n; ++i)
        if (a[i] != b[i]) return false;
    return true;
}

}  // namespace rt::screen

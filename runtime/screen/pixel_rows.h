// SPDX-License-Identifier: GPL-3.0-or-later
// Comparing runs of 32-bit pixels, as the screen does to find what a frame
// changed.
#pragma once
#include <algorithm>
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

// Visits (first, last) for each segment of row a, over [from, to), holding a
// pixel that differs from row b: the first and last such pixel of the
// segment. Segments are `segment` pixels (a divisor of 64) counted from
// x = 0; equal stretches are passed over 64 pixels at a time.
template <class Visit>
void for_each_changed_segment(const uint32_t* a, const uint32_t* b, int32_t from, int32_t to,
                              int32_t segment, Visit&& visit) {
    constexpr int32_t kStretch = 64;
    for (int32_t x = from; x < to;) {
        const int32_t stretch_end = std::min((x / kStretch + 1) * kStretch, to);
        if (same_pixels(a + x, b + x, stretch_end - x)) {
            x = stretch_end;
            continue;
        }
        while (x < stretch_end) {
            const int32_t end = std::min((x / segment + 1) * segment, stretch_end);
            if (!same_pixels(a + x, b + x, end - x)) {
                int32_t first = x, last = end - 1;
                while (a[first] == b[first]) ++first;
                while (a[last] == b[last]) --last;
                visit(first, last);
            }
            x = end;
        }
    }
}

}  // namespace rt::screen

// SPDX-License-Identifier: GPL-3.0-or-later
// Small numeric helpers.

#include <cmath>

#include "runtime/core/rt_core.h"

extern "C" {

float rt_math_atan(float x) {
    return static_cast<float>(std::atan(static_cast<double>(x)));
}

float rt_math_round(float x, int32_t mode) {
    double v = x;
    if (mode == 1) return static_cast<float>(std::ceil(v));
    if (mode == 2) return static_cast<float>(v > 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5));
    return static_cast<float>(std::floor(v));
}

// Plain sums, no masking: out-of-range components spill into the next byte.
uint32_t rt_rgb(int32_t red, int32_t green, int32_t blue) {
    return static_cast<uint32_t>(red) + static_cast<uint32_t>(green) * 256u +
           static_cast<uint32_t>(blue) * 65536u;
}

}  // extern "C"

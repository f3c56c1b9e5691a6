// SPDX-License-Identifier: GPL-3.0-or-later
// Small numeric helpers.

#include <cmath>
#include <limits>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"

using rt::core::fail;
using rt::core::guarded;

namespace {
// A NaN argument answers NaN, as a failure; infinities are ordinary values.
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr const char* kNotANumber = "the value is not a number (NaN)";
}  // namespace

extern "C" {

float rt_math_atan(float x) {
    return guarded(__func__, kNaN, [&]() -> float {
        if (std::isnan(x)) return fail(kNaN, kNotANumber);
        return static_cast<float>(std::atan(static_cast<double>(x)));
    });
}

float rt_math_round(float x, int32_t mode) {
    return guarded(__func__, kNaN, [&]() -> float {
        if (std::isnan(x)) return fail(kNaN, kNotANumber);
        double v = x;
        if (mode == 1) return static_cast<float>(std::ceil(v));
        if (mode == 2) return static_cast<float>(v > 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5));
        return static_cast<float>(std::floor(v));
    });
}

// Plain sums, no masking: out-of-range components spill into the next byte.
uint32_t rt_rgb(int32_t red, int32_t green, int32_t blue) {
    return guarded(__func__, 0u, [&]() -> uint32_t {
        return static_cast<uint32_t>(red) + static_cast<uint32_t>(green) * 256u +
               static_cast<uint32_t>(blue) * 65536u;
    });
}

}  // extern "C"

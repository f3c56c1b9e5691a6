// SPDX-License-Identifier: GPL-3.0-or-later
#include "noise.h"

#include <cmath>

#include "rng.h"

namespace assetgen {
namespace {

float lattice(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    return static_cast<float>(hash3(x, y, z, seed) >> 8) * (1.0f / 16777215.0f);
}

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

}  // namespace

float value_noise(float x, float y, float z, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy),
               iz = static_cast<int32_t>(fz);
    const float tx = fade(x - fx), ty = fade(y - fy), tz = fade(z - fz);
    float c[2][2];
    for (int dz = 0; dz < 2; ++dz)
        for (int dy = 0; dy < 2; ++dy)
            c[dz][dy] = lerp(lattice(ix, iy + dy, iz + dz, seed),
                             lattice(ix + 1, iy + dy, iz + dz, seed), tx);
    return lerp(lerp(c[0][0], c[0][1], ty), lerp(c[1][0], c[1][1], ty), tz);
}

float fbm(float x, float y, float z, uint32_t seed, int octaves) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * value_noise(x, y, z, seed + static_cast<uint32_t>(i) * 101u);
        total += weight;
        weight *= 0.5f;
        x *= 2.03f;
        y *= 2.03f;
        z *= 2.03f;
    }
    return sum / total;
}

float ridged(float x, float y, float z, uint32_t seed, int octaves) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        const float n = value_noise(x, y, z, seed + static_cast<uint32_t>(i) * 131u);
        sum += weight * (1.0f - std::fabs(n * 2.0f - 1.0f));
        total += weight;
        weight *= 0.5f;
        x *= 2.1f;
        y *= 2.1f;
        z *= 2.1f;
    }
    return sum / total;
}

}  // namespace assetgen

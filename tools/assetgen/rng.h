// SPDX-License-Identifier: GPL-3.0-or-later
// Deterministic pseudo-random numbers for the generator. The standard library's
// distributions differ between implementations, so everything random in the pack
// comes from this small generator and its own conversions.
#pragma once

#include <cstdint>

namespace assetgen {

class Rng {
  public:
    explicit Rng(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

    // SplitMix64: tiny, well mixed, and the same on every platform.
    uint64_t next64() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t next32() { return static_cast<uint32_t>(next64() >> 32); }

    // Uniform in [0, 1) from the top 24 bits, exact in a float.
    float uniform() { return static_cast<float>(next32() >> 8) * (1.0f / 16777216.0f); }
    float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [0, n).
    int below(int n) { return n <= 0 ? 0 : static_cast<int>(next32() % static_cast<uint32_t>(n)); }
    // Uniform in [-1, 1).
    float signed_unit() { return uniform() * 2.0f - 1.0f; }

  private:
    uint64_t state_;
};

// Stateless hash of integer coordinates, for noise lattices.
inline uint32_t hash3(int32_t x, int32_t y, int32_t z, uint32_t seed) {
    uint32_t h = seed * 0x27D4EB2Du;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h = (h << 17) | (h >> 15);
    h ^= static_cast<uint32_t>(z) * 0x165667B1u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

}  // namespace assetgen

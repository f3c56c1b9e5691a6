// Small numeric helpers shared by the game's rules.
#pragma once
#include <cmath>
#include <cstdint>

// Nearest integer with halves to even (2.5 gives 2, 3.5 gives 4): the way the
// game turns its floating-point results into whole pixels and degrees.
inline int32_t RoundHalfEven(double value) {
    return static_cast<int32_t>(std::nearbyint(value));
}

// A value stored in an 8-bit unsigned field: kept modulo 256.
inline uint8_t Wrap8(int32_t value) { return static_cast<uint8_t>(value); }
// A value stored in an 8-bit signed field: only the low 8 bits are kept.
inline int8_t WrapSigned8(int32_t value) { return static_cast<int8_t>(value); }

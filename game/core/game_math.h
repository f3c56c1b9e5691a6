// SPDX-License-Identifier: GPL-3.0-or-later
// Small numeric helpers shared by the game's rules.
//
// The game's integer arithmetic is 32-bit and wraps like the machine's
// registers; C++ leaves signed overflow undefined, so every sum or product
// that a level file's values can push out of range goes through these.
#pragma once
#include <cmath>
#include <cstdint>

// a + b, a - b and a * b modulo 2^32, as 32-bit registers give them.
inline int32_t WrapAdd(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// A floating-point value turned into a 32-bit integer, held at the nearest
// end of the range when it lies beyond it (NaN gives 0).
inline int32_t SaturateToInt32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Nearest integer with halves to even (2.5 gives 2, 3.5 gives 4): the way the
// game turns its floating-point results into whole pixels and degrees.
inline int32_t RoundHalfEven(double value) {
    return SaturateToInt32(std::nearbyint(value));
}

// A value stored in an 8-bit unsigned field: kept modulo 256.
inline uint8_t Wrap8(int32_t value) {
    return static_cast<uint8_t>(value);
}
// A value stored in an 8-bit signed field: only the low 8 bits are kept.
inline int8_t WrapSigned8(int32_t value) {
    return static_cast<int8_t>(value);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The volume scale: percentages of the amplitude turned into attenuations in
// hundredths of a decibel, and those into linear gains.
#pragma once
#include <array>
#include <cstdint>

namespace rt::sound {

// Hundredths of a decibel that mean silence.
constexpr int32_t kSilentHundredths = -10000;

class VolumeTable {
  public:
    VolumeTable();

    // entry[percent] - 10000 for percent clamped to 0..100: 100 -> 0,
    // 70 -> -310, 50 -> -603, 1 -> -4000, 0 -> -10000.
    int32_t attenuation(int32_t percent) const;

  private:
    std::array<int32_t, 101> entries_{};
};

// 10^(hundredths / 2000); exactly 0 at kSilentHundredths and below, so that
// the bottom of the scale is true silence.
float gain_from_hundredths(int32_t hundredths);

// The inverse, rounded to the nearest hundredth; 0 gain reads as silence.
int32_t hundredths_from_gain(float gain);

}  // namespace rt::sound

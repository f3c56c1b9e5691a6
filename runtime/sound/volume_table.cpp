// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/sound/volume_table.h"

#include <algorithm>
#include <cmath>

namespace rt::sound {

// The attenuation follows the amplitude ratio: 20 log10(k / 100) dB, expressed
// as 20 log10(1000 k) x 100 - 10000 and truncated, so it is rounded down to the
// next hundredth of a decibel (50% gives -6.03 dB).
VolumeTable::VolumeTable() {
    entries_[0] = 0;
    for (int k = 1; k < 100; ++k) {
        entries_[k] = static_cast<int32_t>(std::trunc(std::log10(1000.0 * k) * 20.0 * 100.0));
    }
    entries_[100] = -kSilentHundredths;
}

int32_t VolumeTable::attenuation(int32_t percent) const {
    return entries_[std::clamp(percent, 0, 100)] + kSilentHundredths;
}

float gain_from_hundredths(int32_t hundredths) {
    if (hundredths <= kSilentHundredths) return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredths / 2000.0));
}

int32_t hundredths_from_gain(float gain) {
    if (gain <= 0.0f) return kSilentHundredths;
    const double hundredths = std::round(2000.0 * std::log10(static_cast<double>(gain)));
    return static_cast<int32_t>(std::max(hundredths, double{kSilentHundredths}));
}

}  // namespace rt::sound

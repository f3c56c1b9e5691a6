// SPDX-License-Identifier: GPL-3.0-or-later
// The sound effects of the pack, each synthesised from oscillators, noise,
// filters and envelopes: 16-bit mono PCM at 22050 Hz, peak at -1 dBFS, faded in
// and out so they start and end without a click.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct SoundEffect {
    std::string name;
    std::vector<float> samples;  // at synth::kRate
};

std::vector<SoundEffect> sound_effects();

}  // namespace assetgen

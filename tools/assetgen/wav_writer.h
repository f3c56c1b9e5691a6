// SPDX-License-Identifier: GPL-3.0-or-later
// RIFF/WAVE writer: 16-bit PCM, mono, the "fmt " chunk at offset 12 and the
// "data" chunk right after it (the layout the game's sound loader walks).
#pragma once

#include <string>
#include <vector>

namespace assetgen {

// Samples in [-1, 1] are rounded to 16 bits (values outside are clipped).
std::vector<unsigned char> encode_wav(const std::vector<float>& samples, int sample_rate);
bool write_file(const std::string& path, const std::vector<unsigned char>& bytes);

}  // namespace assetgen

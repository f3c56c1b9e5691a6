// SPDX-License-Identifier: GPL-3.0-or-later
// Writes PNG files into memory with libpng, for the decoder tests.
#pragma once
#include <cstdint>
#include <vector>

namespace zentara_test {

struct PngSpec {
    int width = 0;
    int height = 0;
    int colour_type = 0;  // PNG_COLOR_TYPE_*
    int bit_depth = 8;
    bool interlaced = false;
    std::vector<uint8_t> palette;  // red, green, blue triples
    std::vector<uint8_t> alpha;    // tRNS entries for a palette
    std::vector<uint8_t> rows;     // packed rows as the format stores them
};

// Empty on failure.
std::vector<uint8_t> write_png(const PngSpec& spec);

}  // namespace zentara_test

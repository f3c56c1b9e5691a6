// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files through libpng with fixed settings (compression level, filters, no
// time or text chunks), so the same picture always gives the same bytes.
#pragma once

#include <string>

#include "canvas.h"

namespace assetgen {

// Writes RGB or RGBA (8 bits per channel). Returns false when the file cannot be written.
bool write_png(const std::string& path, const Image8& image);

// Reads any 8-bit-or-less PNG as RGBA; false when it cannot be read.
bool read_png_rgba(const std::string& path, Image8& out);

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// A tiny 5 x 7 bitmap font (plus a descender row) for labels on the contact sheet.
#pragma once

#include <string>

#include "canvas.h"

namespace assetgen {

constexpr int kGlyphWidth = 5, kGlyphHeight = 8, kGlyphAdvance = 6;

// Draws text with its top-left corner at (x, y), each font pixel `scale` pixels
// wide. Characters without a glyph are drawn as a small box.
void draw_text(Canvas& canvas, int x, int y, const std::string& text, Color color, int scale);
int text_width(const std::string& text, int scale);

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// Decoded picture files, kept so that loading an unchanged file again (every
// respawned enemy loads its picture) shares the pixels instead of reading and
// decoding the file once more. Entries are keyed by the file's identity (path,
// file number, size and change times), so a changed file is decoded afresh.
#pragma once
#include <QImage>
#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/files/path_platform.h"

namespace rt::sprites {

// One decoded version of a file. Immutable once shared, except for the
// derived images, which are made under the cache's lock.
struct DecodedImage {
    QImage pixels;  // Format_ARGB32 with the file's own alpha where it has one
    bool has_alpha = false;
    int32_t width = 0, height = 0, depth = 0;  // as the decoder reported them
    // The file's bytes up to its pixel data: recognising them again leaves
    // the decoder's state (size and depth of the last image) as a full decode
    // of the file does.
    std::vector<uint8_t> header;
};

// What a load receives: the pixels to adopt, keyed on black or with the
// file's alpha, and their premultiplied form once the file was loaded again.
struct DecodedPixels {
    QImage argb;
    QImage premul;  // may be null: the store makes it when first drawn
};

// The bytes of a PNG file up to and including the header of its first image
// data chunk; empty when the data is not a PNG file or has no image data.
std::vector<uint8_t> png_header(const uint8_t* data, size_t length);

// The decoded file, or null when this version of it is not kept.
std::shared_ptr<const DecodedImage> find_decoded(const rt::files::FileIdentity& file);

// Keeps a decoded file (the least recently used entry goes past the bound).
void keep_decoded(const rt::files::FileIdentity& file, std::shared_ptr<const DecodedImage> image);

// The pixels a load adopts: keyed on black, or with the file's alpha.
DecodedPixels decoded_pixels(const std::shared_ptr<const DecodedImage>& image, bool keep_alpha);

// Drops every kept file (the screen's close and shutdown).
void forget_decoded();

}  // namespace rt::sprites

// SPDX-License-Identifier: GPL-3.0-or-later
#include "png_writer.h"

#include <png.h>

#include <csetjmp>

namespace zentara_test {
namespace {

void append(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

// No object with a destructor is created below the setjmp, so libpng's long
// jump on an error skips nothing.
bool encode(const PngSpec& spec, std::vector<uint8_t>* out, const std::vector<png_bytep>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, out, append, no_flush);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bit_depth, spec.colour_type,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty()) {
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(spec.palette.data()),
                     static_cast<int>(spec.palette.size() / 3));
    }
    if (!spec.alpha.empty()) {
        png_set_tRNS(png, info, spec.alpha.data(), static_cast<int>(spec.alpha.size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, const_cast<png_bytepp>(rows.data()));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<uint8_t> write_png(const PngSpec& spec) {
    std::vector<uint8_t> rows_copy = spec.rows;
    const size_t stride = rows_copy.size() / static_cast<size_t>(spec.height);
    std::vector<png_bytep> rows;
    for (int y = 0; y < spec.height; ++y) rows.push_back(rows_copy.data() + y * stride);
    std::vector<uint8_t> out;
    if (!encode(spec, &out, rows)) out.clear();
    return out;
}

}  // namespace zentara_test

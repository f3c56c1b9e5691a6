// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/screen/sprite_pixels.h"

#include <bit>

#include "runtime/screen/screen_internal.h"

static_assert(std::endian::native == std::endian::little,
              "pixel stores are laid out as blue, green, red, alpha bytes");

namespace {
// Colour (0x00BBGGRR, or all ones for "none") as the 0x00RRGGBB pixel value
// it keys; "none" keys white.
uint32_t key_value(uint32_t colour) {
    return rt::screen::to_argb(colour) & 0x00FFFFFFu;
}
}  // namespace

void rt_key_image(QImage& image, uint32_t colour) {
    const uint32_t key = key_value(colour);
    const int32_t w = image.width();
    for (int32_t y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t rgb = row[x] & 0x00FFFFFFu;
            row[x] = rgb == key ? rgb : (rgb | 0xFF000000u);
        }
    }
}

rt_sprite_pixels::rt_sprite_pixels(int32_t width, int32_t height, bool texture)
    : texture_mode(texture), image(width, height, QImage::Format_ARGB32) {
    image.fill(0u);
}

void rt_sprite_pixels::changed() const {
    canonical_key.reset();
    premul = QImage();
    opaque_view = QImage();
    copy_key.reset();
    copy_cache = QImage();
    copy_premul = QImage();
}

void rt_sprite_pixels::apply_key(uint32_t colour) {
    refresh();
    const uint32_t key = key_value(colour);
    if (canonical_key == key) return;  // the alpha already is exactly this
    changed();
    rt_key_image(image, colour);
    canonical_key = key;
}

void rt_sprite_pixels::apply_transparent_colour(uint32_t colour) {
    if (transparent_colour == colour) return;
    apply_key(colour);
    transparent_colour = colour;
}

QPainter* rt_sprite_pixels::gdi_begin() {
    unlock();
    if (!painter) {
        if (image.isNull()) return nullptr;
        // bits() detaches the store from copies that shared it.
        gdi_view = QImage(image.bits(), image.width(), image.height(), image.bytesPerLine(),
                          QImage::Format_RGB32);
        painter.emplace(&gdi_view);
    }
    return &*painter;
}

void rt_sprite_pixels::gdi_end(bool read_only) {
    if (!painter) return;
    painter.reset();
    gdi_view = QImage();
    if (read_only) return;
    changed();
    // While no transparent colour was applied, white stands in for it.
    rt_key_image(image, transparent_colour);
    canonical_key = key_value(transparent_colour);
}

uint8_t* rt_sprite_pixels::lock(int32_t* pitch) {
    if (painter) gdi_end(false);
    if (pitch) *pitch = static_cast<int32_t>(image.bytesPerLine());
    changed();
    locked_ = true;
    // bits() gives the store pixels of its own (copy-on-write) when they are
    // shared.
    return image.bits();
}

bool rt_sprite_pixels::unlock() {
    if (!locked_) return false;
    locked_ = false;
    changed();
    return true;
}

rt_sprite_pixels::Keyed rt_sprite_pixels::keyed_colours(uint32_t colour) const {
    refresh();
    const uint32_t key = key_value(colour);
    if (painter || locked_) {
        // A painter or a lock may be writing into these pixels right now: a
        // copy must not share them, nor trust anything derived from them.
        Keyed fresh{image.copy(), QImage()};
        rt_key_image(fresh.argb, colour);
        fresh.premul = fresh.argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return fresh;
    }
    if (canonical_key == key) return {image, premultiplied()};
    if (copy_key != key) {
        copy_cache = image.copy();
        rt_key_image(copy_cache, colour);
        copy_premul = copy_cache.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        copy_key = key;
    }
    return {copy_cache, copy_premul};
}

const QImage& rt_sprite_pixels::premultiplied() const {
    refresh();
    if (premul.isNull() && !image.isNull())
        premul = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return premul;
}

const QImage& rt_sprite_pixels::opaque() const {
    refresh();
    if (opaque_view.isNull() && !image.isNull()) {
        opaque_view = QImage(image.width(), image.height(), QImage::Format_RGB32);
        const int32_t w = image.width();
        for (int32_t y = 0; y < image.height(); ++y) {
            const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
            auto* dst = reinterpret_cast<uint32_t*>(opaque_view.scanLine(y));
            for (int32_t x = 0; x < w; ++x) dst[x] = src[x] | 0xFF000000u;
        }
    }
    return opaque_view;
}

void rt_sprite_pixels::adopt(QImage pixels, std::optional<uint32_t> keyed_on, const QImage& pm) {
    // A painter still open on the old pixels ends while they exist; whoever
    // painted or wrote through a lock sees the generation move on.
    if (painter) {
        painter.reset();
        gdi_view = QImage();
    }
    locked_ = false;
    ++generation_;
    changed();
    image = std::move(pixels);
    if (keyed_on) canonical_key = key_value(*keyed_on);
    premul = pm;
}

void rt_sprite_pixels::fill_black() {
    changed();
    image.fill(0xFF000000u);
    // Black stays opaque under any key but black itself.
    if (key_value(transparent_colour) != 0) canonical_key = key_value(transparent_colour);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The pixel store of a sprite: a 32-bit image of 0xAARRGGBB pixels (bytes blue,
// green, red, alpha), shared by the sprite and by the rotated sprites made from
// it. The image is implicitly shared, so copies that carry the same pixels cost
// nothing until one of them is written.
#pragma once
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <optional>

struct rt_sprite_pixels {
    // Colour (0x00BBGGRR) last applied as the transparent colour; kNoColour = none.
    static constexpr uint32_t kNoColour = 0xFFFFFFFFu;
    static constexpr uint32_t kWhite = 0x00FFFFFFu;

    rt_sprite_pixels(int32_t width, int32_t height, bool texture_mode);
    // A painting access still open ends before the pixels it paints go.
    ~rt_sprite_pixels() { painter.reset(); }
    rt_sprite_pixels(const rt_sprite_pixels&) = delete;
    rt_sprite_pixels& operator=(const rt_sprite_pixels&) = delete;

    int32_t width() const { return image.width(); }
    int32_t height() const { return image.height(); }

    // Keys the alpha on the colour (applied always; see apply_if_new).
    void apply_key(uint32_t colour);
    // The specified "apply transparent colour": skipped when already applied.
    void apply_transparent_colour(uint32_t colour);

    // Painting access on an opaque (RGB32) view of the pixels.
    QPainter* gdi_begin();
    void gdi_end(bool read_only);
    bool gdi_open() const { return painter.has_value(); }
    // The painter while painting access is open, else null.
    QPainter* open_painter() { return painter ? &*painter : nullptr; }

    // Direct access. The pixels handed out belong to this store alone (a
    // store sharing them with copies or the decoded-picture cache gets its own
    // first), so even a read-only pointer cannot reach anyone else's pixels.
    // Whatever the lock says, its pixels may be written: while it (or a
    // painting access) is open no derived image is trusted (every draw
    // derives afresh), and its end (unlock, painting access, the end of a
    // pass) drops them, so the next draw shows every write. Written pixels
    // keep the alpha they were given.
    uint8_t* lock(int32_t* pitch);
    // Ends direct access; false when none was open.
    bool unlock();
    bool locked() const { return locked_; }
    // True while `bits` (from lock) still points at this store's own pixels:
    // nothing replaced them and no copy has come to share them since.
    bool holds(const uint8_t* bits) const {
        return bits != nullptr && image.isDetached() && image.constBits() == bits;
    }
    // Moves on whenever the pixels are replaced wholesale (adopt), so that a
    // drawing pass on the store can tell that its target went away.
    uint64_t generation() const { return generation_; }
    // False when the store should hold pixels but their memory could not be had.
    bool has_pixels(int32_t width, int32_t height) const {
        return width == 0 || height == 0 || !image.isNull();
    }

    // The pixels with their colours only, keyed on `colour`: what a copy of this
    // store receives. Shares memory with the store when its alpha already is
    // that key, and remembers the last other answer.
    struct Keyed {
        QImage argb;
        QImage premul;
    };
    Keyed keyed_colours(uint32_t colour) const;

    // Premultiplied form for blended drawing, made when first needed after a
    // change. Shares memory with copies of an unchanged store.
    const QImage& premultiplied() const;
    // The pixels as an opaque image for the opaque draw (alpha ignored).
    const QImage& argb() const { return image; }
    // The colours with every alpha 0xFF, ready to be copied row by row onto
    // the back buffer; made when first needed after a change.
    const QImage& opaque() const;

    // Every pixel opaque black, as painting black over the whole store leaves it.
    void fill_black();

    // Adopts pixels made elsewhere (loading, copying), keyed or not.
    void adopt(QImage pixels, std::optional<uint32_t> keyed_on, const QImage& premul = QImage());

    bool texture_mode;
    uint32_t transparent_colour = kNoColour;

  private:
    // Drops the derived images and what is known about the alpha.
    void changed() const;
    // A reader's first step: derived images cannot be trusted while a lock
    // or a painter may be writing the pixels.
    void refresh() const {
        if (locked_ || painter) changed();
    }

    uint64_t generation_ = 0;

    QImage image;  // Format_ARGB32
    std::optional<QPainter> painter;
    QImage gdi_view;  // Format_RGB32 over image's memory while painting
    // Key the alpha currently follows exactly (pixel == key colour <=> alpha 0,
    // every other pixel alpha 0xFF), if any.
    mutable std::optional<uint32_t> canonical_key;
    bool locked_ = false;
    mutable QImage premul;
    mutable QImage opaque_view;
    mutable std::optional<uint32_t> copy_key;
    mutable QImage copy_cache;
    mutable QImage copy_premul;
};

// Applies the key rule to an ARGB32 image in place: pixels whose colour equals
// `colour` (0x00BBGGRR) get alpha 0, every other pixel alpha 0xFF.
void rt_key_image(QImage& image, uint32_t colour);

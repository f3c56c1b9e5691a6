// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/screen/enlarged_picture.h"

#include <algorithm>
#include <cstring>

#include "runtime/screen/pixel_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rt::screen {

namespace {

constexpr int32_t kBytes = 4;      // per pixel of Format_RGB32
constexpr int32_t kShownTile = 4;  // side of the view's tiles marked for scaling

// Rows of pixels: the first row and the distance between rows, in pixels.
struct Rows {
    uint32_t* bits;
    qsizetype pitch;
    uint32_t* at(int32_t x, int32_t y) const { return bits + y * pitch + x; }
};
Rows rows_of(const QImage& image) {
    // The frame is only read; the kept copy is not shared, so nothing detaches.
    return {reinterpret_cast<uint32_t*>(const_cast<uchar*>(image.constBits())),
            image.bytesPerLine() / kBytes};
}

// The pixels of `frame` that differ from `kept` within `band` (rows of one
// row of tiles), which `kept` takes: for each tile with any, the smallest
// rectangle holding them goes to `visit`. Rows are walked whole, in the
// order of memory.
template <class Visit>
void take_changes(const Rows& frame, const Rows& kept, const QRect& band, std::vector<QRect>& boxes,
                  Visit&& visit) {
    constexpr int32_t kTile = TileMask::kTile;
    const int32_t first_tile = band.left() / kTile;
    boxes.assign(static_cast<size_t>(band.right() / kTile - first_tile + 1), QRect());
    for (int32_t row = band.top(); row <= band.bottom(); ++row) {
        const uint32_t* now = frame.at(0, row);
        uint32_t* was = kept.at(0, row);
        for_each_changed_segment(now, was, band.left(), band.right() + 1, kTile,
                                 [&](int32_t first, int32_t last) {
                                     std::memcpy(was + first, now + first,
                                                 static_cast<size_t>(last - first + 1) * kBytes);
                                     boxes[static_cast<size_t>(first / kTile - first_tile)] |=
                                         QRect(first, row, last - first + 1, 1);
                                 });
    }
    for (const QRect& box : boxes)
        if (!box.isEmpty()) visit(box);
}

// Fixed point: a spread row holds each channel times 128 (at most 32640, so
// signed 16-bit lanes hold it), rounded once; weights are in 1/256. Each
// shown channel is rounded once more, so it lies within one step of the exact
// bilinear value: the weights' rounding moves it by less than 255/512 along
// each side.

// Picture pixels a and b blended with b's weight, all four channels.
void spread_pixels(const uint8_t* pixels, const int32_t* left, const int32_t* right,
                   const uint32_t* weights, int32_t count, int16_t* out) {
#if defined(__SSE2__)
    // Per pixel: a0 b0 a1 b1 a2 b2 a3 b3 in 16-bit lanes, times (256 - w, w)
    // in pairs; two pixels a step.
    const __m128i zero = _mm_setzero_si128(), one = _mm_set1_epi32(1);
    const auto pair = [&](int32_t i) {
        int32_t a = 0, b = 0;
        std::memcpy(&a, pixels + left[i] * kBytes, kBytes);
        std::memcpy(&b, pixels + right[i] * kBytes, kBytes);
        const __m128i ab =
            _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(a), _mm_cvtsi32_si128(b)), zero);
        const __m128i w = _mm_set1_epi32(static_cast<int32_t>(weights[i]));
        return _mm_srai_epi32(_mm_add_epi32(_mm_madd_epi16(ab, w), one), 1);
    };
    int32_t i = 0;
    for (; i + 2 <= count; i += 2)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * kBytes),
                         _mm_packs_epi32(pair(i), pair(i + 1)));
    if (i < count) {
        const __m128i last = pair(i);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i * kBytes), _mm_packs_epi32(last, last));
    }
#else
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* a = pixels + left[i] * kBytes;
        const uint8_t* b = pixels + right[i] * kBytes;
        const uint32_t wa = weights[i] & 0xFFFF, wb = weights[i] >> 16;
        for (int32_t c = 0; c < kBytes; ++c)
            out[i * kBytes + c] = static_cast<int16_t>((a[c] * wa + b[c] * wb + 1) >> 1);
    }
#endif
}

// One shown row (count bytes) from two spread rows, the lower one weighted.
void blend(const int16_t* upper, const int16_t* lower, uint32_t weight, uint8_t* out,
           int32_t count) {
    const uint32_t upper_weight = 256 - weight;
    int32_t i = 0;
#if defined(__SSE2__)
    const __m128i w = _mm_set1_epi32(static_cast<int32_t>(upper_weight | weight << 16));
    const __m128i half = _mm_set1_epi32(1 << 14);
    for (; i + 8 <= count; i += 8) {
        const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
        const __m128i l = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + i));
        const __m128i low = _mm_madd_epi16(_mm_unpacklo_epi16(u, l), w);
        const __m128i high = _mm_madd_epi16(_mm_unpackhi_epi16(u, l), w);
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(_mm_add_epi32(low, half), 15),
                                              _mm_srai_epi32(_mm_add_epi32(high, half), 15));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(words, words));
    }
#endif
    for (; i < count; ++i)
        out[i] =
            static_cast<uint8_t>((upper[i] * upper_weight + lower[i] * weight + (1 << 14)) >> 15);
}

// Bands of rectangles (each band's left to right, bands top to bottom) with
// the rectangles that continue one of the band above with the same columns
// joined to it.
std::vector<QRect> join_bands(const std::vector<QRect>& bands) {
    std::vector<QRect> parts;
    std::vector<size_t> above, band;  // parts ending in the band above, and in this one
    size_t next = 0;
    for (const QRect& r : bands) {
        if (band.empty() || parts[band.back()].bottom() != r.bottom()) {
            above.swap(band);
            band.clear();
            next = 0;
        }
        while (next < above.size() && parts[above[next]].left() < r.left()) ++next;
        if (next < above.size()) {
            QRect& up = parts[above[next]];
            if (up.left() == r.left() && up.right() == r.right() && up.bottom() + 1 == r.top()) {
                up.setBottom(r.bottom());
                band.push_back(above[next++]);
                continue;
            }
        }
        band.push_back(parts.size());
        parts.push_back(r);
    }
    return parts;
}

}  // namespace

void EnlargedPicture::Axis::build(int32_t picture, int32_t shown) {
    first.resize(static_cast<size_t>(shown));
    second.resize(first.size());
    weight.resize(first.size());
    weights.resize(first.size());
    const int64_t span = 2 * int64_t{shown};
    for (int32_t t = 0; t < shown; ++t) {
        // The centre of shown pixel t lies (2t + 1) p - n over 2n picture
        // pixels past the centre of the first one; before it, and past the
        // last one, the edge pixel is shown alone.
        const int64_t at = (2 * int64_t{t} + 1) * picture - shown;
        int64_t pixel = 0, w = 0;
        if (at > 0) {
            pixel = at / span;
            w = ((at % span) * 512 + span) / (2 * span);  // rounded to 1/256
            if (w == 256) ++pixel, w = 0;
        }
        if (pixel >= picture - 1) pixel = picture - 1, w = 0;
        first[t] = static_cast<int32_t>(pixel);
        second[t] = static_cast<int32_t>(std::min<int64_t>(pixel + 1, picture - 1));
        weight[t] = static_cast<uint32_t>(w);
        weights[t] = static_cast<uint32_t>((256 - w) | w << 16);
    }
    reach.assign(static_cast<size_t>(picture) + 1, shown);
    size_t i = 0;
    for (int32_t t = 0; t < shown; ++t)
        while (i <= static_cast<size_t>(first[t])) reach[i++] = t;
}

void EnlargedPicture::forget() {
    view_ = QImage();
    last_ = QImage();
    area_ = QRect();
}

QRegion EnlargedPicture::update(const QImage& frame, const QRegion& changed, QSize view,
                                const QRect& area) {
    const QRect whole(QPoint(0, 0), view);
    if (frame.isNull() || area.isEmpty()) {
        forget();
        return whole;
    }
    if (!shows(view, area, frame.size())) {
        view_ = QImage(view, QImage::Format_RGB32);
        view_.fill(0xFF000000u);
        last_ = frame.copy();
        area_ = area;
        columns_.build(frame.width(), area.width());
        rows_.build(frame.height(), area.height());
        shown_tiles_.resize(view.width(), view.height(), kShownTile);
        scale(area & whole);
        return whole;
    }
    // The changed pixels of each tile, and the shown pixels that blend any
    // of them: those whose first picture pixel is at most one before them.
    constexpr int32_t kTile = TileMask::kTile;
    const Rows now = rows_of(frame), kept = rows_of(last_);
    const QRegion inside = changed & frame.rect();
    shown_tiles_.clear();
    const auto mark = [&](const QRect& c) {
        shown_tiles_.mark(area.x() + columns_.reach[std::max(c.left() - 1, 0)],
                          area.y() + rows_.reach[std::max(c.top() - 1, 0)],
                          area.x() + columns_.reach[c.right() + 1],
                          area.y() + rows_.reach[c.bottom() + 1]);
    };
    for (const QRect& part : inside) {
        for (int32_t y = part.top(); y <= part.bottom(); y = (y / kTile + 1) * kTile) {
            const int32_t bottom = std::min(part.bottom(), (y / kTile + 1) * kTile - 1);
            take_changes(now, kept, QRect(QPoint(part.left(), y), QPoint(part.right(), bottom)),
                         boxes_, mark);
        }
    }
    // The marked tiles come as bands of rectangles, the order a region is
    // made of; runs over the same columns in consecutive bands are scaled in
    // one go, so that no picture row is spread twice.
    std::vector<QRect> bands;
    shown_tiles_.for_each_run(
        [&](const TileMask::Rect& r) { bands.emplace_back(r.x, r.y, r.width, r.height); });
    for (const QRect& part : join_bands(bands)) scale(part & area);
    QRegion region;
    region.setRects(bands.data(), static_cast<int>(bands.size()));
    return region & area;
}

void EnlargedPicture::spread(int32_t row, int32_t first_column, int32_t count,
                             std::vector<int16_t>& out) const {
    const auto at = static_cast<size_t>(first_column);
    spread_pixels(last_.constScanLine(row), columns_.first.data() + at, columns_.second.data() + at,
                  columns_.weights.data() + at, count, out.data());
}

void EnlargedPicture::scale(const QRect& part) {
    if (part.isEmpty()) return;
    const int32_t column = part.x() - area_.x(), count = part.width();
    upper_.resize(static_cast<size_t>(count) * kBytes);
    lower_.resize(upper_.size());
    int32_t upper_row = -1, lower_row = -1;
    uchar* bits = view_.bits();
    const qsizetype pitch = view_.bytesPerLine();
    for (int32_t y = part.top(); y <= part.bottom(); ++y) {
        const auto r = static_cast<size_t>(y - area_.y());
        const int32_t top = rows_.first[r], bottom = rows_.second[r];
        // Going down, the lower row of one shown row is often the upper of the next.
        if (upper_row != top) {
            if (lower_row == top) {
                std::swap(upper_, lower_);
                std::swap(upper_row, lower_row);
            } else {
                spread(top, column, count, upper_);
                upper_row = top;
            }
        }
        if (bottom != top && lower_row != bottom) {
            spread(bottom, column, count, lower_);
            lower_row = bottom;
        }
        blend(upper_.data(), (bottom == top ? upper_ : lower_).data(), rows_.weight[r],
              bits + y * pitch + static_cast<qsizetype>(part.x()) * kBytes, count * kBytes);
    }
}

}  // namespace rt::screen

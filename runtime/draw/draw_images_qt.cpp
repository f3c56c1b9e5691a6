// SPDX-License-Identifier: GPL-3.0-or-later
// The image operations of a drawing pass: grabbing a rectangle of the target
// into the image table, and drawing an image back at its size, stretched, or
// blended with an opacity. Pixels are written straight into the image the
// pass's painter works on, so results are exact to the bit.
#include <algorithm>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/draw_state.h"
#include "runtime/draw/images.h"
#include "runtime/screen/sprite_pixels.h"

namespace rt::draw {

namespace {

using rt::core::fail;
using rt::core::record_failure;

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr const char* kNoImage = "no such image";
// The largest image: 2^29 pixels, as for sprites.
constexpr int64_t kMaxPixels = int64_t{1} << 29;
constexpr uint32_t kColour = 0x00FFFFFFu;

// One channel of src over dst with alpha 0..255, rounded to nearest.
uint32_t mix(uint32_t src, uint32_t dst, uint32_t alpha, int shift) {
    const uint32_t s = (src >> shift) & 0xFFu, d = (dst >> shift) & 0xFFu;
    return ((s * alpha + d * (255u - alpha) + 127u) / 255u) << shift;
}

uint32_t blend(uint32_t src, uint32_t dst, uint32_t alpha) {
    if (alpha == 255u) return src | kOpaque;
    if (alpha == 0u) return dst;
    return kOpaque | mix(src, dst, alpha, 16) | mix(src, dst, alpha, 8) | mix(src, dst, alpha, 0);
}

// The pixels of the target that `image` placed at (x, y) covers.
QRect covered(const QImage& target, const QImage& image, int32_t x, int32_t y) {
    const int64_t x0 = std::max<int64_t>(0, x), y0 = std::max<int64_t>(0, y);
    const int64_t x1 = std::min<int64_t>(target.width(), int64_t{x} + image.width());
    const int64_t y1 = std::min<int64_t>(target.height(), int64_t{y} + image.height());
    if (x0 >= x1 || y0 >= y1) return {};
    return QRect(QPoint(int(x0), int(y0)), QPoint(int(x1 - 1), int(y1 - 1)));
}

// Calls put(source pixel, target pixel) for every pixel of `image` placed at
// (x, y) that lands inside the target.
template <class Put>
void for_each_covered(QImage& target, const QImage& image, int32_t x, int32_t y, Put&& put) {
    const int64_t x0 = std::max<int64_t>(0, x), y0 = std::max<int64_t>(0, y);
    const int64_t x1 = std::min<int64_t>(target.width(), int64_t{x} + image.width());
    const int64_t y1 = std::min<int64_t>(target.height(), int64_t{y} + image.height());
    for (int64_t row = y0; row < y1; ++row) {
        const auto* src = reinterpret_cast<const uint32_t*>(image.constScanLine(int(row - y)));
        auto* dst = reinterpret_cast<uint32_t*>(target.scanLine(int(row)));
        for (int64_t col = x0; col < x1; ++col) put(src[col - x], dst[col]);
    }
}

}  // namespace

int32_t grab_image(rt_draw_state& s, int32_t id, int32_t x, int32_t y, int32_t width,
                   int32_t height) {
    QImage* target = s.context_image();
    if (target == nullptr) return fail(0, "the target's pixels cannot be had");
    if (width <= 0 || height <= 0) return fail(0, "a size below 1");
    if (int64_t{width} * height > kMaxPixels) return fail(0, "too large (more than 2^29 pixels)");
    if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
    // From a sprite the image keeps its transparency: the pixels as the
    // sprite will hold them once the pass gives them back. The screen has none.
    const bool keyed = s.kind == rt_draw_state::Kind::Sprite;
    QImage image(width, height, keyed ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return fail(0, "out of memory");
    image.fill(kOpaque);  // what lies outside the target grabs as black
    // The part inside the target, worked out in 64 bits: the rectangle may
    // reach past the ends of the 32-bit range.
    const int64_t x0 = std::max<int64_t>(x, 0), y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t{x} + width, target->width());
    const int64_t y1 = std::min<int64_t>(int64_t{y} + height, target->height());
    for (int64_t row = y0; row < y1; ++row) {
        const auto* src = reinterpret_cast<const uint32_t*>(target->constScanLine(int(row)));
        auto* dst = reinterpret_cast<uint32_t*>(image.scanLine(int(row - y)));
        for (int64_t col = x0; col < x1; ++col) dst[col - x] = src[col] | kOpaque;
    }
    if (keyed) rt_key_image(image, s.sprite->transparent_colour);
    return rt::images::store(id, std::move(image));
}

void draw_image_sized(rt_draw_state& s, int32_t id, int32_t x, int32_t y, int32_t width,
                      int32_t height) {
    const QImage* found = rt::images::find(id);
    if (found == nullptr) return record_failure(kNoImage);
    QImage* target = s.context_image();
    if (target == nullptr) return record_failure("the target's pixels cannot be had");
    QImage sized = *found;
    if (width != 0 || height != 0) {
        if (width <= 0 || height <= 0) return record_failure("a size below 1");
        if (int64_t{width} * height > kMaxPixels)
            return record_failure("too large (more than 2^29 pixels)");
        sized = found->scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (sized.isNull()) return record_failure("out of memory");
    }
    s.touch(covered(*target, sized, x, y));
    // Images are copied by colour; in invert mode they combine with what is
    // there as NOT (source OR target), bit by bit.
    if ((s.mode & RT_DRAW_INVERT) != 0) {
        for_each_covered(*target, sized, x, y, [](uint32_t src, uint32_t& dst) {
            dst = kOpaque | (~(src | dst) & kColour);
        });
    } else {
        for_each_covered(*target, sized, x, y,
                         [](uint32_t src, uint32_t& dst) { dst = kOpaque | (src & kColour); });
    }
}

void draw_image_alpha(rt_draw_state& s, int32_t id, int32_t x, int32_t y, int32_t opacity) {
    const QImage* found = rt::images::find(id);
    if (found == nullptr) return record_failure(kNoImage);
    QImage* target = s.context_image();
    if (target == nullptr) return record_failure("the target's pixels cannot be had");
    s.touch(covered(*target, *found, x, y));
    const auto constant = static_cast<uint32_t>(opacity) & 0xFFu;
    if (found->hasAlphaChannel()) {
        for_each_covered(*target, *found, x, y, [constant](uint32_t src, uint32_t& dst) {
            dst = blend(src, dst, ((src >> 24) * constant + 127u) / 255u);
        });
    } else {
        for_each_covered(*target, *found, x, y, [constant](uint32_t src, uint32_t& dst) {
            dst = blend(src, dst, constant);
        });
    }
}

}  // namespace rt::draw

// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing sprites onto the back buffer: opaque, keyed by alpha, and with an
// opacity. Positions are whole pixels and the sprite is copied 1:1.
#include <QImage>
#include <QPainter>

#include "runtime/core/boundary.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_record.h"

namespace {

using rt::core::fail;
using rt::core::guarded;
using rt::sprites::SpriteRecord;

enum class Blend { Opaque, Keyed, Alpha };

constexpr const char* kNoSprite = "no such sprite";

// Off the screen is an answer (0, nothing drawn), not a failure.
int32_t draw(int32_t sprite, int32_t x, int32_t y, Blend blend, int32_t opacity) {
    const SpriteRecord* record = rt::sprites::find(sprite);
    if (record == nullptr) return fail(0, kNoSprite);
    if (!rt_scene_begin()) return 0;  // it said why
    if (rt::sprite3d::mode_states_set()) rt::sprite3d::leave_mode_states();
    // Only sprites that reach into the screen are drawn.
    if (int64_t{x} + record->width <= 0 || int64_t{y} + record->height <= 0 ||
        x >= rt_screen_width() || y >= rt_screen_height()) {
        return 0;
    }
    const rt_sprite_pixels& pixels = *record->pixels;
    if (blend == Blend::Opaque) {
        rt_render_state_set(1, rt::screen::kBlendOne, rt::screen::kBlendZero,
                            rt::screen::kVertexTextured);
        // The store's opaque view carries alpha 0xFF, so the colours are
        // copied as stored whatever their alpha.
        rt::screen::draw_opaque(pixels.opaque(), x, y);
        return 1;
    }
    rt_render_state_set(
        1, rt::screen::kBlendSourceAlpha, rt::screen::kBlendInverseSourceAlpha,
        blend == Blend::Alpha ? rt::screen::kVertexTexturedDiffuse : rt::screen::kVertexTextured);
    QPainter& scene = *rt::screen::scene(QRect(x, y, record->width, record->height));
    if (blend == Blend::Alpha) {
        scene.setOpacity((opacity & 0xFF) / 255.0);
        scene.drawImage(QPoint(x, y), pixels.premultiplied());
        scene.setOpacity(1.0);
    } else {
        scene.drawImage(QPoint(x, y), pixels.premultiplied());
    }
    return 1;
}

}  // namespace

extern "C" {

int32_t rt_sprite_draw(int32_t sprite, int32_t x, int32_t y) {
    return guarded(__func__, 0, [&] { return draw(sprite, x, y, Blend::Opaque, 255); });
}

int32_t rt_sprite_draw_keyed(int32_t sprite, int32_t x, int32_t y) {
    return guarded(__func__, 0, [&] { return draw(sprite, x, y, Blend::Keyed, 255); });
}

int32_t rt_sprite_draw_alpha(int32_t sprite, int32_t x, int32_t y, int32_t opacity) {
    return guarded(__func__, 0, [&] { return draw(sprite, x, y, Blend::Alpha, opacity); });
}

int32_t rt_sprite_collide(int32_t sprite1, int32_t x1, int32_t y1, int32_t sprite2, int32_t x2,
                          int32_t y2) {
    return guarded(__func__, 0, [&] {
        const SpriteRecord* a = rt::sprites::find(sprite1);
        if (a == nullptr) return fail(0, kNoSprite);
        const SpriteRecord* b = rt::sprites::find(sprite2);
        if (b == nullptr) return fail(0, kNoSprite);
        // An empty rectangle holds no pixel to share.
        if (a->width <= 0 || a->height <= 0 || b->width <= 0 || b->height <= 0) return 0;
        // 64-bit sums: positions near the ends of the range must not wrap.
        if (!(int64_t{x2} < int64_t{x1} + a->width)) return 0;
        if (!(int64_t{x2} + b->width > x1)) return 0;
        if (!(int64_t{y2} + b->height > y1)) return 0;
        if (!(int64_t{y2} < int64_t{y1} + a->height)) return 0;
        return 1;
    });
}

}  // extern "C"

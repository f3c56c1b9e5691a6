// SPDX-License-Identifier: GPL-3.0-or-later
// Rotated sprites: a sprite's pixels drawn as a quad turned about its centre,
// with an opacity, inside a rotated-sprite mode begun for part of a frame.
#include <QPainter>
#include <QTransform>
#include <cmath>
#include <memory>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_pixels.h"

namespace {

struct QuadCorner {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};

struct RotatedSprite {
    uint32_t live = 1;  // the table's in-use mark
    std::shared_ptr<rt_sprite_pixels> pixels;
    QuadCorner modelCorners[4]{};
    int32_t width = 0, height = 0;
    float angle = 0.0f;
    bool isGeometryValid = false;
    // The model corners as the painter's transform (without the position).
    QTransform model;
};

struct ModeState {
    rt_table* table = nullptr;
    bool isModeBegun = false;
    bool areModeStatesSet = false;
    int32_t sourceBlend = rt::screen::kBlendSourceAlpha;
    int32_t destinationBlend = rt::screen::kBlendInverseSourceAlpha;
};

ModeState& mode() {
    static ModeState m;
    return m;
}

RotatedSprite* find(int32_t id) {
    ModeState& m = mode();
    return m.table ? static_cast<RotatedSprite*>(rt_table_check(m.table, id)) : nullptr;
}

void reset_corners(RotatedSprite& r) {
    static constexpr float kUV[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; ++i)
        r.modelCorners[i] = QuadCorner{0, 0, 0, 1.0f, 0x00FFFFFFu, kUV[i][0], kUV[i][1]};
    r.isGeometryValid = false;
}

// Rebuilds the corners for the current angle: unrotated at half-pixel offsets
// so texel centres fall on pixel centres, turned about their mean.
void rebuild_geometry(RotatedSprite& r) {
    const float w = static_cast<float>(r.width), h = static_cast<float>(r.height);
    const float xs[4] = {-0.5f, w - 0.5f, -0.5f, w - 0.5f};
    const float ys[4] = {-0.5f, -0.5f, h - 0.5f, h - 0.5f};
    float c = 1.0f, s = 0.0f;
    if (r.angle != 0.0f) {
        c = std::cos(r.angle);
        s = std::sin(r.angle);
    }
    const float cx = 0.25f * (xs[0] + xs[1] + xs[2] + xs[3]);
    const float cy = 0.25f * (ys[0] + ys[1] + ys[2] + ys[3]);
    for (int i = 0; i < 4; ++i) {
        float x = xs[i], y = ys[i];
        if (r.angle != 0.0f) {
            x = c * (xs[i] - cx) - s * (ys[i] - cy) + cx;
            y = s * (xs[i] - cx) + c * (ys[i] - cy) + cy;
        }
        r.modelCorners[i].x = x;
        r.modelCorners[i].y = y;
    }
    // The same mapping for the painter, whose pixel centres lie at +0.5: image
    // point (px, py) goes to corner-space (px - 0.5, py - 0.5), is turned, and
    // comes back by +0.5.
    const double dc = c, ds = s;
    const double dx = cx + 0.5 - dc * (cx + 0.5) + ds * (cy + 0.5);
    const double dy = cy + 0.5 - ds * (cx + 0.5) - dc * (cy + 0.5);
    r.model = QTransform(dc, ds, -ds, dc, dx, dy);
    r.isGeometryValid = true;
}

// The rotated-sprite set-up: blended by source alpha, opacity from the
// corners' diffuse alpha.
int32_t apply_mode_states() {
    ModeState& m = mode();
    if (!m.isModeBegun) return 0;
    rt_render_state_set(1, m.sourceBlend, m.destinationBlend, rt::screen::kVertexTexturedDiffuse);
    m.areModeStatesSet = true;
    return 1;
}

}  // namespace

namespace rt::sprite3d {

bool mode_states_set() {
    return mode().areModeStatesSet;
}

void leave_mode_states() {
    rt_screen_texture_states();
    mode().areModeStatesSet = false;
}

}  // namespace rt::sprite3d

using rt::core::fail;
using rt::core::guarded;

namespace {

constexpr const char* kNoRotated = "no such rotated sprite";

// Runs a function on a live rotated sprite.
template <class Result, class Work>
Result on_rotated(const char* function, Result failure, int32_t id, Work&& work) noexcept {
    return guarded(function, failure, [&]() -> Result {
        RotatedSprite* r = find(id);
        if (r == nullptr) return fail(failure, kNoRotated);
        return work(*r);
    });
}

}  // namespace

extern "C" {

int32_t rt_sprite3d_init(void) {
    return guarded(__func__, 0, [] {
        ModeState& m = mode();
        if (m.table == nullptr) m.table = rt_table_new(sizeof(RotatedSprite), 64, rt_sprite3d_free);
        m.isModeBegun = false;
        m.areModeStatesSet = false;
        m.sourceBlend = rt::screen::kBlendSourceAlpha;
        m.destinationBlend = rt::screen::kBlendInverseSourceAlpha;
        return m.table ? 1 : 0;  // the table said why
    });
}

int32_t rt_sprite3d_create(int32_t id, int32_t sprite) {
    return guarded(__func__, 0, [&] {
        ModeState& m = mode();
        if (m.table == nullptr) return fail(0, "no rotated-sprite library (rt_sprite3d_init)");
        if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
        int32_t flags = 0;
        std::shared_ptr<rt_sprite_pixels> pixels = rt::sprites::pixels(sprite, &flags);
        if (pixels == nullptr || (flags & RT_SPRITE_TEXTURE) == 0) {
            if (id != -1 && find(id) != nullptr)
                rt_sprite3d_free(id);  // nothing is left under the id
            return fail(0,
                        pixels ? "the sprite lacks flag 4 (RT_SPRITE_TEXTURE)" : "no such sprite");
        }
        int32_t new_id = 0;
        void* memory = rt_table_alloc(m.table, id, &new_id);
        if (memory == nullptr) return 0;  // the table said why
        auto* r = new (memory) RotatedSprite;
        r->pixels = std::move(pixels);
        r->width = r->pixels->width();
        r->height = r->pixels->height();
        reset_corners(*r);
        return new_id;
    });
}

void rt_sprite3d_rotate(int32_t sprite3d, float degrees, int32_t relative) {
    on_rotated(__func__, 0, sprite3d, [&](RotatedSprite& r) {
        // A turn that is no number (or no finite one) would leave the corners
        // nowhere: refused, and the angle stays.
        if (!rt::core::finite(degrees)) return fail(0, "the angle is not a finite number");
        const float radians = static_cast<float>(std::acos(-1.0) * degrees * 2.0 / 360.0);
        const float angle = relative != 0 ? r.angle + radians : radians;
        if (!rt::core::finite(angle)) return fail(0, "the angle is not a finite number");
        r.angle = angle;
        r.isGeometryValid = false;
        return 0;
    });
}

float rt_sprite3d_angle(int32_t sprite3d) {
    return on_rotated(__func__, 0.0f, sprite3d, [](const RotatedSprite& r) { return r.angle; });
}

int32_t rt_sprite3d_begin(void) {
    return guarded(__func__, 0, [] {
        if (!rt_scene_begin()) return 0;  // it said why
        mode().isModeBegun = true;
        return apply_mode_states();
    });
}

void rt_sprite3d_end(void) {
    guarded(__func__, [] {
        ModeState& m = mode();
        if (!m.isModeBegun) return;
        rt::sprite3d::leave_mode_states();
        m.isModeBegun = false;
    });
}

int32_t rt_sprite3d_draw(int32_t sprite3d, int32_t x, int32_t y) {
    return guarded(__func__, 0, [&] { return rt_sprite3d_draw_alpha(sprite3d, x, y, 255); });
}

int32_t rt_sprite3d_draw_alpha(int32_t sprite3d, int32_t x, int32_t y, int32_t opacity) {
    return on_rotated(__func__, 0, sprite3d, [&](RotatedSprite& r) {
        ModeState& m = mode();
        if (!m.areModeStatesSet) apply_mode_states();
        if (!r.isGeometryValid) rebuild_geometry(r);
        // The device draws inside a scene; without one there is nothing to draw on.
        if (!rt_scene_begin()) return 0;  // it said why
        // Only the bits of the opacity that land in the diffuse alpha byte count.
        const uint32_t alpha = static_cast<uint32_t>(opacity) & 0xFFu;
        if (alpha == 0 || r.width == 0 || r.height == 0) return 1;
        QTransform placed = r.model;
        placed *= QTransform::fromTranslate(x, y);
        // A pixel of margin around the turned quad's bounds covers its edge pixels.
        const QRectF screen(0, 0, rt_screen_width(), rt_screen_height());
        const QRectF bounds = placed.mapRect(QRectF(0, 0, r.width, r.height)) & screen;
        const QRect area =
            bounds.isEmpty() ? QRect() : bounds.toAlignedRect().adjusted(-1, -1, 1, 1);
        QPainter* scene = rt::screen::scene(area);
        scene->setTransform(placed);
        scene->setOpacity(alpha / 255.0);
        scene->drawImage(QPoint(0, 0), r.pixels->premultiplied());
        // The transform and opacity belong to this quad only: plain sprites drawn
        // next (begun mode or not) must find the painter as it was.
        scene->resetTransform();
        scene->setOpacity(1.0);
        return 1;
    });
}

void rt_sprite3d_free(int32_t sprite3d) {
    on_rotated(__func__, 0, sprite3d, [sprite3d](RotatedSprite& r) {
        r.~RotatedSprite();
        rt_table_remove(mode().table, sprite3d);
        return 0;
    });
}

void rt_sprite3d_free_all(void) {
    guarded(__func__, [] {
        ModeState& m = mode();
        if (m.table != nullptr) rt_table_free_all(m.table);
    });
}

}  // extern "C"

// SPDX-License-Identifier: GPL-3.0-or-later
// The player's side: the ship, its shield and its two kinds of shot. Cool colours
// (silver, steel blue, cyan) so the ship never reads as an enemy.
#include <cmath>

#include "art.h"
#include "sdf.h"

namespace assetgen {

// The ship is designed on a 64-pixel grid; `at` maps that grid onto the canvas
// (scale 1 at the origin draws the game's own picture).
void draw_spaceship(Canvas& c, Placement at) {
    const float axis = 32.0f;
    using namespace sdf;
    // A shape of the design grid, measured in canvas pixels.
    auto placed = [at](auto shape) {
        return [shape, at](Vec2 p) { return shape(at.to_design(p)) * at.scale; };
    };
    auto plate = [at](Material m) {
        m.bevel = m.bevel * at.scale;
        return m;
    };

    // Swept wings with cannons at their tips.
    auto wing = placed(mirror_x(
        polygon({{36, 24}, {45, 33}, {57, 43}, {58.5f, 51}, {51, 52.5f}, {37, 47}}), axis));
    fill(c, wing, plate_shader(wing, plate({rgb(92, 118, 168), 2.2f, 0.4f, 0.7f, 0.5f, 16})));
    auto cannons = placed(mirror_x(capsule({55.2f, 33}, {55.2f, 49}, 1.7f), axis));
    fill(c, cannons, plate_shader(cannons, plate({rgb(170, 176, 190), 1.2f})));
    auto stripe = placed(mirror_x(capsule({39.5f, 30.5f}, {52.5f, 42.5f}, 0.95f), axis));
    fill(c, stripe, [](Vec2) { return rgb(70, 225, 255); });

    // Tail fins.
    auto fins = placed(mirror_x(polygon({{35, 43}, {42, 51}, {42, 57}, {36, 54}}), axis));
    fill(c, fins, plate_shader(fins, plate({rgb(70, 92, 140), 1.5f})));

    // Fuselage: a long silver dart.
    auto body = placed(polygon(mirrored(
        {{32, 2.5f}, {34.6f, 9}, {36.6f, 18}, {37.6f, 30}, {37.6f, 46}, {36, 54}, {32, 56}},
        axis)));
    const Material hull = plate({rgb(206, 212, 224), 3.0f, 0.38f, 0.72f, 0.55f, 20});
    fill(c, body, [body, hull, at](Vec2 p) {
        Color col = shade_plate(hull, body(p), gradient(body, p));
        // Panel seams.
        const Vec2 q = at.to_design(p);
        if (std::fabs(q.y - 36.0f) < 0.45f || std::fabs(q.y - 45.5f) < 0.45f)
            col = scale(col, 0.7f);
        return col;
    });

    // Engines and their flames (soft: the ship keeps its alpha channel).
    auto engines = placed(unite(box({29, 55}, 2.3f, 3.0f, 1.0f), box({35, 55}, 2.3f, 3.0f, 1.0f)));
    fill(c, engines, plate_shader(engines, plate({rgb(80, 84, 96), 1.0f})));
    for (float x : {29.0f, 35.0f}) {
        glow(c, at.to_canvas({x, 59.5f}), 5.5f * at.scale, rgb(120, 200, 255), 0.9f, 1.6f);
        glow(c, at.to_canvas({x, 58.8f}), 2.6f * at.scale, rgb(255, 255, 255), 0.9f, 1.2f);
    }

    // Cockpit canopy: glass with a highlight.
    auto canopy = placed(ellipse({32, 21}, 3.3f, 7.0f));
    fill(c, canopy, [at](Vec2 p) {
        const Vec2 q = at.to_design(p);
        const float t = clamp01((q.y - 14.0f) / 14.0f);
        Color glass = mix(rgb(150, 240, 255), rgb(20, 70, 130), t);
        const float hl = length(Vec2{(q.x - 31.0f) / 1.2f, (q.y - 17.5f) / 2.4f});
        if (hl < 1.0f) glass = mix(glass, rgb(240, 255, 255), 0.8f * (1.0f - hl));
        return glass;
    });
    // Nose light.
    glow(c, at.to_canvas({32, 6}), 2.2f * at.scale, rgb(120, 240, 255), 0.6f, 1.0f);
}

namespace {

Picture spaceship() {
    Canvas c(size::kShip, size::kShip);
    draw_spaceship(c, {});
    return {"spaceship.png", std::move(c), Keying::Alpha};
}

Picture ship_shield() {
    Canvas c(size::kShipShield, size::kShipShield);
    const float r = size::kShipShield / 2.0f;
    draw_bubble(c, {r, r}, r - 1.0f, rgb(110, 215, 255), rgb(90, 190, 255), 0.28f, 0.10f, 7.5f);
    return {"shipschirm.png", std::move(c), Keying::Alpha};
}

// A crisp plasma ball: the game keys shots on black, so no soft edge.
Picture shot(const char* name, int px, const std::vector<RampStop>& palette) {
    Canvas c(px, px);
    const Vec2 centre{px / 2.0f, px / 2.0f};
    const float radius = px / 2.0f - 0.1f;
    auto ball = sdf::circle(centre, radius);
    fill(c, ball, [&](Vec2 p) { return ramp(palette, length(p - centre) / radius); });
    return {name, std::move(c), Keying::Black};
}

}  // namespace

std::vector<Picture> ship_pictures() {
    std::vector<Picture> out;
    out.push_back(spaceship());
    out.push_back(ship_shield());
    out.push_back(shot("shipkugel1.png", size::kShot,
                       {{0.0f, rgb(255, 255, 255)},
                        {0.3f, rgb(200, 250, 255)},
                        {0.6f, rgb(60, 210, 255)},
                        {1.0f, rgb(30, 90, 230)}}));
    // Extra gunpower: smaller but white-hot, yellow to orange.
    out.push_back(shot("shipkugel2.png", size::kPowerShot,
                       {{0.0f, rgb(255, 255, 255)},
                        {0.35f, rgb(255, 250, 170)},
                        {0.7f, rgb(255, 190, 40)},
                        {1.0f, rgb(255, 90, 20)}}));
    return out;
}

}  // namespace assetgen

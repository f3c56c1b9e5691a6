// SPDX-License-Identifier: GPL-3.0-or-later
// Explosions, flashes and energy bubbles. All of them keep an alpha channel, so
// their light is soft and fades smoothly under the game's opacity.
#include <algorithm>
#include <cmath>

#include "art.h"
#include "noise.h"
#include "rng.h"

namespace assetgen {
namespace {

// Distance from p to the nearest edge of a hexagonal tiling with unit spacing
// (0 on an edge, 0.5 at a cell centre).
float hex_edge(Vec2 p) {
    constexpr float sy = 1.7320508f;
    const Vec2 a{p.x - (std::floor(p.x) + 0.5f), p.y - (std::floor(p.y / sy) + 0.5f) * sy};
    const Vec2 pb{p.x - 0.5f, p.y - sy * 0.5f};
    const Vec2 b{pb.x - (std::floor(pb.x) + 0.5f), pb.y - (std::floor(pb.y / sy) + 0.5f) * sy};
    const Vec2 q = dot(a, a) < dot(b, b) ? a : b;
    const float ax = std::fabs(q.x), ay = std::fabs(q.y);
    return 0.5f - std::max(ax, ax * 0.5f + ay * 0.8660254f);
}

// A thin line of light from a to b, strongest at a.
void ray(Canvas& c, Vec2 a, Vec2 b, float width, Color color, float strength) {
    const float len = length(b - a);
    const Vec2 dir = (b - a) * (1.0f / len);
    const Vec2 normal{-dir.y, dir.x};
    const int x0 = static_cast<int>(std::min(a.x, b.x) - width - 2);
    const int x1 = static_cast<int>(std::max(a.x, b.x) + width + 2);
    const int y0 = static_cast<int>(std::min(a.y, b.y) - width - 2);
    const int y1 = static_cast<int>(std::max(a.y, b.y) + width + 2);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const Vec2 p = Vec2{x + 0.5f, y + 0.5f} - a;
            const float along = dot(p, dir);
            if (along < 0.0f || along > len) continue;
            const float t = along / len;
            const float w = width * (1.0f - 0.8f * t);
            const float across = std::fabs(dot(p, normal));
            if (across >= w) continue;
            const float k = (1.0f - across / w) * (1.0f - t);
            c.add_light(x, y, color, strength * k * std::sqrt(k));
        }
}

const std::vector<RampStop> kFire = {
    {0.0f, {1.0f, 1.0f, 0.93f, 1.0f}},    {0.18f, {1.0f, 0.93f, 0.55f, 1.0f}},
    {0.42f, {1.0f, 0.58f, 0.14f, 1.0f}},  {0.68f, {0.82f, 0.2f, 0.06f, 0.9f}},
    {0.88f, {0.35f, 0.12f, 0.1f, 0.55f}}, {1.0f, {0.18f, 0.1f, 0.1f, 0.0f}},
};

Picture hit_flash() {
    Canvas c(size::kHitFlash, size::kHitFlash);
    const Vec2 m{12, 12};
    glow(c, m, 11.5f, rgb(90, 200, 255), 0.8f, 1.6f);
    for (int i = 0; i < 8; ++i) {
        const float a = static_cast<float>(i) * 3.14159265f / 4.0f;
        const float len = (i % 2 == 0) ? 11.5f : 7.5f;
        ray(c, m, m + Vec2{std::cos(a), std::sin(a)} * len, 2.2f, rgb(210, 245, 255), 1.0f);
    }
    glow(c, m, 5.0f, rgb(255, 255, 255), 1.0f, 0.8f);
    return {"shipKugelexplosion.png", std::move(c), Keying::Alpha};
}

Picture enemy_blast() {
    Canvas c(size::kEnemyBlast, size::kEnemyBlast);
    const Vec2 m{32, 32};
    glow(c, m, 31.0f, rgb(255, 120, 40), 0.45f, 1.5f);
    draw_fireball(c, m, 27.0f, 11, kFire, 0.55f);
    draw_sparks(c, m, 12.0f, 31.0f, 14, 12, rgb(255, 220, 120));
    return {"feindexplosion.png", std::move(c), Keying::Alpha};
}

Picture rocket_blast() {
    Canvas c(size::kRocketBlast, size::kRocketBlast);
    const Vec2 m{64, 64};
    const std::vector<RampStop> hot = {
        {0.0f, {1.0f, 1.0f, 1.0f, 1.0f}},    {0.15f, {1.0f, 0.95f, 0.7f, 1.0f}},
        {0.38f, {1.0f, 0.62f, 0.2f, 1.0f}},  {0.62f, {0.9f, 0.26f, 0.08f, 0.95f}},
        {0.85f, {0.4f, 0.12f, 0.12f, 0.6f}}, {1.0f, {0.2f, 0.1f, 0.12f, 0.0f}},
    };
    glow(c, m, 62.0f, rgb(255, 100, 40), 0.35f, 1.8f);
    draw_fireball(c, m, 50.0f, 21, hot, 0.7f);
    draw_sparks(c, m, 20.0f, 62.0f, 22, 22, rgb(255, 210, 110));
    return {"raketeexplosion.png", std::move(c), Keying::Alpha};
}

// The game draws this one centred on the ship's top-left corner, so the blast is
// painted around the point where the ship's centre falls: half a ship to the
// lower right of the picture's middle.
Picture ship_blast() {
    Canvas c(size::kShipBlast, size::kShipBlast);
    const float o = size::kShipBlast / 2.0f + size::kShip / 2.0f;
    const Vec2 m{o, o};
    const float room = size::kShipBlast - o - 2.0f;
    // Shock wave ring.
    paint(c, [&](Vec2 p) {
        const float d = length(p - m) / room;
        const float ring = std::exp(-std::pow((d - 0.93f) / 0.05f, 2.0f));
        return Color{0.7f, 0.85f, 1.0f, 0.55f * ring};
    });
    glow(c, m, room, rgb(255, 140, 60), 0.5f, 1.4f);
    draw_fireball(c, m, room * 0.82f, 31, kFire, 0.75f);
    draw_fireball(c, m + Vec2{-18, 10}, room * 0.35f, 32, kFire, 0.5f);
    draw_fireball(c, m + Vec2{15, -16}, room * 0.3f, 33, kFire, 0.5f);
    draw_sparks(c, m, room * 0.3f, room * 0.98f, 36, 34, rgb(200, 230, 255));
    draw_sparks(c, m, room * 0.2f, room * 0.9f, 30, 35, rgb(255, 200, 90));
    glow(c, m, room * 0.25f, rgb(255, 255, 255), 0.9f, 1.3f);
    return {"shipexplosion.png", std::move(c), Keying::Alpha};
}

// An electric flash, blue-white, clearly not fire: shields grinding together.
Picture collision_flash() {
    Canvas c(size::kCollision, size::kCollision);
    const Vec2 m{56, 56};
    glow(c, m, 54.0f, rgb(120, 140, 255), 0.45f, 2.0f);
    paint(c, [&](Vec2 p) {
        const float d = length(p - m) / 40.0f;
        const float ring = std::exp(-std::pow((d - 1.0f) / 0.08f, 2.0f));
        return Color{0.75f, 0.8f, 1.0f, 0.6f * ring};
    });
    for (int i = 0; i < 12; ++i) {
        const float a = static_cast<float>(i) * 3.14159265f / 6.0f + 0.13f;
        const float len = (i % 3 == 0) ? 54.0f : 36.0f;
        ray(c, m, m + Vec2{std::cos(a), std::sin(a)} * len, 2.4f, rgb(190, 210, 255), 1.0f);
    }
    // Forked lightning.
    Rng rng(41);
    for (int bolt = 0; bolt < 6; ++bolt) {
        float a = static_cast<float>(bolt) * 1.0472f + rng.range(-0.3f, 0.3f);
        Vec2 p = m;
        for (int seg = 0; seg < 9; ++seg) {
            a += rng.range(-0.6f, 0.6f);
            const Vec2 q = p + Vec2{std::cos(a), std::sin(a)} * rng.range(4.0f, 6.5f);
            if (length(q - m) > 52.0f) break;
            ray(c, p, q, 1.3f, rgb(220, 200, 255), 0.9f);
            p = q;
        }
    }
    glow(c, m, 16.0f, rgb(255, 255, 255), 1.0f, 1.2f);
    return {"kollision.png", std::move(c), Keying::Alpha};
}

}  // namespace

void draw_fireball(Canvas& canvas, Vec2 centre, float radius, unsigned seed,
                   const std::vector<RampStop>& palette, float turbulence) {
    const float k = 3.2f / radius;
    paint(canvas, [&](Vec2 p) {
        const Vec2 v = p - centre;
        const float d = length(v) / radius;
        if (d > 1.0f + turbulence) return Color{0, 0, 0, 0};
        const float n = fbm(v.x * k, v.y * k, 0.5f, seed, 4);
        const float r_eff = d * (1.0f + turbulence * (0.5f - n) * 2.0f);
        if (r_eff >= 1.0f) return Color{0, 0, 0, 0};
        const float detail = fbm(v.x * k * 2.5f, v.y * k * 2.5f, 3.5f, seed + 7u, 3);
        const float heat = std::pow(1.0f - r_eff, 0.85f) * (0.7f + 0.6f * detail);
        Color col = ramp(palette, 1.0f - clamp01(heat));
        col.a *= smoothstep(0.0f, 0.22f, 1.0f - r_eff);
        return col;
    });
}

void draw_sparks(Canvas& canvas, Vec2 centre, float inner, float outer, int count, unsigned seed,
                 Color color) {
    Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        const float a = rng.range(0.0f, 6.2831853f);
        const Vec2 dir{std::cos(a), std::sin(a)};
        const float start = rng.range(inner * 0.6f, inner);
        const float len = rng.range((outer - start) * 0.3f, outer - start);
        ray(canvas, centre + dir * (start + len), centre + dir * start, rng.range(0.9f, 1.5f),
            color, rng.range(0.7f, 1.0f));
        glow(canvas, centre + dir * (start + len), 1.8f, color, 0.9f, 1.0f);
    }
}

void draw_bubble(Canvas& canvas, Vec2 centre, float radius, Color rim, Color mesh, float mesh_alpha,
                 float fill_alpha, float cell) {
    const Vec2 light_dir{-0.7071f, -0.7071f};
    paint(canvas, [&](Vec2 p) {
        const Vec2 v = p - centre;
        const float d = length(v) / radius;
        const float edge = clamp01((1.0f - d) * radius + 0.5f);
        if (edge <= 0.0f) return Color{0, 0, 0, 0};
        // The mesh bulges towards the rim, as on a sphere.
        const Vec2 q = v * ((1.0f + 0.55f * d * d) / cell);
        const float line = 1.0f - smoothstep(0.035f, 0.1f, hex_edge(q));
        const float rim_a = std::pow(d, 7.0f) * 0.95f;
        const float mesh_a = mesh_alpha * line * (0.35f + 0.65f * d);
        // A crescent of light on the upper left.
        const float facing = d > 0.01f ? dot(v * (1.0f / (d * radius)), light_dir) : 0.0f;
        const float crescent =
            smoothstep(0.55f, 0.95f, facing) * std::exp(-std::pow((d - 0.8f) / 0.08f, 2.0f)) * 0.6f;
        const float a = clamp01(fill_alpha + rim_a + mesh_a + crescent) * edge;
        Color col = mix(mesh, rim, clamp01(rim_a * 1.5f));
        col = mix(col, rgb(235, 250, 250), clamp01(crescent * 1.4f));
        col.a = a;
        return col;
    });
}

std::vector<Picture> effect_pictures() {
    std::vector<Picture> out;
    out.push_back(hit_flash());
    out.push_back(enemy_blast());
    out.push_back(rocket_blast());
    out.push_back(ship_blast());
    out.push_back(collision_flash());
    return out;
}

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// Planets and moons: shaded spheres with noise-made surfaces, craters, clouds,
// bands and a ring. They drift behind the action, so their colours are a little
// muted. Both are keyed on black (planets are also turned by the game), so the
// night side stays dark but never pure black, and the disc edge is crisp; all of
// a planet lies inside the circle that fits its square, so turning never clips it.
#include <cmath>
#include <vector>

#include "art.h"
#include "noise.h"
#include "rng.h"
#include "sdf.h"

namespace assetgen {
namespace {

struct Crater {
    Vec3 dir;
    float radius;  // angular radius, radians
    float depth;
};

std::vector<Crater> make_craters(unsigned seed, int count, float min_r, float max_r) {
    Rng rng(seed);
    std::vector<Crater> out;
    for (int i = 0; i < count; ++i) {
        const Vec3 d =
            normalize({rng.signed_unit(), rng.signed_unit(), rng.uniform() * 1.2f + 0.05f});
        // Many small craters, few big ones.
        const float u = rng.uniform();
        out.push_back({d, min_r + (max_r - min_r) * u * u * u, rng.range(0.5f, 1.0f)});
    }
    return out;
}

// Brightness factor of the craters at surface point n (1 = untouched).
float crater_light(const std::vector<Crater>& craters, Vec3 n) {
    float k = 1.0f;
    for (const Crater& c : craters) {
        const float cosang = dot(n, c.dir);
        if (cosang < 0.0f) continue;
        const float t = std::acos(std::min(1.0f, cosang)) / c.radius;
        if (t > 1.3f) continue;
        if (t < 1.0f) k *= 1.0f - 0.35f * c.depth * (1.0f - t * t);
        k *= 1.0f + 0.3f * c.depth * std::exp(-std::pow((t - 1.0f) / 0.12f, 2.0f));
    }
    return k;
}

struct SphereLight {
    float ambient = 0.1f;
    Color limb = {0, 0, 0, 0};  // atmosphere colour at the rim, alpha = strength
    float tilt = 0.0f;          // axial tilt, radians
};

// Renders a sphere of radius r; surface(n, lat) gives the albedo for the unit
// surface point n (after tilt) and its latitude coordinate (-1 .. 1).
template <class Surface>
void draw_sphere(Canvas& c, Vec2 centre, float r, const SphereLight& sl, const Surface& surface) {
    const Vec3 light = normalize({-0.38f, -0.42f, 0.82f});
    auto disc = sdf::circle(centre, r);
    fill(c, disc, [&](Vec2 p) {
        const float x = (p.x - centre.x) / r, y = (p.y - centre.y) / r;
        const float z = std::sqrt(std::max(0.0f, 1.0f - x * x - y * y));
        const Vec3 n{x, y, z};
        const float ct = std::cos(sl.tilt), st = std::sin(sl.tilt);
        const Vec3 body{ct * x - st * y, st * x + ct * y, z};
        const Color albedo = surface(body, body.y);
        const float diffuse = std::max(0.0f, dot(n, light));
        const float k = sl.ambient + (1.0f - sl.ambient) * std::pow(diffuse, 0.9f);
        Color col = scale(albedo, k);
        const float rim = std::pow(1.0f - z, 2.5f) * sl.limb.a * (0.35f + 0.65f * diffuse);
        col = add(col, sl.limb, rim);
        // Night side: dark but still visible against black space.
        col.r = std::max(col.r, 0.035f);
        col.g = std::max(col.g, 0.035f);
        col.b = std::max(col.b, 0.05f);
        col.a = 1.0f;
        return col;
    });
}

Picture desert_planet() {
    const int px = 176;
    Canvas c(px, px);
    const auto craters = make_craters(101, 34, 0.05f, 0.32f);
    draw_sphere(c, {88, 88}, 86.0f, {0.09f, rgb(255, 180, 150, 0.55f), 0.3f}, [&](Vec3 n, float) {
        const float h = fbm(n.x * 2.4f, n.y * 2.4f, n.z * 2.4f, 7, 5);
        Color col = ramp({{0.0f, rgb(100, 42, 30)},
                          {0.45f, rgb(176, 88, 52)},
                          {0.7f, rgb(212, 146, 98)},
                          {1.0f, rgb(232, 196, 150)}},
                         h);
        const float canyon = ridged(n.x * 3.0f, n.y * 3.0f, n.z * 3.0f, 9, 4);
        if (canyon > 0.8f) col = scale(col, 1.0f - 1.6f * (canyon - 0.8f));
        return scale(col, 0.9f * crater_light(craters, n));
    });
    return {"planet00.png", std::move(c), Keying::Black};
}

Picture ringed_planet() {
    const int px = 256;
    Canvas c(px, px);
    const Vec2 m{128, 128};
    const float inner = 86.0f, outer = 125.0f, flat = 0.3f, angle = -0.38f;
    auto ring_colour = [&](Vec2 p, bool front) -> Color {
        const Vec2 q = rotate(p - m, -angle);
        const float v = q.y / flat;
        if ((v > 0.0f) != front) return {0, 0, 0, 0};
        const float rr = std::sqrt(q.x * q.x + v * v);
        if (rr < inner || rr > outer) return {0, 0, 0, 0};
        const float t = (rr - inner) / (outer - inner);
        // The dark gap between the inner and outer ring.
        if (t > 0.56f && t < 0.63f) return {0, 0, 0, 0};
        const float grain = value_noise(rr * 0.6f, 0.0f, 0.0f, 55);
        Color col = ramp({{0.0f, rgb(120, 100, 80)},
                          {0.3f, rgb(214, 190, 150)},
                          {0.55f, rgb(190, 160, 120)},
                          {0.7f, rgb(226, 206, 170)},
                          {1.0f, rgb(150, 126, 100)}},
                         t);
        col = scale(col, 0.72f + 0.4f * grain);
        // Lit side of the ring brighter.
        col = scale(col, 0.8f + 0.25f * clamp01(-q.x / outer + 0.5f));
        return col;
    };
    auto ring_shape = [&](bool front) {
        return [&, front](Vec2 p) { return ring_colour(p, front).a > 0.0f ? -1.0f : 1.0f; };
    };
    fill(c, ring_shape(false), [&](Vec2 p) { return ring_colour(p, false); });
    draw_sphere(c, m, 70.0f, {0.08f, rgb(255, 230, 180, 0.35f), angle}, [&](Vec3 n, float lat) {
        const float wobble = fbm(n.x * 3.0f, n.y * 1.0f, n.z * 3.0f, 21, 4);
        const float band = std::sin(lat * 15.0f + wobble * 3.2f) * 0.5f + 0.5f;
        const float fine = std::sin(lat * 41.0f + wobble * 6.0f) * 0.5f + 0.5f;
        Color col = ramp(
            {{0.0f, rgb(150, 102, 60)}, {0.5f, rgb(212, 170, 116)}, {1.0f, rgb(236, 214, 170)}},
            band * 0.75f + fine * 0.25f);
        return scale(col, 0.88f);
    });
    fill(c, ring_shape(true), [&](Vec2 p) { return ring_colour(p, true); });
    return {"planet01.png", std::move(c), Keying::Black};
}

Picture ocean_planet() {
    const int px = 144;
    Canvas c(px, px);
    draw_sphere(
        c, {72, 72}, 70.0f, {0.08f, rgb(130, 190, 255, 0.9f), 0.25f}, [&](Vec3 n, float lat) {
            const float land = fbm(n.x * 1.8f + 3.0f, n.y * 1.8f, n.z * 1.8f, 31, 5);
            Color col = land > 0.56f ? ramp({{0.0f, rgb(70, 120, 50)},
                                             {0.5f, rgb(120, 130, 70)},
                                             {1.0f, rgb(160, 140, 100)}},
                                            (land - 0.56f) / 0.2f)
                                     : mix(rgb(16, 50, 120), rgb(36, 96, 170), land / 0.56f);
            if (std::fabs(lat) > 0.84f + 0.06f * land) col = rgb(225, 235, 245);
            const float cloud = fbm(n.x * 3.2f, n.y * 5.0f, n.z * 3.2f, 37, 4);
            col = mix(col, rgb(240, 244, 250), smoothstep(0.55f, 0.72f, cloud) * 0.9f);
            return scale(col, 0.9f);
        });
    return {"planet02.png", std::move(c), Keying::Black};
}

Picture ice_giant() {
    const int px = 200;
    Canvas c(px, px);
    draw_sphere(
        c, {100, 100}, 97.0f, {0.09f, rgb(160, 220, 255, 0.6f), -0.2f}, [&](Vec3 n, float lat) {
            const float wobble = fbm(n.x * 2.5f, n.y * 0.8f, n.z * 2.5f, 41, 4);
            const float band = std::sin(lat * 9.0f + wobble * 2.5f) * 0.5f + 0.5f;
            Color col = ramp(
                {{0.0f, rgb(70, 60, 140)}, {0.5f, rgb(80, 130, 170)}, {1.0f, rgb(150, 200, 210)}},
                band);
            // A great storm.
            const float sx = (n.x - 0.25f) / 0.22f, sy = (lat - 0.3f) / 0.1f;
            const float storm = sx * sx + sy * sy;
            if (storm < 1.0f && n.z > 0.0f) {
                const float swirl =
                    std::sin(std::sqrt(storm) * 9.0f + std::atan2(sy, sx) * 2.0f) * 0.5f + 0.5f;
                col = mix(col, mix(rgb(230, 240, 250), rgb(120, 150, 200), swirl),
                          0.85f * (1.0f - storm));
            }
            return scale(col, 0.88f);
        });
    return {"planet03.png", std::move(c), Keying::Black};
}

template <class Surface>
Picture moon(const char* name, int px, const Surface& surface, float tilt) {
    Canvas c(px, px);
    const float r = px / 2.0f - 0.5f;
    draw_sphere(c, {px / 2.0f, px / 2.0f}, r, {0.07f, rgb(255, 255, 255, 0.1f), tilt}, surface);
    return {name, std::move(c), Keying::Black};
}

}  // namespace

std::vector<Picture> planet_pictures() {
    std::vector<Picture> out;
    out.push_back(desert_planet());
    out.push_back(ringed_planet());
    out.push_back(ocean_planet());
    out.push_back(ice_giant());

    const auto grey = make_craters(201, 26, 0.08f, 0.45f);
    out.push_back(moon(
        "planetmond00.png", 34,
        [&](Vec3 n, float) {
            const float h = fbm(n.x * 3.0f, n.y * 3.0f, n.z * 3.0f, 202, 4);
            return scale(mix(rgb(120, 116, 112), rgb(196, 192, 186), h), crater_light(grey, n));
        },
        0.0f));
    out.push_back(moon(
        "planetmond01.png", 40,
        [&](Vec3 n, float) {
            const float crack = ridged(n.x * 2.5f, n.y * 2.5f, n.z * 2.5f, 211, 4);
            Color col =
                mix(rgb(200, 220, 235), rgb(236, 244, 250), fbm(n.x * 4, n.y * 4, n.z * 4, 212, 3));
            if (crack > 0.86f) col = mix(col, rgb(160, 110, 90), (crack - 0.86f) / 0.14f);
            return col;
        },
        0.4f));
    const auto small = make_craters(221, 14, 0.12f, 0.5f);
    out.push_back(moon(
        "planetmond01b.png", 24,
        [&](Vec3 n, float) {
            const float h = fbm(n.x * 3.5f, n.y * 3.5f, n.z * 3.5f, 222, 3);
            return scale(mix(rgb(110, 84, 64), rgb(170, 140, 110), h), crater_light(small, n));
        },
        0.0f));
    out.push_back(moon(
        "planetmond03.png", 30,
        [&](Vec3 n, float) {
            const float h = fbm(n.x * 3.0f, n.y * 3.0f, n.z * 3.0f, 231, 4);
            Color col = ramp(
                {{0.0f, rgb(200, 120, 40)}, {0.5f, rgb(230, 200, 90)}, {1.0f, rgb(240, 230, 170)}},
                h);
            const float spot = value_noise(n.x * 6.0f, n.y * 6.0f, n.z * 6.0f, 232);
            if (spot > 0.8f) col = mix(col, rgb(90, 40, 20), (spot - 0.8f) * 4.0f);
            return col;
        },
        0.0f));
    return out;
}

}  // namespace assetgen

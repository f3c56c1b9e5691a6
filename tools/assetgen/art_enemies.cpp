// SPDX-License-Identifier: GPL-3.0-or-later
// The enemy side: six alien ships, their shield and their rocket. Warm or alien
// colours (crimson, green, violet, amber, magenta, bronze), each with its own
// silhouette, all facing down towards the player. Enemies are keyed on black, so
// their outlines are crisp and no pixel inside them is pure black.
#include <cmath>

#include "art.h"
#include "sdf.h"

namespace assetgen {
namespace {

constexpr float kAxis = 32.0f;

// A small lit lamp: a bright disc with a white centre.
template <class Sdf>
void lamp(Canvas& c, const Sdf& shape, Vec2 centre, float radius, Color color) {
    fill(c, shape, [=](Vec2 p) {
        const float t = clamp01(length(p - centre) / radius);
        return mix(rgb(255, 255, 235), color, smoothstep(0.0f, 0.75f, t));
    });
}

Picture crab() {
    Canvas c(size::kEnemy, size::kEnemy);
    using namespace sdf;
    auto legs = mirror_x(unite(capsule({22, 22}, {11, 13}, 1.7f), capsule({24, 17}, {17, 5}, 1.5f),
                               capsule({11, 13}, {8, 18}, 1.3f)),
                         kAxis);
    fill(c, legs, plate_shader(legs, {rgb(130, 34, 36), 1.2f}));
    auto claws =
        mirror_x(unite(capsule({21, 31}, {11, 40}, 3.4f), taper({11, 40}, {15, 57}, 3.3f, 1.0f),
                       taper({12, 41}, {21, 51}, 2.5f, 0.8f)),
                 kAxis);
    fill(c, claws, plate_shader(claws, {rgb(176, 40, 44), 2.2f}));
    auto body = ellipse({32, 29}, 14.5f, 15.5f);
    const Material shell{rgb(206, 52, 50), 4.5f, 0.36f, 0.75f, 0.5f, 14};
    fill(c, body, [body, shell](Vec2 p) {
        Color col = shade_plate(shell, body(p), gradient(body, p));
        // Segment grooves across the shell.
        for (float gy : {21.0f, 28.0f})
            if (std::fabs(p.y - gy - 0.02f * (p.x - 32.0f) * (p.x - 32.0f)) < 0.6f)
                col = scale(col, 0.6f);
        return col;
    });
    auto spikes = mirror_x(
        unite(polygon({{32, 10}, {34, 16}, {30, 16}}), polygon({{40, 15}, {43, 19}, {39, 20}})),
        kAxis);
    fill(c, spikes, plate_shader(spikes, {rgb(235, 120, 90), 1.0f}));
    auto head = ellipse({32, 42}, 9.5f, 6.5f);
    fill(c, head, plate_shader(head, {rgb(160, 36, 40), 2.5f}));
    for (float x : {28.0f, 36.0f}) lamp(c, circle({x, 43}, 2.3f), {x, 43}, 2.3f, rgb(255, 220, 60));
    return {"feind00.png", std::move(c), Keying::Black};
}

Picture saucer() {
    Canvas c(size::kEnemy, size::kEnemy);
    using namespace sdf;
    auto emitter = ellipse({32, 44}, 9.0f, 4.5f);
    lamp(c, emitter, {32, 45}, 9.0f, rgb(90, 230, 120));
    auto disc = ellipse({32, 36}, 29.5f, 9.5f);
    const Material hull{rgb(72, 150, 96), 3.5f, 0.38f, 0.72f, 0.55f, 18};
    fill(c, disc, [disc, hull](Vec2 p) {
        Color col = shade_plate(hull, disc(p), gradient(disc, p));
        if (std::fabs(p.y - 36.5f - 0.004f * (p.x - 32) * (p.x - 32)) < 0.5f)
            col = scale(col, 0.65f);
        return col;
    });
    for (int i = 0; i < 7; ++i) {
        const float x = 12.0f + static_cast<float>(i) * 6.67f;
        const float y = 40.5f;
        lamp(c, circle({x, y}, 1.7f), {x, y}, 1.7f, i % 2 ? rgb(255, 180, 40) : rgb(255, 240, 90));
    }
    auto antenna = unite(capsule({32, 19}, {32, 12}, 0.8f), circle({32, 11}, 1.9f));
    fill(c, antenna, plate_shader(antenna, {rgb(220, 70, 60), 0.8f}));
    auto dome = intersect(ellipse({32, 31}, 13.0f, 12.0f), box({32, 24}, 14.0f, 9.5f));
    fill(c, dome, [](Vec2 p) {
        const float t = clamp01((p.y - 19.0f) / 14.0f);
        Color glass = mix(rgb(190, 255, 170), rgb(30, 110, 70), t);
        const float hl = length(Vec2{(p.x - 27.5f) / 3.0f, (p.y - 23.5f) / 2.2f});
        if (hl < 1.0f) glass = mix(glass, rgb(245, 255, 240), 0.85f * (1.0f - hl));
        return glass;
    });
    // The pilot's silhouette behind the glass.
    auto pilot = unite(circle({32, 26}, 3.0f), ellipse({32, 32}, 5.0f, 3.0f));
    fill(c, pilot,
         [](Vec2 p) { return mix(rgb(40, 90, 50), rgb(20, 60, 30), clamp01((p.y - 23) / 10)); });
    return {"feind01.png", std::move(c), Keying::Black};
}

Picture manta() {
    Canvas c(size::kEnemy, size::kEnemy);
    using namespace sdf;
    auto wings = polygon(mirrored({{32, 61},
                                   {37, 51},
                                   {44, 45.5f},
                                   {60, 37},
                                   {62.5f, 27},
                                   {56, 29},
                                   {51, 23.5f},
                                   {46, 28},
                                   {41, 19.5f},
                                   {36.5f, 24},
                                   {32, 13}},
                                  kAxis));
    const Material skin{rgb(118, 62, 182), 3.5f, 0.38f, 0.75f, 0.4f, 12};
    fill(c, wings, [wings, skin](Vec2 p) {
        Color col = shade_plate(skin, wings(p), gradient(wings, p));
        // Darker membrane towards the trailing edge.
        return scale(col, 0.8f + 0.2f * clamp01((p.y - 20.0f) / 25.0f));
    });
    auto veins =
        mirror_x(unite(capsule({34, 41}, {57, 33}, 0.75f), capsule({34, 36}, {46, 29}, 0.7f),
                       capsule({33.5f, 32}, {39, 23}, 0.6f)),
                 kAxis);
    fill(c, veins, [](Vec2) { return rgb(255, 110, 230); });
    auto ridge = ellipse({32, 38}, 5.0f, 17.0f);
    fill(c, ridge, plate_shader(ridge, {rgb(168, 100, 220), 3.0f}));
    auto eye = ellipse({32, 50}, 3.6f, 1.7f);
    lamp(c, eye, {32, 50}, 3.6f, rgb(255, 50, 60));
    return {"feind02.png", std::move(c), Keying::Black};
}

Picture wasp() {
    Canvas c(size::kEnemy, size::kEnemy);
    using namespace sdf;
    auto wings = mirror_x(unite(box({17.5f, 24}, 12.0f, 4.6f, 4.5f, 0.55f),
                                box({18.5f, 36}, 9.5f, 3.4f, 3.3f, -0.3f)),
                          kAxis);
    fill(c, wings, [wings](Vec2 p) {
        Color col = shade_plate({rgb(176, 200, 214), 1.5f, 0.5f, 0.55f, 0.6f, 20}, wings(p),
                                gradient(wings, p));
        // Wing veins.
        if (std::fabs(std::sin((p.x + p.y * 0.6f) * 0.9f)) < 0.12f) col = scale(col, 0.72f);
        return col;
    });
    auto legs = mirror_x(unite(capsule({27, 35}, {17, 42}, 1.1f), capsule({17, 42}, {15, 51}, 1.0f),
                               capsule({27, 38}, {21, 47}, 1.0f)),
                         kAxis);
    fill(c, legs, plate_shader(legs, {rgb(90, 55, 20), 0.8f}));
    auto stinger = taper({32, 6}, {32, 0.8f}, 2.2f, 0.3f);
    fill(c, stinger, plate_shader(stinger, {rgb(90, 50, 20), 1.0f}));
    auto abdomen = ellipse({32, 18}, 9.5f, 13.0f);
    fill(c, abdomen, [abdomen](Vec2 p) {
        const bool band = std::sin(p.y * 0.95f) > 0.35f;
        const Material m{band ? rgb(78, 44, 16) : rgb(240, 176, 40), 4.0f, 0.38f, 0.72f, 0.5f, 14};
        return shade_plate(m, abdomen(p), gradient(abdomen, p));
    });
    auto thorax = unite(ellipse({32, 35}, 7.5f, 6.5f), ellipse({32, 40.5f}, 6.5f, 3.0f));
    fill(c, thorax, plate_shader(thorax, {rgb(206, 132, 32), 2.5f}));
    auto mandibles = mirror_x(taper({29.5f, 51}, {27, 58.5f}, 1.7f, 0.5f), kAxis);
    fill(c, mandibles, plate_shader(mandibles, {rgb(96, 56, 20), 1.0f}));
    auto head = circle({32, 46}, 6.5f);
    fill(c, head, plate_shader(head, {rgb(236, 170, 40), 2.5f}));
    for (float x : {28.6f, 35.4f})
        lamp(c, ellipse({x, 47}, 2.2f, 3.0f), {x, 46.5f}, 3.0f, rgb(230, 40, 30));
    return {"feind03.png", std::move(c), Keying::Black};
}

Picture sentinel() {
    Canvas c(size::kEnemy, size::kEnemy);
    using namespace sdf;
    std::vector<Vec2> star;
    for (int i = 0; i < 16; ++i) {
        const float a = static_cast<float>(i) * 3.14159265f / 8.0f + 3.14159265f / 8.0f;
        const float r = i % 2 == 0 ? 30.5f : 17.0f;
        star.push_back({32.0f + r * std::cos(a), 32.0f + r * std::sin(a)});
    }
    auto spikes = polygon(star);
    fill(c, spikes, plate_shader(spikes, {rgb(206, 54, 146), 2.5f, 0.38f, 0.75f, 0.5f, 16}));
    auto ring = subtract(circle({32, 32}, 19.5f), circle({32, 32}, 13.0f));
    fill(c, ring, [ring](Vec2 p) {
        Color col = shade_plate({rgb(150, 146, 172), 2.5f, 0.4f, 0.7f, 0.7f, 24}, ring(p),
                                gradient(ring, p));
        // Rivets.
        const Vec2 v = p - Vec2{32, 32};
        const float a = std::atan2(v.y, v.x);
        if (std::fabs(length(v) - 16.2f) < 1.0f && std::cos(a * 8.0f) > 0.93f)
            col = scale(col, 0.55f);
        return col;
    });
    auto eye = circle({32, 32}, 13.0f);
    fill(c, eye, [](Vec2 p) {
        const float d = length(p - Vec2{32, 32}) / 13.0f;
        Color white = mix(rgb(252, 244, 214), rgb(170, 150, 120), smoothstep(0.4f, 1.0f, d));
        const Vec2 iris_c{32, 35};
        const float di = length(p - iris_c) / 7.5f;
        if (di < 1.0f) {
            white = mix(rgb(255, 190, 40), rgb(200, 30, 20), di);
            if (std::fabs(p.x - 32.0f) <
                1.6f * std::sqrt(std::max(0.0f, 1.0f - std::pow((p.y - 35.0f) / 6.0f, 2.0f))))
                white = rgb(30, 6, 14);
        }
        const float hl = length(p - Vec2{28, 28});
        if (hl < 2.2f) white = mix(white, rgb(255, 255, 255), 1.0f - hl / 2.2f);
        return white;
    });
    return {"feind04.png", std::move(c), Keying::Black};
}

Picture gunship() {
    Canvas c(size::kEnemy, size::kEnemy);
    using namespace sdf;
    auto cannons = mirror_x(
        unite(capsule({13, 38}, {13, 59}, 1.9f), capsule({38, 50}, {38, 61}, 1.4f)), kAxis);
    fill(c, cannons, plate_shader(cannons, {rgb(150, 152, 162), 1.2f, 0.4f, 0.7f, 0.8f, 24}));
    auto pods = mirror_x(box({13, 28}, 5.5f, 13.0f, 2.5f), kAxis);
    fill(c, pods, [pods](Vec2 p) {
        Color col = shade_plate({rgb(128, 78, 48), 2.5f}, pods(p), gradient(pods, p));
        if (std::fabs(std::fmod(p.y, 5.0f) - 2.5f) < 0.4f) col = scale(col, 0.7f);
        return col;
    });
    auto struts = mirror_x(box({21, 26}, 4.0f, 3.0f, 0.5f), kAxis);
    fill(c, struts, plate_shader(struts, {rgb(110, 100, 96), 1.0f}));
    auto hull = polygon(
        mirrored({{32, 5}, {39, 7}, {44, 15}, {44, 34}, {39, 45}, {36, 57}, {32, 60}}, kAxis));
    fill(c, hull, [hull](Vec2 p) {
        Color col = shade_plate({rgb(176, 112, 58), 3.0f, 0.36f, 0.75f, 0.55f, 16}, hull(p),
                                gradient(hull, p));
        if (std::fabs(p.y - 38.0f) < 0.5f || std::fabs(p.x - 32.0f) < 0.45f) col = scale(col, 0.7f);
        return col;
    });
    auto bridge = box({32, 21}, 6.0f, 6.0f, 2.0f);
    fill(c, bridge, plate_shader(bridge, {rgb(96, 92, 104), 2.0f}));
    for (float x : {28.5f, 32.0f, 35.5f})
        lamp(c, circle({x, 22}, 1.3f), {x, 22}, 1.3f, rgb(255, 70, 50));
    for (float x : {27.0f, 37.0f})
        lamp(c, circle({x, 6.5f}, 2.2f), {x, 6.5f}, 2.2f, rgb(255, 150, 50));
    return {"feind05.png", std::move(c), Keying::Black};
}

// The enemies' shield, red-orange. The game copies it for every enemy with a copy
// that keys on white, so its clear pixels are stored white.
Picture enemy_shield() {
    Canvas c(size::kEnemyShield, size::kEnemyShield);
    const float r = size::kEnemyShield / 2.0f;
    draw_bubble(c, {r, r}, r - 1.0f, rgb(255, 130, 70), rgb(255, 90, 60), 0.4f, 0.0f, 7.0f);
    return {"feindschirm.png", std::move(c), Keying::AlphaWhite};
}

// Enemy rocket, pointing up (heading 0); the game turns it towards the ship.
Picture rocket() {
    Canvas c(size::kRocketW, size::kRocketH);
    using namespace sdf;
    const float axis = size::kRocketW / 2.0f;
    glow(c, {axis, 29.0f}, 5.5f, rgb(255, 160, 40), 0.95f, 1.2f);
    glow(c, {axis, 27.5f}, 2.4f, rgb(255, 250, 200), 1.0f, 1.0f);
    auto fins = mirror_x(
        polygon({{axis + 2, 17}, {axis + 5.8f, 23}, {axis + 5.8f, 27}, {axis + 2, 24.5f}}), axis);
    fill(c, fins, plate_shader(fins, {rgb(190, 40, 36), 1.2f}));
    auto body =
        unite(capsule({axis, 9}, {axis, 24}, 2.7f), taper({axis, 1.2f}, {axis, 9}, 0.5f, 2.7f));
    fill(c, body, [axis](Vec2 p) {
        // Lit as a cylinder from the left.
        const float n = clamp01((p.x - axis) / 2.8f * 0.5f + 0.5f);
        const float light = 0.45f + 0.75f * std::sin(3.14159265f * (1.0f - n) * 0.85f + 0.2f);
        Color base = p.y < 9.0f ? rgb(225, 50, 40) : rgb(150, 152, 160);
        if (p.y > 13.0f && p.y < 15.0f) base = rgb(225, 50, 40);
        return scale(base, light);
    });
    auto nozzle = box({axis, 25.5f}, 2.0f, 1.2f, 0.4f);
    fill(c, nozzle, [](Vec2) { return rgb(70, 66, 70); });
    return {"rakete.png", std::move(c), Keying::Alpha};
}

}  // namespace

std::vector<Picture> enemy_pictures() {
    std::vector<Picture> out;
    out.push_back(crab());
    out.push_back(saucer());
    out.push_back(manta());
    out.push_back(wasp());
    out.push_back(sentinel());
    out.push_back(gunship());
    out.push_back(enemy_shield());
    out.push_back(rocket());
    return out;
}

}  // namespace assetgen

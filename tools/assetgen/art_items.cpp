// SPDX-License-Identifier: GPL-3.0-or-later
// The three bonus items: round badges whose emblem says what they give. They
// are keyed on black, so edges are crisp and the badge's dark inside is never
// pure black.
#include <cmath>

#include "art.h"
#include "sdf.h"

namespace assetgen {
namespace {

constexpr Vec2 kMid{20, 20};

// Metallic rim in the item's colour around a dark, tinted face.
Canvas badge(Color tint) {
    Canvas c(size::kBonus, size::kBonus);
    using namespace sdf;
    auto face = circle(kMid, 19.5f);
    fill(c, face, [tint](Vec2 p) {
        const float d = length(p - kMid) / 19.5f;
        return mix(scale(tint, 0.42f), scale(tint, 0.14f), d);
    });
    auto rim = subtract(circle(kMid, 19.5f), circle(kMid, 16.5f));
    fill(c, rim, plate_shader(rim, {tint, 1.6f, 0.45f, 0.7f, 0.7f, 20}));
    return c;
}

Picture shield_item() {
    Canvas c = badge(rgb(70, 150, 255));
    using namespace sdf;
    auto crest = polygon({{11.5f, 10},
                          {20, 7.5f},
                          {28.5f, 10},
                          {28.5f, 20},
                          {25, 27},
                          {20, 31.5f},
                          {15, 27},
                          {11.5f, 20}});
    fill(c, crest, plate_shader(crest, {rgb(150, 205, 255), 2.5f, 0.45f, 0.7f, 0.7f, 18}));
    auto cross = unite(box({20, 18.5f}, 1.8f, 6.5f), box({20, 16.5f}, 6.0f, 1.8f));
    fill(c, cross, [](Vec2) { return rgb(250, 252, 255); });
    return {"bonus00.png", std::move(c), Keying::Black};
}

Picture gunpower_item() {
    Canvas c = badge(rgb(255, 150, 30));
    using namespace sdf;
    auto bolt = polygon({{24.5f, 5.5f},
                         {12, 22.5f},
                         {19, 22.5f},
                         {15.5f, 34.5f},
                         {28.5f, 16.5f},
                         {21.5f, 16.5f},
                         {26.5f, 5.5f}});
    fill(c, bolt, plate_shader(bolt, {rgb(255, 232, 80), 2.0f, 0.5f, 0.65f, 0.8f, 18}));
    return {"bonus01.png", std::move(c), Keying::Black};
}

Picture rocket_cover_item() {
    Canvas c = badge(rgb(60, 200, 110));
    using namespace sdf;
    // A rocket flying up to the right ...
    const Vec2 tail{13.5f, 26.5f}, nose{27.0f, 13.0f};
    auto fins = unite(capsule(tail, tail + Vec2{-1.5f, -5.0f}, 1.3f),
                      capsule(tail, tail + Vec2{5.0f, 1.5f}, 1.3f));
    fill(c, fins, plate_shader(fins, {rgb(200, 50, 45), 1.0f}));
    auto body = unite(capsule(tail, nose - Vec2{3.0f, -3.0f}, 2.8f),
                      taper(nose - Vec2{3.0f, -3.0f}, nose, 2.8f, 0.6f));
    fill(c, body, [nose](Vec2 p) {
        const bool tip = length(p - nose) < 4.8f;
        return tip ? rgb(230, 60, 50) : rgb(200, 204, 214);
    });
    // ... stopped by a prohibition sign.
    auto sign =
        unite(outline(circle(kMid, 12.0f), 1.6f), capsule({11.5f, 11.5f}, {28.5f, 28.5f}, 1.7f));
    fill(c, sign, plate_shader(sign, {rgb(240, 50, 50), 1.2f, 0.55f, 0.6f, 0.6f, 16}));
    return {"bonus02.png", std::move(c), Keying::Black};
}

}  // namespace

std::vector<Picture> item_pictures() {
    std::vector<Picture> out;
    out.push_back(shield_item());
    out.push_back(gunpower_item());
    out.push_back(rocket_cover_item());
    return out;
}

}  // namespace assetgen

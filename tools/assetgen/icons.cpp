// SPDX-License-Identifier: GPL-3.0-or-later
#include "icons.h"

#include <cstdio>

#include "art.h"
#include "png_io.h"
#include "sdf.h"

namespace assetgen {
namespace {

constexpr int kIconSizes[] = {48, 64, 128, 256};

// Stars of the patch, on the 64-pixel design grid: position and brightness.
struct Star {
    Vec2 at;
    float strength;
};
constexpr Star kStars[] = {{{14, 18}, 0.9f}, {{50, 13}, 0.7f}, {{10, 40}, 0.6f},
                           {{54, 46}, 0.8f}, {{21, 53}, 0.5f}, {{45, 27}, 0.4f}};

Canvas icon(int px) {
    Canvas c(px, px);
    const float unit = px / 64.0f;
    const Vec2 centre{px / 2.0f, px / 2.0f};
    const float radius = px / 2.0f - 0.5f * unit;

    // Deep space, lighter towards the middle, with a thin blue rim.
    auto patch = sdf::circle(centre, radius);
    fill(c, patch, [centre, radius](Vec2 p) {
        const float t = length(p - centre) / radius;
        Color sky =
            ramp({{0.0f, rgb(34, 52, 110)}, {0.7f, rgb(12, 18, 48)}, {1.0f, rgb(6, 8, 26)}}, t);
        return mix(sky, rgb(90, 170, 255), smoothstep(0.9f, 1.0f, t) * 0.6f);
    });
    for (const Star& star : kStars) {
        glow(c, star.at * unit, 1.6f * unit, rgb(220, 235, 255), star.strength, 1.4f);
    }
    // A halo that lifts the ship off the dark.
    glow(c, centre, 26.0f * unit, rgb(60, 150, 255), 0.35f, 1.2f);

    // The ship at 80 % of the patch, centred on its wings rather than its
    // nose, which sits a little lower in its own picture.
    const float shipScale = 0.8f * unit;
    draw_spaceship(c, {shipScale, {centre.x - 32.0f * shipScale, centre.y - 31.0f * shipScale}});
    return c;
}

}  // namespace

std::vector<std::string> write_icons(const std::string& dir) {
    std::vector<std::string> written;
    for (int px : kIconSizes) {
        const std::string name = "zentara_" + std::to_string(px) + ".png";
        if (!write_png(dir + "/" + name, to_alpha(icon(px), 0))) {
            std::fprintf(stderr, "assetgen: cannot write %s/%s\n", dir.c_str(), name.c_str());
            return {};
        }
        written.push_back(name);
    }
    return written;
}

}  // namespace assetgen

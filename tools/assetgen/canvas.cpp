// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas.h"

#include <algorithm>

namespace assetgen {

Color ramp(const std::vector<RampStop>& stops, float t) {
    if (t <= stops.front().at) return stops.front().color;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const float span = stops[i].at - stops[i - 1].at;
            return mix(stops[i - 1].color, stops[i].color,
                       span > 0.0f ? (t - stops[i - 1].at) / span : 1.0f);
        }
    }
    return stops.back().color;
}

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      pixels_(static_cast<size_t>(width) * height, Px{0, 0, 0, 0}) {}

void Canvas::over(int x, int y, Px src) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Px& d = at(x, y);
    const float k = 1.0f - src.a;
    d = {src.r + d.r * k, src.g + d.g * k, src.b + d.b * k, src.a + d.a * k};
}

void Canvas::blend(int x, int y, Color c, float coverage) {
    const float a = clamp01(c.a * coverage);
    over(x, y, {c.r * a, c.g * a, c.b * a, a});
}

void Canvas::add_light(int x, int y, Color c, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0.0f) return;
    Px& d = at(x, y);
    d.r = std::min(1.0f, d.r + c.r * amount);
    d.g = std::min(1.0f, d.g + c.g * amount);
    d.b = std::min(1.0f, d.b + c.b * amount);
    d.a = std::min(1.0f, d.a + amount);
    // Premultiplied colour may not exceed alpha.
    d.r = std::min(d.r, d.a);
    d.g = std::min(d.g, d.a);
    d.b = std::min(d.b, d.a);
}

void glow(Canvas& canvas, Vec2 centre, float radius, Color c, float strength, float falloff) {
    const int x0 = std::max(0, static_cast<int>(centre.x - radius) - 1);
    const int x1 = std::min(canvas.width() - 1, static_cast<int>(centre.x + radius) + 1);
    const int y0 = std::max(0, static_cast<int>(centre.y - radius) - 1);
    const int y1 = std::min(canvas.height() - 1, static_cast<int>(centre.y + radius) + 1);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = length(Vec2{x + 0.5f, y + 0.5f} - centre) / radius;
            if (d >= 1.0f) continue;
            canvas.add_light(x, y, c, strength * std::pow(1.0f - d, falloff));
        }
}

Color shade_plate(const Material& m, float distance, Vec2 outward) {
    const float depth = -distance;
    const float slope = 1.0f - smoothstep(0.0f, m.bevel, depth);
    const Vec3 n = normalize({outward.x * slope * 1.6f, outward.y * slope * 1.6f, 1.0f});
    const Vec3 light = normalize({-0.55f, -0.7f, 0.8f});
    const Vec3 half = normalize({light.x, light.y, light.z + 1.0f});
    const float diffuse = std::max(0.0f, dot(n, light));
    const float spec = std::pow(std::max(0.0f, dot(n, half)), m.shininess) * m.specular;
    const float k = m.ambient + m.diffuse * diffuse;
    return {m.base.r * k + spec, m.base.g * k + spec, m.base.b * k + spec, m.base.a};
}

namespace {

uint8_t to_byte(float v) {
    const float c = clamp01(v) * 255.0f + 0.5f;
    return static_cast<uint8_t>(c);
}

}  // namespace

Image8 to_keyed(const Canvas& canvas) {
    Image8 out{canvas.width(), canvas.height(), false, {}};
    out.data.reserve(static_cast<size_t>(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Canvas::Px& p = canvas.at(x, y);
            if (p.a < 0.5f) {
                out.data.insert(out.data.end(), {0, 0, 0});
                continue;
            }
            // Dark shape pixels stay visible: no channel may reach 0, or pure black
            // would punch a transparent hole into the shape.
            const uint8_t r = std::max<uint8_t>(1, to_byte(p.r / p.a));
            const uint8_t g = std::max<uint8_t>(1, to_byte(p.g / p.a));
            const uint8_t b = std::max<uint8_t>(1, to_byte(p.b / p.a));
            out.data.insert(out.data.end(), {r, g, b});
        }
    return out;
}

Image8 to_alpha(const Canvas& canvas, uint8_t clear) {
    Image8 out{canvas.width(), canvas.height(), true, {}};
    out.data.reserve(static_cast<size_t>(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const Canvas::Px& p = canvas.at(x, y);
            const uint8_t a = to_byte(p.a);
            if (a == 0) {
                out.data.insert(out.data.end(), {clear, clear, clear, 0});
                continue;
            }
            uint8_t r = to_byte(p.r / p.a);
            const uint8_t g = to_byte(p.g / p.a), b = to_byte(p.b / p.a);
            // A visible pixel must not carry the clear colour: a copy of the picture
            // that keys on it would lose the pixel.
            if (clear != 0 && r == clear && g == clear && b == clear) r = clear - 1;
            out.data.insert(out.data.end(), {r, g, b, a});
        }
    return out;
}

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// A floating-point RGBA canvas with premultiplied alpha, signed-distance shapes
// filled with antialiasing by supersampling, soft glows, bevel lighting, and the
// conversion to the two kinds of 8-bit picture the game loads.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Vec2 {
    float x, y;
};
inline Vec2 operator+(Vec2 a, Vec2 b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec2 operator-(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec2 operator*(Vec2 a, float s) {
    return {a.x * s, a.y * s};
}
inline float dot(Vec2 a, Vec2 b) {
    return a.x * b.x + a.y * b.y;
}
inline float length(Vec2 a) {
    return std::sqrt(dot(a, a));
}
inline Vec2 rotate(Vec2 p, float radians) {
    const float c = std::cos(radians), s = std::sin(radians);
    return {c * p.x - s * p.y, s * p.x + c * p.y};
}

struct Vec3 {
    float x, y, z;
};
inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 normalize(Vec3 v) {
    const float l = std::sqrt(dot(v, v));
    return l > 0.0f ? Vec3{v.x / l, v.y / l, v.z / l} : Vec3{0.0f, 0.0f, 1.0f};
}

inline float clamp01(float v) {
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
inline float smoothstep(float e0, float e1, float x) {
    const float t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0f - 2.0f * t);
}
inline float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

// Straight (not premultiplied) colour, channels 0..1.
struct Color {
    float r, g, b, a = 1.0f;
};
inline Color rgb(int r, int g, int b, float a = 1.0f) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
            static_cast<float>(b) / 255.0f, a};
}
inline Color mix(Color p, Color q, float t) {
    return {lerp(p.r, q.r, t), lerp(p.g, q.g, t), lerp(p.b, q.b, t), lerp(p.a, q.a, t)};
}
inline Color scale(Color c, float s) {
    return {c.r * s, c.g * s, c.b * s, c.a};
}
inline Color add(Color c, Color d, float s) {
    return {c.r + d.r * s, c.g + d.g * s, c.b + d.b * s, c.a};
}
inline Color with_alpha(Color c, float a) {
    return {c.r, c.g, c.b, a};
}

// A colour ramp: stops at increasing positions 0..1.
struct RampStop {
    float at;
    Color color;
};
Color ramp(const std::vector<RampStop>& stops, float t);

class Canvas {
  public:
    Canvas(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // Premultiplied pixel.
    struct Px {
        float r, g, b, a;
    };
    Px& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Px& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // Source-over of a premultiplied pixel.
    void over(int x, int y, Px src);
    // Source-over of a straight colour with extra coverage.
    void blend(int x, int y, Color c, float coverage);
    // Adds light: brightens colour and raises alpha, for glows and flames.
    void add_light(int x, int y, Color c, float amount);

  private:
    int width_, height_;
    std::vector<Px> pixels_;
};

// Samples per pixel side used for antialiasing.
constexpr int kSuper = 4;

// Fills the points where sdf(p) < 0 with shader(p), a straight colour; the pixel
// gets the average over kSuper x kSuper samples, so edges are smooth. Pixel (x, y)
// covers [x, x + 1) x [y, y + 1).
template <class Sdf, class Shader>
void fill(Canvas& canvas, const Sdf& sdf, const Shader& shader) {
    constexpr float step = 1.0f / kSuper;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            // Skip pixels far from the shape cheaply: the distance at the centre
            // bounds the distance anywhere in the pixel.
            const Vec2 centre{x + 0.5f, y + 0.5f};
            if (sdf(centre) > 0.75f) continue;
            Canvas::Px sum{0, 0, 0, 0};
            for (int j = 0; j < kSuper; ++j) {
                for (int i = 0; i < kSuper; ++i) {
                    const Vec2 p{x + (i + 0.5f) * step, y + (j + 0.5f) * step};
                    if (sdf(p) >= 0.0f) continue;
                    const Color c = shader(p);
                    sum.r += c.r * c.a;
                    sum.g += c.g * c.a;
                    sum.b += c.b * c.a;
                    sum.a += c.a;
                }
            }
            constexpr float n = 1.0f / (kSuper * kSuper);
            if (sum.a > 0.0f) canvas.over(x, y, {sum.r * n, sum.g * n, sum.b * n, sum.a * n});
        }
    }
}

// Paints shader(p) everywhere (for soft light without a hard edge); the shader's
// alpha is the paint's opacity.
template <class Shader>
void paint(Canvas& canvas, const Shader& shader) {
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const Color c = shader(Vec2{x + 0.5f, y + 0.5f});
            if (c.a > 0.0f) canvas.blend(x, y, c, 1.0f);
        }
}

// A round glow: light of colour c whose strength falls from `strength` at the
// centre to 0 at `radius`, shaped by `falloff` (higher = tighter core).
void glow(Canvas& canvas, Vec2 centre, float radius, Color c, float strength, float falloff);

// Outward unit gradient of a distance field by central differences.
template <class Sdf>
Vec2 gradient(const Sdf& sdf, Vec2 p) {
    constexpr float e = 0.35f;
    const Vec2 g{sdf({p.x + e, p.y}) - sdf({p.x - e, p.y}),
                 sdf({p.x, p.y + e}) - sdf({p.x, p.y - e})};
    const float l = length(g);
    return l > 1e-6f ? g * (1.0f / l) : Vec2{0.0f, 0.0f};
}

// Lighting of a raised plate: inside, within `bevel` pixels of the edge the surface
// slopes down outward. Key light from the upper left, a specular highlight.
struct Material {
    Color base;
    float bevel = 3.0f;
    float ambient = 0.35f;
    float diffuse = 0.75f;
    float specular = 0.45f;
    float shininess = 18.0f;
};
Color shade_plate(const Material& m, float distance, Vec2 outward);

template <class Sdf>
auto plate_shader(const Sdf& sdf, Material m) {
    return [sdf, m](Vec2 p) { return shade_plate(m, sdf(p), gradient(sdf, p)); };
}

// 8-bit output. Keyed pictures (loaded with black as the transparent colour) are
// RGB: every pixel at least half covered is opaque and never pure black, the rest
// is pure black. Alpha pictures are RGBA with straight alpha; fully transparent
// pixels carry `clear` as their colour.
struct Image8 {
    int width = 0, height = 0;
    bool has_alpha = false;
    std::vector<uint8_t> data;  // rows of RGB or RGBA
};
Image8 to_keyed(const Canvas& canvas);
Image8 to_alpha(const Canvas& canvas, uint8_t clear = 0);

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// Signed distance functions for the shapes of the pictures: negative inside,
// positive outside, in pixels. Each returns a callable taking a Vec2.
#pragma once

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "canvas.h"

namespace assetgen::sdf {

inline auto circle(Vec2 c, float r) {
    return [c, r](Vec2 p) { return length(p - c) - r; };
}

// Approximate ellipse distance (exact on the axes, good enough for shading).
inline auto ellipse(Vec2 c, float rx, float ry) {
    return [c, rx, ry](Vec2 p) {
        const Vec2 q{(p.x - c.x) / rx, (p.y - c.y) / ry};
        const float k = length(q);
        return (k - 1.0f) * std::min(rx, ry);
    };
}

// Box with half sizes (hx, hy) and corner radius r, turned by `angle` radians.
inline auto box(Vec2 c, float hx, float hy, float r = 0.0f, float angle = 0.0f) {
    return [=](Vec2 p) {
        const Vec2 q0 = rotate(p - c, -angle);
        const Vec2 q{std::fabs(q0.x) - hx + r, std::fabs(q0.y) - hy + r};
        const Vec2 m{std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
        return length(m) + std::min(std::max(q.x, q.y), 0.0f) - r;
    };
}

// Line segment from a to b thickened to radius r (a capsule).
inline auto capsule(Vec2 a, Vec2 b, float r) {
    return [=](Vec2 p) {
        const Vec2 pa = p - a, ba = b - a;
        const float h = std::clamp(dot(pa, ba) / dot(ba, ba), 0.0f, 1.0f);
        return length(pa - ba * h) - r;
    };
}

// Segment whose radius runs from ra at a to rb at b.
inline auto taper(Vec2 a, Vec2 b, float ra, float rb) {
    return [=](Vec2 p) {
        const Vec2 pa = p - a, ba = b - a;
        const float h = std::clamp(dot(pa, ba) / dot(ba, ba), 0.0f, 1.0f);
        return length(pa - ba * h) - (ra + (rb - ra) * h);
    };
}

// Simple polygon (any winding), exact distance.
inline auto polygon(std::vector<Vec2> v) {
    return [v = std::move(v)](Vec2 p) {
        float d = dot(p - v[0], p - v[0]);
        float s = 1.0f;
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
            const Vec2 e = v[j] - v[i], w = p - v[i];
            const Vec2 b = w - e * std::clamp(dot(w, e) / dot(e, e), 0.0f, 1.0f);
            d = std::min(d, dot(b, b));
            const bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
            if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
        }
        return s * std::sqrt(d);
    };
}

// Polygon given by its right half (x >= axis), mirrored about the vertical line x = axis.
inline std::vector<Vec2> mirrored(const std::vector<Vec2>& right, float axis) {
    std::vector<Vec2> all = right;
    for (auto it = right.rbegin(); it != right.rend(); ++it)
        if (std::fabs(it->x - axis) > 1e-4f) all.push_back({2.0f * axis - it->x, it->y});
    return all;
}

template <class A, class B>
auto unite(A a, B b) {
    return [a, b](Vec2 p) { return std::min(a(p), b(p)); };
}
template <class A, class B, class... R>
auto unite(A a, B b, R... rest) {
    return unite(unite(a, b), rest...);
}
template <class A, class B>
auto subtract(A a, B b) {
    return [a, b](Vec2 p) { return std::max(a(p), -b(p)); };
}
template <class A, class B>
auto intersect(A a, B b) {
    return [a, b](Vec2 p) { return std::max(a(p), b(p)); };
}
// The shape together with its mirror image about the vertical line x = axis.
template <class A>
auto mirror_x(A a, float axis) {
    return [a, axis](Vec2 p) { return std::min(a(p), a(Vec2{2.0f * axis - p.x, p.y})); };
}
// Shell of thickness t around the shape's outline.
template <class A>
auto outline(A a, float t) {
    return [a, t](Vec2 p) { return std::fabs(a(p)) - t; };
}

}  // namespace assetgen::sdf

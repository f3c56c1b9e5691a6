// SPDX-License-Identifier: GPL-3.0-or-later
// Bounding-rectangle collision: exclusive edges, symmetry, negative and far
// positions, empty sprites.
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

TEST(CollisionTest, RectanglesOverlapOnlyInsideTheirEdgesInEitherOrder) {
    open_screen();
    const int32_t ten = rt_sprite_create(-1, 10, 10), one = rt_sprite_create(-1, 1, 1);
    const int32_t empty_w = rt_sprite_create(-1, 0, 10), empty_h = rt_sprite_create(-1, 10, 0);
    ASSERT_NE(empty_w, 0);
    // Handles that name nothing are the boundary test's.
    // clang-format off
    const struct {
        int32_t a, ax, ay, b, bx, by, hit;
    } cases[] = {
        {ten, 0, 0, ten, 10, 0, 0}, {ten, 0, 0, ten, 9, 0, 1}, {ten, 0, 0, ten, 0, 10, 0},
        {ten, 0, 0, ten, 0, 9, 1}, {ten, 0, 0, ten, 9, 9, 1}, {ten, 0, 0, ten, -10, -10, 0},
        {ten, 3, 4, ten, 3, 4, 1},  // itself
        {ten, -5, -5, one, 4, 4, 1}, {ten, -5, -5, one, 5, 5, 0}, {ten, -5, -5, one, -5, -5, 1},
        {ten, -5, -5, one, -6, -5, 0},
        {empty_w, 5, 5, ten, 0, 0, 0}, {empty_w, 0, 0, ten, 0, 0, 0},
        {empty_w, 0, 0, empty_w, 0, 0, 0}, {empty_h, 5, 5, ten, 0, 0, 0},
        {empty_h, 0, 0, ten, 0, 0, 0}, {empty_h, 0, 0, empty_h, 0, 0, 0},
        {ten, INT32_MAX - 5, 0, ten, INT32_MIN, 0, 0},  // no wrap-around
        {ten, INT32_MAX - 5, 0, ten, INT32_MAX - 1, 0, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(rt_sprite_collide(c.a, c.ax, c.ay, c.b, c.bx, c.by), c.hit)
            << c.ax << "," << c.ay << " " << c.bx << "," << c.by;
        EXPECT_EQ(rt_sprite_collide(c.b, c.bx, c.by, c.a, c.ax, c.ay), c.hit) << "swapped " << c.bx;
    }
    for (int32_t s : {ten, one, empty_w, empty_h}) rt_sprite_free(s);
}

}  // namespace

// Bounding-rectangle collision: exclusive edges, symmetry, negative positions,
// empty sprites and handles that name nothing.
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class CollisionTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        ten = rt_sprite_create(-1, 10, 10);
        one = rt_sprite_create(-1, 1, 1);
        empty_w = rt_sprite_create(-1, 0, 10);
        empty_h = rt_sprite_create(-1, 10, 0);
        ASSERT_NE(ten, 0);
        ASSERT_NE(empty_w, 0);
    }
    void TearDown() override {
        for (int32_t s : {ten, one, empty_w, empty_h}) rt_sprite_free(s);
    }
    // Both orders must agree.
    int32_t collide(int32_t a, int32_t ax, int32_t ay, int32_t b, int32_t bx, int32_t by) {
        const int32_t forward = rt_sprite_collide(a, ax, ay, b, bx, by);
        EXPECT_EQ(forward, rt_sprite_collide(b, bx, by, a, ax, ay));
        return forward;
    }
    int32_t ten = 0, one = 0, empty_w = 0, empty_h = 0;
};

TEST_F(CollisionTest, TouchingIsNotOverlapping) {
    EXPECT_EQ(collide(ten, 0, 0, ten, 10, 0), 0);
    EXPECT_EQ(collide(ten, 0, 0, ten, 9, 0), 1);
    EXPECT_EQ(collide(ten, 0, 0, ten, 0, 10), 0);
    EXPECT_EQ(collide(ten, 0, 0, ten, 0, 9), 1);
    EXPECT_EQ(collide(ten, 0, 0, ten, 9, 9), 1);
    EXPECT_EQ(collide(ten, 0, 0, ten, -10, -10), 0);
    EXPECT_EQ(collide(ten, 3, 4, ten, 3, 4), 1);  // itself
}

TEST_F(CollisionTest, NegativePositions) {
    EXPECT_EQ(collide(ten, -5, -5, one, 4, 4), 1);
    EXPECT_EQ(collide(ten, -5, -5, one, 5, 5), 0);
    EXPECT_EQ(collide(ten, -5, -5, one, -5, -5), 1);
    EXPECT_EQ(collide(ten, -5, -5, one, -6, -5), 0);
}

TEST_F(CollisionTest, EmptySpritesCollideWithNothing) {
    for (int32_t e : {empty_w, empty_h}) {
        EXPECT_EQ(collide(e, 5, 5, ten, 0, 0), 0);
        EXPECT_EQ(collide(e, 0, 0, ten, 0, 0), 0);
        EXPECT_EQ(collide(e, 0, 0, e, 0, 0), 0);
    }
}

TEST_F(CollisionTest, UnknownHandlesGiveZero) {
    const int32_t gone = rt_sprite_create(-1, 10, 10);
    rt_sprite_free(gone);
    EXPECT_EQ(collide(gone, 0, 0, ten, 0, 0), 0);
    EXPECT_EQ(collide(0, 0, 0, ten, 0, 0), 0);
    EXPECT_EQ(collide(ten, 0, 0, 12345, 0, 0), 0);
    EXPECT_EQ(collide(-77, 0, 0, -78, 0, 0), 0);
}

TEST_F(CollisionTest, FarPositionsDoNotWrap) {
    EXPECT_EQ(collide(ten, INT32_MAX - 5, 0, ten, INT32_MIN, 0), 0);
    EXPECT_EQ(collide(ten, INT32_MAX - 5, 0, ten, INT32_MAX - 1, 0), 1);
}

}  // namespace

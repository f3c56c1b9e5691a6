// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/star_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/core/game_state.h"
#include "runtime/runtime.h"

namespace {

class StarFieldTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game.ScreenWidth = 1024;
        game.ScreenHeight = 768;
        game.StarScrollOffset = 0;
        game.StarScrollTick = 0;
    }
    // The x of the next `calls` draws in one direction.
    std::vector<int32_t> Steps(int32_t direction, int calls) {
        std::vector<int32_t> xs;
        for (int i = 0; i < calls; ++i) xs.push_back(StepStarScroll(direction));
        return xs;
    }
};

// Each way the scroll wraps after a field's width; any direction but 0 (left)
// and 1 (right) stands still. Its pace and the restart on a switch of
// direction are what the recorded replays fail on.
TEST_F(StarFieldTest, ScrollWrapsAtTheFieldsWidthAndStandsStillOtherwise) {
    const std::vector<int32_t> xs = Steps(0, 3 * 1024);
    EXPECT_EQ(*std::min_element(xs.begin(), xs.end()), -1023);
    EXPECT_EQ(game.StarScrollOffset, 0);
    Steps(1, 3 * 1023);
    EXPECT_EQ(Steps(1, 3), (std::vector<int32_t>{-1, -1, -1024}));
    game.StarScrollOffset = 5;
    EXPECT_EQ(Steps(7, 6), (std::vector<int32_t>(6, 5 - 1024)));
}

// A generator at its maximum gives the fullest field, at zero the sparsest;
// every plot, a bright star's four neighbours too, lies inside the picture.
TEST_F(StarFieldTest, GeneratorExtremesGiveTheFullestAndSparsestFields) {
    const std::vector<StarPlot> full = PlanStarField([](int32_t max) { return max; });
    ASSERT_EQ(full.size(), 1500u + 30u * 5u);
    for (const StarPlot& plot : full)
        ASSERT_TRUE(plot.X >= 0 && plot.X < 2048 && plot.Y >= 0 && plot.Y < 768);
    EXPECT_EQ(full[0].Colour, static_cast<uint32_t>(rt_rgb(255, 215, 50)));
    EXPECT_EQ(std::pair(full[1504].X, full[1504].Y), std::pair(2044, 765));
    const std::vector<StarPlot> sparse = PlanStarField([](int32_t) { return 0; });
    ASSERT_EQ(sparse.size(), 500u + 10u * 5u);
    EXPECT_EQ(sparse[0].Colour, static_cast<uint32_t>(rt_rgb(180, 165, 0)));
}

}  // namespace

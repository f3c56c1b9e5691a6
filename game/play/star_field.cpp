// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/star_field.h"

#include "game/core/game_state.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/screen/rt_screen.h"

namespace {

// Stars are warm: red 180 .. 255, green 165 .. 215, blue 0 .. 50. The three
// components are drawn in this order for every star.
uint32_t StarColour(RandomSource random) {
    const int32_t r = random(75);
    const int32_t g = random(50);
    const int32_t b = random(50);
    return static_cast<uint32_t>(rt_rgb(180 + r, 165 + g, b));
}

}  // namespace

std::vector<StarPlot> PlanStarField(RandomSource random) {
    // The margins keep every plotted pixel, bright stars' arms included,
    // inside the picture.
    const int32_t w = 2 * game.ScreenWidth - 6;
    const int32_t h = game.ScreenHeight - 6;
    const int32_t count = random(1000) + 500;

    std::vector<StarPlot> plots;
    plots.reserve(count + count / 50 * 5);
    for (int32_t i = 0; i < count; ++i) {
        const int32_t x = random(w);
        const int32_t y = random(h);
        plots.push_back({x, y, StarColour(random)});
    }
    for (int32_t i = 0; i < count / 50; ++i) {
        const int32_t x = random(w) + 3;
        const int32_t y = random(h) + 3;
        const uint32_t colour = StarColour(random);
        plots.push_back({x, y, colour});
        plots.push_back({x, y + 1, colour});
        plots.push_back({x, y - 1, colour});
        plots.push_back({x + 1, y - 1, colour});
        plots.push_back({x - 1, y, colour});
    }
    return plots;
}

int32_t MakeStarFieldWith(RandomSource random) {
    const int32_t field = rt_sprite_create(-1, 2 * game.ScreenWidth, game.ScreenHeight);
    const std::vector<StarPlot> plots = PlanStarField(random);
    rt_draw_start(rt_sprite_output(field));
    for (const StarPlot& plot : plots) rt_draw_plot(plot.X, plot.Y, plot.Colour);
    rt_draw_stop();
    return field;
}

int32_t MakeStarField() {
    return MakeStarFieldWith(rt_random);
}

int32_t StepStarScroll(int32_t direction) {
    game.StarScrollTick += 1;
    if (game.StarScrollTick == 3) {
        game.StarScrollTick = 0;
        if (direction == 0) {
            game.StarScrollOffset -= 1;
            if (game.StarScrollOffset > 0) game.StarScrollOffset = 0;
            if (game.StarScrollOffset == -game.ScreenWidth) game.StarScrollOffset = 0;
        } else if (direction == 1) {
            if (game.StarScrollOffset < 0) game.StarScrollOffset = 0;
            game.StarScrollOffset += 1;
            if (game.StarScrollOffset == game.ScreenWidth) game.StarScrollOffset = 0;
        }
    }
    return direction == 0 ? game.StarScrollOffset : game.StarScrollOffset - game.ScreenWidth;
}

int32_t ScrollStarField(int32_t starField, int32_t direction) {
    rt_sprite_draw(starField, StepStarScroll(direction), 0);
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The scrolling star-field background.
#pragma once
#include <cstdint>
#include <vector>

// Draws a random integer from 0 to max inclusive (rt_random's contract).
using RandomSource = int32_t (*)(int32_t max);

struct StarPlot {
    int32_t X, Y;
    uint32_t Colour;  // 0x00BBGGRR
};

// Every pixel a new star field plots, in drawing order: 500 to 1500 faint stars,
// then count / 50 bright stars of five pixels each.
std::vector<StarPlot> PlanStarField(RandomSource random);

// A new 2 x ScreenWidth by ScreenHeight star field (the caller owns it).
int32_t MakeStarField();
int32_t MakeStarFieldWith(RandomSource random);

// Advances the program-wide scroll state (one pixel every third call) and
// answers the x at which the field is drawn. Direction 0 moves the stars left,
// 1 right; any other value never moves them.
int32_t StepStarScroll(int32_t direction);

// StepStarScroll, then draws the field opaque into the back buffer. Returns 0.
int32_t ScrollStarField(int32_t starField, int32_t direction);

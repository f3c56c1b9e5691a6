// SPDX-License-Identifier: GPL-3.0-or-later
// Planets drifting behind the action and the moons that swing around them.
#pragma once
#include <cstdint>

#include "game/core/records.h"

// One frame of a planet's motion: re-entry from the left when it waits
// (StepX 0), a move and a turn every second frame, and the exit test.
void StepPlanet(Planet* planet);

// One frame of a moon's swing (it moves every Period frames): it passes in
// front of its planet going right and behind it going left.
void StepMoon(Moon* moon);

// Moves and draws every planet with its moons (frame step 4).
void MovePlanets();

// Moves `moon` and draws it next to `planet`, the planet whose Index is the
// moon's PlanetIndex.
void MoveMoon(Moon* moon, const Planet* planet);

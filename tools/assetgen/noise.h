// SPDX-License-Identifier: GPL-3.0-or-later
// Value noise and fractal sums of it, used for surfaces, fire and clouds.
#pragma once

#include <cstdint>

namespace assetgen {

// Smooth value noise in [0, 1] on the integer lattice, trilinear with a quintic fade.
float value_noise(float x, float y, float z, uint32_t seed);

// Sum of `octaves` noise layers, each twice the frequency and half the weight of
// the one before; normalised to [0, 1].
float fbm(float x, float y, float z, uint32_t seed, int octaves);

// |noise - 0.5| folded into sharp ridges, for cracks, canyons and lightning.
float ridged(float x, float y, float z, uint32_t seed, int octaves);

}  // namespace assetgen

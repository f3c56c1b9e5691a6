// SPDX-License-Identifier: GPL-3.0-or-later
// Building blocks for the sound effects: oscillators, noise, filters, envelopes
// and the finishing pass (DC removal, fades, peak normalisation).
#pragma once

#include <cstdint>
#include <vector>

#include "rng.h"

namespace assetgen::synth {

constexpr int kRate = 22050;
constexpr float kPi = 3.14159265358979f;

inline int samples_for(float seconds) {
    return static_cast<int>(seconds * kRate + 0.5f);
}
inline float time_of(int i) {
    return static_cast<float>(i) / kRate;
}

// Phase accumulator: frequency may change every sample.
class Phase {
  public:
    // Advances by one sample at `hz` and returns the phase in [0, 1).
    float step(float hz);

  private:
    double phase_ = 0.0;
};

float sine(float phase);
float triangle(float phase);
// Square and saw softened at their jumps to keep aliasing low.
float square(float phase, float duty = 0.5f);
float saw(float phase);

// Resonant state-variable filter (Chamberlin), cutoff in Hz per sample.
class Filter {
  public:
    explicit Filter(float q = 0.7f) : damping_(1.0f / q) {}
    struct Out {
        float low, band, high;
    };
    Out step(float in, float cutoff_hz);

  private:
    float damping_;
    float low_ = 0.0f, band_ = 0.0f;
};

// One-pole low-pass, for smoothing noise into rumble.
class Smooth {
  public:
    float step(float in, float cutoff_hz);

  private:
    float y_ = 0.0f;
};

// Exponential decay from 1 with the given time constant.
float decay(float t, float seconds);
// Attack-decay: linear rise over `attack`, then exponential fall.
float attack_decay(float t, float attack, float seconds);

// Soft saturation: scales to a peak of 1, then bends the peaks with tanh so the
// body of a blast sounds louder at the same peak level.
void saturate(std::vector<float>& samples, float drive);

// Removes DC, fades in over fade_in seconds and out over fade_out seconds (raised
// cosine, so the first and last samples are exactly 0) and scales the peak to
// `peak_dbfs`.
void finish(std::vector<float>& samples, float fade_in, float fade_out, float peak_dbfs = -1.0f);

}  // namespace assetgen::synth

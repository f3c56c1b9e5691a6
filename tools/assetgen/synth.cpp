// SPDX-License-Identifier: GPL-3.0-or-later
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace assetgen::synth {

float Phase::step(float hz) {
    phase_ += static_cast<double>(hz) / kRate;
    phase_ -= std::floor(phase_);
    return static_cast<float>(phase_);
}

float sine(float phase) {
    return std::sin(2.0f * kPi * phase);
}

float triangle(float phase) {
    return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
}

float square(float phase, float duty) {
    // A steep tanh edge instead of a jump.
    const float s = std::sin(2.0f * kPi * (phase - duty * 0.5f + 0.25f));
    const float offset = std::cos(kPi * duty);
    return std::tanh(6.0f * (s - offset + 0.0f)) * 0.9f;
}

float saw(float phase) {
    // Sum of the first harmonics: bright enough, no harsh aliasing.
    float s = 0.0f;
    for (int k = 1; k <= 8; ++k) s += std::sin(2.0f * kPi * phase * k) / static_cast<float>(k);
    return s * 0.55f;
}

Filter::Out Filter::step(float in, float cutoff_hz) {
    // Run twice per sample: the Chamberlin filter is only stable well below a
    // sixth of its own rate, and the guard keeps it so at any cutoff.
    const float limit = 0.95f * (2.0f - damping_);
    const float f =
        std::min(limit, 2.0f * std::sin(kPi * std::min(cutoff_hz, kRate * 0.45f) / (2.0f * kRate)));
    float high = 0.0f;
    for (int pass = 0; pass < 2; ++pass) {
        low_ += f * band_;
        high = in - low_ - damping_ * band_;
        band_ += f * high;
    }
    return {low_, band_, high};
}

float Smooth::step(float in, float cutoff_hz) {
    const float a = 1.0f - std::exp(-2.0f * kPi * cutoff_hz / kRate);
    y_ += a * (in - y_);
    return y_;
}

float decay(float t, float seconds) {
    return std::exp(-t / seconds);
}

float attack_decay(float t, float attack, float seconds) {
    return t < attack ? t / attack : std::exp(-(t - attack) / seconds);
}

void saturate(std::vector<float>& samples, float drive) {
    float peak = 0.0f;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    if (peak <= 0.0f) return;
    for (float& s : samples) s = std::tanh(drive * s / peak);
}

void finish(std::vector<float>& samples, float fade_in, float fade_out, float peak_dbfs) {
    if (samples.empty()) return;
    // DC blocker.
    float prev_in = 0.0f, prev_out = 0.0f;
    for (float& s : samples) {
        const float out = s - prev_in + 0.995f * prev_out;
        prev_in = s;
        prev_out = out;
        s = out;
    }
    const int n = static_cast<int>(samples.size());
    const int in_len = std::max(1, samples_for(fade_in));
    const int out_len = std::max(1, samples_for(fade_out));
    for (int i = 0; i < n; ++i) {
        float g = 1.0f;
        if (i < in_len) g *= 0.5f - 0.5f * std::cos(kPi * static_cast<float>(i) / in_len);
        const int from_end = n - 1 - i;
        if (from_end < out_len)
            g *= 0.5f - 0.5f * std::cos(kPi * static_cast<float>(from_end) / out_len);
        samples[static_cast<size_t>(i)] *= g;
    }
    float peak = 0.0f;
    for (float s : samples) peak = std::max(peak, std::fabs(s));
    if (peak <= 0.0f) return;
    const float target = std::pow(10.0f, peak_dbfs / 20.0f);
    for (float& s : samples) s *= target / peak;
}

}  // namespace assetgen::synth

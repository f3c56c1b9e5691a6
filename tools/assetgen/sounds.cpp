// SPDX-License-Identifier: GPL-3.0-or-later
#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "rng.h"
#include "synth.h"

namespace assetgen {
namespace {

using namespace synth;

// A short laser "pew": a bright square falling fast in pitch.
std::vector<float> shot() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.16f)));
    Phase a, b;
    Filter lp(0.9f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float f = 1400.0f * std::exp(-t / 0.045f) + 360.0f;
        const float tone = square(a.step(f), 0.35f) * 0.6f + saw(b.step(f * 1.503f)) * 0.3f;
        const float cutoff = 6500.0f * std::exp(-t / 0.06f) + 700.0f;
        s[i] = lp.step(tone, cutoff).low * attack_decay(t, 0.002f, 0.05f);
    }
    finish(s, 0.002f, 0.02f);
    return s;
}

// Rocket launch: an ignition click, then a rising hiss over a low roar.
std::vector<float> rocket_launch() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.6f)));
    Rng rng(501);
    Filter bp(2.5f);
    Smooth rumble_lp;
    Phase roar;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float noise = rng.signed_unit();
        const float sweep = 500.0f + 2600.0f * (1.0f - std::exp(-t / 0.18f));
        const float hiss = bp.step(noise, sweep).band * attack_decay(t, 0.05f, 0.22f);
        const float rumble = rumble_lp.step(noise, 180.0f) * 3.0f * attack_decay(t, 0.03f, 0.25f);
        const float tone =
            sine(roar.step(70.0f + 90.0f * t)) * 0.35f * attack_decay(t, 0.02f, 0.2f);
        const float click = t < 0.012f ? noise * (1.0f - t / 0.012f) * 0.8f : 0.0f;
        s[i] = hiss * 1.4f + rumble + tone + click;
    }
    finish(s, 0.002f, 0.06f);
    return s;
}

// Enemy ship breaking up: a deep thump, a rolling noise blast, crackling debris.
std::vector<float> enemy_explosion() {
    std::vector<float> s(static_cast<size_t>(samples_for(1.0f)));
    Rng rng(601);
    Filter lp(0.8f);
    Phase thump;
    Smooth crackle_edge;
    float crackle = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float noise = rng.signed_unit();
        const float cutoff = 3200.0f * std::exp(-t / 0.14f) + 160.0f;
        const float blast = lp.step(noise, cutoff).low * attack_decay(t, 0.004f, 0.3f);
        const float low =
            sine(thump.step(95.0f * std::exp(-t / 0.18f) + 38.0f)) * attack_decay(t, 0.003f, 0.2f);
        if (rng.uniform() < 0.004f * std::exp(-t / 0.35f)) crackle = rng.signed_unit();
        crackle *= 0.93f;
        // A crackle starts at once, but its edge is rounded off: a bare jump
        // of the waveform sounds as a click on every speaker.
        s[i] = blast * 1.3f + low * 0.8f + crackle_edge.step(crackle, 350.0f) * 0.5f;
    }
    saturate(s, 2.2f);
    finish(s, 0.002f, 0.12f);
    return s;
}

// A rocket hitting the ship: a sharp, bright blast and the hull ringing.
std::vector<float> rocket_explosion() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.7f)));
    Rng rng(701);
    Filter lp(0.9f);
    Phase r1, r2, r3, thump;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float noise = rng.signed_unit();
        const float blast = lp.step(noise, 7000.0f * std::exp(-t / 0.07f) + 300.0f).low *
                            attack_decay(t, 0.002f, 0.14f);
        const float ring =
            (sine(r1.step(423.0f)) + 0.7f * sine(r2.step(617.0f)) + 0.5f * sine(r3.step(891.0f))) *
            attack_decay(t, 0.004f, 0.22f) * 0.35f;
        const float low =
            sine(thump.step(70.0f * std::exp(-t / 0.1f) + 45.0f)) * attack_decay(t, 0.002f, 0.12f);
        s[i] = blast * 1.2f + ring + low * 0.7f;
    }
    saturate(s, 2.2f);
    finish(s, 0.002f, 0.1f);
    return s;
}

// Ramming: a metallic clang with an electric buzz of shields grinding.
std::vector<float> collision() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.4f)));
    Rng rng(801);
    Filter bp(3.0f);
    Phase carrier, modulator, buzz;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float index = 4.0f * std::exp(-t / 0.08f);
        const float m = sine(modulator.step(437.0f)) * index;
        const float clang =
            std::sin(2.0f * kPi * carrier.step(310.0f) + m) * attack_decay(t, 0.001f, 0.12f);
        const float gate = square(buzz.step(60.0f), 0.5f) * 0.5f + 0.5f;
        const float zap =
            bp.step(rng.signed_unit(), 2200.0f).band * gate * attack_decay(t, 0.002f, 0.09f);
        s[i] = clang * 0.8f + zap * 1.6f;
    }
    saturate(s, 2.2f);
    finish(s, 0.002f, 0.06f);
    return s;
}

// Shield 100%: a bright rising major arpeggio with a shimmer.
std::vector<float> bonus_shield() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.75f)));
    const float notes[] = {523.25f, 659.25f, 783.99f, 1046.5f};
    Phase ph[4], trem;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        float v = 0.0f;
        for (int k = 0; k < 4; ++k) {
            const float start = 0.08f * k;
            const float local = t - start;
            const float p = ph[k].step(notes[k]);
            if (local < 0.0f) continue;
            v += (sine(p) * 0.7f + triangle(p) * 0.3f) * attack_decay(local, 0.006f, 0.22f);
        }
        s[i] = v * (0.8f + 0.2f * sine(trem.step(14.0f)));
    }
    finish(s, 0.003f, 0.08f);
    return s;
}

// Extra gunpower: a square wave climbing in semitone steps, aggressive.
std::vector<float> bonus_gunpower() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.55f)));
    Phase a, b;
    Filter lp(1.2f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float semis = std::floor(t / 0.03f);
        const float f = 196.0f * std::pow(2.0f, semis / 12.0f);
        const float tone =
            square(a.step(f), 0.25f) * 0.6f + square(b.step(f * 2.004f), 0.5f) * 0.3f;
        s[i] = lp.step(tone, 1800.0f + 5000.0f * t).low * attack_decay(t, 0.004f, 0.35f);
    }
    finish(s, 0.003f, 0.06f);
    return s;
}

// Extra rocket cover: a force field humming up through a sweeping filter, then a
// clear ping as it locks.
std::vector<float> bonus_rocket_cover() {
    std::vector<float> s(static_cast<size_t>(samples_for(0.75f)));
    Phase h1, h2, ping, lfo;
    Filter lp(4.0f);
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = time_of(static_cast<int>(i));
        const float wob = sine(lfo.step(9.0f));
        const float hum =
            saw(h1.step(110.0f + 6.0f * wob)) * 0.5f + saw(h2.step(110.7f * 1.5f)) * 0.35f;
        const float cutoff = 300.0f + 2800.0f * std::sin(kPi * std::min(t / 0.6f, 1.0f));
        const float field = lp.step(hum, cutoff).low * attack_decay(t, 0.05f, 0.3f);
        const float local = t - 0.28f;
        // The ping swells in over 12 ms: a faster onset of so high a tone is
        // heard as a click.
        const float bell =
            local >= 0.0f ? sine(ping.step(1318.5f)) * attack_decay(local, 0.012f, 0.15f) : 0.0f;
        if (local < 0.0f) ping.step(1318.5f);
        s[i] = field * 1.2f + bell * 0.5f;
    }
    finish(s, 0.004f, 0.08f);
    return s;
}

}  // namespace

std::vector<SoundEffect> sound_effects() {
    return {
        {"kugel.wav", shot()},
        {"rakete.wav", rocket_launch()},
        {"feindexplosion.wav", enemy_explosion()},
        {"raketeexplosion.wav", rocket_explosion()},
        {"kollision.wav", collision()},
        {"bonus00.wav", bonus_shield()},
        {"bonus01.wav", bonus_gunpower()},
        {"bonus02.wav", bonus_rocket_cover()},
    };
}

}  // namespace assetgen

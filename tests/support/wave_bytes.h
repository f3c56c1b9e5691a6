// SPDX-License-Identifier: GPL-3.0-or-later
// RIFF/WAVE images built chunk by chunk (a chunk: 4-character id, size,
// body, pad byte when odd), and the power of a tone in rendered samples.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace wavetest {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

inline void put32(Bytes& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v));
    put16(out, static_cast<uint16_t>(v >> 16));
}

inline Bytes chunk(const std::string& id, const Bytes& body) {
    Bytes out(id.begin(), id.end());
    put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
    return out;
}

inline Bytes format_body(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    const uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    Bytes out;
    put16(out, tag);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * block);
    put16(out, block);
    put16(out, bits);
    return out;
}

inline Bytes riff(std::initializer_list<Bytes> chunks) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out{'R', 'I', 'F', 'F'};
    put32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline Bytes sine16(double hz, double seconds, uint32_t rate, uint16_t channels, double amplitude) {
    Bytes out;
    const auto frames = static_cast<size_t>(seconds * rate);
    for (size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * hz * static_cast<double>(i) / rate;
        const auto v = static_cast<int16_t>(std::lround(amplitude * 32767.0 * std::sin(phase)));
        for (uint16_t c = 0; c < channels; ++c) put16(out, static_cast<uint16_t>(v));
    }
    return out;
}

inline Bytes tone_file(std::initializer_list<double> hz, double seconds, uint32_t rate,
                       double amplitude) {
    Bytes samples;
    for (double f : hz) {
        Bytes part = sine16(f, seconds, rate, 1, amplitude);
        samples.insert(samples.end(), part.begin(), part.end());
    }
    return riff({chunk("fmt ", format_body(1, 1, rate, 16)), chunk("data", samples)});
}

// A heap block of exactly the image's size, so ASan reports any over-read.
inline std::unique_ptr<uint8_t[]> exact_copy(const Bytes& image) {
    auto block = std::make_unique<uint8_t[]>(image.size());
    if (!image.empty()) std::memcpy(block.get(), image.data(), image.size());
    return block;
}

// Goertzel power of one frequency; a sine of amplitude a gives about a^2 / 4.
inline double tone_power(const float* samples, size_t count, double hz, double rate) {
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * hz / rate);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double s0 = samples[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return power / (static_cast<double>(count) * count);
}

}  // namespace wavetest

// SPDX-License-Identifier: GPL-3.0-or-later
// What actually reaches the output: OpenAL Soft writes its mix to a wave file
// (configured before the device opens), which is then measured tone by tone.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <span>
#include <thread>

#include "runtime/sound/rt_sound.h"
#include "runtime/sound/sound_library.h"
#include "runtime/sound/wave_format.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wave_bytes.h"

using namespace wavetest;
using namespace std::chrono_literals;

namespace {

constexpr double kRate = 44100.0;
constexpr double kToneA = 440.0, kToneB = 1250.0, kToneHigh = 880.0, kAbsent = 3100.0;

// The left channel of the rendered 16-bit output, as floats in -1..1.
std::vector<float> read_output(const std::string& path) {
    const std::string file = zentara_test::read_file(path);
    const auto wave = rt::sound::parse_wave(
        std::span(reinterpret_cast<const uint8_t*>(file.data()), file.size()));
    std::vector<float> left;
    for (size_t at = 0; wave && at + 4 <= wave->samples.size(); at += 4) {
        const uint8_t* p = wave->samples.data() + at;
        left.push_back(static_cast<int16_t>(p[0] | p[1] << 8) / 32768.0f);
    }
    return left;
}

struct Burst {
    size_t begin, end;  // sample indices
};

// Stretches of sound separated by at least 100 ms of silence.
std::vector<Burst> find_bursts(const std::vector<float>& samples) {
    const size_t block = 441;
    std::vector<Burst> bursts;
    size_t quiet_blocks = 1000;
    for (size_t at = 0; at + block <= samples.size(); at += block) {
        float peak = 0.0f;
        for (size_t i = at; i < at + block; ++i) peak = std::max(peak, std::fabs(samples[i]));
        if (peak > 0.003f) {
            if (quiet_blocks >= 10) bursts.push_back({at, at + block});
            bursts.back().end = at + block;
            quiet_blocks = 0;
        } else {
            ++quiet_blocks;
        }
    }
    return bursts;
}

// Tone power over the middle part of a burst, away from its edges.
double middle_power(const std::vector<float>& s, const Burst& burst, double hz) {
    const size_t margin = (burst.end - burst.begin) / 4;
    return tone_power(s.data() + burst.begin + margin, burst.end - burst.begin - 2 * margin, hz,
                      kRate);
}

double decibels(double power_ratio) {
    return 10.0 * std::log10(power_ratio);
}

class WaveOutput : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_.write("alsoft.conf",
                   "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\n"
                   "frequency=44100\n[wave]\nfile=" +
                       output_ + "\n");
        ::setenv("ALSOFT_CONF", (dir_ / "alsoft.conf").c_str(), 1);
        // The environment's driver list would win over the file's.
        ::setenv("ALSOFT_DRIVERS", "wave", 1);
    }

    static int32_t load(const Bytes& image) {
        return rt_sound_load_memory(-1, image.data(), static_cast<int32_t>(image.size()));
    }

    zentara_test::TempDir dir_;
    std::string output_ = dir_ / "mix.wav";
};

}  // namespace

TEST_F(WaveOutput, VolumeAttenuatesMixingCombinesAndReplayRestarts) {
    ASSERT_NE(rt_sound_init(), 0);
    ASSERT_TRUE(rt::sound::service_audible());
    const int32_t a = load(tone_file({kToneA}, 0.5, 22050, 0.4));
    const int32_t b = load(tone_file({kToneB}, 0.5, 22050, 0.4));
    // 0.3 s low, then 0.3 s high: a replay in the high part must cut it off.
    const int32_t sweep = load(tone_file({kToneA, kToneHigh}, 0.3, 22050, 0.4));
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    ASSERT_NE(sweep, 0);

    std::this_thread::sleep_for(200ms);
    rt_sound_play(a);
    std::this_thread::sleep_for(800ms);
    rt_sound_volume(a, 50);
    rt_sound_play(a);
    std::this_thread::sleep_for(800ms);
    rt_sound_volume(a, 100);
    rt_sound_play(a);
    rt_sound_play(b);
    std::this_thread::sleep_for(800ms);
    rt_sound_play(sweep);
    std::this_thread::sleep_for(420ms);
    rt_sound_play(sweep);
    std::this_thread::sleep_for(900ms);
    rt_sound_end();  // closes the device, which completes the file

    const std::vector<float> out = read_output(output_);
    const auto bursts = find_bursts(out);
    ASSERT_EQ(bursts.size(), 4u) << out.size() << " samples written";

    const double full = middle_power(out, bursts[0], kToneA);
    const double half = middle_power(out, bursts[1], kToneA);
    ASSERT_GT(full, 1e-4);
    EXPECT_NEAR(decibels(half / full), -6.03, 0.3);

    // Two sounds started together are both in the mix, each at its own level.
    EXPECT_NEAR(decibels(middle_power(out, bursts[2], kToneA) / full), 0.0, 1.0);
    EXPECT_NEAR(decibels(middle_power(out, bursts[2], kToneB) / full), 0.0, 1.0);
    EXPECT_LT(middle_power(out, bursts[2], kAbsent), full * 1e-3);

    // The replayed sweep: low, high, low again, high. A second voice would
    // sound low and high together for as long as the two overlap; a window
    // that straddles a change of tone holds both only briefly.
    const Burst& replay = bursts[3];
    const size_t window = 882;  // 20 ms
    std::string sequence;
    int both_run = 0, longest_both_run = 0;
    for (size_t at = replay.begin + window; at + 2 * window <= replay.end; at += window) {
        const double low = tone_power(out.data() + at, window, kToneA, kRate);
        const double high = tone_power(out.data() + at, window, kToneHigh, kRate);
        both_run = low > full * 0.1 && high > full * 0.1 ? both_run + 1 : 0;
        longest_both_run = std::max(longest_both_run, both_run);
        const char now = low > high ? 'L' : 'H';
        if (sequence.empty() || sequence.back() != now) sequence += now;
    }
    EXPECT_LT(longest_both_run, 3);
    EXPECT_EQ(sequence, "LHLH");
}

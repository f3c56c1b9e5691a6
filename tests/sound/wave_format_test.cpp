// SPDX-License-Identifier: GPL-3.0-or-later
// The RIFF walk and the format check, on images built here. Refused images are
// handed over in blocks of their exact size so that AddressSanitizer catches
// any read past the end.
#include "runtime/sound/wave_format.h"

#include <gtest/gtest.h>

#include <span>

#include "runtime/sound/volume_table.h"
#include "tests/support/wave_bytes.h"

using namespace wavetest;
using rt::sound::parse_wave;
using rt::sound::pcm_layout;

namespace {

const Bytes kSamples{1, 2, 3, 4, 5, 6, 7, 8};

std::optional<rt::sound::WaveImage> parse_exact(const Bytes& image,
                                                std::unique_ptr<uint8_t[]>& keep) {
    keep = exact_copy(image);
    return parse_wave(std::span<const uint8_t>(keep.get(), image.size()));
}

Bytes pcm16_mono() {
    return format_body(1, 1, 8000, 16);
}

}  // namespace

// Chunks before the data are skipped with their pad bytes, an odd-sized
// format chunk is taken with its pad, and a data chunk claiming more than the
// image holds keeps what is there.
TEST(WaveFormat, AcceptedImagesGiveTheirSamples) {
    Bytes odd_format = pcm16_mono();
    odd_format.push_back(0);
    Bytes long_data = riff({chunk("fmt ", pcm16_mono()), chunk("data", kSamples)});
    long_data[long_data.size() - kSamples.size() - 4] = 0xFF;
    const Bytes cases[] = {
        riff({chunk("fmt ", pcm16_mono()), chunk("LIST", Bytes(10, 'x')),
              chunk("odd ", Bytes(5, 'y')), chunk("data", kSamples)}),
        riff({chunk("fmt ", odd_format), chunk("data", kSamples)}),
        long_data,
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::unique_ptr<uint8_t[]> keep;
        const auto wave = parse_exact(cases[i], keep);
        ASSERT_TRUE(wave) << i;
        EXPECT_EQ(Bytes(wave->samples.begin(), wave->samples.end()), kSamples) << i;
        EXPECT_EQ(wave->format.samples_per_second, 8000u) << i;
        EXPECT_EQ(wave->format.bits_per_sample, 16) << i;
    }
}

TEST(WaveFormat, RefusesMalformedImagesWithoutReadingPastTheEnd) {
    const Bytes good = riff({chunk("fmt ", pcm16_mono()), chunk("data", kSamples)});
    Bytes not_riff = good;
    not_riff[0] = 'X';
    const Bytes cases[] = {
        not_riff,
        riff({chunk("LIST", Bytes(4, 'x')), chunk("fmt ", pcm16_mono()), chunk("data", kSamples)}),
        riff({chunk("fmt ", pcm16_mono())}),
        riff({chunk("fmt ", pcm16_mono()), chunk("LIST", Bytes(3, 'x'))}),
        // cut inside the header of the chunk after "fmt "
        Bytes(good.begin(), good.begin() + 20 + 16 + 5),
        // cut inside the "fmt " body
        Bytes(good.begin(), good.begin() + 30),
        // a format chunk too short to hold the format
        riff({chunk("fmt ", Bytes(12, 0)), chunk("data", kSamples)}),
        // a chunk size that runs far past the end
        riff({chunk("fmt ", pcm16_mono()), Bytes{'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0xFF}}),
        Bytes{'R', 'I', 'F', 'F'},
        Bytes{},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        std::unique_ptr<uint8_t[]> keep;
        EXPECT_FALSE(parse_exact(cases[i], keep)) << "case " << i;
    }
}

TEST(WaveFormat, AcceptsOnlyPlayablePcmLayouts) {
    const auto layout = [](const Bytes& format) {
        std::unique_ptr<uint8_t[]> keep;
        const auto wave = parse_exact(riff({chunk("fmt ", format), chunk("data", kSamples)}), keep);
        return wave ? pcm_layout(wave->format) : std::nullopt;
    };
    const auto plain = [&](uint16_t tag, uint16_t channels, uint16_t bits) {
        return layout(format_body(tag, channels, 22050, bits));
    };
    // The accepted layouts load and play in the library's tests. Refused:
    // 24- and 32-bit integers, ADPCM, three or no channels, 16-bit float
    const uint16_t refused[][3] = {{1, 1, 24}, {1, 1, 32}, {2, 1, 4},
                                   {1, 3, 16}, {1, 0, 16}, {3, 1, 16}};
    for (const auto& r : refused) EXPECT_FALSE(plain(r[0], r[1], r[2])) << r[0] << r[1] << r[2];
    EXPECT_FALSE(pcm_layout({1, 2, 22050, 2, 16, std::nullopt}));  // block size disagrees
    EXPECT_FALSE(pcm_layout({1, 1, 0, 2, 16, std::nullopt}));      // no rate

    // Extensible formats play by their sub-format (PCM yes, ADPCM no).
    const auto extensible = [&](uint8_t sub_tag) {
        Bytes body = format_body(0xFFFE, 2, 44100, 16);
        const uint8_t tail[] = {22, 0, 16,   0, 3,    0, 0, 0,    sub_tag, 0,    0,    0,
                                0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0,       0x38, 0x9B, 0x71};
        body.insert(body.end(), std::begin(tail), std::end(tail));
        return layout(body);
    };
    ASSERT_TRUE(extensible(1));
    EXPECT_EQ(extensible(1)->channels, 2);
    EXPECT_FALSE(extensible(2));
}

TEST(VolumeScale, FollowsTheAmplitudePercentageAndClamps) {
    const rt::sound::VolumeTable table;
    const int32_t cases[][2] = {{100, 0},    {50, -603}, {1, -4000},
                                {0, -10000}, {150, 0},   {-5, -10000}};
    for (const auto& c : cases) EXPECT_EQ(table.attenuation(c[0]), c[1]) << c[0];
    for (int v = 1; v <= 100; ++v) EXPECT_GT(table.attenuation(v), table.attenuation(v - 1));
    EXPECT_EQ(rt::sound::gain_from_hundredths(-10000), 0.0f);
}

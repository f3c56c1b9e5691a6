// SPDX-License-Identifier: GPL-3.0-or-later
// The sound library on a running service (ctest runs it on OpenAL Soft's null
// output, which mixes in real time without being heard).
#include <gtest/gtest.h>
#include <stdlib.h>

#include "runtime/sound/rt_sound.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wave_bytes.h"

using namespace wavetest;

namespace {

class SoundLibrary : public ::testing::Test {
  protected:
    void SetUp() override {
        // OpenAL Soft's null output unless the run names another; read once,
        // when the first device opens.
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        ASSERT_NE(rt_sound_init(), 0);
    }

    static int32_t load(int32_t id, const Bytes& image) {
        const auto block = exact_copy(image);
        return rt_sound_load_memory(id, block.get(), static_cast<int32_t>(image.size()));
    }
};

Bytes stereo16_file() {
    return riff({chunk("fmt ", format_body(1, 2, 22050, 16)),
                 chunk("data", sine16(440, 0.2, 22050, 2, 0.5))});
}

// A short 8-bit file: silence, as only loading and playing matter here.
Bytes mono8_file() {
    return riff({chunk("fmt ", format_body(1, 1, 11025, 8)), chunk("data", Bytes(2205, 0x80))});
}

}  // namespace

TEST_F(SoundLibrary, PcmFilesLoadAndPlayAtTheirOwnRates) {
    const int32_t stereo = load(-1, stereo16_file());
    const int32_t mono = load(-1, mono8_file());
    ASSERT_TRUE(stereo != 0 && mono != 0 && stereo != mono);
    EXPECT_EQ(std::pair(rt_sound_frequency(stereo), rt_sound_frequency(mono)),
              std::pair(22050, 11025));
    EXPECT_EQ(std::pair(rt_sound_pan(stereo), rt_sound_volume_get(stereo)), std::pair(0, 0));
    EXPECT_EQ(std::pair(rt_sound_play(stereo), rt_sound_play(mono)), std::pair(1, 1));

    // A float file plays too; a trailing partial frame is dropped.
    const Bytes floats(4 * 2 * 100 + 3, 0);
    EXPECT_NE(load(-1, riff({chunk("fmt ", format_body(3, 2, 48000, 32)), chunk("data", floats)})),
              0);

    rt_sound_free(stereo);
    rt_sound_free(mono);
    EXPECT_EQ(rt_sound_play(stereo), 0);
    EXPECT_EQ(rt_sound_frequency(mono), 0);
}

TEST_F(SoundLibrary, RefusedDataLeavesNoRecord) {
    // Parsing refusals are covered with the format; here: nothing is recorded.
    const Bytes refused[] = {
        riff({chunk("fmt ", format_body(1, 1, 8000, 24)), chunk("data", Bytes(9, 0))}),
        riff({chunk("fmt ", format_body(1, 2, 8000, 16)), chunk("data", Bytes(3, 0))}),
        Bytes{'R', 'I', 'F', 'F', 0, 0},
    };
    for (const Bytes& image : refused) {
        EXPECT_EQ(load(-1, image), 0);
        EXPECT_EQ(load(7, image), 0);
        EXPECT_EQ(rt_sound_play(7), 0);
    }
}

// Handles, numbers and stale ids follow the object table and are checked
// there; here: a refused load under a used number leaves that sound alone.
TEST_F(SoundLibrary, ARefusedLoadKeepsTheSoundUnderItsNumber) {
    ASSERT_EQ(load(5, stereo16_file()), 1);
    ASSERT_EQ(load(5, mono8_file()), 1);
    EXPECT_EQ(rt_sound_frequency(5), 11025);
    EXPECT_EQ(load(5, Bytes{'n', 'o', 'p', 'e'}), 0);
    EXPECT_EQ(rt_sound_frequency(5), 11025);
    rt_sound_free(5);
    EXPECT_EQ(rt_sound_play(5), 0);
    // A living sound takes any volume; the table clamps it (wave_format_test).
    const int32_t sound = load(-1, mono8_file());
    for (int32_t volume : {50, 150, -5}) EXPECT_EQ(rt_sound_volume(sound, volume), 1) << volume;
    EXPECT_EQ(rt_sound_volume_get(sound), 0);  // the read-back field stays as created
    rt_sound_free(sound);
}

// Names are resolved by the path tests; here: a file loads at all.
TEST_F(SoundLibrary, LoadsFiles) {
    const zentara_test::TempDir dir;
    const Bytes image = mono8_file();
    dir.write("Kugel.wav", std::string(image.begin(), image.end()));
    const int32_t id = rt_sound_load(-1, (dir / "Kugel.wav").c_str());
    EXPECT_EQ(rt_sound_frequency(id), 11025);
    EXPECT_EQ(rt_sound_load(-1, (dir / "missing.wav").c_str()), 0);
    rt_sound_free(id);
}

TEST_F(SoundLibrary, EndFreesEverySoundAndInitStartsAgain) {
    const int32_t kept = load(-1, mono8_file());
    ASSERT_EQ(load(3, mono8_file()), 1);
    rt_sound_end();
    EXPECT_EQ(rt_sound_play(kept), 0);
    EXPECT_EQ(rt_sound_play(3), 0);
    EXPECT_EQ(load(-1, mono8_file()), 0);
    ASSERT_NE(rt_sound_init(), 0);
    const int32_t again = load(-1, mono8_file());
    EXPECT_EQ(rt_sound_play(again), 1);
    rt_sound_end();
}

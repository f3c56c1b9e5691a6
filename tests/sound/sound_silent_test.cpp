// SPDX-License-Identifier: GPL-3.0-or-later
// With no output device at all the service runs silently: sounds load, play
// and change volume, and nothing blocks.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>

#include "runtime/sound/rt_sound.h"
#include "runtime/sound/sound_library.h"
#include "tests/support/wave_bytes.h"

TEST(SilentSound, WorksWithoutAnyOutputDevice) {
    // Set before the first OpenAL call, which reads the driver list.
    ::setenv("ALSOFT_DRIVERS", "no-such-driver", 1);
    ASSERT_NE(rt_sound_init(), 0);
    EXPECT_FALSE(rt::sound::service_audible());

    const wavetest::Bytes image = wavetest::tone_file({440, 880}, 0.1, 22050, 0.5);
    const int32_t id = rt_sound_load_memory(-1, image.data(), static_cast<int32_t>(image.size()));
    ASSERT_NE(id, 0);
    EXPECT_EQ(rt_sound_frequency(id), 22050);
    EXPECT_EQ(rt_sound_volume(id, 70), 1);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(rt_sound_play(id), 1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    rt_sound_free(id);
    EXPECT_EQ(rt_sound_play(id), 0);
    rt_sound_end();
}

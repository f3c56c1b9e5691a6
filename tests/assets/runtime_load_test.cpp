// Every sound of the pack is accepted by the runtime's sound service (every
// picture is decoded by the runtime in the checker's test of the shipped pack).
#include <gtest/gtest.h>

#include "pack_files.h"
#include "runtime/sound/rt_sound.h"

namespace {

TEST(AssetPackRuntime, EverySoundLoads) {
    ASSERT_NE(rt_sound_init(), 0);
    for (const char* name : {"kugel.wav", "rakete.wav", "feindexplosion.wav", "raketeexplosion.wav",
                             "kollision.wav", "bonus00.wav", "bonus01.wav", "bonus02.wav"}) {
        const std::string path = pack_dir() + "/" + name;
        const int32_t sound = rt_sound_load(-1, path.c_str());
        ASSERT_NE(sound, 0) << name;
        EXPECT_EQ(rt_sound_volume(sound, 70), 1) << name;
        EXPECT_EQ(rt_sound_frequency(sound), 22050) << name;
        EXPECT_EQ(rt_sound_play(sound), 1) << name;
        rt_sound_free(sound);
    }
    rt_sound_end();
}

}  // namespace

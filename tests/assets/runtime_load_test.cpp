// The pack loads through the game's own runtime: every picture is recognised
// and decoded by the image decoders, every sound accepted by the sound service.
#include <gtest/gtest.h>

#include <vector>

#include "pack_files.h"
#include "runtime/image/rt_image.h"
#include "runtime/sound/rt_sound.h"

namespace {

TEST(AssetPackRuntime, EveryPictureDecodes) {
    rt_image_decoder_init();
    rt_bmp_decoder_register();
    rt_png_decoder_register();
    int pictures = 0;
    for (const std::string& name : list_files(pack_dir())) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".png") continue;
        ++pictures;
        const std::vector<uint8_t> data = read_bytes(pack_dir() + "/" + name);
        ASSERT_EQ(rt_image_recognise(data.data(), static_cast<int32_t>(data.size())), 1) << name;
        Rgba reference;
        ASSERT_TRUE(read_png(pack_dir() + "/" + name, reference)) << name;
        EXPECT_EQ(rt_image_width(), reference.width) << name;
        EXPECT_EQ(rt_image_height(), reference.height) << name;
        const int32_t depth = rt_image_depth();
        EXPECT_EQ(depth, reference.had_alpha ? 32 : 24) << name;
        const int32_t pitch = rt_image_width() * 4;
        std::vector<uint8_t> rows(static_cast<size_t>(pitch) * (rt_image_height() + 1));
        ASSERT_EQ(rt_image_decode(rows.data(), pitch, 0), 1) << name;
        // Spot-check the centre pixel against libpng (decoder output is BGR(A)).
        const int x = reference.width / 2, y = reference.height / 2;
        const uint8_t* got =
            &rows[static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * (depth / 8)];
        const uint8_t* want = reference.at(x, y);
        EXPECT_EQ(got[0], want[2]) << name;
        EXPECT_EQ(got[1], want[1]) << name;
        EXPECT_EQ(got[2], want[0]) << name;
    }
    EXPECT_GT(pictures, 20);
}

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

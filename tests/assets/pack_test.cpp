// SPDX-License-Identifier: GPL-3.0-or-later
// The committed asset pack: it is exactly what the generator makes, and every
// picture and sound suits the way the game uses it (the level values are held
// to the game's rules by the checker of --check, in tests/game_program).
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/sound/wave_format.h"

namespace {

namespace fs = std::filesystem;

// The committed pack, assets/zentara.
std::string pack_dir() {
    const char* root = std::getenv("ZENTARA_SOURCE_DIR");
    return std::string(root ? root : ZENTARA_SOURCE_ROOT) + "/assets/zentara";
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<std::string> list_files(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A picture read independently of the generator that wrote it.
struct Rgba {
    int width = 0, height = 0;
    bool had_alpha = false;       // the file itself carries an alpha channel
    std::vector<uint8_t> pixels;  // RGBA rows
    const uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
};
Rgba load(const std::string& name, const std::string& dir = pack_dir()) {
    Rgba out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    EXPECT_TRUE(png_image_begin_read_from_file(&image, (dir + "/" + name).c_str())) << name;
    out.had_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.assign(PNG_IMAGE_SIZE(image), 0);
    EXPECT_TRUE(png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) << name;
    png_image_free(&image);
    return out;
}

bool is_black(const uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// Centre of the visible content: alpha-weighted, or non-black for keyed pictures.
std::pair<double, double> centroid(const Rgba& img, bool keyed) {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const uint8_t* p = img.at(x, y);
            const double w = keyed ? (is_black(p) ? 0.0 : 1.0) : p[3] / 255.0;
            sum += w;
            sx += w * (x + 0.5);
            sy += w * (y + 0.5);
        }
    return {sum > 0 ? sx / sum : -1, sum > 0 ? sy / sum : -1};
}

// Runs the generator with `option` into a scratch folder and compares every
// file it makes with the committed folder, byte for byte.
void ExpectRegenerated(const std::string& option, const std::string& committed) {
    const fs::path out =
        fs::temp_directory_path() / ("zentara_assets_" + std::to_string(::getpid()));
    fs::remove_all(out);
    const std::string cmd =
        std::string(ASSETGEN_PATH) + option + " " + out.string() + " > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const auto made = list_files(out.string());
    EXPECT_EQ(made, list_files(committed));
    for (const std::string& name : made)
        EXPECT_TRUE(read_bytes(out / name) == read_bytes(committed + "/" + name))
            << name << " differs from the committed file; regenerate it";
    fs::remove_all(out);
}

TEST(AssetPack, GeneratorReproducesTheCommittedPackByteForByte) {
    ExpectRegenerated("", pack_dir());
}

// The desktop icons, each as large as its name says, round (clear corners)
// and opaque in the middle.
TEST(AssetPack, GeneratorReproducesTheIconsAtEverySize) {
    const std::string committed = pack_dir() + "/../icons";
    ExpectRegenerated(" --icons", committed);
    for (int size : {48, 64, 128, 256}) {
        const std::string name = "zentara_" + std::to_string(size) + ".png";
        const Rgba icon = load(name, committed);
        ASSERT_EQ(std::pair(icon.width, icon.height), std::pair(size, size)) << name;
        EXPECT_EQ(std::pair(icon.at(0, 0)[3], icon.at(size / 2, size / 2)[3]),
                  (std::pair<uint8_t, uint8_t>(0, 255)))
            << name;
    }
}

TEST(AssetPack, PicturesFitTheGamesOffsets) {
    // Centred overlays (and the enemy shield over an enemy): square, larger
    // than what they cover, an even margin.
    const Rgba ship = load("spaceship.png"), enemy = load("feind00.png");
    ASSERT_EQ(ship.width, ship.height);
    ASSERT_EQ(enemy.width, enemy.height);
    for (const auto& [name, under] : {std::pair{"shipschirm.png", &ship},
                                      {"raketeexplosion.png", &ship},
                                      {"kollision.png", &ship},
                                      {"feindschirm.png", &enemy}}) {
        const Rgba img = load(name);
        EXPECT_EQ(img.width, img.height) << name;
        EXPECT_GT(img.width, under->width) << name;
        EXPECT_EQ((img.width - under->width) % 2, 0) << name;
    }
    for (const char* name : {"shipschirm.png", "raketeexplosion.png", "kollision.png"}) {
        const Rgba img = load(name);
        const auto [cx, cy] = centroid(img, false);
        EXPECT_NEAR(cx, img.width / 2.0, 2.0) << name;
        EXPECT_NEAR(cy, img.height / 2.0, 2.0) << name;
    }
    // The ship explosion is drawn centred on the ship's corner: its blast must
    // sit half a ship lower right, on the ship's centre.
    const Rgba blast = load("shipexplosion.png");
    const auto [bx, by] = centroid(blast, false);
    EXPECT_NEAR(bx, blast.width / 2.0 + ship.width / 2.0, 4.0);
    EXPECT_NEAR(by, blast.height / 2.0 + ship.height / 2.0, 4.0);

    // Shots are drawn 5 and 3 pixels up and left of their point.
    for (const auto& [name, size] : {std::pair{"shipkugel1.png", 11}, {"shipkugel2.png", 7}}) {
        const Rgba shot = load(name);
        EXPECT_EQ(shot.width, size) << name;
        EXPECT_EQ(shot.height, size) << name;
        const auto [cx, cy] = centroid(shot, true);
        EXPECT_NEAR(cx, size / 2.0, 0.01) << name;
        EXPECT_NEAR(cy, size / 2.0, 0.01) << name;
    }
}

TEST(AssetPack, KeyedPicturesHaveNoHolesAndAlphaPicturesHaveAlpha) {
    for (const std::string& name : list_files(pack_dir())) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".png") continue;
        const bool keyed = name.rfind("feind", 0) == 0
                               ? name.size() == 11
                               : (name.rfind("bonus", 0) == 0 || name.rfind("planet", 0) == 0 ||
                                  name.rfind("shipkugel", 0) == 0);
        const Rgba img = load(name);
        EXPECT_EQ(img.had_alpha, !keyed) << name;
        if (!keyed) continue;
        // A pure black pixel whose eight neighbours are all part of the shape
        // would show as a transparent hole in it.
        int holes = 0;
        for (int y = 1; y + 1 < img.height; ++y)
            for (int x = 1; x + 1 < img.width; ++x) {
                bool enclosed = is_black(img.at(x, y));
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && is_black(img.at(x + dx, y + dy))) enclosed = false;
                holes += enclosed;
            }
        EXPECT_EQ(holes, 0) << name;
    }
}

// Read by the runtime's own parser: 16-bit mono PCM the sound service plays.
TEST(AssetPack, SoundsAreShortCleanAndLoud) {
    for (const char* name : {"kugel.wav", "rakete.wav", "feindexplosion.wav", "raketeexplosion.wav",
                             "kollision.wav", "bonus00.wav", "bonus01.wav", "bonus02.wav"}) {
        const std::vector<uint8_t> bytes = read_bytes(pack_dir() + "/" + name);
        const auto wave = rt::sound::parse_wave(bytes);
        ASSERT_TRUE(wave && rt::sound::pcm_layout(wave->format)) << name;
        const rt::sound::WaveFormat& f = wave->format;
        EXPECT_TRUE(f.format_tag == 1 && f.channels == 1 && f.bits_per_sample == 16) << name;
        EXPECT_TRUE(f.samples_per_second == 22050 || f.samples_per_second == 44100) << name;
        std::vector<int16_t> w(wave->samples.size() / 2);
        std::memcpy(w.data(), wave->samples.data(), w.size() * 2);
        const double seconds = static_cast<double>(w.size()) / f.samples_per_second;
        EXPECT_TRUE(seconds > 0.08 && seconds < 1.5) << name << ": " << seconds << " s";
        int peak = 0;
        for (int16_t s : w) peak = std::max(peak, std::abs(static_cast<int>(s)));
        const double peak_db = 20.0 * std::log10(peak / 32768.0);
        EXPECT_TRUE(peak_db > -2.0 && peak_db < -0.5) << name << ": peak " << peak_db << " dB";
        // No click inside: no sample step is more than four times the largest
        // of the 32 steps before it (plus 1% of full scale, for near silence).
        auto step = [&](size_t at) { return std::abs(w[at] - w[at - 1]); };
        for (size_t i = 33; i < w.size(); ++i) {
            int before = 0;
            for (size_t k = i - 32; k < i; ++k) before = std::max(before, step(k));
            if (step(i) > 4 * (before + 328)) {
                ADD_FAILURE() << name << " jumps at sample " << i;
                break;
            }
        }
        // No click: the sound starts and ends at silence.
        EXPECT_TRUE(std::abs(w.front()) < 64 && std::abs(w.back()) < 64) << name;
    }
}

}  // namespace

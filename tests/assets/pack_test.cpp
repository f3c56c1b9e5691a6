// The committed asset pack: it is exactly what the generator makes, and its
// pictures suit the offsets the game draws them at (the level values and the
// files' presence are held to the game's rules by the checker of --check, in
// tests/game_program).
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

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
    std::vector<uint8_t> pixels;  // RGBA rows
    const uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
};
bool read_png(const std::string& path, Rgba& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.assign(PNG_IMAGE_SIZE(image), 0);
    const bool ok = png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

Rgba load(const std::string& name) {
    Rgba img;
    EXPECT_TRUE(read_png(pack_dir() + "/" + name, img)) << name;
    return img;
}

bool is_black(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

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
    const fs::path out = fs::temp_directory_path() / ("zentara_assets_" + std::to_string(::getpid()));
    fs::remove_all(out);
    const std::string cmd = std::string(ASSETGEN_PATH) + option + " " + out.string() + " > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const auto made = list_files(out.string());
    EXPECT_EQ(made, list_files(committed));
    for (const std::string& name : made)
        EXPECT_TRUE(read_bytes(out / name) == read_bytes(committed + "/" + name))
            << name << " differs from the committed file; regenerate it";
    fs::remove_all(out);
}

TEST(AssetPack, GeneratorReproducesTheCommittedPackByteForByte) { ExpectRegenerated("", pack_dir()); }

// The desktop icons, each as large as its name says, round (clear corners)
// and opaque in the middle.
TEST(AssetPack, GeneratorReproducesTheIconsAtEverySize) {
    const std::string committed = pack_dir() + "/../icons";
    ExpectRegenerated(" --icons", committed);
    for (int size : {48, 64, 128, 256}) {
        const std::string name = "zentara_" + std::to_string(size) + ".png";
        Rgba icon;
        ASSERT_TRUE(read_png(committed + "/" + name, icon)) << name;
        EXPECT_EQ(icon.width, size) << name;
        EXPECT_EQ(icon.height, size) << name;
        EXPECT_EQ(icon.at(0, 0)[3], 0) << name;
        EXPECT_EQ(icon.at(size / 2, size / 2)[3], 255) << name;
    }
}

TEST(AssetPack, PicturesFitTheGamesOffsets) {
    // Centred overlays (and the enemy shield over an enemy): square, larger
    // than what they cover, an even margin.
    const Rgba ship = load("spaceship.png"), enemy = load("feind00.png");
    ASSERT_EQ(ship.width, ship.height);
    ASSERT_EQ(enemy.width, enemy.height);
    for (const auto& [name, under] : {std::pair{"shipschirm.png", &ship}, {"raketeexplosion.png", &ship},
                                      {"kollision.png", &ship}, {"feindschirm.png", &enemy}}) {
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

    // All enemies share one size: the game measures one of them.
    for (const std::string& name : list_files(pack_dir())) {
        if (name.size() != 11 || name.rfind("feind", 0) != 0) continue;
        const Rgba img = load(name);
        EXPECT_EQ(img.width, enemy.width) << name;
        EXPECT_EQ(img.height, enemy.height) << name;
    }
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

}  // namespace

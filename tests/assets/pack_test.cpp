// The committed asset pack: it is exactly what the generator makes, and every
// picture, sound and level value suits the way the game uses it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "pack_files.h"

namespace {

namespace fs = std::filesystem;

Rgba load(const std::string& name) {
    Rgba img;
    EXPECT_TRUE(read_png(pack_dir() + "/" + name, img)) << name;
    return img;
}

bool is_black(const uint8_t* p) {
    return p[0] == 0 && p[1] == 0 && p[2] == 0;
}

// Centre of the picture's visible content, weighted by alpha (or by non-black
// for keyed pictures).
void centroid(const Rgba& img, bool keyed, double& cx, double& cy) {
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const uint8_t* p = img.at(x, y);
            const double w = keyed ? (is_black(p) ? 0.0 : 1.0) : p[3] / 255.0;
            sum += w;
            sx += w * (x + 0.5);
            sy += w * (y + 0.5);
        }
    cx = sum > 0 ? sx / sum : -1;
    cy = sum > 0 ? sy / sum : -1;
}

TEST(AssetPack, GeneratorReproducesTheCommittedPackByteForByte) {
    const fs::path out =
        fs::temp_directory_path() / ("zentara_assets_" + std::to_string(::getpid()));
    fs::remove_all(out);
    const std::string cmd = std::string(ASSETGEN_PATH) + " " + out.string() + " > /dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const auto made = list_files(out.string());
    const auto committed = list_files(pack_dir());
    EXPECT_EQ(made, committed);
    for (const std::string& name : made)
        EXPECT_TRUE(read_bytes(out / name) == read_bytes(pack_dir() + "/" + name))
            << name << " differs from the committed file; regenerate the pack";
    fs::remove_all(out);
}

TEST(AssetPack, EveryFixedFileIsThere) {
    for (const char* name :
         {"kugel.wav",         "rakete.wav",         "feindexplosion.wav", "raketeexplosion.wav",
          "kollision.wav",     "bonus00.wav",        "bonus01.wav",        "bonus02.wav",
          "shipexplosion.png", "shipkugel1.png",     "shipkugel2.png",     "shipKugelexplosion.png",
          "spaceship.png",     "shipschirm.png",     "rakete.png",         "raketeexplosion.png",
          "feindschirm.png",   "feindexplosion.png", "kollision.png",      "bonus00.png",
          "bonus01.png",       "bonus02.png",        "zentara.ini"})
        EXPECT_TRUE(fs::is_regular_file(pack_dir() + "/" + name)) << name;
}

TEST(AssetPack, PicturesFitTheGamesOffsets) {
    // Centred overlays: square, larger than the ship or enemy, an even margin.
    const Rgba ship = load("spaceship.png");
    ASSERT_EQ(ship.width, ship.height);
    for (const char* name : {"shipschirm.png", "raketeexplosion.png", "kollision.png"}) {
        const Rgba img = load(name);
        EXPECT_EQ(img.width, img.height) << name;
        EXPECT_GT(img.width, ship.width) << name;
        EXPECT_EQ((img.width - ship.width) % 2, 0) << name;
        double cx, cy;
        centroid(img, false, cx, cy);
        EXPECT_NEAR(cx, img.width / 2.0, 2.0) << name;
        EXPECT_NEAR(cy, img.height / 2.0, 2.0) << name;
    }
    // The ship explosion is drawn centred on the ship's corner: its blast must
    // sit half a ship lower right, on the ship's centre.
    const Rgba blast = load("shipexplosion.png");
    double bx, by;
    centroid(blast, false, bx, by);
    EXPECT_NEAR(bx, blast.width / 2.0 + ship.width / 2.0, 4.0);
    EXPECT_NEAR(by, blast.height / 2.0 + ship.height / 2.0, 4.0);

    // All enemies share one size (the game measures one of them), and their
    // shield is larger and centred on it.
    int enemies = 0;
    Rgba first;
    for (const std::string& name : list_files(pack_dir())) {
        if (name.size() != 11 || name.rfind("feind", 0) != 0) continue;
        const Rgba img = load(name);
        if (enemies++ == 0) first = img;
        EXPECT_EQ(img.width, first.width) << name;
        EXPECT_EQ(img.height, first.height) << name;
        EXPECT_FALSE(img.had_alpha) << name << " is keyed on black";
    }
    EXPECT_GE(enemies, 5);
    const Rgba shield = load("feindschirm.png");
    EXPECT_EQ(shield.width, shield.height);
    EXPECT_EQ(first.width, first.height);
    EXPECT_GT(shield.width, first.width);
    EXPECT_EQ((shield.width - first.width) % 2, 0);

    // Shots are drawn 5 and 3 pixels up and left of their point.
    const Rgba shot = load("shipkugel1.png"), power = load("shipkugel2.png");
    EXPECT_EQ(shot.width, 11);
    EXPECT_EQ(shot.height, 11);
    EXPECT_EQ(power.width, 7);
    EXPECT_EQ(power.height, 7);
    for (const Rgba* s : {&shot, &power}) {
        double cx, cy;
        centroid(*s, true, cx, cy);
        EXPECT_NEAR(cx, s->width / 2.0, 0.01);
        EXPECT_NEAR(cy, s->height / 2.0, 0.01);
    }

    // The rocket points up: its nose is in the upper half, its flame below.
    const Rgba rocket = load("rakete.png");
    EXPECT_LT(rocket.width, rocket.height);
    int top_opaque = rocket.height;
    for (int y = 0; y < rocket.height && top_opaque == rocket.height; ++y)
        for (int x = 0; x < rocket.width; ++x)
            if (rocket.at(x, y)[3] > 128) top_opaque = y;
    EXPECT_LT(top_opaque, 4);
    EXPECT_GT(rocket.at(rocket.width / 2, 2)[0], 150);  // red nose
}

TEST(AssetPack, KeyedPicturesHaveNoHolesAndAlphaPicturesHaveAlpha) {
    for (const std::string& name : list_files(pack_dir())) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".png") continue;
        const bool keyed = name.rfind("feind", 0) == 0
                               ? name.size() == 11
                               : (name.rfind("bonus", 0) == 0 || name.rfind("planet", 0) == 0 ||
                                  name.rfind("shipkugel", 0) == 0);
        const Rgba img = load(name);
        if (!keyed) {
            EXPECT_TRUE(img.had_alpha) << name << " is loaded with its alpha channel";
            continue;
        }
        // A pure black pixel whose eight neighbours are all part of the shape
        // would show as a transparent hole in it.
        int holes = 0, opaque = 0;
        for (int y = 1; y + 1 < img.height; ++y)
            for (int x = 1; x + 1 < img.width; ++x) {
                if (!is_black(img.at(x, y))) {
                    ++opaque;
                    continue;
                }
                bool enclosed = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && is_black(img.at(x + dx, y + dy))) enclosed = false;
                if (enclosed) ++holes;
            }
        EXPECT_EQ(holes, 0) << name;
        EXPECT_GT(opaque, img.width * img.height / 10) << name << " is nearly empty";
        // Planets are turned about their centre: everything lies inside the
        // inscribed circle, so the corners are empty and turning clips nothing.
        if (name.size() == 12 && name.rfind("planet", 0) == 0) {
            const int w = img.width - 1, h = img.height - 1;
            for (int y = 0; y <= h; ++y)
                for (int x = 0; x <= w; ++x) {
                    const double dx = x + 0.5 - img.width / 2.0, dy = y + 0.5 - img.height / 2.0;
                    if (std::sqrt(dx * dx + dy * dy) > img.width / 2.0 + 0.5) {
                        EXPECT_TRUE(is_black(img.at(x, y))) << name << " " << x << "," << y;
                    }
                }
        }
    }
}

TEST(AssetPack, EnemyShieldSurvivesAWhiteKeyedCopy) {
    // The game copies the enemy shield for every enemy with a copy that makes
    // white transparent and everything else opaque.
    const Rgba shield = load("feindschirm.png");
    int clear = 0;
    for (int y = 0; y < shield.height; ++y)
        for (int x = 0; x < shield.width; ++x) {
            const uint8_t* p = shield.at(x, y);
            const bool white = p[0] == 255 && p[1] == 255 && p[2] == 255;
            if (p[3] == 0) {
                EXPECT_TRUE(white) << x << "," << y;
                ++clear;
            } else {
                EXPECT_FALSE(white) << x << "," << y;
            }
        }
    // The middle, where the enemy is, stays clear in the copy.
    EXPECT_EQ(shield.at(shield.width / 2, shield.height / 2)[3], 0);
    EXPECT_GT(clear, shield.width * shield.height / 4);
}

TEST(AssetPack, SoundsAreShortCleanAndLoud) {
    std::map<std::string, Wave> waves;
    for (const char* name : {"kugel.wav", "rakete.wav", "feindexplosion.wav", "raketeexplosion.wav",
                             "kollision.wav", "bonus00.wav", "bonus01.wav", "bonus02.wav"}) {
        Wave w;
        ASSERT_TRUE(read_wave(pack_dir() + "/" + name, w)) << name;
        EXPECT_TRUE(w.fmt_at_12) << name;
        EXPECT_EQ(w.format, 1) << name;
        EXPECT_EQ(w.channels, 1) << name;
        EXPECT_EQ(w.bits, 16) << name;
        EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << name;
        const double seconds = static_cast<double>(w.samples.size()) / w.rate;
        EXPECT_GT(seconds, 0.08) << name;
        EXPECT_LT(seconds, 1.5) << name;
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        const double peak_db = 20.0 * std::log10(peak / 32768.0);
        EXPECT_GT(peak_db, -2.0) << name;
        EXPECT_LT(peak_db, -0.5) << name;
        // No click: the sound starts and ends at silence.
        EXPECT_LT(std::abs(static_cast<int>(w.samples.front())), 64) << name;
        EXPECT_LT(std::abs(static_cast<int>(w.samples.back())), 64) << name;
        waves[name] = std::move(w);
    }
    // Distinct sounds, not copies of one another.
    for (auto a = waves.begin(); a != waves.end(); ++a)
        for (auto b = std::next(a); b != waves.end(); ++b)
            EXPECT_NE(a->second.samples, b->second.samples);
}

// The level file, read the way the game reads it: fields split at "/", values
// from leading digits, the level count from the "/" in line 2's first word.
std::vector<std::string> split_lines(const std::string& text, bool& crlf) {
    std::vector<std::string> lines;
    crlf = true;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        std::string line =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (line.empty() || line.back() != '\r')
            crlf = false;
        else
            line.pop_back();
        lines.push_back(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

std::string field(const std::string& line, int n, char sep) {
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        start = line.find(sep, start);
        if (start == std::string::npos) return "";
        ++start;
    }
    const size_t end = line.find(sep, start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

long value(const std::string& text) {
    std::istringstream in(text);
    long v = 0;
    in >> v;
    return in.fail() ? 0 : v;
}

TEST(AssetPack, LevelFileIsPlayableAndRisesInDifficulty) {
    const std::vector<uint8_t> bytes = read_bytes(pack_dir() + "/zentara.ini");
    bool crlf = false;
    const auto lines = split_lines(std::string(bytes.begin(), bytes.end()), crlf);
    EXPECT_TRUE(crlf);
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], "1 /Level erreicht");
    const std::string first_word = field(lines[1], 1, ' ');
    const int levels = static_cast<int>(std::count(first_word.begin(), first_word.end(), '/'));
    EXPECT_GE(levels, 8);
    for (size_t i = 1; i < 28; ++i) {
        const int slashes = static_cast<int>(std::count(lines[i].begin(), lines[i].end(), '/'));
        EXPECT_EQ(slashes, i < 24 ? levels : 1)
            << "line " << i + 1 << ": a comment must not hold a '/'";
    }
    auto param = [&](int line, int level) {
        return value(field(lines[static_cast<size_t>(line - 1)], level, '/'));
    };
    const long base_alpha = param(27, 1);
    EXPECT_GE(base_alpha, 5);
    EXPECT_GT(param(25, 1), 0);  // intro time
    for (int l = 1; l <= levels; ++l) {
        SCOPED_TRACE("level " + std::to_string(l));
        const long count = param(16, l), fire = param(19, l), brk = param(23, l);
        EXPECT_GE(count, 1);
        EXPECT_GE(fire, count) << "enemies would never fire";
        EXPECT_GE(param(7, l), -128);
        EXPECT_LE(param(7, l), 127);
        EXPECT_GE(param(11, l), -128);
        EXPECT_LE(param(11, l), 127);
        EXPECT_GT(param(6, l), 0);  // shots
        EXPECT_GT(param(8, l), 0);  // shot damage
        EXPECT_GT(param(3, l), 0);  // decay period
        // Enemy damage is 8-bit: a hit must break, not wrap around.
        EXPECT_LE(brk + 2 * param(8, l), 255);
        EXPECT_LE(brk + param(22, l), 255);
        EXPECT_LE(param(18, l), base_alpha);
        EXPECT_GT(brk, base_alpha);
        if (l > 1) {
            EXPECT_GT(param(2, l), param(2, l - 1)) << "goal";
            EXPECT_GE(param(16, l), param(16, l - 1)) << "enemy count";
            EXPECT_LE(param(19, l), param(19, l - 1)) << "fire chance";
            EXPECT_GE(param(12, l), param(12, l - 1)) << "rocket damage";
            // Frame counters carry over between levels and are compared for
            // equality: a shorter period than the last level's would stall them.
            EXPECT_GE(param(3, l), param(3, l - 1)) << "decay period";
            EXPECT_GE(param(15, l), param(15, l - 1)) << "sway period";
        }
    }
}

}  // namespace

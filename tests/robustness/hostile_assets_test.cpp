// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program on asset folders a player could have broken: every case
// copies the shipped pack into a scratch folder, spoils one thing and lets the
// demo pilot play a few hundred frames headless. The program must end by
// itself with exit code 0 (no crash, no sanitizer report, no hang).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// The signature and header kept, every later 7th byte flipped (in a WAV, the
// data chunk's size among them).
std::string Corrupted(std::string bad) {
    for (size_t i = 33; i < bad.size(); i += 7) bad[i] = static_cast<char>(bad[i] ^ 0x5A);
    return bad;
}

constexpr const char* kFrames = "300";
// Generous: the sanitizer build runs the game several times slower.
constexpr auto kDeadline = std::chrono::seconds(150);

void Rewrite(const std::string& extension,
             const std::function<std::string(const std::string&)>& spoil) {
    for (const auto& entry : fs::directory_iterator("zentara")) {
        if (!entry.is_regular_file() || entry.path().extension() != extension) continue;
        zentara_test::write_file(entry.path(), spoil(zentara_test::read_file(entry.path())));
    }
}

void ReplaceWithFolder(const fs::path& file) {
    fs::remove(file);
    fs::create_directory(file);
}

// Playable: the level file still lets the pilot choose level 1, so the
// program must play all its frames; otherwise the pilot ends at once with its
// reason and exit code 1.
struct Hostility {
    const char* Name;
    bool Playable;
    std::function<void()> Spoil;
};

// One case per way the program could break: pictures and sounds that fail to
// load (corrupt, folders in their place), empty files, and a level file of
// 10000 levels whose parameters are a 1 MB line of slashes and noise. Decoders
// and the level reader meet the rest of what a player could do in their own
// tests and fuzzers.
const Hostility kHostilities[] = {
    {"PicturesAndSoundsThatFailToLoad", true,
     [] {
         Rewrite(".png", Corrupted);
         Rewrite(".wav", Corrupted);
         ReplaceWithFolder("zentara/spaceship.png");
         ReplaceWithFolder("zentara/kugel.wav");
         for (const char* name :
              {"feind99.png", "planet99.png", "bonus99.png", "planetmond99.png"}) {
             fs::create_directory(fs::path("zentara") / name);
         }
     }},
    {"AnEmptyFileForEveryName", false,
     [] {
         for (const auto& entry : fs::directory_iterator("zentara")) {
             if (entry.is_regular_file()) zentara_test::write_file(entry.path().string(), "");
         }
     }},
    {"ALevelFileOfManyLevelsHugeLinesAndNoise", true,
     [] {
         std::string goals, noise(4096, '\0');
         for (int level = 0; level < 10000; ++level) goals += "100/";
         for (size_t i = 0; i < noise.size(); ++i)
             noise[i] = static_cast<char>(i * 2654435761u >> 24);
         zentara_test::write_file("zentara/zentara.ini", "9999 /Level erreicht\r\n" + goals +
                                                             "\r\n" + std::string(1 << 20, '/') +
                                                             "\r\n" + noise);
     }},
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const Hostility& hostility, std::ostream* out) {
    *out << hostility.Name;
}

class HostileAssets : public ::testing::TestWithParam<Hostility> {
  protected:
    void SetUp() override {
        const char* source = std::getenv("ZENTARA_SOURCE_DIR");
        ASSERT_NE(source, nullptr);
        fs::copy(fs::path(source) / "assets" / "zentara", "zentara", fs::copy_options::recursive);
    }

    zentara_test::TempDir dir_{true};
};

TEST_P(HostileAssets, TheDemoPilotPlaysThroughAndTheProgramEndsCleanly) {
    GetParam().Spoil();
    const zentara_test::ProcessRun run = zentara_test::run_process(
        ZENTARA_EXECUTABLE, {"--demo", "--frames", kFrames, "--seed", "4242"}, ".", {}, kDeadline);
    ASSERT_TRUE(run.Ended) << "still running after " << kDeadline.count() << " s\n" << run.Output();
    EXPECT_EQ(run.Signal, 0) << run.Output();
    EXPECT_EQ(run.ExitCode, GetParam().Playable ? 0 : 1) << run.Output();
    EXPECT_EQ(run.Output().find("Sanitizer"), std::string::npos) << run.Output();
    const std::string end = GetParam().Playable
                                ? std::string("demo: ended after ") + kFrames + " frames"
                                : "the demo cannot choose Level1";
    EXPECT_NE(run.Output().find(end), std::string::npos) << run.Output();
}

INSTANTIATE_TEST_SUITE_P(Robustness, HostileAssets, ::testing::ValuesIn(kHostilities),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

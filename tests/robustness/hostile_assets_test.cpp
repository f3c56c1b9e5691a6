// The whole program on asset folders a player could have broken: every case
// copies the shipped pack into a scratch folder, spoils one thing and lets the
// demo pilot play a few hundred frames headless. The program must end by
// itself with exit code 0 (no crash, no sanitizer report, no hang); without a
// level file it shows its one message and ends.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "hostile_files.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFrames = "300";
// Generous: the sanitizer build runs the game several times slower.
constexpr auto kDeadline = std::chrono::seconds(150);

struct ProgramRun {
    bool Ended = false;  // false: still running at the deadline (killed)
    int ExitCode = -1;
    int Signal = 0;
    std::string Output;  // stdout and stderr together
};

ProgramRun RunProgram(const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>("zentara")};
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int out = open("program-output.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(out, 2);
        execv(ZENTARA_EXECUTABLE, argv.data());
        _exit(127);
    }
    ProgramRun run;
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            run.Output = zentara_test::read_file("program-output.txt");
            return run;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    run.Ended = true;
    if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.Signal = WTERMSIG(status);
    run.Output = zentara_test::read_file("program-output.txt");
    return run;
}

// The demo pilot plays by itself for a given number of frames.
bool ProgramHasDemoPilot() {
    zentara_test::TempDir dir{true};
    const ProgramRun help = RunProgram({"--help"});
    return help.ExitCode == 0 && help.Output.find("--demo") != std::string::npos &&
           help.Output.find("--frames") != std::string::npos;
}

fs::path SourceDir() {
    const char* source = std::getenv("ZENTARA_SOURCE_DIR");
    return source ? source : ".";
}

fs::path ShippedPack() { return SourceDir() / "assets" / "zentara"; }

// Without a generated pack, the files the game loads are stood in for by the
// fuzz seeds' tiny picture and sound, so every spoiling still has its targets.
void WriteStandInPack() {
    const std::string picture = zentara_test::read_file((SourceDir() / "fuzz/corpus/fuzz_image/png_rgba.png").string());
    const std::string sound = zentara_test::read_file((SourceDir() / "fuzz/corpus/fuzz_wav/pcm16_stereo.wav").string());
    for (const char* name :
         {"spaceship", "shipschirm", "shipkugel1", "shipkugel2", "shipKugelexplosion", "shipexplosion",
          "rakete", "raketeexplosion", "feindschirm", "feindexplosion", "kollision", "feind00", "feind01",
          "feind02", "bonus00", "bonus01", "bonus02", "planet00", "planet01", "planetmond00"}) {
        zentara_test::write_file(std::string("zentara/") + name + ".png", picture);
    }
    for (const char* name : {"kugel", "rakete", "feindexplosion", "raketeexplosion", "kollision",
                             "bonus00", "bonus01", "bonus02"}) {
        zentara_test::write_file(std::string("zentara/") + name + ".wav", sound);
    }
}

std::vector<fs::path> FilesWithExtension(const fs::path& folder, const std::string& extension) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) files.push_back(entry.path());
    }
    return files;
}

void Rewrite(const std::string& extension, const std::function<std::string(const std::string&)>& spoil) {
    for (const auto& file : FilesWithExtension("zentara", extension)) {
        zentara_test::write_file(file.string(), spoil(zentara_test::read_file(file.string())));
    }
}

void ReplaceWithFolder(const fs::path& file) {
    fs::remove(file);
    fs::create_directory(file);
}

// Playable: the level file still lets the pilot choose level 1, so the
// program must play all its frames; otherwise ending at once is fine.
struct Hostility {
    const char* Name;
    bool Playable;
    std::function<void()> Spoil;
};

void WriteLevelFile(const std::string& contents) { zentara_test::write_file("zentara/zentara.ini", contents); }

const Hostility kHostilities[] = {
    {"TruncatedPictures", true, [] { Rewrite(".png", Truncated); }},
    {"CorruptPictures", true, [] { Rewrite(".png", Corrupted); }},
    {"PicturesDeclaringTenBillionPixels", true,
     [] {
         int flip = 0;
         Rewrite(".png", [&](const std::string&) {
             return ++flip % 2 ? HugeBmp(100000, 100000) : HugeBmp(100000, -100000);
         });
     }},
    {"SoundsWhoseChunkSizesLie", true, [] { Rewrite(".wav", LyingWav); }},
    {"AnEmptyFileForEveryName", false,
     [] {
         for (const auto& entry : fs::directory_iterator("zentara")) {
             if (entry.is_regular_file()) zentara_test::write_file(entry.path().string(), "");
         }
     }},
    {"FoldersNamedLikePicturesAndSounds", true,
     [] {
         ReplaceWithFolder("zentara/spaceship.png");
         ReplaceWithFolder("zentara/kugel.wav");
         for (const char* name : {"feind99.png", "planet99.png", "bonus99.png", "planetmond99.png"}) {
             fs::create_directory(fs::path("zentara") / name);
         }
     }},
    {"LevelFileOfBinaryGarbage", false, [] { WriteLevelFile(Garbage(4096, 7)); }},
    {"LevelFileOfGarbageAfterItsProgressLine", true,
     [] {
         // Lines 1 and 2 stay good, so level 1 can be chosen; the rest is noise.
         const std::string good = LevelFile(3);
         WriteLevelFile(good.substr(0, good.find("\r\n", good.find("\r\n") + 2) + 2) + Garbage(4096, 11));
     }},
    {"LevelFileWithOneMegabyteLines", false, [] { WriteLevelFile(LevelFileWithHugeLines(true)); }},
    {"LevelFileWithAOneMegabyteParameterLine", true, [] { WriteLevelFile(LevelFileWithHugeLines(false)); }},
    {"LevelFileWithTenThousandLevels", true, [] { WriteLevelFile(LevelFile(10000, 9999)); }},
    {"LevelFileWithMissingLines", true, [] { WriteLevelFile(LevelFileWithMissingLines()); }},
    {"LevelFileWithNegativeProgress", false,
     [] { WriteLevelFile(LevelFileWithExtremeValues("-2147483648 /Level erreicht")); }},
    {"LevelFileWithNegativeAndEnormousValues", true,
     [] { WriteLevelFile(LevelFileWithExtremeValues("1 /Level erreicht")); }},
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const Hostility& hostility, std::ostream* out) { *out << hostility.Name; }

class HostileAssets : public ::testing::TestWithParam<Hostility> {
protected:
    static void SetUpTestSuite() { demo_ = ProgramHasDemoPilot(); }

    void SetUp() override {
        if (!demo_) GTEST_SKIP() << "zentara has no --demo/--frames pilot yet";
        fs::create_directory("zentara");
        const fs::path pack = ShippedPack();
        if (fs::is_directory(pack)) {
            fs::copy(pack, "zentara", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        }
        if (FilesWithExtension("zentara", ".png").empty()) WriteStandInPack();
        if (!fs::exists("zentara/zentara.ini")) zentara_test::write_file("zentara/zentara.ini", LevelFile(3));
    }

    static inline bool demo_ = false;
    zentara_test::TempDir dir_{true};
};

TEST_P(HostileAssets, TheDemoPilotPlaysThroughAndTheProgramEndsCleanly) {
    GetParam().Spoil();
    for (const char* seed : {"1", "4242"}) {
        SCOPED_TRACE(std::string("seed ") + seed);
        const ProgramRun run = RunProgram({"--demo", "--frames", kFrames, "--seed", seed});
        ASSERT_TRUE(run.Ended) << "still running after " << kDeadline.count() << " s\n" << run.Output;
        EXPECT_EQ(run.Signal, 0) << run.Output;
        EXPECT_EQ(run.ExitCode, 0) << run.Output;
        EXPECT_EQ(run.Output.find("Sanitizer"), std::string::npos) << run.Output;
        if (GetParam().Playable) {
            EXPECT_NE(run.Output.find(std::string("demo: ended after ") + kFrames + " frames"), std::string::npos)
                << run.Output;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Robustness, HostileAssets, ::testing::ValuesIn(kHostilities),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(HostileAssetsNoLevelFile, TheProgramShowsItsMessageAndEnds) {
    zentara_test::TempDir dir{true};
    if (!ProgramHasDemoPilot()) GTEST_SKIP() << "zentara has no --demo/--frames pilot yet";
    fs::create_directory("zentara");
    const ProgramRun run = RunProgram({"--demo", "--frames", kFrames, "--seed", "1"});
    ASSERT_TRUE(run.Ended) << run.Output;
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_NE(run.Output.find("zentara.ini not found"), std::string::npos) << run.Output;
}

}  // namespace

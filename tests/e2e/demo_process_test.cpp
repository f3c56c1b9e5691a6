// Whole-program runs: the built executable in a scratch working directory
// with a copy of the asset pack, played by its demo pilot with a fixed seed.
// Frames are unpaced so that a level takes seconds, not half a minute.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& contents) {
    std::ofstream(path, std::ios::binary) << contents;
}

struct ProcessRun {
    int ExitCode = -1;
    std::string Out, Err;

    // "demo: ended after N frames", or -1 when the line is missing.
    long long FramesAtEnd() const {
        std::smatch m;
        static const std::regex ended("demo: ended after ([0-9]+) frames");
        return std::regex_search(Out, m, ended) ? std::stoll(m[1]) : -1;
    }
};

class DemoProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("zentara-e2e-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    void CopyAssets() {
        fs::copy(ZENTARA_ASSETS_DIR, dir_ / "zentara", fs::copy_options::recursive);
    }

    ProcessRun Start(const std::string& arguments) const {
        const std::string command = "cd '" + dir_.string() +
                                    "' && QT_QPA_PLATFORM=offscreen ALSOFT_DRIVERS=null '" +
                                    ZENTARA_EXECUTABLE + "' " + arguments + " >out.txt 2>err.txt";
        ProcessRun run;
        const int status = std::system(command.c_str());
        if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
        run.Out = ReadAll(dir_ / "out.txt");
        run.Err = ReadAll(dir_ / "err.txt");
        return run;
    }

    fs::path dir_;
};

TEST_F(DemoProcess, HelpNamesEveryOption) {
    const ProcessRun run = Start("--help");
    EXPECT_EQ(run.ExitCode, 0);
    for (const char* option : {"--seed", "--demo", "--level", "--frames", "--screenshots",
                               "--every", "--unpaced", "--help"}) {
        EXPECT_NE(run.Out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(Start("--level 2").ExitCode, 2) << "--level without --demo";
    EXPECT_EQ(Start("--frames 0").ExitCode, 2);
}

TEST_F(DemoProcess, AMissingLevelFileFailsBeforeAnyWindowOrFrame) {
    const ProcessRun run = Start("--demo --seed 1 --frames 10 --screenshots shots");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Err.find("Failure"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("zentara.ini not found"), std::string::npos) << run.Err;
    // The demo is set up only once the window stands: nothing of it happened.
    EXPECT_FALSE(fs::exists(dir_ / "shots"));
    EXPECT_EQ(run.Out.find("demo:"), std::string::npos) << run.Out;
}

TEST_F(DemoProcess, FramesEndsTheRunExactlyEvenInTheStory) {
    CopyAssets();
    const ProcessRun run = Start("--demo --seed 4 --unpaced --frames 30");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.FramesAtEnd(), 30) << run.Out;
}

// Width and height stand big-endian in the IHDR chunk right after the
// signature.
void ExpectScreenSizedPng(const fs::path& path) {
    const std::string png = ReadAll(path);
    ASSERT_GE(png.size(), 33u) << path;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << path;
    EXPECT_EQ(png.substr(12, 4), "IHDR") << path;
    auto be32 = [&](size_t at) {
        return (static_cast<uint32_t>(static_cast<uint8_t>(png[at])) << 24) |
               (static_cast<uint32_t>(static_cast<uint8_t>(png[at + 1])) << 16) |
               (static_cast<uint32_t>(static_cast<uint8_t>(png[at + 2])) << 8) |
               static_cast<uint32_t>(static_cast<uint8_t>(png[at + 3]));
    };
    EXPECT_EQ(be32(16), 1024u) << path;
    EXPECT_EQ(be32(20), 768u) << path;
    EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND") << path;
}

TEST_F(DemoProcess, ScreenshotsAreScreenSizedPngsNamedByFrame) {
    CopyAssets();
    const ProcessRun run =
        Start("--demo --seed 3 --unpaced --frames 500 --screenshots shots --every 50");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    std::vector<fs::path> shots;
    for (const auto& entry : fs::directory_iterator(dir_ / "shots")) shots.push_back(entry.path());
    // The story (frames 1 to 60) and the level are watched frame by frame;
    // the intro is caught up on once it is over.
    ASSERT_GE(shots.size(), 4u);
    EXPECT_TRUE(fs::exists(dir_ / "shots" / "frame_000050.png"));
    EXPECT_TRUE(fs::exists(dir_ / "shots" / "frame_000500.png"));
    for (const fs::path& shot : shots) {
        EXPECT_TRUE(std::regex_match(shot.filename().string(), std::regex("frame_[0-9]{6}\\.png")))
            << shot;
        ExpectScreenSizedPng(shot);
    }
}

// Only the level number of the first line may change.
std::string AfterFirstLine(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

TEST_F(DemoProcess, TheDemoWinsLevelOneAndTheLevelFileRecordsIt) {
    CopyAssets();
    const std::string before = ReadAll(dir_ / "zentara" / "zentara.ini");
    const ProcessRun run = Start("--demo --seed 5 --unpaced --frames 3000");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("demo: level 1 won"), std::string::npos) << run.Out;
    const std::string after = ReadAll(dir_ / "zentara" / "zentara.ini");
    EXPECT_EQ(after.substr(0, after.find('\n') + 1), "2 /Level erreicht\r\n");
    EXPECT_EQ(AfterFirstLine(after), AfterFirstLine(before));
}

TEST_F(DemoProcess, WinningTheLastLevelEndsWithTheClosingBanner) {
    fs::create_directories(dir_ / "zentara");
    for (const auto& entry : fs::directory_iterator(ZENTARA_ASSETS_DIR)) {
        if (entry.path().filename() != "zentara.ini") fs::copy(entry.path(), dir_ / "zentara");
    }
    // One level with a low goal; every value followed by "/" as in the pack.
    WriteAll(dir_ / "zentara" / "zentara.ini",
             "1 /Level erreicht\r\n150/\r\n20/\r\n5/\r\n0/\r\n8/\r\n12/\r\n30/\r\n5/\r\n"
             "12000/\r\n4/\r\n16/\r\n-5/\r\n12000/\r\n40/\r\n3/\r\n400/\r\n4/\r\n300/\r\n20/\r\n"
             "-5/\r\n4/\r\n100/\r\n0/\r\n1000/\r\n2/\r\n20/\r\n0/\r\n");
    const ProcessRun run = Start("--demo --seed 6 --unpaced --frames 5000");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("demo: level 1 won"), std::string::npos) << run.Out;
    // It ended by itself, before the frame limit, after the banner's frames.
    const long long frames = run.FramesAtEnd();
    EXPECT_GT(frames, 0) << run.Out;
    EXPECT_LT(frames, 5000) << run.Out;
}

}  // namespace

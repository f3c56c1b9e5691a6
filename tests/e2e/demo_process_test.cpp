// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-program runs: the built executable in a scratch working directory
// with a copy of the asset pack, played by its demo pilot with a fixed seed.
// Frames are unpaced so that a level takes seconds, not half a minute.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/level_files.h"
#include "tests/support/run_process.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using zentara_test::read_file;

namespace {

// "demo: ended after N frames", or -1 when the line is missing.
long long FramesAtEnd(const zentara_test::ProcessRun& run) {
    static const std::string kEnded = "demo: ended after ";
    const size_t at = run.Out.find(kEnded);
    if (at == std::string::npos) return -1;
    std::istringstream rest(run.Out.substr(at + kEnded.size()));
    long long frames = -1;
    std::string word;
    return rest >> frames >> word && word == "frames" ? frames : -1;
}

class DemoProcess : public ::testing::Test {
  protected:
    void CopyAssets() {
        fs::copy(ZENTARA_ASSETS_DIR, dir_ / "zentara", fs::copy_options::recursive);
    }

    zentara_test::ProcessRun Start(const std::string& arguments) const {
        std::istringstream words(arguments);
        std::vector<std::string> argv;
        for (std::string word; words >> word;) argv.push_back(word);
        return zentara_test::run_process(ZENTARA_EXECUTABLE, argv, dir_.string(),
                                         {"QT_QPA_PLATFORM=offscreen", "ALSOFT_DRIVERS=null",
                                          // no player's folder from the real home
                                          "XDG_DATA_HOME=" + (dir_ / "data").string()},
                                         std::chrono::seconds(200));
    }

    zentara_test::TempDir temp_;
    fs::path dir_{temp_.path()};
};

// The parser's answers are tested on their own; here only that they reach
// the exit code and the terminal, and that --scores prints the table.
TEST_F(DemoProcess, HelpAndARefusedOptionReachTheExitCode) {
    const zentara_test::ProcessRun run = Start("--help");
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_NE(run.Out.find("--unpaced"), std::string::npos) << run.Out;
    const zentara_test::ProcessRun bad = Start("--bogus");
    EXPECT_EQ(bad.ExitCode, 2);
    EXPECT_EQ(bad.Err, "zentara: unknown option --bogus\ntry 'zentara --help'\n");
    zentara_test::write_file(dir_ / "best-scores.txt", "3 1200 2024-05-06\n");
    const zentara_test::ProcessRun scores = Start("--scores --data-dir .");
    EXPECT_EQ(scores.ExitCode, 0);
    EXPECT_NE(scores.Out.find("    3     1200  2024-05-06"), std::string::npos) << scores.Out;
}

// It says where it looked and what to do, and fails with exit code 2.
TEST_F(DemoProcess, AMissingLevelFileFailsBeforeAnyWindowOrFrame) {
    const zentara_test::ProcessRun run = Start("--demo --seed 1 --frames 10 --screenshots shots");
    EXPECT_EQ(run.ExitCode, 2);
    for (const std::string& words :
         {std::string("Failure: zentara.ini not found"),
          dir_.string() + " and in " + (dir_ / "data").string(), std::string("--data-dir")})
        EXPECT_NE(run.Err.find(words), std::string::npos) << words << " in: " << run.Err;
    // The demo is set up only once the window stands: nothing of it happened.
    EXPECT_FALSE(fs::exists(dir_ / "shots"));
    EXPECT_EQ(run.Out.find("demo:"), std::string::npos) << run.Out;
}

// The demo wins levels and the level file records the last, changing nothing
// but the level number of its first line; no best score is written unasked;
// --frames ends the run on its frame exactly. Winning is what the recorded
// replays guard; here it is the files the program writes.
TEST_F(DemoProcess, TheDemoWinsLevelsRecordsThemAndLeavesScreenshots) {
    CopyAssets();
    const std::string before = read_file(dir_ / "zentara" / "zentara.ini");
    const zentara_test::ProcessRun run =
        Start("--demo --seed 5 --unpaced --frames 3000 --screenshots shots --every 500");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(FramesAtEnd(run), 3000) << run.Out;
    int won = 0;
    while (run.Out.find("demo: level " + std::to_string(won + 1) + " won") != std::string::npos)
        ++won;
    EXPECT_GE(won, 1) << run.Out;
    const std::string after = read_file(dir_ / "zentara" / "zentara.ini");
    EXPECT_EQ(after.substr(0, after.find('\n') + 1),
              std::to_string(won + 1) + " /Level erreicht\r\n");
    EXPECT_EQ(after.substr(after.find('\n')), before.substr(before.find('\n')));
    EXPECT_FALSE(fs::exists(dir_ / "best-scores.txt"));
    // Kept pictures are named by their frame; their contents are the screen's business.
    for (const char* shot : {"frame_000500.png", "frame_003000.png"}) {
        EXPECT_TRUE(fs::exists(dir_ / "shots" / shot)) << shot;
    }
}

// A level the pilot cannot choose fails the run with the reason. At the
// 32-bit ends of the shield and the damage the pilot's predictions wrap as
// the game's arithmetic does (the sanitizer build runs this too).
TEST_F(DemoProcess, APilotEndsWithItsReasonOrPlaysExtremeValues) {
    CopyAssets();
    const zentara_test::ProcessRun refused = Start("--demo --level 5 --frames 10");
    EXPECT_EQ(refused.ExitCode, 1);
    EXPECT_NE(refused.Err.find("cannot choose Level5: not reached yet"), std::string::npos)
        << refused.Err;
    std::string file = read_file(dir_ / "zentara/zentara.ini");
    file = zentara_test::with_line(file, 3, "1/");  // the shield clears every frame
    file = zentara_test::with_line(file, 8, "2147483647/");
    file = zentara_test::with_line(file, 16, "3/-4/4/5/5/6/6/7/8/9/");
    zentara_test::write_file(dir_ / "zentara/zentara.ini",
                             zentara_test::with_line(file, 28, "2147483647"));
    fs::remove(dir_ / "zentara/kollision.png");
    const zentara_test::ProcessRun run = Start("--demo --seed 3 --unpaced --frames 600");
    EXPECT_EQ(std::pair(run.ExitCode, FramesAtEnd(run)), std::pair(0, 600LL)) << run.Err;
    // Level 1 starts with the findings that concern it, and only those.
    for (const char* told : {"zentara.ini:28: ShieldBase: above 255", "kollision.png: missing"})
        EXPECT_NE(run.Err.find(told), std::string::npos) << run.Err;
    EXPECT_EQ(run.Err.find("(level 2)"), std::string::npos) << run.Err;
}

TEST_F(DemoProcess, WinningTheLastLevelEndsWithTheClosingBanner) {
    fs::create_directories(dir_ / "zentara");
    for (const auto& entry : fs::directory_iterator(ZENTARA_ASSETS_DIR)) {
        if (entry.path().filename() != "zentara.ini") fs::copy(entry.path(), dir_ / "zentara");
    }
    // One level with a low goal; every value followed by "/" as in the pack.
    zentara_test::write_file(
        dir_ / "zentara/zentara.ini",
        zentara_test::level_file(
            1, {"150/", "20/", "5/",  "0/",     "8/",  "12/",   "30/",  "5/",  "12000/",
                "4/",   "16/", "-5/", "12000/", "40/", "3/",    "400/", "4/",  "300/",
                "20/",  "-5/", "4/",  "100/",   "0/",  "1000/", "2/",   "20/", "0/"}));
    const zentara_test::ProcessRun run = Start("--demo --seed 6 --unpaced --frames 5000");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("demo: level 1 won"), std::string::npos) << run.Out;
    // It ended by itself, before the frame limit, after the banner's frames.
    const long long frames = FramesAtEnd(run);
    EXPECT_GT(frames, 0) << run.Out;
    EXPECT_LT(frames, 5000) << run.Out;
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/level_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "game/data/best_scores.h"
#include "tests/game_program/runtime_once.h"
#include "tests/support/temp_dir.h"

namespace {

class LevelFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StartRuntimeOnce();
        std::filesystem::create_directory("zentara");
    }
    void WriteLevelFile(const std::string& contents) { zentara_test::write_file(kPath, contents); }
    std::string LevelFile() const { return zentara_test::read_file(kPath); }

    static constexpr const char* kPath = "zentara/zentara.ini";
    zentara_test::TempDir dir_{true};
};

// The level reached is line one's first word; the level count the "/"s of
// line two's first word (a comment behind the values is harmless).
TEST_F(LevelFileTest, LineOneGivesTheLevelReachedAndLineTwoTheCount) {
    const std::tuple<const char*, int32_t, int32_t> cases[] = {
        {"3 /Level erreicht\r\n500/800/1200/\r\n", 3, 3},
        {"3\n", 3, 0},
        {"\r\n500/800/\r\n", 0, 2},
        {"1 /Level erreicht\r\n500/800/1200/ levels/goal\r\n", 1, 3},
        {"1\n100/250/400\n", 1, 2},
        {nullptr, 0, 0},
    };
    for (const auto& [contents, reached, count] : cases) {
        std::filesystem::remove(kPath);
        if (contents) WriteLevelFile(contents);
        EXPECT_EQ(std::pair(ReadLevelReached(), ReadLevelCount()), std::pair(reached, count))
            << (contents ? contents : "none");
    }
    EXPECT_EQ(ReadLevelParams(2).GoalPoints, 0);  // no file
    WriteLevelFile("1 /Level erreicht\r\n500/800/1200/ levels/goal\r\n");
    EXPECT_EQ(ReadLevelParams(3).GoalPoints, 1200);
    EXPECT_EQ(ReadLevelParams(4).GoalPoints, 0);  // the comment as field 4
}

TEST_F(LevelFileTest, ParamsTakeFieldLThenFieldOneOfTheGlobalLines) {
    std::string contents = "1 /Level erreicht\r\n";
    contents += "500/800/\r\n";              // line 2: GoalPoints
    contents += "$1F/%101/-7/ 12abc/x\r\n";  // line 3: ShieldDecayPeriod
    for (int line = 4; line <= 24; ++line)
        contents += std::to_string(line) + "/" + std::to_string(line * 10) + "/\r\n";
    contents += "2500/99/\r\n";  // line 25: IntroTime, field 1 for every level
    contents += "4/\n";          // 26: ShakeAmplitude (LF only)
    contents += "80\r";          // 27: BaseAlpha (lone CR)
    // line 28 missing
    WriteLevelFile(contents);

    const int32_t expected[] = {31, 5, -7, 12, 0};
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(ReadLevelParams(level).ShieldDecayPeriod, expected[level - 1])
            << "level " << level;
    }
    // Lines 2, 4, 6, 23, 24 at field 2, then field 1 of lines 25 to 28.
    const LevelParams two = ReadLevelParams(2);
    EXPECT_EQ(std::tuple(two.GoalPoints, two.ShieldDecayStep, two.MaxShots, two.EnemyBreakLevel,
                         two.BonusValue),
              std::tuple(800, 40, 60, 230, 240));
    EXPECT_EQ(std::tuple(two.IntroTime, two.ShakeAmplitude, two.BaseAlpha, two.ShieldBase),
              std::tuple(2500, 4, 80, 0));
    EXPECT_EQ(ReadLevelParams(3).GoalPoints, 0);
}

// Each row: the file's first line before (nullptr: no file), the level won's
// successor and the level reached at start-up, the first line after. Only
// line one changes, to every level won that is above what it holds, and
// every later byte and the file's permissions stay.
TEST_F(LevelFileTest, SavingProgressRewritesOnlyLineOne) {
    const std::string rest = "500/800/1200/ goal\r\n1/2/3\nlast\rno end";
    const struct {
        const char* Before;
        int32_t Won, Reached;
        const char* After;
    } cases[] = {
        {"2 /Level erreicht\r\n", 2, 2, "2 /Level erreicht\r\n"},  // nothing new reached
        {"2 /Level erreicht\r\n", 3, 2, "3 /Level erreicht\r\n"},
        {"3 /Level erreicht\r\n", 4, 2, "4 /Level erreicht\r\n"},  // the second won this run
        {"6 /Level erreicht\r\n", 4, 2, "6 /Level erreicht\r\n"},  // another run got further
        {"9\n", 10, 9, "10 /Level erreicht\r\n"},                  // a digit more
        {"7\r", 8, 7, "8 /Level erreicht\r\n"},                    // a lone CR ends the line too
        {"1 /Level erreicht and a long note\r\n", 2, 1, "2 /Level erreicht\r\n"},
        {nullptr, 5, 4, "5 /Level erreicht\r\n"},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(kPath);
        if (c.Before) WriteLevelFile(c.Before + rest);
        chmod(kPath, 0640);  // kept by the save
        SaveLevelReached(c.Won, c.Reached);
        EXPECT_EQ(LevelFile(), c.After + (c.Before ? rest : ""))
            << c.Won << " " << (c.Before ? c.Before : "none");
        struct stat info;
        EXPECT_TRUE(!c.Before || (stat(kPath, &info) == 0 && (info.st_mode & 07777) == 0640));
    }
}

// Saving must never remove a file it did not make, must keep every hard link
// on the same data, and must write the spelling of the name that reading uses.
TEST_F(LevelFileTest, SavingSparesAPlayersFileAndKeepsHardLinks) {
    WriteLevelFile("1 /Level erreicht\r\n100/\r\n");
    zentara_test::write_file("zentara/zentara.ini.tmp", "mine");
    ASSERT_EQ(link(kPath, "zentara/backup.ini"), 0);
    SaveLevelReached(2, 1);
    EXPECT_EQ(zentara_test::read_file("zentara/zentara.ini.tmp"), "mine");
    EXPECT_EQ(LevelFile(), "2 /Level erreicht\r\n100/\r\n");
    EXPECT_EQ(zentara_test::read_file("zentara/backup.ini"), "2 /Level erreicht\r\n100/\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("zentara"),
                            std::filesystem::directory_iterator()),
              3);
}

// The player is told (a message box, and standard error) what, where and why.
TEST_F(LevelFileTest, AFailedSaveTellsThePlayerWhereAndWhy) {
    std::filesystem::create_directory(kPath);  // cannot be read as a file
    testing::internal::CaptureStderr();
    SaveLevelReached(2, 1);
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string where = std::filesystem::current_path().string() + "/" + kPath;
    for (const std::string& words : {std::string("could not save the progress (level 2)"), where,
                                     std::string("Is a directory")})
        EXPECT_NE(said.find(words), std::string::npos) << words << " in: " << said;
    EXPECT_TRUE(std::filesystem::is_directory(kPath));
}

TEST_F(LevelFileTest, SavedProgressIsReadBackAmongSeveralSpellings) {
    for (const char* name : {"zentara/zentara.ini", "zentara/Zentara.ini", "zentara/ZENTARA.INI"}) {
        zentara_test::write_file(name, "1 /Level erreicht\r\n100/\r\n");
    }
    std::filesystem::remove(kPath);  // only variants whose spelling differs are left
    SaveLevelReached(2, 1);
    EXPECT_EQ(ReadLevelReached(), 2);
    EXPECT_FALSE(std::filesystem::exists(kPath)) << "a new spelling was made";
}

// A best score is kept (dated) only when beaten, and the panel's line says
// which; a damaged file is kept aside whole, the readable lines carried over;
// a run that does not keep scores writes nothing.
TEST_F(LevelFileTest, BestScoresAreKeptWhenBeatenAndADamagedFileIsKeptAside) {
    const std::string today = TodayText();
    zentara_test::write_file(BestScoresFile, "2 300 2024-01-02\n");
    const struct {
        int32_t Level, Points;
        std::string Line;
    } games[] = {
        {2, 300, "Best score: 300 on 2024-01-02"},
        {2, 301, "New best score! (before: 300 on 2024-01-02)"},
        {3, -5, "New best score! (the first of this level)"},
    };
    for (const auto& g : games) EXPECT_EQ(NoteLevelScore(g.Level, g.Points), g.Line);
    EXPECT_EQ(zentara_test::read_file(BestScoresFile),
              BestScoresText({{3, -5, today}, {2, 301, today}}));

    const std::string damaged = "2 90 2024-01-02\r\n# old\n2 80 2024-01-02\n1 x 2024-01-02\n";
    zentara_test::write_file(BestScoresFile, damaged);
    KeepBestScores(false);
    EXPECT_EQ(NoteLevelScore(3, 5), "New best score! (the first of this level)");
    EXPECT_EQ(zentara_test::read_file(BestScoresFile), damaged);
    KeepBestScores(true);
    EXPECT_EQ(NoteLevelScore(2, 85), "Best score: 90 on 2024-01-02");
    EXPECT_EQ(zentara_test::read_file(std::string(BestScoresFile) + ".damaged"), damaged);
    EXPECT_EQ(zentara_test::read_file(BestScoresFile), BestScoresText({{2, 90, "2024-01-02"}}));
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The player's progress in zentara/zentara.ini must survive whatever happens
// while it is saved: the process killed at any step, a write that fails, a
// file or folder the player made read-only, a level file that is a symbolic
// link; and a home the game may not make its folder in. Each save runs in a
// child process, so a kill or a resource limit hits only the child; the
// parent then inspects what is left on disk.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>

#include "game/data/game_folder.h"
#include "game/data/level_file.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/rt_files.h"
#include "save_step_hook.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kLevelFile = "zentara/zentara.ini";

// Level 4 reached, and enough parameter lines that the new contents take more
// than one small write.
std::string LevelFileRest() {
    std::string rest;
    for (int line = 2; line <= 28; ++line) {
        for (int level = 1; level <= 30; ++level) rest += std::to_string(line * 100 + level) + "/";
        rest += "\r\n";
    }
    return rest;
}

const std::string kOld = "4 /Level erreicht\r\n" + LevelFileRest();
const std::string kNew = "5 /Level erreicht\r\n" + LevelFileRest();

struct ChildResult {
    bool Killed = false;  // ended by SIGKILL
    int ExitCode = -1;
};

template <class Body>
ChildResult RunInChild(Body body) {
    fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) _exit(body());
    ChildResult result;
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return result;
    result.Killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    if (WIFEXITED(status)) result.ExitCode = WEXITSTATUS(status);
    return result;
}

// Level 4 won with level 4 reached: progress moves to 5. The child answers
// how many file steps the save took.
ChildResult SaveKilledAtStep(int step) {
    return RunInChild([step] {
        ArmSaveStepKill(step);
        SaveLevelReached(5, 4);
        const int steps = DisarmSaveStepKill();
        return steps < 100 ? steps : 100;
    });
}

class ProgressSafety : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        rt_string_init();
        rt_file_init();
    }
    void SetUp() override { fs::create_directory("zentara"); }

    zentara_test::TempDir dir_{true};
};

// Where the level file's bytes live: the file itself, or the final target of
// the links leading to it.
struct Layout {
    const char* Name;
    const char* DataPath;
    void (*Make)();
};

const Layout kLayouts[] = {
    {"plain file", kLevelFile, [] {}},
    {"link chain", "saves/real.ini",
     [] {
         fs::create_directory("saves");
         fs::create_symlink("../saves/middle.ini", kLevelFile);
         fs::create_symlink("real.ini", "saves/middle.ini");
     }},
};

TEST_F(ProgressSafety, AKillAtAnyStepOfASaveLeavesTheOldOrTheNewFileWhole) {
    for (const Layout& layout : kLayouts) {
        SCOPED_TRACE(layout.Name);
        layout.Make();
        zentara_test::write_file(layout.DataPath, kOld);
        const ChildResult whole = SaveKilledAtStep(1000);
        ASSERT_FALSE(whole.Killed);
        const int steps = whole.ExitCode;
        // Read, create the copy, write it, sync it, close it, rename it.
        ASSERT_GE(steps, 6) << "the save no longer goes through the wrapped calls";
        ASSERT_EQ(zentara_test::read_file(layout.DataPath), kNew);

        bool sawNew = false;
        for (int step = 1; step <= steps; ++step) {
            SCOPED_TRACE("killed before step " + std::to_string(step) + " of " +
                         std::to_string(steps));
            zentara_test::write_file(layout.DataPath, kOld);
            ASSERT_TRUE(SaveKilledAtStep(step).Killed);

            const std::string left = zentara_test::read_file(layout.DataPath);
            ASSERT_TRUE(left == kOld || left == kNew)
                << "a torn level file of " << left.size() << " bytes";
            if (step == 1) {
                EXPECT_EQ(left, kOld);
            }
            if (sawNew) {
                EXPECT_EQ(left, kNew) << "the progress went back";
            }
            sawNew = sawNew || left == kNew;
            if (std::string(layout.DataPath) != kLevelFile) {
                EXPECT_TRUE(fs::is_symlink(kLevelFile));
            }

            // The game reads a whole progress line, and the next save completes
            // and tidies what the killed one left behind.
            const int32_t reached = ReadLevelReached();
            EXPECT_TRUE(reached == 4 || reached == 5) << reached;
            EXPECT_EQ(ReadLevelCount(), 30);
            SaveLevelReached(5, 4);
            EXPECT_EQ(zentara_test::read_file(layout.DataPath), kNew);
            for (const auto& entry :
                 fs::directory_iterator(fs::path(layout.DataPath).parent_path())) {
                EXPECT_EQ(entry.path().extension(), ".ini") << "left behind: " << entry.path();
            }
        }
        EXPECT_TRUE(sawNew);
        fs::remove_all("saves");
        fs::remove(kLevelFile);
    }
}

TEST_F(ProgressSafety, AWriteBeyondTheFileSizeLimitKeepsTheOldFile) {
    zentara_test::write_file(kLevelFile, kOld);
    const ChildResult result = RunInChild([] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 3;
        SaveLevelReached(5, 4);
        return 0;
    });
    ASSERT_EQ(result.ExitCode, 0);
    EXPECT_EQ(zentara_test::read_file(kLevelFile), kOld);
    EXPECT_EQ(std::distance(fs::directory_iterator("zentara"), fs::directory_iterator()), 1)
        << "the temporary copy was left";
}

TEST_F(ProgressSafety, AReadOnlyFileIsLeftAndAReadOnlyFolderGetsTheFileRewrittenInPlace) {
    // Root may write anything: the save runs as an ordinary user then.
    chmod(".", 0777);
    struct Case {
        const char* Name;
        mode_t FileMode;
        mode_t FolderMode;
        int32_t Reached;  // what the level file says after the save
    };
    for (const Case& c :
         {Case{"read-only file", 0444, 0777, 4}, Case{"read-only folder", 0666, 0555, 5}}) {
        SCOPED_TRACE(c.Name);
        chmod("zentara", 0777);
        zentara_test::write_file(kLevelFile, kOld);
        chmod(kLevelFile, c.FileMode);
        chmod("zentara", c.FolderMode);
        const ChildResult result = RunInChild([] {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 3;
            SaveLevelReached(5, 4);
            return static_cast<int>(ReadLevelReached());
        });
        EXPECT_EQ(result.ExitCode, c.Reached);
        EXPECT_EQ(zentara_test::read_file(kLevelFile), c.Reached == 4 ? kOld : kNew);
        EXPECT_EQ(std::distance(fs::directory_iterator("zentara"), fs::directory_iterator()), 1);
        struct stat info;
        ASSERT_EQ(stat(kLevelFile, &info), 0);
        EXPECT_EQ(info.st_mode & 0777, c.FileMode);
    }
}

// A home the player may not write: the game says where, why and what to do.
// Started in that home, with zentara/ here as the installed pack.
TEST_F(ProgressSafety, AReadOnlyHomeIsRefusedWithWhereWhyAndWhatToDo) {
    chmod(".", 0755);
    zentara_test::write_file(kLevelFile, kOld);
    fs::create_directory("home");
    chmod("home", 0555);
    const ChildResult result = RunInChild([] {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 3;
        const fs::path pack = fs::current_path() / "zentara";
        fs::current_path("home");
        setenv("HOME", fs::current_path().c_str(), 1);
        unsetenv("XDG_DATA_HOME");
        std::string problem;
        if (EnterGameFolder("", pack, problem)) return 4;
        std::fprintf(stderr, "%s\n", problem.c_str());
        for (const char* words : {"home/.local/share/zentara", "Permission denied", "--data-dir"})
            if (problem.find(words) == std::string::npos) return 5;
        return 0;
    });
    EXPECT_EQ(result.ExitCode, 0);
}

TEST_F(ProgressSafety, ALinkToAMissingFileGetsItsTargetCreatedAndStaysALink) {
    fs::create_directory("saves");
    fs::create_symlink("../saves/real.ini", kLevelFile);
    SaveLevelReached(5, 4);
    EXPECT_TRUE(fs::is_symlink(kLevelFile));
    EXPECT_EQ(zentara_test::read_file("saves/real.ini"), "5 /Level erreicht\r\n");
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// Directory listings of a directory the test makes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/core/rt_core.h"
#include "runtime/files/rt_files.h"
#include "tests/support/temp_dir.h"

using zentara_test::TempDir;

namespace {

std::string take_text(int32_t at) {
    std::string text = rt_strbuf_base() + at;
    rt_strbuf_set_pos(at);
    return text;
}

std::vector<std::string> list(const std::string& directory, const char* pattern) {
    std::vector<std::string> names;
    const int32_t listing = rt_dir_open(-1, directory.c_str(), pattern);
    if (listing == 0) return {"<failed>"};
    while (rt_dir_next(listing)) names.push_back(take_text(rt_dir_entry_name(listing, -1)));
    rt_dir_close(listing);
    return names;
}

using Names = std::vector<std::string>;

class DirListing : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_strbuf_ensure();
        for (const char* name : {"b.png", "A.PNG", "c.Png", "notes.txt", "README", "x.png.bak"}) {
            dir.write(name, "");
        }
        std::filesystem::create_directory(dir / "sub.png");
    }
    TempDir dir;
};

TEST_F(DirListing, MatchesIgnoringCaseInSortedOrder) {
    EXPECT_EQ(list(dir.path(), "*.png"), (Names{"A.PNG", "b.png", "c.Png", "sub.png"}));
    EXPECT_EQ(list(dir.path() + "/", "*.PNG"), (Names{"A.PNG", "b.png", "c.Png", "sub.png"}));
    EXPECT_EQ(list(dir.path() + "\\", "?.png"), (Names{"A.PNG", "b.png", "c.Png"}));
    EXPECT_EQ(list(dir.path(), "*.*"), (Names{".", "..", "A.PNG", "b.png", "c.Png", "notes.txt",
                                              "README", "sub.png", "x.png.bak"}));
    EXPECT_EQ(list(dir.path(), nullptr), list(dir.path(), "*.*"));
    EXPECT_EQ(list(dir.path(), "r*"), (Names{"README"}));
    // The pattern may carry a subdirectory.
    dir.write("sub.png/inner.png", "");
    EXPECT_EQ(list(dir.path(), "SUB.PNG\\*.png"), (Names{"inner.png"}));
}

TEST_F(DirListing, OneMatchThenZeroForEver) {
    const int32_t listing = rt_dir_open(-1, dir.path().c_str(), "*.txt");
    ASSERT_NE(listing, 0);
    EXPECT_EQ(rt_dir_next(listing), 1);
    EXPECT_EQ(take_text(rt_dir_entry_name(listing, -1)), "notes.txt");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(rt_dir_next(listing), 0);
    rt_dir_close(listing);
    EXPECT_EQ(rt_dir_next(listing), 0);
    EXPECT_EQ(take_text(rt_dir_entry_name(listing, -1)), "");
}

TEST_F(DirListing, EmptyAndMissing) {
    const int32_t empty = rt_dir_open(-1, dir.path().c_str(), "*.wav");
    ASSERT_NE(empty, 0);
    EXPECT_EQ(rt_dir_next(empty), 0);
    rt_dir_close(empty);

    EXPECT_EQ(rt_dir_open(-1, (dir / "nowhere").c_str(), "*.png"), 0);
    EXPECT_EQ(rt_dir_open(3, (dir / "nowhere").c_str(), "*.png"), 0);
    EXPECT_EQ(rt_dir_next(3), 0);
    // A very long directory name fails cleanly instead of being cut.
    EXPECT_EQ(rt_dir_open(-1, (dir.path() + "/" + std::string(5000, 'd')).c_str(), "*"), 0);
}

TEST(DirCurrent, EndsInSlash) {
    rt_strbuf_ensure();  // any other folder: the game's folder tests start in one
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path("/");
    EXPECT_EQ(take_text(rt_dir_current(-1)), "/");
    std::filesystem::current_path(previous);
}

}  // namespace

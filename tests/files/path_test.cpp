// SPDX-License-Identifier: GPL-3.0-or-later
// Path resolution shared by every runtime library that opens files by name.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/files/path_platform.h"
#include "tests/support/temp_dir.h"

using zentara_test::TempDir;

namespace {

TEST(ResolvePath, FindsNamesIgnoringCaseAndBackslashes) {
    TempDir dir;
    std::filesystem::create_directory(dir / "zentara");
    dir.write("zentara/shipkugelexplosion.png", "png");

    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    EXPECT_EQ(rt::files::resolve_path("zentara\\shipKugelexplosion.png"),
              "zentara/shipkugelexplosion.png");
    EXPECT_EQ(rt::files::resolve_path("ZENTARA/SHIPKUGELEXPLOSION.PNG"),
              "zentara/shipkugelexplosion.png");
    // Missing names keep their spelling so they can be created.
    EXPECT_EQ(rt::files::resolve_path("Zentara\\New\\File.ini"), "zentara/New/File.ini");
    EXPECT_EQ(rt::files::resolve_path("./zentara/../ZENTARA/a"), "./zentara/../zentara/a");
    std::filesystem::current_path(previous);

    EXPECT_EQ(rt::files::resolve_path((dir.path() + "\\Zentara\\ShipKugelExplosion.PNG").c_str()),
              dir / "zentara/shipkugelexplosion.png");
    EXPECT_EQ(rt::files::resolve_path(nullptr), "");
}

TEST(ResolvePath, ExactSpellingWinsOverOtherCases) {
    TempDir dir;
    dir.write("Name.txt", "upper");
    dir.write("name.txt", "lower");
    EXPECT_EQ(rt::files::resolve_path((dir / "name.txt").c_str()), dir / "name.txt");
    EXPECT_EQ(rt::files::resolve_path((dir / "Name.txt").c_str()), dir / "Name.txt");
    // Neither spelling exists: the first name in sorted order is taken.
    EXPECT_EQ(rt::files::resolve_path((dir / "NAME.TXT").c_str()), dir / "Name.txt");
}

TEST(ReadWholeFile, ReadsEverythingOrFails) {
    TempDir dir;
    std::string bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    dir.write("Blob.bin", bytes);
    std::vector<uint8_t> out;
    ASSERT_TRUE(rt::files::read_whole_file((dir.path() + "\\blob.BIN").c_str(), out));
    EXPECT_EQ(std::string(out.begin(), out.end()), bytes);
    EXPECT_FALSE(rt::files::read_whole_file((dir / "missing").c_str(), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(rt::files::read_whole_file(dir.path().c_str(), out));  // a folder
}

}  // namespace

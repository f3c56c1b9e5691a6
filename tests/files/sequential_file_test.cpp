// SPDX-License-Identifier: GPL-3.0-or-later
// Buffered sequential files: line splitting, state switches between reading
// and writing, and ids.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/rt_core.h"
#include "runtime/files/rt_files.h"
#include "tests/support/temp_dir.h"

using zentara_test::TempDir;

namespace {

class SequentialFile : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_strbuf_ensure();
        rt_file_init();
    }
    void TearDown() override { rt_file_close_all(); }

    // Reads one line and discards the temporary again.
    static std::string line(int32_t file) {
        const int32_t at = rt_file_read_line(file, -1);
        std::string text = rt_strbuf_base() + at;
        rt_strbuf_set_pos(at);
        return text;
    }
    std::vector<std::string> lines(const std::string& bytes, int count) {
        dir.write("f.txt", bytes);
        const int32_t file = rt_file_open_read(-1, (dir / "f.txt").c_str());
        EXPECT_NE(file, 0);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) out.push_back(line(file));
        rt_file_close(file);
        return out;
    }

    TempDir dir;
};

using Lines = std::vector<std::string>;

// CR LF, LF, CR and NUL end lines; a missing last terminator, CR CR as two
// ends, long lines and a CR LF split across the 4096-byte buffer refill.
TEST_F(SequentialFile, SplitsLinesAtEveryLineEnd) {
    const std::string long_line(10000, 'q'), edge(4095, 'e');
    const struct {
        std::string bytes;
        Lines want;
    } cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d", "", ""}},
        {"first\nlast", {"first", "last", ""}},
        {"x\r", {"x", "", ""}},
        {"\n\r\r\nz", {"", "", "", "z"}},
        {std::string("ab\0cd\n", 6), {"ab", "cd", ""}},
        {long_line + "\r\nend", {long_line, "end", ""}},
        {edge + "\r\nnext\r", {edge, "next", ""}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lines(c.bytes, static_cast<int>(c.want.size())), c.want) << c.bytes.substr(0, 12);
}

TEST_F(SequentialFile, WriteKeepsTheRestOfTheFile) {
    dir.write("w.txt", "0123456789");
    const int32_t file = rt_file_open(-1, (dir / "w.txt").c_str());
    ASSERT_NE(file, 0);
    EXPECT_EQ((std::vector{rt_file_write_line(file, "abc"), rt_file_write_line(file, ""),
                           rt_file_write_line(file, nullptr)}),
              (std::vector{5, 2, 2}));  // braces write in order
    rt_file_close(file);
    EXPECT_EQ(dir.read("w.txt"), "abc\r\n\r\n\r\n9");
}

TEST_F(SequentialFile, WriteAfterReadingLandsAfterTheLastLine) {
    dir.write("rw.txt", "one\r\ntwo\r\nthree\r\nfour\r\n");
    const int32_t file = rt_file_open(-1, (dir / "rw.txt").c_str());
    EXPECT_EQ((Lines{line(file), line(file)}), (Lines{"one", "two"}));  // braces read in order
    EXPECT_EQ(rt_file_write_line(file, "THREE"), 7);
    // Reading again flushes the write first and continues behind it.
    EXPECT_EQ((Lines{line(file), line(file)}), (Lines{"four", ""}));
    rt_file_close(file);
    EXPECT_EQ(dir.read("rw.txt"), "one\r\ntwo\r\nTHREE\r\nfour\r\n");
}

TEST_F(SequentialFile, LargeWritesAndCreation) {
    const int32_t file = rt_file_open(-1, (dir / "new.txt").c_str());
    ASSERT_NE(file, 0);
    const std::string big(9000, 'b');
    std::string expected;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(
            (std::pair{rt_file_write_line(file, big.c_str()), rt_file_write_line(file, "small")}),
            std::pair(9002, 7));
        expected += big + "\r\nsmall\r\n";
    }
    rt_file_close_all();
    EXPECT_EQ(dir.read("new.txt"), expected);
}

TEST_F(SequentialFile, IdsAndFailures) {
    const std::string missing = dir / "missing.txt";  // then a directory, nothing and no name
    for (const char* name :
         {missing.c_str(), dir.path().c_str(), "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(rt_file_open_read(-1, name), 0) << (name ? name : "null");
    }

    dir.write("a.txt", "A\n");
    dir.write("b.txt", "B\n");
    const int32_t dynamic = rt_file_open_read(-1, (dir / "a.txt").c_str());
    EXPECT_TRUE(dynamic != 0 && dynamic != -1);
    // A fixed id answers non-zero; re-opening it closes the file it held.
    EXPECT_NE(rt_file_open_read(0, (dir / "a.txt").c_str()), 0);
    EXPECT_NE(rt_file_open_read(0, (dir / "b.txt").c_str()), 0);
    EXPECT_EQ(line(0), "B");
    EXPECT_EQ(line(dynamic), "A");
    rt_file_close(dynamic);
    EXPECT_EQ(line(dynamic), "");  // stale id
    rt_file_close(0);
    EXPECT_EQ(line(0), "");
}

}  // namespace

// Texts handed back by the files and directory calls at result offsets the
// buffer does not have: the result goes where the buffer puts it (as every
// string operation does), never in front of the block or past its end.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/core/rt_core.h"
#include "runtime/files/rt_files.h"
#include "tests/support/temp_dir.h"

using zentara_test::TempDir;

TEST(ResultOffset, FileAndDirectoryTextsStayInsideTheBuffer) {
    rt_strbuf_ensure();
    rt_file_init();
    TempDir dir;
    dir.write("only.txt", "first line\r\n");
    const std::string path = dir / "only.txt";
    struct Producer {
        const char* name;
        std::function<int32_t(int32_t)> produce;
        std::string expected;
    };
    const Producer producers[] = {
        {"read_line",
         [&](int32_t at) {
             const int32_t file = rt_file_open_read(-1, path.c_str());
             const int32_t start = rt_file_read_line(file, at);
             rt_file_close(file);
             return start;
         },
         "first line"},
        {"entry_name",
         [&](int32_t at) {
             const int32_t listing = rt_dir_open(-1, dir.path().c_str(), "*.txt");
             rt_dir_next(listing);
             const int32_t start = rt_dir_entry_name(listing, at);
             rt_dir_close(listing);
             return start;
         },
         "only.txt"},
        {"current", [](int32_t at) { return rt_dir_current(at); }, ""},
    };
    for (const Producer& p : producers) {
        for (int32_t at : {-8, INT32_MIN, 100000, INT32_MAX}) {
            rt_strbuf_set_pos(0);
            rt_strbuf_append("keep");
            const int32_t start = p.produce(at);
            const char* base = rt_strbuf_base();
            // Nothing in front of the fill position was overwritten, and the
            // answer names the text that was written.
            EXPECT_EQ(std::string(base, 4), "keep") << p.name << " " << at;
            ASSERT_GE(start, 0) << p.name << " " << at;
            ASSERT_EQ(start, rt_strbuf_pos() - rt_str_len(base + start)) << p.name << " " << at;
            if (!p.expected.empty()) {
                EXPECT_EQ(std::string(base + start), p.expected) << p.name;
            }
        }
    }
    rt_strbuf_set_pos(0);
}

#include <gtest/gtest.h>

extern "C" int window_header_c_probe(void);

TEST(WindowHeaders, CompileAsC) {
    EXPECT_EQ(window_header_c_probe(), 13101 + 57);
}

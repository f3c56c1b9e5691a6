// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <thread>

#include "runtime/core/rt_core.h"

namespace {

// Runs one producing call at the fill position and hands its text back, the
// way the game's code finishes an expression.
template <typename F>
std::string text_of(F produce) {
    rt_strbuf_ensure();
    int32_t start = rt_strbuf_pos();
    int32_t at = produce(-1);
    EXPECT_EQ(at, start);
    EXPECT_EQ(rt_strbuf_pos(), start + static_cast<int32_t>(std::strlen(rt_strbuf_base() + at)));
    std::string result = rt_strbuf_base() + at;
    rt_strbuf_set_pos(start);
    return result;
}

float float_of_bits(uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

TEST(StringTest, IntegerTexts) {
    auto i = [](int32_t v) { return text_of([&](int32_t o) { return rt_str_from_int(v, o); }); };
    auto q = [](int64_t v) { return text_of([&](int32_t o) { return rt_str_from_quad(v, o); }); };
    EXPECT_EQ(i(0) + " " + i(-5) + " " + i(INT32_MIN) + " " + i(INT32_MAX),
              "0 -5 -2147483648 2147483647");
    EXPECT_EQ(q(2147483648LL), "2147483648");
    EXPECT_EQ(q(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(q(INT64_MAX), "9223372036854775807");
}

TEST(StringTest, FloatTexts) {
    auto f = [](float v, int32_t d) {
        return text_of([&](int32_t o) { return rt_str_from_float(v, d, o); });
    };
    EXPECT_EQ(f(1.5f, 2), "1.50");
    EXPECT_EQ(f(1.5f, -1), "1.500000");
    EXPECT_EQ(f(-0.25f, 0), "-0");
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(f(infinity, 2) + f(-infinity, 2) + f(float_of_bits(0xFFFFFFFFu), 2),
              "+Infinity-InfinityNaN");
    std::string wide = f(1.0f, 600);
    EXPECT_EQ(wide.size(), 2u + 512u);
    EXPECT_EQ(wide.substr(0, 4), "1.00");
    std::string huge = f(-std::numeric_limits<float>::max(), 512);
    EXPECT_EQ(huge.size(), 1u + 39u + 1u + 512u);
}

TEST(StringTest, TextToNumber) {
    // clang-format off
    const std::pair<const char*, int64_t> cases[] = {
        {"  -12abc", -12}, {"\t$ff", 255}, {"$FF", 255}, {"%1012", 5}, {"- 5", 0}, {"+7", 7},
        {"$", 0}, {"", 0}, {nullptr, 0}, {"1e5", 1}, {"\n5", 0},
        {"-9223372036854775808", INT64_MIN}, {"18446744073709551617", 1},  // wraps in 64 bits
        {"$FFFFFFFFFFFFFFFF", -1}};
    // clang-format on
    for (const auto& [text, want] : cases)
        EXPECT_EQ(rt_str_to_quad(text), want) << (text ? text : "null");
}

TEST(StringTest, SlicesFieldsCountsAndEquality) {
    // Left, Right, Mid (start, length) and Field (number, separators).
    const std::tuple<char, const char*, int32_t, int32_t, const char*, const char*> cases[] = {
        {'L', "Hello", 2, 0, "", "He"},  {'L', "Hello", 99, 0, "", "Hello"},
        {'L', "Hello", -1, 0, "", ""},   {'L', nullptr, 3, 0, "", ""},
        {'R', "Hello", 2, 0, "", "lo"},  {'R', "Hello", 99, 0, "", "Hello"},
        {'R', "Hello", -1, 0, "", ""},   {'M', "Hello", 2, 3, "", "ell"},
        {'M', "Hello", 4, 10, "", "lo"}, {'M', "Hello", 6, 1, "", ""},
        {'M', "Hello", 2, -3, "", ""},   {'M', "Hello", INT32_MAX, INT32_MAX, "", ""},
        {'F', "a,b,,c", 0, 0, ",", "a"}, {'F', "a,b,,c", 1, 0, ",", "a"},
        {'F', "a,b,,c", 2, 0, ",", "b"}, {'F', "a,b,,c", 3, 0, ",", ""},
        {'F', "a,b,,c", 4, 0, ",", "c"}, {'F', "a,b,,c", 5, 0, ",", ""},
        {'F', "a,b", 1, 0, "", "a,b"},   {'F', "a,b", 2, 0, "", ""},
        {'F', "x;y", 2, 0, ";;", "y"}};
    for (const auto& [kind, text, a, b, separators, want] : cases) {
        EXPECT_EQ(text_of([&](int32_t o) {
                      return kind == 'L'   ? rt_str_left(text, a, o)
                             : kind == 'R' ? rt_str_right(text, a, o)
                             : kind == 'M' ? rt_str_mid(text, a, b, o)
                                           : rt_str_field(text, a, separators, o);
                  }),
                  want)
            << kind << " " << (text ? text : "null") << " " << a << " " << b;
    }

    // Counted without overlaps; a missing text is empty.
    EXPECT_EQ(std::tuple(rt_str_count("aaaa", "aa"), rt_str_count("aaa", "aa"),
                         rt_str_count("aaa", ""), rt_str_count(nullptr, "a")),
              std::tuple(2, 1, 0, 0));
    EXPECT_EQ(
        std::tuple(rt_str_equal(nullptr, ""), rt_str_equal("Abc", "abc"), rt_str_len(nullptr)),
        std::tuple(1, 0, 0));

    // Windows-1252: accented capitals, Š, Œ, Ž, Ÿ; × and ß stay as they are.
    const char upper[] =
        "AZ\xC0\xC9\xD6\xD7\xD8\xDE\xDF\x8A\x8C\x8E\x9F"
        "1!";
    const char lower[] =
        "az\xE0\xE9\xF6\xD7\xF8\xFE\xDF\x9A\x9C\x9E\xFF"
        "1!";
    EXPECT_EQ(text_of([&](int32_t o) { return rt_str_lower(upper, o); }), lower);
}

TEST(StringTest, ConcatenationAssignmentAndFree) {
    rt_strbuf_ensure();
    int32_t p0 = rt_strbuf_pos();
    rt_strbuf_append("ab");
    rt_str_from_int(12, rt_strbuf_pos());
    EXPECT_STREQ(rt_strbuf_base() + p0, "ab12");

    char* variable = nullptr;
    rt_str_assign(&variable, p0);
    EXPECT_STREQ(variable, "ab12");
    EXPECT_EQ(rt_strbuf_pos(), p0);

    rt_str_assign(&variable, rt_strbuf_pos());  // empty temporary
    ASSERT_NE(variable, nullptr);
    EXPECT_STREQ(variable, "");
    rt_str_free(variable);
    rt_str_free(nullptr);

    // Comparison protocol: close, take the text back with at, compare.
    rt_strbuf_append("Level");
    rt_strbuf_close();
    int32_t p1 = rt_strbuf_pos();
    rt_strbuf_append("Level");
    rt_strbuf_close();
    char* b = rt_strbuf_at(p1);
    char* a = rt_strbuf_at(p0);
    EXPECT_EQ(rt_str_equal(a, b), 1);
    EXPECT_EQ(rt_strbuf_pos(), p0);
}

TEST(StringTest, ArgumentsInTheBufferSurviveItsGrowth) {
    rt_strbuf_ensure();
    int32_t p0 = rt_strbuf_pos();
    // A long temporary at p1, then a function reading it writes its result at
    // the fill position and forces the buffer to grow (and usually move).
    std::string big(40000, 'x');
    big += "TAIL";
    int32_t p1 = rt_strbuf_pos();
    rt_strbuf_append(big.c_str());
    rt_strbuf_close();
    int32_t before = rt_strbuf_pos();
    rt_str_right(rt_strbuf_base() + p1, 4, -1);
    EXPECT_STREQ(rt_strbuf_base() + before, "TAIL");

    // Result at the lower offset, read from above it (outer function writes at p0).
    std::string filler(70000, 'y');
    int32_t p2 = rt_strbuf_pos();
    rt_strbuf_append(filler.c_str());
    rt_strbuf_append("Z");
    rt_str_lower(rt_strbuf_base() + p2, p0);
    EXPECT_EQ(std::strlen(rt_strbuf_base() + p0), filler.size() + 1);
    EXPECT_EQ(rt_strbuf_base()[p0 + filler.size()], 'z');
    // The appended text itself may come from inside the buffer.
    rt_strbuf_set_pos(p0);
    rt_strbuf_append("abc");
    rt_strbuf_append(rt_strbuf_base() + p0);
    EXPECT_STREQ(rt_strbuf_base() + p0, "abcabc");
    rt_strbuf_set_pos(p0);
}

TEST(StringTest, EachThreadHasItsOwnBuffer) {
    rt_strbuf_ensure();
    int32_t p0 = rt_strbuf_pos();
    rt_strbuf_append("main");
    std::thread([] {
        EXPECT_EQ(rt_strbuf_pos(), 0);
        rt_strbuf_append(std::string(100000, 'q').c_str());  // freed when the thread ends
        EXPECT_EQ(rt_strbuf_pos(), 100000);
    }).join();
    EXPECT_STREQ(rt_strbuf_base() + p0, "main");
    rt_strbuf_set_pos(p0);
}

}  // namespace

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
    EXPECT_EQ(i(0), "0");
    EXPECT_EQ(i(-5), "-5");
    EXPECT_EQ(i(INT32_MIN), "-2147483648");
    EXPECT_EQ(i(INT32_MAX), "2147483647");
    EXPECT_EQ(q(2147483648LL), "2147483648");
    EXPECT_EQ(q(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(q(INT64_MAX), "9223372036854775807");
    for (int32_t v : {0, 7, -1, 1000, INT32_MIN, INT32_MAX}) EXPECT_EQ(q(v), i(v));
}

TEST(StringTest, FloatTexts) {
    auto f = [](float v, int32_t d) {
        return text_of([&](int32_t o) { return rt_str_from_float(v, d, o); });
    };
    EXPECT_EQ(f(1.5f, 2), "1.50");
    EXPECT_EQ(f(1.5f, -1), "1.500000");
    EXPECT_EQ(f(-0.25f, 0), "-0");
    EXPECT_EQ(f(std::numeric_limits<float>::infinity(), 2), "+Infinity");
    EXPECT_EQ(f(-std::numeric_limits<float>::infinity(), 2), "-Infinity");
    EXPECT_EQ(f(float_of_bits(0xFFFFFFFFu), 2), "NaN");
    std::string wide = f(1.0f, 600);
    EXPECT_EQ(wide.size(), 2u + 512u);
    EXPECT_EQ(wide.substr(0, 4), "1.00");
    std::string huge = f(-std::numeric_limits<float>::max(), 512);
    EXPECT_EQ(huge.size(), 1u + 39u + 1u + 512u);
}

TEST(StringTest, TextToNumber) {
    EXPECT_EQ(rt_str_to_quad("  -12abc"), -12);
    EXPECT_EQ(rt_str_to_quad("\t$ff"), 255);
    EXPECT_EQ(rt_str_to_quad("$FF"), 255);
    EXPECT_EQ(rt_str_to_quad("%1012"), 5);
    EXPECT_EQ(rt_str_to_quad("- 5"), 0);
    EXPECT_EQ(rt_str_to_quad("+7"), 7);
    EXPECT_EQ(rt_str_to_quad("$"), 0);
    EXPECT_EQ(rt_str_to_quad(""), 0);
    EXPECT_EQ(rt_str_to_quad(nullptr), 0);
    EXPECT_EQ(rt_str_to_quad("1e5"), 1);
    EXPECT_EQ(rt_str_to_quad("\n5"), 0);
    EXPECT_EQ(rt_str_to_quad("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(rt_str_to_quad("18446744073709551617"), 1);  // wraps in 64 bits
    EXPECT_EQ(rt_str_to_quad("$FFFFFFFFFFFFFFFF"), -1);
}

TEST(StringTest, Slices) {
    auto left = [](const char* t, int32_t n) {
        return text_of([&](int32_t o) { return rt_str_left(t, n, o); });
    };
    auto right = [](const char* t, int32_t n) {
        return text_of([&](int32_t o) { return rt_str_right(t, n, o); });
    };
    auto mid = [](const char* t, int32_t s, int32_t n) {
        return text_of([&](int32_t o) { return rt_str_mid(t, s, n, o); });
    };
    EXPECT_EQ(left("Hello", 2), "He");
    EXPECT_EQ(left("Hello", 99), "Hello");
    EXPECT_EQ(left("Hello", -1), "");
    EXPECT_EQ(left(nullptr, 3), "");
    EXPECT_EQ(right("Hello", 2), "lo");
    EXPECT_EQ(right("Hello", 99), "Hello");
    EXPECT_EQ(right("Hello", -1), "");
    EXPECT_EQ(mid("Hello", 0, 2), "He");
    EXPECT_EQ(mid("Hello", 2, 3), "ell");
    EXPECT_EQ(mid("Hello", 4, 10), "lo");
    EXPECT_EQ(mid("Hello", 6, 1), "");
    EXPECT_EQ(mid("Hello", 2, -3), "");
    EXPECT_EQ(mid("Hello", INT32_MAX, INT32_MAX), "");
}

TEST(StringTest, FieldsCountsEqualityAndCase) {
    auto field = [](const char* t, int32_t i, const char* sep) {
        return text_of([&](int32_t o) { return rt_str_field(t, i, sep, o); });
    };
    EXPECT_EQ(field("a,b,,c", 1, ","), "a");
    EXPECT_EQ(field("a,b,,c", 2, ","), "b");
    EXPECT_EQ(field("a,b,,c", 3, ","), "");
    EXPECT_EQ(field("a,b,,c", 4, ","), "c");
    EXPECT_EQ(field("a,b,,c", 5, ","), "");
    EXPECT_EQ(field("a,b,,c", 0, ","), "a");
    EXPECT_EQ(field("a,b", 1, ""), "a,b");
    EXPECT_EQ(field("a,b", 2, ""), "");
    EXPECT_EQ(field("x;y", 2, ";;"), "y");

    EXPECT_EQ(rt_str_count("aaaa", "aa"), 2);
    EXPECT_EQ(rt_str_count("aaa", "aa"), 1);
    EXPECT_EQ(rt_str_count("abcabc", "bc"), 2);
    EXPECT_EQ(rt_str_count("aaa", ""), 0);
    EXPECT_EQ(rt_str_count(nullptr, "a"), 0);

    EXPECT_EQ(rt_str_equal(nullptr, ""), 1);
    EXPECT_EQ(rt_str_equal("Abc", "abc"), 0);
    EXPECT_EQ(rt_str_equal("abc", "abc"), 1);
    EXPECT_EQ(rt_str_len(nullptr), 0);
    EXPECT_EQ(rt_str_len("four"), 4);

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

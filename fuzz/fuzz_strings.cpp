// SPDX-License-Identifier: GPL-3.0-or-later
// The string operations the game applies to the level file's lines and to
// directory entry names: fields, substrings, counting and number parsing. Each
// result is compared with a plain std::string model, once for a source text of
// its own and once for a source lying inside the temporary buffer (where the
// result may overwrite its own source and the buffer may move under it).
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_common.h"
#include "runtime/core/rt_core.h"

namespace {

std::string ModelMid(const std::string& text, int32_t start, int32_t length) {
    const int64_t from = std::max<int64_t>(start, 1) - 1;
    if (from >= static_cast<int64_t>(text.size()) || length <= 0) return "";
    return text.substr(static_cast<size_t>(from), static_cast<size_t>(length));
}

std::string ModelField(const std::string& text, int32_t index, char separator) {
    if (index < 1) index = 1;
    if (separator == '\0') return index == 1 ? text : "";
    int32_t field = 1;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find(separator, begin);
        if (field == index)
            return text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        if (end == std::string::npos) return "";
        ++field;
        begin = end + 1;
    }
}

int32_t ModelCount(const std::string& text, const std::string& pattern) {
    if (text.empty() || pattern.empty()) return 0;
    int32_t count = 0;
    for (size_t at = text.find(pattern); at != std::string::npos;
         at = text.find(pattern, at + pattern.size())) {
        ++count;
    }
    return count;
}

// The result of a producing call made at the fill position, copied out.
template <class Produce>
std::string Result(Produce produce) {
    const int32_t start = rt_strbuf_pos();
    const int32_t at = produce(start);
    std::string text(rt_strbuf_base() + at);
    rt_strbuf_set_pos(start);
    return text;
}

// The same call with its source first copied into the buffer; the result is
// written over the copy (offset = the copy's start).
template <class Produce>
std::string ResultFromBuffer(const std::string& source, Produce produce) {
    const int32_t start = rt_strbuf_pos();
    rt_strbuf_append(source.c_str());
    rt_strbuf_close();
    const int32_t at = produce(rt_strbuf_base() + start, start);
    std::string text(rt_strbuf_base() + at);
    rt_strbuf_set_pos(start);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rt_string_init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const int32_t first = input.TakeInt32();
    const int32_t second = input.TakeInt32();
    const char separator[2] = {static_cast<char>(input.TakeByte()), '\0'};
    const size_t patternLength = input.TakeByte() % 4;
    const std::string text = input.TakeText();
    const std::string pattern = text.substr(0, std::min(patternLength, text.size()));

    const std::string mid = ModelMid(text, first, second);
    FUZZ_CHECK(Result([&](int32_t at) { return rt_str_mid(text.c_str(), first, second, at); }) ==
               mid);
    FUZZ_CHECK(ResultFromBuffer(text, [&](const char* source, int32_t at) {
                   return rt_str_mid(source, first, second, at);
               }) == mid);

    const std::string field = ModelField(text, first, separator[0]);
    FUZZ_CHECK(Result([&](int32_t at) {
                   return rt_str_field(text.c_str(), first, separator, at);
               }) == field);
    FUZZ_CHECK(ResultFromBuffer(text, [&](const char* source, int32_t at) {
                   return rt_str_field(source, first, separator, at);
               }) == field);

    FUZZ_CHECK(rt_str_count(text.c_str(), pattern.c_str()) == ModelCount(text, pattern));
    FUZZ_CHECK(rt_str_count(text.c_str(), separator) == ModelCount(text, separator));

    // The level file's values: any text parses to some number without a
    // fault; a plain decimal that fits 64 bits parses to its value.
    const int64_t value = rt_str_to_quad(field.c_str());
    const size_t signLength = !field.empty() && field[0] == '-' ? 1 : 0;
    const bool plainDecimal =
        field.size() > signLength && field.size() - signLength <= 18 &&
        field.find_first_not_of("0123456789", signLength) == std::string::npos;
    if (plainDecimal) FUZZ_CHECK(value == std::stoll(field));
    rt_str_to_quad(text.c_str());
    return 0;
}

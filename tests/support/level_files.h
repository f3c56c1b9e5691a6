// SPDX-License-Identifier: GPL-3.0-or-later
// Level files for tests: line one holds the level reached, every later line
// one row of values, each ended with CR LF as in the shipped pack.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

namespace zentara_test {

inline std::string level_file(int32_t reached, std::initializer_list<std::string> rows) {
    std::string text = std::to_string(reached) + " /Level erreicht\r\n";
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}

// The same text with line `line` (1-based) replaced by `row`.
inline std::string with_line(const std::string& text, int32_t line, const std::string& row) {
    size_t begin = 0;
    for (int32_t at = 1; at < line; ++at) begin = text.find('\n', begin) + 1;
    return text.substr(0, begin) + row + "\r" + text.substr(text.find('\n', begin));
}

}  // namespace zentara_test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/files/name_match.h"

namespace rt::files {
namespace {

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Greedy matching with one backtrack point (the last "*" seen): linear in
// practice and never recursive, so hostile patterns cannot blow the stack.
bool match_plain(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// As on Windows, a pattern ending in ".*" also takes names without any dot,
// so "*.*" lists everything.
bool wildcard_match(std::string_view pattern, std::string_view name) {
    if (match_plain(pattern, name)) return true;
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos) {
        return match_plain(pattern.substr(0, pattern.size() - 2), name);
    }
    return false;
}

}  // namespace rt::files

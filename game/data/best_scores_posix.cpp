// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>

#include "game/data/best_scores.h"

std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&now, &local) != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

std::string KeepAside(const std::string& path) {
    for (int number = 1; number < 1000; ++number) {
        std::string aside = path + ".damaged";
        if (number > 1) aside.append("-").append(std::to_string(number));
        struct stat info;
        if (lstat(aside.c_str(), &info) == 0) continue;  // an earlier one, kept too
        return std::rename(path.c_str(), aside.c_str()) == 0 ? aside : std::string();
    }
    errno = EEXIST;
    return {};
}

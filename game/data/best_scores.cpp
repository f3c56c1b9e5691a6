// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/best_scores.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "game/core/runtime_text.h"
#include "game/data/level_file_posix.h"
#include "game/data/player_notice.h"
#include "runtime/files/rt_files.h"

namespace {

bool keepScores = true;

bool ParseNumber(const std::string& word, int32_t& value) {
    const char* end = word.data() + word.size();
    const auto [at, error] = std::from_chars(word.data(), end, value);
    return error == std::errc() && at == end;
}

bool IsDate(const std::string& word) {
    if (word.size() != 10 || word[4] != '-' || word[7] != '-') return false;
    return std::all_of(word.begin(), word.end(),
                       [](char c) { return c == '-' || (c >= '0' && c <= '9'); });
}

void SortByLevel(std::vector<BestScore>& scores) {
    std::sort(scores.begin(), scores.end(),
              [](const BestScore& a, const BestScore& b) { return a.Level < b.Level; });
}

std::string Scored(const BestScore& score) {
    return std::to_string(score.Points) + (score.Date.empty() ? "" : " on " + score.Date);
}

// What loading the file left to do: a file kept aside must be replaced by one
// with the scores that could be read; one that cannot be read, or kept
// aside, is never written over.
enum class Loaded { Fine, KeptAside, Untouchable };

// The file's scores; a damaged file is reported, and kept aside when this run
// writes the file.
Loaded LoadScores(const std::string& path, std::vector<BestScore>& scores) {
    std::string text;
    switch (ReadWholeFile(path, text)) {
        case FileRead::Missing:
            return Loaded::Fine;
        case FileRead::Failed:
            TellPlayer("could not read the best scores in " + path + ": " + std::strerror(errno));
            return Loaded::Untouchable;
        case FileRead::Ok:
            break;
    }
    std::string problem;
    if (ParseBestScores(text, scores, problem)) return Loaded::Fine;
    const std::string what = "the best scores in " + path + " are damaged (" + problem + ")";
    if (!keepScores) {
        TellPlayer(what + "; the file is left as it is");
        return Loaded::Untouchable;
    }
    const std::string aside = KeepAside(path);
    if (aside.empty()) {
        TellPlayer(what + " and could not be kept aside: " + std::strerror(errno));
        return Loaded::Untouchable;
    }
    TellPlayer(what + "; the file is kept as " + aside + " and a new one started with the " +
               std::to_string(scores.size()) + " scores that could be read");
    return Loaded::KeptAside;
}

}  // namespace

std::string BestScoresText(std::vector<BestScore> scores) {
    SortByLevel(scores);
    std::string text = "# Zentara best scores: level, points, date\n";
    for (const BestScore& score : scores) {
        text += std::to_string(score.Level) + " " + std::to_string(score.Points) + " " +
                score.Date + "\n";
    }
    return text;
}

bool ParseBestScores(const std::string& text, std::vector<BestScore>& scores,
                     std::string& problem) {
    std::istringstream lines(text);
    int32_t number = 0;
    for (std::string line; std::getline(lines, line);) {
        number += 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string level, points, date, rest;
        if (!(words >> level) || level.front() == '#') continue;
        BestScore score;
        const bool good = words >> points >> date && !(words >> rest) &&
                          ParseNumber(level, score.Level) && score.Level >= 1 &&
                          ParseNumber(points, score.Points) && IsDate(date);
        const bool twice = good && std::any_of(scores.begin(), scores.end(), [&](const auto& s) {
                               return s.Level == score.Level;
                           });
        if (good && !twice) {
            score.Date = date;
            scores.push_back(score);
        } else if (problem.empty()) {
            problem = "line " + std::to_string(number) + ": " +
                      (twice ? "level " + level + " a second time" : "\"" + line + "\"");
        }
    }
    return problem.empty();
}

std::string BestScoreLine(const std::optional<BestScore>& before, int32_t points) {
    if (!before) return "New best score! (the first of this level)";
    if (points > before->Points) return "New best score! (before: " + Scored(*before) + ")";
    return "Best score: " + Scored(*before);
}

void KeepBestScores(bool keep) {
    keepScores = keep;
}

std::string NoteLevelScore(int32_t level, int32_t points) {
    const std::string path =
        TakeRuntimeText([](int32_t at) { rt_dir_current(at); }) + BestScoresFile;
    std::vector<BestScore> scores;
    const Loaded loaded = LoadScores(path, scores);
    auto mine = std::find_if(scores.begin(), scores.end(),
                             [&](const BestScore& s) { return s.Level == level; });
    const std::optional<BestScore> before =
        mine == scores.end() ? std::nullopt : std::optional<BestScore>(*mine);
    const bool beaten = !before || points > before->Points;
    if (beaten) {
        if (mine == scores.end()) mine = scores.insert(scores.end(), BestScore{level, 0, ""});
        mine->Points = points;
        mine->Date = TodayText();
    }
    const bool write = beaten || loaded == Loaded::KeptAside;
    if (keepScores && loaded != Loaded::Untouchable && write &&
        !ReplaceFileContents(path, BestScoresText(scores))) {
        TellPlayer("could not save the best score of level " + std::to_string(level) + " in " +
                   path + ": " + std::strerror(errno));
    }
    return BestScoreLine(before, points);
}

int PrintBestScores(const std::string& folder) {
    std::error_code error;
    const std::string path = std::filesystem::absolute(folder, error) / BestScoresFile;
    std::string text;
    std::vector<BestScore> scores;
    std::string problem;
    const FileRead read = ReadWholeFile(path, text);
    if (read == FileRead::Failed) problem = std::strerror(errno);
    if (read == FileRead::Ok) ParseBestScores(text, scores, problem);
    if (!problem.empty()) {
        std::fprintf(stderr, "zentara: the best scores in %s cannot all be read (%s)\n",
                     path.c_str(), problem.c_str());
    }
    SortByLevel(scores);
    if (scores.empty()) {
        std::printf("No best scores yet in %s\n", path.c_str());
    } else {
        std::printf("Best scores in %s\n%5s %8s  %s\n", path.c_str(), "Level", "Points", "Date");
        for (const BestScore& score : scores) {
            std::printf("%5d %8d  %s\n", score.Level, score.Points, score.Date.c_str());
        }
    }
    return problem.empty() ? 0 : 1;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Command-line options of the program. Without any, the game runs as usual.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct ProgramOptions {
    bool Help = false;              // --help: print the usage text and end
    bool Version = false;           // --version: print the program's version and end
    std::optional<uint32_t> Seed;   // --seed N: fixed seed of the main thread's generator
    bool Demo = false;              // --demo: the built-in pilot plays
    int32_t Level = 1;              // --level N: the level the pilot chooses (with --demo)
    std::optional<int64_t> Frames;  // --frames N: end after N presented frames
    std::string ScreenshotDir;      // --screenshots DIR: write frames as PNG files there
    int32_t Every = 60;             // --every K: every K-th presented frame is written
    bool Unpaced = false;           // --unpaced: present frames as fast as they are drawn
    std::string DataDir;            // --data-dir DIR: the game folder, instead of searching
    bool Check = false;             // --check [folder]: check a level folder and end
    std::string CheckFolder;        // the folder given after --check, empty for the default
    bool Fullscreen = false;        // --fullscreen: start in full screen
    std::string Record;             // --record FILE: record the run into FILE
    std::string Replay;             // --replay FILE: play the run recorded in FILE
    bool Scores = false;            // --scores: print the best scores and end
    bool SaveScores = false;        // --save-scores: a demo or replay keeps best scores too
};

// Parses argv[1..argc-1]. Every path given is made absolute from the current
// directory (the folder the program was started in). Answers false and sets
// `error` on an unknown option, a missing or bad value or a stray argument.
bool ParseOptions(int argc, const char* const* argv, ProgramOptions& options, std::string& error);

// The text printed by --help.
std::string OptionsUsage(const char* program);

// The two lines printed for a refused command line: the reason, then where
// to find the usage.
std::string OptionErrorText(const char* program, const std::string& error);

// The text printed by --version.
std::string VersionText(const char* program);

// Command-line options of the program. Without any, the game runs as usual.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct ProgramOptions {
    bool Help = false;
    std::optional<uint32_t> Seed;   // --seed N: fixed seed of the main thread's generator
    bool Demo = false;              // --demo: the built-in pilot plays
    int32_t Level = 1;              // --level N: the level the pilot chooses (with --demo)
    std::optional<int64_t> Frames;  // --frames N: end after N presented frames
    std::string ScreenshotDir;      // --screenshots DIR: write frames as PNG files there
    int32_t Every = 60;             // --every K: every K-th presented frame is written
    bool Unpaced = false;           // --unpaced: present frames as fast as they are drawn
    bool Check = false;             // --check [folder]: check a game folder and exit
    std::string CheckFolder = ".";  // the folder that holds zentara/
};

// Parses argv[1..argc-1]. Answers false and sets `error` on an unknown option
// or a bad value.
bool ParseOptions(int argc, const char* const* argv, ProgramOptions& options, std::string& error);

// The text printed by --help.
std::string OptionsUsage(const char* program);

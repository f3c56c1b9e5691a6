// Command-line options of the program. Without any, the game runs as usual.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

struct ProgramOptions {
    bool Help = false;
    std::optional<uint32_t> Seed;  // --seed N: fixed seed of the main thread's generator
};

// Parses argv[1..argc-1]. Answers false and sets `error` on an unknown option
// or a bad value.
bool ParseOptions(int argc, const char* const* argv, ProgramOptions& options, std::string& error);

// The text printed by --help.
std::string OptionsUsage(const char* program);

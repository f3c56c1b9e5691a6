// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/program/options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

bool Parse(std::vector<const char*> args, ProgramOptions& options, std::string& error) {
    args.insert(args.begin(), "zentara");
    return ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

struct Accepted {
    std::vector<const char*> args;
    std::function<bool(const ProgramOptions&)> holds;
};

// The options the whole-program runs (tests/e2e, tests/replays) use are left
// to them: --seed, --help, --frames, --unpaced, --screenshots, --every, --data-dir.
TEST(Options, EveryOptionLandsInItsField) {
    const std::vector<Accepted> cases = {
        {{},
         [](const ProgramOptions& o) { return !o.Seed && !o.Help && !o.Check && !o.Fullscreen; }},
        {{"--seed", "-1"}, [](const ProgramOptions& o) { return o.Seed == 0xFFFFFFFFu; }},
        {{"-h"}, [](const ProgramOptions& o) { return o.Help; }},
        {{"--version"}, [](const ProgramOptions& o) { return o.Version; }},
        {{"--demo", "--level", "3"},
         [](const ProgramOptions& o) { return o.Demo && o.Level == 3; }},
        {{"--check"}, [](const ProgramOptions& o) { return o.Check && o.CheckFolder.empty(); }},
        // Every path from the folder the program was started in.
        {{"--check", "c", "--data-dir", "d", "--screenshots", "s", "--record", "r"},
         [](const ProgramOptions& o) {
             const std::string here = std::filesystem::current_path().string() + "/";
             return o.CheckFolder == here + "c" && o.DataDir == here + "d" &&
                    o.ScreenshotDir == here + "s" && o.Record == here + "r";
         }},
        {{"--fullscreen"}, [](const ProgramOptions& o) { return o.Fullscreen; }},
    };
    for (const Accepted& c : cases) {
        ProgramOptions options;
        std::string error;
        EXPECT_TRUE(Parse(c.args, options, error)) << c.args.size() << " arguments: " << error;
        EXPECT_TRUE(c.holds(options)) << (c.args.empty() ? "none" : c.args.front());
    }
}

// Each refusal names what was wrong (an unknown option is the e2e test's).
TEST(Options, MistakesAreRefusedWithTheirReason) {
    const std::vector<std::pair<std::vector<const char*>, const char*>> cases = {
        {{"--seed"}, "--seed"},
        {{"--seed", "12x"}, "--seed"},
        {{"--seed", "99999999999"}, "--seed"},
        {{"--level", "2"}, "--demo"},
        {{"--demo", "--level", "1000"}, "--level"},
        {{"--demo", "--level", "0"}, "--level"},
        {{"--frames", "0"}, "--frames"},
        {{"--every", "5"}, "--screenshots"},
        {{"--screenshots", ""}, "--screenshots"},
        {{"--data-dir"}, "--data-dir"},
        {{"stray"}, "stray"},
        {{"--check", "a", "b"}, "b"},
        {{"--save-scores"}, "--demo"},
    };
    for (const auto& [args, reason] : cases) {
        ProgramOptions options;
        std::string error;
        EXPECT_FALSE(Parse(args, options, error)) << args.front();
        EXPECT_NE(error.find(reason), std::string::npos) << args.front() << ": " << error;
    }
    for (const char* option :
         {"--seed N", "--demo", "--level", "--frames", "--screenshots", "--every", "--unpaced",
          "--data-dir DIR", "--check [folder]", "--fullscreen", "--version", "--help"}) {
        EXPECT_NE(OptionsUsage("zentara").find(option), std::string::npos) << option;
    }
}

}  // namespace

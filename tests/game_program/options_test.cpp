#include <gtest/gtest.h>

#include "game/options.h"

namespace {

bool Parse(std::initializer_list<const char*> args, ProgramOptions& options, std::string& error) {
    std::vector<const char*> argv{"zentara"};
    argv.insert(argv.end(), args);
    return ParseOptions(static_cast<int>(argv.size()), argv.data(), options, error);
}

TEST(Options, SeedAndHelpAreRecognisedAndMistakesRefused) {
    ProgramOptions options;
    std::string error;
    EXPECT_TRUE(Parse({}, options, error));
    EXPECT_FALSE(options.Seed.has_value());
    EXPECT_FALSE(options.Help);

    EXPECT_TRUE(Parse({"--seed", "42"}, options, error));
    EXPECT_EQ(options.Seed, 42u);
    EXPECT_TRUE(Parse({"--seed", "-1"}, options, error));
    EXPECT_EQ(options.Seed, 0xFFFFFFFFu);
    EXPECT_TRUE(Parse({"--help"}, options, error));
    EXPECT_TRUE(options.Help);
    // --check takes an optional folder, the current one by default.
    ProgramOptions check;
    EXPECT_TRUE(Parse({"--check", "--seed", "1"}, check, error));
    EXPECT_TRUE(check.Check);
    EXPECT_EQ(check.CheckFolder, ".");
    EXPECT_TRUE(Parse({"--check", "mods/big"}, check, error));
    EXPECT_EQ(check.CheckFolder, "mods/big");

    ProgramOptions bad;
    EXPECT_FALSE(Parse({"--seed"}, bad, error));
    EXPECT_FALSE(Parse({"--seed", "12x"}, bad, error));
    EXPECT_FALSE(Parse({"--seed", "99999999999"}, bad, error));
    EXPECT_FALSE(Parse({"--fast"}, bad, error));
    EXPECT_NE(error.find("--fast"), std::string::npos);
    EXPECT_NE(OptionsUsage("zentara").find("--seed N"), std::string::npos);
}

}  // namespace

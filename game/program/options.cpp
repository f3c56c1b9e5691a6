// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/program/options.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "game/data/level_file.h"

#ifndef ZENTARA_VERSION
#define ZENTARA_VERSION "unknown"
#endif

namespace {

// A whole number from `lowest` to `highest`.
bool ParseCount(const std::string& text, long long lowest, long long highest, long long& count) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < lowest || value > highest) return false;
    count = value;
    return true;
}

std::string Text(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

// The options with a value, and what a bad value is told.
struct ValueOption {
    const char* name;
    const char* valueName;
    const char* refusal;
};
constexpr ValueOption kValueOptions[] = {
    {"seed", "N", "--seed needs a whole number"},
    {"level", "N", "--level needs a level number from 1 to 999"},
    {"frames", "N", "--frames needs a number of frames above 0"},
    {"every", "K", "--every needs a number of frames above 0"},
    {"screenshots", "DIR", "--screenshots needs a folder"},
    {"data-dir", "DIR", "--data-dir needs a folder"},
    {"record", "FILE", "--record needs a file"},
    {"replay", "FILE", "--replay needs a file"},
};
constexpr const char* kFlags[] = {"help",  "version", "demo",        "unpaced",
                                  "check", "scores",  "save-scores", "fullscreen"};

void DefineOptions(QCommandLineParser& parser) {
    for (const ValueOption& option : kValueOptions) {
        parser.addOption(QCommandLineOption(option.name, QString(), option.valueName));
    }
    for (const char* flag : kFlags) parser.addOption(QCommandLineOption(flag));
    parser.addOption(QCommandLineOption("h"));
    parser.addPositionalArgument("folder", QString(), "[folder]");
}

// The parser names unknown options without their dashes.
std::string UnknownOption(const QCommandLineParser& parser) {
    const QString name = parser.unknownOptionNames().value(0);
    return "unknown option " + std::string(name.size() == 1 ? "-" : "--") + Text(name);
}

// Every path on the command line is named from the folder the program was
// started in, whatever folder the game enters before it uses the path.
std::string FromStartFolder(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error || path.empty() ? path : absolute.string();
}

// Stores one option's value; false when it is out of range.
bool StoreValue(const std::string& name, const std::string& value, ProgramOptions& options) {
    long long count = 0;
    if (name == "seed") {
        // Negative values wrap, so any seed a user may have noted from
        // elsewhere is accepted.
        if (!ParseCount(value, INT32_MIN, UINT32_MAX, count)) return false;
        options.Seed = static_cast<uint32_t>(count);
    } else if (name == "level") {
        if (!ParseCount(value, 1, MaxMenuLevels, count)) return false;
        options.Level = static_cast<int32_t>(count);
    } else if (name == "frames") {
        if (!ParseCount(value, 1, INT64_MAX, count)) return false;
        options.Frames = count;
    } else if (name == "every") {
        if (!ParseCount(value, 1, INT32_MAX, count)) return false;
        options.Every = static_cast<int32_t>(count);
    } else if (name == "screenshots") {
        options.ScreenshotDir = FromStartFolder(value);
    } else if (name == "record" || name == "replay") {
        (name == "record" ? options.Record : options.Replay) = FromStartFolder(value);
    } else {
        options.DataDir = FromStartFolder(value);
    }
    return !value.empty();
}

// Options that only make sense together, and the folder that only --check takes.
bool CheckCombinations(const QCommandLineParser& parser, ProgramOptions& options,
                       std::string& error) {
    const QStringList rest = parser.positionalArguments();
    if (parser.isSet("level") && !options.Demo) {
        error = "--level chooses the demo's level and needs --demo";
    } else if (parser.isSet("every") && options.ScreenshotDir.empty()) {
        error = "--every needs --screenshots";
    } else if (!options.Replay.empty() &&
               (options.Demo || options.Seed || !options.Record.empty())) {
        // Every input and the seed come from the recording.
        error = "--replay cannot be combined with --demo, --seed or --record";
    } else if (options.SaveScores && !options.Demo && options.Replay.empty()) {
        error = "--save-scores is for --demo and --replay (a player's game always keeps them)";
    } else if (!rest.isEmpty() && (!options.Check || rest.size() > 1)) {
        error = "unexpected argument " + Text(rest.value(options.Check ? 1 : 0));
    } else {
        if (!rest.isEmpty()) options.CheckFolder = FromStartFolder(Text(rest.front()));
        return true;
    }
    return false;
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, ProgramOptions& options, std::string& error) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    DefineOptions(parser);
    if (!parser.parse(arguments)) {
        error = parser.unknownOptionNames().isEmpty() ? Text(parser.errorText())
                                                      : UnknownOption(parser);
        return false;
    }
    options.Help = parser.isSet("help") || parser.isSet("h");
    options.Version = parser.isSet("version");
    options.Demo = parser.isSet("demo");
    options.Unpaced = parser.isSet("unpaced");
    options.Check = parser.isSet("check");
    options.Fullscreen = parser.isSet("fullscreen");
    options.Scores = parser.isSet("scores");
    options.SaveScores = parser.isSet("save-scores");
    for (const ValueOption& option : kValueOptions) {
        // A repeated option counts with its last value, as it always did.
        if (!parser.isSet(option.name)) continue;
        if (!StoreValue(option.name, Text(parser.values(option.name).back()), options)) {
            error = option.refusal;
            return false;
        }
    }
    return CheckCombinations(parser, options, error);
}

std::string OptionsUsage(const char* program) {
    return std::string("Usage: ") + program +
           " [options]\n"
           "Zentara, a space shooter. Reads its level file and pictures from zentara/ in\n"
           "the game folder: the current directory when it holds zentara/zentara.ini,\n"
           "otherwise $XDG_DATA_HOME/zentara (~/.local/share/zentara), where every\n"
           "file of the installed pack that is missing is copied at each start. Paths\n"
           "are named from the folder the program is started in.\n"
           "\n"
           "Options:\n"
           "  --fullscreen      start in full screen (F11 switches in play and in the menu)\n"
           "  --data-dir DIR    use DIR as the game folder (missing files of the pack are\n"
           "                    copied into DIR/zentara at each start)\n"
           "  --check [folder]  check the level file and pictures of a game folder,\n"
           "                    print what is wrong and end (exit code 0, 1 or 2)\n"
           "  --scores          print the best score of every level and end\n"
           "  --seed N          start the random generator from seed N (repeatable runs)\n"
           "  --demo            the built-in pilot chooses a level and plays with the\n"
           "                    mouse and keys; it prints a line per finished level\n"
           "  --level N         the level the demo chooses from the Play menu (default 1;\n"
           "                    it must be reached in the level file)\n"
           "  --frames N        end the program once N frames have been presented\n"
           "  --screenshots DIR write presented frames to DIR as frame_NNNNNN.png\n"
           "  --every K         with --screenshots: every K-th frame (default 60)\n"
           "  --record FILE     record the run into FILE: the seed, and per frame the\n"
           "                    pointer, the keys, the window events and the clock\n"
           "  --replay FILE     play the run recorded in FILE again, frame by frame (the\n"
           "                    player's input is ignored except closing the window);\n"
           "                    prints each level's score, the frames and a state hash;\n"
           "                    exit code 0 when it matches, 1 when it departs, 2 when\n"
           "                    it is refused\n"
           "  --save-scores     with --demo or --replay: keep best scores as a player's\n"
           "                    game does (otherwise they are shown, never written)\n"
           "  --unpaced         present frames as fast as they are drawn instead of\n"
           "                    60 per second (for tests; timed effects still follow\n"
           "                    the clock)\n"
           "  --version         show the program's version and exit\n"
           "  --help            show this text and exit\n";
}

// ---- Option errors ----

std::string OptionErrorText(const char* program, const std::string& error) {
    return std::string(program) + ": " + error + "\ntry '" + program + " --help'\n";
}

// ---- End of option errors ----

std::string VersionText(const char* program) {
    return std::string(program) + " " + ZENTARA_VERSION + "\n";
}

#include "game/options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// A whole number that fits 32 bits; negative values wrap, so any seed a user
// may have noted from elsewhere is accepted.
bool ParseSeed(const char* text, uint32_t& seed) {
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < INT32_MIN || value > UINT32_MAX) return false;
    seed = static_cast<uint32_t>(value);
    return true;
}

// A whole number from `lowest` to `highest`.
bool ParseCount(const char* text, long long lowest, long long highest, long long& count) {
    if (text == nullptr || *text == '\0') return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < lowest || value > highest) return false;
    count = value;
    return true;
}

}  // namespace

bool ParseOptions(int argc, const char* const* argv, ProgramOptions& options, std::string& error) {
    bool levelGiven = false;
    bool everyGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long long count = 0;
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options.Help = true;
        } else if (std::strcmp(arg, "--seed") == 0) {
            uint32_t seed = 0;
            if (!ParseSeed(value, seed)) {
                error = "--seed needs a whole number";
                return false;
            }
            options.Seed = seed;
            ++i;
        } else if (std::strcmp(arg, "--demo") == 0) {
            options.Demo = true;
        } else if (std::strcmp(arg, "--check") == 0) {
            options.Check = true;
            // The folder is optional: a following word that is no option.
            if (value != nullptr && value[0] != '-') {
                options.CheckFolder = value;
                ++i;
            }
        } else if (std::strcmp(arg, "--unpaced") == 0) {
            options.Unpaced = true;
        } else if (std::strcmp(arg, "--level") == 0) {
            if (!ParseCount(value, 1, 999, count)) {
                error = "--level needs a level number from 1 to 999";
                return false;
            }
            options.Level = static_cast<int32_t>(count);
            levelGiven = true;
            ++i;
        } else if (std::strcmp(arg, "--frames") == 0) {
            if (!ParseCount(value, 1, INT64_MAX, count)) {
                error = "--frames needs a number of frames above 0";
                return false;
            }
            options.Frames = count;
            ++i;
        } else if (std::strcmp(arg, "--every") == 0) {
            if (!ParseCount(value, 1, INT32_MAX, count)) {
                error = "--every needs a number of frames above 0";
                return false;
            }
            options.Every = static_cast<int32_t>(count);
            everyGiven = true;
            ++i;
        } else if (std::strcmp(arg, "--screenshots") == 0) {
            if (value == nullptr || *value == '\0') {
                error = "--screenshots needs a folder";
                return false;
            }
            options.ScreenshotDir = value;
            ++i;
        } else {
            error = std::string("unknown option ") + arg;
            return false;
        }
    }
    if (levelGiven && !options.Demo) {
        error = "--level chooses the demo's level and needs --demo";
        return false;
    }
    if (everyGiven && options.ScreenshotDir.empty()) {
        error = "--every needs --screenshots";
        return false;
    }
    return true;
}

std::string OptionsUsage(const char* program) {
    return std::string("Usage: ") + program +
           " [options]\n"
           "Zentara, a space shooter. Reads its level file and pictures from ./zentara.\n"
           "\n"
           "Options:\n"
           "  --seed N          start the random generator from seed N (repeatable runs)\n"
           "  --demo            the built-in pilot chooses a level and plays with the\n"
           "                    mouse and keys; it prints a line per finished level\n"
           "  --level N         the level the demo chooses from the Play menu (default 1;\n"
           "                    it must be reached in the level file)\n"
           "  --frames N        end the program once N frames have been presented\n"
           "  --screenshots DIR write presented frames to DIR as frame_NNNNNN.png\n"
           "  --every K         with --screenshots: every K-th frame (default 60)\n"
           "  --unpaced         present frames as fast as they are drawn instead of\n"
           "                    60 per second (for tests; timed effects still follow\n"
           "                    the clock)\n"
           "  --check [FOLDER]  check the level file and pictures of the game folder\n"
           "                    FOLDER (the one holding zentara/; default: the current\n"
           "                    folder) without opening a window, and exit\n"
           "  --help            show this text and exit\n";
}

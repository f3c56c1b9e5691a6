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

}  // namespace

bool ParseOptions(int argc, const char* const* argv, ProgramOptions& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            options.Help = true;
        } else if (std::strcmp(arg, "--seed") == 0) {
            uint32_t seed = 0;
            if (i + 1 >= argc || !ParseSeed(argv[i + 1], seed)) {
                error = "--seed needs a whole number";
                return false;
            }
            options.Seed = seed;
            ++i;
        } else {
            error = std::string("unknown option ") + arg;
            return false;
        }
    }
    return true;
}

std::string OptionsUsage(const char* program) {
    return std::string("Usage: ") + program +
           " [options]\n"
           "Zentara, a space shooter. Reads its level file and pictures from ./zentara.\n"
           "\n"
           "Options:\n"
           "  --seed N   start the random generator from seed N (repeatable runs)\n"
           "  --help     show this text and exit\n";
}

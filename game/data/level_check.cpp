// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/level_check.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "game/data/level_file.h"
#include "game/play/enemies.h"
#include "game/play/ship.h"
#include "runtime/image/rt_image.h"

namespace fs = std::filesystem;

namespace {

constexpr int32_t kFirstGlobalLine = 25;
constexpr int32_t kLastLine = 28;
constexpr int32_t kManyEnemies = 300;

// The member names of lines 2 to 28 (lines 5 and 24 are read and not used).
const char* const kFieldNames[] = {
    "GoalPoints",      "ShieldDecayPeriod", "ShieldDecayStep", "Unused5",
    "MaxShots",        "ShotSpeed",         "ShotDamage",      "ShotHitPoints",
    "GunpowerTime",    "RocketSpeed",       "RocketDamage",    "RocketHitPoints",
    "RocketCoverTime", "EnemySwayPeriod",   "EnemyCount",      "EnemyRepairChance",
    "EnemyRepairStep", "EnemyFireChance",   "EnemyKillPoints", "EnemyPassPoints",
    "CollisionDamage", "EnemyBreakLevel",   "BonusValue",      "IntroTime",
    "ShakeAmplitude",  "BaseAlpha",         "ShieldBase"};

int32_t LineOf(const int32_t LevelParams::*member) {
    static const LevelParams probe{};
    const auto offset =
        reinterpret_cast<const char*>(&(probe.*member)) - reinterpret_cast<const char*>(&probe);
    return static_cast<int32_t>(offset / sizeof(int32_t)) + 2;
}

std::string Finding(const std::string& file, int32_t line, const std::string& what) {
    const char* field = line >= 2 && line <= kLastLine ? kFieldNames[line - 2] : "progress";
    return file + ":" + std::to_string(line) + ": " + field + ": " + what;
}

std::string InLevel(int32_t level) {
    return " (level " + std::to_string(level) + ")";
}

// A value as the game reads it: blanks and tabs skipped, a sign, "$" hex,
// "%" binary or decimal digits, the low 32 bits. `clean` tells whether the
// number is followed by nothing or by a blank (a comment).
int32_t ParseValue(const std::string& text, bool& clean, bool& hasDigits) {
    size_t at = text.find_first_not_of(" \t");
    if (at == std::string::npos) at = text.size();
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    uint32_t base = 10;
    if (at < text.size() && (text[at] == '$' || text[at] == '%')) base = text[at++] == '$' ? 16 : 2;
    uint32_t value = 0;
    hasDigits = false;
    for (; at < text.size(); ++at) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[at])));
        uint32_t digit = 99;
        if (c >= '0' && c <= '9') digit = static_cast<uint32_t>(c - '0');
        if (c >= 'a' && c <= 'f') digit = static_cast<uint32_t>(c - 'a' + 10);
        if (digit >= base) break;
        value = value * base + digit;
        hasDigits = true;
    }
    clean = hasDigits && (at == text.size() || text[at] == ' ' || text[at] == '\t');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

std::vector<std::string> SplitLines(const std::string& contents) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < contents.size(); ++i) {
        const char c = contents[i];
        // The game's reader ends a line at CR, LF, CR LF and at a NUL byte.
        if (c == '\r' || c == '\n' || c == '\0') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < contents.size() && contents[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string Field(const std::string& line, int32_t index) {
    size_t start = 0;
    for (int32_t i = 1; i < index; ++i) {
        start = line.find('/', start);
        if (start == std::string::npos) return "";
        ++start;
    }
    return line.substr(start, line.find('/', start) - start);
}

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// The entry of `dir` whose name equals `name` ignoring case (sorted first).
std::string FindIgnoringCase(const std::map<std::string, std::string>& lowered,
                             const std::string& name) {
    const auto it = lowered.find(name);
    return it == lowered.end() ? "" : it->second;
}

// Decoded whole by the runtime's own decoders, as a level start would.
bool PngSize(const fs::path& path, int& width) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    if (data.empty() || data.size() > INT32_MAX ||
        rt_image_recognise(data.data(), static_cast<int32_t>(data.size())) == 0) {
        return false;
    }
    width = rt_image_width();
    const int64_t pitch = int64_t{width} * 4;
    if (width <= 0 || rt_image_height() <= 0 || pitch * rt_image_height() > (int64_t{1} << 28)) {
        rt_image_decode(nullptr, 0, 0);  // releases the decoder's state
        return false;
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(pitch * rt_image_height()));
    return rt_image_decode(pixels.data(), static_cast<int32_t>(pitch), 0) == 1;
}

bool IsWave(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    char header[12] = {};
    in.read(header, sizeof(header));
    return in && std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVE", 4) == 0;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

int32_t TwoDigits(const std::string& text) {
    bool clean = false, digits = false;
    const int32_t value = ParseValue(text, clean, digits);
    return text.find_first_not_of("0123456789") == std::string::npos && digits ? value : -1;
}

const char* const kFixedPictures[] = {
    "shipexplosion.png", "shipkugel1.png",     "shipkugel2.png", "shipkugelexplosion.png",
    "spaceship.png",     "shipschirm.png",     "rakete.png",     "raketeexplosion.png",
    "feindschirm.png",   "feindexplosion.png", "kollision.png"};
const char* const kFixedSounds[] = {"kugel.wav", "rakete.wav", "feindexplosion.wav",
                                    "raketeexplosion.wav", "kollision.wav"};

void CheckFixedFiles(const fs::path& dir, const std::map<std::string, std::string>& names,
                     std::vector<std::string>& out) {
    std::map<std::string, int> widths;
    for (const char* name : kFixedPictures) {
        const std::string found = FindIgnoringCase(names, name);
        int width = 0;
        if (found.empty()) {
            out.push_back("zentara/" + std::string(name) + ": missing");
        } else if (!PngSize(dir / found, width)) {
            out.push_back("zentara/" + found + ": not a PNG picture the game can read");
        } else {
            widths[name] = width;
        }
    }
    for (const char* name : kFixedSounds) {
        const std::string found = FindIgnoringCase(names, name);
        if (found.empty()) {
            out.push_back("zentara/" + std::string(name) + ": missing");
        } else if (!IsWave(dir / found)) {
            out.push_back("zentara/" + found + ": not a RIFF/WAVE sound");
        }
    }
    // The shield, the rocket blast and the collision flash are centred on the
    // ship by half their extra width.
    if (widths.count("spaceship.png") != 0) {
        for (const char* name : {"shipschirm.png", "raketeexplosion.png", "kollision.png"}) {
            if (widths.count(name) != 0 && widths[name] < widths["spaceship.png"]) {
                out.push_back("zentara/" + std::string(name) +
                              ": narrower than spaceship.png, drawn off its centre");
            }
        }
    }
}

void CheckFamilies(const std::map<std::string, std::string>& names, std::vector<std::string>& out) {
    std::set<int32_t> enemies;
    int32_t planets = 0, bonuses = 0;
    std::set<std::string> fixed(std::begin(kFixedPictures), std::end(kFixedPictures));
    fixed.insert(std::begin(kFixedSounds), std::end(kFixedSounds));
    fixed.insert("zentara.ini");
    for (const auto& [lower, name] : names) {
        const bool png = lower.size() > 4 && lower.ends_with(".png");
        if (png && lower.starts_with("feind") && lower.size() == 11) {
            enemies.insert(TwoDigits(lower.substr(5, 2)));
        } else if (png && lower.starts_with("bonus") && lower.size() == 11) {
            ++bonuses;
        } else if (png && lower.starts_with("planet") && lower.size() == 12) {
            ++planets;
        } else if (!fixed.count(lower) && !(png && lower.starts_with("planetmond")) &&
                   !(lower.starts_with("bonus0") && lower.ends_with(".wav") &&
                     lower.size() == 11)) {
            out.push_back("zentara/" + name + ": ignored by the game");
        }
    }
    for (int32_t k = 0; k < static_cast<int32_t>(enemies.size()); ++k) {
        if (!enemies.count(k)) {
            out.push_back("zentara/feind" + std::string(k < 10 ? "0" : "") + std::to_string(k) +
                          ".png: missing, enemies of this number are invisible");
        }
    }
    for (const auto& [lower, name] : names) {
        if (!lower.starts_with("planetmond") || !lower.ends_with(".png")) continue;
        const int32_t index = TwoDigits(lower.substr(10, 2));
        if (index < 0 || index >= planets) {
            out.push_back("zentara/" + name + ": its planet does not exist, never drawn");
        }
    }
    for (int32_t kind = 0; kind < std::min(bonuses, 3); ++kind) {
        const std::string stem = "bonus0" + std::to_string(kind);
        if (FindIgnoringCase(names, stem + ".png").empty())
            out.push_back("zentara/" + stem + ".png: missing, that bonus is invisible");
        if (FindIgnoringCase(names, stem + ".wav").empty())
            out.push_back("zentara/" + stem + ".wav: missing, that bonus is silent");
    }
}

}  // namespace

std::vector<std::string> LevelParamFindings(const LevelParams& p, int32_t level) {
    std::vector<std::string> out;
    const std::string file = "zentara.ini";
    auto add = [&](const int32_t LevelParams::*member, const std::string& what) {
        const int32_t line = LineOf(member);
        out.push_back(Finding(file, line, what + (line < kFirstGlobalLine ? InLevel(level) : "")));
    };
    if (p.GoalPoints < 0) add(&LevelParams::GoalPoints, "below 0, the level is won at once");
    if (p.ShieldDecayPeriod <= 0)
        add(&LevelParams::ShieldDecayPeriod, "0 or less, the shield never recovers");
    for (auto member : {&LevelParams::ShotSpeed, &LevelParams::RocketSpeed}) {
        const int32_t v = p.*member;
        if (v == 0) add(member, "0, it never moves");
        if (v < -128 || v > 127) add(member, "outside -128 .. 127, the 8-bit step wraps");
    }
    const int64_t worst = std::max<int64_t>(2 * int64_t{p.ShotDamage}, p.CollisionDamage);
    if (int64_t{p.EnemyBreakLevel} + worst > 255)
        add(&LevelParams::EnemyBreakLevel,
            "with 2 x ShotDamage or CollisionDamage above 255, the 8-bit damage wraps");
    if (p.EnemyRepairStep > p.BaseAlpha)
        add(&LevelParams::EnemyRepairStep, "above BaseAlpha, a repair wraps the 8-bit damage");
    if (p.EnemySwayPeriod <= 0)
        add(&LevelParams::EnemySwayPeriod, "0 or less, enemies never change direction");
    if (p.EnemyCount > kManyEnemies)
        add(&LevelParams::EnemyCount, "above " + std::to_string(kManyEnemies) + ", slow (at most " +
                                          std::to_string(MostEnemies) + " are spawned)");
    if (p.EnemyFireChance < p.EnemyCount)
        add(&LevelParams::EnemyFireChance, "below EnemyCount, enemies never fire");
    if (p.BaseAlpha < 5) add(&LevelParams::BaseAlpha, "below 5, explosions end early");
    if (p.ShieldBase > HighestSafeShield)
        add(&LevelParams::ShieldBase, "above 255, the shield is lost at once");
    return out;
}

std::vector<std::string> LevelFileFindings(const std::string& name, const std::string& contents) {
    std::vector<std::string> out;
    std::vector<std::string> lines = SplitLines(contents);
    lines.resize(std::max<size_t>(lines.size(), kLastLine));
    bool clean = false, digits = false;
    const std::string progress = lines[0].substr(0, lines[0].find(' '));
    ParseValue(progress, clean, digits);
    if (!clean) out.push_back(name + ":1: progress: not a number, reads as no level reached");
    const std::string firstWord = lines[1].substr(0, lines[1].find(' '));
    const auto count = static_cast<int32_t>(std::count(firstWord.begin(), firstWord.end(), '/'));
    if (count == 0)
        out.push_back(Finding(name, 2, "no level defined (no \"/\" in the first word)"));
    if (count > MaxMenuLevels)
        out.push_back(Finding(name, 2,
                              std::to_string(count) + " levels, only " +
                                  std::to_string(MaxMenuLevels) + " can be played"));
    const int32_t levels = std::min(count, MaxMenuLevels);
    std::vector<LevelParams> params(static_cast<size_t>(levels));
    for (int32_t line = 2; line <= kLastLine; ++line) {
        const bool global = line >= kFirstGlobalLine;
        for (int32_t level = 1; level <= (global ? 1 : levels); ++level) {
            const std::string text = Field(lines[static_cast<size_t>(line - 1)], level);
            const int32_t value = ParseValue(text, clean, digits);
            if (!clean && line != 5 && line != 24) {
                out.push_back(Finding(name, line,
                                      "\"" + text + "\" is not a number, reads as " +
                                          std::to_string(value) + (global ? "" : InLevel(level))));
            }
            for (int32_t l = global ? 1 : level; l <= (global ? levels : level); ++l) {
                reinterpret_cast<int32_t*>(&params[static_cast<size_t>(l - 1)])[line - 2] = value;
            }
        }
    }
    std::set<std::string> seen;  // a global value's finding is named once
    for (int32_t level = 1; level <= levels; ++level) {
        for (std::string finding :
             LevelParamFindings(params[static_cast<size_t>(level - 1)], level)) {
            finding.replace(0, std::strlen("zentara.ini"), name);
            if (seen.insert(finding).second) out.push_back(finding);
        }
    }
    // In the file's order: by line, then level.
    std::stable_sort(out.begin(), out.end(), [&](const std::string& a, const std::string& b) {
        return std::atoi(a.c_str() + name.size() + 1) < std::atoi(b.c_str() + name.size() + 1);
    });
    return out;
}

int RunCheck(const std::string& folder) {
    rt_image_decoder_init();
    rt_png_decoder_register();
    const fs::path dir = fs::path(folder) / "zentara";
    std::map<std::string, std::string> names;  // lower-cased -> first spelling
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        const auto [it, added] = names.emplace(Lower(name), name);
        if (!added && name < it->second) it->second = name;
    }
    const std::string levelFile = FindIgnoringCase(names, "zentara.ini");
    if (levelFile.empty() || !IsFile(dir / levelFile)) {
        std::fprintf(stderr, "%s: no level file zentara.ini\n", dir.string().c_str());
        return 2;
    }
    std::ifstream in(dir / levelFile, std::ios::binary);
    const std::string contents((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    std::vector<std::string> findings = LevelFileFindings("zentara/" + levelFile, contents);
    CheckFixedFiles(dir, names, findings);
    CheckFamilies(names, findings);
    for (const std::string& finding : findings) std::printf("%s\n", finding.c_str());
    if (findings.empty()) std::printf("no problems found\n");
    return findings.empty() ? 0 : 1;
}

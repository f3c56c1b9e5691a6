// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/asset_check.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <filesystem>
#include <map>
#include <set>

#include "game/core/runtime_text.h"
#include "game/data/asset_discovery.h"
#include "game/data/asset_files.h"
#include "game/data/level_file.h"
#include "game/data/level_file_posix.h"
#include "game/play/bonus_kinds.h"
#include "game/play/enemies.h"
#include "runtime/runtime.h"

namespace fs = std::filesystem;

namespace {

// The numbered id the trial loads and listings take: numbered ids come from
// no sequence, so the game's own ids stay as they would be without the check.
constexpr int32_t kProbe = 1;

// A level holds every picture it loads in memory, four bytes a pixel; beyond
// this side by this side one picture alone holds more than 16 MB.
constexpr int64_t kLargestSide = 2048;

// What a level start's load of one file comes to.
struct Probe {
    enum class Result {
        Loaded,
        Missing,
        Folder,
        Unreadable,
        Empty,
        NotAPicture,
        TooLarge,
        Damaged,
        NotASound
    };
    Result Outcome = Result::Loaded;
    std::string Shown;     // "zentara/" + the file's name, as found or as asked for
    std::string Resolved;  // the path the runtime opens
    int32_t Width = 0, Height = 0;
};

std::string Resolve(const std::string& path) {
    return TakeRuntimeText([&](int32_t at) { rt_file_resolve(path.c_str(), at); });
}

std::string Lower(const std::string& text) {
    return TakeRuntimeText([&](int32_t at) { rt_str_lower(text.c_str(), at); });
}

std::string Number(int64_t value) {
    return std::to_string(value);
}

// The name of a file without its folder, whichever separator the path uses.
std::string BaseName(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

// A file of the asset folder as the player sees it, which is also its path
// from the game folder.
std::string InAssets(const std::string& name) {
    return "zentara/" + name;
}

// Finds the file the game opens for `path` (as the program names it) and
// reads it: everything but the decoding.
Probe Locate(const std::string& folder, const std::string& path, std::string& bytes) {
    Probe probe;
    probe.Resolved = Resolve(folder + "/" + path);
    probe.Shown = InAssets(BaseName(probe.Resolved));
    std::error_code error;
    const fs::file_status status = fs::status(probe.Resolved, error);
    if (!fs::exists(status)) {
        probe.Outcome = Probe::Result::Missing;
    } else if (fs::is_directory(status)) {
        probe.Outcome = Probe::Result::Folder;
    } else if (ReadWholeFile(probe.Resolved, bytes) != FileRead::Ok) {
        probe.Outcome = Probe::Result::Unreadable;
    } else if (bytes.empty()) {
        probe.Outcome = Probe::Result::Empty;
    }
    return probe;
}

// Loads a picture as the game does, after the runtime's decoders have read
// its size, so that a picture too large is told without being decoded.
Probe ProbePicture(const std::string& folder, const std::string& path, int32_t flags) {
    std::string bytes;
    Probe probe = Locate(folder, path, bytes);
    if (probe.Outcome != Probe::Result::Loaded) return probe;
    if (bytes.size() > INT32_MAX ||
        rt_image_recognise(bytes.data(), static_cast<int32_t>(bytes.size())) == 0) {
        probe.Outcome = Probe::Result::NotAPicture;
        return probe;
    }
    probe.Width = rt_image_width();
    probe.Height = rt_image_height();
    rt_image_decode(nullptr, 0, 0);  // releases the decoder's state
    if (int64_t{probe.Width} * probe.Height > kLargestSide * kLargestSide) {
        probe.Outcome = Probe::Result::TooLarge;
    } else if (rt_sprite_load_flags(kProbe, (folder + "/" + path).c_str(), flags) == 0) {
        probe.Outcome = Probe::Result::Damaged;
    } else {
        rt_sprite_free(kProbe);
    }
    return probe;
}

// Loads a sound as the game does; without a sound service only its presence
// can be told.
Probe ProbeSound(const std::string& folder, const std::string& path, bool servicePlays) {
    std::string bytes;
    Probe probe = Locate(folder, path, bytes);
    if (probe.Outcome != Probe::Result::Loaded || !servicePlays) return probe;
    if (rt_sound_load(kProbe, (folder + "/" + path).c_str()) == 0) {
        probe.Outcome = Probe::Result::NotASound;
    } else {
        rt_sound_free(kProbe);
    }
    return probe;
}

class AssetCheck {
  public:
    explicit AssetCheck(const std::string& folder)
        : folder_(folder), assets_(Resolve(folder + "/zentara") + "/") {}

    std::vector<Finding> Run() {
        for (const std::string& name : ListEntries(assets_, "*", kProbe)) {
            if (name != "." && name != "..") entries_.push_back(name);
        }
        Use(Resolve(folder_ + "/" + LevelFilePath));
        CheckFixedPictures();
        CheckFixedSounds();
        for (const std::string& name : ListPictures(assets_, kProbe)) {
            families_[static_cast<size_t>(FamilyOf(name))].push_back(name);
        }
        CheckEnemies();
        CheckBonuses();
        CheckPlanetsAndMoons();
        CheckUnused();
        return std::move(out_);
    }

  private:
    const std::vector<std::string>& Family(PictureFamily family) const {
        return families_[static_cast<size_t>(family)];
    }

    void Use(const std::string& resolved) { used_.insert(BaseName(resolved)); }

    void Add(const std::string& file, const std::string& text, bool concernsPlay = true) {
        out_.push_back({file, 0, text, concernsPlay ? 1 : 0, concernsPlay ? EveryLevel : 0});
    }

    // A picture as the game loads it: what keeps it from loading and what
    // that does in play, or its size when it is too large. Answers whether
    // the picture loads.
    bool Picture(const std::string& path, int32_t flags, const std::string& inPlay,
                 Probe* loaded = nullptr) {
        const Probe probe = ProbePicture(folder_, path, flags);
        if (probe.Outcome != Probe::Result::Missing) Use(probe.Resolved);
        if (loaded != nullptr) *loaded = probe;
        if (probe.Outcome == Probe::Result::Loaded) return true;
        if (probe.Outcome == Probe::Result::TooLarge) {
            Add(probe.Shown, Number(probe.Width) + " x " + Number(probe.Height) + " pixels, " +
                                 Number(int64_t{probe.Width} * probe.Height * 4 >> 20) +
                                 " MB once loaded: a level start slows down and memory may run "
                                 "out; keep pictures within " +
                                 Number(kLargestSide) + " x " + Number(kLargestSide) + " pixels");
            return true;
        }
        Add(probe.Shown, Reason(probe) + ": " + inPlay);
        return false;
    }

    static std::string Reason(const Probe& probe) {
        switch (probe.Outcome) {
            case Probe::Result::Missing:
                return "missing";
            case Probe::Result::Folder:
                return "a folder, not a file";
            case Probe::Result::Unreadable:
                return "cannot be read";
            case Probe::Result::Empty:
                return "empty";
            case Probe::Result::NotAPicture:
                return "not a PNG or BMP picture";
            case Probe::Result::Damaged:
                return "a " + Number(probe.Width) + " x " + Number(probe.Height) +
                       " picture that cannot be decoded (damaged or cut short)";
            case Probe::Result::NotASound:
                return "not a WAV sound the game can play";
            default:
                return "";
        }
    }

    void CheckFixedPictures() {
        const std::pair<const FixedPicture*, const char*> pictures[] = {
            {&ShipExplosionPicture, "a lost level shows no explosion of the ship"},
            {&ShotPicture, "shots are invisible and hit nothing"},
            {&PowerShotPicture, "shots are invisible during \"Extra gunpower\" (they still hit)"},
            {&ShotFlashPicture, "hits show no flash"},
            {&ShipPicture,
             "the ship is invisible and nothing can touch it: no rocket, enemy or bonus"},
            {&ShipShieldPicture, "the ship's shield is not shown"},
            {&RocketPicture, "enemy rockets are invisible and never hit the ship"},
            {&RocketExplosionPicture, "rocket hits show no explosion"},
            {&EnemyShieldPicture, "enemy shields are not shown"},
            {&EnemyExplosionPicture, "enemies break up without an explosion"},
            {&CollisionFlashPicture, "rams show no flash"}};
        std::map<const FixedPicture*, Probe> probes;
        for (const auto& [picture, inPlay] : pictures)
            Picture(picture->Path, picture->Flags, inPlay, &probes[picture]);
        // These are centred on the ship by half their extra width.
        const Probe& ship = probes[&ShipPicture];
        for (const FixedPicture* overlay :
             {&ShipShieldPicture, &RocketExplosionPicture, &CollisionFlashPicture}) {
            const Probe& probe = probes[overlay];
            if (ship.Outcome == Probe::Result::Loaded && probe.Outcome == Probe::Result::Loaded &&
                probe.Width < ship.Width) {
                Add(probe.Shown,
                    "narrower than " + BaseName(ship.Shown) + ", drawn off its centre");
            }
        }
    }

    void CheckFixedSounds() {
        servicePlays_ = rt_sound_init() != 0;
        for (const char* sound : {ShotSoundFile, RocketSoundFile, EnemyExplosionSoundFile,
                                  RocketExplosionSoundFile, CollisionSoundFile}) {
            Sound(sound, "that sound is never heard");
        }
    }

    void Sound(const std::string& path, const std::string& inPlay) {
        const Probe probe = ProbeSound(folder_, path, servicePlays_);
        if (probe.Outcome != Probe::Result::Missing) Use(probe.Resolved);
        if (probe.Outcome == Probe::Result::Loaded) return;
        Add(probe.Shown, Reason(probe) + ": " + inPlay);
    }

    void CheckEnemies() {
        const std::vector<std::string>& enemies = Family(PictureFamily::Enemy);
        const auto count = static_cast<int32_t>(enemies.size());
        if (count == 0) {
            Add(InAssets(BaseName(EnemyImageName(0))),
                "missing, and no other enemy picture either: every enemy is invisible, cannot be "
                "shot or rammed, and still fires rockets");
        }
        // Enemy k is loaded by its number, whatever the names counted.
        for (int32_t k = 0; k < count; ++k) {
            Picture(EnemyImageName(k), 0,
                    "enemies of number " + Number(k) +
                        " are invisible, cannot be shot or rammed, and still fire rockets");
        }
        for (const std::string& name : enemies) {
            if (used_.count(name) == 0) {
                Add(InAssets(name),
                    "counted as an enemy picture, but enemies are loaded by number (feind00.png "
                    "to " +
                        BaseName(EnemyImageName(count - 1)) + "), so this picture is never shown",
                    false);
            }
        }
    }

    void CheckBonuses() {
        const std::vector<std::string>& bonuses = Family(PictureFamily::Bonus);
        const int32_t kinds = std::min(static_cast<int32_t>(bonuses.size()), BonusKinds);
        for (int32_t kind = 0; kind < kinds; ++kind) {
            const std::string what = "\"" + std::string(BonusNames[kind]) + "\" ";
            Picture(BonusFileStem(kind) + ".png", 0,
                    what + "bonus items are invisible and can never be caught");
            Sound(BonusFileStem(kind) + ".wav", what + "bonus items are caught silently");
        }
        for (const std::string& name : bonuses) {
            if (used_.count(name) == 0) {
                Add(InAssets(name),
                    "counted as a bonus item, but bonus items are loaded by count from "
                    "bonus00.png to bonus02.png, so this picture is never shown",
                    false);
            }
        }
    }

    void CheckPlanetsAndMoons() {
        const std::vector<std::string>& planets = Family(PictureFamily::Planet);
        const auto count = static_cast<int32_t>(planets.size());
        for (int32_t index = 0; index < count; ++index) {
            Picture(InAssets(planets[static_cast<size_t>(index)]), PlanetPictureFlags,
                    "planet " + Number(index) + " is invisible; its moons circle an empty spot");
        }
        for (const std::string& name : Family(PictureFamily::Moon)) {
            const int32_t index = MoonPlanetIndex(name);
            if (index < 0 || index >= count) {
                Use(name);
                Add(InAssets(name),
                    "circles planet " + Number(index) + ", which does not exist (" +
                        (count == 0 ? std::string("there is no planet")
                                    : "planets are numbered 0 to " + Number(count - 1) +
                                          " in the order of their names") +
                        "), so it is never drawn");
                continue;
            }
            const std::string digits = Lower(name).substr(10, 2);
            Picture(InAssets(name), 0, "the moon of planet " + Number(index) + " is invisible");
            if (digits.size() != 2 || !std::isdigit(static_cast<unsigned char>(digits[0])) ||
                !std::isdigit(static_cast<unsigned char>(digits[1]))) {
                Add(InAssets(name),
                    "circles planet " + Number(index) + ": the two characters after " +
                        "\"planetmond\" are \"" + digits + "\", read as " + Number(index) +
                        "; two digits say it plainly",
                    false);
            }
        }
    }

    // Every entry no level start loads, with the reason the game passes it over.
    void CheckUnused() {
        const char* const fixed[] = {LevelFilePath,
                                     ShipExplosionPicture.Path,
                                     ShotPicture.Path,
                                     PowerShotPicture.Path,
                                     ShotFlashPicture.Path,
                                     ShipPicture.Path,
                                     ShipShieldPicture.Path,
                                     RocketPicture.Path,
                                     RocketExplosionPicture.Path,
                                     EnemyShieldPicture.Path,
                                     EnemyExplosionPicture.Path,
                                     CollisionFlashPicture.Path,
                                     ShotSoundFile,
                                     RocketSoundFile,
                                     EnemyExplosionSoundFile,
                                     RocketExplosionSoundFile,
                                     CollisionSoundFile};
        for (const std::string& name : entries_) {
            if (used_.count(name) != 0 || FamilyOf(name) != PictureFamily::None) continue;
            std::string why = "not a file the game reads";
            for (const char* path : fixed) {
                const std::string program = Resolve(folder_ + "/" + path);
                if (Lower(BaseName(program)) == Lower(name)) {
                    why = "another spelling of a file the game reads as " +
                          InAssets(BaseName(program));
                }
            }
            const std::string lower = Lower(name);
            const bool png = lower.size() > 4 && lower.ends_with(".png");
            const std::pair<const char*, const char*> patterns[] = {
                {"feind",
                 "an enemy picture is named feind, two digits and .png: 11 characters, "
                 "as feind06.png"},
                {"bonus",
                 "a bonus item is named bonus, two characters and .png: 11 characters, "
                 "as bonus00.png"},
                {"planet",
                 "a planet is named planet, two characters and .png: 12 characters, as "
                 "planet04.png"}};
            for (const auto& [prefix, pattern] : patterns) {
                if (lower.starts_with(prefix) && why.starts_with("not")) {
                    why = std::string(pattern) + "; this name has " +
                          (png ? Number(rt_str_len(name.c_str())) + " characters"
                               : std::string("another ending than .png"));
                }
            }
            if (std::any_of(name.begin(), name.end(), [](char c) { return c & 0x80; }))
                why += " (the game counts bytes: a letter outside ASCII takes two or more)";
            Add(InAssets(name), "ignored by the game: " + why, false);
        }
    }

    std::string folder_;
    std::string assets_;
    std::vector<std::string> entries_;
    std::vector<std::string> families_[5];
    std::set<std::string> used_;
    bool servicePlays_ = false;
    std::vector<Finding> out_;
};

}  // namespace

std::vector<Finding> AssetFindings(const std::string& folder) {
    return AssetCheck(folder).Run();
}

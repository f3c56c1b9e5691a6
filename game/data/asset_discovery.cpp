// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/asset_discovery.h"

#include <cmath>
#include <string>

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "game/core/runtime_text.h"
#include "game/data/asset_files.h"
#include "runtime/runtime.h"

namespace {

// Every scan lists the asset directory below the current directory.
std::string AssetDirectory() {
    return TakeRuntimeText([](int32_t at) { rt_dir_current(at); }) + "zentara\\";
}

std::string EntryName(int32_t listing) {
    return TakeRuntimeText([&](int32_t at) { rt_dir_entry_name(listing, at); });
}

std::string LowerText(const std::string& text) {
    return TakeRuntimeText([&](int32_t at) { rt_str_lower(text.c_str(), at); });
}

bool StartsWithIgnoringCase(const std::string& name, const char* prefix) {
    return LowerText(name).rfind(prefix, 0) == 0;
}

// Calls visit(name) for every *.png entry of the asset directory, in the
// listing's order. Only the names matter: a matching directory counts too.
// A numbered `listingId` takes that slot of the listing table, -1 a new
// handle.
template <class Visit>
void ForEachPng(Visit visit, int32_t listingId = -1) {
    const std::string directory = AssetDirectory();
    for (const std::string& name : ListPictures(directory, listingId)) visit(directory, name);
}

bool IsEnemyImage(const std::string& name) {
    return StartsWithIgnoringCase(name, "feind") && rt_str_len(name.c_str()) == 11;
}

bool IsBonusImage(const std::string& name) {
    return StartsWithIgnoringCase(name, "bonus") && rt_str_len(name.c_str()) == 11;
}

bool IsPlanetImage(const std::string& name) {
    return StartsWithIgnoringCase(name, "planet") && rt_str_len(name.c_str()) == 12;
}

bool IsMoonImage(const std::string& name) {
    return StartsWithIgnoringCase(name, "planetmond");
}

// A bonus travels away from the nearer edge at 3 to 7 pixels per frame.
int8_t StepAwayFromEdge(int32_t position, int32_t extent) {
    if (position < extent / 2) return static_cast<int8_t>(3 + rt_random(4));
    return static_cast<int8_t>(-3 - rt_random(4));
}

// No planet has this index, so a moon whose planet does not exist is never
// moved or drawn (a zeroed record would follow planet 0).
constexpr int32_t kNoPlanet = -1;

// Sets the moon's swing around a planet whose sprite is `planetWidth` wide.
// The random draws happen in this order: the four bounds, then StepX, StepY,
// Behind and Period.
void AttachMoon(Moon* moon, int32_t planetSprite, int32_t planetIndex) {
    const double w = rt_sprite_width(planetSprite);
    moon->PlanetSprite = planetSprite;
    moon->PlanetIndex = planetIndex;
    moon->MaxX = RoundHalfEven(1.2 * w + rt_random(90));
    moon->MinX = RoundHalfEven(-(1.1 * w + rt_random(90)));
    moon->MaxY = RoundHalfEven(1.2 * w + rt_random(90));
    moon->MinY = RoundHalfEven(-(1.1 * w + rt_random(90)));
    moon->StepX = rt_random(1) == 1 ? 1 : -1;
    moon->StepY = static_cast<int8_t>(rt_random(2));
    moon->Behind = static_cast<uint8_t>(rt_random(1));
    moon->Period = static_cast<int8_t>(1 + rt_random(5));
    moon->Tick = 0;
}

}  // namespace

PictureFamily FamilyOf(const std::string& name) {
    if (IsEnemyImage(name)) return PictureFamily::Enemy;
    if (IsBonusImage(name)) return PictureFamily::Bonus;
    if (IsPlanetImage(name)) return PictureFamily::Planet;
    if (IsMoonImage(name)) return PictureFamily::Moon;
    return PictureFamily::None;
}

std::vector<std::string> ListPictures(const std::string& directory, int32_t listing) {
    return ListEntries(directory, "*.png", listing);
}

std::vector<std::string> ListEntries(const std::string& directory, const char* pattern,
                                     int32_t listing) {
    const int32_t opened = rt_dir_open(listing, directory.c_str(), pattern);
    // A numbered listing keeps its number; -1 is answered with the new id.
    const int32_t id = listing == -1 || opened == 0 ? opened : listing;
    std::vector<std::string> names;
    while (rt_dir_next(id) != 0) names.push_back(EntryName(id));
    rt_dir_close(id);
    return names;
}

std::string BonusFileStem(int32_t kind) {
    return "zentara\\bonus0" + NumberText(kind);
}

// The two characters after "planetmond" name the planet's index.
int32_t MoonPlanetIndex(const std::string& name) {
    const std::string digits =
        TakeRuntimeText([&](int32_t at) { rt_str_mid(LowerText(name).c_str(), 11, 2, at); });
    return static_cast<int32_t>(rt_str_to_quad(digits.c_str()));
}

int32_t CountEnemyImages() {
    int32_t count = 0;
    ForEachPng([&](const std::string&, const std::string& name) {
        if (IsEnemyImage(name)) count += 1;
    });
    return count - 1;
}

int32_t LoadBonuses(int32_t /*unused*/) {
    // The files are chosen by a counter over the three kinds, not by the
    // entry's name: every matching entry adds the next kind.
    int32_t kind = 0;
    ForEachPng([&](const std::string&, const std::string& name) {
        if (!IsBonusImage(name)) return;
        const std::string stem = BonusFileStem(kind);
        Bonus* bonus = ListAdd<Bonus>(game.Bonuses);
        bonus->Sprite = rt_sprite_load(-1, (stem + ".png").c_str());
        bonus->Sound = rt_sound_load(-1, (stem + ".wav").c_str());
        bonus->Kind = static_cast<int8_t>(kind);
        rt_sound_volume(bonus->Sound, SoundVolume);
        bonus->Interval = rt_random(0) + 50;
        bonus->X = rt_random(game.ScreenWidth);
        bonus->Y = rt_random(game.ScreenHeight);
        bonus->StepX = StepAwayFromEdge(bonus->X, game.ScreenWidth);
        bonus->StepY = StepAwayFromEdge(bonus->Y, game.ScreenHeight);
        kind += 1;
        if (kind == BonusKinds) kind = 0;
    });
    return 0;
}

int32_t LoadPlanets() {
    int32_t index = 0;
    ForEachPng([&](const std::string& directory, const std::string& name) {
        if (!IsPlanetImage(name)) return;
        Planet* planet = ListAdd<Planet>(game.Planets);
        planet->Sprite = rt_sprite_load_flags(-1, (directory + name).c_str(), PlanetPictureFlags);
        planet->Rotor = rt_sprite3d_create(-1, planet->Sprite);
        planet->Entered = 1;
        planet->X = -rt_sprite_width(planet->Sprite) - rt_random(400);
        planet->Y = rt_random(game.ScreenHeight) + 500;
        planet->StepX = static_cast<int8_t>(1 + rt_random(3));
        planet->StepY = static_cast<int8_t>(rt_random(2));
        planet->Tick = 0;
        float spin = static_cast<float>(rt_random(10) + 3) / 20.0f;
        if (rt_random(1) == 0) spin = -spin;
        planet->Spin = spin;
        planet->Index = index;
        index += 1;
    });
    return 0;
}

int32_t LoadMoons() {
    ForEachPng([&](const std::string& directory, const std::string& name) {
        if (!IsMoonImage(name)) return;
        Moon* moon = ListAdd<Moon>(game.Moons);
        moon->Sprite = rt_sprite_load(-1, (directory + name).c_str());
        moon->PlanetIndex = kNoPlanet;
        // A moon whose planet does not exist keeps only its sprite.
        const int32_t planetIndex = MoonPlanetIndex(name);
        rt_list_reset(game.Planets);
        while (Planet* planet = ListNext<Planet>(game.Planets)) {
            if (planet->Index == planetIndex) AttachMoon(moon, planet->Sprite, planetIndex);
        }
    });
    return 0;
}

FamilyCounts CountFamilies(int32_t listingId) {
    FamilyCounts counts;
    ForEachPng(
        [&](const std::string&, const std::string& name) {
            counts.Enemies += IsEnemyImage(name) ? 1 : 0;
            counts.Bonuses += IsBonusImage(name) ? 1 : 0;
            counts.Planets += IsPlanetImage(name) ? 1 : 0;
            counts.Moons += IsMoonImage(name) ? 1 : 0;
        },
        listingId);
    return counts;
}

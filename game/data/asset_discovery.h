// SPDX-License-Identifier: GPL-3.0-or-later
// The open-ended asset families found by listing zentara/*.png: enemy images,
// bonus items, planets and moons.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "game/play/bonus_kinds.h"
#include "runtime/screen/rt_screen.h"

// The family a *.png entry's name puts it in (names compared as the game
// compares them: the prefix in any case, the length in bytes).
enum class PictureFamily { None, Enemy, Bonus, Planet, Moon };
PictureFamily FamilyOf(const std::string& name);

// The entries of the folder `directory` (ending in a separator) whose names
// match `pattern`, in the order the game lists them; the listing takes the id
// `listing` (-1: a new one, as every scan of the game asks).
std::vector<std::string> ListEntries(const std::string& directory, const char* pattern,
                                     int32_t listing = -1);

// The *.png entries, the ones the game looks through for its families.
std::vector<std::string> ListPictures(const std::string& directory, int32_t listing = -1);

// Bonus item n is of kind n modulo BonusKinds and is loaded from
// BonusFileStem(kind) + ".png" and ".wav", whatever its own name.
std::string BonusFileStem(int32_t kind);

// Planets are loaded as textures that can be turned.
inline constexpr int32_t PlanetPictureFlags = RT_SPRITE_TEXTURE;

// The planet a moon of this name circles: the number in the two characters
// after "planetmond" (0 when they hold no digits).
int32_t MoonPlanetIndex(const std::string& name);

// The highest enemy image index: the number of feind??.png entries minus 1
// (-1 when there is none).
int32_t CountEnemyImages();

// One Bonus per bonus??.png entry, kinds 0, 1, 2, 0, ... loaded from
// bonus00 .. bonus02 whatever the entry's name. `unused` is ignored. Returns 0.
int32_t LoadBonuses(int32_t unused);

// One Planet per planet??.png entry, indexed in listing order. Returns 0.
int32_t LoadPlanets();

// One Moon per planetmond* entry, attached to the planet whose index is the
// two characters after "planetmond". Must run after LoadPlanets. Returns 0.
int32_t LoadMoons();

// How many entries of each family the asset folder lists: the enemy images
// CountEnemyImages counts, and the bonuses, planets and moons a level loads.
// The listing is opened with `listingId` (-1: a new handle; a number: that
// slot, leaving alone the handles the game's objects get).
struct FamilyCounts {
    int32_t Enemies = 0;
    int32_t Bonuses = 0;
    int32_t Planets = 0;
    int32_t Moons = 0;
};
FamilyCounts CountFamilies(int32_t listingId = -1);

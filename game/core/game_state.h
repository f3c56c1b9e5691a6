// SPDX-License-Identifier: GPL-3.0-or-later
// The game's state, held in one place. `game` is zero-initialised at process
// start (static storage), which is the zeroing of the game's globals.
#pragma once
#include <cstdint>

#include "runtime/core/rt_core.h"  // rt_list of the entity lists

// The parameters of one level, in the order of the level file's lines 2 to
// 28: lines 2 to 24 hold one value per level, lines 25 to 28 one value for
// every level.
struct LevelParams {
    int32_t GoalPoints;         // won when Points exceeds it
    int32_t ShieldDecayPeriod;  // frames between decay steps of the shield
    int32_t ShieldDecayStep;
    int32_t Unused5;  // line 5: read and not used
    int32_t MaxShots;
    int32_t ShotSpeed;
    int32_t ShotDamage;  // doubled during "Extra gunpower"
    int32_t ShotHitPoints;
    int32_t GunpowerTime;  // ms
    int32_t RocketSpeed;
    int32_t RocketDamage;  // quartered during "Extra rocket cover"
    int32_t RocketHitPoints;
    int32_t RocketCoverTime;  // ms
    int32_t EnemySwayPeriod;
    int32_t EnemyCount;
    int32_t EnemyRepairChance;
    int32_t EnemyRepairStep;
    int32_t EnemyFireChance;
    int32_t EnemyKillPoints;
    int32_t EnemyPassPoints;
    int32_t CollisionDamage;
    int32_t EnemyBreakLevel;
    int32_t BonusValue;  // line 24: handed to LoadBonuses, which ignores it
    int32_t IntroTime;   // ms
    int32_t ShakeAmplitude;
    int32_t BaseAlpha;
    int32_t ShieldBase;
};

struct Game {
    // ---- Program: start-up, menu, level file, star field, text screens ----
    int32_t ScreenWidth, ScreenHeight;                    // 1024 x 768 from start-up on
    int32_t ShipEnabled, EnemiesEnabled, RocketsEnabled;  // 1 while "Disable" item unchecked
    int32_t LevelReached;  // from the level file at start-up; not updated while running
    int32_t LevelCount;
    int32_t CurrentLevel;
    int32_t MainWindow;        // window id
    int32_t MainWindowHandle;  // its platform handle (screen and menu)
    int32_t MainMenu;
    int32_t StarField;  // sprite
    int32_t MenuChoice;
    int32_t SkipLabel, StoryPage, FinalBanner;  // sprites
    int32_t StarScrollOffset, StarScrollTick;   // program-wide star-field scroll
    int32_t ShieldMessageCounter;               // calls of ShowShieldMessage in this run

    // The nine entity lists (records in records.h) and their current elements.
    rt_list* Enemies;
    void* EnemiesCurrent;
    rt_list* Bonuses;
    void* BonusesCurrent;
    rt_list* EnemyExplosions;
    void* EnemyExplosionsCurrent;
    rt_list* Planets;
    void* PlanetsCurrent;
    rt_list* Moons;
    void* MoonsCurrent;
    rt_list* Shots;
    void* ShotsCurrent;
    rt_list* ShotExplosions;
    void* ShotExplosionsCurrent;
    rt_list* Rockets;
    void* RocketsCurrent;
    rt_list* RocketExplosions;
    void* RocketExplosionsCurrent;

    // ---- Level: the level being played, ship, enemies, bonuses, planets ----
    LevelParams Params;  // read afresh at every level start

    // Loop state of the level being played; zeroed at every level start.
    int32_t ShipX, ShipY;
    int32_t ShipAngle;    // gun heading in degrees, clockwise from up
    int32_t TurnStep;     // degrees per frame of turning
    int32_t ShieldLevel;  // ship's damage; lost once above 255
    int32_t Points;
    int32_t ShotsInFlight;
    int32_t GunShots, Hits, RocketShots, RocketHits, EnemiesDestroyed;
    uint32_t GunpowerStart, RocketCoverStart;  // tick of the pick-up, 0 = off
    int32_t SavedShotDamage, SavedRocketDamage;
    int32_t ShieldMessageOn;
    int32_t Shake;  // overlay jitter of this frame
    int32_t StarDirection;
    int32_t CursorHidden;
    int32_t Lost;
    int32_t ShipWidth, ShipHeight;
    int32_t EnemyWidth, EnemyHeight;
    int32_t ShieldOffset, RocketBlastOffset, FlashOffset, EnemyShieldOffset;
    int32_t EnemyImageCount;  // highest enemy image index, -1 for none
    int32_t SpawnCount;
    int32_t HudSprite;
    int32_t PauseImage;

    // Assets of the level being played.
    int32_t ShotSound, RocketSound, EnemyExplosionSound, RocketExplosionSound, CollisionSound;
    int32_t ShipExplosionImage, ShotImage, PowerShotImage, ShotFlashImage;
    int32_t ShipImage, ShipRotated, ShipShieldImage;
    int32_t RocketImage, RocketExplosionImage;
    int32_t EnemyShieldImage, EnemyExplosionImage;
    int32_t CollisionFlashImage;

    // Game-wide counters: 0 at program start, carried from level to level.
    int32_t DecayCounter;
    int32_t HudCounter;
    int32_t SwayCounter;
    int32_t SwaySign;
};

extern Game game;

// Creates the nine entity lists (freeing lists already held).
void CreateEntityLists();

// Frees the nine entity lists and forgets them.
void FreeEntityLists();

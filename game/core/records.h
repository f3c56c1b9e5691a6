// SPDX-License-Identifier: GPL-3.0-or-later
// Record layouts of the game's nine entity lists. Each list element holds one
// of these records, byte for byte, so the structs are packed: the 8-bit fields
// are really 8 bits wide and wrap modulo 256 when the game adds to them.
// Handles (sprites, rotated sprites, sounds) are the runtime's 32-bit ids.
//
// Packed members must not be bound to references or pointers; read and write
// them by value.
#pragma once
#include <cstdint>

#pragma pack(push, 1)

// An enemy ship (list `Enemies`).
struct Enemy {
    int32_t Sprite;  // own copy of its enemy image
    int32_t X;
    int32_t Y;
    uint8_t Mirror;        // 1: sways against the common direction
    int32_t Speed;         // largest downward step, 2 .. 8
    int32_t ShieldSprite;  // own copy of the enemy-shield image
    uint8_t Shield;        // damage taken, also the shield's opacity
};

// A bonus item (list `Bonuses`).
struct Bonus {
    int32_t Sprite;
    int8_t Kind;       // 0 shield, 1 gunpower, 2 rocket cover
    int32_t Tick;      // frames since the last period tick
    int32_t Interval;  // frames between appearances
    uint8_t Active;    // 1 while crossing the screen
    int32_t X;
    int32_t Y;
    int8_t StepX;
    int8_t StepY;
    int32_t Sound;
};

// A fading explosion of an enemy or a shot hit (lists `EnemyExplosions`,
// `ShotExplosions`).
struct Explosion {
    int32_t X;
    int32_t Y;
    uint8_t Alpha;
};

// A drifting planet (list `Planets`).
struct Planet {
    int32_t Sprite;
    int32_t Rotor;  // rotated sprite made from Sprite; drawn and turned
    uint8_t Entered;
    int32_t X;
    int32_t Y;
    int8_t StepX;  // 0: waits to re-enter from the left
    int8_t StepY;
    int32_t Tick;
    float Spin;     // degrees per move
    int32_t Index;  // position in `Planets`, 0-based
};

// A moon swinging around a planet (list `Moons`).
struct Moon {
    int32_t Sprite;
    int32_t PlanetSprite;
    int32_t PlanetIndex;
    int32_t MaxX;
    int32_t MinX;
    int32_t MaxY;
    int32_t MinY;
    int32_t OffsetX;  // position relative to the planet's top-left corner
    int32_t OffsetY;
    int8_t StepX;
    int8_t StepY;
    int8_t Period;  // moves every Period frames
    int8_t Tick;
    uint8_t Behind;  // 1 while passing behind its planet
};

// A bullet of the ship (list `Shots`).
struct Shot {
    int32_t Sprite;       // own copy of the normal bullet image
    int32_t PowerSprite;  // own copy of the "Extra gunpower" bullet image
    int32_t X;            // reference point; the images are drawn offset
    int32_t Y;
    int8_t StepX;
    int8_t StepY;
};

// An enemy rocket (list `Rockets`).
struct Rocket {
    int32_t Sprite;  // own copy of the rocket image, for collisions
    int32_t Rotor;   // rotated sprite, for drawing
    int32_t X;
    int32_t Y;
    int8_t StepX;
    int8_t StepY;
};

// A fading explosion of a rocket on the ship (list `RocketExplosions`).
struct RocketExplosion {
    int32_t X;
    int32_t Y;
    int32_t Alpha;
};

#pragma pack(pop)

// Element data sizes the lists are created with, in their creation order.
// The enemy list reserves one byte more than its record uses.
inline constexpr int32_t kEnemyRecordSize = 23;
inline constexpr int32_t kBonusRecordSize = 28;
inline constexpr int32_t kEnemyExplosionRecordSize = 9;
inline constexpr int32_t kPlanetRecordSize = 31;
inline constexpr int32_t kMoonRecordSize = 41;
inline constexpr int32_t kShotRecordSize = 18;
inline constexpr int32_t kShotExplosionRecordSize = 9;
inline constexpr int32_t kRocketRecordSize = 18;
inline constexpr int32_t kRocketExplosionRecordSize = 12;

static_assert(sizeof(Enemy) <= kEnemyRecordSize);
static_assert(sizeof(Bonus) == kBonusRecordSize);
static_assert(sizeof(Explosion) == kEnemyExplosionRecordSize);
static_assert(sizeof(Explosion) == kShotExplosionRecordSize);
static_assert(sizeof(Planet) == kPlanetRecordSize);
static_assert(sizeof(Moon) == kMoonRecordSize);
static_assert(sizeof(Shot) == kShotRecordSize);
static_assert(sizeof(Rocket) == kRocketRecordSize);
static_assert(sizeof(RocketExplosion) == kRocketExplosionRecordSize);

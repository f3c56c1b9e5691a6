// SPDX-License-Identifier: GPL-3.0-or-later
// The picture recipes of the asset pack. Every picture is drawn here from shapes,
// gradients, noise and light; nothing is read from outside.
#pragma once

#include <string>
#include <vector>

#include "canvas.h"

namespace assetgen {

// How the game loads a picture, and so how it must be written.
enum class Keying {
    Black,       // flags 0 or 4: pure black is transparent, everything else opaque
    Alpha,       // flags 12: the PNG's own alpha channel
    AlphaWhite,  // flags 12, and the game also copies it with a white key: clear pixels white
};

struct Picture {
    std::string name;
    Canvas canvas;
    Keying keying;
};

// Sizes the game's offsets depend on (all squares are centred on each other).
namespace size {
constexpr int kShip = 64;        // spaceship.png
constexpr int kShipShield = 96;  // shipschirm.png: (96 - 64) / 2 = 16 around the ship
constexpr int kShot = 11;        // shipkugel1.png, drawn at -5: centre pixel 5
constexpr int kPowerShot = 7;    // shipkugel2.png, drawn at -3: centre pixel 3
constexpr int kHitFlash = 24;    // shipKugelexplosion.png
constexpr int kShipBlast = 224;  // shipexplosion.png
constexpr int kRocketW = 12, kRocketH = 32;
constexpr int kRocketBlast = 128;  // raketeexplosion.png: (128 - 64) / 2 = 32
constexpr int kEnemy = 64;         // every feindNN.png
constexpr int kEnemyShield = 88;   // feindschirm.png: (88 - 64) / 2 = 12
constexpr int kEnemyBlast = 64;    // feindexplosion.png, drawn at the enemy's corner
constexpr int kCollision = 112;    // kollision.png: (112 - 64) / 2 = 24
constexpr int kBonus = 40;
}  // namespace size

std::vector<Picture> ship_pictures();

// Where a recipe designed on its own pixel grid lands on a canvas: scaled by
// `scale`, its origin at `offset`.
struct Placement {
    float scale = 1.0f;
    Vec2 offset{0.0f, 0.0f};
    Vec2 to_design(Vec2 p) const { return (p - offset) * (1.0f / scale); }
    Vec2 to_canvas(Vec2 p) const { return p * scale + offset; }
};
// The player's ship (a 64-pixel design) drawn onto `canvas`.
void draw_spaceship(Canvas& canvas, Placement at);
std::vector<Picture> enemy_pictures();
std::vector<Picture> effect_pictures();
std::vector<Picture> item_pictures();
std::vector<Picture> planet_pictures();

// Shared helpers of the recipes.

// A fireball with a turbulent edge: white core through yellow and orange to red
// smoke, over `radius` pixels around `centre`.
void draw_fireball(Canvas& canvas, Vec2 centre, float radius, unsigned seed,
                   const std::vector<RampStop>& palette, float turbulence);
// Short bright streaks flying outward from `centre`.
void draw_sparks(Canvas& canvas, Vec2 centre, float inner, float outer, int count, unsigned seed,
                 Color color);
// Energy bubble with a hexagonal mesh.
void draw_bubble(Canvas& canvas, Vec2 centre, float radius, Color rim, Color mesh, float mesh_alpha,
                 float fill_alpha, float cell);

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed files of the asset folder that every level start loads, named as
// the program names them (the runtime takes either separator), and how each
// picture is loaded.
#pragma once
#include <cstdint>

#include "runtime/screen/rt_screen.h"

struct FixedPicture {
    const char* Path;
    int32_t Flags;  // of rt_sprite_load_flags
};

// Kept as a texture that a rotated sprite can use, with the picture's own
// alpha channel instead of a transparent colour.
inline constexpr int32_t AlphaTexture = RT_SPRITE_TEXTURE | RT_SPRITE_ALPHA;

inline constexpr FixedPicture ShipExplosionPicture{"zentara\\shipexplosion.png", AlphaTexture};
inline constexpr FixedPicture ShotPicture{"zentara\\shipkugel1.png", 0};
inline constexpr FixedPicture PowerShotPicture{"zentara\\shipkugel2.png", 0};
inline constexpr FixedPicture ShotFlashPicture{"zentara\\shipKugelexplosion.png", AlphaTexture};
inline constexpr FixedPicture ShipPicture{"zentara\\spaceship.png", AlphaTexture};
inline constexpr FixedPicture ShipShieldPicture{"zentara\\shipschirm.png", AlphaTexture};
inline constexpr FixedPicture RocketPicture{"zentara\\rakete.png", AlphaTexture};
inline constexpr FixedPicture RocketExplosionPicture{"zentara\\raketeexplosion.png", AlphaTexture};
inline constexpr FixedPicture EnemyShieldPicture{"zentara\\feindschirm.png", AlphaTexture};
inline constexpr FixedPicture EnemyExplosionPicture{"zentara\\feindexplosion.png", AlphaTexture};
inline constexpr FixedPicture CollisionFlashPicture{"zentara\\kollision.png", AlphaTexture};

inline constexpr const char* ShotSoundFile = "zentara\\kugel.wav";
inline constexpr const char* RocketSoundFile = "zentara\\rakete.wav";
inline constexpr const char* EnemyExplosionSoundFile = "zentara\\feindexplosion.wav";
inline constexpr const char* RocketExplosionSoundFile = "zentara/raketeexplosion.wav";
inline constexpr const char* CollisionSoundFile = "zentara/kollision.wav";

// Every sound of a level is played at this volume (0 to 100).
inline constexpr int32_t SoundVolume = 70;

// Loads a fixed picture as a level start does.
inline int32_t LoadFixedPicture(const FixedPicture& picture) {
    return rt_sprite_load_flags(-1, picture.Path, picture.Flags);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// A sprite as kept in the sprite table, and the table itself.
#pragma once
#include <cstdint>
#include <memory>

#include "runtime/core/rt_core.h"
#include "runtime/screen/sprite_pixels.h"

namespace rt::sprites {

struct SpriteRecord {
    uint32_t live = 1;  // the table's in-use mark
    int32_t width = 0, height = 0;
    int32_t depth = 32;
    int32_t flags = 0;
    int32_t sourceWidth = 0, sourceHeight = 0;
    std::shared_ptr<rt_sprite_pixels> pixels;
};

// The record named by the id, or null.
SpriteRecord* find(int32_t id);

// A new record under the id (-1: a new handle), with a pixel store of the
// size and flags; whatever lived under a numbered id is freed first. Null
// (the reason recorded) when the flags are refused (8 without 4), the size is
// negative or above 2^29 pixels, or the id is not valid. Without
// `blank_pixels` the store starts empty, for a caller that adopts pixels at once.
// Null also when the pixels cannot be had (nothing is left under the id).
SpriteRecord* create(int32_t id, int32_t width, int32_t height, int32_t flags, int32_t* new_id,
                     bool blank_pixels = true);

// Answers id when its sprite holds the pixels its size needs; otherwise (their
// memory could not be had) frees the sprite and answers 0.
int32_t keep_if_filled(int32_t id);

// Ends the sprite's life and removes it from the table; unknown ids are ignored.
void destroy(int32_t id);

// True while `pixels` is the pixel store of a live sprite.
bool is_lent(const rt_sprite_pixels* pixels);

inline constexpr uint32_t kBlackKey = 0;  // the one transparent colour

inline bool flags_refused(int32_t flags) {
    return (flags & 12) == 8;
}

}  // namespace rt::sprites

// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): what the sprite, rotated-sprite and drawing code needs
// from the screen: the back buffer, the scene painter and the blend set-up.
#pragma once
#include <cstdint>
#include <memory>

struct rt_sprite_pixels;

class QImage;
class QPainter;
class QRect;

namespace rt::screen {

// Render-state values understood by rt_render_state_set (the blend factors
// keep the numbers of the original device API so callers read the same).
inline constexpr int32_t kBlendZero = 1;
inline constexpr int32_t kBlendOne = 2;
inline constexpr int32_t kBlendSourceAlpha = 5;
inline constexpr int32_t kBlendInverseSourceAlpha = 6;
inline constexpr int32_t kVertexTextured = 1;         // position + texture coordinates
inline constexpr int32_t kVertexTexturedDiffuse = 2;  // ... plus a diffuse colour

// Pixel-format code of a 32-bit back buffer for direct pixel writes.
inline constexpr int32_t kPixelFormatX8R8G8B8 = 64;

// The back buffer (Format_RGB32) for reading while a screen is open, else
// nullptr. Writers go through draw_opaque, scene or a BackBufferLoan.
const QImage* back_buffer();

// Copies an opaque picture (every alpha 0xFF) to (x, y) on the back buffer,
// clipped; nothing when no screen is open.
void draw_opaque(const QImage& picture, int32_t x, int32_t y);

// Something other than an opaque picture is about to be drawn within `area`
// (back-buffer pixels) by a drawing pass: writes a pending clear first.
void mark_drawn(const QRect& area);

// The scene painter, while a scene is open (rt_scene_begin), for drawing
// within `area` (back-buffer pixels); else nullptr.
QPainter* scene(const QRect& area);

// Held by a drawing pass while its caller may write the back buffer's memory
// through a pointer, at any time: the buffer counts as wholly changed, and
// clears are written at once, since the writes would not see a pending one.
class BackBufferLoan {
  public:
    BackBufferLoan();
    ~BackBufferLoan();
    BackBufferLoan(const BackBufferLoan&) = delete;
    BackBufferLoan& operator=(const BackBufferLoan&) = delete;
    // The back buffer to write; nullptr when no screen is open.
    QImage* buffer() const;
};

int32_t pixel_format_code();
int32_t bits_per_pixel();

// Colour 0x00BBGGRR -> opaque 0xFFRRGGBB as stored in 32-bit images.
inline uint32_t to_argb(uint32_t colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}
// 0x??RRGGBB -> 0x00BBGGRR.
inline uint32_t from_argb(uint32_t argb) {
    return ((argb & 0xFFu) << 16) | (argb & 0xFF00u) | ((argb >> 16) & 0xFFu);
}

}  // namespace rt::screen

namespace rt::sprite3d {
// True while the rotated-sprite set-up is in force on the scene.
bool mode_states_set();
// Restores the plain set-up (called by plain sprite draws).
void leave_mode_states();
}  // namespace rt::sprite3d

namespace rt::sprites {
// Creates the sprite table (once) and frees every sprite in it.
bool init_table();
void free_all();
// The pixel store of a sprite (shared), or null; its flags in *flags.
std::shared_ptr<rt_sprite_pixels> pixels(int32_t sprite, int32_t* flags);
}  // namespace rt::sprites

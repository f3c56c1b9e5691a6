// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing state of one pass on one target (the back buffer or a sprite).
// The target alternates between lending a painter ("context") for text and
// shapes, and being locked for direct pixel writes.
#pragma once
#include <QFont>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <memory>
#include <optional>

#include "runtime/draw/rt_draw.h"
#include "runtime/screen/screen_internal.h"

struct rt_sprite_pixels;

struct rt_draw_state {
    enum class Kind { Screen, Sprite };

    static constexpr uint32_t kDefaultFrontColour = 0xFFFFFF;
    static constexpr uint32_t kDefaultBackColour = 0x000000;
    static constexpr int32_t kTargetDeviceSurface = 7;

    // Target routines.
    QPainter* acquire_context();
    bool lock_target();
    void release_target(bool final);

    // True once the target went away under the pass: the screen closed (or was
    // opened anew), or the sprite's pixels were replaced. Such a pass draws
    // nothing more and gives nothing back at its stop.
    bool target_lost() const;
    // Lets go of the target without touching its pixels.
    void drop_target();

    // Makes sure a painter is held (re-acquiring after a lock); null if none.
    QPainter* context();
    // Says that the next drawing may change the pixels within `area` of the
    // target, before it draws (the screen keeps track of what changed).
    void touch(const QRect& area);
    // The image the painter works on (the sprite's opaque view or the back buffer).
    QImage* context_image();

    Kind kind = Kind::Screen;
    std::shared_ptr<rt_sprite_pixels> sprite;
    int32_t width = 0, height = 0, depth = 32;
    std::optional<uint32_t> frontColour;  // last colour set; none yet
    std::optional<uint32_t> backColour;
    int32_t targetKind = kTargetDeviceSurface;
    uint8_t* bufferPointer = nullptr;
    int32_t bufferPitch = 0;
    int32_t pixelFormatCode = 0;
    QPainter* deviceContext = nullptr;
    // The back buffer's painter while held. It paints on a view of the back
    // buffer's pixels, so it never belongs to the screen's own image, whose
    // end (closing the screen) must not take a live painter with it.
    QImage screenView;
    std::optional<QPainter> screenPainter;
    // Held while the pointer to the back buffer's memory is handed out.
    std::optional<rt::screen::BackBufferLoan> screenLoan;
    // Which back buffer (its image serial) or which pixels of the sprite (the
    // store's generation) the pass was made for.
    uint64_t targetSerial = 0;
    int32_t mode = 0;
    int32_t contextState = 0;  // 1 = painter held, -1 = given up for a lock
    bool started = false;
    QFont font;
    int32_t italicOverhang = 0;
    std::optional<QFont> rotatedFont;
    float rotatedAngle = 0.0f;
};

namespace rt::draw {

// The operations of a pass, on its state.
void set_back_colour(rt_draw_state& s, uint32_t colour);
void set_front_colour(rt_draw_state& s, uint32_t colour);
void box(rt_draw_state& s, int32_t x, int32_t y, int32_t width, int32_t height);
void round_box(rt_draw_state& s, int32_t x, int32_t y, int32_t width, int32_t height, int32_t rx,
               int32_t ry);
void circle(rt_draw_state& s, int32_t x, int32_t y, int32_t radius);
void select_font(rt_draw_state& s, int32_t font_handle);
uint8_t* drawing_buffer(rt_draw_state& s);
void set_mode(rt_draw_state& s, int32_t mode);
int32_t text(rt_draw_state& s, int32_t x, int32_t y, const char* text);
void rotated_text(rt_draw_state& s, int32_t x, int32_t y, const char* text, float angle);
void ellipse(rt_draw_state& s, int32_t x, int32_t y, int32_t rx, int32_t ry);
void fill_area(rt_draw_state& s, int32_t x, int32_t y, uint32_t border_colour);
void line(rt_draw_state& s, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void plot_front(rt_draw_state& s, int32_t x, int32_t y);
void plot(rt_draw_state& s, int32_t x, int32_t y, uint32_t colour);
int32_t point(rt_draw_state& s, int32_t x, int32_t y);
bool start(rt_draw_state& s);
void stop(rt_draw_state& s);
int32_t text_height(rt_draw_state& s, const char* text);
int32_t grab_image(rt_draw_state& s, int32_t id, int32_t x, int32_t y, int32_t width,
                   int32_t height);
void draw_image_sized(rt_draw_state& s, int32_t id, int32_t x, int32_t y, int32_t width,
                      int32_t height);
void draw_image_alpha(rt_draw_state& s, int32_t id, int32_t x, int32_t y, int32_t opacity);
int32_t text_width(rt_draw_state& s, const char* text);

// 8-bit (Windows-1252) text as a QString.
QString from_8bit(const char* text);

}  // namespace rt::draw

// SPDX-License-Identifier: GPL-3.0-or-later
// The two drawing targets: the screen's back buffer and a sprite's pixels.
#include "runtime/draw/draw_state.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_pixels.h"

namespace {
// Identifies the back buffer's pixel block for as long as it lives (the image
// serial; the low half of the cache key counts mere writes).
uint64_t back_buffer_serial(const QImage& back) {
    return static_cast<uint64_t>(back.cacheKey()) >> 32;
}
}  // namespace

bool rt_draw_state::target_lost() const {
    if (kind == Kind::Sprite) return !sprite || sprite->generation() != targetSerial;
    const QImage* back = rt::screen::back_buffer();
    return back == nullptr || back_buffer_serial(*back) != targetSerial;
}

void rt_draw_state::drop_target() {
    deviceContext = nullptr;
    bufferPointer = nullptr;
    screenPainter.reset();
    screenView = QImage();
    screenLoan.reset();
    contextState = 0;
}

QPainter* rt_draw_state::acquire_context() {
    if (kind == Kind::Screen) {
        screenLoan.reset();
        const QImage* back = rt::screen::back_buffer();
        if (back == nullptr) return nullptr;
        // Sprites and the pass must not paint the back buffer at once.
        rt_scene_end();
        bufferPointer = nullptr;
        if (targetSerial == 0) targetSerial = back_buffer_serial(*back);
        // The view shares the buffer's memory; every drawing through it says
        // where it draws first (touch).
        screenView = QImage(const_cast<uchar*>(back->constBits()), back->width(), back->height(),
                            back->bytesPerLine(), back->format());
        screenPainter.emplace(&screenView);
        deviceContext = screenPainter->isActive() ? &*screenPainter : nullptr;
        if (deviceContext == nullptr) screenPainter.reset();
    } else {
        // Painting access ends the pass's direct access (its writes show from
        // here on).
        bufferPointer = nullptr;
        deviceContext = sprite ? sprite->gdi_begin() : nullptr;
    }
    return deviceContext;
}

bool rt_draw_state::lock_target() {
    deviceContext = nullptr;
    if (kind == Kind::Screen) {
        screenPainter.reset();
        screenView = QImage();
        screenLoan.emplace();
        QImage* back = screenLoan->buffer();
        if (back == nullptr) {
            screenLoan.reset();
            return false;
        }
        rt_scene_end();
        bufferPointer = back->bits();
        bufferPitch = static_cast<int32_t>(back->bytesPerLine());
        return true;
    }
    if (!sprite) return false;
    // Pixels painted so far go back with the transparent colour first.
    sprite->gdi_end(false);
    int32_t pitch = 0;
    uint8_t* bits = sprite->lock(&pitch);
    if (bits == nullptr) return false;
    bufferPointer = bits;
    bufferPitch = pitch;
    return true;
}

void rt_draw_state::release_target(bool) {
    deviceContext = nullptr;
    bufferPointer = nullptr;
    if (kind == Kind::Screen) {
        screenPainter.reset();
        screenView = QImage();
        screenLoan.reset();
    } else if (sprite) {
        // Either access ends here; a lock's writes show from now on.
        sprite->gdi_end(false);
        sprite->unlock();
    }
}

QPainter* rt_draw_state::context() {
    // A sprite's painter may also have been closed from outside the pass (a
    // lock of its pixels, an end of painting access): the pass then paints
    // through a fresh one instead of the one that is gone.
    const bool closed_elsewhere = kind == Kind::Sprite && contextState == 1 && sprite &&
                                  deviceContext != sprite->open_painter();
    if (contextState == -1 || closed_elsewhere) {
        contextState = 1;
        acquire_context();
    }
    // Reading or drawing the screen needs a pending clear written first.
    if (kind == Kind::Screen && deviceContext != nullptr) rt::screen::back_buffer();
    return deviceContext;
}

void rt_draw_state::touch(const QRect& area) {
    if (kind == Kind::Screen) rt::screen::mark_drawn(area);
}

QImage* rt_draw_state::context_image() {
    QPainter* painter = context();
    return painter ? dynamic_cast<QImage*>(painter->device()) : nullptr;
}

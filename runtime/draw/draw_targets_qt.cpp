// The two drawing targets: the screen's back buffer and a sprite's pixels.
#include "runtime/draw/draw_state.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_pixels.h"

QPainter* rt_draw_state::acquire_context() {
    if (kind == Kind::Screen) {
        QImage* back = rt::screen::back_buffer();
        if (back == nullptr) return nullptr;
        // Sprites and the pass must not paint the back buffer at once.
        rt_scene_end();
        bufferPointer = nullptr;
        screenPainter.emplace(back);
        deviceContext = screenPainter->isActive() ? &*screenPainter : nullptr;
        if (deviceContext == nullptr) screenPainter.reset();
    } else {
        bufferPointer = nullptr;
        deviceContext = sprite ? sprite->gdi_begin() : nullptr;
    }
    return deviceContext;
}

bool rt_draw_state::lock_target() {
    deviceContext = nullptr;
    if (kind == Kind::Screen) {
        screenPainter.reset();
        QImage* back = rt::screen::back_buffer();
        if (back == nullptr) return false;
        rt_scene_end();
        bufferPointer = back->bits();
        bufferPitch = static_cast<int32_t>(back->bytesPerLine());
        return true;
    }
    if (!sprite) return false;
    // Pixels painted so far go back with the transparent colour first.
    sprite->gdi_end(false);
    int32_t pitch = 0;
    uint8_t* bits = sprite->lock(false, &pitch);
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
    } else if (sprite) {
        sprite->gdi_end(false);
    }
}

QPainter* rt_draw_state::context() {
    if (contextState == -1) {
        contextState = 1;
        acquire_context();
    }
    return deviceContext;
}

QImage* rt_draw_state::context_image() {
    QPainter* painter = context();
    return painter ? dynamic_cast<QImage*>(painter->device()) : nullptr;
}

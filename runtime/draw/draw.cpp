// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing passes: the calling thread's current drawing state, its targets and
// the operations the game calls.
#include <memory>

#include "runtime/core/boundary.h"
#include "runtime/draw/draw_state.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_pixels.h"
#include "runtime/window/qt_platform.h"

namespace {

// The thread's current drawing state: made by a target operation, dropped by
// the stop (or a failed start).
thread_local std::unique_ptr<rt_draw_state> t_current;

// The current state while a pass runs on a target that is still there, else
// null. A pass whose target went away lets go of it here, before anything
// could paint on memory that is gone.
rt_draw_state* pass() {
    rt_draw_state* s = t_current.get();
    if (s == nullptr || !s->started) return nullptr;
    if (s->target_lost()) {
        s->drop_target();
        return nullptr;
    }
    return s;
}

// Makes the state the thread's current one. A pass still running on the
// thread is ended first, so its target is given back.
rt_draw_state* make_current(std::unique_ptr<rt_draw_state> state) {
    if (t_current && t_current->started) rt_draw_stop();
    t_current = std::move(state);
    return t_current.get();
}

}  // namespace

using rt::core::fail;
using rt::core::guarded;

namespace {

// Runs a primitive on the thread's running pass.
template <class Result, class Work>
Result on_pass(const char* function, Result failure, Work&& work) noexcept {
    return guarded(function, failure, [&]() -> Result {
        rt_draw_state* s = pass();
        if (s == nullptr) return fail(failure, "no drawing pass is running");
        return work(*s);
    });
}

// The same for a primitive that answers nothing.
template <class Work>
void on_pass(const char* function, Work&& work) noexcept {
    on_pass(function, 0, [&](rt_draw_state& s) {
        work(s);
        return 0;
    });
}

}  // namespace

extern "C" {

void rt_draw_init(void) {
    // The slot is thread_local storage; a state left over is dropped.
    guarded(__func__, [] { t_current.reset(); });
}

rt_draw_state* rt_screen_output(void) {
    return guarded(__func__, static_cast<rt_draw_state*>(nullptr), []() -> rt_draw_state* {
        const QImage* back = rt::screen::back_buffer();
        if (back == nullptr) return fail<rt_draw_state*>(nullptr, "no screen is open");
        rt::qt::app();  // text needs the application's font database
        auto state = std::make_unique<rt_draw_state>();
        state->kind = rt_draw_state::Kind::Screen;
        state->width = back->width();
        state->height = back->height();
        state->depth = rt::screen::bits_per_pixel();
        state->pixelFormatCode = rt::screen::pixel_format_code();
        if (state->acquire_context() == nullptr)
            return fail<rt_draw_state*>(nullptr, "the screen's painter cannot be had");
        return make_current(std::move(state));
    });
}

rt_draw_state* rt_sprite_output(int32_t sprite) {
    return guarded(__func__, static_cast<rt_draw_state*>(nullptr), [&]() -> rt_draw_state* {
        std::shared_ptr<rt_sprite_pixels> pixels = rt::sprites::pixels(sprite, nullptr);
        if (pixels == nullptr) return fail<rt_draw_state*>(nullptr, "no such sprite");
        rt::qt::app();
        auto state = std::make_unique<rt_draw_state>();
        state->kind = rt_draw_state::Kind::Sprite;
        state->sprite = std::move(pixels);
        state->width = state->sprite->width();
        state->height = state->sprite->height();
        state->depth = 32;
        state->pixelFormatCode = rt::screen::kPixelFormatX8R8G8B8;
        state->targetSerial = state->sprite->generation();
        if (state->acquire_context() == nullptr)
            return fail<rt_draw_state*>(nullptr, "the sprite has no pixels to paint");
        return make_current(std::move(state));
    });
}

int32_t rt_draw_start(rt_draw_state* target) {
    return guarded(__func__, 0, [&] {
        // Compared by address only: a target given back earlier is never touched.
        if (target == nullptr) return fail(0, "no target (NULL)");
        if (target != t_current.get())
            return fail(
                0, "not the target the thread's last rt_screen_output or rt_sprite_output made");
        if (target->target_lost()) {
            target->drop_target();
            t_current.reset();
            return fail(0, "the target went away");
        }
        if (!rt::draw::start(*target)) {
            target->release_target(false);
            t_current.reset();
            return fail(0, "the target cannot be painted");
        }
        target->started = true;
        return 1;
    });
}

void rt_draw_stop(void) {
    guarded(__func__, [] {
        rt_draw_state* s = t_current.get();
        if (s == nullptr || !s->started)
            return rt::core::record_failure("no drawing pass is running");
        if (s->target_lost())
            s->drop_target();
        else
            rt::draw::stop(*s);
        t_current.reset();
    });
}

int32_t rt_draw_text(int32_t x, int32_t y, const char* text, uint32_t front_colour) {
    return guarded(__func__, x, [&] {
        return rt_draw_text_colours(x, y, text, front_colour, rt_draw_state::kDefaultBackColour);
    });
}

int32_t rt_draw_text_colours(int32_t x, int32_t y, const char* text, uint32_t front_colour,
                             uint32_t back_colour) {
    return on_pass(__func__, x, [&](rt_draw_state& s) {
        if (text == nullptr) return fail(x, "no text (NULL)");
        if (s.frontColour != front_colour) rt::draw::set_front_colour(s, front_colour);
        if (s.backColour != back_colour) rt::draw::set_back_colour(s, back_colour);
        return rt::draw::text(s, x, y, text);
    });
}

void rt_draw_box(int32_t x, int32_t y, int32_t width, int32_t height, uint32_t colour) {
    on_pass(__func__, [&](rt_draw_state& s) {
        if (s.frontColour != colour) rt::draw::set_front_colour(s, colour);
        rt::draw::box(s, x, y, width, height);
    });
}

void rt_draw_plot(int32_t x, int32_t y, uint32_t colour) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::plot(s, x, y, colour); });
}

void rt_draw_font(int32_t font_handle) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::select_font(s, font_handle); });
}

void rt_draw_mode(int32_t mode) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::set_mode(s, mode); });
}

void rt_draw_front_colour(uint32_t colour) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::set_front_colour(s, colour); });
}

void rt_draw_back_colour(uint32_t colour) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::set_back_colour(s, colour); });
}

void rt_draw_round_box(int32_t x, int32_t y, int32_t width, int32_t height, int32_t radius_x,
                       int32_t radius_y) {
    on_pass(__func__, [&](rt_draw_state& s) {
        rt::draw::round_box(s, x, y, width, height, radius_x, radius_y);
    });
}

void rt_draw_circle(int32_t x, int32_t y, int32_t radius) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::circle(s, x, y, radius); });
}

void rt_draw_ellipse(int32_t x, int32_t y, int32_t radius_x, int32_t radius_y) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::ellipse(s, x, y, radius_x, radius_y); });
}

void rt_draw_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::line(s, x1, y1, x2, y2); });
}

void rt_draw_fill(int32_t x, int32_t y, uint32_t border_colour) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::fill_area(s, x, y, border_colour); });
}

void rt_draw_plot_front(int32_t x, int32_t y) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::plot_front(s, x, y); });
}

int32_t rt_draw_point(int32_t x, int32_t y) {
    return on_pass(__func__, -1, [&](rt_draw_state& s) { return rt::draw::point(s, x, y); });
}

void rt_draw_text_rotated(int32_t x, int32_t y, const char* text, float angle) {
    on_pass(__func__, [&](rt_draw_state& s) {
        if (text == nullptr) return rt::core::record_failure("no text (NULL)");
        if (!rt::core::finite(angle))
            return rt::core::record_failure("the angle is not a finite number");
        rt::draw::rotated_text(s, x, y, text, angle);
    });
}

int32_t rt_draw_text_width(const char* text) {
    return on_pass(__func__, 0, [&](rt_draw_state& s) {
        return text ? rt::draw::text_width(s, text) : fail(0, "no text (NULL)");
    });
}

int32_t rt_draw_text_height(const char* text) {
    return on_pass(__func__, 0, [&](rt_draw_state& s) {
        return text ? rt::draw::text_height(s, text) : fail(0, "no text (NULL)");
    });
}

int32_t rt_draw_grab_image(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height) {
    return on_pass(__func__, 0, [&](rt_draw_state& s) {
        return rt::draw::grab_image(s, id, x, y, width, height);
    });
}

void rt_draw_image(int32_t image, int32_t x, int32_t y) {
    on_pass(__func__, [&](rt_draw_state& s) { rt::draw::draw_image_sized(s, image, x, y, 0, 0); });
}

void rt_draw_image_sized(int32_t image, int32_t x, int32_t y, int32_t width, int32_t height) {
    on_pass(__func__,
            [&](rt_draw_state& s) { rt::draw::draw_image_sized(s, image, x, y, width, height); });
}

void rt_draw_image_alpha(int32_t image, int32_t x, int32_t y, int32_t opacity) {
    on_pass(__func__,
            [&](rt_draw_state& s) { rt::draw::draw_image_alpha(s, image, x, y, opacity); });
}

void* rt_draw_buffer(void) {
    return on_pass(__func__, static_cast<void*>(nullptr), [](rt_draw_state& s) -> void* {
        uint8_t* bits = rt::draw::drawing_buffer(s);
        return bits ? bits : fail<void*>(nullptr, "the target's pixels cannot be had");
    });
}

int32_t rt_draw_buffer_pitch(void) {
    return on_pass(__func__, 0, [](rt_draw_state& s) {
        if (s.bufferPointer == nullptr) rt::draw::drawing_buffer(s);
        return s.bufferPitch;
    });
}

int32_t rt_draw_buffer_format(void) {
    return on_pass(__func__, 0, [](rt_draw_state& s) { return s.pixelFormatCode; });
}

}  // extern "C"

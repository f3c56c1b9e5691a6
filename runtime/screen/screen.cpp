// SPDX-License-Identifier: GPL-3.0-or-later
// The screen: one back buffer shown in a child widget of a runtime window,
// cleared and flipped once per frame, with frame pacing.
#include "runtime/core/boundary.h"
#include "runtime/core/replay_hooks.h"
#include "runtime/screen/decoded_images.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/screen_state.h"
#include "runtime/window/qt_platform.h"

namespace rt::screen {

ScreenState& state() {
    static ScreenState s;
    return s;
}

int32_t pixel_format_code() {
    return state().pixelFormatCode;
}
int32_t bits_per_pixel() {
    return state().bitsPerPixel;
}

}  // namespace rt::screen

using rt::core::fail;
using rt::core::guarded;
using rt::screen::state;

namespace {

// The largest back buffer: 2^29 pixels, as for sprites.
constexpr int64_t kMaxPixels = int64_t{1} << 29;

int32_t open_screen(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                    int32_t auto_stretch, int32_t right_margin, int32_t bottom_margin) {
    // Refused before anything closes: a refused open leaves the open screen.
    if (width <= 0 || height <= 0) return fail(0, "a size below 1");
    if (int64_t{width} * height > kMaxPixels) return fail(0, "too large (more than 2^29 pixels)");
    if (rt::qt::client_widget(window) == nullptr) return fail(0, "no such window");
    rt_screen_close();
    auto& s = state();
    s.renderStateCache = {-1, -1, -1, -1};
    s.x = x;
    s.y = y;
    s.rightMargin = right_margin;
    s.bottomMargin = bottom_margin;
    s.autoStretch = auto_stretch != 0;
    s.width = width;
    s.height = height;
    s.parentWindow = window;
    s.backBuffer = QImage(width, height, QImage::Format_RGB32);
    if (s.backBuffer.isNull() || !rt::screen::create_child(window)) {
        s.backBuffer = QImage();
        s.width = s.height = 0;
        rt::sprites::free_all();
        return fail(0, "the screen's picture or widget cannot be had");
    }
    rt::screen::fit_child();
    s.pixelFormatCode = rt::screen::kPixelFormatX8R8G8B8;
    s.bitsPerPixel = 32;
    s.backBuffer.fill(0xFF000000u);
    rt::screen::forget_back_buffer_history();
    rt::screen::hook_parent();
    s.refreshRate = rt::screen::desktop_refresh_rate();
    s.isOpen = true;
    s.isActive = true;
    rt_screen_texture_states();
    return 1;
}

}  // namespace

extern "C" {

int32_t rt_screen_init(void) {
    return guarded(__func__, 0, [] {
        auto& s = state();
        if (s.initialised) return fail(0, "already initialised");
        if (!rt::sprites::init_table()) return 0;  // the table said why
        s.initialised = true;
        return 1;
    });
}

int32_t rt_screen_open(int32_t window, int32_t x, int32_t y, int32_t width, int32_t height,
                       int32_t auto_stretch, int32_t right_margin, int32_t bottom_margin) {
    return guarded(__func__, 0, [&] {
        return open_screen(window, x, y, width, height, auto_stretch, right_margin, bottom_margin);
    });
}

int32_t rt_screen_frame_rate(int32_t fps) {
    return guarded(__func__, 0, [&] {
        state().pacer.set_rate(fps);
        return 1;
    });
}

void rt_screen_clear(uint32_t colour) {
    guarded(__func__, [&] {
        if (!state().isOpen) return rt::core::record_failure("no screen is open");
        rt::screen::clear_back_buffer(rt::screen::to_argb(colour));
    });
}

int32_t rt_screen_flip(void) {
    return guarded(__func__, 0, [] {
        auto& s = state();
        if (!s.isOpen) return 1;
        // A recording whose record for this frame cannot be written stops,
        // and this flip says so (the reason recorded); the frame still shows.
        const bool recorded = !rt::replay::active() || rt::replay::frame();
        if (s.isActive) {
            rt_scene_end();
            s.isActive = rt::screen::present();
            ++s.flipCount;
        }
        s.pacer.pace();
        return recorded ? 1 : 0;
    });
}

void rt_screen_close(void) {
    guarded(__func__, [] {
        auto& s = state();
        if (!s.isOpen) return;
        rt::sprites::free_all();
        rt::sprites::forget_decoded();
        rt_scene_end();
        s.width = s.height = 0;
        rt::screen::destroy_child();
        s.backBuffer = QImage();
        rt::screen::forget_back_buffer_history();
        s.isOpen = false;
        s.isActive = false;
    });
}

void rt_screen_shutdown(void) {
    guarded(__func__, [] {
        auto& s = state();
        if (!s.initialised) return;
        rt_screen_close();
        // Pictures decoded while no screen was open are kept too (their loads
        // fail only after decoding), and the close above skips a closed screen.
        rt::sprites::forget_decoded();
        s.initialised = false;
    });
}

void rt_screen_cleanup_hook(void) {
    guarded(__func__, [] {});
}

int32_t rt_screen_width(void) {
    return guarded(__func__, 0, [] { return state().width; });
}
int32_t rt_screen_height(void) {
    return guarded(__func__, 0, [] { return state().height; });
}

int32_t rt_scene_begin(void) {
    return guarded(__func__, 0, [] {
        auto& s = state();
        if (!s.isOpen) return fail(0, "no screen is open");
        if (!s.scene) {
            s.scene.emplace(&s.backBuffer);
            if (!s.scene->isActive()) {
                s.scene.reset();
                return fail(0, "the screen's painter cannot be had");
            }
            // A fresh painter has the default set-up, whatever was cached.
            s.renderStateCache = {-1, -1, -1, -1};
        }
        return 1;
    });
}

void rt_scene_end(void) {
    guarded(__func__, [] { state().scene.reset(); });
}

void rt_render_state_set(int32_t alpha_blend_enable, int32_t source_blend,
                         int32_t destination_blend, int32_t vertex_format) {
    guarded(__func__, [&] {
        auto& s = state();
        auto& cache = s.renderStateCache;
        const bool blend_changed = cache[0] != alpha_blend_enable || cache[1] != source_blend ||
                                   cache[2] != destination_blend;
        cache = {alpha_blend_enable, source_blend, destination_blend, vertex_format};
        if (!blend_changed || !s.scene) return;
        // Source-over covers (source alpha, inverse source alpha); every other
        // set-up used here replaces the destination.
        const bool over = alpha_blend_enable != 0 &&
                          source_blend == rt::screen::kBlendSourceAlpha &&
                          destination_blend == rt::screen::kBlendInverseSourceAlpha;
        s.scene->setCompositionMode(over ? QPainter::CompositionMode_SourceOver
                                         : QPainter::CompositionMode_Source);
    });
}

void rt_screen_texture_states(void) {
    guarded(__func__, [] {
        auto& s = state();
        if (!s.scene) return;
        s.scene->setRenderHint(QPainter::SmoothPixmapTransform, false);
        s.scene->setRenderHint(QPainter::Antialiasing, false);
        if (s.scene->opacity() != 1.0) s.scene->setOpacity(1.0);
        if (!s.scene->transform().isIdentity()) s.scene->resetTransform();
    });
}

int32_t rt_screen_save_png(const char* path) {
    return guarded(__func__, 0, [&] {
        if (path == nullptr) return fail(0, "no file name (NULL)");
        if (!state().isOpen) return fail(0, "no screen is open");
        if (!rt::screen::frame().save(QString::fromLocal8Bit(path), "PNG"))
            return fail(0, "cannot be written", path);
        return 1;
    });
}

int64_t rt_screen_flip_count(void) {
    return guarded(__func__, int64_t{0}, [] { return state().flipCount; });
}

}  // extern "C"

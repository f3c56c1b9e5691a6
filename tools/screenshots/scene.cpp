// SPDX-License-Identifier: GPL-3.0-or-later
// A scene with every kind of drawing the game uses: a star field, keyed,
// translucent and rotated sprites, and text in several sizes.
#include <QString>

#include "runtime/runtime.h"
#include "tools/screenshots/shots.h"

namespace {

int32_t star_field() {
    const int32_t s = rt_sprite_create(-1, 2048, 768);
    rt_draw_start(rt_sprite_output(s));
    uint32_t seed = 12345;
    auto next = [&](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % (n + 1);
    };
    for (int i = 0; i < 1200; ++i) {
        const int32_t x = static_cast<int32_t>(next(2042)), y = static_cast<int32_t>(next(762));
        const uint32_t r = 180 + next(75), g = 165 + next(50), b = next(50);
        rt_draw_plot(x, y, r | g << 8 | b << 16);
    }
    for (int i = 0; i < 30; ++i) {
        const int32_t x = static_cast<int32_t>(next(2042)) + 3,
                      y = static_cast<int32_t>(next(762)) + 3;
        for (auto [dx, dy] : {std::pair{0, 0}, {0, 1}, {0, -1}, {1, -1}, {-1, 0}})
            rt_draw_plot(x + dx, y + dy, 0xFFFFFF);
    }
    rt_draw_stop();
    return s;
}

int32_t text_sprite(const char* text, int32_t points, uint32_t colour) {
    const int32_t font = rt_font_load(-1, "Georgia", points, RT_FONT_QUALITY);
    const int32_t s = rt_sprite_create(-1, 700, points * 2);
    rt_draw_start(rt_sprite_output(s));
    rt_draw_font(rt_font_handle(font));
    rt_draw_mode(0);
    rt_draw_text(0, 0, text, colour);
    rt_draw_stop();
    rt_font_free(font);
    return s;
}

// A ship-like picture: a hull with a window, black around it.
int32_t ship() {
    const int32_t s = rt_sprite_create_flags(-1, 64, 64, 4);
    rt_draw_start(rt_sprite_output(s));
    rt_draw_front_colour(0xB0B0B0);
    rt_draw_ellipse(31, 36, 14, 24);
    rt_draw_box(8, 40, 48, 10, 0x3050C0);
    rt_draw_front_colour(0x20E0FF);
    rt_draw_circle(31, 24, 6);
    rt_draw_box(28, 0, 8, 14, 0x2020E0);
    rt_draw_stop();
    return s;
}

bool open_scene_screen() {
    rt_runtime_start();
    if (rt_screen_init() != 1 || rt_sprite3d_init() != 1) return false;
    const int32_t window =
        rt_window_open(-1, 0, 0, 1024, 768, "Zentara runtime", RT_WINDOW_CAPTION);
    return window != 0 && rt_screen_open(window, 0, 0, 1024, 768, 1, 0, 0) == 1;
}

void draw_text_lines() {
    const int32_t title = text_sprite("Zentara runtime", 50, 0xCC6666);
    const int32_t line = text_sprite("Georgia 20: keyed text on a sprite", 20, 0x66CCCC);
    const int32_t small = text_sprite("Georgia 12: the smallest size the game uses", 12, 0xFFFFFF);
    rt_sprite_draw_keyed(title, 40, 30);
    rt_sprite_draw_keyed(line, 40, 120);
    rt_sprite_draw_keyed(small, 40, 170);
}

void draw_status() {
    rt_draw_start(rt_screen_output());
    const int32_t font = rt_font_load(-1, "Georgia", 15, RT_FONT_QUALITY);
    rt_draw_font(rt_font_handle(font));
    rt_draw_mode(RT_DRAW_TRANSPARENT);
    rt_draw_text_colours(560, 640, "Extra gunpower", 0xFFFFFF, 0);
    rt_draw_mode(0);
    rt_draw_box(0, 740, 350, 20, 0x206020);
    rt_draw_text(10, 740, "Shield 100%", 0xFFFFFF);
    rt_draw_stop();
    rt_font_free(font);
}

}  // namespace

namespace shots {

bool save_scene(const QString& folder) {
    if (!open_scene_screen()) return false;
    rt_screen_clear(0);
    const int32_t hull = ship();
    const int32_t glow = rt_sprite_create_flags(-1, 200, 120, 4);
    rt_draw_start(rt_sprite_output(glow));
    rt_draw_front_colour(0x40A0FF);
    rt_draw_ellipse(100, 60, 98, 58);
    rt_draw_stop();
    rt_sprite_draw(star_field(), -200, 0);
    rt_sprite_draw_alpha(glow, 700, 420, 128);
    rt_sprite_draw_keyed(glow, 60, 420);
    draw_text_lines();
    rt_sprite3d_begin();
    const int32_t rotor = rt_sprite3d_create(-1, hull);
    for (int i = 0; i < 8; ++i) {
        rt_sprite3d_rotate(rotor, 45.0f * i, 0);
        rt_sprite3d_draw_alpha(rotor, 120 + i * 100, 260, 255 - i * 25);
    }
    rt_sprite_draw_keyed(hull, 480, 600);
    rt_sprite3d_end();
    draw_status();
    const bool saved =
        rt_screen_flip() == 1 &&
        rt_screen_save_png((folder + "/runtime_scene.png").toLocal8Bit().constData()) == 1;
    rt_screen_close();
    return saved;
}

}  // namespace shots

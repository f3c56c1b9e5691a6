// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/boundary.h"
#include "runtime/runtime.h"

// The order matters: strings come first because every later library may build
// texts, and windows come last because they rely on menus and controls.
extern "C" void rt_runtime_start(void) {
    rt::core::guarded(__func__, [] {
        rt_string_init();
        rt_image_decoder_init();
        rt_alphablend_init();
        rt_image_init();
        rt_draw_init();
        rt_file_init();
        rt_font_init();
        rt_bmp_decoder_register();
        rt_menu_init();
        rt_com_init();
        rt_gadget_init();
        rt_window_init();
    });
}

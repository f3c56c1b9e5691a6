// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/player_notice.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/window/rt_window.h"

void TellPlayer(const std::string& text) {
    static bool told = false;
    if (told) {
        std::fprintf(stderr, "Zentara: %s\n", text.c_str());
        return;
    }
    told = true;
    rt_message_box("Zentara", text.c_str());
}

void FailAtStart(const std::string& text) {
    rt_message_box("Failure", text.c_str());
    std::exit(2);
}

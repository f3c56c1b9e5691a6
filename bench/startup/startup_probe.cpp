// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start-up up to a ready menu loop, then its normal end. Writes
// one line to the descriptor named by its argument when the menu is ready.
#include <unistd.h>

#include <cstdlib>

#include "game/program/program.h"
#include "game/window/end_program.h"
#include "runtime/window/rt_window.h"

int main(int argc, char** argv) {
    const int ready_fd = argc > 1 ? std::atoi(argv[1]) : 1;
    StartProgram();
    // The window and its menu bar are up once the first pending events are served.
    while (rt_window_event_poll() != 0) {
    }
    const char line[] = "ready\n";
    if (write(ready_fd, line, sizeof line - 1) < 0) return 1;
    EndProgram();
}

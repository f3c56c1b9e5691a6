// SPDX-License-Identifier: GPL-3.0-or-later
// screenshots [folder]: writes runtime_scene.png and menu_bar.png into the
// folder (docs/screenshots when none is given). Run it headless with
// QT_QPA_PLATFORM=offscreen.
#include <QDir>
#include <cstdio>

#include "tools/screenshots/shots.h"

int main(int argc, char** argv) {
    const QString folder = QString::fromLocal8Bit(argc > 1 ? argv[1] : "docs/screenshots");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "screenshots: cannot create %s\n", argv[argc > 1 ? 1 : 0]);
        return 1;
    }
    // The menu bar first: the scene opens a screen, which the menu picture must not show.
    const bool ok = shots::save_menu_bar(folder) && shots::save_scene(folder);
    if (!ok) std::fprintf(stderr, "screenshots: a picture could not be drawn or saved\n");
    return ok ? 0 : 1;
}

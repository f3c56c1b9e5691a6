// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures the screenshots tool writes; each answers whether it saved.
#pragma once
#include <QString>

namespace shots {

bool save_scene(const QString& folder);     // runtime_scene.png
bool save_menu_bar(const QString& folder);  // menu_bar.png

}  // namespace shots

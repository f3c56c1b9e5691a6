// SPDX-License-Identifier: GPL-3.0-or-later
// What `zentara --check` and a level start tell a player about the asset
// folder: every file a level start loads is found and loaded the way the
// level start does it, by the game's own lists and discovery and the
// runtime's own loaders; this file only words the outcomes.
#pragma once
#include <string>
#include <vector>

#include "game/data/level_check.h"

// The findings about the asset folder of the game folder `folder`: files
// missing or not loadable with what that does in play, pictures too large,
// and every name the game passes over with the reason. The trial loads and
// listings take a numbered id of their tables, so that no id the game hands
// out changes. Needs the runtime's files, decoders and sprite table; sounds
// are tried when the sound service runs.
std::vector<Finding> AssetFindings(const std::string& folder);

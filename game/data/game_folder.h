// SPDX-License-Identifier: GPL-3.0-or-later
// The game folder: the folder holding zentara/ with the level file, which the
// program makes its current directory before start-up. Players who never
// point the program anywhere get their own folder in their home, filled from
// the installed pack on first start.
#pragma once
#include <filesystem>
#include <string>

// True when `folder` holds zentara/zentara.ini (each name matched without
// regard to case, as the game's own file access matches them).
bool HoldsLevelFile(const std::filesystem::path& folder);

// The player's folder: $XDG_DATA_HOME/zentara, else ~/.local/share/zentara;
// empty when neither variable names a folder.
std::filesystem::path PlayerFolder();

// The installed, read-only pack beside the running program (share/zentara
// seen from its bin/ or games/ folder); empty when there is none, as for a
// program run from its build tree.
std::filesystem::path InstalledPack();

// Copies every file of `pack` that `folder`/zentara lacks (names matched
// without regard to case) into it, the level file last and whole, so that an
// interrupted copy is repeated at the next start. Never replaces a file that
// is there, above all not the level file. False with `problem` set (the file
// and the reason) when something could not be copied; the rest is copied.
bool FillFromPack(const std::filesystem::path& folder, const std::filesystem::path& pack,
                  std::string& problem);

// The folder EnterGameFolder would choose, without creating or filling it:
// `dataDir` when given, else the current directory when it holds the level
// file, else the player's folder (the current directory when there is none).
std::filesystem::path CheckedGameFolder(const std::string& dataDir);

// Chooses the game folder and makes it the current directory: `dataDir` when
// given, else the current directory when it holds the level file, else the
// player's folder. At each start the chosen folder (not a current directory
// of the player's own) gets the files of `pack` it lacks; a copy that fails
// while the level file is there is told to the player and play goes on.
// False, with `problem` saying where the game looked, the reason and what to
// do, when no folder with a level file can be had or entered.
bool EnterGameFolder(const std::string& dataDir, const std::filesystem::path& pack,
                     std::string& problem);

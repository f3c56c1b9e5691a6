// SPDX-License-Identifier: GPL-3.0-or-later
// The game's files as a recorded run depends on them: every value the game
// reads from the level file (not the progress line) and the size of each
// picture family. A replay against other values is refused, naming the first
// that differs; what does not change play (line endings, comments, the
// progress, the pictures' own bytes) does not refuse a replay.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RecordedData {
    std::vector<int32_t> Values;
    std::vector<std::string> Names;  // one per value, as a refusal names it
};

// Reads the level file and lists the asset folder of the current directory:
// the number of levels, the four family counts, the 23 per-level values of
// every level the menu offers, then the 4 values every level shares.
RecordedData ReadRecordedData();

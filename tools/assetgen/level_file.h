// SPDX-License-Identifier: GPL-3.0-or-later
// The level file zentara.ini: the progress line, one line per level parameter
// (one "/"-terminated value per level, then a blank and the parameter's name),
// and the four global lines. Lines end in CR LF.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct LevelLine {
    const char* name;     // parameter name, shown in the comment
    const char* meaning;  // short explanation, shown in the comment (no "/")
    std::vector<int> values;
};

// Lines 2 to 28 in file order (23 per-level lines, then 4 global lines with one value).
const std::vector<LevelLine>& level_lines();
std::string level_file_text();
// The same table as Markdown, for the documentation.
std::string level_table_markdown();

}  // namespace assetgen

// SPDX-License-Identifier: GPL-3.0-or-later
// assetgen: makes Zentara's asset pack.
//   assetgen <outdir>                              write every picture, sound and zentara.ini
//   assetgen --icons <outdir>                      write the program's icons, zentara_<size>.png
//   assetgen --contact-sheet <file.png> <packdir>  write a contact sheet of a pack's pictures
//   assetgen --level-table                         print the level table as Markdown
#include <cstdio>
#include <filesystem>
#include <string>

#include "contact_sheet.h"
#include "icons.h"
#include "level_file.h"
#include "pack.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: assetgen <outdir>\n"
                 "       assetgen --icons <outdir>\n"
                 "       assetgen --contact-sheet <file.png> <packdir>\n"
                 "       assetgen --level-table\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--level-table") {
        std::fputs(assetgen::level_table_markdown().c_str(), stdout);
        return 0;
    }
    if (argc == 4 && std::string(argv[1]) == "--contact-sheet")
        return assetgen::write_contact_sheet(argv[2], argv[3]) ? 0 : 1;
    const bool icons = argc == 3 && std::string(argv[1]) == "--icons";
    if (!icons && (argc != 2 || argv[1][0] == '-')) return usage();
    const char* dir = argv[argc - 1];

    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        std::fprintf(stderr, "assetgen: cannot create %s: %s\n", dir, ec.message().c_str());
        return 1;
    }
    const auto written = icons ? assetgen::write_icons(dir) : assetgen::write_pack(dir);
    if (written.empty()) return 1;
    std::printf("assetgen: wrote %zu files to %s\n", written.size(), dir);
    return 0;
}

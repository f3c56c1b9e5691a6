// SPDX-License-Identifier: GPL-3.0-or-later
#include "pack.h"

#include <cstdio>

#include "art.h"
#include "level_file.h"
#include "png_io.h"
#include "sounds.h"
#include "synth.h"
#include "wav_writer.h"

namespace assetgen {
namespace {

Image8 encode(const Picture& picture) {
    switch (picture.keying) {
        case Keying::Black:
            return to_keyed(picture.canvas);
        case Keying::Alpha:
            return to_alpha(picture.canvas, 0);
        case Keying::AlphaWhite:
            return to_alpha(picture.canvas, 255);
    }
    return {};
}

}  // namespace

std::vector<std::string> write_pack(const std::string& dir) {
    std::vector<std::string> written;
    std::vector<Picture> pictures;
    for (auto* make :
         {ship_pictures, enemy_pictures, effect_pictures, item_pictures, planet_pictures})
        for (Picture& p : make()) pictures.push_back(std::move(p));

    for (const Picture& p : pictures) {
        if (!write_png(dir + "/" + p.name, encode(p))) {
            std::fprintf(stderr, "assetgen: cannot write %s/%s\n", dir.c_str(), p.name.c_str());
            return {};
        }
        written.push_back(p.name);
    }
    for (const SoundEffect& s : sound_effects()) {
        if (!write_file(dir + "/" + s.name, encode_wav(s.samples, synth::kRate))) {
            std::fprintf(stderr, "assetgen: cannot write %s/%s\n", dir.c_str(), s.name.c_str());
            return {};
        }
        written.push_back(s.name);
    }
    const std::string ini = level_file_text();
    if (!write_file(dir + "/zentara.ini", std::vector<unsigned char>(ini.begin(), ini.end()))) {
        std::fprintf(stderr, "assetgen: cannot write %s/zentara.ini\n", dir.c_str());
        return {};
    }
    written.push_back("zentara.ini");
    return written;
}

}  // namespace assetgen

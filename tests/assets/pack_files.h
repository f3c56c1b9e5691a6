// Readers for the pack's files, independent of the generator that wrote them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string pack_dir();  // the committed pack, assets/zentara
std::vector<uint8_t> read_bytes(const std::string& path);
std::vector<std::string> list_files(const std::string& dir);  // sorted names

struct Rgba {
    int width = 0, height = 0;
    bool had_alpha = false;       // the file itself carries an alpha channel
    std::vector<uint8_t> pixels;  // RGBA rows
    const uint8_t* at(int x, int y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * 4];
    }
};
bool read_png(const std::string& path, Rgba& out);

struct Wave {
    int format = 0, channels = 0, rate = 0, bits = 0;
    bool fmt_at_12 = false;
    std::vector<int16_t> samples;
};
bool read_wave(const std::string& path, Wave& out);

#include "pack_files.h"

#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

std::string pack_dir() {
    const char* root = std::getenv("ZENTARA_SOURCE_DIR");
    return std::string(root ? root : ZENTARA_SOURCE_ROOT) + "/assets/zentara";
}

std::vector<uint8_t> read_bytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::vector<std::string> list_files(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool read_png(const std::string& path, Rgba& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    out.had_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.assign(PNG_IMAGE_SIZE(image), 0);
    const bool ok = png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return ok;
}

bool read_wave(const std::string& path, Wave& out) {
    const std::vector<uint8_t> b = read_bytes(path);
    auto u32 = [&](size_t o) {
        return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | static_cast<uint32_t>(b[o + 3]) << 24;
    };
    auto u16 = [&](size_t o) { return static_cast<int>(b[o] | b[o + 1] << 8); };
    if (b.size() < 44 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4))
        return false;
    out.fmt_at_12 = std::memcmp(b.data() + 12, "fmt ", 4) == 0;
    size_t pos = 12;
    while (pos + 8 <= b.size()) {
        const uint32_t len = u32(pos + 4);
        if (!std::memcmp(b.data() + pos, "fmt ", 4) && len >= 16) {
            out.format = u16(pos + 8);
            out.channels = u16(pos + 10);
            out.rate = static_cast<int>(u32(pos + 12));
            out.bits = u16(pos + 22);
        } else if (!std::memcmp(b.data() + pos, "data", 4)) {
            if (pos + 8 + len > b.size()) return false;
            out.samples.resize(len / 2);
            std::memcpy(out.samples.data(), b.data() + pos + 8, out.samples.size() * 2);
            return true;
        }
        pos += 8 + len + (len & 1);
    }
    return false;
}

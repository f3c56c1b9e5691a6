// SPDX-License-Identifier: GPL-3.0-or-later
#include "wav_writer.h"

#include <cmath>
#include <cstdint>
#include <fstream>

namespace assetgen {
namespace {

void put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}
void put32(std::vector<unsigned char>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void tag(std::vector<unsigned char>& out, const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(t[i]));
}

}  // namespace

std::vector<unsigned char> encode_wav(const std::vector<float>& samples, int sample_rate) {
    const auto data_bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<unsigned char> out;
    out.reserve(44 + data_bytes);
    tag(out, "RIFF");
    put32(out, 36 + data_bytes);
    tag(out, "WAVE");
    tag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, static_cast<uint32_t>(sample_rate));
    put32(out, static_cast<uint32_t>(sample_rate) * 2);  // bytes per second
    put16(out, 2);                                       // block align
    put16(out, 16);                                      // bits per sample
    tag(out, "data");
    put32(out, data_bytes);
    for (float s : samples) {
        const float c = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
        const auto v = static_cast<int32_t>(std::lround(c * 32767.0f));
        put16(out, static_cast<uint32_t>(static_cast<uint16_t>(static_cast<int16_t>(v))));
    }
    return out;
}

bool write_file(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

}  // namespace assetgen

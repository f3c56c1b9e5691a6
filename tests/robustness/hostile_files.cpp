#include "hostile_files.h"

#include <cstring>

namespace {

void PutLittle32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string Corrupted(const std::string& good) {
    std::string bad = good;
    for (size_t i = 33; i < bad.size(); i += 7) bad[i] = static_cast<char>(bad[i] ^ 0x5A);
    return bad;
}

std::string HugeBmp(int32_t width, int32_t height) {
    std::string bmp(54 + 16, '\0');
    bmp[0] = 'B';
    bmp[1] = 'M';
    PutLittle32(bmp, 2, static_cast<uint32_t>(bmp.size()));
    PutLittle32(bmp, 10, 54);
    PutLittle32(bmp, 14, 40);
    PutLittle32(bmp, 18, static_cast<uint32_t>(width));
    PutLittle32(bmp, 22, static_cast<uint32_t>(height));
    bmp[26] = 1;   // planes
    bmp[28] = 24;  // bits per pixel
    return bmp;
}

std::string LyingWav(const std::string& good) {
    std::string bad = good.size() >= 44 ? good : std::string(44, '\0');
    std::memcpy(bad.data(), "RIFF", 4);
    std::memcpy(bad.data() + 8, "WAVEfmt ", 8);
    PutLittle32(bad, 4, 0xFFFFFFF0u);
    // "fmt " claims to run past the end; "data", wherever it is, claims 2 GB.
    PutLittle32(bad, 16, 0x7FFFFFF0u);
    const size_t data = bad.find("data");
    if (data != std::string::npos && data + 8 <= bad.size()) PutLittle32(bad, data + 4, 0x7FFFFFFFu);
    return bad;
}

std::string Garbage(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state & 0xFF);
    }
    return bytes;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/sound/wave_format.h"

#include <cstring>
#include <limits>

namespace rt::sound {
namespace {

constexpr size_t kChunkHeader = 8;  // id, then 32-bit little-endian size
constexpr size_t kFormatOffset = 12;
constexpr size_t kMinFormatBody = 16;      // the fields up to the sample size
constexpr uint16_t kExtensibleExtra = 22;  // cbSize of an extensible format
constexpr size_t kExtensibleBody = kMinFormatBody + 2 + kExtensibleExtra;
constexpr size_t kSubFormatOffset = 24;  // GUID inside an extensible body
constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;

// The tail shared by every KSDATAFORMAT_SUBTYPE_* GUID; the first two bytes
// hold the plain format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool has_id(std::span<const uint8_t> image, size_t offset, const char (&id)[5]) {
    return std::memcmp(image.data() + offset, id, 4) == 0;
}

std::optional<WaveFormat> read_format(std::span<const uint8_t> body) {
    if (body.size() < kMinFormatBody) return std::nullopt;
    const uint8_t* p = body.data();
    WaveFormat format;
    format.format_tag = read16(p);
    format.channels = read16(p + 2);
    format.samples_per_second = read32(p + 4);
    format.block_align = read16(p + 12);
    format.bits_per_sample = read16(p + 14);
    if (format.format_tag == kTagExtensible && body.size() >= kExtensibleBody &&
        read16(p + 16) >= kExtensibleExtra &&
        std::memcmp(p + kSubFormatOffset + 2, kSubFormatTail, sizeof kSubFormatTail) == 0) {
        format.sub_format = read16(p + kSubFormatOffset);
    }
    return format;
}

}  // namespace

std::optional<WaveImage> parse_wave(std::span<const uint8_t> image) {
    const size_t size = image.size();
    if (size < kFormatOffset + kChunkHeader) return std::nullopt;
    if (!has_id(image, 0, "RIFF") || !has_id(image, kFormatOffset, "fmt ")) return std::nullopt;

    const uint64_t format_size = read32(image.data() + kFormatOffset + 4);
    const size_t format_body = kFormatOffset + kChunkHeader;
    if (format_size > size - format_body) return std::nullopt;
    auto format = read_format(image.subspan(format_body, format_size));
    if (!format) return std::nullopt;

    // Offsets are 64-bit so that a chunk size near 4 GiB cannot wrap around.
    uint64_t chunk = format_body + format_size + (format_size & 1);
    while (chunk + kChunkHeader <= size) {
        const size_t at = static_cast<size_t>(chunk);
        const uint64_t chunk_size = read32(image.data() + at + 4);
        if (has_id(image, at, "data")) {
            const size_t body = at + kChunkHeader;
            const size_t available = size - body;
            const size_t length =
                chunk_size < available ? static_cast<size_t>(chunk_size) : available;
            return WaveImage{*format, image.subspan(body, length)};
        }
        chunk += kChunkHeader + chunk_size + (chunk_size & 1);
    }
    return std::nullopt;
}

std::optional<PcmLayout> pcm_layout(const WaveFormat& format) {
    uint16_t tag = format.format_tag;
    if (tag == kTagExtensible) {
        if (!format.sub_format) return std::nullopt;
        tag = *format.sub_format;
    }
    PcmLayout layout;
    if (tag == kTagPcm && format.bits_per_sample == 8) {
        layout.type = SampleType::Unsigned8;
    } else if (tag == kTagPcm && format.bits_per_sample == 16) {
        layout.type = SampleType::Signed16;
    } else if (tag == kTagFloat && format.bits_per_sample == 32) {
        layout.type = SampleType::Float32;
    } else {
        return std::nullopt;
    }
    if (format.channels != 1 && format.channels != 2) return std::nullopt;
    layout.channels = format.channels;
    layout.frame_bytes = size_t{format.channels} * format.bits_per_sample / 8;
    if (format.block_align != layout.frame_bytes) return std::nullopt;
    if (format.samples_per_second == 0 ||
        format.samples_per_second > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) {
        return std::nullopt;
    }
    layout.rate = static_cast<int32_t>(format.samples_per_second);
    return layout;
}

}  // namespace rt::sound

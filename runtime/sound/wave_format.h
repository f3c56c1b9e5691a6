// SPDX-License-Identifier: GPL-3.0-or-later
// RIFF/WAVE images: finding the format and the samples, and deciding whether
// the format is one the sound service can play. Portable; no audio calls.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace rt::sound {

// The wave format structure as stored in the "fmt " chunk (the fields every
// variant shares), plus the sub-format tag of an extensible format.
struct WaveFormat {
    uint16_t format_tag = 0;
    uint16_t channels = 0;
    uint32_t samples_per_second = 0;
    uint16_t block_align = 0;
    uint16_t bits_per_sample = 0;
    std::optional<uint16_t> sub_format;  // extensible formats only
};

struct WaveImage {
    WaveFormat format;
    std::span<const uint8_t> samples;  // the "data" body, never past the image's end
};

// Walks a RIFF/WAVE image: "RIFF" at offset 0, the "fmt " chunk at offset 12,
// then chunks (each padded to an even size) up to the first "data" chunk.
// Empty when the image is not laid out that way or a chunk header lies past the
// end. A "data" chunk that claims more bytes than remain keeps what remains.
std::optional<WaveImage> parse_wave(std::span<const uint8_t> image);

enum class SampleType { Unsigned8, Signed16, Float32 };

// How the service must be told about samples it can play.
struct PcmLayout {
    int channels = 0;  // 1 or 2
    SampleType type = SampleType::Signed16;
    int32_t rate = 0;  // frames per second
    size_t frame_bytes = 0;
};

// The layout of 8 or 16-bit integer PCM or 32-bit float samples, mono or
// stereo, with a consistent block alignment and a positive rate (plain or
// extensible format structures). Empty for every other format.
std::optional<PcmLayout> pcm_layout(const WaveFormat& format);

}  // namespace rt::sound

// SPDX-License-Identifier: GPL-3.0-or-later
// The built-in BMP decoder: Windows bitmaps of 1, 4, 8, 16, 24 and 32 bits,
// including run-length encoded 8 and 4-bit ones, decoded to 24-bit rows.
//
// The headers are trusted only as far as the data bears them out: every read
// is checked against the data's length and every write against the output
// rows, and a bitmap that does not hold what its header promises is refused.
#include <cstdint>
#include <cstring>
#include <optional>

#include "runtime/image/decoder_internal.h"
#include "runtime/image/rt_image.h"

namespace {

constexpr int32_t kMinLength = 26;
constexpr uint16_t kMagic = 0x4D42;  // "BM"
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;

// Reads little-endian values from the image data, refusing anything outside it.
class Bytes {
  public:
    Bytes(const uint8_t* data, int64_t length) : data_(data), length_(length) {}

    bool has(int64_t offset, int64_t count) const {
        return offset >= 0 && count >= 0 && offset <= length_ && count <= length_ - offset;
    }
    std::optional<uint8_t> u8(int64_t offset) const {
        if (!has(offset, 1)) return std::nullopt;
        return data_[offset];
    }
    std::optional<uint16_t> u16(int64_t offset) const {
        if (!has(offset, 2)) return std::nullopt;
        return static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
    }
    std::optional<uint32_t> u32(int64_t offset) const {
        if (!has(offset, 4)) return std::nullopt;
        return static_cast<uint32_t>(data_[offset]) |
               static_cast<uint32_t>(data_[offset + 1]) << 8 |
               static_cast<uint32_t>(data_[offset + 2]) << 16 |
               static_cast<uint32_t>(data_[offset + 3]) << 24;
    }
    const uint8_t* at(int64_t offset) const { return data_ + offset; }

  private:
    const uint8_t* data_;
    int64_t length_;
};

// Where decoded pixels go: stored rows count from the bottom of the image;
// the output has the top row first unless bottom-up rows were asked for.
class Output {
  public:
    Output(uint8_t* buffer, int32_t pitch, int32_t width, int32_t height, bool bottom_up)
        : buffer_(buffer), pitch_(pitch), width_(width), height_(height), bottom_up_(bottom_up) {}

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

    void put(int64_t stored_row, int64_t column, uint8_t blue, uint8_t green, uint8_t red) {
        if (stored_row < 0 || stored_row >= height_ || column < 0 || column >= width_) return;
        const int64_t row = bottom_up_ ? stored_row : height_ - 1 - stored_row;
        uint8_t* pixel = buffer_ + row * pitch_ + column * 3;
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
    }
    // Run-length bitmaps may skip pixels; those stay black.
    void clear() {
        for (int64_t row = 0; row < height_; ++row) {
            std::memset(buffer_ + row * pitch_, 0, static_cast<size_t>(width_) * 3);
        }
    }

  private:
    uint8_t* buffer_;
    int64_t pitch_;
    int32_t width_;
    int32_t height_;
    bool bottom_up_;
};

struct Layout {
    int64_t pixels;   // offset of the bitmap data
    int64_t palette;  // offset of the colour table
    uint16_t bits;
    uint32_t compression;
};

std::optional<Layout> read_layout(const Bytes& bytes) {
    const auto pixels = bytes.u32(10);
    const auto header_size = bytes.u32(14);
    const auto bits = bytes.u16(28);
    const auto compression = bytes.u32(30);
    if (!pixels || !header_size || !bits || !compression) return std::nullopt;
    return Layout{*pixels, 14 + static_cast<int64_t>(*header_size), *bits, *compression};
}

// Colour-table entry `index` (blue, green, red, reserved); false when the
// table entry lies outside the data.
bool palette_put(const Bytes& bytes, const Layout& layout, Output& out, int64_t row, int64_t column,
                 unsigned index) {
    const int64_t entry = layout.palette + static_cast<int64_t>(index) * 4;
    if (!bytes.has(entry, 3)) return false;
    const uint8_t* colour = bytes.at(entry);
    out.put(row, column, colour[0], colour[1], colour[2]);
    return true;
}

// Uncompressed rows, padded to 4 bytes; the last row's padding may be absent.
bool decode_plain(const Bytes& bytes, const Layout& layout, Output& out) {
    const int64_t width = out.width();
    const int64_t row_bytes = (width * layout.bits + 7) / 8;
    const int64_t stride = (width * layout.bits + 31) / 32 * 4;
    if (!bytes.has(layout.pixels, stride * (out.height() - 1) + row_bytes)) return false;

    for (int64_t row = 0; row < out.height(); ++row) {
        const uint8_t* src = bytes.at(layout.pixels + row * stride);
        for (int64_t x = 0; x < width; ++x) {
            switch (layout.bits) {
                case 32:
                    out.put(row, x, src[x * 4], src[x * 4 + 1], src[x * 4 + 2]);
                    break;
                case 24:
                    out.put(row, x, src[x * 3], src[x * 3 + 1], src[x * 3 + 2]);
                    break;
                case 16: {
                    const unsigned pixel = src[x * 2] | src[x * 2 + 1] << 8;
                    out.put(row, x, static_cast<uint8_t>((pixel & 0x1F) << 3),
                            static_cast<uint8_t>(((pixel >> 5) & 0x1F) << 3),
                            static_cast<uint8_t>(((pixel >> 10) & 0x1F) << 3));
                    break;
                }
                case 8:
                    if (!palette_put(bytes, layout, out, row, x, src[x])) return false;
                    break;
                case 4: {
                    const uint8_t pair = src[x / 2];
                    const unsigned index = (x % 2 == 0) ? pair >> 4 : pair & 0x0F;
                    if (!palette_put(bytes, layout, out, row, x, index)) return false;
                    break;
                }
                case 1: {
                    // Always black and white, whatever the colour table says.
                    const uint8_t level = (src[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                    out.put(row, x, level, level, level);
                    break;
                }
                default:
                    return false;
            }
        }
    }
    return true;
}

// Run-length encoded 8 or 4-bit rows: (count, value) pairs and escapes
// (0 0 end of line, 0 1 end of bitmap, 0 2 dx dy delta, 0 n literal run).
bool decode_rle(const Bytes& bytes, const Layout& layout, Output& out, bool nibbles) {
    out.clear();
    int64_t pos = layout.pixels;
    int64_t row = 0, column = 0;
    // Index of pixel `i` of a run or literal whose bytes are `value`/`src`.
    const auto index_of = [nibbles](uint8_t packed, int64_t i) -> unsigned {
        if (!nibbles) return packed;
        return (i % 2 == 0) ? packed >> 4 : packed & 0x0F;
    };
    for (;;) {
        const auto count = bytes.u8(pos);
        const auto value = bytes.u8(pos + 1);
        if (!count || !value) return false;  // the bitmap ended without its end mark
        pos += 2;
        if (*count > 0) {
            for (int64_t i = 0; i < *count; ++i, ++column) {
                if (row >= out.height()) break;
                if (column < out.width() &&
                    !palette_put(bytes, layout, out, row, column, index_of(*value, i)))
                    return false;
            }
            continue;
        }
        switch (*value) {
            case 0:
                column = 0;
                ++row;
                break;
            case 1:
                return true;
            case 2: {
                const auto dx = bytes.u8(pos);
                const auto dy = bytes.u8(pos + 1);
                if (!dx || !dy) return false;
                pos += 2;
                column += *dx;
                row += *dy;
                break;
            }
            default: {
                const int64_t n = *value;
                const int64_t data_bytes = nibbles ? (n + 1) / 2 : n;
                if (!bytes.has(pos, data_bytes)) return false;
                for (int64_t i = 0; i < n; ++i, ++column) {
                    const uint8_t packed = *bytes.at(pos + (nibbles ? i / 2 : i));
                    if (row < out.height() && column < out.width() &&
                        !palette_put(bytes, layout, out, row, column, index_of(packed, i)))
                        return false;
                }
                pos += data_bytes + (data_bytes & 1);  // literal runs end on an even byte
                break;
            }
        }
    }
}

int32_t bmp_check(rt_decode_state* state) {
    const Bytes bytes(state->data, state->data_length);
    if (state->data_length < kMinLength || bytes.u16(0) != kMagic || bytes.u32(6) != 0u) return 0;
    state->width = static_cast<int32_t>(*bytes.u32(18));
    state->height = static_cast<int32_t>(*bytes.u32(22));
    state->depth = 24;
    return 1;
}

int32_t bmp_decode(rt_decode_state* state, void* buffer, int32_t pitch, int32_t flags) {
    const Bytes bytes(state->data, state->data_length);
    const auto layout = read_layout(bytes);
    if (!layout || state->width < 1 || state->height < 1) return 0;
    Output out(static_cast<uint8_t*>(buffer), pitch, state->width, state->height,
               (flags & RT_IMAGE_BOTTOM_UP) != 0);
    bool ok = false;
    if (layout->bits == 8 && layout->compression == kRle8) {
        ok = decode_rle(bytes, *layout, out, false);
    } else if (layout->bits == 4 && layout->compression == kRle4) {
        ok = decode_rle(bytes, *layout, out, true);
    } else {
        ok = decode_plain(bytes, *layout, out);
    }
    return ok ? 1 : 0;
}

// Bitmaps in memory hold nothing that needs releasing.
void bmp_close(rt_decode_state*) {}

constexpr rt_image_decoder kBmpDecoder = {bmp_check, bmp_decode, bmp_close};

}  // namespace

extern "C" const rt_image_decoder* rt_bmp_decoder(void) {
    return &kBmpDecoder;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Sprites: loading, creating, copying, grabbing and freeing, and the pixel
// services the drawing library uses.
#include <atomic>
#include <new>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/path_platform.h"
#include "runtime/image/rt_image.h"
#include "runtime/screen/decoded_images.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_record.h"

namespace rt::sprites {

namespace {

rt_table* g_table = nullptr;  // the sprite table, made by rt_screen_init

// A frame looks the same few hundred sprites up thousands of times (draws and
// above all collision tests), so each thread remembers recent answers of the
// table. Every end of a sprite moves the generation on, which forgets every
// remembered answer in every thread before the record goes away; a record
// never moves while it lives, so a remembered answer of the current
// generation is the table's answer.
std::atomic<uint64_t> g_generation{1};

struct RememberedLookup {
    int32_t id = 0;
    uint64_t generation = 0;
    SpriteRecord* record = nullptr;
};
constexpr size_t kRemembered = 256;  // a power of two
thread_local RememberedLookup t_remembered[kRemembered];

RememberedLookup& remembered(int32_t id) {
    return t_remembered[static_cast<uint32_t>(id) & (kRemembered - 1)];
}

// Decodes image data through the decoder registry into 0x00RRGGBB pixels
// (alpha 0), or 0xAARRGGBB when the image's own alpha is kept.
QImage decode(const void* data, int32_t length, bool keep_alpha, bool* has_alpha) {
    if (data == nullptr || length <= 0 || !rt_image_recognise(data, length)) return {};
    const int32_t w = rt_image_width();
    const int32_t h = rt_image_height();
    const int32_t depth = rt_image_depth();
    if (w <= 0 || h <= 0 || (depth != 24 && depth != 32)) {
        rt_image_decode(nullptr, 0, 0);  // lets the decoder release its state
        return {};
    }
    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    *has_alpha = depth == 32;
    if (depth == 32) {
        // Blue, green, red, alpha rows: exactly the store's layout.
        if (!rt_image_decode(image.bits(), static_cast<int32_t>(image.bytesPerLine()), 0))
            return {};
        if (!keep_alpha) {
            for (int32_t y = 0; y < h; ++y) {
                auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
                for (int32_t x = 0; x < w; ++x) row[x] &= 0x00FFFFFFu;
            }
        }
        return image;
    }
    // Rows of blue, green, red, padded to a multiple of four bytes.
    const int32_t row_size = w * 3 + (w % 4);
    std::vector<uint8_t> buffer(static_cast<size_t>(row_size) * static_cast<size_t>(h + 1));
    if (!rt_image_decode(buffer.data(), row_size, 0)) return {};
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* src = buffer.data() + static_cast<size_t>(y) * row_size;
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int32_t x = 0; x < w; ++x, src += 3)
            row[x] = uint32_t{src[0]} | uint32_t{src[1]} << 8 | uint32_t{src[2]} << 16;
    }
    return image;
}

// Recognises a kept file's header again, so that the decoder's state after
// the load (size and depth of the last image) is what decoding the file
// leaves. False when the header is no longer recognised as that image.
bool recognise_again(const DecodedImage& kept) {
    if (!rt_image_recognise(kept.header.data(), static_cast<int32_t>(kept.header.size())))
        return false;
    const bool same = rt_image_width() == kept.width && rt_image_height() == kept.height &&
                      rt_image_depth() == kept.depth;
    rt_image_decode(nullptr, 0, 0);  // releases the decoder's state, as a decode does
    return same;
}

// Gives a loaded sprite its pixels: with the picture's own alpha, or (already
// keyed on black) with black transparent.
void adopt_loaded(SpriteRecord& record, DecodedPixels pixels, bool own_alpha) {
    if (own_alpha) {
        record.pixels->adopt(std::move(pixels.argb), std::nullopt, pixels.premul);
    } else {
        record.pixels->adopt(std::move(pixels.argb), kBlackKey, pixels.premul);
        record.pixels->transparent_colour = kBlackKey;
    }
}

// A sprite over a decoded file's pixels: the file's alpha with flag 8 when it
// has one, otherwise black keyed transparent.
int32_t make_loaded(int32_t id, const std::shared_ptr<const DecodedImage>& decoded, int32_t flags) {
    int32_t new_id = 0;
    SpriteRecord* record = create(id, decoded->width, decoded->height, flags, &new_id, false);
    if (record == nullptr) return 0;
    const bool own_alpha = (flags & 8) != 0 && decoded->has_alpha;
    adopt_loaded(*record, decoded_pixels(decoded, own_alpha), own_alpha);
    return keep_if_filled(new_id);
}

}  // namespace

int32_t keep_if_filled(int32_t id) {
    SpriteRecord* record = find(id);
    if (record == nullptr) return 0;
    if (record->pixels && record->pixels->has_pixels(record->width, record->height)) return id;
    destroy(id);
    return 0;
}

void destroy(int32_t id) {
    SpriteRecord* record = find(id);
    if (record == nullptr) return;
    g_generation.fetch_add(1, std::memory_order_acq_rel);
    record->~SpriteRecord();
    rt_table_remove(g_table, id);
}

bool init_table() {
    if (g_table == nullptr) g_table = rt_table_new(sizeof(SpriteRecord), 64, rt_sprite_free);
    return g_table != nullptr;
}

void free_all() {
    if (g_table != nullptr) rt_table_free_all(g_table);
}

SpriteRecord* find(int32_t id) {
    if (g_table == nullptr) return nullptr;
    RememberedLookup& slot = remembered(id);
    const uint64_t generation = g_generation.load(std::memory_order_acquire);
    if (slot.id == id && slot.generation == generation && slot.record != nullptr)
        return slot.record;
    auto* record = static_cast<SpriteRecord*>(rt_table_check(g_table, id));
    if (record != nullptr) slot = {id, generation, record};
    return record;
}

SpriteRecord* create(int32_t id, int32_t width, int32_t height, int32_t flags, int32_t* new_id,
                     bool blank_pixels) {
    *new_id = 0;
    if (g_table == nullptr || flags_refused(flags) || width < 0 || height < 0) return nullptr;
    void* memory = rt_table_alloc(g_table, id, new_id);
    if (memory == nullptr) return nullptr;
    auto* record = new (memory) SpriteRecord;
    record->width = record->sourceWidth = width;
    record->height = record->sourceHeight = height;
    record->depth = 32;  // every store is 32-bit on this platform
    record->flags = flags;
    try {
        record->pixels = std::make_shared<rt_sprite_pixels>(
            blank_pixels ? width : 0, blank_pixels ? height : 0, (flags & 4) != 0);
    } catch (const std::bad_alloc&) {
    }
    // Pixels that cannot be had leave no sprite behind.
    if (!record->pixels || (blank_pixels && !record->pixels->has_pixels(width, height))) {
        destroy(*new_id);
        *new_id = 0;
        return nullptr;
    }
    return record;
}

std::shared_ptr<rt_sprite_pixels> pixels(int32_t sprite, int32_t* flags) {
    SpriteRecord* record = find(sprite);
    if (record == nullptr) return nullptr;
    if (flags) *flags = record->flags;
    return record->pixels;
}

}  // namespace rt::sprites

using rt::sprites::SpriteRecord;

extern "C" {

int32_t rt_sprite_load(int32_t id, const char* file_name) {
    return rt_sprite_load_flags(id, file_name, 0);
}

int32_t rt_sprite_load_flags(int32_t id, const char* file_name, int32_t flags) {
    return rt::core::guarded(0, [&]() -> int32_t {
        if (file_name == nullptr || flags == 2 || rt::sprites::flags_refused(flags)) return 0;
        rt::files::FileIdentity file;
        if (!rt::files::identify_file(file_name, file)) return 0;
        if (auto kept = rt::sprites::find_decoded(file)) {
            if (rt::sprites::recognise_again(*kept))
                return rt::sprites::make_loaded(id, kept, flags);
        }
        std::vector<uint8_t> data;
        rt::files::FileIdentity read;
        if (!rt::files::read_whole_file(file.path.c_str(), data, &read)) return 0;
        if (data.size() > static_cast<size_t>(INT32_MAX)) return 0;
        auto decoded = std::make_shared<rt::sprites::DecodedImage>();
        decoded->pixels = rt::sprites::decode(data.data(), static_cast<int32_t>(data.size()), true,
                                              &decoded->has_alpha);
        if (decoded->pixels.isNull()) return 0;
        decoded->width = decoded->pixels.width();
        decoded->height = decoded->pixels.height();
        decoded->depth = decoded->has_alpha ? 32 : 24;
        decoded->header = rt::sprites::png_header(data.data(), data.size());
        if (!read.path.empty() && !decoded->header.empty())
            rt::sprites::keep_decoded(read, decoded);
        return rt::sprites::make_loaded(id, decoded, flags);
    });
}

int32_t rt_sprite_load_memory(int32_t id, const void* data, int32_t length, int32_t flags) {
    return rt::core::guarded(0, [&]() -> int32_t {
        if (flags == 2 || rt::sprites::flags_refused(flags)) return 0;
        bool has_alpha = false;
        QImage image = rt::sprites::decode(data, length, (flags & 8) != 0, &has_alpha);
        if (image.isNull()) return 0;
        int32_t new_id = 0;
        SpriteRecord* record =
            rt::sprites::create(id, image.width(), image.height(), flags, &new_id, false);
        if (record == nullptr) return 0;
        // Flag 8 keeps the image's alpha only when it has one.
        const bool own_alpha = (flags & 8) != 0 && has_alpha;
        if (!own_alpha) rt_key_image(image, rt::sprites::kBlackKey);
        rt::sprites::adopt_loaded(*record, {std::move(image), {}}, own_alpha);
        return rt::sprites::keep_if_filled(new_id);
    });
}

int32_t rt_sprite_create(int32_t id, int32_t width, int32_t height) {
    return rt_sprite_create_flags(id, width, height, 0);
}

int32_t rt_sprite_create_flags(int32_t id, int32_t width, int32_t height, int32_t flags) {
    return rt::core::guarded(0, [&]() -> int32_t {
        int32_t new_id = 0;
        SpriteRecord* record = rt::sprites::create(id, width, height, flags, &new_id);
        if (record == nullptr) return 0;
        // Filled black by painting: the end of that access keys white (none
        // applied yet), which leaves black opaque; then black becomes transparent.
        record->pixels->fill_black();
        if ((flags & 8) == 0) record->pixels->apply_transparent_colour(rt::sprites::kBlackKey);
        return new_id;
    });
}

int32_t rt_sprite_copy(int32_t source, int32_t id) {
    const SpriteRecord* record = rt::sprites::find(source);
    return record ? rt_sprite_copy_flags(source, id, record->flags) : 0;
}

int32_t rt_sprite_copy_flags(int32_t source, int32_t id, int32_t flags) {
    return rt::core::guarded(0, [&]() -> int32_t {
        const SpriteRecord* src = rt::sprites::find(source);
        if (src == nullptr || (flags == 2 && src->flags != 2)) return 0;
        // Keep the source alive even if the id names it and is replaced.
        const std::shared_ptr<rt_sprite_pixels> from = src->pixels;
        const int32_t width = src->sourceWidth;
        const int32_t height = src->sourceHeight;
        const uint32_t source_key = from->transparent_colour;
        int32_t new_id = 0;
        SpriteRecord* record = rt::sprites::create(id, width, height, flags, &new_id, false);
        if (record == nullptr) return 0;
        // Only colours travel: the copy's alpha comes from a transparent colour,
        // white while none is applied (also for a flag-8 copy).
        const bool keep_written_alpha = (flags & 8) != 0;
        const uint32_t key = keep_written_alpha ? rt_sprite_pixels::kNoColour : source_key;
        auto keyed = from->keyed_colours(key);
        record->pixels->adopt(std::move(keyed.argb), key, keyed.premul);
        if (!keep_written_alpha) record->pixels->transparent_colour = source_key;
        return rt::sprites::keep_if_filled(new_id);
    });
}

int32_t rt_sprite_grab(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height) {
    return rt_sprite_grab_flags(id, x, y, width, height, 0);
}

int32_t rt_sprite_grab_flags(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t flags) {
    return rt::core::guarded(0, [&]() -> int32_t {
        const QImage* back = rt::screen::back_buffer();
        if (back == nullptr || flags == 2 || x < 0 || y < 0 || width < 0 || height < 0 ||
            int64_t{x} + width > back->width() || int64_t{y} + height > back->height()) {
            return 0;
        }
        int32_t handle = id;
        SpriteRecord* record = id == -1 ? nullptr : rt::sprites::find(id);
        if (record != nullptr && (record->width != width || record->height != height)) {
            rt_sprite_free(id);
            record = nullptr;
        }
        if (record == nullptr) {
            record = rt::sprites::create(id, width, height, flags, &handle, false);
            if (record == nullptr) return 0;
        }
        rt_scene_end();
        QImage pixels = back->copy(x, y, width, height).convertToFormat(QImage::Format_ARGB32);
        // Whatever the end of the copy keyed, black is applied afterwards and
        // decides the alpha alone.
        rt_key_image(pixels, rt::sprites::kBlackKey);
        record->pixels->adopt(std::move(pixels), rt::sprites::kBlackKey);
        record->pixels->transparent_colour = rt::sprites::kBlackKey;
        return rt::sprites::keep_if_filled(handle);
    });
}

void rt_sprite_free(int32_t sprite) {
    rt::sprites::destroy(sprite);
}

int32_t rt_sprite_width(int32_t sprite) {
    const SpriteRecord* record = rt::sprites::find(sprite);
    return record ? record->width : 0;
}

int32_t rt_sprite_height(int32_t sprite) {
    const SpriteRecord* record = rt::sprites::find(sprite);
    return record ? record->height : 0;
}

int32_t rt_sprite_flags(int32_t sprite) {
    const SpriteRecord* record = rt::sprites::find(sprite);
    return record ? record->flags : 0;
}

rt_sprite_pixels* rt_sprite_pixels_of(int32_t sprite) {
    SpriteRecord* record = rt::sprites::find(sprite);
    return record ? record->pixels.get() : nullptr;
}

void* rt_sprite_gdi_begin(rt_sprite_pixels* pixels) {
    return pixels ? pixels->gdi_begin() : nullptr;
}

void rt_sprite_gdi_end(rt_sprite_pixels* pixels, int32_t read_only) {
    if (pixels) pixels->gdi_end(read_only != 0);
}

void* rt_sprite_lock(rt_sprite_pixels* pixels, int32_t read_only, int32_t* pitch) {
    if (pixels == nullptr) return nullptr;
    return pixels->lock(read_only != 0, pitch);
}

void rt_sprite_unlock(rt_sprite_pixels*) {
    // Directly written pixels keep the alpha they were written with.
}

void rt_sprite_apply_transparent_colour(rt_sprite_pixels* pixels, uint32_t colour) {
    if (pixels) pixels->apply_transparent_colour(colour);
}

int32_t rt_sprite_pixels_width(const rt_sprite_pixels* pixels) {
    return pixels ? pixels->width() : 0;
}

int32_t rt_sprite_pixels_height(const rt_sprite_pixels* pixels) {
    return pixels ? pixels->height() : 0;
}

}  // extern "C"

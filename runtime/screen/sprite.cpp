// SPDX-License-Identifier: GPL-3.0-or-later
// Sprites: loading, creating, copying, grabbing and freeing, and the pixel
// services the drawing library uses.
#include <atomic>
#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/path_platform.h"
#include "runtime/image/decoder_internal.h"
#include "runtime/image/rt_image.h"
#include "runtime/screen/decoded_images.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/screen/screen_internal.h"
#include "runtime/screen/sprite_record.h"

namespace rt::sprites {

namespace {

rt_table* g_table = nullptr;  // the sprite table, made by rt_screen_init

// The most pixels a sprite holds: 2^31 bytes of them.
constexpr int64_t kMaxPixels = int64_t{1} << 29;

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

// The pixel stores of live sprites, by address: rt_sprite_pixels_of lends
// them out, and the pixel services answer a failure for any other address
// (a store whose sprite was freed, or no store at all) without touching it.
struct LentStores {
    std::mutex lock;
    std::unordered_set<const rt_sprite_pixels*> live;
};

LentStores& lent() {
    static LentStores stores;
    return stores;
}

// Decodes image data through the decoder registry into 0x00RRGGBB pixels
// (alpha 0), or 0xAARRGGBB when the image's own alpha is kept.
QImage decode(const void* data, int32_t length, bool keep_alpha, bool* has_alpha) {
    if (data == nullptr || length <= 0 || !rt_image_recognise(data, length)) return {};
    const int32_t w = rt_image_width();
    const int32_t h = rt_image_height();
    const int32_t depth = rt_image_depth();
    if (w <= 0 || h <= 0 || (depth != 24 && depth != 32)) {
        rt_image_state_release();
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
    rt_image_state_release();  // as a decode does
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
    return rt::core::fail(0, "out of memory");
}

void destroy(int32_t id) {
    SpriteRecord* record = find(id);
    if (record == nullptr) return;
    if (record->pixels) {
        std::lock_guard guard(lent().lock);
        lent().live.erase(record->pixels.get());
    }
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

bool is_lent(const rt_sprite_pixels* pixels) {
    std::lock_guard guard(lent().lock);
    return lent().live.count(pixels) != 0;
}

SpriteRecord* create(int32_t id, int32_t width, int32_t height, int32_t flags, int32_t* new_id,
                     bool blank_pixels) {
    using rt::core::fail;
    *new_id = 0;
    if (g_table == nullptr)
        return fail<SpriteRecord*>(nullptr, "no screen library (rt_screen_init)");
    if (flags_refused(flags)) return fail<SpriteRecord*>(nullptr, "flag 8 needs flag 4");
    if (width < 0 || height < 0) return fail<SpriteRecord*>(nullptr, "negative size");
    if (int64_t{width} * height > kMaxPixels)
        return fail<SpriteRecord*>(nullptr, "too large (more than 2^29 pixels)");
    void* memory = rt_table_alloc(g_table, id, new_id);
    if (memory == nullptr) return nullptr;  // the table said why
    auto* record = new (memory) SpriteRecord;
    record->width = record->sourceWidth = width;
    record->height = record->sourceHeight = height;
    record->depth = 32;  // every store is 32-bit on this platform
    record->flags = flags;
    try {
        record->pixels = std::make_shared<rt_sprite_pixels>(
            blank_pixels ? width : 0, blank_pixels ? height : 0, (flags & 4) != 0);
        std::lock_guard guard(lent().lock);
        lent().live.insert(record->pixels.get());
    } catch (const std::bad_alloc&) {
    }
    // Pixels that cannot be had leave no sprite behind.
    if (!record->pixels || (blank_pixels && !record->pixels->has_pixels(width, height)) ||
        !is_lent(record->pixels.get())) {
        destroy(*new_id);
        *new_id = 0;
        return rt::core::fail<SpriteRecord*>(nullptr, "out of memory");
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

using rt::core::fail;
using rt::core::guarded;
using rt::core::record_failure;
using rt::sprites::SpriteRecord;

namespace {

constexpr const char* kNoSprite = "no such sprite";
constexpr const char* kNoStore = "not the pixel store of a live sprite";

// The flags a load, copy or grab refuses, with the reason recorded.
bool flags_refused_here(int32_t flags) {
    if (flags == 2) return fail(true, "flags 2 are refused");
    if (rt::sprites::flags_refused(flags)) return fail(true, "flag 8 needs flag 4");
    return false;
}

int32_t load_flags(int32_t id, const char* file_name, int32_t flags) {
    if (file_name == nullptr) return fail(0, "no file name (NULL)");
    if (flags_refused_here(flags)) return 0;
    rt::files::FileIdentity file;
    if (!rt::files::identify_file(file_name, file)) return fail(0, "no such file", file_name);
    if (auto kept = rt::sprites::find_decoded(file)) {
        if (rt::sprites::recognise_again(*kept)) return rt::sprites::make_loaded(id, kept, flags);
    }
    std::vector<uint8_t> data;
    rt::files::FileIdentity read;
    if (!rt::files::read_whole_file(file.path.c_str(), data, &read)) return 0;  // it said why
    auto decoded = std::make_shared<rt::sprites::DecodedImage>();
    decoded->pixels = rt::sprites::decode(data.data(), static_cast<int32_t>(data.size()), true,
                                          &decoded->has_alpha);
    if (decoded->pixels.isNull()) return fail(0, "not a PNG or BMP picture", file_name);
    decoded->width = decoded->pixels.width();
    decoded->height = decoded->pixels.height();
    decoded->depth = decoded->has_alpha ? 32 : 24;
    decoded->header = rt::sprites::png_header(data.data(), data.size());
    if (!read.path.empty() && !decoded->header.empty()) rt::sprites::keep_decoded(read, decoded);
    return rt::sprites::make_loaded(id, decoded, flags);
}

int32_t create_flags(int32_t id, int32_t width, int32_t height, int32_t flags) {
    int32_t new_id = 0;
    SpriteRecord* record = rt::sprites::create(id, width, height, flags, &new_id);
    if (record == nullptr) return 0;  // create said why
    // Filled black by painting: the end of that access keys white (none
    // applied yet), which leaves black opaque; then black becomes transparent.
    record->pixels->fill_black();
    if ((flags & 8) == 0) record->pixels->apply_transparent_colour(rt::sprites::kBlackKey);
    return new_id;
}

int32_t copy_flags(int32_t source, int32_t id, int32_t flags) {
    const SpriteRecord* src = rt::sprites::find(source);
    if (src == nullptr) return fail(0, kNoSprite);
    if (!(flags == 2 && src->flags == 2) && flags_refused_here(flags)) return 0;
    // Keep the source alive even if the id names it and is replaced.
    const std::shared_ptr<rt_sprite_pixels> from = src->pixels;
    const int32_t width = src->sourceWidth;
    const int32_t height = src->sourceHeight;
    const uint32_t source_key = from->transparent_colour;
    int32_t new_id = 0;
    SpriteRecord* record = rt::sprites::create(id, width, height, flags, &new_id, false);
    if (record == nullptr) return 0;  // create said why
    // Only colours travel: the copy's alpha comes from a transparent colour,
    // white while none is applied (also for a flag-8 copy).
    const bool keep_written_alpha = (flags & 8) != 0;
    const uint32_t key = keep_written_alpha ? rt_sprite_pixels::kNoColour : source_key;
    auto keyed = from->keyed_colours(key);
    record->pixels->adopt(std::move(keyed.argb), key, keyed.premul);
    if (!keep_written_alpha) record->pixels->transparent_colour = source_key;
    return rt::sprites::keep_if_filled(new_id);
}

int32_t grab_flags(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height, int32_t flags) {
    const QImage* back = rt::screen::back_buffer();
    if (back == nullptr) return fail(0, "no screen is open");
    if (flags == 2) return fail(0, "flags 2 are refused");
    if (x < 0 || y < 0 || width < 0 || height < 0 || int64_t{x} + width > back->width() ||
        int64_t{y} + height > back->height()) {
        return fail(0, "the rectangle does not lie within the screen");
    }
    int32_t handle = id;
    SpriteRecord* record = id == -1 ? nullptr : rt::sprites::find(id);
    if (record != nullptr && (record->width != width || record->height != height)) {
        rt::sprites::destroy(id);
        record = nullptr;
    }
    if (record == nullptr) {
        record = rt::sprites::create(id, width, height, flags, &handle, false);
        if (record == nullptr) return 0;  // create said why
    }
    rt_scene_end();
    QImage pixels = back->copy(x, y, width, height).convertToFormat(QImage::Format_ARGB32);
    // Whatever the end of the copy keyed, black is applied afterwards and
    // decides the alpha alone.
    rt_key_image(pixels, rt::sprites::kBlackKey);
    record->pixels->adopt(std::move(pixels), rt::sprites::kBlackKey);
    record->pixels->transparent_colour = rt::sprites::kBlackKey;
    return rt::sprites::keep_if_filled(handle);
}

// Runs a function on the record of a live sprite.
template <class Result, class Work>
Result on_sprite(const char* function, Result failure, int32_t sprite, Work&& work) noexcept {
    return guarded(function, failure, [&]() -> Result {
        SpriteRecord* record = rt::sprites::find(sprite);
        if (record == nullptr) return fail(failure, kNoSprite);
        return work(*record);
    });
}

// Runs a function on a lent pixel store that still belongs to a live sprite.
template <class Result, class Work>
Result on_store(const char* function, Result failure, const rt_sprite_pixels* pixels,
                Work&& work) noexcept {
    return guarded(function, failure, [&]() -> Result {
        if (pixels == nullptr) return fail(failure, "no pixel store (NULL)");
        if (!rt::sprites::is_lent(pixels)) return fail(failure, kNoStore);
        return work(*const_cast<rt_sprite_pixels*>(pixels));
    });
}

}  // namespace

extern "C" {

int32_t rt_sprite_load(int32_t id, const char* file_name) {
    return guarded(__func__, 0, [&] { return load_flags(id, file_name, 0); });
}

int32_t rt_sprite_load_flags(int32_t id, const char* file_name, int32_t flags) {
    return guarded(__func__, 0, [&] { return load_flags(id, file_name, flags); });
}

int32_t rt_sprite_load_memory(int32_t id, const void* data, int32_t length, int32_t flags) {
    return guarded(__func__, 0, [&]() -> int32_t {
        if (data == nullptr) return fail(0, "no data (NULL)");
        if (length < 0) return fail(0, "negative length");
        if (flags_refused_here(flags)) return 0;
        bool has_alpha = false;
        QImage image = rt::sprites::decode(data, length, (flags & 8) != 0, &has_alpha);
        if (image.isNull()) return fail(0, "not a PNG or BMP picture");
        int32_t new_id = 0;
        SpriteRecord* record =
            rt::sprites::create(id, image.width(), image.height(), flags, &new_id, false);
        if (record == nullptr) return 0;  // create said why
        // Flag 8 keeps the image's alpha only when it has one.
        const bool own_alpha = (flags & 8) != 0 && has_alpha;
        if (!own_alpha) rt_key_image(image, rt::sprites::kBlackKey);
        rt::sprites::adopt_loaded(*record, {std::move(image), {}}, own_alpha);
        return rt::sprites::keep_if_filled(new_id);
    });
}

int32_t rt_sprite_create(int32_t id, int32_t width, int32_t height) {
    return guarded(__func__, 0, [&] { return create_flags(id, width, height, 0); });
}

int32_t rt_sprite_create_flags(int32_t id, int32_t width, int32_t height, int32_t flags) {
    return guarded(__func__, 0, [&] { return create_flags(id, width, height, flags); });
}

int32_t rt_sprite_copy(int32_t source, int32_t id) {
    return on_sprite(__func__, 0, source, [&](const SpriteRecord& record) {
        return copy_flags(source, id, record.flags);
    });
}

int32_t rt_sprite_copy_flags(int32_t source, int32_t id, int32_t flags) {
    return guarded(__func__, 0, [&] { return copy_flags(source, id, flags); });
}

int32_t rt_sprite_grab(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height) {
    return guarded(__func__, 0, [&] { return grab_flags(id, x, y, width, height, 0); });
}

int32_t rt_sprite_grab_flags(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t flags) {
    return guarded(__func__, 0, [&] { return grab_flags(id, x, y, width, height, flags); });
}

void rt_sprite_free(int32_t sprite) {
    on_sprite(__func__, 0, sprite, [sprite](SpriteRecord&) {
        rt::sprites::destroy(sprite);
        return 0;
    });
}

int32_t rt_sprite_width(int32_t sprite) {
    return on_sprite(__func__, 0, sprite, [](const SpriteRecord& r) { return r.width; });
}

int32_t rt_sprite_height(int32_t sprite) {
    return on_sprite(__func__, 0, sprite, [](const SpriteRecord& r) { return r.height; });
}

int32_t rt_sprite_flags(int32_t sprite) {
    return on_sprite(__func__, 0, sprite, [](const SpriteRecord& r) { return r.flags; });
}

rt_sprite_pixels* rt_sprite_pixels_of(int32_t sprite) {
    return on_sprite(__func__, static_cast<rt_sprite_pixels*>(nullptr), sprite,
                     [](const SpriteRecord& r) { return r.pixels.get(); });
}

void* rt_sprite_gdi_begin(rt_sprite_pixels* pixels) {
    return on_store(__func__, static_cast<void*>(nullptr), pixels, [](rt_sprite_pixels& p) {
        void* painter = p.gdi_begin();
        return painter ? painter : fail<void*>(nullptr, "the store has no pixels to paint");
    });
}

void rt_sprite_gdi_end(rt_sprite_pixels* pixels, int32_t read_only) {
    on_store(__func__, 0, pixels, [read_only](rt_sprite_pixels& p) {
        if (!p.gdi_open()) return fail(0, "no painting access is open");
        p.gdi_end(read_only != 0);
        return 0;
    });
}

void* rt_sprite_lock(rt_sprite_pixels* pixels, int32_t, int32_t* pitch) {
    if (pitch) *pitch = 0;
    return on_store(__func__, static_cast<void*>(nullptr), pixels,
                    [pitch](rt_sprite_pixels& p) -> void* { return p.lock(pitch); });
}

void rt_sprite_unlock(rt_sprite_pixels* pixels) {
    on_store(__func__, 0, pixels, [](rt_sprite_pixels& p) {
        return p.unlock() ? 0 : fail(0, "no direct access is open");
    });
}

void rt_sprite_apply_transparent_colour(rt_sprite_pixels* pixels, uint32_t colour) {
    on_store(__func__, 0, pixels, [colour](rt_sprite_pixels& p) {
        p.apply_transparent_colour(colour);
        return 0;
    });
}

int32_t rt_sprite_pixels_width(const rt_sprite_pixels* pixels) {
    return on_store(__func__, 0, pixels, [](rt_sprite_pixels& p) { return p.width(); });
}

int32_t rt_sprite_pixels_height(const rt_sprite_pixels* pixels) {
    return on_store(__func__, 0, pixels, [](rt_sprite_pixels& p) { return p.height(); });
}

}  // extern "C"

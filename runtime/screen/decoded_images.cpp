// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/screen/decoded_images.h"

#include <cstring>
#include <mutex>

#include "runtime/screen/sprite_pixels.h"
#include "runtime/screen/sprite_record.h"

namespace rt::sprites {

namespace {

// A level uses about 30 picture files; the bound leaves room for a few levels'
// worth while keeping the memory held small.
constexpr size_t kMaxEntries = 64;

struct Entry {
    rt::files::FileIdentity file;
    std::shared_ptr<const DecodedImage> image;
    uint64_t lastUse = 0;
    // Derived from image, made when first asked for.
    QImage keyed;
    QImage keyedPremul;
    QImage alphaPremul;
    int32_t uses = 0;
};

struct Cache {
    std::mutex lock;
    std::vector<Entry> entries;
    uint64_t clock = 0;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

Entry* entry_of(Cache& c, const DecodedImage* image) {
    for (Entry& entry : c.entries)
        if (entry.image.get() == image) return &entry;
    return nullptr;
}

uint32_t read_be32(const uint8_t* p) {
    return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

}  // namespace

std::vector<uint8_t> png_header(const uint8_t* data, size_t length) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (data == nullptr || length < 8 || std::memcmp(data, kSignature, 8) != 0) return {};
    size_t at = 8;
    // Each chunk: length, type, data, checksum.
    while (length - at >= 8) {
        const uint32_t size = read_be32(data + at);
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0) return {data, data + at + 8};
        if (size > length - at - 8 || length - at - 8 - size < 4) return {};
        at += 12 + size;
    }
    return {};
}

std::shared_ptr<const DecodedImage> find_decoded(const rt::files::FileIdentity& file) {
    Cache& c = cache();
    std::lock_guard guard(c.lock);
    for (Entry& entry : c.entries) {
        if (entry.file == file) {
            entry.lastUse = ++c.clock;
            return entry.image;
        }
    }
    return nullptr;
}

void keep_decoded(const rt::files::FileIdentity& file, std::shared_ptr<const DecodedImage> image) {
    Cache& c = cache();
    std::lock_guard guard(c.lock);
    Entry* slot = nullptr;
    // A new version of a file replaces the old one.
    for (Entry& entry : c.entries)
        if (entry.file.path == file.path) slot = &entry;
    if (slot == nullptr && c.entries.size() < kMaxEntries) slot = &c.entries.emplace_back();
    if (slot == nullptr) {
        slot = &c.entries.front();
        for (Entry& entry : c.entries)
            if (entry.lastUse < slot->lastUse) slot = &entry;
    }
    *slot = Entry{};
    slot->file = file;
    slot->image = std::move(image);
    slot->lastUse = ++c.clock;
}

DecodedPixels decoded_pixels(const std::shared_ptr<const DecodedImage>& image, bool keep_alpha) {
    const bool own_alpha = keep_alpha && image->has_alpha;
    Cache& c = cache();
    std::lock_guard guard(c.lock);
    Entry* entry = entry_of(c, image.get());
    if (entry == nullptr) {
        // Not kept (or dropped meanwhile): derive for this load only.
        if (own_alpha) return {image->pixels, {}};
        QImage keyed = image->pixels;
        rt_key_image(keyed, kBlackKey);
        return {keyed, {}};
    }
    // The premultiplied form pays off from the second load of a file on.
    const bool again = ++entry->uses > 1;
    if (own_alpha) {
        if (again && entry->alphaPremul.isNull())
            entry->alphaPremul = image->pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return {image->pixels, entry->alphaPremul};
    }
    if (entry->keyed.isNull()) {
        entry->keyed = image->pixels;
        rt_key_image(entry->keyed, kBlackKey);
    }
    if (again && entry->keyedPremul.isNull())
        entry->keyedPremul = entry->keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return {entry->keyed, entry->keyedPremul};
}

void forget_decoded() {
    Cache& c = cache();
    std::lock_guard guard(c.lock);
    c.entries.clear();
}

}  // namespace rt::sprites

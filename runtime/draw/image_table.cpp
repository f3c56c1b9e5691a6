// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing library's image table and its alpha-blend support. Images are
// made by grabbing a rectangle of a drawing pass's target and drawn back by
// the pass's image operations; the program's start-up and shutdown make and
// empty the table in their fixed order.
#include <QImage>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/images.h"
#include "runtime/draw/rt_draw.h"

namespace {

struct ImageRecord {
    uint32_t live = 1;  // the table's in-use mark
    QImage image;       // Format_RGB32 (opaque) or Format_ARGB32 (own alpha)
};

rt_table* g_images = nullptr;
bool g_alphablend = false;

ImageRecord* find_record(int32_t id) {
    return g_images ? static_cast<ImageRecord*>(rt_table_check(g_images, id)) : nullptr;
}

}  // namespace

namespace rt::images {

const QImage* find(int32_t id) {
    const ImageRecord* record = find_record(id);
    return record ? &record->image : nullptr;
}

int32_t store(int32_t id, QImage image) {
    if (g_images == nullptr) return rt::core::fail(0, "no image table (rt_image_init)");
    if (image.isNull()) return rt::core::fail(0, "out of memory");
    int32_t new_id = 0;
    void* memory = rt_table_alloc(g_images, id, &new_id);
    if (memory == nullptr) return 0;
    new (memory) ImageRecord{1, std::move(image)};
    return new_id;
}

}  // namespace rt::images

using rt::core::fail;
using rt::core::guarded;

extern "C" {

void rt_image_init(void) {
    guarded(__func__, [] {
        if (g_images == nullptr) g_images = rt_table_new(sizeof(ImageRecord), 16, rt_image_free);
    });
}

void rt_image_free(int32_t image) {
    guarded(__func__, [&] {
        ImageRecord* record = find_record(image);
        if (record == nullptr) return rt::core::record_failure("no such image");
        record->~ImageRecord();
        rt_table_remove(g_images, image);
    });
}

void rt_image_free_all(void) {
    guarded(__func__, [] {
        if (g_images != nullptr) rt_table_free_all(g_images);
    });
}

int32_t rt_image_size(int32_t image, int32_t* width, int32_t* height) {
    if (width) *width = 0;
    if (height) *height = 0;
    return guarded(__func__, 0, [&] {
        const QImage* found = rt::images::find(image);
        if (found == nullptr) return fail(0, "no such image");
        if (width) *width = found->width();
        if (height) *height = found->height();
        return 1;
    });
}

// Constant-opacity blending is built into the drawing code here; there is no
// library to load, only the availability to record.
int32_t rt_alphablend_init(void) {
    return guarded(__func__, 0, [] {
        g_alphablend = true;
        return 1;
    });
}

void rt_alphablend_shutdown(void) {
    guarded(__func__, [] { g_alphablend = false; });
}

}  // extern "C"

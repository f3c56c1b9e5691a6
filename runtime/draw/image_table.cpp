// The drawing library's image table and its alpha-blend support. The game
// makes no drawing images; the table exists so that the program's start-up and
// shutdown run in their fixed order and free whatever it holds.
#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"

#include <QImage>
#include <new>

namespace {

struct ImageRecord {
    uint32_t live = 1;  // the table's in-use mark
    QImage image;
};

rt_table* g_images = nullptr;
bool g_alphablend = false;

void free_image(int32_t id) {
    auto* record = static_cast<ImageRecord*>(rt_table_check(g_images, id));
    if (record == nullptr) return;
    record->~ImageRecord();
    rt_table_remove(g_images, id);
}

}  // namespace

extern "C" {

void rt_image_init(void) {
    if (g_images == nullptr) g_images = rt_table_new(sizeof(ImageRecord), 16, free_image);
}

void rt_image_free_all(void) {
    if (g_images != nullptr) rt_table_free_all(g_images);
}

// Constant-opacity blending is built into the painter here; there is no
// library to load, only the availability to record.
int32_t rt_alphablend_init(void) {
    g_alphablend = true;
    return 1;
}

void rt_alphablend_shutdown(void) { g_alphablend = false; }

}  // extern "C"

// SPDX-License-Identifier: GPL-3.0-or-later
// Fonts by face name and size in points. A font object holds one native
// handle naming a QFont; fontconfig (through Qt) substitutes a similar face
// when the named one is not installed.
#include <QApplication>
#include <QScreen>
#include <cmath>
#include <map>
#include <mutex>
#include <new>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/fonts.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/window/qt_platform.h"

namespace {

struct FontRecord {
    uint32_t live = 1;  // the table's in-use mark
    int32_t native = 0;
};

struct FontLibrary {
    rt_table* table = nullptr;
    std::mutex lock;  // guards the native fonts
    std::map<int32_t, QFont> native;
    int32_t next_native = 0x1000;  // native handles are never 0 or -1 and never reused
};

FontLibrary& library() {
    static FontLibrary lib;
    return lib;
}

FontRecord* find(int32_t id) {
    FontLibrary& lib = library();
    return lib.table ? static_cast<FontRecord*>(rt_table_check(lib.table, id)) : nullptr;
}

// a * b / c rounded to the nearest integer, halves away from zero.
int32_t mul_div(int32_t a, int32_t b, int32_t c) {
    const int64_t product = int64_t{a} * b;
    const int64_t half = c / 2;
    return static_cast<int32_t>(product >= 0 ? (product + half) / c : (product - half) / c);
}

QFont make_font(const char* face, int32_t points, int32_t flags) {
    QFont font(QString::fromLatin1(face ? face : ""));
    // Negative heights ask for the character height (internal leading
    // excluded), which is Qt's pixel size.
    const int32_t height = -mul_div(points, rt::fonts::display_dpi(), 72);
    if (height != 0) font.setPixelSize(std::abs(height));
    font.setWeight((flags & RT_FONT_BOLD) ? QFont::Bold : QFont::Normal);
    font.setItalic((flags & RT_FONT_ITALIC) != 0);
    font.setUnderline((flags & RT_FONT_UNDERLINE) != 0);
    font.setStrikeOut((flags & RT_FONT_STRIKEOUT) != 0);
    font.setStyleStrategy((flags & RT_FONT_QUALITY) ? QFont::PreferQuality : QFont::PreferDefault);
    return font;
}

}  // namespace

namespace rt::fonts {

std::optional<QFont> native_font(int32_t handle) {
    FontLibrary& lib = library();
    std::lock_guard guard(lib.lock);
    auto it = lib.native.find(handle);
    if (it == lib.native.end()) return std::nullopt;
    return it->second;
}

int32_t display_dpi() {
    rt::qt::app();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 0.0;
    return dpi >= 1.0 ? static_cast<int32_t>(std::lround(dpi)) : 96;
}

}  // namespace rt::fonts

using rt::core::fail;
using rt::core::guarded;

namespace {

// Sizes far beyond any screen: their pixel heights still fit 32 bits.
constexpr int32_t kMaxPoints = 1 << 20;

}  // namespace

extern "C" {

void rt_font_init(void) {
    guarded(__func__, [] {
        FontLibrary& lib = library();
        if (lib.table == nullptr) lib.table = rt_table_new(sizeof(FontRecord), 16, rt_font_free);
    });
}

int32_t rt_font_load(int32_t id, const char* face, int32_t points, int32_t flags) {
    return guarded(__func__, 0, [&] {
        FontLibrary& lib = library();
        if (lib.table == nullptr) return fail(0, "no font library (rt_font_init)");
        if (face == nullptr) return fail(0, "no face name (NULL)");
        if (points < 0 || points > kMaxPoints) return fail(0, "a size not within 0 .. 2^20 points");
        QFont font = make_font(face, points, flags);
        int32_t new_id = 0;
        void* memory = rt_table_alloc(lib.table, id, &new_id);
        if (memory == nullptr) return 0;  // the table said why
        auto* record = new (memory) FontRecord;
        {
            std::lock_guard guard(lib.lock);
            record->native = lib.next_native++;
            lib.native.emplace(record->native, std::move(font));
        }
        return id == -1 ? new_id : record->native;
    });
}

int32_t rt_font_handle(int32_t font) {
    return guarded(__func__, 0, [&] {
        const FontRecord* record = find(font);
        return record ? record->native : fail(0, "no such font");
    });
}

void rt_font_free(int32_t font) {
    guarded(__func__, [&] {
        FontLibrary& lib = library();
        FontRecord* record = find(font);
        if (record == nullptr) return rt::core::record_failure("no such font");
        {
            std::lock_guard guard(lib.lock);
            lib.native.erase(record->native);
        }
        record->~FontRecord();
        rt_table_remove(lib.table, font);
    });
}

void rt_font_free_all(void) {
    guarded(__func__, [] {
        FontLibrary& lib = library();
        if (lib.table != nullptr) rt_table_free_all(lib.table);
    });
}

int32_t rt_font_pixel_height(int32_t points) {
    return guarded(__func__, 0, [&] {
        if (points < 0 || points > kMaxPoints) return fail(0, "a size not within 0 .. 2^20 points");
        return -mul_div(points, rt::fonts::display_dpi(), 72);
    });
}

}  // extern "C"

// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of runtime calls, as a careless C program might make them:
// sprites (written through locks left open across draws), drawing passes on
// the screen and on sprites (closing the screen or replacing the sprite under
// a pass), rotated sprites, drawing images, lists, tables, files and listings
// in a temporary folder, and string results at any offset. Every text an
// answer names is read back whole, so a result written outside the buffer or
// an offset that names no text shows up under ASan; so is the reason of every
// failure, which must name a runtime call.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz/fuzz_common.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/files/rt_files.h"
#include "runtime/image/rt_image.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/window/rt_window.h"

namespace {

int32_t g_window = 0;
std::string g_folder;  // the temporary folder the file calls work in

constexpr int kHandles = 8;
constexpr int32_t kSlots = 16;  // numbered ids in use: 0 .. kSlots - 1
struct Handles {
    int32_t sprites[kHandles] = {};
    int32_t rotors[kHandles] = {};
    int32_t images[kHandles] = {};
    int32_t files[kHandles] = {};
    int32_t listings[kHandles] = {};
    rt_list* lists[2] = {};
    void* current[2] = {};
    rt_table* table = nullptr;
    int32_t locked = 0;  // the sprite whose lock is open (its pixels may be written)
};

// An id as a caller might pass it: a kept handle, -1, a small slot number, or
// anything at all.
int32_t pick(FuzzInput& in, const int32_t (&kept)[kHandles]) {
    const uint8_t how = in.TakeByte();
    switch (how % 4) {
        case 0:
            return kept[(how >> 2) % kHandles];
        case 1:
            return -1;
        case 2:
            return (how >> 2) % kSlots;
        default: {
            // Any value, but numbers a table would grow to are kept small:
            // slots up to 2^24 are valid and would spend the run on pages.
            const int32_t id = in.TakeInt32();
            return id >= 0 && id <= RT_TABLE_MAX_ID ? id % kSlots : id;
        }
    }
}

void keep(int32_t (&kept)[kHandles], int32_t id, uint8_t where) {
    if (id != 0) kept[where % kHandles] = id;
}

// A small coordinate around the 64 x 48 screen, or occasionally any value.
int32_t coordinate(FuzzInput& in) {
    const uint8_t b = in.TakeByte();
    return b < 240 ? static_cast<int32_t>(b) - 100 : in.TakeInt32();
}

int32_t small_size(FuzzInput& in) {
    return static_cast<int32_t>(in.TakeByte() % 48);
}

// Reads the text an answer names: it must start inside the buffer's texts.
void read_result(int32_t start) {
    FUZZ_CHECK(start >= 0 && start <= rt_strbuf_pos());
    volatile size_t length = std::strlen(rt_strbuf_base() + start);
    (void)length;
}

std::string short_text(FuzzInput& in) {
    std::string text;
    const uint8_t length = in.TakeByte() % 12;
    for (uint8_t i = 0; i < length; ++i) text.push_back(static_cast<char>(in.TakeByte() | 1));
    return text;
}

// Runs the call `op` names among `calls`, each a decoder of its arguments
// followed by the call itself.
template <class... Calls>
void run_one(uint8_t op, Calls&&... calls) {
    size_t index = 0;
    ((index++ == op % sizeof...(Calls) ? calls() : void()), ...);
}

void sprite_call(FuzzInput& in, Handles& h, uint8_t op) {
    const uint8_t where = in.TakeByte();
    run_one(
        op,
        [&] {
            keep(h.sprites,
                 rt_sprite_create_flags(pick(in, h.sprites), small_size(in), small_size(in),
                                        in.TakeByte() % 16),
                 where);
        },
        [&] {
            keep(h.sprites,
                 rt_sprite_copy_flags(pick(in, h.sprites), pick(in, h.sprites), in.TakeByte() % 16),
                 where);
        },
        [&] {
            keep(h.sprites,
                 rt_sprite_grab(pick(in, h.sprites), coordinate(in), coordinate(in), small_size(in),
                                small_size(in)),
                 where);
        },
        [&] { rt_sprite_free(pick(in, h.sprites)); },
        [&] {
            rt_sprite_draw_alpha(pick(in, h.sprites), coordinate(in), coordinate(in),
                                 in.TakeInt32());
            rt_sprite_draw_keyed(pick(in, h.sprites), coordinate(in), coordinate(in));
            rt_sprite_draw(pick(in, h.sprites), coordinate(in), coordinate(in));
        },
        [&] {  // a lock left open: draws of the sprite may come before its unlock
            if (h.locked == 0 || (where & 3) == 0) h.locked = pick(in, h.sprites);
            // Locked again for each write: whatever happened to the sprite since
            // (a pass, a grab into it, its free), the pointer is good now.
            int32_t pitch = 0;
            auto* bits = static_cast<uint8_t*>(
                rt_sprite_lock(rt_sprite_pixels_of(h.locked), where & 4, &pitch));
            const int32_t w = rt_sprite_width(h.locked), ht = rt_sprite_height(h.locked);
            if (bits != nullptr && w > 0 && ht > 0) {
                // Any pixel, the last one included: the whole store must be there.
                const int32_t x = in.TakeByte() % w, y = in.TakeByte() % ht;
                bits[static_cast<size_t>(y) * static_cast<size_t>(pitch) +
                     static_cast<size_t>(x) * 4] ^= in.TakeByte();
            }
            if (where & 8) {
                rt_sprite_unlock(rt_sprite_pixels_of(h.locked));
                h.locked = 0;
            }
        },
        [&] {
            keep(h.rotors, rt_sprite3d_create(pick(in, h.rotors), pick(in, h.sprites)), where);
            rt_sprite3d_rotate(pick(in, h.rotors), static_cast<float>(in.TakeInt32() % 720),
                               in.TakeByte() & 1);
        },
        [&] {
            if (where & 1) rt_sprite3d_begin();
            rt_sprite3d_draw_alpha(pick(in, h.rotors), coordinate(in), coordinate(in),
                                   in.TakeInt32());
            if (where & 2) rt_sprite3d_end();
            if (where & 4) rt_sprite3d_free(pick(in, h.rotors));
        });
}

void draw_call(FuzzInput& in, Handles& h, uint8_t op) {
    const int32_t x = coordinate(in), y = coordinate(in);
    const auto colour = [&] { return static_cast<uint32_t>(in.TakeInt32()); };
    run_one(
        op, [&] { rt_draw_start(rt_screen_output()); },
        [&] { rt_draw_start(rt_sprite_output(pick(in, h.sprites))); }, [&] { rt_draw_stop(); },
        [&] { rt_draw_text(x, y, short_text(in).c_str(), colour()); },
        [&] { rt_draw_box(x, y, coordinate(in), coordinate(in), colour()); },
        [&] {
            rt_draw_plot(x, y, colour());
            rt_draw_point(x, y);
        },
        [&] {
            rt_draw_mode(in.TakeByte() % 8);
            rt_draw_line(x, y, coordinate(in), coordinate(in));
            rt_draw_ellipse(x, y, in.TakeByte() % 20, in.TakeByte() % 20);
        },
        [&] { rt_draw_fill(x, y, in.TakeByte() & 1 ? RT_DRAW_FILL_SURFACE : 0u); },
        [&] {
            keep(h.images,
                 rt_draw_grab_image(pick(in, h.images), x, y, small_size(in), small_size(in)),
                 in.TakeByte());
        },
        [&] {
            rt_draw_image_sized(pick(in, h.images), x, y, small_size(in) - 2, small_size(in) - 2);
            rt_draw_image_alpha(pick(in, h.images), x, y, in.TakeInt32());
        },
        [&] {
            rt_image_free(pick(in, h.images));
            rt_draw_text_width(short_text(in).c_str());
        },
        [&] {  // rarely: the screen goes away (under any pass) and comes back
            if (in.TakeByte() < 16) {
                rt_screen_close();
                rt_screen_open(g_window, 0, 0, 64, 48, 0, 0, 0);
            }
        });
}

void list_call(FuzzInput& in, Handles& h, uint8_t op) {
    const int n = op & 1;
    rt_list*& list = h.lists[n];
    if (list == nullptr || op % 9 == 0) {
        rt_list_free(list);
        // Sizes the list refuses come through as they are; accepted ones are
        // kept small, so that a run spends its time on calls, not on memory.
        const uint8_t size = in.TakeByte();
        int32_t record_size = size < 250 ? size % 40 : in.TakeInt32();
        if (record_size > 4096 && record_size <= RT_LIST_MAX_RECORD) record_size %= 4096;
        list = rt_list_new(record_size, &h.current[n], nullptr, 7);
        return;
    }
    run_one(
        op >> 1,
        [&] {  // the record's last byte: the whole record must be there
            const int32_t size = list->element_size - static_cast<int32_t>(sizeof(rt_list_element));
            if (auto* record = static_cast<uint8_t*>(rt_list_add(list));
                record != nullptr && size > 0) {
                record[size - 1] = 0xAB;
            }
        },
        [&] { rt_list_next(list); }, [&] { rt_list_select(list, in.TakeInt32() % 64); },
        [&] { rt_list_delete(list); }, [&] { rt_list_reset(list); });
}

void table_call(FuzzInput& in, Handles& h) {
    if (h.table == nullptr) h.table = rt_table_new(16, 16, nullptr);
    int32_t id = in.TakeInt32();
    // Numbers are kept small enough to spend the run on calls, not on pages;
    // the refused ones beyond the largest id still come through.
    if (id >= 0 && id <= RT_TABLE_MAX_ID) id %= 4096;
    int32_t new_id = 0;
    if (auto* record = static_cast<uint8_t*>(rt_table_alloc(h.table, id, &new_id))) {
        record[0] = 1;
        record[15] = 2;
    }
    if (in.TakeByte() & 1) rt_table_remove(h.table, in.TakeByte() & 1 ? new_id : in.TakeInt32());
    // A value that was never handed out names nothing, whatever it is.
    FUZZ_CHECK(new_id == 0 || rt_table_check(h.table, new_id) != nullptr ||
               rt_table_get(h.table, new_id) == nullptr);
}

void file_call(FuzzInput& in, Handles& h, uint8_t op) {
    const int32_t offset = in.TakeInt32();
    run_one(
        op,
        [&] {
            const std::string name = g_folder + "/f" + std::to_string(in.TakeByte() % 3) + ".txt";
            keep(h.files, rt_file_open(pick(in, h.files), name.c_str()), in.TakeByte());
        },
        [&] { rt_file_write_line(pick(in, h.files), short_text(in).c_str()); },
        [&] { read_result(rt_file_read_line(pick(in, h.files), offset)); },
        [&] { rt_file_close(pick(in, h.files)); },
        [&] {
            keep(h.listings, rt_dir_open(pick(in, h.listings), g_folder.c_str(), "*.*"),
                 in.TakeByte());
            rt_dir_next(pick(in, h.listings));
        },
        [&] {
            read_result(rt_dir_entry_name(pick(in, h.listings), offset));
            read_result(rt_dir_current(in.TakeInt32()));
            if (in.TakeByte() & 1) rt_dir_close(pick(in, h.listings));
        });
}

void string_call(FuzzInput& in, uint8_t op) {
    const int32_t offset = in.TakeInt32();
    const std::string text = short_text(in);
    run_one(
        op, [&] { read_result(rt_str_from_int(in.TakeInt32(), offset)); },
        [&] { read_result(rt_str_mid(text.c_str(), in.TakeInt32(), in.TakeInt32(), offset)); },
        [&] { read_result(rt_str_field(text.c_str(), in.TakeInt32(), ",", offset)); },
        [&] { read_result(rt_str_lower(text.c_str(), offset)); },
        [&] { rt_strbuf_append(text.c_str()); },
        // Any offset below zero, but not far up: a fill position moved to the
        // end of a large buffer makes every later piece grow it, which is
        // allowed and would only spend the run on copying.
        [&] { rt_strbuf_set_pos(offset < 0 ? offset : offset % 8192); },
        [&] {
            char* variable = nullptr;
            rt_str_assign(&variable, offset);
            if (variable != nullptr)
                FUZZ_CHECK(std::strlen(variable) <= static_cast<size_t>(INT32_MAX));
            rt_str_free(variable);
        });
}

// Everything an input made goes, so the next one starts from the same state.
void clean_up(Handles& h) {
    if (h.locked != 0) rt_sprite_unlock(rt_sprite_pixels_of(h.locked));
    rt_draw_stop();
    rt_sprite3d_end();
    rt_sprite3d_free_all();
    rt_image_free_all();
    for (int32_t sprite : h.sprites) rt_sprite_free(sprite);
    for (int32_t id = 0; id < kSlots; ++id) rt_sprite_free(id);
    rt_file_close_all();
    for (int32_t listing : h.listings) rt_dir_close(listing);
    for (int32_t id = 0; id < kSlots; ++id) rt_dir_close(id);
    for (rt_list* list : h.lists) rt_list_free(list);
    rt_table_destroy(h.table);
    rt_strbuf_set_pos(0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    rt_string_init();
    rt_image_decoder_init();
    rt_image_init();
    rt_draw_init();
    rt_file_init();
    rt_font_init();
    rt_window_init();
    rt_screen_init();
    rt_sprite3d_init();
    g_window = rt_window_open(-1, 0, 0, 200, 150, "fuzz", RT_WINDOW_CAPTION);
    if (g_window == 0 || rt_screen_open(g_window, 0, 0, 64, 48, 0, 0, 0) == 0) std::abort();
    char folder[] = "/tmp/zentara-fuzz-api-XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    g_folder = folder;
    return 0;
}

// The reason of the thread's last failure names a runtime call, whole.
void read_error() {
    const char* error = rt_error();
    FUZZ_CHECK(error[0] == '\0' || std::strncmp(error, "rt_", 3) == 0);
    volatile size_t length = std::strlen(error);
    (void)length;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    FuzzInput in(data, size);
    Handles h;
    rt_error_clear();
    for (int step = 0; step < 64 && in.Remaining() > 0; ++step) {
        const uint8_t op = in.TakeByte(), sub = op / 6;
        run_one(
            op, [&] { sprite_call(in, h, sub); }, [&] { draw_call(in, h, sub); },
            [&] { list_call(in, h, sub); }, [&] { table_call(in, h); },
            [&] { file_call(in, h, sub); }, [&] { string_call(in, sub); });
        read_error();
    }
    clean_up(h);
    return 0;
}

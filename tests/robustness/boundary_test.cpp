// SPDX-License-Identifier: GPL-3.0-or-later
// The boundary rule at every public function: one row per function, made by
// the build from the public headers (public_api.cmake), each called with
// arguments it cannot use. A refused call answers its failure value and names
// itself in rt_error(); any call may answer anything else only where its
// header gives the values a meaning. The sanitizer build runs the same rows.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "runtime/runtime.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wave_bytes.h"

namespace {

enum Kind { Null, Negative, Huge, Stale, Foreign, NaN, kKinds };
constexpr const char* kKindNames[] = {"NULL", "negative", "huge", "stale", "foreign", "NaN"};
constexpr unsigned bit(Kind k) {
    return 1u << k;
}
constexpr unsigned kIds = bit(Negative) | bit(Huge) | bit(Stale) | bit(Foreign);
constexpr unsigned kAll = (1u << kKinds) - 1;

// What a parameter's name says it is: the object kind of an id, a size, or a
// value of any number.
enum class Id {
    None,
    Sprite,
    Rotated,
    Window,
    Menu,
    Font,
    Native,
    Image,
    Sound,
    File,
    Listing,
    New
};
struct Param {
    Id id = Id::None;
    bool size = false;      // refused when negative or huge
    bool optional = false;  // a pointer the header allows to be NULL
};

constexpr std::pair<std::string_view, Id> kIdNames[] = {{"sprite", Id::Sprite},
                                                        {"source", Id::Sprite},
                                                        {"sprite1", Id::Sprite},
                                                        {"sprite2", Id::Sprite},
                                                        {"sprite3d", Id::Rotated},
                                                        {"window", Id::Window},
                                                        {"window_handle", Id::Window},
                                                        {"menu", Id::Menu},
                                                        {"font", Id::Font},
                                                        {"font_handle", Id::Native},
                                                        {"image", Id::Image},
                                                        {"sound", Id::Sound},
                                                        {"file", Id::File},
                                                        {"listing", Id::Listing},
                                                        {"id", Id::New}};
constexpr std::string_view kSizes[] = {"width",       "height",        "size",         "length",
                                       "record_size", "initial_slots", "element_size", "min_slots",
                                       "max_slots",   "points",        "count",        "n"};
constexpr std::string_view kOptional[] = {
    "new_id",  "id",         "pitch",       "width",         "height",     "init",
    "destroy", "destructor", "current_var", "string_fields", "state_hash", "end",
    "data",    "title",      "directory",   "pattern"};
// Every other name the headers use (numbers of any value, and pointers whose
// type says what they are); a name in none of the lists fails the build.
constexpr std::string_view kOthers[] = {"x",
                                        "y",
                                        "x1",
                                        "y1",
                                        "x2",
                                        "y2",
                                        "right_margin",
                                        "bottom_margin",
                                        "radius",
                                        "radius_x",
                                        "radius_y",
                                        "flags",
                                        "mode",
                                        "opacity",
                                        "state",
                                        "relative",
                                        "read_only",
                                        "down",
                                        "auto_stretch",
                                        "type_tag",
                                        "command_id",
                                        "level",
                                        "won",
                                        "value",
                                        "max",
                                        "seed",
                                        "decimals",
                                        "red",
                                        "green",
                                        "blue",
                                        "fps",
                                        "ms",
                                        "timeout_ms",
                                        "scancode",
                                        "index",
                                        "offset",
                                        "result_offset",
                                        "start",
                                        "located",
                                        "alpha_blend_enable",
                                        "source_blend",
                                        "destination_blend",
                                        "vertex_format",
                                        "volume",
                                        "data_hash",
                                        "colour",
                                        "front_colour",
                                        "back_colour",
                                        "border_colour",
                                        "degrees",
                                        "angle",
                                        "table",
                                        "list",
                                        "pool",
                                        "variable",
                                        "pixels",
                                        "target",
                                        "decoder",
                                        "element",
                                        "buffer",
                                        "fn",
                                        "text",
                                        "file_name",
                                        "path",
                                        "name",
                                        "face",
                                        "separator",
                                        "a",
                                        "b",
                                        "data_name"};

template <class List>
constexpr bool listed(const List& list, std::string_view name) {
    for (std::string_view n : list)
        if (n == name) return true;
    return false;
}
constexpr bool known(std::string_view name) {
    for (const auto& [n, id] : kIdNames)
        if (n == name) return true;
    return listed(kSizes, name) || listed(kOptional, name) || listed(kOthers, name);
}
constexpr bool all_known(std::string_view names) {
    while (!names.empty()) {
        const size_t comma = names.find(',');
        if (!known(names.substr(0, comma))) return false;
        names = comma == std::string_view::npos ? "" : names.substr(comma + 1);
    }
    return true;
}

Param classify(std::string_view name) {
    Param p;
    for (const auto& [n, id] : kIdNames)
        if (n == name) p.id = id;
    p.size = listed(kSizes, name);
    p.optional = listed(kOptional, name);
    return p;
}

// Where a function's header departs from the plain rule.
enum class Answer { Zero, MinusOne, NaN, FirstArgument, EmptyText };
struct Rule {
    unsigned accept = 0;  // kinds whose values the header gives a meaning
    unsigned refuse = 0;  // kinds refused although the names allow them
    unsigned skip = 0;    // kinds that would wait without end
    Answer failure = Answer::Zero;
    bool quiet = false;  // answers its failure value, but that is an answer
    bool texts_optional = false;
};
const std::map<std::string_view, Rule> kRules = {
    // Strings: NULL texts read as "", negative counts as 0, any offset clamps.
    {"rt_str_left", {kAll}},
    {"rt_str_right", {kAll}},
    {"rt_str_mid", {kAll}},
    {"rt_str_lower", {kAll}},
    {"rt_str_field", {kAll}},
    {"rt_str_len", {kAll}},
    {"rt_str_count", {kAll}},
    {"rt_str_equal", {kAll}},
    {"rt_str_to_quad", {kAll}},
    {"rt_str_from_float", {kAll}},
    {"rt_str_free", {kAll}},
    {"rt_strbuf_append", {kAll}},
    {"rt_strbuf_locate", {kAll}},
    {"rt_strbuf_release", {bit(Huge)}},
    {"rt_strbuf_ptr", {0, bit(Negative) | bit(Huge)}},
    {"rt_table_check", {.quiet = true}},
    {"rt_thread_area", {0, bit(Negative) | bit(Huge)}},
    {"rt_thread_area_register", {.failure = Answer::MinusOne}},
    {"rt_math_atan", {bit(Huge), 0, 0, Answer::NaN}},
    {"rt_math_round", {bit(Huge), 0, 0, Answer::NaN}},
    {"rt_replay_note_level", {kAll}},
    {"rt_delay", {0, 0, bit(Huge)}},
    {"rt_window_event", {0, bit(Negative), bit(Huge)}},
    {"rt_key_down", {0, bit(Negative) | bit(Huge)}},
    {"rt_key_released", {0, bit(Negative) | bit(Huge)}},
    {"rt_desktop_width", {0, bit(Negative) | bit(Huge)}},
    {"rt_desktop_height", {0, bit(Negative) | bit(Huge)}},
    {"rt_draw_box", {kAll}},
    {"rt_draw_round_box", {kAll}},
    {"rt_draw_text", {.failure = Answer::FirstArgument}},
    {"rt_draw_text_colours", {.failure = Answer::FirstArgument}},
    {"rt_draw_point", {.failure = Answer::MinusOne}},
    {"rt_window_toggle_fullscreen", {.failure = Answer::MinusOne}},
    {"rt_window_mouse_x", {.failure = Answer::MinusOne}},
    {"rt_window_mouse_y", {.failure = Answer::MinusOne}},
    {"rt_file_read_line", {.failure = Answer::EmptyText}},
    {"rt_file_resolve", {.failure = Answer::EmptyText}},
    {"rt_dir_entry_name", {.failure = Answer::EmptyText}},
    {"rt_file_write_line", {.texts_optional = true}},
    {"rt_menu_title", {.texts_optional = true}},
    {"rt_menu_submenu_open", {.texts_optional = true}},
    {"rt_menu_item", {.texts_optional = true}},
    {"rt_message_box", {.texts_optional = true}},
};

// The objects the rows work on, made once: for each kind of id a live one
// and one that was freed.
struct World {
    std::map<Id, int32_t> live, stale;
    rt_table* own = rt_table_new(8, 1, nullptr);
    int32_t foreign = 0;  // a live handle of `own`
    rt_sprite_pixels* pixels = nullptr;
    rt_sprite_pixels* stale_pixels = nullptr;
    rt_draw_state* stale_target = nullptr;
    std::vector<uint8_t> zeros = std::vector<uint8_t>(1 << 16, 0);
    zentara_test::TempDir folder;
};
World* g_world = nullptr;

void noop_area(void*) {}
void noop_id(int32_t) {}
uint32_t noop_hash() {
    return 0;
}
void noop_end() {}

// One call's arguments and what it leaves to clean up.
struct Call {
    Kind kind = Null;
    bool affected = false;  // some argument takes the kind's value
    bool refused = false;   // some such argument is one the call cannot use
    bool texts_optional = false;
    std::vector<std::function<void()>> clean_up;
};

template <class T>
T value(Call& c, const Param& p);

int32_t id_value(Call& c, const Param& p) {
    World& w = *g_world;
    if (p.id == Id::None) {
        const bool hostile = c.kind == Negative || c.kind == Huge;
        c.affected |= hostile;
        c.refused |= hostile && p.size;
        if (c.kind == Negative) return -5;
        return c.kind == Huge ? INT32_MAX : (p.size ? 8 : 0);
    }
    c.affected |= (kIds & bit(c.kind)) != 0;
    c.refused |= (kIds & bit(c.kind)) != 0;
    switch (c.kind) {
        case Negative:
            return -5;
        case Huge:
            return INT32_MAX;
        case Stale:
            return w.stale[p.id == Id::New ? Id::Sprite : p.id];
        case Foreign:
            // A new id is refused when it is a live handle of a table of no library.
            return p.id == Id::New ? w.foreign
                                   : w.live[p.id == Id::Sprite ? Id::Sound : Id::Sprite];
        default:
            return p.id == Id::New ? -1 : w.live[p.id];
    }
}

template <>
int32_t value(Call& c, const Param& p) {
    return id_value(c, p);
}
template <>
uint32_t value(Call& c, const Param&) {
    c.affected |= c.kind == Negative || c.kind == Huge;
    return c.kind == Huge ? UINT32_MAX : c.kind == Negative ? static_cast<uint32_t>(-5) : 0;
}
template <>
int64_t value(Call& c, const Param&) {
    c.affected |= c.kind == Negative || c.kind == Huge;
    return c.kind == Huge ? INT64_MAX : c.kind == Negative ? -5 : 0;
}
template <>
float value(Call& c, const Param&) {
    c.affected |= c.kind == Negative || c.kind == Huge || c.kind == NaN;
    c.refused |= c.kind == Huge || c.kind == NaN;
    if (c.kind == NaN) return std::numeric_limits<float>::quiet_NaN();
    if (c.kind == Huge) return std::numeric_limits<float>::infinity();
    return c.kind == Negative ? -5.0f : 1.0f;
}

// A pointer: NULL in the NULL kind unless the header allows NULL; `valid`
// makes the one used otherwise.
template <class T, class Make>
T pointer(Call& c, const Param& p, Make&& valid) {
    if (c.kind == Null && !p.optional) {
        c.affected = c.refused = true;
        return nullptr;
    }
    return valid();
}
template <class T>
T fresh(Call& c, T made, void (*destroy)(T)) {
    c.clean_up.push_back([made, destroy] { destroy(made); });
    return made;
}

template <>
const char* value(Call& c, const Param& p) {
    Param text = p;
    text.optional |= c.texts_optional;
    return pointer<const char*>(c, text, [] { return "/nonexistent/zz"; });
}
template <>
char* value(Call& c, const Param& p) {
    // Only rt_str_free takes one, where NULL is an ordinary value.
    return pointer<char*>(c, p, [] { return nullptr; });
}
template <>
rt_table* value(Call& c, const Param& p) {
    return pointer<rt_table*>(
        c, p, [&] { return fresh(c, rt_table_new(16, 16, nullptr), rt_table_destroy); });
}
template <>
const rt_table* value(Call& c, const Param& p) {
    return value<rt_table*>(c, p);
}
template <>
rt_pool* value(Call& c, const Param& p) {
    return pointer<rt_pool*>(c, p,
                             [&] { return fresh(c, rt_pool_new(16, 16, 64), rt_pool_destroy); });
}
template <>
const rt_pool* value(Call& c, const Param& p) {
    return value<rt_pool*>(c, p);
}
template <>
rt_list* value(Call& c, const Param& p) {
    return pointer<rt_list*>(
        c, p, [&] { return fresh(c, rt_list_new(16, nullptr, nullptr, 0), rt_list_free); });
}
template <>
const rt_list* value(Call& c, const Param& p) {
    return value<rt_list*>(c, p);
}
template <>
char** value(Call& c, const Param& p) {
    return pointer<char**>(c, p, [&] {
        auto* variable = new char*(nullptr);
        c.clean_up.push_back([variable] {
            rt_str_free(*variable);
            delete variable;
        });
        return variable;
    });
}
template <>
int32_t* value(Call& c, const Param& p) {
    static int32_t out;
    return pointer<int32_t*>(c, p, [] { return &out; });
}
template <>
void** value(Call& c, const Param& p) {
    static void* out;
    return pointer<void**>(c, p, [] { return &out; });
}
template <>
void* value(Call& c, const Param& p) {
    return pointer<void*>(c, p, [] { return g_world->zeros.data(); });
}
template <>
const void* value(Call& c, const Param& p) {
    Param data = p;
    data.optional = false;  // data to read is never optional; a place for data may be
    return value<void*>(c, data);
}
template <>
const rt_field_desc* value(Call& c, const Param& p) {
    static const rt_field_desc none[] = {-1};
    return pointer<const rt_field_desc*>(c, p, [] { return none; });
}
template <>
const rt_image_decoder* value(Call& c, const Param& p) {
    static const rt_image_decoder none{};
    return pointer<const rt_image_decoder*>(c, p, [] { return &none; });
}
template <>
rt_area_fn value(Call& c, const Param& p) {
    return pointer<rt_area_fn>(c, p, [] { return noop_area; });
}
template <>
rt_destructor value(Call& c, const Param& p) {
    return pointer<rt_destructor>(c, p, [] { return noop_id; });
}
template <>
rt_replay_state_fn value(Call& c, const Param& p) {
    return pointer<rt_replay_state_fn>(c, p, [] { return noop_hash; });
}
template <>
rt_replay_end_fn value(Call& c, const Param& p) {
    return pointer<rt_replay_end_fn>(c, p, [] { return noop_end; });
}
// Lent pointers are also checked when stale or foreign (never touched then).
template <class T>
T lent(Call& c, T live, T stale) {
    if (c.kind == Stale || c.kind == Foreign || c.kind == Null) c.affected = c.refused = true;
    if (c.kind == Null) return nullptr;
    if (c.kind == Stale) return stale;
    return c.kind == Foreign ? reinterpret_cast<T>(g_world->zeros.data()) : live;
}
template <>
rt_sprite_pixels* value(Call& c, const Param&) {
    return lent(c, g_world->pixels, g_world->stale_pixels);
}
template <>
const rt_sprite_pixels* value(Call& c, const Param& p) {
    return value<rt_sprite_pixels*>(c, p);
}
template <>
rt_draw_state* value(Call& c, const Param&) {
    return lent<rt_draw_state*>(c, nullptr, g_world->stale_target);
}

using Check = std::function<void(std::string_view name, const Rule& rule)>;

std::vector<std::string_view> split(std::string_view names) {
    std::vector<std::string_view> out;
    while (!names.empty()) {
        const size_t comma = names.find(',');
        out.push_back(names.substr(0, comma));
        names = comma == std::string_view::npos ? "" : names.substr(comma + 1);
    }
    return out;
}

// Calls the function with the kind's arguments; answers whether the call
// applies (some argument takes the kind's value), and checks the answer of a
// refused call.
template <class R, class... A, size_t... I>
bool call(R (*function)(A...), std::string_view name, std::string_view names, Kind kind,
          const Rule& rule, std::index_sequence<I...>) {
    const std::vector<std::string_view> params = split(names);
    Call c;
    c.kind = kind;
    c.texts_optional = rule.texts_optional;
    std::tuple<A...> args{value<A>(c, classify(params[I]))...};
    const bool applies = c.affected && (rule.skip & bit(kind)) == 0;
    const bool refused = (c.refused || (rule.refuse & bit(kind))) && !(rule.accept & bit(kind));
    if (applies) {
        rt_error_clear();
        const std::string context = std::string(name) + " with " + kKindNames[kind] + " arguments";
        if constexpr (std::is_void_v<R>) {
            std::apply(function, args);
        } else {
            const R answer = std::apply(function, args);
            if (refused) {
                if constexpr (std::is_pointer_v<R>) {
                    EXPECT_EQ(answer, nullptr) << context;
                } else if constexpr (std::is_floating_point_v<R>) {
                    if (rule.failure == Answer::NaN)
                        EXPECT_TRUE(std::isnan(answer)) << context;
                    else
                        EXPECT_EQ(answer, 0.0f) << context;
                } else if (rule.failure == Answer::EmptyText) {
                    EXPECT_EQ(rt_strbuf_base()[answer], '\0') << context;
                } else {
                    R expected = 0;
                    if (rule.failure == Answer::MinusOne) expected = static_cast<R>(-1);
                    if constexpr (sizeof...(A) > 0) {
                        if constexpr (std::is_arithmetic_v<
                                          std::tuple_element_t<0, std::tuple<A...>>>) {
                            if (rule.failure == Answer::FirstArgument)
                                expected = static_cast<R>(std::get<0>(args));
                        }
                    }
                    EXPECT_EQ(answer, expected) << context;
                }
            }
        }
        if (refused && !rule.quiet) {
            EXPECT_EQ(std::string(rt_error()).rfind(std::string(name) + ": ", 0), 0u)
                << context << " leaves rt_error() as \"" << rt_error() << "\"";
        }
    }
    for (auto& done : c.clean_up) done();
    rt_strbuf_set_pos(0);
    return applies;
}

template <class R, class... A>
bool call(R (*function)(A...), std::string_view name, std::string_view names, Kind kind,
          const Rule& rule) {
    return call(function, name, names, kind, rule, std::index_sequence_for<A...>{});
}

struct Row {
    std::string_view name;
    std::function<bool(Kind, const Rule&)> run;
};

#define ROW(function, names)                                                  \
    static_assert(all_known(names), #function                                 \
                  ": a parameter name the boundary "                          \
                  "test does not know (add it to a list)");                   \
    rows.push_back({#function, [](Kind kind, const Rule& rule) {              \
                        return call(&function, #function, names, kind, rule); \
                    }});

std::vector<Row> all_rows() {
    std::vector<Row> rows;
#include "public_api_rows.inc"
    return rows;
}

int32_t open_window() {
    return rt_window_open(-1, 0, 0, 320, 240, "boundary", 0);
}

// The runtime as the program starts it, with a window holding a screen.
int32_t start_runtime() {
    static int32_t window = 0;
    if (window == 0) {
        rt_runtime_start();
        rt_png_decoder_register();
        rt_sound_init();
        rt_screen_init();
        rt_sprite3d_init();
        rt_keyboard_init();
        rt_mouse_init();
        window = open_window();
    }
    EXPECT_EQ(rt_screen_open(window, 0, 0, 64, 48, 0, 0, 0), 1);
    return window;
}

// Makes an object of each kind, once kept and once freed.
void make_world(World& w) {
    w.live[Id::Window] = start_runtime();
    w.stale[Id::Window] = open_window();
    rt_window_close(w.stale[Id::Window]);
    for (auto* ids : {&w.stale, &w.live}) {
        (*ids)[Id::Menu] = rt_menu_create(-1, w.live[Id::Window]);
        rt_menu_item(7, "item");
        (*ids)[Id::Sprite] = rt_sprite_create_flags(-1, 8, 8, RT_SPRITE_TEXTURE);
        (*ids)[Id::Rotated] = rt_sprite3d_create(-1, (*ids)[Id::Sprite]);
        (*ids)[Id::Font] = rt_font_load(-1, "Sans", 10, 0);
        (*ids)[Id::Native] = rt_font_handle((*ids)[Id::Font]);
        const wavetest::Bytes wave =
            wavetest::riff({wavetest::chunk("fmt ", wavetest::format_body(1, 1, 8000, 8)),
                            wavetest::chunk("data", wavetest::Bytes(16, 128))});
        (*ids)[Id::Sound] =
            rt_sound_load_memory(-1, wave.data(), static_cast<int32_t>(wave.size()));
        (*ids)[Id::File] = rt_file_open(-1, (w.folder / "file").c_str());
        (*ids)[Id::Listing] = rt_dir_open(-1, w.folder.path().c_str(), "*");
        rt_draw_start(rt_screen_output());
        (*ids)[Id::Image] = rt_draw_grab_image(-1, 0, 0, 4, 4);
    }
    for (const auto& [id, value] : w.live) ASSERT_NE(value, 0) << static_cast<int>(id);
    w.pixels = rt_sprite_pixels_of(w.live[Id::Sprite]);
    w.stale_pixels = rt_sprite_pixels_of(w.stale[Id::Sprite]);
    rt_sprite3d_free(w.stale[Id::Rotated]);
    rt_sprite_free(w.stale[Id::Sprite]);
    rt_menu_free(w.stale[Id::Menu]);
    rt_font_free(w.stale[Id::Font]);
    rt_sound_free(w.stale[Id::Sound]);
    rt_file_close(w.stale[Id::File]);
    rt_dir_close(w.stale[Id::Listing]);
    rt_image_free(w.stale[Id::Image]);
    rt_table_alloc(w.own, -1, &w.foreign);
    // A target given up for a newer one, and the pass the rows draw in.
    w.stale_target = rt_screen_output();
    ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
}

TEST(BoundaryTest, EveryPublicFunctionRefusesWhatItCannotUse) {
    World world;
    g_world = &world;
    make_world(world);
    const std::vector<Row> rows = all_rows();
    int32_t calls = 0;
    for (const Row& row : rows) {
        const auto found = kRules.find(row.name);
        const Rule rule = found == kRules.end() ? Rule{} : found->second;
        for (int k = 0; k < kKinds; ++k) calls += row.run(static_cast<Kind>(k), rule) ? 1 : 0;
    }
    EXPECT_GT(rows.size(), 240u);
    EXPECT_GT(calls, 450);
    rt_draw_stop();
    rt_table_destroy(world.own);
    g_world = nullptr;
}

// Probes, each of a fault the rows above once found.

// Allocations of this thread fail from the given count on (-1: none fail).
thread_local int t_allocations_left = -1;

}  // namespace

void* operator new(std::size_t size) {
    if (t_allocations_left == 0) throw std::bad_alloc();
    if (t_allocations_left > 0) --t_allocations_left;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

// A file bigger than any picture or sound is refused before it is read: once
// its size was reserved unguarded, and under a memory limit bad_alloc ended the
// process ("terminate called after throwing").
TEST(BoundaryProbe, ASoundFileTooLargeIsRefusedUnread) {
    zentara_test::TempDir folder;
    const std::string huge = folder / "huge.wav";
    const int fd = ::open(huge.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, int64_t{6} << 30), 0);  // sparse: takes no disk
    ::close(fd);
    const pid_t child = ::fork();
    if (child == 0) {
#if !defined(__SANITIZE_ADDRESS__)
        const rlimit limit{2500000000u, 2500000000u};
        ::setrlimit(RLIMIT_AS, &limit);
#endif
        const bool refused = rt_sound_load(-1, huge.c_str()) == 0 &&
                             std::strstr(rt_error(), "too large") != nullptr &&
                             rt_sprite_load(-1, huge.c_str()) == 0;
        std::_Exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// An area size near 2^31 overflowed its rounding and threw from make_unique.
TEST(BoundaryProbe, AnOverflowingThreadAreaIsRefused) {
    rt_error_clear();
    EXPECT_EQ(rt_thread_area_register(INT32_MAX, nullptr, nullptr), -1);
    EXPECT_STREQ(rt_error(), "rt_thread_area_register: area size not within 0 .. 2^24");
}

// Every allocation of these calls may fail: each answers success or its
// failure value with a reason, and no exception leaves it (the output
// targets' make_unique once let bad_alloc through).
TEST(BoundaryProbe, AllocationFailuresAreFailures) {
    start_runtime();
    const int32_t sprite = rt_sprite_create(-1, 8, 8);
    const std::function<bool()> calls[] = {
        [] { return rt_screen_output() != nullptr; },
        [sprite] { return rt_sprite_output(sprite) != nullptr; },
        [] { return rt_sprite_create(-1, 8, 8) != 0; },
        [] { return rt_font_load(-1, "Sans", 9, 0) != 0; },
        [] { return rt_list_new(8, nullptr, nullptr, 0) != nullptr; },
        [] { return rt_table_new(8, 8, nullptr) != nullptr; },
        [] { return rt_dir_open(-1, ".", "*") != 0; },
    };
    for (const auto& call : calls) {
        for (int left = 0; left < 64; ++left) {
            rt_error_clear();
            t_allocations_left = left;
            const bool made = call();
            t_allocations_left = -1;
            if (!made) {
                EXPECT_STRNE(rt_error(), "") << "failing allocation " << left;
            }
        }
    }
    rt_draw_stop();
    rt_screen_close();  // frees the sprites made
}

// A NaN angle once reached the bounds of the turned quad as a signed overflow
// and drew nothing while answering 1.
TEST(BoundaryProbe, ANaNTurnLeavesTheAngle) {
    start_runtime();
    const int32_t rotated =
        rt_sprite3d_create(-1, rt_sprite_create_flags(-1, 8, 8, RT_SPRITE_TEXTURE));
    rt_sprite3d_rotate(rotated, 90.0f, 0);
    const float angle = rt_sprite3d_angle(rotated);
    rt_sprite3d_rotate(rotated, std::numeric_limits<float>::quiet_NaN(), 1);
    rt_sprite3d_rotate(rotated, std::numeric_limits<float>::infinity(), 0);
    EXPECT_EQ(rt_sprite3d_angle(rotated), angle);
    EXPECT_STREQ(rt_error(), "rt_sprite3d_rotate: the angle is not a finite number");
    ASSERT_EQ(rt_sprite3d_begin(), 1);
    EXPECT_EQ(rt_sprite3d_draw(rotated, 10, 10), 1);
    rt_sprite3d_end();
    rt_sprite3d_free(rotated);
}

// A pixel store kept past its sprite's end was used after being freed.
TEST(BoundaryProbe, AFreedSpritesStoreIsNoLongerLent) {
    start_runtime();
    const int32_t sprite = rt_sprite_create(-1, 8, 8);
    rt_sprite_pixels* pixels = rt_sprite_pixels_of(sprite);
    rt_sprite_free(sprite);
    int32_t pitch = -1;
    EXPECT_EQ(rt_sprite_lock(pixels, 0, &pitch), nullptr);
    EXPECT_EQ(pitch, 0);
    EXPECT_STREQ(rt_error(), "rt_sprite_lock: not the pixel store of a live sprite");
}

// Recording into a file that takes nothing answered 1 and wrote nothing.
TEST(BoundaryProbe, ARecordingThatCannotBeWrittenIsRefused) {
    EXPECT_EQ(rt_replay_record("/dev/full", 1, 2), 0);
    EXPECT_STREQ(rt_replay_error(), "cannot be written (No space left on device)");
    EXPECT_STREQ(rt_error(),
                 "rt_replay_record: /dev/full: cannot be written (No space left on device)");
    EXPECT_EQ(rt_replay_mode(), RT_REPLAY_OFF);
}

// Every frame's flush ignored write errors: the recording went on empty.
// Here the file may grow to 200 bytes; the flip whose record finds no room
// says so, and the recording stops.
TEST(BoundaryProbe, ARecordingThatStopsSaysSoAtItsFlip) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    zentara_test::TempDir folder;
    const std::string path = folder / "stops.zrp";
    const auto record = [&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{200, 200};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (rt_replay_record(path.c_str(), 1, 2) != 1) std::_Exit(3);
        start_runtime();
        int flips = 0;
        while (rt_screen_flip() == 1)
            if (++flips == 1000) std::_Exit(4);
        const bool told =
            rt_replay_mode() == RT_REPLAY_STOPPED &&
            std::strcmp(rt_replay_error(), "cannot be written (File too large)") == 0 &&
            std::strstr(rt_error(), "rt_screen_flip: the recording stopped") == rt_error();
        std::exit(told && rt_screen_flip() == 1 ? 0 : 5);
    };
    EXPECT_EXIT(record(), testing::ExitedWithCode(0), "");
}

}  // namespace

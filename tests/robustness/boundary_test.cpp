// SPDX-License-Identifier: GPL-3.0-or-later
// The boundary rule at every public function: one row per function, made by
// the build from the public headers (public_api.cmake), each called with
// arguments it cannot use. A refused call answers its failure value and names
// itself in rt_error(); a call may answer otherwise only where its header
// gives the values a meaning. The sanitizer build runs the same rows. Then
// probes of the faults these rows found.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "runtime/runtime.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wave_bytes.h"

namespace {

enum Kind { Null, Negative, Huge, Stale, Foreign, NaN, kKinds };
const char* const kKindNames[] = {"NULL", "negative", "huge", "stale", "foreign", "NaN"};
constexpr unsigned bit(Kind k) {
    return 1u << k;
}
constexpr unsigned kAll = (1u << kKinds) - 1;
constexpr unsigned kNumbers = bit(Negative) | bit(Huge);

// What parameter names say: the kind of object an id names (-1: a new one),
// sizes (refused when negative or huge), pointers that may be NULL.
enum Object { Sprite, Rotated, Window, Menu, Font, Native, Image, Sound, File, Listing, kObjects };
// clang-format off
const std::map<std::string_view, int> kIds = {
    {"sprite", Sprite}, {"source", Sprite}, {"sprite1", Sprite}, {"sprite2", Sprite},
    {"sprite3d", Rotated}, {"window", Window}, {"window_handle", Window}, {"menu", Menu},
    {"font", Font}, {"font_handle", Native}, {"image", Image}, {"sound", Sound}, {"file", File},
    {"listing", Listing}, {"id", -1}};
const std::set<std::string_view> kSizes = {"width", "height", "size", "length", "record_size",
    "initial_slots", "element_size", "min_slots", "max_slots", "points", "count", "n"};
const std::set<std::string_view> kOptional = {"new_id", "id", "pitch", "width", "height", "init",
    "destroy", "destructor", "current_var", "string_fields", "state_hash", "end", "data", "title",
    "directory", "pattern"};

// Where a header departs from the plain rule: kinds whose values it gives a
// meaning, kinds it refuses although the names allow them, kinds that would
// wait without end, its failure value, whether naming nothing is an answer
// (no reason), whether its texts may be NULL.
enum class Answer { Zero, MinusOne, NaN, FirstArgument, EmptyText };
struct Rule {
    unsigned accept = 0, refuse = 0, skip = 0;
    Answer failure = Answer::Zero;
    bool quiet = false, texts_optional = false;
};
const std::map<std::string_view, Rule> kRules = {
    {"rt_str_left", {kAll}}, {"rt_str_right", {kAll}}, {"rt_str_mid", {kAll}},
    {"rt_str_lower", {kAll}}, {"rt_str_field", {kAll}}, {"rt_str_len", {kAll}},
    {"rt_str_count", {kAll}}, {"rt_str_equal", {kAll}}, {"rt_str_to_quad", {kAll}},
    {"rt_str_from_float", {kAll}}, {"rt_str_free", {kAll}}, {"rt_strbuf_append", {kAll}},
    {"rt_strbuf_locate", {kAll}}, {"rt_strbuf_release", {bit(Huge)}},
    {"rt_replay_note_level", {kAll}}, {"rt_draw_box", {kAll}}, {"rt_draw_round_box", {kAll}},
    {"rt_math_atan", {bit(Huge), 0, 0, Answer::NaN}}, {"rt_math_round", {bit(Huge), 0, 0, Answer::NaN}},
    {"rt_strbuf_ptr", {0, kNumbers}}, {"rt_thread_area", {0, kNumbers}},
    {"rt_key_down", {0, kNumbers}}, {"rt_key_released", {0, kNumbers}},
    {"rt_desktop_width", {0, kNumbers}}, {"rt_desktop_height", {0, kNumbers}},
    {"rt_delay", {0, 0, bit(Huge)}}, {"rt_window_event", {0, bit(Negative), bit(Huge)}},
    {"rt_thread_area_register", {.failure = Answer::MinusOne}},
    {"rt_draw_point", {.failure = Answer::MinusOne}},
    {"rt_window_toggle_fullscreen", {.failure = Answer::MinusOne}},
    {"rt_window_mouse_x", {.failure = Answer::MinusOne}},
    {"rt_window_mouse_y", {.failure = Answer::MinusOne}},
    {"rt_draw_text", {.failure = Answer::FirstArgument}},
    {"rt_draw_text_colours", {.failure = Answer::FirstArgument}},
    {"rt_file_read_line", {.failure = Answer::EmptyText}},
    {"rt_file_resolve", {.failure = Answer::EmptyText}},
    {"rt_dir_entry_name", {.failure = Answer::EmptyText}},
    {"rt_table_check", {.quiet = true}},
    {"rt_file_write_line", {.texts_optional = true}}, {"rt_menu_title", {.texts_optional = true}},
    {"rt_menu_submenu_open", {.texts_optional = true}}, {"rt_menu_item", {.texts_optional = true}},
    {"rt_message_box", {.texts_optional = true}}};
// clang-format on

// The objects the rows work on, each live and freed.
struct World {
    int32_t live[kObjects] = {}, stale[kObjects] = {};
    rt_sprite_pixels *pixels = nullptr, *stale_pixels = nullptr;
    rt_draw_state* stale_target = nullptr;
    rt_table* own = rt_table_new(8, 1, nullptr);
    int32_t foreign = 0;  // a live handle of `own`, a table of no library
    std::vector<uint8_t> zeros = std::vector<uint8_t>(1 << 16, 0);
    zentara_test::TempDir folder;
};
World* g_world = nullptr;

// One call: whether some argument takes the kind's value, and whether such an
// argument is one the call cannot use.
struct Call {
    Kind kind = Null;
    bool affected = false, refused = false, texts_optional = false;
    std::vector<std::function<void()>> clean_up;
    void take(bool hostile, bool refuse) {
        affected |= hostile;
        refused |= hostile && refuse;
    }
};

template <class R, class... A>
R (*noop(R (*)(A...)))
(A...) {
    return [](A...) -> R { return R(); };
}

template <class T>
T value(Call& c, std::string_view name) {
    World& w = *g_world;
    const auto id = kIds.find(name);
    const bool optional = kOptional.count(name) != 0;
    if constexpr (std::is_same_v<T, int32_t>) {
        if (id == kIds.end()) {
            const bool size = kSizes.count(name) != 0;
            c.take(c.kind == Negative || c.kind == Huge, size);
            return c.kind == Negative ? -5 : c.kind == Huge ? INT32_MAX : size ? 8 : 0;
        }
        const int object = id->second < 0 ? Sprite : id->second;
        c.take(c.kind != Null && c.kind != NaN, true);
        if (c.kind == Negative) return -5;
        if (c.kind == Huge) return INT32_MAX;
        if (c.kind == Stale) return w.stale[object];
        // A live id of another kind; for a new id, one no library knows.
        if (c.kind == Foreign) return id->second < 0 ? w.foreign : w.live[object ? Sprite : Sound];
        return id->second < 0 ? -1 : w.live[object];
    } else if constexpr (std::is_integral_v<T>) {
        c.take(c.kind == Negative || c.kind == Huge, false);
        return c.kind == Huge ? std::numeric_limits<T>::max() : c.kind == Negative ? T(-5) : T(0);
    } else if constexpr (std::is_floating_point_v<T>) {
        c.take(c.kind == Negative || c.kind == Huge || c.kind == NaN, c.kind != Negative);
        if (c.kind == NaN) return std::numeric_limits<T>::quiet_NaN();
        return c.kind == Huge ? std::numeric_limits<T>::infinity() : c.kind == Negative ? -5 : 1;
    } else if constexpr (std::is_same_v<T, rt_sprite_pixels*> ||
                         std::is_same_v<T, const rt_sprite_pixels*> ||
                         std::is_same_v<T, rt_draw_state*>) {
        // Lent pointers: checked also when stale or foreign (never touched).
        c.take(c.kind == Null || c.kind == Stale || c.kind == Foreign, true);
        if (c.kind == Null) return nullptr;
        if (c.kind == Foreign) return reinterpret_cast<T>(w.zeros.data());
        if constexpr (std::is_same_v<T, rt_draw_state*>)
            return w.stale_target;
        else
            return c.kind == Stale ? w.stale_pixels : w.pixels;
    } else {
        using U = std::remove_cv_t<std::remove_pointer_t<T>>;
        const bool may_be_null = optional && !std::is_same_v<T, const void*>;
        if (c.kind == Null && !may_be_null &&
            !(std::is_same_v<T, const char*> && c.texts_optional)) {
            c.take(true, true);
            return nullptr;
        }
        const auto made = [&c](auto* object, auto destroy) {
            c.clean_up.push_back([object, destroy] { destroy(object); });
            return object;
        };
        // clang-format off
        if constexpr (std::is_same_v<T, const char*>) return "/nonexistent/zz";
        else if constexpr (std::is_same_v<U, rt_table>) return made(rt_table_new(16, 16, nullptr), rt_table_destroy);
        else if constexpr (std::is_same_v<U, rt_pool>) return made(rt_pool_new(16, 16, 64), rt_pool_destroy);
        else if constexpr (std::is_same_v<U, rt_list>) return made(rt_list_new(16, nullptr, nullptr, 0), rt_list_free);
        else if constexpr (std::is_same_v<T, char**>) return made(new char*(nullptr), [](char** v) { rt_str_free(*v); delete v; });
        else if constexpr (std::is_function_v<U>) return noop(T{});
        else return reinterpret_cast<T>(w.zeros.data());
        // clang-format on
    }
}

// Calls the function with the kind's arguments, checks a refused call's
// answer and reason, and answers whether the kind applied.
template <class R, class... A, size_t... I>
int call(R (*function)(A...), std::string_view name, const std::vector<std::string_view>& names,
         Kind kind, const Rule& rule, std::index_sequence<I...>) {
    Call c;
    c.kind = kind;
    c.texts_optional = rule.texts_optional;
    std::tuple<A...> args{value<A>(c, names[I])...};
    const bool refused = (c.refused || (rule.refuse & bit(kind))) && !(rule.accept & bit(kind));
    const bool applies = c.affected && !(rule.skip & bit(kind));
    const std::string context = std::string(name) + " with " + kKindNames[kind] + " arguments";
    rt_error_clear();
    if constexpr (std::is_void_v<R>) {
        if (applies) std::apply(function, args);
    } else if (applies) {
        const R answer = std::apply(function, args);
        bool failure_value = false;
        if constexpr (std::is_pointer_v<R>) {
            failure_value = answer == nullptr;
        } else if constexpr (std::is_floating_point_v<R>) {
            failure_value = rule.failure == Answer::NaN ? std::isnan(answer) : answer == 0;
        } else {
            R expected = rule.failure == Answer::MinusOne ? R(-1) : R(0);
            if constexpr (sizeof...(A) > 0 &&
                          std::is_arithmetic_v<std::tuple_element_t<0, std::tuple<A..., int>>>) {
                if (rule.failure == Answer::FirstArgument) expected = R(std::get<0>(args));
            }
            failure_value = rule.failure == Answer::EmptyText ? rt_strbuf_base()[answer] == '\0'
                                                              : answer == expected;
        }
        EXPECT_TRUE(failure_value || !refused) << context << " answers no failure value";
    }
    if (applies && refused && !rule.quiet) {
        EXPECT_EQ(std::string(rt_error()).rfind(std::string(name) + ": ", 0), 0u)
            << context << " leaves rt_error() as \"" << rt_error() << "\"";
    }
    for (auto& done : c.clean_up) done();
    rt_strbuf_set_pos(0);
    return applies ? 1 : 0;
}

// Runs a row: the function with each kind of argument.
int g_rows = 0, g_calls = 0;
template <class R, class... A>
void run(R (*function)(A...), std::string_view name, std::string_view names) {
    std::vector<std::string_view> params;
    for (size_t at = 0, comma = 0; at < names.size(); at = comma + 1) {
        comma = std::min(names.find(',', at), names.size());
        params.push_back(names.substr(at, comma - at));
    }
    const auto found = kRules.find(name);
    for (int k = 0; k < kKinds; ++k)
        g_calls +=
            call(function, name, params, Kind(k), found == kRules.end() ? Rule{} : found->second,
                 std::index_sequence_for<A...>{});
    ++g_rows;
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
        window = open_window();
    }
    EXPECT_EQ(rt_screen_open(window, 0, 0, 64, 48, 0, 0, 0), 1);
    return window;
}

// An object of each kind, once kept and once freed, and a pass on the screen.
void make_world(World& w) {
    w.live[Window] = start_runtime();
    w.stale[Window] = open_window();
    const wavetest::Bytes wave =
        wavetest::riff({wavetest::chunk("fmt ", wavetest::format_body(1, 1, 8000, 8)),
                        wavetest::chunk("data", wavetest::Bytes(16, 128))});
    for (int32_t* ids : {w.stale, w.live}) {
        ids[Menu] = rt_menu_create(-1, w.live[Window]);
        rt_menu_item(7, "item");
        ids[Sprite] = rt_sprite_create_flags(-1, 8, 8, RT_SPRITE_TEXTURE);
        ids[Rotated] = rt_sprite3d_create(-1, ids[Sprite]);
        ids[Font] = rt_font_load(-1, "Sans", 10, 0);
        ids[Native] = rt_font_handle(ids[Font]);
        ids[Sound] = rt_sound_load_memory(-1, wave.data(), static_cast<int32_t>(wave.size()));
        ids[File] = rt_file_open(-1, (w.folder / "file").c_str());
        ids[Listing] = rt_dir_open(-1, w.folder.path().c_str(), "*");
        rt_draw_start(rt_screen_output());
        ids[Image] = rt_draw_grab_image(-1, 0, 0, 4, 4);
    }
    for (int object = 0; object < kObjects; ++object) ASSERT_NE(w.live[object], 0) << object;
    w.pixels = rt_sprite_pixels_of(w.live[Sprite]);
    w.stale_pixels = rt_sprite_pixels_of(w.stale[Sprite]);
    const std::pair<Object, void (*)(int32_t)> frees[] = {
        {Window, rt_window_close}, {Rotated, rt_sprite3d_free}, {Sprite, rt_sprite_free},
        {Menu, rt_menu_free},      {Font, rt_font_free},        {Sound, rt_sound_free},
        {File, rt_file_close},     {Listing, rt_dir_close},     {Image, rt_image_free}};
    for (auto [object, free] : frees) free(w.stale[object]);
    rt_table_alloc(w.own, -1, &w.foreign);
    w.stale_target = rt_screen_output();  // given up for the next one
    ASSERT_EQ(rt_draw_start(rt_screen_output()), 1);
}

TEST(BoundaryTest, EveryPublicFunctionRefusesWhatItCannotUse) {
    World world;
    g_world = &world;
    make_world(world);
#define ROW(function, names) run(&function, #function, names);
#include "public_api_rows.inc"
#undef ROW
    EXPECT_GT(g_rows, 240);
    EXPECT_GT(g_calls, 450);
    rt_draw_stop();
    rt_table_destroy(world.own);
    g_world = nullptr;
}

// Probes, each of a fault the rows found, or found before them.

// Under a memory limit (in a child, whose exit code has a bit per failed
// check): a file bigger than any picture or sound is refused before it is
// read (its size was reserved unguarded, and bad_alloc ended the process),
// and calls that need more memory answer their failure value.
TEST(BoundaryProbe, UnderAMemoryLimitCallsAnswerTheirFailureValue) {
    zentara_test::TempDir folder;
    const std::string huge = folder / "huge.wav";
    std::ofstream(huge).close();
    ASSERT_EQ(::truncate(huge.c_str(), int64_t{6} << 30), 0);  // sparse: takes no disk
    rt_string_init();
    rt_screen_init();
    const pid_t child = ::fork();
    if (child == 0) {
        std::ifstream statm("/proc/self/statm");
        rlim_t pages = 0;
        statm >> pages;
        const rlim_t limit = pages * ::sysconf(_SC_PAGESIZE) + (64u << 20);
        rlimit rl{limit, limit};
#if defined(__SANITIZE_ADDRESS__)  // its shadow memory lies beyond any such limit
        rl = {RLIM_INFINITY, RLIM_INFINITY};
#endif
        ::setrlimit(RLIMIT_AS, &rl);
        const bool file_refused = rt_sound_load(-1, huge.c_str()) == 0 &&
                                  std::strstr(rt_error(), "too large") &&
                                  rt_sprite_load(-1, huge.c_str()) == 0;
        if (rl.rlim_cur == RLIM_INFINITY) std::_Exit(file_refused ? 0 : 1);
        void* current = nullptr;
        rt_list* list = rt_list_new(1 << 27, &current, nullptr, 7);
        rt_table* table = rt_table_new(1 << 20, 1, nullptr);
        const int32_t start = rt_strbuf_pos();
        const bool checks[] = {
            file_refused,
            rt_sprite_create(-1, 20000, 20000) == 0,
            rt_sprite_create(3, 20000, 20000) == 0 && rt_sprite_width(3) == 0,
            rt_strbuf_reserve(1 << 30, -1) == nullptr && rt_strbuf_pos() == start,
            std::string(rt_strbuf_base() + rt_str_mid("abc", 1, 2, -1)) == "ab",
            list && rt_list_add(list) == nullptr && rt_list_count(list) == 0,
            table && rt_table_alloc(table, RT_TABLE_MAX_ID, nullptr) == nullptr};
        int failed = 0;
        for (size_t i = 0; i < std::size(checks); ++i) failed |= checks[i] ? 0 : 1 << i;
        std::_Exit(failed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "bits of the failed checks";
}

// Allocations of this thread fail from the given count on (-1: none fail).
thread_local int t_allocations_left = -1;

}  // namespace

void* operator new(std::size_t size) {
    if (t_allocations_left == 0) throw std::bad_alloc();
    if (t_allocations_left > 0) --t_allocations_left;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
// The other forms, so that whatever one form allocates another frees.
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return t_allocations_left == 0 ? nullptr : std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
    return operator new(size, nothrow);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

// The allocations of these calls may fail: each answers success, or its
// failure value with a reason; no exception leaves it (an area size near 2^31
// overflowed and threw; the output targets' make_unique let bad_alloc out).
// Beyond the targets' own allocation, Qt's painter is not ours to fail.
TEST(BoundaryProbe, AllocationFailuresAreFailures) {
    start_runtime();
    EXPECT_EQ(rt_thread_area_register(INT32_MAX, nullptr, nullptr), -1);
    EXPECT_STREQ(rt_error(), "rt_thread_area_register: area size not within 0 .. 2^24");
    const int32_t sprite = rt_sprite_create(-1, 8, 8);
    const std::pair<int, std::function<bool()>> calls[] = {
        {1, [] { return rt_screen_output() != nullptr; }},
        {1, [sprite] { return rt_sprite_output(sprite) != nullptr; }},
        {64, [] { return rt_sprite_create(-1, 8, 8) != 0; }},
        {64, [] { return rt_font_load(-1, "Sans", 9, 0) != 0; }},
        {64, [] { return rt_dir_open(-1, ".", "*") != 0; }},
        {64,
         [] {
             rt_list* list = rt_list_new(8, nullptr, nullptr, 0);
             rt_list_free(list);
             return list != nullptr;
         }},
        {64, [] {
             rt_table* table = rt_table_new(8, 8, nullptr);
             rt_table_destroy(table);
             return table != nullptr;
         }}};
    for (const auto& [failures, call] : calls) {
        call();  // what a first call sets up for good (Qt's statics) is no failure of ours
        for (int left = 0; left < failures; ++left) {
            rt_error_clear();
            t_allocations_left = left;
            const bool made = call();
            t_allocations_left = -1;
            EXPECT_TRUE(made || *rt_error()) << "failing allocation " << left;
        }
    }
    rt_draw_stop();
    rt_screen_close();  // frees the sprites made
}

// Recording into a file that takes nothing answered 1, and every frame's flush
// ignored write errors. Here a second file may grow to 200 bytes (in a child:
// a session runs once per process); the flip whose record finds no room says
// so, and the recording stops.
TEST(BoundaryProbe, RecordingTellsWhenItsFileTakesNoMore) {
    EXPECT_EQ(rt_replay_record("/dev/full", 1, nullptr, 0), 0);
    EXPECT_STREQ(rt_error(),
                 "rt_replay_record: /dev/full: cannot be written (No space left on device)");
    EXPECT_EQ(rt_replay_mode(), RT_REPLAY_OFF);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    zentara_test::TempDir folder;
    const auto record = [path = folder / "stops.zrp"] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{200, 200};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        if (rt_replay_record(path.c_str(), 1, nullptr, 0) != 1) std::_Exit(3);
        start_runtime();
        for (int flips = 0; rt_screen_flip() == 1;)
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

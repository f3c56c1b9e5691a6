// SPDX-License-Identifier: GPL-3.0-or-later
// The replay file: a header with the seed and the program's data, then the readings of the run in
// the order the program took them, each a byte of kind and small value, deltas where values repeat.
// Encoding and decoding only; no file access.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rt::replay {

// Version 2 keeps the values the run depends on in the header, where version
// 1 kept one hash of the level file's bytes.
inline constexpr uint8_t kFormatVersion = 2;
inline constexpr char kMagic[4] = {'Z', 'R', 'P', 'L'};
inline constexpr std::size_t kFixedHeaderSize = 9;  // magic, version, seed; then the data

// What a reading is; the value of a record byte's top three bits.
enum class Kind : uint8_t {
    clock = 0,     // rt_ms_elapsed
    screen_x = 1,  // rt_screen_mouse_x
    screen_y = 2,
    window_x = 3,  // rt_window_mouse_x
    window_y = 4,
    keys = 5,   // one keyboard snapshot: focus and the keys that changed
    event = 6,  // one window event fetch: code, item, window
    frame = 7,  // a presented frame and the game's state hash after it
    end = 8,    // the program ended normally (stored as a control byte too)
};
inline constexpr int kPointerKinds = 4;

struct Reading {
    Kind kind = Kind::clock;
    int32_t value = 0;   // clock (bits), pointer, event code, focus (keys), state hash (frame)
    int32_t item = 0;    // event
    int32_t window = 0;  // event
    uint32_t first_toggle = 0;  // keys: the scan codes that changed, in `toggles`
    uint32_t toggle_count = 0;
};

struct Recording {
    uint32_t seed = 0;
    std::vector<int32_t> data;  // the values of the program's data the run depends on
    std::vector<Reading> readings;
    std::vector<uint8_t> toggles;
    bool ended = false;  // the file holds the end mark: the run ended normally
};

// The delta base of the value kinds, shared by encoder and decoder.
struct Deltas {
    uint32_t clock = 0;
    int32_t pointer[kPointerKinds] = {};
    int32_t event[3] = {};  // code, item and window of the last event that came
};

// The header: magic, version, seed, then the number of data values and each
// value, as varints.
void encode_header(std::vector<uint8_t>& out, uint32_t seed, const int32_t* data, int32_t count);
// Appends one reading; a keys reading takes its changed scan codes from `toggles`.
void encode(std::vector<uint8_t>& out, Deltas& deltas, const Reading& reading,
            const uint8_t* toggles);

// Decodes a whole file. False with `error` set (one line, no file name) when
// it is not a replay, of another version, cut inside a record or malformed.
// A file that ends between two records (a run that crashed) is accepted.
bool decode(const uint8_t* data, std::size_t size, Recording& recording, std::string& error);

// FNV-1a, the hash of the state and the trail of states.
uint32_t hash_bytes(uint32_t hash, const void* data, std::size_t size);
inline constexpr uint32_t kHashStart = 2166136261u;

}  // namespace rt::replay

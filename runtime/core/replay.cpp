// SPDX-License-Identifier: GPL-3.0-or-later
// The recording or replay session of the process: the file being written or
// the recording being played, the frame count and the state hashes, and the
// summary printed when the process ends.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/replay_hooks.h"
#include "runtime/core/rt_core.h"
#include "runtime/core/rt_replay.h"

namespace rt::replay {
namespace {

constexpr int32_t kCloseEvent = 16;  // RT_EVENT_CLOSE of the window layer
// Readings asked in a row that the recording does not hold where it stands,
// before it is moved on by one anyway: a replay gone astray in a loop that
// presents no frame (the menu's) still reaches its end.
constexpr int32_t kMissesBeforeSkip = 100;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

struct LevelNote {
    int32_t level;
    int32_t won;
    int32_t points;
    int64_t frame;
};

struct Session {
    // Read by every thread that takes the clock; written by the session's own.
    std::atomic<int32_t> mode = RT_REPLAY_OFF;
    int32_t started = RT_REPLAY_OFF;  // what the summary reports, after the mode has ended
    std::thread::id owner;
    std::string error;
    rt_replay_state_fn state_hash = nullptr;
    rt_replay_end_fn end = nullptr;
    std::vector<LevelNote> levels;
    int64_t frames = 0;
    uint32_t last_state = 0;
    uint32_t trail = kHashStart;
    Deltas deltas;
    std::array<uint8_t, 256> keys{};

    // Recording.
    std::unique_ptr<std::FILE, FileCloser> out;
    std::vector<uint8_t> pending;
    std::optional<int64_t> stopped_at;  // the frame whose record could not be written

    // Playing.
    Recording recording;
    std::size_t next = 0;
    std::optional<int64_t> departed;  // the first frame that differs
    std::string departure;            // what differed first in it
    int64_t recorded_frames = 0;
    bool ran_out = false;
    bool closed = false;
    int32_t held[5] = {};  // last value answered of the clock and pointer kinds
    bool held_focus = false;
    int32_t misses = 0;
};

Session& session() {
    static Session s;
    return s;
}

const char* kind_name(Kind kind) {
    switch (kind) {
        case Kind::clock:
            return "a clock reading";
        case Kind::screen_x:
        case Kind::screen_y:
            return "a pointer reading (screen)";
        case Kind::window_x:
        case Kind::window_y:
            return "a pointer reading (window)";
        case Kind::keys:
            return "a keyboard snapshot";
        case Kind::event:
            return "a window event";
        case Kind::frame:
            return "the frame's end";
        case Kind::end:
            break;
    }
    return "the program's end";
}

// The replay departed in `frame` (the one being made: the frame count + 1,
// until the frame is presented).
void depart(Session& s, int64_t frame, const std::string& what) {
    if (s.departed) return;
    s.departed = frame;
    s.departure = what;
}

bool at_end(const Session& s) {
    const auto& r = s.recording.readings;
    return s.next >= r.size() || r[s.next].kind == Kind::end;
}

bool ended_early(const Session& s) {
    return s.started == RT_REPLAY_PLAYING && !s.ran_out && !s.closed && !at_end(s);
}

// The first value of the caller's data that differs from the recorded ones,
// named; empty when all are alike.
std::string data_difference(const std::vector<int32_t>& recorded, const int32_t* data,
                            const char* const* names, int32_t count) {
    const std::size_t here = count > 0 ? static_cast<std::size_t>(count) : 0;
    for (std::size_t i = 0; i < std::max(here, recorded.size()); ++i) {
        if (i < here && i < recorded.size() && recorded[i] == data[i]) continue;
        const std::string name =
            i < here && names && names[i] ? names[i] : "value " + std::to_string(i + 1);
        const std::string then = i < recorded.size() ? std::to_string(recorded[i]) : "none";
        const std::string now = i < here ? std::to_string(data[i]) : "none";
        return name + ": " + then + " when recorded, " + now + " here";
    }
    return {};
}

// The replay has nothing more to answer: the program ends as it did when it
// was recorded, or as close as it can.
[[noreturn]] void run_out(Session& s) {
    s.ran_out = true;
    s.mode = RT_REPLAY_OFF;
    if (s.end) s.end();
    std::exit(0);
}

// The next reading, when it is of `kind`; otherwise the replay has departed
// from the recording and the rest of the frame is searched for one.
const Reading* take(Session& s, Kind kind) {
    if (at_end(s)) run_out(s);
    const auto& r = s.recording.readings;
    if (r[s.next].kind == kind) {
        s.misses = 0;
        return &r[s.next++];
    }
    depart(s, s.frames + 1,
           std::string("the program took ") + kind_name(kind) + " where the recording holds " +
               kind_name(r[s.next].kind));
    for (std::size_t i = s.next; i < r.size(); ++i) {
        if (r[i].kind == Kind::frame || r[i].kind == Kind::end) break;
        if (r[i].kind == kind) {
            s.misses = 0;
            s.next = i + 1;
            return &r[i];
        }
    }
    if (++s.misses == kMissesBeforeSkip) {
        s.misses = 0;
        ++s.next;
    }
    return nullptr;
}

// Writes what is pending and flushes it to the file. False (the reason in
// s.error, the file closed) when the file takes it no more: a full disk, a
// removed medium.
bool write_pending(Session& s) {
    if (!s.out) return false;
    const std::size_t size = s.pending.size();
    errno = 0;
    const bool written = std::fwrite(s.pending.data(), 1, size, s.out.get()) == size &&
                         std::fflush(s.out.get()) == 0;
    s.pending.clear();
    if (written) return true;
    s.error = std::string("cannot be written (") + std::strerror(errno ? errno : EIO) + ")";
    s.out.reset();
    return false;
}

void report() {
    Session& s = session();
    const bool recorded = s.started == RT_REPLAY_RECORDING;
    if (recorded && s.out) {
        encode(s.pending, s.deltas, Reading{Kind::end}, nullptr);
        if (!write_pending(s)) s.stopped_at = s.frames;
        s.out.reset();
    }
    if (!recorded && ended_early(s)) {
        depart(s, s.frames + 1,
               "the program ended while the recording goes on to frame " +
                   std::to_string(s.recorded_frames));
    }
    s.mode = RT_REPLAY_OFF;
    const char* who = recorded ? "record" : "replay";
    for (const LevelNote& note : s.levels) {
        std::printf("%s: level %d %s with %d points at frame %lld\n", who, note.level,
                    note.won ? "won" : "lost", note.points, static_cast<long long>(note.frame));
    }
    std::printf("%s: %lld frames, last state %08x, trail %08x\n", who,
                static_cast<long long>(s.frames), s.last_state, s.trail);
    if (!recorded && !s.recording.ended) {
        std::printf(
            "replay: the recording stops after frame %lld without its end mark (the "
            "recorded run was cut short there)\n",
            static_cast<long long>(s.recorded_frames));
    }
    if (s.stopped_at) {
        std::printf("record: the recording stopped at frame %lld: the file %s\n",
                    static_cast<long long>(*s.stopped_at), s.error.c_str());
    }
    if (!recorded) {
        if (s.departed) {
            std::printf("replay: departs from the recording at frame %lld: %s\n",
                        static_cast<long long>(*s.departed), s.departure.c_str());
        } else if (s.closed) {
            std::printf("replay: stopped by closing the window\n");
        } else {
            std::printf("replay: matches the recording\n");
        }
    }
    std::fflush(stdout);
}

void begin(Session& s, int32_t mode, uint32_t seed) {
    s.owner = std::this_thread::get_id();
    s.started = mode;
    rt_random_seed(static_cast<int32_t>(seed));
    std::atexit(report);
    s.mode = mode;
}

bool read_whole(const char* path, std::vector<uint8_t>& data, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> in(std::fopen(path, "rb"));
    if (!in) {
        error = std::string("cannot be read (") + std::strerror(errno) + ")";
        return false;
    }
    uint8_t chunk[65536];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;) {
        data.insert(data.end(), chunk, chunk + got);
    }
    if (std::ferror(in.get())) {
        error = "cannot be read (a read error)";
        return false;
    }
    return true;
}

}  // namespace

bool active() {
    const Session& s = session();
    const int32_t mode = s.mode;
    return (mode == RT_REPLAY_RECORDING || mode == RT_REPLAY_PLAYING) &&
           s.owner == std::this_thread::get_id();
}

bool playing() {
    return active() && session().mode == RT_REPLAY_PLAYING;
}

int32_t pass(Kind kind, int32_t real) {
    Session& s = session();
    int32_t& held = s.held[static_cast<int>(kind)];
    if (s.mode == RT_REPLAY_RECORDING) {
        encode(s.pending, s.deltas, Reading{kind, real}, nullptr);
        return real;
    }
    if (const Reading* r = take(s, kind)) held = r->value;
    return held;
}

bool keyboard(bool focus, std::array<uint8_t, 256>& live) {
    Session& s = session();
    if (s.mode == RT_REPLAY_RECORDING) {
        uint8_t toggles[256];
        uint32_t count = 0;
        for (std::size_t code = 0; code < live.size(); ++code) {
            const bool down = live[code] != 0;
            if (down == (s.keys[code] != 0)) continue;
            s.keys[code] = down ? live[code] : 0;
            toggles[count++] = static_cast<uint8_t>(code);
        }
        Reading reading{Kind::keys, focus ? 1 : 0};
        reading.toggle_count = count;
        encode(s.pending, s.deltas, reading, toggles);
        return focus;
    }
    if (const Reading* r = take(s, Kind::keys)) {
        for (uint32_t i = 0; i < r->toggle_count; ++i) {
            uint8_t& key = s.keys[s.recording.toggles[r->first_toggle + i]];
            key = key != 0 ? 0 : 128;
        }
        s.held_focus = r->value != 0;
    }
    live = s.keys;
    return s.held_focus;
}

Event event(const Event& real) {
    Session& s = session();
    if (s.mode == RT_REPLAY_RECORDING) {
        encode(s.pending, s.deltas, Reading{Kind::event, real.code, real.item, real.window},
               nullptr);
        return real;
    }
    if (real.code == kCloseEvent) {
        // The player closed the window: the program ends on its own way out,
        // with the desktop answering again.
        s.closed = true;
        s.mode = RT_REPLAY_OFF;
        return real;
    }
    if (const Reading* r = take(s, Kind::event)) return {r->value, r->item, r->window};
    return {};
}

bool frame() {
    Session& s = session();
    if (s.mode == RT_REPLAY_PLAYING && at_end(s)) run_out(s);
    const uint32_t state = s.state_hash ? s.state_hash() : 0;
    s.frames += 1;
    s.last_state = state;
    s.trail = hash_bytes(s.trail, &state, sizeof state);
    if (s.mode == RT_REPLAY_RECORDING) {
        encode(s.pending, s.deltas, Reading{Kind::frame, static_cast<int32_t>(state)}, nullptr);
        if (write_pending(s)) return true;
        // The run goes on unrecorded; the program hears it from this flip.
        s.stopped_at = s.frames;
        s.mode = RT_REPLAY_STOPPED;
        rt::core::record_failure(("the recording stopped: the file " + s.error).c_str());
        return false;
    }
    const auto& r = s.recording.readings;
    if (r[s.next].kind != Kind::frame) {
        // Readings of this frame were left over: skip to the frame's end.
        depart(
            s, s.frames,
            std::string("the frame ended where the recording holds ") + kind_name(r[s.next].kind));
        while (!at_end(s) && r[s.next].kind != Kind::frame) ++s.next;
        if (at_end(s)) return true;
    }
    const auto recorded = static_cast<uint32_t>(r[s.next].value);
    if (recorded != state) {
        char hashes[64];
        std::snprintf(hashes, sizeof hashes, " (hash %08x, recorded %08x)", state, recorded);
        depart(s, s.frames, std::string("the game's state differs from the recorded one") + hashes);
    }
    ++s.next;
    return true;
}

}  // namespace rt::replay

using namespace rt::replay;
using rt::core::fail;
using rt::core::guarded;

namespace {

// Records the session's reason for rt_error as well, the file as its subject.
int32_t refuse(const char* path) {
    return fail(0, session().error.c_str(), path);
}

}  // namespace

extern "C" {

int32_t rt_replay_record(const char* path, uint32_t seed, const int32_t* data, int32_t count) {
    return guarded(__func__, 0, [&] {
        Session& s = session();
        if (path == nullptr) return fail(0, "no file name (NULL)");
        if (count < 0 || (data == nullptr && count > 0)) {
            return fail(0, "no data for the count given");
        }
        if (s.started != RT_REPLAY_OFF) {
            s.error = "cannot be recorded: a session has already run in this process";
            return refuse(path);
        }
        s.out.reset(std::fopen(path, "wb"));
        if (!s.out) {
            s.error = std::string("cannot be written (") + std::strerror(errno) + ")";
            return refuse(path);
        }
        encode_header(s.pending, seed, data, data ? count : 0);
        if (!write_pending(s)) return refuse(path);
        begin(s, RT_REPLAY_RECORDING, seed);
        return 1;
    });
}

int32_t rt_replay_play(const char* path, const int32_t* data, const char* const* names,
                       int32_t count) {
    return guarded(__func__, 0, [&] {
        Session& s = session();
        if (path == nullptr) return fail(0, "no file name (NULL)");
        if (count < 0 || (count > 0 && (data == nullptr || names == nullptr))) {
            return fail(0, "no data or data names for the count given");
        }
        if (s.started != RT_REPLAY_OFF) {
            s.error = "cannot be played: a session has already run in this process";
            return refuse(path);
        }
        std::vector<uint8_t> bytes;
        try {
            if (!read_whole(path, bytes, s.error)) return refuse(path);
            if (!decode(bytes.data(), bytes.size(), s.recording, s.error)) return refuse(path);
        } catch (const std::bad_alloc&) {
            s.error = "is too large to be played";
            return refuse(path);
        }
        const std::string difference =
            data_difference(s.recording.data, data, names, data ? count : 0);
        if (!difference.empty()) {
            s.error = "was recorded with other data: " + difference;
            return refuse(path);
        }
        for (const Reading& reading : s.recording.readings) {
            if (reading.kind == Kind::frame) s.recorded_frames += 1;
        }
        begin(s, RT_REPLAY_PLAYING, s.recording.seed);
        return 1;
    });
}

int32_t rt_replay_verdict(void) {
    return guarded(__func__, RT_REPLAY_MATCHES, [] {
        const Session& s = session();
        return s.departed || ended_early(s) ? RT_REPLAY_DEPARTS : RT_REPLAY_MATCHES;
    });
}

const char* rt_replay_error(void) {
    return guarded(__func__, "", [] { return session().error.c_str(); });
}

int32_t rt_replay_mode(void) {
    return guarded(__func__, RT_REPLAY_OFF, [] { return session().mode.load(); });
}

void rt_replay_set_state_hash(rt_replay_state_fn state_hash) {
    guarded(__func__, [&] { session().state_hash = state_hash; });
}

void rt_replay_set_end(rt_replay_end_fn end) {
    guarded(__func__, [&] { session().end = end; });
}

void rt_replay_note_level(int32_t level, int32_t won, int32_t points) {
    guarded(__func__, [&] {
        Session& s = session();
        s.levels.push_back({level, won != 0 ? 1 : 0, points, s.frames + 1});
    });
}

}  // extern "C"

// SPDX-License-Identifier: GPL-3.0-or-later
// The runtime's side of recording and replaying: each layer that reads from
// outside hands its reading to these functions, which record it or answer the
// recorded one. Everything here is for the thread that started the session.
#pragma once
#include <array>
#include <cstdint>

#include "runtime/core/replay_file.h"

namespace rt::replay {

// True while recording or playing back, on the session's thread.
bool active();
// True while playing back, on the session's thread.
bool playing();

// Records `real` and answers it, or answers the recorded value; `kind` is one
// of the clock and pointer kinds.
int32_t pass(Kind kind, int32_t real);

// One reading: the real one is taken only when it is needed.
template <class Real>
int32_t reading(Kind kind, Real real) {
    if (!active()) return real();
    return pass(kind, playing() ? 0 : real());
}

// A keyboard snapshot: records the focus and the key table the snapshot is
// about to take, or puts the recorded table into `live` and answers the
// recorded focus.
bool keyboard(bool focus, std::array<uint8_t, 256>& live);

struct Event {
    int32_t code = 0;
    int32_t item = 0;
    int32_t window = 0;
};
// A window event fetch: records it, or answers the recorded one.
Event event(const Event& real);

// A presented frame. False when its record could not be written: the
// recording has stopped (rt_replay_mode answers RT_REPLAY_STOPPED) and the
// reason is recorded for rt_error.
bool frame();

}  // namespace rt::replay

// SPDX-License-Identifier: GPL-3.0-or-later
// The event state of a thread: the FIFO of numbered events waiting to be
// handed out, the one raw input message seen since the last fetch, and the
// snapshot (item and window) of the event last returned.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>

namespace rt::window {

struct QueuedEvent {
    int32_t code = 0;
    int32_t window = 0;
    std::optional<int32_t> item;  // set for events that carry one (menu, control, timer)
    bool operator==(const QueuedEvent&) const = default;
};

class EventState {
  public:
    // Appends an event unless it equals the last one queued, so that a burst of
    // identical events (repaints, moves) comes out once.
    void queue(const QueuedEvent& event);
    // Remembers an input message that makes no numbered event; the latest wins.
    void note_raw(int32_t code, int32_t window);

    bool has_pending() const { return !queue_.empty() || raw_code_ != 0; }

    // One fetch: queued events first, then the raw message, else pump (which
    // reads platform input for at most timeout ms, -1 = until something comes)
    // and look again. 0 when nothing came; the snapshot changes only when an
    // event is returned.
    int32_t fetch(int32_t timeout_ms, const std::function<void(int32_t)>& pump);

    int32_t item() const { return last_item_; }
    // Makes the snapshot that of an event answered from elsewhere (a replay).
    void answer(int32_t item, int32_t window) {
        last_item_ = item;
        last_window_ = window;
    }
    int32_t window() const { return last_window_; }
    void clear();

  private:
    std::optional<int32_t> take_next();

    std::deque<QueuedEvent> queue_;
    int32_t raw_code_ = 0;
    int32_t raw_window_ = 0;
    int32_t item_ = 0;  // item of the event being assembled; survives other events
    int32_t window_ = 0;
    int32_t last_item_ = 0;
    int32_t last_window_ = 0;
};

// The calling thread's event state.
EventState& event_state();

}  // namespace rt::window

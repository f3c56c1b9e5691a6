// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/window/event_queue.h"

namespace rt::window {

void EventState::queue(const QueuedEvent& event) {
    if (!queue_.empty() && queue_.back() == event) return;
    queue_.push_back(event);
}

void EventState::note_raw(int32_t code, int32_t window) {
    raw_code_ = code;
    raw_window_ = window;
}

std::optional<int32_t> EventState::take_next() {
    if (!queue_.empty()) {
        QueuedEvent event = queue_.front();
        queue_.pop_front();
        window_ = event.window;
        if (event.item) item_ = *event.item;
        return event.code;
    }
    if (raw_code_ != 0) {
        int32_t code = raw_code_;
        window_ = raw_window_;
        raw_code_ = 0;
        return code;
    }
    return std::nullopt;
}

int32_t EventState::fetch(int32_t timeout_ms, const std::function<void(int32_t)>& pump) {
    std::optional<int32_t> code = take_next();
    if (!code) {
        pump(timeout_ms);
        code = take_next();
    }
    if (!code) return 0;
    last_item_ = item_;
    last_window_ = window_;
    return *code;
}

void EventState::clear() {
    *this = EventState{};
}

EventState& event_state() {
    thread_local EventState state;
    return state;
}

}  // namespace rt::window

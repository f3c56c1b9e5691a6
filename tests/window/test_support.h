// Helpers shared by the window tests.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/window/rt_window.h"

namespace rt_test {

// Every event fetched by polling until none is pending.
inline std::vector<int32_t> drain() {
    std::vector<int32_t> codes;
    for (int32_t code = rt_window_event_poll(); code != 0; code = rt_window_event_poll()) {
        codes.push_back(code);
    }
    return codes;
}

// The numbered events among codes (raw input message numbers left out).
inline std::vector<int32_t> numbered(const std::vector<int32_t>& codes) {
    std::vector<int32_t> result;
    for (int32_t code : codes) {
        if (code == RT_EVENT_MOVE || code == RT_EVENT_SIZE || code == RT_EVENT_REPAINT ||
            code == RT_EVENT_CLOSE || code >= RT_EVENT_GADGET) {
            result.push_back(code);
        }
    }
    return result;
}

}  // namespace rt_test

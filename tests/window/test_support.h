// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the window tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/window/rt_window.h"

namespace rt_test {

// Every event fetched by polling until none is pending.
inline std::vector<int32_t> drain() {
    std::vector<int32_t> codes;
    while (int32_t code = rt_window_event_poll()) codes.push_back(code);
    return codes;
}

// The numbered events among codes (raw input message numbers left out).
inline std::vector<int32_t> numbered(std::vector<int32_t> codes) {
    std::erase_if(codes, [](int32_t c) {
        return c != RT_EVENT_MOVE && c != RT_EVENT_SIZE && c != RT_EVENT_REPAINT &&
               c != RT_EVENT_CLOSE && c < RT_EVENT_GADGET;
    });
    return codes;
}

constexpr int32_t kGameFlags = 0xCB0000;  // caption, system menu, both boxes, no sizing border

// The window and menu libraries started; every window closed afterwards.
class WindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        rt_menu_init();
        rt_window_init();
    }
    void TearDown() override {
        rt_window_close_all();
        drain();
    }
    // A window of the client size, its opening events taken.
    static int32_t open(int32_t flags = kGameFlags, int32_t width = 320, int32_t height = 200) {
        const int32_t id = rt_window_open(-1, 10, 20, width, height, "Test", flags);
        drain();
        return id;
    }
};

}  // namespace rt_test

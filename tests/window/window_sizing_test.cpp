// SPDX-License-Identifier: GPL-3.0-or-later
// Window sizes decided by the flags (maximize box, sizing border), full
// screen, and windows destroyed behind the program's back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <functional>

#include "runtime/window/qt_platform.h"
#include "runtime/window/rt_window.h"
#include "test_support.h"

using rt_test::drain;
using rt_test::numbered;

namespace {

using rt_test::kGameFlags;
constexpr QSize kClient(320, 200);

class WindowSizingTest : public rt_test::WindowFixture {
  protected:
    // Numbered events of the sizing kinds, activation and moves left out.
    static std::vector<int32_t> sizing(std::vector<int32_t> codes) {
        std::erase_if(codes,
                      [](int32_t c) { return c == RT_EVENT_ACTIVATE || c == RT_EVENT_MOVE; });
        return codes;
    }
};

// The game's window has a maximize box but no sizing border: it still grows
// to the desktop and back, with the events of each change.
TEST_F(WindowSizingTest, MaximizeBoxAloneLetsTheWindowMaximizeGoFullScreenAndRestore) {
    int32_t window = open(kGameFlags);
    QWidget* top = rt::qt::window_widget(window);
    QWidget* client = rt::qt::client_widget(window);
    const std::vector<int32_t> grown{RT_EVENT_MAXIMIZE, RT_EVENT_SIZE, RT_EVENT_REPAINT};
    const std::vector<int32_t> back{RT_EVENT_RESTORE, RT_EVENT_SIZE, RT_EVENT_REPAINT};

    // Maximized and back, then full screen and back.
    const std::function<void()> changes[] = {
        [&] { top->showMaximized(); }, [&] { top->showNormal(); },
        [&] { EXPECT_EQ(rt_window_toggle_fullscreen(window), 1); },
        [&] { EXPECT_EQ(rt_window_toggle_fullscreen(window), 0); }};
    for (int i = 0; i < 4; ++i) {
        changes[i]();
        EXPECT_EQ(sizing(numbered(drain())), i % 2 ? back : grown) << i;
        EXPECT_TRUE(i % 2 ? client->size() == kClient : client->width() > kClient.width()) << i;
        EXPECT_TRUE(i != 2 || top->isFullScreen());
    }

    // Full screen from maximized returns to maximized.
    top->showMaximized();
    drain();
    EXPECT_EQ(rt_window_toggle_fullscreen(window), 1);
    EXPECT_EQ(rt_window_toggle_fullscreen(window), 0);
    drain();
    EXPECT_TRUE(top->isMaximized());
}

TEST_F(WindowSizingTest, OnlyAWindowWithoutMaximizeBoxOrSizingBorderHasAFixedSize) {
    struct Case {
        int32_t flags;
        bool fixed;
        int32_t toggle;  // answer of the full-screen toggle
    };
    // The game's flags: the test above.
    const Case cases[] = {{RT_WINDOW_CAPTION | RT_WINDOW_SYSMENU, true, -1},
                          {RT_WINDOW_CAPTION | RT_WINDOW_SIZEBORDER, false, -1}};
    for (const Case& c : cases) {
        int32_t window = open(c.flags);
        QWidget* top = rt::qt::window_widget(window);
        EXPECT_EQ(top->minimumSize() == top->maximumSize(), c.fixed) << c.flags;
        EXPECT_EQ(rt_window_toggle_fullscreen(window), c.toggle) << c.flags;
        rt_window_close(window);
    }
}

// Something other than rt_window_close destroys the window: the program hears
// a close request, and waiting again never blocks on the window that is gone.
TEST_F(WindowSizingTest, WindowDestroyedFromOutsideReportsCloseUntilTheProgramClosesIt) {
    int32_t window = open(kGameFlags);
    int32_t other = open(kGameFlags);
    delete rt::qt::window_widget(window);
    EXPECT_EQ(rt_window_event_poll(), RT_EVENT_CLOSE);
    EXPECT_EQ(rt_event_window(), window);
    EXPECT_EQ(rt::qt::window_widget(window), nullptr);
    EXPECT_EQ(rt_window_resize(window, 0, 0, 10, 10), 0);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(rt_window_event(3000), RT_EVENT_CLOSE);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    rt_window_close(window);
    std::vector<int32_t> codes = numbered(drain());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), RT_EVENT_CLOSE), 0);
    EXPECT_NE(rt::qt::window_widget(other), nullptr);
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The screen: clearing, flipping, pacing, stretching and the PNG snapshot.
#include <QTemporaryDir>
#include <chrono>

#include "runtime/screen/screen_state.h"
#include "runtime/window/qt_platform.h"
#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class ScreenStateTest : public ScreenTest {};

TEST_F(ScreenStateTest, ClearTakesRedInTheLowByte) {
    rt_screen_clear(0x0000FF);
    const QImage* back = rt::screen::back_buffer();
    EXPECT_EQ(back->pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(QSize(rt_screen_width(), rt_screen_height()), QSize(kWidth, kHeight));
}

// Flips are counted, and saved, by the demo's screenshots; here: what is saved.
TEST_F(ScreenStateTest, SavedFrameHoldsTheFlippedPicture) {
    rt_screen_clear(kGreen);
    EXPECT_EQ(rt_screen_flip(), 1);
    QTemporaryDir dir;
    const QString path = dir.filePath("frame.png");
    ASSERT_EQ(rt_screen_save_png(path.toLocal8Bit().constData()), 1);
    const QImage saved(path);
    ASSERT_EQ(saved.size(), QSize(kWidth, kHeight));
    EXPECT_EQ(saved.pixel(0, 0) & 0xFFFFFFu, 0x00FF00u);
}

TEST_F(ScreenStateTest, PacingHoldsThePeriodAndZeroOrNegativeSwitchesItOff) {
    using Clock = std::chrono::steady_clock;
    rt_screen_frame_rate(99);  // period 1/100 s
    rt_screen_flip();          // the first paced flip does not wait
    auto start = Clock::now();
    for (int i = 0; i < 10; ++i) rt_screen_flip();
    const auto paced = Clock::now() - start;
    EXPECT_TRUE(paced >= std::chrono::milliseconds(100) && paced < std::chrono::milliseconds(200))
        << std::chrono::duration_cast<std::chrono::milliseconds>(paced).count() << " ms";
    for (int32_t rate : {0, -5}) {
        rt_screen_frame_rate(rate);
        start = Clock::now();
        for (int i = 0; i < 10; ++i) rt_screen_flip();
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50)) << rate;
    }
}

TEST_F(ScreenStateTest, AutoStretchFollowsTheClientArea) {
    QWidget* child = rt::screen::state().childControl;
    ASSERT_NE(child, nullptr);
    QWidget* client = rt::qt::client_widget(window_id());
    rt::qt::window_widget(window_id())->show();  // hidden widgets defer resize events
    EXPECT_EQ(child->size(), client->size());
    rt_window_resize(window_id(), RT_WINDOW_KEEP, RT_WINDOW_KEEP, 800, 600);
    EXPECT_EQ(child->size(), QSize(800, 600));  // what it shows: window_screen_tests

    ASSERT_EQ(rt_screen_open(window_id(), 10, 20, 64, 48, 0, 0, 0), 1);
    child = rt::screen::state().childControl;
    EXPECT_EQ(child->geometry(), QRect(10, 20, 64, 48));
    rt_window_resize(window_id(), RT_WINDOW_KEEP, RT_WINDOW_KEEP, 900, 700);
    EXPECT_EQ(child->size(), QSize(64, 48));
    ASSERT_EQ(rt_screen_open(window_id(), 10, 20, 64, 48, 1, 30, 40), 1);
    child = rt::screen::state().childControl;
    EXPECT_EQ(child->size(), QSize(900 - 30 - 10, 700 - 40 - 20));
    rt_window_resize(window_id(), RT_WINDOW_KEEP, RT_WINDOW_KEEP, 1024, 768);
}

// A refused open changes nothing: the open screen and its sprites stay.
TEST_F(ScreenStateTest, RefusedOpenKeepsTheScreenAndCloseIsQuiet) {
    const int32_t sprite = rt_sprite_create(-1, 4, 4);
    EXPECT_EQ(rt_screen_open(0, 0, 0, 64, 64, 1, 0, 0), 0);
    EXPECT_EQ(rt_screen_open(window_id(), 0, 0, 0, 64, 1, 0, 0), 0);
    EXPECT_EQ(rt_sprite_width(sprite), 4);
    EXPECT_EQ(rt_screen_width(), kWidth);
    rt_screen_close();
    EXPECT_EQ(rt::screen::back_buffer(), nullptr);
    EXPECT_EQ(rt_screen_flip(), 1);
    EXPECT_EQ(rt_screen_output(), nullptr);
    EXPECT_EQ(rt_sprite_grab(-1, 0, 0, 1, 1), 0);
    EXPECT_EQ(rt_screen_save_png("/nonexistent/x.png"), 0);
}

}  // namespace
